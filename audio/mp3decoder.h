#pragma once
// Mp3Decoder: decodes an indexed MP3 file to interleaved 32-bit float frames with libmpg123. The frame
// index is handed to the library, so seeking jumps straight to the right frame without a scan, and it is
// sample-exact: the samples after seekToSample(s) equal those a decode from the start gives from s on.

#include <cstdint>
#include <string>
#include <vector>

#include "audio/mp3frameindex.h"
#include "audio/samplesource.h"
#include "codec/result.h"

struct mpg123_handle_struct;

namespace lumora {

class Mp3Decoder : public SampleSource {
public:
    Mp3Decoder();
    ~Mp3Decoder() override;
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // False when the decoding library could not start.
    bool canDecode() const { return m_handle != nullptr; }

    // Opens `path`, which `index` describes. The output has the index's sample rate and channel count.
    Result<void> open(const std::string& path, const Mp3FrameIndex& index);
    void close();
    bool isOpen() const { return m_handle != nullptr && m_opened; }

    Result<void> seekToSample(int64_t sample) override;

    // Decodes up to `maxFrames` frames into `out` (maxFrames × channels floats). Returns the frames
    // written; 0 at the end of the stream or when the file cannot be decoded any further.
    int64_t read(float* out, int64_t maxFrames) override;

    // The sample the next read starts at.
    int64_t positionSample() const { return m_positionSample; }
    int32_t channels() const { return m_channels; }

private:
    bool openHandle();
    bool discard(int64_t frames);
    bool skipDamage();

    mpg123_handle_struct* m_handle = nullptr;
    std::string m_path;
    Mp3FrameIndex m_index;
    std::vector<float> m_scratch;
    bool m_opened = false;
    int32_t m_channels = 0;
    int64_t m_lengthSamples = 0;
    int64_t m_positionSample = 0;
    // After damage the library cannot decode, the stream goes on a few frames later; the samples in
    // between are silence, so every later sample keeps its place on the index's timeline.
    int64_t m_silencePending = 0;
    int32_t m_damageSkips = 0;
};

}  // namespace lumora

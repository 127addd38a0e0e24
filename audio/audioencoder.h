#pragma once
// AudioEncoder: turns interleaved float frames into the bytes of a compressed audio file, for practice
// tracks. The bytes are taken as they come (takeBytes); after finish, headerPatch() holds bytes to write
// over the start of the file (the MP3 tag frame, which is known only at the end). forFileName picks the format from the name: ".mp3" is MP3 through the LAME
// library (with its gapless tag, so a decoder gives back exactly the frames that went in), ".opus" is
// Ogg Opus through libopusenc (whose pre-skip and end granule do the same).

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "codec/result.h"

namespace lumora {

class AudioEncoder {
public:
    virtual ~AudioEncoder() = default;

    // The encoder for `fileName`'s extension (case ignored); an error naming the extension otherwise.
    static Result<std::unique_ptr<AudioEncoder>> forFileName(const std::string& fileName, int32_t sampleRateHz,
                                                            int32_t channels);
    // Whether `fileName` ends in an extension forFileName knows.
    static bool knowsFileName(const std::string& fileName);

    virtual Result<void> write(const float* interleaved, int64_t frames) = 0;
    // Ends the stream.
    virtual Result<void> finish() = 0;
    // The bytes made since the last call.
    std::vector<uint8_t> takeBytes() { return std::exchange(m_bytes, {}); }
    const std::vector<uint8_t>& headerPatch() const { return m_headerPatch; }

protected:
    std::vector<uint8_t> m_bytes;
    std::vector<uint8_t> m_headerPatch;
};

}  // namespace lumora

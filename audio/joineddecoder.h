#pragma once
// JoinedDecoder: decodes a JoinedFrameIndex's parts one after the other as one stream. Each part is
// decoded exactly as it is alone (its own gapless trimming), and the next part's first sample follows
// the last sample of the one before, so the stream is the parts' samples end to end. Only the part
// being read is open; crossing into the next one opens its file.
//
// A part whose file cannot be opened or decoded to its end plays silence for the rest of its length,
// so every later sample keeps its place in the stream.

#include <cstdint>
#include <memory>

#include "audio/joinedframeindex.h"
#include "audio/mp3decoder.h"
#include "audio/samplesource.h"

namespace lumora {

class JoinedDecoder : public SampleSource {
public:
    explicit JoinedDecoder(std::shared_ptr<const JoinedFrameIndex> index);

    // False when the decoding library could not start.
    bool canDecode() const { return m_decoder.canDecode(); }

    Result<void> seekToSample(int64_t sample) override;
    int64_t read(float* out, int64_t maxFrames) override;

    // The stream sample the next read starts at.
    int64_t positionSample() const { return m_positionSample; }

private:
    // Opens part k and moves it to `offset` samples into the part; false (the part plays silence) when
    // either fails.
    bool enterPart(int64_t k, int64_t offset);

    std::shared_ptr<const JoinedFrameIndex> m_index;
    Mp3Decoder m_decoder;
    int64_t m_part = -1;  // the part m_decoder holds, -1 for none
    bool m_partSilent = false;
    int64_t m_positionSample = 0;
};

}  // namespace lumora

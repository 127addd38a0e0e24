#include "audio/joineddecoder.h"

#include <algorithm>

#include "audio/sounderrors.h"

namespace lumora {

JoinedDecoder::JoinedDecoder(std::shared_ptr<const JoinedFrameIndex> index) : m_index(std::move(index)) {}

bool JoinedDecoder::enterPart(int64_t k, int64_t offset) {
    const JoinedFrameIndex::Part& part = m_index->part(k);
    if (m_part != k || offset == 0) {
        // A part read from its start is opened afresh, so it decodes exactly as it does alone.
        m_part = k;
        m_partSilent = !m_decoder.open(part.path, part.index).ok();
    }
    if (!m_partSilent && offset > 0) {
        m_partSilent = !m_decoder.seekToSample(offset).ok();
    }
    return !m_partSilent;
}

Result<void> JoinedDecoder::seekToSample(int64_t sample) {
    if (!m_decoder.canDecode()) {
        return Error{kSoundNotInitialised, "JoinedDecoder", soundErrorText(kSoundNotInitialised)};
    }
    m_positionSample = std::clamp<int64_t>(sample, 0, m_index->lengthSamples());
    if (m_partSilent) {
        m_part = -1;  // a part that failed is tried afresh
    }
    const int64_t k = m_index->partAtSample(m_positionSample);
    if (k >= 0 && m_positionSample < m_index->lengthSamples()) {
        // A part that fails here plays silence; the stream itself goes on.
        (void)enterPart(k, m_positionSample - m_index->part(k).firstSample);
    }
    return {};
}

int64_t JoinedDecoder::read(float* out, int64_t maxFrames) {
    if (!m_decoder.canDecode() || maxFrames <= 0) {
        return 0;
    }
    const auto channels = static_cast<size_t>(m_index->channels());
    const int64_t wanted =
        std::max<int64_t>(0, std::min(maxFrames, m_index->lengthSamples() - m_positionSample));
    int64_t done = 0;
    while (done < wanted) {
        const int64_t k = m_index->partAtSample(m_positionSample);
        const JoinedFrameIndex::Part& part = m_index->part(k);
        if (k != m_part) {
            (void)enterPart(k, m_positionSample - part.firstSample);
        }
        const int64_t count =
            std::min(wanted - done, part.firstSample + part.lengthSamples - m_positionSample);
        float* at = out + static_cast<size_t>(done) * channels;
        const int64_t got = m_partSilent ? 0 : m_decoder.read(at, count);
        if (got < count) {
            // The part's file ended before its index did: the rest of the part is silence.
            std::fill(at + static_cast<size_t>(got) * channels, at + static_cast<size_t>(count) * channels,
                      0.0f);
            m_partSilent = true;
        }
        done += count;
        m_positionSample += count;
    }
    return done;
}

}  // namespace lumora

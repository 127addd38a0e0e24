#pragma once
// JoinedFrameIndex: a recording made of several MP3 files played one after the other as one stream,
// such as a per-verse collection (one file per verse of a sura). Each file is a part with its own frame
// index; the stream's sample s lies in the part whose samples cover it, and the parts follow each other
// without a gap: the stream is exactly the concatenation of each part's decoded samples (each part
// trimmed by its own gapless tag, as when it is played alone).
//
// A part whose path is empty or names no file is missing; one that is no MP3, cannot be read, or has
// another sample rate or channel count than the first good part is damaged. Either has no samples, so
// it takes no time in the stream and the parts around it join up. The stream's format is the first good
// part's.
//
// A single file is a stream of one part, so the player treats every recording the same way.

#include <cstdint>
#include <string>
#include <vector>

#include "audio/mp3frameindex.h"

namespace lumora {

class JoinedFrameIndex {
public:
    enum class PartState { kPresent, kMissing, kDamaged };

    struct Part {
        std::string path;
        PartState state = PartState::kMissing;
        std::string problem;      // why a missing or damaged part has no samples
        Mp3FrameIndex index;      // empty unless present
        int64_t firstSample = 0;  // in the stream
        int64_t lengthSamples = 0;
    };

    // A part's place in the stream in whole milliseconds: [startMs, endMs). The boundaries lie on exact
    // samples; each is the millisecond the boundary sample falls in, so msToSample(startMs) is the
    // part's first sample.
    struct PartTimes {
        int32_t startMs = 0;
        int32_t endMs = 0;
    };

    // One part per path, in order; indexes every file. Never fails: what cannot be played is a part
    // without samples.
    static JoinedFrameIndex fromFiles(const std::vector<std::string>& paths);
    // One file already indexed, as a stream of one part.
    static JoinedFrameIndex single(std::string path, Mp3FrameIndex index);

    JoinedFrameIndex() = default;  // no parts, no samples

    int32_t sampleRateHz() const { return m_sampleRateHz; }
    int32_t channels() const { return m_channels; }
    int64_t lengthSamples() const { return m_lengthSamples; }
    int64_t lengthMs() const;

    // The first sample at or after `ms` milliseconds, except that where a part starts within that
    // millisecond the part's first sample is taken: a time read from partTimesMs() lands exactly on
    // the part's start. sampleToMs(msToSample(ms)) == ms either way.
    int64_t msToSample(int64_t ms) const;
    int64_t sampleToMs(int64_t sample) const;

    int64_t partCount() const { return static_cast<int64_t>(m_parts.size()); }
    const Part& part(int64_t k) const { return m_parts[static_cast<size_t>(k)]; }
    const std::vector<Part>& parts() const { return m_parts; }
    // The part that holds `sample` (clamped to the stream); -1 when the stream has no samples.
    int64_t partAtSample(int64_t sample) const;
    // Each part's start and end in the stream.
    std::vector<PartTimes> partTimesMs() const;
    // The byte offset, in its part's file, of the frame that holds `sample`; 0 without samples.
    int64_t byteOffsetAtSample(int64_t sample) const;

private:
    void place();

    std::vector<Part> m_parts;
    int32_t m_sampleRateHz = 0;
    int32_t m_channels = 0;
    int64_t m_lengthSamples = 0;
    // Each part's first sample, in part order (never decreasing), for the searches.
    std::vector<int64_t> m_starts;
};

}  // namespace lumora

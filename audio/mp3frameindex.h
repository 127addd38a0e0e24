#pragma once
// Mp3FrameIndex: one pass over an MP3 file that finds every audio frame, so that a time maps to the
// exact byte offset of the frame that holds it and the decoder can seek without scanning again.
//
// The scan skips ID3v2 tags (also in the middle, where two files were joined), an ID3v1 tag, an APE tag
// and a Lyrics3 block at the end, and resynchronises over junk: after anything that is not a frame, a
// frame header counts only when the frame after it starts with a matching header too. The first frame
// may be a Xing/Info frame, which carries no audio; its LAME extension gives the encoder delay and
// padding that gapless decoding trims.
//
// Time runs on the decoder's output: sample 0 is the first sample the decoder hands out. With a LAME
// tag that is raw sample (529 + encoder delay), 529 being the synthesis delay of a layer III decoder;
// the padding is cut at the end of the part the tag describes. Anything after that part (joined files)
// plays untrimmed. A file shorter than its tag claims plays untrimmed throughout.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora {

class Mp3FrameIndex {
public:
    // The decoder delay of layer III synthesis, in samples.
    static constexpr int64_t kDecoderDelaySamples = 529;

    static Result<Mp3FrameIndex> fromBytes(const uint8_t* data, size_t size);
    static Result<Mp3FrameIndex> fromFile(const std::string& path);

    int32_t sampleRateHz() const { return m_sampleRateHz; }
    int32_t channels() const { return m_channels; }
    int32_t samplesPerFrame() const { return m_samplesPerFrame; }
    int32_t layer() const { return m_layer; }

    // Audio frames, in the order the decoder plays them (the leading Xing/Info frame is not one).
    int64_t frameCount() const { return static_cast<int64_t>(m_frameOffsets.size()); }
    const std::vector<int64_t>& frameOffsets() const { return m_frameOffsets; }
    int64_t frameOffset(int64_t frame) const { return m_frameOffsets[static_cast<size_t>(frame)]; }
    // The byte just past the last audio frame (where trailing tags begin); 0 without frames.
    int64_t audioEndOffset() const { return m_audioEndOffset; }

    // Samples (per channel) the decoder hands out, and their length in whole milliseconds.
    int64_t lengthSamples() const { return m_lengthSamples; }
    int64_t lengthMs() const;

    // The first sample at or after `ms` milliseconds (so that sampleToMs(msToSample(ms)) == ms).
    int64_t msToSample(int64_t ms) const;
    int64_t sampleToMs(int64_t sample) const;

    // The frame whose decoded output holds `sample` (clamped to the stream), and its byte offset.
    // Both never decrease as the sample grows.
    int64_t frameAtSample(int64_t sample) const;
    int64_t byteOffsetAtSample(int64_t sample) const;
    int64_t byteOffsetAtMs(int64_t ms) const { return byteOffsetAtSample(msToSample(ms)); }
    // The first sample a frame's decoding hands out (0 for frames whose output is all trimmed away at
    // the start; the stream's length for frames past its end).
    int64_t firstSampleOfFrame(int64_t frame) const;

    // Whether the decoder must trim encoder delay and padding (a LAME tag that fits the file).
    bool gapless() const { return m_gapless; }
    // Encoder delay and padding from the LAME tag; -1 when the file has none.
    int32_t encoderDelay() const { return m_encoderDelay; }
    int32_t encoderPadding() const { return m_encoderPadding; }
    // Frames the Xing/Info frame announces; -1 when there is none.
    int64_t announcedFrames() const { return m_announcedFrames; }
    // True when the file holds more than one encoding: a second tag or Info frame amid the frames, or
    // more frames than the Info frame announced.
    bool joined() const { return m_joined; }
    // Bytes skipped between frames (junk, tags in the middle); tags at the very start and end not counted.
    int64_t junkBytes() const { return m_junkBytes; }

    Mp3FrameIndex() = default;  // an empty index (no frames)

private:
    void scan(const uint8_t* data, size_t size);
    void readInfoFrame(const uint8_t* frame, size_t frameSize, size_t tagOffset);
    void finish();
    int64_t rawSampleAt(int64_t sample) const;

    int32_t m_sampleRateHz = 0;
    int32_t m_channels = 0;
    int32_t m_samplesPerFrame = 0;
    int32_t m_layer = 0;
    std::vector<int64_t> m_frameOffsets;
    int64_t m_audioEndOffset = 0;
    int64_t m_lengthSamples = 0;
    bool m_gapless = false;
    int32_t m_encoderDelay = -1;
    int32_t m_encoderPadding = -1;
    int64_t m_announcedFrames = -1;
    bool m_joined = false;
    int64_t m_junkBytes = 0;
    // Output sample s is raw decoder sample s + m_skipStart, plus (m_cutEnd - m_cutStart) from raw
    // sample m_cutStart on (the padding at the end of the tagged part).
    int64_t m_skipStart = 0;
    int64_t m_cutStart = 0;
    int64_t m_cutEnd = 0;
    bool m_hasLameTag = false;
};

}  // namespace lumora

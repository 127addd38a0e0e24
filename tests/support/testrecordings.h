#pragma once
// Test recordings: real MP3 files made by lame from generated signals, for tests that need genuine
// encoder output (CBR and VBR, 44.1 kHz stereo and 22.05 kHz mono, with or without tags). A recording
// is a list of segments (tone, silence or noise), so a test knows where each segment starts and ends.
// Files are cached by their description, in $LUMORA_TEST_CACHE or ./lumora-test-recordings (the test's
// working folder), and written under a temporary name first, so parallel tests may share them.
//
// With a gapless (LAME) tag the decoder's output lines up sample for sample with the generated signal:
// a segment boundary at T ms is at sample T × rate / 1000 of the decoded stream.

#include <cstdint>
#include <string>
#include <vector>

namespace lumora::test {

struct Segment {
    enum class Kind { Tone, Silence, Noise };
    Kind kind = Kind::Tone;
    int32_t durationMs = 1000;
    double frequencyHz = 440.0;
    double amplitude = 0.5;  // of full scale

    static Segment tone(double frequencyHz, int32_t durationMs, double amplitude = 0.5) {
        return Segment{Kind::Tone, durationMs, frequencyHz, amplitude};
    }
    static Segment silence(int32_t durationMs) { return Segment{Kind::Silence, durationMs, 0.0, 0.0}; }
    static Segment noise(int32_t durationMs, double amplitude = 0.3) {
        return Segment{Kind::Noise, durationMs, 0.0, amplitude};
    }
};

struct RecordingSpec {
    int32_t sampleRateHz = 44100;
    int32_t channels = 2;
    bool vbr = false;
    int32_t bitrateKbps = 128;  // CBR; below 56 lame writes no gapless tag
    int32_t vbrQuality = 4;     // lame -V
    bool infoTag = true;        // false: lame -t, no Xing/Info frame
    bool id3v2 = false;         // an ID3v2 tag (with padding) before the audio
    bool id3v1 = false;         // an ID3v1 tag after it
    uint32_t seed = 1;          // for noise segments
    // Empty: one 440 Hz tone of lengthMs.
    std::vector<Segment> segments;
    int32_t lengthMs = 3000;

    // 44.1 kHz stereo at 128 kbps CBR, 22.05 kHz mono at 56 kbps CBR, and their VBR forms.
    static RecordingSpec stereo44(int32_t lengthMs = 3000, bool vbr = false);
    static RecordingSpec mono22(int32_t lengthMs = 3000, bool vbr = false);
};

struct Recording {
    std::string path;
    int32_t sampleRateHz = 0;
    int32_t channels = 0;
    int64_t sourceSamples = 0;             // samples per channel of the generated signal
    std::vector<int32_t> boundariesMs;     // start of every segment, then the end of the last
    std::vector<int64_t> boundarySamples;  // the same in samples
};

// The recording for `spec`, made with lame unless cached. Throws std::runtime_error when lame fails.
Recording makeRecording(const RecordingSpec& spec);

// One recording per verse of a per-verse collection: file k is a tone of its own pitch lengthsMs[k] long,
// then 120 ms of silence, in the format of `base` (its segments are replaced).
std::vector<Recording> makeVerseRecordings(const std::vector<int32_t>& lengthsMs,
                                           RecordingSpec base = RecordingSpec::mono22());

// The generated signal, interleaved 16-bit samples.
std::vector<int16_t> generateSignal(const RecordingSpec& spec);

// Writes 16-bit PCM as a RIFF/WAVE file.
void writeWav(const std::string& path, const std::vector<int16_t>& samples, int32_t sampleRateHz,
              int32_t channels);

// The folder recordings are cached in (created when missing).
std::string recordingCacheFolder();

// Reads a whole file; throws when it cannot.
std::vector<uint8_t> readFileBytes(const std::string& path);

}  // namespace lumora::test

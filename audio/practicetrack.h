#pragma once
// PracticeTrack: one audio file of a range as range mode plays it, to take along: each verse, the pause
// between verses (silence), the range as many times as it is repeated, the pause after the range each
// time, at a speed and through the equalizer. The recording is decoded, cut at exact samples, joined
// and encoded again (MP3 or Opus by the file name), so the cuts fall where range mode makes them.
//
// Range mode hears a range from its first verse's start to its last verse's end less the player's
// 200 ms look-ahead, and pauses between verses where the look-ahead meets a verse's end: the track cuts
// at the same recording samples. Pauses are wall-clock seconds and are not stretched.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "codec/result.h"

namespace lumora {

struct PracticeTrackSpec {
    struct Verse {
        int32_t startMs = 0;
        int32_t endMs = 0;
    };
    std::string recordingPath;
    // A per-verse recording: its files in record order (an empty path for a missing one), played one
    // after the other as one stream, which the verse times are then of. Empty for the single file at
    // recordingPath.
    std::vector<std::string> recordingParts;
    std::vector<Verse> verses;  // the range, first to last
    int32_t repeat = 1;         // 0 (unlimited in range mode) counts as once
    double pauseBetweenVersesSeconds = 0.0;
    double pauseAfterRangeSeconds = 0.0;
    double speed = 1.0;
    bool equalizerEnabled = false;
    std::array<float, 10> gainsDb{};
};

// One stretch of the track: recording samples [fromSample, toSample) or, when silence, `frames` frames
// of silence. Audio sample counts are of the recording; the track holds them / speed frames long.
struct PracticePiece {
    bool silence = false;
    int64_t fromSample = 0;
    int64_t toSample = 0;
    int64_t frames = 0;
};

class PracticeTrack {
public:
    // Reports the share done (0..1); returns false to cancel.
    using Progress = std::function<bool(double done)>;

    // The pieces of one repetition of the range (each followed by nothing: the pause after the range is
    // the caller's), for a recording at `sampleRateHz` whose ms→sample mapping is `msToSample`, and
    // `lengthSamples` long: range mode ends the range where the recording ends, whatever the verse
    // times say, so the pass does too.
    static std::vector<PracticePiece> plan(const PracticeTrackSpec& spec, int32_t sampleRateHz,
                                           const std::function<int64_t(int64_t)>& msToSample,
                                           int64_t lengthSamples = INT64_MAX);

    // The track's length in frames at the recording's rate.
    static int64_t lengthFrames(const std::vector<PracticePiece>& pass, const PracticeTrackSpec& spec,
                                int32_t sampleRateHz);

    // Receives the finished track's frames (interleaved, after the equalizer) in order.
    using Consumer = std::function<Result<void>(const float* interleaved, int64_t frames)>;
    struct Format {
        int32_t sampleRateHz = 0;
        int32_t channels = 0;
    };

    // Renders the track at the recording's rate and channel count, which `started` learns before the
    // first frame; a cancel is an error with number kCancelled.
    static Result<void> render(const PracticeTrackSpec& spec, const std::function<Result<void>(Format)>& started,
                               const Consumer& consumer, const Progress& progress);

    // Writes the track to `outPath` through a temporary file in the same folder, renamed into place only
    // when complete: a failure or a cancel leaves no file and any old file untouched. A cancel is an
    // error with number kCancelled. A track is never written over the recording (or one of its files).
    static Result<void> write(const PracticeTrackSpec& spec, const std::string& outPath, const Progress& progress);

    static constexpr int32_t kCancelled = 2;
};

}  // namespace lumora

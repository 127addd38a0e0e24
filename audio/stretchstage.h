#pragma once
// StretchStage: changes the speed of a stream of interleaved float frames without changing its pitch,
// through Rubber Band's real-time engine with formants preserved. It sits between the decoder and the
// equalizer while the speed is not 1.00.
//
// Alignment: after restart() the stage pads its input with the engine's preferred silence and drops the
// engine's start delay from its output, so output frame k stands for input frame k × speed (counted from
// the first frame fed after the restart). That is what lets the player keep every position in recording
// time. Nothing allocates after construction as long as at most kMaxFeedFrames are fed at once, so the
// audio callback may drive it.

#include <cstdint>
#include <memory>
#include <vector>

namespace RubberBand {
class RubberBandStretcher;
}

namespace lumora {

class StretchStage {
public:
    static constexpr double kMinSpeed = 0.5;
    static constexpr double kMaxSpeed = 1.5;
    static constexpr int32_t kMaxFeedFrames = 1024;
    // Lead fed as audio before the first heard frame (about 90 ms at 44.1 kHz).
    static constexpr int32_t kPrerollFrames = 4096;

    StretchStage(int32_t sampleRateHz, int32_t channels);
    ~StretchStage();
    StretchStage(const StretchStage&) = delete;
    StretchStage& operator=(const StretchStage&) = delete;

    int32_t sampleRateHz() const { return m_sampleRateHz; }
    int32_t channels() const { return m_channels; }

    // Forgets all input and output and starts afresh at `speed` (clamped to kMinSpeed..kMaxSpeed).
    // `lead` is what came just before the first frame to be fed, when known: the engine looks back on
    // it instead of on silence, so output that follows unstretched audio starts at its steady level.
    void restart(double speed, const float* lead = nullptr, int32_t leadFrames = 0);
    double speed() const { return m_speed; }
    // How much lead restart() can use.
    int32_t leadFrames() const;

    // How many frames to feed before more output comes (1 to kMaxFeedFrames).
    int32_t framesWanted() const;
    // Feeds up to kMaxFeedFrames interleaved frames.
    void feed(const float* interleaved, int32_t frames);
    // No more input. The engine only lets its last frames through once windows after them have been
    // laid over them, so each call feeds a piece of silence (at most framesWanted()) until there has
    // been enough, and then ends the input: call it while output is wanted, until finished(). Output
    // past the last fed frame is that silence.
    void finish();
    bool finished() const { return m_finished; }

    // Output frames ready now (the start delay already dropped).
    int32_t available();
    // Takes up to maxFrames ready frames, interleaved; returns how many.
    int32_t retrieve(float* interleaved, int32_t maxFrames);

private:
    void dropStartDelay();

    int32_t m_sampleRateHz;
    int32_t m_channels;
    std::unique_ptr<RubberBand::RubberBandStretcher> m_engine;
    double m_speed = 1.0;
    bool m_finished = false;
    int64_t m_tailPadLeft = 0;
    int64_t m_toDrop = 0;
    std::vector<std::vector<float>> m_planes;  // one per channel, kMaxFeedFrames long
    std::vector<float*> m_planePointers;
};

}  // namespace lumora

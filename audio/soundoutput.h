#pragma once
// SoundOutput: where the player's rendered audio goes. The output pulls: once started it calls the
// renderer for interleaved 32-bit float frames in the format it was started with, on a thread of its
// own (or, for a manual null output, on the thread that advances it). Everything the player needs to
// know to tell which sample is being heard is here: the output's queue latency and whether it runs
// against the wall clock.

#include <cstdint>
#include <functional>

#include "codec/result.h"

namespace lumora {

struct SoundFormat {
    int32_t sampleRateHz = 44100;
    int32_t channels = 2;

    bool operator==(const SoundFormat&) const = default;
};

class SoundOutput {
public:
    // Fills `frames` interleaved frames at `out`; it must write every sample (silence where it has none).
    using Renderer = std::function<void(float* out, int32_t frames)>;

    virtual ~SoundOutput() = default;

    // Starts calling `renderer` with the given format. A failure carries a sound error number
    // (audio/sounderrors.h). Starting a started output replaces its format and renderer.
    virtual Result<void> start(const SoundFormat& format, Renderer renderer) = 0;

    // After this returns the renderer is not running and will not be called again until the next start.
    virtual void stop() = 0;

    // Frames queued ahead of the buffer being rendered: a sample handed to the output now is heard
    // after this many frames plus the buffer it is in.
    virtual int64_t latencyFrames() const = 0;

    // True when rendering follows the wall clock (a device, or the real-time null output); false when a
    // test advances the output by hand, where a rendered buffer counts as heard once it is rendered.
    virtual bool realTime() const = 0;
};

}  // namespace lumora

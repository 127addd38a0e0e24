#pragma once
// NullOutput: a SoundOutput without a device. In Manual mode a test moves a virtual clock with
// advanceMs, which renders exactly that much audio at once on the caller's thread (the player waits for
// its decoder there, so the result never depends on thread timing). In RealTime mode a thread of its own
// renders in 10 ms steps against the steady clock, for headless runs.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/soundoutput.h"

namespace lumora {

class NullOutput : public SoundOutput {
public:
    enum class Mode { Manual, RealTime };

    explicit NullOutput(Mode mode);
    ~NullOutput() override;

    Result<void> start(const SoundFormat& format, Renderer renderer) override;
    void stop() override;
    int64_t latencyFrames() const override { return 0; }
    bool realTime() const override { return m_mode == Mode::RealTime; }

    // Manual mode: renders the frames that fall in the next `ms` milliseconds. After a total of T ms
    // since start, exactly ceil(T * rate / 1000) frames have been rendered, so a stream time read back
    // in whole milliseconds is never behind the virtual clock. Does nothing in RealTime mode or when
    // stopped.
    void advanceMs(int64_t ms);

    // Keeps every rendered sample (interleaved) for tests that compare audio; off by default.
    void setCapture(bool capture);
    std::vector<float> takeCaptured();

    SoundFormat format() const;
    bool started() const;

private:
    void renderFrames(int64_t frames);
    void realTimeLoop();

    const Mode m_mode;
    mutable std::mutex m_mutex;  // guards everything below against the real-time thread
    Renderer m_renderer;
    SoundFormat m_format;
    bool m_started = false;
    int64_t m_elapsedMs = 0;
    int64_t m_renderedFrames = 0;
    bool m_capture = false;
    std::vector<float> m_captured;
    std::vector<float> m_buffer;
    bool m_quit = false;
    std::condition_variable m_quitSignal;
    std::thread m_thread;
};

}  // namespace lumora

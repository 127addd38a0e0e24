#pragma once
// SdlOutput: the sound device, through SDL2's audio callback (PipeWire, PulseAudio or ALSA). The
// device is opened with the stream's own format and SDL converts to the hardware's. Starting again
// with the same format keeps the device open and only swaps the renderer.

#include <cstdint>
#include <memory>

#include "audio/soundoutput.h"

namespace lumora {

class SdlOutput : public SoundOutput {
public:
    // Starts SDL's audio; fails (with a sound error number) when SDL cannot.
    static Result<std::unique_ptr<SdlOutput>> create();
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    Result<void> start(const SoundFormat& format, Renderer renderer) override;
    void stop() override;
    int64_t latencyFrames() const override { return m_bufferFrames; }
    bool realTime() const override { return true; }

private:
    SdlOutput() = default;
    static void callback(void* self, uint8_t* stream, int length);
    void closeDevice();

    uint32_t m_device = 0;  // an SDL_AudioDeviceID; 0 when closed
    SoundFormat m_format;
    Renderer m_renderer;  // read by the callback under SDL's device lock
    int64_t m_bufferFrames = 0;
};

}  // namespace lumora

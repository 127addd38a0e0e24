#include "audio/sdloutput.h"

#include <SDL2/SDL.h>

#include <cstring>

#include "audio/sounderrors.h"

namespace lumora {

namespace {
// 1024 frames is 23 ms at 44.1 kHz: small against the 200 ms look-ahead, large enough that a busy
// machine does not underrun.
constexpr Uint16 kBufferFrames = 1024;
}  // namespace

Result<std::unique_ptr<SdlOutput>> SdlOutput::create() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return Error{kSoundOutputInitFailed, "SdlOutput", SDL_GetError()};
    }
    return std::unique_ptr<SdlOutput>(new SdlOutput());
}

SdlOutput::~SdlOutput() {
    closeDevice();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlOutput::closeDevice() {
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);  // waits for a running callback
        m_device = 0;
    }
}

Result<void> SdlOutput::start(const SoundFormat& format, Renderer renderer) {
    if (m_device != 0 && format == m_format) {
        SDL_LockAudioDevice(m_device);
        m_renderer = std::move(renderer);
        SDL_UnlockAudioDevice(m_device);
        return {};
    }
    closeDevice();
    m_renderer = std::move(renderer);
    SDL_AudioSpec wanted{};
    wanted.freq = format.sampleRateHz;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = kBufferFrames;
    wanted.callback = &SdlOutput::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (m_device == 0) {
        m_renderer = nullptr;
        return Error{kSoundOutputInitFailed, "SdlOutput", SDL_GetError()};
    }
    m_format = format;
    m_bufferFrames = obtained.samples;
    SDL_PauseAudioDevice(m_device, 0);
    return {};
}

void SdlOutput::stop() {
    if (m_device == 0) {
        return;
    }
    SDL_LockAudioDevice(m_device);
    m_renderer = nullptr;
    SDL_UnlockAudioDevice(m_device);
}

void SdlOutput::callback(void* self, uint8_t* stream, int length) {
    auto* output = static_cast<SdlOutput*>(self);
    const int frameBytes = static_cast<int>(sizeof(float)) * output->m_format.channels;
    if (!output->m_renderer || frameBytes <= 0) {
        std::memset(stream, 0, static_cast<size_t>(length));
        return;
    }
    output->m_renderer(reinterpret_cast<float*>(stream), length / frameBytes);
}

}  // namespace lumora

#include "audio/nulloutput.h"

#include <chrono>
#include <utility>

namespace lumora {

namespace {
// The real-time mode renders in steps of this length: short against the 200 ms look-ahead the
// sequencer works with, long enough to cost nothing.
constexpr int64_t kRealTimeStepMs = 10;
}  // namespace

NullOutput::NullOutput(Mode mode) : m_mode(mode) {
    if (m_mode == Mode::RealTime) {
        m_thread = std::thread([this] { realTimeLoop(); });
    }
}

NullOutput::~NullOutput() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_started = false;
    }
    m_quitSignal.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

Result<void> NullOutput::start(const SoundFormat& format, Renderer renderer) {
    std::lock_guard lock(m_mutex);
    m_format = format;
    m_renderer = std::move(renderer);
    m_started = true;
    m_elapsedMs = 0;
    m_renderedFrames = 0;
    return {};
}

void NullOutput::stop() {
    std::lock_guard lock(m_mutex);
    m_started = false;
    m_renderer = nullptr;
}

void NullOutput::advanceMs(int64_t ms) {
    if (m_mode != Mode::Manual || ms <= 0) {
        return;
    }
    std::lock_guard lock(m_mutex);
    if (!m_started) {
        return;
    }
    m_elapsedMs += ms;
    const int64_t rate = m_format.sampleRateHz;
    const int64_t due = (m_elapsedMs * rate + 999) / 1000;
    renderFrames(due - m_renderedFrames);
}

void NullOutput::renderFrames(int64_t frames) {
    // Rendered in slices so that a long advance needs no large buffer.
    constexpr int64_t kSliceFrames = 4096;
    const auto channels = static_cast<size_t>(m_format.channels);
    while (frames > 0 && m_renderer) {
        const int64_t slice = frames < kSliceFrames ? frames : kSliceFrames;
        m_buffer.assign(static_cast<size_t>(slice) * channels, 0.0f);
        m_renderer(m_buffer.data(), static_cast<int32_t>(slice));
        if (m_capture) {
            m_captured.insert(m_captured.end(), m_buffer.begin(), m_buffer.end());
        }
        m_renderedFrames += slice;
        frames -= slice;
    }
}

void NullOutput::realTimeLoop() {
    using Clock = std::chrono::steady_clock;
    auto next = Clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        next += std::chrono::milliseconds(kRealTimeStepMs);
        m_quitSignal.wait_until(lock, next, [this] { return m_quit; });
        if (m_quit) {
            break;
        }
        if (!m_started) {
            continue;
        }
        m_elapsedMs += kRealTimeStepMs;
        const int64_t due = (m_elapsedMs * m_format.sampleRateHz + 999) / 1000;
        renderFrames(due - m_renderedFrames);
        // After a stall (a suspended machine) start afresh instead of rendering the backlog at once.
        if (Clock::now() - next > std::chrono::seconds(1)) {
            next = Clock::now();
        }
    }
}

void NullOutput::setCapture(bool capture) {
    std::lock_guard lock(m_mutex);
    m_capture = capture;
}

std::vector<float> NullOutput::takeCaptured() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_captured, {});
}

SoundFormat NullOutput::format() const {
    std::lock_guard lock(m_mutex);
    return m_format;
}

bool NullOutput::started() const {
    std::lock_guard lock(m_mutex);
    return m_started;
}

}  // namespace lumora

#include "audio/stretchstage.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>

namespace lumora {

namespace {
using RubberBand::RubberBandStretcher;

// Real time, so the speed can change while it runs. The faster engine costs a fraction of the finer
// one and keeps a reciting voice clear at 0.5×; channels together keep a stereo image in place.
constexpr RubberBandStretcher::Options kOptions =
    RubberBandStretcher::OptionProcessRealTime | RubberBandStretcher::OptionEngineFaster |
    RubberBandStretcher::OptionFormantPreserved | RubberBandStretcher::OptionChannelsTogether;

double clampSpeed(double speed) { return std::clamp(speed, StretchStage::kMinSpeed, StretchStage::kMaxSpeed); }
}  // namespace

StretchStage::StretchStage(int32_t sampleRateHz, int32_t channels)
    : m_sampleRateHz(sampleRateHz), m_channels(std::max(1, channels)) {
    m_engine = std::make_unique<RubberBandStretcher>(static_cast<size_t>(sampleRateHz),
                                                     static_cast<size_t>(m_channels), kOptions, 1.0, 1.0);
    m_engine->setMaxProcessSize(kMaxFeedFrames);
    m_planes.assign(static_cast<size_t>(m_channels), std::vector<float>(kMaxFeedFrames, 0.0f));
    for (auto& plane : m_planes) {
        m_planePointers.push_back(plane.data());
    }
    restart(1.0);
}

StretchStage::~StretchStage() = default;

int32_t StretchStage::leadFrames() const {
    return static_cast<int32_t>(m_engine->getPreferredStartPad()) + kPrerollFrames;
}

void StretchStage::restart(double speed, const float* lead, int32_t leadFrames) {
    m_speed = clampSpeed(speed);
    m_engine->reset();
    m_engine->setTimeRatio(1.0 / m_speed);
    m_finished = false;
    // The engine's first windows would otherwise fade the first frames in: give it what came before
    // (or silence) to look back on, and drop the output that this and the engine's delay make. Lead
    // beyond the pad is fed as audio and its output dropped too, so the engine has settled (its level
    // overshoots for a few windows after a reset) by the first frame that is heard.
    const auto pad = static_cast<int64_t>(m_engine->getPreferredStartPad());
    m_tailPadLeft = pad + static_cast<int64_t>(m_engine->getStartDelay());
    const int64_t known = lead == nullptr ? 0 : std::clamp<int64_t>(leadFrames, 0, pad + kPrerollFrames);
    const int64_t preroll = std::max<int64_t>(0, known - pad);
    const int64_t padKnown = known - preroll;
    m_toDrop = static_cast<int64_t>(m_engine->getStartDelay()) +
               static_cast<int64_t>(std::llround(static_cast<double>(preroll) / m_speed));
    for (auto& plane : m_planes) {
        std::fill(plane.begin(), plane.end(), 0.0f);
    }
    for (int64_t silence = pad - padKnown; silence > 0;) {
        const auto frames = static_cast<size_t>(std::min<int64_t>(silence, kMaxFeedFrames));
        m_engine->process(m_planePointers.data(), frames, false);
        silence -= static_cast<int64_t>(frames);
    }
    if (known > 0) {
        const float* from = lead + static_cast<size_t>(leadFrames - known) * static_cast<size_t>(m_channels);
        for (int64_t fed = 0; fed < known;) {
            const auto frames = static_cast<int32_t>(std::min<int64_t>(known - fed, kMaxFeedFrames));
            feed(from + static_cast<size_t>(fed) * static_cast<size_t>(m_channels), frames);
            fed += frames;
        }
    }
}

int32_t StretchStage::framesWanted() const {
    const auto wanted = static_cast<int64_t>(m_engine->getSamplesRequired());
    return static_cast<int32_t>(std::clamp<int64_t>(wanted, 1, kMaxFeedFrames));
}

void StretchStage::feed(const float* interleaved, int32_t frames) {
    frames = std::clamp(frames, 0, kMaxFeedFrames);
    const auto channels = static_cast<size_t>(m_channels);
    for (size_t ch = 0; ch < channels; ++ch) {
        float* plane = m_planes[ch].data();
        for (size_t i = 0; i < static_cast<size_t>(frames); ++i) {
            plane[i] = interleaved[i * channels + ch];
        }
    }
    m_engine->process(m_planePointers.data(), static_cast<size_t>(frames), false);
}

void StretchStage::finish() {
    if (m_finished) {
        return;
    }
    if (m_tailPadLeft > 0) {
        const auto frames = std::min<int64_t>(m_tailPadLeft, framesWanted());
        for (auto& plane : m_planes) {
            std::fill(plane.begin(), plane.begin() + static_cast<std::ptrdiff_t>(frames), 0.0f);
        }
        m_engine->process(m_planePointers.data(), static_cast<size_t>(frames), false);
        m_tailPadLeft -= frames;
        return;
    }
    m_engine->process(m_planePointers.data(), 0, true);
    m_finished = true;
}

void StretchStage::dropStartDelay() {
    while (m_toDrop > 0) {
        const int ready = m_engine->available();
        if (ready <= 0) {
            return;
        }
        const auto frames = static_cast<size_t>(std::min<int64_t>({m_toDrop, ready, kMaxFeedFrames}));
        m_engine->retrieve(m_planePointers.data(), frames);
        m_toDrop -= static_cast<int64_t>(frames);
    }
}

int32_t StretchStage::available() {
    dropStartDelay();
    if (m_toDrop > 0) {
        return 0;
    }
    return std::max(0, m_engine->available());
}

int32_t StretchStage::retrieve(float* interleaved, int32_t maxFrames) {
    const int32_t frames = std::min({available(), maxFrames, kMaxFeedFrames});
    if (frames <= 0) {
        return 0;
    }
    const auto got =
        static_cast<int32_t>(m_engine->retrieve(m_planePointers.data(), static_cast<size_t>(frames)));
    const auto channels = static_cast<size_t>(m_channels);
    for (size_t ch = 0; ch < channels; ++ch) {
        const float* plane = m_planes[ch].data();
        for (size_t i = 0; i < static_cast<size_t>(got); ++i) {
            interleaved[i * channels + ch] = plane[i];
        }
    }
    return got;
}

}  // namespace lumora

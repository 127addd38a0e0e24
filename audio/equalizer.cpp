#include "audio/equalizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/equalizersettings.h"

namespace lumora {

namespace {
// Coefficients are recomputed this often while a band glides: fine enough to be inaudible, coarse
// enough that a glide costs little.
constexpr int32_t kGlideSliceFrames = 32;
// A full swing from -15 to +15 dB takes this long; shorter would click, longer would lag the slider.
constexpr double kGlideSeconds = 0.03;
// The on/off crossfade.
constexpr double kCrossfadeSeconds = 0.02;
}  // namespace

void Equalizer::configure(int32_t sampleRateHz, int32_t channels) {
    m_sampleRateHz = sampleRateHz > 0 ? sampleRateHz : 44100;
    m_channels = channels > 0 ? channels : 1;
    const double slicesPerGlide = kGlideSeconds * m_sampleRateHz / kGlideSliceFrames;
    m_glideStepDb = double(kMaxGainDb - kMinGainDb) / std::max(1.0, slicesPerGlide);
    m_wetStep = 1.0 / std::max(1.0, kCrossfadeSeconds * m_sampleRateHz);
    m_dry.reserve(static_cast<size_t>(kGlideSliceFrames * m_channels));
    for (int i = 0; i < kBands; ++i) {
        Band& band = m_bands[static_cast<size_t>(i)];
        band.centreHz = EqualizerSettings::kCentreHz[static_cast<size_t>(i)];
        band.bypassed = band.centreHz >= kBypassFraction * m_sampleRateHz;
        band.state.assign(static_cast<size_t>(m_channels) * 2, 0.0);
    }
    settle();
}

void Equalizer::setGains(const std::array<float, kBands>& gainsDb) {
    for (size_t i = 0; i < gainsDb.size(); ++i) {
        const float gain = std::isnan(gainsDb[i]) ? 0.0f : std::clamp(gainsDb[i], kMinGainDb, kMaxGainDb);
        m_bands[i].targetDb = gain;
    }
}

void Equalizer::setEnabled(bool enabled) { m_enabled = enabled; }

void Equalizer::settle() {
    m_wet = m_enabled ? 1.0 : 0.0;
    for (Band& band : m_bands) {
        if (band.currentDb == 0 && band.targetDb != 0) {
            std::fill(band.state.begin(), band.state.end(), 0.0);
        }
        band.currentDb = band.targetDb;
        updateCoefficients(band);
    }
}

bool Equalizer::bandBypassed(int band) const { return m_bands[static_cast<size_t>(band)].bypassed; }

// The peaking filter of the audio-EQ cookbook with its bandwidth given in octaves; the bandwidth is
// warped so that the digital filter is as wide as the analogue one at every centre frequency.
void Equalizer::updateCoefficients(Band& band) const {
    const double a = std::pow(10.0, band.currentDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * band.centreHz / m_sampleRateHz;
    const double sinW0 = std::sin(w0);
    const double alpha = sinW0 * std::sinh(std::numbers::ln2 / 2.0 * kBandwidthOctaves * w0 / sinW0);
    const double a0 = 1.0 + alpha / a;
    band.coefficients.b0 = (1.0 + alpha * a) / a0;
    band.coefficients.b1 = -2.0 * std::cos(w0) / a0;
    band.coefficients.b2 = (1.0 - alpha * a) / a0;
    band.coefficients.a1 = band.coefficients.b1;
    band.coefficients.a2 = (1.0 - alpha / a) / a0;
}

void Equalizer::glide(Band& band) {
    if (band.currentDb == band.targetDb) {
        return;
    }
    if (band.currentDb == 0) {
        // A band joins the chain from 0 dB, where it is an identity whose state is all zeros.
        std::fill(band.state.begin(), band.state.end(), 0.0);
    }
    const double difference = band.targetDb - band.currentDb;
    band.currentDb = std::abs(difference) <= m_glideStepDb ? band.targetDb
                                                            : band.currentDb + std::copysign(m_glideStepDb, difference);
    updateCoefficients(band);
}

void Equalizer::filterBand(Band& band, float* interleaved, int32_t frames) const {
    const Coefficients c = band.coefficients;
    const auto channels = static_cast<size_t>(m_channels);
    for (size_t ch = 0; ch < channels; ++ch) {
        double s1 = band.state[ch * 2];
        double s2 = band.state[ch * 2 + 1];
        float* sample = interleaved + ch;
        for (int32_t i = 0; i < frames; ++i, sample += channels) {
            const double x = *sample;
            const double y = c.b0 * x + s1;
            s1 = c.b1 * x - c.a1 * y + s2;
            s2 = c.b2 * x - c.a2 * y;
            *sample = static_cast<float>(y);
        }
        band.state[ch * 2] = s1;
        band.state[ch * 2 + 1] = s2;
    }
}

void Equalizer::process(float* interleaved, int32_t frames) {
    const auto channels = static_cast<size_t>(m_channels);
    for (int32_t done = 0; done < frames;) {
        const int32_t slice = std::min(kGlideSliceFrames, frames - done);
        float* block = interleaved + static_cast<size_t>(done) * channels;
        done += slice;
        const double wetTarget = m_enabled ? 1.0 : 0.0;
        if (m_wet == 0.0) {
            if (wetTarget == 0.0) {
                continue;  // off: the samples stay exactly as they are
            }
            // Coming back on: the bands start from their targets with fresh state, under the crossfade.
            for (Band& band : m_bands) {
                band.currentDb = band.targetDb;
                updateCoefficients(band);
                std::fill(band.state.begin(), band.state.end(), 0.0);
            }
        }
        const bool fading = m_wet != wetTarget;
        if (fading) {
            m_dry.assign(block, block + static_cast<size_t>(slice) * channels);
        }
        for (Band& band : m_bands) {
            if (band.bypassed) {
                continue;
            }
            glide(band);
            if (band.currentDb != 0.0) {
                filterBand(band, block, slice);
            }
        }
        if (fading) {
            for (int32_t i = 0; i < slice; ++i) {
                m_wet = wetTarget > m_wet ? std::min(wetTarget, m_wet + m_wetStep) : std::max(wetTarget, m_wet - m_wetStep);
                for (size_t ch = 0; ch < channels; ++ch) {
                    const size_t k = static_cast<size_t>(i) * channels + ch;
                    block[k] = static_cast<float>(m_dry[k] + m_wet * (block[k] - m_dry[k]));
                }
            }
        }
    }
}

}  // namespace lumora

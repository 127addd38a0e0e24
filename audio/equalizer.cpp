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
        band.state.fill(0.0);
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
            band.state.fill(0.0);
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
        band.state.fill(0.0);
    }
    const double difference = band.targetDb - band.currentDb;
    band.currentDb = std::abs(difference) <= m_glideStepDb ? band.targetDb
                                                            : band.currentDb + std::copysign(m_glideStepDb, difference);
    updateCoefficients(band);
}

namespace {

// Both channels of a frame side by side, so one instruction filters both.
using Pair = double __attribute__((vector_size(16)));

struct PairCoefficients {
    Pair b0, b1, b2, a1, a2;
};

// Runs `frames` frames through `count` bands in series, frame by frame: consecutive frames overlap in
// the processor, where running each band over the whole slice would wait on every sample.
template <int kCount>
[[gnu::always_inline]] inline void runChain(float* interleaved, int32_t frames, bool stereo, const PairCoefficients* c, Pair* s1, Pair* s2) {
    for (int32_t i = 0; i < frames; ++i) {
        float* frame = interleaved + (stereo ? 2 * i : i);
        Pair x = {frame[0], stereo ? frame[1] : 0.0};
        for (int k = 0; k < kCount; ++k) {
            const Pair y = c[k].b0 * x + s1[k];
            s1[k] = c[k].b1 * x - c[k].a1 * y + s2[k];
            s2[k] = c[k].b2 * x - c[k].a2 * y;
            x = y;
        }
        frame[0] = static_cast<float>(x[0]);
        if (stereo) {
            frame[1] = static_cast<float>(x[1]);
        }
    }
}

// Compiled twice: for processors with AVX2 and FMA (a third faster) and for any x86-64; the loader
// picks one.
#if defined(__x86_64__) && !defined(__clang__)
__attribute__((target_clones("arch=haswell", "default")))
#endif
void runChains(int count, float* interleaved, int32_t frames, bool stereo, const PairCoefficients* c, Pair* s1,
               Pair* s2) {
    switch (count) {
        case 0: return;
        case 1: runChain<1>(interleaved, frames, stereo, c, s1, s2); break;
        case 2: runChain<2>(interleaved, frames, stereo, c, s1, s2); break;
        case 3: runChain<3>(interleaved, frames, stereo, c, s1, s2); break;
        case 4: runChain<4>(interleaved, frames, stereo, c, s1, s2); break;
        case 5: runChain<5>(interleaved, frames, stereo, c, s1, s2); break;
        case 6: runChain<6>(interleaved, frames, stereo, c, s1, s2); break;
        case 7: runChain<7>(interleaved, frames, stereo, c, s1, s2); break;
        case 8: runChain<8>(interleaved, frames, stereo, c, s1, s2); break;
        case 9: runChain<9>(interleaved, frames, stereo, c, s1, s2); break;
        default: runChain<10>(interleaved, frames, stereo, c, s1, s2); break;
    }
}

}  // namespace

void Equalizer::filterSlice(float* interleaved, int32_t frames) {
    std::array<PairCoefficients, kBands> coefficients{};
    std::array<Pair, kBands> s1{};
    std::array<Pair, kBands> s2{};
    std::array<Band*, kBands> active{};
    int count = 0;
    for (Band& band : m_bands) {
        if (band.bypassed || band.currentDb == 0.0) {
            continue;
        }
        const Coefficients& c = band.coefficients;
        coefficients[static_cast<size_t>(count)] = {Pair{c.b0, c.b0}, Pair{c.b1, c.b1}, Pair{c.b2, c.b2},
                                                    Pair{c.a1, c.a1}, Pair{c.a2, c.a2}};
        s1[static_cast<size_t>(count)] = Pair{band.state[0], band.state[2]};
        s2[static_cast<size_t>(count)] = Pair{band.state[1], band.state[3]};
        active[static_cast<size_t>(count++)] = &band;
    }
    runChains(count, interleaved, frames, m_channels == 2, coefficients.data(), s1.data(), s2.data());
    for (int k = 0; k < count; ++k) {
        Band& band = *active[static_cast<size_t>(k)];
        band.state = {s1[static_cast<size_t>(k)][0], s2[static_cast<size_t>(k)][0], s1[static_cast<size_t>(k)][1],
                      s2[static_cast<size_t>(k)][1]};
    }
}

void Equalizer::process(float* interleaved, int32_t frames) {
    const auto channels = static_cast<size_t>(m_channels);
    for (int32_t done = 0; done < frames;) {
        const double wetTarget = m_enabled ? 1.0 : 0.0;
        const bool fading = m_wet != wetTarget;
        bool gliding = false;
        for (const Band& band : m_bands) {
            gliding = gliding || (!band.bypassed && band.currentDb != band.targetDb);
        }
        // Settled, the whole rest goes through at once; a glide or a crossfade moves in short slices.
        const int32_t slice = fading || gliding ? std::min(kGlideSliceFrames, frames - done) : frames - done;
        float* block = interleaved + static_cast<size_t>(done) * channels;
        done += slice;
        if (m_wet == 0.0) {
            if (wetTarget == 0.0) {
                continue;  // off: the samples stay exactly as they are
            }
            // Coming back on: the bands start from their targets with fresh state, under the crossfade.
            for (Band& band : m_bands) {
                band.currentDb = band.targetDb;
                updateCoefficients(band);
                band.state.fill(0.0);
            }
        }
        if (fading) {
            m_dry.assign(block, block + static_cast<size_t>(slice) * channels);
        }
        for (Band& band : m_bands) {
            if (!band.bypassed) {
                glide(band);
            }
        }
        filterSlice(block, slice);
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

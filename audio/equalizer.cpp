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
    m_work.assign(static_cast<size_t>(kWorkFrames) * 2, 0.0);
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

void Equalizer::setEnabled(bool enabled) {
    m_enabled = enabled;
}

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

bool Equalizer::bandBypassed(int band) const {
    return m_bands[static_cast<size_t>(band)].bypassed;
}

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
    band.currentDb = std::abs(difference) <= m_glideStepDb
                         ? band.targetDb
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
void runChain(float* interleaved, int32_t frames, bool stereo, const PairCoefficients* c, Pair* s1,
              Pair* s2) {
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

void runChains(int count, float* interleaved, int32_t frames, bool stereo, const PairCoefficients* c,
               Pair* s1, Pair* s2) {
    using Chain = void (*)(float*, int32_t, bool, const PairCoefficients*, Pair*, Pair*);
    static constexpr Chain kChains[] = {&runChain<1>, &runChain<2>, &runChain<3>, &runChain<4>,
                                        &runChain<5>, &runChain<6>, &runChain<7>, &runChain<8>,
                                        &runChain<9>, &runChain<10>};
    if (count > 0) {
        kChains[std::min(count, 10) - 1](interleaved, frames, stereo, c, s1, s2);
    }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define LUMORA_EQUALIZER_WAVEFRONT 1

// The wavefront: all ten bands work at once, band k on frame t - k, so no band waits for the one
// before it within a frame. Two bands (both channels each) share a 256-bit register; a step shifts
// every band's output one band on. The first and last nine frames of a run, where the front is not
// full, go band by band. Unused bands pass samples through (b0 = 1, the rest 0, exactly).
using Quad = double __attribute__((vector_size(32)));
using QuadMask = long long __attribute__((vector_size(32)));
constexpr int kWaveBands = 10;
constexpr int kWaveVectors = kWaveBands / 2;

void stepScalar(const PairCoefficients& c, Pair& s1, Pair& s2, double* frame) {
    const Pair x = {frame[0], frame[1]};
    const Pair y = c.b0 * x + s1;
    s1 = c.b1 * x - c.a1 * y + s2;
    s2 = c.b2 * x - c.a2 * y;
    frame[0] = y[0];
    frame[1] = y[1];
}

__attribute__((target("arch=haswell"))) inline Quad join(Pair low, Pair high) {
    return Quad{low[0], low[1], high[0], high[1]};
}

__attribute__((target("arch=haswell"))) void runWavefront(double* work, int32_t frames,
                                                          const PairCoefficients* c, Pair* s1, Pair* s2) {
    // Frames 0..8: band k takes frames 0..8-k, so frame j then holds band (8 - j)'s output.
    for (int k = 0; k < kWaveBands - 1; ++k) {
        for (int j = 0; j < kWaveBands - 1 - k; ++j) {
            stepScalar(c[k], s1[k], s2[k], work + 2 * j);
        }
    }
    Quad b0[kWaveVectors], b1[kWaveVectors], b2[kWaveVectors], a1[kWaveVectors], a2[kWaveVectors];
    Quad t1[kWaveVectors], t2[kWaveVectors], y[kWaveVectors];
    for (int v = 0; v < kWaveVectors; ++v) {
        const int k = 2 * v;
        b0[v] = join(c[k].b0, c[k + 1].b0);
        b1[v] = join(c[k].b1, c[k + 1].b1);
        b2[v] = join(c[k].b2, c[k + 1].b2);
        a1[v] = join(c[k].a1, c[k + 1].a1);
        a2[v] = join(c[k].a2, c[k + 1].a2);
        t1[v] = join(s1[k], s1[k + 1]);
        t2[v] = join(s2[k], s2[k + 1]);
        // Band k's last output so far is frame 8 - k's (band 9 has none yet).
        const double* first = work + 2 * (kWaveBands - 2 - k);
        const double* second = k + 1 < kWaveBands - 1 ? work + 2 * (kWaveBands - 3 - k) : nullptr;
        y[v] = Quad{first[0], first[1], second != nullptr ? second[0] : 0.0,
                    second != nullptr ? second[1] : 0.0};
    }
    const QuadMask shiftOneBand = {2, 3, 4, 5};
    for (int32_t t = kWaveBands - 1; t < frames; ++t) {
        Quad x[kWaveVectors];
        const Quad input = Quad{0.0, 0.0, work[2 * t], work[2 * t + 1]};
        x[0] = __builtin_shuffle(input, y[0], shiftOneBand);
#pragma GCC unroll 5
        for (int v = 1; v < kWaveVectors; ++v) {
            x[v] = __builtin_shuffle(y[v - 1], y[v], shiftOneBand);
        }
#pragma GCC unroll 5
        for (int v = 0; v < kWaveVectors; ++v) {
            y[v] = b0[v] * x[v] + t1[v];
            t1[v] = b1[v] * x[v] - a1[v] * y[v] + t2[v];
            t2[v] = b2[v] * x[v] - a2[v] * y[v];
        }
        double* out = work + 2 * (t - (kWaveBands - 1));
        out[0] = y[kWaveVectors - 1][2];
        out[1] = y[kWaveVectors - 1][3];
    }
    for (int v = 0; v < kWaveVectors; ++v) {
        const int k = 2 * v;
        s1[k] = Pair{t1[v][0], t1[v][1]};
        s1[k + 1] = Pair{t1[v][2], t1[v][3]};
        s2[k] = Pair{t2[v][0], t2[v][1]};
        s2[k + 1] = Pair{t2[v][2], t2[v][3]};
        // Band k has reached frame frames - 1 - k; its output goes where band k + 1 will read it.
        for (int half = 0; half < 2 && k + half < kWaveBands - 1; ++half) {
            double* frame = work + 2 * (frames - 1 - (k + half));
            frame[0] = y[v][2 * half];
            frame[1] = y[v][2 * half + 1];
        }
    }
    // The last nine frames: band k still owes frames frames - k .. frames - 1.
    for (int k = 1; k < kWaveBands; ++k) {
        for (int32_t j = frames - k; j < frames; ++j) {
            stepScalar(c[k], s1[k], s2[k], work + 2 * j);
        }
    }
}
#endif

}  // namespace

bool Equalizer::wavefrontAvailable() {
#ifdef LUMORA_EQUALIZER_WAVEFRONT
    static const bool available = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return available;
#else
    return false;
#endif
}

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
    if (count == 0) {
        return;
    }
    const bool stereo = m_channels == 2;
#ifdef LUMORA_EQUALIZER_WAVEFRONT
    if (m_useWavefront && count > 4 && frames >= 4 * kWaveBands) {
        for (int k = count; k < kBands; ++k) {
            coefficients[static_cast<size_t>(k)] = {Pair{1.0, 1.0}, Pair{}, Pair{}, Pair{}, Pair{}};
        }
        const auto channels = static_cast<size_t>(m_channels);
        for (int32_t done = 0; done < frames;) {
            const int32_t run = std::min(frames - done, kWorkFrames);
            float* block = interleaved + static_cast<size_t>(done) * channels;
            for (int32_t i = 0; i < run; ++i) {
                m_work[2 * static_cast<size_t>(i)] = block[static_cast<size_t>(i) * channels];
                m_work[2 * static_cast<size_t>(i) + 1] =
                    stereo ? block[static_cast<size_t>(i) * channels + 1] : 0.0;
            }
            if (run >= 4 * kWaveBands) {
                runWavefront(m_work.data(), run, coefficients.data(), s1.data(), s2.data());
                for (int32_t i = 0; i < run; ++i) {
                    block[static_cast<size_t>(i) * channels] =
                        static_cast<float>(m_work[2 * static_cast<size_t>(i)]);
                    if (stereo) {
                        block[static_cast<size_t>(i) * channels + 1] =
                            static_cast<float>(m_work[2 * static_cast<size_t>(i) + 1]);
                    }
                }
            } else {
                runChains(count, block, run, stereo, coefficients.data(), s1.data(), s2.data());
            }
            done += run;
        }
    } else {
        runChains(count, interleaved, frames, stereo, coefficients.data(), s1.data(), s2.data());
    }
#else
    runChains(count, interleaved, frames, stereo, coefficients.data(), s1.data(), s2.data());
#endif
    for (int k = 0; k < count; ++k) {
        Band& band = *active[static_cast<size_t>(k)];
        band.state = {s1[static_cast<size_t>(k)][0], s2[static_cast<size_t>(k)][0],
                      s1[static_cast<size_t>(k)][1], s2[static_cast<size_t>(k)][1]};
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
                m_wet = wetTarget > m_wet ? std::min(wetTarget, m_wet + m_wetStep)
                                          : std::max(wetTarget, m_wet - m_wetStep);
                for (size_t ch = 0; ch < channels; ++ch) {
                    const size_t k = static_cast<size_t>(i) * channels + ch;
                    block[k] = static_cast<float>(m_dry[k] + m_wet * (block[k] - m_dry[k]));
                }
            }
        }
    }
}

}  // namespace lumora

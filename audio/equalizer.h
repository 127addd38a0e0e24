#pragma once
// Equalizer: ten peaking filters in series over the whole output, centred on the EqualizerSettings
// bands, each 1.5 octaves wide (18 semitones) with a gain of -15..+15 dB. Changes never click: a band
// glides to a new gain (its coefficients recomputed every 32 frames), and switching the equalizer on or
// off crossfades between the filtered and the plain signal. A band at 0 dB is left out of the chain, so
// all bands at 0 dB (or the equalizer off) leave the samples exactly as they are. Bands at or above
// 0.45 × the sample rate are bypassed: near the Nyquist frequency a peaking filter would only distort.
//
// Not thread-safe: one thread (the audio callback) owns an Equalizer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {

class Equalizer {
public:
    static constexpr int kBands = 10;
    static constexpr float kMinGainDb = -15.0f;
    static constexpr float kMaxGainDb = 15.0f;
    static constexpr double kBandwidthOctaves = 1.5;
    static constexpr double kBypassFraction = 0.45;

    // Resets all filter state; the gains and the on/off switch are kept and applied at once.
    void configure(int32_t sampleRateHz, int32_t channels);

    // New target gains (clamped; a NaN counts as 0 dB). Bands glide there.
    void setGains(const std::array<float, kBands>& gainsDb);
    // Switches the equalizer on or off with a short crossfade.
    void setEnabled(bool enabled);
    // Skips the glides and crossfades: the current targets apply from the next sample on.
    void settle();

    bool enabled() const { return m_enabled; }
    bool bandBypassed(int band) const;
    // The gain a band applies right now (it glides towards its target).
    double currentGainDb(int band) const { return m_bands[static_cast<size_t>(band)].currentDb; }

    void process(float* interleaved, int32_t frames);

    // Whether this processor runs the faster kernel (AVX2 and FMA); tests run both kernels.
    static bool wavefrontAvailable();
    void setWavefrontEnabled(bool enabled) { m_useWavefront = enabled && wavefrontAvailable(); }

private:
    struct Coefficients {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    };
    struct Band {
        double centreHz = 0;
        double targetDb = 0;
        double currentDb = 0;
        bool bypassed = false;
        Coefficients coefficients;
        // Transposed direct form II: s1 and s2 of the left (or only) channel, then of the right.
        std::array<double, 4> state{};
    };

    void updateCoefficients(Band& band) const;
    void glide(Band& band);
    void filterSlice(float* interleaved, int32_t frames);

    int32_t m_sampleRateHz = 44100;
    int32_t m_channels = 2;
    std::array<Band, kBands> m_bands{};
    bool m_enabled = false;
    double m_wet = 0;  // 0 = plain signal, 1 = filtered signal
    double m_glideStepDb = 1;
    double m_wetStep = 1;
    std::vector<float> m_dry;
    static constexpr int32_t kWorkFrames = 4096;
    std::vector<double> m_work;  // both channels (or one and a zero) as doubles for the wavefront
    bool m_useWavefront = wavefrontAvailable();
};

}  // namespace lumora

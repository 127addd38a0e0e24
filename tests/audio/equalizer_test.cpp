// The equalizer's bands, its bypasses and its click-free changes, measured on generated signals.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "audio/equalizer.h"
#include "audio/equalizersettings.h"

namespace lumora {
namespace {

std::vector<float> sine(double frequencyHz, int32_t rate, int64_t frames, double amplitude = 0.1) {
    std::vector<float> samples(static_cast<size_t>(frames));
    for (int64_t n = 0; n < frames; ++n) {
        samples[static_cast<size_t>(n)] =
            static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * frequencyHz * double(n) / rate));
    }
    return samples;
}

// The amplitude of the `frequencyHz` component of samples[from, end), by correlation.
double amplitudeAt(const std::vector<float>& samples, size_t from, double frequencyHz, int32_t rate) {
    double s = 0;
    double c = 0;
    for (size_t n = from; n < samples.size(); ++n) {
        const double phase = 2.0 * std::numbers::pi * frequencyHz * double(n) / rate;
        s += samples[n] * std::sin(phase);
        c += samples[n] * std::cos(phase);
    }
    const double count = double(samples.size() - from);
    return 2.0 * std::hypot(s, c) / count;
}

double bandGainDb(int32_t rate, int band, float gainDb) {
    Equalizer equalizer;
    equalizer.configure(rate, 1);
    std::array<float, 10> gains{};
    gains[static_cast<size_t>(band)] = gainDb;
    equalizer.setGains(gains);
    equalizer.setEnabled(true);
    equalizer.settle();
    const double centre = EqualizerSettings::kCentreHz[static_cast<size_t>(band)];
    std::vector<float> samples = sine(centre, rate, rate);
    equalizer.process(samples.data(), static_cast<int32_t>(samples.size()));
    // The second half: long after the filters settled.
    return 20.0 * std::log10(amplitudeAt(samples, samples.size() / 2, centre, rate) / 0.1);
}

TEST(Equalizer, EveryBandGivesItsGainAtItsCentre) {
    for (int32_t rate : {44100, 22050}) {
        for (int band = 0; band < Equalizer::kBands; ++band) {
            if (EqualizerSettings::kCentreHz[static_cast<size_t>(band)] >= 0.45 * rate) {
                continue;
            }
            for (float gain : {15.0f, 6.0f, -11.0f, -15.0f}) {
                EXPECT_NEAR(bandGainDb(rate, band, gain), gain, 0.1)
                    << "band " << band << " at " << rate << " Hz";
            }
        }
    }
}

TEST(Equalizer, GainsAreClampedToFifteenDecibelsAndNanIsFlat) {
    EXPECT_NEAR(bandGainDb(44100, 4, 40.0f), 15.0, 0.1);
    EXPECT_NEAR(bandGainDb(44100, 4, -99.0f), -15.0, 0.1);
    EXPECT_NEAR(bandGainDb(44100, 4, std::nanf("")), 0.0, 0.01);
}

std::vector<float> noise(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
    std::vector<float> samples(count);
    for (float& sample : samples) {
        sample = uniform(random);
    }
    return samples;
}

TEST(Equalizer, LeavesSamplesExactlyAloneWhenFlatOffOrBypassed) {
    const std::vector<float> input = noise(2 * 44100, 3);

    Equalizer flat;
    flat.configure(44100, 2);
    flat.setGains({});
    flat.setEnabled(true);
    std::vector<float> samples = input;
    flat.process(samples.data(), 44100);
    EXPECT_EQ(samples, input) << "all bands at 0 dB";

    Equalizer off;
    off.configure(44100, 2);
    off.setGains(EqualizerSettings{}.gainsDb);
    off.setEnabled(false);
    samples = input;
    off.process(samples.data(), 44100);
    EXPECT_EQ(samples, input) << "switched off";

    // Switched off after playing: once the crossfade is over, the samples pass unchanged again.
    off.setEnabled(true);
    samples = input;
    off.process(samples.data(), 44100);
    off.setEnabled(false);
    std::vector<float> fade = input;
    off.process(fade.data(), 2205);  // 50 ms, longer than the crossfade
    samples = input;
    off.process(samples.data(), 44100);
    EXPECT_EQ(samples, input) << "switched off again";

    // At 22.05 kHz the bands from 12 kHz up sit above 0.45 × the rate: they do nothing.
    Equalizer bypassed;
    bypassed.configure(22050, 2);
    EXPECT_TRUE(bypassed.bandBypassed(7) && bypassed.bandBypassed(8) && bypassed.bandBypassed(9));
    EXPECT_FALSE(bypassed.bandBypassed(6));
    bypassed.setGains({0, 0, 0, 0, 0, 0, 0, 15, -15, 15});
    bypassed.setEnabled(true);
    samples = input;
    bypassed.process(samples.data(), 22050);
    EXPECT_EQ(samples, input) << "bypassed bands";
}

// The fast kernel (all bands at once, on processors that have it) gives what the plain one gives, over
// any run of call sizes, for both channel counts.
TEST(Equalizer, BothKernelsAgree) {
    if (!Equalizer::wavefrontAvailable()) {
        GTEST_SKIP() << "this processor has only the plain kernel";
    }
    for (int32_t channels : {2, 1}) {
        const std::vector<float> input = noise(static_cast<size_t>(3 * 44100 * channels), 11);
        std::vector<float> plain = input;
        std::vector<float> fast = input;
        Equalizer plainEqualizer;
        Equalizer fastEqualizer;
        for (Equalizer* equalizer : {&plainEqualizer, &fastEqualizer}) {
            equalizer->configure(44100, channels);
            equalizer->setGains(EqualizerSettings{}.gainsDb);
            equalizer->setEnabled(true);
            equalizer->settle();
        }
        plainEqualizer.setWavefrontEnabled(false);
        fastEqualizer.setWavefrontEnabled(true);
        const int32_t sizes[] = {1024, 41, 7, 4096, 9000, 40, 39, 512, 10, 3000};
        size_t frame = 0;
        for (size_t i = 0; frame < input.size() / static_cast<size_t>(channels); ++i) {
            const auto count =
                static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(sizes[i % std::size(sizes)]),
                                                      input.size() / static_cast<size_t>(channels) - frame));
            plainEqualizer.process(plain.data() + frame * static_cast<size_t>(channels), count);
            fastEqualizer.process(fast.data() + frame * static_cast<size_t>(channels), count);
            frame += static_cast<size_t>(count);
        }
        float worst = 0;
        for (size_t k = 0; k < input.size(); ++k) {
            worst = std::max(worst, std::abs(plain[k] - fast[k]));
        }
        EXPECT_LT(worst, 1e-5f) << channels << " channels";
        EXPECT_NE(plain, input);
    }
}

// The largest ratio between the peaks of neighbouring 2 ms stretches: a click or a jump in level
// shows as a large ratio, a glide as a small one.
double largestStepRatio(const std::vector<float>& samples, size_t from, size_t to) {
    constexpr size_t kStretch = 88;
    double worst = 1.0;
    double previous = 0.0;
    for (size_t start = from; start + kStretch <= to; start += kStretch) {
        float peak = 0;
        for (size_t n = start; n < start + kStretch; ++n) {
            peak = std::max(peak, std::abs(samples[n]));
        }
        if (previous > 0.0) {
            worst = std::max({worst, peak / previous, previous / peak});
        }
        previous = peak;
    }
    return worst;
}

TEST(Equalizer, GainChangesAndSwitchingGlideWithoutJumps) {
    constexpr int32_t kRate = 44100;
    std::vector<float> samples = sine(1000.0, kRate, kRate);
    Equalizer equalizer;
    equalizer.configure(kRate, 1);
    std::array<float, 10> gains{};
    gains[4] = -15.0f;
    equalizer.setGains(gains);
    equalizer.setEnabled(true);
    equalizer.settle();
    equalizer.process(samples.data(), kRate / 4);
    gains[4] = 15.0f;  // a 30 dB swing at once
    equalizer.setGains(gains);
    equalizer.process(samples.data() + kRate / 4, kRate / 4);
    equalizer.setEnabled(false);  // and off again
    equalizer.process(samples.data() + kRate / 2, kRate / 2);

    const double ratio = largestStepRatio(samples, kRate / 8, samples.size());
    EXPECT_LT(ratio, 2.0);  // a glide stays near 1.4; switching at once gives about 19
    // The swing and the switch did happen.
    EXPECT_NEAR(20 * std::log10(amplitudeAt(std::vector<float>(samples.begin() + kRate / 8,
                                                               samples.begin() + kRate / 4),
                                            0, 1000.0, kRate) /
                                0.1),
                -15.0, 0.2);
    EXPECT_NEAR(20 * std::log10(amplitudeAt(std::vector<float>(samples.begin() + kRate * 3 / 8,
                                                               samples.begin() + kRate / 2),
                                            0, 1000.0, kRate) /
                                0.1),
                15.0, 0.2);
    EXPECT_NEAR(
        amplitudeAt(std::vector<float>(samples.begin() + kRate * 3 / 4, samples.end()), 0, 1000.0, kRate),
        0.1, 0.001);
}

}  // namespace
}  // namespace lumora

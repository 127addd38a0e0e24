#include "timing/synthrecitation.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>

#include "audio/decodeall.h"
#include "text/arabictext.h"

namespace lumora::test {

SynthRecitation makeRecitation(const std::vector<double>& weights, const RecitationStyle& style) {
    std::mt19937 random(style.seed);
    const auto between = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    RecordingSpec spec = style.format;
    spec.seed = style.seed;
    spec.segments.clear();
    SynthRecitation result;
    int32_t now = 0;
    const auto gap = [&](int32_t ms) {
        spec.segments.push_back(style.noiseAmplitude > 0 ? Segment::noise(ms, style.noiseAmplitude) : Segment::silence(ms));
        now += ms;
    };
    gap(500);
    for (size_t record = 0; record < weights.size(); ++record) {
        const double letters = std::max(weights[record], 2.0);
        const double amplitude = static_cast<int>(record) >= style.quietFrom && static_cast<int>(record) <= style.quietTo
                                     ? style.quietAmplitude
                                     : style.amplitude;
        double speechMs = letters * style.msPerLetter * between(0.85, 1.15);
        const int innerPauses =
            style.lettersPerInnerPause > 0 ? std::min(3, static_cast<int>(letters / style.lettersPerInnerPause)) : 0;
        // The places (as shares of the verse's speech) where the reciter pauses within it.
        std::vector<double> pauseAt;
        for (int i = 1; i <= innerPauses; ++i) pauseAt.push_back(i / (innerPauses + 1.0) + between(-0.08, 0.08));
        result.firstSoundMs.push_back(now);
        double spoken = 0;
        size_t nextPause = 0;
        while (spoken < speechMs) {
            const auto word = static_cast<int32_t>(std::min(between(250, 650), std::max(speechMs - spoken, 120.0)));
            spec.segments.push_back(Segment::tone(between(140, 320), word, amplitude * between(0.7, 1.0)));
            now += word;
            spoken += word;
            if (spoken >= speechMs) break;
            if (nextPause < pauseAt.size() && spoken >= pauseAt[nextPause] * speechMs) {
                gap(static_cast<int32_t>(between(style.innerPauseMinMs, style.innerPauseMaxMs)));
                ++nextPause;
            } else {
                gap(static_cast<int32_t>(between(40, 90)));
            }
        }
        result.lastSoundMs.push_back(now);
        gap(record + 1 < weights.size() ? static_cast<int32_t>(between(style.versePauseMinMs, style.versePauseMaxMs))
                                        : 800);
    }
    spec.lengthMs = now;
    result.recording = makeRecording(spec);
    return result;
}


std::vector<AutotimeFixture> autotimeFixtures() {
    std::vector<AutotimeFixture> fixtures;
    RecitationStyle clean;
    clean.seed = 11;
    fixtures.push_back({"sura 112, clean", 112, clean});
    RecitationStyle opening = clean;
    opening.seed = 12;
    opening.msPerLetter = 110;
    fixtures.push_back({"sura 1, no formula record", 1, opening});
    RecitationStyle noisy;
    noisy.seed = 13;
    noisy.noiseAmplitude = 0.01;
    noisy.msPerLetter = 80;
    fixtures.push_back({"sura 67, noise floor, inner pauses", 67, noisy});
    RecitationStyle quiet;
    quiet.seed = 14;
    quiet.noiseAmplitude = 0.003;
    quiet.quietFrom = 20;
    quiet.quietTo = 32;
    quiet.lettersPerInnerPause = 45;
    quiet.versePauseMinMs = 300;
    fixtures.push_back({"sura 36, quiet passage, more inner pauses", 36, quiet});
    RecitationStyle stereo;
    stereo.seed = 15;
    stereo.format = RecordingSpec::stereo44(3000, true);
    stereo.noiseAmplitude = 0.005;
    stereo.msPerLetter = 100;
    fixtures.push_back({"sura 93, 44.1 kHz stereo VBR", 93, stereo});
    return fixtures;
}

AutotimeOutcome runAutotimeFixture(const AutotimeFixture& fixture, const QString& programFolder) {
    AutotimeOutcome outcome;
    const Result<QStringList> texts = ArabicText::recordTexts(programFolder, fixture.sura);
    if (!texts) {
        outcome.timing = texts.error();
        return outcome;
    }
    std::vector<double> weights;
    for (const QString& text : texts.value()) weights.push_back(AutoTimer::textWeight(text));
    outcome.recitation = makeRecitation(weights, fixture.style);
    std::optional<AutoTimer> timer;
    const Result<bool> decoded = decodeAll(outcome.recitation.recording.path, [&](const DecodedBlock& block) {
        if (!timer) timer.emplace(block.sampleRateHz);
        timer->addSamples(block.samples, block.frames, block.channels);
        return true;
    });
    if (!decoded || !timer) {
        outcome.timing = decoded ? Error{0, "test", "no samples"} : decoded.error();
        return outcome;
    }
    outcome.timing = timer->finish(weights);
    if (!outcome.timing) return outcome;
    const std::vector<VerseTiming>& records = outcome.timing.value().records;
    std::vector<double> errors;
    outcome.latestStartMs = INT32_MIN;
    for (size_t r = 0; r < records.size() && r < outcome.recitation.firstSoundMs.size(); ++r) {
        const int32_t late = records[r].startMs - outcome.recitation.firstSoundMs[r];
        errors.push_back(std::abs(late));
        outcome.latestStartMs = std::max(outcome.latestStartMs, late);
        // The start must lie in the pause right before the verse: after the previous verse's last sound.
        const int32_t previousEnd = r == 0 ? 0 : outcome.recitation.lastSoundMs[r - 1];
        if (late > 30 || records[r].startMs < previousEnd) ++outcome.misplaced;
    }
    outcome.misplaced += static_cast<int>(std::max(records.size(), outcome.recitation.firstSoundMs.size()) -
                                          std::min(records.size(), outcome.recitation.firstSoundMs.size()));
    std::sort(errors.begin(), errors.end());
    outcome.medianStartErrorMs = errors.empty() ? 0 : errors[errors.size() / 2];
    return outcome;
}

}  // namespace lumora::test

#include "timing/autotimer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace lumora {

namespace {

constexpr int kErrorNumber = 5;
// Silences shorter than this inside sound are the gaps between words, not pauses.
constexpr int kMinPauseMs[] = {150, 80, 40};
// Sound shorter than this between silences is a click or a breath, not recitation.
constexpr int kMinSoundMs = 30;
// A verse's expected sounding time follows its letters plus this many, since even the shortest verse
// takes a moment to say.
constexpr double kLettersPerVerse = 2.0;
// How far a verse's duration may stray from the expected one (as a factor) and still be considered.
constexpr double kMaxStretch = 5.0;
// The spread of log(actual / expected) durations: a verse 1.5 times as long as expected costs about 0.7.
constexpr double kDurationSigma = 0.35;
// How strongly a longer pause is preferred as a boundary.
constexpr double kPauseWeight = 0.6;

struct Pause {
    int64_t firstFrame;  // the first silent frame
    int64_t endFrame;    // the first sounding frame after it
    double soundBeforeFrames;
    int64_t frames() const { return endFrame - firstFrame; }
};

double percentile(std::vector<float> values, double fraction) {
    const auto at = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<long>(at), values.end());
    return values[at];
}

Error failure(const std::string& what) {
    return Error{kErrorNumber, "AutoTimer", what};
}

struct Detection {
    std::vector<Pause> pauses;
    int64_t firstSound = 0;  // the first sounding frame
    int64_t soundEnd = 0;    // one past the last sounding frame
    double totalSound = 0;   // sounding frames from firstSound to soundEnd
};

// The pauses of the recitation: silent runs between sounding frames, at the usual least length or shorter
// ones when the recording has fewer than `wantedPauses` of those.
Result<Detection> detect(const std::vector<float>& frameEnergy, int64_t wantedPauses) {
    const auto frameCount = static_cast<int64_t>(frameEnergy.size());
    if (frameCount < 2) return failure("the recording is too short");
    // Loudness per frame in dB; the floor and the recitation's level come from the recording itself.
    std::vector<float> level(frameEnergy.size());
    for (size_t i = 0; i < level.size(); ++i) level[i] = static_cast<float>(10.0 * std::log10(frameEnergy[i] + 1e-10));
    const double floorDb = percentile(level, 0.05);
    const double loudDb = percentile(level, 0.95);
    if (loudDb - floorDb < 10.0) return failure("the recording has no pauses that stand out from its noise");
    // Halfway up in dB would cut off quiet passages; a fraction of the range above the floor, at least
    // 6 dB over it and never more than 20, keeps soft recitation above and the noise below.
    const double thresholdDb = floorDb + std::clamp((loudDb - floorDb) * 0.3, 6.0, 20.0);

    std::vector<uint8_t> sound(level.size());
    for (size_t i = 0; i < level.size(); ++i) sound[i] = level[i] > thresholdDb ? 1 : 0;
    // Clicks and breaths between silences are silence.
    const int64_t minSoundFrames = kMinSoundMs / AutoTimer::kFrameMs;
    for (int64_t i = 0; i < frameCount;) {
        int64_t j = i;
        while (j < frameCount && sound[static_cast<size_t>(j)] == sound[static_cast<size_t>(i)]) ++j;
        if (sound[static_cast<size_t>(i)] == 1 && j - i < minSoundFrames) {
            std::fill(sound.begin() + i, sound.begin() + j, 0);
        }
        i = j;
    }
    Detection found;
    int64_t& firstSound = found.firstSound;
    while (firstSound < frameCount && sound[static_cast<size_t>(firstSound)] == 0) ++firstSound;
    int64_t& soundEnd = found.soundEnd;
    soundEnd = frameCount;
    while (soundEnd > firstSound && sound[static_cast<size_t>(soundEnd - 1)] == 0) --soundEnd;
    if (firstSound >= soundEnd) return failure("the recording holds no recitation, only silence");

    for (const int minPauseMs : kMinPauseMs) {
        found.pauses.clear();
        const int64_t minPauseFrames = std::max(1, minPauseMs / AutoTimer::kFrameMs);
        double silentSoFar = 0;
        for (int64_t i = firstSound; i < soundEnd;) {
            if (sound[static_cast<size_t>(i)] == 1) {
                ++i;
                continue;
            }
            int64_t j = i;
            while (j < soundEnd && sound[static_cast<size_t>(j)] == 0) ++j;
            if (j - i >= minPauseFrames) {
                found.pauses.push_back(Pause{i, j, static_cast<double>(i - firstSound) - silentSoFar});
                silentSoFar += static_cast<double>(j - i);
            }
            i = j;
        }
        found.totalSound = static_cast<double>(soundEnd - firstSound) - silentSoFar;
        if (static_cast<int64_t>(found.pauses.size()) >= wantedPauses) break;
    }
    return found;
}

}  // namespace

AutoTimer::AutoTimer(int sampleRateHz)
    : m_sampleRateHz(std::max(sampleRateHz, 1)),
      m_samplesPerFrame(std::max<int64_t>(1, std::llround(m_sampleRateHz * kFrameMs / 1000.0))) {}

void AutoTimer::addSamples(const float* interleaved, int64_t frames, int channels) {
    if (channels <= 0 || frames <= 0) return;
    const double scale = 1.0 / channels;
    for (int64_t i = 0; i < frames; ++i) {
        double mono = 0;
        for (int c = 0; c < channels; ++c) mono += interleaved[i * channels + c];
        mono *= scale;
        m_partialSum += mono * mono;
        if (++m_partialCount == m_samplesPerFrame) {
            m_frameEnergy.push_back(static_cast<float>(m_partialSum / static_cast<double>(m_partialCount)));
            m_partialSum = 0;
            m_partialCount = 0;
        }
    }
    m_samples += frames;
}

int64_t AutoTimer::lengthMs() const {
    return m_samples * 1000 / m_sampleRateHz;
}

double AutoTimer::textWeight(const QString& text) {
    double letters = 0;
    for (const QChar c : text) {
        if (c.isLetter()) letters += 1;
    }
    return letters;
}

std::vector<int32_t> AutoTimer::snapPointsMs() const {
    std::vector<int32_t> points;
    const Result<Detection> detection = detect(m_frameEnergy, 0);
    if (!detection) return points;
    const auto toMs = [this](int64_t frame) {
        return static_cast<int32_t>(std::min<int64_t>(frame * m_samplesPerFrame * 1000 / m_sampleRateHz, INT32_MAX));
    };
    points.push_back(std::max(0, toMs(detection.value().firstSound) - kLeadMs));
    for (const Pause& pause : detection.value().pauses) {
        points.push_back(std::max(toMs(pause.firstFrame), toMs(pause.endFrame) - kLeadMs));
    }
    return points;
}

Result<AutoTiming> AutoTimer::finish(const std::vector<double>& weights) const {
    const auto records = static_cast<int64_t>(weights.size());
    if (records == 0) return failure("there are no verses to time");

    Result<Detection> detection = detect(m_frameEnergy, records - 1);
    if (!detection) return detection.error();
    const std::vector<Pause>& pauses = detection.value().pauses;
    const int64_t firstSound = detection.value().firstSound;
    const int64_t soundEnd = detection.value().soundEnd;
    const double totalSound = detection.value().totalSound;
    const auto framesToMs = [this](int64_t frame) {
        return frame * m_samplesPerFrame * 1000 / m_sampleRateHz;
    };
    const auto pauseCount = static_cast<int64_t>(pauses.size());
    const int64_t boundaries = records - 1;
    if (pauseCount < boundaries) {
        return failure("the recording has " + std::to_string(pauseCount) + " pauses, but " +
                       std::to_string(records) + " verses need at least " + std::to_string(boundaries));
    }

    // Expected sounding frames per record.
    std::vector<double> expected(static_cast<size_t>(records));
    const double weightSum =
        std::accumulate(weights.begin(), weights.end(), 0.0) + kLettersPerVerse * static_cast<double>(records);
    for (int64_t r = 0; r < records; ++r) {
        expected[static_cast<size_t>(r)] =
            totalSound * (std::max(weights[static_cast<size_t>(r)], 0.0) + kLettersPerVerse) / weightSum;
    }
    std::vector<double> pauseLengths;
    for (const Pause& pause : pauses) pauseLengths.push_back(static_cast<double>(pause.frames()));
    std::vector<double> pauseBonus(pauses.size());
    if (!pauses.empty()) {
        std::vector<double> sorted = pauseLengths;
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() / 2), sorted.end());
        const double median = sorted[sorted.size() / 2];
        for (size_t p = 0; p < pauses.size(); ++p) pauseBonus[p] = kPauseWeight * std::log(pauseLengths[p] / median);
    }
    const auto durationCost = [](double actual, double wanted) {
        const double ratio = std::log(std::max(actual, 0.5) / wanted);
        return ratio * ratio / (2.0 * kDurationSigma * kDurationSigma);
    };

    // cost[r][p]: the best cost of records 0..r with record r ending at pause p.
    constexpr double kInfinite = std::numeric_limits<double>::infinity();
    const auto width = static_cast<size_t>(pauseCount);
    std::vector<double> cost(static_cast<size_t>(boundaries) * width, kInfinite);
    std::vector<int32_t> from(static_cast<size_t>(boundaries) * width, -1);
    const auto at = [width](int64_t r, int64_t p) { return static_cast<size_t>(r) * width + static_cast<size_t>(p); };
    for (int64_t r = 0; r < boundaries; ++r) {
        const double wanted = expected[static_cast<size_t>(r)];
        // Record r needs r pauses before it and boundaries - 1 - r after it.
        const int64_t lastPause = pauseCount - (boundaries - r);
        int64_t low = r == 0 ? 0 : r - 1;  // the first candidate previous boundary, moved along with p
        for (int64_t p = r; p <= lastPause; ++p) {
            const double end = pauses[static_cast<size_t>(p)].soundBeforeFrames;
            if (r == 0) {
                if (end <= wanted * kMaxStretch && end >= wanted / kMaxStretch) {
                    cost[at(0, p)] = durationCost(end, wanted) - pauseBonus[static_cast<size_t>(p)];
                }
                continue;
            }
            while (low < p - 1 && end - pauses[static_cast<size_t>(low)].soundBeforeFrames > wanted * kMaxStretch) ++low;
            double best = kInfinite;
            int32_t bestFrom = -1;
            for (int64_t q = low; q < p; ++q) {
                const double previous = cost[at(r - 1, q)];
                if (previous == kInfinite) continue;
                const double duration = end - pauses[static_cast<size_t>(q)].soundBeforeFrames;
                if (duration < wanted / kMaxStretch) break;
                const double total = previous + durationCost(duration, wanted);
                if (total < best) {
                    best = total;
                    bestFrom = static_cast<int32_t>(q);
                }
            }
            if (bestFrom >= 0) {
                cost[at(r, p)] = best - pauseBonus[static_cast<size_t>(p)];
                from[at(r, p)] = bestFrom;
            }
        }
    }
    std::vector<int64_t> chosen(static_cast<size_t>(boundaries));
    if (boundaries > 0) {
        const double wanted = expected.back();
        double best = kInfinite;
        int64_t bestLast = -1;
        for (int64_t p = boundaries - 1; p < pauseCount; ++p) {
            if (cost[at(boundaries - 1, p)] == kInfinite) continue;
            const double total =
                cost[at(boundaries - 1, p)] + durationCost(totalSound - pauses[static_cast<size_t>(p)].soundBeforeFrames, wanted);
            if (total < best) {
                best = total;
                bestLast = p;
            }
        }
        if (bestLast < 0) {
            return failure("the pauses of the recording do not fit the lengths of the verses' texts");
        }
        for (int64_t r = boundaries - 1, p = bestLast; r >= 0; --r) {
            chosen[static_cast<size_t>(r)] = p;
            p = from[at(r, p)];
        }
    }

    // Times, and how sure each verse is: its duration against the expected one, and how clear the pauses
    // around it are against the boundaries' usual pause.
    AutoTiming result;
    result.pausesFound = static_cast<int>(pauseCount);
    std::vector<double> chosenLengths;
    for (const int64_t p : chosen) chosenLengths.push_back(pauseLengths[static_cast<size_t>(p)]);
    double typicalPause = 1;
    if (!chosenLengths.empty()) {
        std::vector<double> sorted = chosenLengths;
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() / 2), sorted.end());
        typicalPause = sorted[sorted.size() / 2];
    }
    const int64_t length = lengthMs();
    for (int64_t r = 0; r < records; ++r) {
        const Pause* before = r == 0 ? nullptr : &pauses[static_cast<size_t>(chosen[static_cast<size_t>(r - 1)])];
        const Pause* after = r == boundaries ? nullptr : &pauses[static_cast<size_t>(chosen[static_cast<size_t>(r)])];
        const int64_t startMs =
            std::max<int64_t>(before == nullptr ? 0 : framesToMs(before->firstFrame),
                              framesToMs(before == nullptr ? firstSound : before->endFrame) - kLeadMs);
        const int64_t endMs = std::min<int64_t>(after == nullptr ? length : framesToMs(after->endFrame) - kLeadMs,
                                                framesToMs(after == nullptr ? soundEnd : after->firstFrame) + kLeadMs);
        result.records.push_back(VerseTiming{static_cast<int32_t>(std::min<int64_t>(startMs, INT32_MAX)),
                                             static_cast<int32_t>(std::min<int64_t>(std::max(endMs, startMs), INT32_MAX))});
        const double soundFrom = before == nullptr ? 0 : before->soundBeforeFrames;
        const double soundTo = after == nullptr ? totalSound : after->soundBeforeFrames;
        const double ratio = std::log(std::max(soundTo - soundFrom, 0.5) / expected[static_cast<size_t>(r)]);
        const double fit = std::exp(-ratio * ratio / (2.0 * 0.4 * 0.4));
        double clarity = 1;
        for (const Pause* pause : {before, after}) {
            if (pause != nullptr) clarity = std::min(clarity, static_cast<double>(pause->frames()) / (0.6 * typicalPause));
        }
        const double confidence = std::clamp(0.6 * fit + 0.4 * std::min(clarity, 1.0), 0.0, 1.0);
        result.confidence.push_back(confidence);
        result.uncertain.push_back(confidence < kUncertainBelow);
    }
    return result;
}

}  // namespace lumora

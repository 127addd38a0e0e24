#pragma once
// AutoTimer: verse timings found from a recording's samples and the lengths of the verses' texts.
//
// The samples are taken block by block (nothing but a short-time energy per 5 ms is kept, so an hour of
// audio costs a few MB). finish() then finds the pauses of the recitation against the recording's own
// noise floor, chooses which pauses are verse boundaries so that the verses' sounding durations fit the
// lengths of their texts (dynamic programming over the pauses: reciters also pause inside long verses, so
// not every pause is a boundary, and longer pauses are likelier boundaries), and places each start just
// before the verse's first sound and each end just after its last. Every verse gets a confidence from 0
// to 1; the uncertain ones are marked.

#include <cstdint>
#include <vector>

#include <QString>

#include "codec/result.h"
#include "codec/versetimingtable.h"

namespace lumora {

struct AutoTiming {
    std::vector<VerseTiming> records;
    std::vector<double> confidence;  // per record, 0..1
    std::vector<bool> uncertain;     // confidence below kUncertainBelow
    int pausesFound = 0;
};

class AutoTimer {
public:
    static constexpr int kFrameMs = 5;
    // A start lies this far before the first sound of its verse, an end this far after the last.
    static constexpr int kLeadMs = 20;
    static constexpr double kUncertainBelow = 0.5;

    explicit AutoTimer(int sampleRateHz);

    // Interleaved samples of `channels` channels, in order from the start of the recording.
    void addSamples(const float* interleaved, int64_t frames, int channels);

    int64_t lengthMs() const;

    // One weight per record (the length of its text); an error when the recording holds too few pauses
    // for that many records, or no sound at all.
    Result<AutoTiming> finish(const std::vector<double>& weights) const;

    // Where a verse would start after each pause of the recitation (and at its first sound), ascending:
    // the points a mark made by ear snaps to.
    std::vector<int32_t> snapPointsMs() const;

    // The weight of a verse's text: its letters (marks and blanks do not count).
    static double textWeight(const QString& text);

private:
    int m_sampleRateHz;
    int64_t m_samplesPerFrame;
    int64_t m_samples = 0;
    double m_partialSum = 0;
    int64_t m_partialCount = 0;
    std::vector<float> m_frameEnergy;  // mean square per frame
};

}  // namespace lumora

// The placeholder recordings: record times that are exact in samples and milliseconds, silence where the
// timing table says nothing is heard, and a WAV file that describes the samples.
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tools/tonerecording.h"

namespace lumora::pack {
namespace {

int64_t sampleAt(int32_t ms) { return ToneRecording::samplesForMs(ms); }

bool silent(const ToneRecording& recording, int64_t from, int64_t to) {
    const auto& samples = recording.samples();
    return std::all_of(samples.begin() + from, samples.begin() + to, [](int16_t s) { return s == 0; });
}

TEST(ToneRecording, RecordsFollowTheLetterCountsWithGapsLeadInAndTail) {
    const ToneRecording recording = ToneRecording::generate({19, 3, 0, 7});
    const auto& timings = recording.timings();
    ASSERT_EQ(timings.size(), 4u);
    int32_t expectedStart = ToneRecording::kLeadInMs;
    const int letters[] = {19, 3, 1, 7};  // a record without letters still lasts one letter
    for (size_t i = 0; i < timings.size(); ++i) {
        EXPECT_EQ(timings[i].startMs, expectedStart) << "record " << i;
        EXPECT_EQ(timings[i].endMs - timings[i].startMs, letters[i] * ToneRecording::kMsPerLetter) << "record " << i;
        expectedStart = timings[i].endMs + ToneRecording::kGapMs;
    }
    EXPECT_EQ(recording.lengthMs(), timings.back().endMs + ToneRecording::kTailMs);
    // Every boundary is a whole sample: the length in samples is the length in ms times 22.05 exactly.
    EXPECT_EQ(static_cast<int64_t>(recording.samples().size()) * 1000,
              int64_t{recording.lengthMs()} * ToneRecording::kSampleRateHz);
}

TEST(ToneRecording, SoundOnlyInsideRecords) {
    const ToneRecording recording = ToneRecording::generate({2, 5, 1});
    const auto& timings = recording.timings();
    const auto& samples = recording.samples();
    EXPECT_TRUE(silent(recording, 0, sampleAt(timings[0].startMs)));
    for (size_t i = 0; i < timings.size(); ++i) {
        const int64_t start = sampleAt(timings[i].startMs);
        const int64_t end = sampleAt(timings[i].endMs);
        // The tone fades in from its first sample and out to its last: no click at either edge.
        EXPECT_EQ(samples[start], 0) << "record " << i;
        EXPECT_EQ(samples[end - 1], 0) << "record " << i;
        const int16_t peak = *std::max_element(samples.begin() + start, samples.begin() + end);
        EXPECT_GT(peak, 6000) << "record " << i;
        const int64_t next = i + 1 < timings.size() ? sampleAt(timings[i + 1].startMs) : int64_t(samples.size());
        EXPECT_TRUE(silent(recording, end, next)) << "after record " << i;
    }
    // Neighbouring records differ in pitch, so a listener hears the change.
    const auto crossings = [&](size_t record) {
        int count = 0;
        for (int64_t s = sampleAt(timings[record].startMs) + 1; s < sampleAt(timings[record].endMs); ++s) {
            count += (samples[s - 1] < 0) != (samples[s] < 0);
        }
        return count * 1000.0 / (timings[record].endMs - timings[record].startMs);
    };
    EXPECT_NE(std::lround(crossings(0) / 20), std::lround(crossings(1) / 20));
}

TEST(ToneRecording, LetterCountIgnoresMarksAndBlanks) {
    // bismi: three letters carrying a kasra, a sukun and a kasra.
    EXPECT_EQ(ToneRecording::letterCount(QStringLiteral("\u0628\u0650\u0633\u06E1\u0645\u0650")), 3);
    EXPECT_EQ(ToneRecording::letterCount(QStringLiteral("\u0647\u0650 \u0647\u08F0 \u06DB")), 2);
    EXPECT_EQ(ToneRecording::letterCount(QString()), 0);
}

TEST(ToneRecording, WavDescribesTheSamples) {
    const ToneRecording recording = ToneRecording::generate({4});
    const QByteArray wav = recording.wav();
    const auto le32 = [&](int offset) { return qFromLittleEndian<uint32_t>(wav.constData() + offset); };
    const auto le16 = [&](int offset) { return qFromLittleEndian<uint16_t>(wav.constData() + offset); };
    ASSERT_EQ(wav.size(), 44 + static_cast<qsizetype>(recording.samples().size()) * 2);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(le32(4), static_cast<uint32_t>(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le16(20), 1);      // PCM
    EXPECT_EQ(le16(22), 1);      // mono
    EXPECT_EQ(le32(24), 22050u);
    EXPECT_EQ(le16(34), 16);
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(le32(40), static_cast<uint32_t>(recording.samples().size() * 2));
    const size_t middle = recording.samples().size() / 2;
    EXPECT_EQ(static_cast<int16_t>(le16(44 + static_cast<int>(middle) * 2)), recording.samples()[middle]);
    // The same letters give the same bytes, so the folder is reproducible.
    EXPECT_EQ(ToneRecording::generate({4}).wav(), wav);
}

}  // namespace
}  // namespace lumora::pack

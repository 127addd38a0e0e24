#pragma once
// ToneRecording: a placeholder recording of one sura for the sample program folder. Every record (the
// opening formula or a verse) is one sine tone whose length follows the letter count of its Arabic text,
// with silence between records and around the whole. All lengths are whole multiples of 20 ms, and
// 20 ms is exactly 441 samples at 22.05 kHz, so every record boundary is an exact sample and an exact
// millisecond at once: the timing table needs no rounding.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace lumora::pack {

struct RecordTiming {
    int32_t startMs = 0;
    int32_t endMs = 0;
};

class ToneRecording {
public:
    static constexpr int kSampleRateHz = 22050;
    static constexpr int kMsPerLetter = 100;  // near a slow recitation's pace, so ranges feel real
    static constexpr int kGapMs = 600;        // silence between two records
    static constexpr int kLeadInMs = 1000;    // silence before record 0
    static constexpr int kTailMs = 1000;      // silence after the last record
    static constexpr int kFadeMs = 20;        // raised-cosine fade at both ends of a tone: no clicks

    // The letters of a text (Arabic letters count, marks and blanks do not).
    static int letterCount(const QString& text);

    // One tone per entry of letterCounts; a record without letters still gets one letter's length so
    // that its start lies before its end.
    static ToneRecording generate(const std::vector<int>& letterCounts);

    static int64_t samplesForMs(int64_t ms) { return ms * kSampleRateHz / 1000; }

    const std::vector<int16_t>& samples() const { return m_samples; }
    const std::vector<RecordTiming>& timings() const { return m_timings; }
    int32_t lengthMs() const { return m_lengthMs; }

    // The samples as a 16-bit mono PCM RIFF/WAVE file.
    QByteArray wav() const;

private:
    std::vector<int16_t> m_samples;
    std::vector<RecordTiming> m_timings;
    int32_t m_lengthMs = 0;
};

}  // namespace lumora::pack

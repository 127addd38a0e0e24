#include "tools/tonerecording.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumora::pack {

namespace {

static_assert(ToneRecording::kMsPerLetter % 20 == 0 && ToneRecording::kGapMs % 20 == 0 &&
                  ToneRecording::kLeadInMs % 20 == 0 && ToneRecording::kTailMs % 20 == 0,
              "record boundaries must fall on whole samples and whole milliseconds");

// Neighbouring records alternate between four calm pitches (G4, A4, B4, C5), so a listener hears where
// one record ends and the next begins.
constexpr double kPitchesHz[] = {392.00, 440.00, 493.88, 523.25};
constexpr double kAmplitude = 0.25 * 32767.0;

void appendSilence(std::vector<int16_t>& samples, int64_t count) {
    samples.insert(samples.end(), count, 0);
}

void appendTone(std::vector<int16_t>& samples, int64_t count, double pitchHz) {
    const int64_t fade = ToneRecording::samplesForMs(ToneRecording::kFadeMs);
    const double step = 2.0 * std::numbers::pi * pitchHz / ToneRecording::kSampleRateHz;
    for (int64_t i = 0; i < count; ++i) {
        double gain = 1.0;
        const int64_t edge = std::min(i, count - 1 - i);
        if (edge < fade) {
            gain = 0.5 -
                   0.5 * std::cos(std::numbers::pi * static_cast<double>(edge) / static_cast<double>(fade));
        }
        samples.push_back(static_cast<int16_t>(std::lround(kAmplitude * gain * std::sin(step * i))));
    }
}

void putLe16(QByteArray& bytes, uint16_t value) {
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void putLe32(QByteArray& bytes, uint32_t value) {
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

}  // namespace

int ToneRecording::letterCount(const QString& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }));
}

ToneRecording ToneRecording::generate(const std::vector<int>& letterCounts) {
    ToneRecording recording;
    int64_t ms = kLeadInMs;
    appendSilence(recording.m_samples, samplesForMs(kLeadInMs));
    for (size_t record = 0; record < letterCounts.size(); ++record) {
        if (record > 0) {
            appendSilence(recording.m_samples, samplesForMs(kGapMs));
            ms += kGapMs;
        }
        const int64_t toneMs = int64_t{std::max(letterCounts[record], 1)} * kMsPerLetter;
        recording.m_timings.push_back(
            RecordTiming{static_cast<int32_t>(ms), static_cast<int32_t>(ms + toneMs)});
        appendTone(recording.m_samples, samplesForMs(toneMs), kPitchesHz[record % std::size(kPitchesHz)]);
        ms += toneMs;
    }
    appendSilence(recording.m_samples, samplesForMs(kTailMs));
    recording.m_lengthMs = static_cast<int32_t>(ms + kTailMs);
    return recording;
}

QByteArray ToneRecording::wav() const {
    const auto dataBytes = static_cast<uint32_t>(m_samples.size() * sizeof(int16_t));
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(44 + dataBytes));
    bytes.append("RIFF", 4);
    putLe32(bytes, 36 + dataBytes);
    bytes.append("WAVEfmt ", 8);
    putLe32(bytes, 16);  // size of the format chunk
    putLe16(bytes, 1);   // PCM
    putLe16(bytes, 1);   // mono
    putLe32(bytes, kSampleRateHz);
    putLe32(bytes, kSampleRateHz * 2);  // bytes per second
    putLe16(bytes, 2);                  // bytes per sample frame
    putLe16(bytes, 16);                 // bits per sample
    bytes.append("data", 4);
    putLe32(bytes, dataBytes);
    for (int16_t sample : m_samples) {
        putLe16(bytes, static_cast<uint16_t>(sample));
    }
    return bytes;
}

}  // namespace lumora::pack

#include "recordings/suramark.h"

namespace lumora {

const QString SuraMark::kAudioMissing = QStringLiteral(" (audio missing)");
const QString SuraMark::kNoTimings = QStringLiteral(" (no timings)");
const QString SuraMark::kAudioIncomplete = QStringLiteral(" (audio incomplete)");

QString SuraMark::of(const SuraRecording& recording) {
    switch (recording.kind) {
        case SuraRecording::Kind::kMissing:
            return kAudioMissing;
        case SuraRecording::Kind::kPerSura:
            return recording.timingSource == SuraRecording::TimingSource::kNone ? kNoTimings : QString();
        case SuraRecording::Kind::kPerVerse:
            return recording.incomplete() ? kAudioIncomplete : QString();
    }
    return {};
}

}  // namespace lumora

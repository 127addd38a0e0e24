#pragma once
// SuraMark: the note the sura list appends to a sura's text when its recording cannot be recited as it
// stands: nothing recorded, a recording with verse timings nowhere, or a per-verse collection with files
// missing. A sura that plays as it should carries no mark.

#include <QString>

#include "recordings/surarecording.h"

namespace lumora {

class SuraMark {
public:
    static const QString kAudioMissing;     // " (audio missing)"
    static const QString kNoTimings;        // " (no timings)"
    static const QString kAudioIncomplete;  // " (audio incomplete)"

    // The mark of the recording, empty when it needs none.
    static QString of(const SuraRecording& recording);
};

}  // namespace lumora

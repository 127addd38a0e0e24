#pragma once
// The range mode settings: how often a range is recited, the pauses after a range and between verses, and
// what follows the last recitation of a range. Kept in the settings store under "ZI4"/"RangeModeSetup".

#include <QString>
#include <cstdint>

#include "codec/result.h"

namespace lumora {

class SettingsStore;

// What the range mode dialog hands over on OK, as the user typed it.
struct RangeSetupEntry {
    bool unlimited = false;         // "Unlimited times"
    QString timesText = "1";        // ignored when unlimited
    QString pauseText = "1";
    QString pauseBetweenVersesText = "0";
    bool nextRange = true;
    // The "After Current Sura" choice: 0 next sura, 1 same sura again, 2 stop.
    int afterSura = 0;
};

struct RangeSettings {
    static const QString kApplication;  // "ZI4"
    static const QString kSection;      // "RangeModeSetup"

    int32_t noofTimes = 1;           // 0: without end
    int32_t pause = 1;               // seconds after each recitation of a range
    int32_t pauseBetweenVerses = 0;  // seconds; 0 or less: none
    bool nextRange = true;
    bool nextSura = true;
    bool restartSura = false;
    bool stopRecitation = false;

    // Reads the seven values, each with its default when absent. Numbers are rounded to whole numbers
    // (halves to even), booleans read from words or numbers. A value that is neither fails (step = the
    // number of the value, 1..7) and nothing is returned.
    static Result<RangeSettings> read(const SettingsStore& store);

    // The dialog's entries as values: 0 times when unlimited, numbers rounded to whole numbers (halves to
    // even, "2.5" is 2). A text that is not a number fails.
    static Result<RangeSettings> fromEntry(const RangeSetupEntry& entry);
    // Stores the dialog's entries: "NoofTimes" ("0" when unlimited, else as typed), "Pause" and
    // "PauseBetweenVerses" as typed, then "NextRange", "NextSura", "RestartSura", "StopRecitation" as
    // "True"/"False". Every key is attempted; the first failure is returned.
    static Result<void> save(SettingsStore& store, const RangeSetupEntry& entry);

    bool operator==(const RangeSettings&) const = default;
};

}  // namespace lumora

#pragma once
// TimingCheck: whether a sura's verse timing table fits its recording. A table made for another
// recording (another reciter, another encoding of the same recitation) drifts: its verses end past the
// end of the recording, or its records are out of order. The check words one warning for the window;
// recitation goes on with the table as it is.

#include <QString>
#include <cstdint>
#include <vector>

#include "codec/versetimingtable.h"

namespace lumora {

class TimingCheck {
public:
    // How far the last verse may end past the recording's end before it counts as drift: another
    // decoder's count of the same file differs by its start-up delay and the encoder's padding (a few
    // frames), which is no reason to warn on every load.
    static constexpr int32_t kEndToleranceMs = 100;

    // Empty when the table fits; otherwise one warning naming the sura and what is wrong.
    static QString drift(int sura, const std::vector<VerseTiming>& table, int32_t recordingLengthMs);

    // "2 (AL-BAQARA)".
    static QString suraName(int sura);
    // The verse a record stands for, as the user reads it: "2:255", "the opening formula of sura 2".
    static QString recordName(int sura, int32_t record);
    // m:ss.mmm, or h:mm:ss.mmm from an hour on.
    static QString clockText(int64_t ms);
};

}  // namespace lumora

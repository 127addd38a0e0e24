#pragma once
// MarkingSession: the logic of marking verse starts by ear while the sura plays, without widgets. The
// window hands it the playback position at each key press; the session snaps the mark to the nearest
// snap point (where a verse would start after one of the recording's pauses) within kSnapMs, keeps the
// marks in order, nudges and takes back the last one, and yields the sura's table with the marks applied.

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "codec/versetimingtable.h"

namespace lumora {

class MarkingSession {
public:
    static constexpr int32_t kSnapMs = 300;
    static constexpr int32_t kReplayLeadMs = 2000;
    // A key press this soon after the last mark is a double press, not the next verse.
    static constexpr int32_t kMinVerseMs = 100;

    // records: the sura's table as it stands (all zero when it has none); marking begins at firstRecord.
    // snapPointsMs in ascending order; recordingLengthMs ends the last verse when nothing else does.
    MarkingSession(std::vector<VerseTiming> records, int firstRecord, std::vector<int32_t> snapPointsMs,
                   int64_t recordingLengthMs);

    // The record the next key press marks; records().size() when every record is marked.
    int nextRecord() const;
    int markCount() const { return static_cast<int>(m_marks.size()); }
    std::optional<int32_t> lastMarkMs() const;

    // Snap points found after marking began (the recording's pauses are found while it plays); later
    // marks snap to them, marks already made stay where they are. Ascending.
    void setSnapPoints(std::vector<int32_t> snapPointsMs) { m_snapPointsMs = std::move(snapPointsMs); }

    // Marks the next record at the position (snapped); nothing when every record is marked or the position
    // is not past the last mark by kMinVerseMs. Returns the mark made.
    std::optional<int32_t> mark(int64_t positionMs);
    // Takes the last mark back; false when there is none.
    bool undo();
    // Moves the last mark by deltaMs, no earlier than the mark before it (plus kMinVerseMs) nor below 0.
    bool nudge(int32_t deltaMs);
    // Where replaying the last mark starts: kReplayLeadMs before it (or before the first record to mark).
    int32_t replayFromMs() const;

    // The table with the marks applied: each marked record starts at its mark, the record before it ends
    // there, and the last marked record keeps its end when that lies after its start, else runs to the next
    // record's start or the recording's end. Unmarked records whose old times would run backwards beside
    // the marks become empty records at the nearest marked time, so the table is always in order.
    std::vector<VerseTiming> records() const;

    bool modified() const { return m_marks != m_savedMarks; }
    void markSaved() { m_savedMarks = m_marks; }

private:
    int32_t snapped(int64_t positionMs) const;

    std::vector<VerseTiming> m_records;
    int m_firstRecord;
    std::vector<int32_t> m_snapPointsMs;
    int64_t m_lengthMs;
    std::vector<int32_t> m_marks;
    std::vector<int32_t> m_savedMarks;
};

}  // namespace lumora

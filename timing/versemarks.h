#pragma once
// VerseMarks: the verse times an importer found in a file, turned into each sura's timing records.
//
// Files name verses; the timing table has records. Record 0 is the opening formula in every sura but 1 and
// 9, and record k is verse k there; in suras 1 and 9 record k is verse k + 1 (the opening formula of sura 1
// is its verse 1, sura 9 has none). A verse's end is its own end when the file gives one, else the next
// verse's start, else the end of the recitation when the file marks it, else the recording's length.
// Nothing is guessed silently: a verse out of range, a verse given twice, a missing verse, times that go
// backwards or an unknown last end is an error naming the file, the row and the fault.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "codec/result.h"
#include "codec/versetimingtable.h"

namespace lumora {

// One sura's timing records, record 0 first.
using SuraTimings = std::map<int, std::vector<VerseTiming>>;

// The recording's length in ms for a sura, when it is known.
using RecordingLength = std::function<std::optional<int64_t>(int sura)>;

struct VerseMark {
    enum class Kind {
        kVerse,       // the start (and perhaps the end) of a named verse
        kNextVerse,   // the start of the record after the sura's previous mark (a label without a number)
        kRecordingEnd // the end of the recitation (ayah 999 of a timing database)
    };
    Kind kind = Kind::kVerse;
    int sura = 0;
    int verse = 0;
    int64_t startMs = 0;
    std::optional<int64_t> endMs;
    // Where the mark stands in its file, as the messages name it: "line 7", "timings row 12".
    std::string where;
};

class VerseMarks {
public:
    // A recitation has 6,236 verses, an opening formula and an end per sura; a file giving far more marks
    // than that is refused as it is read, before the marks take more memory than the file.
    static constexpr size_t kMaxMarks = 100000;
    // The fault of a file that gives more marks than kMaxMarks.
    static Error tooManyMarks(const std::string& file, const std::string& where);

    // The verses of a sura a file may name (its verse count); 0 outside 1..114.
    static int verseCount(int sura);
    // The record that holds a verse, or -1 when the verse has no record (verse 0 of suras 1 and 9).
    static int recordOfVerse(int sura, int verse);
    // The verse a record holds: the inverse of recordOfVerse.
    static int verseOfRecord(int sura, int record);

    // Builds the records of every sura the marks name, or only of `onlySura` when it is not 0 (the marks
    // of other suras are then left unchecked). `file` names the file in messages.
    static Result<SuraTimings> assemble(const std::vector<VerseMark>& marks, const std::string& file,
                                        int onlySura, const RecordingLength& recordingLength);

    // The error every importer reports: "<file>: <where>: <fault>" (or "<file>: <fault>").
    static Error fault(const std::string& file, const std::string& where, const std::string& what);
};

}  // namespace lumora

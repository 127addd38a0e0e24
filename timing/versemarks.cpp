#include "timing/versemarks.h"

#include <climits>

#include "codec/suracatalogue.h"

namespace lumora {

namespace {

constexpr int kErrorNumber = 5;  // an invalid procedure call or argument: the file's content is refused

bool withoutFormulaRecord(int sura) {
    return sura == 1 || sura == 9;
}

std::string verseName(int sura, int verse) {
    return std::to_string(sura) + ":" + std::to_string(verse);
}

std::string ms(int64_t value) {
    return std::to_string(value) + " ms";
}

}  // namespace

int VerseMarks::verseCount(int sura) {
    const int records = SuraCatalogue::verseNo(sura);
    if (records == 0) return 0;
    return withoutFormulaRecord(sura) ? records : records - 1;
}

int VerseMarks::recordOfVerse(int sura, int verse) {
    if (!withoutFormulaRecord(sura)) return verse;
    return verse >= 1 ? verse - 1 : -1;
}

int VerseMarks::verseOfRecord(int sura, int record) {
    return withoutFormulaRecord(sura) ? record + 1 : record;
}

Error VerseMarks::fault(const std::string& file, const std::string& where, const std::string& what) {
    return Error{kErrorNumber, "TimingImport", file + ": " + (where.empty() ? "" : where + ": ") + what};
}

Error VerseMarks::tooManyMarks(const std::string& file, const std::string& where) {
    return fault(file, where,
                 "it gives more than " + std::to_string(kMaxMarks) + " times, far more than a recitation has verses");
}

Result<SuraTimings> VerseMarks::assemble(const std::vector<VerseMark>& marks, const std::string& file,
                                         int onlySura, const RecordingLength& recordingLength) {
    std::map<int, std::vector<const VerseMark*>> bySura;
    for (const VerseMark& mark : marks) {
        if (onlySura != 0 && mark.sura != onlySura) continue;
        if (SuraCatalogue::verseNo(mark.sura) == 0) {
            return fault(file, mark.where, "there is no sura " + std::to_string(mark.sura));
        }
        bySura[mark.sura].push_back(&mark);
    }
    if (bySura.empty()) {
        return fault(file, "",
                     onlySura != 0 ? "it holds no times for sura " + std::to_string(onlySura)
                                   : "it holds no verse times");
    }

    SuraTimings result;
    for (const auto& [sura, suraMarks] : bySura) {
        const int records = SuraCatalogue::verseNo(sura);
        const int verses = verseCount(sura);
        std::vector<const VerseMark*> byRecord(static_cast<size_t>(records), nullptr);
        std::vector<int64_t> starts(static_cast<size_t>(records), 0);
        const VerseMark* recordingEnd = nullptr;
        int previousRecord = -1;
        for (const VerseMark* mark : suraMarks) {
            if (mark->startMs < 0 || (mark->endMs && *mark->endMs < 0)) {
                return fault(file, mark->where, "a time is negative");
            }
            if (mark->startMs > INT32_MAX || (mark->endMs && *mark->endMs > INT32_MAX)) {
                return fault(file, mark->where, "a time is beyond the 24 days a timing table can hold");
            }
            if (mark->kind == VerseMark::Kind::kRecordingEnd) {
                if (recordingEnd != nullptr) {
                    return fault(file, mark->where,
                                 "the end of sura " + std::to_string(sura) + " is given twice (also at " +
                                     recordingEnd->where + ")");
                }
                recordingEnd = mark;
                continue;
            }
            int record = 0;
            if (mark->kind == VerseMark::Kind::kNextVerse) {
                record = previousRecord + 1;
                if (record >= records) {
                    return fault(file, mark->where,
                                 "one mark more than sura " + std::to_string(sura) + " has verses (" +
                                     std::to_string(verses) + ")");
                }
            } else {
                if (mark->verse < 0 || mark->verse > verses) {
                    return fault(file, mark->where,
                                 "verse " + std::to_string(mark->verse) + " is out of range: sura " +
                                     std::to_string(sura) + " has " + std::to_string(verses) + " verses");
                }
                record = recordOfVerse(sura, mark->verse);
                // Sura 1's opening formula is its verse 1 and sura 9 has none, so a verse 0 there has no
                // record of its own; its time is not needed.
                if (record < 0) continue;
            }
            const auto slot = static_cast<size_t>(record);
            if (byRecord[slot] != nullptr) {
                return fault(file, mark->where,
                             "verse " + verseName(sura, verseOfRecord(sura, record)) + " is given twice (also at " +
                                 byRecord[slot]->where + ")");
            }
            if (mark->endMs && *mark->endMs < mark->startMs) {
                return fault(file, mark->where,
                             "verse " + verseName(sura, verseOfRecord(sura, record)) + " ends (" +
                                 ms(*mark->endMs) + ") before it starts (" + ms(mark->startMs) + ")");
            }
            byRecord[slot] = mark;
            starts[slot] = mark->startMs;
            previousRecord = record;
        }

        // Times run forward in verse order (checked before gaps, as the row at fault is then known).
        const VerseMark* previous = nullptr;
        int previousVerseRecord = 0;
        for (int record = 0; record < records; ++record) {
            const VerseMark* mark = byRecord[static_cast<size_t>(record)];
            if (mark == nullptr) continue;
            if (previous != nullptr && mark->startMs < previous->startMs) {
                return fault(file, mark->where,
                             "the times go backwards: verse " + verseName(sura, verseOfRecord(sura, record)) +
                                 " starts at " + ms(mark->startMs) + ", before verse " +
                                 verseName(sura, verseOfRecord(sura, previousVerseRecord)) + " (" +
                                 ms(previous->startMs) + ")");
            }
            previous = mark;
            previousVerseRecord = record;
        }
        // Every verse needs its time; only the opening formula may be missing, and then it runs from the
        // start of the recording to the first verse.
        const int firstNeeded = withoutFormulaRecord(sura) ? 0 : 1;
        for (int record = firstNeeded; record < records; ++record) {
            if (byRecord[static_cast<size_t>(record)] == nullptr) {
                return fault(file, "",
                             "sura " + std::to_string(sura) + " has no time for verse " +
                                 std::to_string(verseOfRecord(sura, record)));
            }
        }
        const int64_t lastStart = starts.back();
        std::optional<int64_t> finalEnd = byRecord.back()->endMs;
        if (!finalEnd && recordingEnd != nullptr) {
            if (recordingEnd->startMs < lastStart) {
                return fault(file, recordingEnd->where,
                             "the times go backwards: the recitation ends at " + ms(recordingEnd->startMs) +
                                 ", before its last verse starts (" + ms(lastStart) + ")");
            }
            finalEnd = recordingEnd->startMs;
        }
        if (!finalEnd && recordingLength) {
            if (const std::optional<int64_t> length = recordingLength(sura)) {
                if (*length < lastStart) {
                    return fault(file, byRecord.back()->where,
                                 "the recording of sura " + std::to_string(sura) + " (" + ms(*length) +
                                     ") ends before its last verse starts (" + ms(lastStart) + ")");
                }
                finalEnd = std::min<int64_t>(*length, INT32_MAX);
            }
        }
        if (!finalEnd) {
            return fault(file, byRecord.back()->where,
                         "the end of the last verse of sura " + std::to_string(sura) +
                             " is not given, and the recording's length is not known");
        }

        std::vector<VerseTiming> timings(static_cast<size_t>(records));
        for (int record = 0; record < records; ++record) {
            const auto slot = static_cast<size_t>(record);
            const VerseMark* mark = byRecord[slot];
            int64_t end = 0;
            if (mark != nullptr && mark->endMs) {
                end = *mark->endMs;
            } else if (record + 1 < records) {
                end = starts[slot + 1];
            } else {
                end = *finalEnd;
            }
            timings[slot] = VerseTiming{static_cast<int32_t>(mark != nullptr ? mark->startMs : 0),
                                        static_cast<int32_t>(end)};
        }
        result.emplace(sura, std::move(timings));
    }
    return result;
}

}  // namespace lumora

#pragma once
// SqliteTimings: the per-reciter timing database of popular mobile players. Table timings(sura INTEGER,
// ayah INTEGER, time INTEGER) holds the ms at which each verse starts (ayah 0 the opening formula, ayah 999
// the end of the recitation; other columns such as words are ignored), and table properties(property,
// value) says what the database is. Databases are opened read-only and every value is bound, never
// spliced into SQL.

#include <string>
#include <vector>

#include "codec/result.h"
#include "timing/versemarks.h"

namespace lumora {

class SqliteTimings {
public:
    static constexpr int kRecordingEndAyah = 999;

    // The marks of the database at path; sura 0 takes every sura, another number only that sura's rows.
    static Result<std::vector<VerseMark>> read(const std::string& path, int sura);
    // A new database at path holding the records (ayah 0 for the opening formula, ayah 999 at the last
    // record's end) and properties version 1. Written beside path first, then renamed over it.
    static Result<void> write(const std::string& path, const SuraTimings& timings);
};

}  // namespace lumora

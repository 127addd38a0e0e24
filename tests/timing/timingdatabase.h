#pragma once
// Timing databases for tests, made through the SQLite library itself as the mobile players' tools make
// them: table timings(sura, ayah, time[, words]) and properties(property, value). A value is written as
// given, so a test can put text where a number belongs.

#include <string>
#include <variant>
#include <vector>

namespace lumora::test {

using DatabaseValue = std::variant<long long, double, const char*>;

struct DatabaseRow {
    DatabaseValue sura;
    DatabaseValue ayah;
    DatabaseValue time;
};

struct TimingDatabaseSpec {
    // The CREATE TABLE of the timings table; an empty text leaves the table out.
    std::string timingsTable = "CREATE TABLE timings(sura INTEGER, ayah INTEGER, time INTEGER, words TEXT)";
    bool properties = true;
    std::vector<DatabaseRow> rows;
};

// Writes a new database at path (replacing a file there); throws std::runtime_error when SQLite fails.
void makeTimingDatabase(const std::string& path, const TimingDatabaseSpec& spec);

// Rows for a whole sura: ayah 0 (unless the sura is 1 or 9) to its last verse every stepMs, then ayah 999.
std::vector<DatabaseRow> suraRows(int sura, long long firstMs, long long stepMs, bool withEnd = true);

}  // namespace lumora::test

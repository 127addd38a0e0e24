#include "timing/timingdatabase.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "codec/suracatalogue.h"

namespace lumora::test {

namespace {

void check(sqlite3* db, int code) {
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW) {
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db));
    }
}

void bind(sqlite3* db, sqlite3_stmt* statement, int index, const DatabaseValue& value) {
    if (const auto* number = std::get_if<long long>(&value)) {
        check(db, sqlite3_bind_int64(statement, index, *number));
    } else if (const auto* real = std::get_if<double>(&value)) {
        check(db, sqlite3_bind_double(statement, index, *real));
    } else {
        check(db, sqlite3_bind_text(statement, index, std::get<const char*>(value), -1, SQLITE_TRANSIENT));
    }
}

}  // namespace

void makeTimingDatabase(const std::string& path, const TimingDatabaseSpec& spec) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + path);
    }
    check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr));
    if (spec.properties) {
        check(db, sqlite3_exec(db,
                               "CREATE TABLE properties(property TEXT, value TEXT);"
                               "INSERT INTO properties VALUES('version', '2'), ('reciter', 'test');",
                               nullptr, nullptr, nullptr));
    }
    if (!spec.timingsTable.empty()) {
        check(db, sqlite3_exec(db, spec.timingsTable.c_str(), nullptr, nullptr, nullptr));
    }
    if (!spec.rows.empty()) {
        sqlite3_stmt* insert = nullptr;
        check(db, sqlite3_prepare_v2(db, "INSERT INTO timings(sura, ayah, time) VALUES(?, ?, ?)", -1, &insert,
                                     nullptr));
        for (const DatabaseRow& row : spec.rows) {
            sqlite3_reset(insert);
            bind(db, insert, 1, row.sura);
            bind(db, insert, 2, row.ayah);
            bind(db, insert, 3, row.time);
            check(db, sqlite3_step(insert));
        }
        sqlite3_finalize(insert);
    }
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    sqlite3_close(db);
}

std::vector<DatabaseRow> suraRows(int sura, long long firstMs, long long stepMs, bool withEnd) {
    const bool formula = sura != 1 && sura != 9;
    const int verses = SuraCatalogue::verseNo(sura) - (formula ? 1 : 0);
    std::vector<DatabaseRow> rows;
    long long time = firstMs;
    for (int ayah = formula ? 0 : 1; ayah <= verses; ++ayah, time += stepMs) {
        rows.push_back({sura, ayah, time});
    }
    if (withEnd) rows.push_back({sura, 999LL, time});
    return rows;
}

}  // namespace lumora::test

#include "timing/sqlitetimings.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "timing/textfields.h"

namespace lumora {

namespace {

constexpr char kSource[] = "SqliteTimings";

// A database with far more rows than a recitation has verses (VerseMarks::kMaxMarks), or that asks for far
// more work than reading them takes, is refused rather than read until memory or patience runs out.
// The library calls back every kStepsPerCheck steps of its engine; after kMaxChecks calls (20 million
// steps, hundreds of times what reading a real table takes) the read is interrupted.
constexpr int kStepsPerCheck = 10000;
constexpr int kMaxChecks = 2000;
// A program writing the database holds it locked for a moment.
constexpr int kLockWaitMs = 1000;
// No text or blob of a timing table comes near this; a stored one may be as large as the file.
constexpr int kMaxValueBytes = 1 << 20;

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return Statement(statement);
}

// A column value that must be a whole number; text, blobs, empty values and fractions are faults.
bool wholeNumber(sqlite3_stmt* statement, int column, int64_t& value, std::string& problem, bool rounded) {
    const char* names[] = {"sura", "ayah", "time"};
    const std::string name = names[column];
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        value = sqlite3_column_int64(statement, column);
        return true;
    case SQLITE_FLOAT: {
        const double number = sqlite3_column_double(statement, column);
        if (std::isfinite(number) && std::fabs(number) < 1e15 && (rounded || number == std::floor(number))) {
            value = static_cast<int64_t>(std::llround(number));
            return true;
        }
        problem = "the column " + name + " holds " + std::to_string(number) + ", not a whole number";
        return false;
    }
    case SQLITE_NULL:
        problem = "the column " + name + " is empty";
        return false;
    case SQLITE_TEXT: {
        const std::string_view text(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                    static_cast<size_t>(sqlite3_column_bytes(statement, column)));
        problem = "the column " + name + " holds the text " + textfields::quoted(text) + ", not a number";
        return false;
    }
    default:
        problem = "the column " + name + " holds binary data, not a number";
        return false;
    }
}

}  // namespace

Result<std::vector<VerseMark>> SqliteTimings::read(const std::string& path, int sura) {
    auto fail = [&](const std::string& where, const std::string& what) {
        return VerseMarks::fault(path, where, what);
    };
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return fail("", "the file cannot be read (" + error.message() + ")");
    if (size == 0) return fail("", "the file is empty");
    // The first bytes say whether this is a database at all; the library would open anything read-only.
    static constexpr char kMagic[] = "SQLite format 3";
    char head[sizeof kMagic] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("", "the file cannot be read");
    in.read(head, sizeof head);
    if (in.gcount() != static_cast<std::streamsize>(sizeof head) || std::memcmp(head, kMagic, sizeof kMagic) != 0) {
        return fail("", "it is not an SQLite database");
    }

    sqlite3* opened = nullptr;
    const int openCode = sqlite3_open_v2(path.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    Database db(opened);
    if (openCode != SQLITE_OK) {
        return fail("", std::string("the database cannot be opened (") +
                            (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(openCode)) + ")");
    }
    // Someone else's database may hold views and triggers; none of its SQL functions may run with trust.
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, static_cast<int*>(nullptr));
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, static_cast<int*>(nullptr));
    sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    int checksLeft = kMaxChecks;
    sqlite3_progress_handler(
        db.get(), kStepsPerCheck, [](void* left) { return --*static_cast<int*>(left) < 0 ? 1 : 0; }, &checksLeft);
    // A program writing the database holds it locked for a moment; wait that long, but not for ever.
    sqlite3_busy_timeout(db.get(), kLockWaitMs);
    int code = SQLITE_OK;
    const auto damaged = [&] {
        if ((sqlite3_errcode(db.get()) & 0xff) == SQLITE_BUSY) {
            return fail("", "the database is locked by another program that is writing it; try again when that "
                            "program has finished");
        }
        if ((sqlite3_errcode(db.get()) & 0xff) == SQLITE_TOOBIG) {
            return fail("", "it holds a value far larger than any timing table needs");
        }
        if (checksLeft < 0) {
            return fail("", "reading it takes far more work than any timing table needs");
        }
        return fail("", std::string("the database is damaged or unreadable (") + sqlite3_errmsg(db.get()) + ")");
    };

    // A view is code, not data: it could compute without end, or fill memory and disk with what it sorts.
    Statement kind = prepare(db.get(), "SELECT type FROM sqlite_master WHERE name = ?1 COLLATE NOCASE");
    if (!kind) return damaged();
    sqlite3_bind_text(kind.get(), 1, "timings", -1, SQLITE_STATIC);
    while ((code = sqlite3_step(kind.get())) == SQLITE_ROW) {
        const unsigned char* type = sqlite3_column_text(kind.get(), 0);
        if (type != nullptr && std::strcmp(reinterpret_cast<const char*>(type), "view") == 0) {
            return fail("", "its \"timings\" is a view, not a table; a timing database holds its times in a table");
        }
    }
    if (code != SQLITE_DONE) return damaged();

    Statement columns = prepare(db.get(), "SELECT name FROM pragma_table_info(?1)");
    if (!columns) return damaged();
    sqlite3_bind_text(columns.get(), 1, "timings", -1, SQLITE_STATIC);
    bool hasSura = false, hasAyah = false, hasTime = false, hasTable = false;
    while ((code = sqlite3_step(columns.get())) == SQLITE_ROW) {
        hasTable = true;
        const unsigned char* text = sqlite3_column_text(columns.get(), 0);
        const std::string name = lower(text != nullptr ? reinterpret_cast<const char*>(text) : "");
        hasSura = hasSura || name == "sura";
        hasAyah = hasAyah || name == "ayah";
        hasTime = hasTime || name == "time";
    }
    if (code != SQLITE_DONE) return damaged();
    if (!hasTable) return fail("", "it has no table \"timings\"");
    for (const auto& [present, name] : {std::pair{hasSura, "sura"}, {hasAyah, "ayah"}, {hasTime, "time"}}) {
        if (!present) return fail("", std::string("the table timings has no column \"") + name + "\"");
    }

    Statement rows = prepare(db.get(), "SELECT sura, ayah, time FROM timings WHERE ?1 = 0 OR sura = ?1");
    if (!rows) return damaged();
    sqlite3_bind_int(rows.get(), 1, sura);
    std::vector<VerseMark> marks;
    int64_t rowNumber = 0;
    while ((code = sqlite3_step(rows.get())) == SQLITE_ROW) {
        if (++rowNumber > static_cast<int64_t>(VerseMarks::kMaxMarks)) {
            return fail("", "the table timings has more than " + std::to_string(VerseMarks::kMaxMarks) +
                                " rows, far more than a recitation has verses");
        }
        std::string where = "timings row " + std::to_string(rowNumber);
        int64_t values[3] = {0, 0, 0};
        std::string problem;
        for (int column = 0; column < 3; ++column) {
            if (!wholeNumber(rows.get(), column, values[column], problem, column == 2)) {
                return fail(where, problem);
            }
            // Once the row's verse is known, messages name it.
            if (column == 1) {
                where += " (sura " + std::to_string(values[0]) + ", ayah " + std::to_string(values[1]) + ")";
            }
        }
        if (values[0] < 1 || values[0] > 114) return fail(where, "there is no sura " + std::to_string(values[0]));
        VerseMark mark;
        mark.sura = static_cast<int>(values[0]);
        mark.startMs = values[2];
        mark.where = std::move(where);
        if (values[1] == kRecordingEndAyah) {
            mark.kind = VerseMark::Kind::kRecordingEnd;
        } else if (values[1] < 0 || values[1] > 100000) {
            return fail(mark.where, "verse " + std::to_string(values[1]) + " is out of range");
        } else {
            mark.verse = static_cast<int>(values[1]);
        }
        marks.push_back(std::move(mark));
    }
    if (code != SQLITE_DONE) return damaged();
    return marks;
}

Result<void> SqliteTimings::write(const std::string& path, const SuraTimings& timings) {
    const std::string temporary = path + ".part";
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    auto fail = [&](const std::string& what) {
        std::error_code removeError;
        std::filesystem::remove(temporary, removeError);
        return Error{75, kSource, path + ": cannot be written (" + what + ")"};
    };
    {
        sqlite3* opened = nullptr;
        const int openCode =
            sqlite3_open_v2(temporary.c_str(), &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        Database db(opened);
        if (openCode != SQLITE_OK) return fail(db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(openCode));
        const char* schema =
            "BEGIN;"
            "CREATE TABLE timings(sura INTEGER NOT NULL, ayah INTEGER NOT NULL, time INTEGER NOT NULL,"
            " PRIMARY KEY(sura, ayah));"
            "CREATE TABLE properties(property TEXT PRIMARY KEY, value TEXT);";
        if (sqlite3_exec(db.get(), schema, nullptr, nullptr, nullptr) != SQLITE_OK) {
            return fail(sqlite3_errmsg(db.get()));
        }
        Statement property = prepare(db.get(), "INSERT INTO properties(property, value) VALUES(?1, ?2)");
        Statement row = prepare(db.get(), "INSERT INTO timings(sura, ayah, time) VALUES(?1, ?2, ?3)");
        if (!property || !row) return fail(sqlite3_errmsg(db.get()));
        sqlite3_bind_text(property.get(), 1, "version", -1, SQLITE_STATIC);
        sqlite3_bind_text(property.get(), 2, "1", -1, SQLITE_STATIC);
        if (sqlite3_step(property.get()) != SQLITE_DONE) return fail(sqlite3_errmsg(db.get()));
        auto insert = [&](int sura, int ayah, int32_t timeMs) {
            sqlite3_reset(row.get());
            sqlite3_bind_int(row.get(), 1, sura);
            sqlite3_bind_int(row.get(), 2, ayah);
            sqlite3_bind_int(row.get(), 3, timeMs);
            return sqlite3_step(row.get()) == SQLITE_DONE;
        };
        for (const auto& [sura, records] : timings) {
            for (size_t record = 0; record < records.size(); ++record) {
                if (!insert(sura, VerseMarks::verseOfRecord(sura, static_cast<int>(record)), records[record].startMs)) {
                    return fail(sqlite3_errmsg(db.get()));
                }
            }
            if (!records.empty() && !insert(sura, kRecordingEndAyah, records.back().endMs)) {
                return fail(sqlite3_errmsg(db.get()));
            }
        }
        row.reset();
        property.reset();
        if (sqlite3_exec(db.get(), "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK) {
            return fail(sqlite3_errmsg(db.get()));
        }
        if (sqlite3_close(db.release()) != SQLITE_OK) return fail("the database could not be closed");
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) return fail(renameError.message());
    return {};
}

}  // namespace lumora

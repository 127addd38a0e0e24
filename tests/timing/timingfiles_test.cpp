// Timing tables of other players read into records: the good files of each format, the edge rows, the
// faults every untrusted file may hold, and export then import giving the same records.

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "codec/suracatalogue.h"
#include "support/scratchfolder.h"
#include "timing/timingdatabase.h"
#include "timing/timingfiles.h"

namespace lumora {
namespace {

using test::DatabaseRow;
using test::ScratchFolder;
using test::TimingDatabaseSpec;

Result<SuraTimings> importFile(TimingFormat format, const std::string& path, int sura = 0,
                               std::optional<int64_t> lengthMs = std::nullopt) {
    ImportOptions options;
    options.sura = sura;
    options.recordingLength = [lengthMs](int) { return lengthMs; };
    return TimingFiles::import(format, path, options);
}

// The error names the file and says what is wrong (and, where given, the row).
void expectFault(const Result<SuraTimings>& result, const std::string& path, const std::string& fault,
                 const std::string& row = "") {
    ASSERT_FALSE(result.ok()) << path;
    const std::string& message = result.error().description;
    EXPECT_EQ(message.find(path), 0u) << message;
    EXPECT_NE(message.find(fault), std::string::npos) << message;
    if (!row.empty()) {
        EXPECT_NE(message.find(row), std::string::npos) << message;
    }
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
}

TEST(SqliteTimingsImport, ReadsSurasWithTheirEdgeRows) {
    ScratchFolder folder;
    TimingDatabaseSpec spec;
    spec.rows = test::suraRows(2, 500, 1000);              // ayah 0 .. 286, then 999
    for (const DatabaseRow& row : test::suraRows(1, 0, 700)) spec.rows.push_back(row);
    for (const DatabaseRow& row : test::suraRows(9, 0, 900)) spec.rows.push_back(row);
    // Sura 112 without its opening formula and without an end row.
    for (const DatabaseRow& row : test::suraRows(112, 3000, 2000, false)) {
        if (std::get<long long>(row.ayah) != 0) spec.rows.push_back(row);
    }
    const std::string path = folder.file("reciter.db");
    test::makeTimingDatabase(path, spec);

    const auto all = importFile(TimingFormat::kSqlite, path, 0, 20000);
    ASSERT_TRUE(all.ok()) << all.error().description;
    ASSERT_EQ(all.value().size(), 4u);
    const auto& sura2 = all.value().at(2);
    ASSERT_EQ(sura2.size(), 287u);
    EXPECT_EQ(sura2[0], (VerseTiming{500, 1500}));          // the opening formula
    EXPECT_EQ(sura2[286], (VerseTiming{286500, 287500}));   // verse 286 ends at the 999 row
    const auto& sura1 = all.value().at(1);
    ASSERT_EQ(sura1.size(), 7u);
    EXPECT_EQ(sura1[0], (VerseTiming{0, 700}));             // record 0 is verse 1
    EXPECT_EQ(sura1[6], (VerseTiming{4200, 4900}));
    const auto& sura9 = all.value().at(9);
    ASSERT_EQ(sura9.size(), 129u);
    EXPECT_EQ(sura9[128], (VerseTiming{128 * 900, 129 * 900}));
    const auto& sura112 = all.value().at(112);
    EXPECT_EQ(sura112[0], (VerseTiming{0, 5000}));          // the missing formula runs up to verse 1
    EXPECT_EQ(sura112[1], (VerseTiming{5000, 7000}));
    EXPECT_EQ(sura112[4], (VerseTiming{11000, 20000}));     // the recording's length ends the last verse

    const auto one = importFile(TimingFormat::kSqlite, path, 9);
    ASSERT_TRUE(one.ok()) << one.error().description;
    EXPECT_EQ(one.value().size(), 1u);
    EXPECT_EQ(one.value().at(9), sura9);

    // Without the 999 row and without the recording, the last verse has no end.
    expectFault(importFile(TimingFormat::kSqlite, path, 112), path, "end of the last verse of sura 112");
    expectFault(importFile(TimingFormat::kSqlite, path, 3), path, "no times for sura 3");
}

TEST(SqliteTimingsImport, RefusesBadDatabasesNamingTheRow) {
    ScratchFolder folder;
    const std::string path = folder.file("bad.db");
    auto withRows = [&](std::vector<DatabaseRow> rows, std::string table = "") {
        TimingDatabaseSpec spec;
        spec.rows = std::move(rows);
        if (!table.empty()) spec.timingsTable = table;
        test::makeTimingDatabase(path, spec);
        return importFile(TimingFormat::kSqlite, path, 0, 100000);
    };
    expectFault(withRows({}, "CREATE TABLE other(x INTEGER)"), path, "no table \"timings\"");
    TimingDatabaseSpec noTable;
    noTable.timingsTable.clear();
    test::makeTimingDatabase(path, noTable);
    expectFault(importFile(TimingFormat::kSqlite, path), path, "no table \"timings\"");
    expectFault(withRows({}, "CREATE TABLE timings(sura INTEGER, ayah INTEGER, start INTEGER)"),
                path, "no column \"time\"");

    std::vector<DatabaseRow> rows = test::suraRows(112, 0, 1000);
    rows[3].time = "12s";
    expectFault(withRows(rows), path, "holds the text \"12s\"", "timings row 4 (sura 112, ayah 3)");
    // Text that would break the message over lines is shown on one.
    rows[3].time = "12\nDROP";
    expectFault(withRows(rows), path, "holds the text \"12?DROP\"", "timings row 4");
    // No value is taken in whole that is larger than any timing table needs.
    const std::string large(2 << 20, 'x');
    rows[3].time = large.c_str();
    expectFault(withRows(rows), path, "a value far larger than");
    rows = test::suraRows(112, 0, 1000);
    rows[2].ayah = 2.5;
    expectFault(withRows(rows), path, "not a whole number", "timings row 3");

    rows = test::suraRows(2, 0, 1000);
    rows.push_back({2LL, 300LL, 999999LL});
    expectFault(withRows(rows), path, "verse 300 is out of range: sura 2 has 286 verses", "ayah 300");

    rows = test::suraRows(112, 0, 1000);
    rows[3].time = 500LL;
    expectFault(withRows(rows), path, "the times go backwards", "ayah 3");
    rows = test::suraRows(112, 0, 1000);
    rows.back().time = 10LL;
    expectFault(withRows(rows), path, "the times go backwards", "ayah 999");
    rows = test::suraRows(112, 0, 1000);
    rows.push_back({112LL, 2LL, 2500LL});
    expectFault(withRows(rows), path, "given twice", "timings row");
    rows = test::suraRows(112, 0, 1000);
    rows.erase(rows.begin() + 2);
    expectFault(withRows(rows), path, "sura 112 has no time for verse 2");

    // A database cut short, an empty file and a file of another kind.
    test::makeTimingDatabase(path, TimingDatabaseSpec{.rows = test::suraRows(2, 0, 1000)});
    std::vector<uint8_t> bytes = ScratchFolder::read(path);
    ASSERT_GT(bytes.size(), 4096u);
    bytes.resize(bytes.size() / 2);
    folder.write("bad.db", bytes);
    expectFault(importFile(TimingFormat::kSqlite, path), path, "damaged");
    folder.write("bad.db", std::string());
    expectFault(importFile(TimingFormat::kSqlite, path), path, "the file is empty");
    folder.write("bad.db", std::string("sura,ayah,time\n2,1,100\n"));
    expectFault(importFile(TimingFormat::kSqlite, path), path, "not an SQLite database");
    expectFault(importFile(TimingFormat::kSqlite, folder.file("missing.db")), folder.file("missing.db"),
                "cannot be read");
}

// A database another program holds locked while it writes is reported as locked, not as damaged.
TEST(SqliteTimingsImport, ALockedDatabaseIsNotCalledDamaged) {
    ScratchFolder folder;
    const std::string path = folder.file("locked.db");
    test::makeTimingDatabase(path, {.rows = test::suraRows(112, 0, 1000)});
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; UPDATE timings SET time = time + 1;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const auto locked = importFile(TimingFormat::kSqlite, path, 0, 10000);
    expectFault(locked, path, "locked by another program");
    EXPECT_EQ(locked.error().description.find("damaged"), std::string::npos) << locked.error().description;
    ASSERT_EQ(sqlite3_exec(writer, "ROLLBACK;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    EXPECT_TRUE(importFile(TimingFormat::kSqlite, path, 0, 10000).ok());
}

// A "timings" that is a view is code, not data: it could compute without end or fill memory and disk with
// what it sorts. It is refused before it runs; a real table is read only as far as a recitation could fill.
TEST(SqliteTimingsImport, RefusesDatabasesThatNeverFinish) {
    ScratchFolder folder;
    const std::string path = folder.file("endless.db");
    const std::string counter = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c";
    const struct {
        std::string schema;
        std::string says;
    } cases[] = {
        {"CREATE VIEW timings(sura, ayah, time) AS " + counter + ") SELECT 112, 1, x FROM c", "is a view"},
        {"CREATE VIEW Timings(sura, ayah, time) AS " + counter + ") SELECT 112, 1, x FROM c WHERE x < 0",
         "is a view"},
        {"CREATE VIEW timings(sura, ayah, time) AS SELECT 112, 1, zeroblob(300000000)", "is a view"},
        {"CREATE TABLE timings(sura INTEGER, ayah INTEGER, time INTEGER);"
         "INSERT INTO timings " + counter + " LIMIT 100001) SELECT 112, 1, x FROM c",
         "more than 100000 rows"},
    };
    for (const auto& c : cases) {
        test::makeTimingDatabase(path, {.timingsTable = c.schema, .rows = {}});
        expectFault(importFile(TimingFormat::kSqlite, path, 0, 1000), path, c.says);
        expectFault(importFile(TimingFormat::kSqlite, path, 112, 1000), path, c.says);
    }
}

TEST(JsonTimingsImport, FindsTimestampsWhereverTheySit) {
    ScratchFolder folder;
    // Sura 112 under audio_file.timestamps beside other data, with record 0 missing.
    const std::string nested = folder.write("nested.json", std::string(R"({
      "audio_file": {"id": 7, "timestamps": [
        {"verse_key": "112:1", "timestamp_from": 4000, "timestamp_to": 6500, "segments": [[1, 4000, 4500]]},
        {"verse_key": "112:2", "timestamp_from": 7000, "timestamp_to": 9000},
        {"verse_key": "112:3", "timestamp_from": 9200.4, "timestamp_to": 12000},
        {"verse_key": "112:4", "timestamp_from": 12500, "timestamp_to": null}]},
      "verses": [{"verse_key": "112:1", "text": "..."}]})"));
    auto nestedTimings = importFile(TimingFormat::kJson, nested, 0, 16000);
    ASSERT_TRUE(nestedTimings.ok()) << nestedTimings.error().description;
    EXPECT_EQ(nestedTimings.value().at(112),
              (std::vector<VerseTiming>{{0, 4000}, {4000, 6500}, {7000, 9000}, {9200, 12000}, {12500, 16000}}));

    // Several suras under audio_files[].verse_timings, sura 1 counted from its verse 1.
    std::string many = R"({"audio_files": [{"chapter_id": 1, "verse_timings": [)";
    for (int verse = 1; verse <= 7; ++verse) {
        many += std::string(verse > 1 ? "," : "") + R"({"verse_key": "1:)" + std::to_string(verse) +
                R"(", "timestamp_from": )" + std::to_string(verse * 1000) + R"(, "timestamp_to": )" +
                std::to_string(verse * 1000 + 900) + "}";
    }
    many += R"(]}, {"chapter_id": 108, "verse_timings": [)"
            R"({"verse_key": "108:0", "timestamp_from": 0, "timestamp_to": 2000},)"
            R"({"verse_key": "108:1", "timestamp_from": 2000, "timestamp_to": 4000},)"
            R"({"verse_key": "108:2", "timestamp_from": 4000, "timestamp_to": 6000},)"
            R"({"verse_key": "108:3", "timestamp_from": 6000, "timestamp_to": 8000}]}]})";
    const auto manyTimings = importFile(TimingFormat::kJson, folder.write("many.json", many));
    ASSERT_TRUE(manyTimings.ok()) << manyTimings.error().description;
    EXPECT_EQ(manyTimings.value().at(1)[0], (VerseTiming{1000, 1900}));
    EXPECT_EQ(manyTimings.value().at(1)[6], (VerseTiming{7000, 7900}));
    EXPECT_EQ(manyTimings.value().at(108)[3], (VerseTiming{6000, 8000}));

    // Objects keyed by "S:V", and the short pair form; sura 9 has no opening formula, so 9:0 is passed by.
    const auto keyed = importFile(TimingFormat::kJson, folder.write("keyed.json", std::string(R"({"timings": {
        "108:0": {"timestamp_from": 0, "timestamp_to": 1000}, "108:1": {"timestamp_from": 1000},
        "108:2": {"timestamp_from": 2000, "timestamp_to": 2900}, "108:3": {"timestamp_from": 3000,
        "timestamp_to": 4000}}})")));
    ASSERT_TRUE(keyed.ok()) << keyed.error().description;
    EXPECT_EQ(keyed.value().at(108),
              (std::vector<VerseTiming>{{0, 1000}, {1000, 2000}, {2000, 2900}, {3000, 4000}}));
    std::string pairs = R"({"9:0": [0, 10])";
    for (int verse = 1; verse <= 129; ++verse) {
        pairs += ",\"9:" + std::to_string(verse) + "\": [" + std::to_string(verse * 100) + "," +
                 std::to_string(verse * 100 + 90) + "]";
    }
    const auto pairTimings = importFile(TimingFormat::kJson, folder.write("pairs.json", pairs + "}"));
    ASSERT_TRUE(pairTimings.ok()) << pairTimings.error().description;
    EXPECT_EQ(pairTimings.value().at(9)[0], (VerseTiming{100, 190}));
    EXPECT_EQ(pairTimings.value().at(9)[128], (VerseTiming{12900, 12990}));
}

TEST(JsonTimingsImport, RefusesBadDocuments) {
    ScratchFolder folder;
    const std::string path = folder.file("bad.json");
    auto withText = [&](const std::string& text) {
        folder.write("bad.json", text);
        return importFile(TimingFormat::kJson, path, 0, 100000);
    };
    expectFault(withText(R"({"verses": [{"verse_key": "112:1", "text": "..."}]})"), path, "no verse timings");
    expectFault(withText(R"({"112:1": {"timestamp_from": "4000"}})"), path, "holds the text \"4000\"",
                "entry 112:1");
    expectFault(withText(R"({"2:300": [1000, 2000]})"), path, "verse 300 is out of range", "entry 2:300");
    expectFault(withText(R"({"112:0": [0, 900], "112:1": [1000, 2000], "112:2": [900, 2500],)"
                         R"( "112:3": [3000, 3500], "112:4": [4000, 4500]})"),
                path, "the times go backwards", "entry 112:2");
    expectFault(withText(R"({"112:1": [3000, 2000]})"), path, "ends (2000 ms) before it starts", "entry 112:1");
    expectFault(withText(R"({"audio_file": {"timestamps": [{"verse_key": "112:1", "timestamp_from": 4)"), path,
                "the JSON is damaged", "line 1");
    expectFault(withText("\n\n[{\"verse_key\": \"112:1\",\n \"timestamp_from\": }]"), path, "the JSON is damaged",
                "line 4");
    expectFault(withText(""), path, "the file is empty");
}

TEST(CsvTimingsImport, ReadsRowsWithOptionalHeaderAndEnds) {
    ScratchFolder folder;
    const std::string path = folder.write("t.csv", std::string("\xEF\xBB\xBFsura,verse,start_ms,end_ms\r\n"
                                                               "112,0,0,900\r\n"
                                                               "# a comment\n"
                                                               "112,1,1000,\n"
                                                               "112,2,2000,2800\n"
                                                               "\n"
                                                               "112,4,4000\n"
                                                               "112,3,3000,3900\n"
                                                               "1,1,0,500\n"));
    const auto timings = importFile(TimingFormat::kCsv, path, 112, 6000);
    ASSERT_TRUE(timings.ok()) << timings.error().description;
    EXPECT_EQ(timings.value().at(112),
              (std::vector<VerseTiming>{{0, 900}, {1000, 2000}, {2000, 2800}, {3000, 3900}, {4000, 6000}}));
    // Only sura 1's first verse is there.
    expectFault(importFile(TimingFormat::kCsv, path, 0, 6000), path, "sura 1 has no time for verse 2");

    auto withText = [&](const std::string& text) {
        folder.write("t.csv", text);
        return importFile(TimingFormat::kCsv, path, 0, 100000);
    };
    expectFault(withText("sura,verse,start_ms,end_ms\n112,1,abc,200\n"), path, "start_ms \"abc\" is not a whole",
                "line 2");
    expectFault(withText("2,300,1000,2000\n"), path, "verse 300 is out of range: sura 2 has 286", "line 1");
    // A first row with a damaged number is a fault, not a header to pass over (its verse would be lost).
    expectFault(withText("112x,0,0,900\n112,1,1000,\n112,2,2000,\n112,3,3000,\n112,4,4000,5000\n"), path,
                "the sura \"112x\" is not a whole number", "line 1");
    expectFault(withText("112,0,0,\n112,1,1000,\n112,2,900,\n112,3,3000,\n112,4,4000,\n"), path,
                "the times go backwards", "line 3");
    expectFault(withText("112,0,0,100\n112,1"), path, "expected four fields", "line 2");
    expectFault(withText("112;1;0;100\n"), path, "expected four fields", "line 1");
    expectFault(withText("115,1,0,100\n"), path, "there is no sura 115", "line 1");
    expectFault(withText(""), path, "the file is empty");
    expectFault(withText("sura,verse,start_ms,end_ms\n"), path, "no rows");
    // A recording that ends before the last verse starts cannot end it, and the message says so.
    folder.write("t.csv", std::string("112,0,0,\n112,1,1000,\n112,2,2000,\n112,3,3000,\n112,4,4000,\n"));
    expectFault(importFile(TimingFormat::kCsv, path, 0, 3000), path,
                "the recording of sura 112 (3000 ms) ends before its last verse starts (4000 ms)", "line 5");
}

TEST(LabelTimingsImport, ReadsNumbersVerseKeysAndEmptyLabels) {
    ScratchFolder folder;
    // Audacity writes a frequency line under a spectral label; point labels give a start only.
    const std::string numbered = folder.write("n.txt", std::string("0.000000\t0.950000\t0\n"
                                                                   "1.000000\t1.000000\t1\n"
                                                                   "\\\t100.0\t3000.0\n"
                                                                   "2.5\t3.25\t2\n"
                                                                   "3.5\t3.9\t3\n"
                                                                   "4.125\t5.5\t4\n"));
    const auto timings = importFile(TimingFormat::kLabels, numbered, 112);
    ASSERT_TRUE(timings.ok()) << timings.error().description;
    EXPECT_EQ(timings.value().at(112),
              (std::vector<VerseTiming>{{0, 950}, {1000, 2500}, {2500, 3250}, {3500, 3900}, {4125, 5500}}));
    expectFault(importFile(TimingFormat::kLabels, numbered, 0), numbered, "which sura", "line 1");

    // Empty labels follow on from the last one; a verse key sets the sura.
    const std::string keyed = folder.write("k.txt", std::string("0.5\t1.0\t1:1\n1.0\t2.0\t\n2\t3\n3\t4\t\n4\t5\t\n"
                                                                "5\t6\t\n6\t7\t\n"));
    const auto sura1 = importFile(TimingFormat::kLabels, keyed);
    ASSERT_TRUE(sura1.ok()) << sura1.error().description;
    EXPECT_EQ(sura1.value().at(1)[0], (VerseTiming{500, 1000}));
    EXPECT_EQ(sura1.value().at(1)[6], (VerseTiming{6000, 7000}));

    auto withText = [&](const std::string& text) {
        folder.write("bad.txt", text);
        return importFile(TimingFormat::kLabels, folder.file("bad.txt"), 2, 100000);
    };
    const std::string bad = folder.file("bad.txt");
    expectFault(withText("1.0\tx\t1\n"), bad, "\"x\" is not a number of seconds", "line 1");
    expectFault(withText("1.0\t2.0\t2:300\n"), bad, "verse 300 is out of range", "line 1");
    expectFault(withText("1.0\t2.0\t0:5\n"), bad, "there is no sura 0", "line 1");
    expectFault(withText("1.0\t2.0\tverse one\n"), bad, "neither a verse number nor S:V", "line 1");
    expectFault(withText("0\t1\t0\n5\t6\t1\n4\t5\t2\n"), bad, "the times go backwards", "line 3");
    expectFault(withText("0\t1\t0\n5"), bad, "separated by tabs", "line 2");
    expectFault(withText("-1\t1\t0\n"), bad, "not a number of seconds", "line 1");
    expectFault(withText(""), bad, "the file is empty");
}

TEST(LrcTimingsImport, OneLinePerRecordWithOrWithoutFormulaAndEnd) {
    ScratchFolder folder;
    const std::string path = folder.write("s.lrc", std::string("[ar:Reciter]\n[ti:Al-Ikhlas]\n"
                                                               "[00:00.00]\n[00:01.50]Verse one\n"
                                                               "[00:03.2]Verse two\n[00:05.125]Verse three\n"
                                                               "[01:07.00]Verse four\n[01:10.00]\n"));
    const auto withEnd = importFile(TimingFormat::kLrc, path, 112);
    ASSERT_TRUE(withEnd.ok()) << withEnd.error().description;
    EXPECT_EQ(withEnd.value().at(112),
              (std::vector<VerseTiming>{{0, 1500}, {1500, 3200}, {3200, 5125}, {5125, 67000}, {67000, 70000}}));

    // One line per verse, no opening formula: record 0 runs from the start to verse 1; an offset moves all.
    const std::string verses =
        folder.write("v.lrc", std::string("[offset:+500]\n[00:02.00]1\n[00:04.00]2\n[00:06.00]3\n[00:08.00]4\n"));
    const auto shifted = importFile(TimingFormat::kLrc, verses, 112, 10000);
    ASSERT_TRUE(shifted.ok()) << shifted.error().description;
    EXPECT_EQ(shifted.value().at(112),
              (std::vector<VerseTiming>{{0, 1500}, {1500, 3500}, {3500, 5500}, {5500, 7500}, {7500, 10000}}));

    expectFault(importFile(TimingFormat::kLrc, verses, 0), verses, "give the sura number");
    expectFault(importFile(TimingFormat::kLrc, verses, 2), verses, "4 timed lines, but sura 2 needs 287");
    auto withText = [&](const std::string& text) {
        folder.write("bad.lrc", text);
        return importFile(TimingFormat::kLrc, folder.file("bad.lrc"), 112, 100000);
    };
    const std::string bad = folder.file("bad.lrc");
    expectFault(withText("[00:00.00]\n[00:01.00]\n[00:0x.00]\n[00:03.00]\n[00:04.00]\n"), bad, "mm:ss.xx",
                "line 3");
    expectFault(withText("[00:00.00]\n[00:01.00]\nno time here\n"), bad, "does not start with", "line 3");
    expectFault(withText("[00:00.00]\n[00:03.00]\n[00:02.00]\n[00:04.00]\n[00:05.00]\n"), bad,
                "the times go backwards", "line 3");
    expectFault(withText("[00:00.00]\n[00:01.0"), bad, "not closed", "line 2");
    // The offset may move the first time to the recording's start, but a later one moved before it would
    // start together with the first.
    expectFault(withText("[offset:+2000]\n[00:00.00]\n[00:01.50]\n[00:03.20]\n[00:05.00]\n[00:07.00]\n"), bad,
                "the offset moves this time before the start of the recording", "line 3");
    expectFault(withText(""), bad, "the file is empty");
}

// The most resident memory, in MiB, a child process reaches importing the file for sura 112.
int64_t importPeakMiB(TimingFormat format, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        const bool refused = !importFile(format, path, 112, 100000).ok();
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return usage.ru_maxrss / 1024;
}

// A text file within the size limit costs memory in proportion to its size, however it is made: lines
// without content and fields without content are not each kept, and rows stop counting far past the
// number any recitation has.
TEST(TextTimingsImport, MemoryStaysInProportionToTheFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's own memory would be measured";
#endif
    ScratchFolder folder;
    constexpr size_t kBytes = 32u << 20;
    const struct {
        TimingFormat format;
        std::string unit;
    } cases[] = {
        {TimingFormat::kCsv, "\n"},
        {TimingFormat::kCsv, ","},
        {TimingFormat::kCsv, "1,1,0\n"},
        {TimingFormat::kLabels, "1\t"},
        {TimingFormat::kLrc, "[0:00]"},
    };
    for (const auto& c : cases) {
        std::string text;
        text.reserve(kBytes);
        while (text.size() + c.unit.size() <= kBytes) text += c.unit;
        const std::string path = folder.write("big.txt", text);
        text = std::string();
        const int64_t peak = importPeakMiB(c.format, path);
        EXPECT_GT(peak, 0) << c.unit;
        EXPECT_LT(peak, 256) << TimingFiles::nameOf(c.format) << " of \"" << c.unit << "\"";
    }
}

TEST(TimingExport, ExportThenImportGivesTheSameRecords) {
    ScratchFolder folder;
    SuraTimings timings;
    // Records with gaps between verses (as automatic timing leaves them), in suras 1, 9 and 114.
    for (const int sura : {1, 9, 114}) {
        std::vector<VerseTiming> records;
        for (int record = 0; record < SuraCatalogue::verseNo(sura); ++record) {
            records.push_back({record * 1500 + 7, record * 1500 + 1234});
        }
        timings.emplace(sura, records);
    }
    for (const TimingFormat format : {TimingFormat::kCsv, TimingFormat::kLabels}) {
        const std::string path = folder.file("out." + TimingFiles::nameOf(format));
        ASSERT_TRUE(TimingFiles::exportFile(format, timings, path).ok());
        const auto back = importFile(format, path);
        ASSERT_TRUE(back.ok()) << back.error().description;
        EXPECT_EQ(back.value(), timings) << TimingFiles::nameOf(format);
    }
    // The database holds starts only: each verse ends where the next begins, the last at the 999 row.
    SuraTimings joined = timings;
    for (auto& [sura, records] : joined) {
        for (size_t record = 0; record + 1 < records.size(); ++record) records[record].endMs = records[record + 1].startMs;
    }
    const std::string db = folder.file("out.db");
    folder.write("out.db", std::string("an older file is replaced"));
    ASSERT_TRUE(TimingFiles::exportFile(TimingFormat::kSqlite, joined, db).ok());
    const auto back = importFile(TimingFormat::kSqlite, db);
    ASSERT_TRUE(back.ok()) << back.error().description;
    EXPECT_EQ(back.value(), joined);
    EXPECT_FALSE(std::filesystem::exists(db + ".part"));
}

}  // namespace
}  // namespace lumora

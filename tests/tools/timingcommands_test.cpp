// lumora-pack timings-import and timings-export as a user runs them: a reciter folder's pos.dat gains one
// sura at a time, keeps the others byte for byte, and is left untouched by a bad file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "audio/mp3frameindex.h"
#include "codec/archivereader.h"
#include "codec/archivewriter.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "support/scratchfolder.h"
#include "support/testrecordings.h"
#include "timing/timingdatabase.h"
#include "tools/packrun.h"

namespace lumora {
namespace {

using test::PackRun;
using test::ScratchFolder;
using test::pack;

std::vector<VerseTiming> readSura(const ScratchFolder& folder, int sura) {
    auto records = VerseTimingTable::read(folder.file("reciter/pos.dat"), sura);
    EXPECT_TRUE(records.ok());
    return records.ok() ? records.value() : std::vector<VerseTiming>{};
}

class TimingCommands : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder.file("reciter"));
        // The folder already holds sura 114's timings, which every import must leave as they are.
        ArchiveWriter writer;
        writer.addEntry("114.pos", VerseTimingTable::encode({{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}, {10, 11}, {12, 13}}),
                        true);
        ASSERT_TRUE(writer.write(folder.file("reciter/pos.dat")).ok());
        before = ScratchFolder::read(folder.file("reciter/pos.dat"));
    }
    ScratchFolder folder;
    std::vector<uint8_t> before;
};

TEST_F(TimingCommands, ImportWritesTheChosenSurasAndKeepsTheOthers) {
    test::TimingDatabaseSpec spec;
    spec.rows = test::suraRows(2, 0, 1000);
    for (const auto& row : test::suraRows(112, 100, 500)) spec.rows.push_back(row);
    test::makeTimingDatabase(folder.file("t.db"), spec);

    const PackRun one = pack(folder, {"timings-import", "sqlite", "t.db", "--sura", "112", "--into", "reciter"});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_NE(one.out.find("112.pos: 5 records"), std::string::npos) << one.out;
    EXPECT_EQ(readSura(folder, 112)[4], (VerseTiming{2100, 2600}));
    auto second = ArchiveReader::findStoredFile(folder.file("reciter/pos.dat"), "002.pos");
    ASSERT_TRUE(second.ok());
    EXPECT_FALSE(second.value().found);

    ASSERT_EQ(pack(folder, {"timings-import", "sqlite", "t.db", "--all", "--into", "reciter"}).status, 0);
    EXPECT_EQ(readSura(folder, 2)[286], (VerseTiming{286000, 287000}));
    auto listed = ArchiveReader::list(folder.file("reciter/pos.dat"));
    ASSERT_TRUE(listed.ok());
    ASSERT_EQ(listed.value().size(), 3u);
    EXPECT_EQ(listed.value()[0].name, "114.pos");  // the older entry keeps its place and its bytes
    EXPECT_EQ(readSura(folder, 114)[6], (VerseTiming{12, 13}));
}

TEST_F(TimingCommands, BadFilesGiveOneLineAndWriteNothing) {
    test::TimingDatabaseSpec spec;
    spec.rows = test::suraRows(2, 0, 1000);
    spec.rows.push_back({2LL, 300LL, 400000LL});
    test::makeTimingDatabase(folder.file("t.db"), spec);
    folder.write("t.csv", std::string("112,0,0,10\n112,1,20,30\n112,2,x,50\n"));
    folder.write("empty.json", std::string());
    folder.write("cut.json", std::string(R"({"112:1": [0, 1)"));

    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases{
        {{"sqlite", "t.db", "--all"}, "timings row 289 (sura 2, ayah 300): verse 300 is out of range"},
        {{"csv", "t.csv", "--sura", "112"}, "line 3: the start_ms \"x\" is not a whole number"},
        {{"json", "empty.json", "--all"}, "the file is empty"},
        {{"json", "cut.json", "--all"}, "the JSON is damaged"},
        {{"lrc", "missing.lrc", "--sura", "112"}, "cannot be read"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"timings-import"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--into", "reciter"});
        const PackRun run = pack(folder, args);
        EXPECT_EQ(run.status, 1) << c.args[1];
        EXPECT_EQ(run.err.rfind("lumora-pack: " + c.args[1] + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(ScratchFolder::read(folder.file("reciter/pos.dat")), before) << c.args[1];
    }

    // A damaged pos.dat is not overwritten.
    folder.write("reciter/pos.dat", std::string("not an archive"));
    test::makeTimingDatabase(folder.file("t.db"), test::TimingDatabaseSpec{.rows = test::suraRows(112, 0, 100)});
    const PackRun damaged = pack(folder, {"timings-import", "sqlite", "t.db", "--all", "--into", "reciter"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("left as it is"), std::string::npos) << damaged.err;
    const std::string kept = "not an archive";
    EXPECT_EQ(ScratchFolder::read(folder.file("reciter/pos.dat")), std::vector<uint8_t>(kept.begin(), kept.end()));
}

// The folder's recording ends the last verse when the file does not; it is found however its name is
// spelt, as the player finds it.
TEST_F(TimingCommands, TheRecordingEndsTheLastVerseWhateverTheCaseOfItsName) {
    const test::Recording recording = test::makeVerseRecordings({6000}).front();
    const auto index = Mp3FrameIndex::fromFile(recording.path);
    ASSERT_TRUE(index.ok());
    std::filesystem::copy_file(recording.path, folder.file("reciter/112.MP3"));
    folder.write("t.csv", std::string("112,0,0,\n112,1,1000,\n112,2,2000,\n112,3,3000,\n112,4,4000,\n"));
    const PackRun run = pack(folder, {"timings-import", "csv", "t.csv", "--sura", "112", "--into", "reciter"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readSura(folder, 112)[4], (VerseTiming{4000, static_cast<int32_t>(index.value().lengthMs())}));
}

// A folder whose archive is spelt POS.DAT (copied from another system) has it updated, not a second
// pos.dat beside it that leaves the player reading one of the two.
TEST_F(TimingCommands, AnArchiveSpeltInCapitalsIsTheOneUpdated) {
    std::filesystem::rename(folder.file("reciter/pos.dat"), folder.file("reciter/POS.DAT"));
    for (const char* name : {"114.mp3", "112.mp3"}) folder.write(std::string("reciter/") + name, "ID3");
    test::makeTimingDatabase(folder.file("t.db"), {.rows = test::suraRows(112, 100, 500)});
    const PackRun imported = pack(folder, {"timings-import", "sqlite", "t.db", "--all", "--into", "reciter"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("reciter/POS.DAT"), std::string::npos) << imported.out;
    EXPECT_FALSE(std::filesystem::exists(folder.file("reciter/pos.dat")));

    const PackRun listed = pack(folder, {"recordings", "reciter", "--program-folder", "."});
    EXPECT_NE(listed.out.find("112  per-sura 112.mp3  timings: own pos.dat\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("114  per-sura 114.mp3  timings: own pos.dat\n"), std::string::npos) << listed.out;
    const PackRun exported = pack(folder, {"timings-export", "csv", "--sura", "114", "--from", "reciter"});
    EXPECT_EQ(exported.status, 0) << exported.err;
}

TEST_F(TimingCommands, ExportThenImportRoundTripsThroughEachFormat) {
    // Sura 9 from a label track, with gaps between the verses.
    std::string labels;
    for (int verse = 1; verse <= 129; ++verse) {
        labels += std::to_string(verse * 2) + ".25\t" + std::to_string(verse * 2 + 1) + ".5\t9:" +
                  std::to_string(verse) + "\n";
    }
    folder.write("nine.txt", labels);
    ASSERT_EQ(pack(folder, {"timings-import", "labels", "nine.txt", "--all", "--into", "reciter"}).status, 0);
    const std::vector<VerseTiming> nine = readSura(folder, 9);
    EXPECT_EQ(nine[0], (VerseTiming{2250, 3500}));

    const PackRun csv = pack(folder, {"timings-export", "csv", "--sura", "9", "--from", "reciter"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.substr(0, 40), "sura,verse,start_ms,end_ms\n9,1,2250,3500");
    ASSERT_EQ(pack(folder, {"timings-export", "labels", "--all", "--from", "reciter", "--out", "all.txt"}).status, 0);
    ASSERT_EQ(pack(folder, {"timings-export", "sqlite", "--all", "--from", "reciter", "--out", "all.db"}).status, 0);
    folder.write("nine.csv", csv.out);

    std::filesystem::create_directory(folder.file("copy"));
    for (const auto& [format, file] : std::vector<std::pair<std::string, std::string>>{
             {"csv", "nine.csv"}, {"labels", "all.txt"}, {"sqlite", "all.db"}}) {
        std::filesystem::remove(folder.file("copy/pos.dat"));
        const PackRun run = pack(folder, {"timings-import", format, file, "--all", "--into", "copy"});
        ASSERT_EQ(run.status, 0) << format << ": " << run.err;
        auto copied = VerseTimingTable::read(folder.file("copy/pos.dat"), 9);
        ASSERT_TRUE(copied.ok());
        if (format == "sqlite") {
            // The database holds starts only, so each verse runs on to the next one's start.
            EXPECT_EQ(copied.value()[0], (VerseTiming{2250, 4250}));
            EXPECT_EQ(copied.value()[128], nine[128]);
            EXPECT_EQ(VerseTimingTable::read(folder.file("copy/pos.dat"), 114).value()[6], (VerseTiming{12, 13}));
        } else {
            EXPECT_EQ(copied.value(), nine) << format;
        }
    }
}

TEST_F(TimingCommands, ExportRefusesToWriteOverTheArchiveItReads) {
    for (const char* format : {"csv", "labels", "sqlite"}) {
        for (const char* out : {"reciter/pos.dat", "reciter/../reciter/pos.dat"}) {
            const PackRun run = pack(folder, {"timings-export", format, "--all", "--from", "reciter", "--out", out});
            EXPECT_EQ(run.status, 1) << format << " " << out;
            EXPECT_NE(run.err.find("is the timing archive being exported"), std::string::npos) << run.err;
            EXPECT_EQ(ScratchFolder::read(folder.file("reciter/pos.dat")), before) << format << " " << out;
        }
    }
}

TEST_F(TimingCommands, WrongCommandLinesAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"timings-import", "csv", "t.csv", "--into", "reciter"},
             {"timings-import", "csv", "t.csv", "--sura", "2", "--all", "--into", "reciter"},
             {"timings-import", "csv", "t.csv", "--sura", "115", "--into", "reciter"},
             {"timings-import", "xml", "t.xml", "--all", "--into", "reciter"},
             {"timings-import", "csv", "t.csv", "--all"},
             {"timings-export", "json", "--all", "--from", "reciter"},
             {"timings-export", "sqlite", "--all", "--from", "reciter"},
             {"timings-export", "csv", "--sura", "x", "--from", "reciter"}}) {
        const PackRun run = pack(folder, args);
        EXPECT_EQ(run.status, 2) << args[1];
        EXPECT_NE(run.err.find("lumora-pack " + args[0] + ":"), std::string::npos) << run.err;
    }
    EXPECT_EQ(pack(folder, {"timings-export", "csv", "--sura", "3", "--from", "reciter"}).status, 1);
    EXPECT_EQ(pack(folder, {"timings-import", "csv", "t.csv", "--all", "--into", "nowhere"}).status, 1);
}

}  // namespace
}  // namespace lumora

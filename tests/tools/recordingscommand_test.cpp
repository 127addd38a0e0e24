// lumora-pack recordings on a reciter's folder of mixed content: per-sura files timed three ways, per-verse
// collections complete and not, and files that cannot be read.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "codec/archivewriter.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "support/scratchfolder.h"
#include "tools/packrun.h"

namespace lumora {
namespace {

using test::PackRun;
using test::ScratchFolder;
using test::pack;

void writeTimings(const std::string& path, const std::vector<int>& suras) {
    ArchiveWriter writer;
    for (int sura : suras) {
        const std::vector<VerseTiming> records(static_cast<size_t>(SuraCatalogue::verseNo(sura)), {0, 500});
        writer.addEntry(VerseTimingTable::entryName(sura), VerseTimingTable::encode(records), true);
    }
    ASSERT_TRUE(writer.write(path).ok());
}

// The line of one sura in the output, without its line end.
std::string lineOf(const std::string& out, int sura) {
    const std::string text = "\n" + out;
    const size_t at = text.find("\n" + SuraCatalogue::threeDigit(sura) + "  ");
    if (at == std::string::npos) return {};
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

class RecordingsCommand : public ::testing::Test {
protected:
    RecordingsCommand() {
        std::filesystem::create_directories(m_scratch.path() / "program/data");
        std::filesystem::create_directories(m_scratch.path() / "reciter");
        writeTimings(m_scratch.file("program/data/pos.dat"), {1, 112});
        writeTimings(m_scratch.file("reciter/pos.dat"), {1, 100});
        for (const char* name : {"001.mp3", "112.mp3", "113.mp3"}) write(name);
        for (int verse = 0; verse <= 3; ++verse) write("108" + SuraCatalogue::threeDigit(verse) + ".mp3");
        for (int verse : {1, 2, 3, 5}) write("114" + SuraCatalogue::threeDigit(verse) + ".mp3");
    }
    void write(const std::string& name) { m_scratch.write("reciter/" + name, "ID3"); }
    PackRun run() { return pack(m_scratch, {"recordings", "reciter", "--program-folder", "program"}); }

    ScratchFolder m_scratch;
};

TEST_F(RecordingsCommand, DescribesEverySuraOfAMixedFolder) {
    const PackRun result = run();
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 115);
    EXPECT_EQ(lineOf(result.out, 1), "001  per-sura 001.mp3  timings: own pos.dat");
    EXPECT_EQ(lineOf(result.out, 112), "112  per-sura 112.mp3  timings: program folder");
    EXPECT_EQ(lineOf(result.out, 113), "113  per-sura 113.mp3  timings: none");
    EXPECT_EQ(lineOf(result.out, 108), "108  per-verse 4/4  timings: from the files");
    // 001001.mp3 is absent too, so the opening formula (verse 0) is missing with verses 4 and 6.
    EXPECT_EQ(lineOf(result.out, 114), "114  per-verse 4/7  timings: from the files  missing: 0, 4, 6");
    // Timings without a recording are nothing to play.
    EXPECT_EQ(lineOf(result.out, 100), "100  nothing");
    EXPECT_NE(result.out.find("\nper-sura 3 (1 without timings), per-verse 2 (1 incomplete), nothing 109\n"),
              std::string::npos)
        << result.out;
}

TEST_F(RecordingsCommand, FailsOnFilesThatCannotBeReadButStillDescribesTheRest) {
    std::filesystem::create_symlink(m_scratch.path() / "nowhere.mp3", m_scratch.path() / "reciter/002.mp3");
    m_scratch.write("reciter/003.mp3", "");
    const PackRun unreadable = run();
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(lineOf(unreadable.out, 2), "002  per-sura 002.mp3  timings: none");
    EXPECT_NE(unreadable.err.find("reciter/002.mp3: "), std::string::npos) << unreadable.err;
    EXPECT_NE(unreadable.err.find("reciter/003.mp3: the file is empty"), std::string::npos) << unreadable.err;

    // A pipe named like a recording is named as no file, not opened (opening it waits for a writer).
    ASSERT_EQ(mkfifo(m_scratch.file("reciter/004.mp3").c_str(), 0600), 0);
    const PackRun pipe = run();
    EXPECT_EQ(pipe.status, 1);
    EXPECT_NE(pipe.err.find("reciter/004.mp3: it is not a regular file"), std::string::npos) << pipe.err;

    std::filesystem::remove(m_scratch.path() / "reciter/002.mp3");
    std::filesystem::remove(m_scratch.path() / "reciter/003.mp3");
    std::filesystem::remove(m_scratch.path() / "reciter/004.mp3");
    m_scratch.write("reciter/pos.dat", "damaged");
    const PackRun damaged = run();
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("reciter/pos.dat"), std::string::npos) << damaged.err;
    EXPECT_EQ(lineOf(damaged.out, 1), "001  per-sura 001.mp3  timings: program folder");
}

TEST_F(RecordingsCommand, RefusesWhatIsNoFolder) {
    EXPECT_EQ(pack(m_scratch, {"recordings"}).status, 2);
    const PackRun missing = pack(m_scratch, {"recordings", "no-such-folder"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "lumora-pack: no-such-folder: not a folder\n");
}

}  // namespace
}  // namespace lumora

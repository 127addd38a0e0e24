// What a reciter's folder holds for each sura, from real folders of files: per-sura files timed by the
// folder's own pos.dat or the program folder's, per-verse collections complete or not, and the marks the
// sura list shows for them.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "codec/archivewriter.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "recordings/recordingfolder.h"
#include "recordings/suramark.h"
#include "support/scratchfolder.h"

namespace lumora {
namespace {

using Kind = SuraRecording::Kind;
using Source = SuraRecording::TimingSource;
using test::ScratchFolder;

QString q(const std::string& text) { return QString::fromStdString(text); }

// A timing archive holding an entry for each sura given.
void writeTimings(const std::string& path, const std::vector<int>& suras) {
    ArchiveWriter writer;
    for (int sura : suras) {
        std::vector<VerseTiming> records(static_cast<size_t>(SuraCatalogue::verseNo(sura)));
        for (size_t i = 0; i < records.size(); ++i)
            records[i] = {static_cast<int32_t>(i * 1000), static_cast<int32_t>(i * 1000 + 900)};
        writer.addEntry(VerseTimingTable::entryName(sura), VerseTimingTable::encode(records), true);
    }
    ASSERT_TRUE(writer.write(path).ok());
}

// The per-verse files of a sura: SSSVVV.mp3 for each verse in [first, last].
void writeVerses(const ScratchFolder& folder, int sura, int first, int last) {
    for (int verse = first; verse <= last; ++verse)
        folder.write(SuraCatalogue::threeDigit(sura) + SuraCatalogue::threeDigit(verse) + ".mp3", "ID3");
}

struct ProgramFolder {
    ScratchFolder root;
    ProgramFolder(const std::vector<int>& timedSuras) {
        std::filesystem::create_directories(root.path() / "data");
        writeTimings(root.file("data/pos.dat"), timedSuras);
    }
    QString path() const { return q(root.path().string()); }
};

TEST(RecordingFolder, PerSuraFilesTakeTheirTimingsFromTheFolderFirstThenTheProgramFolder) {
    const ProgramFolder program({1, 112, 113});
    const ScratchFolder reciter;
    for (const char* name : {"001.mp3", "112.MP3", "113.mp3", "114.mp3"}) reciter.write(name, "ID3");
    writeTimings(reciter.file("pos.dat"), {1, 112, 100});
    // A folder named like a recording is none.
    std::filesystem::create_directories(reciter.path() / "100.mp3");

    const RecordingFolder folder = RecordingFolder::scan(q(reciter.path().string()), program.path());
    EXPECT_TRUE(folder.problems().isEmpty());

    const SuraRecording own = folder.recording(112);
    EXPECT_EQ(own.kind, Kind::kPerSura);
    EXPECT_EQ(own.file, q(reciter.file("112.MP3")));
    EXPECT_EQ(own.timingSource, Source::kOwnArchive);
    EXPECT_EQ(own.timingArchive, q(reciter.file("pos.dat")));
    EXPECT_EQ(SuraMark::of(own), QString());

    const SuraRecording fromProgram = folder.recording(113);
    EXPECT_EQ(fromProgram.timingSource, Source::kProgramFolder);
    EXPECT_EQ(fromProgram.timingArchive, program.path() + QStringLiteral("/data/pos.dat"));

    const SuraRecording untimed = folder.recording(114);
    EXPECT_EQ(untimed.kind, Kind::kPerSura);
    EXPECT_EQ(untimed.timingSource, Source::kNone);
    EXPECT_EQ(SuraMark::of(untimed), QStringLiteral(" (no timings)"));

    // Timings alone are no recording.
    EXPECT_EQ(folder.recording(100).kind, Kind::kMissing);
    EXPECT_EQ(SuraMark::of(folder.recording(100)), QStringLiteral(" (audio missing)"));
    EXPECT_EQ(folder.recording(0).kind, Kind::kMissing);
    EXPECT_EQ(folder.recording(115).kind, Kind::kMissing);
}

// Of two spellings of one name the lower-case one is taken, whatever order the listing gives: the timing
// tools write pos.dat, and the player must read what they wrote.
TEST(RecordingFolder, OfTwoSpellingsTheLowerCaseOneIsTaken) {
    const ScratchFolder reciter;
    for (const char* name : {"112.mp3", "112.MP3", "114.mp3"}) reciter.write(name, "ID3");
    writeTimings(reciter.file("POS.DAT"), {114});
    writeTimings(reciter.file("pos.dat"), {112});
    const RecordingFolder folder = RecordingFolder::scan(q(reciter.path().string()), QString());
    EXPECT_EQ(folder.ownArchive().path().toStdString(), reciter.file("pos.dat"));
    EXPECT_EQ(folder.recording(112).timingSource, Source::kOwnArchive);
    EXPECT_EQ(folder.recording(114).timingSource, Source::kNone);
    EXPECT_EQ(folder.perSuraFile(112), q(reciter.file("112.mp3")));
}

TEST(RecordingFolder, PerVerseRecordsFollowTheVerseTable) {
    const ScratchFolder reciter;
    // Sura 2 complete with its own opening formula; sura 3 relies on 001001.mp3 for it.
    writeVerses(reciter, 2, 0, 286);
    writeVerses(reciter, 3, 1, 200);
    writeVerses(reciter, 1, 1, 7);
    writeVerses(reciter, 9, 1, 129);
    const RecordingFolder folder = RecordingFolder::scan(q(reciter.path().string()) + "/", QString());

    const SuraRecording baqara = folder.recording(2);
    EXPECT_EQ(baqara.kind, Kind::kPerVerse);
    EXPECT_EQ(baqara.timingSource, Source::kFromFiles);
    ASSERT_EQ(baqara.recordFiles.size(), 287);
    EXPECT_EQ(baqara.recordFiles.front(), q(reciter.file("002000.mp3")));
    EXPECT_EQ(baqara.recordFiles.at(255), q(reciter.file("002255.mp3")));
    EXPECT_FALSE(baqara.incomplete());
    EXPECT_EQ(SuraMark::of(baqara), QString());

    const SuraRecording imran = folder.recording(3);
    EXPECT_EQ(imran.recordFiles.front(), q(reciter.file("001001.mp3")));
    EXPECT_EQ(imran.recordFiles.back(), q(reciter.file("003200.mp3")));

    // Suras 1 and 9 have no opening record: record k is verse k + 1.
    const SuraRecording fatiha = folder.recording(1);
    ASSERT_EQ(fatiha.recordFiles.size(), 7);
    EXPECT_EQ(fatiha.recordFiles.front(), q(reciter.file("001001.mp3")));
    EXPECT_EQ(fatiha.recordFiles.back(), q(reciter.file("001007.mp3")));
    const SuraRecording tawba = folder.recording(9);
    ASSERT_EQ(tawba.recordFiles.size(), 129);
    EXPECT_EQ(tawba.recordFiles.front(), q(reciter.file("009001.mp3")));
    EXPECT_EQ(tawba.recordFiles.back(), q(reciter.file("009129.mp3")));
    EXPECT_FALSE(tawba.incomplete());

    // The opening formula alone is no recording of sura 4.
    EXPECT_EQ(folder.recording(4).kind, Kind::kMissing);
}

TEST(RecordingFolder, MissingVerseFilesMakeTheSuraIncomplete) {
    const ScratchFolder reciter;
    writeVerses(reciter, 114, 1, 6);
    std::filesystem::remove(reciter.file("114004.mp3"));
    writeVerses(reciter, 113, 0, 5);
    // A per-sura file wins over verse files of the same sura.
    reciter.write("113.mp3", "ID3");
    const RecordingFolder folder = RecordingFolder::scan(q(reciter.path().string()), QString());

    const SuraRecording nas = folder.recording(114);
    EXPECT_EQ(nas.kind, Kind::kPerVerse);
    // Neither 114000.mp3 nor 001001.mp3: the opening formula is missing too.
    EXPECT_TRUE(nas.recordFiles.at(0).isEmpty());
    EXPECT_TRUE(nas.recordFiles.at(4).isEmpty());
    EXPECT_EQ(nas.recordFiles.at(5), q(reciter.file("114005.mp3")));
    EXPECT_TRUE(nas.incomplete());
    EXPECT_EQ(SuraMark::of(nas), QStringLiteral(" (audio incomplete)"));

    EXPECT_EQ(folder.recording(113).kind, Kind::kPerSura);
    EXPECT_EQ(folder.perVerseRecords(113).size(), 6);
}

TEST(RecordingFolder, DamagedTimingArchivesAreNamedAndTimeNothing) {
    const ScratchFolder program;
    std::filesystem::create_directories(program.path() / "data");
    program.write("data/pos.dat", "not an archive at all");
    const ScratchFolder reciter;
    reciter.write("001.mp3", "ID3");
    reciter.write("POS.DAT", std::string(40, '7'));
    const RecordingFolder folder = RecordingFolder::scan(q(reciter.path().string()), q(program.path().string()));
    ASSERT_EQ(folder.problems().size(), 2);
    EXPECT_TRUE(folder.problems().at(0).contains(q(reciter.file("POS.DAT"))));
    EXPECT_TRUE(folder.problems().at(1).contains(q(program.file("data/pos.dat"))));
    EXPECT_EQ(folder.recording(1).timingSource, Source::kNone);
}

// A pos.dat that is there but is no file (a link to nothing, a pipe, a folder) cannot time anything; it is
// named as a problem rather than taken for an absent archive, and never opened.
TEST(RecordingFolder, TimingArchivesThatAreNoFilesAreNamed) {
    const ScratchFolder program;
    std::filesystem::create_directories(program.path() / "data/pos.dat");
    writeTimings(program.file("timed.dat"), {1});
    const ScratchFolder reciter;
    reciter.write("001.mp3", "ID3");
    const std::string own = reciter.file("pos.dat");
    // A link to nothing, then a pipe.
    std::filesystem::create_symlink(program.path() / "gone.dat", own);
    for (int round = 0; round < 2; ++round) {
        const RecordingFolder folder = RecordingFolder::scan(q(reciter.path().string()), q(program.path().string()));
        ASSERT_EQ(folder.problems().size(), 2) << round;
        EXPECT_TRUE(folder.problems().at(0).contains(q(own))) << folder.problems().at(0).toStdString();
        EXPECT_TRUE(folder.problems().at(1).contains(q(program.file("data/pos.dat"))));
        EXPECT_EQ(folder.recording(1).timingSource, Source::kNone);
        std::filesystem::remove(own);
        ASSERT_EQ(mkfifo(own.c_str(), 0600), 0);
    }
    // A link to an archive is followed.
    std::filesystem::remove(own);
    std::filesystem::create_symlink(program.file("timed.dat"), own);
    const RecordingFolder linked = RecordingFolder::scan(q(reciter.path().string()), QString());
    EXPECT_TRUE(linked.problems().isEmpty());
    EXPECT_EQ(linked.recording(1).timingSource, Source::kOwnArchive);
}

TEST(RecordingFolder, AFolderThatIsNotThereHoldsNothing) {
    const ScratchFolder scratch;
    const RecordingFolder folder = RecordingFolder::scan(q(scratch.file("gone")), QString());
    EXPECT_FALSE(folder.exists());
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura)
        EXPECT_EQ(folder.recording(sura).kind, Kind::kMissing) << sura;
}

}  // namespace
}  // namespace lumora

// A folder's pos.dat gains or replaces one sura's entry and keeps the others as they were; the marking
// session turns key presses into marks.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "codec/archivereader.h"
#include "codec/archivewriter.h"
#include "codec/huffmancodec.h"
#include "support/scratchfolder.h"
#include "timing/markingsession.h"
#include "timing/posarchive.h"

namespace lumora {
namespace {

using test::ScratchFolder;

TEST(PosArchive, WritesOneSuraAndKeepsTheOtherEntriesInPlace) {
    ScratchFolder folder;
    const std::string path = PosArchive::pathIn(folder.path().string());
    // An entry that is not a timing table, stored Huffman-encoded, must come through byte for byte.
    const std::string note = "a note kept beside the timings, long enough to be worth compressing compressing";
    ArchiveWriter writer;
    writer.addEntry("readme.txt", std::vector<uint8_t>(note.begin(), note.end()), false);
    writer.addEntry("112.pos", VerseTimingTable::encode({{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}), true);
    ASSERT_TRUE(writer.write(path).ok());

    ASSERT_TRUE(PosArchive::writeSuras(path, {{1, std::vector<VerseTiming>(7, {100, 200})}}).ok());
    ASSERT_TRUE(PosArchive::writeSuras(path, {{112, {{0, 10}, {10, 20}, {20, 30}, {30, 40}, {40, 50}}}}).ok());
    const auto listed = ArchiveReader::list(path);
    ASSERT_TRUE(listed.ok());
    ASSERT_EQ(listed.value().size(), 3u);
    EXPECT_EQ(listed.value()[0].name, "readme.txt");
    EXPECT_EQ(listed.value()[1].name, "112.pos");
    EXPECT_EQ(listed.value()[2].name, "001.pos");
    const auto readme = ArchiveReader::extractFile(path, "readme.txt");
    ASSERT_TRUE(readme.ok());
    EXPECT_EQ(std::string(readme.value().bytes.begin(), readme.value().bytes.end()), note);
    EXPECT_EQ(PosArchive::readSura(path, 112).value()[4], (VerseTiming{40, 50}));
    EXPECT_EQ(PosArchive::suras(path).value(), (std::vector<int>{1, 112}));

    EXPECT_EQ(PosArchive::shifted({{0, 10}, {40, 50}}, -15), (std::vector<VerseTiming>{{0, 0}, {25, 35}}));
    EXPECT_EQ(PosArchive::shifted({{INT32_MAX - 5, INT32_MAX}}, 100), (std::vector<VerseTiming>{{INT32_MAX, INT32_MAX}}));
    EXPECT_FALSE(PosArchive::readSura(path, 2).ok());

    // A damaged archive is refused and left as it is; so is the old archive when the write fails.
    std::vector<uint8_t> damaged = ScratchFolder::read(path);
    damaged.resize(damaged.size() - 4);
    folder.write("pos.dat", damaged);
    const auto refused = PosArchive::writeSuras(path, {{1, std::vector<VerseTiming>(7)}});
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().description.find("left as it is"), std::string::npos);
    EXPECT_EQ(ScratchFolder::read(path), damaged);
    EXPECT_FALSE(PosArchive::writeSuras(folder.file("no-such-folder/pos.dat"), {{1, std::vector<VerseTiming>(7)}}).ok());
}

// Reading (for export or play) says what is wrong with the archive; "left as it is" belongs to writing.
TEST(PosArchive, ReadFailuresSayWhatIsWrong) {
    ScratchFolder folder;
    const std::string absent = folder.file("absent/pos.dat");
    const auto none = PosArchive::readSura(absent, 3);
    ASSERT_FALSE(none.ok());
    EXPECT_EQ(none.error().description, absent + ": there is no timing archive, so it holds no timings for sura 3");

    const std::string damaged = folder.write("pos.dat", std::string("not an archive"));
    for (const Error& error : {PosArchive::readSura(damaged, 3).error(), PosArchive::suras(damaged).error()}) {
        EXPECT_EQ(error.description.find(damaged + ": the timing archive cannot be read ("), 0u) << error.description;
        EXPECT_EQ(error.description.find("left as it is"), std::string::npos) << error.description;
    }
}

// A pos.dat that is a pipe is never opened (the read would wait for a writer for ever), nor replaced.
TEST(PosArchive, APipeIsRefusedUnopened) {
    ScratchFolder folder;
    const std::string path = PosArchive::pathIn(folder.path().string());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const std::vector<Error> errors{PosArchive::writeSuras(path, {{1, std::vector<VerseTiming>(7)}}).error(),
                                    PosArchive::suras(path).error(), PosArchive::readSura(path, 1).error()};
    for (const Error& error : errors) {
        EXPECT_EQ(error.description.find(path + ": the timing archive cannot be read"), 0u) << error.description;
        EXPECT_NE(error.description.find("not a regular file"), std::string::npos) << error.description;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}

// The archive is read whole to be written anew; a file far larger than any timing archive (another file
// saved under its name) is refused before it is read into memory, and kept.
TEST(PosArchive, AFileFarLargerThanAnArchiveIsNotReadWhole) {
    ScratchFolder folder;
    const std::string path = PosArchive::pathIn(folder.path().string());
    folder.write("pos.dat", std::string("x"));
    std::filesystem::resize_file(path, 512u << 20);
    const auto refused = PosArchive::writeSuras(path, {{1, std::vector<VerseTiming>(7)}});
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().description.find("far larger than a timing archive"), std::string::npos)
        << refused.error().description;
    EXPECT_EQ(std::filesystem::file_size(path), 512u << 20);
}

TEST(MarkingSession, MarksSnapNudgeAndUndo) {
    // Sura 112's five records as they stood; marking starts at record 1.
    MarkingSession session({{0, 900}, {1000, 1900}, {2000, 2900}, {3000, 3900}, {4000, 4900}}, 1,
                           {980, 5230, 9000}, 12000);
    EXPECT_EQ(session.nextRecord(), 1);
    EXPECT_EQ(session.replayFromMs(), 0);
    EXPECT_EQ(session.mark(5500), 5230);   // 270 ms after a snap point: snapped
    EXPECT_EQ(session.mark(5300), std::nullopt);  // a double press
    EXPECT_EQ(session.mark(8650), 8650);   // 350 ms from the nearest point: kept
    EXPECT_TRUE(session.nudge(-50));
    EXPECT_TRUE(session.nudge(10));
    EXPECT_EQ(session.lastMarkMs(), 8610);
    EXPECT_EQ(session.replayFromMs(), 6610);
    EXPECT_TRUE(session.modified());
    EXPECT_EQ(session.records()[0], (VerseTiming{0, 5230}));
    EXPECT_EQ(session.records()[1], (VerseTiming{5230, 8610}));
    EXPECT_EQ(session.records()[2], (VerseTiming{8610, 12000}));  // its old end lay before the new start
    EXPECT_TRUE(session.undo());
    EXPECT_EQ(session.nextRecord(), 2);
    EXPECT_EQ(session.mark(9100), 9000);
    EXPECT_EQ(session.mark(10000), 10000);
    EXPECT_EQ(session.mark(11000), 11000);
    EXPECT_EQ(session.mark(11500), std::nullopt);  // every record is marked
    session.markSaved();
    EXPECT_FALSE(session.modified());
    EXPECT_TRUE(session.nudge(-5000));  // no earlier than the mark before it
    EXPECT_EQ(session.lastMarkMs(), 10100);
}

// Marks made against a table that does not fit the recording (none at all, or another recording's) never
// give a table that runs backwards: the unmarked records out of order wait, empty, to be marked.
TEST(MarkingSession, TablesStayInOrderAroundTheMarks) {
    const auto inOrder = [](const std::vector<VerseTiming>& table) {
        for (size_t k = 0; k < table.size(); ++k) {
            if (table[k].endMs < table[k].startMs) return false;
            if (k > 0 && table[k].startMs < table[k - 1].startMs) return false;
        }
        return true;
    };
    MarkingSession untimed(std::vector<VerseTiming>(4), 0, {}, 20000);
    ASSERT_TRUE(untimed.mark(1000));
    ASSERT_TRUE(untimed.mark(6000));
    EXPECT_EQ(untimed.records(), (std::vector<VerseTiming>{{1000, 6000}, {6000, 20000}, {20000, 20000}, {20000, 20000}}));

    // Marking from record 2 at a time before records 0 and 1 started in the old table.
    MarkingSession stale({{5000, 6000}, {7000, 8000}, {9000, 10000}, {11000, 12000}}, 2, {}, 20000);
    ASSERT_TRUE(stale.mark(4000));
    EXPECT_TRUE(inOrder(stale.records()));
    EXPECT_EQ(stale.records()[0], (VerseTiming{4000, 4000}));
    EXPECT_EQ(stale.records()[3], (VerseTiming{11000, 12000}));
    // And past the records after it.
    ASSERT_TRUE(stale.mark(15000));
    EXPECT_TRUE(inOrder(stale.records()));
    EXPECT_EQ(stale.records()[2], (VerseTiming{4000, 15000}));
    EXPECT_EQ(stale.records()[3], (VerseTiming{15000, 20000}));
    // A record before the first mark that fits stays as it was.
    MarkingSession later({{500, 900}, {1000, 1900}, {2000, 2900}}, 2, {}, 9000);
    ASSERT_TRUE(later.mark(2500));
    EXPECT_EQ(later.records(), (std::vector<VerseTiming>{{500, 900}, {1000, 2500}, {2500, 2900}}));
}

}  // namespace
}  // namespace lumora

#include "codec/versetimingtable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "codec/archivewriter.h"
#include "support/scratchfolder.h"

namespace lumora {
namespace {

using Bytes = std::vector<uint8_t>;
using test::ScratchFolder;

std::vector<VerseTiming> steadyTimings(int count) {
    std::vector<VerseTiming> records;
    for (int i = 0; i < count; ++i) {
        records.push_back(VerseTiming{i * 1000, i * 1000 + 900});
    }
    return records;
}

// A pos.dat holding the given entries, stored as they are.
std::string writePosArchive(const ScratchFolder& folder, const std::vector<std::pair<int, Bytes>>& entries) {
    ArchiveWriter writer;
    for (const auto& [sura, bytes] : entries) {
        writer.addEntry(VerseTimingTable::entryName(sura), bytes, true);
    }
    const std::string path = folder.file("pos.dat");
    EXPECT_TRUE(writer.write(path).ok());
    return path;
}

TEST(VerseTimingEntry, RecordsAreLittleEndianSignedPairs) {
    const std::vector<VerseTiming> records = {{1, 2}, {-1, 0x12345678}, {INT32_MIN, INT32_MAX}};
    const Bytes bytes = VerseTimingTable::encode(records);
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 16),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(VerseTimingTable::parse(bytes, 3), records);
    EXPECT_EQ(VerseTimingTable::entryName(2), "002.pos");
    EXPECT_EQ(VerseTimingTable::entryName(114), "114.pos");
}

TEST(VerseTimingEntry, ShortEntriesReadZerosAndLongEntriesAreCut) {
    const Bytes two = VerseTimingTable::encode({{10, 20}, {30, 40}});
    EXPECT_EQ(VerseTimingTable::parse(two, 4),
              (std::vector<VerseTiming>{{10, 20}, {30, 40}, {0, 0}, {0, 0}}));
    EXPECT_EQ(VerseTimingTable::parse(two, 1), (std::vector<VerseTiming>{{10, 20}}));
    // A record cut inside keeps the bytes it has; the missing ones read as 0.
    const Bytes wide = VerseTimingTable::encode({{10, 20}, {30, 0x01020304}});
    EXPECT_EQ(VerseTimingTable::parse(std::span(wide).first(14), 2),
              (std::vector<VerseTiming>{{10, 20}, {30, 0x0304}}));
    EXPECT_TRUE(VerseTimingTable::parse(two, 0).empty());
}

TEST(VerseTimingTableRead, SurasTwoAndNineReadTheirRecordCounts) {
    ScratchFolder folder;
    // Sura 2's entry is exact; sura 9's carries ten extra records that are ignored.
    const std::string path = writePosArchive(folder, {{2, VerseTimingTable::encode(steadyTimings(287))},
                                                      {9, VerseTimingTable::encode(steadyTimings(139))}});
    const auto before = std::distance(std::filesystem::directory_iterator(folder.path()), {});

    auto sura2 = VerseTimingTable::read(path, 2);
    ASSERT_TRUE(sura2.ok());
    ASSERT_EQ(sura2.value().size(), 287u);
    EXPECT_EQ(sura2.value()[0], (VerseTiming{0, 900}));
    EXPECT_EQ(sura2.value()[286], (VerseTiming{286000, 286900}));

    auto sura9 = VerseTimingTable::read(path, 9);
    ASSERT_TRUE(sura9.ok());
    ASSERT_EQ(sura9.value().size(), 129u);
    EXPECT_EQ(sura9.value()[128], (VerseTiming{128000, 128900}));

    // Nothing is left beside the archive.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), before);
}

TEST(VerseTimingTableRead, MissingEntryGivesZerosAndBadInputsAreErrors) {
    ScratchFolder folder;
    const std::string path = writePosArchive(folder, {{1, VerseTimingTable::encode(steadyTimings(3))}});
    auto sura1 = VerseTimingTable::read(path, 1);
    ASSERT_TRUE(sura1.ok());
    ASSERT_EQ(sura1.value().size(), 7u);
    EXPECT_EQ(sura1.value()[2], (VerseTiming{2000, 2900}));
    EXPECT_EQ(sura1.value()[3], (VerseTiming{}));

    auto absent = VerseTimingTable::read(path, 114);
    ASSERT_TRUE(absent.ok());
    EXPECT_EQ(absent.value(), std::vector<VerseTiming>(7));

    EXPECT_FALSE(VerseTimingTable::read(path, 0).ok());
    EXPECT_FALSE(VerseTimingTable::read(path, 115).ok());
    EXPECT_FALSE(VerseTimingTable::read(folder.file("no-such.dat"), 2).ok());
    const std::string garbage = folder.write("garbage.dat", "not an archive at all");
    EXPECT_FALSE(VerseTimingTable::read(garbage, 2).ok());
}

TEST(VerseTimingEntry, SeededRandomEntriesAlwaysGiveCountRecords) {
    std::mt19937 random(8);
    for (int round = 0; round < 500; ++round) {
        Bytes entry(random() % 200);
        for (uint8_t& byte : entry) {
            byte = static_cast<uint8_t>(random());
        }
        const int count = static_cast<int>(random() % 40) - 5;
        const std::vector<VerseTiming> records = VerseTimingTable::parse(entry, count);
        ASSERT_EQ(records.size(), static_cast<size_t>(std::max(count, 0)));
        // Re-encoding gives back the entry's front, zero-padded.
        const Bytes again = VerseTimingTable::encode(records);
        for (size_t i = 0; i < again.size(); ++i) {
            ASSERT_EQ(again[i], i < entry.size() ? entry[i] : 0) << round << " " << i;
        }
    }
}

}  // namespace
}  // namespace lumora

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "codec/archivereader.h"
#include "codec/archivewriter.h"
#include "codec/codecerrors.h"
#include "codec/huffmancodec.h"
#include "support/scratchfolder.h"

namespace lumora {
namespace {

using Bytes = std::vector<uint8_t>;
using test::ScratchFolder;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// An archive laid out by hand: the entries' bytes, the directory text, and the trailer text.
Bytes handMade(const std::vector<Bytes>& entries, const std::string& directory, const std::string& trailer) {
    Bytes archive;
    for (const Bytes& entry : entries) {
        archive.insert(archive.end(), entry.begin(), entry.end());
    }
    archive.insert(archive.end(), directory.begin(), directory.end());
    archive.insert(archive.end(), trailer.begin(), trailer.end());
    return archive;
}

Bytes filled(size_t size, uint8_t first) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(first + i);
    }
    return bytes;
}

Bytes storedEntry(const Bytes& archive, const std::string& name) {
    auto entry = ArchiveReader::extractFromBytes(archive, name, true);
    EXPECT_TRUE(entry.ok()) << entry.error().description;
    EXPECT_TRUE(entry.ok() && entry.value().found) << name;
    return entry.ok() ? entry.value().bytes : Bytes{};
}

TEST(ArchiveReaderLayout, EntriesLieInDirectoryOrderFromTheFirstByte) {
    const Bytes a = filled(120, 1);
    const Bytes b = filled(75, 200);
    const std::string directory = "2:a.txt:b.txt:x:x:120:75:";
    // Blanks before, after or around the number give the same directory length.
    for (const std::string trailer : {"        25", "25        ", "   25     ", "0000000025"}) {
        const Bytes archive = handMade({a, b}, directory, trailer);
        EXPECT_EQ(storedEntry(archive, "a.txt"), a) << trailer;
        EXPECT_EQ(storedEntry(archive, "b.txt"), b) << trailer;
        auto entries = ArchiveReader::listBytes(archive);
        ASSERT_TRUE(entries.ok());
        ASSERT_EQ(entries.value().size(), 2u);
        EXPECT_EQ(entries.value()[1].name, "b.txt");
        EXPECT_EQ(entries.value()[1].byteOffset, 120u);
        EXPECT_EQ(entries.value()[1].storedSize, 75u);
    }
}

TEST(ArchiveReaderLookup, NamesMatchOnlyWholeAndExactly) {
    const Bytes one = bytesOf("one");
    const Bytes two = bytesOf("two");
    const Bytes archive = handMade({one, two}, "2:001.txt:01.txt:x:120:3:3:", "        27");
    EXPECT_EQ(storedEntry(archive, "01.txt"), two);
    EXPECT_EQ(storedEntry(archive, "001.txt"), one);

    const Bytes onlyLong = handMade({one}, "1:001.txt:x:3:", "        14");
    for (const std::string absent : {"01.txt", "1.txt", "001.TXT", "x", "3", "001.txt:x"}) {
        auto decoded = ArchiveReader::extractFromBytes(onlyLong, absent, false);
        ASSERT_TRUE(decoded.ok()) << absent;
        EXPECT_FALSE(decoded.value().found) << absent;
        auto stored = ArchiveReader::extractFromBytes(onlyLong, absent, true);
        ASSERT_TRUE(stored.ok()) << absent;
        EXPECT_FALSE(stored.value().found) << absent;
    }
}

TEST(ArchiveReaderLookup, AbsentNamesOnDiskAreFileNotFoundOrAnError) {
    ScratchFolder folder;
    ArchiveWriter writer;
    writer.addEntry("about.htm", bytesOf("<html>about</html>"), false);
    writer.addEntry("002.pos", Bytes(16, 1), true);
    const std::string path = folder.file("main1.dat");
    ASSERT_TRUE(writer.write(path).ok());

    auto found = ArchiveReader::extractFile(path, "about.htm");
    ASSERT_TRUE(found.ok());
    EXPECT_TRUE(found.value().found);
    EXPECT_EQ(found.value().bytes, bytesOf("<html>about</html>"));

    auto absent = ArchiveReader::extractFile(path, "ABOUT.HTM");
    ASSERT_TRUE(absent.ok());
    EXPECT_FALSE(absent.value().found);
    EXPECT_EQ(std::string(kFileNotFound), "filenotfound");

    auto stored = ArchiveReader::extractStoredFile(path, "002.pos");
    ASSERT_TRUE(stored.ok());
    EXPECT_EQ(stored.value(), Bytes(16, 1));
    auto storedAbsent = ArchiveReader::extractStoredFile(path, "003.pos");
    ASSERT_FALSE(storedAbsent.ok());
    EXPECT_NE(storedAbsent.error().description.find("003.pos"), std::string::npos);
}

TEST(ArchiveReaderFailures, DamageIsAnErrorNamingItsStep) {
    const Bytes entry = bytesOf("data");
    struct Case {
        Bytes archive;
        int step;
    };
    const std::vector<Case> cases = {
        {bytesOf("short"), 1},
        {handMade({entry}, "1:a:x:4:", "   twelve "), 1},
        {handMade({entry}, "1:a:x:4:", "      9999"), 2},
        {handMade({entry}, "1:a:x:4:", "        90"), 2},
        {handMade({entry}, "one:a:x:4:", "        10"), 3},
        {handMade({entry}, "5:a:x:4:", "         8"), 5},
        {handMade({entry}, "2:b:a:x", "         7"), 6},
        {handMade({entry}, "1:a:x:four:", "        11"), 7},
        {handMade({entry}, "1:a:x:", "         6"), 7},
        // The size would run into the directory.
        {handMade({entry}, "1:a:x:5:", "         8"), 8},
        // A refused stream identification.
        {handMade({bytesOf("HE5\r")}, "1:a:x:4:", "         8"), 9},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        auto result = ArchiveReader::extractFromBytes(cases[i].archive, "a", false);
        ASSERT_FALSE(result.ok()) << "case " << i;
        EXPECT_EQ(result.error().step, cases[i].step) << "case " << i << ": " << result.error().description;
        EXPECT_EQ(result.error().number, kCodecErrorNumber) << "case " << i;
    }
}

TEST(ArchiveReaderFailures, MessagesHaveTheFixedForm) {
    ScratchFolder folder;
    auto missing = ArchiveReader::extractFile(folder.file("absent.dat"), "a.txt");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, kFileNotFoundNumber);
    EXPECT_EQ(ArchiveReader::failureMessage(missing.error()),
              "Error 53 (File not found: " + folder.file("absent.dat") +
                  ") in procedure ExtractFile of Module MemModule 1");

    const Bytes archive = handMade({bytesOf("HE5\r")}, "1:a:x:4:", "         8");
    auto refused = ArchiveReader::extractFromBytes(archive, "a", false);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(ArchiveReader::failureMessage(refused.error()),
              "Error -2147221504 (The data either was not compressed with HE3 or is corrupt (identification "
              "string not found)) in procedure ExtractFile of Module MemModule 9");
}

TEST(ArchiveReaderFailures, DirectoryLongerThanTheReaderTakesIsRefused) {
    ArchiveWriter writer;
    for (int i = 0; i < 400; ++i) {
        writer.addEntry("a-long-entry-name-" + std::to_string(i) + ".txt", Bytes{1}, true);
    }
    ASSERT_FALSE(writer.validate().ok());
    const Bytes archive = writer.build();
    auto entry = ArchiveReader::extractFromBytes(archive, "a-long-entry-name-1.txt", true);
    ASSERT_FALSE(entry.ok());
    EXPECT_EQ(entry.error().step, 2);
}

TEST(ArchiveWriterOutput, RoundTripsAndIsDeterministic) {
    std::mt19937 random(5);
    ArchiveWriter writer;
    std::vector<std::pair<std::string, Bytes>> entries;
    for (int i = 0; i < 30; ++i) {
        Bytes data(std::uniform_int_distribution<size_t>(0, 3000)(random));
        for (uint8_t& byte : data) {
            byte = static_cast<uint8_t>('a' + random() % (1 + i));
        }
        const std::string name = (i < 10 ? "00" : "0") + std::to_string(i) + ".txt";
        writer.addEntry(name, data, i % 3 == 0);
        entries.emplace_back(name, data);
    }
    ASSERT_TRUE(writer.validate().ok());
    const Bytes archive = writer.build();
    EXPECT_EQ(archive, writer.build());
    for (size_t i = 0; i < entries.size(); ++i) {
        auto entry = ArchiveReader::extractFromBytes(archive, entries[i].first, i % 3 == 0);
        ASSERT_TRUE(entry.ok());
        ASSERT_TRUE(entry.value().found);
        EXPECT_EQ(entry.value().bytes, entries[i].second) << entries[i].first;
    }
    // The first entry starts at byte 0 and the last ends right before the directory.
    auto listed = ArchiveReader::listBytes(archive);
    ASSERT_TRUE(listed.ok());
    EXPECT_EQ(listed.value().front().byteOffset, 0u);
    const ArchiveEntryInfo& last = listed.value().back();
    const std::string tail(archive.end() - 10, archive.end());
    EXPECT_EQ(last.byteOffset + last.storedSize, archive.size() - 10 - std::stoul(tail));
}

TEST(ArchiveWriterOutput, RefusesNamesTheDirectoryCannotHold) {
    for (const std::string bad : {"", "a:b", "dir/a.txt", "dir\\a.txt", "a\nb"}) {
        ArchiveWriter writer;
        writer.addEntry(bad, Bytes{1}, true);
        EXPECT_FALSE(writer.validate().ok()) << bad;
    }
    ArchiveWriter twice;
    twice.addEntry("a.txt", Bytes{1}, true);
    twice.addEntry("a.txt", Bytes{2}, true);
    EXPECT_FALSE(twice.validate().ok());

    ScratchFolder folder;
    const std::string path = folder.write("keep.dat", "earlier archive");
    EXPECT_FALSE(twice.write(path).ok());
    EXPECT_EQ(ScratchFolder::read(path), bytesOf("earlier archive"));
}

TEST(ArchiveExtractTo, ReplacesTheFileAndRefusesUnsafeOrDamagedEntries) {
    ScratchFolder folder;
    ArchiveWriter writer;
    writer.addEntry("a.txt", bytesOf("fresh"), false);
    writer.addEntry("raw.bin", bytesOf("raw"), true);
    Bytes damaged = HuffmanCodec::encode(bytesOf("a text long enough to be cut short"));
    damaged.erase(damaged.end() - 2, damaged.end());
    writer.addEntry("cut.txt", damaged, true);
    const std::string archive = folder.file("x.dat");
    ASSERT_TRUE(writer.write(archive).ok());

    const std::string target = folder.write("a.txt", std::string(100, '-'));
    ASSERT_TRUE(ArchiveReader::extractFileTo(archive, "a.txt", folder.path().string(), false).ok());
    EXPECT_EQ(ScratchFolder::read(target), bytesOf("fresh"));
    ASSERT_TRUE(ArchiveReader::extractFileTo(archive, "a.txt", folder.path().string(), false).ok());
    EXPECT_EQ(ScratchFolder::read(target), bytesOf("fresh"));
    ASSERT_TRUE(ArchiveReader::extractFileTo(archive, "raw.bin", folder.path().string(), true).ok());
    EXPECT_EQ(ScratchFolder::read(folder.file("raw.bin")), bytesOf("raw"));

    EXPECT_FALSE(ArchiveReader::extractFileTo(archive, "../a.txt", folder.path().string(), false).ok());
    EXPECT_FALSE(ArchiveReader::extractFileTo(archive, "missing.txt", folder.path().string(), false).ok());
    EXPECT_FALSE(ArchiveReader::extractFileTo(archive, "cut.txt", folder.path().string(), false).ok());
    EXPECT_FALSE(std::filesystem::exists(folder.file("cut.txt")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing.txt")));
}

TEST(ArchiveReaderRobustness, SeededDamageEndsInAnErrorOrAResult) {
    ArchiveWriter writer;
    writer.addEntry("001.txt", bytesOf("first entry, encoded with some repetition repetition"), false);
    writer.addEntry("002.pos", Bytes(40, 9), true);
    writer.addEntry("config.ini", bytesOf("[Main]\nName=x\n"), false);
    const Bytes sound = writer.build();
    std::mt19937 random(77);
    // Every cut, then random bytes changed anywhere, with most changes in the directory and trailer.
    std::vector<Bytes> damaged;
    for (size_t size = 0; size < sound.size(); ++size) {
        damaged.emplace_back(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(size));
    }
    const std::string alphabet = "0123456789: \tax";
    for (int round = 0; round < 4000; ++round) {
        Bytes archive = sound;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const size_t from = (random() % 4 == 0) ? 0 : archive.size() - 60;
            const size_t at = std::uniform_int_distribution<size_t>(from, archive.size() - 1)(random);
            archive[at] = static_cast<uint8_t>(alphabet[random() % alphabet.size()]);
        }
        damaged.push_back(std::move(archive));
    }
    for (const Bytes& archive : damaged) {
        for (const std::string name : {"001.txt", "002.pos", "config.ini"}) {
            auto decoded = ArchiveReader::extractFromBytes(archive, name, false);
            auto stored = ArchiveReader::extractFromBytes(archive, name, true);
            if (decoded.ok() && decoded.value().found && stored.ok() && stored.value().found) {
                // Whatever was found lies in the entry data, before the directory.
                EXPECT_LE(stored.value().bytes.size(), archive.size());
            }
        }
        auto listed = ArchiveReader::listBytes(archive);
        if (listed.ok()) {
            for (const ArchiveEntryInfo& entry : listed.value()) {
                EXPECT_LE(entry.byteOffset + entry.storedSize, archive.size() - 10);
            }
        }
    }
}

}  // namespace
}  // namespace lumora

// lumora-pack as its users run it: a real process, real files, its output, messages and exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "codec/huffmancodec.h"
#include "codec/versetimingtable.h"
#include "support/scratchfolder.h"
#include "tools/packrun.h"

namespace lumora {
namespace {

using Bytes = std::vector<uint8_t>;
using test::PackRun;
using test::ScratchFolder;
using test::pack;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

bool oneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

TEST(LumoraPackArchives, CreateListCatAndExtractRoundTripFiles) {
    ScratchFolder folder;
    std::mt19937 random(3);
    Bytes binary(5000);
    for (uint8_t& byte : binary) {
        byte = static_cast<uint8_t>(random() % 7 == 0 ? random() : 'k');
    }
    std::filesystem::create_directory(folder.file("in"));
    folder.write("in/001.txt", "In the name of the text, a text of some length.\n");
    folder.write("in/data.bin", binary);
    folder.write("in/empty.txt", "");

    for (const bool stored : {false, true}) {
        std::vector<std::string> create{"create", "x.dat"};
        if (stored) {
            create.push_back("--stored");
        }
        for (const char* name : {"in/001.txt", "in/data.bin", "in/empty.txt"}) {
            create.push_back(name);
        }
        ASSERT_EQ(pack(folder, create).status, 0);

        const PackRun list = pack(folder, {"list", "x.dat"});
        ASSERT_EQ(list.status, 0) << list.err;
        const size_t binaryStored = stored ? binary.size() : HuffmanCodec::encode(binary).size();
        EXPECT_NE(list.out.find("001.txt\t"), std::string::npos) << list.out;
        EXPECT_NE(list.out.find("data.bin\t" + std::to_string(binaryStored) + "\n"), std::string::npos);
        EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 3);

        const std::vector<std::string> asStored =
            stored ? std::vector<std::string>{"--stored"} : std::vector<std::string>{};
        std::vector<std::string> cat{"cat", "x.dat", "data.bin"};
        cat.insert(cat.end(), asStored.begin(), asStored.end());
        const PackRun shown = pack(folder, cat);
        ASSERT_EQ(shown.status, 0) << shown.err;
        EXPECT_EQ(bytesOf(shown.out), binary);

        std::filesystem::create_directory(folder.file("out"));
        folder.write("out/001.txt", std::string(300, '='));  // replaced, not merged
        std::vector<std::string> extract{"extract", "x.dat", "001.txt", "data.bin", "empty.txt", "-C", "out"};
        extract.insert(extract.end(), asStored.begin(), asStored.end());
        const PackRun extracted = pack(folder, extract);
        ASSERT_EQ(extracted.status, 0) << extracted.err;
        for (const char* name : {"001.txt", "data.bin", "empty.txt"}) {
            EXPECT_EQ(ScratchFolder::read(folder.file(std::string("out/") + name)),
                      ScratchFolder::read(folder.file(std::string("in/") + name)))
                << name;
        }
    }
}

TEST(LumoraPackArchives, AbsentEntriesAndDamageGiveOneLineNamingTheFile) {
    ScratchFolder folder;
    folder.write("a.txt", "a text that is long enough to compress, compress, compress.");
    ASSERT_EQ(pack(folder, {"create", "x.dat", "a.txt"}).status, 0);

    PackRun absent = pack(folder, {"cat", "x.dat", "A.TXT"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(oneLine(absent.err)) << absent.err;
    EXPECT_NE(absent.err.find("x.dat"), std::string::npos);
    EXPECT_NE(absent.err.find("A.TXT"), std::string::npos);

    // The other names are still extracted; the status tells of the one that failed.
    const PackRun partly = pack(folder, {"extract", "x.dat", "nope.txt", "a.txt"});
    EXPECT_EQ(partly.status, 1);
    EXPECT_TRUE(std::filesystem::exists(folder.file("a.txt")));

    const Bytes archive = ScratchFolder::read(folder.file("x.dat"));
    // Cut into the trailer: the directory cannot be found.
    folder.write("cut.dat", Bytes(archive.begin(), archive.end() - 3));
    // The entry's stream cut short inside an archive that is otherwise sound.
    Bytes stream =
        HuffmanCodec::encode(bytesOf("a text that is long enough to compress, compress, compress."));
    stream.erase(stream.end() - 3, stream.end());
    folder.write("short.txt", stream);
    ASSERT_EQ(pack(folder, {"create", "bad.dat", "--stored", "short.txt"}).status, 0);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"list", "cut.dat"},
                                               {"cat", "cut.dat", "a.txt"},
                                               {"cat", "bad.dat", "short.txt"},
                                               {"extract", "bad.dat", "short.txt", "-C", "."},
                                               {"list", "missing.dat"},
                                               {"create", "no-such-folder/new.dat", "a.txt"}}) {
        const PackRun run = pack(folder, args);
        EXPECT_EQ(run.status, 1) << args[0] << " " << args[1];
        EXPECT_TRUE(oneLine(run.err)) << run.err;
        EXPECT_NE(run.err.find(args[1]), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_NE(pack(folder, {"cat", "bad.dat", "short.txt"}).err.find("damaged"), std::string::npos);
}

TEST(LumoraPackCommandLine, HelpUsageAndUnknownCommands) {
    ScratchFolder folder;
    const PackRun help = pack(folder, {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"create", "list", "cat", "extract", "timings"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    const PackRun commandHelp = pack(folder, {"extract", "--help"});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_NE(commandHelp.out.find("-C DIR"), std::string::npos);

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"list"},
                                               {"cat", "x.dat"},
                                               {"create", "x.dat"},
                                               {"extract", "x.dat", "a", "-C"},
                                               {"list", "x.dat", "--stored"},
                                               {"timings", "out.pos"}}) {
        const PackRun run = pack(folder, args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(pack(folder, {"extract", "x.dat", "a", "-C", "no-such-folder"}).status, 1);
}

TEST(LumoraPackTimings, RowsBecomeAnEntryThatTheTableReads) {
    ScratchFolder folder;
    folder.write("rows.csv",
                 "record,start_ms,end_ms\r\n"
                 "# the opening invocation first\n"
                 "0, 0, 4100\n"
                 "\n"
                 "2,9000,-1\n"
                 "1,4700,8400\n");
    const PackRun run = pack(folder, {"timings", "114.pos", "rows.csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ScratchFolder::read(folder.file("114.pos")),
              VerseTimingTable::encode({{0, 4100}, {4700, 8400}, {9000, -1}}));

    // A byte order mark before the first row is not part of it.
    folder.write("bom.csv", "\xEF\xBB\xBF" "0,0,4100\n1,4700,8400\n");
    const PackRun bom = pack(folder, {"timings", "bom.pos", "bom.csv"});
    ASSERT_EQ(bom.status, 0) << bom.err;
    EXPECT_EQ(ScratchFolder::read(folder.file("bom.pos")), VerseTimingTable::encode({{0, 4100}, {4700, 8400}}));

    ASSERT_EQ(pack(folder, {"create", "pos.dat", "--stored", "114.pos"}).status, 0);
    auto table = VerseTimingTable::read(folder.file("pos.dat"), 114);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.value()[1], (VerseTiming{4700, 8400}));
    EXPECT_EQ(table.value()[3], (VerseTiming{}));
}

TEST(LumoraPackTimings, BadRowsAreRefusedWithTheirLine) {
    ScratchFolder folder;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0,0,10\n1,10\n", "rows.csv:2:"},
        {"0,0,10\n0,10,20\n", "rows.csv:2:"},
        {"0,0,10\n2,10,20\n", "record 1 is missing"},
        {"0,0,x\n", "rows.csv:1:"},
        {"0,0,99999999999\n", "rows.csv:1:"},
        {"-1,0,10\n", "rows.csv:1:"},
        // A damaged first row is no header: record 6 would be lost without a word.
        {"6x,60,70\n0,0,10\n1,10,20\n2,20,30\n3,30,40\n4,40,50\n5,50,60\n", "rows.csv:1:"},
        {"", "no rows"},
    };
    folder.write("114.pos", "earlier");
    for (const auto& [rows, message] : cases) {
        folder.write("rows.csv", rows);
        const PackRun run = pack(folder, {"timings", "114.pos", "rows.csv"});
        EXPECT_EQ(run.status, 1) << rows;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(ScratchFolder::read(folder.file("114.pos")), bytesOf("earlier")) << rows;
    }
}

}  // namespace
}  // namespace lumora

// lumora-pack mp3info and practice, run as the program they are, against the frame index and decoder.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "audio/joinedframeindex.h"
#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "codec/archivewriter.h"
#include "codec/versetimingtable.h"
#include "support/scratchfolder.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

struct PackRun {
    int status = -1;
    std::string out;
};

PackRun runPack(const std::string& arguments) {
    const char* folder = std::getenv("LUMORA_PROGRAM_FOLDER");
    const std::string command =
        std::string(folder != nullptr ? folder : ".") + "/lumora-pack " + arguments + " 2>/dev/null";
    PackRun run;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
        run.out.append(buffer, got);
    }
    const int status = pclose(pipe.release());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Mp3InfoCommand, PrintsWhatTheIndexSays) {
    RecordingSpec spec = RecordingSpec::mono22(4000, true);
    spec.id3v2 = true;
    const Recording recording = makeRecording(spec);
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(recording.path);
    ASSERT_TRUE(index.ok());

    const PackRun run = runPack("mp3info '" + recording.path + "' --at 0 --at 1234 --at 3999 --at 999999");
    ASSERT_EQ(run.status, 0);
    std::ostringstream expected;
    expected << "length_ms 4000\nsample_rate 22050\nchannels 1\nframes " << index.value().frameCount() << '\n'
             << "0 " << index.value().byteOffsetAtMs(0) << '\n'
             << "1234 " << index.value().byteOffsetAtMs(1234) << '\n'
             << "3999 " << index.value().byteOffsetAtMs(3999) << '\n'
             << "999999 " << index.value().frameOffsets().back() << '\n';
    EXPECT_EQ(run.out, expected.str());
}

TEST(Mp3InfoCommand, RefusesBadTimesAndFilesThatAreNoMp3) {
    const std::string path = makeRecording(RecordingSpec::mono22(500)).path;
    EXPECT_EQ(runPack("mp3info '" + path + "' --at -5").status, 2);
    EXPECT_EQ(runPack("mp3info '" + path + "' --at 12ms").status, 2);
    EXPECT_EQ(runPack("mp3info").status, 2);
    EXPECT_EQ(runPack("mp3info /nonexistent/lumora.mp3").status, 1);
    const char* source = std::getenv("LUMORA_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(runPack(std::string("mp3info '") + source + "/CMakeLists.txt'").status, 1);
}

TEST(Mp3InfoCommand, PrintsAPerVerseSurasRecordsAsOneRecording) {
    const std::vector<Recording> verses = makeVerseRecordings({480, 1020, 760, 330});
    ScratchFolder folder;
    // Sura 108 without its own opening file (the collection's 001001.mp3 opens it) and without verse 2.
    const auto copy = [&folder](const Recording& from, const std::string& name) {
        return folder.write(name, readFileBytes(from.path));
    };
    const std::vector<std::string> paths{copy(verses[0], "001001.mp3"), copy(verses[1], "108001.mp3"), "",
                                         copy(verses[3], "108003.mp3")};
    copy(verses[2], "107001.mp3");  // another sura's verse is no part of it
    const JoinedFrameIndex joined = JoinedFrameIndex::fromFiles(paths);
    const auto times = joined.partTimesMs();

    const std::string at = std::to_string(times[3].startMs);
    const PackRun run = runPack("mp3info '" + folder.path().string() + "' --sura 108 --at " + at);
    ASSERT_EQ(run.status, 0) << run.out;
    std::ostringstream expected;
    expected << "sura 108\nrecords 4\nlength_ms " << joined.lengthMs() << "\nsample_rate 22050\nchannels 1\n"
             << "0 0 " << times[0].endMs << " 001001.mp3\n"
             << "1 " << times[1].startMs << ' ' << times[1].endMs << " 108001.mp3\n"
             << "2 " << times[2].startMs << ' ' << times[2].endMs << " 108002.mp3 missing\n"
             << "3 " << times[3].startMs << ' ' << times[3].endMs << " 108003.mp3\n"
             << at << " 108003.mp3 " << joined.part(3).index.byteOffsetAtSample(0) << '\n';
    EXPECT_EQ(run.out, expected.str());

    // A file that is no MP3 is named and fails the run; so does a sura without a single file.
    folder.write("108002.mp3", std::string("not an MP3"));
    const PackRun damaged = runPack("mp3info '" + folder.path().string() + "' --sura 108");
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.out.find("2 " + std::to_string(times[2].startMs) + ' ' + std::to_string(times[2].startMs) +
                               " 108002.mp3 damaged: "),
              std::string::npos)
        << damaged.out;
    EXPECT_EQ(runPack("mp3info '" + folder.path().string() + "' --sura 9").status, 1);
    EXPECT_EQ(runPack("mp3info '" + folder.path().string() + "' --sura 115").status, 2);
    EXPECT_EQ(runPack("mp3info '" + folder.path().string() + "'").status, 2);
}

// A reciter's folder with 002.mp3: records 1 to 3 are 400 ms tones from 500 ms on, 500 ms apart.
void makeReciterFolder(const ScratchFolder& folder, const std::string& timingsFolder) {
    RecordingSpec spec = RecordingSpec::mono22();
    spec.segments = {Segment::silence(500)};
    for (double hz : {330.0, 440.0, 550.0}) {
        spec.segments.push_back(Segment::tone(hz, 400));
        spec.segments.push_back(Segment::silence(100));
    }
    std::filesystem::create_directories(folder.file("reciter"));
    std::filesystem::copy_file(makeRecording(spec).path, folder.file("reciter/002.mp3"));
    std::filesystem::create_directories(timingsFolder);
    ArchiveWriter pos;
    pos.addEntry(VerseTimingTable::entryName(2), VerseTimingTable::encode({{0, 500}, {500, 1000}, {1000, 1500}, {1500, 2000}}),
                 true);
    ASSERT_TRUE(pos.write(timingsFolder + "/pos.dat").ok());
}

int64_t decodedFrames(const std::string& path) {
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    if (!index) return -1;
    Mp3Decoder decoder;
    if (!decoder.open(path, index.value()).ok()) return -1;
    std::vector<float> buffer(4096);
    int64_t frames = 0;
    for (int64_t got; (got = decoder.read(buffer.data(), 4096)) > 0;) frames += got;
    return frames;
}

TEST(PracticeCommand, WritesTheRangeWithItsPausesAndRepeats) {
    ScratchFolder folder;
    makeReciterFolder(folder, folder.file("reciter"));
    const std::string out = folder.file("practice.mp3");
    const PackRun run = runPack("practice '" + folder.file("reciter") +
                                "' --sura 2 --from 1 --to 3 --repeat 2 --pause-verse 0.5 --pause-range 1 '" + out + "'");
    ASSERT_EQ(run.status, 0);
    // Each pass: 500..1800 ms of the recording (1.3 s), two pauses of 0.5 s, then 1 s.
    EXPECT_NEAR(static_cast<double>(decodedFrames(out)), 2 * 3.3 * 22050, 576.0);
}

TEST(PracticeCommand, TakesTheProgramFoldersTimingsAndRefusesBadRequests) {
    ScratchFolder folder;
    makeReciterFolder(folder, folder.file("program/data"));
    const std::string reciter = "'" + folder.file("reciter") + "' --program-folder '" + folder.file("program") + "'";
    const std::string out = folder.file("slow.mp3");
    ASSERT_EQ(runPack("practice " + reciter + " --sura 2 --from 2 --to 2 --speed 0.5 '" + out + "'").status, 0);
    // Verse 2 is heard from 1000 to 1300 ms: 300 ms at half speed.
    EXPECT_NEAR(static_cast<double>(decodedFrames(out)), 0.6 * 22050, 576.0);

    EXPECT_EQ(runPack("practice " + reciter + " --sura 2 --from 1 --to 2 --speed 2 x.mp3").status, 2);
    EXPECT_EQ(runPack("practice " + reciter + " --sura 2 --from 1 --to 2 x.wav").status, 2);
    EXPECT_EQ(runPack("practice " + reciter + " --sura 2 --from 3 --to 1 '" + folder.file("x.mp3") + "'").status, 1);
    EXPECT_EQ(runPack("practice " + reciter + " --sura 3 --from 1 --to 1 '" + folder.file("x.mp3") + "'").status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.mp3")));
}

// A timing archive holding sura `sura`'s entry: records 1 to 3 are verses from 500 ms on, 500 ms apart.
void writeTimings(const std::string& path, int sura) {
    ArchiveWriter pos;
    pos.addEntry(VerseTimingTable::entryName(sura),
                 VerseTimingTable::encode({{0, 500}, {500, 1000}, {1000, 1500}, {1500, 2000}}), true);
    ASSERT_TRUE(pos.write(path).ok());
}

// The command finds a sura's recording and times as the window does: a folder of verse files, a
// file named in capitals, and the program folder's times when the folder's own archive lacks the sura.
TEST(PracticeCommand, FindsTheRecordingAndTimesAsTheWindowDoes) {
    ScratchFolder folder;
    makeReciterFolder(folder, folder.file("program/data"));
    const std::vector<Recording> verses = makeVerseRecordings({500, 600, 700, 800});
    std::vector<std::string> paths;
    std::filesystem::create_directories(folder.file("verses"));
    for (size_t k = 0; k < verses.size(); ++k) {
        paths.push_back(folder.file("verses/00200" + std::to_string(k) + ".mp3"));
        std::filesystem::copy_file(verses[k].path, paths.back());
    }
    const auto times = JoinedFrameIndex::fromFiles(paths).partTimesMs();
    const double perVerseSeconds = (times[3].endMs - 200 - times[1].startMs) / 1000.0;
    std::filesystem::create_directories(folder.file("capitals"));
    std::filesystem::copy_file(folder.file("reciter/002.mp3"), folder.file("capitals/002.MP3"));
    std::filesystem::create_directories(folder.file("own"));
    std::filesystem::copy_file(folder.file("reciter/002.mp3"), folder.file("own/002.mp3"));
    writeTimings(folder.file("own/pos.dat"), 3);

    const struct {
        const char* reciter;
        double seconds;
    } cases[] = {{"verses", perVerseSeconds}, {"capitals", 1.3}, {"own", 1.3}};
    for (const auto& c : cases) {
        const std::string out = folder.file(std::string(c.reciter) + ".mp3");
        const PackRun run = runPack("practice '" + folder.file(c.reciter) + "' --program-folder '" +
                                    folder.file("program") + "' --sura 2 --from 1 --to 3 '" + out + "'");
        EXPECT_EQ(run.status, 0) << c.reciter;
        EXPECT_NEAR(static_cast<double>(decodedFrames(out)), c.seconds * 22050, 576.0) << c.reciter;
    }
}

// Nothing to hear, or nowhere to put it, is a failure that leaves no file behind.
TEST(PracticeCommand, FailsAndWritesNothingWithoutTimesOrAPlaceForTheTrack) {
    ScratchFolder folder;
    makeReciterFolder(folder, folder.file("reciter"));
    std::filesystem::create_directories(folder.file("untimed"));
    std::filesystem::copy_file(folder.file("reciter/002.mp3"), folder.file("untimed/002.mp3"));
    std::filesystem::create_directories(folder.file("program/data"));
    writeTimings(folder.file("program/data/pos.dat"), 3);  // no times of sura 2 anywhere
    const std::vector<uint8_t> recording = readFileBytes(folder.file("reciter/002.mp3"));

    const struct {
        const char* reciter;
        std::string out;
    } cases[] = {{"untimed", folder.file("untimed.mp3")},
                 {"reciter", folder.file("reciter/002.mp3")},
                 {"reciter", folder.file("missing/track.mp3")}};
    for (const auto& c : cases) {
        const PackRun run = runPack("practice '" + folder.file(c.reciter) + "' --program-folder '" +
                                    folder.file("program") + "' --sura 2 --from 1 --to 3 '" + c.out + "'");
        EXPECT_EQ(run.status, 1) << c.out;
        EXPECT_EQ(run.out, "") << c.out;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("untimed.mp3")));
    EXPECT_EQ(readFileBytes(folder.file("reciter/002.mp3")), recording);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("reciter")), {}), 2);
}

// Interrupted while it writes (Ctrl-C, a kill), the command leaves neither a track nor its temporary
// file behind, and fails.
TEST(PracticeCommand, AnInterruptLeavesNoFileBehind) {
    ScratchFolder folder;
    makeReciterFolder(folder, folder.file("reciter"));
    std::filesystem::create_directories(folder.file("out"));
    const char* programFolder = std::getenv("LUMORA_PROGRAM_FOLDER");
    const std::string command = "exec " + std::string(programFolder != nullptr ? programFolder : ".") +
                                "/lumora-pack practice '" + folder.file("reciter") +
                                "' --sura 2 --from 1 --to 3 --repeat 1000 --pause-range 3600 '" +
                                folder.file("out/long.mp3") + "' 2>/dev/null";
    for (const int signal : {SIGINT, SIGTERM}) {
        const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
        // Once the temporary file is there the track is being written (a thousand hours of it).
        int status = 0;
        bool ended = false;
        while (std::filesystem::is_empty(folder.file("out")) && !ended) {
            ended = waitpid(pid, &status, WNOHANG) == pid;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_FALSE(ended) << "the command ended before it wrote";
        ASSERT_EQ(kill(pid, signal), 0);
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(!WIFEXITED(status) || WEXITSTATUS(status) != 0) << signal;
        EXPECT_TRUE(std::filesystem::is_empty(folder.file("out"))) << signal;
        std::filesystem::remove_all(folder.file("out"));
        std::filesystem::create_directories(folder.file("out"));
    }
}

}  // namespace
}  // namespace lumora::test

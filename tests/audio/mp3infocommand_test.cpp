// lumora-pack mp3info, run as the program it is, against the frame index.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "audio/mp3frameindex.h"
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

}  // namespace
}  // namespace lumora::test

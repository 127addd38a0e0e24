#include "longrecording.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "audio/mp3frameindex.h"
#include "support/testrecordings.h"

extern char** environ;

namespace lumora::bench {

std::string longRecording(const std::string& folder, int minutes) {
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/long-" + std::to_string(minutes) + "min.mp3";
    if (std::filesystem::exists(path)) {
        return path;
    }
    // One minute: tones and noise bursts with pauses, roughly the shape of a recitation.
    test::RecordingSpec spec = test::RecordingSpec::stereo44(60000);
    spec.segments.clear();
    for (int i = 0; i < 20; ++i) {
        spec.segments.push_back(test::Segment::tone(180.0 + 25.0 * i, 1200, 0.4));
        spec.segments.push_back(test::Segment::noise(900, 0.15));
        spec.segments.push_back(test::Segment::silence(900));
    }
    ::setenv("LUMORA_TEST_CACHE", folder.c_str(), 1);
    const std::vector<uint8_t> minute = test::readFileBytes(test::makeRecording(spec).path);
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromBytes(minute.data(), minute.size());
    if (!index || index.value().frameOffsets().empty()) {
        throw std::runtime_error("cannot index the one-minute recording");
    }
    const auto audioStart = static_cast<size_t>(index.value().frameOffsets().front());
    const size_t audioBytes = minute.size() - audioStart;
    std::vector<uint8_t> infoFrame(minute.begin(), minute.begin() + static_cast<long>(audioStart));
    // The Info frame's frame and byte counts (big-endian, right after "Info" and its flags) must cover
    // every repeat, or the file would count as joined.
    const uint32_t frames = static_cast<uint32_t>(index.value().frameCount() * minutes);
    const uint32_t bytes = static_cast<uint32_t>(audioStart + audioBytes * static_cast<size_t>(minutes));
    for (size_t i = 0; i + 16 <= infoFrame.size(); ++i) {
        if (std::memcmp(&infoFrame[i], "Info", 4) == 0) {
            for (int k = 0; k < 4; ++k) {
                infoFrame[i + 8 + static_cast<size_t>(k)] = static_cast<uint8_t>(frames >> (24 - 8 * k));
                infoFrame[i + 12 + static_cast<size_t>(k)] = static_cast<uint8_t>(bytes >> (24 - 8 * k));
            }
            break;
        }
    }
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(infoFrame.data()),
                  static_cast<std::streamsize>(infoFrame.size()));
        for (int m = 0; m < minutes; ++m) {
            out.write(reinterpret_cast<const char*>(minute.data() + audioStart),
                      static_cast<std::streamsize>(audioBytes));
        }
    }
    std::filesystem::rename(temporary, path);
    return path;
}

pid_t spawn(const std::vector<std::string>& arguments, bool quiet) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t child = 0;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? child : -1;
}

// Waits for a child; its CPU seconds (user + system), or -1 when it failed.
double waitForCpu(pid_t child) {
    int status = 0;
    struct rusage usage {};
    if (child <= 0 || wait4(child, &status, 0, &usage) != child) {
        return -1;
    }
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double processCpuSeconds() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace lumora::bench

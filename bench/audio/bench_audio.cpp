// The player's three figures, each beside a baseline measured in the same run:
//   1. indexing a 60-minute recording against reading the file once (target: at most 2×);
//   2. decoding with the equalizer on, in × real time, against `mpg123 -t` on the same file (at least
//      0.8×);
//   3. CPU seconds while playing 60 s in real time to the null output with the equalizer on, against
//      GStreamer playing the same file through equalizer-10bands to a synchronised fakesink (at most 1×).

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/equalizer.h"
#include "audio/equalizersettings.h"
#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "longrecording.h"

namespace lumora::bench {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename Work>
double medianSeconds(int runs, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(secondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void readWhole(const std::string& path, std::vector<char>& buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    size_t filled = 0;
    for (ssize_t got = 1; got > 0 && filled < buffer.size();
         filled += static_cast<size_t>(std::max<ssize_t>(got, 0))) {
        got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
    }
    ::close(fd);
}

void report(const char* figure, double value, const char* unit, double baseline, const char* target,
            bool met) {
    std::printf("%-44s %10.4f %-8s baseline %10.4f  ratio %6.3f  target %s  %s\n", figure, value, unit,
                baseline, value / baseline, target, met ? "met" : "MISSED");
}

}  // namespace
}  // namespace lumora::bench

int main(int argc, char** argv) {
    using namespace lumora;
    using namespace lumora::bench;
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";  // skips the 60 s real-time figure
    const std::string folder = std::filesystem::absolute("lumora-bench-recordings").string();
    const std::string path = longRecording(folder, 60);
    std::printf("recording: %s (%.1f MB)\n", path.c_str(), double(std::filesystem::file_size(path)) / 1e6);

    // 1. Index against one read of the file (both from the page cache after a first read).
    std::vector<char> buffer(std::filesystem::file_size(path));
    readWhole(path, buffer);
    const double readSeconds = medianSeconds(7, [&] { readWhole(path, buffer); });
    int64_t frames = 0;
    const double indexSeconds = medianSeconds(7, [&] {
        Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
        frames = index ? index.value().frameCount() : -1;
    });
    std::printf("frames: %lld\n", static_cast<long long>(frames));
    report("index a 60-minute file (s)", indexSeconds, "s", readSeconds, "<= 2",
           indexSeconds <= 2 * readSeconds);

    // 2. Decode with the equalizer on, against mpg123 -t. The player's own pipeline does the work: its
    // decoder thread feeds the ring while a manual null output pulls the whole file through the
    // equalizer as fast as it can. A decode and equalize on one thread is shown beside it.
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    const double audioSeconds = double(index.value().lengthSamples()) / index.value().sampleRateHz();
    double pipelineCpu = processCpuSeconds();
    const auto decodeStart = Clock::now();
    {
        auto output = std::make_unique<NullOutput>(NullOutput::Mode::Manual);
        NullOutput* manual = output.get();
        Player player(std::move(output));
        player.openMp3File(path);
        player.enableEqualizer();
        player.setEqualizerValue(EqualizerSettings{}.gainsDb);
        player.play(0, static_cast<int32_t>(index.value().lengthMs() + 1000));
        manual->advanceMs(index.value().lengthMs() + 1000);
        if (player.isPlaying()) {
            std::printf("the player did not reach the end\n");
            return 1;
        }
    }
    const double decodeSeconds = secondsSince(decodeStart);
    pipelineCpu = processCpuSeconds() - pipelineCpu;
    const auto oneThreadStart = Clock::now();
    {
        Mp3Decoder decoder;
        (void)decoder.open(path, index.value());
        Equalizer equalizer;
        equalizer.configure(index.value().sampleRateHz(), index.value().channels());
        equalizer.setGains(EqualizerSettings{}.gainsDb);
        equalizer.setEnabled(true);
        equalizer.settle();
        std::vector<float> block(1024 * 2);
        for (int64_t got = 1; got > 0;) {
            got = decoder.read(block.data(), 1024);
            equalizer.process(block.data(), static_cast<int32_t>(got));
        }
    }
    const double oneThreadSeconds = secondsSince(oneThreadStart);
    const auto mpg123Start = Clock::now();
    const double mpg123Cpu = waitForCpu(spawn({"mpg123", "-t", "-q", path}, true));
    const double mpg123Seconds = secondsSince(mpg123Start);
    if (mpg123Cpu < 0) {
        std::printf("mpg123 did not run\n");
        return 1;
    }
    const double ours = audioSeconds / decodeSeconds;
    const double theirs = audioSeconds / mpg123Seconds;
    report("decode + EQ (x real time)", ours, "x", theirs, ">= 0.8", ours >= 0.8 * theirs);
    std::printf("  (%.1f CPU s for the pipeline, mpg123 %.1f CPU s; on one thread %.0fx real time)\n",
                pipelineCpu, mpg123Cpu, audioSeconds / oneThreadSeconds);
    if (quick) {
        return 0;
    }

    // 3. CPU while playing 60 s in real time with the equalizer on; GStreamer runs beside it.
    const pid_t gst = spawn({"gst-launch-1.0",
                             "-q",
                             "filesrc",
                             "location=" + path,
                             "!",
                             "decodebin",
                             "!",
                             "audioconvert",
                             "!",
                             "equalizer-10bands",
                             "band0=-8",
                             "band1=10",
                             "band2=10",
                             "band3=6",
                             "band4=2",
                             "band5=-4",
                             "band6=-8",
                             "band7=-10",
                             "band8=-11",
                             "band9=-11",
                             "!",
                             "fakesink",
                             "sync=true"},
                            true);
    const double cpuBefore = processCpuSeconds();
    {
        Player player(std::make_unique<NullOutput>(NullOutput::Mode::RealTime));
        player.openMp3File(path);
        player.enableEqualizer();
        player.setEqualizerValue(EqualizerSettings{}.gainsDb);
        player.play(0, 61000);
        const auto until = Clock::now() + std::chrono::seconds(60);
        // The engine's cost alone: the window's 1 ms timer belongs to the window, not to the player.
        while (Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            player.getPosition();
        }
        player.closeAll();
    }
    const double playerCpu = processCpuSeconds() - cpuBefore;
    if (gst > 0) {
        kill(gst, SIGINT);
    }
    const double gstCpu = waitForCpu(gst);
    if (gstCpu <= 0) {
        std::printf("gst-launch-1.0 did not run\n");
        return 1;
    }
    report("CPU playing 60 s with the EQ on (s)", playerCpu, "s", gstCpu, "<= 1", playerCpu <= gstCpu);
    return 0;
}

// CPU while reciting 60 s of a recording at 0.75× with the equalizer on, beside the player at 1.00× and
// beside the peer doing the same job: a GStreamer pipeline decoding the same file through `pitch
// tempo=0.75` and `equalizer-10bands` into a synchronised fakesink. Target: at most 2× the peer (the
// stretcher here does more per sample than the peer's).

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "audio/equalizersettings.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "longrecording.h"

namespace {

using lumora::bench::processCpuSeconds;
using Clock = std::chrono::steady_clock;

// The player's CPU seconds for `seconds` of wall-clock recitation at `speed` (equalizer on).
double reciteCpu(const std::string& path, double speed, int seconds) {
    const double before = processCpuSeconds();
    lumora::Player player(std::make_unique<lumora::NullOutput>(lumora::NullOutput::Mode::RealTime));
    player.openMp3File(path);
    player.setSpeed(speed);
    player.enableEqualizer();
    player.setEqualizerValue(lumora::EqualizerSettings{}.gainsDb);
    player.play(0, player.streamLength());
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        player.getPosition();
    }
    player.closeAll();
    return processCpuSeconds() - before;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 && std::string(argv[1]) == "--quick" ? 10 : 60;
    const std::string folder = std::filesystem::absolute("lumora-bench-recordings").string();
    const std::string path = lumora::bench::longRecording(folder, 60);
    const lumora::EqualizerSettings eq;
    std::vector<std::string> pipeline = {"gst-launch-1.0", "-q", "filesrc", "location=" + path, "!", "decodebin",
                                         "!", "audioconvert", "!", "pitch", "tempo=0.75", "!", "audioconvert", "!",
                                         "equalizer-10bands"};
    for (size_t band = 0; band < eq.gainsDb.size(); ++band)
        pipeline.push_back("band" + std::to_string(band) + "=" + std::to_string(static_cast<int>(eq.gainsDb[band])));
    for (const char* word : {"!", "fakesink", "sync=true"}) pipeline.emplace_back(word);

    const double plainCpu = reciteCpu(path, 1.0, seconds);
    const pid_t gst = lumora::bench::spawn(pipeline, true);
    const double slowCpu = reciteCpu(path, 0.75, seconds);
    if (gst > 0) kill(gst, SIGINT);
    const double gstCpu = lumora::bench::waitForCpu(gst);
    std::printf("reciting %d s with the EQ on, CPU seconds:\n", seconds);
    std::printf("  Lumora at 1.00x        %8.3f\n", plainCpu);
    std::printf("  Lumora at 0.75x        %8.3f  (%.2fx Lumora at 1.00x)\n", slowCpu, slowCpu / plainCpu);
    if (gstCpu <= 0) {
        std::printf("  gst-launch-1.0 with pitch did not run (gstreamer1.0-plugins-bad missing?)\n");
        return 1;
    }
    const bool met = slowCpu <= 2.0 * gstCpu;
    std::printf("  GStreamer pitch 0.75x  %8.3f\n", gstCpu);
    std::printf("CPU at 0.75x (s) %8.3f baseline %8.3f ratio %6.3f target <= 2  %s\n", slowCpu, gstCpu,
                slowCpu / gstCpu, met ? "met" : "MISSED");
    return 0;
}

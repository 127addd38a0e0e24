// Automatic timing's figures: its throughput on a 60-minute recitation (decoding included) as a multiple
// of real time, beside `mpg123 -t` decoding the same file (the floor: no timing can beat its own decode),
// and the accuracy it reaches on the test fixtures and on the long recording itself.

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "audio/decodeall.h"
#include "support/testrecordings.h"
#include "text/arabictext.h"
#include "timing/synthrecitation.h"

namespace lumora::bench {
namespace {

// CPU seconds used by this process (who = RUSAGE_SELF) or by its waited-for children (RUSAGE_CHILDREN).
// CPU time rather than wall time, so other work on a shared machine does not count against either side.
double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

template <typename Work>
double medianCpuSeconds(int runs, int who, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = cpuSeconds(who);
        work();
        times.push_back(cpuSeconds(who) - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void printOutcome(const char* name, const test::AutotimeOutcome& outcome) {
    if (!outcome.timing) {
        std::printf("  %-44s FAILED: %s\n", name, outcome.timing.error().description.c_str());
        return;
    }
    const AutoTiming& timing = outcome.timing.value();
    const auto uncertain = std::count(timing.uncertain.begin(), timing.uncertain.end(), true);
    std::printf("  %-44s %4zu records  median start error %5.1f ms  latest start %+4d ms  misplaced %d  "
                "uncertain %ld\n",
                name, timing.records.size(), outcome.medianStartErrorMs, outcome.latestStartMs, outcome.misplaced,
                static_cast<long>(uncertain));
}

}  // namespace
}  // namespace lumora::bench

int main() {
    using namespace lumora;
    const char* folderVariable = std::getenv("LUMORA_PROGRAM_FOLDER");
    const QString programFolder = QString::fromUtf8(folderVariable != nullptr ? folderVariable : LUMORA_DEFAULT_PROGRAM_FOLDER);

    // Sura 2 recited slowly enough to last about an hour, at 44.1 kHz stereo 128 kbps.
    const Result<QStringList> texts = ArabicText::recordTexts(programFolder, 2);
    if (!texts) {
        std::fprintf(stderr, "no Arabic text: %s\n", texts.error().description.c_str());
        return 1;
    }
    double letters = 0;
    for (const QString& text : texts.value()) letters += AutoTimer::textWeight(text);
    test::AutotimeFixture longFixture{"sura 2, 60 minutes, 44.1 kHz stereo", 2, {}};
    longFixture.style.seed = 21;
    longFixture.style.format = test::RecordingSpec::stereo44();
    longFixture.style.noiseAmplitude = 0.004;
    // About 6 minutes of the hour go to pauses between and inside verses.
    longFixture.style.msPerLetter = (60.0 * 60000.0 - 6.0 * 60000.0) / letters;
    std::printf("making the 60-minute recording (once; kept in %s)...\n", test::recordingCacheFolder().c_str());
    std::fflush(stdout);
    const test::AutotimeOutcome longOutcome = test::runAutotimeFixture(longFixture, programFolder);
    const std::string path = longOutcome.recitation.recording.path;
    const double minutes = static_cast<double>(longOutcome.recitation.recording.sourceSamples) /
                           longOutcome.recitation.recording.sampleRateHz / 60.0;

    std::vector<double> weights;
    for (const QString& text : texts.value()) weights.push_back(AutoTimer::textWeight(text));
    const double autotimeSeconds = bench::medianCpuSeconds(3, RUSAGE_SELF, [&] {
        std::optional<AutoTimer> timer;
        const Result<bool> decoded = decodeAll(path, [&](const DecodedBlock& block) {
            if (!timer) timer.emplace(block.sampleRateHz);
            timer->addSamples(block.samples, block.frames, block.channels);
            return true;
        });
        if (!decoded || !timer || !timer->finish(weights)) std::fprintf(stderr, "autotime failed\n");
    });
    const std::string baselineCommand = "mpg123 -q -t '" + path + "' >/dev/null 2>&1";
    const double mpg123Seconds = bench::medianCpuSeconds(3, RUSAGE_CHILDREN, [&] {
        if (std::system(baselineCommand.c_str()) != 0) std::fprintf(stderr, "mpg123 -t failed\n");
    });

    const double realSeconds = minutes * 60.0;
    const double autotimeSpeed = realSeconds / autotimeSeconds;
    const double mpg123Speed = realSeconds / mpg123Seconds;
    std::printf("%-44s %8.3f s  %8.1f x real time\n", "autotime (decode + timing), CPU, median of 3", autotimeSeconds,
                autotimeSpeed);
    std::printf("%-44s %8.3f s  %8.1f x real time  (baseline)\n", "mpg123 -t on the same file, CPU, median of 3",
                mpg123Seconds, mpg123Speed);
    std::printf("%-44s %8.3f  (autotime time / mpg123 time)\n", "ratio", autotimeSeconds / mpg123Seconds);
    std::printf("%-44s %.1f min; target at least 200 x real time: %s\n", "recording", minutes,
                autotimeSpeed >= 200.0 ? "met" : "MISSED");

    std::printf("accuracy (starts against each verse's first sound):\n");
    bench::printOutcome(longFixture.name, longOutcome);
    for (const test::AutotimeFixture& fixture : test::autotimeFixtures()) {
        bench::printOutcome(fixture.name, test::runAutotimeFixture(fixture, programFolder));
    }
    return 0;
}

// Sura 2 as a per-verse collection (287 files) beside the same audio as one per-sura file with its timing
// archive, through the real controller and player over a manual null output:
//  - load to first sound: selecting the sura, starting recitation and rendering until the first sample
//    of the recording is heard (median of five rounds after a warm-up); target per-verse <= 3x per-sura;
//  - CPU while playing: process CPU time (decoder thread included) to recite ten minutes of the sura,
//    rendered 10 ms at a time with the controller's tick after each step; target <= 1.2x.
// The recording is a 60-minute 44.1 kHz stereo 128 kbps file; the verse files are its frames cut at the
// verses' boundaries, each behind an Info frame of its own, as a per-verse collection ships them.
#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "audio/joinedframeindex.h"
#include "audio/mp3frameindex.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "bench/audio/longrecording.h"
#include "codec/archivewriter.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "recitation/recitationcontroller.h"
#include "recitation/versetextsink.h"
#include "silentwindow.h"
#include "support/fakeclock.h"
#include "support/testrecordings.h"

namespace {

using namespace lumora;

constexpr int kSura = 2;
constexpr int kMinutes = 60;
constexpr int kRounds = 5;
constexpr int64_t kPlayMs = 10 * 60 * 1000;
constexpr int64_t kStepMs = 10;

class NoTexts : public VerseTextSink {
public:
    Result<void> loadSuraTexts(int, int) override { return {}; }
    void setText(int) override {}
};

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double wallSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The long recording's frames cut into one file per record of sura 2 (lengths drawn around the average
// verse length), each file an Info frame announcing its own frames followed by them. Returns the paths.
std::vector<std::string> cutIntoVerses(const std::string& longPath, const std::string& folder) {
    const Mp3FrameIndex index = Mp3FrameIndex::fromFile(longPath).value();
    const std::vector<uint8_t> bytes = test::readFileBytes(longPath);
    const auto audioStart = static_cast<size_t>(index.frameOffset(0));
    const std::vector<uint8_t> info(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(audioStart));
    const int records = SuraCatalogue::verseNo(kSura);
    std::mt19937 random(2);
    std::vector<double> weights;
    for (int k = 0; k < records; ++k)
        weights.push_back(std::uniform_real_distribution<double>(0.3, 1.7)(random));
    double total = 0;
    for (double w : weights) total += w;

    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    int64_t frame = 0;
    double reached = 0;
    for (int k = 0; k < records; ++k) {
        reached += weights[static_cast<size_t>(k)];
        const int64_t end =
            k + 1 == records
                ? index.frameCount()
                : static_cast<int64_t>(reached / total * static_cast<double>(index.frameCount()));
        const std::string path = folder + "/002" + SuraCatalogue::threeDigit(k) + ".mp3";
        paths.push_back(path);
        if (std::filesystem::exists(path)) {
            frame = end;
            continue;
        }
        std::vector<uint8_t> infoFrame = info;
        const auto frames = static_cast<uint32_t>(end - frame);
        const auto from = static_cast<size_t>(index.frameOffset(frame));
        const size_t to =
            end < index.frameCount() ? static_cast<size_t>(index.frameOffset(end)) : bytes.size();
        const auto size = static_cast<uint32_t>(infoFrame.size() + (to - from));
        for (size_t i = 0; i + 16 <= infoFrame.size(); ++i) {
            if (std::memcmp(&infoFrame[i], "Info", 4) == 0) {
                for (int b = 0; b < 4; ++b) {
                    infoFrame[i + 8 + static_cast<size_t>(b)] = static_cast<uint8_t>(frames >> (24 - 8 * b));
                    infoFrame[i + 12 + static_cast<size_t>(b)] = static_cast<uint8_t>(size >> (24 - 8 * b));
                }
                break;
            }
        }
        std::ofstream out(path + ".tmp", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(infoFrame.data()),
                  static_cast<std::streamsize>(infoFrame.size()));
        out.write(reinterpret_cast<const char*>(bytes.data() + from),
                  static_cast<std::streamsize>(to - from));
        out.close();
        std::filesystem::rename(path + ".tmp", path);
        frame = end;
    }
    return paths;
}

struct Bench {
    FakeClock clock;
    NullOutput* output = new NullOutput(NullOutput::Mode::Manual);
    Player player{std::unique_ptr<SoundOutput>(output)};
    bench::SilentWindow window;
    NoTexts texts;
    RecitationController controller{player, clock, window, texts};

    explicit Bench(const std::function<SuraRecording(int)>& lookup) {
        controller.fillVerseNo();
        controller.setRecordingLookup(lookup);
        RangeSettings settings;
        settings.nextRange = false;
        settings.nextSura = false;
        controller.setRangeSettings(settings);
    }

    // Seconds from selecting sura 2 to hearing its first sample.
    double loadToFirstSound() {
        (void)controller.selectSura(0);  // sura 1 has no recording here: nothing to load
        const double start = wallSeconds();
        (void)controller.selectSura(kSura - 1);
        controller.startRecitation();
        while (player.heardSample() == 0) output->advanceMs(1);
        const double seconds = wallSeconds() - start;
        controller.stop();
        return seconds;
    }

    // CPU seconds to recite kPlayMs of the sura from its verse 100.
    double cpuWhilePlaying() {
        (void)controller.selectSura(0);
        (void)controller.selectSura(kSura - 1);
        (void)controller.rangeBegin().setValue(100);
        controller.startRecitation();
        const double start = processCpuSeconds();
        for (int64_t t = 0; t < kPlayMs; t += kStepMs) {
            output->advanceMs(kStepMs);
            clock.advanceMs(kStepMs);
            controller.onTimer();
        }
        const double seconds = processCpuSeconds() - start;
        controller.stop();
        return seconds;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string folder = std::filesystem::current_path().string() + "/bench-joined-sura";
    const std::string longPath = bench::longRecording(folder, kMinutes);
    const std::vector<std::string> verseFiles = cutIntoVerses(longPath, folder + "/verses");

    // The per-sura baseline is timed by an archive holding the verse files' own boundaries.
    const JoinedFrameIndex joined = JoinedFrameIndex::fromFiles(verseFiles);
    std::vector<VerseTiming> records;
    for (const JoinedFrameIndex::PartTimes& times : joined.partTimesMs())
        records.push_back({times.startMs, times.endMs});
    ArchiveWriter pos;
    pos.addEntry(VerseTimingTable::entryName(kSura), VerseTimingTable::encode(records), true);
    const std::string archive = folder + "/pos.dat";
    if (!pos.write(archive).ok()) {
        std::fprintf(stderr, "cannot write %s\n", archive.c_str());
        return 1;
    }

    QStringList verseList;
    for (const std::string& path : verseFiles) verseList << QString::fromStdString(path);
    Bench perVerse([&verseList](int sura) {
        SuraRecording recording;
        recording.sura = sura;
        if (sura == kSura) {
            recording.kind = SuraRecording::Kind::kPerVerse;
            recording.recordFiles = verseList;
            recording.timingSource = SuraRecording::TimingSource::kFromFiles;
        }
        return recording;
    });
    Bench perSura([&longPath, &archive](int sura) {
        SuraRecording recording;
        recording.sura = sura;
        if (sura == kSura) {
            recording.kind = SuraRecording::Kind::kPerSura;
            recording.file = QString::fromStdString(longPath);
            recording.timingSource = SuraRecording::TimingSource::kOwnArchive;
            recording.timingArchive = QString::fromStdString(archive);
        }
        return recording;
    });

    // Load to first sound; the first round of each warms the page cache and is left out.
    std::vector<double> verseLoads;
    std::vector<double> suraLoads;
    for (int round = 0; round <= kRounds; ++round) {
        const double v = perVerse.loadToFirstSound();
        const double s = perSura.loadToFirstSound();
        if (round > 0) {
            verseLoads.push_back(v);
            suraLoads.push_back(s);
        }
    }
    const double verseLoad = median(verseLoads);
    const double suraLoad = median(suraLoads);
    std::printf("sura 2 load to first sound, %d-minute recording, median of %d:\n", kMinutes, kRounds);
    std::printf("  per-verse, %zu files: %.1f ms   per-sura, one file (baseline): %.1f ms\n",
                verseFiles.size(), verseLoad * 1000, suraLoad * 1000);
    std::printf("  ratio per-verse / per-sura: %.2f   (target <= 3)\n", verseLoad / suraLoad);

    // CPU while playing: the better of two runs each, alternated.
    double verseCpu = 1e9;
    double suraCpu = 1e9;
    for (int round = 0; round < 2; ++round) {
        verseCpu = std::min(verseCpu, perVerse.cpuWhilePlaying());
        suraCpu = std::min(suraCpu, perSura.cpuWhilePlaying());
    }
    std::printf("CPU while reciting %lld minutes of sura 2 from verse 100 (10 ms steps, tick after each):\n",
                static_cast<long long>(kPlayMs / 60000));
    std::printf("  per-verse: %.3f s   per-sura (baseline): %.3f s\n", verseCpu, suraCpu);
    std::printf("  ratio per-verse / per-sura: %.2f   (target <= 1.2)\n", verseCpu / suraCpu);
    return 0;
}

// The practice subcommand: a practice track of a range of a reciter's recording, without the window.

#include <unistd.h>

#include <csignal>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/audioencoder.h"
#include "audio/joinedframeindex.h"
#include "audio/practicetrack.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "recordings/recordingfolder.h"
#include "tools/command.h"

namespace lumora::pack {

namespace {

bool parseWhole(const std::string& text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool parseReal(const std::string& text, double& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int) { g_interrupted = 1; }

// Ctrl-C, a hang-up or a kill while the track is written cancel it, so that its temporary file is
// removed rather than left behind in the target folder.
void cancelOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

// The folder this executable lies in: the program folder, unless --program-folder says otherwise.
std::string ownFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

}  // namespace

// A reciter's folder holds NNN.mp3 and maybe its own pos.dat (without the sura's times there the program
// folder's data/pos.dat gives them), or one file per verse. Verse numbers are those the window shows.
int runPractice(const CommandContext& context) {
    const ParsedArgs parsed =
        parseArgs(context.args, {},
                  {"--sura", "--from", "--to", "--repeat", "--pause-verse", "--pause-range", "--speed",
                   "--program-folder"});
    if (!parsed.problem.empty()) {
        return context.usageError("practice", parsed.problem);
    }
    if (parsed.words.size() != 2) {
        return context.usageError("practice", "needs a reciter's folder and the track to write");
    }
    int sura = 0;
    int from = 0;
    int to = 0;
    int repeat = 1;
    double pauseVerse = 0.0;
    double pauseRange = 0.0;
    double speed = 1.0;
    if (!parseWhole(parsed.value("--sura").value_or(""), sura) || sura < 1 || sura > SuraCatalogue::kSuraCount) {
        return context.usageError("practice", "--sura takes a sura number from 1 to 114");
    }
    if (!parseWhole(parsed.value("--from").value_or(""), from) || !parseWhole(parsed.value("--to").value_or(""), to)) {
        return context.usageError("practice", "--from and --to take verse numbers");
    }
    if (const auto text = parsed.value("--repeat"); text && (!parseWhole(*text, repeat) || repeat < 0 || repeat > 1000)) {
        return context.usageError("practice", "--repeat takes a count from 0 (counted as once) to 1000");
    }
    if (const auto text = parsed.value("--pause-verse"); text && (!parseReal(*text, pauseVerse) || pauseVerse < 0 || pauseVerse > 3600)) {
        return context.usageError("practice", "--pause-verse takes seconds from 0 to 3600");
    }
    if (const auto text = parsed.value("--pause-range"); text && (!parseReal(*text, pauseRange) || pauseRange < 0 || pauseRange > 3600)) {
        return context.usageError("practice", "--pause-range takes seconds from 0 to 3600");
    }
    if (const auto text = parsed.value("--speed"); text && (!parseReal(*text, speed) || speed < 0.5 || speed > 1.5)) {
        return context.usageError("practice", "--speed takes a speed from 0.5 to 1.5");
    }
    const std::string& out = parsed.words[1];
    if (!AudioEncoder::knowsFileName(out)) {
        return context.usageError("practice", "the track's name must end in .mp3 or .opus");
    }

    // The sura's recording and times, found as the window finds them: NNN.mp3 (in any case) timed by the
    // folder's own pos.dat when it holds the sura, else by the program folder's; or one file per verse,
    // timed by the files themselves.
    const std::string& folderText = parsed.words[0];
    const QString programFolder = QString::fromStdString(parsed.value("--program-folder").value_or(ownFolder()));
    const SuraRecording recording =
        RecordingFolder::scan(QString::fromStdString(folderText), programFolder).recording(sura);
    PracticeTrackSpec spec;
    std::vector<VerseTiming> table;
    if (recording.kind == SuraRecording::Kind::kPerSura) {
        if (recording.timingArchive.isEmpty()) {
            return context.fail(folderText + ": no verse times of sura " + std::to_string(sura) +
                                " in its pos.dat or in the program folder's data/pos.dat");
        }
        Result<std::vector<VerseTiming>> read = VerseTimingTable::read(recording.timingArchive.toStdString(), sura);
        if (!read) {
            return context.fail(recording.timingArchive.toStdString() + ": " + read.error().description);
        }
        table = std::move(read.value());
        spec.recordingPath = recording.file.toStdString();
    } else if (recording.kind == SuraRecording::Kind::kPerVerse) {
        for (const QString& path : recording.recordFiles) {
            spec.recordingParts.push_back(path.toStdString());
            if (spec.recordingPath.empty()) spec.recordingPath = spec.recordingParts.back();
        }
        for (const JoinedFrameIndex::PartTimes& times : JoinedFrameIndex::fromFiles(spec.recordingParts).partTimesMs()) {
            table.push_back({times.startMs, times.endMs});
        }
    } else {
        return context.fail(folderText + ": no recording of sura " + std::to_string(sura));
    }
    // Record 0 is the opening formula, record k verse k; in suras 1 and 9 record k is verse k + 1.
    const int shift = (sura == 1 || sura == 9) ? 1 : 0;
    const int first = from - shift;
    const int last = to - shift;
    const int records = static_cast<int>(table.size());
    if (first < 0 || last >= records || first > last) {
        return context.fail("sura " + std::to_string(sura) + " has no verses " + std::to_string(from) + " to " +
                            std::to_string(to));
    }
    for (int record = first; record <= last; ++record) {
        const VerseTiming& timing = table[static_cast<size_t>(record)];
        spec.verses.push_back({timing.startMs, timing.endMs});
    }
    spec.repeat = repeat;
    spec.pauseBetweenVersesSeconds = pauseVerse;
    spec.pauseAfterRangeSeconds = pauseRange;
    spec.speed = speed;
    cancelOnInterrupt();
    const Result<void> written = PracticeTrack::write(spec, out, [](double) { return g_interrupted == 0; });
    if (!written && written.error().number == PracticeTrack::kCancelled) {
        return context.fail("interrupted: " + out + " was not written");
    }
    if (!written) {
        return context.fail(written.error().description);
    }
    context.out << out << '\n';
    return kExitOk;
}

}  // namespace lumora::pack

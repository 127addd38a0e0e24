// The autotime subcommand: verse timings found from a recording and the lengths of its verses' Arabic text.

#include <unistd.h>

#include <QString>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>

#include "audio/decodeall.h"
#include "codec/suracatalogue.h"
#include "text/arabictext.h"
#include "timing/autotimer.h"
#include "timing/posarchive.h"
#include "timing/textfields.h"
#include "tools/command.h"

namespace lumora::pack {

namespace {

// The folder lumora-pack runs from, which is the program folder of an installed Lumora.
std::string executableFolder() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

}  // namespace

int runAutotime(const CommandContext& context) {
    const char* command = "autotime";
    const ParsedArgs parsed = parseArgs(context.args, {}, {"--sura", "--program-folder", "--into"});
    if (!parsed.problem.empty()) return context.usageError(command, parsed.problem);
    if (parsed.words.size() != 1) return context.usageError(command, "needs one recording");
    const std::optional<std::string> suraText = parsed.value("--sura");
    const auto sura = suraText ? textfields::wholeNumber(*suraText) : std::nullopt;
    if (!sura || *sura < 1 || *sura > SuraCatalogue::kSuraCount) {
        return context.usageError(command, "needs --sura N, a sura number from 1 to 114");
    }
    const std::optional<std::string> into = parsed.value("--into");
    std::error_code error;
    if (into && !std::filesystem::is_directory(*into, error)) return context.fail(*into + ": there is no such folder");

    const QString programFolder = QString::fromStdString(parsed.value("--program-folder").value_or(executableFolder()));
    const Result<QStringList> texts = ArabicText::recordTexts(programFolder, static_cast<int>(*sura));
    if (!texts) return context.fail(texts.error().description);
    std::vector<double> weights;
    for (const QString& text : texts.value()) weights.push_back(AutoTimer::textWeight(text));

    const std::string& recording = parsed.words[0];
    std::optional<AutoTimer> timer;
    const Result<bool> decoded = decodeAll(recording, [&](const DecodedBlock& block) {
        if (!timer) timer.emplace(block.sampleRateHz);
        timer->addSamples(block.samples, block.frames, block.channels);
        return true;
    });
    if (!decoded) return context.fail(recording + ": " + decoded.error().description);
    if (!timer) return context.fail(recording + ": the recording holds no sound");
    const Result<AutoTiming> timing = timer->finish(weights);
    if (!timing) return context.fail(recording + ": " + timing.error().description);

    const std::vector<VerseTiming>& records = timing.value().records;
    context.out << "record,start_ms,end_ms\n";
    for (size_t record = 0; record < records.size(); ++record) {
        context.out << record << ',' << records[record].startMs << ',' << records[record].endMs << '\n';
    }
    for (size_t record = 0; record < records.size(); ++record) {
        if (timing.value().uncertain[record]) {
            context.out << "# record " << record << " is uncertain (confidence "
                        << std::lround(timing.value().confidence[record] * 100) << " %)\n";
        }
    }
    if (into) {
        const Result<void> written =
            PosArchive::writeSuras(PosArchive::pathIn(*into), {{static_cast<int>(*sura), records}});
        if (!written) return context.fail(written.error().description);
    }
    return kExitOk;
}

}  // namespace lumora::pack

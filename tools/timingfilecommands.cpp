// The timings-import and timings-export subcommands: other players' timing tables into a reciter
// folder's pos.dat, and a folder's timings out again.

#include <filesystem>
#include <optional>
#include <system_error>

#include "audio/mp3frameindex.h"
#include "codec/suracatalogue.h"
#include "recordings/recordingfolder.h"
#include "timing/posarchive.h"
#include "timing/textfields.h"
#include "timing/timingfiles.h"
#include "tools/command.h"

namespace lumora::pack {

namespace {

// "--sura N" gives N, "--all" gives 0; anything else fills problem.
int suraChoice(const ParsedArgs& parsed, std::string& problem) {
    const std::optional<std::string> sura = parsed.value("--sura");
    if (sura.has_value() == parsed.has("--all")) {
        problem = "give either --sura N or --all";
        return 0;
    }
    if (!sura) return 0;
    const auto number = textfields::wholeNumber(*sura);
    if (!number || *number < 1 || *number > SuraCatalogue::kSuraCount) {
        problem = "--sura takes a sura number from 1 to 114, not '" + *sura + "'";
        return 0;
    }
    return static_cast<int>(*number);
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

// The length of the folder's recording of a sura, when it has one the frame index can read. The recording is
// the one the player takes, its name matched without regard to case ("112.MP3").
std::optional<int64_t> recordingLengthIn(const RecordingFolder& folder, int sura) {
    const std::string path = folder.perSuraFile(sura).toStdString();
    if (path.empty()) return std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    if (!index) return std::nullopt;
    return index.value().lengthMs();
}

int runTimingsImport(const CommandContext& context) {
    const char* command = "timings-import";
    const ParsedArgs parsed = parseArgs(context.args, {"--all"}, {"--sura", "--into"});
    if (!parsed.problem.empty()) return context.usageError(command, parsed.problem);
    if (parsed.words.size() != 2) return context.usageError(command, "needs a format and a file");
    const auto format = TimingFiles::formatNamed(parsed.words[0]);
    if (!format) {
        return context.usageError(command, "the format '" + parsed.words[0] +
                                               "' is not one of sqlite, json, csv, labels, lrc");
    }
    std::string problem;
    const int sura = suraChoice(parsed, problem);
    if (!problem.empty()) return context.usageError(command, problem);
    const std::optional<std::string> folder = parsed.value("--into");
    if (!folder) return context.usageError(command, "needs --into RECITER_FOLDER");
    if (!isFolder(*folder)) return context.fail(*folder + ": there is no such folder");

    ImportOptions options;
    options.sura = sura;
    const RecordingFolder recordings = RecordingFolder::scan(QString::fromStdString(*folder), QString());
    options.recordingLength = [&](int s) { return recordingLengthIn(recordings, s); };
    const Result<SuraTimings> timings = TimingFiles::import(*format, parsed.words[1], options);
    if (!timings) return context.fail(timings.error().description);
    const std::string archive = PosArchive::pathIn(*folder);
    const Result<void> written = PosArchive::writeSuras(archive, timings.value());
    if (!written) return context.fail(written.error().description);
    for (const auto& [number, records] : timings.value()) {
        context.out << VerseTimingTable::entryName(number) << ": " << records.size() << " records written to "
                    << archive << '\n';
    }
    return kExitOk;
}

int runTimingsExport(const CommandContext& context) {
    const char* command = "timings-export";
    const ParsedArgs parsed = parseArgs(context.args, {"--all"}, {"--sura", "--from", "--out"});
    if (!parsed.problem.empty()) return context.usageError(command, parsed.problem);
    if (parsed.words.size() != 1) return context.usageError(command, "needs a format");
    const auto format = TimingFiles::formatNamed(parsed.words[0]);
    if (!format || !TimingFiles::canExport(*format)) {
        return context.usageError(command, "the format '" + parsed.words[0] + "' is not one of csv, labels, sqlite");
    }
    std::string problem;
    const int sura = suraChoice(parsed, problem);
    if (!problem.empty()) return context.usageError(command, problem);
    const std::optional<std::string> folder = parsed.value("--from");
    if (!folder) return context.usageError(command, "needs --from RECITER_FOLDER");
    const std::optional<std::string> out = parsed.value("--out");
    if (*format == TimingFormat::kSqlite && !out) return context.usageError(command, "sqlite needs --out FILE");
    if (!isFolder(*folder)) return context.fail(*folder + ": there is no such folder");

    const std::string archive = PosArchive::pathIn(*folder);
    std::vector<int> suras{sura};
    if (sura == 0) {
        auto listed = PosArchive::suras(archive);
        if (!listed) return context.fail(listed.error().description);
        suras = listed.value();
        if (suras.empty()) return context.fail(archive + ": there are no timings to export");
    }
    SuraTimings timings;
    for (const int number : suras) {
        auto records = PosArchive::readSura(archive, number);
        if (!records) return context.fail(records.error().description);
        timings.emplace(number, std::move(records.value()));
    }
    if (!out) {
        context.out << TimingFiles::exportText(*format, timings);
        return kExitOk;
    }
    // Written over the archive it was read from, the export would leave the folder without its timings.
    std::error_code same;
    if (std::filesystem::equivalent(*out, archive, same)) {
        return context.fail(*out + ": is the timing archive being exported; choose another file");
    }
    const Result<void> written = TimingFiles::exportFile(*format, timings, *out);
    if (!written) return context.fail(written.error().description);
    return kExitOk;
}

}  // namespace lumora::pack

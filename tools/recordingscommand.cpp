// The recordings subcommand: what a reciter's folder holds for each sura, as Lumora will play it.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "codec/suracatalogue.h"
#include "recordings/recordingfolder.h"
#include "tools/command.h"

namespace lumora::pack {

namespace {

// How many missing verses a line names before it stops counting them out.
constexpr int kMissingNamed = 8;

// The folder lumora-pack itself lies in: the program folder it was installed with.
std::string ownFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

std::string fileName(const QString& path) { return QFileInfo(path).fileName().toStdString(); }

std::string timingText(SuraRecording::TimingSource source) {
    switch (source) {
        case SuraRecording::TimingSource::kOwnArchive:
            return "own pos.dat";
        case SuraRecording::TimingSource::kProgramFolder:
            return "program folder";
        case SuraRecording::TimingSource::kFromFiles:
            return "from the files";
        case SuraRecording::TimingSource::kNone:
            break;
    }
    return "none";
}

// The verse numbers of the records without a file ("0" is the opening formula).
std::string missingVerses(int sura, const QStringList& records) {
    std::string text;
    int named = 0;
    for (int record = 0; record < records.size(); ++record) {
        if (!records.at(record).isEmpty()) continue;
        if (named == kMissingNamed) return text + ", ...";
        text += (named++ == 0 ? "" : ", ") + std::to_string(sura == 1 || sura == 9 ? record + 1 : record);
    }
    return text;
}

// Empty when the file opens and yields its first bytes, else what is wrong.
std::string readProblem(const QString& path) {
    // A pipe, socket or device of that name is no recording; opening a pipe would wait for a writer.
    if (const QFileInfo info(path); info.exists() && !info.isFile()) return "it is not a regular file";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString().toStdString();
    char head[4];
    const qint64 got = file.read(head, sizeof head);
    if (got < 0) return file.errorString().toStdString();
    if (got == 0) return "the file is empty";
    return {};
}

}  // namespace

// One line per sura 1..114: the three-digit number, what the folder holds (its per-sura file, the count
// of per-verse files present of those expected) and where the timings of the recording that plays come
// from; then a summary. Files that cannot be read, and damaged timing archives, are named on the error
// stream and make the exit status 1.
int runRecordings(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {}, {"--program-folder"});
    if (!parsed.problem.empty()) return context.usageError("recordings", parsed.problem);
    if (parsed.words.size() != 1) return context.usageError("recordings", "needs one folder");
    const QString folder = QString::fromStdString(parsed.words[0]);
    const QString programFolder = QString::fromStdString(parsed.value("--program-folder").value_or(ownFolder()));
    if (!QFileInfo(folder).isDir()) return context.fail(parsed.words[0] + ": not a folder");
    if (!QDir(folder).isReadable()) return context.fail(parsed.words[0] + ": the folder cannot be read");

    const RecordingFolder contents = RecordingFolder::scan(folder, programFolder);
    int perSura = 0, untimed = 0, perVerse = 0, incomplete = 0, nothing = 0;
    QSet<QString> used;
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        const SuraRecording recording = contents.recording(sura);
        const QString suraFile = contents.perSuraFile(sura);
        const QStringList records = contents.perVerseRecords(sura);
        std::string line = SuraCatalogue::threeDigit(sura) + "  ";
        std::string holds;
        if (!suraFile.isEmpty()) {
            holds = "per-sura " + fileName(suraFile);
            used.insert(suraFile);
        }
        if (!records.isEmpty()) {
            const auto present = std::count_if(records.begin(), records.end(), [](const QString& p) { return !p.isEmpty(); });
            holds += (holds.empty() ? "" : " + ") + std::string("per-verse ") + std::to_string(present) + "/" +
                     std::to_string(records.size());
            for (const QString& path : records)
                if (!path.isEmpty()) used.insert(path);
        }
        switch (recording.kind) {
            case SuraRecording::Kind::kMissing:
                ++nothing;
                context.out << line << "nothing\n";
                continue;
            case SuraRecording::Kind::kPerSura:
                ++perSura;
                if (recording.timingSource == SuraRecording::TimingSource::kNone) ++untimed;
                break;
            case SuraRecording::Kind::kPerVerse:
                ++perVerse;
                if (recording.incomplete()) ++incomplete;
                break;
        }
        line += holds + "  timings: " + timingText(recording.timingSource);
        if (recording.kind == SuraRecording::Kind::kPerVerse && recording.incomplete())
            line += "  missing: " + missingVerses(sura, records);
        context.out << line << '\n';
    }
    context.out << "per-sura " << perSura << " (" << untimed << " without timings), per-verse " << perVerse << " ("
                << incomplete << " incomplete), nothing " << nothing << '\n';

    bool failed = false;
    for (const QString& problem : contents.problems()) {
        context.err << "lumora-pack: " << problem.toStdString() << '\n';
        failed = true;
    }
    QStringList paths(used.begin(), used.end());
    paths.sort();
    for (const QString& path : paths) {
        if (const std::string problem = readProblem(path); !problem.empty()) {
            context.err << "lumora-pack: " << path.toStdString() << ": " << problem << '\n';
            failed = true;
        }
    }
    return failed ? kExitFailure : kExitOk;
}

}  // namespace lumora::pack

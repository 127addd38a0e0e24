// The text-package subcommand: one text of the data set as a text package.

#include <QFile>

#include "tools/command.h"
#include "tools/textpackagebuilder.h"
#include "tools/versetextsource.h"

namespace lumora::pack {

int runTextPackage(const CommandContext& context) {
    const ParsedArgs args = parseArgs(context.args, {"--arabic"}, {"--config", "--field"});
    if (!args.problem.empty()) {
        return context.usageError("text-package", args.problem);
    }
    if (args.words.size() != 2) {
        return context.usageError("text-package", "needs the source JSON file and the package to write");
    }
    const std::optional<std::string> configPath = args.value("--config");
    if (!configPath) {
        return context.usageError("text-package", "needs --config with the package's config.ini");
    }
    const TextKind kind = args.has("--arabic") ? TextKind::Arabic : TextKind::Translation;
    const std::string field =
        args.value("--field").value_or(kind == TextKind::Arabic ? "text" : "translation");

    QFile config(QString::fromStdString(*configPath));
    if (!config.open(QIODevice::ReadOnly)) {
        return context.fail(*configPath + ": cannot read (" + config.errorString().toStdString() + ")");
    }
    const Result<VerseTextSource> source =
        VerseTextSource::load(QString::fromStdString(args.words[0]), QString::fromStdString(field),
                              VerseTextSource::quranVerseCounts());
    if (!source) {
        return context.fail(source.error().description);
    }
    const Result<void> written = PackageEntry::writeArchive(
        args.words[1], TextPackageBuilder::entries(source.value(), kind, config.readAll()), false);
    if (!written) {
        return context.fail(written.error().description);
    }
    return kExitOk;
}

}  // namespace lumora::pack

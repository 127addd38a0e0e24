// The sample subcommand: the whole sample program folder.

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "tools/command.h"
#include "tools/samplefolderbuilder.h"

namespace lumora::pack {

namespace {

// The data set's version from the package.json of the npm package that holds the texts folder.
QString dataSetVersion(const QString& textsFolder) {
    QFile file(QFileInfo(textsFolder + QStringLiteral("/../package.json")).absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("unknown");
    }
    const QJsonObject package = QJsonDocument::fromJson(file.readAll()).object();
    return package.value(QStringLiteral("version")).toString(QStringLiteral("unknown"));
}

}  // namespace

int runSample(const CommandContext& context) {
    const ParsedArgs args =
        parseArgs(context.args, {}, {"--texts", "--inputs", "--help-pages", "--out", "--lame", "--mpg123"});
    if (!args.problem.empty()) {
        return context.usageError("sample", args.problem);
    }
    if (!args.words.empty()) {
        return context.usageError("sample", "unexpected argument " + args.words[0]);
    }
    for (const char* required : {"--texts", "--inputs", "--help-pages", "--out"}) {
        if (!args.value(required)) {
            return context.usageError("sample", std::string("needs ") + required);
        }
    }
    SampleOptions options;
    options.textsFolder = QString::fromStdString(*args.value("--texts"));
    options.inputsFolder = QString::fromStdString(*args.value("--inputs"));
    options.helpFolder = QString::fromStdString(*args.value("--help-pages"));
    options.outFolder = QString::fromStdString(*args.value("--out"));
    options.lamePath = QString::fromStdString(args.value("--lame").value_or("lame"));
    options.mpg123Path = QString::fromStdString(args.value("--mpg123").value_or("mpg123"));
    options.dataSetVersion = dataSetVersion(options.textsFolder);

    SampleFolderBuilder builder(options);
    const Result<void> built = builder.build(context.out);
    if (!built) {
        return context.fail(built.error().description);
    }
    return kExitOk;
}

}  // namespace lumora::pack

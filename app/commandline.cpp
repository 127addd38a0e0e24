#include "app/commandline.h"

#ifndef LUMORA_VERSION
#define LUMORA_VERSION "0.0.0"
#endif

namespace lumora {

namespace {

const QString kProgramFolderOption = QStringLiteral("--program-folder");

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine line;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.m_action = Action::ShowHelp;
            return line;
        }
        if (argument == QLatin1String("--version")) {
            line.m_action = Action::ShowVersion;
            return line;
        }
        if (argument == kProgramFolderOption) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                line.m_action = Action::Fail;
                line.m_error = QStringLiteral("--program-folder needs a folder");
                return line;
            }
            line.m_programFolder = arguments[++i];
            continue;
        }
        if (argument.startsWith(kProgramFolderOption + QLatin1Char('='))) {
            line.m_programFolder = argument.mid(kProgramFolderOption.size() + 1);
            if (line.m_programFolder.isEmpty()) {
                line.m_action = Action::Fail;
                line.m_error = QStringLiteral("--program-folder needs a folder");
                return line;
            }
            continue;
        }
        if (argument.startsWith(QLatin1String("--"))) {
            line.m_action = Action::Fail;
            line.m_error = QStringLiteral("unknown option %1").arg(argument);
            return line;
        }
    }
    return line;
}

QString CommandLine::helpText(const QString& programName) {
    return QStringLiteral(
               "Usage: %1 [--program-folder DIR]\n"
               "Lumora plays Quran recitations verse by verse, with the text and translations beside them.\n"
               "\n"
               "Options:\n"
               "  --program-folder DIR  the folder that holds data/ and mp3/ (default: the folder of the\n"
               "                        program itself)\n"
               "  --help                show this help and exit\n"
               "  --version             show the version and exit\n"
               "\n"
               "Settings are kept in $XDG_CONFIG_HOME/lumora/ZI4.ini (~/.config/lumora/ZI4.ini).\n")
        .arg(programName);
}

QString CommandLine::versionText() {
    return QStringLiteral("Lumora %1\n").arg(QStringLiteral(LUMORA_VERSION));
}

}  // namespace lumora

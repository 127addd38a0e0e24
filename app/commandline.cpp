#include "app/commandline.h"

#ifndef LUMORA_VERSION
#define LUMORA_VERSION "0.0.0"
#endif

namespace lumora {

namespace {

const QString kProgramFolderOption = QStringLiteral("--program-folder");
const QStringList kWindowSystemOptionsWithValue = {
    QStringLiteral("-platform"),     QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
    QStringLiteral("-plugin"),       QStringLiteral("-qwindowgeometry"),    QStringLiteral("-qwindowtitle"),
    QStringLiteral("-qwindowicon"),  QStringLiteral("-display"),            QStringLiteral("-geometry"),
    QStringLiteral("-style"),        QStringLiteral("-stylesheet"),         QStringLiteral("-widgetcount"),
    QStringLiteral("-title"),        QStringLiteral("-name"),               QStringLiteral("-session")};

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
        if (argument.startsWith(QLatin1Char('-'))) {
            // The window system's own options; those that take a value take the next argument too.
            if (kWindowSystemOptionsWithValue.contains(argument) && i + 1 < arguments.size())
                ++i;
            continue;
        }
        line.m_references.append(argument);
    }
    return line;
}

QString CommandLine::helpText(const QString& programName) {
    return QStringLiteral(
               "Usage: %1 [--program-folder DIR] [REFERENCE]\n"
               "Lumora plays Quran recitations verse by verse, with the text and translations beside them.\n"
               "\n"
               "REFERENCE opens Lumora at a verse or a range: 2:255, 36:1-12, quran://2/255,\n"
               "https://quran.com/2/255-257, or a sura name as the sura list writes it (\"YA-SEEN 1-12\").\n"
               "When Lumora is running already, the running window moves there instead.\n"
               "\n"
               "Options:\n"
               "  --program-folder DIR  the folder that holds data/ and mp3/ (default: the program's own\n"
               "                        folder when it holds data/, else ../share/lumora beside it)\n"
               "  --help                show this help and exit\n"
               "  --version             show the version and exit\n"
               "\n"
               "Settings are kept in $XDG_CONFIG_HOME/lumora/ZI4.ini (~/.config/lumora/ZI4.ini); texts you\n"
               "add go to $XDG_DATA_HOME/lumora/tdata/ (~/.local/share/lumora/tdata/).\n")
        .arg(programName);
}

QString CommandLine::versionText(const QString& programFolder) {
    QString text = QStringLiteral("Lumora %1\n").arg(QStringLiteral(LUMORA_VERSION));
    if (!programFolder.isEmpty())
        text += QStringLiteral("Program folder: %1\n").arg(programFolder);
    text += QStringLiteral("Licence: GPL-3.0-or-later. This is free software; there is NO WARRANTY.\n");
    return text;
}

}  // namespace lumora

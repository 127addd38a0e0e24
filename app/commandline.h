#pragma once
// Lumora's command line: --help, --version and --program-folder DIR (the folder holding data/ and mp3/;
// the executable's own folder when not given). Parsed before the window system is touched, so that
// --help and --version work without a display. Options of the window system itself (single dash, such
// as -platform) are left to it.

#include <QString>
#include <QStringList>

namespace lumora {

class CommandLine {
public:
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    // arguments: the whole command line, program name first.
    static CommandLine parse(const QStringList& arguments);

    Action action() const { return m_action; }
    // Empty when the option was not given.
    QString programFolder() const { return m_programFolder; }
    // Why the command line was refused (Action::Fail).
    QString error() const { return m_error; }

    static QString helpText(const QString& programName);
    static QString versionText();

private:
    Action m_action = Action::Run;
    QString m_programFolder;
    QString m_error;
};

}  // namespace lumora

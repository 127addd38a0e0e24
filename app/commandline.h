#pragma once
// Lumora's command line: --help, --version, --program-folder DIR (the folder holding data/ and mp3/) and
// verse references to open (2:255, quran://2/255, ...). Parsed before the window system is touched, so that
// --help and --version work without a display. Options of the window system itself (single dash, such
// as -platform, with their values) are left to it.

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
    // The arguments that are not options, in order: the verse references to open.
    QStringList references() const { return m_references; }

    static QString helpText(const QString& programName);
    // The version, and the program folder the executable would use.
    static QString versionText(const QString& programFolder = QString());

private:
    Action m_action = Action::Run;
    QString m_programFolder;
    QString m_error;
    QStringList m_references;
};

}  // namespace lumora

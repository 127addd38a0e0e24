// Lumora's executable: reads the command line, hands it to a Lumora already running in this desktop session
// when there is one, else builds the program and starts the main window on the program folder, then moves to
// the verse the command line names.

#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "app/appicon.h"
#include "app/commandline.h"
#include "app/program.h"
#include "app/programfolder.h"
#include "desktop/singleinstance.h"
#include "recitation/versereference.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const lumora::CommandLine line = lumora::CommandLine::parse(arguments);
    const QString programName = QStringLiteral("lumora");
    switch (line.action()) {
        case lumora::CommandLine::Action::ShowHelp:
            std::fputs(lumora::CommandLine::helpText(programName).toLocal8Bit().constData(), stdout);
            return 0;
        case lumora::CommandLine::Action::ShowVersion: {
            const QString folder =
                lumora::ProgramFolder::locate(line.programFolder(), lumora::ProgramFolder::executableFolder());
            std::fputs(lumora::CommandLine::versionText(folder).toLocal8Bit().constData(), stdout);
            return 0;
        }
        case lumora::CommandLine::Action::Fail:
            std::fprintf(stderr, "lumora: %s\nTry 'lumora --help'.\n",
                         line.error().toLocal8Bit().constData());
            return 2;
        case lumora::CommandLine::Action::Run:
            break;
    }
    // A reference that names no verse is passed over; the window opens all the same.
    for (const QString& reference : line.references()) {
        if (!lumora::VerseReference::parse(reference))
            std::fprintf(stderr, "lumora: no such verse: %s\n", reference.toLocal8Bit().constData());
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setDesktopFileName(QStringLiteral("lumora"));
    QApplication::setWindowIcon(lumora::AppIcon::icon());

    lumora::SingleInstance instance;
    if (instance.claimOrHandOver(line.references()) == lumora::SingleInstance::Outcome::HandedOver)
        return 0;

    lumora::Program::Options options;
    options.programFolder = line.programFolder();
    options.desktopBus = true;
    lumora::Program program(options);
    QObject::connect(&instance, &lumora::SingleInstance::openRequested, &program, &lumora::Program::openReferences);
    if (!line.references().isEmpty())
        program.openReferences(line.references());
    auto started = program.startUp();
    if (!started) {
        program.failStartUp(started.error());
        return 1;
    }
    return QApplication::exec();
}

// Lumora's executable: reads the command line, then builds the program and starts the main window on the
// program folder (the executable's own folder unless --program-folder names another).

#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "app/appicon.h"
#include "app/commandline.h"
#include "app/program.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const lumora::CommandLine line = lumora::CommandLine::parse(arguments);
    const QString programName = QStringLiteral("lumora");
    switch (line.action()) {
        case lumora::CommandLine::Action::ShowHelp:
            std::fputs(lumora::CommandLine::helpText(programName).toLocal8Bit().constData(), stdout);
            return 0;
        case lumora::CommandLine::Action::ShowVersion:
            std::fputs(lumora::CommandLine::versionText().toLocal8Bit().constData(), stdout);
            return 0;
        case lumora::CommandLine::Action::Fail:
            std::fprintf(stderr, "lumora: %s\nTry 'lumora --help'.\n",
                         line.error().toLocal8Bit().constData());
            return 2;
        case lumora::CommandLine::Action::Run:
            break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setWindowIcon(lumora::AppIcon::icon());

    lumora::Program::Options options;
    options.programFolder = line.programFolder();
    lumora::Program program(options);
    auto started = program.startUp();
    if (!started) {
        program.failStartUp(started.error());
        return 1;
    }
    return QApplication::exec();
}

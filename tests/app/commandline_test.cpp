// The command line, parsed and through the real executable.
#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "app/commandline.h"

namespace lumora {
namespace {

TEST(CommandLineTest, ParsesTheProgramFolderAndTheInformationOptions) {
    CommandLine line = CommandLine::parse({"lumora"});
    EXPECT_EQ(line.action(), CommandLine::Action::Run);
    EXPECT_TRUE(line.programFolder().isEmpty());

    line = CommandLine::parse({"lumora", "--program-folder", "/opt/lumora", "-platform", "offscreen"});
    EXPECT_EQ(line.action(), CommandLine::Action::Run);
    EXPECT_EQ(line.programFolder(), QStringLiteral("/opt/lumora"));
    EXPECT_EQ(CommandLine::parse({"lumora", "--program-folder=/srv/l"}).programFolder(),
              QStringLiteral("/srv/l"));

    EXPECT_EQ(CommandLine::parse({"lumora", "--program-folder", "x", "--help"}).action(),
              CommandLine::Action::ShowHelp);
    EXPECT_EQ(CommandLine::parse({"lumora", "-h"}).action(), CommandLine::Action::ShowHelp);
    EXPECT_EQ(CommandLine::parse({"lumora", "--version"}).action(), CommandLine::Action::ShowVersion);

    for (const QStringList& refused :
         {QStringList{"lumora", "--program-folder"}, QStringList{"lumora", "--program-folder="},
          QStringList{"lumora", "--colour", "red"}}) {
        line = CommandLine::parse(refused);
        EXPECT_EQ(line.action(), CommandLine::Action::Fail) << refused.join(' ').toStdString();
        EXPECT_FALSE(line.error().isEmpty());
    }
}

TEST(CommandLineTest, ArgumentsThatAreNoOptionsAreTheReferencesToOpen) {
    CommandLine line = CommandLine::parse(
        {"lumora", "-platform", "offscreen", "2:255", "--program-folder", "/opt/l", "quran://36/1-12", "-reverse"});
    EXPECT_EQ(line.action(), CommandLine::Action::Run);
    EXPECT_EQ(line.programFolder(), QStringLiteral("/opt/l"));
    EXPECT_EQ(line.references(), QStringList({"2:255", "quran://36/1-12"}));
    EXPECT_EQ(CommandLine::parse({"lumora", "YA-SEEN 1-12"}).references(), QStringList({"YA-SEEN 1-12"}));
    EXPECT_TRUE(CommandLine::parse({"lumora"}).references().isEmpty());
}

struct ProcessRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessRun runLumora(const QStringList& arguments) {
    ProcessRun run;
    QProcess process;
    // No display is needed to answer --help and --version.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("LUMORA_PROGRAM_FOLDER") + QStringLiteral("/lumora"), arguments);
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

TEST(CommandLineTest, TheExecutableAnswersHelpAndVersionWithoutADisplay) {
    if (!QFileInfo(qEnvironmentVariable("LUMORA_PROGRAM_FOLDER") + QStringLiteral("/lumora"))
             .isExecutable()) {
        GTEST_SKIP() << "lumora is not built";
    }
    ProcessRun help = runLumora({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--program-folder DIR"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("ZI4.ini")));

    ProcessRun version = runLumora({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("Lumora "))) << version.out.toStdString();
    // The build's executable finds the program folder it sits in.
    EXPECT_TRUE(version.out.contains(QStringLiteral("Program folder: ") +
                                     QDir(qEnvironmentVariable("LUMORA_PROGRAM_FOLDER")).canonicalPath() + "\n"))
        << version.out.toStdString();

    ProcessRun wrong = runLumora({QStringLiteral("--frobnicate")});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("--frobnicate")));
}

}  // namespace
}  // namespace lumora

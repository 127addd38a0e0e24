// The clipboard verse link across processes: another program (xclip) copies a reference on a real X
// display, Lumora follows it; Lumora's own copy reaches the other program. The executable runs itself
// under its own Xvfb server, so it never touches the desktop's clipboard.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <vector>

#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"

namespace lumora::test {
namespace {

// Copies text to the CLIPBOARD selection from a process of its own, which keeps serving it until another
// program takes the selection.
bool copyInAnotherProgram(const QString& text) {
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    if (!xclip.waitForStarted())
        return false;
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    return xclip.waitForFinished(10000) && xclip.exitCode() == 0;
}

// The window answers the other program through its event loop, which must run meanwhile.
QString pasteInAnotherProgram() {
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
    if (!QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10000)) {
        xclip.kill();
        xclip.waitForFinished();
        return QStringLiteral("<no answer>");
    }
    return QString::fromUtf8(xclip.readAllStandardOutput());
}

using X11ClipboardTest = ProgramTest;

TEST_F(X11ClipboardTest, AReferenceCopiedInAnotherProgramMovesThePlayer) {
    create();
    // A picture of the start-up About window over the main window, for review.
    modals().answerWith([](QWidget* about) {
        (void)QTest::qWaitForWindowExposed(about);
        about->screen()->grabWindow(0).save(QStringLiteral("app_x11_about.png"));
        static_cast<QDialog*>(about)->reject();
    });
    ASSERT_TRUE(program().startUp().ok());
    Program& started = program();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&started.window()));

    ASSERT_TRUE(copyInAnotherProgram(QStringLiteral("2:255")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.sura() == 2; }, 10000));
    EXPECT_EQ(controller.rangeBegin().value(), 255);
    EXPECT_EQ(controller.rangeEnd().value(), 255);

    ASSERT_TRUE(copyInAnotherProgram(QStringLiteral("36:1-12")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.sura() == 36; }, 10000));
    EXPECT_EQ(controller.rangeBegin().value(), 1);
    EXPECT_EQ(controller.rangeEnd().value(), 12);

    ASSERT_TRUE(copyInAnotherProgram(QStringLiteral("a word")));
    ASSERT_TRUE(copyInAnotherProgram(QStringLiteral("114:1")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.sura() == 114; }, 10000));
    EXPECT_EQ(controller.rangeBegin().value(), 1);

    // The window's own copy reaches other programs and is not followed.
    QTest::mouseClick(started.window().paneFrame(2)->copyButton(), Qt::LeftButton);
    const QString copied = pasteInAnotherProgram();
    EXPECT_EQ(copied, QGuiApplication::clipboard()->text());
    EXPECT_FALSE(copied.trimmed().isEmpty());
    QTest::qWait(0);
    EXPECT_EQ(controller.sura(), 114);

    started.window().screen()->grabWindow(0).save(QStringLiteral("app_x11_window.png"));
}

}  // namespace
}  // namespace lumora::test

int main(int argc, char** argv) {
    // Runs itself again under a private X server, once.
    if (!qEnvironmentVariableIsSet("LUMORA_UNDER_XVFB")) {
        qputenv("LUMORA_UNDER_XVFB", "1");
        qputenv("QT_QPA_PLATFORM", "xcb");
        std::vector<char*> command = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"),
                                      const_cast<char*>("-s"), const_cast<char*>("-screen 0 1280x1024x24")};
        for (int i = 0; i < argc; ++i) command.push_back(argv[i]);
        command.push_back(nullptr);
        execvp(command[0], command.data());
        std::perror("xvfb-run");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

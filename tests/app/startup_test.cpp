// Start-up and shut-down of the whole program on the sample folder.
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "audio/player.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

using StartUpTest = ProgramTest;

TEST_F(StartUpTest, FirstStartWithAnEmptyStoreUsesEveryDefault) {
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();

    EXPECT_EQ(modals().count(QStringLiteral("lumora::AboutWindow")), 1);
    EXPECT_EQ(window.currentLayout(), QStringLiteral("1"));
    EXPECT_EQ(controller.volume().curPosition(), 500);
    EXPECT_EQ(started.player()->masterVolume(), 128);
    EXPECT_TRUE(started.player()->equalizerEnabled());
    EXPECT_TRUE(window.onscreenHelp());
    EXPECT_TRUE(window.showPanel());
    EXPECT_FALSE(window.isTopMost());
    EXPECT_TRUE(started.clipboardReady());
    EXPECT_EQ(started.mp3Folder(), started.appFolder() + QStringLiteral("/mp3/"));

    // Sura 1 selected, the whole sura as the range.
    EXPECT_EQ(controller.sura(), 1);
    EXPECT_EQ(controller.rangeBegin().value(), 0);
    EXPECT_EQ(controller.rangeEnd().value(), 6);
    EXPECT_EQ(controller.currentVerseSlider().value(), 0);

    // Pane 1 the Arabic text at 33, panes 2 to 4 installed translations at 17, all different.
    VerseTextAssignment& texts = *started.texts();
    EXPECT_EQ(texts.pane(1).transName(), QStringLiteral("Arabic - Uthmani script"));
    EXPECT_EQ(texts.pane(1).fontSize(), 33);
    QStringList names;
    for (int pane = 1; pane <= 4; ++pane) {
        names << texts.pane(pane).transName();
        EXPECT_TRUE(window.isPaneVisible(pane));
        EXPECT_EQ(texts.pane(pane).backColour(), 14937827u);
        EXPECT_EQ(texts.pane(pane).foreColour(), 0u);
        if (pane > 1) {
            EXPECT_EQ(texts.pane(pane).fontSize(), 17);
        }
        EXPECT_TRUE(QFile::exists(started.appFolder() + "/data/tdata/" + names.last() + ".dat"))
            << names.last().toStdString();
        EXPECT_FALSE(window.paneFrame(pane)->view()->page().isEmpty());
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 4);

    // 90 % of the screen, centred, panes of equal height.
    const QSize screen = window.screenSizeTwips();
    const QRect geometry = window.windowGeometryTwips();
    EXPECT_NEAR(geometry.width(), screen.width() * 0.9, 15);
    EXPECT_NEAR(geometry.height(), screen.height() * 0.9, 15);
    EXPECT_NEAR(geometry.left(), (screen.width() - geometry.width()) / 2, 15);
    EXPECT_NEAR(geometry.top(), (screen.height() - geometry.height()) / 2, 15);
    for (int pane = 2; pane <= 4; ++pane) {
        EXPECT_NEAR(window.paneGeometryTwips(pane).height(), window.paneGeometryTwips(1).height(), 1);
    }
    window.grab().save(QStringLiteral("app_first_start.png"));
}

}  // namespace
}  // namespace lumora::test

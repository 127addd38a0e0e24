// The five layouts applied to and taken from the running window.
#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"
#include "windowdriver.h"

namespace lumora::test {
namespace {

using WindowLayoutsTest = ProgramTest;

void expectSameLayout(const LayoutState& actual, const LayoutState& expected) {
    EXPECT_EQ(actual.alwaysOnTop, expected.alwaysOnTop);
    EXPECT_EQ(actual.showPanel, expected.showPanel);
    EXPECT_EQ(actual.windowState, expected.windowState);
    EXPECT_EQ(actual.windowPosition, expected.windowPosition);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "pane " << i + 1);
        EXPECT_EQ(actual.panes[i].visible, expected.panes[i].visible);
        EXPECT_EQ(actual.panes[i].backColour, expected.panes[i].backColour);
        EXPECT_EQ(actual.panes[i].foreColour, expected.panes[i].foreColour);
        EXPECT_EQ(actual.panes[i].fontSize, expected.panes[i].fontSize);
        EXPECT_EQ(actual.panes[i].transName, expected.panes[i].transName);
        EXPECT_EQ(actual.panes[i].position, expected.panes[i].position);
    }
}

TEST_F(WindowLayoutsTest, SwitchingAwayAndBackRestoresEverythingTheLayoutHolds) {
    Program& started = start();
    MainWindow& window = started.window();
    VerseTextAssignment& texts = *started.texts();

    window.assignPaneText(2, QStringLiteral("French - Hamidullah"));
    texts.pane(2).setForeColour(0x0000FF);
    texts.pane(3).setBackColour(0xC0FFC0);
    texts.pane(1).setFontSize(40);
    window.setWindowGeometryTwips(QRectF(1500, 900, 9600, 7200));
    window.togglePane(4);
    dragSeparator(window, 1, 20);
    window.setAlwaysOnTop(true);
    const LayoutState before = window.currentLayoutState();
    EXPECT_EQ(window.paneFrame(2)->captionLabel()->text(), texts.pane(2).windowCaption() + QLatin1Char(' '));

    window.switchLayout(QStringLiteral("2"));
    EXPECT_EQ(window.currentLayout(), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("Main"), QStringLiteral("CurrentLayout")), QStringLiteral("2"));
    EXPECT_NE(texts.pane(2).transName(), QStringLiteral("French - Hamidullah"));
    EXPECT_TRUE(window.isPaneVisible(4));
    EXPECT_FALSE(window.isTopMost());
    EXPECT_EQ(texts.pane(1).fontSize(), 33);

    window.switchLayout(QStringLiteral("1"));
    expectSameLayout(window.currentLayoutState(), before);
    EXPECT_EQ(window.paneFrame(2)->captionLabel()->text(), texts.pane(2).windowCaption() + QLatin1Char(' '));
    EXPECT_TRUE(window.isTopMost());
    EXPECT_FALSE(window.paneFrame(4)->isVisible());
    EXPECT_FALSE(window.textsMenuAction(4)->isChecked());
    EXPECT_TRUE(window.paneFrame(2)->view()->page().contains(QStringLiteral("FF0000"), Qt::CaseInsensitive));
}

TEST_F(WindowLayoutsTest, LAndKWrapAroundTheFiveLayouts) {
    Program& started = start();
    MainWindow& window = started.window();
    window.switchLayout(QStringLiteral("5"));
    QTest::keyClick(&window, Qt::Key_L);
    EXPECT_EQ(window.currentLayout(), QStringLiteral("1"));
    EXPECT_EQ(window.layoutMenu()->title(), QStringLiteral("Layout 1"));
    EXPECT_TRUE(window.layoutMenuAction(1)->isChecked());
    EXPECT_FALSE(window.layoutMenuAction(5)->isChecked());
    QTest::keyClick(&window, Qt::Key_K);
    EXPECT_EQ(window.currentLayout(), QStringLiteral("5"));
    EXPECT_EQ(window.layoutMenu()->title(), QStringLiteral("Layout 5"));
    QTest::keyClick(&window, Qt::Key_K);
    EXPECT_EQ(window.currentLayout(), QStringLiteral("4"));
}

TEST_F(WindowLayoutsTest, ChoosingTheLayoutInUseChangesNothing) {
    Program& started = start();
    MainWindow& window = started.window();
    dragSeparator(window, 2, -15);
    const LayoutState before = window.currentLayoutState();
    window.layoutMenuAction(1)->trigger();
    expectSameLayout(window.currentLayoutState(), before);
    EXPECT_TRUE(window.layoutMenuAction(1)->isChecked());
}

TEST_F(WindowLayoutsTest, ResetAsksFirstAndYesStartsEveryLayoutAfresh) {
    Program& started = start();
    MainWindow& window = started.window();
    window.switchLayout(QStringLiteral("3"));
    started.texts()->pane(1).setFontSize(50);
    window.switchLayout(QStringLiteral("2"));  // layout 3 is now stored
    started.texts()->pane(1).setFontSize(44);

    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    modals().answerWith([&defaultButton](QWidget* widget) {
        auto* box = static_cast<QMessageBox*>(widget);
        defaultButton = box->standardButton(box->defaultButton());
        box->button(QMessageBox::No)->click();
    });
    window.resetAllLayouts();
    ASSERT_FALSE(modals().seen().empty());
    EXPECT_EQ(modals().seen().back().title, QStringLiteral("Reset layouts ?"));
    EXPECT_EQ(modals().seen().back().text, QStringLiteral("Do you want to reset all layouts ?"));
    EXPECT_EQ(defaultButton, QMessageBox::No);
    EXPECT_EQ(window.currentLayout(), QStringLiteral("2"));
    EXPECT_EQ(started.texts()->pane(1).fontSize(), 44);
    EXPECT_EQ(stored(QStringLiteral("Layout3"), QStringLiteral("1Size")), QStringLiteral("50"));

    modals().answer(QMessageBox::Yes);
    window.resetAllLayouts();
    EXPECT_EQ(window.currentLayout(), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("Main"), QStringLiteral("CurrentLayout")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("Layout3"), QStringLiteral("1Size")), QStringLiteral("<none>"));
    EXPECT_EQ(started.texts()->pane(1).fontSize(), 33);
    EXPECT_TRUE(window.layoutMenuAction(1)->isChecked());
    for (int pane = 2; pane <= 4; ++pane) {
        EXPECT_NEAR(window.paneGeometryTwips(pane).height(), window.paneGeometryTwips(1).height(), 1);
    }
}

TEST_F(WindowLayoutsTest, AMaximizedWindowReopensMaximized) {
    Program& first = start();
    first.window().showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(first.window().isMaximized());
    Program& second = restart();
    EXPECT_TRUE(second.window().isMaximized());
    EXPECT_EQ(stored(QStringLiteral("Layout1"), QStringLiteral("WindowState")), QStringLiteral("2"));
}

TEST_F(WindowLayoutsTest, LayoutHelpSaysHowToSwitch) {
    start().window().layoutHelpAction()->trigger();
    ASSERT_FALSE(modals().seen().empty());
    EXPECT_EQ(modals().seen().back().title, QStringLiteral("Layouts help"));
    EXPECT_EQ(modals().seen().back().text,
              QStringLiteral(
                  "Lumora supports 5 layouts. \r\n\r\nEach layout can have its own translations, font size, "
                  "window position, text and background colors. \r\n\r\nTo switch between layouts, use "
                  "keyboard shortcut 'L' to switch to next layout or 'K' to switch to previous layout  "));
}

}  // namespace
}  // namespace lumora::test

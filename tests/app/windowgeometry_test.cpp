// The window's geometry rules on the running window: panel, container, pane stacking and separators, and
// the window rolled up to its menu bar.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <array>

#include "app/commandtable.h"
#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/separatorbar.h"
#include "app/textpaneframe.h"
#include "app/twips.h"
#include "app/windowcommands.h"
#include "controls/ownerdrawnbutton.h"
#include "programfixture.h"
#include "windowdriver.h"

namespace lumora::test {
namespace {

using WindowGeometryTest = ProgramTest;

TEST_F(WindowGeometryTest, TheWindowDoesNotShrinkBelowItsMinimum) {
    MainWindow& window = start().window();
    window.resize(100, 100);
    const QSize twips = Twips::sizeFromPixels(window.frameGeometry().size(), window.dpi());
    EXPECT_GE(twips.width(), 8190 - 15);
    EXPECT_GE(twips.height(), 6300 - 15);
}

TEST_F(WindowGeometryTest, HidingThePanelGivesItsPlaceToThePanes) {
    MainWindow& window = start().window();
    const QRect withPanel = window.containerGeometryTwips();
    EXPECT_EQ(withPanel.top(), ControlPanel::kHeightTwips);
    window.showPanelAction()->trigger();
    EXPECT_FALSE(window.showPanel());
    EXPECT_FALSE(window.panel()->isVisible());
    EXPECT_EQ(window.containerGeometryTwips().top(), 0);
    EXPECT_EQ(window.containerGeometryTwips().height(), withPanel.height() + ControlPanel::kHeightTwips);
    window.showPanelAction()->trigger();
    EXPECT_TRUE(window.panel()->isVisible());
    EXPECT_EQ(window.containerGeometryTwips(), withPanel);
}

TEST_F(WindowGeometryTest, ASeparatorStopsAThousandTwipsFromEitherPaneEdge) {
    MainWindow& window = start().window();
    const QRect pane1 = window.paneGeometryTwips(1);
    const QRect pane2 = window.paneGeometryTwips(2);
    const QRect pane3 = window.paneGeometryTwips(3);
    const int pairBottom = pane2.bottom();

    dragSeparator(window, 1, -400);
    EXPECT_GE(window.paneGeometryTwips(1).height(), 1000);
    EXPECT_LT(window.paneGeometryTwips(1).height(), 1000 + 15);
    EXPECT_EQ(window.paneGeometryTwips(2).bottom(), pairBottom);
    EXPECT_EQ(window.paneGeometryTwips(3), pane3);

    // The separator's top stops 1000 twips above the lower pane's bottom; the bar itself takes 75 of them.
    dragSeparator(window, 1, 800);
    EXPECT_GE(window.paneGeometryTwips(2).height(), 1000 - 75);
    EXPECT_LT(window.paneGeometryTwips(2).height(), 1000 - 75 + 15);
    EXPECT_EQ(window.paneGeometryTwips(1).top(), pane1.top());
    EXPECT_EQ(window.paneGeometryTwips(2).bottom(), pairBottom);
    EXPECT_EQ(window.paneGeometryTwips(3), pane3);
}

TEST_F(WindowGeometryTest, ASeparatorNamesTheVisiblePanesItDivides) {
    MainWindow& window = start().window();
    window.togglePane(2);
    EXPECT_FALSE(window.paneFrame(2)->isVisible());
    EXPECT_FALSE(window.textsMenuAction(2)->isChecked());
    EXPECT_EQ(window.separator(1)->tag(), QStringLiteral("picText1|picText3"));
    EXPECT_EQ(window.separator(2)->tag(), QStringLiteral("picText3|picText4"));
    EXPECT_FALSE(window.separator(3)->isVisible());

    const QRect pane4 = window.paneGeometryTwips(4);
    const int total = window.paneGeometryTwips(1).height() + window.paneGeometryTwips(3).height();
    dragSeparator(window, 1, 30);
    EXPECT_EQ(window.paneGeometryTwips(1).height() + window.paneGeometryTwips(3).height(), total);
    EXPECT_GT(window.paneGeometryTwips(1).height(), window.paneGeometryTwips(4).height());
    EXPECT_EQ(window.paneGeometryTwips(4), pane4);
}

TEST_F(WindowGeometryTest, EnlargingTheWindowKeepsTheDraggedRatio) {
    MainWindow& window = start().window();
    dragSeparator(window, 1, 40);
    const double ratio = double(window.paneGeometryTwips(1).height()) / window.paneGeometryTwips(2).height();
    window.resize(window.width() + 40, window.height() + 120);
    EXPECT_NEAR(double(window.paneGeometryTwips(1).height()) / window.paneGeometryTwips(2).height(), ratio,
                0.01);
}

TEST_F(WindowGeometryTest, SwitchingOffTheLastPaneLeavesItAndAnyPaneBackSharesEqually) {
    MainWindow& window = start().window();
    dragSeparator(window, 3, -30);
    for (int pane = 1; pane <= 3; ++pane) window.togglePane(pane);
    EXPECT_TRUE(window.paneFrame(4)->isVisible());
    EXPECT_EQ(window.paneGeometryTwips(4).top(), 1);

    // The last one off: nothing is restacked, so it stays where it was.
    const QRect last = window.paneGeometryTwips(4);
    window.togglePane(4);
    EXPECT_FALSE(window.isPaneVisible(4));
    EXPECT_TRUE(window.paneFrame(4)->isVisible());
    EXPECT_EQ(window.paneGeometryTwips(4), last);

    // Texts menu "Text2": pane 2 comes back alone and takes the whole container.
    window.textsMenuAction(2)->trigger();
    EXPECT_TRUE(window.isPaneVisible(2));
    EXPECT_TRUE(window.panel()->visibleButton(2)->checked());
    EXPECT_FALSE(window.paneFrame(4)->isVisible());
    EXPECT_EQ(window.paneGeometryTwips(2).height(), window.containerGeometryTwips().height());

    window.togglePane(3);
    EXPECT_NEAR(window.paneGeometryTwips(2).height(), window.paneGeometryTwips(3).height(), 1);
}

// Everything the window shows of its panes and their place.
struct Placement {
    QSize size;
    QRect windowTwips;
    QRect containerTwips;
    std::array<QRect, 4> panesTwips;
    bool operator==(const Placement&) const = default;
};

std::ostream& operator<<(std::ostream& out, const QRect& r) {
    return out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

void PrintTo(const Placement& p, std::ostream* out) {
    *out << "size " << p.size.width() << "x" << p.size.height() << " window " << p.windowTwips << " container "
         << p.containerTwips;
    for (const QRect& pane : p.panesTwips) *out << " pane " << pane;
}

Placement placementOf(const MainWindow& window) {
    Placement placement{window.size(), window.windowGeometryTwips(), window.containerGeometryTwips(), {}};
    for (int pane = 1; pane <= 4; ++pane)
        placement.panesTwips[static_cast<size_t>(pane - 1)] = window.paneGeometryTwips(pane);
    return placement;
}

class WindowShadeTest : public ProgramTest {
protected:
    // Presses `button` on `widget` at `at`, where the window menu opens, and chooses "&WindowShade Mode".
    void shadeFrom(QWidget* widget, Qt::MouseButton button, QPoint at = QPoint()) {
        modals().chooseMenuItem(QStringLiteral("&WindowShade Mode"));
        QTest::mousePress(widget, button, {}, at);
        QTest::mouseRelease(widget, button, {}, at);
    }
    // The menu bar's row right of its menus, where the status line stands: the window menu's opener while
    // the panel is rolled away.
    static QWidget* menuRow(MainWindow& window, QPoint& at) {
        const QPoint inWindow(window.width() - 4, window.menuBar()->height() / 2);
        QWidget* widget = window.childAt(inWindow);
        at = widget ? widget->mapFrom(&window, inWindow) : QPoint();
        return widget;
    }
};

TEST_F(WindowShadeTest, TheWindowMenuRollsTheWindowUpToItsMenuBarAndDownToTheSamePlace) {
    MainWindow& window = start().window();
    modals().clear();
    dragSeparator(window, 1, 40);
    window.togglePane(3);
    const Placement before = placementOf(window);
    QAction* shade = window.commands().action(WindowCommands::kMenuWindowShade);
    EXPECT_FALSE(shade->isChecked());

    shadeFrom(window.panel()->iconLabel(), Qt::RightButton);
    EXPECT_TRUE(window.isRolledUp());
    EXPECT_TRUE(shade->isChecked());
    EXPECT_TRUE(shade->isEnabled());
    EXPECT_FALSE(window.panel()->isVisible());
    EXPECT_FALSE(window.container()->isVisible());
    EXPECT_TRUE(window.menuBar()->isVisible());
    EXPECT_EQ(window.height(), window.menuBar()->height());
    // Pulled down while rolled up, it stays the height of its menu bar; the menus still work.
    window.resize(window.width(), before.size.height());
    EXPECT_EQ(window.height(), window.menuBar()->height());
    QMenu* options = window.topMenus()[4];
    QTest::mouseClick(window.menuBar(), Qt::LeftButton, {},
                      window.menuBar()->actionGeometry(options->menuAction()).center());
    EXPECT_TRUE(options->isVisible());
    options->close();
    EXPECT_TRUE(window.isRolledUp());

    QPoint at;
    QWidget* row = menuRow(window, at);
    ASSERT_NE(row, nullptr);
    shadeFrom(row, Qt::LeftButton, at);
    EXPECT_FALSE(window.isRolledUp());
    EXPECT_FALSE(shade->isChecked());
    EXPECT_TRUE(window.panel()->isVisible());
    EXPECT_TRUE(window.container()->isVisible());
    EXPECT_FALSE(window.paneFrame(3)->isVisible());
    EXPECT_EQ(placementOf(window), before);
    EXPECT_GT(window.minimumHeight(), window.menuBar()->height());
}

TEST_F(WindowShadeTest, HidingTheMenusALayoutOrAClosedWindowRollItDownFirst) {
    Program& started = start();
    MainWindow& window = started.window();
    modals().clear();
    const Placement before = placementOf(window);

    shadeFrom(window.panel()->labels()[0], Qt::LeftButton);
    ASSERT_TRUE(window.isRolledUp());
    QTest::keyClick(&window, Qt::Key_F8);
    EXPECT_FALSE(window.menusVisible());
    EXPECT_FALSE(window.isRolledUp());
    EXPECT_EQ(window.size(), before.size);
    EXPECT_EQ(window.windowGeometryTwips(), before.windowTwips);
    EXPECT_TRUE(window.container()->isVisible());
    // Without its menu bar there is nothing to roll up to.
    window.setRolledUp(true);
    EXPECT_FALSE(window.isRolledUp());
    QTest::keyClick(&window, Qt::Key_F8, Qt::ShiftModifier);
    ASSERT_TRUE(window.menusVisible());

    // Layout 2 takes its own place; back on layout 1 the window is as it was.
    shadeFrom(window.panel()->labels()[1], Qt::RightButton);
    ASSERT_TRUE(window.isRolledUp());
    window.layoutMenuAction(2)->trigger();
    EXPECT_FALSE(window.isRolledUp());
    EXPECT_TRUE(window.panel()->isVisible());
    window.layoutMenuAction(1)->trigger();
    EXPECT_EQ(window.size(), before.size);
    EXPECT_EQ(window.windowGeometryTwips(), before.windowTwips);

    // Closed while rolled up, the window comes back at the size it rolls down to.
    shadeFrom(window.panel()->iconLabel(), Qt::MiddleButton);
    ASSERT_TRUE(window.isRolledUp());
    MainWindow& again = restart().window();
    EXPECT_FALSE(again.isRolledUp());
    EXPECT_EQ(again.size(), before.size);
    EXPECT_EQ(again.paneGeometryTwips(1), before.panesTwips[0]);
}

}  // namespace
}  // namespace lumora::test

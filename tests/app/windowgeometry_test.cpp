// The window's geometry rules on the running window: panel, container, pane stacking and separators.
#include <QAction>
#include <QTest>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/separatorbar.h"
#include "app/textpaneframe.h"
#include "app/twips.h"
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

}  // namespace
}  // namespace lumora::test

#include "app/panegeometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/twips.h"

namespace lumora {
namespace {

using Geometry = PaneGeometry;

TEST(PaneGeometry, TheWindowNeverShrinksBelowItsMinimum)
{
    EXPECT_EQ(Geometry::clampToMinimum(QSize(3000, 2000)), QSize(8190, 6300));
    EXPECT_EQ(Geometry::clampToMinimum(QSize(9000, 2000)), QSize(9000, 6300));
    EXPECT_EQ(Geometry::clampToMinimum(QSize(8190, 7000)), QSize(8190, 7000));
}

TEST(PaneGeometry, WindowResizePlacesPanelContainerSlidersAndMoveButtons)
{
    Geometry::PanelControls controls;
    controls.sliderLeft = 1200;
    controls.verseCountLeft = 1300;
    controls.rangeEndSlider = QRect(1200, 600, 5000, 300);
    controls.forwardButton = QSize(400, 250);
    controls.backwardButton = QSize(350, 250);

    const auto shown = Geometry::arrangeWindow(QSize(12000, 9000), QSize(11880, 8200), true, 1635, controls);
    EXPECT_TRUE(shown.panelVisible);
    EXPECT_EQ(shown.panel, QRect(0, 0, 11879, 1635));
    EXPECT_EQ(shown.container, QRect(0, 1635, 11840, 8200 - 1635 - 40));
    EXPECT_EQ(shown.paneWidth, 11840);
    EXPECT_EQ(shown.sliderWidth, 12000 - 1200 - 280);
    EXPECT_EQ(shown.verseCountWidth, 12000 - 1300 - 300);
    // Under the right end of the range-end slider at its new width.
    EXPECT_EQ(shown.forwardButton, QPoint(1200 + 10520 - 400 - 50, 600 + 250 + 250));
    EXPECT_EQ(shown.backwardButton, QPoint(1200 + 10520 - 400 - 50 - 350 - 100, 1100));

    // Hiding the panel gives its height to the container, which moves to the top.
    const auto hidden = Geometry::arrangeWindow(QSize(12000, 9000), QSize(11880, 8200), false, 1635, controls);
    EXPECT_FALSE(hidden.panelVisible);
    EXPECT_EQ(hidden.container, QRect(0, 0, 11840, 8160));
    EXPECT_EQ(hidden.container.height() - shown.container.height(), 1635);

    // A window far too small (minimized) gives empty sizes, never negative ones.
    const auto tiny = Geometry::arrangeWindow(QSize(0, 0), QSize(0, 0), true, 1635, controls);
    EXPECT_EQ(tiny.panel.width(), 0);
    EXPECT_EQ(tiny.container.size(), QSize(0, 0));
    EXPECT_EQ(tiny.sliderWidth, 0);
    EXPECT_EQ(tiny.verseCountWidth, 0);
}

TEST(PaneGeometry, PaneInteriorFollowsThePaneAndPaneFourIsShorter)
{
    const auto first = Geometry::arrangePane(1, QSize(10000, 3000), 300, 2000);
    EXPECT_EQ(first.browser, QRect(45, 315, 9950, 2675));
    EXPECT_EQ(first.infoButtonLeft, 9950 - 300 - 20);
    EXPECT_EQ(first.wordTipLeft, 9950 - 300 - 20 - 2000);
    const auto third = Geometry::arrangePane(3, QSize(10000, 3000), 300, 2000);
    EXPECT_EQ(third.browser, QRect(45, 300, 9950, 2675));
    const auto fourth = Geometry::arrangePane(4, QSize(10000, 3000), 300, 2000);
    EXPECT_EQ(fourth.browser, QRect(45, 345, 9950, 2620));
    EXPECT_EQ(first.browser.height() - fourth.browser.height(), 55);
    EXPECT_EQ(Geometry::arrangePane(2, QSize(10, 10), 300, 0).browser.size(), QSize(0, 0));
}

TEST(PaneGeometry, EqualStackingSharesTheHeightAndTagsTheSeparators)
{
    const auto stack = Geometry::stackPanes({true, true, true, true}, {0, 0, 0, 0}, QSize(11000, 9000), 75, false);
    ASSERT_TRUE(stack);
    // (9000 - 3 * 75) / 4 = 2193.75 -> 2194.
    int top = 1;
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(stack->panes[i].visible);
        EXPECT_EQ(stack->panes[i].rect, QRect(1, top, 11000, 2194));
        top += 2194;
        if (i < 3) {
            const auto& separator = stack->separators[i];
            EXPECT_TRUE(separator.visible);
            EXPECT_EQ(separator.rect, QRect(1, top, 11000, 75));
            EXPECT_EQ(separator.abovePane, int(i) + 1);
            EXPECT_EQ(separator.belowPane, int(i) + 2);
            top += 75;
        }
    }
    // Halves go to the even neighbour: 4001 / 2 = 2000.5 -> 2000, 4003 / 2 = 2001.5 -> 2002.
    EXPECT_EQ(Geometry::stackPanes({true, false, false, true}, {}, QSize(100, 4076), 75, false)->panes[0].rect.height(),
              2000);
    EXPECT_EQ(Geometry::stackPanes({true, false, false, true}, {}, QSize(100, 4078), 75, false)->panes[3].rect.height(),
              2002);
}

TEST(PaneGeometry, StackingSkipsHiddenPanesAndDoesNothingWithoutVisiblePanes)
{
    const auto stack = Geometry::stackPanes({true, false, true, false}, {0, 0, 0, 0}, QSize(5000, 6075), 75, false);
    ASSERT_TRUE(stack);
    EXPECT_EQ(stack->panes[0].rect, QRect(1, 1, 5000, 3000));
    EXPECT_EQ(stack->panes[2].rect, QRect(1, 3076, 5000, 3000));
    EXPECT_FALSE(stack->panes[1].visible);
    EXPECT_FALSE(stack->panes[3].visible);
    EXPECT_TRUE(stack->separators[0].visible);
    EXPECT_EQ(stack->separators[0].abovePane, 1);
    EXPECT_EQ(stack->separators[0].belowPane, 3);
    EXPECT_FALSE(stack->separators[1].visible);
    EXPECT_FALSE(stack->separators[2].visible);

    EXPECT_FALSE(Geometry::stackPanes({false, false, false, false}, {1, 2, 3, 4}, QSize(5000, 6000), 75, true));
    // A container smaller than its separators leaves the panes without height, not with a negative one.
    const auto squeezed = Geometry::stackPanes({true, true, true, true}, {}, QSize(5000, 100), 75, false);
    EXPECT_EQ(squeezed->panes[3].rect.height(), 0);
}

TEST(PaneGeometry, ProportionalStackingKeepsTheRatioOfTheHeights)
{
    // Pane 2 three times pane 4's height; hidden panes' heights do not count.
    const std::array<int, 4> heights = {9999, 1000, 5555, 3000};
    const auto small = Geometry::stackPanes({false, true, false, true}, heights, QSize(5000, 4075), 75, true);
    EXPECT_EQ(small->panes[1].rect.height(), 1000);
    EXPECT_EQ(small->panes[3].rect.height(), 3000);
    const auto large = Geometry::stackPanes({false, true, false, true}, heights, QSize(5000, 8075), 75, true);
    EXPECT_EQ(large->panes[1].rect.height(), 2000);
    EXPECT_EQ(large->panes[3].rect.height(), 6000);
    EXPECT_EQ(large->panes[3].rect.top(), 1 + 2000 + 75);

    // Heights of one third each stay within a twip of the exact share.
    const auto thirds = Geometry::stackPanes({true, true, true, false}, {700, 700, 700, 0}, QSize(5000, 10150), 75, true);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(thirds->panes[i].rect.height(), 10000.0 / 3, 1.0);
    }
    // Panes without any height have no ratio to keep: they share equally.
    const auto flat = Geometry::stackPanes({true, true, false, false}, {0, 0, 0, 0}, QSize(5000, 4075), 75, true);
    EXPECT_EQ(flat->panes[0].rect.height(), 2000);
    EXPECT_EQ(flat->panes[1].rect.height(), 2000);
}

TEST(PaneGeometry, CentresTheWindow)
{
    EXPECT_EQ(Geometry::centredTopLeft(QSize(28800, 16200), QSize(25920, 14580)), QPoint(1440, 810));
}

TEST(SeparatorDrag, MovesWithTheCursorWithinAThousandTwipsOfTheFarEdges)
{
    // Pane 1 from 1 to 3001, separator 75 tall, pane 3 from 3076 to 6076; 96 dpi, 15 twips per pixel.
    Geometry::SeparatorDrag drag(QPoint(100, 200), 96, QRect(1, 3001, 5000, 75), QRect(1, 1, 5000, 3000),
                                 QRect(1, 3076, 5000, 3000));
    EXPECT_EQ(drag.highestTop(), 1001);
    EXPECT_EQ(drag.lowestTop(), 5076);

    EXPECT_TRUE(drag.moveCursor(QPoint(100, 100)));  // up 100 px = 1500 twips
    EXPECT_EQ(drag.separator(), QRect(1, 1501, 5000, 75));
    EXPECT_EQ(drag.abovePane(), QRect(1, 1, 5000, 1500));
    EXPECT_EQ(drag.belowPane(), QRect(1, 1576, 5000, 4500));

    // A step that would pass the upper limit is not made; sideways movement moves nothing.
    EXPECT_FALSE(drag.moveCursor(QPoint(100, 60)));
    EXPECT_FALSE(drag.moveCursor(QPoint(300, 60)));
    EXPECT_EQ(drag.separator().top(), 1501);
    EXPECT_TRUE(drag.moveCursor(QPoint(300, 27)));  // exactly to the limit
    EXPECT_EQ(drag.separator().top(), 1006);
    EXPECT_FALSE(drag.moveCursor(QPoint(300, 26)));  // 15 twips further would pass it
    EXPECT_EQ(drag.separator().top(), 1006);

    // Down to the lower limit; the two panes always keep their combined height.
    for (int y = 27; y < 600; y += 7) {
        drag.moveCursor(QPoint(300, y));
        EXPECT_GE(drag.separator().top(), drag.highestTop());
        EXPECT_LE(drag.separator().top(), drag.lowestTop());
        EXPECT_EQ(drag.abovePane().height() + 75 + drag.belowPane().height(), 6075);
        EXPECT_EQ(drag.belowPane().top() + drag.belowPane().height(), 6076);
    }
    // The lowest separator top is 1000 above the bottom, so the lower pane keeps 1000 less the bar.
    EXPECT_GE(drag.belowPane().height(), 1000 - 75);
    EXPECT_GT(drag.separator().top(), 5076 - 7 * 15);
}

TEST(SeparatorDrag, ConvertsCursorPixelsWithTheScreenDpi)
{
    Geometry::SeparatorDrag drag(QPoint(0, 0), 144, QRect(1, 3001, 5000, 75), QRect(1, 1, 5000, 3000),
                                 QRect(1, 3076, 5000, 3000));
    EXPECT_TRUE(drag.moveCursor(QPoint(0, 50)));  // 10 twips per pixel at 144 dpi
    EXPECT_EQ(drag.separator().top(), 3501);
}

TEST(Twips, ConvertWithTheScreenDpi)
{
    EXPECT_EQ(Twips::perPixel(96), 15.0);
    EXPECT_EQ(Twips::fromPixels(100, 96), 1500);
    EXPECT_EQ(Twips::toPixels(8190, 96), 546);
    EXPECT_EQ(Twips::toPixels(6300, 96), 420);
    EXPECT_EQ(Twips::toPixels(7.5, 96), 0);    // half a pixel: to the even neighbour
    EXPECT_EQ(Twips::toPixels(22.5, 96), 2);
    EXPECT_EQ(Twips::toPixels(1440, 120), 120);
    EXPECT_EQ(Twips::toPixels(1440, 0), 96);   // no usable dpi: 96
    EXPECT_EQ(Twips::toPixels(1440, NAN), 96);
    EXPECT_EQ(Twips::toPixels(NAN, 96), 0);
    EXPECT_EQ(Twips::toPixels(1e300, 96), Twips::kLimit);
    EXPECT_EQ(Twips::fromPixels(-1e300, 96), -Twips::kLimit);
    EXPECT_EQ(Twips::rectToPixels(QRect(15, 30, 8190, 6300), 96), QRect(1, 2, 546, 420));
    EXPECT_EQ(Twips::rectFromPixels(QRect(1, 2, 546, 420), 96), QRect(15, 30, 8190, 6300));
    EXPECT_EQ(Twips::sizeFromPixels(Twips::sizeToPixels(QSize(8190, 6300), 96), 96), QSize(8190, 6300));
}

}  // namespace
}  // namespace lumora

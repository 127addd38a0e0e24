#include "app/panegeometry.h"

#include <algorithm>
#include <vector>

#include "app/twips.h"
#include "settings/settingtext.h"

namespace lumora {

namespace {

// The browser's place inside its pane: below the pane's strip of buttons, which is a little taller in
// pane 3's and pane 4's design.
constexpr int kBrowserLeft = 45;
constexpr std::array<int, PaneGeometry::kPaneCount> kBrowserTop = {315, 315, 300, 345};
constexpr int kBrowserWidthMargin = 50;
constexpr std::array<int, PaneGeometry::kPaneCount> kBrowserHeightMargin = {325, 325, 325, 380};
constexpr int kInfoButtonMargin = 20;

// The container leaves this much of the client area free on the right and at the bottom.
constexpr int kContainerMargin = 40;
// The verse sliders and the verse-count display end short of the window's right edge.
constexpr int kSliderRightMargin = 260 + 20;
constexpr int kVerseCountRightMargin = 280 + 20;
// The range move buttons sit under the right end of the range-end slider.
constexpr int kMoveButtonDrop = 250;
constexpr int kForwardButtonInset = 50;
constexpr int kMoveButtonGap = 100;

int nonNegative(int value)
{
    return std::max(value, 0);
}

}  // namespace

QSize PaneGeometry::clampToMinimum(QSize outerTwips)
{
    return QSize(std::max(outerTwips.width(), kMinimumWidthTwips), std::max(outerTwips.height(), kMinimumHeightTwips));
}

PaneGeometry::WindowArrangement PaneGeometry::arrangeWindow(QSize outerTwips, QSize innerTwips, bool showPanel,
                                                            int panelHeight, const PanelControls& controls)
{
    WindowArrangement result;
    result.panelVisible = showPanel;
    result.panel = QRect(0, 0, nonNegative(innerTwips.width() - 1), nonNegative(panelHeight));

    const int panelSpace = showPanel ? result.panel.height() : 0;
    result.container = QRect(0, panelSpace, nonNegative(innerTwips.width() - kContainerMargin),
                             nonNegative(innerTwips.height() - panelSpace - kContainerMargin));
    result.paneWidth = result.container.width();

    result.sliderWidth = nonNegative(outerTwips.width() - controls.sliderLeft - kSliderRightMargin);
    result.verseCountWidth = nonNegative(outerTwips.width() - controls.verseCountLeft - kVerseCountRightMargin);

    const int moveTop = controls.rangeEndSlider.top() + controls.forwardButton.height() + kMoveButtonDrop;
    const int forwardLeft = controls.rangeEndSlider.left() + result.sliderWidth - controls.forwardButton.width() -
                            kForwardButtonInset;
    result.forwardButton = QPoint(forwardLeft, moveTop);
    result.backwardButton = QPoint(forwardLeft - controls.backwardButton.width() - kMoveButtonGap, moveTop);
    return result;
}

PaneGeometry::PaneInterior PaneGeometry::arrangePane(int pane, QSize paneTwips, int infoButtonWidth,
                                                     int wordTipWidth)
{
    const size_t index = static_cast<size_t>(std::clamp(pane, 1, kPaneCount) - 1);
    PaneInterior result;
    result.browser = QRect(kBrowserLeft, kBrowserTop[index], nonNegative(paneTwips.width() - kBrowserWidthMargin),
                           nonNegative(paneTwips.height() - kBrowserHeightMargin[index]));
    result.infoButtonLeft = result.browser.width() - infoButtonWidth - kInfoButtonMargin;
    result.wordTipLeft = result.infoButtonLeft - wordTipWidth;
    return result;
}

std::optional<PaneGeometry::Stack> PaneGeometry::stackPanes(const std::array<bool, kPaneCount>& visible,
                                                            const std::array<int, kPaneCount>& currentHeights,
                                                            QSize containerTwips, int separatorHeight,
                                                            bool proportional)
{
    std::vector<size_t> order;  // indexes of the visible panes, top to bottom
    for (size_t index = 0; index < visible.size(); ++index) {
        if (visible[index]) {
            order.push_back(index);
        }
    }
    if (order.empty()) {
        return std::nullopt;
    }
    const int count = static_cast<int>(order.size());

    const double available = containerTwips.height() - double(count - 1) * separatorHeight;
    double total = 0;
    for (size_t index : order) {
        total += std::max(currentHeights[index], 0);
    }
    // Panes that have no height between them have no proportions to keep: they share equally.
    const bool keepRatio = proportional && total > 0;

    Stack stack;
    const int width = containerTwips.width();
    int top = 1;
    for (size_t slot = 0; slot < order.size(); ++slot) {
        double height = available / count;
        if (keepRatio) {
            // The share is held as a single-precision percentage, as the stored proportions always were.
            const float percent = static_cast<float>(std::max(currentHeights[order[slot]], 0) / total * 100.0);
            height = static_cast<double>(percent) / 100.0 * available;
        }
        const int roundedHeight = nonNegative(static_cast<int>(SettingText::roundHalfEven(height)));
        if (slot > 0) {
            StackedSeparator& separator = stack.separators[slot - 1];
            separator.visible = true;
            separator.rect = QRect(1, top, width, separatorHeight);
            separator.abovePane = static_cast<int>(order[slot - 1]) + 1;
            separator.belowPane = static_cast<int>(order[slot]) + 1;
            top += separatorHeight;
        }
        StackedPane& pane = stack.panes[order[slot]];
        pane.visible = true;
        pane.rect = QRect(1, top, width, roundedHeight);
        top += roundedHeight;
    }
    return stack;
}

QPoint PaneGeometry::centredTopLeft(QSize screenTwips, QSize windowTwips)
{
    return QPoint((screenTwips.width() - windowTwips.width()) / 2, (screenTwips.height() - windowTwips.height()) / 2);
}

PaneGeometry::SeparatorDrag::SeparatorDrag(QPoint cursorPixels, double dpi, QRect separator, QRect abovePane,
                                           QRect belowPane)
    : m_cursor(cursorPixels),
      m_dpi(dpi),
      m_separator(separator),
      m_above(abovePane),
      m_below(belowPane),
      m_belowBottom(belowPane.y() + belowPane.height()),
      m_highestTop(abovePane.y() + kDragMarginTwips),
      m_lowestTop(m_belowBottom - kDragMarginTwips)
{
    followSeparator();
}

bool PaneGeometry::SeparatorDrag::moveCursor(QPoint cursorPixels)
{
    bool moved = false;
    const int dyPixels = cursorPixels.y() - m_cursor.y();
    if (dyPixels != 0) {
        const int newTop = m_separator.y() + Twips::fromPixels(dyPixels, m_dpi);
        if ((dyPixels < 0 && newTop >= m_highestTop) || (dyPixels > 0 && newTop <= m_lowestTop)) {
            m_separator.moveTop(newTop);
            moved = true;
        }
    }
    m_cursor = cursorPixels;
    followSeparator();
    return moved;
}

void PaneGeometry::SeparatorDrag::followSeparator()
{
    m_above.setHeight(nonNegative(m_separator.y() - m_above.y()));
    const int belowTop = m_separator.y() + m_separator.height();
    m_below = QRect(m_below.x(), belowTop, m_below.width(), nonNegative(m_belowBottom - belowTop));
}

}  // namespace lumora

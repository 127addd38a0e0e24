#pragma once
// The main window's geometry rules, in twips, as functions from sizes to rectangles. The window calls
// arrangeWindow after every size change (and when the panel is shown or hidden), arrangePane when a text
// pane changes size, stackPanes when the container changes size, a pane is shown or hidden, or a layout
// is loaded, and drives a SeparatorDrag while the user drags a separator bar. It converts the results to
// pixels (Twips) and applies them to its widgets; nothing here touches a widget.
//
// Panes are numbered 1 to 4 from the top; arrays hold pane N at index N - 1, separator N at index N - 1.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>

namespace lumora {

class PaneGeometry {
public:
    static constexpr int kPaneCount = 4;
    static constexpr int kSeparatorCount = 3;
    // The outer window never gets smaller than this.
    static constexpr int kMinimumWidthTwips = 8190;
    static constexpr int kMinimumHeightTwips = 6300;
    // Design sizes: the control panel's height and the separator bars' height.
    static constexpr int kPanelHeightTwips = 1635;
    static constexpr int kSeparatorHeightTwips = 75;
    // A dragged separator stops this far from the far edges of its two panes, so each keeps some height.
    static constexpr int kDragMarginTwips = 1000;

    // The outer size raised to the minimum.
    static QSize clampToMinimum(QSize outerTwips);

    // The panel controls whose geometry the window resize changes, as they stand.
    struct PanelControls {
        int sliderLeft = 0;       // left of the three verse sliders
        int verseCountLeft = 0;   // left of the verse-count display under them
        QRect rangeEndSlider;     // its top and left place the range move buttons
        QSize forwardButton;
        QSize backwardButton;
    };
    // Where the window resize puts things. Sizes that would come out negative (a minimized or tiny
    // window) are 0.
    struct WindowArrangement {
        bool panelVisible = true;
        QRect panel;              // meaningful when panelVisible
        QRect container;
        int paneWidth = 0;        // width of every pane and separator
        int sliderWidth = 0;      // width of each of the three verse sliders
        int verseCountWidth = 0;
        QPoint forwardButton;     // top-left of the range move buttons
        QPoint backwardButton;
    };
    // outer: the whole window; inner: its client area (below the menu bar). panelHeight: the panel's own
    // height, which the resize keeps.
    static WindowArrangement arrangeWindow(QSize outerTwips, QSize innerTwips, bool showPanel, int panelHeight,
                                           const PanelControls& controls);

    // Inside pane N: the text browser, and the lefts of the right-aligned info button and the word tip label
    // that ends where the button begins. Pane 4's browser starts lower, so it is 55 twips shorter. The window
    // does not call it while minimized.
    struct PaneInterior {
        QRect browser;
        int infoButtonLeft = 0;
        int wordTipLeft = 0;
    };
    static PaneInterior arrangePane(int pane, QSize paneTwips, int infoButtonWidth, int wordTipWidth);

    struct StackedPane {
        bool visible = false;
        QRect rect;               // meaningful when visible
    };
    struct StackedSeparator {
        bool visible = false;
        QRect rect;               // meaningful when visible
        int abovePane = 0;        // the panes it sits between (its tag), 1 to 4
        int belowPane = 0;
    };
    struct Stack {
        std::array<StackedPane, kPaneCount> panes;
        std::array<StackedSeparator, kSeparatorCount> separators;
    };
    // Stacks the visible panes from the top of the container, each pair divided by a separator
    // (separator 1 under the first visible pane, and so on). proportional keeps the ratio of the panes'
    // current heights; otherwise all get the same height. Heights are whole twips, halves to even, so the
    // stack may end a few twips off the container's bottom. With no pane visible nothing changes
    // (nullopt).
    static std::optional<Stack> stackPanes(const std::array<bool, kPaneCount>& visible,
                                           const std::array<int, kPaneCount>& currentHeights, QSize containerTwips,
                                           int separatorHeight, bool proportional);

    // The top-left that centres a window on the screen.
    static QPoint centredTopLeft(QSize screenTwips, QSize windowTwips);

    // One drag of a separator bar between two panes: the window feeds it the cursor (screen pixels) while
    // a mouse button that was down at the start stays down, and applies the three rectangles after each
    // call. The separator moves with the cursor's vertical movement but never above the upper pane's top
    // + 1000 or below the lower pane's bottom - 1000 twips (a step that would cross a limit is not made);
    // the two panes share their combined height and no other pane changes.
    class SeparatorDrag {
    public:
        SeparatorDrag(QPoint cursorPixels, double dpi, QRect separator, QRect abovePane, QRect belowPane);

        // True when the separator moved.
        bool moveCursor(QPoint cursorPixels);

        QRect separator() const { return m_separator; }
        QRect abovePane() const { return m_above; }
        QRect belowPane() const { return m_below; }
        int highestTop() const { return m_highestTop; }
        int lowestTop() const { return m_lowestTop; }

    private:
        void followSeparator();

        QPoint m_cursor;
        double m_dpi;
        QRect m_separator;
        QRect m_above;
        QRect m_below;
        int m_belowBottom;
        int m_highestTop;
        int m_lowestTop;
    };
};

}  // namespace lumora

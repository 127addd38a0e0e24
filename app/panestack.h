#pragma once
// The four text panes stacked in their container, with the separator bars between the visible ones.
// The stack keeps every rectangle in twips (panes and separators relative to the container) and places
// the widgets from them; a separator dragged with the mouse moves the boundary between its two panes.

#include <QRect>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "app/panegeometry.h"

namespace lumora {

class SeparatorBar;
class TextPaneFrame;

class PaneStack : public QWidget {
    Q_OBJECT
public:
    // `paneVisible(n)` says whether pane n (1..4) is switched on.
    PaneStack(std::function<bool(int)> paneVisible, QWidget* parent);

    TextPaneFrame* frame(int pane) const { return m_panes.at(static_cast<size_t>(pane - 1)); }
    const std::array<TextPaneFrame*, 4>& frames() const { return m_panes; }
    SeparatorBar* separator(int number) const { return m_separators.at(static_cast<size_t>(number - 1)); }

    QRect paneTwips(int pane) const { return m_paneTw.at(static_cast<size_t>(pane - 1)); }
    void setPaneTwips(int pane, const QRect& rect) { m_paneTw.at(static_cast<size_t>(pane - 1)) = rect; }
    QRect separatorTwips(int number) const { return m_separatorTw.at(static_cast<size_t>(number - 1)); }
    QRect containerTwips() const { return m_containerTw; }

    void setDpi(double dpi);
    // Places the container at `pixels` (`twips` in the window's client area) with panes `paneWidthTw`
    // wide; a container of a new size restacks the panes keeping their height ratio.
    void place(const QRect& twips, const QRect& pixels, int paneWidthTw);
    // Stacks the visible panes (proportional: keep their height ratio; otherwise equal heights).
    void loadBrowsers(bool proportional);

private:
    void applyPaneRects();
    void onDragStarted(int number, QPoint globalPixels);
    void onDragMoved(int number, QPoint globalPixels);

    std::function<bool(int)> m_paneVisible;
    double m_dpi;
    std::array<TextPaneFrame*, 4> m_panes{};
    std::array<SeparatorBar*, 3> m_separators{};
    QRect m_containerTw;
    std::array<QRect, 4> m_paneTw{};
    std::array<QRect, 3> m_separatorTw{};
    std::optional<PaneGeometry::SeparatorDrag> m_drag;
    int m_dragSeparator = 0;
    int m_dragAbove = 0;
    int m_dragBelow = 0;
};

}  // namespace lumora

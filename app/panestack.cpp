#include "app/panestack.h"

#include "app/separatorbar.h"
#include "app/textpaneframe.h"
#include "app/twips.h"

namespace lumora {

PaneStack::PaneStack(std::function<bool(int)> paneVisible, QWidget* parent)
    : QWidget(parent), m_paneVisible(std::move(paneVisible)), m_dpi(Twips::kDefaultDpi) {
    setAutoFillBackground(true);
    for (int pane = 1; pane <= 4; ++pane) m_panes[static_cast<size_t>(pane - 1)] = new TextPaneFrame(pane, this);
    for (int number = 1; number <= 3; ++number) {
        auto* bar = new SeparatorBar(number, this);
        bar->hide();
        m_separators[static_cast<size_t>(number - 1)] = bar;
        connect(bar, &SeparatorBar::dragStarted, this, &PaneStack::onDragStarted);
        connect(bar, &SeparatorBar::dragMoved, this, &PaneStack::onDragMoved);
        connect(bar, &SeparatorBar::dragFinished, this, [this](int) { m_drag.reset(); });
    }
}

void PaneStack::setDpi(double dpi) {
    m_dpi = dpi;
    for (TextPaneFrame* frame : m_panes) frame->setDpi(dpi);
}

void PaneStack::place(const QRect& twips, const QRect& pixels, int paneWidthTw) {
    setGeometry(pixels);
    const bool resized = twips.size() != m_containerTw.size();
    m_containerTw = twips;
    for (QRect& rect : m_paneTw) rect.setWidth(paneWidthTw);
    for (QRect& rect : m_separatorTw) rect.setWidth(paneWidthTw);
    if (resized) {
        loadBrowsers(true);
    } else {
        applyPaneRects();
    }
}

void PaneStack::loadBrowsers(bool proportional) {
    std::array<bool, 4> visible{};
    std::array<int, 4> heights{};
    for (int pane = 1; pane <= 4; ++pane) {
        visible[static_cast<size_t>(pane - 1)] = m_paneVisible(pane);
        heights[static_cast<size_t>(pane - 1)] = m_paneTw[static_cast<size_t>(pane - 1)].height();
    }
    const auto stack = PaneGeometry::stackPanes(visible, heights, m_containerTw.size(),
                                                PaneGeometry::kSeparatorHeightTwips, proportional);
    if (!stack)
        return;
    for (size_t i = 0; i < 4; ++i) {
        if (stack->panes[i].visible)
            m_paneTw[i] = stack->panes[i].rect;
    }
    for (size_t i = 0; i < 3; ++i) {
        const auto& separator = stack->separators[i];
        if (!separator.visible)
            continue;
        m_separatorTw[i] = separator.rect;
        m_separators[i]->setTag(frame(separator.abovePane)->name() + QLatin1Char('|') +
                                frame(separator.belowPane)->name());
    }
    for (size_t i = 0; i < 4; ++i) {
        m_panes[i]->setVisible(stack->panes[i].visible);
        if (stack->panes[i].visible)
            m_panes[i]->setGeometry(Twips::rectToPixels(m_paneTw[i], m_dpi));
    }
    for (size_t i = 0; i < 3; ++i) {
        m_separators[i]->setVisible(stack->separators[i].visible);
        if (stack->separators[i].visible) {
            m_separators[i]->setGeometry(Twips::rectToPixels(m_separatorTw[i], m_dpi));
            m_separators[i]->raise();
        }
    }
}

void PaneStack::applyPaneRects() {
    for (size_t i = 0; i < 4; ++i) m_panes[i]->setGeometry(Twips::rectToPixels(m_paneTw[i], m_dpi));
    for (size_t i = 0; i < 3; ++i) m_separators[i]->setGeometry(Twips::rectToPixels(m_separatorTw[i], m_dpi));
}

void PaneStack::onDragStarted(int number, QPoint globalPixels) {
    // The separator's tag names the panes above and below it.
    const QStringList names = separator(number)->tag().split(QLatin1Char('|'));
    if (names.size() != 2)
        return;
    int above = 0;
    int below = 0;
    for (int pane = 1; pane <= 4; ++pane) {
        if (frame(pane)->name() == names[0])
            above = pane;
        if (frame(pane)->name() == names[1])
            below = pane;
    }
    if (above == 0 || below == 0)
        return;
    m_dragSeparator = number;
    m_dragAbove = above;
    m_dragBelow = below;
    m_drag.emplace(globalPixels, m_dpi, separatorTwips(number), paneTwips(above), paneTwips(below));
}

void PaneStack::onDragMoved(int number, QPoint globalPixels) {
    if (!m_drag || number != m_dragSeparator)
        return;
    const bool moved = m_drag->moveCursor(globalPixels);
    m_separatorTw[static_cast<size_t>(number - 1)] = m_drag->separator();
    setPaneTwips(m_dragAbove, m_drag->abovePane());
    setPaneTwips(m_dragBelow, m_drag->belowPane());
    applyPaneRects();
    if (moved && parentWidget())
        parentWidget()->repaint();
}

}  // namespace lumora

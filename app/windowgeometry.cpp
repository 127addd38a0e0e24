#include "app/windowgeometry.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/panestack.h"
#include "app/twips.h"
#include "app/windowaccessibility.h"
#include "controls/statusline.h"

namespace lumora {

WindowGeometry::WindowGeometry(MainWindow& window) : m_window(window) {}

double WindowGeometry::dpi() const {
    const double value = m_window.logicalDpiY();
    return value > 0 ? value : Twips::kDefaultDpi;
}

int WindowGeometry::menuBarHeight() const {
    if (!m_window.m_menusVisible)
        return 0;
    const int width = std::max(m_window.width(), 1);
    QMenuBar* bar = m_window.m_menuBar;
    return bar->heightForWidth(width) > 0 ? bar->heightForWidth(width) : bar->sizeHint().height();
}

QSize WindowGeometry::frameExtraPixels() const {
    const QSize extra = m_window.frameGeometry().size() - m_window.size();
    return QSize(std::max(extra.width(), 0), std::max(extra.height(), 0));
}

QSize WindowGeometry::screenSizeTwips() const {
    const QScreen* shownOn = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    const QSize pixels = shownOn ? shownOn->geometry().size() : QSize(1024, 768);
    return Twips::sizeFromPixels(pixels, dpi());
}

QRect WindowGeometry::windowGeometryTwips() const {
    // The frame's top-left places the window as the user sees it; the size is the window's own, without
    // the window manager's decorations, so that storing and restoring it never grows the window.
    const QSize size = m_unrolledSize.value_or(m_window.size());
    return Twips::rectFromPixels(QRect(m_window.frameGeometry().topLeft(), size), dpi());
}

void WindowGeometry::setWindowGeometryTwips(const QRectF& rect) {
    setRolledUp(false);
    const QRect pixels = Twips::rectToPixels(Twips::rounded(rect), dpi());
    m_window.move(pixels.topLeft());
    m_window.resize(pixels.size().expandedTo(m_window.minimumSize()));
    arrange();
}

void WindowGeometry::arrange() {
    if (rolledUp()) {
        arrangeRolledUp();
        return;
    }
    MainWindow& window = m_window;
    const double windowDpi = dpi();
    // The smallest outer window, less what the window manager's frame takes.
    const QSize extra = frameExtraPixels();
    window.setMinimumSize(Twips::toPixels(PaneGeometry::kMinimumWidthTwips, windowDpi) - extra.width(),
                          Twips::toPixels(PaneGeometry::kMinimumHeightTwips, windowDpi) - extra.height());

    const int menuHeight = menuBarHeight();
    placeMenuRow(menuHeight);
    const QSize innerPixels(window.width(), std::max(window.height() - menuHeight, 0));
    const QSize outerTwips = Twips::sizeFromPixels(window.frameGeometry().size(), windowDpi);
    const QSize innerTwips = Twips::sizeFromPixels(innerPixels, windowDpi);

    ControlPanel* panel = window.m_panel;
    const PaneGeometry::PanelControls controls = panel ? panel->controlsTwips() : PaneGeometry::PanelControls{};
    const PaneGeometry::WindowArrangement arrangement = PaneGeometry::arrangeWindow(
        outerTwips, innerTwips, window.m_showPanel, ControlPanel::kHeightTwips, controls);
    if (panel) {
        panel->setVisible(arrangement.panelVisible);
        if (arrangement.panelVisible) {
            panel->setGeometry(Twips::rectToPixels(arrangement.panel, windowDpi).translated(0, menuHeight));
            panel->arrange(arrangement);
        }
    }
    window.m_stack->place(arrangement.container,
                          Twips::rectToPixels(arrangement.container, windowDpi).translated(0, menuHeight),
                          arrangement.paneWidth);
}

void WindowGeometry::placeMenuRow(int menuHeight) {
    if (m_window.m_menusVisible)
        m_window.m_menuBar->setGeometry(0, 0, m_window.width(), menuHeight);
    if (m_window.m_access)
        m_window.m_access->placeStatusLine(menuHeight, m_window.m_menusVisible);
}

// ---------------------------------------------------------------------------------------------- rolling up

void WindowGeometry::setRolledUp(bool rolled) {
    if (rolled == rolledUp())
        return;
    MainWindow& window = m_window;
    if (rolled) {
        if (!window.m_menusVisible || (window.windowState() & ~Qt::WindowActive) != Qt::WindowNoState)
            return;
        m_unrolledSize = window.size();
        watchMenuRow(true);
        window.wordTip()->hide();
        arrange();
        return;
    }
    // The panes are not placed while rolled up, so the old size gives them back as they were.
    const QSize size = *m_unrolledSize;
    m_unrolledSize.reset();
    watchMenuRow(false);
    window.setMaximumHeight(QWIDGETSIZE_MAX);
    window.resize(size);
    window.m_stack->show();
    arrange();
}

void WindowGeometry::arrangeRolledUp() {
    MainWindow& window = m_window;
    const int menuHeight = menuBarHeight();
    const QSize extra = frameExtraPixels();
    window.setMinimumSize(Twips::toPixels(PaneGeometry::kMinimumWidthTwips, dpi()) - extra.width(), menuHeight);
    window.setMaximumHeight(menuHeight);
    placeMenuRow(menuHeight);
    if (window.m_panel)
        window.m_panel->hide();
    window.m_stack->hide();
}

void WindowGeometry::watchMenuRow(bool on) {
    QWidget* row[] = {m_window.m_menuBar, m_window.statusLine()};
    for (QWidget* widget : row) {
        if (widget && on)
            widget->installEventFilter(this);
        else if (widget)
            widget->removeEventFilter(this);
    }
}

bool WindowGeometry::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress || !rolledUp())
        return QObject::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == m_window.m_menuBar && m_window.m_menuBar->actionAt(mouse->position().toPoint()))
        return QObject::eventFilter(watched, event);
    m_window.showWindowMenu(mouse->globalPosition().toPoint());
    return true;
}

}  // namespace lumora

#include "app/windowgeometry.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/panestack.h"
#include "app/twips.h"
#include "app/windowaccessibility.h"

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
    return Twips::rectFromPixels(QRect(m_window.frameGeometry().topLeft(), m_window.size()), dpi());
}

void WindowGeometry::setWindowGeometryTwips(const QRectF& rect) {
    const QRect pixels = Twips::rectToPixels(Twips::rounded(rect), dpi());
    m_window.move(pixels.topLeft());
    m_window.resize(pixels.size().expandedTo(m_window.minimumSize()));
    arrange();
}

void WindowGeometry::arrange() {
    MainWindow& window = m_window;
    const double windowDpi = dpi();
    // The smallest outer window, less what the window manager's frame takes.
    const QSize extra = frameExtraPixels();
    window.setMinimumSize(Twips::toPixels(PaneGeometry::kMinimumWidthTwips, windowDpi) - extra.width(),
                          Twips::toPixels(PaneGeometry::kMinimumHeightTwips, windowDpi) - extra.height());

    const int menuHeight = menuBarHeight();
    if (window.m_menusVisible)
        window.m_menuBar->setGeometry(0, 0, window.width(), menuHeight);
    if (window.m_access)
        window.m_access->placeStatusLine(menuHeight, window.m_menusVisible);
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

}  // namespace lumora

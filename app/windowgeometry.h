#pragma once
// The main window's place and size in twips, and the resize rules that place the menu bar, the panel
// and the pane stack inside it.

#include <QRect>
#include <QSize>

class QRectF;

namespace lumora {

class MainWindow;

class WindowGeometry {
public:
    explicit WindowGeometry(MainWindow& window);

    double dpi() const;
    QSize screenSizeTwips() const;
    // The window's place on the screen in twips: the frame's top-left and the window's own size.
    QRect windowGeometryTwips() const;
    void setWindowGeometryTwips(const QRectF& rect);
    // The resize rules: minimum size, menu bar, panel, container, slider widths, range move buttons.
    void arrange();

private:
    int menuBarHeight() const;
    QSize frameExtraPixels() const;

    MainWindow& m_window;
};

}  // namespace lumora

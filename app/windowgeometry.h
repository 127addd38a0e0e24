#pragma once
// The main window's place and size in twips, and the resize rules that place the menu bar, the panel
// and the pane stack inside it. The window can also be rolled up to its menu bar ("&WindowShade Mode"):
// panel and panes hidden, the height that of the menu bar, until it is rolled down to the size it had.

#include <QObject>
#include <QRect>
#include <QSize>
#include <optional>

class QRectF;

namespace lumora {

class MainWindow;

class WindowGeometry : public QObject {
    Q_OBJECT
public:
    explicit WindowGeometry(MainWindow& window);

    double dpi() const;
    QSize screenSizeTwips() const;
    // The window's place on the screen in twips: the frame's top-left and the window's own size (while
    // rolled up, the size it rolls down to, so that a layout stored then keeps the panes' room).
    QRect windowGeometryTwips() const;
    void setWindowGeometryTwips(const QRectF& rect);
    // The resize rules: minimum size, menu bar, panel, container, slider widths, range move buttons.
    void arrange();

    bool rolledUp() const { return m_unrolledSize.has_value(); }
    // Rolls the window up (only from its normal state with the menus shown) or down again.
    void setRolledUp(bool rolled);

protected:
    // While rolled up, a press on the menu bar's free part or the status line opens the window menu,
    // whose openers on the panel are hidden.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int menuBarHeight() const;
    QSize frameExtraPixels() const;
    void placeMenuRow(int menuHeight);
    void arrangeRolledUp();
    void watchMenuRow(bool on);

    MainWindow& m_window;
    std::optional<QSize> m_unrolledSize;
};

}  // namespace lumora

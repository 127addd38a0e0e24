#pragma once
// Lumora's icon, painted here so the window needs no picture file: an open book in the panel's colours.
// The installed icons (a scalable SVG and PNGs of each size) are painted by the same code at build time.

#include <QIcon>
#include <QPixmap>

class QPainter;

namespace lumora {

class AppIcon {
public:
    static QPixmap pixmap(int sizePx);
    // Paints the icon into the square (0, 0, sizePx, sizePx) of any paint device.
    static void paint(QPainter& painter, double sizePx);
    static QIcon icon();
};

}  // namespace lumora

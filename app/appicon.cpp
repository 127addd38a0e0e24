#include "app/appicon.h"

#include <QPainter>
#include <QPainterPath>

namespace lumora {

QPixmap AppIcon::pixmap(int sizePx) {
    QPixmap picture(sizePx, sizePx);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    paint(painter, sizePx);
    return picture;
}

void AppIcon::paint(QPainter& painter, double sizePx) {
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = sizePx;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(57, 49, 57));
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    // Two pages rising from the spine at the bottom centre.
    const QColor page(227, 238, 227);
    const QColor edge(192, 238, 192);
    QPainterPath left;
    left.moveTo(s * 0.5, s * 0.78);
    left.lineTo(s * 0.12, s * 0.66);
    left.lineTo(s * 0.12, s * 0.30);
    left.lineTo(s * 0.5, s * 0.42);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(s * 0.5, s * 0.78);
    right.lineTo(s * 0.88, s * 0.66);
    right.lineTo(s * 0.88, s * 0.30);
    right.lineTo(s * 0.5, s * 0.42);
    right.closeSubpath();
    painter.setBrush(page);
    painter.drawPath(left);
    painter.drawPath(right);
    painter.setPen(QPen(edge.darker(160), s / 32.0));
    painter.drawLine(QPointF(s * 0.5, s * 0.42), QPointF(s * 0.5, s * 0.78));
    // Lines of text on the pages.
    painter.setPen(QPen(QColor(57, 49, 57).lighter(140), s / 40.0));
    for (int line = 0; line < 3; ++line) {
        const double y = 0.44 + line * 0.08;
        painter.drawLine(QPointF(s * 0.18, s * y), QPointF(s * 0.44, s * (y + 0.08)));
        painter.drawLine(QPointF(s * 0.56, s * (y + 0.08)), QPointF(s * 0.82, s * y));
    }
    // A small crescent above the book.
    painter.setPen(Qt::NoPen);
    painter.setBrush(edge);
    QPainterPath moon;
    moon.addEllipse(QPointF(s * 0.5, s * 0.17), s * 0.11, s * 0.11);
    QPainterPath bite;
    bite.addEllipse(QPointF(s * 0.56, s * 0.14), s * 0.10, s * 0.10);
    painter.drawPath(moon.subtracted(bite));
}

QIcon AppIcon::icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(pixmap(size));
    return icon;
}

}  // namespace lumora

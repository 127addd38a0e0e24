#include "controls/controlpictures.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace lumora {

namespace {

constexpr int kThumbLengthPx = 11;
constexpr int kThumbThicknessPx = 21;
constexpr int kRailThicknessPx = 6;
constexpr int kVolumeWidthPx = 100;
constexpr int kVolumeHeightPx = 18;
constexpr int kVolumePointerWidthPx = 9;
constexpr int kTransportSizePx = 32;

const QColor kEdgeDark(28, 24, 28);
const QColor kGroove(35, 30, 35);
const QColor kGrooveEdge(112, 100, 112);
const QColor kButtonFace(82, 72, 82);
const QColor kButtonFacePressed(40, 34, 40);

QImage blank(int widthPx, int heightPx) {
    QImage image(widthPx, heightPx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPolygonF wedge() {
    // Thin at the quiet end, full height at the loud end, resting on the bottom edge.
    return QPolygonF({QPointF(0.5, kVolumeHeightPx - 3.5), QPointF(kVolumeWidthPx - 0.5, kVolumeHeightPx - 3.5),
                      QPointF(kVolumeWidthPx - 0.5, 2.5), QPointF(0.5, kVolumeHeightPx - 5.5)});
}

QImage volumeWedge(const QColor& fill, const QColor& edge) {
    QImage image = blank(kVolumeWidthPx, kVolumeHeightPx);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(edge, 1.0));
    painter.setBrush(fill);
    painter.drawPolygon(wedge());
    return image;
}

void drawGlyph(QPainter& painter, TransportButton button, const QRectF& box) {
    const double left = box.left();
    const double top = box.top();
    const double w = box.width();
    const double h = box.height();
    QPainterPath path;
    switch (button) {
    case TransportButton::Play:
        path.addPolygon(QPolygonF({QPointF(left + 0.15 * w, top), QPointF(left + w, top + h / 2),
                                   QPointF(left + 0.15 * w, top + h)}));
        break;
    case TransportButton::Pause:
        path.addRect(QRectF(left + 0.1 * w, top, 0.3 * w, h));
        path.addRect(QRectF(left + 0.6 * w, top, 0.3 * w, h));
        break;
    case TransportButton::Stop:
        path.addRect(QRectF(left + 0.05 * w, top + 0.05 * h, 0.9 * w, 0.9 * h));
        break;
    case TransportButton::Next:
        path.addPolygon(QPolygonF({QPointF(left, top), QPointF(left + 0.75 * w, top + h / 2),
                                   QPointF(left, top + h)}));
        path.addRect(QRectF(left + 0.78 * w, top, 0.22 * w, h));
        break;
    case TransportButton::Previous:
        path.addRect(QRectF(left, top, 0.22 * w, h));
        path.addPolygon(QPolygonF({QPointF(left + w, top), QPointF(left + 0.25 * w, top + h / 2),
                                   QPointF(left + w, top + h)}));
        break;
    }
    path.closeSubpath();
    painter.fillPath(path, painter.brush());
}

}  // namespace

QImage ControlPictures::verseThumb(Qt::Orientation orientation) {
    const bool horizontal = orientation == Qt::Horizontal;
    const int widthPx = horizontal ? kThumbLengthPx : kThumbThicknessPx;
    const int heightPx = horizontal ? kThumbThicknessPx : kThumbLengthPx;
    QImage image = blank(widthPx, heightPx);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, 0.5, widthPx - 1.0, heightPx - 1.0);
    QLinearGradient gradient(body.topLeft(), horizontal ? body.topRight() : body.bottomLeft());
    gradient.setColorAt(0.0, panelText());
    gradient.setColorAt(1.0, panelText().darker(135));
    painter.setPen(QPen(kEdgeDark, 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(body, 2.5, 2.5);
    // A grip line across the middle shows where the value is read.
    painter.setPen(QPen(panelBackground(), 1.0));
    if (horizontal) {
        painter.drawLine(QPointF(widthPx / 2.0, 4.0), QPointF(widthPx / 2.0, heightPx - 4.0));
    } else {
        painter.drawLine(QPointF(4.0, heightPx / 2.0), QPointF(widthPx - 4.0, heightPx / 2.0));
    }
    return image;
}

QImage ControlPictures::verseRail(Qt::Orientation orientation, int lengthPx) {
    lengthPx = std::max(lengthPx, 2);
    const bool horizontal = orientation == Qt::Horizontal;
    QImage image = horizontal ? blank(lengthPx, kRailThicknessPx) : blank(kRailThicknessPx, lengthPx);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kGrooveEdge, 1.0));
    painter.setBrush(kGroove);
    painter.drawRoundedRect(QRectF(0.5, 0.5, image.width() - 1.0, image.height() - 1.0), 2.5, 2.5);
    return image;
}

QImage ControlPictures::volumeTrack() { return volumeWedge(kGroove, kGrooveEdge); }

QImage ControlPictures::volumeFill() { return volumeWedge(accent().darker(125), accent()); }

QImage ControlPictures::volumePointer() {
    QImage image = blank(kVolumePointerWidthPx, kVolumeHeightPx);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, 0.5, kVolumePointerWidthPx - 1.0, kVolumeHeightPx - 1.0);
    QLinearGradient gradient(body.topLeft(), body.topRight());
    gradient.setColorAt(0.0, panelText());
    gradient.setColorAt(1.0, panelText().darker(135));
    painter.setPen(QPen(kEdgeDark, 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(body, 2.0, 2.0);
    return image;
}

QImage ControlPictures::transportButton(TransportButton button, bool pressed) {
    QImage image = blank(kTransportSizePx, kTransportSizePx);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face(0.5, 0.5, kTransportSizePx - 1.0, kTransportSizePx - 1.0);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    const QColor base = pressed ? kButtonFacePressed : kButtonFace;
    gradient.setColorAt(0.0, pressed ? base : base.lighter(125));
    gradient.setColorAt(1.0, pressed ? base.lighter(125) : base);
    painter.setPen(QPen(pressed ? kEdgeDark : kGrooveEdge, 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(face, 5.0, 5.0);
    // The pressed glyph sits one pixel lower and to the right, as if pushed in.
    const double shiftPx = pressed ? 1.0 : 0.0;
    const QRectF glyph(10.0 + shiftPx, 10.0 + shiftPx, 12.0, 12.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pressed ? accent() : panelText());
    drawGlyph(painter, button, glyph);
    return image;
}

}  // namespace lumora

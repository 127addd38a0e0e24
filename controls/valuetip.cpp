#include "controls/valuetip.h"

#include <QPainter>

namespace lumora {

ValueTip::ValueTip()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ValueTip::setText(const QString& text) {
    m_text = text;
    const QFontMetrics metrics = fontMetrics();
    resize(metrics.horizontalAdvance(text) + 4, metrics.height() + 3);
    update();
}

void ValueTip::placeBy(const QRect& thumbGlobal, const QRect& controlGlobal, Qt::Orientation orientation) {
    if (orientation == Qt::Horizontal) {
        move(thumbGlobal.left() + (thumbGlobal.width() - width()) / 2,
             thumbGlobal.top() - kGapAboveThumbPx - height());
    } else {
        move(controlGlobal.left() - kGapBesideControlPx - width(),
             thumbGlobal.top() + (thumbGlobal.height() - height()) / 2);
    }
}

void ValueTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect();
    painter.fillRect(frame, palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawText(frame.adjusted(2, 1, -2, -2), Qt::AlignCenter | Qt::TextSingleLine, m_text);
    // 3D highlight on the lit sides, 3D dark shadow on the others.
    painter.fillRect(frame.left(), frame.top(), frame.width(), 1, palette().color(QPalette::Light));
    painter.fillRect(frame.left(), frame.top(), 1, frame.height(), palette().color(QPalette::Light));
    painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, palette().color(QPalette::Shadow));
    painter.fillRect(frame.right(), frame.top(), 1, frame.height(), palette().color(QPalette::Shadow));
}

}  // namespace lumora

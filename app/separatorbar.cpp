#include "app/separatorbar.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumora {

SeparatorBar::SeparatorBar(int number, QWidget* parent) : QWidget(parent), m_number(number) {
    setCursor(Qt::SizeVerCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SeparatorBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(57, 49, 57));
    if (height() >= 3) {
        painter.setPen(QColor(110, 100, 110));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(QColor(30, 26, 30));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    }
}

void SeparatorBar::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (m_buttons != Qt::NoButton)
        return;
    m_buttons = event->buttons() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
    if (m_buttons == Qt::NoButton)
        return;
    emit dragStarted(m_number, event->globalPosition().toPoint());
}

void SeparatorBar::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (m_buttons == Qt::NoButton)
        return;
    emit dragMoved(m_number, event->globalPosition().toPoint());
}

void SeparatorBar::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (m_buttons == Qt::NoButton)
        return;
    if (event->buttons() & m_buttons)
        return;
    m_buttons = Qt::NoButton;
    emit dragFinished(m_number);
}

}  // namespace lumora

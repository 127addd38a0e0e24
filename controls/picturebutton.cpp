#include "controls/picturebutton.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumora {

namespace {

constexpr double kDisabledOpacity = 0.4;

}  // namespace

PictureButton::PictureButton(const QImage& normal, const QImage& pressed, QWidget* parent) : QWidget(parent) {
    setPictures(normal, pressed);
}

void PictureButton::setPictures(const QImage& normal, const QImage& pressed) {
    m_normal = normal;
    m_pressed = pressed;
    setFixedSize(normal.size());
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled()) painter.setOpacity(kDisabledOpacity);
    painter.drawImage(QPoint(0, 0), m_drawnDown ? m_pressed : m_normal);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_held = true;
        setDrawnDown(true);
    }
    emit mouseDown(event->button());
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    // Sliding off while held shows the button up again; sliding back shows it pressed.
    if (m_held) setDrawnDown(rect().contains(event->position().toPoint()));
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = event->button() == Qt::LeftButton && m_held && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        m_held = false;
        setDrawnDown(false);
    }
    emit mouseUp(event->button());
    if (clicked) emit click();
}

void PictureButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            m_held = false;
            setDrawnDown(false);
        }
        update();
    }
    QWidget::changeEvent(event);
}

void PictureButton::setDrawnDown(bool down) {
    if (down == m_drawnDown) return;
    m_drawnDown = down;
    update();
}

}  // namespace lumora

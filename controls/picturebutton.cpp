#include "controls/picturebutton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/accessiblecontrols.h"
#include "controls/contrast.h"

namespace lumora {

namespace {

constexpr double kDisabledOpacity = 0.4;

}  // namespace

PictureButton::PictureButton(const QImage& normal, const QImage& pressed, QWidget* parent) : QWidget(parent) {
    AccessibleControls::ensureInstalled();
    setFocusPolicy(Qt::StrongFocus);
    setPictures(normal, pressed);
}

void PictureButton::activate() {
    if (isEnabled()) emit click();
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
    const QImage& picture = m_drawnDown ? m_pressed : m_normal;
    painter.drawImage(QPoint(0, 0), picture);
    if (hasFocus()) {
        // The mark contrasts with the picture's middle, where the symbol sits.
        const QColor middle = picture.isNull() ? palette().color(QPalette::Button)
                                               : picture.pixelColor(picture.width() / 2, picture.height() / 2);
        painter.setOpacity(1.0);
        painter.setPen(QPen(Contrast::markOn(middle), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
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

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        m_spaceHeld = true;
        setDrawnDown(true);
    }
    event->accept();
}

void PictureButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!m_spaceHeld) return;
    m_spaceHeld = false;
    setDrawnDown(false);
    emit click();
}

void PictureButton::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event) {
    // A space press whose release goes elsewhere does not click.
    if (m_spaceHeld) {
        m_spaceHeld = false;
        setDrawnDown(m_held);
    }
    update();
    QWidget::focusOutEvent(event);
}

void PictureButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            m_held = false;
            m_spaceHeld = false;
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

#pragma once
// Mouse input sent straight to a widget, with the button state a real press, drag and release carry.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace lumora::test {

inline void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

inline void press(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    sendMouse(widget, QEvent::MouseButtonPress, pos, button, button);
}

inline void dragTo(QWidget* widget, QPoint pos, Qt::MouseButtons held = Qt::LeftButton) {
    sendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void release(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    sendMouse(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void click(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    press(widget, pos, button);
    release(widget, pos, button);
}

}  // namespace lumora::test

#include "app/topmost.h"

#include <QWidget>
#include <QWindow>

namespace lumora {

void TopMost::set(QWidget* window, bool on) {
    Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (QWindow* handle = window->windowHandle()) {
        // setWindowFlags would hide a shown window; the native window takes the new flag in place and
        // the widget is told without being re-created.
        handle->setFlags(flags);
        window->overrideWindowFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

bool TopMost::isOn(const QWidget* window) {
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace lumora

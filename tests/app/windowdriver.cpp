#include "windowdriver.h"

#include <QApplication>
#include <QMouseEvent>

#include "app/mainwindow.h"
#include "app/separatorbar.h"

namespace lumora::test {

namespace {

void send(QWidget* widget, QEvent::Type type, const QPoint& local, Qt::MouseButton button,
          Qt::MouseButtons held) {
    const QPointF globalPoint = widget->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), globalPoint, button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

void dragSeparator(MainWindow& window, int separator, int dyPixels) {
    SeparatorBar* bar = window.separator(separator);
    // The bar moves under the pointer; the pointer's place stays relative to where it was pressed.
    const QPoint pressAt(bar->width() / 2, bar->height() / 2);
    const QPoint globalStart = bar->mapToGlobal(pressAt);
    send(bar, QEvent::MouseButtonPress, pressAt, Qt::LeftButton, Qt::LeftButton);
    const int step = dyPixels < 0 ? -1 : 1;
    for (int moved = step; moved != dyPixels + step; moved += step) {
        const QPoint local = bar->mapFromGlobal(globalStart + QPoint(0, moved));
        send(bar, QEvent::MouseMove, local, Qt::NoButton, Qt::LeftButton);
    }
    const QPoint local = bar->mapFromGlobal(globalStart + QPoint(0, dyPixels));
    send(bar, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
}

}  // namespace lumora::test

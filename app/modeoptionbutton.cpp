#include "app/modeoptionbutton.h"

#include <QKeyEvent>

namespace lumora {

void ModeOptionButton::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void ModeOptionButton::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}

}  // namespace lumora

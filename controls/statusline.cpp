#include "controls/statusline.h"

#include <QAccessible>

#include "controls/accessiblecontrols.h"

namespace lumora {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    AccessibleControls::ensureInstalled();
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

void StatusLine::announce(const QString& message) {
    setText(message);
    // One name-changed event per message, also when the name stays the same.
    if (message != accessibleName()) {
        setAccessibleName(message);
    } else {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    emit announced(message);
}

}  // namespace lumora

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
    const bool repeated = message == accessibleName();
    setText(message);
    setAccessibleName(message);
    if (repeated) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    emit announced(message);
}

}  // namespace lumora

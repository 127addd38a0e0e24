#include "controls/accessibleslider.h"

#include <QWidget>

namespace lumora {

void* AccessibleSlider::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QStringList AccessibleSlider::actionNames() const {
    QStringList names;
    if (widget()->isEnabled()) names << increaseAction() << decreaseAction();
    return names + QAccessibleWidget::actionNames();
}

void AccessibleSlider::doAction(const QString& actionName) {
    const qlonglong here = currentValue().toLongLong();
    const qlonglong step = minimumStepSize().toLongLong();
    if (actionName == increaseAction()) {
        setCurrentValue(here + step);
    } else if (actionName == decreaseAction()) {
        setCurrentValue(here - step);
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}

QStringList AccessibleSlider::keyBindingsForAction(const QString& actionName) const {
    if (actionName == increaseAction()) return {increaseKey()};
    if (actionName == decreaseAction()) return {decreaseKey()};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

}  // namespace lumora

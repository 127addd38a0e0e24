#include "controls/accessiblebutton.h"

#include <QKeySequence>

#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"

namespace lumora {

AccessibleButton::AccessibleButton(QWidget* button) : QAccessibleWidget(button, QAccessible::Button) {}

OwnerDrawnButton* AccessibleButton::ownerDrawn() const { return qobject_cast<OwnerDrawnButton*>(widget()); }

bool AccessibleButton::isCheckBox() const {
    const OwnerDrawnButton* button = ownerDrawn();
    return button != nullptr && button->isCheckBox();
}

QString AccessibleButton::text(QAccessible::Text type) const {
    const OwnerDrawnButton* button = ownerDrawn();
    switch (type) {
    case QAccessible::Name:
        if (widget()->accessibleName().isEmpty() && button != nullptr) {
            return OwnerDrawnButton::shownCaption(button->caption());
        }
        break;
    case QAccessible::Accelerator:
        if (button != nullptr) return QKeySequence::mnemonic(button->caption()).toString(QKeySequence::NativeText);
        break;
    default: break;
    }
    return QAccessibleWidget::text(type);
}

QAccessible::State AccessibleButton::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (const OwnerDrawnButton* button = ownerDrawn()) {
        if (button->isCheckBox()) {
            state.checkable = true;
            state.checked = button->checked();
        } else {
            state.pressed = button->isDrawnDown();
        }
    } else if (const auto* picture = qobject_cast<const PictureButton*>(widget())) {
        state.pressed = picture->isDrawnDown();
    }
    return state;
}

QStringList AccessibleButton::actionNames() const {
    QStringList names;
    if (widget()->isEnabled()) {
        names << pressAction();
        if (isCheckBox()) names << toggleAction();
    }
    return names + QAccessibleWidget::actionNames();
}

void AccessibleButton::doAction(const QString& actionName) {
    if (actionName != pressAction() && !(actionName == toggleAction() && isCheckBox())) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (OwnerDrawnButton* button = ownerDrawn()) {
        button->activate();
    } else if (auto* picture = qobject_cast<PictureButton*>(widget())) {
        picture->activate();
    }
}

QStringList AccessibleButton::keyBindingsForAction(const QString& actionName) const {
    if (actionName != pressAction() && actionName != toggleAction()) {
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }
    QStringList keys{QStringLiteral("Space")};
    const QString accessKey = text(QAccessible::Accelerator);
    if (!accessKey.isEmpty()) keys << accessKey;
    return keys;
}

}  // namespace lumora

#include "controls/accessiblepictureslider.h"

#include <algorithm>
#include <cmath>

#include "controls/pictureslider.h"

namespace lumora {

AccessiblePictureSlider::AccessiblePictureSlider(PictureSlider* slider)
    : QAccessibleWidget(slider, QAccessible::Slider) {}

PictureSlider* AccessiblePictureSlider::slider() const { return static_cast<PictureSlider*>(widget()); }

QString AccessiblePictureSlider::valueWords(int32_t position, int32_t min, int32_t max) {
    const double span = static_cast<double>(max) - static_cast<double>(min);
    const double share = span > 0 ? (static_cast<double>(position) - static_cast<double>(min)) / span : 0.0;
    return QStringLiteral("volume %1 percent").arg(std::lround(std::clamp(share, 0.0, 1.0) * 100.0));
}

void* AccessiblePictureSlider::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessiblePictureSlider::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        return valueWords(slider()->curPosition(), slider()->min(), slider()->max());
    }
    return QAccessibleWidget::text(type);
}

QVariant AccessiblePictureSlider::currentValue() const { return slider()->curPosition(); }

void AccessiblePictureSlider::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const qlonglong wanted = value.toLongLong(&ok);
    if (!ok || !slider()->isEnabled()) return;
    slider()->moveTo(static_cast<int32_t>(std::clamp<qlonglong>(wanted, slider()->min(), slider()->max())));
}

QVariant AccessiblePictureSlider::maximumValue() const { return slider()->max(); }

QVariant AccessiblePictureSlider::minimumValue() const { return slider()->min(); }

QVariant AccessiblePictureSlider::minimumStepSize() const { return slider()->keyStep(); }

QStringList AccessiblePictureSlider::actionNames() const {
    QStringList names;
    if (slider()->isEnabled()) names << increaseAction() << decreaseAction();
    return names + QAccessibleWidget::actionNames();
}

void AccessiblePictureSlider::doAction(const QString& actionName) {
    const qlonglong here = slider()->curPosition();
    if (actionName == increaseAction()) {
        setCurrentValue(here + slider()->keyStep());
    } else if (actionName == decreaseAction()) {
        setCurrentValue(here - slider()->keyStep());
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}

QStringList AccessiblePictureSlider::keyBindingsForAction(const QString& actionName) const {
    if (actionName == increaseAction()) return {QStringLiteral("Right")};
    if (actionName == decreaseAction()) return {QStringLiteral("Left")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

}  // namespace lumora

#include "controls/accessiblepictureslider.h"

#include <algorithm>
#include <cmath>

#include "controls/pictureslider.h"

namespace lumora {

AccessiblePictureSlider::AccessiblePictureSlider(PictureSlider* slider) : AccessibleSlider(slider) {}

PictureSlider* AccessiblePictureSlider::slider() const { return static_cast<PictureSlider*>(widget()); }

QString AccessiblePictureSlider::valueWords(int32_t position, int32_t min, int32_t max) {
    const double span = static_cast<double>(max) - static_cast<double>(min);
    const double share = span > 0 ? (static_cast<double>(position) - static_cast<double>(min)) / span : 0.0;
    return QStringLiteral("volume %1 percent").arg(std::lround(std::clamp(share, 0.0, 1.0) * 100.0));
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

}  // namespace lumora

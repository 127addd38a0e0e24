#pragma once
// What a screen reader learns of the picture slider, which Lumora uses as its volume control: a slider
// named by its label, whose value is said as a share of its range ("volume 60 percent"), and which can be
// set and stepped as the arrow keys step it (the window hears each change as it hears a drag).

#include <cstdint>

#include "controls/accessibleslider.h"

namespace lumora {

class PictureSlider;

class AccessiblePictureSlider : public AccessibleSlider {
public:
    explicit AccessiblePictureSlider(PictureSlider* slider);

    // The words for `position` on a range min..max.
    static QString valueWords(int32_t position, int32_t min, int32_t max);

    QString text(QAccessible::Text type) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

protected:
    QString increaseKey() const override { return QStringLiteral("Right"); }
    QString decreaseKey() const override { return QStringLiteral("Left"); }

private:
    PictureSlider* slider() const;
};

}  // namespace lumora

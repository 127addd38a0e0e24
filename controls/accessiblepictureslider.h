#pragma once
// What a screen reader learns of the picture slider, which Lumora uses as its volume control: a slider
// named by its label, whose value is said as a share of its range ("volume 60 percent"), and which can be
// set and stepped as the arrow keys step it (the window hears each change as it hears a drag).

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <cstdint>

namespace lumora {

class PictureSlider;

class AccessiblePictureSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessiblePictureSlider(PictureSlider* slider);

    // The words for `position` on a range min..max.
    static QString valueWords(int32_t position, int32_t min, int32_t max);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Slider; }
    QString text(QAccessible::Text type) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    PictureSlider* slider() const;
};

}  // namespace lumora

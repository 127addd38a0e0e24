#pragma once
// What the two painted sliders share before a screen reader: the slider role, the value interface, and
// increase and decrease actions that step the value as the arrow keys do. A subclass says what the value
// is, how it is set, how far one step goes and which keys step it.

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace lumora {

class AccessibleSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleSlider(QWidget* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Slider; }

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

protected:
    // The keys that move the value up and down.
    virtual QString increaseKey() const = 0;
    virtual QString decreaseKey() const = 0;
};

}  // namespace lumora

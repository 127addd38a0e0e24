#pragma once
// What a screen reader learns of Lumora's own buttons (owner-drawn and picture buttons): a button named
// by its caption without the access key's "&", or by the accessible name its owner gave it (the picture
// buttons and the buttons whose caption is a symbol: "Play", "Move range backward"); its tool tip as the
// description; checkable and checked when it is a check-box button; and a press action that clicks it as
// the mouse would (a check-box button also offers the toggle action, which does the same).

#include <QAccessibleWidget>

namespace lumora {

class OwnerDrawnButton;

class AccessibleButton : public QAccessibleWidget {
public:
    explicit AccessibleButton(QWidget* button);

    QAccessible::Role role() const override { return QAccessible::Button; }
    QString text(QAccessible::Text type) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    // Only owner-drawn buttons have captions, access keys and a check-box mode.
    OwnerDrawnButton* ownerDrawn() const;
    bool isCheckBox() const;
};

}  // namespace lumora

#pragma once
// One of the two mode options (recite range / recite verse). It swallows every key pressed on it, so
// that arrows and letters reach only the window's shortcuts; the mouse selects it.

#include <QRadioButton>

namespace lumora {

class ModeOptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace lumora

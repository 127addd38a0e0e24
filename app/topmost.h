#pragma once
// Keeping a window above all others. Changing it neither moves, resizes nor hides the window.

class QWidget;

namespace lumora {

class TopMost {
public:
    static void set(QWidget* window, bool on);
    static bool isOn(const QWidget* window);
};

}  // namespace lumora

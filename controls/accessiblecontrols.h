#pragma once
// Makes Lumora's painted controls known to assistive technology (screen readers reach them through
// AT-SPI): one factory, installed once, hands out an accessible interface for each verse slider, picture
// slider, owner-drawn button, picture button and status line, and for any widget with a child that is to
// stay out of the accessible tree (the tick ruler, which only draws what the sliders already say).

class QWidget;

namespace lumora {

class AccessibleControls {
public:
    // Installs the factory; later calls do nothing. Each control calls it when it is made, so its
    // interface is in place before anyone asks for it.
    static void ensureInstalled();
    // Leaves `widget` out of its parent's accessible children. Call it before the parent's interface is
    // first asked for (in the parent's constructor).
    static void hideFromTree(QWidget* widget);
    static bool isHiddenFromTree(const QWidget* widget);
};

}  // namespace lumora

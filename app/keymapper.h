#pragma once
// Translates Qt key events into the key codes the recitation key handler works with: Windows
// virtual-key codes (letters 65-90, digits 48-57, keypad digits 96-105, keypad + 107 and - 109,
// F1-F12 112-123, Page Up 33, Page Down 34, Home 36, arrows 37-40) and shift bits (1 Shift, 2 Ctrl,
// 4 Alt). Keys without a code give 0.

#include <Qt>

class QKeyEvent;

namespace lumora {

class KeyMapper {
public:
    static constexpr int kShiftBit = 1;
    static constexpr int kCtrlBit = 2;
    static constexpr int kAltBit = 4;

    // qtKey: a Qt::Key value; keypad: the key came from the numeric keypad.
    static int virtualKeyCode(int qtKey, bool keypad);
    static int shiftBits(Qt::KeyboardModifiers modifiers);

    static int virtualKeyCode(const QKeyEvent& event);
    static int shiftBits(const QKeyEvent& event);
};

}  // namespace lumora

#pragma once
// The main window's key handler: every key press reaches it before the focused control. Keys are Windows
// virtual-key codes; shift is a bit set, 1 Shift, 2 Ctrl, 4 Alt. It keeps no state of its own and never
// reports a failure: a step that fails (a slider refusing a value) is skipped and the next one runs.

namespace lumora {

class RecitationController;
class RecitationWindow;

class KeyHandler {
public:
    static constexpr int kShiftMask = 1;
    static constexpr int kCtrlMask = 2;
    static constexpr int kAltMask = 4;

    static constexpr int kKeyPageUp = 33;
    static constexpr int kKeyPageDown = 34;
    static constexpr int kKeyHome = 36;
    static constexpr int kKeyNumpad0 = 96;
    static constexpr int kKeyAdd = 107;       // numeric keypad +
    static constexpr int kKeySubtract = 109;  // numeric keypad -
    static constexpr int kKeyF1 = 112;
    static constexpr int kKeyF8 = 119;
    static constexpr int kKeyOpenBracket = 219;   // [ : one speed step slower
    static constexpr int kKeyBackslash = 220;     // \ : normal speed
    static constexpr int kKeyCloseBracket = 221;  // ] : one speed step faster

    KeyHandler(RecitationController& controller, RecitationWindow& window);

    void formKeyDown(int keyCode, int shift);
    // Whether the key is one of formKeyDown's shortcuts (whatever the state it acts in): a control that
    // would also act on such a key must leave it to the handler.
    static bool isShortcut(int keyCode, int shift);

private:
    RecitationController& m_controller;
    RecitationWindow& m_window;
};

}  // namespace lumora

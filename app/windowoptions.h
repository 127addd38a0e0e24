#pragma once
// The window's switches that the Options and Help menus flip and the settings keep: always on top (with
// the brackets that lift it around modal windows), loading the last closed state on start, and the
// on-screen help tips.

#include <memory>

namespace lumora {

class HelpToolTip;
class MainWindow;

class WindowOptions {
public:
    explicit WindowOptions(MainWindow& window);
    ~WindowOptions();

    bool alwaysOnTop() const { return m_alwaysOnTop; }
    void setAlwaysOnTop(bool on);
    bool isTopMost() const;
    // Lifts the window's always-on-top state before a modal window or message box (restore false) and
    // puts the user's choice back afterwards (restore true). Nested brackets restore at the outermost.
    void adjustTopMost(bool restore);

    bool loadClosedState() const { return m_loadClosedState; }
    void setLoadClosedState(bool on);
    // "&Load last closed state on open": inverts and stores the option.
    void toggleLoadClosedState();

    bool onscreenHelp() const { return m_onscreenHelp; }
    // Switches the on-screen help on (a fresh set of tips) or off (every tip gone at once).
    void setOnscreenHelp(bool on);
    // The tips while the help is on; nullptr while it is off.
    HelpToolTip* helpToolTip() const { return m_helpToolTip.get(); }
    // "&On Screen Help": inverts and stores the option.
    void toggleOnscreenHelp();

private:
    MainWindow& m_window;
    std::unique_ptr<HelpToolTip> m_helpToolTip;
    bool m_alwaysOnTop = false;
    int m_topMostLiftDepth = 0;
    bool m_loadClosedState = true;
    bool m_onscreenHelp = true;
};

}  // namespace lumora

#pragma once
// The menu of a text pane, opened from its menu button: which installed text the pane shows, its text
// size and its colours.

namespace lumora {

class MainWindow;

class PaneMenu {
public:
    // The default background of a pane, RGB(227, 238, 227).
    static constexpr unsigned kDefaultPaneBack = 14937827;

    // Shows pane `pane`'s menu at the pointer and carries out the chosen command.
    static void show(MainWindow& window, int pane);
};

}  // namespace lumora

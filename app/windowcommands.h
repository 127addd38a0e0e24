#pragma once
// The main window's own commands: the six menus of the menu bar and their items, registered in the
// window's command table. Other parts of the program add theirs to the same table.

namespace lumora {

class CommandTable;
class MainWindow;

class WindowCommands {
public:
    // The numbers of the menu bar's commands (the window menu and the pane menus have their own).
    enum Number : int {
        kNextSura = 3001,
        kPreviousSura,
        kRecite = 3101,
        kPause,
        kStop,
        kVolumeMute,  // then 20%, 40%, 60%, 80%, 100%
        kEqualizer = kVolumeMute + 6,
        kSaveRange,
        kText1 = 3201,  // then Text2..Text4
        kLayout1 = 3301,  // then Layout 2..5
        kResetLayouts = kLayout1 + 5,
        kLayoutHelp,
        kAlwaysOnTop = 3401,
        kShowPanel,
        kToggleMenuDisplay,
        kLoadClosedState,
        kOnscreenHelp = 3501,
        kKeyboardShortcuts,
        kAbout,
    };

    // Builds the menu bar's menus in `table` and registers the window's commands in them.
    static void addTo(CommandTable& table, MainWindow& window);
};

}  // namespace lumora

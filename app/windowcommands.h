#pragma once
// The main window's own commands: the six menus of the menu bar and their items, and the window menu
// (a popup opened from the program icon, the panel's labels and the panel itself), registered in the
// window's command table. Other parts of the program add theirs to the same table.

#include <QString>

namespace lumora {

class CommandTable;
class MainWindow;

class WindowCommands {
public:
    // The numbers of the menu bar's commands (the window menu and the pane menus have their own).
    enum Number : int {
        kGoToSura = 3001,
        kGoToVerse,
        kNextSura,
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
        kRangeModeSetup,
        kViewHelp = 3501,
        kOnscreenHelp,
        kKeyboardShortcuts,
        kAbout,
    };
    // The window menu's command numbers.
    enum WindowMenuNumber : int {
        kMenuClose = 1000,
        kMenuWindowShade = 1002,
        kMenuMinimize = 1003,
        kMenuPane3 = 1005,
        kMenuPane4 = 1006,
        kMenuPane2 = 1007,
        kMenuArabic = 1008,
        kMenuAbout = 1010,
        kMenuRangeModeSettings = 2001,
        kMenuOnscreenHelp = 2004,
        kMenuAlwaysOnTop = 2005,
    };
    static inline const QString kWindowMenu = QStringLiteral("Window");

    // Builds the menu bar's menus in `table` and registers the window's commands in them.
    static void addTo(CommandTable& table, MainWindow& window);
};

}  // namespace lumora

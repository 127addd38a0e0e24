#pragma once
// The main window's on-screen help: the hover tips that say what the panel's controls and the buttons of
// panes 2 to 4 do and which key does the same, switched on and off as a whole.

#include <QString>
#include <memory>

namespace lumora {

class HelpToolTip;
class MainWindow;

class OnscreenHelp {
public:
    // Ends every tip but the last five: an empty line and where the help is switched off.
    static const QString kFooter;

    // A fresh help tooltip over the window's controls with the 29 tips registered in order (the range
    // move backward button is registered twice and keeps the later text).
    static std::unique_ptr<HelpToolTip> enable(MainWindow& window);
};

}  // namespace lumora

#pragma once
// Where Lumora's program folder (data/ and mp3/) and the user's own additions live.
//
// The program folder is the one named on the command line; else the executable's own folder when it holds
// data/ (a build tree, or a copy unpacked anywhere); else ../share/lumora beside the executable (an
// installed Lumora: /usr/bin/lumora finds /usr/share/lumora). Lumora never writes into it: an installed
// program folder belongs to the package manager. What the user adds goes to the user data folder,
// $XDG_DATA_HOME/lumora (~/.local/share/lumora).

#include <QString>

namespace lumora {

class ProgramFolder {
public:
    // option: --program-folder as given (may be empty); executableFolder: the folder of the running
    // executable. The result is absolute and clean, without a trailing '/'.
    static QString locate(const QString& option, const QString& executableFolder);
    // The folder of the running executable, known before any application object exists.
    static QString executableFolder();
    // $XDG_DATA_HOME/lumora, without a trailing '/'; it need not exist.
    static QString userDataFolder();
};

}  // namespace lumora

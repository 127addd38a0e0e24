#pragma once
// ReciterMenu: the window's reciter choices. The Recitation menu's "&Reciter" submenu lists the reciters
// with a check mark on the current one, and choosing one switches to it. Options → "Add Recordings
// Folder..." asks for a folder, adds it and makes it current; Options → "Remove Recordings Folder" lists the
// folders the user added, and choosing one takes it off the list (its files stay where they are). Each
// submenu is filled afresh when it opens, so a folder copied into the per-user folder shows without a
// restart.

#include <QObject>
#include <QString>
#include <functional>

#include "codec/result.h"

class QMenu;

namespace lumora {

class CommandTable;
class MainWindow;
class ReciterList;

class ReciterMenu : public QObject {
    Q_OBJECT
public:
    static const QString kAddCaption;     // "Add Recordings &Folder..."
    static const QString kRemoveCaption;  // "Re&move Recordings Folder"

    // switchTo makes reciter `index` current and loads the selected sura from it.
    using SwitchTo = std::function<Result<void>(int index)>;

    ReciterMenu(ReciterList& reciters, MainWindow& window, SwitchTo switchTo, QObject* parent = nullptr);

    // Adds the "&Reciter" submenu to the Recitation menu and the two folder items to the Options menu.
    void addTo(CommandTable& table);

    // The reciter's caption in the menus: its name, with its folder where the name alone is ambiguous or
    // the folder is gone.
    QString caption(int index) const;

    // Asks for a folder, adds it and switches to it; a refused folder is explained in a message.
    void addFolder();
    void choose(int index);
    void remove(int index);

private:
    void fillReciters(QMenu& menu);
    void fillRemovable(QMenu& menu);
    void report(const Result<void>& result);

    ReciterList& m_reciters;
    MainWindow& m_window;
    SwitchTo m_switchTo;
};

}  // namespace lumora

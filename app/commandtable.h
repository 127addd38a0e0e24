#pragma once
// The window's commands, one definition each, and the menus built from them.
//
// Adding a command from your own file (the window hands out its table as MainWindow::commands()):
//
//     CommandTable::Command find;
//     find.menu = QStringLiteral("Go to");              // a menu's caption without '&', or "Recitation/Speed"
//     find.caption = QStringLiteral("&Find...");
//     find.shortcut = QKeySequence(QStringLiteral("Ctrl+F"));   // optional: a key that runs it
//     find.handler = [&search] { search.open(); };
//     find.enabled = [&search] { return search.ready(); };      // optional
//     window.commands().add(std::move(find));
//
// A submenu is added the same way with addSubmenu(menu, caption); its name for later commands is
// "Menu/Caption" without the '&'s. Pass a fill function to rebuild its items each time it is shown (a
// list that changes, such as the reciters). Commands land at the end of their menu unless `before`
// names an item (caption without '&') to stand in front of. Check marks and enabled states are read
// from their sources whenever a menu opens and whenever the window calls refresh().

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace lumora {

class CommandTable : public QObject {
    Q_OBJECT
public:
    struct Command {
        QString menu;
        QString caption;
        // Shown right of the caption when no `shortcut` is given (a key the window's key handler owns).
        QString shortcutText;
        // 0: the table hands out a free number (from kFirstFreeNumber up).
        int number = 0;
        std::function<void()> handler;
        // Set: the item carries a check mark showing this.
        std::function<bool()> checked;
        // Set: the item is enabled only while this says so.
        std::function<bool()> enabled;
        // A check mark without a source: the item keeps its own mark, flipped by a click.
        bool checkable = false;
        bool separatorBefore = false;
        QString before;
        // A key that runs the command while the window is active, whether or not the menu bar shows.
        QKeySequence shortcut;
    };

    static constexpr int kFirstFreeNumber = 5000;

    // Menus go on `bar`; command keys are bound in `window`.
    CommandTable(QMenuBar* bar, QWidget* window);

    // A menu on the menu bar, named by its caption without '&'.
    QMenu* addMenu(const QString& caption);
    // A popup menu of its own (not on the bar), named `name`.
    QMenu* addPopup(const QString& name);
    // A submenu of `menu`, named "menu/caption" without '&'s; with `fill` it is cleared and refilled each
    // time it is about to show.
    QMenu* addSubmenu(const QString& menu, const QString& caption, std::function<void(QMenu&)> fill = {},
                      bool separatorBefore = false, const QString& before = QString());
    void addSeparator(const QString& menu);
    // Adds the command to its menu and returns its item (nullptr when the menu does not exist).
    QAction* add(Command command);

    QMenu* menu(const QString& name) const;
    QAction* action(int number) const;
    const Command* command(int number) const;
    // Runs command `number` if it exists and is enabled; false otherwise.
    bool run(int number);
    // Check marks and enabled states from their sources.
    void refresh();

    // A caption as a menu name: without its '&'s.
    static QString plainCaption(const QString& caption);

private:
    void insert(QMenu* into, QAction* action, const QString& before);
    void insertSeparator(QMenu* into, const QString& before);
    void refresh(int number);

    QMenuBar* m_bar;
    QWidget* m_window;
    std::map<QString, QMenu*> m_menus;
    std::map<int, Command> m_commands;
    std::map<int, QAction*> m_actions;
    int m_nextNumber = kFirstFreeNumber;
};

}  // namespace lumora

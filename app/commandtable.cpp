#include "app/commandtable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace lumora {

CommandTable::CommandTable(QMenuBar* bar, QWidget* window) : QObject(window), m_bar(bar), m_window(window) {}

QString CommandTable::plainCaption(const QString& caption) {
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    return plain;
}

QMenu* CommandTable::addMenu(const QString& caption) {
    QMenu* created = m_bar->addMenu(caption);
    m_menus[plainCaption(caption)] = created;
    connect(created, &QMenu::aboutToShow, this, [this] { refresh(); });
    return created;
}

QMenu* CommandTable::addPopup(const QString& name) {
    auto* created = new QMenu(m_window);
    m_menus[name] = created;
    connect(created, &QMenu::aboutToShow, this, [this] { refresh(); });
    return created;
}

QMenu* CommandTable::addSubmenu(const QString& menu, const QString& caption, std::function<void(QMenu&)> fill,
                                bool separatorBefore, const QString& before) {
    QMenu* parent = this->menu(menu);
    if (!parent)
        return nullptr;
    auto* created = new QMenu(caption, parent);
    if (separatorBefore)
        insertSeparator(parent, before);
    insert(parent, created->menuAction(), before);
    m_menus[menu + QLatin1Char('/') + plainCaption(caption)] = created;
    if (fill) {
        connect(created, &QMenu::aboutToShow, this, [created, fill = std::move(fill)] {
            created->clear();
            fill(*created);
        });
    } else {
        connect(created, &QMenu::aboutToShow, this, [this] { refresh(); });
    }
    return created;
}

void CommandTable::addSeparator(const QString& menu) {
    if (QMenu* into = this->menu(menu))
        into->addSeparator();
}

void CommandTable::insertSeparator(QMenu* into, const QString& before) {
    auto* line = new QAction(into);
    line->setSeparator(true);
    insert(into, line, before);
}

void CommandTable::insert(QMenu* into, QAction* action, const QString& before) {
    if (!before.isEmpty()) {
        for (QAction* existing : into->actions()) {
            if (plainCaption(existing->text()) == before) {
                into->insertAction(existing, action);
                return;
            }
        }
    }
    into->addAction(action);
}

QAction* CommandTable::add(Command command) {
    QMenu* into = menu(command.menu);
    if (!into)
        return nullptr;
    if (command.number == 0)
        command.number = m_nextNumber++;
    const int number = command.number;
    QString text = command.caption;
    if (command.shortcut.isEmpty() && !command.shortcutText.isEmpty())
        text += QLatin1Char('\t') + command.shortcutText;
    auto* action = new QAction(text, into);
    action->setCheckable(command.checkable || command.checked);
    if (!command.shortcut.isEmpty()) {
        action->setShortcut(command.shortcut);
        // Bound in the window too, so the key works while the menu bar is hidden.
        m_window->addAction(action);
    }
    if (command.separatorBefore)
        insertSeparator(into, command.before);
    insert(into, action, command.before);
    connect(action, &QAction::triggered, this, [this, number] { run(number); });
    m_commands[number] = std::move(command);
    m_actions[number] = action;
    refresh(number);
    return action;
}

QMenu* CommandTable::menu(const QString& name) const {
    const auto found = m_menus.find(name);
    return found == m_menus.end() ? nullptr : found->second;
}

QAction* CommandTable::action(int number) const {
    const auto found = m_actions.find(number);
    return found == m_actions.end() ? nullptr : found->second;
}

const CommandTable::Command* CommandTable::command(int number) const {
    const auto found = m_commands.find(number);
    return found == m_commands.end() ? nullptr : &found->second;
}

bool CommandTable::run(int number) {
    const Command* found = command(number);
    if (!found || (found->enabled && !found->enabled()))
        return false;
    if (found->handler)
        found->handler();
    refresh();
    return true;
}

void CommandTable::refresh() {
    for (const auto& entry : m_commands) refresh(entry.first);
}

void CommandTable::refresh(int number) {
    const Command& entry = m_commands.at(number);
    QAction* item = m_actions.at(number);
    if (entry.checked)
        item->setChecked(entry.checked());
    if (entry.enabled)
        item->setEnabled(entry.enabled());
}

}  // namespace lumora

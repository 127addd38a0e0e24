#include "app/recitermenu.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

#include "app/commandtable.h"
#include "app/mainwindow.h"
#include "recordings/reciterlist.h"

namespace lumora {

const QString ReciterMenu::kAddCaption = QStringLiteral("Add Recordings &Folder...");
const QString ReciterMenu::kRemoveCaption = QStringLiteral("Re&move Recordings Folder");

namespace {

// "&" in a name is shown, not taken as an access key.
QString menuText(const QString& text) { return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

ReciterMenu::ReciterMenu(ReciterList& reciters, MainWindow& window, SwitchTo switchTo, QObject* parent)
    : QObject(parent), m_reciters(reciters), m_window(window), m_switchTo(std::move(switchTo)) {}

void ReciterMenu::addTo(CommandTable& table) {
    table.addSubmenu(QStringLiteral("Recitation"), QStringLiteral("&Reciter"),
                     [this](QMenu& menu) { fillReciters(menu); }, true);
    CommandTable::Command add;
    add.menu = QStringLiteral("Options");
    add.caption = kAddCaption;
    add.separatorBefore = true;
    add.handler = [this] { addFolder(); };
    table.add(std::move(add));
    table.addSubmenu(QStringLiteral("Options"), kRemoveCaption, [this](QMenu& menu) { fillRemovable(menu); });
}

QString ReciterMenu::caption(int index) const {
    const Reciter& reciter = m_reciters.at(index);
    QString text = reciter.name;
    bool shared = false;
    for (int i = 0; i < m_reciters.count(); ++i) shared = shared || (i != index && m_reciters.at(i).name == reciter.name);
    if (shared) text += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(reciter.folder));
    if (!QFileInfo(reciter.folder).isDir()) text += QStringLiteral(" (folder not found)");
    return text;
}

void ReciterMenu::fillReciters(QMenu& menu) {
    m_reciters.refresh();
    for (int i = 0; i < m_reciters.count(); ++i) {
        // The first nine carry their number as an access key.
        const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QString();
        QAction* action = menu.addAction(number + menuText(caption(i)));
        action->setCheckable(true);
        action->setChecked(i == m_reciters.currentIndex());
        connect(action, &QAction::triggered, this, [this, i] { choose(i); });
    }
}

void ReciterMenu::fillRemovable(QMenu& menu) {
    m_reciters.refresh();
    for (int i = 0; i < m_reciters.count(); ++i) {
        if (m_reciters.at(i).origin != Reciter::Origin::kAdded) continue;
        QAction* action = menu.addAction(menuText(caption(i)));
        action->setToolTip(m_reciters.at(i).folder);
        connect(action, &QAction::triggered, this, [this, i] { remove(i); });
    }
    if (menu.isEmpty()) menu.addAction(QStringLiteral("(no added folders)"))->setEnabled(false);
}

void ReciterMenu::choose(int index) {
    if (index == m_reciters.currentIndex()) return;
    report(m_switchTo(index));
}

void ReciterMenu::addFolder() {
    m_window.adjustTopMost(false);
    const QString folder = QFileDialog::getExistingDirectory(&m_window, QStringLiteral("Add Recordings Folder"),
                                                             QDir::homePath());
    m_window.adjustTopMost(true);
    if (folder.isEmpty()) return;
    const Result<int> added = m_reciters.addFolder(folder);
    if (!added) {
        report(added.error());
        return;
    }
    report(m_switchTo(added.value()));
}

void ReciterMenu::remove(int index) {
    const bool wasCurrent = index == m_reciters.currentIndex();
    const Result<void> removed = m_reciters.removeFolder(index);
    if (!removed) {
        report(removed);
        return;
    }
    // The first reciter took over: load the sura from it.
    if (wasCurrent) report(m_switchTo(m_reciters.currentIndex()));
}

void ReciterMenu::report(const Result<void>& result) {
    if (!result) m_window.showMessage(MainWindow::kTitle, QString::fromStdString(result.error().description), false);
}

}  // namespace lumora

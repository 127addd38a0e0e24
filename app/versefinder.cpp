#include "app/versefinder.h"

#include <QWidget>

#include "app/commandtable.h"
#include "app/finddialog.h"
#include "recitation/recitationcontroller.h"
#include "search/indexloader.h"

namespace lumora {

VerseFinder::VerseFinder(RecitationController& controller, const QString& appFolder, QWidget* window)
    : m_controller(controller), m_window(window),
      m_loader(std::make_unique<IndexLoader>(appFolder)) {}

VerseFinder::~VerseFinder() = default;

void VerseFinder::addCommand(CommandTable& commands) {
    CommandTable::Command find;
    find.menu = QStringLiteral("Go to");
    find.caption = QStringLiteral("&Find...");
    find.shortcutText = QStringLiteral("Ctrl+F");
    find.separatorBefore = true;
    find.handler = [this] { show(); };
    commands.add(std::move(find));
}

void VerseFinder::show() {
    if (m_dialog == nullptr) {
        m_dialog = new FindDialog(*m_loader, m_window);
        connect(m_dialog, &FindDialog::verseChosen, this,
                [this](int sura, int verse) { (void)m_controller.goToVerse(sura, verse); });
    }
    m_dialog->showFind();
}

}  // namespace lumora

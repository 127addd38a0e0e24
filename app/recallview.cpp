#include "app/recallview.h"

#include <QMessageBox>
#include <QWidget>
#include <algorithm>

#include "app/commandtable.h"
#include "recitation/recallmode.h"
#include "settings/settingsstore.h"
#include "text/versetextassignment.h"

namespace lumora {

RecallView::RecallView(RecitationController& controller, VerseTextAssignment& texts, SettingsStore& store,
                       QWidget* window)
    : m_mode(std::make_unique<RecallMode>(controller)), m_texts(texts), m_store(store),
      m_window(window) {
    m_mode->load(store);
    connect(m_mode.get(), &RecallMode::changed, this, &RecallView::showHidden);
}

RecallView::~RecallView() = default;

void RecallView::addCommands(CommandTable& commands) {
    const QString menu = QStringLiteral("Options");
    CommandTable::Command recall;
    recall.menu = menu;
    recall.caption = QStringLiteral("&Recall Mode");
    recall.shortcutText = QStringLiteral("H");
    recall.separatorBefore = true;
    recall.handler = [this] { toggle(); };
    recall.checked = [this] { return m_mode->enabled(); };
    commands.add(std::move(recall));

    CommandTable::Command translations;
    translations.menu = menu;
    translations.caption = QStringLiteral("Hide &Translations Too");
    translations.handler = [this] {
        saved(m_mode->setHideTranslations(m_store, !m_mode->hideTranslations()).ok(),
              QStringLiteral("Hide Translations Too"));
    };
    translations.checked = [this] { return m_mode->hideTranslations(); };
    commands.add(std::move(translations));
}

void RecallView::toggle() {
    saved(m_mode->setEnabled(m_store, !m_mode->enabled()).ok(), QStringLiteral("Recall Mode"));
}

void RecallView::revealHint() {
    int words = 0;
    for (int pane = 1; pane <= VerseTextAssignment::kPaneCount; ++pane) {
        if (m_texts.pane(pane).hiddenFrom() >= 0) words = std::max(words, m_texts.shownWordCount(pane));
    }
    (void)m_mode->revealNextWord(words);
}

bool RecallView::takePaneClick() {
    if (!m_mode->hidden()) return false;
    revealHint();
    return true;
}

void RecallView::showHidden() {
    VerseTextAssignment::HiddenPanes hidden;
    hidden.arabic = m_mode->hidden();
    hidden.translations = m_mode->hidden() && m_mode->hideTranslations();
    hidden.revealedWords = m_mode->revealedWords();
    m_texts.setHiddenWords(hidden);
}

void RecallView::saved(bool ok, const QString& what) {
    if (ok) return;
    QMessageBox::warning(m_window, QStringLiteral("Lumora"),
                         QStringLiteral("The choice \"%1\" could not be saved in the settings file; it holds "
                                        "until Lumora closes.")
                             .arg(what));
}

}  // namespace lumora

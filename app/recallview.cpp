#include "app/recallview.h"

#include <QAction>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>

#include "recitation/recallmode.h"
#include "settings/settingsstore.h"
#include "text/versetextassignment.h"

namespace lumora {

RecallView::RecallView(RecitationController& controller, VerseTextAssignment& texts, SettingsStore& store,
                       QWidget* window)
    : QObject(window), m_mode(std::make_unique<RecallMode>(controller)), m_texts(texts), m_store(store),
      m_window(window) {
    m_mode->load(store);
    // The key handler takes H; the menu only shows it.
    m_recallAction = new QAction(QStringLiteral("&Recall Mode\tH"), this);
    m_recallAction->setCheckable(true);
    m_recallAction->setChecked(m_mode->enabled());
    m_hideTranslationsAction = new QAction(QStringLiteral("Hide &Translations Too"), this);
    m_hideTranslationsAction->setCheckable(true);
    m_hideTranslationsAction->setChecked(m_mode->hideTranslations());

    connect(m_recallAction, &QAction::triggered, this, [this](bool checked) {
        if (checked != m_mode->enabled()) toggle();
    });
    connect(m_hideTranslationsAction, &QAction::triggered, this, [this](bool checked) {
        saved(m_mode->setHideTranslations(m_store, checked).ok(), QStringLiteral("Hide Translations Too"));
    });
    connect(m_mode.get(), &RecallMode::changed, this, &RecallView::showHidden);
}

RecallView::~RecallView() = default;

void RecallView::toggle() {
    const bool ok = m_mode->setEnabled(m_store, !m_mode->enabled()).ok();
    m_recallAction->setChecked(m_mode->enabled());
    saved(ok, QStringLiteral("Recall Mode"));
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

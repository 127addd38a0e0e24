#pragma once
// Recall mode: during the pause after a verse (between two verses, after a range, before the end-of-range
// action) the verse just recited is hidden so the user recites it from memory; each hint reveals one more
// word from its start; the words come back when the pause ends. Translations are hidden too only when the
// user asks for it. Off by default; both choices are kept in "ZI4"/"Recall" ("Enabled",
// "HideTranslations"). Widget-free: the window shows what hidden() and revealedWords() say whenever
// changed() is emitted.

#include <QObject>

#include "codec/result.h"
#include "recitation/recitationcontroller.h"

namespace lumora {

class SettingsStore;

class RecallMode : public QObject {
    Q_OBJECT
public:
    static const QString kSection;

    explicit RecallMode(RecitationController& controller, QObject* parent = nullptr);

    // Reads both choices; an absent or unreadable value is off.
    void load(const SettingsStore& store);

    bool enabled() const { return m_enabled; }
    // Turning it on during a pause hides the verse at once; turning it off shows it again. Saved.
    Result<void> setEnabled(SettingsStore& store, bool enabled);
    bool hideTranslations() const { return m_hideTranslations; }
    Result<void> setHideTranslations(SettingsStore& store, bool hide);

    // Whether the verse's words are hidden now.
    bool hidden() const { return m_hidden; }
    // Words shown again as hints, from the verse's start.
    int revealedWords() const { return m_revealed; }
    // One more word as a hint, up to wordCount (the hidden verse's words). False, and nothing changes,
    // when nothing is hidden or every word is already shown.
    bool revealNextWord(int wordCount);

signals:
    void changed();

private:
    void onWaitStarted(RecitationController::WaitKind kind, int seconds);
    void onWaitEnded();
    void setHidden(bool hidden);

    RecitationController& m_controller;
    bool m_enabled = false;
    bool m_hideTranslations = false;
    bool m_hidden = false;
    int m_revealed = 0;
};

}  // namespace lumora

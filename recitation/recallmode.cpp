#include "recitation/recallmode.h"

#include "settings/settingsstore.h"
#include "settings/settingtext.h"

namespace lumora {

namespace {

const QString kApplication = QStringLiteral("ZI4");
const QString kEnabledKey = QStringLiteral("Enabled");
const QString kHideTranslationsKey = QStringLiteral("HideTranslations");

bool readSwitch(const SettingsStore& store, const QString& key) {
    return SettingText::toBoolean(store.get(kApplication, RecallMode::kSection, key, QStringLiteral("False")))
        .value_or(false);
}

}  // namespace

const QString RecallMode::kSection = QStringLiteral("Recall");

RecallMode::RecallMode(RecitationController& controller, QObject* parent)
    : QObject(parent), m_controller(controller) {
    connect(&controller, &RecitationController::waitStarted, this, &RecallMode::onWaitStarted);
    connect(&controller, &RecitationController::waitEnded, this, &RecallMode::onWaitEnded);
}

void RecallMode::load(const SettingsStore& store) {
    m_enabled = readSwitch(store, kEnabledKey);
    m_hideTranslations = readSwitch(store, kHideTranslationsKey);
}

Result<void> RecallMode::setEnabled(SettingsStore& store, bool enabled) {
    if (enabled != m_enabled) {
        m_enabled = enabled;
        // A pause already running hides its verse as soon as the mode is on.
        setHidden(enabled && m_controller.waitKind() != RecitationController::WaitKind::None);
    }
    return store.save(kApplication, kSection, kEnabledKey, SettingText::fromBoolean(enabled));
}

Result<void> RecallMode::setHideTranslations(SettingsStore& store, bool hide) {
    if (hide != m_hideTranslations) {
        m_hideTranslations = hide;
        if (m_hidden) emit changed();
    }
    return store.save(kApplication, kSection, kHideTranslationsKey, SettingText::fromBoolean(hide));
}

bool RecallMode::revealNextWord(int wordCount) {
    if (!m_hidden || m_revealed >= wordCount) return false;
    ++m_revealed;
    emit changed();
    return true;
}

void RecallMode::onWaitStarted(RecitationController::WaitKind, int seconds) {
    // A wait of no time is no pause: hiding the verse for one tick would only flicker.
    setHidden(m_enabled && seconds > 0);
}

void RecallMode::onWaitEnded() { setHidden(false); }

void RecallMode::setHidden(bool hidden) {
    if (hidden == m_hidden) return;
    m_hidden = hidden;
    m_revealed = 0;
    emit changed();
}

}  // namespace lumora

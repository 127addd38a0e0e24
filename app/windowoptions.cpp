#include "app/windowoptions.h"

#include "app/commandtable.h"
#include "app/helptooltip.h"
#include "app/mainwindow.h"
#include "app/onscreenhelp.h"
#include "app/topmost.h"
#include "settings/settingsstore.h"
#include "settings/settingtext.h"

namespace lumora {

namespace {

const QString kApplication = QStringLiteral("ZI4");

}  // namespace

WindowOptions::WindowOptions(MainWindow& window) : m_window(window) {}

WindowOptions::~WindowOptions() = default;

bool WindowOptions::isTopMost() const {
    return TopMost::isOn(&m_window);
}

void WindowOptions::setAlwaysOnTop(bool on) {
    m_alwaysOnTop = on;
    if (m_topMostLiftDepth == 0)
        TopMost::set(&m_window, on);
    m_window.commands().refresh();
}

void WindowOptions::adjustTopMost(bool restore) {
    if (!restore) {
        if (m_topMostLiftDepth++ == 0)
            TopMost::set(&m_window, false);
        return;
    }
    if (m_topMostLiftDepth > 0 && --m_topMostLiftDepth > 0)
        return;
    TopMost::set(&m_window, m_alwaysOnTop);
}

void WindowOptions::setLoadClosedState(bool on) {
    m_loadClosedState = on;
    m_window.commands().refresh();
}

void WindowOptions::toggleLoadClosedState() {
    setLoadClosedState(!m_loadClosedState);
    (void)m_window.settings().save(kApplication, QStringLiteral("LoadClosedState"), QStringLiteral("Value"),
                                   SettingText::fromBoolean(m_loadClosedState));
}

void WindowOptions::setOnscreenHelp(bool on) {
    m_onscreenHelp = on;
    m_helpToolTip.reset();
    if (on && m_window.panel())
        m_helpToolTip = OnscreenHelp::enable(m_window);
    m_window.commands().refresh();
}

void WindowOptions::toggleOnscreenHelp() {
    setOnscreenHelp(!m_onscreenHelp);
    (void)m_window.settings().save(kApplication, QStringLiteral("OnscreenHelp"), QStringLiteral("Enabled"),
                                   SettingText::fromBoolean(m_onscreenHelp));
}

}  // namespace lumora

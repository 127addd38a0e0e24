#include "app/windowlayouts.h"

#include <QMessageBox>

#include "app/mainwindow.h"
#include "app/panestack.h"
#include "app/twips.h"
#include "recitation/recitationcontroller.h"
#include "settings/settingtext.h"
#include "text/installedtexts.h"
#include "text/versetextassignment.h"

namespace lumora {

WindowLayouts::WindowLayouts(MainWindow& window) : m_window(window), m_store(window.m_settings) {}

std::array<QString, 4> WindowLayouts::chooseTexts(const LayoutState& state) const {
    const QStringList installed = InstalledTexts::scan(m_window.m_appFolder);
    std::array<QString, 4> names{};
    std::array<bool, 4> fixed{};
    for (size_t i = 0; i < 4; ++i) {
        names[i] = state.panes[i].transName;
        fixed[i] = state.panes[i].transNameStored || installed.contains(names[i]);
    }
    for (size_t i = 0; i < 4; ++i) {
        if (fixed[i])
            continue;
        for (const QString& candidate : installed) {
            bool shown = false;
            for (size_t other = 0; other < 4; ++other) {
                if (other != i && (fixed[other] || other < i) && names[other] == candidate)
                    shown = true;
            }
            if (!shown) {
                names[i] = candidate;
                break;
            }
        }
    }
    return names;
}

Result<void> WindowLayouts::load(const QString& layout) {
    auto loaded = m_store.load(layout, QSizeF(m_window.screenSizeTwips()));
    if (!loaded)
        return loaded.error();
    const LayoutState& state = loaded.value();

    for (int pane = 1; pane <= 4; ++pane)
        m_window.m_paneWiring->setPaneVisibleButton(pane, state.panes[static_cast<size_t>(pane - 1)].visible);
    for (int pane = 1; pane <= 4; ++pane)
        m_window.textsMenuAction(pane)->setChecked(state.panes[static_cast<size_t>(pane - 1)].visible);
    m_window.setAlwaysOnTop(state.alwaysOnTop);
    m_window.m_showPanel = state.showPanel;
    applyPanes(state);
    applyWindowState(state);
    m_window.updateLayoutMenu();
    return {};
}

void WindowLayouts::applyPanes(const LayoutState& state) {
    VerseTextAssignment* texts = m_window.m_texts;
    if (!texts)
        return;
    for (int pane = 1; pane <= 4; ++pane) {
        const PaneLayout& paneState = state.panes[static_cast<size_t>(pane - 1)];
        DisplayProperties& properties = texts->pane(pane);
        properties.setBackColour(paneState.backColour);
        properties.setFontSize(paneState.fontSize);
        properties.setForeColour(paneState.foreColour);
    }
    const std::array<QString, 4> names = chooseTexts(state);
    for (int pane = 1; pane <= 4; ++pane) m_window.assignPaneText(pane, names[static_cast<size_t>(pane - 1)]);
    RecitationController* controller = m_window.m_controller;
    if (controller && !controller->suraNumberText().isEmpty()) {
        auto reloaded = texts->reloadSuraTexts();
        if (!reloaded)
            m_window.showFailure(reloaded.error());
        controller->setText();
    }
}

void WindowLayouts::applyWindowState(const LayoutState& state) {
    MainWindow& window = m_window;
    // A rolled-up window takes the layout's place and size rolled down.
    window.setRolledUp(false);
    if (state.windowState == LayoutState::kMaximized) {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    } else if (state.windowState == LayoutState::kMinimized) {
        window.setWindowState((window.windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
    } else {
        window.setWindowState(window.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    }
    if (state.windowState == LayoutState::kNormal && state.windowPosition) {
        window.setWindowGeometryTwips(*state.windowPosition);
    } else {
        window.arrangeWindow();
    }

    PaneStack& stack = *window.m_stack;
    if (state.savedBefore) {
        for (int pane = 1; pane <= 4; ++pane) {
            if (const auto& position = state.panes[static_cast<size_t>(pane - 1)].position)
                stack.setPaneTwips(pane, Twips::rounded(*position));
        }
        stack.loadBrowsers(true);
        return;
    }
    if (state.windowState == LayoutState::kNormal) {
        const QRect current = window.windowGeometryTwips();
        const QPoint topLeft = PaneGeometry::centredTopLeft(window.screenSizeTwips(), current.size());
        window.move(Twips::toPixels(topLeft.x(), window.dpi()), Twips::toPixels(topLeft.y(), window.dpi()));
    }
    stack.loadBrowsers(false);
}

LayoutState WindowLayouts::current() const {
    const MainWindow& window = m_window;
    LayoutState state;
    state.alwaysOnTop = window.alwaysOnTop();
    state.showPanel = window.m_showPanel;
    for (int pane = 1; pane <= 4; ++pane) {
        PaneLayout& paneState = state.panes[static_cast<size_t>(pane - 1)];
        if (window.m_texts) {
            const DisplayProperties& properties = window.m_texts->pane(pane);
            paneState.foreColour = properties.foreColour();
            paneState.backColour = properties.backColour();
            paneState.fontSize = properties.fontSize();
            paneState.transName = properties.transName();
            paneState.transNameStored = true;
        }
        paneState.visible = window.isPaneVisible(pane);
        paneState.position = QRectF(window.paneGeometryTwips(pane));
    }
    if (window.isMinimized()) {
        state.windowState = LayoutState::kMinimized;
    } else {
        state.windowState = window.isMaximized() ? LayoutState::kMaximized : LayoutState::kNormal;
        state.windowPosition = QRectF(window.windowGeometryTwips());
    }
    return state;
}

Result<void> WindowLayouts::save(const QString& layout) {
    return m_store.save(layout, current());
}

void WindowLayouts::switchTo(const QString& layout) {
    m_window.m_switchingLayout = true;
    // A failure to store or read a layout leaves the window as it is; nothing is reported.
    (void)save(m_window.m_currentLayout);
    m_window.m_currentLayout = layout;
    (void)m_store.setCurrentLayout(layout);
    (void)load(layout);
    m_window.m_switchingLayout = false;
}

void WindowLayouts::resetAll() {
    m_window.adjustTopMost(false);
    QMessageBox question(QMessageBox::Question, QStringLiteral("Reset layouts ?"),
                         QStringLiteral("Do you want to reset all layouts ?"), QMessageBox::Yes | QMessageBox::No,
                         &m_window);
    question.setDefaultButton(QMessageBox::No);
    const int answer = question.exec();
    m_window.adjustTopMost(true);
    if (answer != QMessageBox::Yes)
        return;
    (void)m_store.resetAll();
    m_window.m_currentLayout = QStringLiteral("1");
    (void)load(m_window.m_currentLayout);
}

void WindowLayouts::showHelp() {
    m_window.showMessage(
        QStringLiteral("Layouts help"),
        QStringLiteral("Lumora supports 5 layouts. \r\n\r\n"
                       "Each layout can have its own translations, font size, window position, text and "
                       "background colors. \r\n\r\n"
                       "To switch between layouts, use keyboard shortcut 'L' to switch to next layout or "
                       "'K' to switch to previous layout  "),
        false);
}

}  // namespace lumora

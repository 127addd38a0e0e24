#pragma once
// The five layouts as the main window meets them: a layout applied to the window (panes, texts, colours,
// options, the window's place), the window's state gathered into a layout, switching and resetting, and
// the help on them.

#include <QString>
#include <array>

#include "app/layoutstore.h"

namespace lumora {

class MainWindow;

class WindowLayouts {
public:
    explicit WindowLayouts(MainWindow& window);

    // Applies layout "1".."5" to the window; a stored value that cannot be read fails (nothing reported).
    Result<void> load(const QString& layout);
    Result<void> save(const QString& layout);
    // Saves the current layout, makes `layout` current and loads it.
    void switchTo(const QString& layout);
    // Asks first; Yes deletes the five layouts and loads layout 1 afresh.
    void resetAll();
    // The layout state the window shows now (what save stores).
    LayoutState current() const;
    // "&Layout Help ...": how the layouts work, in a message box.
    void showHelp();

private:
    // The first-run rule: a default text name that is not installed gives way to the first installed
    // text that no other pane shows.
    std::array<QString, 4> chooseTexts(const LayoutState& state) const;
    void applyPanes(const LayoutState& state);
    void applyWindowState(const LayoutState& state);

    MainWindow& m_window;
    LayoutStore m_store;
};

}  // namespace lumora

#pragma once
// The five window layouts ("1" to "5") in the settings store, one section "Layout<N>" each. The window
// loads the layout in use at start-up and on every switch, applies the LayoutState it gets (pane
// visibility, colours, font sizes and texts, window state and position, pane heights, always-on-top and
// the panel), and saves its current state into the layout it leaves and at shut-down. Geometry is in twips:
// the window in screen coordinates, the panes in the pane container's.
//
// A layout section exists once the layout has been saved; until then every key has its default and the
// layout counts as never saved (window centred, panes sharing the height equally). A stored value that
// cannot be read makes the load fail with the error that names it, and the window's caller decides
// (at start-up that is the failure path that resets all settings).

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "codec/result.h"
#include "settings/settingsstore.h"

namespace lumora {

// One text pane's part of a layout.
struct PaneLayout {
    bool visible = true;
    uint32_t backColour = 14937827;  // RGB(227, 238, 227)
    double fontSize = 17;
    uint32_t foreColour = 0;
    QString transName;
    // False when transName is the pane's default rather than a stored choice.
    bool transNameStored = false;
    // The pane's geometry in the container; nullopt when not stored (the pane keeps its current geometry).
    std::optional<QRectF> position;
};

struct LayoutState {
    static constexpr int kNormal = 0;
    static constexpr int kMinimized = 1;
    static constexpr int kMaximized = 2;

    std::array<PaneLayout, 4> panes;
    bool alwaysOnTop = false;
    bool showPanel = true;
    // Loaded as stored (the program stores only normal and maximized). When saving, kMinimized keeps the
    // stored position unchanged (a minimized window has no position worth keeping) and is stored as normal.
    int windowState = kNormal;
    // The window's geometry in screen twips. Loaded only for a normal window: the stored position, or
    // 90 % of the screen at 0,0 when none is stored. Saved when set and the window is not minimized.
    std::optional<QRectF> windowPosition;
    // Loaded: the layout was saved before. If not, the window centres itself and shares the height
    // equally among the visible panes; if so, it restacks them keeping the ratio of the loaded heights.
    bool savedBefore = false;
};

class LayoutStore {
public:
    static constexpr int kLayoutCount = 5;
    // The sentinel default of "Position" that tells a layout never saved.
    static constexpr const char* kFirstTime = "FIRSTTIME";
    // Error numbers of a failed load.
    static constexpr int32_t kErrorSubscript = 9;       // a position string with fewer than four numbers
    static constexpr int32_t kErrorTypeMismatch = 13;   // a stored value that is not of its type
    static constexpr int32_t kErrorInvalidValue = 380;  // a window state other than 0, 1 or 2

    explicit LayoutStore(SettingsStore& store, QString application = QStringLiteral("ZI4"));

    // The defaults of a layout never saved (pane 1 the Arabic text at 33, panes 2 to 4 translations at 17).
    static LayoutState defaults();
    static QString sectionName(const QString& layout) { return QStringLiteral("Layout") + layout; }

    // screenTwips: the size of the screen the window is on, for the default window position.
    Result<LayoutState> load(const QString& layout, QSizeF screenTwips) const;
    // Stores every key of the layout in one write.
    Result<void> save(const QString& layout, const LayoutState& state);
    // Deletes the five layout sections (a layout never saved is no error) and makes layout "1" current.
    // Fails only when "1" cannot be stored as the current layout.
    Result<void> resetAll();

    // The layout in use from ("Main", "CurrentLayout"); "1" when absent or not one of the five names.
    QString currentLayout() const;
    Result<void> setCurrentLayout(const QString& layout);

    // The layout the L key moves to: "1" -> "2" -> ... -> "5" -> "1" ("1" from any other name).
    static QString nextLayout(const QString& layout);
    // The layout the K key moves to: "5" -> "4" -> ... -> "1" -> "5" ("5" from any other name).
    static QString previousLayout(const QString& layout);

    // Position strings: Left|Top|Height|Width (height before width), each number in its shortest decimal
    // form. Parsing takes the first four pieces between "|" (more are ignored); fewer than four, or a piece
    // that is not a finite number within +-1e9, is an error.
    static QString formatPosition(const QRectF& rect);
    static Result<QRectF> parsePosition(const QString& text);
    // "0|0|" + 0.9 x screen height + "|" + 0.9 x screen width, as a rectangle.
    static QRectF defaultWindowPosition(QSizeF screenTwips);

private:
    SettingsStore& m_store;
    QString m_application;
};

}  // namespace lumora

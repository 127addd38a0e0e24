#pragma once
// Lumora's main window: the control panel across the top and the four text panes stacked below it (the
// pane stack, with separator bars between them); the menu bar built from the command table; the five
// layouts applied to and saved from the window; the geometry rules that keep everything in place when
// the window or a pane changes size; and the dialogs and messages the recitation controller asks for.
// The window composes these parts (see panelwiring.h, panewiring.h, windowgeometry.h, windowoptions.h,
// windowlayouts.h, windowdialogs.h, windowcommands.h) and is thin: the recitation state lives in the
// controller's models and the verse texts in the text assignment; the window shows them and forwards what
// the user does.
//
// Geometry is kept in twips (1440 per logical inch) and converted to pixels only when placed, so a layout
// saved and loaded again comes back exactly.

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/layoutstore.h"
#include "app/panegeometry.h"
#include "app/panewiring.h"
#include "app/windowcommands.h"
#include "app/windowgeometry.h"
#include "app/windowoptions.h"
#include "recitation/recitationwindow.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTimer;

namespace lumora {

class ClipboardLink;
class CommandTable;
class StatusLine;
class WindowAccessibility;
struct EqualizerSettings;
class ControlPanel;
class NoticeBar;
class HelpToolTip;
class PaneStack;
class PanelWiring;
class RecallView;
class VerseFinder;
class WindowDialogs;
class WindowLayouts;
class KeyHandler;
class Player;
class RecitationController;
class SeparatorBar;
class SettingsStore;
class TextPaneFrame;
class VerseTextAssignment;

class MainWindow : public QWidget, public RecitationWindow {
    Q_OBJECT
public:
    static const QString kTitle;  // "Lumora"
    static const QColor& panelBackground();
    static const QColor& panelText();

    MainWindow(SettingsStore& settings, QString appFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Binds the window to the objects it shows and drives; builds the control panel over the controller's
    // models and points the four pane views at the text assignment's panes.
    void attach(RecitationController& controller, VerseTextAssignment& texts, KeyHandler& keys,
                ClipboardLink& clipboard);
    bool isAttached() const { return m_controller != nullptr; }
    RecitationController* controller() const { return m_controller; }
    VerseTextAssignment* texts() const { return m_texts; }
    SettingsStore& settings() const { return m_settings; }
    const QString& appFolder() const { return m_appFolder; }
    // Every command of the menus; other parts of the program add theirs here (see commandtable.h).
    CommandTable& commands() const { return *m_commands; }
    // Stops the 1 ms timer that drives the recitation (shut-down).
    void stopTicking();
    // Run when the user closes the window, before it goes (shut-down).
    void setCloseHandler(std::function<void()> handler) { m_closeHandler = std::move(handler); }

    // The player and the program's equalizer state, for the equalizer dialog.
    void setAudio(Player* player, EqualizerSettings* equalizer) {
        m_player = player;
        m_equalizer = equalizer;
    }
    // "&Equalizer...": the equalizer dialog, modal.
    void showEqualizer();
    // "&Save Range to MP3": the current range of the loaded sura into an MP3 file the user chooses.
    void saveRangeToMp3();

    // --- layouts ---
    // Applies layout "1".."5" to the window; a stored value that cannot be read fails (nothing reported).
    Result<void> loadLayout(const QString& layout);
    // Stores the window's state into layout "1".."5".
    Result<void> saveLayout(const QString& layout);
    // RecitationWindow: saves the current layout, makes `layout` current and loads it.
    void switchLayout(const QString& layout) override;
    QString currentLayout() const override { return m_currentLayout; }
    void setCurrentLayout(const QString& layout) { m_currentLayout = layout; }
    // The Layouts menu's check marks and caption follow the layout in use.
    void updateLayoutMenu();
    bool layoutSwitchInProgress() const override { return m_switchingLayout; }
    // "&Reset All Layouts": asks first; Yes deletes the five layouts and loads layout 1 afresh.
    void resetAllLayouts();
    void showLayoutHelp();
    // Puts a text into pane 1..4 (captions of its toggle, caption label and texts menu item included);
    // a failure is shown in a message box.
    void assignPaneText(int pane, const QString& name) { m_paneWiring->assignPaneText(pane, name); }
    // The layout state the window shows now (what saveLayout stores).
    LayoutState currentLayoutState() const;

    // --- geometry ---
    // The resize rules: minimum size, panel, container, slider widths, range move buttons.
    void arrangeWindow() { m_geometry->arrange(); }
    // Stacks the visible panes (proportional: keep their height ratio; otherwise equal heights).
    void loadBrowsers(bool proportional);
    bool isPaneVisible(int pane) const { return m_paneWiring->isPaneVisible(pane); }
    // A click on pane 1..4's display toggle: the toggle's new state restacks the panes equally.
    void paneToggleClicked(int pane) { m_paneWiring->paneToggleClicked(pane); }
    // A click on the Texts menu's item of pane 1..4: the toggle button takes the item's new check mark.
    void textsMenuClicked(int pane) { m_paneWiring->textsMenuClicked(pane); }
    void togglePane(int pane) override { m_paneWiring->togglePane(pane); }
    QRect paneGeometryTwips(int pane) const;
    QRect separatorGeometryTwips(int separator) const;
    QRect containerGeometryTwips() const;
    // The window's place on the screen in twips: the frame's top-left and the window's own size (while
    // rolled up, the size it rolls down to).
    QRect windowGeometryTwips() const { return m_geometry->windowGeometryTwips(); }
    void setWindowGeometryTwips(const QRectF& rect) { m_geometry->setWindowGeometryTwips(rect); }
    QSize screenSizeTwips() const { return m_geometry->screenSizeTwips(); }
    double dpi() const { return m_geometry->dpi(); }
    // "&WindowShade Mode": the window rolled up to its menu bar, or back down.
    bool isRolledUp() const { return m_geometry->rolledUp(); }
    void setRolledUp(bool rolled) { m_geometry->setRolledUp(rolled); }

    // --- options ---
    bool showPanel() const { return m_showPanel; }
    void setShowPanel(bool show);
    bool alwaysOnTop() const { return m_options->alwaysOnTop(); }
    void setAlwaysOnTop(bool on) { m_options->setAlwaysOnTop(on); }
    bool isTopMost() const { return m_options->isTopMost(); }
    // Lifts the window's always-on-top state before a modal window or message box (restore false) and
    // puts the user's choice back afterwards (restore true). Nested brackets restore at the outermost.
    void adjustTopMost(bool restore) { m_options->adjustTopMost(restore); }
    bool loadClosedState() const { return m_options->loadClosedState(); }
    void setLoadClosedState(bool on) { m_options->setLoadClosedState(on); }
    // "&Load last closed state on open": inverts and stores the option.
    void toggleLoadClosedState() { m_options->toggleLoadClosedState(); }
    bool onscreenHelp() const { return m_options->onscreenHelp(); }
    // Switches the on-screen help on (a fresh set of tips) or off (every tip gone at once).
    void setOnscreenHelp(bool on) { m_options->setOnscreenHelp(on); }
    // The tips while the help is on; nullptr while it is off.
    HelpToolTip* helpToolTip() const { return m_options->helpToolTip(); }
    // "&On Screen Help": inverts and stores the option.
    void toggleOnscreenHelp() { m_options->toggleOnscreenHelp(); }
    bool menusVisible() const override { return m_menusVisible; }
    void setMenusVisible(bool visible) override;

    // --- start-up pieces ---
    // Shows or hides the control panel as ShowPanel says.
    void applyShowPanel();
    // The panel's colours: background RGB(57, 49, 57), text RGB(227, 238, 227).
    void applyColourTheme();
    void clearPanes();
    // A modal message box (critical or information icon) between the always-on-top brackets.
    void showMessage(const QString& title, const QString& text, bool critical);
    // The About window on page 0 (about), 1 (keyboard) or 2 (version).
    void showAboutWindow(int page);
    // The information window of the text pane 1..4 shows.
    void showTextInfo(int pane);
    // The window menu at `globalPos`; the chosen command runs.
    void showWindowMenu(const QPoint& globalPos);
    // The name of the text pane 1..4 shows.
    QString paneTextName(int pane) const;

    // --- RecitationWindow ---
    bool askYesNo(const QString& title, const QString& text) override;
    void openDownloadPage() override;
    void showFailure(const Error& error) override;
    // Notices go into a strip over the bottom of the panes: nothing modal, no focus taken.
    void showNotice(const QString& text) override;
    void showVerseDialog(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos) override;
    void showRangeModeSetup() override;
    void showQuickSuraSelect() override;
    void showAbout() override;
    void showMode(RecitationMode mode) override;
    void setPlayToolTip(const QString& text) override;
    void setRulerVerses(int verses) override;
    void showWordMeanings() override;
    void showFind() override;
    void toggleRecallMode() override;
    void revealRecallHint() override;
    // Finding a verse and recall mode, from attach on (null before).
    VerseFinder* finder() const { return m_finder.get(); }
    RecallView* recall() const { return m_recall.get(); }

    // --- parts, for the composition root and tests ---
    ControlPanel* panel() const { return m_panel; }
    NoticeBar* noticeBar() const { return m_notice; }
    TextPaneFrame* paneFrame(int pane) const;
    SeparatorBar* separator(int number) const;
    QWidget* container() const;
    QMenuBar* menuBar() const { return m_menuBar; }
    QAction* textsMenuAction(int pane) const { return commandAction(WindowCommands::kText1 + pane - 1); }
    QAction* layoutMenuAction(int layout) const { return commandAction(WindowCommands::kLayout1 + layout - 1); }
    QMenu* layoutMenu() const;
    QAction* alwaysOnTopAction() const { return commandAction(WindowCommands::kAlwaysOnTop); }
    QAction* showPanelAction() const { return commandAction(WindowCommands::kShowPanel); }
    QAction* loadClosedStateAction() const { return commandAction(WindowCommands::kLoadClosedState); }
    QAction* resetLayoutsAction() const { return commandAction(WindowCommands::kResetLayouts); }
    QAction* layoutHelpAction() const { return commandAction(WindowCommands::kLayoutHelp); }
    // The six top-level menus: Go to, Recitation, Texts, Layouts, Options, Help.
    const std::array<QMenu*, 6>& topMenus() const { return m_topMenus; }
    QLabel* wordTip() const { return m_paneWiring->wordTip(); }
    // The status line and Options -> "Announce Each Verse"; null before attach().
    StatusLine* statusLine() const;
    QAction* announceEachVerseAction() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class WindowDialogs;
    friend class WindowGeometry;
    friend class WindowLayouts;

    QAction* commandAction(int number) const;

    SettingsStore& m_settings;
    QString m_appFolder;
    std::unique_ptr<WindowLayouts> m_layouts;
    std::unique_ptr<WindowDialogs> m_dialogs;
    std::unique_ptr<WindowGeometry> m_geometry;
    std::unique_ptr<PaneWiring> m_paneWiring;
    std::unique_ptr<PanelWiring> m_panelWiring;
    std::unique_ptr<WindowAccessibility> m_access;
    // Last, so that the help tips go first.
    std::unique_ptr<WindowOptions> m_options;

    RecitationController* m_controller = nullptr;
    VerseTextAssignment* m_texts = nullptr;
    KeyHandler* m_keys = nullptr;
    ClipboardLink* m_clipboard = nullptr;
    Player* m_player = nullptr;
    EqualizerSettings* m_equalizer = nullptr;
    std::function<void()> m_closeHandler;
    bool m_closing = false;

    QMenuBar* m_menuBar = nullptr;
    CommandTable* m_commands = nullptr;
    std::unique_ptr<VerseFinder> m_finder;
    std::unique_ptr<RecallView> m_recall;
    std::array<QMenu*, 6> m_topMenus{};

    ControlPanel* m_panel = nullptr;
    PaneStack* m_stack = nullptr;
    NoticeBar* m_notice = nullptr;
    QTimer* m_tickTimer = nullptr;

    QString m_currentLayout = QStringLiteral("1");
    bool m_switchingLayout = false;
    bool m_showPanel = true;
    bool m_menusVisible = true;
};

}  // namespace lumora

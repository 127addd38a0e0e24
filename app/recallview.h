#pragma once
// Recall mode in the window: owns the mode (recitation's RecallMode), keeps the text panes' blanks in step
// with it, adds the Options menu's two check items ("&Recall Mode", whose key H the key handler owns, and
// "Hide &Translations Too"), and turns H, W and a click on a hidden pane into the mode's actions. A click
// on a pane reveals a hint only while words are hidden; otherwise it recites as always.

#include <QObject>
#include <memory>

class QWidget;

namespace lumora {

class CommandTable;
class RecallMode;
class RecitationController;
class SettingsStore;
class VerseTextAssignment;

class RecallView : public QObject {
    Q_OBJECT
public:
    // Reads both choices from the store; `window` parents the message shown when one cannot be saved.
    RecallView(RecitationController& controller, VerseTextAssignment& texts, SettingsStore& store,
               QWidget* window);
    ~RecallView() override;

    RecallMode& mode() { return *m_mode; }
    void addCommands(CommandTable& commands);

    // H and the menu item.
    void toggle();
    // W: the next hidden word of every hidden pane shows.
    void revealHint();
    // A left click on a pane: true when it revealed a hint (the click then does nothing else).
    bool takePaneClick();

private:
    void showHidden();
    void saved(bool ok, const QString& what);

    std::unique_ptr<RecallMode> m_mode;
    VerseTextAssignment& m_texts;
    SettingsStore& m_store;
    QWidget* m_window = nullptr;
};

}  // namespace lumora

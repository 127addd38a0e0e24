#pragma once
// What the four text panes do in the window: clicks in a pane recite, their header buttons change the
// font size, copy the text, show the text's information and open the pane menu; the word under the
// pointer shows its meaning in a tip beside it; each pane is switched on and off by its panel toggle, its
// Texts menu item or the window menu; and a pane takes the text it is given, with its captions.

#include <QObject>
#include <QString>

class QLabel;
class QTimer;

namespace lumora {

class ClipboardLink;
class MainWindow;
class RecitationController;
class VerseTextAssignment;

class PaneWiring : public QObject {
    Q_OBJECT
public:
    // Builds the word tip, hidden; the panes are wired by attach().
    explicit PaneWiring(MainWindow& window);

    void attach(RecitationController& controller, VerseTextAssignment& texts, ClipboardLink& clipboard);

    QLabel* wordTip() const { return m_wordTip; }

    bool isPaneVisible(int pane) const;
    void setPaneVisibleButton(int pane, bool visible);
    // A click on pane 1..4's display toggle: the toggle's new state restacks the panes equally.
    void paneToggleClicked(int pane);
    // A click on the Texts menu's item of pane 1..4: the toggle button takes the item's new check mark.
    void textsMenuClicked(int pane);
    void togglePane(int pane);
    // Puts a text into pane 1..4 (captions of its toggle, caption label and texts menu item included);
    // a failure is shown in a message box.
    void assignPaneText(int pane, const QString& name);

private:
    void copyPaneText(int pane);
    void onPaneStatusText(const QString& text);
    void showWordTip();

    MainWindow& m_window;
    RecitationController* m_controller = nullptr;
    VerseTextAssignment* m_texts = nullptr;
    ClipboardLink* m_clipboard = nullptr;
    QLabel* m_wordTip;
    QTimer* m_wordTipTimer;
    QString m_lastStatusText;
};

}  // namespace lumora

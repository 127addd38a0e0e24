#pragma once
// What the main window offers a screen reader and a keyboard user beyond its controls' own interfaces:
// the status line (in the menu bar's row, right of the menus) where the Announcer says where the
// recitation stands; Options -> "Announce Each Verse" ("Accessibility"/"AnnounceEachVerse", off by
// default), which also speaks every verse as it becomes current; the word meanings of the current verse
// on the G key, as a tip under the pane that has them and as that pane's accessible description; and the
// Tab order: the panel as it is drawn, then each shown pane's header buttons and text.

#include <QObject>
#include <memory>

class QAction;

namespace lumora {

class Announcer;
class MainWindow;
class RecitationController;
class StatusLine;
class VerseTextAssignment;

class WindowAccessibility : public QObject {
    Q_OBJECT
public:
    static const QString kSection;
    static const QString kAnnounceEachVerseKey;

    WindowAccessibility(MainWindow& window, RecitationController& controller, VerseTextAssignment& texts);
    ~WindowAccessibility() override;

    StatusLine* statusLine() const { return m_line; }
    Announcer& announcer() const { return *m_announcer; }
    QAction* announceEachVerseAction() const { return m_announceAction; }

    // Places the status line right of the menus, `menuHeight` high; hidden with the menus.
    void placeStatusLine(int menuHeight, bool menusVisible);
    void showWordMeanings();

private:
    void setAnnounceEachVerse(bool on);
    void setTabOrder();
    void forgetWordMeanings();

    MainWindow& m_window;
    RecitationController& m_controller;
    VerseTextAssignment& m_texts;
    StatusLine* m_line;
    std::unique_ptr<Announcer> m_announcer;
    QAction* m_announceAction = nullptr;
    // The pane whose description holds the word meanings, 0 when none does.
    int m_describedPane = 0;
};

}  // namespace lumora

#pragma once
// The modal dialogs the main window opens for the menus, the panel and the recitation controller, each
// between the always-on-top brackets: message boxes and Yes/No questions, quick sura and verse, range mode
// setup, equalizer, saving the range to MP3, the About window and a pane's text information.

#include <QString>

namespace lumora {

class MainWindow;

class WindowDialogs {
public:
    explicit WindowDialogs(MainWindow& window) : m_window(window) {}

    // A message box with the critical or the information icon.
    void message(const QString& title, const QString& text, bool critical);
    bool askYesNo(const QString& title, const QString& text);
    void verse(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos);
    void rangeModeSetup();
    void quickSura();
    void equalizer();
    void saveRangeToMp3();
    // The About window on page 0 (about), 1 (keyboard) or 2 (version).
    void about(int page);
    void textInfo(int pane);

private:
    MainWindow& m_window;
};

}  // namespace lumora

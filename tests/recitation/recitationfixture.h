#pragma once
// Scenario fixture: the real controller and key handler over the real Player on a manual null output, a
// fake clock, and a program folder with timings for every sura and lame-made recordings for a few. The
// window and the text panes are recorded, not shown.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "audio/nulloutput.h"
#include "audio/player.h"
#include "recitation/keyhandler.h"
#include "recitation/recitationcontroller.h"
#include "recitation/recitationwindow.h"
#include "recitation/versetextsink.h"
#include "support/fakeclock.h"

namespace lumora::test {

// Record k of every sura runs from k * kRecordMs to (k + 1) * kRecordMs in its recording.
constexpr int32_t kRecordMs = 500;
// How far the player's position runs ahead of the stream.
constexpr int32_t kLookAheadMs = 200;

inline int32_t recordStartMs(int32_t record) { return record * kRecordMs; }
inline int32_t recordEndMs(int32_t record) { return (record + 1) * kRecordMs; }

// The shared program folder, made once per test run: data/pos.dat for all suras and mp3/NNN.mp3 for
// suras 1, 73, 107, 108, 113 and 114 (every other sura shows " (audio missing)").
struct ProgramFolder {
    static const ProgramFolder& instance();
    QString appFolder;
    QString mp3Folder;
};

class RecordingWindow : public RecitationWindow {
public:
    bool askYesNo(const QString& title, const QString& text) override;
    void openDownloadPage() override { calls << "download page"; }
    void showFailure(const Error& error) override;
    void showNotice(const QString& text) override { notices << text; }
    void showVerseDialog(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos) override;
    void showRangeModeSetup() override { calls << "range mode setup"; }
    void showQuickSuraSelect() override { calls << "quick sura"; }
    void showAbout() override { calls << "about"; }
    bool layoutSwitchInProgress() const override { return switching; }
    QString currentLayout() const override { return layout; }
    void switchLayout(const QString& newLayout) override;
    void togglePane(int pane) override { calls << QString("pane %1").arg(pane); }
    bool menusVisible() const override { return menus; }
    void setMenusVisible(bool visible) override;
    void showMode(RecitationMode mode) override;
    void setPlayToolTip(const QString& text) override { calls << "play tip " + text; }
    void setRulerVerses(int verses) override { rulerVerses = verses; }

    QStringList take();

    QStringList calls;
    // Notices, apart from the calls: they ask nothing of the user.
    QStringList notices;
    bool answerYes = false;
    bool switching = false;
    QString layout = "1";
    bool menus = true;
    int rulerVerses = -1;
};

class RecordingTexts : public VerseTextSink {
public:
    Result<void> loadSuraTexts(int sura, int slotCount) override;
    void setText(int slot) override { shown.push_back(slot); }

    std::vector<int> take();

    std::vector<std::pair<int, int>> loads;
    std::vector<int> shown;
    bool failLoads = false;
};

class RecitationScenario : public ::testing::Test {
protected:
    RecitationScenario();

    // Loads the sura (list index sura - 1) with the given range settings.
    void load(int sura);
    // Moves the output, the clock and the window's 1 ms timer on by ms milliseconds, stepMs at a time.
    void run(int64_t ms, int64_t stepMs = 1);
    // Runs until done() holds; fails the test when it does not within limitMs. Returns the time taken.
    int64_t runUntil(const std::function<bool()>& done, int64_t limitMs = 60000, int64_t stepMs = 1);
    void press(int keyCode, int shift = 0) { keys.formKeyDown(keyCode, shift); }
    void setRange(int32_t begin, int32_t end);
    // Begin, end, current verse and the remembered length, as "b-e c tag".
    std::string range();

    FakeClock clock;
    NullOutput* output;
    Player player;
    RecordingWindow window;
    RecordingTexts texts;
    RecitationController controller;
    KeyHandler keys;
    RangeSettings settings;
};

}  // namespace lumora::test

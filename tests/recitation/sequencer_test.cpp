// Sura loading, the sequencer's tick and waits, pause and stop, and the end-of-range policy, played
// through the real player in virtual time.
#include <QTemporaryDir>

#include "recitationfixture.h"
#include "settings/settingsstore.h"

namespace lumora::test {
namespace {

using Wait = RecitationController::WaitKind;
using Slots = std::vector<int>;

class SuraLoad : public RecitationScenario {};
class Sequencer : public RecitationScenario {};
class RangePolicy : public RecitationScenario {};

TEST_F(SuraLoad, SetsTheRecordScaleTipsStateAndOpensTheRecording) {
    load(9);
    EXPECT_EQ(controller.verseTable().size(), 129u);
    EXPECT_EQ(controller.rangeBegin().toolTipText(), "1");
    EXPECT_EQ(controller.rangeEnd().toolTipText(), "129");
    EXPECT_EQ(controller.currentVerseSlider().toolTipText(), "1");
    EXPECT_EQ(controller.suraNumberText(), "009");

    load(2);
    EXPECT_EQ(controller.verseTable().size(), 287u);
    EXPECT_EQ(controller.rangeBegin().toolTipText(), "0");
    EXPECT_EQ(controller.rangeEnd().toolTipText(), "286");

    controller.rangeEnd().setTag("4");
    load(114);
    EXPECT_EQ(range(), "0-6 0 0");
    EXPECT_EQ(controller.currentVerseSlider().max(), 6);
    EXPECT_EQ(window.rulerVerses, 6);
    EXPECT_EQ(controller.mediaFile(), ProgramFolder::instance().mp3Folder + "114.mp3");
    EXPECT_EQ(controller.verseTable()[6], (VerseTiming{3000, 3500}));
    EXPECT_EQ(texts.loads.back(), std::make_pair(114, 7));
    EXPECT_FALSE(controller.loadingSura());
    EXPECT_TRUE(player.hasStream());
    EXPECT_NEAR(player.streamLength(), 3500, 5);
}

TEST_F(SuraLoad, ReportsUnreadableTimingsAndTextsAndStillCompletes) {
    QTemporaryDir empty;
    controller.setFolders(empty.path(), empty.path() + "/");
    texts.failLoads = true;
    controller.setRangeSettings(settings);
    ASSERT_TRUE(controller.selectSura(106).ok());
    const QStringList calls = window.take();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].startsWith("failure")) << calls[0].toStdString();
    EXPECT_FALSE(controller.loadingSura());
    EXPECT_EQ(controller.verseTable().size(), 8u);
    EXPECT_EQ(controller.verseTable()[7], (VerseTiming{}));
    EXPECT_EQ(range(), "0-7 0 0");
    EXPECT_FALSE(player.hasStream());
}

TEST_F(SuraLoad, ChoosingAnotherSuraSilencesTheRecitationUntilItIsStartedAgain) {
    load(107);
    controller.startRecitation();
    run(400);
    ASSERT_TRUE(player.isPlaying());
    ASSERT_TRUE(controller.selectSura(112).ok());
    run(2000);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(controller.tickEnabled());
    controller.nextSura();  // the next-sura action starts at once
    run(100);
    EXPECT_EQ(controller.sura(), 114);
    EXPECT_TRUE(player.isPlaying());
}

TEST_F(Sequencer, StepsEachVerseAtItsLookAheadPointAndEndsTheRange) {
    load(107);
    setRange(2, 4);
    controller.startRecitation();
    EXPECT_TRUE(controller.tickEnabled());
    EXPECT_EQ(controller.currentVerse(), 2);
    // Verse 2 ends at 1500 ms; the position runs 200 ms ahead, so the step comes 300 ms after the start.
    EXPECT_NEAR(runUntil([&] { return controller.currentVerse() == 3; }), 300, 1);
    EXPECT_NEAR(runUntil([&] { return controller.currentVerse() == 4; }), 500, 1);
    // The range ends before the sura's last record and no next range is wanted: following stops.
    EXPECT_NEAR(runUntil([&] { return !controller.tickEnabled(); }), 500, 1);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(texts.take(), (Slots{2, 3, 4}));
    EXPECT_EQ(controller.currentVerseSlider().toolTipText(), "4");
}

TEST_F(Sequencer, AOneVerseRangeNeverStepsAndEndsAtItsEndTime) {
    load(107);
    setRange(5, 5);
    controller.startRecitation();
    EXPECT_NEAR(runUntil([&] { return !controller.tickEnabled(); }), 300, 1);
    EXPECT_EQ(texts.take(), (Slots{5}));
}

TEST_F(Sequencer, PausesTheRecordingBetweenVersesAndThenStepsOn) {
    settings.pauseBetweenVerses = 1;
    load(107);
    setRange(2, 3);
    controller.startRecitation();
    EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::BetweenVerses; }), 300, 1);
    EXPECT_TRUE(player.isPaused());
    EXPECT_EQ(controller.currentVerse(), 2);
    EXPECT_NEAR(runUntil([&] { return controller.currentVerse() == 3; }), 1000, 1);
    EXPECT_TRUE(player.isPlaying());
    // Verse 3 plays on from where the recording paused.
    EXPECT_NEAR(runUntil([&] { return !controller.tickEnabled(); }), 500, 1);
}

TEST_F(Sequencer, AtAnotherSpeedVersesStepAtTheirRecordingSampleAndPausesStayInSeconds) {
    player.setSpeed(0.75);
    settings.pauseBetweenVerses = 1;
    settings.noofTimes = 2;
    settings.pause = 2;
    load(107);
    setRange(2, 3);
    const auto sampleAt = [](int64_t ms) { return ms * 22050 / 1000; };
    const int64_t samplesPerTick = 22050 * 3 / 4 / 1000 + 1;
    controller.startRecitation();
    for (int play = 0; play < 2; ++play) {
        // Verse 2's end (1500 ms, seen 200 ms early) is 300 recording ms in: 400 ms at 0.75×.
        EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::BetweenVerses; }), 400, 1);
        EXPECT_GE(player.heardSample(), sampleAt(1300));
        EXPECT_LE(player.heardSample(), sampleAt(1300) + samplesPerTick);
        // The pause between verses is wall-clock time whatever the speed.
        EXPECT_NEAR(runUntil([&] { return controller.currentVerse() == 3; }), 1000, 1);
        // The range ends exactly at the recording sample of verse 3's end less the look-ahead.
        EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::AfterRange || !controller.tickEnabled(); }),
                    500 / 0.75, 1);
        EXPECT_EQ(player.heardSample(), sampleAt(1800));
        if (play == 0) {
            EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::None; }), 2000, 2);
        }
    }
}

TEST_F(Sequencer, PlayDuringABetweenVersesPauseRestartsFromRangeBeginWithoutStepping) {
    settings.pauseBetweenVerses = 5;
    load(107);
    setRange(2, 4);
    controller.startRecitation();
    runUntil([&] { return controller.waitKind() == Wait::BetweenVerses; });
    run(100);
    press('X');
    run(1);
    EXPECT_EQ(controller.waitKind(), Wait::None);
    EXPECT_EQ(controller.currentVerse(), 2);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::BetweenVerses; }), 300, 1);
}

TEST_F(Sequencer, RecitesARangeNoofTimesWithThePauseBeforeEachRepeatThenRunsThePolicyOnce) {
    settings.noofTimes = 3;
    settings.pause = 1;
    settings.nextRange = true;
    load(107);
    setRange(2, 3);
    controller.startRecitation();
    for (int play = 1; play <= 3; ++play) {
        EXPECT_EQ(controller.repeatsLeft(), 4 - play);
        const Wait expected = play < 3 ? Wait::AfterRange : Wait::BeforeNextRange;
        EXPECT_NEAR(runUntil([&] { return controller.waitKind() == expected; }), 800, 1) << play;
        EXPECT_FALSE(player.isPlaying());
        EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::None; }), 1001, 1) << play;
    }
    EXPECT_EQ(texts.take(), (Slots{2, 3, 2, 3, 2, 3, 5, 4}));
    EXPECT_EQ(range(), "4-5 4 0");
    EXPECT_EQ(controller.repeatsLeft(), 3);
}

// Record 0 starts at 0 ms: each repeat must go back to the start of the file.
TEST_F(Sequencer, ARangeFromTheFirstRecordIsRepeatedFromTheStartOfTheFile) {
    settings.noofTimes = 2;
    load(114);
    controller.startRecitation();
    EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::AfterRange; }), 3300, 1);
    run(1);
    EXPECT_EQ(controller.currentVerse(), 0);
    EXPECT_NEAR(player.getPosition(), kLookAheadMs, 2);
    EXPECT_NEAR(runUntil([&] { return controller.currentVerse() == 6; }), 2800, 2);
}

TEST_F(Sequencer, UnlimitedTimesRepeatsWithoutEverRunningThePolicy) {
    settings.noofTimes = 0;
    settings.nextRange = true;
    load(107);
    setRange(2, 2);
    controller.startRecitation();
    for (int repeat = 0; repeat < 10; ++repeat) {
        runUntil([&] { return controller.waitKind() == Wait::AfterRange; });
        runUntil([&] { return controller.waitKind() == Wait::None; });
    }
    EXPECT_EQ(range(), "2-2 2 0");
    EXPECT_TRUE(controller.tickEnabled());
}

TEST_F(Sequencer, PauseStopPlayOnlyContinuesAndTheNextPlayStarts) {
    load(107);
    controller.startRecitation();
    run(600);
    press('P');
    EXPECT_TRUE(controller.isPaused());
    const int32_t paused = player.getPosition();
    run(500);
    EXPECT_EQ(player.getPosition(), paused);
    EXPECT_EQ(controller.currentVerse(), 1);  // ticks do nothing while paused
    press('P');  // continues from where it paused
    run(100);
    EXPECT_NEAR(player.getPosition(), paused + 100, 2);

    press('P');
    controller.stop();
    EXPECT_EQ(controller.currentVerseSlider().value(), 0);
    controller.startRecitation();
    EXPECT_FALSE(controller.isPaused());
    EXPECT_FALSE(controller.tickEnabled());
    controller.startRecitation();
    EXPECT_TRUE(controller.tickEnabled());

    // A sura load leaves the pause in place as well.
    press('P');
    ASSERT_TRUE(controller.selectSura(112).ok());
    controller.startRecitation();
    EXPECT_FALSE(controller.isPaused());
    EXPECT_FALSE(controller.tickEnabled());
}

// The user's pause holds a wait; Stop and a sura change abandon it, so nothing starts by itself later.
TEST_F(Sequencer, WaitsHoldWhilePausedAndEndWithTheirRecitation) {
    settings.noofTimes = 0;
    settings.pause = 1;
    load(107);
    setRange(2, 2);
    controller.startRecitation();
    runUntil([&] { return controller.waitKind() == Wait::AfterRange; });
    press('P');
    run(3000);
    EXPECT_EQ(controller.waitKind(), Wait::AfterRange);
    EXPECT_FALSE(player.isPlaying());
    press('P');
    run(1);
    EXPECT_EQ(controller.waitKind(), Wait::None);
    EXPECT_TRUE(player.isPlaying());

    runUntil([&] { return controller.waitKind() == Wait::AfterRange; });
    controller.stop();
    run(3000);
    EXPECT_FALSE(player.isPlaying());

    controller.startRecitation();
    runUntil([&] { return controller.waitKind() == Wait::AfterRange; });
    ASSERT_TRUE(controller.selectSura(112).ok());
    run(3000);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(controller.waitKind(), Wait::None);
}

TEST_F(Sequencer, AMissingRecordingOffersThePageOnAddingRecordingsAndStaysIdle) {
    load(2);
    controller.startRecitation();
    EXPECT_EQ(window.take().join(QLatin1Char('|')).toStdString(),
              "ask Audio file not installed: Audio file for this sura is not installed. "
              "\r\n\r\nAdd its MP3 file to the recordings folder, or choose another "
              "reciter in the Recitation menu.\r\n\r\nDo you want to read how to "
              "add recordings ?");
    window.answerYes = true;
    controller.startRecitation();
    EXPECT_EQ(window.take().last(), "download page");
    EXPECT_FALSE(controller.tickEnabled());
}

TEST_F(Sequencer, ANewCountFromTheDialogIsUsedRoundedAtTheNextStart) {
    QTemporaryDir folder;
    SettingsStore store(folder.path());
    load(107);
    RangeSetupEntry entry;
    entry.timesText = "2.5";
    ASSERT_TRUE(controller.applyRangeSetup(store, entry).ok());
    EXPECT_EQ(store.get("ZI4", "RangeModeSetup", "NoofTimes", ""), "2.5");
    controller.startRecitation();
    EXPECT_EQ(controller.repeatsLeft(), 2);
}

TEST_F(RangePolicy, NextRangeKeepsTheLengthAndTheNextSuraGetsTheRememberedLength) {
    settings.nextRange = true;
    settings.nextSura = true;
    load(107);
    setRange(3, 5);
    controller.startRecitation();
    runUntil([&] { return controller.rangeBegin().value() == 6; });
    EXPECT_EQ(range(), "6-7 6 2");
    runUntil([&] { return controller.sura() == 108; });
    EXPECT_EQ(range(), "0-2 0 0");
    EXPECT_TRUE(controller.tickEnabled());
    EXPECT_TRUE(player.isPlaying());
}

TEST_F(RangePolicy, AWholeSuraGoesOnToTheNextAndStopsAfterTheLast) {
    settings.nextSura = true;
    load(113);
    controller.startRecitation();
    // The last record ends at 3000 ms: the position reaches it 200 ms earlier.
    EXPECT_NEAR(runUntil([&] { return controller.waitKind() == Wait::BeforeNextSura; }), 2800, 1);
    runUntil([&] { return controller.sura() == 114; });
    EXPECT_EQ(range(), "0-6 0 0");
    EXPECT_NEAR(runUntil([&] { return !controller.tickEnabled(); }), 3300, 1);
    EXPECT_EQ(controller.sura(), 114);
    EXPECT_EQ(controller.waitKind(), Wait::None);
}

TEST_F(RangePolicy, ARangeLongerThanTheNextSuraBecomesItsWholeSura) {
    settings.nextSura = true;
    load(107);
    setRange(2, 7);
    controller.startRecitation();
    runUntil([&] { return controller.sura() == 108; });
    EXPECT_EQ(range(), "0-3 0 0");
}

TEST_F(RangePolicy, RestartSuraStartsAgainWithTheRememberedLength) {
    settings.restartSura = true;
    load(107);
    setRange(0, 4);
    controller.moveRangeForward();
    EXPECT_EQ(range(), "5-7 5 4");
    runUntil([&] { return controller.rangeBegin().value() == 0; });
    EXPECT_EQ(range(), "0-4 0 4");
    EXPECT_TRUE(controller.tickEnabled());
    EXPECT_NEAR(player.getPosition(), kLookAheadMs, 2);  // heard again from the start of the file
}

TEST_F(RangePolicy, StopRecitationStopsFollowingAtTheSurasEnd) {
    settings.stopRecitation = true;
    load(107);
    setRange(6, 7);
    controller.startRecitation();
    runUntil([&] { return !controller.tickEnabled(); });
    EXPECT_EQ(controller.sura(), 107);
    EXPECT_EQ(controller.waitKind(), Wait::None);
}

}  // namespace
}  // namespace lumora::test

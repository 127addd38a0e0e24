// Range moves, sura steps, the volume, the key handler and the verse jumps of the verse dialog and the
// clipboard link, on the real player.
#include "recitationfixture.h"

namespace lumora::test {
namespace {

class Navigation : public RecitationScenario {};
class Keys : public RecitationScenario {};
class VerseJumps : public RecitationScenario {};

constexpr int kAlt = KeyHandler::kAltMask;
constexpr int kCtrl = KeyHandler::kCtrlMask;

TEST_F(Navigation, RangeMovesKeepTheLengthClipAtTheEndAndComeBackWithTheRememberedLength) {
    load(73);  // records 0..20
    setRange(0, 4);
    const char* forward[] = {"5-9 5 0", "10-14 10 0", "15-19 15 0", "20-20 20 4"};
    for (const char* expected : forward) {
        controller.moveRangeForward();
        EXPECT_EQ(range(), expected);
        EXPECT_TRUE(controller.tickEnabled());  // each move recites the new range
    }
    controller.moveRangeForward();  // at the last record: nothing, and recitation goes on
    EXPECT_EQ(range(), "20-20 20 4");
    EXPECT_TRUE(player.isPlaying());
    controller.moveRangeBackward();
    EXPECT_EQ(range(), "15-19 15 4");

    // Begin would go below 0: it stays, the range keeps its length, and recitation restarts.
    setRange(3, 7);
    controller.rangeEnd().setTag("0");
    controller.stop();
    controller.moveRangeBackward();
    EXPECT_EQ(range(), "3-7 3 0");
    EXPECT_TRUE(controller.tickEnabled());
}

TEST_F(Navigation, ARangeOfMoreThan255RecordsMovesOnAsASingleVerse) {
    load(2);
    setRange(0, 260);
    controller.moveRangeForward();
    EXPECT_EQ(range(), "261-261 261 0");
}

TEST_F(Navigation, NextAndPreviousSuraStopAtTheEndsOfTheList) {
    load(114);
    controller.nextSura();
    EXPECT_EQ(controller.sura(), 114);
    EXPECT_FALSE(controller.tickEnabled());
    load(1);
    controller.previousSura();
    EXPECT_EQ(controller.sura(), 1);
    EXPECT_FALSE(player.isPlaying());
    controller.nextSura();
    EXPECT_EQ(controller.sura(), 2);
}

TEST_F(Navigation, DraggingRangeEndBelowThePositionStopsTheRecordingAndEndsTheRange) {
    load(107);
    controller.startRecitation();
    runUntil([&] { return controller.currentVerse() == 4; });
    ASSERT_TRUE(controller.rangeEnd().setValue(2).ok());
    EXPECT_EQ(player.endMark(), recordEndMs(2));
    EXPECT_EQ(controller.rangeEnd().toolTipText(), "2");
    run(2);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(controller.tickEnabled());  // ended before the sura's end, no next range wanted
}

TEST_F(Navigation, VolumeMenuAndKeypadStepsAreHeldToTheRange) {
    load(107);
    controller.setVolumeMenuItem(3);  // "&60%"
    EXPECT_EQ(controller.volume().curPosition(), 600);
    EXPECT_EQ(player.masterVolume(), 153);
    controller.setVolumeMenuItem(5);
    press(KeyHandler::kKeyAdd);
    EXPECT_EQ(controller.volume().curPosition(), 1000);
    controller.volume().setCurPosition(50);
    press(KeyHandler::kKeySubtract);
    EXPECT_EQ(controller.volume().curPosition(), 0);
    EXPECT_EQ(player.masterVolume(), 0);
}

TEST_F(Keys, WithoutASuraOnlyMenusDialogsAndLayoutsRespond) {
    for (int keyCode : std::initializer_list<int>{KeyHandler::kKeyF8, 'R', 'S', 'L', 'K'}) press(keyCode, keyCode == 'R' ? kCtrl : 0);
    EXPECT_EQ(window.take(), (QStringList{"menus hidden", "range mode setup", "quick sura", "layout 2", "layout 1"}));
    for (int keyCode : std::initializer_list<int>{'P', 'X', 'M', 'N', '3', 'V', 'B', 'E', 'C', KeyHandler::kKeyHome, KeyHandler::kKeyPageDown,
                        KeyHandler::kKeyF1, KeyHandler::kKeyAdd})
        press(keyCode);
    press('A', kAlt);
    EXPECT_EQ(window.take(), QStringList{});
    EXPECT_FALSE(controller.isPaused());
    EXPECT_EQ(controller.sura(), 0);
    EXPECT_EQ(controller.volume().curPosition(), VolumeModel::kDefault);
}

TEST_F(Keys, LayoutsWrapMenusToggleAndAltKeysTogglePanesOnly) {
    window.layout = "5";
    press('L');
    window.layout = "1";
    press('K');
    window.switching = true;
    press('L');
    press(KeyHandler::kKeyF8, kAlt | kCtrl);
    press(KeyHandler::kKeyF8);
    EXPECT_EQ(window.take(), (QStringList{"layout 1", "layout 5", "menus hidden", "menus shown"}));

    load(107);
    press('S', kAlt);
    press('P', kAlt);
    press('A', kAlt);
    press('Y', kAlt);
    EXPECT_EQ(window.take(), (QStringList{"pane 4", "pane 2", "pane 1", "pane 3"}));
    EXPECT_FALSE(controller.isPaused());
    press(KeyHandler::kKeyF1);
    EXPECT_EQ(window.take(), QStringList{"about"});
}

TEST_F(Keys, VerseModeStepsWithinTheRangeWrappingAndRecitesOneVerse) {
    load(107);
    setRange(2, 4);
    ASSERT_TRUE(controller.currentVerseSlider().setValue(4).ok());
    press('V', kAlt);
    EXPECT_EQ(window.take(), (QStringList{"mode verse", "play tip Recite Verse"}));
    EXPECT_FALSE(controller.tickEnabled());
    press('C');
    EXPECT_EQ(controller.currentVerse(), 2);
    EXPECT_EQ(player.endMark(), recordEndMs(2));
    press('Z');
    EXPECT_EQ(controller.currentVerse(), 4);
    press('Z');
    EXPECT_EQ(controller.currentVerse(), 3);
    // The idle poll stops the verse at its end.
    run(recordEndMs(3) - recordStartMs(3));
    EXPECT_FALSE(player.isPlaying());

    press('R', kAlt);
    EXPECT_TRUE(controller.tickEnabled());
    press('C');
    press('Z');
    EXPECT_EQ(range(), "2-4 2 0");
}

TEST_F(Keys, DigitsSetTheRangeLengthAndHomeAndPageKeysReciteAtOnce) {
    load(107);
    ASSERT_TRUE(controller.rangeBegin().setValue(5).ok());
    press('3');
    EXPECT_EQ(range(), "5-7 5 0");
    EXPECT_EQ(player.endMark(), recordEndMs(7));
    setRange(4, 4);
    press(KeyHandler::kKeyNumpad0 + 3);
    EXPECT_EQ(range(), "4-6 4 0");
    press('9');  // beyond the last record: Range End stays, recitation starts all the same
    EXPECT_EQ(range(), "4-6 4 0");
    EXPECT_TRUE(controller.tickEnabled());

    press(KeyHandler::kKeyHome);
    EXPECT_EQ(range(), "0-7 0 0");
    press(KeyHandler::kKeyPageDown);
    EXPECT_EQ(controller.sura(), 108);
    EXPECT_TRUE(controller.tickEnabled());
    press(KeyHandler::kKeyPageUp);
    EXPECT_EQ(controller.sura(), 107);
    EXPECT_TRUE(player.isPlaying());
}

TEST_F(Keys, VerseDialogKeysCarryCaptionFlagsAndTheRecordCount) {
    load(9);
    press('V');
    press('B');
    press('E');
    press('B', kAlt);
    EXPECT_EQ(window.take(), (QStringList{"verse dialog Move to Verse 0 0 129", "verse dialog Set Range Begin 1 0 129",
                                          "verse dialog Set Range End 0 1 129"}));
}

TEST_F(VerseJumps, TheVerseDialogSetsAMarkerOrMovesAndRecites) {
    load(107);
    controller.callSetText(3, true, false);
    EXPECT_EQ(range(), "3-7 0 0");
    EXPECT_FALSE(controller.tickEnabled());
    controller.callSetText(5, false, true);
    EXPECT_EQ(player.endMark(), recordEndMs(5));
    controller.callSetText(4, false, false);
    EXPECT_EQ(range(), "3-5 4 0");
    EXPECT_TRUE(controller.tickEnabled());
    EXPECT_TRUE(player.isPlaying());
    controller.callSetText(8, false, false);  // no record 8 in this sura
    EXPECT_EQ(controller.currentVerse(), 4);
}

TEST_F(VerseJumps, ClipboardReferencesSelectTheSuraAndReciteTheRange) {
    load(113);
    EXPECT_TRUE(controller.followVerseReference("107:2-5"));
    EXPECT_EQ(controller.sura(), 107);
    EXPECT_EQ(range(), "2-5 2 0");
    EXPECT_TRUE(controller.tickEnabled());
    EXPECT_EQ(player.endMark(), recordEndMs(5));

    EXPECT_TRUE(controller.followVerseReference("1:1"));  // verse 1 of sura 1 is record 0
    EXPECT_EQ(range(), "0-0 0 0");
    EXPECT_TRUE(controller.followVerseReference("9:2"));
    EXPECT_EQ(range(), "1-1 1 0");
    EXPECT_EQ(controller.currentVerseSlider().toolTipText(), "2");

    // No record, a range backwards, or no such sura: the markers stay where they are.
    for (const char* refused : {"9:130", "9:0", "9:5-3", "115:1", "word"}) {
        controller.followVerseReference(refused);
        EXPECT_EQ(range(), "1-1 1 0") << refused;
    }
    EXPECT_FALSE(controller.followVerseReference("115:1"));
    EXPECT_EQ(controller.sura(), 9);
    // A verse past the sura's end does not select the sura either.
    EXPECT_FALSE(controller.followVerseReference("2:288"));
    EXPECT_EQ(controller.sura(), 9);
}

}  // namespace
}  // namespace lumora::test

// Keys: Qt keys turned into key codes, and the window's handler seeing every key first.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/controlpanel.h"
#include "app/keymapper.h"
#include "app/mainwindow.h"
#include "app/modeoptionbutton.h"
#include "app/suracombobox.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"

namespace lumora::test {
namespace {

TEST(KeyMapperTest, QtKeysBecomeWindowsKeyCodes) {
    struct Case {
        int qtKey;
        bool keypad;
        int code;
    };
    const Case cases[] = {
        {Qt::Key_A, false, 65},      {Qt::Key_Z, false, 90},          {Qt::Key_0, false, 48},
        {Qt::Key_9, false, 57},      {Qt::Key_3, true, 99},           {Qt::Key_0, true, 96},
        {Qt::Key_Plus, true, 107},   {Qt::Key_Minus, true, 109},      {Qt::Key_F1, false, 112},
        {Qt::Key_F8, false, 119},    {Qt::Key_PageUp, false, 33},     {Qt::Key_PageDown, false, 34},
        {Qt::Key_Home, false, 36},   {Qt::Key_Left, false, 37},       {Qt::Key_Down, false, 40},
        {Qt::Key_Exclam, false, 49}, {Qt::Key_ParenRight, false, 48}, {Qt::Key_PageUp, true, 33},
        {Qt::Key_Plus, false, 0},    {Qt::Key_Eacute, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyMapper::virtualKeyCode(c.qtKey, c.keypad), c.code)
            << std::hex << c.qtKey << " keypad " << c.keypad;
    }
    EXPECT_EQ(KeyMapper::shiftBits(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(KeyMapper::shiftBits(Qt::ControlModifier | Qt::KeypadModifier), 2);
}

using WindowKeysTest = ProgramTest;

TEST_F(WindowKeysTest, F8HidesAndShowsTheSixMenusWithoutASura) {
    Program& started = start();
    MainWindow& window = started.window();
    ASSERT_TRUE(started.controller()->selectSura(-1).ok());
    QTest::keyClick(&window, Qt::Key_F8);
    EXPECT_FALSE(window.menusVisible());
    for (QMenu* menu : window.topMenus()) EXPECT_FALSE(menu->menuAction()->isVisible());
    QTest::keyClick(&window, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_TRUE(window.menusVisible());
    for (QMenu* menu : window.topMenus()) EXPECT_TRUE(menu->menuAction()->isVisible());
}

TEST_F(WindowKeysTest, AKeyOnTheSuraBoxReachesTheHandlerOnceAndTheBoxSwallowsDigitsAndArrows) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    SuraComboBox* suraBox = started.window().panel()->suraBox();
    ASSERT_TRUE(controller.selectSura(111).ok());  // sura 112, records 0 to 4

    // The keypad's plus goes up by one step, not two, although the box passes it on to its parents.
    QTest::keyClick(suraBox, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(controller.volume().curPosition(), 600);

    // Arrows do not change the sura while the list is closed; typed 3 sets a three-verse range.
    QTest::keyClick(suraBox, Qt::Key_Down);
    QTest::keyClick(suraBox, Qt::Key_Right);
    EXPECT_EQ(controller.sura(), 112);
    EXPECT_EQ(suraBox->currentIndex(), 111);
    QTest::keyClick(suraBox, Qt::Key_3);
    EXPECT_EQ(controller.sura(), 112);
    EXPECT_EQ(controller.rangeBegin().value(), 0);
    EXPECT_EQ(controller.rangeEnd().value(), 2);
}

TEST_F(WindowKeysTest, AltCombinationsBelongToTheWindowNotToTheMenuBar) {
    Program& started = start();
    MainWindow& window = started.window();
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(window.isPaneVisible(4));
    EXPECT_FALSE(window.textsMenuAction(4)->isChecked());
    EXPECT_TRUE(modals().seen().size() == 1);  // only the About window of the start
    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(window.menuBar()->activeAction(), nullptr);
    QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(started.controller()->mode(), RecitationMode::Verse);
    EXPECT_TRUE(window.panel()->modeOption(1)->isChecked());
}

TEST_F(WindowKeysTest, TheModeOptionsSwallowTheirKeys) {
    Program& started = start();
    ModeOptionButton* verseMode = started.window().panel()->modeOption(1);
    QTest::keyClick(verseMode, Qt::Key_Space);
    QTest::keyClick(verseMode, Qt::Key_Left);
    EXPECT_EQ(started.controller()->mode(), RecitationMode::Range);
    EXPECT_TRUE(started.window().panel()->modeOption(0)->isChecked());
}

}  // namespace
}  // namespace lumora::test

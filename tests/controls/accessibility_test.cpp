// What a screen reader learns of the painted controls, asked the way it asks: through the accessible
// interfaces Qt hands out; and what a keyboard user sees of the focus. (The events they send reach a
// screen reader only on a platform with accessibility: the window's tests on the accessibility bus.)
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

#include "controls/accessibleverseslider.h"
#include "controls/contrast.h"
#include "controls/controlpictures.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/tickruler.h"
#include "controls/verseslider.h"

namespace lumora {
namespace {

QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr);
    return iface;
}

QStringList actions(QObject* object) { return accessible(object)->actionInterface()->actionNames(); }

void showAndFocus(QWidget& window, QWidget* target) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    target->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(target->hasFocus());
}

// Pixels that differ between two pictures of the same widget.
int differingPixels(const QImage& first, const QImage& second) {
    int differing = 0;
    for (int y = 0; y < std::min(first.height(), second.height()); ++y) {
        for (int x = 0; x < std::min(first.width(), second.width()); ++x)
            differing += first.pixel(x, y) != second.pixel(x, y) ? 1 : 0;
    }
    return differing;
}

TEST(AccessibilityTest, VerseSliderValueIsSaidInVersesWithEachSurasNumbering) {
    // Sura 2: record 0 is the opening formula, record k verse k.
    EXPECT_EQ(AccessibleVerseSlider::valueWords(255, 286, 2), QStringLiteral("verse 255 of 286"));
    EXPECT_EQ(AccessibleVerseSlider::valueWords(0, 286, 2), QStringLiteral("opening formula, Bismillah"));
    // Suras 1 and 9 have no formula before their first verse: record k is verse k + 1.
    EXPECT_EQ(AccessibleVerseSlider::valueWords(0, 128, 9), QStringLiteral("verse 1 of 129"));
    EXPECT_EQ(AccessibleVerseSlider::valueWords(128, 128, 9), QStringLiteral("verse 129 of 129"));
    EXPECT_EQ(AccessibleVerseSlider::valueWords(6, 6, 1), QStringLiteral("verse 7 of 7"));
    // No sura (the equalizer's band sliders, or before the first load): the number itself.
    EXPECT_EQ(AccessibleVerseSlider::valueWords(-3, 15, 0), QStringLiteral("-3"));
}

TEST(AccessibilityTest, VerseSliderIsANamedSliderWhoseValueCanBeReadSetAndStepped) {
    QWidget window;
    auto* label = new QLabel(QStringLiteral("Range &End"), &window);
    auto* slider = new VerseSlider(&window);
    label->setBuddy(slider);
    slider->setOrientation(Qt::Horizontal);
    slider->setGeometry(0, 20, 200, slider->minimumHeight());
    VerseSliderModel& model = *slider->model();
    ASSERT_TRUE(model.setMax(286).ok());
    model.setSura(2);
    ASSERT_TRUE(model.setValue(255).ok());

    QAccessibleInterface* iface = accessible(slider);
    EXPECT_EQ(iface->role(), QAccessible::Slider);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Range End"));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("verse 255 of 286"));
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 255);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 286);
    EXPECT_EQ(value->minimumStepSize().toInt(), 1);

    // Set from assistive technology, the model moves and its owner hears of it; outside the range nothing.
    int changes = 0;
    QObject::connect(&model, &VerseSliderModel::changed, [&changes] { ++changes; });
    value->setCurrentValue(7);
    EXPECT_EQ(model.value(), 7);
    EXPECT_EQ(changes, 1);
    value->setCurrentValue(287);
    value->setCurrentValue(-1);
    EXPECT_EQ(model.value(), 7);

    ASSERT_TRUE(actions(slider).contains(QAccessibleActionInterface::increaseAction()));
    iface->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(model.value(), 8);
    iface->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    iface->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(model.value(), 6);
    EXPECT_EQ(iface->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::increaseAction()),
              QStringList{QStringLiteral("Right")});

    // The words follow the sura and the range.
    ASSERT_TRUE(model.setMax(128).ok());
    model.setSura(9);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("verse 7 of 129"));

    slider->setEnabled(false);
    EXPECT_TRUE(iface->state().disabled);
    EXPECT_FALSE(actions(slider).contains(QAccessibleActionInterface::increaseAction()));
    value->setCurrentValue(3);
    EXPECT_EQ(model.value(), 6);
}

TEST(AccessibilityTest, FocusedVerseSliderStepsWithTheArrowKeysAndShowsItsFocus) {
    QWidget window;
    auto* slider = new VerseSlider(&window);
    auto* other = new VerseSlider(&window);
    slider->setOrientation(Qt::Horizontal);
    slider->setGeometry(0, 0, 200, slider->minimumHeight());
    other->setGeometry(0, 40, 20, 100);
    VerseSliderModel& model = *slider->model();
    ASSERT_TRUE(model.setMax(3).ok());
    EXPECT_EQ(slider->focusPolicy(), Qt::StrongFocus);
    showAndFocus(window, other);
    const QImage unfocused = slider->grab().toImage();

    QTest::keyClick(&window, Qt::Key_Tab);
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_GT(differingPixels(unfocused, slider->grab().toImage()), 20) << "a focus mark is drawn";

    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_EQ(model.value(), 2);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(model.value(), 3) << "held at Max";
    QTest::keyClick(slider, Qt::Key_Left);
    QTest::keyClick(slider, Qt::Key_Down);
    EXPECT_EQ(model.value(), 1);
}

TEST(AccessibilityTest, VolumeSliderSaysItsShareAndMovesLikeADragWhenSetOrStepped) {
    QWidget window;
    auto* label = new QLabel(QStringLiteral("Volume"), &window);
    auto* slider = new PictureSlider(&window);
    auto* other = new OwnerDrawnButton(QStringLiteral("Other"), &window);
    label->setBuddy(slider);
    slider->setImageSlider(ControlPictures::volumeTrack());
    slider->setImagePointer(ControlPictures::volumePointer());
    slider->move(0, 20);
    other->setGeometry(0, 60, 80, 24);
    ASSERT_TRUE(slider->setMax(1000).ok());
    slider->setCurPosition(600);
    // The owner caps every move the user makes at 900, as the window may change a new position.
    std::vector<std::pair<int32_t, int32_t>> moves;
    QObject::connect(slider, &PictureSlider::positionChanged, [&moves](int32_t oldPosition, int32_t& newPosition) {
        moves.emplace_back(oldPosition, newPosition);
        newPosition = std::min<int32_t>(newPosition, 900);
    });

    QAccessibleInterface* iface = accessible(slider);
    EXPECT_EQ(iface->role(), QAccessible::Slider);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Volume"));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("volume 60 percent"));
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 600);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 1000);
    EXPECT_EQ(value->minimumStepSize().toInt(), 100);

    value->setCurrentValue(950);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves.back(), std::make_pair(600, 950));
    EXPECT_EQ(slider->curPosition(), 900);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("volume 90 percent"));

    showAndFocus(window, other);
    const QImage unfocused = slider->grab().toImage();
    QTest::keyClick(&window, Qt::Key_Backtab);
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_GT(differingPixels(unfocused, slider->grab().toImage()), 20) << "a focus mark is drawn";
    QTest::keyClick(slider, Qt::Key_Left);
    QTest::keyClick(slider, Qt::Key_Down);
    EXPECT_EQ(slider->curPosition(), 700);
    iface->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(slider->curPosition(), 800);
    for (int i = 0; i < 15; ++i) QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(slider->curPosition(), 0);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("volume 0 percent"));
}

TEST(AccessibilityTest, OwnerDrawnButtonsAreNamedByCaptionOrOwnerAndPressLikeAClick) {
    QWidget window;
    auto* copy = new OwnerDrawnButton(QStringLiteral("&Copy"), &window);
    auto* move = new OwnerDrawnButton(QStringLiteral("\u00AB"), &window);
    auto* toggle = new OwnerDrawnButton(QStringLiteral("Text 1"), &window);
    move->setAccessibleName(QStringLiteral("Move range backward"));
    move->setToolTip(QStringLiteral("Move range backward (N)"));
    toggle->setCheckBox(true);
    toggle->setChecked(true);
    int copies = 0;
    int toggles = 0;
    QObject::connect(copy, &OwnerDrawnButton::click, [&copies] { ++copies; });
    QObject::connect(toggle, &OwnerDrawnButton::click, [&toggles] { ++toggles; });

    QAccessibleInterface* copyIface = accessible(copy);
    EXPECT_EQ(copyIface->role(), QAccessible::Button);
    EXPECT_EQ(copyIface->text(QAccessible::Name), QStringLiteral("Copy"));
    EXPECT_EQ(copyIface->text(QAccessible::Accelerator), QKeySequence(Qt::ALT | Qt::Key_C).toString(QKeySequence::NativeText));
    EXPECT_FALSE(copyIface->state().checkable);
    EXPECT_TRUE(actions(copy).contains(QAccessibleActionInterface::pressAction()));
    copyIface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(copies, 1);

    QAccessibleInterface* moveIface = accessible(move);
    EXPECT_EQ(moveIface->text(QAccessible::Name), QStringLiteral("Move range backward"));
    EXPECT_EQ(moveIface->text(QAccessible::Description), QStringLiteral("Move range backward (N)"));

    QAccessibleInterface* toggleIface = accessible(toggle);
    EXPECT_TRUE(toggleIface->state().checkable);
    EXPECT_TRUE(toggleIface->state().checked);
    toggleIface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(toggle->checked());
    EXPECT_FALSE(toggleIface->state().checked);
    EXPECT_EQ(toggles, 1);
    toggle->setChecked(true);
    EXPECT_EQ(toggles, 1) << "set from code, no click";

    // The name follows the caption; a disabled button offers nothing to press.
    toggle->setCaption(QStringLiteral("Arabic"));
    EXPECT_EQ(toggleIface->text(QAccessible::Name), QStringLiteral("Arabic"));
    copy->setEnabled(false);
    EXPECT_FALSE(actions(copy).contains(QAccessibleActionInterface::pressAction()));
    copyIface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(copies, 1);
}

TEST(AccessibilityTest, PictureButtonIsNamedPressesAndWorksFromTheKeyboardWithAFocusMark) {
    QWidget window;
    auto* other = new OwnerDrawnButton(QStringLiteral("Other"), &window);
    auto* play = new PictureButton(ControlPictures::transportButton(TransportButton::Play, false),
                                   ControlPictures::transportButton(TransportButton::Play, true), &window);
    other->setGeometry(0, 0, 80, 24);
    play->move(0, 40);
    play->setAccessibleName(QStringLiteral("Play"));
    int clicks = 0;
    QObject::connect(play, &PictureButton::click, [&clicks] { ++clicks; });

    QAccessibleInterface* iface = accessible(play);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Play"));
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);

    showAndFocus(window, other);
    const QImage unfocused = play->grab().toImage();
    QTest::keyClick(&window, Qt::Key_Tab);
    ASSERT_TRUE(play->hasFocus());
    EXPECT_GT(differingPixels(unfocused, play->grab().toImage()), 20) << "a focus mark is drawn";
    QTest::keyPress(play, Qt::Key_Space);
    EXPECT_TRUE(play->isDrawnDown());
    EXPECT_TRUE(iface->state().pressed);
    QTest::keyRelease(play, Qt::Key_Space);
    EXPECT_FALSE(play->isDrawnDown());
    EXPECT_EQ(clicks, 2);
    // A press whose release never comes here (the focus moved on) does not click.
    QTest::keyPress(play, Qt::Key_Space);
    other->setFocus();
    QTest::keyRelease(other, Qt::Key_Space);
    EXPECT_FALSE(play->isDrawnDown());
    EXPECT_EQ(clicks, 2);

    play->setEnabled(false);
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 2);
}

TEST(AccessibilityTest, TickRulerStaysOutOfTheTreeAndTakesNoFocus) {
    QWidget panel;
    auto* slider = new VerseSlider(&panel);
    auto* ruler = new TickRuler(&panel);
    EXPECT_EQ(ruler->focusPolicy(), Qt::NoFocus);
    QAccessibleInterface* iface = accessible(&panel);
    ASSERT_EQ(iface->childCount(), 1);
    EXPECT_EQ(iface->child(0)->object(), slider);
    EXPECT_EQ(iface->indexOfChild(accessible(slider)), 0);
    EXPECT_EQ(iface->indexOfChild(accessible(ruler)), -1);
}

TEST(AccessibilityTest, ContrastRatiosFollowTheGuidelinesFormula) {
    EXPECT_DOUBLE_EQ(Contrast::ratio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(Contrast::ratio(QColor(10, 20, 30), QColor(10, 20, 30)), 1.0);
    // Mid grey #777 on white is the guidelines' well-known near miss.
    EXPECT_NEAR(Contrast::ratio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);
    EXPECT_EQ(Contrast::markOn(QColor(57, 49, 57)), QColor(Qt::white));
    EXPECT_EQ(Contrast::markOn(QColor(230, 230, 200)), QColor(Qt::black));

    const QColor panel(57, 49, 57);
    const QColor text(227, 238, 227);
    const QColor dimmed = Contrast::dimmedOn(text, panel);
    EXPECT_GE(Contrast::ratio(dimmed, panel), Contrast::kMinimumTextRatio);
    EXPECT_LT(Contrast::ratio(dimmed, panel), Contrast::ratio(text, panel) - 2.0) << "visibly dimmed";
    // Text that already falls short is replaced by the stronger of black and white.
    EXPECT_EQ(Contrast::dimmedOn(QColor(80, 70, 80), panel), QColor(Qt::white));
}

}  // namespace
}  // namespace lumora

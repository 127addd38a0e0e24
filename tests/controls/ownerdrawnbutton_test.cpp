#include "controls/ownerdrawnbutton.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/bevelpainter.h"
#include "controls/contrast.h"
#include "widgetinput.h"

namespace lumora {
namespace {

using test::click;
using test::dragTo;
using test::press;
using test::release;

const QColor kFace(57, 49, 57);
const QColor kCaption(227, 238, 227);
const QColor kCaptionChecked(255, 200, 0);

void sendKey(QWidget* widget, QEvent::Type type, bool autoRepeat = false) {
    QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
    QApplication::sendEvent(widget, &event);
}

void setUpButton(OwnerDrawnButton& button) {
    button.setBackColor(kFace);
    button.setForeColor(kCaption);
    button.setForeColorChecked(kCaptionChecked);
    QFont font = button.font();
    font.setPixelSize(20);
    font.setBold(true);
    button.setFont(font);
    button.resize(120, 40);
}

int countPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return count;
}

struct ClickCounter {
    int clicks = 0;
    explicit ClickCounter(OwnerDrawnButton& button) {
        QObject::connect(&button, &OwnerDrawnButton::click, [this] { ++clicks; });
    }
};

TEST(OwnerDrawnButtonTest, PushButtonIsDownWhileHeldAndClicksOnlyOnALeftReleaseInside) {
    OwnerDrawnButton button("Play");
    setUpButton(button);
    ClickCounter counter(button);
    int mouseDowns = 0;
    QObject::connect(&button, &OwnerDrawnButton::mouseDown,
                     [&mouseDowns](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++mouseDowns; });

    press(&button, QPoint(10, 10));
    EXPECT_TRUE(button.isDrawnDown());
    release(&button, QPoint(10, 10));
    EXPECT_FALSE(button.isDrawnDown());
    EXPECT_EQ(counter.clicks, 1);

    // Sliding off shows it up, sliding back shows it down; released outside it does not click.
    press(&button, QPoint(10, 10));
    dragTo(&button, QPoint(200, 10));
    EXPECT_FALSE(button.isDrawnDown());
    dragTo(&button, QPoint(20, 10));
    EXPECT_TRUE(button.isDrawnDown());
    dragTo(&button, QPoint(200, 10));
    release(&button, QPoint(200, 10));
    EXPECT_EQ(counter.clicks, 1);

    // The right button is heard but neither presses nor clicks.
    click(&button, QPoint(10, 10), Qt::RightButton);
    EXPECT_FALSE(button.isDrawnDown());
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(mouseDowns, 3);
}

TEST(OwnerDrawnButtonTest, CheckBoxToggledByClickAndBySpace) {
    OwnerDrawnButton button("Text 1");
    setUpButton(button);
    button.setCheckBox(true);
    ClickCounter counter(button);

    click(&button, QPoint(10, 10));
    EXPECT_TRUE(button.checked());
    EXPECT_TRUE(button.isDrawnDown());
    EXPECT_EQ(counter.clicks, 1);

    sendKey(&button, QEvent::KeyPress);
    EXPECT_TRUE(button.checked());
    sendKey(&button, QEvent::KeyRelease);
    EXPECT_FALSE(button.checked());
    EXPECT_FALSE(button.isDrawnDown());
    EXPECT_EQ(counter.clicks, 2);

    // A held space key repeats: only the real release clicks.
    sendKey(&button, QEvent::KeyPress);
    sendKey(&button, QEvent::KeyRelease, true);
    sendKey(&button, QEvent::KeyPress, true);
    sendKey(&button, QEvent::KeyRelease, true);
    sendKey(&button, QEvent::KeyPress, true);
    sendKey(&button, QEvent::KeyRelease);
    EXPECT_TRUE(button.checked());
    EXPECT_EQ(counter.clicks, 3);
}

TEST(OwnerDrawnButtonTest, CheckedFromCodeRaisesNoClick) {
    OwnerDrawnButton button("Text 2");
    button.setCheckBox(true);
    ClickCounter counter(button);
    button.setChecked(true);
    EXPECT_TRUE(button.isDrawnDown());
    button.setChecked(false);
    EXPECT_FALSE(button.isDrawnDown());
    EXPECT_EQ(counter.clicks, 0);
}

TEST(OwnerDrawnButtonTest, CheckBoxHeldAndDraggedOffShowsItsStateAgain) {
    OwnerDrawnButton button("Text 3");
    setUpButton(button);
    button.setCheckBox(true);
    press(&button, QPoint(10, 10));
    dragTo(&button, QPoint(12, 10));
    EXPECT_TRUE(button.isDrawnDown());
    dragTo(&button, QPoint(300, 10));
    EXPECT_FALSE(button.isDrawnDown());
    dragTo(&button, QPoint(12, 10));
    release(&button, QPoint(300, 10));
    EXPECT_FALSE(button.checked());
    EXPECT_FALSE(button.isDrawnDown());
}

TEST(OwnerDrawnButtonTest, DoubleClickIsASecondPress) {
    OwnerDrawnButton button("Next");
    setUpButton(button);
    ClickCounter counter(button);
    click(&button, QPoint(10, 10));
    test::sendMouse(&button, QEvent::MouseButtonDblClick, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(button.isDrawnDown());
    release(&button, QPoint(10, 10));
    EXPECT_EQ(counter.clicks, 2);
}

TEST(OwnerDrawnButtonTest, CaptionIsCentredInItsColourOrTheCheckedColour) {
    OwnerDrawnButton button("HH");
    setUpButton(button);
    QImage image = button.grab().toImage();
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != kCaption) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    ASSERT_GE(right, 0) << "no caption drawn";
    EXPECT_LE(std::abs((left + right) - (image.width() - 1)), 4);
    EXPECT_LE(std::abs((top + bottom) - (image.height() - 1)), 6);

    // A checked push button keeps its colour; a checked check box takes the second one.
    button.setChecked(true);
    EXPECT_GT(countPixels(button.grab().toImage(), kCaption), 0);
    button.setCheckBox(true);
    image = button.grab().toImage();
    EXPECT_EQ(countPixels(image, kCaption), 0);
    EXPECT_GT(countPixels(image, kCaptionChecked), 0);
}

TEST(OwnerDrawnButtonTest, DisabledButtonIsEmbossedAndNeverClicks) {
    QWidget window;
    OwnerDrawnButton button("&Save", &window);
    setUpButton(button);
    ClickCounter counter(button);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(counter.clicks, 1) << "the access key clicks";
    {
        // A second control with the same access key: the key only moves the focus between them.
        OwnerDrawnButton twin("&Stop", &window);
        twin.show();
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(counter.clicks, 1);
        EXPECT_TRUE(button.hasFocus() || twin.hasFocus());
    }

    button.setEnabled(false);
    click(&button, QPoint(10, 10));
    sendKey(&button, QEvent::KeyPress);
    sendKey(&button, QEvent::KeyRelease);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(counter.clicks, 1);

    const BevelPainter bevel(kFace);
    const QImage image = button.grab().toImage();
    EXPECT_EQ(countPixels(image, kCaption), 0);
    EXPECT_GT(countPixels(image, bevel.highlight()), 0);
    // The upper copy is the caption dimmed, still readable on the face.
    EXPECT_GT(countPixels(image, button.captionColour()), 0);
    EXPECT_GE(Contrast::ratio(button.captionColour(), kFace), Contrast::kMinimumTextRatio);
    EXPECT_LT(Contrast::ratio(button.captionColour(), kFace), Contrast::ratio(kCaption, kFace));
}

TEST(OwnerDrawnButtonTest, FocusRectangleOnlyWithFocusAndWhenWanted) {
    QWidget window;
    OwnerDrawnButton button("Copy", &window);
    setUpButton(button);
    OwnerDrawnButton other("Info", &window);
    other.move(0, 50);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // The focus rectangle's left side runs down column 3, clear of the caption.
    const auto focusColumnInk = [&button] {
        const QImage image = button.grab().toImage();
        int ink = 0;
        for (int y = 5; y < image.height() - 5; ++y) ink += image.pixelColor(3, y) == kCaption ? 1 : 0;
        return ink;
    };
    other.setFocus();
    EXPECT_EQ(focusColumnInk(), 0);
    button.setFocus();
    ASSERT_TRUE(button.hasFocus());
    EXPECT_GT(focusColumnInk(), 0);
    button.setShowFocusRect(false);
    EXPECT_EQ(focusColumnInk(), 0);
}

}  // namespace
}  // namespace lumora

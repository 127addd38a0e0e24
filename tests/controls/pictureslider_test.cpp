#include "controls/pictureslider.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "widgetinput.h"

namespace lumora {
namespace {

using test::click;
using test::dragTo;
using test::press;
using test::release;

const QColor kTrack(0, 0, 128);
const QColor kFill(0, 160, 0);
const QColor kPointer(255, 255, 255);
const QColor kMask(192, 192, 192);

QImage solid(int widthPx, int heightPx, const QColor& colour) {
    QImage image(widthPx, heightPx, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// Track 100 x 20, pointer 9 x 16: the track's left edge at round(4.5) = 4, the pointer 2 pixels down.
void setUpVolume(PictureSlider& slider) {
    slider.setImageSlider(solid(100, 20, kTrack));
    slider.setImagePointer(solid(9, 16, kPointer));
    ASSERT_TRUE(slider.setMax(1000).ok());
}

// The left edge of the pointer as drawn, found by its colour on the row through its middle.
int drawnPointerLeft(const PictureSlider& slider) {
    const QImage image = slider.composedImage();
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, 10) == kPointer) return x;
    }
    return -1;
}

struct MoveLog {
    std::vector<std::string> events;
    std::vector<std::pair<int32_t, int32_t>> moves;
    explicit MoveLog(PictureSlider& slider) {
        QObject::connect(&slider, &PictureSlider::positionChanged, [this](int32_t oldPosition, int32_t& newPosition) {
            events.push_back("position");
            moves.emplace_back(oldPosition, newPosition);
        });
        QObject::connect(&slider, &PictureSlider::click, [this] { events.push_back("click"); });
        QObject::connect(&slider, &PictureSlider::mouseDown,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { events.push_back("down"); });
    }
};

TEST(PictureSliderTest, GeometryFollowsTheTallerPicture) {
    PictureSlider slider;
    setUpVolume(slider);
    EXPECT_EQ(slider.size(), QSize(109, 20));
    EXPECT_EQ(slider.trackLeft(), 4);
    EXPECT_EQ(slider.trackTop(), 0);
    EXPECT_EQ(slider.pointerTop(), 2);

    // A pointer taller than the track: the track is centred, round(3.5) = 4, and the halved width 5.5
    // goes to 6.
    slider.setImageSlider(solid(100, 10, kTrack));
    slider.setImagePointer(solid(11, 17, kPointer));
    EXPECT_EQ(slider.size(), QSize(111, 17));
    EXPECT_EQ(slider.trackLeft(), 6);
    EXPECT_EQ(slider.trackTop(), 4);
    EXPECT_EQ(slider.pointerTop(), 0);
}

TEST(PictureSliderTest, ValueAndOffsetRoundHalvesToEven) {
    PictureSlider slider;
    setUpVolume(slider);
    slider.setCurPosition(15);  // 1.5 pixels
    EXPECT_EQ(slider.pointerOffset(), 2);
    slider.setCurPosition(25);  // 2.5 pixels
    EXPECT_EQ(slider.pointerOffset(), 2);
    slider.setCurPosition(35);
    EXPECT_EQ(slider.pointerOffset(), 4);

    // Half a value per pixel: 21 pixels along the track is 10.5 -> 10, 23 pixels is 11.5 -> 12.
    ASSERT_TRUE(slider.setMax(50).ok());
    slider.setCurPosition(0);
    click(&slider, QPoint(slider.trackLeft() + 21, 10));
    EXPECT_EQ(slider.curPosition(), 10);
    slider.setCurPosition(0);
    click(&slider, QPoint(slider.trackLeft() + 23, 10));
    EXPECT_EQ(slider.curPosition(), 12);
}

TEST(PictureSliderTest, PressOffThePointerJumpsAndEndsOfTheTrackGiveMinAndMax) {
    PictureSlider slider;
    setUpVolume(slider);
    slider.setCurPosition(500);
    MoveLog log(slider);
    click(&slider, QPoint(1, 10));  // left of the track's start
    EXPECT_EQ(slider.curPosition(), 0);
    click(&slider, QPoint(108, 10));  // right of its end
    EXPECT_EQ(slider.curPosition(), 1000);
    click(&slider, QPoint(slider.trackLeft() + 30, 10));
    EXPECT_EQ(slider.curPosition(), 300);
    EXPECT_EQ(log.moves, (std::vector<std::pair<int32_t, int32_t>>{{500, 0}, {0, 1000}, {1000, 300}}));
    EXPECT_EQ(log.events, (std::vector<std::string>{"down", "position", "click", "down", "position", "click",
                                                    "down", "position", "click"}));
}

TEST(PictureSliderTest, OwnerMayChangeTheNewPosition) {
    PictureSlider slider;
    setUpVolume(slider);
    int32_t ownersChoice = 123;
    QObject::connect(&slider, &PictureSlider::positionChanged,
                     [&ownersChoice](int32_t, int32_t& newPosition) { newPosition = ownersChoice; });
    click(&slider, QPoint(90, 10));
    EXPECT_EQ(slider.curPosition(), 123);
    EXPECT_EQ(slider.pointerOffset(), 12);
    // A choice outside the range is held to it.
    ownersChoice = 5000;
    click(&slider, QPoint(30, 10));
    EXPECT_EQ(slider.curPosition(), 1000);
}

TEST(PictureSliderTest, PressOnThePointerWithoutMovingChangesNothing) {
    PictureSlider slider;
    setUpVolume(slider);
    slider.setCurPosition(400);  // pointer from x 40 to 48
    MoveLog log(slider);
    click(&slider, QPoint(44, 10));
    EXPECT_EQ(slider.curPosition(), 400);
    EXPECT_EQ(log.events, (std::vector<std::string>{"down", "click"}));
}

TEST(PictureSliderTest, DragFromThePointerFollowsAndHoldsAtTheEnds) {
    PictureSlider slider;
    setUpVolume(slider);
    slider.setCurPosition(400);
    MoveLog log(slider);
    press(&slider, QPoint(44, 10));
    dragTo(&slider, QPoint(slider.trackLeft() + 70, 10));
    EXPECT_EQ(slider.curPosition(), 700);
    dragTo(&slider, QPoint(900, 10));
    EXPECT_EQ(slider.curPosition(), 1000);
    dragTo(&slider, QPoint(-900, 10));
    EXPECT_EQ(slider.curPosition(), 0);
    release(&slider, QPoint(-900, 10));
    EXPECT_EQ(log.events.back(), "position");  // released outside: no click
    // Moving after the release is not a drag.
    dragTo(&slider, QPoint(60, 10));
    EXPECT_EQ(slider.curPosition(), 0);
}

TEST(PictureSliderTest, MinAndMaxRefuseToCrossAndPullThePositionIn) {
    PictureSlider slider;
    setUpVolume(slider);
    slider.setCurPosition(500);
    MoveLog log(slider);

    const Result<void> badMin = slider.setMin(1000);
    ASSERT_FALSE(badMin.ok());
    EXPECT_EQ(badMin.error().number, PictureSlider::kMinNotBelowMax);
    EXPECT_EQ(badMin.error().description, "Minimum must be less than Maximum");
    EXPECT_EQ(badMin.error().source, "ZerizuDuraza");
    const Result<void> badMax = slider.setMax(0);
    ASSERT_FALSE(badMax.ok());
    EXPECT_EQ(badMax.error().number, PictureSlider::kMaxNotAboveMin);
    EXPECT_EQ(badMax.error().description, "Maximum must be greater than Minimum");
    EXPECT_EQ(badMax.error().source, "ZerizuDuraza");
    EXPECT_EQ(slider.min(), 0);
    EXPECT_EQ(slider.max(), 1000);

    ASSERT_TRUE(slider.setMax(300).ok());
    EXPECT_EQ(slider.curPosition(), 300);
    EXPECT_EQ(slider.pointerOffset(), 100);
    ASSERT_TRUE(slider.setMin(-100).ok());
    EXPECT_EQ(slider.curPosition(), 300);
    slider.setCurPosition(50);
    ASSERT_TRUE(slider.setMin(60).ok());
    EXPECT_EQ(slider.curPosition(), 60);
    slider.setCurPosition(-5);
    EXPECT_EQ(slider.curPosition(), 60);
    slider.setCurPosition(301);
    EXPECT_EQ(slider.curPosition(), 300);
    EXPECT_TRUE(log.events.empty());
}

TEST(PictureSliderTest, DisabledColourShiftIsHeldToTheChannelRange) {
    const QRgb mask = kMask.rgb();
    // Lighten by 20: bright channels move by 20, dark ones by 2.5 x 20.
    EXPECT_EQ(PictureSlider::disabledColour(qRgb(200, 100, 250), 20, mask), qRgb(220, 150, 255));
    // Darken by 20: a dark channel would fall below 0.
    EXPECT_EQ(PictureSlider::disabledColour(qRgb(200, 10, 128), -20, mask), qRgb(180, 0, 108));
    // 2.5 x 1 + 100 = 102.5 goes to the even 102.
    EXPECT_EQ(PictureSlider::disabledColour(qRgb(100, 100, 100), 1, mask), qRgb(102, 102, 102));
    // Landing on the mask colour would make the pixel transparent: it is nudged off it.
    EXPECT_EQ(PictureSlider::disabledColour(qRgb(172, 172, 172), 20, mask), qRgb(193, 172 + 20, 172 + 20));
    EXPECT_EQ(PictureSlider::disabledColour(qRgb(235, 0, 0), 20, qRgb(255, 50, 50)), qRgb(254, 50, 50));
}

TEST(PictureSliderTest, DisabledLookKeepsTheMaskAndIgnoresIntensityOutOfRange) {
    PictureSlider slider;
    setUpVolume(slider);
    slider.setCurPosition(1000);  // pointer at the right end, out of the sampled columns
    slider.setDisabledIntense(86);
    EXPECT_EQ(slider.disabledIntense(), 20);
    slider.setDisabledIntense(-1);
    EXPECT_EQ(slider.disabledIntense(), 20);
    slider.setDisabledIntense(40);
    slider.setEnabled(false);
    QImage image = slider.composedImage();
    // Track (0, 0, 128): red and green are 127 or below and rise by 2.5 x 40, blue rises by 40.
    EXPECT_EQ(image.pixelColor(20, 10), QColor(100, 100, 168));
    // The strip left of the track shows the mask colour and keeps it.
    EXPECT_EQ(image.pixelColor(1, 10), kMask);
    slider.setDisabledStyle(PictureSlider::kDarkenWhenDisabled);
    image = slider.composedImage();
    EXPECT_EQ(image.pixelColor(20, 10), QColor(0, 0, 88));

    slider.setBackStyle(PictureSlider::kTransparentBack);
    EXPECT_EQ(slider.composedImage().pixelColor(1, 10).alpha(), 0);
    slider.setEnabled(true);
    EXPECT_EQ(slider.composedImage().pixelColor(20, 10), kTrack);
}

TEST(PictureSliderTest, FilledTrackCoversTheTrackUpToThePointer) {
    PictureSlider slider;
    setUpVolume(slider);
    slider.setCurPosition(500);
    EXPECT_FALSE(slider.isSliderLeftPicSet());
    slider.setImageLeft(solid(100, 20, kFill));
    EXPECT_TRUE(slider.isSliderLeftPicSet());
    QImage image = slider.composedImage();
    EXPECT_EQ(image.pixelColor(slider.trackLeft() + 45, 10), kFill);
    EXPECT_EQ(image.pixelColor(slider.trackLeft() + 60, 10), kTrack);
    slider.setImageLeft(QImage());
    EXPECT_FALSE(slider.isSliderLeftPicSet());
    EXPECT_EQ(slider.composedImage().pixelColor(slider.trackLeft() + 45, 10), kTrack);
}

TEST(PictureSliderTest, PlacingOnRedrawMeasuresFromMin) {
    PictureSlider slider;
    setUpVolume(slider);
    ASSERT_TRUE(slider.setMin(100).ok());
    ASSERT_TRUE(slider.setMax(200).ok());
    slider.setCurPosition(150);
    EXPECT_EQ(drawnPointerLeft(slider), 50);
    slider.setSliderStyle(PictureSlider::kPlaceOnRedrawStyle);
    EXPECT_EQ(drawnPointerLeft(slider), 50);
    slider.setCurPosition(157);  // 57 pixels whole, where the value's own place rounds the same
    EXPECT_EQ(drawnPointerLeft(slider), 57);
}

}  // namespace
}  // namespace lumora

#include "controls/verseslider.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/valuetip.h"
#include "widgetinput.h"

namespace lumora {
namespace {

using test::dragTo;
using test::press;
using test::release;

// The default thumb is 11 pixels along the travel, so a slider 211 pixels long has 200 pixels of travel:
// with Min 0 and Max 10 every value is 20 pixels from the next.
constexpr int kLengthPx = 211;
constexpr int kThumbLengthPx = 11;

struct EventLog {
    std::vector<std::string> events;
    explicit EventLog(VerseSlider& slider) {
        QObject::connect(slider.model(), &VerseSliderModel::changed, [this] { events.push_back("change"); });
        QObject::connect(slider.model(), &VerseSliderModel::arrivedFirst, [this] { events.push_back("first"); });
        QObject::connect(slider.model(), &VerseSliderModel::arrivedLast, [this] { events.push_back("last"); });
        QObject::connect(&slider, &VerseSlider::click, [this] { events.push_back("click"); });
        QObject::connect(&slider, &VerseSlider::mouseDown, [this](Qt::MouseButton) { events.push_back("down"); });
        QObject::connect(&slider, &VerseSlider::mouseUp, [this](Qt::MouseButton) { events.push_back("up"); });
    }
};

void makeHorizontal(VerseSlider& slider) {
    slider.setOrientation(Qt::Horizontal);
    slider.resize(kLengthPx, slider.minimumHeight());
    slider.show();
}

QPoint thumbCentre(const VerseSlider& slider) { return slider.thumbRect().center(); }

TEST(VerseSliderTest, PlacesThumbFromValueWithMinAtTheLeftOrBottom) {
    VerseSlider horizontal;
    makeHorizontal(horizontal);
    ASSERT_TRUE(horizontal.model()->setValue(5).ok());
    EXPECT_EQ(horizontal.thumbRect().left(), 100);
    // A wider range moves the thumb of an unchanged value.
    ASSERT_TRUE(horizontal.model()->setMax(20).ok());
    EXPECT_EQ(horizontal.thumbRect().left(), 50);

    VerseSliderModel shared;
    VerseSlider vertical(&shared);
    vertical.resize(vertical.minimumWidth(), kLengthPx);
    EXPECT_EQ(vertical.orientation(), Qt::Vertical);
    EXPECT_EQ(vertical.thumbRect().top(), 200);
    ASSERT_TRUE(shared.setValue(10).ok());
    EXPECT_EQ(vertical.thumbRect().top(), 0);
    shared.setToolTipText("10");
    EXPECT_EQ(vertical.toolTip(), "10");
}

TEST(VerseSliderTest, PressOnTheRailBringsTheThumbCentreToThePointer) {
    VerseSlider slider;
    makeHorizontal(slider);
    EventLog log(slider);
    // Centre at 165: thumb left 160, value 8, at once and before mouseDown is heard.
    press(&slider, QPoint(165, 10));
    EXPECT_EQ(slider.model()->value(), 8);
    EXPECT_EQ(slider.thumbRect().left(), 160);
    release(&slider, QPoint(165, 10));
    EXPECT_EQ(log.events, (std::vector<std::string>{"change", "down", "click", "up"}));
}

TEST(VerseSliderTest, PressOnTheThumbWithoutMovingChangesNothing) {
    VerseSlider slider;
    makeHorizontal(slider);
    ASSERT_TRUE(slider.model()->setValue(5).ok());
    EventLog log(slider);
    press(&slider, QPoint(108, 3));
    release(&slider, QPoint(108, 3));
    EXPECT_EQ(slider.model()->value(), 5);
    EXPECT_EQ(slider.thumbRect().left(), 100);
    EXPECT_EQ(log.events, (std::vector<std::string>{"down", "click", "up"}));
}

TEST(VerseSliderTest, DragSnapsToWholeValuesAndHoldsAtEitherEnd) {
    VerseSlider slider;
    makeHorizontal(slider);
    ASSERT_TRUE(slider.model()->setValue(5).ok());
    EventLog log(slider);
    // Grabbed 5 pixels right of the thumb's corner.
    press(&slider, QPoint(105, 10));
    dragTo(&slider, QPoint(134, 10));  // left 129: 6.45 -> 6, thumb snapped to 120
    EXPECT_EQ(slider.model()->value(), 6);
    EXPECT_EQ(slider.thumbRect().left(), 120);
    dragTo(&slider, QPoint(132, 10));  // left 127: still 6, nothing raised
    dragTo(&slider, QPoint(135, 10));  // left 130: 6.5 -> 6, a half goes to the even neighbour
    EXPECT_EQ(slider.model()->value(), 6);
    dragTo(&slider, QPoint(155, 10));  // left 150: 7.5 -> 8
    EXPECT_EQ(slider.model()->value(), 8);
    dragTo(&slider, QPoint(900, -40));
    EXPECT_EQ(slider.model()->value(), 10);
    EXPECT_EQ(slider.thumbRect().right(), kLengthPx - 1);
    dragTo(&slider, QPoint(-900, 10));
    EXPECT_EQ(slider.model()->value(), 0);
    EXPECT_EQ(slider.thumbRect().left(), 0);
    release(&slider, QPoint(-900, 10));
    EXPECT_EQ(log.events, (std::vector<std::string>{"down", "change", "change", "change", "last", "change",
                                                    "first", "up"}));
}

TEST(VerseSliderTest, ReleaseOutsideTheControlRaisesNoClick) {
    VerseSlider slider;
    makeHorizontal(slider);
    for (const QPoint outside : {QPoint(-3, 10), QPoint(kLengthPx, 10), QPoint(50, -1), QPoint(50, 21)}) {
        EventLog log(slider);
        press(&slider, QPoint(50, 10));
        dragTo(&slider, outside);
        release(&slider, outside);
        EXPECT_TRUE(std::find(log.events.begin(), log.events.end(), "click") == log.events.end())
            << outside.x() << "," << outside.y();
        EXPECT_EQ(log.events.back(), "up");
        slider.model()->disconnect();
        slider.disconnect();
    }
}

TEST(VerseSliderTest, OwnerChangingTheValueDuringADragMovesTheThumb) {
    VerseSlider slider;
    makeHorizontal(slider);
    // An owner that will not let the value pass 4.
    QObject::connect(slider.model(), &VerseSliderModel::changed, [&slider] {
        if (slider.model()->value() > 4) static_cast<void>(slider.model()->setValue(4));
    });
    press(&slider, thumbCentre(slider));
    dragTo(&slider, QPoint(185, 10));
    EXPECT_EQ(slider.model()->value(), 4);
    EXPECT_EQ(slider.thumbRect().left(), 80);
    release(&slider, QPoint(185, 10));
    EXPECT_EQ(slider.thumbRect().left(), 80);
}

TEST(VerseSliderTest, ValueSetFromCodeLeavesAHeldThumbUnderThePointer) {
    VerseSlider slider;
    makeHorizontal(slider);
    press(&slider, thumbCentre(slider));
    dragTo(&slider, QPoint(65, 10));  // value 3
    // The recitation moves on while the user holds the thumb.
    ASSERT_TRUE(slider.model()->setValue(7).ok());
    EXPECT_EQ(slider.thumbRect().left(), 60);
    release(&slider, QPoint(65, 10));
    EXPECT_EQ(slider.thumbRect().left(), 140);
}

TEST(VerseSliderTest, ValueTipFollowsTheHeldThumbAndClosesOnRelease) {
    VerseSlider slider;
    makeHorizontal(slider);
    slider.model()->setSura(9);
    press(&slider, thumbCentre(slider));
    const ValueTip* tip = slider.valueTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->text(), "1");  // sura 9: record 0 is verse 1
    const QFontMetrics metrics = tip->fontMetrics();
    EXPECT_EQ(tip->size(), QSize(metrics.horizontalAdvance("1") + 4, metrics.height() + 3));

    dragTo(&slider, QPoint(125, 10));  // value 6
    EXPECT_EQ(tip->text(), "7");
    const QRect thumb(slider.mapToGlobal(slider.thumbRect().topLeft()), slider.thumbRect().size());
    EXPECT_EQ(tip->geometry().bottom() + 1 + ValueTip::kGapAboveThumbPx, thumb.top());
    EXPECT_LE(std::abs(tip->geometry().center().x() - thumb.center().x()), 1);
    release(&slider, QPoint(125, 10));
    EXPECT_EQ(slider.valueTip(), nullptr);

    slider.model()->setSura(2);
    press(&slider, QPoint(5, 10));
    ASSERT_NE(slider.valueTip(), nullptr);
    EXPECT_EQ(slider.valueTip()->text(), "0");
    release(&slider, QPoint(5, 10));

    slider.setShowValueTip(false);
    press(&slider, QPoint(5, 10));
    EXPECT_EQ(slider.valueTip(), nullptr);
    release(&slider, QPoint(5, 10));
}

TEST(VerseSliderTest, VerticalValueTipStandsLeftOfTheControl) {
    VerseSlider slider;
    slider.resize(slider.minimumWidth(), kLengthPx);
    slider.move(300, 100);
    slider.show();
    ASSERT_TRUE(slider.model()->setValue(5).ok());
    press(&slider, thumbCentre(slider));
    const ValueTip* tip = slider.valueTip();
    ASSERT_NE(tip, nullptr);
    const QRect control(slider.mapToGlobal(QPoint(0, 0)), slider.size());
    const QRect thumb(slider.mapToGlobal(slider.thumbRect().topLeft()), slider.thumbRect().size());
    EXPECT_EQ(tip->geometry().right() + 1 + ValueTip::kGapBesideControlPx, control.left());
    EXPECT_LE(std::abs(tip->geometry().center().y() - thumb.center().y()), 1);
    release(&slider, thumbCentre(slider));
}

TEST(VerseSliderTest, DisabledSliderIgnoresTheMouseAndEndsAHeldDrag) {
    VerseSlider slider;
    makeHorizontal(slider);
    press(&slider, thumbCentre(slider));
    ASSERT_NE(slider.valueTip(), nullptr);
    slider.setEnabled(false);
    EXPECT_EQ(slider.valueTip(), nullptr);
    press(&slider, QPoint(150, 10));
    dragTo(&slider, QPoint(180, 10));
    EXPECT_EQ(slider.model()->value(), 0);
}

TEST(VerseSliderTest, ValueLeftAboveALoweredMaxIsDrawnAtTheEnd) {
    VerseSlider slider;
    makeHorizontal(slider);
    ASSERT_TRUE(slider.model()->setValue(8).ok());
    ASSERT_TRUE(slider.model()->setMax(5).ok());
    EXPECT_EQ(slider.model()->value(), 8);
    EXPECT_EQ(slider.thumbRect().right(), kLengthPx - 1);
}

TEST(VerseSliderTest, ThicknessComesFromThumbAndRailPictures) {
    VerseSlider slider;
    makeHorizontal(slider);
    EXPECT_EQ(slider.height(), 21);
    QImage rail(kLengthPx, 30, QImage::Format_ARGB32_Premultiplied);
    rail.fill(Qt::blue);
    slider.setRailImage(rail);
    EXPECT_EQ(slider.height(), 21);  // the rail picture counts only under the picture rail style
    slider.setRailStyle(VerseSlider::kRailImageStyle);
    EXPECT_EQ(slider.height(), 30);
    EXPECT_EQ(slider.grab().toImage().pixelColor(kThumbLengthPx / 2 - 1, 2), QColor(Qt::blue));
    slider.setRailStyle(VerseSlider::kSunkenEdgeRail);
    EXPECT_EQ(slider.height(), 21);

    QImage thumb(7, 15, QImage::Format_ARGB32_Premultiplied);
    thumb.fill(Qt::green);
    slider.setSliderImage(thumb);
    EXPECT_EQ(slider.height(), 15);
    EXPECT_EQ(slider.thumbRect().size(), QSize(7, 15));
}

TEST(VerseSliderTest, RailStylesDrawDifferentBottomEdges) {
    VerseSlider slider;
    makeHorizontal(slider);
    const QColor back(57, 49, 57);
    slider.setBackColor(back);
    ASSERT_TRUE(slider.model()->setValue(10).ok());  // keep the thumb off the sampled point
    std::vector<QColor> bottomEdges;
    for (int style = VerseSlider::kSunkenEdgeRail; style <= VerseSlider::kNoEdgeRail; ++style) {
        slider.setRailStyle(style);
        const QRect rail = slider.railRect();
        const QImage image = slider.grab().toImage();
        bottomEdges.push_back(image.pixelColor(rail.left() + 20, rail.bottom()));
        // The top side always carries the sunken outer border.
        EXPECT_NE(image.pixelColor(rail.left() + 20, rail.top()), back) << style;
    }
    EXPECT_EQ(bottomEdges[VerseSlider::kNoEdgeRail], back);
    for (int style = VerseSlider::kSunkenEdgeRail; style < VerseSlider::kNoEdgeRail; ++style) {
        EXPECT_NE(bottomEdges[style], back) << style;
    }
    // Sunken edges light their bottom side, raised ones shade it.
    EXPECT_GT(bottomEdges[VerseSlider::kSunkenEdgeRail].lightness(), back.lightness());
    EXPECT_LT(bottomEdges[VerseSlider::kRaisedEdgeRail].lightness(), back.lightness());
}

}  // namespace
}  // namespace lumora

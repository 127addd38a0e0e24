#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recitation/verseslidermodel.h"

namespace lumora {
namespace {

// Records the model's change events in the order they are raised.
struct EventLog {
    explicit EventLog(VerseSliderModel& model) {
        QObject::connect(&model, &VerseSliderModel::changed, [this] { events.push_back("change"); });
        QObject::connect(&model, &VerseSliderModel::arrivedFirst, [this] { events.push_back("first"); });
        QObject::connect(&model, &VerseSliderModel::arrivedLast, [this] { events.push_back("last"); });
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST(VerseSliderModel, RefusesOutOfRangeValuesAndKeepsTheOldOnesWithoutEvents) {
    VerseSliderModel model;
    ASSERT_TRUE(model.setMax(20).ok());
    ASSERT_TRUE(model.setValue(7).ok());
    EventLog log(model);

    for (int32_t bad : {-1, 21, INT32_MIN, INT32_MAX}) {
        const Result<void> refused = model.setValue(bad);
        ASSERT_FALSE(refused.ok()) << bad;
        EXPECT_EQ(refused.error().number, 380);
        EXPECT_EQ(model.value(), 7);
    }
    EXPECT_EQ(model.setMin(20).error().number, 380);  // Min must stay below Max
    EXPECT_EQ(model.setMin(25).error().number, 380);
    EXPECT_EQ(model.setMax(0).error().number, 380);   // Max must stay above Min
    EXPECT_EQ(model.setMax(-3).error().number, 380);
    EXPECT_EQ(model.min(), 0);
    EXPECT_EQ(model.max(), 20);
    EXPECT_EQ(model.value(), 7);
    EXPECT_TRUE(log.take().empty());
}

TEST(VerseSliderModel, RaisesChangeThenTheArrivalAtEitherEndAndNothingForTheSameValue) {
    VerseSliderModel model;
    ASSERT_TRUE(model.setMax(6).ok());
    EventLog log(model);

    ASSERT_TRUE(model.setValue(0).ok());  // already 0
    EXPECT_EQ(log.take(), Events{});
    ASSERT_TRUE(model.setValue(3).ok());
    EXPECT_EQ(log.take(), (Events{"change"}));
    ASSERT_TRUE(model.setValue(3).ok());
    EXPECT_EQ(log.take(), Events{});
    ASSERT_TRUE(model.setValue(6).ok());
    EXPECT_EQ(log.take(), (Events{"change", "last"}));
    ASSERT_TRUE(model.setValue(0).ok());
    EXPECT_EQ(log.take(), (Events{"change", "first"}));
}

TEST(VerseSliderModel, NewMinBecomesTheValueAndLoweredMaxLeavesTheValueAlone) {
    VerseSliderModel model;
    ASSERT_TRUE(model.setMax(10).ok());
    ASSERT_TRUE(model.setValue(8).ok());
    EventLog log(model);

    ASSERT_TRUE(model.setMin(2).ok());
    EXPECT_EQ(model.value(), 2);
    EXPECT_EQ(log.take(), (Events{"change", "first"}));
    ASSERT_TRUE(model.setMin(2).ok());  // the value is already the minimum: no events
    EXPECT_EQ(log.take(), Events{});

    ASSERT_TRUE(model.setValue(9).ok());
    log.take();
    ASSERT_TRUE(model.setMax(5).ok());
    EXPECT_EQ(model.value(), 9);  // above Max until it is next set
    EXPECT_EQ(log.take(), Events{});
    EXPECT_FALSE(model.setValue(9).ok());
    ASSERT_TRUE(model.setValue(5).ok());
    EXPECT_EQ(log.take(), (Events{"change", "last"}));
}

TEST(VerseSliderModel, ValueTipShowsTheValuePlusOneOnlyInSura9) {
    VerseSliderModel model;
    EXPECT_EQ(model.valueTipText(), "0");
    model.setSura(9);
    EXPECT_EQ(model.valueTipText(), "1");
    model.setSura(2);
    ASSERT_TRUE(model.setMax(286).ok());
    ASSERT_TRUE(model.setValue(286).ok());
    EXPECT_EQ(model.valueTipText(), "286");
    EXPECT_EQ(VerseSliderModel::valueTipText(128, 9), "129");
    EXPECT_EQ(VerseSliderModel::valueTipText(INT32_MAX, 9), "2147483648");
}

}  // namespace
}  // namespace lumora

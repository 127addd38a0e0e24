#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "recitation/rangesettings.h"
#include "settings/settingsstore.h"

namespace lumora {
namespace {

class RangeSettingsTest : public ::testing::Test {
protected:
    QString stored(const char* key) const {
        return store.get("ZI4", "RangeModeSetup", key, "<absent>");
    }
    void put(const char* key, const QString& value) { ASSERT_TRUE(store.save("ZI4", "RangeModeSetup", key, value).ok()); }

    QTemporaryDir folder;
    SettingsStore store{folder.path()};
};

TEST_F(RangeSettingsTest, AnEmptyStoreGivesTheDefaults) {
    const Result<RangeSettings> read = RangeSettings::read(store);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), (RangeSettings{1, 1, 0, true, true, false, false}));
}

TEST_F(RangeSettingsTest, ReadsWordsAndNumbersAndRoundsHalvesToEven) {
    put("NoofTimes", "2.5");
    put("Pause", "3.5");
    put("PauseBetweenVerses", "-2");
    put("NextRange", "False");
    put("NextSura", "0");
    put("RestartSura", "True");
    put("StopRecitation", "1");
    const Result<RangeSettings> read = RangeSettings::read(store);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().noofTimes, 2);
    EXPECT_EQ(read.value().pause, 4);
    EXPECT_EQ(read.value().pauseBetweenVerses, -2);
    EXPECT_FALSE(read.value().nextRange);
    EXPECT_FALSE(read.value().nextSura);
    EXPECT_TRUE(read.value().restartSura);
    EXPECT_TRUE(read.value().stopRecitation);
}

TEST_F(RangeSettingsTest, AHandEditedValueThatIsNoNumberFailsNamingItsStep) {
    put("Pause", "soon");
    Result<RangeSettings> read = RangeSettings::read(store);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().number, 13);
    EXPECT_EQ(read.error().step, 2);

    put("Pause", "1");
    put("StopRecitation", "maybe");
    read = RangeSettings::read(store);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().step, 7);
}

TEST_F(RangeSettingsTest, TheDialogsEntriesAreStoredAsTypedAndUsedRounded) {
    RangeSetupEntry entry;
    entry.timesText = "2.5";
    entry.pauseText = "0";
    entry.pauseBetweenVersesText = "1.5";
    entry.nextRange = false;
    entry.afterSura = 1;

    const Result<RangeSettings> values = RangeSettings::fromEntry(entry);
    ASSERT_TRUE(values.ok());
    EXPECT_EQ(values.value().noofTimes, 2);
    EXPECT_EQ(values.value().pause, 0);
    EXPECT_EQ(values.value().pauseBetweenVerses, 2);
    EXPECT_FALSE(values.value().nextSura);
    EXPECT_TRUE(values.value().restartSura);
    EXPECT_FALSE(values.value().stopRecitation);

    ASSERT_TRUE(RangeSettings::save(store, entry).ok());
    EXPECT_EQ(stored("NoofTimes"), "2.5");
    EXPECT_EQ(stored("Pause"), "0");
    EXPECT_EQ(stored("PauseBetweenVerses"), "1.5");
    EXPECT_EQ(stored("NextRange"), "False");
    EXPECT_EQ(stored("NextSura"), "False");
    EXPECT_EQ(stored("RestartSura"), "True");
    EXPECT_EQ(stored("StopRecitation"), "False");
    // After a restart the same values come back.
    const Result<RangeSettings> reread = RangeSettings::read(store);
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(reread.value(), values.value());

    entry.unlimited = true;
    entry.timesText = "7";
    ASSERT_TRUE(RangeSettings::save(store, entry).ok());
    EXPECT_EQ(stored("NoofTimes"), "0");
    EXPECT_EQ(RangeSettings::fromEntry(entry).value().noofTimes, 0);

    entry.pauseText = "a while";
    EXPECT_FALSE(RangeSettings::fromEntry(entry).ok());
}

}  // namespace
}  // namespace lumora

#include "settings/settingtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace lumora {
namespace {

using namespace SettingText;

TEST(SettingText, BooleansReadFromWordsAndNumbers)
{
    EXPECT_EQ(fromBoolean(true), "True");
    EXPECT_EQ(fromBoolean(false), "False");
    for (const char* yes : {"True", "TRUE", "true", " True ", "1", "-1", "2.5", "+3"}) {
        EXPECT_EQ(toBoolean(yes), true) << yes;
    }
    for (const char* no : {"False", "fAlSe", "0", "0.0", "-0", " 0 "}) {
        EXPECT_EQ(toBoolean(no), false) << no;
    }
    for (const char* neither : {"", "yes", "Tru", "1x", "nan", "True False"}) {
        EXPECT_EQ(toBoolean(neither), std::nullopt) << neither;
    }
}

TEST(SettingText, IntegersArePlainDecimalInRange)
{
    EXPECT_EQ(fromInteger(-42), "-42");
    EXPECT_EQ(fromInteger(4000000000LL), "4000000000");
    EXPECT_EQ(toInteger(" 500 "), 500);
    EXPECT_EQ(toInteger("+7"), 7);
    EXPECT_EQ(toInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(toInteger("2147483647"), INT32_MAX);
    for (const char* bad : {"", "-", "+", "2147483648", "-2147483649", "1.5", "12a", "0x10", "+-1", "--1", "1 2",
                            "99999999999999999999999"}) {
        EXPECT_EQ(toInteger(bad), std::nullopt) << bad;
    }
}

TEST(SettingText, RoundedIntegersTakeHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(toRoundedInteger("2.5"), 2);
    EXPECT_EQ(toRoundedInteger("3.5"), 4);
    EXPECT_EQ(toRoundedInteger("-2.5"), -2);
    EXPECT_EQ(toRoundedInteger("-2.51"), -3);
    EXPECT_EQ(toRoundedInteger("1e3"), 1000);
    EXPECT_EQ(toRoundedInteger("2147483647.4"), INT32_MAX);
    EXPECT_EQ(toRoundedInteger("2147483647.5"), std::nullopt);
    EXPECT_EQ(toRoundedInteger("inf"), std::nullopt);
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(-0.5), 0.0);
    EXPECT_EQ(roundHalfEven(-1.5), -2.0);
    EXPECT_EQ(roundHalfEven(0.49999999999999994), 0.0);
}

TEST(SettingText, RealsAreWrittenInTheirShortestForm)
{
    EXPECT_EQ(fromReal(14), "14");
    EXPECT_EQ(fromReal(12.5), "12.5");
    EXPECT_EQ(fromReal(-8), "-8");
    EXPECT_EQ(fromReal(0.1), "0.1");
    EXPECT_EQ(fromSingle(0.1f), "0.1");
    EXPECT_EQ(fromSingle(-11.3f), "-11.3");
    EXPECT_EQ(toReal(" 12.5 "), 12.5);
    EXPECT_EQ(toReal("+.5"), 0.5);
    EXPECT_EQ(toReal("1e+20"), 1e20);
    for (const char* bad : {"", "1,5", "12.5.1", "++1", "+-1", "0x1p3", "1e999", "twelve", "1 2"}) {
        EXPECT_EQ(toReal(bad), std::nullopt) << bad;
    }
}

// Every double and every float reads back bit for bit; floats stay short.
TEST(SettingText, RandomRealsReadBackExactly)
{
    std::mt19937_64 random(99);
    for (int i = 0; i < 20000; ++i) {
        uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) {
            continue;
        }
        const QString text = fromReal(value);
        const std::optional<double> back = toReal(text);
        ASSERT_TRUE(back) << text.toStdString();
        ASSERT_EQ(std::memcmp(&*back, &value, sizeof value), 0) << text.toStdString();

        const float single = static_cast<float>(std::ldexp(static_cast<double>(bits % 2000001) - 1000000.0, -10));
        const QString singleText = fromSingle(single);
        ASSERT_EQ(static_cast<float>(toReal(singleText).value()), single) << singleText.toStdString();
        ASSERT_LE(singleText.size(), 14) << singleText.toStdString();
    }
}

TEST(SettingText, ColoursAreDecimalColourNumbers)
{
    EXPECT_EQ(fromColour(14937827), "14937827");
    EXPECT_EQ(toColour("14937827"), 14937827u);
    EXPECT_EQ(toColour("0"), 0u);
    EXPECT_EQ(toColour("16777215"), 0xFFFFFFu);
    for (const char* bad : {"16777216", "-1", "&HFFFFFF", "1.0", ""}) {
        EXPECT_EQ(toColour(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace lumora

#include "codec/suracatalogue.h"

#include <gtest/gtest.h>

#include <numeric>

namespace lumora {
namespace {

TEST(SuraCatalogue, RecordCountsMatchTheKnownTotals) {
    const auto& table = SuraCatalogue::verseNoTable();
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(std::accumulate(table.begin(), table.end(), 0), 6348);
    // Suras 1 and 9 have no extra record for the opening invocation; every other sura has one.
    EXPECT_EQ(SuraCatalogue::verseNo(1), 7);
    EXPECT_EQ(SuraCatalogue::verseNo(2), 287);
    EXPECT_EQ(SuraCatalogue::verseNo(9), 129);
    EXPECT_EQ(SuraCatalogue::verseNo(36), 84);
    EXPECT_EQ(SuraCatalogue::verseNo(103), 4);
    EXPECT_EQ(SuraCatalogue::verseNo(114), 7);
    EXPECT_EQ(SuraCatalogue::verseNo(0), 0);
    EXPECT_EQ(SuraCatalogue::verseNo(115), 0);
}

TEST(SuraCatalogue, ListTextsAreExactWithFiveTrailingBlanks) {
    EXPECT_EQ(SuraCatalogue::listText(1), "1. AL-FATIHA");
    EXPECT_EQ(SuraCatalogue::listText(3), "3. AAL-E-IMRAN");
    EXPECT_EQ(SuraCatalogue::listText(36), "36. YA-SEEN");
    EXPECT_EQ(SuraCatalogue::listText(74), "74. AL-MUDDATHTHIR");
    EXPECT_EQ(SuraCatalogue::listText(82), "82. AL-INFITAR ");
    EXPECT_EQ(SuraCatalogue::listText(114), "114. AN-NAS");
    std::vector<int> withBlank;
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        const std::string text = SuraCatalogue::listText(sura);
        ASSERT_EQ(text.rfind(std::to_string(sura) + ". ", 0), 0u) << text;
        if (text.back() == ' ') {
            withBlank.push_back(sura);
        }
    }
    EXPECT_EQ(withBlank, (std::vector<int>{82, 91, 93, 100, 103}));
    EXPECT_EQ(SuraCatalogue::listText(0), "");
}

TEST(SuraCatalogue, ThreeDigitNumbering) {
    EXPECT_EQ(SuraCatalogue::threeDigit(2), "002");
    EXPECT_EQ(SuraCatalogue::threeDigit(36), "036");
    EXPECT_EQ(SuraCatalogue::threeDigit(114), "114");
}

}  // namespace
}  // namespace lumora

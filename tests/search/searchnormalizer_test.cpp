// The folding table character by character: what a search ignores and what it keeps apart.
#include <gtest/gtest.h>

#include <QString>

#include "search/searchnormalizer.h"

namespace lumora {
namespace {

struct FoldCase {
    const char16_t* input;
    const char16_t* folded;
    const char* what;
};

void PrintTo(const FoldCase& c, std::ostream* out) { *out << c.what; }

class FoldTable : public ::testing::TestWithParam<FoldCase> {};

TEST_P(FoldTable, FoldsAsAReaderTypes) {
    const FoldCase& c = GetParam();
    EXPECT_EQ(SearchNormalizer::fold(QString::fromUtf16(c.input)), QString::fromUtf16(c.folded)) << c.what;
}

// Each diacritic sits on beh (U+0628) between two lams, so a mark that was kept or a letter that was lost
// both show.
INSTANTIATE_TEST_SUITE_P(
    Diacritics, FoldTable,
    ::testing::Values(FoldCase{u"\u0644\u0628\u064B\u0644", u"\u0644\u0628\u0644", "fathatan"},
                      FoldCase{u"\u0644\u0628\u064C\u0644", u"\u0644\u0628\u0644", "dammatan"},
                      FoldCase{u"\u0644\u0628\u064D\u0644", u"\u0644\u0628\u0644", "kasratan"},
                      FoldCase{u"\u0644\u0628\u064E\u0644", u"\u0644\u0628\u0644", "fatha"},
                      FoldCase{u"\u0644\u0628\u064F\u0644", u"\u0644\u0628\u0644", "damma"},
                      FoldCase{u"\u0644\u0628\u0650\u0644", u"\u0644\u0628\u0644", "kasra"},
                      FoldCase{u"\u0644\u0628\u0651\u0644", u"\u0644\u0628\u0644", "shadda"},
                      FoldCase{u"\u0644\u0628\u0652\u0644", u"\u0644\u0628\u0644", "sukun"},
                      FoldCase{u"\u0644\u0628\u0653\u0644", u"\u0644\u0628\u0644", "maddah above"},
                      FoldCase{u"\u0644\u0628\u0654\u0644", u"\u0644\u0628\u0644", "hamza above"},
                      FoldCase{u"\u0644\u0628\u0655\u0644", u"\u0644\u0628\u0644", "hamza below"},
                      FoldCase{u"\u0644\u0628\u065C\u0644", u"\u0644\u0628\u0644", "vowel sign dot below"},
                      FoldCase{u"\u0644\u0628\u08F0\u0644", u"\u0644\u0628\u0644", "open fathatan"},
                      FoldCase{u"\u0644\u0628\u08F1\u0644", u"\u0644\u0628\u0644", "open dammatan"},
                      FoldCase{u"\u0644\u0628\u08F2\u0644", u"\u0644\u0628\u0644", "open kasratan"},
                      FoldCase{u"\u0644\u0628\u0657\u0644", u"\u0644\u0628\u0644", "inverted damma"},
                      FoldCase{u"\u0644\u0628\u0610\u0644", u"\u0644\u0628\u0644", "sign sallallahou"}));

INSTANTIATE_TEST_SUITE_P(
    AlifAndHamza, FoldTable,
    ::testing::Values(FoldCase{u"\u0622", u"\u0627", "alif with madda"},
                      FoldCase{u"\u0623", u"\u0627", "alif with hamza above"},
                      FoldCase{u"\u0625", u"\u0627", "alif with hamza below"},
                      FoldCase{u"\u0671", u"\u0627", "alif wasla"},
                      FoldCase{u"\u0672", u"\u0627", "alif with wavy hamza"},
                      FoldCase{u"\u0627\u0654", u"\u0627", "alif and a combining hamza"},
                      FoldCase{u"\u0624", u"\u0648", "waw with hamza"},
                      FoldCase{u"\u0626", u"\u064A", "yeh with hamza"},
                      FoldCase{u"\u0649", u"\u064A", "alif maksura"},
                      FoldCase{u"\u0621", u"\u0621", "a standalone hamza stays"},
                      FoldCase{u"\u0629", u"\u0629", "teh marbuta stays"},
                      FoldCase{u"\u06CC\u06A9", u"\u064A\u0643", "Farsi yeh and keheh"},
                      FoldCase{u"\uFEFB", u"\u0644\u0627", "lam-alif presentation form"}));

INSTANTIATE_TEST_SUITE_P(
    TatweelAndSigns, FoldTable,
    ::testing::Values(FoldCase{u"\u0628\u0640\u0640\u0644", u"\u0628\u0644", "tatweel"},
                      FoldCase{u"\u0628\u06D6\u0644", u"\u0628\u0644", "small high ligature sad-lam-alif"},
                      FoldCase{u"\u0628\u06D7\u0644", u"\u0628\u0644", "small high ligature qaf-lam-alif"},
                      FoldCase{u"\u0628\u06D8\u0644", u"\u0628\u0644", "small high meem initial"},
                      FoldCase{u"\u0628\u06D9\u0644", u"\u0628\u0644", "small high lam-alif"},
                      FoldCase{u"\u0628\u06DA\u0644", u"\u0628\u0644", "small high jeem"},
                      FoldCase{u"\u0628\u06DB\u0644", u"\u0628\u0644", "small high three dots"},
                      FoldCase{u"\u0628\u06DC\u0644", u"\u0628\u0644", "small high seen"},
                      FoldCase{u"\u0628\u06DF\u0644", u"\u0628\u0644", "small high rounded zero"},
                      FoldCase{u"\u0628\u06E0\u0644", u"\u0628\u0644", "small high upright rectangular zero"},
                      FoldCase{u"\u0628\u06E1\u0644", u"\u0628\u0644", "small high dotless head of khah"},
                      FoldCase{u"\u0628\u06E2\u0644", u"\u0628\u0644", "small high meem isolated"},
                      FoldCase{u"\u0628\u06E3\u0644", u"\u0628\u0644", "small low seen"},
                      FoldCase{u"\u0628\u06E4\u0644", u"\u0628\u0644", "small high madda"},
                      FoldCase{u"\u0628\u06EA\u0644", u"\u0628\u0644", "empty centre low stop"},
                      FoldCase{u"\u0628\u06EC\u0644", u"\u0628\u0644", "rounded high stop"},
                      FoldCase{u"\u0628\u06ED\u0644", u"\u0628\u0644", "small low meem"},
                      FoldCase{u"\u06DE\u0628 \u06E9 \u0644 \u06DD", u"\u0628 \u0644", "hizb, sajdah, end of ayah"},
                      FoldCase{u"\u0628\u0670\u0644", u"\u0628\u0670\u0644", "superscript alif is optional"},
                      FoldCase{u"\u0647\u06E5", u"\u0647\u06E5", "small waw is optional"},
                      FoldCase{u"\u0647\u06E7", u"\u0647\u06E6", "small high yeh is the optional yeh"}));

INSTANTIATE_TEST_SUITE_P(
    LatinAndLayout, FoldTable,
    ::testing::Values(FoldCase{u"Lord OF the Worlds", u"lord of the worlds", "letter case"},
                      FoldCase{u"Misérïcôrdieux À Ç", u"misericordieux a c", "accents"},
                      FoldCase{u"Cœur Æther Straße Øre", u"coeur aether strasse ore", "letters spelt out"},
                      FoldCase{u"[All] praise, is (due)!", u"all praise is due", "punctuation"},
                      FoldCase{u"l'univers «Seigneur»", u"lunivers seigneur", "apostrophe and guillemets"},
                      FoldCase{u"  two \t\r\n  words\u2009 ", u"two words", "white space"},
                      FoldCase{u"\u0662\u0665\u0665 \u06F1\u06F2", u"255 12", "Arabic-Indic digits"},
                      FoldCase{u"\uFF21\uFF22", u"ab", "full-width letters"}));

TEST(SearchNormalizer, UthmaniWordsFoldToWhatIsTyped) {
    // ٱلرَّحۡمَٰنِ keeps its superscript alif as an optional letter; the query drops it.
    const QString verse = SearchNormalizer::fold(u"ٱلرَّحۡمَٰنِ ٱلرَّحِيمِ");
    EXPECT_EQ(verse, QString::fromUtf16(u"\u0627\u0644\u0631\u062D\u0645\u0670\u0646 \u0627\u0644\u0631\u062D\u064A\u0645"));
    EXPECT_EQ(SearchNormalizer::foldQuery(u"ٱلرَّحۡمَٰنِ"), QStringLiteral("الرحمن"));
    EXPECT_EQ(SearchNormalizer::foldQuery(u"الرَّحْمَنِ"), QStringLiteral("الرحمن"));
}

TEST(SearchNormalizer, QueriesOfMarksOnlyFoldToNothing) {
    EXPECT_TRUE(SearchNormalizer::foldQuery(u"\u064E\u064F\u0650\u0651\u0652\u0670 \u06D6\u0640").isEmpty());
    EXPECT_TRUE(SearchNormalizer::foldQuery(u"  \t ").isEmpty());
    EXPECT_TRUE(SearchNormalizer::foldQuery(u"").isEmpty());
    // An optional letter alone between two words leaves one blank.
    EXPECT_EQ(SearchNormalizer::foldQuery(u"\u0628 \u0670 \u0644"), QString::fromUtf16(u"\u0628 \u0644"));
}

TEST(SearchNormalizer, EveryFoldedCharacterKnowsItsSource) {
    // "Œil, ٱلۡ": Œ gives two letters from source 0; the comma vanishes; the blank's source is the first
    // blank; the marks after lam vanish with no entry.
    SearchNormalizer::Mapped mapped;
    SearchNormalizer::foldAppend(u"\u0152il, \u0671\u0644\u06E1", 10, mapped);
    EXPECT_EQ(mapped.text, QString::fromUtf16(u"oeil \u0627\u0644"));
    EXPECT_EQ(mapped.sourceIndex, (std::vector<int32_t>{10, 10, 11, 12, 14, 15, 16}));
    // A character outside the basic plane (a mathematical bold A) folds as one character.
    EXPECT_EQ(SearchNormalizer::fold(u"\U0001D400b"), QStringLiteral("ab"));
    // A lone surrogate is kept, never read past.
    EXPECT_EQ(SearchNormalizer::fold(QString(QChar(0xD800))).size(), 1);
}

}  // namespace
}  // namespace lumora

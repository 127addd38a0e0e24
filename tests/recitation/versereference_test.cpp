#include <gtest/gtest.h>

#include <QString>
#include <random>

#include "recitation/versereference.h"

namespace lumora {
namespace {

TEST(VerseReference, ReadsOneVerseOrARangeWithBlanksAround) {
    EXPECT_EQ(VerseReference::parse("2:255"), (VerseReference{2, 255, 255}));
    EXPECT_EQ(VerseReference::parse("36:1-12"), (VerseReference{36, 1, 12}));
    EXPECT_EQ(VerseReference::parse("  18 : 1 - 10 \r\n"), (VerseReference{18, 1, 10}));
    EXPECT_EQ(VerseReference::parse("1:1"), (VerseReference{1, 1, 1}));
    // The last verse of a sura, with and without an opening invocation record.
    EXPECT_EQ(VerseReference::parse("2:286"), (VerseReference{2, 286, 286}));
    EXPECT_EQ(VerseReference::parse("9:129"), (VerseReference{9, 129, 129}));
    EXPECT_EQ(VerseReference::parse("114:1-6"), (VerseReference{114, 1, 6}));
    // A word processor's dash in a range.
    EXPECT_EQ(VerseReference::parse(QStringLiteral("36:1\u201312")), (VerseReference{36, 1, 12}));
}

TEST(VerseReference, ReadsLinksAndTheSitesVerseAddresses) {
    EXPECT_EQ(VerseReference::parse("quran://2/255"), (VerseReference{2, 255, 255}));
    EXPECT_EQ(VerseReference::parse("quran://36/1-12/"), (VerseReference{36, 1, 12}));
    EXPECT_EQ(VerseReference::parse("QURAN:2:255-257"), (VerseReference{2, 255, 257}));
    EXPECT_EQ(VerseReference::parse("https://quran.com/2/255-257"), (VerseReference{2, 255, 257}));
    EXPECT_EQ(VerseReference::parse("http://www.quran.com/2:255?translations=20#v"), (VerseReference{2, 255, 255}));
    EXPECT_EQ(VerseReference::parse("quran.com/112/1"), (VerseReference{112, 1, 1}));
    for (const char* text : {"quran://2", "quran://2/", "quran://2/255/3", "quran://al-baqara/255",
                             "https://quran.com/2", "https://example.com/2/255", "https://quran.com.evil/2/255",
                             "ftp://quran.com/2/255", "https://quran.com/2/255 x", "quran://0/1"}) {
        EXPECT_FALSE(VerseReference::parse(QString::fromUtf8(text)).has_value()) << text;
    }
}

TEST(VerseReference, ReadsArabicIndicDigitsAndTheListsSuraNames) {
    EXPECT_EQ(VerseReference::parse(QStringLiteral("\u0662:\u0662\u0665\u0665")), (VerseReference{2, 255, 255}));
    EXPECT_EQ(VerseReference::parse(QStringLiteral("\u06F3\u06F6:\u06F1-\u06F1\u06F2")), (VerseReference{36, 1, 12}));
    EXPECT_EQ(VerseReference::parse(QStringLiteral("quran://\u0662/\u0662\u0665\u0665")), (VerseReference{2, 255, 255}));

    EXPECT_EQ(VerseReference::parse("YA-SEEN 1-12"), (VerseReference{36, 1, 12}));
    EXPECT_EQ(VerseReference::parse("ya seen 1 - 12"), (VerseReference{36, 1, 12}));
    EXPECT_EQ(VerseReference::parse("Yaseen:3"), (VerseReference{36, 3, 3}));
    EXPECT_EQ(VerseReference::parse("al-baqara 255"), (VerseReference{2, 255, 255}));
    EXPECT_EQ(VerseReference::parse("Aal-e-Imran 7"), (VerseReference{3, 7, 7}));
    // A name the list writes with a trailing blank.
    EXPECT_EQ(VerseReference::parse("al-asr 1-3"), (VerseReference{103, 1, 3}));
    EXPECT_EQ(VerseReference::parse(QStringLiteral("An-Nas \u0666")), (VerseReference{114, 6, 6}));
    for (const char* text : {"YA-SEEN", "YA-SEEN 84", "YA-SEENS 1", "BAQARA 1", "AL-BAQARA 0", "1-12",
                             "Ya_Seen 1", "the verse 1"}) {
        EXPECT_FALSE(VerseReference::parse(QString::fromUtf8(text)).has_value()) << text;
    }
}

TEST(VerseReference, IgnoresEverythingElse) {
    for (const char* text : {"", ":", "0:5", "2:0", "2:5-0", "word", "2", "2:", ":5", "-2:5", "2:-5", "2:5-",
                             "2:5-6-7", "2:5:6", "2.5:1", "x2:5", "2:5a", "2:+5", "2 5:1", "99999999999:1",
                             "2:99999999999", "115:1", "200:1", "2:287", "1:8", "9:130", "36:12-1", "2:286-287"}) {
        EXPECT_FALSE(VerseReference::parse(QString::fromUtf8(text)).has_value()) << text;
    }
    // Copied pane text: the number before the first colon is not followed by a verse number.
    EXPECT_FALSE(VerseReference::parse("In the name of God: the Merciful").has_value());
    EXPECT_FALSE(VerseReference::parse("2:255 The Throne verse").has_value());
    // A long text is passed over whatever it ends with.
    EXPECT_FALSE(VerseReference::parse(QString(VerseReference::kMaxLength, QLatin1Char(' ')) + "2:255").has_value());
    EXPECT_FALSE(VerseReference::parse(QString(100000, QLatin1Char('1')) + ":1").has_value());
}

// Random and cut-off texts end in a reference or in nullopt, never in a crash; a reference always holds
// numbers above 0.
TEST(VerseReference, SurvivesRandomAndTruncatedInput) {
    std::mt19937 random(20240527);
    const QString alphabet = QStringLiteral("0123456789:- \t\r\nx+./?#\u0661AYSquran");
    const QString seeds[] = {"2:255", "36:1-12", " 114 : 6 - 6 ", "quran://2/255", "https://quran.com/2/255-257",
                             "YA-SEEN 1-12"};
    for (int round = 0; round < 20000; ++round) {
        QString text;
        if (round % 2 == 0) {
            const QString& seed = seeds[(round / 2) % 6];
            text = seed.left(static_cast<int>(random() % (seed.size() + 1)));
            if (!text.isEmpty()) text[static_cast<int>(random() % text.size())] = alphabet[random() % alphabet.size()];
        } else {
            const int length = static_cast<int>(random() % 16);
            for (int i = 0; i < length; ++i) text += alphabet[static_cast<int>(random() % alphabet.size())];
        }
        const std::optional<VerseReference> reference = VerseReference::parse(text);
        if (reference) {
            ASSERT_GT(reference->sura, 0) << text.toStdString();
            ASSERT_GT(reference->firstVerse, 0) << text.toStdString();
            ASSERT_LE(reference->firstVerse, reference->lastVerse) << text.toStdString();
            ASSERT_LE(reference->lastVerse, VerseReference::verseCount(reference->sura)) << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace lumora

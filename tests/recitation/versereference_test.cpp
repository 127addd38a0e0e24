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
    // A range is read as it stands; whether it is usable is the caller's matter.
    EXPECT_EQ(VerseReference::parse("2:9-3"), (VerseReference{2, 9, 3}));
    // Sura numbers beyond the list are the list's to refuse.
    EXPECT_EQ(VerseReference::parse("200:1"), (VerseReference{200, 1, 1}));
}

TEST(VerseReference, IgnoresEverythingElse) {
    for (const char* text : {"", ":", "0:5", "2:0", "2:5-0", "word", "2", "2:", ":5", "-2:5", "2:-5", "2:5-",
                             "2:5-6-7", "2:5:6", "2.5:1", "x2:5", "2:5a", "2:+5", "2 5:1", "99999999999:1",
                             "2:99999999999", "١:٢"}) {
        EXPECT_FALSE(VerseReference::parse(QString::fromUtf8(text)).has_value()) << text;
    }
    // Copied pane text: the number before the first colon is not followed by a verse number.
    EXPECT_FALSE(VerseReference::parse("In the name of God: the Merciful").has_value());
    EXPECT_FALSE(VerseReference::parse("2:255 The Throne verse").has_value());
}

// Random and cut-off texts end in a reference or in nullopt, never in a crash; a reference always holds
// numbers above 0.
TEST(VerseReference, SurvivesRandomAndTruncatedInput) {
    std::mt19937 random(20240527);
    const QString alphabet = QStringLiteral("0123456789:- \t\r\nx+.\u0661");
    const QString seeds[] = {"2:255", "36:1-12", " 114 : 6 - 6 "};
    for (int round = 0; round < 20000; ++round) {
        QString text;
        if (round % 2 == 0) {
            const QString& seed = seeds[round % 3];
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
            ASSERT_GT(reference->lastVerse, 0) << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace lumora

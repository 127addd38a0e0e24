// The verse index over the sample program folder's texts and over packages written by the tests.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <atomic>

#include "search/verseindex.h"
#include "text/textfixture.h"

namespace lumora {
namespace {

QString sampleFolder() { return qEnvironmentVariable("LUMORA_PROGRAM_FOLDER"); }

int textNamed(const VerseIndex& index, const QString& name) {
    for (size_t i = 0; i < index.texts().size(); ++i) {
        if (index.texts()[i].name == name) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no text " << name.toStdString();
    return -1;
}

QString matched(const VerseIndex& index, const VerseIndex::Hit& hit) {
    return index.verseText(hit).mid(hit.matchStart, hit.matchLength).toString();
}

// The first hit of sura:verse, or nullptr.
const VerseIndex::Hit* hitAt(const VerseIndex::Results& results, int sura, int verse) {
    for (const VerseIndex::Hit& hit : results.hits) {
        if (hit.sura == sura && hit.verse == verse) return &hit;
    }
    return nullptr;
}

class SampleIndex : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Result<VerseIndex> built = VerseIndex::build(sampleFolder());
        ASSERT_TRUE(built.ok());
        s_index = new VerseIndex(std::move(built.value()));
    }
    static void TearDownTestSuite() {
        delete s_index;
        s_index = nullptr;
    }
    const VerseIndex& index() const { return *s_index; }

    // Searches one text and expects sura:verse among the hits with exactly `match` highlighted.
    void expectFound(const QString& text, const QString& query, int sura, int verse, const QString& match) {
        const int t = textNamed(index(), text);
        const VerseIndex::Results results = index().search(query, VerseIndex::kDefaultLimit, t);
        const VerseIndex::Hit* hit = hitAt(results, sura, verse);
        ASSERT_NE(hit, nullptr) << query.toStdString() << " in " << text.toStdString();
        EXPECT_EQ(hit->text, t);
        EXPECT_EQ(matched(index(), *hit), match) << query.toStdString();
    }

    static VerseIndex* s_index;
};

VerseIndex* SampleIndex::s_index = nullptr;

TEST_F(SampleIndex, HoldsEveryVerseOfEveryInstalledText) {
    ASSERT_EQ(index().texts().size(), 5U);
    EXPECT_TRUE(index().unreadable().isEmpty());
    // 6236 verses in each of the five texts.
    EXPECT_EQ(index().verseCount(), 5 * 6236);
    EXPECT_EQ(index().builtSignature(), VerseIndex::signature(sampleFolder()));
}

TEST_F(SampleIndex, ArabicIgnoresMarksAlifFormsAndOptionalLetters) {
    const QString arabic = QStringLiteral("Arabic - Uthmani script");
    expectFound(arabic, QStringLiteral("الرحمن"), 1, 3, QStringLiteral("ٱلرَّحۡمَٰنِ"));
    expectFound(arabic, QStringLiteral("رب العالمين"), 1, 2, QStringLiteral("رَبِّ ٱلۡعَٰلَمِينَ"));
    expectFound(arabic, QStringLiteral("ذلك الكتاب لا ريب"), 2, 2, QStringLiteral("ذَٰلِكَ ٱلۡكِتَٰبُ لَا رَيۡبَۛ"));
    expectFound(arabic, QStringLiteral("الله لا إله إلا هو الحي القيوم"), 2, 255,
                QStringLiteral("ٱللَّهُ لَآ إِلَٰهَ إِلَّا هُوَ ٱلۡحَيُّ ٱلۡقَيُّومُۚ"));
    expectFound(arabic, QStringLiteral("وإذ ابتلى ابراهيم"), 2, 124, QStringLiteral("وَإِذِ ٱبۡتَلَىٰٓ إِبۡرَٰهِـۧمَ"));
    // Verse 1 of sura 1 is the opening formula, kept apart from the sura file.
    expectFound(arabic, QStringLiteral("بسم الله"), 1, 1, QStringLiteral("بِسۡمِ ٱللَّهِ"));
}

TEST_F(SampleIndex, TranslationsIgnoreCaseAndAccents) {
    expectFound(QStringLiteral("English - Saheeh International"), QStringLiteral("LORD of the worlds"), 1, 2,
                QStringLiteral("Lord of the worlds"));
    expectFound(QStringLiteral("French - Hamidullah"), QStringLiteral("maitre du jour"), 1, 4,
                QStringLiteral("Maître du Jour"));
    expectFound(QStringLiteral("English - Transliteration"), QStringLiteral("Alrrahmani alrraheemi"), 1, 3,
                QStringLiteral("Alrrahmani alrraheemi"));
    // Typed with the Arabic kaf and yeh.
    expectFound(QStringLiteral("Urdu - Maududi"), QStringLiteral("روز جزا كا مالك"), 1, 4,
                QStringLiteral("روز جزا کا مالک"));
}

TEST_F(SampleIndex, CountsEveryMatchButGivesAtMostTheLimit) {
    const VerseIndex::Results results = index().search(QStringLiteral("الله"));
    EXPECT_EQ(results.hits.size(), 200U);
    EXPECT_GT(results.total, 1500);
    // Text by text, then sura by sura and verse by verse.
    for (size_t i = 1; i < results.hits.size(); ++i) {
        const VerseIndex::Hit& a = results.hits[i - 1];
        const VerseIndex::Hit& b = results.hits[i];
        EXPECT_LT(std::tie(a.text, a.sura, a.verse), std::tie(b.text, b.sura, b.verse));
    }
    EXPECT_EQ(index().search(QStringLiteral("الله"), 5).total, results.total);
    EXPECT_TRUE(index().search(QStringLiteral("الله"), 0).hits.empty());
}

TEST_F(SampleIndex, QueriesWithoutAnswer) {
    const VerseIndex::Results none = index().search(QStringLiteral("xyzzy qwv"));
    EXPECT_EQ(none.total, 0);
    EXPECT_FALSE(none.emptyQuery);

    const VerseIndex::Results marks = index().search(QString::fromUtf16(u"\u064E\u0651\u0670\u06D6 \u08F0"));
    EXPECT_TRUE(marks.emptyQuery);
    EXPECT_EQ(marks.total, 0);

    // Longer than any verse: a whole sura's worth of text, and a run of one letter.
    QString longQuery;
    for (int i = 0; i < 400; ++i) longQuery += QStringLiteral("the Lord of the worlds ");
    EXPECT_EQ(index().search(longQuery).total, 0);
    EXPECT_EQ(index().search(QString(100000, u'\u0627')).total, 0);
}

TEST(VerseIndex, LeavesOutADamagedPackageAndKeepsTheOthers) {
    test::ProgramFolder folder;
    folder.writePackage(QStringLiteral("Good"),
                        {{"config.ini", test::latin1("[Main]\r\nIsUnicode=True\r\n")},
                         {"001.txt", test::utf16Le(QStringLiteral("second\nthird\n"))},
                         {"002.txt", test::utf16Le(QStringLiteral("alpha\r\nbeta gamma\r\n"))}});
    folder.writePackage(QStringLiteral("Damaged"), {{"001.txt", test::utf16Le(QStringLiteral("x"))}});
    {
        QFile damaged(folder.path() + QStringLiteral("/data/tdata/Damaged.dat"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not an archive at all");
    }
    Result<VerseIndex> built = VerseIndex::build(folder.path());
    ASSERT_TRUE(built.ok());
    const VerseIndex& index = built.value();
    ASSERT_EQ(index.texts().size(), 1U);
    EXPECT_EQ(index.texts()[0].name, QStringLiteral("Good"));
    ASSERT_EQ(index.unreadable().size(), 1);
    EXPECT_TRUE(index.unreadable()[0].startsWith(QStringLiteral("Damaged: ")));

    const VerseIndex::Results gamma = index.search(QStringLiteral("GAMMA"));
    ASSERT_EQ(gamma.hits.size(), 1U);
    EXPECT_EQ(gamma.hits[0].sura, 2);
    EXPECT_EQ(gamma.hits[0].verse, 2);
    // The CR of a CR LF line is not part of the verse.
    EXPECT_EQ(index.verseText(gamma.hits[0]), QStringLiteral("beta gamma"));
    // Sura 1's file starts with verse 2.
    const VerseIndex::Results third = index.search(QStringLiteral("third"));
    ASSERT_EQ(third.hits.size(), 1U);
    EXPECT_EQ(third.hits[0].verse, 3);
}

TEST(VerseIndex, ACancelledBuildEndsWithoutAnIndex) {
    std::atomic<bool> cancel{false};
    int calls = 0;
    VerseIndex::BuildControl control;
    control.cancel = &cancel;
    control.progress = [&](int done, int total) {
        ++calls;
        EXPECT_LE(done, total);
        if (done == 50) cancel = true;
    };
    Result<VerseIndex> built = VerseIndex::build(sampleFolder(), control);
    ASSERT_FALSE(built.ok());
    EXPECT_EQ(built.error().number, VerseIndex::kCancelled);
    EXPECT_EQ(calls, 50);
}

TEST(VerseIndex, SignatureFollowsTheInstalledPackages) {
    test::ProgramFolder folder;
    folder.writePackage(QStringLiteral("One"), {{"001.txt", test::utf16Le(QStringLiteral("a\n"))}});
    const QString before = VerseIndex::signature(folder.path());
    folder.writePackage(QStringLiteral("Two"), {{"001.txt", test::utf16Le(QStringLiteral("b\n"))}});
    EXPECT_NE(VerseIndex::signature(folder.path()), before);
}

}  // namespace
}  // namespace lumora

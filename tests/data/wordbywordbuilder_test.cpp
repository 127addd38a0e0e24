// The word-by-word glosses: the line format and the rule that a line's groups cover exactly its verse's
// words, and the archive entries for glossed and unglossed suras.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "tools/wordbywordbuilder.h"

namespace lumora::pack {
namespace {

const QString kBullet = QStringLiteral("\u2022");

QString item(int count, const QString& meaning) { return QString::number(count) + kBullet + meaning + "|"; }

std::string problem(const QString& line, const QString& verse) {
    const Result<void> checked = WordByWordBuilder::checkLine(line, verse);
    return checked.ok() ? std::string("accepted") : checked.error().description;
}

TEST(WordByWordBuilder, GroupsMustCoverTheVerseExactly) {
    const QString verse = QStringLiteral("w1 w2 w3 w4");
    EXPECT_EQ(problem(item(1, "M1") + item(0, "M2") + item(0, "M3"), verse), "accepted");
    EXPECT_EQ(problem(item(3, "all four"), verse), "accepted");
    EXPECT_EQ(problem(item(0, "a") + item(0, "b") + item(0, "c"), verse), "the groups cover 3 words, the verse has 4");
    EXPECT_EQ(problem(item(1, "a") + item(1, "b") + item(0, "c"), verse), "the groups cover 5 words, the verse has 4");
    // Words are counted as the page builder splits them: at blanks, after trimming.
    EXPECT_EQ(WordByWordBuilder::wordCount(QStringLiteral("  a b\u2009c  ")), 2);
    EXPECT_EQ(WordByWordBuilder::wordCount(QString()), 0);
}

TEST(WordByWordBuilder, RefusesMalformedItems) {
    const QString verse = QStringLiteral("w1 w2");
    EXPECT_EQ(problem(item(0, "a") + "0" + kBullet + "b", verse), "the line does not end with \"|\"");
    EXPECT_NE(problem(item(0, "a") + "b|", verse), "accepted");                       // no bullet
    EXPECT_NE(problem(item(0, "a") + kBullet + "b|", verse), "accepted");             // no count
    EXPECT_NE(problem(item(0, "a") + "x" + kBullet + "b|", verse), "accepted");       // count not a number
    EXPECT_NE(problem(item(0, "a") + "-1" + kBullet + "b|" + item(0, "c"), verse), "accepted");
    EXPECT_NE(problem(item(0, "a") + item(0, " "), verse), "accepted");               // no meaning
    EXPECT_NE(problem(item(0, "a") + "0" + kBullet + "b" + kBullet + "c|", verse), "accepted");
    // The page builder would show a double quote as an apostrophe.
    EXPECT_NE(problem(item(0, "a") + item(0, "the \"one\""), verse), "accepted");
    EXPECT_NE(problem(QString(), verse), "accepted");
}

VerseTextSource threeSuras() {
    // Sura 1: four verses of two words, sura 2: two verses, sura 3: one verse.
    QJsonArray suras;
    const std::vector<int> counts = {4, 2, 1};
    for (size_t i = 0; i < counts.size(); ++i) {
        QJsonArray verses;
        for (int verse = 1; verse <= counts[i]; ++verse) {
            verses.append(QJsonObject{{"id", verse}, {"text", "a b"}});
        }
        suras.append(QJsonObject{{"id", static_cast<int>(i) + 1}, {"verses", verses}});
    }
    return VerseTextSource::parse(QJsonDocument(suras).toJson(), "text", counts, "t").value();
}

QString entryText(const PackageEntry& entry) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(entry.bytes.data()),
                              static_cast<qsizetype>(entry.bytes.size() / 2));
}

TEST(WordByWordBuilder, EverySuraGetsAnEntryNumberedLikeItsTextFile) {
    const QString line = item(0, "x") + item(0, "y");
    // Sura 1's file starts at verse 2, so its four verses make three lines; CR LF line ends are accepted.
    std::map<int, QString> glosses = {{1, line + "\r\n" + item(1, "both") + "\r\n" + line + "\r\n"}};
    const Result<std::vector<PackageEntry>> entries = WordByWordBuilder::entries(threeSuras(), glosses);
    ASSERT_TRUE(entries.ok()) << entries.error().description;
    ASSERT_EQ(entries.value().size(), 3u);
    EXPECT_EQ(entries.value()[0].name, "001.txt");
    EXPECT_EQ(entryText(entries.value()[0]), line + "\n" + item(1, "both") + "\n" + line + "\n");
    // Unglossed suras: one empty line per verse, which leaves the words unlinked.
    EXPECT_EQ(entries.value()[1].name, "002.txt");
    EXPECT_EQ(entryText(entries.value()[1]), "\n\n");
    EXPECT_EQ(entryText(entries.value()[2]), "\n");
}

TEST(WordByWordBuilder, RefusesGlossFilesThatDoNotFitTheirSura) {
    const QString line = item(0, "x") + item(0, "y");
    const auto description = [](const std::map<int, QString>& glosses) {
        const Result<std::vector<PackageEntry>> entries = WordByWordBuilder::entries(threeSuras(), glosses);
        return entries.ok() ? std::string("accepted") : entries.error().description;
    };
    // Written as if sura 1's file started at verse 1: one line too many.
    EXPECT_EQ(description({{1, line + "\n" + line + "\n" + line + "\n" + line + "\n"}}),
              "001.txt: 4 lines, but the sura's text file has 3");
    EXPECT_EQ(description({{2, line + "\n" + item(0, "only one") + "\n"}}),
              "002.txt line 2 (verse 2): the groups cover 1 words, the verse has 2");
    EXPECT_EQ(description({{1, line + "\n" + line + "\n" + item(0, "z") + "\n"}}),
              "001.txt line 3 (verse 4): the groups cover 1 words, the verse has 2");
    EXPECT_NE(description({{4, line + "\n"}}), "accepted");
}

}  // namespace
}  // namespace lumora::pack

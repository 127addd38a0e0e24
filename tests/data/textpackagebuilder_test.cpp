// The text converter on a small hand-made data set in the shape of the real one: nine suras, so that the
// rules of suras 1, 2 and 9 all show, written as an archive and read back through the codec.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <map>
#include <numeric>

#include "codec/archivereader.h"
#include "support/scratchfolder.h"
#include "tools/textpackagebuilder.h"
#include "tools/versetextsource.h"

namespace lumora::pack {
namespace {

const std::vector<int> kCounts = {3, 2, 1, 1, 1, 1, 1, 1, 2};

// Verse k of sura s reads "s:k" unless texts gives it another text.
QByteArray dataSet(const QString& field, const std::map<std::pair<int, int>, QString>& texts = {},
                   const std::vector<int>& counts = kCounts) {
    QJsonArray suras;
    for (size_t i = 0; i < counts.size(); ++i) {
        const int sura = static_cast<int>(i) + 1;
        QJsonArray verses;
        for (int verse = 1; verse <= counts[i]; ++verse) {
            const auto text = texts.find({sura, verse});
            verses.append(QJsonObject{{"id", verse},
                                      {"text", "arabic"},
                                      {field, text != texts.end() ? text->second : QStringLiteral("%1:%2").arg(sura).arg(verse)}});
        }
        suras.append(QJsonObject{{"id", sura}, {"name", "x"}, {"total_verses", counts[i]}, {"verses", verses}});
    }
    return QJsonDocument(suras).toJson();
}

QString utf16(const std::vector<uint8_t>& bytes) {
    EXPECT_EQ(bytes.size() % 2, 0u);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), static_cast<qsizetype>(bytes.size() / 2));
}

// The package written to disk and one entry read back through the archive reader.
class WrittenPackage {
public:
    WrittenPackage(const VerseTextSource& source, TextKind kind, const QByteArray& config = "[Main]\nIsUnicode=True\n")
        : m_path(m_folder.file("p.dat")) {
        const Result<void> written = PackageEntry::writeArchive(m_path, TextPackageBuilder::entries(source, kind, config), false);
        EXPECT_TRUE(written.ok()) << written.error().description;
    }
    std::vector<uint8_t> bytes(const std::string& name) const {
        const Result<ExtractedEntry> entry = ArchiveReader::extractFile(m_path, name);
        EXPECT_TRUE(entry.ok() && entry.value().found) << name;
        return entry.ok() ? entry.value().bytes : std::vector<uint8_t>{};
    }
    QString text(const std::string& name) const { return utf16(bytes(name)); }
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        const Result<std::vector<ArchiveEntryInfo>> listed = ArchiveReader::list(m_path);
        EXPECT_TRUE(listed.ok());
        for (const ArchiveEntryInfo& info : listed.valueOr({})) {
            result.push_back(info.name);
        }
        return result;
    }

private:
    test::ScratchFolder m_folder;
    std::string m_path;
};

VerseTextSource parsed(const QByteArray& json, const QString& field) {
    Result<VerseTextSource> source = VerseTextSource::parse(json, field, kCounts, "test.json");
    EXPECT_TRUE(source.ok()) << source.error().description;
    return std::move(source).value();
}

TEST(TextPackageBuilder, SuraFilesFollowTheRecordRulesOfSuras1And9) {
    const WrittenPackage package(parsed(dataSet("translation"), "translation"), TextKind::Translation);
    EXPECT_EQ(package.names(), (std::vector<std::string>{"config.ini", "bismi.txt", "bismi1.txt", "001.txt", "002.txt",
                                                          "003.txt", "004.txt", "005.txt", "006.txt", "007.txt",
                                                          "008.txt", "009.txt"}));
    // Sura 1's verse 1 is the opening formula: it comes from the bismi files, and 001.txt starts at verse 2.
    EXPECT_EQ(package.text("bismi.txt"), "1:1");
    EXPECT_EQ(package.text("bismi1.txt"), "1:1");
    EXPECT_EQ(package.text("001.txt"), "1:2\n1:3\n");
    EXPECT_EQ(package.text("002.txt"), "2:1\n2:2\n");
    EXPECT_EQ(package.text("009.txt"), "9:1\n9:2\n");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(package.bytes("config.ini").data()), package.bytes("config.ini").size()),
              "[Main]\nIsUnicode=True\n");
}

TEST(TextPackageBuilder, FilesAreUtf16LittleEndianWithoutByteOrderMark) {
    const WrittenPackage package(parsed(dataSet("translation", {{{2, 1}, QStringLiteral("\u00e9\u0628")}}), "translation"),
                                 TextKind::Translation);
    EXPECT_EQ(package.bytes("002.txt"),
              (std::vector<uint8_t>{0xE9, 0x00, 0x28, 0x06, 0x0A, 0x00, '2', 0, ':', 0, '2', 0, 0x0A, 0x00}));
}

TEST(TextPackageBuilder, ArabicOpenTanweenIsMappedEverywhereIncludingTheFormula) {
    const QString withMarks = QStringLiteral("\u0647\u0657 \u0645\u065E \u062A\u0656 \u064B\u064C\u064D");
    const QString mapped = QStringLiteral("\u0647\u08F0 \u0645\u08F1 \u062A\u08F2 \u064B\u064C\u064D");
    const WrittenPackage package(parsed(dataSet("text2", {{{1, 1}, withMarks}, {{9, 2}, withMarks}}), "text2"),
                                 TextKind::Arabic);
    EXPECT_EQ(package.text("bismi.txt"), mapped);
    EXPECT_EQ(package.text("bismi1.txt"), mapped);
    EXPECT_EQ(package.text("009.txt"), "9:1\n" + mapped + "\n");
}

TEST(TextPackageBuilder, VerseCleanupByKind) {
    const QString raw = QStringLiteral("a\u00ADb\tc\r\nd\ne\u0657");
    // Translations lose soft hyphens and tabs but keep Arabic marks; line breaks never survive, since they
    // would move every later verse of the sura onto the wrong line.
    EXPECT_EQ(TextPackageBuilder::prepareVerse(raw, TextKind::Translation), QStringLiteral("ab c d e\u0657"));
    EXPECT_EQ(TextPackageBuilder::prepareVerse(raw, TextKind::Arabic), QStringLiteral("a\u00ADb\tc d e\u08F0"));

    const WrittenPackage package(parsed(dataSet("translation", {{{2, 1}, raw}}), "translation"), TextKind::Translation);
    EXPECT_EQ(package.text("002.txt"), QStringLiteral("ab c d e\u0657\n2:2\n"));
}

TEST(VerseTextSource, RefusesDataSetsThatDoNotMatchTheVerseCounts) {
    const auto problem = [](const QByteArray& json) {
        const Result<VerseTextSource> source = VerseTextSource::parse(json, "translation", kCounts, "t.json");
        return source.ok() ? std::string("accepted") : source.error().description;
    };
    std::vector<int> shortSura2 = kCounts;
    shortSura2[1] = 1;
    EXPECT_EQ(problem(dataSet("translation", {}, shortSura2)), "t.json: sura 2 has 1 verses, expected 2");
    std::vector<int> eightSuras(kCounts.begin(), kCounts.end() - 1);
    EXPECT_EQ(problem(dataSet("translation", {}, eightSuras)), "t.json: has 8 suras, expected 9");
    EXPECT_EQ(problem(dataSet("transliteration")), "t.json: sura 1 verse 1 has no text in \"translation\"");
    EXPECT_EQ(problem("{\"id\": 1}"), "t.json: expected an array of suras");
    EXPECT_NE(problem("[{\"id\": 1,"), "accepted");

    // Suras and verses out of order would shift texts against their timings.
    QByteArray swapped = dataSet("translation");
    swapped.replace("\"id\": 2,", "\"id\": 7,");
    EXPECT_NE(problem(swapped), "accepted");
}

TEST(VerseTextSource, TheRealCountsAre114SurasAnd6236Verses) {
    const std::vector<int> counts = VerseTextSource::quranVerseCounts();
    ASSERT_EQ(counts.size(), 114u);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 6236);
    EXPECT_EQ(counts[0], 7);
    EXPECT_EQ(counts[1], 286);
    EXPECT_EQ(counts[8], 129);
    EXPECT_EQ(counts[113], 6);
}

}  // namespace
}  // namespace lumora::pack

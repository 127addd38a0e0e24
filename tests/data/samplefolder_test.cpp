// The sample program folder as the build laid it out, read back through the codec and compared with its
// sources: the data set's JSON files, the project's gloss files and the manifest.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include "codec/archivereader.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "support/scratchfolder.h"

namespace lumora {
namespace {

const QStringList kPackages = {"Arabic - Uthmani script", "English - Saheeh International", "Urdu - Maududi",
                               "French - Hamidullah", "English - Transliteration"};

QString programFolder() { return qEnvironmentVariable("LUMORA_PROGRAM_FOLDER"); }
std::string path(const QString& relative) { return (programFolder() + "/" + relative).toStdString(); }

QByteArray readFile(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    return f.readAll();
}

std::vector<uint8_t> entry(const QString& archive, const std::string& name) {
    const Result<ExtractedEntry> extracted = ArchiveReader::extractFile(path(archive), name);
    EXPECT_TRUE(extracted.ok() && extracted.value().found) << archive.toStdString() << " " << name;
    return extracted.ok() ? extracted.value().bytes : std::vector<uint8_t>{};
}

QString utf16Entry(const QString& archive, const std::string& name) {
    const std::vector<uint8_t> bytes = entry(archive, name);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), static_cast<qsizetype>(bytes.size() / 2));
}

QString package(const QString& name) { return "data/tdata/" + name + ".dat"; }

// The value of a key in a small INI text, wherever it stands.
QString iniValue(const QString& text, const QString& key) {
    for (const QString& line : text.split('\n')) {
        if (line.startsWith(key + "=")) {
            return line.mid(key.size() + 1).trimmed();
        }
    }
    return QStringLiteral("<absent>");
}

QJsonObject manifest() {
    return QJsonDocument::fromJson(readFile(programFolder() + "/sample-manifest.json")).object();
}

int verseLinesOfFile(int sura) {
    // Sura 9 has no opening formula record; sura 1's formula is its verse 1, which its file leaves out.
    const int records = SuraCatalogue::verseNo(sura);
    return sura == 9 ? records : records - 1;
}

TEST(SampleFolder, ArabicAyatAlKursiEqualsTheSourceAfterMapping) {
    const QJsonArray suras =
        QJsonDocument::fromJson(readFile(qEnvironmentVariable("LUMORA_SAMPLE_TEXTS_DIR") + "/quran.json")).array();
    ASSERT_EQ(suras.size(), 114);
    const auto mapped = [](QString text) {
        return text.replace(QChar(0x0657), QChar(0x08F0)).replace(QChar(0x065E), QChar(0x08F1)).replace(QChar(0x0656), QChar(0x08F2));
    };
    const QString source = suras[1].toObject()["verses"].toArray()[254].toObject()["text"].toString();
    ASSERT_TRUE(source.contains(QChar(0x0656)) || source.contains(QChar(0x065E)) || source.contains(QChar(0x0657)));

    const QStringList lines = utf16Entry(package(kPackages[0]), "002.txt").split('\n');
    ASSERT_EQ(lines.size(), 287);  // 286 verses, each ended by LF
    EXPECT_EQ(lines[254], mapped(source));
    const QString formula = suras[0].toObject()["verses"].toArray()[0].toObject()["text"].toString();
    EXPECT_EQ(utf16Entry(package(kPackages[0]), "bismi.txt"), mapped(formula));
}

TEST(SampleFolder, TimingsOfSura112MatchTheManifest) {
    const QJsonArray records = manifest()["recordings"].toObject()["112"].toObject()["records"].toArray();
    const Result<std::vector<VerseTiming>> table = VerseTimingTable::read(path("data/pos.dat"), 112);
    ASSERT_TRUE(table.ok()) << table.error().description;
    ASSERT_EQ(records.size(), 5);  // the opening formula and four verses
    ASSERT_EQ(table.value().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(table.value()[i].startMs, records[i].toArray()[0].toInt()) << "record " << i;
        EXPECT_EQ(table.value()[i].endMs, records[i].toArray()[1].toInt()) << "record " << i;
    }
}

TEST(SampleFolder, RecordedSurasHaveOrderedTimingsAndTheRestNoAudio) {
    const QJsonObject recordings = manifest()["recordings"].toObject();
    EXPECT_GE(recordings.size(), 7);
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        const QString name = QString::fromStdString(SuraCatalogue::threeDigit(sura));
        const bool recorded = recordings.contains(name);
        EXPECT_EQ(QFile::exists(programFolder() + "/mp3/" + name + ".mp3"), recorded) << "sura " << sura;
        if (!recorded) {
            continue;
        }
        const std::vector<VerseTiming> table = VerseTimingTable::read(path("data/pos.dat"), sura).value();
        const int lengthMs = recordings[name].toObject()["lengthMs"].toInt();
        ASSERT_EQ(static_cast<int>(table.size()), SuraCatalogue::verseNo(sura));
        for (size_t i = 0; i < table.size(); ++i) {
            EXPECT_LT(table[i].startMs, table[i].endMs) << name.toStdString() << " record " << i;
            if (i > 0) {
                EXPECT_GE(table[i].startMs, table[i - 1].endMs) << name.toStdString() << " record " << i;
            }
        }
        EXPECT_LE(table.back().endMs, lengthMs) << name.toStdString();
    }
}

TEST(SampleFolder, EveryPackageHoldsEverySuraOneVersePerLine) {
    for (const QString& name : kPackages) {
        SCOPED_TRACE(name.toStdString());
        const QString archive = package(name);
        const std::vector<uint8_t> config = entry(archive, "config.ini");
        const QString configText = QString::fromUtf8(reinterpret_cast<const char*>(config.data()), static_cast<qsizetype>(config.size()));
        EXPECT_EQ(iniValue(configText, "IsUnicode"), "True");
        const bool arabic = name.startsWith("Arabic");
        EXPECT_EQ(iniValue(configText, "IsRTL"), arabic || name.startsWith("Urdu") ? "True" : "False");
        EXPECT_FALSE(utf16Entry(archive, "bismi1.txt").isEmpty());
        for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
            const QString text = utf16Entry(archive, SuraCatalogue::threeDigit(sura) + ".txt");
            ASSERT_TRUE(text.endsWith('\n')) << "sura " << sura;
            const QStringList lines = text.left(text.size() - 1).split('\n');
            ASSERT_EQ(lines.size(), verseLinesOfFile(sura)) << "sura " << sura;
            for (const QString& line : lines) {
                ASSERT_FALSE(line.trimmed().isEmpty()) << "sura " << sura;
                ASSERT_FALSE(line.contains('\r') || line.contains(QChar(0xFEFF))) << "sura " << sura;
                if (arabic) {
                    ASSERT_FALSE(line.contains(QChar(0x0657)) || line.contains(QChar(0x065E)) || line.contains(QChar(0x0656)));
                } else {
                    ASSERT_FALSE(line.contains('\t') || line.contains(QChar(0x00AD))) << "sura " << sura;
                }
            }
        }
    }
    EXPECT_TRUE(QFile::exists(programFolder() + "/data/tdata/NOTICE"));
}

TEST(SampleFolder, WordByWordArchiveIsNamedByTheArabicPackageAndHoldsOurGlosses) {
    const std::vector<uint8_t> config = entry(package(kPackages[0]), "config.ini");
    const QString file = iniValue(QString::fromUtf8(reinterpret_cast<const char*>(config.data()), static_cast<qsizetype>(config.size())),
                                  "WordByWordDataFile");
    ASSERT_EQ(file, "wbw-english.dat");
    const QString archive = "data/" + file;
    for (const char* sura : {"001", "112"}) {
        const QString source = QString::fromUtf8(
            readFile(qEnvironmentVariable("LUMORA_SOURCE_DIR") + "/data/wordbyword/" + sura + ".txt"));
        EXPECT_EQ(utf16Entry(archive, std::string(sura) + ".txt"), source) << sura;
    }
    EXPECT_EQ(utf16Entry(archive, "002.txt"), QString(286, '\n'));
    EXPECT_EQ(utf16Entry(archive, "009.txt"), QString(129, '\n'));
}

TEST(SampleFolder, HelpPagesConfigurationAndManifest) {
    const std::vector<uint8_t> about = entry("data/main1.dat", "about.htm");
    const QString aboutText = QString::fromUtf8(reinterpret_cast<const char*>(about.data()), static_cast<qsizetype>(about.size()));
    EXPECT_TRUE(aboutText.contains("placeholder tones"));
    EXPECT_TRUE(aboutText.contains("MP3Path"));
    EXPECT_FALSE(entry("data/main1.dat", "keyboard.htm").empty());
    EXPECT_FALSE(entry("data/main1.dat", "version.htm").empty());

    const QString config = QString::fromUtf8(readFile(programFolder() + "/config.ini"));
    EXPECT_TRUE(config.contains("[Main]"));
    EXPECT_EQ(iniValue(config, "MP3Path"), "");

    const QJsonObject root = manifest();
    EXPECT_TRUE(root["tools"].toObject()["lame"].toString().contains("LAME"));
    EXPECT_FALSE(root["tools"].toObject()["mpg123"].toString().isEmpty());
    EXPECT_EQ(root["tools"].toObject()["quran-json"].toString(), "3.1.2");
    const QJsonObject hashes = root["sha256"].toObject();
    EXPECT_GE(hashes.size(), 17);
    for (const QString& file : hashes.keys()) {
        const QByteArray actual = QCryptographicHash::hash(readFile(programFolder() + "/" + file), QCryptographicHash::Sha256).toHex();
        EXPECT_EQ(hashes[file].toString(), QString::fromLatin1(actual)) << file.toStdString();
    }
}

// lumora-pack run as a program, its exit code and its messages.
struct PackRun {
    int exitCode = -1;
    QString out;
    QString err;
};

PackRun runPack(const QStringList& args) {
    QProcess process;
    process.start(programFolder() + "/lumora-pack", args);
    process.waitForFinished(-1);
    return PackRun{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                   QString::fromUtf8(process.readAllStandardError())};
}

TEST(LumoraPackSampleCommands, TextPackageRefusesAnIncompleteDataSet) {
    test::ScratchFolder folder;
    const QString json = QString::fromStdString(folder.file("small.json"));
    const QString config = QString::fromStdString(folder.file("config.ini"));
    {
        QFile f(json);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(R"([{"id": 1, "verses": [{"id": 1, "translation": "x"}]}])");
        QFile c(config);
        ASSERT_TRUE(c.open(QIODevice::WriteOnly));
        c.write("[Main]\n");
    }
    const QString out = QString::fromStdString(folder.file("out.dat"));
    const PackRun refused = runPack({"text-package", json, out, "--config", config});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("has 1 suras, expected 114")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    const PackRun usage = runPack({"text-package", json, out});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.err.contains("--config"));

    // The real data set converts, and the package reads back.
    const QString texts = qEnvironmentVariable("LUMORA_SAMPLE_TEXTS_DIR");
    const PackRun converted =
        runPack({"text-package", texts + "/quran_en.json", out, "--config", config});
    ASSERT_EQ(converted.exitCode, 0) << converted.err.toStdString();
    const Result<ExtractedEntry> sura114 = ArchiveReader::extractFile(out.toStdString(), "114.txt");
    ASSERT_TRUE(sura114.ok() && sura114.value().found);
}

TEST(LumoraPackSampleCommands, HelpNamesBothCommands) {
    const PackRun help = runPack({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("text-package") && help.out.contains("sample"));
    const PackRun sampleHelp = runPack({"sample", "--help"});
    EXPECT_EQ(sampleHelp.exitCode, 0);
    EXPECT_TRUE(sampleHelp.out.contains("--texts"));
    EXPECT_EQ(runPack({"sample", "--texts", "x"}).exitCode, 2);
}

}  // namespace
}  // namespace lumora

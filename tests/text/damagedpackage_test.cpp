// Damaged packages, configurations and word-by-word lines end in an error or a defined result, never
// in a crash. Seeded, so every run tries the same inputs.
#include <QFile>
#include <gtest/gtest.h>
#include <random>

#include "text/packageconfig.h"
#include "text/versetextassignment.h"
#include "textfixture.h"

namespace lumora {
namespace {

using test::Bytes;
using test::latin1;
using test::ProgramFolder;
using test::utf16Le;

Bytes readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

void writeFile(const QString& path, const Bytes& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

TEST(DamagedPackages, TruncatedAndCorruptedArchivesNeverCrash) {
    ProgramFolder folder;
    const QString line = QString("0") + QChar(0x2022) + "m|";
    folder.writePackage("Good", {{"config.ini", latin1("[Main]\nIsUnicode=1\nWordByWordDataFile=w.dat\n[info]\na=b\n")},
                                 {"bismi.txt", utf16Le("formula")},
                                 {"002.txt", utf16Le("a b\nc d\ne f\n")}});
    folder.writeArchive("w.dat", {{"002.txt", utf16Le(line + "\n" + line + "\n" + line)}});
    const Bytes package = readFile(folder.path() + "/data/tdata/Good.dat");
    const Bytes meanings = readFile(folder.path() + "/data/w.dat");

    std::mt19937 random(20240611);
    int failures = 0;
    for (int round = 0; round < 300; ++round) {
        Bytes damagedPackage = package;
        Bytes damagedMeanings = meanings;
        Bytes& target = round % 3 == 0 ? damagedMeanings : damagedPackage;
        if (round % 2 == 0) {
            target.resize(random() % (target.size() + 1));
        } else {
            for (int flips = 1 + static_cast<int>(random() % 6); flips > 0 && !target.empty(); --flips) {
                target[random() % target.size()] = static_cast<uint8_t>(random());
            }
        }
        writeFile(folder.path() + "/data/tdata/Damaged.dat", damagedPackage);
        writeFile(folder.path() + "/data/w.dat", damagedMeanings);

        VerseTextAssignment assignment(folder.path());
        const Result<VerseTextAssignment::PaneAssignment> assigned = assignment.assignTrans(1, "Damaged");
        ASSERT_TRUE(assigned.ok());
        const Result<void> loaded = assignment.loadSuraTexts(2, 4);
        if (!assigned.value().failureMessage.isEmpty() || !loaded.ok()) ++failures;
        if (!loaded.ok()) {
            EXPECT_FALSE(loaded.error().description.empty());
        }
        for (int slot = 0; slot < 4; ++slot) assignment.setText(slot);
        (void)assignment.pane(1).additionalInfo();
    }
    EXPECT_GT(failures, 0);
}

TEST(DamagedPackages, RandomConfigurationsAndWordByWordLines) {
    std::mt19937 random(7);
    const QString alphabet = QString("=[]\n\r \"|01-x") + QChar(0x2022) + QChar(0xFEFF) + QChar(0xD800);
    auto randomText = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i) text += alphabet[static_cast<qsizetype>(random() % alphabet.size())];
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes(random() % 64);
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
        PackageSettings settings;
        (void)PackageConfig::parse(bytes).readInto(settings, "t");
        (void)PackageConfig::parse("[Main]\n" + randomText(40)).readInto(settings, "t");

        const QString verse = randomText(static_cast<int>(random() % 30));
        const QString linked = DisplayProperties::linkWords(
            verse, DisplayProperties::cleanWordByWord(randomText(static_cast<int>(random() % 30))), "000000");
        // Every word of the verse survives linking, in order.
        QString plain = linked;
        for (qsizetype start; (start = plain.indexOf("<A style=\"")) >= 0;) {
            const qsizetype end = plain.indexOf("\">", plain.indexOf(" href=\"", start));
            ASSERT_GT(end, start);
            plain.remove(start, end + 2 - start);
        }
        plain.remove("</A> ");
        QString expected = verse;
        expected.remove(QChar(0xFEFF));
        EXPECT_EQ(plain.simplified(), expected.simplified()) << qPrintable(linked);
    }
}

}  // namespace
}  // namespace lumora

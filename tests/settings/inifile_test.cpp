#include "settings/inifile.h"

#include <gtest/gtest.h>

#include <random>

namespace lumora {
namespace {

TEST(IniFile, FindsSectionsAndKeysWithoutRegardToCase)
{
    const IniFile doc = IniFile::parse("[Main]\nCurrentLayout=3\n[layout1]\nchkVisible2=False\n");
    EXPECT_EQ(doc.value("MAIN", "currentlayout"), QString("3"));
    EXPECT_EQ(doc.value("Layout1", "CHKVISIBLE2"), QString("False"));
    EXPECT_EQ(doc.value("Main", "Absent"), std::nullopt);
    EXPECT_EQ(doc.value("Absent", "CurrentLayout"), std::nullopt);
    EXPECT_EQ(doc.value("Absent", "CurrentLayout", "1"), "1");
    EXPECT_TRUE(doc.hasSection("LAYOUT1"));
    EXPECT_EQ(doc.sectionNames(), QStringList({"Main", "layout1"}));
}

TEST(IniFile, KeepsTheExactTextAfterTheFirstEquals)
{
    const IniFile doc = IniFile::parse(
        "[S]\n"
        "a=x=y\n"
        "b=  padded  \n"
        "c=#not a comment;|\n"
        "d=\n"
        "  e  =v\n");
    EXPECT_EQ(doc.value("S", "a"), QString("x=y"));
    EXPECT_EQ(doc.value("S", "b"), QString("  padded  "));
    EXPECT_EQ(doc.value("S", "c"), QString("#not a comment;|"));
    EXPECT_EQ(doc.value("S", "d"), QString(""));
    EXPECT_EQ(doc.value("S", "e"), QString("v"));
    EXPECT_EQ(doc.sectionEntries("s"), QStringList({"a=x=y", "b=  padded  ", "c=#not a comment;|", "d=", "e=v"}));
}

TEST(IniFile, SkipsWhatItCannotRead)
{
    const IniFile doc = IniFile::parse(
        "\xEF\xBB\xBF"  // byte order mark, as QString U+FEFF
        "orphan=1\n"
        "[Main]\r\n"
        "Sura=5\r\n"
        "no equals sign\n"
        "=no key\n"
        "; Sura=6\n"
        "# Sura=7\n"
        "[broken\n"
        "RB=9\n"
        "[]\n"
        "RE=9\n"
        "[Vol] trailing text\n"
        "Pos=300\n"
        "[MAIN]\n"
        "CurPos=4\n"
        "sura=8\n");
    EXPECT_EQ(doc.sectionNames(), QStringList({"Main", "Vol"}));
    // Keys under an unreadable header must not land in the section above it.
    EXPECT_EQ(doc.sectionEntries("Main"), QStringList({"Sura=5", "CurPos=4"}));
    EXPECT_EQ(doc.value("Vol", "Pos"), QString("300"));
    EXPECT_FALSE(doc.value("Main", "orphan"));
}

TEST(IniFile, SetValueKeepsSpellingAndPlaceAndRemoveSectionReportsAbsence)
{
    IniFile doc = IniFile::parse("[Main]\nCurPos=1\nSura=2\n");
    doc.setValue("MAIN", "curpos", "7");
    doc.setValue("Main", "RB", "3");
    doc.setValue("EQ", "Val0", "-8");
    EXPECT_EQ(doc.toText(), "[Main]\nCurPos=7\nSura=2\nRB=3\n\n[EQ]\nVal0=-8\n");
    EXPECT_TRUE(doc.removeSection("main"));
    EXPECT_FALSE(doc.removeSection("Main"));
    EXPECT_EQ(doc.toText(), "[EQ]\nVal0=-8\n");
    EXPECT_TRUE(doc.removeSection("EQ"));
    EXPECT_TRUE(doc.isEmpty());
}

TEST(IniFile, LineBreaksAndBackslashesSurviveAWriteAndRead)
{
    IniFile doc;
    const QString tricky = "line one\nline two\r\n[Injected]\nkey=\\n is not a break \\\\ \\";
    doc.setValue("S", "k", tricky);
    doc.setValue("S", "after", "ok");
    const QString text = doc.toText();
    EXPECT_EQ(text.count('\n'), 3) << text.toStdString();
    const IniFile back = IniFile::parse(text, true);
    EXPECT_EQ(back.value("S", "k"), tricky);
    EXPECT_EQ(back.value("S", "after"), QString("ok"));
    EXPECT_FALSE(back.hasSection("Injected"));
}

TEST(IniFile, HandWrittenBackslashesReadAsWritten)
{
    const QString text = "[Main]\nMP3Path=C:\\mp3\\\nOther=a\\tb\nRaw=C:\\new\\\\x\n";
    const IniFile stored = IniFile::parse(text, true);
    EXPECT_EQ(stored.value("Main", "MP3Path"), QString("C:\\mp3\\"));
    EXPECT_EQ(stored.value("Main", "Other"), QString("a\\tb"));
    EXPECT_EQ(stored.value("Main", "Raw"), QString("C:\new\\x"));
    // A file Lumora only reads keeps every backslash.
    const IniFile config = IniFile::parse(text);
    EXPECT_EQ(config.value("Main", "Raw"), QString("C:\\new\\\\x"));
}

TEST(IniFile, NamesThatCannotBeWrittenAreRecognised)
{
    for (const char* bad : {"", " lead", "trail ", "a=b", "[x", ";x", "#x", "a\nb"}) {
        EXPECT_FALSE(IniFile::isValidKey(bad)) << bad;
    }
    for (const char* good : {"Val0", "1Back", "a b", "a]b", "x#;"}) {
        EXPECT_TRUE(IniFile::isValidKey(good)) << good;
    }
    for (const char* bad : {"", " Main", "a]b", "a\rb"}) {
        EXPECT_FALSE(IniFile::isValidSectionName(bad)) << bad;
    }
    EXPECT_TRUE(IniFile::isValidSectionName("Layout 1 [old"));
}

QString randomText(std::mt19937& random, int maxLength, const QString& alphabet)
{
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    QString text;
    for (int n = length(random); n > 0; --n) {
        text += alphabet[pick(random)];
    }
    return text;
}

TEST(IniFile, RandomValuesRoundTrip)
{
    std::mt19937 random(20240605);
    const QString alphabet = QString::fromUtf8("ab=[];#| \t\\\r\nnr0\xD9\x82\xEF\xBB\xBF");
    for (int round = 0; round < 300; ++round) {
        IniFile doc;
        std::vector<std::pair<QString, QString>> written;
        for (int k = 0; k < 6; ++k) {
            const QString key = QString("Key%1").arg(k);
            const QString value = randomText(random, 24, alphabet);
            doc.setValue("Section", key, value);
            written.emplace_back(key, value);
        }
        const IniFile back = IniFile::parse(doc.toText(), true);
        for (const auto& [key, value] : written) {
            ASSERT_EQ(back.value("section", key), value) << doc.toText().toStdString();
        }
    }
}

// Damaged input of any kind gives some document, and writing that document back and reading it again
// changes nothing more.
TEST(IniFile, RandomAndTruncatedInputParsesToAStableDocument)
{
    std::mt19937 random(7);
    const QString sample =
        "[Main]\nCurrentLayout=2\nMP3Folder=/home/u/mp3/\n\n[Layout2]\n1Position=1|1|2000|9000\n"
        "2TransName=English - Oskarine\n[EQ]\nUsr=Rock|1|2|3\\n\n";
    const QString alphabet = QString::fromUtf8("[]=;#\\\r\n ab\xC3\xA9");
    for (int round = 0; round < 2000; ++round) {
        QString text;
        if (round % 2 == 0) {
            text = sample.left(std::uniform_int_distribution<int>(0, static_cast<int>(sample.size()))(random));
        } else {
            text = randomText(random, 80, alphabet);
        }
        const IniFile doc = IniFile::parse(text, true);
        const QString written = doc.toText();
        ASSERT_EQ(IniFile::parse(written, true).toText(), written) << text.toStdString();
        (void)IniFile::parse(text).toText();
    }
}

}  // namespace
}  // namespace lumora

// Text packages: configuration, opening formulas, the information page and the list of installed texts.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "text/displayproperties.h"
#include "text/installedtexts.h"
#include "textfixture.h"

namespace lumora {
namespace {

using test::latin1;
using test::ProgramFolder;
using test::utf16Le;

const QString kInfoStart =
    R"(<html><head> <meta content="text/html; charset=ISO-8859-1" http-equiv="content-type"> <title>Keyboard shortvuts</title><style type="text/css">body{font-family:Arial;font-size:90%;Background:#E3EEE3;scrollbar-face-color: #E3EEE3;scrollbar-arrow-color: #000000;scrollbar-highlight-color: #000000;scrollbar-3dlight-color: #E3EEE3;scrollbar-shadow-color: #000000;scrollbar-darkshadow-color: #C6FFFF;scrollbar-track-color: #E3EEE3;}</STYLE></head><body SCROLL = "auto" onContextMenu="return false;"><span style="font-weight: bold; text-decoration: underline;">)";
const QString kInfoMiddle =
    R"( </span><br><table style="text-align: left; width: 100%;" border="1"  style="border-collapse: collapse" cellpadding="2" cellspacing="2" bordercolor="#111111" ><tbody>)";
const QString kInfoEnd = "</tbody></table><br></body></html>";

QString row(const QString& key, const QString& value) {
    return QString(R"(<TR><TD width="50%">)") + key + R"(</TD><TD width="50%">)" + value + "</TD></TR>";
}

const QByteArray kFullConfig =
    "[Main]\nIsUnicode=TRUE\nIsRTL=1\nMoreInfoAvailable=false\nButtonCaption=Saheeh\n"
    "WindowCaption=Saheeh  International translation\nFont=\"Amiri Quran\"\nWordByWordDataFile=wbw.dat\n"
    "FontUsePercentage=0\nAdditionalStyles=p{margin:0}\n[info]\nTranslator=Saheeh International\nYear=1997\n";

class TextPackageTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    DisplayProperties pane{folder.path()};
};

TEST_F(TextPackageTest, FullConfigurationIsRead) {
    folder.writePackage("Saheeh", {{"config.ini", latin1(kFullConfig)},
                                   {"bismi.txt", utf16Le("NA In the name")},
                                   {"bismi1.txt", utf16Le("Sura one formula")}});
    ASSERT_TRUE(pane.setTransName("Saheeh").ok());
    EXPECT_TRUE(pane.isUnicode());
    EXPECT_TRUE(pane.rightToLeft());
    EXPECT_FALSE(pane.moreInfoAvailable());
    EXPECT_FALSE(pane.fontUsePercentage());
    EXPECT_EQ(pane.buttonCaption(), "Saheeh");
    EXPECT_EQ(pane.fontFace(), "Amiri Quran");
    EXPECT_EQ(pane.wordByWordDataFile(), "wbw.dat");
    EXPECT_EQ(pane.additionalStyles(), "p{margin:0}");
    // The "NA" mark counts only in ANSI packages.
    EXPECT_EQ(pane.bismiText(), "NA In the name");
    EXPECT_EQ(pane.bismiForSura1(), "Sura one formula");
    EXPECT_EQ(pane.additionalInfo(), kInfoStart + "Saheeh&nbsp;Internationaltranslation" + kInfoMiddle +
                                         row("Translator", "Saheeh International") + row("Year", "1997") + kInfoEnd);
}

TEST_F(TextPackageTest, PackageWithoutConfigurationUsesItsNameAndForgetsThePrevious) {
    folder.writePackage("Saheeh", {{"config.ini", latin1(kFullConfig)}, {"bismi.txt", utf16Le("formula")}});
    folder.writePackage("Plain", {{"bismi.txt", latin1("\x93quoted\x94\r\n")}});
    ASSERT_TRUE(pane.setTransName("Saheeh").ok());
    ASSERT_TRUE(pane.setTransName("Plain").ok());
    EXPECT_EQ(pane.buttonCaption(), "Plain");
    EXPECT_EQ(pane.windowCaption(), "Plain");
    EXPECT_FALSE(pane.rightToLeft());
    EXPECT_FALSE(pane.isUnicode());
    EXPECT_EQ(pane.fontFace(), "");
    EXPECT_EQ(pane.wordByWordDataFile(), "");
    EXPECT_EQ(pane.infoText(), "");
    // Windows-1252 quotes; nothing is stripped.
    EXPECT_EQ(pane.bismiText(), QString(QChar(0x201C)) + "quoted" + QChar(0x201D) + "\r\n");
    EXPECT_EQ(pane.bismiForSura1(), pane.bismiText());
}

TEST_F(TextPackageTest, OpeningFormulaRules) {
    folder.writePackage("Marked", {{"bismi.txt", latin1("NA")}, {"bismi1.txt", latin1("first")}});
    folder.writePackage("None", {{"config.ini", latin1("[Main]\nIsUnicode=false\n")}});
    ASSERT_TRUE(pane.setTransName("Marked").ok());
    EXPECT_EQ(pane.bismiText(), "");
    EXPECT_EQ(pane.bismiForSura1(), "first");
    // A package without formulas shows none, not the previous package's.
    ASSERT_TRUE(pane.setTransName("None").ok());
    EXPECT_EQ(pane.bismiText(), "");
    EXPECT_EQ(pane.bismiForSura1(), "");
}

TEST_F(TextPackageTest, BadBooleanStopsReadingAndIsReported) {
    folder.writePackage("Good", {{"config.ini", latin1("[Main]\nAdditionalStyles=old\n")}, {"bismi.txt", latin1("b")}});
    folder.writePackage("Bad", {{"config.ini", latin1("[Main]\nIsRTL=TrUe\nFont=Face\nFontUsePercentage=maybe\n"
                                                      "AdditionalStyles=new\n")},
                                {"bismi.txt", latin1("other")}});
    ASSERT_TRUE(pane.setTransName("Good").ok());
    const Result<void> bad = pane.setTransName("Bad");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(DisplayProperties::failureMessage(bad.error()),
              "Error 13 (Type mismatch) in procedure TransName of Class Module clsWBProperty 3");
    EXPECT_EQ(pane.transName(), "Bad");
    EXPECT_TRUE(pane.rightToLeft());
    EXPECT_EQ(pane.fontFace(), "Face");
    EXPECT_EQ(pane.buttonCaption(), "Bad");
    EXPECT_EQ(pane.additionalStyles(), "old");
    EXPECT_EQ(pane.bismiText(), "b");

    // A key present with an empty value is an empty text, which is no boolean either.
    folder.writePackage("Empty", {{"config.ini", latin1("[Main]\nIsUnicode=\n")}});
    EXPECT_FALSE(pane.setTransName("Empty").ok());
}

TEST_F(TextPackageTest, SameNameReloadsNothingAndMissingPackageChangesNothing) {
    folder.writePackage("T", {{"config.ini", latin1("[Main]\nButtonCaption=first\n")}});
    ASSERT_TRUE(pane.setTransName("T").ok());
    folder.writePackage("T", {{"config.ini", latin1("[Main]\nButtonCaption=second\n")}});
    ASSERT_TRUE(pane.setTransName("T").ok());
    EXPECT_EQ(pane.buttonCaption(), "first");

    ASSERT_TRUE(pane.setTransName("Gone").ok());
    EXPECT_EQ(pane.transName(), "Gone");
    EXPECT_EQ(pane.buttonCaption(), "first");
    ASSERT_TRUE(pane.setTransName("T").ok());
    EXPECT_EQ(pane.buttonCaption(), "second");
}

TEST_F(TextPackageTest, InformationPageEntries) {
    folder.writePackage("Info", {{"config.ini", latin1("[Main]\nWindowCaption=A B\n[info]\nk1=v=1\nlonely=\n")}});
    ASSERT_TRUE(pane.setTransName("Info").ok());
    EXPECT_EQ(pane.additionalInfo(), kInfoStart + "AB" + kInfoMiddle + row("k1", "v=1") + row("lonely", "") + kInfoEnd);

    DisplayProperties empty(folder.path());
    EXPECT_EQ(empty.additionalInfo(), kInfoStart + kInfoMiddle + kInfoEnd);
}

TEST(InstalledTextsTest, ListsPackagesByTheirNames) {
    ProgramFolder folder;
    const QString tdata = folder.path() + "/data/tdata/";
    for (const char* file : {"A.dat", "my.data.dat", "B.DAT", "notes.txt"}) {
        QFile f(tdata + QString::fromLatin1(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir(tdata).mkdir("Folder.dat");
    InstalledTexts texts(folder.path());
    EXPECT_TRUE(texts.names().isEmpty());
    texts.reload();
    QStringList names = texts.names();
    names.sort();
    EXPECT_EQ(names, QStringList({"A", "my.data"}));
    EXPECT_EQ(texts.name(2), "");
    EXPECT_TRUE(InstalledTexts::scan(folder.path() + "/missing").isEmpty());
}

// Texts the user adds in $XDG_DATA_HOME/lumora/tdata are listed after the program folder's and open from
// there; a name the program folder holds too stays the program folder's.
TEST(InstalledTextsTest, TheUsersOwnTextsAreListedBesideTheInstalledOnes) {
    ProgramFolder installed;
    QTemporaryDir userData;
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", userData.path().toLocal8Bit());
    ProgramFolder added;  // its data/tdata is not the user's folder; only the files are copied there
    added.writePackage("Mine", {{"config.ini", latin1("[Main]\nButtonCaption=mine\n")}});
    added.writePackage("Shared", {{"config.ini", latin1("[Main]\nButtonCaption=user's\n")}});
    installed.writePackage("Shared", {{"config.ini", latin1("[Main]\nButtonCaption=installed\n")}});
    const QString userFolder = userData.path() + "/lumora/tdata";
    ASSERT_EQ(InstalledTexts::userFolder(), userFolder);
    ASSERT_TRUE(QDir().mkpath(userFolder));
    for (const char* name : {"Mine.dat", "Shared.dat"}) {
        ASSERT_TRUE(QFile::copy(added.path() + "/data/tdata/" + name, userFolder + "/" + name));
    }

    EXPECT_EQ(InstalledTexts::scan(installed.path()), QStringList({"Shared", "Mine"}));
    DisplayProperties pane(installed.path());
    ASSERT_TRUE(pane.setTransName("Mine").ok());
    EXPECT_EQ(pane.buttonCaption(), "mine");
    EXPECT_EQ(pane.packagePath(), userFolder + "/Mine.dat");
    ASSERT_TRUE(pane.setTransName("Shared").ok());
    EXPECT_EQ(pane.buttonCaption(), "installed");

    if (savedDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedDataHome);
}

}  // namespace
}  // namespace lumora

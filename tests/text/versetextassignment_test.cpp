// The verse texts of the four panes: slot rules of the sura texts and word-by-word lines, failures of a
// load, showing a slot, and the pane logic the window calls.
#include <gtest/gtest.h>

#include "text/versetextassignment.h"
#include "textfixture.h"

namespace lumora {
namespace {

using test::latin1;
using test::numberedLines;
using test::ProgramFolder;
using test::RecordingView;
using test::utf16Le;

const QChar kBullet(0x2022);

QString meanings(const QString& tag, int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines.append(QStringLiteral("0%1%2%3|").arg(kBullet).arg(tag).arg(i));
    return lines.join(u'\n');
}

class VerseTextAssignmentTest : public ::testing::Test {
protected:
    VerseTextAssignmentTest() {
        folder.writePackage("Arabic", {{"config.ini", latin1("[Main]\nIsUnicode=1\nIsRTL=1\nWordByWordDataFile=wbw.dat\n")},
                                       {"bismi.txt", utf16Le("ar-bismi")},
                                       {"bismi1.txt", utf16Le("ar-first")},
                                       {"001.txt", utf16Le(numberedLines("ar", 6) + "\n")},
                                       {"002.txt", utf16Le(numberedLines("ar", 4) + "\n")},
                                       {"009.txt", utf16Le(numberedLines("ar", 3))}});
        folder.writePackage("English", {{"bismi.txt", latin1("en-bismi")},
                                        {"002.txt", latin1("one\r\ntwo\r\nthree\r\nfour")}});
        folder.writePackage("Short", {{"002.txt", latin1("only\nthese")}, {"009.txt", latin1("nine")}});
        folder.writeArchive("wbw.dat", {{"001.txt", utf16Le(meanings("A", 6))},
                                        {"002.txt", utf16Le(meanings("A", 4))}});
        folder.writeArchive("other.dat", {{"002.txt", utf16Le(meanings("B", 4))}});
        for (int pane = 1; pane <= 4; ++pane) assignment.pane(pane).setPageView(&views[pane - 1]);
    }

    void assign(const QStringList& names) {
        for (int pane = 1; pane <= 4; ++pane) ASSERT_TRUE(assignment.assignTrans(pane, names[pane - 1]).ok());
    }

    ProgramFolder folder;
    VerseTextAssignment assignment{folder.path()};
    std::array<RecordingView, 4> views;
};

TEST_F(VerseTextAssignmentTest, SlotRulesOfTheThreeKindsOfSura) {
    assign({"Arabic", "English", "Gone", "Arabic"});
    ASSERT_TRUE(assignment.loadSuraTexts(2, 5).ok());
    EXPECT_EQ(assignment.paneText(0, 1), "ar-bismi");
    EXPECT_EQ(assignment.paneText(1, 1), "v1 ar");
    EXPECT_EQ(assignment.paneText(4, 1), "v4 ar");
    EXPECT_EQ(assignment.paneText(0, 2), "en-bismi");
    EXPECT_EQ(assignment.paneText(1, 2), "one\r");  // a CR before the LF stays
    EXPECT_EQ(assignment.paneText(4, 2), "four");
    EXPECT_EQ(assignment.paneText(3, 3), "");        // a missing package leaves its pane empty
    EXPECT_EQ(assignment.wordByWordLine(0), DisplayProperties::kOpeningFormulaWordByWord);
    EXPECT_EQ(assignment.wordByWordLine(1), "0" + QString(kBullet) + "A1|");

    EXPECT_FALSE(assignment.loadSuraTexts(1, 7).ok());  // English has no 001.txt
    EXPECT_EQ(assignment.paneText(0, 1), "ar-first");
    EXPECT_EQ(assignment.paneText(1, 1), "v1 ar");
    EXPECT_EQ(assignment.wordByWordLine(0), DisplayProperties::kOpeningFormulaWordByWord);
    EXPECT_EQ(assignment.wordByWordLine(6), "0" + QString(kBullet) + "A6|");

    // The word meanings do not cover sura 9: no meanings, and no failure for them.
    const Result<void> nine = assignment.loadSuraTexts(9, 3);
    ASSERT_FALSE(nine.ok());
    EXPECT_EQ(QString::fromStdString(nine.error().description),
              "The text \"English\" has no text for sura 9 (009.txt is missing from its package).");
    EXPECT_EQ(assignment.paneText(0, 1), "v1 ar");
    EXPECT_EQ(assignment.paneText(2, 1), "v3 ar");
    EXPECT_EQ(assignment.wordByWordLine(0), "");
    EXPECT_EQ(assignment.paneText(1, 2), "");  // nothing is left over from sura 1
}

TEST_F(VerseTextAssignmentTest, LastPaneWithWordByWordDataWins) {
    folder.writePackage("Other", {{"config.ini", latin1("[Main]\nWordByWordDataFile=other.dat\n")},
                                  {"002.txt", latin1(numberedLines("o", 4).toLatin1())}});
    assign({"Arabic", "Other", "English", "English"});
    ASSERT_TRUE(assignment.loadSuraTexts(2, 5).ok());
    EXPECT_EQ(assignment.wordByWordLine(2), "0" + QString(kBullet) + "B2|");
}

TEST_F(VerseTextAssignmentTest, FailuresKeepWhatWasFilledAndAreReportedTogether) {
    folder.writePackage("NoMeanings", {{"config.ini", latin1("[Main]\nWordByWordDataFile=absent.dat\n")},
                                       {"002.txt", latin1("a\nb\nc\nd")}});
    assign({"Arabic", "Short", "NoMeanings", "English"});
    const Result<void> loaded = assignment.loadSuraTexts(2, 5);
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.error().number, VerseTextAssignment::kTooFewLines);
    EXPECT_EQ(QString::fromStdString(loaded.error().description),
              "The text \"Short\" has 2 lines for sura 2, but 4 are needed; the last 2 verses stay empty.\n"
              "The word-by-word file \"absent.dat\" of the text \"NoMeanings\" is missing.");
    EXPECT_EQ(assignment.paneText(2, 2), "these");
    EXPECT_EQ(assignment.paneText(3, 2), "");
    EXPECT_EQ(assignment.paneText(4, 3), "d");
    EXPECT_EQ(assignment.paneText(4, 4), "four");
    EXPECT_EQ(assignment.wordByWordLine(4), "0" + QString(kBullet) + "A4|");

    assign({"Arabic", "Arabic", "Arabic", "Short"});
    const Result<void> missing = assignment.loadSuraTexts(1, 7);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(QString::fromStdString(missing.error().description),
              "The text \"Short\" has no text for sura 1 (001.txt is missing from its package).");
    EXPECT_FALSE(assignment.loadSuraTexts(115, 3).ok());
}

TEST_F(VerseTextAssignmentTest, SetTextShowsOneSlotInAllPanes) {
    assign({"Arabic", "English", "Gone", "Gone"});
    ASSERT_TRUE(assignment.loadSuraTexts(2, 5).ok());
    std::vector<std::pair<int, bool>> hints;
    QObject::connect(&assignment, &VerseTextAssignment::wordByWordHintChanged,
                     [&hints](int pane, bool visible) { hints.emplace_back(pane, visible); });
    assignment.setText(1);
    EXPECT_EQ(hints, (std::vector<std::pair<int, bool>>{{1, true}, {2, false}, {3, false}, {4, false}}));
    EXPECT_TRUE(views[0].page().contains(R"(href="A1">v1 </A> ar )"));
    EXPECT_TRUE(views[0].page().startsWith(R"(<HTML Dir="RTL">)"));
    EXPECT_TRUE(views[1].page().contains(">one\r\r\n</BODY>"));
    EXPECT_EQ(assignment.pane(2).wordByWordText(), "");
    EXPECT_EQ(assignment.shownSlot(), 1);

    const int writes = views[0].writes();
    assignment.setText(5);
    assignment.setText(-1);
    EXPECT_EQ(views[0].writes(), writes);
    EXPECT_EQ(assignment.shownSlot(), 1);

    // Font size: up rebuilds the shown slot; down stops at 1.
    assignment.increaseFontSize(1);
    EXPECT_TRUE(views[0].page().contains("font-size: 3px;"));
    EXPECT_TRUE(assignment.decreaseFontSize(1));
    EXPECT_TRUE(assignment.decreaseFontSize(1));
    const int atOne = views[0].writes();
    EXPECT_FALSE(assignment.decreaseFontSize(1));
    EXPECT_EQ(views[0].writes(), atOne);
    EXPECT_EQ(assignment.pane(1).fontSize(), 1);
}

TEST_F(VerseTextAssignmentTest, AssignTransGivesCaptionsOrItsMessage) {
    folder.writePackage("Bad", {{"config.ini", latin1("[Main]\nButtonCaption=Bad text\nIsRTL=sometimes\n")}});
    const Result<VerseTextAssignment::PaneAssignment> good = assignment.assignTrans(3, "English");
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(good.value().buttonCaption, "English");
    EXPECT_EQ(good.value().windowCaption, "English ");
    EXPECT_EQ(good.value().menuCaption, "&3. English");
    EXPECT_EQ(good.value().failureMessage, "");

    const Result<VerseTextAssignment::PaneAssignment> bad = assignment.assignTrans(2, "Bad");
    ASSERT_TRUE(bad.ok());
    EXPECT_EQ(bad.value().failureMessage,
              "Error 13 (Type mismatch) in procedure TransName of Class Module clsWBProperty 3");

    const Result<VerseTextAssignment::PaneAssignment> outside = assignment.assignTrans(5, "English");
    ASSERT_FALSE(outside.ok());
    EXPECT_EQ(VerseTextAssignment::failureMessage(outside.error()),
              "Error 9 (Subscript out of range) in procedure AssignTrans of Form frmMainNew 1");

    const VerseTextAssignment::HeaderRow row = VerseTextAssignment::headerRow({60, 1000, 300, 200, 250});
    EXPECT_EQ(row.transMenuLeftTw, 1160);
    EXPECT_EQ(row.plusLeftTw, 1480);
    EXPECT_EQ(row.minusLeftTw, 1700);
    EXPECT_EQ(row.copyLeftTw, 1970);
}

TEST(PaneLogic, CopyTipAndClickTargets) {
    EXPECT_EQ(VerseTextAssignment::copyText("a\r\n\r\n\r\nb\r\n\r\n"), "a\r\n\r\nb\r\n");
    EXPECT_EQ(VerseTextAssignment::toolTipText("about:(of) Allah,"), "(of) Allah,");
    EXPECT_EQ(VerseTextAssignment::toolTipText("Done"), std::nullopt);
    EXPECT_EQ(VerseTextAssignment::toolTipText(""), std::nullopt);
    EXPECT_EQ(VerseTextAssignment::toolTipText("about:"), std::nullopt);
    using Request = VerseTextAssignment::PlayRequest;
    EXPECT_EQ(VerseTextAssignment::playRequest("about:blankclick"), Request::CurrentVerse);
    EXPECT_EQ(VerseTextAssignment::playRequest("right"), Request::NextVerse);
    EXPECT_EQ(VerseTextAssignment::playRequest("Click"), Request::None);
}

}  // namespace
}  // namespace lumora

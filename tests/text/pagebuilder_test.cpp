// The page of a text pane, compared whole against pages composed here from the page templates.
#include <gtest/gtest.h>

#include "text/displayproperties.h"
#include "textfixture.h"

namespace lumora {
namespace {

using test::RecordingView;

const QString kCrLf = QStringLiteral("\r\n");
const QChar kBullet(0x2022);
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kOrange = 255 + 128 * 256;        // red 255, green 128, blue 0
constexpr uint32_t kPaneGreen = 227 + 238 * 256 + 227 * 65536;

QString scrollStyle(const QString& b, const QString& s) {
    return "scrollbar-face-color: #" + b + ";" + kCrLf + "scrollbar-arrow-color: #" + s + ";" + kCrLf +
           "scrollbar-highlight-color: #" + s + ";" + kCrLf + "scrollbar-3dlight-color: #" + b + ";" + kCrLf +
           "scrollbar-shadow-color: #" + s + ";" + kCrLf + "scrollbar-darkshadow-color: #" + b + ";" + kCrLf +
           "scrollbar-track-color: #" + b + "; ";
}

QString expectedPage(const QString& dir, const QString& back, const QString& scroll, const QString& fontStyle,
                     const QString& additionalStyles, const QString& text) {
    const QString style = QString(R"(<style type="text/css"> body{border-width: 0px; )") + scrollStyle(back, scroll) +
                          "; " + fontStyle + "} " + additionalStyles + " " +
                          R"( a:link {color:#000000;} a:visited {color:#000000;} a:hover {color:#000000;background-color:#C0EEC0;}   a:active {color:#000000;})" +
                          " </STYLE>";
    const QString events =
        R"(onclick="javascript:document.location.href ='click';" onContextMenu="javascript:document.location.href ='right';")";
    return QString(R"(<HTML Dir=")") + dir + R"("><HEAD>)" + style +
           R"(</HEAD><BODY TOPMARGIN = 5 LEftMARGIN = 5 BOTTOMMARGIN = 5 RIGHTMARGIN = 5 BGCOLOR = )" + back +
           R"( SCROLL = "auto" )" + events + ">" + text + kCrLf + "</BODY></HTML>";
}

QString link(const QString& fore, const QString& meaning, const QString& words) {
    return QString(R"(<A style="text-decoration:none; color:#)") + fore + R"(;" href=")" + meaning + R"(">)" + words +
           "</A> ";
}

class PageBuilderTest : public ::testing::Test {
protected:
    PageBuilderTest() : pane(QStringLiteral("/nonexistent")) { pane.setPageView(&view); }
    DisplayProperties pane;
    RecordingView view;
};

TEST_F(PageBuilderTest, LeftToRightPageWithoutFontFace) {
    pane.setFontSize(33);
    pane.setBackColour(kWhite);
    pane.setForeColour(0);
    pane.setDisplayText(QStringLiteral("In the name"));
    EXPECT_EQ(view.page(), expectedPage("LTR", "FFFFFF", "404040", "font-size: 33px;color:#000000;", "", "In the name"));
    EXPECT_EQ(view.calls().mid(view.calls().size() - 3), QStringList({"clear", "write", "close"}));
    EXPECT_EQ(view.writes(), 3);  // each colour and the text rebuild at once
}

TEST_F(PageBuilderTest, RightToLeftPageWithFontFaceAndColours) {
    pane.setRightToLeft(true);
    pane.setFontFace(QStringLiteral("Amiri Quran"));
    pane.setFontSize(17.5);
    pane.setForeColour(kOrange);
    pane.setBackColour(kPaneGreen);
    // Means 241, 183, 113.5 -> 114; halves 120.5 -> 120, 91.5 -> 92, 57: halves go to the even neighbour.
    EXPECT_EQ(pane.scrollBarColor(), "785C39");
    EXPECT_EQ(view.page(), expectedPage("RTL", "E3EEE3", "785C39",
                                        R"(font-size: 17.5px;color:#FF8000;font-family:"Amiri Quran";)", "", ""));
}

TEST_F(PageBuilderTest, FontAndDirectionShowOnlyWithTheNextBuild) {
    pane.setDisplayText(QStringLiteral("x"));
    const int writes = view.writes();
    pane.setFontSize(40);
    pane.setRightToLeft(true);
    pane.setWordByWordText(QStringLiteral("0") + kBullet + "m|");
    EXPECT_EQ(view.writes(), writes);
    EXPECT_TRUE(view.page().startsWith(R"(<HTML Dir="LTR">)"));
}

TEST_F(PageBuilderTest, PlaceholdersInsideReplacementsOnlyMeetLaterSteps) {
    pane.setForeColour(kOrange);
    pane.setAdditionalStyles(QStringLiteral("p{color:##ForeColor##} ##DIR## ##TEXT##"));
    pane.setDisplayText(QStringLiteral("T"));
    EXPECT_TRUE(view.page().contains("p{color:##ForeColor##} LTR T"));
}

TEST_F(PageBuilderTest, WordByWordLineLinksWordGroups) {
    pane.setForeColour(0);
    pane.setWordByWordText("1" + QString(kBullet) + "M1|0" + kBullet + "M2|");
    pane.setDisplayText(QStringLiteral("W1 W2 W3 W4"));
    const QString linked = link("000000", "M1", "W1 W2 ") + link("000000", "M2", "W3 ") + "W4 ";
    EXPECT_EQ(pane.displayText(), linked);
    EXPECT_EQ(view.page(), expectedPage("LTR", "", "000000", "font-size: 2px;color:#000000;", "", linked));

    // A colour change rebuilds with the links already made, in their earlier colour.
    pane.setForeColour(kOrange);
    EXPECT_EQ(pane.displayText(), linked);
    EXPECT_TRUE(view.page().contains(">" + linked + kCrLf));
}

TEST_F(PageBuilderTest, BlankWordByWordLineLeavesTextUnlinked) {
    pane.setWordByWordText(QStringLiteral("   "));
    pane.setDisplayText(QStringLiteral(" W1  W2 "));
    EXPECT_EQ(pane.displayText(), " W1  W2 ");
    EXPECT_FALSE(view.page().contains("<A "));
}

TEST(WordLinks, GroupsNeverRunPastTheLastWord) {
    const QString b(kBullet);
    // Count 5 over three words: the group holds the words that exist, later items find none.
    EXPECT_EQ(DisplayProperties::linkWords("a b c", "5" + b + "M|0" + b + "N|", "000000"), link("000000", "M", "a b c "));
    // A negative count still takes one word; items without a bullet are skipped.
    EXPECT_EQ(DisplayProperties::linkWords("a b", "-3" + b + "M|junk|x" + b + "N|", "1"), link("1", "M", "a ") + link("1", "N", "b "));
    EXPECT_EQ(DisplayProperties::linkWords("", "0" + b + "M|", "0"), "");
    EXPECT_EQ(DisplayProperties::linkWords(QChar(0xFEFF) + QString(" a "), "0" + b + "M|", "0"), link("0", "M", "a "));
}

TEST(WordLinks, CleaningRemovesMarksAndQuotes) {
    const QString dirty = QChar(0xFEFF) + QString("0") + kBullet + "say \"yes\"|\r\n0" + kBullet + "n|\r";
    EXPECT_EQ(DisplayProperties::cleanWordByWord(dirty), "0" + QString(kBullet) + "say 'yes'|0" + kBullet + "n|\r");
}

TEST(Colours, HtmlDigitsComponentsAndScrollBar) {
    EXPECT_EQ(DisplayProperties::vbToHtmlColor(kOrange), "FF8000");
    EXPECT_EQ(DisplayProperties::vbToHtmlColor(0x010203), "030201");
    EXPECT_EQ(DisplayProperties::getRGB(kPaneGreen, 1), 227);
    EXPECT_EQ(DisplayProperties::getRGB(kPaneGreen, 2), 238);
    EXPECT_EQ(DisplayProperties::getRGB(kOrange, 3), 0);
    EXPECT_EQ(DisplayProperties::getRGB(kOrange, 0), -1);
    EXPECT_EQ(DisplayProperties::getRGB(kOrange, 4), -1);
    EXPECT_EQ(DisplayProperties::getRGB(0x1000000, 1), -1);
    EXPECT_EQ(DisplayProperties::getRGB(0xFFFFFFFF, 2), -1);

    DisplayProperties pane(QStringLiteral("/nonexistent"));
    pane.setBackColour(kWhite);
    pane.setForeColour(0);
    EXPECT_EQ(pane.scrollBarColor(), "404040");  // round(round(127.5) / 2) = 64
    EXPECT_EQ(pane.backColour(), kWhite);
    EXPECT_EQ(pane.backColourHtml(), "FFFFFF");
}

}  // namespace
}  // namespace lumora

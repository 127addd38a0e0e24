#include "controls/textpane.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

#include "widgetinput.h"

namespace lumora {
namespace {

const QColor kBackground(57, 49, 57);
const QString kArabicVerse = QString::fromUtf8(
    "\xd8\xa8\xd9\x90\xd8\xb3\xd9\x92\xd9\x85\xd9\x90 \xd9\xb1\xd9\x84\xd9\x84\xd9\x8e\xd9\x91\xd9\x87\xd9\x90 "
    "\xd9\xb1\xd9\x84\xd8\xb1\xd9\x8e\xd9\x91\xd8\xad\xd9\x92\xd9\x85\xd9\x8e\xd9\xb0\xd9\x86\xd9\x90");

// A pane page as the page builder writes it: the colour without "#", body events, margins the view ignores.
QString page(const QString& direction, const QString& text, const QString& fontFace = QString()) {
    QString fontStyle = QStringLiteral("font-size: 40px;color:#E3EEE3;");
    if (!fontFace.isEmpty()) fontStyle += QStringLiteral("font-family:\"%1\";").arg(fontFace);
    return QStringLiteral("<HTML Dir=\"%1\"><HEAD><style type=\"text/css\"> body{border-width: 0px; "
                          "scrollbar-face-color: #393139;\r\nscrollbar-track-color: #393139; ; %2}  "
                          "a:link {color:#000000;} a:hover {color:#000000;background-color:#C0EEC0;} </STYLE>"
                          "</HEAD><BODY TOPMARGIN = 5 LEftMARGIN = 5 BOTTOMMARGIN = 5 RIGHTMARGIN = 5 "
                          "BGCOLOR = 393139 SCROLL = \"auto\" onclick=\"javascript:document.location.href "
                          "='click';\" onContextMenu=\"javascript:document.location.href ='right';\">%3\r\n"
                          "</BODY></HTML>")
        .arg(direction, fontStyle, text);
}

QString wordLink(const QString& meaning, const QString& words) {
    return QStringLiteral("<A style=\"text-decoration:none; color:#E3EEE3;\" href=\"%1\">%2</A> ").arg(meaning, words);
}

void show(TextPane& pane, const QString& html) {
    pane.clear();
    pane.write(html);
    pane.close();
}

// Ink is any pixel that is not the background; returns the counts left and right of the middle.
std::pair<int, int> inkByHalf(TextPane& pane) {
    const QImage image = pane.grab().toImage();
    int left = 0;
    int right = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == kBackground) continue;
            (x < image.width() / 2 ? left : right) += 1;
        }
    }
    return {left, right};
}

// The middle of the character at `offset` in the pane's text, in viewport coordinates.
QPoint characterCentre(TextPane& pane, int offset) {
    QTextCursor cursor(pane.document());
    cursor.setPosition(offset);
    const QRect before = pane.cursorRect(cursor);
    cursor.setPosition(offset + 1);
    const QRect after = pane.cursorRect(cursor);
    return QPoint((before.center().x() + after.center().x()) / 2, before.center().y());
}

QPoint wordCentre(TextPane& pane, const QString& word) {
    const int offset = static_cast<int>(pane.toPlainText().indexOf(word));
    EXPECT_GE(offset, 0) << word.toStdString();
    return characterCentre(pane, offset + 1);
}

TEST(TextPaneTest, ShowsAnArabicVerseRightToLeftOnThePageBackground) {
    ASSERT_TRUE(QFontDatabase::families().contains("Amiri Quran")) << "the Amiri Quran font is not installed";
    TextPane pane;
    pane.resize(900, 160);
    pane.show();
    const QString html = page("RTL", kArabicVerse, "Amiri Quran");
    show(pane, html);

    EXPECT_EQ(pane.page(), html);
    EXPECT_EQ(pane.frameShape(), QFrame::NoFrame);
    EXPECT_FALSE(pane.openLinks());
    EXPECT_EQ(pane.document()->documentMargin(), TextPane::kDocumentMarginPx);
    const QTextCharFormat format = pane.document()->begin().begin().fragment().charFormat();
    EXPECT_TRUE(format.fontFamilies().toStringList().contains("Amiri Quran"));
    const QImage image = pane.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), kBackground);
    EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), kBackground);
    const auto [left, right] = inkByHalf(pane);
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 200);
    EXPECT_EQ(pane.plainText().trimmed(), kArabicVerse);
}

TEST(TextPaneTest, PageDirectionPlacesLatinTextToo) {
    TextPane pane;
    pane.resize(900, 160);
    pane.show();
    show(pane, page("LTR", "In the name"));
    auto [left, right] = inkByHalf(pane);
    EXPECT_GT(left, 200);
    EXPECT_EQ(right, 0);
    show(pane, page("RTL", "In the name"));
    std::tie(left, right) = inkByHalf(pane);
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 200);
}

TEST(TextPaneTest, HoveredWordLinkReportsItsExactMeaningAndIsHighlighted) {
    TextPane pane;
    pane.resize(900, 160);
    pane.show();
    const QString meaning1 = QStringLiteral("50% of 'it' #1");
    const QString meaning2 = QStringLiteral("say \"hi\" #2 %20");
    show(pane, page("LTR", wordLink(meaning1, "Wone Wtwo ") + wordLink("say &quot;hi&quot; #2 %20", "Wthree ") +
                               "Wfour "));
    std::vector<QString> reported;
    QObject::connect(&pane, &TextPane::statusTextChanged, [&reported](const QString& text) { reported.push_back(text); });

    test::dragTo(pane.viewport(), wordCentre(pane, "Wtwo"), Qt::NoButton);
    EXPECT_EQ(pane.statusText(), meaning1);
    ASSERT_EQ(pane.extraSelections().size(), 1);
    const QTextEdit::ExtraSelection highlight = pane.extraSelections().front();
    EXPECT_EQ(highlight.cursor.selectedText(), "Wone Wtwo ");
    EXPECT_EQ(highlight.format.background().color(), TextPane::hoverColour());
    const QImage image = pane.grab().toImage();
    const QPoint inWord = wordCentre(pane, "Wone");
    bool highlighted = false;
    for (int y = 0; y < image.height(); ++y) highlighted = highlighted || image.pixelColor(inWord.x(), y) == TextPane::hoverColour();
    EXPECT_TRUE(highlighted);

    test::dragTo(pane.viewport(), wordCentre(pane, "Wone"), Qt::NoButton);  // same link: nothing new
    test::dragTo(pane.viewport(), wordCentre(pane, "Wthree"), Qt::NoButton);
    EXPECT_EQ(pane.statusText(), meaning2);
    EXPECT_EQ(pane.extraSelections().front().cursor.selectedText(), "Wthree ");
    test::dragTo(pane.viewport(), wordCentre(pane, "Wfour"), Qt::NoButton);
    EXPECT_EQ(pane.statusText(), "");
    EXPECT_TRUE(pane.extraSelections().isEmpty());
    test::dragTo(pane.viewport(), wordCentre(pane, "Wthree"), Qt::NoButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(pane.viewport(), &leave);
    EXPECT_EQ(reported, (std::vector<QString>{meaning1, meaning2, "", meaning2, ""}));

    // A new page drops the old page's link.
    test::dragTo(pane.viewport(), wordCentre(pane, "Wone"), Qt::NoButton);
    show(pane, page("LTR", "Plain"));
    EXPECT_EQ(pane.statusText(), "");
    EXPECT_TRUE(pane.extraSelections().isEmpty());
}

TEST(TextPaneTest, ReleasedButtonsAskForClickOrRightAndNeverNavigate) {
    TextPane pane;
    pane.resize(600, 120);
    pane.show();
    const QString html = page("LTR", wordLink("meaning #1", "Wone ") + "Wtwo ");
    show(pane, html);
    std::vector<QString> requests;
    std::vector<QString> links;
    QObject::connect(&pane, &TextPane::navigationRequested, [&requests](const QString& target) { requests.push_back(target); });
    QObject::connect(&pane, &TextPane::linkClicked, [&links](const QString& target) { links.push_back(target); });

    test::click(pane.viewport(), wordCentre(pane, "Wtwo"));
    test::click(pane.viewport(), wordCentre(pane, "Wone"));
    test::click(pane.viewport(), wordCentre(pane, "Wtwo"), Qt::RightButton);
    test::click(pane.viewport(), wordCentre(pane, "Wone"), Qt::MiddleButton);
    EXPECT_EQ(requests, (std::vector<QString>{"click", "click", "right"}));
    EXPECT_EQ(links, (std::vector<QString>{"meaning #1"}));
    EXPECT_EQ(pane.page(), html);
    EXPECT_TRUE(pane.source().isEmpty());

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), pane.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(pane.viewport(), &menu);
    EXPECT_TRUE(menu.isAccepted());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(TextPaneTest, PageIsWrittenInPiecesAndKeptExactly) {
    TextPane pane;
    const QString html = page("LTR", "Alpha beta");
    show(pane, page("LTR", "Old"));
    pane.clear();
    pane.write(html.left(40));
    pane.write(html.mid(40));
    EXPECT_EQ(pane.page(), page("LTR", "Old")) << "the old page stays until the new one is closed";
    pane.close();
    EXPECT_EQ(pane.page(), html);
    EXPECT_EQ(pane.plainText().trimmed(), "Alpha beta");
}

TEST(TextPaneTest, RenderedCopyOnlyMarksTheBodyColour) {
    const QString html = page("LTR", "BGCOLOR = 123456 in the text");
    const QString copy = TextPane::renderedCopy(html);
    EXPECT_TRUE(copy.contains("BGCOLOR = #393139 SCROLL"));
    EXPECT_TRUE(copy.contains(">BGCOLOR = 123456 in the text"));
    EXPECT_EQ(copy.size(), html.size() + 1);
    EXPECT_EQ(TextPane::renderedCopy(copy), copy);
    EXPECT_EQ(TextPane::renderedCopy("<body bgcolor=\"e3eee3\">x</body>"), "<body bgcolor=\"#e3eee3\">x</body>");
    EXPECT_EQ(TextPane::renderedCopy("no body at all"), "no body at all");
}

}  // namespace
}  // namespace lumora

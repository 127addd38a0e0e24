// The clipboard verse link: references copied by another program move the player; everything else, and
// the window's own copies, change nothing.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "app/clipboardlink.h"
#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"

namespace lumora::test {
namespace {

using ClipboardLinkTest = ProgramTest;

struct Range {
    int sura;
    int begin;
    int end;
    int current;
};

Range rangeOf(RecitationController& controller) {
    return {controller.sura(), controller.rangeBegin().value(), controller.rangeEnd().value(),
            controller.currentVerseSlider().value()};
}

void copy(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

TEST_F(ClipboardLinkTest, ReferencesSelectTheSuraAndTheRange) {
    RecitationController& controller = *start().controller();

    copy(QStringLiteral("2:255"));
    Range range = rangeOf(controller);
    EXPECT_EQ(range.sura, 2);
    EXPECT_EQ(range.begin, 255);
    EXPECT_EQ(range.end, 255);
    EXPECT_EQ(range.current, 255);
    EXPECT_EQ(controller.currentVerse(), 255);

    copy(QStringLiteral("  36:1-12 "));
    range = rangeOf(controller);
    EXPECT_EQ(range.sura, 36);
    EXPECT_EQ(range.begin, 1);
    EXPECT_EQ(range.end, 12);
    EXPECT_EQ(range.current, 1);

    // Links, the site's addresses, Arabic-Indic digits and the list's names, as on the command line.
    copy(QStringLiteral("quran://112/2-3"));
    range = rangeOf(controller);
    EXPECT_EQ(range.sura, 112);
    EXPECT_EQ(range.begin, 2);
    EXPECT_EQ(range.end, 3);
    copy(QStringLiteral("https://quran.com/113/4"));
    EXPECT_EQ(rangeOf(controller).sura, 113);
    EXPECT_EQ(rangeOf(controller).begin, 4);
    copy(QStringLiteral("\u0661\u0661\u0664:\u0663"));
    EXPECT_EQ(rangeOf(controller).sura, 114);
    EXPECT_EQ(rangeOf(controller).begin, 3);
    copy(QStringLiteral("Al-Ikhlas 1-4"));
    range = rangeOf(controller);
    EXPECT_EQ(range.sura, 112);
    EXPECT_EQ(range.begin, 1);
    EXPECT_EQ(range.end, 4);

    // In sura 1 verse 1 is record 0.
    copy(QStringLiteral("1:1"));
    range = rangeOf(controller);
    EXPECT_EQ(range.sura, 1);
    EXPECT_EQ(range.begin, 0);
    EXPECT_EQ(range.end, 0);
}

TEST_F(ClipboardLinkTest, OtherTextIsIgnoredWithoutAWord) {
    RecitationController& controller = *start().controller();
    copy(QStringLiteral("18:1-10"));
    const Range before = rangeOf(controller);
    const size_t messages = modals().seen().size();
    for (const char* text : {"0:5", "2:0", "a word", "2:5-0", "115:1", "", "   ", "2:", ":5", "2:abc", "2:287",
                             "18:5-2", "quran://18", "AL-KAHF 111"}) {
        copy(QString::fromLatin1(text));
        const Range after = rangeOf(controller);
        EXPECT_EQ(after.sura, before.sura) << text;
        EXPECT_EQ(after.begin, before.begin) << text;
        EXPECT_EQ(after.end, before.end) << text;
        EXPECT_EQ(after.current, before.current) << text;
    }
    // A large clipboard is passed over.
    copy(QString(100000, QLatin1Char('7')) + QStringLiteral(":1"));
    EXPECT_EQ(rangeOf(controller).sura, before.sura);
    EXPECT_EQ(modals().seen().size(), messages);
}

TEST_F(ClipboardLinkTest, TheWindowsOwnCopiesAreNotFollowed) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    copy(QStringLiteral("112:2"));
    ASSERT_EQ(controller.sura(), 112);
    started.clipboard().copyText(QStringLiteral("2:255"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2:255"));
    EXPECT_EQ(controller.sura(), 112);

    // A pane's copy button puts the pane's text there, blank lines run together.
    QTest::mouseClick(started.window().paneFrame(2)->copyButton(), Qt::LeftButton);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_FALSE(copied.isEmpty());
    EXPECT_FALSE(copied.contains(QStringLiteral("\n\n")));
    EXPECT_EQ(controller.sura(), 112);
}

TEST_F(ClipboardLinkTest, NothingIsFollowedBeforeStartUpHasEnded) {
    Program& starting = create();
    // The About window of start-up is open before the link is ready.
    modals().answerWith([](QWidget* about) {
        copy(QStringLiteral("2:255"));
        static_cast<QDialog*>(about)->reject();
    });
    ASSERT_TRUE(starting.startUp().ok());
    EXPECT_EQ(starting.controller()->sura(), 1);
    copy(QStringLiteral("2:254"));
    EXPECT_EQ(starting.controller()->sura(), 2);
}

}  // namespace
}  // namespace lumora::test

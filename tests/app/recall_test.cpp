// Recall mode through the whole program: sura 112 recited in range mode over the manual null output with
// the fake clock, so each pause between verses starts and ends at a known moment.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <vector>

#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

constexpr int kStepMs = 20;

int blanks(const TextPane* view) {
    static const QRegularExpression box(QStringLiteral("<span style=\"color:#([0-9A-F]{6});background-color:#\\1;\">"));
    return static_cast<int>(view->page().count(box));
}

// Where every tenth character of the shown document lies, and the document's size.
std::vector<QRect> layoutOf(TextPane* view) {
    std::vector<QRect> places;
    const QSizeF size = view->document()->documentLayout()->documentSize();
    places.emplace_back(0, 0, static_cast<int>(size.width()), static_cast<int>(size.height()));
    for (int position = 0; position < view->document()->characterCount(); position += 10) {
        QTextCursor cursor(view->document());
        cursor.setPosition(position);
        places.push_back(view->cursorRect(cursor));
    }
    return places;
}

class RecallTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        store(QStringLiteral("RangeModeSetup"), QStringLiteral("PauseBetweenVerses"), QStringLiteral("2"));
        Program& started = start();
        controller = started.controller();
        texts = started.texts();
        window = &started.window();
        ASSERT_TRUE(controller->selectSura(111).ok());  // sura 112: the formula and four verses
        for (int pane = 1; pane <= VerseTextAssignment::kPaneCount; ++pane) {
            if (VerseTextAssignment::showsArabic(texts->pane(pane))) arabicPane = pane;
            else if (translationPane == 0 && !texts->pane(pane).transName().isEmpty()) translationPane = pane;
        }
        ASSERT_GT(arabicPane, 0);
        ASSERT_GT(translationPane, 0);
    }

    // A key as the user presses it: to the widget that has the focus in the main window.
    void press(Qt::Key key) {
        QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
        QTest::keyClick(target, key);
    }
    // Plays on until the controller waits (or 40 s of audio passed).
    void reciteUntilAWait() {
        for (int i = 0; i < 2000 && controller->waitKind() == RecitationController::WaitKind::None; ++i) {
            output()->advanceMs(kStepMs);
            controller->onTimer();
        }
    }
    TextPane* view(int pane) const { return window->paneFrame(pane)->view(); }

    RecitationController* controller = nullptr;
    VerseTextAssignment* texts = nullptr;
    MainWindow* window = nullptr;
    int arabicPane = 0;
    int translationPane = 0;
};

TEST_F(RecallTest, TheVerseIsHiddenDuringThePauseAfterItAndComesBackWithTheNext) {
    press(Qt::Key_H);
    EXPECT_EQ(stored(QStringLiteral("Recall"), QStringLiteral("Enabled")), QStringLiteral("True"));

    press(Qt::Key_X);
    ASSERT_TRUE(controller->tickEnabled());
    // While the formula is recited it shows as always.
    output()->advanceMs(kStepMs);
    controller->onTimer();
    EXPECT_EQ(blanks(view(arabicPane)), 0);
    const std::vector<QRect> shownLayout = layoutOf(view(arabicPane));
    const QString shownText = view(arabicPane)->plainText();

    reciteUntilAWait();
    ASSERT_EQ(controller->waitKind(), RecitationController::WaitKind::BetweenVerses);
    EXPECT_EQ(texts->shownSlot(), 0);
    const int words = texts->shownWordCount(arabicPane);
    ASSERT_GT(words, 2);
    // Every word is a blank of its own width: the same text in the same places.
    EXPECT_EQ(blanks(view(arabicPane)), words);
    EXPECT_EQ(view(arabicPane)->plainText(), shownText);
    EXPECT_EQ(layoutOf(view(arabicPane)), shownLayout);
    // Translations stay.
    EXPECT_EQ(blanks(view(translationPane)), 0);

    // W shows the first word, a click on the pane the second.
    press(Qt::Key_W);
    EXPECT_EQ(blanks(view(arabicPane)), words - 1);
    QTest::mouseClick(view(arabicPane)->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(blanks(view(arabicPane)), words - 2);
    EXPECT_EQ(controller->waitKind(), RecitationController::WaitKind::BetweenVerses) << "the click recited";
    EXPECT_EQ(layoutOf(view(arabicPane)), shownLayout);

    // The pause ends after two seconds on the clock: the next verse shows whole.
    clock().advanceMs(2001);
    controller->onTimer();
    EXPECT_EQ(controller->waitKind(), RecitationController::WaitKind::None);
    EXPECT_EQ(texts->shownSlot(), 1);
    EXPECT_EQ(blanks(view(arabicPane)), 0);
}

TEST_F(RecallTest, TranslationsHideWhenAskedAndNothingHidesWhenTheModeIsOff) {
    // Off by default: the pause shows the verse.
    press(Qt::Key_X);
    reciteUntilAWait();
    ASSERT_EQ(controller->waitKind(), RecitationController::WaitKind::BetweenVerses);
    EXPECT_EQ(blanks(view(arabicPane)), 0);

    // Turned on during the pause, it hides at once; with translations too, they hide as well.
    store(QStringLiteral("Recall"), QStringLiteral("HideTranslations"), QStringLiteral("True"));
    restart();
    controller = program().controller();
    texts = program().texts();
    window = &program().window();
    ASSERT_TRUE(controller->selectSura(111).ok());
    press(Qt::Key_X);
    reciteUntilAWait();
    ASSERT_EQ(controller->waitKind(), RecitationController::WaitKind::BetweenVerses);
    press(Qt::Key_H);
    EXPECT_EQ(blanks(view(arabicPane)), texts->shownWordCount(arabicPane));
    EXPECT_EQ(blanks(view(translationPane)), texts->shownWordCount(translationPane));
    // Off again: everything shows, and W does nothing.
    press(Qt::Key_H);
    EXPECT_EQ(blanks(view(arabicPane)), 0);
    EXPECT_EQ(blanks(view(translationPane)), 0);
    press(Qt::Key_W);
    EXPECT_EQ(blanks(view(arabicPane)), 0);
    EXPECT_EQ(stored(QStringLiteral("Recall"), QStringLiteral("Enabled")), QStringLiteral("False"));
}

}  // namespace
}  // namespace lumora::test

// What the user does in and around a text pane: clicks, word meanings, font size, information, the pane's
// text menu.
#include <QInputDialog>
#include <QLabel>
#include <QTest>

#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

using PanesTest = ProgramTest;

TEST_F(PanesTest, ClicksInAPaneReciteTheCurrentOrTheNextVerse) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    TextPane* view = started.window().paneFrame(3)->view();

    emit view->navigationRequested(QStringLiteral("click"));
    EXPECT_TRUE(controller.tickEnabled());
    EXPECT_EQ(controller.currentVerse(), 0);
    emit view->navigationRequested(QStringLiteral("right"));
    EXPECT_EQ(controller.currentVerse(), 1);
    EXPECT_EQ(started.texts()->shownSlot(), 1);
    emit view->navigationRequested(QStringLiteral("elsewhere"));
    EXPECT_EQ(controller.currentVerse(), 1);
}

TEST_F(PanesTest, AWordMeaningShowsBesideThePointerAndGoesWithEmptyOrDone) {
    Program& started = start();
    TextPane* view = started.window().paneFrame(1)->view();
    QLabel* tip = started.window().wordTip();

    emit view->statusTextChanged(QStringLiteral("about:blank"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->isVisible(); }, 5000));
    EXPECT_EQ(tip->text(), QStringLiteral(" blank "));
    emit view->statusTextChanged(QStringLiteral("Done"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip->isVisible(); }, 5000));
    emit view->statusTextChanged(QStringLiteral("the Lord"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->isVisible(); }, 5000));
    emit view->statusTextChanged(QStringLiteral("   "));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip->isVisible(); }, 5000));
}

TEST_F(PanesTest, FontSizeButtonsStepTheSizeAndKeepItAboveZero) {
    Program& started = start();
    DisplayProperties& pane2 = started.texts()->pane(2);
    TextPaneFrame* frame = started.window().paneFrame(2);
    QTest::mouseClick(frame->plusButton(), Qt::LeftButton);
    EXPECT_EQ(pane2.fontSize(), 18);
    EXPECT_TRUE(frame->view()->page().contains(QStringLiteral("18")));
    pane2.setFontSize(1);
    QTest::mouseClick(frame->minusButton(), Qt::LeftButton);
    EXPECT_EQ(pane2.fontSize(), 1);
}

TEST_F(PanesTest, TheInformationButtonOpensTheTextInfoWindow) {
    Program& started = start();
    modals().clear();
    QTest::mouseClick(started.window().paneFrame(2)->infoButton(), Qt::LeftButton);
    ASSERT_EQ(modals().seen().size(), 1u);
    EXPECT_EQ(modals().seen().front().title, QStringLiteral("LM Text Info"));
}

TEST_F(PanesTest, ThePaneMenuChoosesTheTextAndTheSize) {
    Program& started = start();
    MainWindow& window = started.window();
    VerseTextAssignment& texts = *started.texts();
    ASSERT_TRUE(started.controller()->selectSura(111).ok());

    modals().chooseMenuItem(QStringLiteral("&French - Hamidullah"));
    QTest::mouseClick(window.paneFrame(3)->transMenuButton(), Qt::LeftButton);
    EXPECT_EQ(texts.pane(3).transName(), QStringLiteral("French - Hamidullah"));
    EXPECT_EQ(window.paneFrame(3)->captionLabel()->text(), texts.pane(3).windowCaption() + QLatin1Char(' '));
    EXPECT_EQ(window.textsMenuAction(3)->text(), QStringLiteral("&3. ") + texts.pane(3).buttonCaption());
    EXPECT_EQ(texts.paneText(1, 3).isEmpty(), false);
    EXPECT_TRUE(
        window.paneFrame(3)->view()->plainText().contains(texts.paneText(0, 3).simplified().left(10)));

    for (const char* answer : {"9", "201", "", "12.5"}) {
        modals().chooseMenuItem(QStringLiteral("&Text Size..."));
        modals().answerWith([answer](QWidget* widget) {
            auto* dialog = static_cast<QInputDialog*>(widget);
            dialog->setTextValue(QString::fromLatin1(answer));
            dialog->accept();
        });
        QTest::mouseClick(window.paneFrame(3)->transMenuButton(), Qt::LeftButton);
    }
    EXPECT_EQ(texts.pane(3).fontSize(), 12.5);
}

}  // namespace
}  // namespace lumora::test

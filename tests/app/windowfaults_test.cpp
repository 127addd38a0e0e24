// Faults met by using the window: keys acting twice on the sura box, the equalizer's shown preset, a
// doubled message of the range mode dialog, the pane hint over its buttons, the sura dialog past 114.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/controlpanel.h"
#include "app/equalizerdialog.h"
#include "app/mainwindow.h"
#include "app/quicksuradialog.h"
#include "app/rangemodesetupdialog.h"
#include "app/suracombobox.h"
#include "app/textpaneframe.h"
#include "app/twips.h"
#include "app/panegeometry.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/verseslider.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "settings/settingsstore.h"

namespace lumora::test {
namespace {

using WindowFaultsTest = ProgramTest;

TEST_F(WindowFaultsTest, TheSuraBoxLeavesHomeAndPageKeysToTheKeyHandler) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    SuraComboBox* suraBox = started.window().panel()->suraBox();
    ASSERT_TRUE(controller.selectSura(111).ok());
    suraBox->setFocus(Qt::MouseFocusReason);

    QTest::keyClick(suraBox, Qt::Key_PageDown);
    EXPECT_EQ(controller.sura(), 113);
    EXPECT_EQ(suraBox->currentIndex(), 112);
    QTest::keyClick(suraBox, Qt::Key_PageUp);
    EXPECT_EQ(controller.sura(), 112);
    QTest::keyClick(suraBox, Qt::Key_Home);
    EXPECT_EQ(controller.sura(), 112);
    EXPECT_EQ(controller.rangeBegin().value(), 0);
    EXPECT_EQ(controller.rangeEnd().value(), controller.rangeEnd().max());
}

TEST_F(WindowFaultsTest, ANumberPastTheLastSuraClosesTheSuraDialogWithAMessage) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(35).ok());
    modals().clear();
    modals().answerWith([](QWidget* dialog) {
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("115"));
    });
    QTest::keyClick(&started.window(), Qt::Key_S);
    EXPECT_EQ(controller.sura(), 36);
    ASSERT_EQ(modals().seen().size(), 2u);
    EXPECT_EQ(modals().seen()[1].text, QuickSuraDialog::kTooLargeMessage);
    EXPECT_FALSE(started.window().findChild<QuickSuraDialog*>()->isVisible());
}

TEST(RangeDialogFaultTest, AnInvalidCountThenAClickOnOkAsksOnce) {
    RangeModeSetupDialog dialog{RangeSettings()};
    int shown = 0;
    dialog.setMessageHook([&shown](QMessageBox::Icon, const QString&, const QString&) { ++shown; });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* times = dialog.timesBox();
    QTest::mouseClick(times, Qt::LeftButton);
    times->selectAll();
    QTest::keyClicks(times, QStringLiteral("0"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), times);
}

TEST(PaneHintFaultTest, TheWordMeaningHintNeverCoversPaneOnesButtons) {
    QWidget window;
    auto* frame = new TextPaneFrame(1, &window);
    frame->setCaption(QStringLiteral("Arabic (word by word)"));
    frame->setWordTipVisible(true);
    window.show();
    const double dpi = frame->logicalDpiY();
    const int minimumWidth = Twips::toPixels(PaneGeometry::kMinimumWidthTwips, dpi);
    for (int width = 1000; width >= minimumWidth - 40; width -= 37) {
        frame->setGeometry(0, 0, width, 200);
        const QRect hint = frame->wordTipLabel()->geometry();
        for (OwnerDrawnButton* button : {frame->transMenuButton(), frame->plusButton(), frame->minusButton(),
                                         frame->copyButton(), frame->infoButton()}) {
            EXPECT_FALSE(frame->wordTipLabel()->isVisible() && hint.intersects(button->geometry()))
                << "width " << width << " button " << button->caption().toStdString();
        }
        QSignalSpy copied(frame, &TextPaneFrame::copyClicked);
        QTest::mouseClick(frame->copyButton(), Qt::LeftButton);
        EXPECT_EQ(copied.count(), 1) << "width " << width;
    }
    frame->setGeometry(0, 0, 2000, 200);
    EXPECT_TRUE(frame->wordTipLabel()->isVisible());
    EXPECT_EQ(frame->wordTipLabel()->text(), TextPaneFrame::kWordByWordHint);
}

TEST(EqualizerFaultTest, ChoosingTheShownPresetAppliesItAgainAndOffersDeleteForAUserPreset) {
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    const QString app = QStringLiteral("ZI4");
    ASSERT_TRUE(store.save(app, QStringLiteral("EQ"), QStringLiteral("Usr"), QStringLiteral("Mine|1|2|3|4|5|6|7|8|9|10#"))
                    .ok());
    EqualizerSettings shared;
    for (int band = 0; band < 10; ++band) shared.gainsDb[static_cast<size_t>(band)] = static_cast<float>(band + 1);
    Player player{std::make_unique<NullOutput>(NullOutput::Mode::Manual)};
    EqualizerDialog::PlayerHooks hooks;
    hooks.enableEqualiser = [](bool) {};
    hooks.setEqualizerValue = [] {};
    EqualizerDialog dialog(store, app, shared, hooks);
    dialog.show();
    QComboBox* presets = dialog.presetBox();
    ASSERT_EQ(presets->currentText(), QStringLiteral("Mine"));
    (void)dialog.bandSlider(0)->model()->setValue(-5);

    // The user opens the list and takes the preset it shows.
    QTest::mouseClick(presets, Qt::LeftButton);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(presets->view(), Qt::Key_Return);
    EXPECT_EQ(dialog.bandSlider(0)->model()->value(), 1);
    EXPECT_FALSE(dialog.deleteButton()->isHidden());
}

}  // namespace
}  // namespace lumora::test

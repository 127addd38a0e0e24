// The quick sura and verse dialogs and the range mode settings dialog, driven with real keys: alone, and
// opened by the main window's keys in the whole program.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QRadioButton>
#include <QTest>

#include "app/mainwindow.h"
#include "app/quicksuradialog.h"
#include "app/quickversedialog.h"
#include "app/rangemodesetupdialog.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"

namespace lumora::test {
namespace {

// --- the dialogs alone ---

TEST(QuickDialogsTest, BoxesTakeDigitsOnly) {
    QuickSuraDialog sura;
    sura.show();
    QTest::keyClicks(sura.suraNoBox(), QStringLiteral("a3!B x6-"));
    EXPECT_EQ(sura.suraNoBox()->text(), QStringLiteral("36"));
    EXPECT_TRUE(sura.isVisible());

    QuickVerseDialog verse;
    verse.prepare(QStringLiteral("Move to Verse"), false, false, 287, 2);
    verse.show();
    QTest::keyClicks(verse.verseNoBox(), QStringLiteral("1v2V.a3"));
    EXPECT_EQ(verse.verseNoBox()->text(), QStringLiteral("123"));
    EXPECT_TRUE(verse.isVisible());
}

TEST(QuickDialogsTest, NoSuraLeavesTheDialogOpenAndANumberPast114ClosesIt) {
    QuickSuraDialog dialog;
    for (const QString& typed : {QString(), QStringLiteral("0")}) {
        dialog.show();
        dialog.suraNoBox()->setText(typed);
        QTest::keyClick(dialog.suraNoBox(), Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << typed.toStdString();
        QTest::keyClick(dialog.suraNoBox(), Qt::Key_V);
        EXPECT_TRUE(dialog.isVisible()) << typed.toStdString();
        dialog.hide();
    }
    for (const QString& typed : {QStringLiteral("115"), QStringLiteral("999999999")}) {
        dialog.show();
        dialog.suraNoBox()->setText(typed);
        EXPECT_FALSE(dialog.isVisible()) << typed.toStdString();
        EXPECT_TRUE(dialog.tooLarge());
    }
    // Shown again, the box starts empty.
    dialog.show();
    EXPECT_TRUE(dialog.suraNoBox()->text().isEmpty());
}

// --- the range mode settings dialog alone ---

struct Shown {
    QMessageBox::Icon icon;
    QString title;
    QString text;
};

class RangeDialogTest : public ::testing::Test {
protected:
    void open(const RangeSettings& settings = RangeSettings()) {
        m_dialog = std::make_unique<RangeModeSetupDialog>(settings);
        m_dialog->setMessageHook([this](QMessageBox::Icon icon, const QString& title, const QString& text) {
            m_shown.push_back({icon, title, text});
        });
        m_dialog->show();
        QApplication::setActiveWindow(m_dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    }
    RangeModeSetupDialog& dialog() { return *m_dialog; }

    std::unique_ptr<RangeModeSetupDialog> m_dialog;
    std::vector<Shown> m_shown;
};

TEST_F(RangeDialogTest, LoadsTheSettingsInUse) {
    RangeSettings settings;
    settings.noofTimes = 0;
    settings.pause = 4;
    settings.pauseBetweenVerses = -2;
    settings.nextRange = false;
    settings.nextSura = false;
    settings.restartSura = true;
    settings.stopRecitation = true;  // edited outside: the first true one is shown
    open(settings);
    EXPECT_TRUE(dialog().unlimitedOption()->isChecked());
    EXPECT_EQ(dialog().timesBox()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog().pauseBox()->text(), QStringLiteral("4"));
    EXPECT_EQ(dialog().pauseBetweenVersesBox()->text(), QStringLiteral("-2"));
    EXPECT_FALSE(dialog().nextRangeBox()->isChecked());
    EXPECT_TRUE(dialog().afterSuraOption(1)->isChecked());
    EXPECT_FALSE(dialog().afterSuraOption(2)->isChecked());

    const RangeSetupEntry entry = dialog().entry();
    EXPECT_TRUE(entry.unlimited);
    EXPECT_EQ(entry.afterSura, 1);
}

TEST_F(RangeDialogTest, OkRefusesTextsThatAreNotNumbersAndKeepsTheFocusInTheBox) {
    struct Case {
        QLineEdit* (RangeModeSetupDialog::*box)() const;
        QString text;
        QString message;  // empty: accepted
    };
    const Case cases[] = {
        {&RangeModeSetupDialog::timesBox, QStringLiteral("0"), RangeModeSetupDialog::kTimesMessage},
        {&RangeModeSetupDialog::timesBox, QStringLiteral("two"), RangeModeSetupDialog::kTimesMessage},
        {&RangeModeSetupDialog::timesBox, QString(), RangeModeSetupDialog::kTimesMessage},
        // 0.4 would be kept as 0, which means without end.
        {&RangeModeSetupDialog::timesBox, QStringLiteral("0.4"), RangeModeSetupDialog::kTimesMessage},
        {&RangeModeSetupDialog::timesBox, QStringLiteral("-3"), QString()},
        {&RangeModeSetupDialog::pauseBox, QStringLiteral("1s"), RangeModeSetupDialog::kNumberMessage},
        {&RangeModeSetupDialog::pauseBox, QStringLiteral("1e20"), RangeModeSetupDialog::kNumberMessage},
        {&RangeModeSetupDialog::pauseBox, QStringLiteral("0"), QString()},
        {&RangeModeSetupDialog::pauseBetweenVersesBox, QStringLiteral(" "), RangeModeSetupDialog::kNumberMessage},
        {&RangeModeSetupDialog::pauseBetweenVersesBox, QStringLiteral("1.5"), QString()},
    };
    for (const Case& c : cases) {
        open();
        m_shown.clear();
        QLineEdit* box = (dialog().*c.box)();
        box->setText(c.text);
        dialog().okButton()->click();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(m_shown.empty()) << c.text.toStdString();
            EXPECT_EQ(dialog().result(), QDialog::Accepted) << c.text.toStdString();
            continue;
        }
        ASSERT_EQ(m_shown.size(), 1u) << c.text.toStdString();
        EXPECT_EQ(m_shown[0].text, c.message);
        EXPECT_TRUE(dialog().isVisible()) << c.text.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), box) << c.text.toStdString();
    }
}

TEST_F(RangeDialogTest, LeavingABoxChecksItButCancelDoesNot) {
    open();
    dialog().pauseBox()->setFocus();
    dialog().pauseBox()->setText(QStringLiteral("x"));
    QTest::keyClick(dialog().pauseBox(), Qt::Key_Tab);
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0].text, RangeModeSetupDialog::kNumberMessage);
    EXPECT_EQ(QApplication::focusWidget(), dialog().pauseBox());

    m_shown.clear();
    dialog().cancelButton()->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(m_shown.empty());
    dialog().cancelButton()->click();
    EXPECT_EQ(dialog().result(), QDialog::Rejected);
}

TEST_F(RangeDialogTest, HelpButtonsShowTheirTextsWithTheInformationIcon) {
    open();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog().helpButton(i)->text(), QStringLiteral("?"));
        EXPECT_EQ(dialog().helpButton(i)->toolTip(), QStringLiteral("Help"));
        dialog().helpButton(i)->click();
    }
    ASSERT_EQ(m_shown.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m_shown[static_cast<size_t>(i)].icon, QMessageBox::Information);
        EXPECT_EQ(m_shown[static_cast<size_t>(i)].title, QStringLiteral("Range mode settings - Help"));
    }
    EXPECT_EQ(m_shown[2].text, QStringLiteral("No of seconds to be paused after completing a range."));
    // Line breaks are carriage return and line feed.
    EXPECT_TRUE(m_shown[0].text.contains(QStringLiteral("a range will be recited.\r\nRange is")));
    EXPECT_TRUE(dialog().isVisible());
}

// --- opened from the main window ---

class DialogsTest : public ProgramTest {
protected:
    // Starts the program and forgets the windows start-up showed (the About window).
    Program& startQuiet() {
        Program& started = start();
        modals().clear();
        return started;
    }
};

// The responder answers a modal window once for as long as it is the last one it saw; a kept dialog that
// comes up again is answered only after another modal window has come and gone.
void letTheResponderAnswerKeptDialogs(ModalResponder& modals) {
    {
        QDialog other;
        other.exec();
    }
    modals.clear();
}

// Types `keys` into the dialog's box when it comes up, then presses `last` (Enter, Esc or V).
std::function<void(QWidget*)> typeInto(const QString& keys, Qt::Key last) {
    return [keys, last](QWidget* widget) {
        QLineEdit* box = widget->findChild<QLineEdit*>();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->text().isEmpty());
        QTest::keyClicks(box, keys);
        if (widget->isVisible())
            QTest::keyClick(box, last);
    };
}

TEST_F(DialogsTest, SuraNumberAndEnterLoadsTheSuraAndEscDoesNothing) {
    Program& started = startQuiet();
    RecitationController& controller = *started.controller();
    MainWindow& window = started.window();
    modals().answerWith(typeInto(QStringLiteral("36"), Qt::Key_Return));
    QTest::keyClick(&window, Qt::Key_S);
    EXPECT_EQ(controller.sura(), 36);
    ASSERT_EQ(modals().count(QStringLiteral("lumora::QuickSuraDialog")), 1);
    EXPECT_EQ(modals().seen().at(0).title.toStdString(), "Quick Sura Select");

    // Shown again (the same instance, its box emptied): 1 typed, then Esc changes nothing.
    letTheResponderAnswerKeptDialogs(modals());
    modals().answerWith(typeInto(QStringLiteral("1"), Qt::Key_Escape));
    QTest::keyClick(&window, Qt::Key_S);
    EXPECT_EQ(controller.sura(), 36);
    EXPECT_EQ(modals().count(QStringLiteral("lumora::QuickSuraDialog")), 1);
    EXPECT_EQ(window.findChildren<QuickSuraDialog*>().size(), 1);
}

TEST_F(DialogsTest, SuraNumberAndVGoesOnToTheVerseDialogOfThatSura) {
    Program& started = startQuiet();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    int offered = 0;
    modals().answerWith(typeInto(QStringLiteral("113"), Qt::Key_V));
    modals().answerWith([&offered](QWidget* widget) {
        auto* verse = qobject_cast<QuickVerseDialog*>(widget);
        ASSERT_NE(verse, nullptr);
        offered = verse->totalVerseNos();
        EXPECT_FALSE(verse->rangeBegin());
        EXPECT_FALSE(verse->rangeEnd());
        typeInto(QStringLiteral("3"), Qt::Key_Return)(widget);
    });
    QTest::keyClick(&started.window(), Qt::Key_S);
    EXPECT_EQ(controller.sura(), 113);
    ASSERT_EQ(modals().seen().size(), 2u);
    EXPECT_EQ(modals().seen()[1].title.toStdString(), "Move to verse");
    EXPECT_EQ(offered, controller.verseNo(113));
    EXPECT_EQ(controller.currentVerseSlider().value(), 3);
}

TEST_F(DialogsTest, ANumberAboveTheVerseCountClosesTheDialogWithAMessage) {
    Program& started = startQuiet();
    RecitationController& controller = *started.controller();
    struct Case {
        int sura;
        QString typed;
        QString message;
    };
    const Case cases[] = {
        {2, QStringLiteral("288"), QStringLiteral("Only 286 verses in this sura")},
        // The opening invocation is not a verse one could type.
        {2, QStringLiteral("287"), QStringLiteral("Only 286 verses in this sura")},
        {9, QStringLiteral("130"), QStringLiteral("Only 129 verses in this sura")},
        {1, QStringLiteral("8"), QStringLiteral("Only 7 verses in this sura")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(controller.selectSura(c.sura - 1).ok());
        const int verse = controller.currentVerseSlider().value();
        modals().clear();
        modals().answerWith(typeInto(c.typed, Qt::Key_Return));
        QTest::keyClick(&started.window(), Qt::Key_V);
        ASSERT_EQ(modals().seen().size(), 2u) << c.typed.toStdString();
        EXPECT_EQ(modals().seen()[0].title, QStringLiteral("Move to Verse"));
        EXPECT_EQ(modals().seen()[1].className, QStringLiteral("QMessageBox"));
        EXPECT_EQ(modals().seen()[1].text, c.message);
        EXPECT_EQ(controller.sura(), c.sura);
        EXPECT_EQ(controller.currentVerseSlider().value(), verse);
    }
}

TEST_F(DialogsTest, RangeBeginThenMoveToVerseMovesOnlyTheCurrentVerse) {
    Program& started = startQuiet();
    RecitationController& controller = *started.controller();
    MainWindow& window = started.window();
    ASSERT_TRUE(controller.selectSura(66).ok());  // sura 67: records 0 to 30
    modals().answerWith(typeInto(QStringLiteral("4"), Qt::Key_Return));
    QTest::keyClick(&window, Qt::Key_B);
    EXPECT_EQ(controller.rangeBegin().value(), 4);

    QStringList titles = {modals().seen().at(0).title};
    letTheResponderAnswerKeptDialogs(modals());
    modals().answerWith(typeInto(QStringLiteral("9"), Qt::Key_Return));
    QTest::keyClick(&window, Qt::Key_V);
    titles.push_back(modals().seen().at(0).title);
    EXPECT_EQ(controller.currentVerseSlider().value(), 9);
    EXPECT_EQ(controller.rangeBegin().value(), 4);

    letTheResponderAnswerKeptDialogs(modals());
    modals().answerWith(typeInto(QStringLiteral("12"), Qt::Key_Return));
    QTest::keyClick(&window, Qt::Key_E);
    titles.push_back(modals().seen().at(0).title);
    EXPECT_EQ(controller.rangeEnd().value(), 12);
    EXPECT_EQ(controller.rangeBegin().value(), 4);

    // Esc: nothing moves.
    letTheResponderAnswerKeptDialogs(modals());
    modals().answerWith(typeInto(QStringLiteral("2"), Qt::Key_Escape));
    QTest::keyClick(&window, Qt::Key_B);
    EXPECT_EQ(modals().seen().size(), 1u);
    EXPECT_EQ(controller.rangeBegin().value(), 4);
    EXPECT_EQ(controller.currentVerseSlider().value(), 9);

    EXPECT_EQ(titles.join(QLatin1Char('|')).toStdString(), "Set Range Begin|Move to Verse|Set Range End");
    EXPECT_EQ(window.findChildren<QuickVerseDialog*>().size(), 1);
}

TEST_F(DialogsTest, RangeSettingsAreStoredAsTypedAndUsedRounded) {
    Program& started = startQuiet();
    modals().answerWith([](QWidget* widget) {
        auto* dialog = qobject_cast<RangeModeSetupDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        dialog->timesOption()->setChecked(true);
        dialog->timesBox()->setText(QStringLiteral("2.5"));
        dialog->pauseBox()->setText(QStringLiteral("3"));
        dialog->pauseBetweenVersesBox()->setText(QStringLiteral("1.5"));
        dialog->nextRangeBox()->setChecked(false);
        dialog->afterSuraOption(1)->setChecked(true);
        dialog->okButton()->click();
    });
    QTest::keyClick(&started.window(), Qt::Key_R, Qt::ControlModifier);
    const QString section = QStringLiteral("RangeModeSetup");
    EXPECT_EQ(stored(section, QStringLiteral("NoofTimes")), QStringLiteral("2.5"));
    EXPECT_EQ(stored(section, QStringLiteral("Pause")), QStringLiteral("3"));
    EXPECT_EQ(stored(section, QStringLiteral("PauseBetweenVerses")), QStringLiteral("1.5"));
    EXPECT_EQ(stored(section, QStringLiteral("NextRange")), QStringLiteral("False"));
    EXPECT_EQ(stored(section, QStringLiteral("NextSura")), QStringLiteral("False"));
    EXPECT_EQ(stored(section, QStringLiteral("RestartSura")), QStringLiteral("True"));
    EXPECT_EQ(stored(section, QStringLiteral("StopRecitation")), QStringLiteral("False"));
    RangeSettings expected;
    expected.noofTimes = 2;
    expected.pause = 3;
    expected.pauseBetweenVerses = 2;
    expected.nextRange = false;
    expected.nextSura = false;
    expected.restartSura = true;
    EXPECT_EQ(started.controller()->rangeSettings(), expected);

    // After a restart the dialog shows the values in use; Cancel leaves everything as it was.
    Program& again = restart();
    modals().clear();
    EXPECT_EQ(again.controller()->rangeSettings(), expected);
    modals().answerWith([](QWidget* widget) {
        auto* dialog = qobject_cast<RangeModeSetupDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->timesOption()->isChecked());
        EXPECT_EQ(dialog->timesBox()->text(), QStringLiteral("2"));
        EXPECT_TRUE(dialog->afterSuraOption(1)->isChecked());
        dialog->unlimitedOption()->setChecked(true);
        dialog->pauseBox()->setText(QStringLiteral("9"));
        dialog->cancelButton()->click();
    });
    QTest::keyClick(&again.window(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(modals().count(QStringLiteral("lumora::RangeModeSetupDialog")), 1);
    EXPECT_EQ(again.controller()->rangeSettings(), expected);
    EXPECT_EQ(stored(section, QStringLiteral("NoofTimes")), QStringLiteral("2.5"));
    EXPECT_EQ(stored(section, QStringLiteral("Pause")), QStringLiteral("3"));

    // Unlimited is stored as 0 and shown again with 1 in the box.
    modals().answerWith([](QWidget* widget) {
        auto* dialog = qobject_cast<RangeModeSetupDialog*>(widget);
        dialog->unlimitedOption()->setChecked(true);
        dialog->okButton()->click();
    });
    QTest::keyClick(&again.window(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(stored(section, QStringLiteral("NoofTimes")), QStringLiteral("0"));
    EXPECT_EQ(again.controller()->rangeSettings().noofTimes, 0);
    modals().answerWith([](QWidget* widget) {
        auto* dialog = qobject_cast<RangeModeSetupDialog*>(widget);
        EXPECT_TRUE(dialog->unlimitedOption()->isChecked());
        EXPECT_EQ(dialog->timesBox()->text(), QStringLiteral("1"));
        dialog->reject();
    });
    QTest::keyClick(&again.window(), Qt::Key_R, Qt::ControlModifier);
}

}  // namespace
}  // namespace lumora::test

// Recitation → Verse Timings as a user meets it: the menu opened and walked with keys, the real file,
// input, progress and marking dialogs, the recordings' folder's pos.dat written for the loaded sura only.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "app/commandtable.h"
#include "app/mainwindow.h"
#include "app/markingdialog.h"
#include "app/programfixture.h"
#include "app/versetimings.h"
#include "codec/versetimingtable.h"
#include "support/scratchfolder.h"
#include "recitation/recitationcontroller.h"
#include "timing/posarchive.h"

namespace lumora::test {
namespace {

class VerseTimingsTest : public ProgramTest {
protected:
    // A copy of the sample program folder, so its recordings' folder can take a pos.dat of its own.
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(m_copy.isValid());
        QDirIterator files(sampleFolder(), {QStringLiteral("*")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            const QString relative = QDir(sampleFolder()).relativeFilePath(file);
            if (!relative.startsWith(QLatin1String("data/")) && !relative.startsWith(QLatin1String("mp3/")) &&
                relative != QLatin1String("config.ini")) {
                continue;
            }
            QDir().mkpath(QFileInfo(m_copy.filePath(relative)).path());
            ASSERT_TRUE(QFile::copy(file, m_copy.filePath(relative))) << relative.toStdString();
        }
        Program& program = start(m_copy.path());
        ASSERT_TRUE(program.controller()->selectSura(111).ok());  // sura 112, five records
        m_sampleTimings = VerseTimingTable::read(m_copy.filePath(QStringLiteral("data/pos.dat")).toStdString(), 112).value();
    }

    std::string recordingsArchive() const { return m_copy.filePath(QStringLiteral("mp3/pos.dat")).toStdString(); }

    // Opens Recitation → Verse Timings with the keyboard and presses the item's access key.
    void chooseWithKeys(Qt::Key item) {
        CommandTable& commands = program().window().commands();
        QMenu* recitation = commands.menu(QStringLiteral("Recitation"));
        recitation->popup(program().window().mapToGlobal(QPoint(10, 10)));
        // T is also the access key of "Save Practice Track...": step onto the submenu and open it with Right.
        for (QAction* action : recitation->actions())
            if (action->menu() == commands.menu(QStringLiteral("Recitation/Verse Timings")))
                recitation->setActiveAction(action);
        QTest::keyClick(recitation, Qt::Key_Right);
        QMenu* timings = commands.menu(QStringLiteral("Recitation/Verse Timings"));
        ASSERT_TRUE(timings->isVisible());
        QTest::keyClick(timings, item);
    }

    void answerFileDialog(const QString& path) {
        modals().answerWith([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            // The file chosen, then the dialog's Open.
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
    }

    QTemporaryDir m_copy;
    std::vector<VerseTiming> m_sampleTimings;
};

TEST_F(VerseTimingsTest, ImportWritesTheLoadedSuraAndABadFileChangesNothing) {
    QFile good(m_copy.filePath(QStringLiteral("ikhlas.csv")));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("sura,verse,start_ms,end_ms\n112,0,0,900\n112,1,1000,1900\n112,2,2000,2900\n112,3,3000,\n112,4,4000,4500\n");
    good.close();
    answerFileDialog(good.fileName());
    chooseWithKeys(Qt::Key_I);
    ASSERT_EQ(modals().count(QStringLiteral("QFileDialog")), 1);
    const auto written = PosArchive::readSura(recordingsArchive(), 112);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value(), (std::vector<VerseTiming>{{0, 900}, {1000, 1900}, {2000, 2900}, {3000, 4000}, {4000, 4500}}));
    const std::vector<uint8_t> before = ScratchFolder::read(recordingsArchive());

    QFile bad(m_copy.filePath(QStringLiteral("bad.csv")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("112,0,0,900\n112,1,1000,1900\n112,2,later,2900\n");
    bad.close();
    modals().clear();
    answerFileDialog(bad.fileName());
    chooseWithKeys(Qt::Key_I);
    ASSERT_EQ(modals().seen().size(), 2u);
    const QString message = modals().seen()[1].text;
    EXPECT_TRUE(message.contains(bad.fileName()) && message.contains(QStringLiteral("line 3")) &&
                message.contains(QStringLiteral("Nothing was changed")))
        << message.toStdString();
    EXPECT_EQ(ScratchFolder::read(recordingsArchive()), before);
}

TEST_F(VerseTimingsTest, FindAutomaticallyRunsOffTheWindowThreadAndSavesWhenAsked) {
    VerseTimings* timings = program().verseTimings();
    ASSERT_NE(timings, nullptr);
    QSignalSpy ended(timings, &VerseTimings::autoTimingEnded);
    // The progress dialog may show before the question; only the question is answered.
    for (int i = 0; i < 2; ++i) {
        modals().answerWith([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Yes)->click();
        });
    }
    chooseWithKeys(Qt::Key_F);
    ASSERT_TRUE(ended.wait(60000));
    const auto written = PosArchive::readSura(recordingsArchive(), 112);
    ASSERT_TRUE(written.ok());
    ASSERT_EQ(written.value().size(), m_sampleTimings.size());
    // The placeholder recording's tones start exactly at the sample timings' starts.
    for (size_t record = 0; record < m_sampleTimings.size(); ++record) {
        EXPECT_LE(written.value()[record].startMs, m_sampleTimings[record].startMs + 30) << record;
        EXPECT_GE(written.value()[record].startMs, m_sampleTimings[record].startMs - 50) << record;
    }
}

TEST_F(VerseTimingsTest, ShiftAllMovesEveryMarkBySignedMilliseconds) {
    modals().answerWith([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QSpinBox*>();
        ASSERT_NE(box, nullptr);
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("-250"));
        QTest::keyClick(box, Qt::Key_Return);
    });
    chooseWithKeys(Qt::Key_S);
    const auto written = PosArchive::readSura(recordingsArchive(), 112);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value(), PosArchive::shifted(m_sampleTimings, -250));
}

// The marking dialog driven from inside its own event loop: keys to the focused control, the audio clock
// moved by hand.
class MarkingTest : public VerseTimingsTest {
protected:
    // Runs `drive` on the marking dialog once it has found the recording's pauses. A dialog the steps
    // leave open is closed without saving, so a failed step cannot hang the test.
    void markWithKeys(std::function<void(MarkingDialog&)> drive) {
        bool driven = false;
        modals().answerWith([&](QWidget* modal) {
            auto* dialog = qobject_cast<MarkingDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            m_dialog = dialog;
            m_heardMs = 0;
            if (!dialog->snapPointsReady()) {
                QSignalSpy found(dialog, &MarkingDialog::snapPointsFound);
                EXPECT_TRUE(found.wait(60000));
            }
            drive(*dialog);
            driven = true;
            if (m_dialog && m_dialog->isVisible()) m_dialog->done(QDialog::Rejected);
        });
        chooseWithKeys(Qt::Key_M);
        EXPECT_TRUE(driven);
        EXPECT_EQ(modals().count(QStringLiteral("lumora::MarkingDialog")), 1);
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = m_dialog->focusWidget() != nullptr ? m_dialog->focusWidget() : m_dialog.data();
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
    }

    // Plays on until `ms` of the recording is being heard (playing started at `startMs`).
    void playUntil(int32_t ms) {
        output()->advanceMs(ms - m_heardMs);
        m_heardMs = ms;
    }
    void playingFrom(int32_t startMs) { m_heardMs = startMs; }

    // Presses Escape; the question that comes up is answered with `button` and its text kept.
    void leaveAnswering(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            m_questions.append(box->text());
            box->button(button)->click();
        });
        press(Qt::Key_Escape);
    }

    int32_t markOf(int record) const { return m_dialog->records()[static_cast<size_t>(record)].startMs; }

    QPointer<MarkingDialog> m_dialog;
    int32_t m_heardMs = 0;
    QStringList m_questions;
};

TEST_F(MarkingTest, MarksFollowTheKeysSnappedToPausesWithNudgeAndUndo) {
    // Sura 112's tones start at 1000, 3500, 5200, 6700 and 8500 ms and the last one lasts 1.6 s.
    ASSERT_EQ(m_sampleTimings.size(), 5u);
    ASSERT_EQ(m_sampleTimings[4].startMs, 8500);
    std::vector<VerseTiming> saved;
    markWithKeys([&](MarkingDialog& dialog) {
        // Every control can be named by a screen reader, and the keys are on screen.
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            if (qobject_cast<QPushButton*>(child) || qobject_cast<QSpinBox*>(child) || qobject_cast<QLabel*>(child)) {
                EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();
            }
        }
        bool keysShown = false;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            keysShown = keysShown || (label->text().contains(QStringLiteral("Space")) &&
                                      label->text().contains(QStringLiteral("Ctrl+S")));
        EXPECT_TRUE(keysShown);

        press(Qt::Key_Up);  // from verse 1 (the window showed the opening formula)
        press(Qt::Key_Return);
        playingFrom(m_sampleTimings[1].startMs - 2000);
        // A key 150 ms into each tone snaps back to the pause before it: just before the tone.
        for (int record = 1; record <= 3; ++record) {
            playUntil(m_sampleTimings[static_cast<size_t>(record)].startMs + 150);
            press(Qt::Key_Space);
            EXPECT_LE(markOf(record), m_sampleTimings[static_cast<size_t>(record)].startMs) << record;
            EXPECT_GE(markOf(record), m_sampleTimings[static_cast<size_t>(record)].startMs - 30) << record;
        }
        // 700 ms into the last tone no pause is near: the mark is where the key was pressed.
        playUntil(9200);
        press(Qt::Key_Space);
        EXPECT_NEAR(markOf(4), 9200, 1);
        press(Qt::Key_Space);  // every verse is marked: nothing changes
        EXPECT_NEAR(markOf(4), 9200, 1);
        press(Qt::Key_Right, Qt::ShiftModifier);
        press(Qt::Key_Left);
        EXPECT_NEAR(markOf(4), 9240, 1);
        press(Qt::Key_Left, Qt::ShiftModifier);
        press(Qt::Key_Right);
        press(Qt::Key_Right);
        EXPECT_NEAR(markOf(4), 9210, 1);

        // Undo takes the mark back (the verse keeps its old start); the next key marks it again.
        press(Qt::Key_Backspace);
        EXPECT_EQ(markOf(4), m_sampleTimings[4].startMs);
        EXPECT_GE(markOf(3), m_sampleTimings[3].startMs - 30);
        playUntil(9400);
        press(Qt::Key_Space);
        EXPECT_NEAR(markOf(4), 9400, 1);
        press(Qt::Key_Z, Qt::ControlModifier);
        press(Qt::Key_Backspace);
        EXPECT_EQ(markOf(3), m_sampleTimings[3].startMs);
        playUntil(9600);
        press(Qt::Key_Space);  // marks verse 3 now
        EXPECT_NEAR(markOf(3), 9600, 1);
        press(Qt::Key_Backspace);

        // R replays from 2 s before the last mark (verse 2's).
        press(Qt::Key_R);
        playingFrom(markOf(2) - 2000);
        playUntil(m_sampleTimings[3].startMs + 200);
        press(Qt::Key_Space);
        EXPECT_LE(markOf(3), m_sampleTimings[3].startMs);
        EXPECT_GE(markOf(3), m_sampleTimings[3].startMs - 30);
        playUntil(9000);
        press(Qt::Key_Space);
        EXPECT_NEAR(markOf(4), 9000, 1);
        saved = dialog.records();

        // Leaving asks; Save writes the table and closes.
        leaveAnswering(QMessageBox::Save);
        EXPECT_FALSE(dialog.isVisible());
    });
    ASSERT_EQ(m_questions.size(), 1);
    EXPECT_TRUE(m_questions[0].contains(QStringLiteral("not saved"))) << m_questions[0].toStdString();
    const auto written = PosArchive::readSura(recordingsArchive(), 112);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value(), saved);
    EXPECT_EQ(written.value()[0], (VerseTiming{m_sampleTimings[0].startMs, saved[1].startMs}));
    // The window follows the new table.
    EXPECT_EQ(program().controller()->verseTable(), saved);
}

TEST_F(MarkingTest, SaveWritesThatSuraAloneAndLeavingUnsavedAsks) {
    // The recordings' folder already holds another sura's timings.
    const std::vector<VerseTiming> other{{500, 1500}, {2000, 3000}, {3500, 4000}, {4500, 6000}, {6500, 7000}, {7500, 9000}};
    ASSERT_TRUE(PosArchive::writeSuras(recordingsArchive(), {{113, other}}).ok());
    std::vector<VerseTiming> saved;
    markWithKeys([&](MarkingDialog& dialog) {
        press(Qt::Key_Return);  // from the opening formula, at the recording's start
        playingFrom(0);
        playUntil(m_sampleTimings[0].startMs + 100);
        press(Qt::Key_Space);
        playUntil(m_sampleTimings[1].startMs + 100);
        press(Qt::Key_Space);

        // Cancel stays in the dialog with the marks kept and nothing written.
        leaveAnswering(QMessageBox::Cancel);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(PosArchive::readSura(recordingsArchive(), 112).ok());
        EXPECT_TRUE(dialog.modified());

        press(Qt::Key_S, Qt::ControlModifier);
        EXPECT_FALSE(dialog.modified());
        saved = dialog.records();
        const auto written = PosArchive::readSura(recordingsArchive(), 112);
        ASSERT_TRUE(written.ok());
        EXPECT_EQ(written.value(), saved);
        EXPECT_LE(saved[1].startMs, m_sampleTimings[1].startMs);
        EXPECT_GE(saved[1].startMs, m_sampleTimings[1].startMs - 30);

        // Saving stopped playing; Enter goes on from the next verse, 2 s before the last mark.
        press(Qt::Key_Return);
        playingFrom(saved[1].startMs - 2000);
        playUntil(m_sampleTimings[2].startMs + 100);
        press(Qt::Key_Space);
        EXPECT_TRUE(dialog.modified());
        EXPECT_LE(markOf(2), m_sampleTimings[2].startMs);

        // Discard leaves without writing the new mark.
        leaveAnswering(QMessageBox::Discard);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(m_questions.size(), 2);
    const auto written = PosArchive::readSura(recordingsArchive(), 112);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value(), saved);
    const auto untouched = PosArchive::readSura(recordingsArchive(), 113);
    ASSERT_TRUE(untouched.ok());
    EXPECT_EQ(untouched.value(), other);
}

TEST_F(MarkingTest, MarksOfAnEarlierRunAreKeptWhenMarkingGoesOnFromAnotherVerse) {
    markWithKeys([&](MarkingDialog& dialog) {
        press(Qt::Key_Return);
        playingFrom(0);
        playUntil(m_sampleTimings[0].startMs + 100);
        press(Qt::Key_Space);
        // Another verse chosen in the verse box, and Enter: a new run from 2 s before it.
        press(Qt::Key_Up);
        press(Qt::Key_Up);
        press(Qt::Key_Up);
        press(Qt::Key_Return);
        playingFrom(m_sampleTimings[3].startMs - 2000);
        playUntil(9300);
        press(Qt::Key_Space);
        EXPECT_NEAR(markOf(3), 9300, 1);
        EXPECT_LE(markOf(0), m_sampleTimings[0].startMs);
        EXPECT_GE(markOf(0), m_sampleTimings[0].startMs - 30);
        // Taking back the new run's mark leaves the earlier run's still to be saved.
        press(Qt::Key_Backspace);
        EXPECT_TRUE(dialog.modified());
        leaveAnswering(QMessageBox::Save);
    });
    ASSERT_EQ(m_questions.size(), 1);
    const auto written = PosArchive::readSura(recordingsArchive(), 112);
    ASSERT_TRUE(written.ok());
    EXPECT_LE(written.value()[0].startMs, m_sampleTimings[0].startMs);
    EXPECT_GE(written.value()[0].startMs, m_sampleTimings[0].startMs - 30);
    EXPECT_EQ(written.value()[3], m_sampleTimings[3]);
}

}  // namespace
}  // namespace lumora::test

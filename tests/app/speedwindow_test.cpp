// Playback speed and practice tracks in the running program: the keys [, ] and \, the Speed submenu and
// its "Other..." dialog, the panel's speed label, the stored setting, and Save Practice Track through its
// file dialog and progress window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <QTest>

#include "app/commandtable.h"
#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/practicetracksaver.h"
#include "app/suracombobox.h"
#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "audio/player.h"
#include "programfixture.h"
#include "support/testrecordings.h"
#include "recitation/recitationcontroller.h"

namespace lumora {
namespace {

QAction* menuItem(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) return action;
        if (action->menu() != nullptr)
            if (QAction* inner = menuItem(action->menu(), caption)) return inner;
    }
    return nullptr;
}

QAction* recitationItem(MainWindow& window, const QString& caption) {
    return menuItem(window.topMenus()[1], caption);
}

class SpeedWindowTest : public test::ProgramTest {
protected:
    // Starts the program on sura 112, whose recording the sample folder holds.
    RecitationController& startOnSura112() {
        RecitationController& controller = *start().controller();
        EXPECT_TRUE(controller.selectSura(111).ok());
        EXPECT_TRUE(QFileInfo::exists(controller.mediaFile())) << "the sample sura has no recording";
        return controller;
    }

    // Recitation -> Save Practice Track..., its state refreshed as opening the menu does.
    void savePracticeTrack() {
        program().window().commands().refresh();
        recitationItem(program().window(), QStringLiteral("Save Practice &Track..."))->trigger();
    }
};

// Verses 1 to 3 of the loaded sura as the range, said `times` times with these pauses.
void useRange(RecitationController& controller, int times, int pause, int pauseBetweenVerses) {
    ASSERT_TRUE(controller.rangeEnd().setValue(3).ok());
    ASSERT_TRUE(controller.rangeBegin().setValue(1).ok());
    RangeSettings range = controller.rangeSettings();
    range.noofTimes = times;
    range.pause = pause;
    range.pauseBetweenVerses = pauseBetweenVerses;
    controller.setRangeSettings(range);
}

// Keys go to the sura box, which holds the focus when the window opens.
QWidget* g_focus = nullptr;
void press(Qt::Key key) { QTest::keyClick(g_focus, key); }

TEST_F(SpeedWindowTest, KeysMenuAndOtherSetTheSpeedThePanelShowsItAndTheSettingsKeepIt) {
    Program& started = start();
    MainWindow& window = started.window();
    g_focus = window.panel()->suraBox();
    RecitationController& controller = *started.controller();
    QLabel* label = window.panel()->speedLabel();
    EXPECT_FALSE(label->isVisibleTo(&window));

    press(Qt::Key_BracketLeft);
    EXPECT_EQ(controller.speed().hundredths(), 95);
    EXPECT_DOUBLE_EQ(started.player()->speed(), 0.95);
    EXPECT_TRUE(label->isVisibleTo(&window));
    EXPECT_EQ(label->text(), QStringLiteral("0.95\u00D7"));
    EXPECT_EQ(stored(QStringLiteral("Main"), QStringLiteral("PlaybackSpeed")), QStringLiteral("0.95"));
    press(Qt::Key_BracketRight);
    press(Qt::Key_BracketRight);
    EXPECT_EQ(controller.speed().hundredths(), 105);
    press(Qt::Key_Backslash);
    EXPECT_EQ(controller.speed().hundredths(), 100);
    EXPECT_FALSE(label->isVisibleTo(&window));
    for (int i = 0; i < 30; ++i) press(Qt::Key_BracketLeft);
    EXPECT_EQ(controller.speed().hundredths(), 50);

    QAction* threeQuarters = recitationItem(window, QStringLiteral("0.75"));
    ASSERT_NE(threeQuarters, nullptr);
    threeQuarters->trigger();
    EXPECT_EQ(controller.speed().hundredths(), 75);
    window.commands().refresh();
    EXPECT_TRUE(threeQuarters->isChecked());

    // "Other...": any step between 0.50 and 1.50; a cancel changes nothing.
    QAction* other = recitationItem(window, QStringLiteral("&Other..."));
    ASSERT_NE(other, nullptr);
    modals().answerWith([](QWidget* widget) {
        auto* dialog = qobject_cast<QInputDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        EXPECT_DOUBLE_EQ(dialog->doubleValue(), 0.75);
        dialog->setDoubleValue(1.35);
        dialog->accept();
    });
    other->trigger();
    EXPECT_EQ(controller.speed().hundredths(), 135);
    other->trigger();  // no answer queued: the dialog is closed
    EXPECT_EQ(controller.speed().hundredths(), 135);
    window.commands().refresh();
    EXPECT_TRUE(other->isChecked());
    EXPECT_FALSE(threeQuarters->isChecked());

    Program& again = restart();
    EXPECT_EQ(again.controller()->speed().hundredths(), 135);
    EXPECT_DOUBLE_EQ(again.player()->speed(), 1.35);
    EXPECT_EQ(again.window().panel()->speedLabel()->text(), QStringLiteral("1.35\u00D7"));
}

TEST_F(SpeedWindowTest, SavePracticeTrackWritesTheRangeBehindAProgressWindow) {
    RecitationController& controller = startOnSura112();
    MainWindow& window = program().window();
    useRange(controller, 2, 1, 0);
    QAction* item = recitationItem(window, QStringLiteral("Save Practice &Track..."));
    ASSERT_NE(item, nullptr);
    window.commands().refresh();  // as opening the menu does
    ASSERT_TRUE(item->isEnabled());

    QTemporaryDir target;
    QString proposed;
    QString progressText;
    modals().answerWith([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->selectFile(target.path() + QStringLiteral("/practice"));
        static_cast<QDialog*>(dialog)->accept();
    });
    // The progress window closes itself when the track is complete.
    modals().answerWith([&](QWidget* widget) {
        auto* progress = qobject_cast<QProgressDialog*>(widget);
        ASSERT_NE(progress, nullptr);
        progressText = progress->labelText();
    });
    item->trigger();
    EXPECT_EQ(proposed, QStringLiteral("112-001-003 practice.mp3"));
    EXPECT_EQ(progressText, QStringLiteral("Sura 112, verses 1 to 3, 2 times, at 1.00\u00D7."));

    const std::string path = (target.path() + QStringLiteral("/practice.mp3")).toStdString();
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    ASSERT_TRUE(index.ok());
    const std::vector<VerseTiming>& table = controller.verseTable();
    const int64_t rangeMs = int64_t{table[3].endMs} - Player::kLookAheadMs - table[1].startMs;
    EXPECT_NEAR(static_cast<double>(index.value().lengthMs()), 2.0 * (rangeMs + 1000), 60.0);

    // Cancelling the file dialog writes nothing; an unlimited range is said to be held once.
    useRange(controller, 0, 1, 0);
    item->trigger();
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(
        PracticeTrackSaver::summary(112, QStringLiteral("1"), QStringLiteral("3"), 0, 100),
        QStringLiteral("Sura 112, verses 1 to 3, once, at 1.00\u00D7.\n"
                       "Range mode repeats this range without end; the track holds it once."));
}

// Chooses `path` in the file dialog that Save Practice Track opens; the progress window closes itself.
void answerSaveDialog(test::ModalResponder& modals, const QString& path) {
    modals.answerWith([path](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    modals.answerWith([](QWidget* widget) { ASSERT_NE(qobject_cast<QProgressDialog*>(widget), nullptr); });
}

std::vector<float> decodedTrack(const std::string& path) {
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    Mp3Decoder decoder;
    if (!index || !decoder.open(path, index.value()).ok()) return {};
    std::vector<float> samples(static_cast<size_t>(index.value().lengthSamples() * index.value().channels()));
    int64_t done = 0;
    for (int64_t got; done < index.value().lengthSamples() &&
                      (got = decoder.read(samples.data() + done * index.value().channels(),
                                          index.value().lengthSamples() - done)) > 0;)
        done += got;
    samples.resize(static_cast<size_t>(done * index.value().channels()));
    return samples;
}

// A reciter whose sura 112 is one file per verse: the track holds every verse's own file, as range mode
// plays them, not the first file stretched over the joined timings.
TEST_F(SpeedWindowTest, APerVerseSurasTrackHoldsEachVersesFile) {
    const QString qari = dataFolder() + QStringLiteral("/lumora/recordings/qari");
    ASSERT_TRUE(QDir().mkpath(qari));
    const std::vector<test::Recording> verses = test::makeVerseRecordings({600, 700, 800, 900, 1000});
    for (size_t k = 0; k < verses.size(); ++k)
        ASSERT_TRUE(QFile::copy(QString::fromStdString(verses[k].path),
                                qari + QStringLiteral("/112%1.mp3").arg(k, 3, 10, QLatin1Char('0'))));
    store(QStringLiteral("Reciters"), QStringLiteral("Current"), qari);
    store(QStringLiteral("About"), QStringLiteral("Show3"), QStringLiteral("0"));
    Program& started = start();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    ASSERT_NE(controller.joinedRecording(), nullptr);
    useRange(controller, 1, 0, 0);

    QTemporaryDir target;
    answerSaveDialog(modals(), target.path() + QStringLiteral("/verses.mp3"));
    savePracticeTrack();
    EXPECT_EQ(modals().count(QStringLiteral("QMessageBox")), 0);
    const std::vector<float> pcm = decodedTrack((target.path() + QStringLiteral("/verses.mp3")).toStdString());
    const std::vector<VerseTiming>& table = controller.verseTable();
    const int64_t rangeMs = int64_t{table[3].endMs} - Player::kLookAheadMs - table[1].startMs;
    ASSERT_NEAR(static_cast<double>(pcm.size()), rangeMs * 22.05, 600.0);
    // Each verse's tone is heard where the verse lies in the track.
    for (int record = 1; record <= 3; ++record) {
        const auto from = static_cast<size_t>((table[static_cast<size_t>(record)].startMs - table[1].startMs + 100) * 22.05);
        const auto to = from + static_cast<size_t>(300 * 22.05);
        const float loudest = std::abs(*std::max_element(pcm.begin() + static_cast<std::ptrdiff_t>(from),
                                                         pcm.begin() + static_cast<std::ptrdiff_t>(to),
                                                         [](float a, float b) { return std::abs(a) < std::abs(b); }));
        EXPECT_GT(loudest, 0.1f) << "record " << record;
    }
}

// A name typed without its ending gets one after the file dialog has asked about replacing files, so
// the window asks itself before a file of the completed name is replaced.
TEST_F(SpeedWindowTest, ANameCompletedWithItsEndingAsksBeforeReplacingAFile) {
    startOnSura112();
    QTemporaryDir target;
    const QString path = target.path() + QStringLiteral("/practice.mp3");
    for (const QMessageBox::StandardButton button : {QMessageBox::No, QMessageBox::Yes}) {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        modals().clear();
        modals().answerWith([&](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(target.path() + QStringLiteral("/practice"));
            static_cast<QDialog*>(dialog)->accept();
        });
        // The question, if asked, is answered; a progress window is left to close itself.
        modals().answerWith([button](QWidget* widget) {
            if (auto* box = qobject_cast<QMessageBox*>(widget)) box->button(button)->click();
        });
        if (button == QMessageBox::Yes) modals().answerWith([](QWidget*) {});
        savePracticeTrack();
        EXPECT_EQ(modals().count(QStringLiteral("QMessageBox")), 1) << button;
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll() == "old", button == QMessageBox::No) << button;
    }
}

// Cancel in the progress window stops the track: the old file at the path stays as it was, no part of
// the new one is left beside it, and no failure is reported.
TEST_F(SpeedWindowTest, CancelInTheProgressWindowLeavesTheOldFile) {
    RecitationController& controller = startOnSura112();
    RangeSettings range = controller.rangeSettings();
    range.noofTimes = 1000;  // long enough to be cancelled before it is done
    controller.setRangeSettings(range);
    QTemporaryDir target;
    const QString path = target.path() + QStringLiteral("/practice.mp3");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    modals().answerWith([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(target.path() + QStringLiteral("/practice"));
        static_cast<QDialog*>(dialog)->accept();
    });
    modals().answer(QMessageBox::Yes);  // replace practice.mp3
    modals().answerWith([](QWidget* widget) {
        auto* progress = qobject_cast<QProgressDialog*>(widget);
        ASSERT_NE(progress, nullptr);
        QTest::keyClick(progress, Qt::Key_Escape);
    });
    savePracticeTrack();
    EXPECT_EQ(modals().count(QStringLiteral("QProgressDialog")), 1);
    EXPECT_EQ(modals().count(QStringLiteral("QMessageBox")), 1);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
}  // namespace lumora

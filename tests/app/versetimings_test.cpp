// Recitation → Verse Timings as a user meets it: the menu opened and walked with keys, the real file,
// input and progress dialogs, the recordings' folder's pos.dat written for the loaded sura only.

#include <gtest/gtest.h>

#include <QAbstractButton>
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

}  // namespace
}  // namespace lumora::test

// Notices in the window: a timing table that does not fit its recording is named in the strip over the
// panes, without a message box and without taking the focus, and the strip closes from its button.
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/mainwindow.h"
#include "app/noticebar.h"
#include "audio/player.h"
#include "codec/archivewriter.h"
#include "codec/versetimingtable.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"

namespace lumora::test {
namespace {

using NoticeTest = ProgramTest;

TEST_F(NoticeTest, ATableRunningPastItsRecordingIsNamedInTheStripNotInAMessageBox) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    MainWindow& window = started.window();
    // Sura 112 of the sample folder with a table of its own whose last verse ends a minute too late.
    QTemporaryDir scratch;
    const QString archive = scratch.path() + "/pos.dat";
    std::vector<VerseTiming> records{{0, 1000}, {1000, 2000}, {2000, 3000}, {3000, 4000}, {4000, 90000}};
    ArchiveWriter pos;
    pos.addEntry(VerseTimingTable::entryName(112), VerseTimingTable::encode(records), true);
    ASSERT_TRUE(pos.write(archive.toStdString()).ok());
    const QString file = sampleFolder() + "/mp3/112.mp3";
    controller.setRecordingLookup([&](int sura) {
        SuraRecording recording;
        recording.sura = sura;
        recording.kind = SuraRecording::Kind::kPerSura;
        recording.file = file;
        recording.timingSource = SuraRecording::TimingSource::kOwnArchive;
        recording.timingArchive = archive;
        return recording;
    });
    window.activateWindow();
    QWidget* focused = QApplication::focusWidget();

    ASSERT_TRUE(controller.selectSura(111).ok());
    NoticeBar* notice = window.noticeBar();
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains("112 (AL-IKHLAS)")) << notice->text().toStdString();
    EXPECT_TRUE(notice->text().contains("112:4 ends at 1:30.000, past the end of the recording"))
        << notice->text().toStdString();
    EXPECT_EQ(modals().count("QMessageBox"), 0);
    EXPECT_EQ(QApplication::focusWidget(), focused);
    // Along the bottom of the panes, as wide as they are, over them.
    EXPECT_EQ(notice->geometry().bottom(), window.container()->rect().bottom());
    EXPECT_EQ(notice->width(), window.container()->width());

    // Recitation goes on with the table as it is.
    controller.startRecitation();
    EXPECT_TRUE(started.player()->isPlaying());

    QTest::mouseClick(notice->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(notice->isVisible());
    // The same table loaded again says so again, once.
    ASSERT_TRUE(controller.selectSura(110).ok());
    ASSERT_TRUE(controller.selectSura(111).ok());
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(modals().count("QMessageBox"), 0);
}

}  // namespace
}  // namespace lumora::test

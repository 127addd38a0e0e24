// Reciters as the user meets them: the Recitation menu's Reciter submenu, Options → "Add Recordings
// Folder..." through the real folder dialog, Options → "Remove Recordings Folder", the sura list's marks for
// the chosen reciter, and the choice coming back at the next start.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/mainwindow.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "recordings/reciterlist.h"

namespace lumora::test {
namespace {

class RecitersTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped()) return;
        // A reciter of the per-user folder: sura 112 timed by the program folder, sura 2 with timings nowhere,
        // sura 108 as verse files with one missing.
        m_qari = dataFolder() + QStringLiteral("/lumora/recordings/qari");
        ASSERT_TRUE(QDir().mkpath(m_qari));
        const QString sample = sampleFolder() + QStringLiteral("/mp3/");
        for (const auto& [from, to] : {std::pair{"112.mp3", "112.mp3"}, {"112.mp3", "002.mp3"},
                                       {"108.mp3", "108000.mp3"}, {"108.mp3", "108001.mp3"}, {"108.mp3", "108003.mp3"}})
            ASSERT_TRUE(QFile::copy(sample + from, m_qari + '/' + to));
        QFile ini(m_qari + QStringLiteral("/reciter.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Reciter]\nName=Qari Test\n");
    }

    // Opens a menu of the menu bar with a click on its title.
    QMenu* openMenu(const QString& caption) {
        QMenuBar* bar = program().window().menuBar();
        for (QAction* action : bar->actions()) {
            if (action->text() == caption) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
                return qobject_cast<QMenu*>(QApplication::activePopupWidget());
            }
        }
        ADD_FAILURE() << "no menu " << caption.toStdString();
        return nullptr;
    }

    // Moves to the item of that caption in the open menu, as the arrow keys would, and presses `key` on it.
    void pressOn(QMenu* menu, const QString& caption, Qt::Key key) {
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, key);
                return;
            }
        }
        ADD_FAILURE() << "no item " << caption.toStdString();
    }

    QMenu* openReciterMenu() {
        pressOn(openMenu(QStringLiteral("&Recitation")), QStringLiteral("&Reciter"), Qt::Key_Right);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

    QString itemText(int sura) { return program().controller()->suraList().itemText(sura - 1); }

    QString m_qari;
};

TEST_F(RecitersTest, SwitchingFromTheMenuKeepsSuraRangeAndVerseAndRemarksTheList) {
    start();
    RecitationController& controller = *program().controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    ASSERT_TRUE(controller.rangeBegin().setValue(1).ok());
    ASSERT_TRUE(controller.rangeEnd().setValue(3).ok());
    controller.startRecitation();
    ASSERT_TRUE(controller.tickEnabled());
    ASSERT_TRUE(controller.currentVerseSlider().setValue(2).ok());
    EXPECT_EQ(itemText(2), QStringLiteral("2. AL-BAQARA (audio missing)"));

    QMenu* reciters = openReciterMenu();
    ASSERT_NE(reciters, nullptr);
    ASSERT_EQ(reciters->actions().size(), 2);
    EXPECT_TRUE(reciters->actions().at(0)->isChecked());
    EXPECT_EQ(reciters->actions().at(0)->text(), QStringLiteral("&1 Sample tones"));
    EXPECT_EQ(reciters->actions().at(1)->text(), QStringLiteral("&2 Qari Test"));
    QTest::keyClick(reciters, Qt::Key_2);

    EXPECT_FALSE(controller.tickEnabled());
    EXPECT_EQ(controller.sura(), 112);
    EXPECT_EQ(controller.rangeBegin().value(), 1);
    EXPECT_EQ(controller.rangeEnd().value(), 3);
    EXPECT_EQ(controller.currentVerseSlider().value(), 2);
    EXPECT_EQ(controller.currentVerse(), 2);
    EXPECT_EQ(controller.mediaFile(), m_qari + QStringLiteral("/112.mp3"));
    EXPECT_EQ(itemText(112), QStringLiteral("112. AL-IKHLAS"));
    EXPECT_EQ(itemText(2), QStringLiteral("2. AL-BAQARA (no timings)"));
    EXPECT_EQ(itemText(108), QStringLiteral("108. AL-KAUTHER (audio incomplete)"));
    EXPECT_EQ(itemText(114), QStringLiteral("114. AN-NAS (audio missing)"));
    EXPECT_EQ(stored(ReciterList::kSection, QStringLiteral("Current")), m_qari);

    // The choice comes back at the next start, with its marks.
    restart();
    EXPECT_EQ(program().reciters()->current().name, QStringLiteral("Qari Test"));
    EXPECT_EQ(program().controller()->mediaFile(), m_qari + QStringLiteral("/112.mp3"));
    EXPECT_EQ(program().controller()->rangeEnd().value(), 3);
    EXPECT_EQ(itemText(108), QStringLiteral("108. AL-KAUTHER (audio incomplete)"));
    reciters = openReciterMenu();
    ASSERT_NE(reciters, nullptr);
    EXPECT_TRUE(reciters->actions().at(1)->isChecked());
    QTest::keyClick(reciters, Qt::Key_Escape);
}

TEST_F(RecitersTest, AddedFoldersComeFromTheFolderDialogAndRemovingKeepsTheirFiles) {
    QTemporaryDir elsewhere;
    const QString added = elsewhere.path() + QStringLiteral("/husary");
    ASSERT_TRUE(QDir().mkpath(added));
    ASSERT_TRUE(QFile::copy(sampleFolder() + QStringLiteral("/mp3/114.mp3"), added + QStringLiteral("/114.mp3")));
    start();
    RecitationController& controller = *program().controller();
    ASSERT_TRUE(controller.selectSura(113).ok());

    // The folder is typed into the dialog and confirmed with Return.
    const auto typeFolder = [](const QString& folder) {
        return [folder](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            ASSERT_NE(dialog, nullptr);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(folder);
            QTest::keyClick(name, Qt::Key_Return);
        };
    };
    modals().clear();
    modals().answerWith(typeFolder(added));
    pressOn(openMenu(QStringLiteral("&Options")), QStringLiteral("Add Recordings &Folder..."), Qt::Key_Return);
    EXPECT_EQ(program().reciters()->current().folder, added);
    EXPECT_EQ(controller.mediaFile(), added + QStringLiteral("/114.mp3"));
    EXPECT_EQ(itemText(114), QStringLiteral("114. AN-NAS"));
    EXPECT_EQ(itemText(112), QStringLiteral("112. AL-IKHLAS (audio missing)"));
    EXPECT_EQ(stored(ReciterList::kSection, QStringLiteral("Added1")), added);

    // A folder already listed is explained, not added twice.
    modals().answerWith(typeFolder(m_qari));
    pressOn(openMenu(QStringLiteral("&Options")), QStringLiteral("Add Recordings &Folder..."), Qt::Key_Return);
    ASSERT_EQ(modals().seen().size(), 3u);
    EXPECT_EQ(modals().seen().back().className, QStringLiteral("QMessageBox"));
    EXPECT_TRUE(modals().seen().back().text.contains(QStringLiteral("already in the list, as the reciter Qari Test")));
    EXPECT_EQ(program().reciters()->count(), 3);

    // Removing the current reciter goes back to the program folder's recordings.
    pressOn(openMenu(QStringLiteral("&Options")), QStringLiteral("Re&move Recordings Folder"), Qt::Key_Right);
    auto* removable = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(removable, nullptr);
    ASSERT_EQ(removable->actions().size(), 1);
    EXPECT_EQ(removable->actions().at(0)->text(), QStringLiteral("husary"));
    QTest::keyClick(removable, Qt::Key_Return);
    EXPECT_EQ(program().reciters()->count(), 2);
    EXPECT_EQ(program().reciters()->currentIndex(), 0);
    EXPECT_EQ(controller.mediaFile(), program().mp3Folder() + QStringLiteral("114.mp3"));
    EXPECT_TRUE(QFile::exists(added + QStringLiteral("/114.mp3")));
    EXPECT_EQ(stored(ReciterList::kSection, QStringLiteral("Added")), QStringLiteral("0"));
}

}  // namespace
}  // namespace lumora::test

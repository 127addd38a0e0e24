// Start-up and shut-down of the whole program on the sample folder.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "audio/player.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

using StartUpTest = ProgramTest;

TEST_F(StartUpTest, FirstStartWithAnEmptyStoreUsesEveryDefault) {
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();

    EXPECT_EQ(modals().count(QStringLiteral("lumora::AboutWindow")), 1);
    EXPECT_EQ(window.currentLayout(), QStringLiteral("1"));
    EXPECT_EQ(controller.volume().curPosition(), 500);
    EXPECT_EQ(started.player()->masterVolume(), 128);
    EXPECT_TRUE(started.player()->equalizerEnabled());
    EXPECT_TRUE(window.onscreenHelp());
    EXPECT_TRUE(window.showPanel());
    EXPECT_FALSE(window.isTopMost());
    EXPECT_TRUE(started.clipboardReady());
    EXPECT_EQ(started.mp3Folder(), started.appFolder() + QStringLiteral("/mp3/"));

    // Sura 1 selected, the whole sura as the range.
    EXPECT_EQ(controller.sura(), 1);
    EXPECT_EQ(controller.rangeBegin().value(), 0);
    EXPECT_EQ(controller.rangeEnd().value(), 6);
    EXPECT_EQ(controller.currentVerseSlider().value(), 0);

    // Pane 1 the Arabic text at 33, panes 2 to 4 installed translations at 17, all different.
    VerseTextAssignment& texts = *started.texts();
    EXPECT_EQ(texts.pane(1).transName(), QStringLiteral("Arabic - Uthmani script"));
    EXPECT_EQ(texts.pane(1).fontSize(), 33);
    QStringList names;
    for (int pane = 1; pane <= 4; ++pane) {
        names << texts.pane(pane).transName();
        EXPECT_TRUE(window.isPaneVisible(pane));
        EXPECT_EQ(texts.pane(pane).backColour(), 14937827u);
        EXPECT_EQ(texts.pane(pane).foreColour(), 0u);
        if (pane > 1) {
            EXPECT_EQ(texts.pane(pane).fontSize(), 17);
        }
        EXPECT_TRUE(QFile::exists(started.appFolder() + "/data/tdata/" + names.last() + ".dat"))
            << names.last().toStdString();
        EXPECT_FALSE(window.paneFrame(pane)->view()->page().isEmpty());
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 4);

    // 90 % of the screen, centred, panes of equal height.
    const QSize screen = window.screenSizeTwips();
    const QRect geometry = window.windowGeometryTwips();
    EXPECT_NEAR(geometry.width(), screen.width() * 0.9, 15);
    EXPECT_NEAR(geometry.height(), screen.height() * 0.9, 15);
    EXPECT_NEAR(geometry.left(), (screen.width() - geometry.width()) / 2, 15);
    EXPECT_NEAR(geometry.top(), (screen.height() - geometry.height()) / 2, 15);
    for (int pane = 2; pane <= 4; ++pane) {
        EXPECT_NEAR(window.paneGeometryTwips(pane).height(), window.paneGeometryTwips(1).height(), 1);
    }
    window.grab().save(QStringLiteral("app_first_start.png"));
}

// A program folder of the test's own: the sample folder's data and recordings, and its own config.ini.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& configText) {
        const QString sample = ProgramTest::sampleFolder();
        QFile::link(sample + QStringLiteral("/data"), m_dir.path() + QStringLiteral("/data"));
        QFile::link(sample + QStringLiteral("/mp3"), m_dir.path() + QStringLiteral("/mp3"));
        QFile config(m_dir.path() + QStringLiteral("/config.ini"));
        config.open(QIODevice::WriteOnly);
        config.write(configText.toUtf8());
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

TEST_F(StartUpTest, TheAboutWindowFollowsShow3AndItsCheckBox) {
    store(QStringLiteral("About"), QStringLiteral("Show3"), QStringLiteral("0"));
    start();
    EXPECT_EQ(modals().count(QStringLiteral("lumora::AboutWindow")), 0);
    close();

    // Shown again, then ticked "Don't show this screen on startup": the next start keeps it closed.
    store(QStringLiteral("About"), QStringLiteral("Show3"), QStringLiteral("1"));
    create();
    modals().answerWith([](QWidget* about) {
        about->findChild<QCheckBox*>()->setChecked(true);
        static_cast<QDialog*>(about)->reject();
    });
    ASSERT_TRUE(program().startUp().ok());
    EXPECT_EQ(modals().count(QStringLiteral("lumora::AboutWindow")), 1);
    EXPECT_EQ(stored(QStringLiteral("About"), QStringLiteral("Show3")), QStringLiteral("0"));
    restart();
    EXPECT_EQ(modals().count(QStringLiteral("lumora::AboutWindow")), 0);
}

TEST_F(StartUpTest, ConfigMp3PathComesBeforeTheStoredFolder) {
    store(QStringLiteral("Main"), QStringLiteral("MP3Folder"), QStringLiteral("/stored/recordings/"));
    {
        ProgramFolder folder(QStringLiteral("[Main]\nMP3Path=/elsewhere/recordings\n"));
        Program& started = start(folder.path());
        // A folder given without its closing "/" still names the folder.
        EXPECT_EQ(started.mp3Folder(), QStringLiteral("/elsewhere/recordings/"));
        // No recording there: every sura is marked.
        EXPECT_TRUE(started.controller()->suraList().audioMissing(0));
        close();
    }
    {
        ProgramFolder folder(QStringLiteral("[Main]\nMP3Path=\n"));
        EXPECT_EQ(start(folder.path()).mp3Folder(), QStringLiteral("/stored/recordings/"));
        close();
    }
}

TEST_F(StartUpTest, StoredVolumeZeroIsSilenceAndNoValueIsHalf) {
    store(QStringLiteral("Vol"), QStringLiteral("Pos"), QStringLiteral("0"));
    Program& silent = start();
    EXPECT_EQ(silent.controller()->volume().curPosition(), 0);
    EXPECT_EQ(silent.player()->masterVolume(), 0);
    close();
    store(QStringLiteral("Vol"), QStringLiteral("Pos"), QStringLiteral("NO"));
    EXPECT_EQ(start().controller()->volume().curPosition(), 500);
}

TEST_F(StartUpTest, AFailingStepKeepsABackupDeletesEverySettingAndSaysWhichStep) {
    // List index 114 would be sura 115.
    store(QStringLiteral("Main"), QStringLiteral("Sura"), QStringLiteral("114"));
    store(QStringLiteral("Layout1"), QStringLiteral("2Size"), QStringLiteral("21"));
    Program& failing = create();
    const auto result = failing.startUp();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().step, 240);
    EXPECT_EQ(result.error().number, 380);
    failing.failStartUp(result.error());

    const ModalRecord& message = modals().seen().back();
    EXPECT_EQ(message.title, QStringLiteral("Lumora"));
    EXPECT_EQ(message.text,
              QStringLiteral("Invalid property value\r\n\r\nError starting Lumora - Error number  - 240, try "
                             "reinstalling Lumora.. if problem persist, contact support at Orvanta with "
                             "error number mentioned above"));
    QFile backup(settingsFile() + QStringLiteral(".bak"));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    const QByteArray kept = backup.readAll();
    EXPECT_TRUE(kept.contains("Sura=114")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("2Size=21")) << kept.toStdString();
    EXPECT_EQ(stored(QStringLiteral("Main"), QStringLiteral("Sura")), QStringLiteral("<none>"));
    EXPECT_EQ(stored(QStringLiteral("Layout1"), QStringLiteral("2Size")), QStringLiteral("<none>"));

    // The program ends without keeping its state; the next start begins from the defaults.
    close();
    EXPECT_EQ(stored(QStringLiteral("Main"), QStringLiteral("Sura")), QStringLiteral("<none>"));
    Program& next = start();
    EXPECT_EQ(next.controller()->sura(), 1);
}

TEST_F(StartUpTest, AnUnreadableStoredValueFailsItsOwnStep) {
    store(QStringLiteral("LoadClosedState"), QStringLiteral("Value"), QStringLiteral("perhaps"));
    auto result = create().startUp();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().step, 70);

    close();
    store(QStringLiteral("LoadClosedState"), QStringLiteral("Value"), QStringLiteral("True"));
    store(QStringLiteral("Layout1"), QStringLiteral("Position"), QStringLiteral("10|20|30"));
    result = create().startUp();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().step, 50);
}

TEST_F(StartUpTest, StartsInTheStoredLayoutAndInLayoutOneForAnUnknownName) {
    store(QStringLiteral("Main"), QStringLiteral("CurrentLayout"), QStringLiteral("3"));
    MainWindow& third = start().window();
    EXPECT_EQ(third.currentLayout(), QStringLiteral("3"));
    EXPECT_TRUE(third.layoutMenuAction(3)->isChecked());
    close();
    store(QStringLiteral("Main"), QStringLiteral("CurrentLayout"), QStringLiteral("7"));
    EXPECT_EQ(start().window().currentLayout(), QStringLiteral("1"));
}

TEST_F(StartUpTest, ShutDownKeepsTheLastStateAndStartUpRestoresIt) {
    Program& first = start();
    RecitationController& controller = *first.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());  // sura 112: records 0 to 4
    ASSERT_TRUE(controller.rangeEnd().setValue(3).ok());
    ASSERT_TRUE(controller.rangeBegin().setValue(1).ok());
    ASSERT_TRUE(controller.currentVerseSlider().setValue(2).ok());
    controller.volume().setCurPosition(700);

    Program& second = restart();
    RecitationController& restored = *second.controller();
    EXPECT_EQ(restored.sura(), 112);
    EXPECT_EQ(restored.rangeBegin().value(), 1);
    EXPECT_EQ(restored.rangeEnd().value(), 3);
    EXPECT_EQ(restored.currentVerseSlider().value(), 2);
    EXPECT_EQ(restored.currentVerse(), 2);
    EXPECT_EQ(restored.volume().curPosition(), 700);
    // The panes show the restored verse.
    EXPECT_EQ(second.texts()->shownSlot(), 2);
}

TEST_F(StartUpTest, WithoutLoadClosedStateNothingIsRestoredButTheStateIsStillKept) {
    Program& first = start();
    ASSERT_TRUE(first.controller()->selectSura(111).ok());
    first.window().toggleLoadClosedState();
    EXPECT_EQ(stored(QStringLiteral("LoadClosedState"), QStringLiteral("Value")), QStringLiteral("False"));

    Program& second = restart();
    EXPECT_EQ(stored(QStringLiteral("Main"), QStringLiteral("Sura")), QStringLiteral("111"));
    EXPECT_FALSE(second.window().loadClosedState());
    EXPECT_FALSE(second.window().loadClosedStateAction()->isChecked());
    EXPECT_EQ(second.controller()->suraList().currentIndex(), -1);
    // The most recent run's sura comes back once the option is ticked again.
    ASSERT_TRUE(second.controller()->selectSura(112).ok());
    second.window().toggleLoadClosedState();

    Program& third = restart();
    EXPECT_EQ(third.controller()->sura(), 113);
}

TEST_F(StartUpTest, ModalWindowsLiftAnAlwaysOnTopWindowWhileTheyAreOpen) {
    store(QStringLiteral("Layout1"), QStringLiteral("AlwaysOnTop"), QStringLiteral("True"));
    Program& started = start();
    ASSERT_EQ(modals().count(QStringLiteral("lumora::AboutWindow")), 1);
    EXPECT_FALSE(modals().seen().front().mainWindowTopMost);
    EXPECT_TRUE(started.window().isTopMost());
    EXPECT_TRUE(started.window().alwaysOnTopAction()->isChecked());

    started.window().showLayoutHelp();
    EXPECT_FALSE(modals().seen().back().mainWindowTopMost);
    EXPECT_EQ(modals().seen().back().title, QStringLiteral("Layouts help"));
    EXPECT_TRUE(started.window().isTopMost());
}

}  // namespace
}  // namespace lumora::test

// The About window: its pages from the help archive and its start-up choice.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "app/aboutwindow.h"
#include "settings/settingsstore.h"

namespace lumora {
namespace {

TEST(AboutWindowTest, PagesAreDecodedByWhatTheirBytesSay) {
    EXPECT_EQ(AboutWindow::decodePage(QByteArray("caf\xc3\xa9 \xd8\xa7")),
              QStringLiteral("caf\u00e9 \u0627"));
    EXPECT_EQ(AboutWindow::decodePage(QByteArray("\xff\xfe"
                                                 "A\0\x27\x06",
                                                 6)),
              QStringLiteral("A\u0627"));
    // Not UTF-8: the Windows code page, whose 0x80..0x9F are typographic marks.
    EXPECT_EQ(AboutWindow::decodePage(QByteArray("\x93quoted\x94 caf\xe9 \x80")),
              QStringLiteral("\u201cquoted\u201d caf\u00e9 \u20ac"));
}

class AboutWindowPagesTest : public ::testing::Test {
protected:
    QString archive() const {
        return qEnvironmentVariable("LUMORA_PROGRAM_FOLDER") + QStringLiteral("/data/main1.dat");
    }
    QTemporaryDir m_settingsDir;
};

TEST_F(AboutWindowPagesTest, ShowsTheThreePagesOfTheHelpArchive) {
    if (!QFile::exists(archive()))
        GTEST_SKIP() << "the sample program folder is not built";
    SettingsStore store(m_settingsDir.path());
    AboutWindow about(archive(), store, AboutWindow::KeyboardPage);
    EXPECT_EQ(about.currentPage(), AboutWindow::KeyboardPage);
    for (auto page : {AboutWindow::AboutPage, AboutWindow::KeyboardPage, AboutWindow::VersionPage}) {
        const QString text = about.pageView(page)->toPlainText();
        EXPECT_GT(text.size(), 100) << AboutWindow::entryName(page).toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("could not be read")));
    }
    EXPECT_TRUE(about.pageView(AboutWindow::KeyboardPage)->toPlainText().contains(QStringLiteral("F8")));
}

TEST_F(AboutWindowPagesTest, AMissingArchiveSaysSoInThePage) {
    SettingsStore store(m_settingsDir.path());
    AboutWindow about(m_settingsDir.path() + QStringLiteral("/none.dat"), store, AboutWindow::AboutPage);
    EXPECT_TRUE(
        about.pageView(AboutWindow::AboutPage)->toPlainText().contains(QStringLiteral("could not be read")));
}

TEST_F(AboutWindowPagesTest, ClosingKeepsTheStartUpChoice) {
    SettingsStore store(m_settingsDir.path());
    EXPECT_TRUE(AboutWindow::showAtStartup(store));
    {
        AboutWindow about(archive(), store, AboutWindow::AboutPage);
        EXPECT_FALSE(about.dontShowBox()->isChecked());
        about.dontShowBox()->setChecked(true);
        about.reject();
    }
    EXPECT_EQ(store.get("ZI4", "About", "Show3", "?"), QStringLiteral("0"));
    EXPECT_FALSE(AboutWindow::showAtStartup(store));
    {
        AboutWindow about(archive(), store, AboutWindow::AboutPage);
        EXPECT_TRUE(about.dontShowBox()->isChecked());
        about.dontShowBox()->setChecked(false);
        about.accept();
    }
    EXPECT_EQ(store.get("ZI4", "About", "Show3", "?"), QStringLiteral("1"));
}

}  // namespace
}  // namespace lumora

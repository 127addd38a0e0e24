#include "settings/settingsstore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace lumora {
namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    // A folder that does not exist yet: the first save creates it.
    SettingsStore m_store{m_dir.path() + "/config/lumora"};
};

TEST_F(SettingsStoreTest, AbsentValuesGiveTheDefaultAndSavedValuesComeBackExactly)
{
    EXPECT_EQ(m_store.get("ZI4", "Main", "CurrentLayout", "1"), "1");
    ASSERT_TRUE(m_store.save("ZI4", "Main", "CurrentLayout", "3"));
    ASSERT_TRUE(m_store.save("ZI4", "Layout3", "Position", " 0|0|14580|25920 "));
    ASSERT_TRUE(m_store.save("ZI4", "EQ", "Usr", "My preset=1;2#3\nsecond line\\"));
    ASSERT_TRUE(m_store.save("ZI4", "MAIN", "currentlayout", "4"));
    EXPECT_EQ(m_store.get("ZI4", "main", "CURRENTLAYOUT", "1"), "4");
    EXPECT_EQ(m_store.get("ZI4", "Layout3", "Position", ""), " 0|0|14580|25920 ");
    EXPECT_EQ(m_store.get("ZI4", "EQ", "Usr", ""), "My preset=1;2#3\nsecond line\\");
    EXPECT_EQ(m_store.get("ZI4", "Main", "Absent", "d"), "d");
    EXPECT_EQ(m_store.get("Other", "Main", "CurrentLayout", "d"), "d");
    EXPECT_EQ(m_store.filePath("ZI4"), m_dir.path() + "/config/lumora/ZI4.ini");
    // The key keeps the spelling of its first save; only the value changed.
    EXPECT_TRUE(readAll(m_store.filePath("ZI4")).startsWith("[Main]\nCurrentLayout=4\n"));
    // Nothing but the settings file is left in the folder (the atomic write cleans up after itself).
    EXPECT_EQ(QDir(m_store.folder()).entryList(QDir::Files), QStringList({"ZI4.ini"}));
}

TEST_F(SettingsStoreTest, SeveralKeysAreSavedInOneWrite)
{
    ASSERT_TRUE(m_store.save("ZI4", "Layout1", SettingsStore::KeyValues{{"AlwaysOnTop", "False"}, {"ShowPanel", "True"}}));
    EXPECT_EQ(readAll(m_store.filePath("ZI4")), "[Layout1]\nAlwaysOnTop=False\nShowPanel=True\n");
    const IniFile doc = m_store.read("ZI4");
    EXPECT_EQ(doc.value("layout1", "showpanel"), QString("True"));
}

TEST_F(SettingsStoreTest, AHandEditedFileCountsFromTheNextRead)
{
    ASSERT_TRUE(m_store.save("ZI4", "Vol", "Pos", "500"));
    writeFile(m_store.filePath("ZI4"), "garbage line\n[Vol]\r\nPos=0\r\n[unclosed\nPos=9\n");
    EXPECT_EQ(m_store.get("ZI4", "Vol", "Pos", "NO"), "0");
    ASSERT_TRUE(m_store.save("ZI4", "Vol", "Pos", "250"));
    EXPECT_EQ(readAll(m_store.filePath("ZI4")), "[Vol]\nPos=250\n");
}

TEST_F(SettingsStoreTest, DeletingAnAbsentSectionIsAnErrorAndLeavesTheFileAlone)
{
    const Result<void> none = m_store.deleteSection("ZI4", "Layout2");
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().number, SettingsStore::kErrorInvalidArgument);
    EXPECT_FALSE(QFile::exists(m_store.filePath("ZI4")));

    ASSERT_TRUE(m_store.save("ZI4", "Layout1", "1Size", "33"));
    ASSERT_TRUE(m_store.save("ZI4", "Layout2", "1Size", "20"));
    EXPECT_FALSE(m_store.deleteSection("ZI4", "Layout3"));
    ASSERT_TRUE(m_store.deleteSection("ZI4", "LAYOUT2"));
    EXPECT_EQ(m_store.get("ZI4", "Layout2", "1Size", "17"), "17");
    EXPECT_EQ(m_store.get("ZI4", "Layout1", "1Size", "17"), "33");
    EXPECT_FALSE(m_store.deleteSection("ZI4", "Layout2"));
}

TEST_F(SettingsStoreTest, DeleteApplicationAndBackup)
{
    EXPECT_TRUE(m_store.backupApplication("ZI4"));  // no file: nothing to keep
    EXPECT_FALSE(QFile::exists(m_store.filePath("ZI4") + ".bak"));
    EXPECT_TRUE(m_store.deleteApplication("ZI4"));  // nothing to remove

    ASSERT_TRUE(m_store.save("ZI4", "Main", "Sura", "200"));
    ASSERT_TRUE(m_store.save("Other", "Main", "Sura", "1"));
    ASSERT_TRUE(m_store.backupApplication("ZI4"));
    ASSERT_TRUE(m_store.save("ZI4", "Main", "Sura", "201"));
    ASSERT_TRUE(m_store.backupApplication("ZI4"));  // replaces the older backup
    ASSERT_TRUE(m_store.deleteApplication("ZI4"));
    EXPECT_EQ(m_store.get("ZI4", "Main", "Sura", "0"), "0");
    EXPECT_EQ(m_store.get("Other", "Main", "Sura", "0"), "1");
    EXPECT_EQ(readAll(m_store.filePath("ZI4") + ".bak"), "[Main]\nSura=201\n");
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    // A folder where the file should be: it exists but cannot be read as a file.
    ASSERT_TRUE(QDir().mkpath(m_store.filePath("ZI4")));
    EXPECT_EQ(m_store.get("ZI4", "Main", "Sura", "0"), "0");
    const Result<void> saved = m_store.save("ZI4", "Main", "Sura", "1");
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().number, SettingsStore::kErrorFileAccess);
    EXPECT_FALSE(m_store.deleteSection("ZI4", "Main"));
    EXPECT_FALSE(m_store.backupApplication("ZI4"));
    EXPECT_TRUE(QFileInfo(m_store.filePath("ZI4")).isDir());
}

TEST_F(SettingsStoreTest, NamesThatCannotBeStoredAreRefused)
{
    for (const char* application : {"", ".", "..", "../escape", "a/b"}) {
        EXPECT_FALSE(m_store.save(application, "Main", "Sura", "1")) << application;
        EXPECT_EQ(m_store.get(application, "Main", "Sura", "d"), "d");
        EXPECT_FALSE(m_store.deleteApplication(application)) << application;
    }
    EXPECT_FALSE(m_store.save("ZI4", "Ma]in", "Sura", "1"));
    EXPECT_FALSE(m_store.save("ZI4", "Main", "Su=ra", "1"));
    EXPECT_FALSE(m_store.save("ZI4", "Main", SettingsStore::KeyValues{{"Good", "1"}, {"", "2"}}));
    EXPECT_FALSE(QFile::exists(m_store.filePath("ZI4")));
    EXPECT_FALSE(QDir(m_dir.path()).exists("escape.ini"));
}

TEST(SettingsStoreFolder, FollowsXdgConfigHome)
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/lumora-xdg");
    EXPECT_EQ(SettingsStore::defaultFolder(), "/tmp/lumora-xdg/lumora");
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(SettingsStore::defaultFolder(), QDir::homePath() + "/.config/lumora");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsStore::defaultFolder(), QDir::homePath() + "/.config/lumora");
    if (!old.isNull()) {
        qputenv("XDG_CONFIG_HOME", old);
    }
}

}  // namespace
}  // namespace lumora

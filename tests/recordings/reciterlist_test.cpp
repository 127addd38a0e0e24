// The reciters Lumora lists: the program's recordings folder, the per-user folder's subfolders and the
// folders the user added; their names; and the choice and the added folders kept in the settings store.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <filesystem>

#include "recordings/reciterlist.h"
#include "settings/settingsstore.h"
#include "support/scratchfolder.h"

namespace lumora {
namespace {

using Origin = Reciter::Origin;
using test::ScratchFolder;

const QString kApp = QStringLiteral("ZI4");

QString q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

class ReciterListTest : public ::testing::Test {
protected:
    ReciterListTest() : m_store(q(m_root.path() / "config")) {
        for (const char* folder : {"program/mp3", "user/Zeta", "user/alpha", "elsewhere/husary", "config"})
            std::filesystem::create_directories(m_root.path() / folder);
        m_root.write("program/mp3/reciter.ini", "[Reciter]\nName=Placeholder tones\n");
        m_root.write("user/Zeta/reciter.ini", "; made by hand\n[reciter]\nname =  Zeta Recitation  \n");
        // A file in the per-user folder is no reciter.
        m_root.write("user/notes.txt", "");
    }

    ReciterList list() { return ReciterList(m_store, kApp, programMp3() + "/", userFolder()); }
    QString programMp3() const { return q(m_root.path() / "program/mp3"); }
    QString userFolder() const { return q(m_root.path() / "user"); }
    QString folder(const char* name) const { return q(m_root.path() / name); }
    QString stored(const QString& key) const { return m_store.get(kApp, ReciterList::kSection, key, "<none>"); }

    ScratchFolder m_root;
    SettingsStore m_store;
};

TEST_F(ReciterListTest, ListsTheProgramFolderThenThePerUserSubfoldersThenAddedFolders) {
    ReciterList reciters = list();
    ASSERT_EQ(reciters.count(), 3);
    EXPECT_EQ(reciters.at(0).folder, programMp3());
    EXPECT_EQ(reciters.at(0).name, QStringLiteral("Placeholder tones"));
    EXPECT_EQ(reciters.at(0).origin, Origin::kProgramFolder);
    // Sorted by name; without a reciter.ini the folder's name is the reciter's.
    EXPECT_EQ(reciters.at(1).name, QStringLiteral("Zeta Recitation"));
    EXPECT_EQ(reciters.at(2).name, QStringLiteral("alpha"));
    EXPECT_EQ(reciters.at(2).origin, Origin::kPerUser);
    EXPECT_EQ(reciters.currentIndex(), 0);

    Result<int> added = reciters.addFolder(folder("elsewhere/husary") + "/");
    ASSERT_TRUE(added.ok()) << added.error().description;
    EXPECT_EQ(added.value(), 3);
    EXPECT_EQ(reciters.at(3).folder, folder("elsewhere/husary"));
    EXPECT_EQ(reciters.at(3).name, QStringLiteral("husary"));
    EXPECT_EQ(reciters.at(3).origin, Origin::kAdded);
}

TEST_F(ReciterListTest, RefusesFoldersThatAreMissingOrListedAlready) {
    ReciterList reciters = list();
    Result<int> missing = reciters.addFolder(folder("no/such/folder"));
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().description.find("does not exist"), std::string::npos);
    EXPECT_FALSE(reciters.addFolder(QString()).ok());

    // Another spelling of a per-user subfolder, and a link to it, are the same reciter.
    std::filesystem::create_directory_symlink(m_root.path() / "user/Zeta", m_root.path() / "link");
    for (const QString& spelling : {folder("user/Zeta/../Zeta"), folder("link")}) {
        Result<int> twice = reciters.addFolder(spelling);
        ASSERT_FALSE(twice.ok()) << spelling.toStdString();
        EXPECT_NE(twice.error().description.find("Zeta Recitation"), std::string::npos);
    }
    EXPECT_EQ(reciters.count(), 3);
    EXPECT_EQ(stored(QStringLiteral("Added")), QStringLiteral("<none>"));
}

TEST_F(ReciterListTest, TheChoiceAndTheAddedFoldersComeBackAtTheNextStart) {
    {
        ReciterList reciters = list();
        ASSERT_TRUE(reciters.addFolder(folder("elsewhere/husary")).ok());
        ASSERT_TRUE(reciters.setCurrent(3).ok());
    }
    ReciterList again = list();
    ASSERT_EQ(again.count(), 4);
    EXPECT_EQ(again.currentIndex(), 3);
    EXPECT_EQ(again.current().folder, folder("elsewhere/husary"));

    // A per-user reciter that appears before it moves it down; the choice follows the folder.
    std::filesystem::create_directories(m_root.path() / "user/beta");
    again.refresh();
    EXPECT_EQ(again.currentIndex(), 4);
    EXPECT_EQ(list().current().folder, folder("elsewhere/husary"));

    EXPECT_FALSE(again.setCurrent(5).ok());
    EXPECT_EQ(again.currentIndex(), 4);
}

TEST_F(ReciterListTest, RemovingTakesOnlyAnAddedFolderOffTheListAndKeepsItsFiles) {
    ReciterList reciters = list();
    m_root.write("elsewhere/husary/001.mp3", "ID3");
    std::filesystem::create_directories(m_root.path() / "elsewhere/second");
    ASSERT_TRUE(reciters.addFolder(folder("elsewhere/husary")).ok());
    ASSERT_TRUE(reciters.addFolder(folder("elsewhere/second")).ok());
    ASSERT_TRUE(reciters.setCurrent(3).ok());

    EXPECT_FALSE(reciters.removeFolder(0).ok());
    EXPECT_FALSE(reciters.removeFolder(1).ok());
    ASSERT_TRUE(reciters.removeFolder(3).ok());
    // The current reciter went: the program's folder is current again.
    EXPECT_EQ(reciters.currentIndex(), 0);
    ASSERT_EQ(reciters.count(), 4);
    EXPECT_EQ(reciters.at(3).folder, folder("elsewhere/second"));
    EXPECT_TRUE(std::filesystem::exists(m_root.path() / "elsewhere/husary/001.mp3"));

    ReciterList again = list();
    ASSERT_EQ(again.count(), 4);
    EXPECT_EQ(again.at(3).folder, folder("elsewhere/second"));
    EXPECT_EQ(again.currentIndex(), 0);
    EXPECT_EQ(stored(QStringLiteral("Added")), QStringLiteral("1"));
}

TEST_F(ReciterListTest, StoredValuesThatNoLongerFitFallBackQuietly) {
    const SettingsStore::KeyValues values{{"Current", folder("elsewhere/gone")},
                                          {"Added", "2000000000"},
                                          {"Added1", folder("elsewhere/gone")},
                                          {"Added2", ""},
                                          {"Added3", folder("elsewhere/husary")}};
    ASSERT_TRUE(m_store.save(kApp, ReciterList::kSection, values).ok());
    ReciterList reciters = list();
    // A folder the user added stays listed while it is away, so it can be removed.
    ASSERT_EQ(reciters.count(), 5);
    EXPECT_EQ(reciters.at(3).folder, folder("elsewhere/gone"));
    EXPECT_EQ(reciters.currentIndex(), 3);

    ASSERT_TRUE(m_store.save(kApp, ReciterList::kSection, "Current", "not a folder").ok());
    ASSERT_TRUE(m_store.save(kApp, ReciterList::kSection, "Added", "many").ok());
    ReciterList fallback = list();
    EXPECT_EQ(fallback.count(), 3);
    EXPECT_EQ(fallback.currentIndex(), 0);
}

// A reciter.ini that is no plain file of a sensible size is not read: a pipe would hold start-up up for
// ever, a link to an endless device would fill memory. The folder's own name stands for the reciter.
TEST_F(ReciterListTest, AReciterIniThatIsNoPlainFileIsPassedOver) {
    for (const char* name : {"user/piped", "user/endless", "user/huge"})
        std::filesystem::create_directories(m_root.path() / name);
    ASSERT_EQ(mkfifo((m_root.path() / "user/piped/reciter.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", m_root.path() / "user/endless/reciter.ini");
    m_root.write("user/huge/reciter.ini", "[Reciter]\nName=Too long\n;" + std::string(2 << 20, 'x') + "\n");
    const ReciterList reciters = list();
    ASSERT_EQ(reciters.count(), 6);
    for (const char* name : {"endless", "huge", "piped"})
        EXPECT_NE(reciters.indexOf(folder((std::string("user/") + name).c_str())), -1) << name;
    EXPECT_EQ(reciters.at(reciters.indexOf(folder("user/piped"))).name, QStringLiteral("piped"));
    EXPECT_EQ(reciters.at(reciters.indexOf(folder("user/endless"))).name, QStringLiteral("endless"));
    EXPECT_EQ(reciters.at(reciters.indexOf(folder("user/huge"))).name, QStringLiteral("huge"));
}

TEST(ReciterListFolder, ThePerUserFolderFollowsXdgDataHome) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/srv/data");
    EXPECT_EQ(ReciterList::perUserFolder(), QStringLiteral("/srv/data/lumora/recordings"));
    // Relative values are invalid by the XDG rules.
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(ReciterList::perUserFolder(), QDir::homePath() + QStringLiteral("/.local/share/lumora/recordings"));
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
}  // namespace lumora

// Where Lumora looks for its program folder: the option, a build or unpacked folder, an installed tree.
#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "app/programfolder.h"

namespace lumora {
namespace {

TEST(ProgramFolderTest, TheOptionThenTheExecutablesFolderThenShareLumora) {
    QTemporaryDir tree;
    const QString root = QDir(tree.path()).canonicalPath();
    ASSERT_TRUE(QDir().mkpath(root + "/build/bin/data"));
    ASSERT_TRUE(QDir().mkpath(root + "/usr/bin"));
    ASSERT_TRUE(QDir().mkpath(root + "/usr/share/lumora/data"));
    ASSERT_TRUE(QDir().mkpath(root + "/bare/bin"));

    EXPECT_EQ(ProgramFolder::locate(root + "/elsewhere/", root + "/build/bin"), root + "/elsewhere");
    EXPECT_EQ(ProgramFolder::locate(QString(), root + "/build/bin"), root + "/build/bin");
    EXPECT_EQ(ProgramFolder::locate(QString(), root + "/usr/bin"), root + "/usr/share/lumora");
    // Neither: the executable's folder, which start-up then reports as lacking its data.
    EXPECT_EQ(ProgramFolder::locate(QString(), root + "/bare/bin"), root + "/bare/bin");
    // A file named data is no program folder.
    ASSERT_TRUE(QDir().mkpath(root + "/odd/bin"));
    ASSERT_TRUE(QDir().mkpath(root + "/odd/share/lumora"));
    QFile file(root + "/odd/bin/data");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(ProgramFolder::locate(QString(), root + "/odd/bin"), root + "/odd/share/lumora");
}

TEST(ProgramFolderTest, TheUsersFolderFollowsXdgDataHome) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/home/someone/.data");
    EXPECT_EQ(ProgramFolder::userDataFolder(), QStringLiteral("/home/someone/.data/lumora"));
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
}  // namespace lumora

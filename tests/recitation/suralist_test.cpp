#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "recitation/suralist.h"

namespace lumora {
namespace {

TEST(SuraList, HoldsTheHundredAndFourteenItemsWithTheSuraNumberAsItemData) {
    SuraList list;
    ASSERT_EQ(list.rowCount(), 114);
    EXPECT_EQ(list.data(list.index(81), Qt::DisplayRole).toString(), "82. AL-INFITAR ");
    for (int i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.data(list.index(i), SuraList::kSuraNumberRole).toInt(), i + 1);
}

TEST(SuraList, SelectionRefusesIndexesOutsideTheListAndSignalsOnlyChanges) {
    SuraList list;
    std::vector<int> signalled;
    QObject::connect(&list, &SuraList::currentIndexChanged, [&](int index) { signalled.push_back(index); });

    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(list.selectedSura(), 0);
    ASSERT_TRUE(list.setCurrentIndex(113).ok());
    EXPECT_EQ(list.selectedSura(), 114);
    ASSERT_TRUE(list.setCurrentIndex(113).ok());  // same item: no second load
    const Result<void> refused = list.setCurrentIndex(114);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().number, 380);
    EXPECT_FALSE(list.setCurrentIndex(-2).ok());
    EXPECT_EQ(list.currentIndex(), 113);
    ASSERT_TRUE(list.setCurrentIndex(-1).ok());
    EXPECT_EQ(signalled, (std::vector<int>{113, -1}));
}

TEST(SuraList, CheckMp3MarksMissingRecordingsOnceAndUnmarksThemWhenTheyAppear) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString mp3Folder = folder.path() + "/";
    QFile present(mp3Folder + "001.mp3");
    ASSERT_TRUE(present.open(QIODevice::WriteOnly));
    present.close();
    // A folder that happens to carry a recording's name is no recording.
    ASSERT_TRUE(QDir(folder.path()).mkdir("002.mp3"));

    SuraList list;
    int changedRows = 0;
    QObject::connect(&list, &SuraList::dataChanged,
                     [&](const QModelIndex& first, const QModelIndex& last) {
                         changedRows += last.row() - first.row() + 1;
                     });
    list.checkMp3(mp3Folder);
    list.checkMp3(mp3Folder);
    EXPECT_EQ(list.itemText(0), "1. AL-FATIHA");
    EXPECT_FALSE(list.audioMissing(0));
    EXPECT_EQ(list.itemText(1), "2. AL-BAQARA (audio missing)");
    EXPECT_EQ(list.itemText(81), "82. AL-INFITAR  (audio missing)");
    EXPECT_TRUE(list.audioMissing(113));
    EXPECT_EQ(changedRows, 113);  // the second run changed nothing

    QFile arrived(mp3Folder + "114.mp3");
    ASSERT_TRUE(arrived.open(QIODevice::WriteOnly));
    arrived.close();
    list.checkMp3(mp3Folder);
    EXPECT_EQ(list.itemText(113), "114. AN-NAS");
    EXPECT_FALSE(list.audioMissing(113));
    EXPECT_TRUE(list.audioMissing(112));
}

TEST(SuraList, ANewReciterReplacesEachMarkWithItsOwn) {
    SuraList list;
    QTemporaryDir empty;
    list.checkMp3(empty.path() + "/");
    list.setMarks([](int sura) { return sura == 2 ? QStringLiteral(" (no timings)") : QString(); });
    EXPECT_EQ(list.itemText(1), "2. AL-BAQARA (no timings)");
    EXPECT_EQ(list.itemText(81), "82. AL-INFITAR ");
    EXPECT_FALSE(list.audioMissing(1));
    list.setMarks([](int sura) { return sura == 82 ? QStringLiteral(" (audio incomplete)") : QString(); });
    EXPECT_EQ(list.itemText(1), "2. AL-BAQARA");
    EXPECT_EQ(list.itemText(81), "82. AL-INFITAR  (audio incomplete)");
    list.checkMp3(empty.path() + "/");
    EXPECT_EQ(list.itemText(81), "82. AL-INFITAR  (audio missing)");
    EXPECT_TRUE(list.audioMissing(81));
}

}  // namespace
}  // namespace lumora

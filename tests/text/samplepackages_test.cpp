// The packages of the sample program folder, when it has been built.
#include <QFileInfo>
#include <algorithm>
#include <gtest/gtest.h>

#include "codec/suracatalogue.h"
#include "text/installedtexts.h"
#include "text/versetextassignment.h"
#include "textfixture.h"

namespace lumora {
namespace {

const QString kArabic = QStringLiteral("Arabic - Uthmani script");

class SamplePackages : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo(folder + "/data/tdata/" + kArabic + ".dat").isFile()) {
            GTEST_SKIP() << "the sample program folder has no Arabic package";
        }
    }
    const QString folder = qEnvironmentVariable("LUMORA_PROGRAM_FOLDER");
};

TEST_F(SamplePackages, ArabicSuraTwoFillsItsWholeTable) {
    VerseTextAssignment assignment(folder);
    const auto assigned = assignment.assignTrans(1, kArabic);
    ASSERT_TRUE(assigned.ok());
    EXPECT_EQ(assigned.value().failureMessage, "");
    const Result<void> loaded = assignment.loadSuraTexts(2, 287);
    ASSERT_TRUE(loaded.ok()) << loaded.error().description;
    EXPECT_TRUE(assignment.pane(1).rightToLeft());
    EXPECT_FALSE(assignment.pane(1).bismiText().isEmpty());
    EXPECT_EQ(assignment.paneText(0, 1), assignment.pane(1).bismiText());
    for (int slot = 1; slot < 287; ++slot) {
        EXPECT_FALSE(assignment.paneText(slot, 1).trimmed().isEmpty()) << "slot " << slot;
        EXPECT_FALSE(assignment.paneText(slot, 1).contains(u'\n'));
    }
    // The text arrives as Arabic script, not as mis-decoded bytes.
    const QString verse = assignment.paneText(255, 1);
    EXPECT_TRUE(std::any_of(verse.begin(), verse.end(), [](QChar c) { return c.script() == QChar::Script_Arabic; }));
}

TEST_F(SamplePackages, EveryInstalledTextCoversEverySura) {
    QStringList texts = InstalledTexts::scan(folder);
    ASSERT_TRUE(texts.contains(kArabic));
    while (texts.size() % VerseTextAssignment::kPaneCount != 0) texts.append(texts.front());
    for (qsizetype first = 0; first < texts.size(); first += VerseTextAssignment::kPaneCount) {
        VerseTextAssignment assignment(folder);
        for (int pane = 1; pane <= VerseTextAssignment::kPaneCount; ++pane) {
            const auto assigned = assignment.assignTrans(pane, texts[first + pane - 1]);
            ASSERT_TRUE(assigned.ok());
            EXPECT_EQ(assigned.value().failureMessage, "") << qPrintable(texts[first + pane - 1]);
        }
        for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
            const Result<void> loaded = assignment.loadSuraTexts(sura, SuraCatalogue::verseNo(sura));
            EXPECT_TRUE(loaded.ok()) << "sura " << sura << ": " << loaded.error().description;
        }
    }
}

TEST_F(SamplePackages, WordMeaningsLinkTheArabicWords) {
    VerseTextAssignment assignment(folder);
    ASSERT_TRUE(assignment.assignTrans(1, kArabic).ok());
    ASSERT_FALSE(assignment.pane(1).wordByWordDataFile().isEmpty());
    test::RecordingView view;
    assignment.pane(1).setPageView(&view);
    ASSERT_TRUE(assignment.loadSuraTexts(112, SuraCatalogue::verseNo(112)).ok());
    for (int slot = 0; slot < assignment.slotCount(); ++slot) {
        assignment.setText(slot);
        EXPECT_TRUE(assignment.wordByWordHintVisible(1));
        // Every word is inside a link: the meanings cover the whole verse.
        const QString linked = assignment.pane(1).displayText();
        EXPECT_TRUE(linked.contains("href=")) << "slot " << slot;
        EXPECT_TRUE(linked.endsWith("</A> ")) << qPrintable(linked);
    }
}

}  // namespace
}  // namespace lumora

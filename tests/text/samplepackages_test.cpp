// The packages of the sample program folder, when it has been built.
#include <QFileInfo>
#include <gtest/gtest.h>
#include <algorithm>

#include "text/installedtexts.h"
#include "text/versetextassignment.h"

namespace lumora {
namespace {

TEST(SamplePackages, ArabicSuraTwoFillsItsWholeTable) {
    const QString folder = qEnvironmentVariable("LUMORA_PROGRAM_FOLDER");
    const QString arabic = QStringLiteral("Arabic - Uthmani script");
    if (!QFileInfo(folder + "/data/tdata/" + arabic + ".dat").isFile()) {
        GTEST_SKIP() << "the sample program folder has no Arabic package";
    }
    EXPECT_TRUE(InstalledTexts::scan(folder).contains(arabic));

    VerseTextAssignment assignment(folder);
    const auto assigned = assignment.assignTrans(1, arabic);
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

}  // namespace
}  // namespace lumora

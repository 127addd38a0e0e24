// Finding a verse: the find dialog driven by keys and the mouse over the sample folder's texts, alone and
// opened with Ctrl+F from the main window.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/finddialog.h"
#include "app/mainwindow.h"
#include "app/versefinder.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "search/indexloader.h"
#include "search/searchnormalizer.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

QString rowMatch(const QListWidgetItem* item) {
    return item->text().mid(item->data(FindDialog::kMatchStartRole).toInt(),
                            item->data(FindDialog::kMatchLengthRole).toInt());
}

// Types text key by key into a widget; unlike QTest::keyClicks it takes letters outside Latin-1.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class FindDialogTest : public ::testing::Test {
protected:
    FindDialogTest() : loader(ProgramTest::sampleFolder()), dialog(loader), chosen(&dialog, &FindDialog::verseChosen) {}

    // Opens the dialog as Ctrl+F does and lets the index build finish.
    void openAndBuild() {
        dialog.showFind();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        loader.waitUntilBuilt();
    }
    QWidget* focused() const { return dialog.focusWidget(); }
    void type(const QString& text) { typeText(focused(), text); }

    IndexLoader loader;
    FindDialog dialog;
    QSignalSpy chosen;
};

TEST_F(FindDialogTest, KeysTypedWhileTheIndexIsBuiltAreSearchedWhenItIsReady) {
    dialog.showFind();
    EXPECT_TRUE(dialog.progressBar()->isVisible());
    EXPECT_TRUE(dialog.cancelBuildButton()->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ASSERT_EQ(focused(), dialog.searchBox()) << (focused() ? focused()->metaObject()->className() : "none");
    type(QStringLiteral("LORD of the Worlds"));
    loader.waitUntilBuilt();

    EXPECT_FALSE(dialog.progressBar()->isVisible());
    EXPECT_FALSE(dialog.cancelBuildButton()->isVisible());
    ASSERT_EQ(dialog.results()->count(), 42);
    EXPECT_EQ(dialog.status()->text(), QStringLiteral("42 verses found."));
    const QListWidgetItem* first = dialog.results()->item(0);
    EXPECT_TRUE(first->text().startsWith(QStringLiteral("1:2 \u2014 [All] praise is [due] to Allah, ")));
    EXPECT_EQ(rowMatch(first), QStringLiteral("Lord of the worlds"));
    EXPECT_EQ(first->toolTip(), QStringLiteral("English - Saheeh International"));

    // Down moves through the verses while the search box keeps the focus; Enter goes to the chosen one.
    QTest::keyClick(focused(), Qt::Key_Down);
    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(dialog.results()->currentRow(), 2);
    EXPECT_EQ(focused(), dialog.searchBox());
    const QListWidgetItem* third = dialog.results()->item(2);
    QTest::keyClick(focused(), Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), third->data(FindDialog::kSuraRole).toInt());
    EXPECT_EQ(chosen[0][1].toInt(), third->data(FindDialog::kVerseRole).toInt());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FindDialogTest, ArabicResultsHighlightTheUthmaniWord) {
    openAndBuild();
    type(QStringLiteral("الرحمن"));
    ASSERT_GT(dialog.results()->count(), 2);
    // The opening formula is verse 1 of sura 1; verse 3 follows.
    const QListWidgetItem* first = dialog.results()->item(0);
    EXPECT_TRUE(first->text().startsWith(QStringLiteral("1:1 \u2014 ")));
    EXPECT_TRUE(rowMatch(first).startsWith(QChar(0x0671))) << "the Uthmani alif wasla";
    EXPECT_EQ(SearchNormalizer::foldQuery(rowMatch(first)), QStringLiteral("الرحمن"));
    EXPECT_TRUE(dialog.results()->item(1)->text().startsWith(QStringLiteral("1:3 \u2014 ")));
}

TEST_F(FindDialogTest, ManyResultsShowTheFirst200AndTheCount) {
    openAndBuild();
    type(QStringLiteral("الله"));
    EXPECT_EQ(dialog.results()->count(), FindDialog::kShownResults);
    EXPECT_TRUE(dialog.status()->text().endsWith(QStringLiteral("verses found; the first 200 are shown.")))
        << dialog.status()->text().toStdString();

    // Limited to one text through the "In" box, chosen with the keyboard.
    QTest::keyClick(focused(), Qt::Key_I, Qt::AltModifier);
    ASSERT_EQ(focused(), dialog.textChoice());
    const int urdu = dialog.textChoice()->findText(QStringLiteral("Urdu - Maududi"));
    ASSERT_GT(urdu, 0);
    while (dialog.textChoice()->currentIndex() < urdu) QTest::keyClick(focused(), Qt::Key_Down);
    for (int row = 0; row < dialog.results()->count(); ++row) {
        EXPECT_EQ(dialog.results()->item(row)->toolTip(), QStringLiteral("Urdu - Maududi"));
    }
}

TEST_F(FindDialogTest, QueriesWithoutAnswerSaySo) {
    openAndBuild();
    type(QStringLiteral("qwxzvj"));
    EXPECT_EQ(dialog.results()->count(), 0);
    EXPECT_EQ(dialog.status()->text(), QStringLiteral("No verse found."));
    EXPECT_FALSE(dialog.goButton()->isEnabled());
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 0);

    dialog.searchBox()->selectAll();
    type(QString::fromUtf16(u"\u064E\u0651\u0670"));
    EXPECT_EQ(dialog.results()->count(), 0);
    EXPECT_EQ(dialog.status()->text(), QStringLiteral("Type letters: vowel marks and signs alone are not searched."));

    // A very long paste finds nothing and leaves the dialog working.
    dialog.searchBox()->setText(QString(20000, u'a'));
    EXPECT_EQ(dialog.results()->count(), 0);
    dialog.searchBox()->selectAll();
    type(QStringLiteral("Knowing of all things"));
    EXPECT_GT(dialog.results()->count(), 0);

    // Esc closes without going anywhere.
    QTest::keyClick(focused(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(FindDialogTest, ALongVerseShowsItsMatchAndADoubleClickGoesThere) {
    openAndBuild();
    type(QStringLiteral("and allah teaches you"));
    ASSERT_EQ(dialog.results()->count(), 1);
    QListWidgetItem* row = dialog.results()->item(0);
    // Verse 2:282 is the longest; its row is cut around the match, which it shows whole.
    EXPECT_TRUE(row->text().startsWith(QStringLiteral("2:282 \u2014 \u2026")));
    EXPECT_LT(row->text().size(), 200);
    EXPECT_EQ(rowMatch(row), QStringLiteral("And Allah teaches you"));

    const QRect rect = dialog.results()->visualItemRect(row);
    // A double click is a press, a release, then the second press the view reads as the double click.
    QTest::mouseClick(dialog.results()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(dialog.results()->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), 2);
    EXPECT_EQ(chosen[0][1].toInt(), 282);
}

// --- from the main window ---

class FindInWindowTest : public ProgramTest {
protected:
    // Ctrl+F in the main window, the words typed, the index built, Enter.
    void find(const QString& words) {
        MainWindow& window = program().window();
        QTest::keyClick(window.focusWidget() != nullptr ? window.focusWidget() : &window, Qt::Key_F,
                        Qt::ControlModifier);
        FindDialog* dialog = window.finder()->dialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        ASSERT_EQ(dialog->focusWidget(), dialog->searchBox());
        typeText(dialog->focusWidget(), words);
        dialog->loader().waitUntilBuilt();
        ASSERT_GT(dialog->results()->count(), 0);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
    }
};

TEST_F(FindInWindowTest, EnterLoadsTheSuraAndRecitesFromTheVerse) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    find(QStringLiteral("and allah teaches you"));
    EXPECT_EQ(controller.sura(), 2);
    EXPECT_EQ(controller.currentVerse(), 282);
    EXPECT_EQ(started.texts()->shownSlot(), 282);
    // The whole sura stays the range; the recitation runs from the verse.
    EXPECT_EQ(controller.rangeBegin().value(), 0);
    EXPECT_EQ(controller.rangeEnd().value(), controller.rangeEnd().max());
    EXPECT_TRUE(controller.tickEnabled());
}

TEST_F(FindInWindowTest, AVerseOutsideTheRangeBecomesTheRange) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());  // sura 112: records 0 to 4
    ASSERT_TRUE(controller.rangeEnd().setValue(2).ok());
    find(QStringLiteral("nor is there to him any equivalent"));
    EXPECT_EQ(controller.sura(), 112);
    EXPECT_EQ(controller.currentVerse(), 4);
    EXPECT_EQ(controller.rangeBegin().value(), 4);
    EXPECT_EQ(controller.rangeEnd().value(), 4);
}

}  // namespace
}  // namespace lumora::test

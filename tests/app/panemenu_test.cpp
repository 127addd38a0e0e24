// A text pane's menu (its ▾ button) in the cases a user meets beyond choosing a new text: the text already
// shown, a text another pane shows, a pane switched off and on again, and the menu worked from the keyboard
// alone.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/commandtable.h"
#include "app/mainwindow.h"
#include "app/textpaneframe.h"
#include "app/windowcommands.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

const QString kFrench = QStringLiteral("French - Hamidullah");
const QString kUrdu = QStringLiteral("Urdu - Maududi");

// Runs `act` on the next popup menu once it shows, from inside the menu's own event loop; remembers the
// menu's items and place.
class NextMenu {
public:
    explicit NextMenu(std::function<void(QMenu*)> act) : m_act(std::move(act)) {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu || !menu->isVisible())
                return;
            m_timer.stop();
            m_geometry = menu->geometry();
            for (QAction* action : menu->actions()) {
                m_captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
                if (action->isChecked())
                    m_checked << action->text();
            }
            m_act(menu);
        });
        m_timer.start();
    }
    bool opened() const { return !m_geometry.isNull(); }
    QRect geometry() const { return m_geometry; }
    const QStringList& captions() const { return m_captions; }
    const QStringList& checked() const { return m_checked; }

private:
    std::function<void(QMenu*)> m_act;
    QTimer m_timer;
    QRect m_geometry;
    QStringList m_captions;
    QStringList m_checked;
};

// The Down presses that make `caption` the active item of a menu just opened (separators are passed over).
int downsTo(const QStringList& captions, const QString& caption) {
    int downs = 0;
    for (const QString& item : captions) {
        if (item == QStringLiteral("-"))
            continue;
        ++downs;
        if (item == caption)
            return downs;
    }
    return -1;
}

void pressDown(QMenu* menu, int times) {
    for (int i = 0; i < times; ++i) QTest::keyClick(menu, Qt::Key_Down);
}

// Space on the focused button opens its menu, whose items are `captions`; Down to `caption`, then Return.
void chooseByKeys(const QStringList& captions, const QString& caption) {
    const int downs = downsTo(captions, caption);
    ASSERT_GT(downs, 0) << caption.toStdString();
    NextMenu chosen([downs](QMenu* shown) {
        pressDown(shown, downs);
        QTest::keyClick(shown, Qt::Key_Return);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_TRUE(chosen.opened());
}

// A desktop gives the focus back to the window when a popup menu closes; the offscreen platform leaves no
// window active, so the test activates it again (the window keeps its own focus widget meanwhile).
void reactivate(MainWindow& window) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

class PaneMenuTest : public ProgramTest {
protected:
    Program& startOn112() {
        Program& started = start();
        modals().clear();
        EXPECT_TRUE(started.controller()->selectSura(111).ok());
        return started;
    }
    // Opens pane `pane`'s menu with a click on its ▾ button and chooses `caption` (its "&" included).
    void choose(MainWindow& window, int pane, const QString& caption) {
        modals().chooseMenuItem(caption);
        QTest::mouseClick(window.paneFrame(pane)->transMenuButton(), Qt::LeftButton);
    }
    // What a pane shows: its name, captions and the text of the shown verse.
    static void expectShows(MainWindow& window, VerseTextAssignment& texts, int pane, const QString& name) {
        EXPECT_EQ(texts.pane(pane).transName(), name) << pane;
        EXPECT_EQ(window.paneFrame(pane)->captionLabel()->text(), texts.pane(pane).windowCaption() + QLatin1Char(' '));
        EXPECT_EQ(window.textsMenuAction(pane)->text(),
                  QStringLiteral("&%1. ").arg(pane) + texts.pane(pane).buttonCaption());
        const QString verse = texts.paneText(0, pane).simplified().left(10);
        EXPECT_FALSE(verse.isEmpty()) << pane;
        EXPECT_TRUE(window.paneFrame(pane)->view()->plainText().contains(verse)) << pane;
    }
};

TEST_F(PaneMenuTest, ChoosingTheTextAlreadyShownKeepsThePaneAsItIs) {
    Program& started = startOn112();
    MainWindow& window = started.window();
    VerseTextAssignment& texts = *started.texts();
    choose(window, 3, QStringLiteral("&") + kFrench);
    QTest::mouseClick(window.paneFrame(3)->plusButton(), Qt::LeftButton);
    const double size = texts.pane(3).fontSize();
    const QString page = window.paneFrame(3)->view()->plainText();

    NextMenu menu([](QMenu* shown) { shown->close(); });
    QTest::mouseClick(window.paneFrame(3)->transMenuButton(), Qt::LeftButton);
    ASSERT_TRUE(menu.opened());
    EXPECT_EQ(menu.checked(), QStringList{QStringLiteral("&") + kFrench});

    choose(window, 3, QStringLiteral("&") + kFrench);
    expectShows(window, texts, 3, kFrench);
    EXPECT_EQ(texts.pane(3).fontSize(), size);
    EXPECT_EQ(window.paneFrame(3)->view()->plainText(), page);
    EXPECT_TRUE(modals().seen().empty());
}

TEST_F(PaneMenuTest, TwoPanesMayShowOneTextAndKeepItAcrossARestart) {
    Program& started = startOn112();
    MainWindow& window = started.window();
    VerseTextAssignment& texts = *started.texts();
    const QString second = texts.pane(2).transName();
    choose(window, 4, QStringLiteral("&") + second);
    expectShows(window, texts, 4, second);
    expectShows(window, texts, 2, second);
    EXPECT_EQ(window.paneTextName(4), window.paneTextName(2));

    // Each pane's menu marks the text; a new text for one leaves the other as it was.
    NextMenu menu([](QMenu* shown) { shown->close(); });
    QTest::mouseClick(window.paneFrame(2)->transMenuButton(), Qt::LeftButton);
    EXPECT_EQ(menu.checked(), QStringList{QStringLiteral("&") + second});
    choose(window, 4, QStringLiteral("&") + kUrdu);
    expectShows(window, texts, 4, kUrdu);
    expectShows(window, texts, 2, second);
    choose(window, 4, QStringLiteral("&") + second);

    Program& again = restart();
    modals().clear();
    ASSERT_TRUE(again.controller()->selectSura(111).ok());
    expectShows(again.window(), *again.texts(), 2, second);
    expectShows(again.window(), *again.texts(), 4, second);
}

TEST_F(PaneMenuTest, APaneSwitchedOffAndOnShowsTheCurrentVerseAndItsMenuStillWorks) {
    Program& started = startOn112();
    MainWindow& window = started.window();
    VerseTextAssignment& texts = *started.texts();
    RecitationController& controller = *started.controller();
    QMenu* textsMenu = window.topMenus()[2];
    const auto clickTextsItem = [&](int pane) {
        QMenuBar* bar = window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(textsMenu->menuAction()).center());
        QTest::mouseClick(textsMenu, Qt::LeftButton, {},
                          textsMenu->actionGeometry(window.textsMenuAction(pane)).center());
    };

    clickTextsItem(3);
    ASSERT_FALSE(window.paneFrame(3)->isVisible());
    // While the pane is off, another sura comes and another pane takes the text it showed.
    const QString third = texts.pane(3).transName();
    ASSERT_TRUE(controller.selectSura(112).ok());
    choose(window, 2, QStringLiteral("&") + third);
    clickTextsItem(3);
    ASSERT_TRUE(window.paneFrame(3)->isVisible());
    EXPECT_GT(window.paneGeometryTwips(3).height(), 1000);
    expectShows(window, texts, 3, third);

    choose(window, 3, QStringLiteral("&") + kFrench);
    expectShows(window, texts, 3, kFrench);
    expectShows(window, texts, 2, third);
    EXPECT_TRUE(window.textsMenuAction(3)->isChecked());
}

TEST_F(PaneMenuTest, TheKeyboardAloneOpensChoosesAndEscapesTheMenuBesideItsButton) {
    Program& started = startOn112();
    MainWindow& window = started.window();
    VerseTextAssignment& texts = *started.texts();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    OwnerDrawnButton* button = window.paneFrame(2)->transMenuButton();
    button->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), button);
    // The pointer rests far from the button: the menu opens at the button all the same.
    QCursor::setPos(window.mapToGlobal(QPoint(window.width() - 2, window.height() - 2)));

    const QString before = texts.pane(2).transName();
    NextMenu escaped([](QMenu* shown) {
        QTest::keyClick(shown, Qt::Key_Down);
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_TRUE(escaped.opened());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(texts.pane(2).transName(), before);
    reactivate(window);
    EXPECT_EQ(QApplication::focusWidget(), button);
    const QRect buttonRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    EXPECT_TRUE(escaped.geometry().adjusted(-2, -2, 2, 2).intersects(buttonRect))
        << "menu at " << escaped.geometry().x() << "," << escaped.geometry().y() << " button at "
        << buttonRect.x() << "," << buttonRect.y();

    // Down to the French text, Return.
    ASSERT_NO_FATAL_FAILURE(chooseByKeys(escaped.captions(), QStringLiteral("&") + kFrench));
    expectShows(window, texts, 2, kFrench);
    reactivate(window);
    EXPECT_EQ(QApplication::focusWidget(), button);

    // The text size: down to its item, then the size typed over the one the box offers.
    modals().answerWith([](QWidget*) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("30"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    ASSERT_NO_FATAL_FAILURE(chooseByKeys(escaped.captions(), QStringLiteral("&Text Size...")));
    EXPECT_EQ(texts.pane(2).fontSize(), 30);
    EXPECT_EQ(modals().count(QStringLiteral("QInputDialog")), 1);
}

}  // namespace
}  // namespace lumora::test

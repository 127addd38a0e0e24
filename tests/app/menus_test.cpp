// The menus as a user meets them: each menu bar item's caption, state and effect through mouse clicks,
// the window menu from each of its openers, and the on-screen help tips with their switch.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/aboutwindow.h"
#include "app/commandtable.h"
#include "app/controlpanel.h"
#include "app/helptooltip.h"
#include "app/mainwindow.h"
#include "app/modeoptionbutton.h"
#include "app/suracombobox.h"
#include "app/textpaneframe.h"
#include "app/windowcommands.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"

namespace lumora::test {
namespace {

class MenusTest : public ProgramTest {
protected:
    Program& startQuiet() {
        Program& started = start();
        modals().clear();
        return started;
    }
};

// The captions of a menu's items in order, a separator as "-".
QStringList captions(const QMenu* menu) {
    QStringList list;
    for (QAction* action : menu->actions()) list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

QAction* itemOf(const QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption)
            return action;
    }
    return nullptr;
}

// Clicks the menu bar's menu `index` open, then clicks through `path` (submenus first).
void clickMenuItem(MainWindow& window, int index, const QStringList& path) {
    QMenuBar* bar = window.menuBar();
    QMenu* menu = window.topMenus()[static_cast<size_t>(index)];
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(menu->isVisible()) << path.join('/').toStdString();
    for (const QString& caption : path) {
        QAction* action = itemOf(menu, caption);
        ASSERT_NE(action, nullptr) << caption.toStdString();
        if (action->menu()) {
            // A submenu opens from the keyboard at once (the pointer opens it after a delay).
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Right);
            menu = action->menu();
            ASSERT_TRUE(menu->isVisible()) << caption.toStdString();
            continue;
        }
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }
}

void expectAllEnabled(const QMenu* menu) {
    for (QAction* action : menu->actions()) EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
}

// The items named here are enabled (other features may add items of their own after them).
void expectEnabled(QMenu* menu, const QStringList& items) {
    for (const QString& caption : items) {
        QAction* action = itemOf(menu, caption);
        ASSERT_NE(action, nullptr) << caption.toStdString();
        EXPECT_TRUE(action->isEnabled()) << caption.toStdString();
    }
}

// Types `keys` into the dialog's box when it comes up, then presses Enter.
std::function<void(QWidget*)> typeInto(const QString& keys) {
    return [keys](QWidget* widget) {
        QLineEdit* box = widget->findChild<QLineEdit*>();
        ASSERT_NE(box, nullptr);
        QTest::keyClicks(box, keys);
        if (widget->isVisible())
            QTest::keyClick(box, Qt::Key_Return);
    };
}

TEST_F(MenusTest, GoToOpensTheSuraAndVerseDialogsAndStepsThroughSuras) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    QMenu* goTo = window.topMenus()[0];
    EXPECT_EQ(goTo->title(), QStringLiteral("&Go to"));
    EXPECT_EQ(captions(goTo),
              (QStringList{"&Sura...", "&Verse...", "&Next Sura", "&Previous Sura", "-", "&Find...\tCtrl+F"}));
    expectAllEnabled(goTo);

    modals().answerWith(typeInto(QStringLiteral("36")));
    clickMenuItem(window, 0, {QStringLiteral("&Sura...")});
    EXPECT_EQ(controller.sura(), 36);
    clickMenuItem(window, 0, {QStringLiteral("&Verse...")});
    ASSERT_EQ(modals().seen().size(), 2u);
    EXPECT_EQ(modals().seen()[1].className, QStringLiteral("lumora::QuickVerseDialog"));
    EXPECT_EQ(modals().seen()[1].title, QStringLiteral("Move to Verse"));
    clickMenuItem(window, 0, {QStringLiteral("&Next Sura")});
    EXPECT_EQ(controller.sura(), 37);
    clickMenuItem(window, 0, {QStringLiteral("&Previous Sura")});
    clickMenuItem(window, 0, {QStringLiteral("&Previous Sura")});
    EXPECT_EQ(controller.sura(), 35);
}

TEST_F(MenusTest, RecitationPausesSetsTheVolumeAndOpensTheEqualizer) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    QMenu* recitation = window.topMenus()[1];
    EXPECT_EQ(captions(recitation),
              (QStringList{"&Recite", "&Pause", "&Stop", "-", "&Volume", "-", "&Speed", "&Equalizer...",
                           "&Save Range to MP3", "Save Practice &Track...", "-", "Verse &Timings", "-", "&Reciter"}));
    expectEnabled(recitation, {"&Recite", "&Pause", "&Stop", "&Volume", "&Equalizer...", "&Save Range to MP3"});
    EXPECT_EQ(captions(itemOf(recitation, QStringLiteral("Verse &Timings"))->menu()),
              (QStringList{"&Import...", "&Find Automatically...", "&Mark While Listening...", "&Shift All..."}));
    const QStringList volumes{"&Mute", "&20%", "&40%", "&60%", "&80%", "&100%"};
    EXPECT_EQ(captions(itemOf(recitation, QStringLiteral("&Volume"))->menu()), volumes);
    for (int i = volumes.size() - 1; i >= 0; --i) {
        clickMenuItem(window, 1, {QStringLiteral("&Volume"), volumes[i]});
        EXPECT_EQ(controller.volume().curPosition(), i * 200) << volumes[i].toStdString();
    }

    clickMenuItem(window, 1, {QStringLiteral("&Pause")});
    EXPECT_TRUE(controller.isPaused());
    clickMenuItem(window, 1, {QStringLiteral("&Pause")});
    EXPECT_FALSE(controller.isPaused());
    clickMenuItem(window, 1, {QStringLiteral("&Equalizer...")});
    EXPECT_EQ(modals().count(QStringLiteral("lumora::EqualizerDialog")), 1);
}

TEST_F(MenusTest, TextsAndLayoutsToggleThePanesAndSwitchLayouts) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    QMenu* texts = window.topMenus()[2];
    ASSERT_EQ(texts->actions().size(), 4);
    for (int pane = 1; pane <= 4; ++pane) {
        QAction* item = texts->actions()[pane - 1];
        EXPECT_TRUE(item->text().startsWith(QStringLiteral("&%1. ").arg(pane))) << item->text().toStdString();
        EXPECT_TRUE(item->isChecked());
    }
    const QString second = texts->actions()[1]->text();
    clickMenuItem(window, 2, {second});
    EXPECT_FALSE(window.isPaneVisible(2));
    EXPECT_FALSE(window.textsMenuAction(2)->isChecked());
    clickMenuItem(window, 2, {second});
    EXPECT_TRUE(window.isPaneVisible(2));

    QMenu* layouts = window.topMenus()[3];
    EXPECT_EQ(captions(layouts), (QStringList{"Layout &1", "Layout &2", "Layout &3", "Layout &4", "Layout &5", "-",
                                              "&Reset All Layouts", "-", "&Layout Help ..."}));
    expectAllEnabled(layouts);
    clickMenuItem(window, 3, {QStringLiteral("Layout &3")});
    EXPECT_EQ(window.currentLayout(), QStringLiteral("3"));
    EXPECT_EQ(layouts->title(), QStringLiteral("Layout 3"));
    EXPECT_TRUE(window.layoutMenuAction(3)->isChecked());
    EXPECT_FALSE(window.layoutMenuAction(1)->isChecked());
    clickMenuItem(window, 3, {QStringLiteral("&Layout Help ...")});
    clickMenuItem(window, 3, {QStringLiteral("&Reset All Layouts")});  // answered No
    ASSERT_EQ(modals().seen().size(), 2u);
    EXPECT_EQ(modals().seen()[0].title, QStringLiteral("Layouts help"));
    EXPECT_EQ(modals().seen()[1].title, QStringLiteral("Reset layouts ?"));
    EXPECT_EQ(window.currentLayout(), QStringLiteral("3"));
}

TEST_F(MenusTest, OptionsSwitchTheirMarksAndOpenTheRangeModeSetup) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    QMenu* options = window.topMenus()[4];
    EXPECT_EQ(captions(options),
              (QStringList{"Always On &Top", "Show &Panel", "Toggle &Menu Display", "&Load last closed state on open",
                           "-", "&Range Mode Setup", "-", "&Recall Mode\tH", "Hide &Translations Too", "-",
                           "Announce &Each Verse", "-", "Add Recordings &Folder...", "Re&move Recordings Folder"}));
    expectAllEnabled(options);

    const bool onTop = window.alwaysOnTop();
    clickMenuItem(window, 4, {QStringLiteral("Always On &Top")});
    EXPECT_EQ(window.alwaysOnTop(), !onTop);
    EXPECT_EQ(window.alwaysOnTopAction()->isChecked(), !onTop);
    clickMenuItem(window, 4, {QStringLiteral("Always On &Top")});
    EXPECT_EQ(window.alwaysOnTop(), onTop);

    clickMenuItem(window, 4, {QStringLiteral("Show &Panel")});
    EXPECT_FALSE(window.showPanel());
    EXPECT_FALSE(window.showPanelAction()->isChecked());
    clickMenuItem(window, 4, {QStringLiteral("Show &Panel")});
    EXPECT_TRUE(window.showPanel());

    const bool closedState = window.loadClosedState();
    clickMenuItem(window, 4, {QStringLiteral("&Load last closed state on open")});
    EXPECT_EQ(window.loadClosedState(), !closedState);
    EXPECT_EQ(window.loadClosedStateAction()->isChecked(), !closedState);

    clickMenuItem(window, 4, {QStringLiteral("Toggle &Menu Display")});
    clickMenuItem(window, 4, {QStringLiteral("&Range Mode Setup")});
    ASSERT_EQ(modals().seen().size(), 2u);
    EXPECT_EQ(modals().seen()[0].title, QStringLiteral("Hiding and showing menu"));
    EXPECT_EQ(modals().seen()[0].text, QStringLiteral("To hide menu press F8. To make it appear again press F8"));
    EXPECT_EQ(modals().seen()[1].className, QStringLiteral("lumora::RangeModeSetupDialog"));
}

TEST_F(MenusTest, HelpOpensTheInstalledPagesAndSwitchesTheOnScreenHelp) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    QMenu* help = window.topMenus()[5];
    EXPECT_EQ(captions(help), (QStringList{"View &Help", "-", "&On Screen Help", "&Keyboard Shortcuts", "&About..."}));
    expectAllEnabled(help);

    std::vector<AboutWindow::Page> pages;
    const auto notePage = [&pages](QWidget* widget) {
        auto* about = qobject_cast<AboutWindow*>(widget);
        ASSERT_NE(about, nullptr);
        pages.push_back(about->currentPage());
        about->reject();
    };
    modals().answerWith(notePage);
    clickMenuItem(window, 5, {QStringLiteral("View &Help")});
    modals().answerWith(notePage);
    clickMenuItem(window, 5, {QStringLiteral("&Keyboard Shortcuts")});
    modals().answerWith(notePage);
    clickMenuItem(window, 5, {QStringLiteral("&About...")});
    EXPECT_EQ(pages, (std::vector<AboutWindow::Page>{AboutWindow::AboutPage, AboutWindow::KeyboardPage,
                                                     AboutWindow::AboutPage}));

    QAction* onscreen = itemOf(help, QStringLiteral("&On Screen Help"));
    EXPECT_TRUE(onscreen->isChecked());
    clickMenuItem(window, 5, {QStringLiteral("&On Screen Help")});
    EXPECT_FALSE(window.onscreenHelp());
    EXPECT_FALSE(onscreen->isChecked());
    EXPECT_EQ(window.helpToolTip(), nullptr);
    EXPECT_EQ(stored(QStringLiteral("OnscreenHelp"), QStringLiteral("Enabled")), QStringLiteral("False"));
}

// A point of the panel that no control covers.
QPoint panelBackground(ControlPanel* panel) {
    for (int y = 2; y < panel->height(); y += 3) {
        for (int x = 2; x < panel->width(); x += 3) {
            if (!panel->childAt(x, y))
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

TEST_F(MenusTest, TheWindowMenuOpensFromTheIconTheLabelsAndThePanel) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    ControlPanel* panel = window.panel();
    struct Opener {
        QWidget* widget;
        Qt::MouseButton button;
        QPoint at;
    };
    std::vector<Opener> openers{{panel->iconLabel(), Qt::RightButton, QPoint()},
                                {panel->iconLabel(), Qt::MiddleButton, QPoint()}};
    for (QLabel* label : panel->labels()) {
        openers.push_back({label, Qt::LeftButton, QPoint()});
        openers.push_back({label, Qt::RightButton, QPoint()});
    }
    const QPoint background = panelBackground(panel);
    ASSERT_GE(background.x(), 0);
    openers.push_back({panel, Qt::LeftButton, background});
    // (The test's responder answers no dialog opened from a menu it chose in, so the item chosen here is
    // one without a dialog.)
    for (const Opener& opener : openers) {
        const bool onTop = window.alwaysOnTop();
        modals().chooseMenuItem(QStringLiteral("&Always on Top"));
        QTest::mousePress(opener.widget, opener.button, {}, opener.at);
        QTest::mouseRelease(opener.widget, opener.button, {}, opener.at);
        EXPECT_EQ(window.alwaysOnTop(), !onTop) << opener.widget->metaObject()->className() << " " << opener.button;
    }
    // A left click on the icon opens the About window directly.
    QTest::mouseClick(panel->iconLabel(), Qt::LeftButton);
    EXPECT_EQ(modals().count(QStringLiteral("lumora::AboutWindow")), 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(MenusTest, TheWindowMenuNamesThePanesTextsAndSharesTheMenuBarsCommands) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    QLabel* icon = window.panel()->iconLabel();
    const auto choose = [&](const QString& caption) {
        modals().chooseMenuItem(caption);
        QTest::mousePress(icon, Qt::RightButton);
        QTest::mouseRelease(icon, Qt::RightButton);
    };
    choose(QStringLiteral("&Minimize"));  // opened once, so the captions are current
    QMenu* menu = window.commands().menu(WindowCommands::kWindowMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(captions(menu), (QStringList{"A&bout", "-", "&Arabic", window.paneTextName(2), window.paneTextName(3),
                                           window.paneTextName(4), "-", "&Range Mode Settings    Ctrl+R",
                                           "&Onscreen Help", "-", "&Minimize", "&WindowShade Mode",
                                           "&Always on Top", "-", "&Close"}));
    window.showNormal();

    const bool onTop = window.alwaysOnTop();
    choose(QStringLiteral("&Always on Top"));
    EXPECT_EQ(window.alwaysOnTop(), !onTop);
    EXPECT_EQ(window.alwaysOnTopAction()->isChecked(), !onTop);

    choose(window.paneTextName(3));
    EXPECT_FALSE(window.isPaneVisible(3));
    EXPECT_FALSE(window.textsMenuAction(3)->isChecked());
    choose(QStringLiteral("&Arabic"));
    EXPECT_FALSE(window.isPaneVisible(1));

    choose(QStringLiteral("&Onscreen Help"));
    EXPECT_FALSE(window.onscreenHelp());
    EXPECT_FALSE(window.commands().action(WindowCommands::kOnscreenHelp)->isChecked());
}

struct Tip {
    QWidget* control;
    QString text;
};

const QString kFooter = QStringLiteral("\r\n\r\n(This on-screen help can be disabled in settings)");

std::vector<Tip> expectedTips(MainWindow& window) {
    ControlPanel* panel = window.panel();
    std::vector<Tip> tips;
    // The range move backward button keeps the later of its two texts.
    tips.push_back({panel->moveBackwardButton(),
                    "Move range backward\r\n\r\nEg: If current range is from verse 6 to 10 (\"Range begin\" in verse "
                    "6 and \"Range end\" in verse 10), then range will be shifted to 1 to 5\r\n\r\nKeyboard "
                    "shortcut : N" + kFooter});
    tips.push_back({panel->moveForwardButton(),
                    "Move range forward\r\n\r\nEg: If current range is from verse 1 to 5 (\"Range begin\" in verse 1 "
                    "and \"Range end\" in verse 5), then range will be shifted to 6 to 10\r\n\r\nKeyboard shortcut : M" +
                        kFooter});
    for (int pane = 2; pane <= 4; ++pane) {
        TextPaneFrame* frame = window.paneFrame(pane);
        tips.push_back({frame->copyButton(), "Copy text to clipboard" + kFooter});
        tips.push_back({frame->plusButton(), "Increase font size" + kFooter});
        tips.push_back({frame->minusButton(), "Decrease font size" + kFooter});
        tips.push_back({frame->infoButton(),
                        "Last updated date of text or translation displayed in this window and any other info(if "
                        "any)." + kFooter});
        tips.push_back({frame->transMenuButton(), "Select text to display in this window" + kFooter});
    }
    tips.push_back({panel->modeOption(0),
                    "Range Mode : Recite the current range\r\n\r\nRange is set of verses between \"Range Begin\" and "
                    "\"Range End\" sliders. When a sura is opened complete sura is selected as range. you can move "
                    "\"Range begin\" and \"Range end\" sliders to select the range\r\n\r\nRange mode setup can be "
                    "used to recite range multiple times, pause after range, pause between verses etc." + kFooter});
    tips.push_back({panel->modeOption(1),
                    "Verse Mode : Recite only current verse\r\n\r\nKeyboard shortcut : \r\nX - Recite current verse "
                    "(or click on arabic text or translation window) \r\nZ - Recite previous verse\r\nC - Recite "
                    "next verse (or right click Arabic text window)" + kFooter});
    tips.push_back({panel->rangeBeginButton(),
                    "Range Begin slider is used to mark the beginning of Range. \r\n\r\nKeyboard shortcut : \"B\"" +
                        kFooter});
    tips.push_back({panel->rangeEndButton(),
                    "Range End slider is used to mark the end of Range. \r\nKeyboard shortcut : \"E\"\r\n\"1-9\" keys "
                    "can be used to select that much verses from Range Begin" + kFooter});
    tips.push_back({panel->currentVerseButton(),
                    "This slider shows the current verse\r\n\r\nKeyboard shortcut : \"V\"" + kFooter});
    tips.push_back({panel->suraBox(), "Select sura\r\n\r\nKeyboard shortcut : S" + kFooter});
    tips.push_back({panel->previousButton(), "Load Previous Sura \r\n\r\nKeyboard shortcut : Page up key"});
    tips.push_back({panel->nextButton(), "Load Next Sura \r\n\r\nKeyboard shortcut : Page down key"});
    tips.push_back({panel->pauseButton(), "Pause/continue recitation \r\n\r\nKeyboard shortcut : P "});
    tips.push_back({panel->stopButton(), "Stop recitation "});
    tips.push_back({panel->playButton(),
                    "In Range mode : Recite current range\r\nKeyboard shortcut : X\r\n\r\nIn Verse mode :  Recite "
                    "current verse \r\nKeyboard shortcut : \r\nX - Recite current verse \r\nZ - Recite previous "
                    "verse\r\nC - Recite next verse"});
    return tips;
}

// Rests the pointer on `control` and lets the delay pass; returns the control the tip shows for.
QWidget* hover(HelpToolTip& help, QWidget* control) {
    QTest::mouseMove(control, control->rect().center());
    if (!help.delayTimer()->isActive())
        return nullptr;
    EXPECT_EQ(help.delayTimer()->interval(), 100);
    QMetaObject::invokeMethod(help.delayTimer(), "timeout", Qt::DirectConnection);
    return help.shownFor();
}

TEST_F(MenusTest, EachTipShowsOverItsControlWithItsTextAndOnlyWhileTheHelpIsOn) {
    Program& started = startQuiet();
    MainWindow& window = started.window();
    HelpToolTip* help = window.helpToolTip();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->registrations(), 29);
    EXPECT_EQ(help->maxWidth(), 300);
    EXPECT_EQ(help->visibleTime(), 30000);
    EXPECT_EQ(help->tipWindow()->font().family(), QFont(QStringLiteral("Arial"), 10).family());
    EXPECT_EQ(help->tipWindow()->font().pointSize(), 10);

    const std::vector<Tip> tips = expectedTips(window);
    ASSERT_EQ(tips.size(), 28u);
    for (const Tip& tip : tips) {
        EXPECT_EQ(hover(*help, tip.control), tip.control) << tip.text.toStdString();
        EXPECT_EQ(help->textFor(tip.control), tip.text);
        QString shown = tip.text;
        shown.remove(QLatin1Char('\r'));
        EXPECT_EQ(help->tipWindow()->text(), shown);
        EXPECT_TRUE(help->tipWindow()->isVisible());
        EXPECT_LE(help->tipWindow()->width(), 300);
    }
    // Pane 1's buttons carry no tip.
    EXPECT_EQ(hover(*help, window.paneFrame(1)->copyButton()), nullptr);
    EXPECT_FALSE(help->tipWindow()->isVisible());

    // Off: no tip anywhere, also after a restart; on again: all of them.
    QTest::mouseClick(window.menuBar(), Qt::LeftButton, {},
                      window.menuBar()->actionGeometry(window.topMenus()[5]->menuAction()).center());
    QMenu* helpMenu = window.topMenus()[5];
    QTest::mouseClick(helpMenu, Qt::LeftButton, {},
                      helpMenu->actionGeometry(itemOf(helpMenu, QStringLiteral("&On Screen Help"))).center());
    EXPECT_EQ(window.helpToolTip(), nullptr);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(top->isVisible() && top->windowType() == Qt::ToolTip && qobject_cast<QLabel*>(top))
            << top->metaObject()->className();
    }
    MainWindow& again = restart().window();
    modals().clear();
    EXPECT_FALSE(again.onscreenHelp());
    EXPECT_EQ(again.helpToolTip(), nullptr);
    EXPECT_FALSE(again.commands().action(WindowCommands::kOnscreenHelp)->isChecked());
    clickMenuItem(again, 5, {QStringLiteral("&On Screen Help")});
    ASSERT_NE(again.helpToolTip(), nullptr);
    EXPECT_EQ(again.helpToolTip()->registrations(), 29);
    EXPECT_EQ(hover(*again.helpToolTip(), again.panel()->stopButton()), again.panel()->stopButton());
}

TEST(HelpToolTipTest, TimesAreHeldToTheirRange) {
    QWidget owner;
    HelpToolTip tip(&owner);
    tip.setVisibleTime(40000);
    EXPECT_EQ(tip.visibleTime(), 32767);
    tip.setVisibleTime(-5);
    EXPECT_EQ(tip.visibleTime(), 0);
    tip.setDelayTime(40000);
    EXPECT_EQ(tip.delayTime(), 32767);
}

}  // namespace
}  // namespace lumora::test

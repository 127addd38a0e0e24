// The main window as a screen reader and a keyboard user meet it: every control of the panel described
// (role, name, value, actions), the panes as read-only texts named by their captions, Tab moving through
// the panel in the order it is drawn and then through the panes, the status line saying where the
// recitation stands, the word meanings on a key, and captions readable in every state.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolTip>
#include <vector>

#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/modeoptionbutton.h"
#include "app/suracombobox.h"
#include "app/textpaneframe.h"
#include "controls/contrast.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/statusline.h"
#include "controls/textpane.h"
#include "controls/tickruler.h"
#include "controls/verseslider.h"
#include "programfixture.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora::test {
namespace {

using AccessibilityWindowTest = ProgramTest;

QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

struct Described {
    QWidget* widget;
    QAccessible::Role role;
    QString name;
};

// Sends one key to whatever has the focus, as the keyboard would.
void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
}

void showAndActivate(MainWindow& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST_F(AccessibilityWindowTest, EveryControlOfThePanelIsDescribed) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(1).ok());
    ControlPanel& panel = *started.window().panel();

    // On this desktop a list is named by the item it shows and labelled by its caption.
    QAccessibleInterface* suraBox = accessible(panel.suraBox());
    EXPECT_EQ(suraBox->role(), QAccessible::ComboBox);
    EXPECT_EQ(suraBox->text(QAccessible::Value), controller.suraList().itemText(1));
    const auto labels = suraBox->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), panel.labels()[0]);

    const std::vector<Described> described = {
        {panel.modeOption(0), QAccessible::RadioButton, QStringLiteral("Recite Range")},
        {panel.modeOption(1), QAccessible::RadioButton, QStringLiteral("Recite Verse")},
        {panel.previousButton(), QAccessible::Button, QStringLiteral("Previous Sura")},
        {panel.playButton(), QAccessible::Button, QStringLiteral("Play")},
        {panel.pauseButton(), QAccessible::Button, QStringLiteral("Pause")},
        {panel.stopButton(), QAccessible::Button, QStringLiteral("Stop")},
        {panel.nextButton(), QAccessible::Button, QStringLiteral("Next Sura")},
        {panel.volumeSlider(), QAccessible::Slider, QStringLiteral("Volume")},
        {panel.rangeBeginButton(), QAccessible::Button, QStringLiteral("Set Range Begin")},
        {panel.slider(0), QAccessible::Slider, QStringLiteral("Range Begin")},
        {panel.rangeEndButton(), QAccessible::Button, QStringLiteral("Set Range End")},
        {panel.slider(1), QAccessible::Slider, QStringLiteral("Range End")},
        {panel.moveBackwardButton(), QAccessible::Button, QStringLiteral("Move range backward")},
        {panel.moveForwardButton(), QAccessible::Button, QStringLiteral("Move range forward")},
        {panel.currentVerseButton(), QAccessible::Button, QStringLiteral("Move to Verse")},
        {panel.slider(2), QAccessible::Slider, QStringLiteral("Current Verse")},
    };
    for (const Described& control : described) {
        SCOPED_TRACE(control.name.toStdString());
        QAccessibleInterface* iface = accessible(control.widget);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), control.role);
        EXPECT_EQ(iface->text(QAccessible::Name), control.name);
        EXPECT_TRUE(iface->state().focusable);
        if (control.role == QAccessible::Button) {
            ASSERT_NE(iface->actionInterface(), nullptr);
            EXPECT_TRUE(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }
        if (control.role == QAccessible::Slider) {
            EXPECT_NE(iface->valueInterface(), nullptr);
        }
    }
    for (int pane = 1; pane <= 4; ++pane) {
        OwnerDrawnButton* toggle = panel.visibleButton(pane);
        QAccessibleInterface* iface = accessible(toggle);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_EQ(iface->text(QAccessible::Name), toggle->caption());
        EXPECT_FALSE(toggle->caption().isEmpty());
        EXPECT_TRUE(iface->state().checkable);
        EXPECT_EQ(iface->state().checked, started.window().isPaneVisible(pane));
    }

    // Sura 2 loaded: the range is the whole sura, from its opening formula to verse 286.
    EXPECT_EQ(accessible(panel.slider(0))->text(QAccessible::Value), QStringLiteral("opening formula, Bismillah"));
    EXPECT_EQ(accessible(panel.slider(1))->text(QAccessible::Value), QStringLiteral("verse 286 of 286"));
    QAccessibleValueInterface* rangeEnd = accessible(panel.slider(1))->valueInterface();
    EXPECT_EQ(rangeEnd->maximumValue().toInt(), 286);
    // Set through the value interface, the range end moves as a drag would move it.
    rangeEnd->setCurrentValue(255);
    EXPECT_EQ(controller.rangeEnd().value(), 255);
    EXPECT_EQ(accessible(panel.slider(1))->text(QAccessible::Value), QStringLiteral("verse 255 of 286"));
    const int volumePercent = static_cast<int>(controller.volume().curPosition() * 100 / 1000);
    EXPECT_EQ(accessible(panel.volumeSlider())->text(QAccessible::Value),
              QStringLiteral("volume %1 percent").arg(volumePercent));

    // The press action of Play starts the recitation (of a sura the sample has a recording for); the tick
    // ruler is not in the tree at all.
    ASSERT_TRUE(controller.selectSura(111).ok());
    accessible(panel.playButton())->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(controller.tickEnabled());
    QAccessibleInterface* panelIface = accessible(&panel);
    for (int i = 0; i < panelIface->childCount(); ++i) EXPECT_NE(panelIface->child(i)->object(), panel.ruler());
    EXPECT_EQ(panelIface->indexOfChild(accessible(panel.slider(2))) >= 0, true);
}

TEST_F(AccessibilityWindowTest, EachPaneIsAReadOnlyTextNamedByItsCaptionHoldingTheShownVerse) {
    Program& started = start();
    RecitationController& controller = *started.controller();
    VerseTextAssignment& texts = *started.texts();
    ASSERT_TRUE(controller.selectSura(111).ok());
    ASSERT_TRUE(controller.currentVerseSlider().setValue(2).ok());

    for (int pane = 1; pane <= 4; ++pane) {
        SCOPED_TRACE(pane);
        TextPaneFrame* frame = started.window().paneFrame(pane);
        QAccessibleInterface* iface = accessible(frame->view());
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->text(QAccessible::Name), frame->captionLabel()->text().trimmed());
        EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty());
        EXPECT_TRUE(iface->state().readOnly);
        QAccessibleTextInterface* text = iface->textInterface();
        ASSERT_NE(text, nullptr);
        const QString whole = text->text(0, text->characterCount());
        EXPECT_EQ(whole, frame->view()->toPlainText());
        const QString verse = texts.paneText(2, pane).simplified();
        if (!verse.isEmpty()) {
            EXPECT_TRUE(whole.simplified().contains(verse)) << whole.toStdString();
        }
        EXPECT_FALSE(whole.contains(u'<')) << "no markup";
    }
}

TEST_F(AccessibilityWindowTest, TabMovesThroughThePanelInDrawnOrderThenThroughThePanes) {
    Program& started = start();
    MainWindow& window = started.window();
    ControlPanel& panel = *window.panel();
    ASSERT_TRUE(started.controller()->selectSura(111).ok());
    showAndActivate(window);
    panel.suraBox()->setFocus(Qt::TabFocusReason);

    std::vector<QWidget*> expected = {panel.suraBox(),
                                      panel.modeOption(0),
                                      panel.previousButton(),
                                      panel.playButton(),
                                      panel.pauseButton(),
                                      panel.stopButton(),
                                      panel.nextButton(),
                                      panel.volumeSlider(),
                                      panel.rangeBeginButton(),
                                      panel.slider(0),
                                      panel.rangeEndButton(),
                                      panel.slider(1),
                                      panel.visibleButton(1),
                                      panel.visibleButton(2),
                                      panel.visibleButton(3),
                                      panel.visibleButton(4),
                                      panel.moveBackwardButton(),
                                      panel.moveForwardButton(),
                                      panel.currentVerseButton(),
                                      panel.slider(2)};
    for (int pane = 1; pane <= 4; ++pane) {
        TextPaneFrame* frame = window.paneFrame(pane);
        for (QWidget* widget : std::initializer_list<QWidget*>{frame->transMenuButton(), frame->plusButton(),
                                                               frame->minusButton(), frame->copyButton(),
                                                               frame->infoButton(), frame->view()})
            expected.push_back(widget);
    }
    std::vector<QWidget*> visited{QApplication::focusWidget()};
    for (size_t i = 1; i < expected.size() + 1; ++i) {
        pressOnFocus(Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    expected.push_back(panel.suraBox());
    ASSERT_EQ(visited.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(visited[i], expected[i]) << "stop " << i << ": "
                                           << (visited[i] ? visited[i]->metaObject()->className() : "none");
    }
    // Shift+Tab walks back; nothing the key handler knows acted on the keys.
    pressOnFocus(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window.paneFrame(4)->view());
    EXPECT_EQ(started.controller()->sura(), 112);
    // The ruler and the labels take no focus; the panes' own links are not tab stops.
    EXPECT_EQ(panel.ruler()->focusPolicy(), Qt::NoFocus);
}

TEST_F(AccessibilityWindowTest, FocusedControlsWorkFromTheKeyboard) {
    Program& started = start();
    MainWindow& window = started.window();
    ControlPanel& panel = *window.panel();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    showAndActivate(window);

    panel.slider(0)->setFocus(Qt::TabFocusReason);
    pressOnFocus(Qt::Key_Right);
    pressOnFocus(Qt::Key_Right);
    EXPECT_EQ(controller.rangeBegin().value(), 2);
    panel.slider(2)->setFocus(Qt::TabFocusReason);
    pressOnFocus(Qt::Key_Right);
    EXPECT_EQ(controller.currentVerse(), 1) << "the current verse follows its slider";

    const int32_t volume = controller.volume().curPosition();
    panel.volumeSlider()->setFocus(Qt::TabFocusReason);
    pressOnFocus(Qt::Key_Left);
    EXPECT_EQ(controller.volume().curPosition(), std::max(volume - 100, 0));

    panel.playButton()->setFocus(Qt::TabFocusReason);
    pressOnFocus(Qt::Key_Space);
    EXPECT_TRUE(controller.tickEnabled());
    panel.stopButton()->setFocus(Qt::TabFocusReason);
    pressOnFocus(Qt::Key_Space);
    EXPECT_FALSE(controller.tickEnabled());

    panel.visibleButton(3)->setFocus(Qt::TabFocusReason);
    pressOnFocus(Qt::Key_Space);
    EXPECT_FALSE(window.isPaneVisible(3));
    pressOnFocus(Qt::Key_Space);
    EXPECT_TRUE(window.isPaneVisible(3));
}

TEST_F(AccessibilityWindowTest, TheStatusLineSaysWhereTheRecitationStands) {
    store(QStringLiteral("RangeModeSetup"), QStringLiteral("NoofTimes"), QStringLiteral("2"));
    store(QStringLiteral("RangeModeSetup"), QStringLiteral("Pause"), QStringLiteral("0"));
    store(QStringLiteral("RangeModeSetup"), QStringLiteral("NextRange"), QStringLiteral("False"));
    store(QStringLiteral("RangeModeSetup"), QStringLiteral("NextSura"), QStringLiteral("False"));
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    StatusLine* line = window.statusLine();
    ASSERT_NE(line, nullptr);
    QAccessibleInterface* iface = accessible(line);
    EXPECT_EQ(iface->role(), QAccessible::StatusBar);
    std::vector<QString> said;
    QObject::connect(line, &StatusLine::announced, [&said](const QString& message) { said.push_back(message); });

    // The sample has no recording for suras 2 and 9, and the message says so.
    ASSERT_TRUE(controller.selectSura(1).ok());
    EXPECT_EQ(line->message(), QStringLiteral("Sura 2, Al-Baqara, 286 verses, audio missing"));
    EXPECT_EQ(iface->text(QAccessible::Name), line->message());
    ASSERT_TRUE(controller.selectSura(8).ok());
    EXPECT_TRUE(line->message().startsWith(QStringLiteral("Sura 9, At-Tawba, 129 verses")))
        << "sura 9 counts from its first verse; " << line->message().toStdString();
    ASSERT_TRUE(controller.selectSura(111).ok());
    EXPECT_EQ(line->message(), QStringLiteral("Sura 112, Al-Ikhlas, 4 verses"));

    // A range chosen by a key, once for the action, however many markers moved.
    showAndActivate(window);
    said.clear();
    pressOnFocus(Qt::Key_2);
    QCoreApplication::processEvents();
    pressOnFocus(Qt::Key_M);
    QCoreApplication::processEvents();
    ASSERT_GE(said.size(), 2u);
    EXPECT_EQ(said[0], QStringLiteral("Range: opening formula to verse 1"));
    EXPECT_EQ(said[1], QStringLiteral("Range: verse 2 to verse 3"));

    pressOnFocus(Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(std::find(said.begin(), said.end(), QStringLiteral("Verse mode")) != said.end());
    pressOnFocus(Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(std::find(said.begin(), said.end(), QStringLiteral("Range mode")) != said.end());

    // Recited to its end twice: one repeat, then the end of the range.
    said.clear();
    controller.startRecitation();
    const auto runUntil = [&](const std::function<bool()>& done) {
        for (int step = 0; step < 60000 && !done(); step += 10) {
            output()->advanceMs(10);
            clock().advanceMs(10);
            controller.onTimer();
        }
        return done();
    };
    ASSERT_TRUE(runUntil([&] { return !said.empty(); }));
    EXPECT_EQ(said.front(), QStringLiteral("Range repeats, 1 recitation left"));
    ASSERT_TRUE(runUntil([&] { return said.back() == QStringLiteral("Range finished"); }));
}

TEST_F(AccessibilityWindowTest, EachVerseIsAnnouncedOnlyWhenAskedFor) {
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    ASSERT_TRUE(controller.selectSura(111).ok());
    StatusLine* line = window.statusLine();
    const QString before = line->message();
    ASSERT_TRUE(controller.currentVerseSlider().setValue(1).ok());
    EXPECT_EQ(line->message(), before);

    QAction* option = window.announceEachVerseAction();
    ASSERT_NE(option, nullptr);
    EXPECT_FALSE(option->isChecked());
    option->trigger();
    EXPECT_EQ(stored(QStringLiteral("Accessibility"), QStringLiteral("AnnounceEachVerse")), QStringLiteral("True"));
    ASSERT_TRUE(controller.currentVerseSlider().setValue(2).ok());
    EXPECT_TRUE(line->message().startsWith(QStringLiteral("Verse 2: "))) << line->message().toStdString();
    EXPECT_TRUE(line->message().contains(window.paneFrame(1)->view()->toPlainText().simplified().left(5)));

    restart();
    EXPECT_TRUE(program().window().announceEachVerseAction()->isChecked());
}

TEST_F(AccessibilityWindowTest, TheWordMeaningsKeyShowsThemAndDescribesThePane) {
    Program& started = start();
    MainWindow& window = started.window();
    RecitationController& controller = *started.controller();
    VerseTextAssignment& texts = *started.texts();
    showAndActivate(window);
    ASSERT_TRUE(controller.selectSura(111).ok());
    ASSERT_TRUE(controller.currentVerseSlider().setValue(1).ok());
    const QString meanings = texts.wordMeaningsText(1);
    ASSERT_FALSE(meanings.isEmpty()) << "the sample has word meanings for sura 112";

    pressOnFocus(Qt::Key_G);
    QLabel* tip = window.wordTip();
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->text().contains(meanings.section(u'\n', 0, 0).section(QStringLiteral(": "), 1)))
        << tip->text().toStdString();
    bool described = false;
    for (int pane = 1; pane <= 4; ++pane) {
        const QString description = accessible(window.paneFrame(pane)->view())->text(QAccessible::Description);
        if (description.isEmpty()) continue;
        described = true;
        EXPECT_TRUE(description.contains(meanings.section(u'\n', 0, 0))) << description.toStdString();
    }
    EXPECT_TRUE(described);
    // The next verse's meanings replace the old ones on the next press.
    ASSERT_TRUE(controller.currentVerseSlider().setValue(2).ok());
    pressOnFocus(Qt::Key_G);
    EXPECT_TRUE(tip->text().contains(texts.wordMeaningsText(2).section(u'\n', 0, 0).section(QStringLiteral(": "), 1)));
}

TEST_F(AccessibilityWindowTest, PanelCaptionsStayReadableInEveryState) {
    Program& started = start();
    MainWindow& window = started.window();
    ControlPanel& panel = *window.panel();
    const auto readable = [](const QColor& text, const QColor& back, const char* what) {
        const double ratio = Contrast::ratio(text, back);
        EXPECT_GE(ratio, Contrast::kMinimumTextRatio) << what << ": " << text.name().toStdString() << " on "
                                                      << back.name().toStdString();
    };
    std::vector<QWidget*> labelled(panel.labels().begin(), panel.labels().end());
    labelled.push_back(panel.modeOption(0));
    labelled.push_back(panel.modeOption(1));
    for (int pane = 1; pane <= 4; ++pane) {
        labelled.push_back(window.paneFrame(pane)->captionLabel());
        labelled.push_back(window.paneFrame(pane)->wordTipLabel());
    }
    for (QWidget* widget : labelled) {
        const QPalette colours = widget->palette();
        const QColor back = widget->parentWidget()->palette().color(QPalette::Window);
        readable(colours.color(QPalette::Active, QPalette::WindowText), back, widget->metaObject()->className());
        readable(colours.color(QPalette::Disabled, QPalette::WindowText), back, "disabled caption");
    }
    std::vector<OwnerDrawnButton*> buttons = {panel.rangeBeginButton(), panel.rangeEndButton(),
                                              panel.currentVerseButton(), panel.moveForwardButton(),
                                              panel.moveBackwardButton()};
    for (int pane = 1; pane <= 4; ++pane) {
        buttons.push_back(panel.visibleButton(pane));
        TextPaneFrame* frame = window.paneFrame(pane);
        for (OwnerDrawnButton* button : {frame->transMenuButton(), frame->plusButton(), frame->minusButton(),
                                         frame->copyButton(), frame->infoButton()})
            buttons.push_back(button);
    }
    for (OwnerDrawnButton* button : buttons) {
        readable(button->captionColour(), button->faceColour(), "button");
        const bool wasChecked = button->checked();
        if (button->isCheckBox()) {
            button->setChecked(!wasChecked);
            readable(button->captionColour(), button->faceColour(), "button, other check state");
        }
        button->setEnabled(false);
        readable(button->captionColour(), button->faceColour(), "disabled button");
        button->setEnabled(true);
        button->setChecked(wasChecked);
    }
}

TEST_F(AccessibilityWindowTest, CaptionsFollowTheDesktopsFontSize) {
    // The desktop's font is the application's font when Lumora starts.
    const QFont desktop = QApplication::font();
    QFont larger = desktop;
    larger.setPointSizeF(desktop.pointSizeF() * 1.6);
    QApplication::setFont(larger);
    Program& started = start();
    ControlPanel& panel = *started.window().panel();
    const auto captionsFit = [&panel, &started](const QFont& font) {
        for (QLabel* label : panel.labels()) {
            EXPECT_EQ(label->font().pointSizeF(), font.pointSizeF());
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            EXPECT_GE(label->height(), label->sizeHint().height());
        }
        for (int pane = 1; pane <= 4; ++pane) {
            EXPECT_EQ(panel.visibleButton(pane)->font().pointSizeF(), font.pointSizeF());
            QLabel* caption = started.window().paneFrame(pane)->captionLabel();
            EXPECT_GE(caption->width(), caption->sizeHint().width());
        }
    };
    captionsFit(larger);
    QApplication::setFont(desktop);
    // A font changed while the window is open resizes the captions as well.
    QFont largest = larger;
    largest.setPointSizeF(desktop.pointSizeF() * 2.0);
    started.window().setFont(largest);
    captionsFit(largest);
}

}  // namespace
}  // namespace lumora::test

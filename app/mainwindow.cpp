#include "app/mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "app/aboutwindow.h"
#include "app/appicon.h"
#include "app/clipboardlink.h"
#include "app/controlpanel.h"
#include "app/equalizerdialog.h"
#include "app/finddialog.h"
#include "app/modeoptionbutton.h"
#include "app/quicksuradialog.h"
#include "app/quickversedialog.h"
#include "app/rangemodesetupdialog.h"
#include "app/recallview.h"
#include "app/separatorbar.h"
#include "app/suracombobox.h"
#include "app/textpaneframe.h"
#include "app/topmost.h"
#include "app/twips.h"
#include "audio/player.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/textpane.h"
#include "controls/tickruler.h"
#include "recitation/keyhandler.h"
#include "recitation/rangesaver.h"
#include "recitation/recitationcontroller.h"
#include "search/indexloader.h"
#include "settings/settingsstore.h"
#include "settings/settingtext.h"
#include "text/installedtexts.h"
#include "text/versetextassignment.h"

namespace lumora {

namespace {

const QString kApplication = QStringLiteral("ZI4");
// The default background of a pane, RGB(227, 238, 227).
constexpr uint32_t kDefaultPaneBack = 14937827;
// The word-meaning tip appears this long after the pointer comes to rest on a word.
constexpr int kWordTipDelayMs = 250;
// The tip stands this far right of and below the pointer, and at least this far from the right edge.
constexpr int kWordTipRightTw = 100;
constexpr int kWordTipDownTw = 500;
constexpr int kWordTipEdgeTw = 200;

QColor colourOf(uint32_t number) {
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

uint32_t numberOf(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

QRect roundedRect(const QRectF& rect) {
    const auto whole = [](double value) { return static_cast<int>(SettingText::roundHalfEven(value)); };
    return QRect(whole(rect.x()), whole(rect.y()), whole(rect.width()), whole(rect.height()));
}

}  // namespace

const QString MainWindow::kTitle = QStringLiteral("Lumora");

const QColor& MainWindow::panelBackground() {
    static const QColor colour(57, 49, 57);
    return colour;
}

const QColor& MainWindow::panelText() {
    static const QColor colour(227, 238, 227);
    return colour;
}

MainWindow::MainWindow(SettingsStore& settings, QString appFolder, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_layouts(settings), m_appFolder(std::move(appFolder)) {
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The narrow margins the geometry rules leave around the panes show the panel's colour.
    QPalette background = palette();
    background.setColor(QPalette::Window, panelBackground());
    setPalette(background);
    setAutoFillBackground(true);
    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    // The menu bar keeps the platform's colours (each role set, so none is taken from the window).
    QPalette menuColours = QApplication::palette(m_menuBar);
    for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText}) {
        menuColours.setColor(role, menuColours.color(role));
    }
    m_menuBar->setPalette(menuColours);
    m_menuBar->setAutoFillBackground(true);
    buildMenus();

    m_container = new QWidget(this);
    m_container->setAutoFillBackground(true);
    for (int pane = 1; pane <= 4; ++pane) {
        auto* frame = new TextPaneFrame(pane, m_container);
        m_panes[static_cast<size_t>(pane - 1)] = frame;
    }
    for (int number = 1; number <= 3; ++number) {
        auto* bar = new SeparatorBar(number, m_container);
        bar->hide();
        m_separators[static_cast<size_t>(number - 1)] = bar;
        connect(bar, &SeparatorBar::dragStarted, this, &MainWindow::onSeparatorDragStarted);
        connect(bar, &SeparatorBar::dragMoved, this, &MainWindow::onSeparatorDragMoved);
        connect(bar, &SeparatorBar::dragFinished, this, [this](int) { m_drag.reset(); });
    }

    m_wordTip = new QLabel(this);
    m_wordTip->setAutoFillBackground(true);
    m_wordTip->setFrameShape(QFrame::Box);
    QPalette tipColours = m_wordTip->palette();
    tipColours.setColor(QPalette::Window, QColor(255, 255, 225));
    tipColours.setColor(QPalette::WindowText, Qt::black);
    m_wordTip->setPalette(tipColours);
    m_wordTip->hide();
    m_wordTipTimer = new QTimer(this);
    m_wordTipTimer->setSingleShot(true);
    m_wordTipTimer->setInterval(kWordTipDelayMs);
    connect(m_wordTipTimer, &QTimer::timeout, this, &MainWindow::showWordTip);

    const double windowDpi = dpi();
    for (TextPaneFrame* frame : m_panes) frame->setDpi(windowDpi);
    resize(Twips::toPixels(PaneGeometry::kMinimumWidthTwips, windowDpi),
           Twips::toPixels(PaneGeometry::kMinimumHeightTwips, windowDpi));
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------------------------------------- menus

void MainWindow::buildMenus() {
    QMenu* goTo = m_menuBar->addMenu(QStringLiteral("&Go to"));
    QMenu* recitation = m_menuBar->addMenu(QStringLiteral("&Recitation"));
    QMenu* texts = m_menuBar->addMenu(QStringLiteral("&Texts"));
    m_layoutMenu = m_menuBar->addMenu(QStringLiteral("&Layouts"));
    QMenu* options = m_menuBar->addMenu(QStringLiteral("&Options"));
    QMenu* help = m_menuBar->addMenu(QStringLiteral("&Help"));
    m_topMenus = {goTo, recitation, texts, m_layoutMenu, options, help};

    connect(goTo->addAction(QStringLiteral("&Next Sura")), &QAction::triggered, this, [this] {
        if (m_controller)
            m_controller->nextSura();
    });
    connect(goTo->addAction(QStringLiteral("&Previous Sura")), &QAction::triggered, this, [this] {
        if (m_controller)
            m_controller->previousSura();
    });
    // The key handler takes Ctrl+F; the menu only shows it.
    connect(goTo->addAction(QStringLiteral("&Find...\tCtrl+F")), &QAction::triggered, this, &MainWindow::showFind);

    connect(recitation->addAction(QStringLiteral("&Recite")), &QAction::triggered, this, [this] {
        if (m_controller)
            m_controller->startRecitation();
    });
    connect(recitation->addAction(QStringLiteral("&Pause")), &QAction::triggered, this, [this] {
        if (m_controller)
            m_controller->pauseOrContinue();
    });
    connect(recitation->addAction(QStringLiteral("&Stop")), &QAction::triggered, this, [this] {
        if (m_controller)
            m_controller->stop();
    });
    recitation->addSeparator();
    QMenu* volume = recitation->addMenu(QStringLiteral("&Volume"));
    const QString volumeCaptions[6] = {QStringLiteral("&Mute"), QStringLiteral("&20%"),
                                       QStringLiteral("&40%"),  QStringLiteral("&60%"),
                                       QStringLiteral("&80%"),  QStringLiteral("&100%")};
    for (int i = 0; i < 6; ++i) {
        QAction* action = volume->addAction(volumeCaptions[i]);
        m_volumeActions[static_cast<size_t>(i)] = action;
        connect(action, &QAction::triggered, this, [this, i] {
            if (m_controller)
                m_controller->setVolumeMenuItem(i);
        });
    }

    recitation->addSeparator();
    connect(recitation->addAction(QStringLiteral("&Equalizer...")), &QAction::triggered, this,
            &MainWindow::showEqualizer);
    connect(recitation->addAction(QStringLiteral("&Save Range to MP3")), &QAction::triggered, this,
            &MainWindow::saveRangeToMp3);

    for (int pane = 1; pane <= 4; ++pane) {
        QAction* action = texts->addAction(QStringLiteral("Text%1").arg(pane));
        action->setCheckable(true);
        action->setChecked(true);
        m_textActions[static_cast<size_t>(pane - 1)] = action;
        // The menu item flips its own check mark; the toggle button follows it, then acts as clicked.
        connect(action, &QAction::triggered, this, [this, pane](bool checked) {
            setPaneVisibleButton(pane, checked);
            paneToggleClicked(pane);
        });
    }

    for (int layout = 1; layout <= 5; ++layout) {
        QAction* action = m_layoutMenu->addAction(QStringLiteral("Layout &%1").arg(layout));
        action->setCheckable(true);
        m_layoutActions[static_cast<size_t>(layout - 1)] = action;
        connect(action, &QAction::triggered, this, [this, layout] {
            // A click must not take the check mark away by itself: loading the layout sets the marks.
            updateLayoutMenu();
            switchLayout(QString::number(layout));
        });
    }
    m_layoutMenu->addSeparator();
    m_resetLayoutsAction = m_layoutMenu->addAction(QStringLiteral("&Reset All Layouts"));
    connect(m_resetLayoutsAction, &QAction::triggered, this, &MainWindow::resetAllLayouts);
    m_layoutMenu->addSeparator();
    m_layoutHelpAction = m_layoutMenu->addAction(QStringLiteral("&Layout Help ..."));
    connect(m_layoutHelpAction, &QAction::triggered, this, &MainWindow::showLayoutHelp);

    m_alwaysOnTopAction = options->addAction(QStringLiteral("Always On &Top"));
    m_alwaysOnTopAction->setCheckable(true);
    connect(m_alwaysOnTopAction, &QAction::triggered, this, [this] { setAlwaysOnTop(!m_alwaysOnTop); });
    m_showPanelAction = options->addAction(QStringLiteral("Show &Panel"));
    m_showPanelAction->setCheckable(true);
    m_showPanelAction->setChecked(true);
    connect(m_showPanelAction, &QAction::triggered, this, [this] { setShowPanel(!m_showPanel); });
    connect(options->addAction(QStringLiteral("Toggle &Menu Display")), &QAction::triggered, this, [this] {
        showMessage(QStringLiteral("Hiding and showing menu"),
                    QStringLiteral("To hide menu press F8. To make it appear again press F8"), false);
    });
    m_loadClosedStateAction = options->addAction(QStringLiteral("&Load last closed state on open"));
    m_loadClosedStateAction->setCheckable(true);
    m_loadClosedStateAction->setChecked(true);
    connect(m_loadClosedStateAction, &QAction::triggered, this, &MainWindow::toggleLoadClosedState);

    m_onscreenHelpAction = help->addAction(QStringLiteral("&On Screen Help"));
    m_onscreenHelpAction->setCheckable(true);
    m_onscreenHelpAction->setChecked(true);
    connect(m_onscreenHelpAction, &QAction::triggered, this, [this] {
        setOnscreenHelp(!m_onscreenHelp);
        (void)m_settings.save(kApplication, QStringLiteral("OnscreenHelp"), QStringLiteral("Enabled"),
                              SettingText::fromBoolean(m_onscreenHelp));
    });
    connect(help->addAction(QStringLiteral("&Keyboard Shortcuts")), &QAction::triggered, this,
            [this] { showAboutWindow(AboutWindow::KeyboardPage); });
    connect(help->addAction(QStringLiteral("&About...")), &QAction::triggered, this,
            [this] { showAboutWindow(AboutWindow::AboutPage); });
}

void MainWindow::updateLayoutMenu() {
    bool isNumber = false;
    const int current = m_currentLayout.toInt(&isNumber);
    for (int layout = 1; layout <= 5; ++layout) {
        m_layoutActions[static_cast<size_t>(layout - 1)]->setChecked(isNumber && current == layout);
    }
    m_layoutMenu->setTitle(QStringLiteral("Layout ") + m_currentLayout);
}

void MainWindow::setMenusVisible(bool visible) {
    m_menusVisible = visible;
    for (QMenu* menu : m_topMenus) menu->menuAction()->setVisible(visible);
    m_menuBar->setVisible(visible);
    arrangeWindow();
}

// ---------------------------------------------------------------------------------------------- wiring

void MainWindow::attach(RecitationController& controller, VerseTextAssignment& texts, KeyHandler& keys,
                        ClipboardLink& clipboard) {
    m_controller = &controller;
    m_texts = &texts;
    m_keys = &keys;
    m_clipboard = &clipboard;

    m_panel = new ControlPanel(
        controller.suraList(),
        {&controller.rangeBegin(), &controller.rangeEnd(), &controller.currentVerseSlider()}, this);
    m_panel->setDpi(dpi());
    m_panel->show();
    m_wordTip->raise();
    m_recall = std::make_unique<RecallView>(controller, texts, m_settings, this);
    m_topMenus[4]->addSeparator();
    m_topMenus[4]->addAction(m_recall->recallAction());
    m_topMenus[4]->addAction(m_recall->hideTranslationsAction());
    connectPanel();
    connectPanes();
    arrangeWindow();

    // The recitation's tick and idle poll, at the shortest period the timer offers.
    m_tickTimer = new QTimer(this);
    m_tickTimer->setTimerType(Qt::PreciseTimer);
    m_tickTimer->setInterval(1);
    connect(m_tickTimer, &QTimer::timeout, this, [this] { m_controller->onTimer(); });
    m_tickTimer->start();
}

void MainWindow::showFind() {
    if (m_findDialog == nullptr) {
        m_indexLoader = std::make_unique<IndexLoader>(m_appFolder);
        m_findDialog = new FindDialog(*m_indexLoader, this);
        connect(m_findDialog, &FindDialog::verseChosen, this, [this](int sura, int verse) {
            if (m_controller) (void)m_controller->goToVerse(sura, verse);
        });
    }
    m_findDialog->showFind();
}

void MainWindow::toggleRecallMode() {
    if (m_recall) m_recall->toggle();
}

void MainWindow::revealRecallHint() {
    if (m_recall) m_recall->revealHint();
}

void MainWindow::stopTicking() {
    if (m_tickTimer)
        m_tickTimer->stop();
}

void MainWindow::connectPanel() {
    RecitationController& controller = *m_controller;
    SuraComboBox* suraBox = m_panel->suraBox();
    connect(suraBox, &QComboBox::currentIndexChanged, this, &MainWindow::onSuraBoxChanged);
    connect(&controller.suraList(), &SuraList::currentIndexChanged, this, [this](int index) {
        m_syncingSuraBox = true;
        m_panel->suraBox()->setCurrentIndex(index);
        m_syncingSuraBox = false;
    });

    connect(m_panel->modeOption(0), &QRadioButton::clicked, this,
            [this] { m_controller->setMode(RecitationMode::Range); });
    connect(m_panel->modeOption(1), &QRadioButton::clicked, this,
            [this] { m_controller->setMode(RecitationMode::Verse); });

    connect(m_panel->playButton(), &PictureButton::click, this, [this] { m_controller->startRecitation(); });
    connect(m_panel->pauseButton(), &PictureButton::click, this, [this] { m_controller->pauseOrContinue(); });
    connect(m_panel->stopButton(), &PictureButton::click, this, [this] { m_controller->stop(); });
    connect(m_panel->nextButton(), &PictureButton::click, this, [this] { m_controller->nextSura(); });
    connect(m_panel->previousButton(), &PictureButton::click, this, [this] { m_controller->previousSura(); });

    using Purpose = RecitationController::VerseDialogPurpose;
    connect(m_panel->rangeBeginButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller->openVerseDialog(Purpose::SetRangeBegin); });
    connect(m_panel->rangeEndButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller->openVerseDialog(Purpose::SetRangeEnd); });
    connect(m_panel->currentVerseButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller->openVerseDialog(Purpose::MoveToVerse); });
    connect(m_panel->moveForwardButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller->moveRangeForward(); });
    connect(m_panel->moveBackwardButton(), &OwnerDrawnButton::click, this,
            [this] { m_controller->moveRangeBackward(); });

    PictureSlider* volume = m_panel->volumeSlider();
    volume->setCurPosition(controller.volume().curPosition());
    connect(volume, &PictureSlider::positionChanged, this, &MainWindow::onVolumeDragged,
            Qt::DirectConnection);
    connect(&controller.volume(), &VolumeModel::curPositionChanged, volume, &PictureSlider::setCurPosition);

    // Keys pressed on the volume slider and the ruler go to the window's handler, which has already seen
    // them first; nothing more to do here.
    for (int pane = 1; pane <= 4; ++pane) {
        OwnerDrawnButton* toggle = m_panel->visibleButton(pane);
        connect(toggle, &OwnerDrawnButton::click, this, [this, pane] { paneToggleClicked(pane); });
    }

    m_panel->iconLabel()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A left click on the program's icon opens the About window.
    if (m_panel && watched == m_panel->iconLabel() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        showAbout();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::onSuraBoxChanged(int index) {
    if (m_syncingSuraBox || !m_controller)
        return;
    if (index == m_controller->suraList().currentIndex())
        return;
    (void)m_controller->selectSura(index);
}

void MainWindow::onVolumeDragged(int32_t, int32_t& newPosition) {
    m_controller->volume().setCurPosition(newPosition);
    newPosition = m_controller->volume().curPosition();
    m_controller->applyVolume();
}

void MainWindow::connectPanes() {
    for (int pane = 1; pane <= 4; ++pane) {
        TextPaneFrame* frame = paneFrame(pane);
        m_texts->pane(pane).setPageView(frame->view());
        frame->applyColours(panelBackground(), panelText());
        connect(frame->view(), &TextPane::navigationRequested, this, [this](const QString& target) {
            switch (VerseTextAssignment::playRequest(target)) {
                case VerseTextAssignment::PlayRequest::CurrentVerse:
                    // While recall mode hides the verse, a click shows a hint instead of reciting.
                    if (!m_recall->takePaneClick()) m_controller->playVerse(1);
                    break;
                case VerseTextAssignment::PlayRequest::NextVerse:
                    m_controller->playVerse(2);
                    break;
                case VerseTextAssignment::PlayRequest::None:
                    break;
            }
        });
        connect(frame->view(), &TextPane::statusTextChanged, this, &MainWindow::onPaneStatusText);
        connect(frame, &TextPaneFrame::plusClicked, this, [this](int k) { m_texts->increaseFontSize(k); });
        connect(frame, &TextPaneFrame::minusClicked, this, [this](int k) { m_texts->decreaseFontSize(k); });
        connect(frame, &TextPaneFrame::copyClicked, this, &MainWindow::copyPaneText);
        connect(frame, &TextPaneFrame::infoClicked, this, &MainWindow::showTextInfo);
        connect(frame, &TextPaneFrame::transMenuClicked, this, &MainWindow::showPaneMenu);
    }
    connect(m_texts, &VerseTextAssignment::wordByWordHintChanged, this,
            [this](int pane, bool visible) { paneFrame(pane)->setWordTipVisible(visible); });
}

// ---------------------------------------------------------------------------------------------- panes

void MainWindow::clearPanes() {
    for (TextPaneFrame* frame : m_panes) {
        frame->view()->clear();
        frame->view()->close();
    }
}

bool MainWindow::isPaneVisible(int pane) const {
    if (m_panel)
        return m_panel->visibleButton(pane)->checked();
    return m_textActions.at(static_cast<size_t>(pane - 1))->isChecked();
}

void MainWindow::setPaneVisibleButton(int pane, bool visible) {
    if (m_panel)
        m_panel->visibleButton(pane)->setChecked(visible);
}

void MainWindow::paneToggleClicked(int pane) {
    loadBrowsers(false);
    m_textActions.at(static_cast<size_t>(pane - 1))->setChecked(isPaneVisible(pane));
}

void MainWindow::togglePane(int pane) {
    if (pane < 1 || pane > 4)
        return;
    setPaneVisibleButton(pane, !isPaneVisible(pane));
    paneToggleClicked(pane);
}

void MainWindow::loadBrowsers(bool proportional) {
    std::array<bool, 4> visible{};
    std::array<int, 4> heights{};
    for (int pane = 1; pane <= 4; ++pane) {
        visible[static_cast<size_t>(pane - 1)] = isPaneVisible(pane);
        heights[static_cast<size_t>(pane - 1)] = m_paneTw[static_cast<size_t>(pane - 1)].height();
    }
    const auto stack = PaneGeometry::stackPanes(visible, heights, m_containerTw.size(),
                                                PaneGeometry::kSeparatorHeightTwips, proportional);
    if (!stack)
        return;
    for (size_t i = 0; i < 4; ++i) {
        if (stack->panes[i].visible)
            m_paneTw[i] = stack->panes[i].rect;
    }
    for (size_t i = 0; i < 3; ++i) {
        const auto& separator = stack->separators[i];
        if (!separator.visible)
            continue;
        m_separatorTw[i] = separator.rect;
        m_separators[i]->setTag(paneFrame(separator.abovePane)->name() + QLatin1Char('|') +
                                paneFrame(separator.belowPane)->name());
    }
    const double windowDpi = dpi();
    for (size_t i = 0; i < 4; ++i) {
        m_panes[i]->setVisible(stack->panes[i].visible);
        if (stack->panes[i].visible)
            m_panes[i]->setGeometry(Twips::rectToPixels(m_paneTw[i], windowDpi));
    }
    for (size_t i = 0; i < 3; ++i) {
        m_separators[i]->setVisible(stack->separators[i].visible);
        if (stack->separators[i].visible) {
            m_separators[i]->setGeometry(Twips::rectToPixels(m_separatorTw[i], windowDpi));
            m_separators[i]->raise();
        }
    }
}

void MainWindow::applyPaneRects() {
    const double windowDpi = dpi();
    for (size_t i = 0; i < 4; ++i) m_panes[i]->setGeometry(Twips::rectToPixels(m_paneTw[i], windowDpi));
    for (size_t i = 0; i < 3; ++i)
        m_separators[i]->setGeometry(Twips::rectToPixels(m_separatorTw[i], windowDpi));
}

void MainWindow::onSeparatorDragStarted(int number, QPoint globalPixels) {
    const QStringList names = m_separators.at(static_cast<size_t>(number - 1))->tag().split(QLatin1Char('|'));
    if (names.size() != 2)
        return;
    int above = 0;
    int below = 0;
    for (int pane = 1; pane <= 4; ++pane) {
        if (paneFrame(pane)->name() == names[0])
            above = pane;
        if (paneFrame(pane)->name() == names[1])
            below = pane;
    }
    if (above == 0 || below == 0)
        return;
    m_dragSeparator = number;
    m_dragAbove = above;
    m_dragBelow = below;
    m_drag.emplace(globalPixels, dpi(), m_separatorTw.at(static_cast<size_t>(number - 1)),
                   m_paneTw.at(static_cast<size_t>(above - 1)), m_paneTw.at(static_cast<size_t>(below - 1)));
}

void MainWindow::onSeparatorDragMoved(int number, QPoint globalPixels) {
    if (!m_drag || number != m_dragSeparator)
        return;
    const bool moved = m_drag->moveCursor(globalPixels);
    m_separatorTw[static_cast<size_t>(number - 1)] = m_drag->separator();
    m_paneTw[static_cast<size_t>(m_dragAbove - 1)] = m_drag->abovePane();
    m_paneTw[static_cast<size_t>(m_dragBelow - 1)] = m_drag->belowPane();
    applyPaneRects();
    if (moved)
        repaint();
}

// ---------------------------------------------------------------------------------------------- geometry

double MainWindow::dpi() const {
    const double value = logicalDpiY();
    return value > 0 ? value : Twips::kDefaultDpi;
}

int MainWindow::menuBarHeight() const {
    if (!m_menusVisible)
        return 0;
    return m_menuBar->heightForWidth(std::max(width(), 1)) > 0
               ? m_menuBar->heightForWidth(std::max(width(), 1))
               : m_menuBar->sizeHint().height();
}

QSize MainWindow::frameExtraPixels() const {
    const QSize extra = frameGeometry().size() - size();
    return QSize(std::max(extra.width(), 0), std::max(extra.height(), 0));
}

QSize MainWindow::screenSizeTwips() const {
    const QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize pixels = shownOn ? shownOn->geometry().size() : QSize(1024, 768);
    return Twips::sizeFromPixels(pixels, dpi());
}

QRect MainWindow::windowGeometryTwips() const {
    // The frame's top-left places the window as the user sees it; the size is the window's own, without
    // the window manager's decorations, so that storing and restoring it never grows the window.
    return Twips::rectFromPixels(QRect(frameGeometry().topLeft(), size()), dpi());
}

void MainWindow::setWindowGeometryTwips(const QRectF& rect) {
    const QRect pixels = Twips::rectToPixels(roundedRect(rect), dpi());
    move(pixels.topLeft());
    resize(pixels.size().expandedTo(minimumSize()));
    arrangeWindow();
}

void MainWindow::arrangeWindow() {
    const double windowDpi = dpi();
    // The smallest outer window, less what the window manager's frame takes.
    const QSize extra = frameExtraPixels();
    setMinimumSize(Twips::toPixels(PaneGeometry::kMinimumWidthTwips, windowDpi) - extra.width(),
                   Twips::toPixels(PaneGeometry::kMinimumHeightTwips, windowDpi) - extra.height());

    const int menuHeight = menuBarHeight();
    if (m_menusVisible)
        m_menuBar->setGeometry(0, 0, width(), menuHeight);
    const QSize innerPixels(width(), std::max(height() - menuHeight, 0));
    const QSize outerTwips = Twips::sizeFromPixels(frameGeometry().size(), windowDpi);
    const QSize innerTwips = Twips::sizeFromPixels(innerPixels, windowDpi);

    const PaneGeometry::PanelControls controls =
        m_panel ? m_panel->controlsTwips() : PaneGeometry::PanelControls{};
    const PaneGeometry::WindowArrangement arrangement = PaneGeometry::arrangeWindow(
        outerTwips, innerTwips, m_showPanel, ControlPanel::kHeightTwips, controls);
    if (m_panel) {
        m_panel->setVisible(arrangement.panelVisible);
        if (arrangement.panelVisible) {
            m_panel->setGeometry(Twips::rectToPixels(arrangement.panel, windowDpi).translated(0, menuHeight));
            m_panel->arrange(arrangement);
        }
    }
    const QRect containerPixels =
        Twips::rectToPixels(arrangement.container, windowDpi).translated(0, menuHeight);
    m_container->setGeometry(containerPixels);
    const bool containerResized = arrangement.container.size() != m_containerTw.size();
    m_containerTw = arrangement.container;
    for (size_t i = 0; i < 4; ++i) m_paneTw[i].setWidth(arrangement.paneWidth);
    for (size_t i = 0; i < 3; ++i) m_separatorTw[i].setWidth(arrangement.paneWidth);
    if (containerResized) {
        loadBrowsers(true);
    } else {
        applyPaneRects();
    }
}

void MainWindow::resizeEvent(QResizeEvent*) {
    arrangeWindow();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        arrangeWindow();
    QWidget::changeEvent(event);
}

void MainWindow::setShowPanel(bool show) {
    m_showPanel = show;
    m_showPanelAction->setChecked(show);
    arrangeWindow();
}

void MainWindow::applyShowPanel() {
    if (m_panel)
        m_panel->setVisible(m_showPanel);
    arrangeWindow();
}

// ---------------------------------------------------------------------------------------------- options

bool MainWindow::isTopMost() const {
    return TopMost::isOn(this);
}

void MainWindow::setAlwaysOnTop(bool on) {
    m_alwaysOnTop = on;
    if (m_topMostLiftDepth == 0)
        TopMost::set(this, on);
    m_alwaysOnTopAction->setChecked(on);
}

void MainWindow::adjustTopMost(bool restore) {
    if (!restore) {
        if (m_topMostLiftDepth++ == 0)
            TopMost::set(this, false);
        return;
    }
    if (m_topMostLiftDepth > 0 && --m_topMostLiftDepth > 0)
        return;
    TopMost::set(this, m_alwaysOnTop);
}

void MainWindow::setLoadClosedState(bool on) {
    m_loadClosedState = on;
    m_loadClosedStateAction->setChecked(on);
}

void MainWindow::toggleLoadClosedState() {
    setLoadClosedState(!m_loadClosedState);
    (void)m_settings.save(kApplication, QStringLiteral("LoadClosedState"), QStringLiteral("Value"),
                          SettingText::fromBoolean(m_loadClosedState));
}

void MainWindow::setOnscreenHelp(bool on) {
    m_onscreenHelp = on;
    m_onscreenHelpAction->setChecked(on);
}

void MainWindow::applyColourTheme() {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, panelBackground());
    m_container->setPalette(colours);
    if (m_panel)
        m_panel->applyColours(panelBackground(), panelText());
    for (TextPaneFrame* frame : m_panes) frame->applyColours(panelBackground(), panelText());
}

// ---------------------------------------------------------------------------------------------- layouts

std::array<QString, 4> MainWindow::chooseLayoutTexts(const LayoutState& state) const {
    const QStringList installed = InstalledTexts::scan(m_appFolder);
    std::array<QString, 4> names{};
    std::array<bool, 4> fixed{};
    for (size_t i = 0; i < 4; ++i) {
        names[i] = state.panes[i].transName;
        fixed[i] = state.panes[i].transNameStored || installed.contains(names[i]);
    }
    for (size_t i = 0; i < 4; ++i) {
        if (fixed[i])
            continue;
        for (const QString& candidate : installed) {
            bool shown = false;
            for (size_t other = 0; other < 4; ++other) {
                if (other != i && (fixed[other] || other < i) && names[other] == candidate)
                    shown = true;
            }
            if (!shown) {
                names[i] = candidate;
                break;
            }
        }
    }
    return names;
}

void MainWindow::assignPaneText(int pane, const QString& name) {
    auto assigned = m_texts->assignTrans(pane, name);
    if (!assigned) {
        showMessage(kTitle, VerseTextAssignment::failureMessage(assigned.error()), true);
        return;
    }
    const VerseTextAssignment::PaneAssignment& captions = assigned.value();
    if (m_panel) {
        m_panel->visibleButton(pane)->setCaption(captions.buttonCaption);
        m_panel->relayout();
    }
    paneFrame(pane)->setCaption(captions.windowCaption);
    m_textActions.at(static_cast<size_t>(pane - 1))->setText(captions.menuCaption);
    if (!captions.failureMessage.isEmpty())
        showMessage(kTitle, captions.failureMessage, true);
}

Result<void> MainWindow::loadLayout(const QString& layout) {
    auto loaded = m_layouts.load(layout, QSizeF(screenSizeTwips()));
    if (!loaded)
        return loaded.error();
    const LayoutState& state = loaded.value();

    for (int pane = 1; pane <= 4; ++pane)
        setPaneVisibleButton(pane, state.panes[static_cast<size_t>(pane - 1)].visible);
    for (int pane = 1; pane <= 4; ++pane) {
        m_textActions[static_cast<size_t>(pane - 1)]->setChecked(
            state.panes[static_cast<size_t>(pane - 1)].visible);
    }
    setAlwaysOnTop(state.alwaysOnTop);
    m_showPanel = state.showPanel;
    m_showPanelAction->setChecked(state.showPanel);

    if (m_texts) {
        for (int pane = 1; pane <= 4; ++pane) {
            const PaneLayout& paneState = state.panes[static_cast<size_t>(pane - 1)];
            DisplayProperties& properties = m_texts->pane(pane);
            properties.setBackColour(paneState.backColour);
            properties.setFontSize(paneState.fontSize);
            properties.setForeColour(paneState.foreColour);
        }
        const std::array<QString, 4> names = chooseLayoutTexts(state);
        for (int pane = 1; pane <= 4; ++pane) assignPaneText(pane, names[static_cast<size_t>(pane - 1)]);
        if (m_controller && !m_controller->suraNumberText().isEmpty()) {
            auto reloaded = m_texts->reloadSuraTexts();
            if (!reloaded)
                showFailure(reloaded.error());
            m_controller->setText();
        }
    }

    if (state.windowState == LayoutState::kMaximized) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    } else if (state.windowState == LayoutState::kMinimized) {
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
    } else {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    }
    if (state.windowState == LayoutState::kNormal && state.windowPosition) {
        setWindowGeometryTwips(*state.windowPosition);
    } else {
        arrangeWindow();
    }

    if (state.savedBefore) {
        for (size_t i = 0; i < 4; ++i) {
            if (state.panes[i].position)
                m_paneTw[i] = roundedRect(*state.panes[i].position);
        }
        loadBrowsers(true);
    } else {
        if (state.windowState == LayoutState::kNormal) {
            const QRect current = windowGeometryTwips();
            const QPoint topLeft = PaneGeometry::centredTopLeft(screenSizeTwips(), current.size());
            move(Twips::toPixels(topLeft.x(), dpi()), Twips::toPixels(topLeft.y(), dpi()));
        }
        loadBrowsers(false);
    }
    updateLayoutMenu();
    return {};
}

LayoutState MainWindow::currentLayoutState() const {
    LayoutState state;
    state.alwaysOnTop = m_alwaysOnTop;
    state.showPanel = m_showPanel;
    for (int pane = 1; pane <= 4; ++pane) {
        PaneLayout& paneState = state.panes[static_cast<size_t>(pane - 1)];
        if (m_texts) {
            const DisplayProperties& properties = m_texts->pane(pane);
            paneState.foreColour = properties.foreColour();
            paneState.backColour = properties.backColour();
            paneState.fontSize = properties.fontSize();
            paneState.transName = properties.transName();
            paneState.transNameStored = true;
        }
        paneState.visible = isPaneVisible(pane);
        paneState.position = QRectF(m_paneTw[static_cast<size_t>(pane - 1)]);
    }
    if (isMinimized()) {
        state.windowState = LayoutState::kMinimized;
    } else {
        state.windowState = isMaximized() ? LayoutState::kMaximized : LayoutState::kNormal;
        state.windowPosition = QRectF(windowGeometryTwips());
    }
    return state;
}

Result<void> MainWindow::saveLayout(const QString& layout) {
    return m_layouts.save(layout, currentLayoutState());
}

void MainWindow::switchLayout(const QString& layout) {
    m_switchingLayout = true;
    // A failure to store or read a layout leaves the window as it is; nothing is reported.
    (void)saveLayout(m_currentLayout);
    m_currentLayout = layout;
    (void)m_layouts.setCurrentLayout(layout);
    (void)loadLayout(m_currentLayout);
    m_switchingLayout = false;
}

void MainWindow::resetAllLayouts() {
    adjustTopMost(false);
    QMessageBox question(QMessageBox::Question, QStringLiteral("Reset layouts ?"),
                         QStringLiteral("Do you want to reset all layouts ?"),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::No);
    const int answer = question.exec();
    adjustTopMost(true);
    if (answer != QMessageBox::Yes)
        return;
    (void)m_layouts.resetAll();
    m_currentLayout = QStringLiteral("1");
    (void)loadLayout(m_currentLayout);
}

void MainWindow::showLayoutHelp() {
    showMessage(
        QStringLiteral("Layouts help"),
        QStringLiteral("Lumora supports 5 layouts. \r\n\r\n"
                       "Each layout can have its own translations, font size, window position, text and "
                       "background colors. \r\n\r\n"
                       "To switch between layouts, use keyboard shortcut 'L' to switch to next layout or "
                       "'K' to switch to previous layout  "),
        false);
}

// ---------------------------------------------------------------------------------------------- dialogs

void MainWindow::showMessage(const QString& title, const QString& text, bool critical) {
    adjustTopMost(false);
    QMessageBox box(critical ? QMessageBox::Critical : QMessageBox::Information, title, text, QMessageBox::Ok,
                    isVisible() ? this : nullptr);
    box.exec();
    adjustTopMost(true);
}

bool MainWindow::askYesNo(const QString& title, const QString& text) {
    adjustTopMost(false);
    QMessageBox question(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, this);
    const bool yes = question.exec() == QMessageBox::Yes;
    adjustTopMost(true);
    return yes;
}

void MainWindow::openDownloadPage() {
    // The About page tells where recordings come from and how to add them.
    showAboutWindow(AboutWindow::AboutPage);
}

void MainWindow::showFailure(const Error& error) {
    showMessage(kTitle, QString::fromStdString(error.description), true);
}

void MainWindow::showVerseDialog(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos) {
    if (!m_controller)
        return;
    // One instance, hidden between uses.
    auto* dialog = findChild<QuickVerseDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new QuickVerseDialog(this);
    dialog->prepare(caption, rangeBegin, rangeEnd, totalVerseNos, m_controller->sura());
    adjustTopMost(false);
    const QuickVerseDialog::Outcome outcome = dialog->ask();
    if (outcome == QuickVerseDialog::Outcome::TooLarge) {
        QMessageBox box(QMessageBox::NoIcon, QString(), dialog->tooLargeMessage(), QMessageBox::Ok, this);
        box.exec();
    }
    adjustTopMost(true);
    if (outcome == QuickVerseDialog::Outcome::Chosen)
        m_controller->callSetText(dialog->verseNo(), rangeBegin, rangeEnd);
}

void MainWindow::showRangeModeSetup() {
    if (!m_controller)
        return;
    adjustTopMost(false);
    RangeModeSetupDialog dialog(m_controller->rangeSettings(), this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    adjustTopMost(true);
    if (!accepted)
        return;
    if (Result<void> stored = m_controller->applyRangeSetup(m_settings, dialog.entry()); !stored)
        showFailure(stored.error());
}

void MainWindow::showQuickSuraSelect() {
    if (!m_controller)
        return;
    auto* dialog = findChild<QuickSuraDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new QuickSuraDialog(this);
    adjustTopMost(false);
    const int sura = dialog->ask();
    if (sura != 0) {
        if (Result<void> selected = m_controller->selectSura(sura - 1); !selected)
            showFailure(selected.error());
        // V goes on to the verse dialog of the sura just loaded.
        if (dialog->verseRequested() && m_controller->sura() == sura)
            showVerseDialog(QStringLiteral("Move to verse"), false, false, m_controller->verseNo(sura));
    }
    adjustTopMost(true);
}

void MainWindow::showEqualizer() {
    if (!m_player || !m_equalizer)
        return;
    EqualizerDialog::PlayerHooks hooks;
    hooks.enableEqualiser = [this](bool enable) {
        if (enable) {
            m_player->enableEqualizer();
            m_player->setEqualizerValue(m_equalizer->gainsDb);
        } else {
            m_player->disableEqualizer();
        }
    };
    hooks.setEqualizerValue = [this] { m_player->setEqualizerValue(m_equalizer->gainsDb); };
    adjustTopMost(false);
    EqualizerDialog dialog(m_settings, QStringLiteral("ZI4"), *m_equalizer, std::move(hooks), this);
    dialog.exec();
    adjustTopMost(true);
}

void MainWindow::saveRangeToMp3() {
    if (!m_controller)
        return;
    RangeSaver::Range range;
    range.mediaFile = m_controller->mediaFile();
    range.suraNumberText = m_controller->suraNumberText();
    range.suraText = m_controller->suraList().itemText(m_controller->suraList().currentIndex());
    range.sura9 = m_controller->sura() == 9;
    range.rangeBegin = m_controller->rangeBegin().value();
    range.rangeEnd = m_controller->rangeEnd().value();
    range.verseTable = m_controller->verseTable();

    RangeSaver::Callbacks callbacks;
    callbacks.showInformation = [this](const QString& title, const QString& text) {
        // Untitled messages carry the program's title.
        showMessage(title.isEmpty() ? kTitle : title, text, false);
    };
    callbacks.chooseFile = [this](const QString& proposedName) -> std::optional<QString> {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QDir::homePath();
        adjustTopMost(false);
        QFileDialog dialog(this);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Replacing is asked about once the ".mp3" ending is in place.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilter(QStringLiteral("MP3 file (*.MP3)"));
        dialog.setDirectory(folder);
        dialog.selectFile(proposedName);
        const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        adjustTopMost(true);
        if (!chosen)
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    };
    callbacks.askYesNo = [this](const QString& title, const QString& text) {
        adjustTopMost(false);
        QMessageBox question(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, this);
        question.setDefaultButton(QMessageBox::No);
        const bool yes = question.exec() == QMessageBox::Yes;
        adjustTopMost(true);
        return yes;
    };
    callbacks.stopRecitation = [this] { m_controller->stop(); };
    (void)RangeSaver::save(range, RangeSaver::frameIndexOffsets(range.mediaFile), callbacks);
}

void MainWindow::showAbout() {
    showAboutWindow(AboutWindow::AboutPage);
}

void MainWindow::showAboutWindow(int page) {
    adjustTopMost(false);
    AboutWindow about(m_appFolder + QStringLiteral("/data/main1.dat"), m_settings,
                      static_cast<AboutWindow::Page>(page), isVisible() ? this : nullptr);
    about.setWindowIcon(AppIcon::icon());
    about.exec();
    adjustTopMost(true);
}

void MainWindow::showMode(RecitationMode mode) {
    if (!m_panel)
        return;
    m_panel->modeOption(mode == RecitationMode::Range ? 0 : 1)->setChecked(true);
}

void MainWindow::setPlayToolTip(const QString& text) {
    if (m_panel)
        m_panel->playButton()->setToolTip(text);
}

void MainWindow::setRulerVerses(int verses) {
    if (m_panel)
        m_panel->ruler()->setVerses(static_cast<int16_t>(verses));
}

void MainWindow::showPaneMenu(int pane) {
    DisplayProperties& properties = m_texts->pane(pane);
    const QStringList installed = InstalledTexts::scan(m_appFolder);
    QMenu menu(this);
    for (int i = 0; i < installed.size() && i < 100; ++i) {
        QAction* action = menu.addAction(QStringLiteral("&") + installed[i]);
        action->setCheckable(true);
        action->setChecked(installed[i] == properties.transName());
        action->setData(100 + i + 1);
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Text Size..."))->setData(500);
    menu.addSeparator();
    QMenu* textColour = menu.addMenu(QStringLiteral("&Text Color"));
    textColour->addAction(QStringLiteral("&Set"))->setData(1003);
    textColour->addAction(QStringLiteral("&Reset"))->setData(1002);
    QMenu* backColour = menu.addMenu(QStringLiteral("&Background Color"));
    backColour->addAction(QStringLiteral("&Set"))->setData(1001);
    backColour->addAction(QStringLiteral("&Reset"))->setData(1000);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Close"))->setData(1004);

    QAction* chosen = menu.exec(QCursor::pos());
    if (!chosen)
        return;
    const int command = chosen->data().toInt();
    if (command > 100 && command <= 200 && command - 101 < installed.size()) {
        assignPaneText(pane, installed[command - 101]);
        if (!m_controller->suraNumberText().isEmpty()) {
            auto reloaded = m_texts->reloadSuraTexts();
            if (!reloaded)
                showFailure(reloaded.error());
        }
        m_controller->setText();
        return;
    }
    switch (command) {
        case 500: {
            bool ok = false;
            const QString answer = QInputDialog::getText(
                this, QStringLiteral("Enter text size"), QStringLiteral("Enter text size (10 to 200)"),
                QLineEdit::Normal, QString::number(std::lround(properties.fontSize())), &ok);
            if (!ok)
                return;
            bool isNumber = false;
            const double size = answer.trimmed().toDouble(&isNumber);
            if (!isNumber || size < 10 || size > 200)
                return;
            properties.setFontSize(size);
            break;
        }
        case 1003: {
            const QColor colour = QColorDialog::getColor(colourOf(properties.foreColour()), this);
            if (!colour.isValid())
                return;
            properties.setForeColour(numberOf(colour));
            break;
        }
        case 1002:
            properties.setForeColour(0);
            break;
        case 1001: {
            const QColor colour = QColorDialog::getColor(colourOf(properties.backColour()), this);
            if (!colour.isValid())
                return;
            properties.setBackColour(numberOf(colour));
            break;
        }
        case 1000:
            properties.setBackColour(kDefaultPaneBack);
            break;
        default:
            return;
    }
    m_controller->setText();
}

void MainWindow::showTextInfo(int pane) {
    adjustTopMost(false);
    QDialog info(this);
    info.setWindowTitle(QStringLiteral("LM Text Info"));
    info.resize(520, 420);
    auto* view = new QTextBrowser(&info);
    view->setOpenExternalLinks(true);
    const QString page = m_texts->pane(pane).additionalInfo();
    if (page != QLatin1String("about:blank"))
        view->setHtml(page);
    auto* close = new QPushButton(QStringLiteral("&Close"), &info);
    connect(close, &QPushButton::clicked, &info, &QDialog::accept);
    auto* layout = new QVBoxLayout(&info);
    layout->addWidget(view);
    layout->addWidget(close, 0, Qt::AlignRight);
    info.exec();
    adjustTopMost(true);
}

void MainWindow::copyPaneText(int pane) {
    // The rule works on Windows line breaks; the Linux clipboard carries line feeds.
    QString text = paneFrame(pane)->view()->plainText();
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    text = VerseTextAssignment::copyText(text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_clipboard->copyText(text);
}

void MainWindow::onPaneStatusText(const QString& text) {
    m_lastStatusText = text;
    m_wordTipTimer->stop();
    m_wordTipTimer->start();
}

void MainWindow::showWordTip() {
    m_wordTipTimer->stop();
    const std::optional<QString> tip = VerseTextAssignment::toolTipText(m_lastStatusText.trimmed());
    if (!tip) {
        m_wordTip->hide();
        return;
    }
    const double windowDpi = dpi();
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    m_wordTip->setText(QLatin1Char(' ') + *tip + QLatin1Char(' '));
    m_wordTip->adjustSize();
    QPoint place(pointer.x() + Twips::toPixels(kWordTipRightTw, windowDpi),
                 pointer.y() + Twips::toPixels(kWordTipDownTw, windowDpi));
    if (place.x() + m_wordTip->width() > width()) {
        place.setX(width() - m_wordTip->width() - Twips::toPixels(kWordTipEdgeTw, windowDpi));
    }
    m_wordTip->move(place);
    m_wordTip->raise();
    m_wordTip->show();
}

// ---------------------------------------------------------------------------------------------- closing

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        if (m_closeHandler)
            m_closeHandler();
    }
    event->accept();
}

}  // namespace lumora

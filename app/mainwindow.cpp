#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "app/aboutwindow.h"
#include "app/clipboardlink.h"
#include "app/commandtable.h"
#include "app/controlpanel.h"
#include "app/modeoptionbutton.h"
#include "app/panemenu.h"
#include "app/panestack.h"
#include "app/separatorbar.h"
#include "app/suracombobox.h"
#include "app/textpaneframe.h"
#include "app/topmost.h"
#include "app/twips.h"
#include "app/windowdialogs.h"
#include "app/windowlayouts.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/textpane.h"
#include "controls/tickruler.h"
#include "recitation/keyhandler.h"
#include "recitation/recitationcontroller.h"
#include "settings/settingsstore.h"
#include "settings/settingtext.h"
#include "text/versetextassignment.h"

namespace lumora {

namespace {

const QString kApplication = QStringLiteral("ZI4");
// The word-meaning tip appears this long after the pointer comes to rest on a word.
constexpr int kWordTipDelayMs = 250;
// The tip stands this far right of and below the pointer, and at least this far from the right edge.
constexpr int kWordTipRightTw = 100;
constexpr int kWordTipDownTw = 500;
constexpr int kWordTipEdgeTw = 200;

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
    : QWidget(parent),
      m_settings(settings),
      m_appFolder(std::move(appFolder)),
      m_layouts(std::make_unique<WindowLayouts>(*this)),
      m_dialogs(std::make_unique<WindowDialogs>(*this)) {
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
    m_commands = new CommandTable(m_menuBar, this);
    WindowCommands::addTo(*m_commands, *this);
    for (size_t i = 0; i < m_topMenus.size(); ++i) {
        static const char* const kNames[] = {"Go to", "Recitation", "Texts", "Layouts", "Options", "Help"};
        m_topMenus[i] = m_commands->menu(QString::fromLatin1(kNames[i]));
    }

    m_stack = new PaneStack([this](int pane) { return isPaneVisible(pane); }, this);

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
    m_stack->setDpi(windowDpi);
    resize(Twips::toPixels(PaneGeometry::kMinimumWidthTwips, windowDpi),
           Twips::toPixels(PaneGeometry::kMinimumHeightTwips, windowDpi));
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------------------------------------- menus

void MainWindow::updateLayoutMenu() {
    m_commands->refresh();
    layoutMenu()->setTitle(QStringLiteral("Layout ") + m_currentLayout);
}

QMenu* MainWindow::layoutMenu() const {
    return m_commands->menu(QStringLiteral("Layouts"));
}

QAction* MainWindow::commandAction(int number) const {
    return m_commands->action(number);
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
                    m_controller->playVerse(1);
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
        connect(frame, &TextPaneFrame::infoClicked, this, [this](int k) { m_dialogs->textInfo(k); });
        connect(frame, &TextPaneFrame::transMenuClicked, this, [this](int k) { PaneMenu::show(*this, k); });
    }
    connect(m_texts, &VerseTextAssignment::wordByWordHintChanged, this,
            [this](int pane, bool visible) { paneFrame(pane)->setWordTipVisible(visible); });
}

// ---------------------------------------------------------------------------------------------- panes

TextPaneFrame* MainWindow::paneFrame(int pane) const {
    return m_stack->frame(pane);
}

SeparatorBar* MainWindow::separator(int number) const {
    return m_stack->separator(number);
}

QWidget* MainWindow::container() const {
    return m_stack;
}

QRect MainWindow::paneGeometryTwips(int pane) const {
    return m_stack->paneTwips(pane);
}

QRect MainWindow::separatorGeometryTwips(int separator) const {
    return m_stack->separatorTwips(separator);
}

QRect MainWindow::containerGeometryTwips() const {
    return m_stack->containerTwips();
}

void MainWindow::clearPanes() {
    for (TextPaneFrame* frame : m_stack->frames()) {
        frame->view()->clear();
        frame->view()->close();
    }
}

bool MainWindow::isPaneVisible(int pane) const {
    if (m_panel)
        return m_panel->visibleButton(pane)->checked();
    return textsMenuAction(pane)->isChecked();
}

void MainWindow::setPaneVisibleButton(int pane, bool visible) {
    if (m_panel)
        m_panel->visibleButton(pane)->setChecked(visible);
}

void MainWindow::paneToggleClicked(int pane) {
    loadBrowsers(false);
    textsMenuAction(pane)->setChecked(isPaneVisible(pane));
}

void MainWindow::textsMenuClicked(int pane) {
    setPaneVisibleButton(pane, textsMenuAction(pane)->isChecked());
    paneToggleClicked(pane);
}

void MainWindow::togglePane(int pane) {
    if (pane < 1 || pane > 4)
        return;
    setPaneVisibleButton(pane, !isPaneVisible(pane));
    paneToggleClicked(pane);
}

void MainWindow::loadBrowsers(bool proportional) {
    m_stack->loadBrowsers(proportional);
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
    const QRect pixels = Twips::rectToPixels(Twips::rounded(rect), dpi());
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
    m_stack->place(arrangement.container,
                   Twips::rectToPixels(arrangement.container, windowDpi).translated(0, menuHeight),
                   arrangement.paneWidth);
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
    m_commands->refresh();
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
    m_commands->refresh();
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
    m_commands->refresh();
}

void MainWindow::toggleLoadClosedState() {
    setLoadClosedState(!m_loadClosedState);
    (void)m_settings.save(kApplication, QStringLiteral("LoadClosedState"), QStringLiteral("Value"),
                          SettingText::fromBoolean(m_loadClosedState));
}

void MainWindow::setOnscreenHelp(bool on) {
    m_onscreenHelp = on;
    m_commands->refresh();
}

void MainWindow::toggleOnscreenHelp() {
    setOnscreenHelp(!m_onscreenHelp);
    (void)m_settings.save(kApplication, QStringLiteral("OnscreenHelp"), QStringLiteral("Enabled"),
                          SettingText::fromBoolean(m_onscreenHelp));
}

void MainWindow::applyColourTheme() {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, panelBackground());
    m_stack->setPalette(colours);
    if (m_panel)
        m_panel->applyColours(panelBackground(), panelText());
    for (TextPaneFrame* frame : m_stack->frames()) frame->applyColours(panelBackground(), panelText());
}

// ---------------------------------------------------------------------------------------------- layouts

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
    textsMenuAction(pane)->setText(captions.menuCaption);
    if (!captions.failureMessage.isEmpty())
        showMessage(kTitle, captions.failureMessage, true);
}

Result<void> MainWindow::loadLayout(const QString& layout) {
    return m_layouts->load(layout);
}

Result<void> MainWindow::saveLayout(const QString& layout) {
    return m_layouts->save(layout);
}

LayoutState MainWindow::currentLayoutState() const {
    return m_layouts->current();
}

void MainWindow::switchLayout(const QString& layout) {
    m_layouts->switchTo(layout);
}

void MainWindow::resetAllLayouts() {
    m_layouts->resetAll();
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
    m_dialogs->verse(caption, rangeBegin, rangeEnd, totalVerseNos);
}

void MainWindow::showRangeModeSetup() {
    m_dialogs->rangeModeSetup();
}

void MainWindow::showQuickSuraSelect() {
    m_dialogs->quickSura();
}

void MainWindow::showEqualizer() {
    m_dialogs->equalizer();
}

void MainWindow::saveRangeToMp3() {
    m_dialogs->saveRangeToMp3();
}

void MainWindow::showAbout() {
    showAboutWindow(AboutWindow::AboutPage);
}

void MainWindow::showAboutWindow(int page) {
    m_dialogs->about(page);
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

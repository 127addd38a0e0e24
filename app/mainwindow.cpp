#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/aboutwindow.h"
#include "app/commandtable.h"
#include "app/controlpanel.h"
#include "app/modeoptionbutton.h"
#include "app/noticebar.h"
#include "app/panelwiring.h"
#include "app/panestack.h"
#include "app/recallview.h"
#include "app/separatorbar.h"
#include "app/textpaneframe.h"
#include "app/twips.h"
#include "app/windowaccessibility.h"
#include "app/versefinder.h"
#include "app/windowdialogs.h"
#include "app/windowlayouts.h"
#include "controls/picturebutton.h"
#include "controls/textpane.h"
#include "controls/tickruler.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora {

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
      m_dialogs(std::make_unique<WindowDialogs>(*this)),
      m_geometry(std::make_unique<WindowGeometry>(*this)),
      m_paneWiring(std::make_unique<PaneWiring>(*this)),
      m_options(std::make_unique<WindowOptions>(*this)) {
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
    m_notice = new NoticeBar(m_stack);

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
    // A window rolled up to its menu bar is rolled down before the bar goes.
    if (!visible)
        setRolledUp(false);
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
    wordTip()->raise();
    m_finder = std::make_unique<VerseFinder>(controller, m_appFolder, this);
    m_finder->addCommand(*m_commands);
    m_recall = std::make_unique<RecallView>(controller, texts, m_settings, this);
    m_recall->addCommands(*m_commands);
    m_panelWiring = std::make_unique<PanelWiring>(*this, *m_panel, controller);
    m_paneWiring->attach(controller, texts, clipboard);
    m_access = std::make_unique<WindowAccessibility>(*this, controller, texts);
    arrangeWindow();

    // The recitation's tick and idle poll, at the shortest period the timer offers.
    m_tickTimer = new QTimer(this);
    m_tickTimer->setTimerType(Qt::PreciseTimer);
    m_tickTimer->setInterval(1);
    connect(m_tickTimer, &QTimer::timeout, this, [this] { m_controller->onTimer(); });
    m_tickTimer->start();
}

void MainWindow::showFind() {
    if (m_finder)
        m_finder->show();
}

void MainWindow::toggleRecallMode() {
    if (m_recall)
        m_recall->toggle();
}

void MainWindow::revealRecallHint() {
    if (m_recall)
        m_recall->revealHint();
}

void MainWindow::stopTicking() {
    if (m_tickTimer)
        m_tickTimer->stop();
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

void MainWindow::loadBrowsers(bool proportional) {
    m_stack->loadBrowsers(proportional);
}

// ---------------------------------------------------------------------------------------------- geometry

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

void MainWindow::applyColourTheme() {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, panelBackground());
    m_stack->setPalette(colours);
    if (m_panel)
        m_panel->applyColours(panelBackground(), panelText());
    for (TextPaneFrame* frame : m_stack->frames()) frame->applyColours(panelBackground(), panelText());
}

// ---------------------------------------------------------------------------------------------- layouts

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
    m_layouts->showHelp();
}

// ---------------------------------------------------------------------------------------------- dialogs

void MainWindow::showMessage(const QString& title, const QString& text, bool critical) {
    m_dialogs->message(title, text, critical);
}

bool MainWindow::askYesNo(const QString& title, const QString& text) {
    return m_dialogs->askYesNo(title, text);
}

void MainWindow::openDownloadPage() {
    // The About page tells where recordings come from and how to add them.
    showAboutWindow(AboutWindow::AboutPage);
}

void MainWindow::showFailure(const Error& error) {
    showMessage(kTitle, QString::fromStdString(error.description), true);
}

void MainWindow::showNotice(const QString& text) {
    m_notice->showNotice(text);
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

void MainWindow::showTextInfo(int pane) {
    m_dialogs->textInfo(pane);
}

void MainWindow::showWindowMenu(const QPoint& globalPos) {
    m_commands->popup(WindowCommands::kWindowMenu, globalPos);
}

QString MainWindow::paneTextName(int pane) const {
    return m_texts ? m_texts->pane(pane).transName() : QStringLiteral("Text%1").arg(pane);
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

void MainWindow::showWordMeanings() {
    if (m_access)
        m_access->showWordMeanings();
}

StatusLine* MainWindow::statusLine() const {
    return m_access ? m_access->statusLine() : nullptr;
}

QAction* MainWindow::announceEachVerseAction() const {
    return m_access ? m_access->announceEachVerseAction() : nullptr;
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

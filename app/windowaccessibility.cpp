#include "app/windowaccessibility.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>

#include "app/announcer.h"
#include "app/commandtable.h"
#include "app/controlpanel.h"
#include "app/mainwindow.h"
#include "app/modeoptionbutton.h"
#include "app/suracombobox.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"
#include "controls/pictureslider.h"
#include "controls/statusline.h"
#include "controls/textpane.h"
#include "controls/verseslider.h"
#include "recitation/recitationcontroller.h"
#include "settings/settingsstore.h"
#include "settings/settingtext.h"
#include "text/versetextassignment.h"

namespace lumora {

namespace {

const QString kApplication = QStringLiteral("ZI4");
// Room between the last menu and the status line, and at the window's right edge, in pixels.
constexpr int kStatusGapPx = 12;
// Below this width the line would show only an ellipsis; it is hidden instead.
constexpr int kStatusMinimumWidthPx = 60;

}  // namespace

const QString WindowAccessibility::kSection = QStringLiteral("Accessibility");
const QString WindowAccessibility::kAnnounceEachVerseKey = QStringLiteral("AnnounceEachVerse");

WindowAccessibility::WindowAccessibility(MainWindow& window, RecitationController& controller,
                                         VerseTextAssignment& texts)
    : m_window(window), m_controller(controller), m_texts(texts) {
    m_line = new StatusLine(&window);
    m_line->setObjectName(QStringLiteral("statusLine"));
    m_line->setPalette(window.menuBar()->palette());
    m_announcer = std::make_unique<Announcer>(controller, *m_line);
    m_announcer->setVerseText([this](int slot) {
        for (int pane = 1; pane <= 4; ++pane) {
            if (m_window.isPaneVisible(pane)) return m_texts.paneText(slot, pane);
        }
        return QString();
    });

    CommandTable::Command announce;
    announce.menu = QStringLiteral("Options");
    announce.caption = QStringLiteral("Announce &Each Verse");
    announce.separatorBefore = true;
    announce.handler = [this] { setAnnounceEachVerse(!m_announcer->announceEachVerse()); };
    announce.checked = [this] { return m_announcer->announceEachVerse(); };
    m_announceAction = window.commands().add(std::move(announce));
    const std::optional<bool> stored = SettingText::toBoolean(
        window.settings().get(kApplication, kSection, kAnnounceEachVerseKey, QStringLiteral("False")));
    m_announcer->setAnnounceEachVerse(stored.value_or(false));
    window.commands().refresh();

    // Meanings shown for one verse do not describe the next.
    connect(&controller.currentVerseSlider(), &VerseSliderModel::changed, this,
            &WindowAccessibility::forgetWordMeanings);
    connect(&controller, &RecitationController::suraLoaded, this, &WindowAccessibility::forgetWordMeanings);
    setTabOrder();
}

WindowAccessibility::~WindowAccessibility() = default;

void WindowAccessibility::setAnnounceEachVerse(bool on) {
    m_announcer->setAnnounceEachVerse(on);
    (void)m_window.settings().save(kApplication, kSection, kAnnounceEachVerseKey, SettingText::fromBoolean(on));
    m_window.commands().refresh();
}

void WindowAccessibility::placeStatusLine(int menuHeight, bool menusVisible) {
    QMenuBar* bar = m_window.menuBar();
    int left = 0;
    for (QAction* action : bar->actions()) {
        if (action->isVisible()) left = std::max(left, bar->actionGeometry(action).right() + 1);
    }
    left += kStatusGapPx;
    const int width = m_window.width() - left - kStatusGapPx;
    m_line->setGeometry(left, 0, std::max(width, 0), menuHeight);
    m_line->setVisible(menusVisible && width >= kStatusMinimumWidthPx);
    m_line->raise();
}

void WindowAccessibility::setTabOrder() {
    ControlPanel& panel = *m_window.panel();
    std::vector<QWidget*> order = {panel.suraBox(),          panel.modeOption(0),       panel.modeOption(1),
                                   panel.previousButton(),   panel.playButton(),        panel.pauseButton(),
                                   panel.stopButton(),       panel.nextButton(),        panel.volumeSlider(),
                                   panel.rangeBeginButton(), panel.slider(0),           panel.rangeEndButton(),
                                   panel.slider(1),          panel.visibleButton(1),    panel.visibleButton(2),
                                   panel.visibleButton(3),   panel.visibleButton(4),    panel.moveBackwardButton(),
                                   panel.moveForwardButton(), panel.currentVerseButton(), panel.slider(2)};
    for (int pane = 1; pane <= 4; ++pane) {
        TextPaneFrame* frame = m_window.paneFrame(pane);
        order.insert(order.end(), {frame->transMenuButton(), frame->plusButton(), frame->minusButton(),
                                   frame->copyButton(), frame->infoButton(), frame->view()});
    }
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void WindowAccessibility::showWordMeanings() {
    forgetWordMeanings();
    const int pane = m_texts.wordMeaningsPane();
    QLabel* tip = m_window.wordTip();
    QString meanings = m_texts.wordMeaningsText(m_controller.currentVerse());
    if (pane == 0 || meanings.isEmpty()) {
        meanings = QStringLiteral("No word meanings for this verse");
    } else {
        m_describedPane = pane;
        m_window.paneFrame(pane)->view()->setAccessibleDescription(meanings);
    }
    // Under the caption of the pane that has the meanings (or the first pane), inside the window.
    TextPane* view = m_window.paneFrame(pane == 0 ? 1 : pane)->view();
    tip->setText(QLatin1Char(' ') + QString(meanings).replace(u'\n', QStringLiteral(" \n ")) + QLatin1Char(' '));
    tip->adjustSize();
    QPoint place = view->mapTo(&m_window, QPoint(kStatusGapPx, kStatusGapPx));
    place.setX(std::clamp(place.x(), 0, std::max(m_window.width() - tip->width(), 0)));
    place.setY(std::clamp(place.y(), 0, std::max(m_window.height() - tip->height(), 0)));
    tip->move(place);
    tip->raise();
    tip->show();
}

void WindowAccessibility::forgetWordMeanings() {
    if (m_describedPane == 0) return;
    m_window.paneFrame(m_describedPane)->view()->setAccessibleDescription(QString());
    m_describedPane = 0;
    m_window.wordTip()->hide();
}

}  // namespace lumora

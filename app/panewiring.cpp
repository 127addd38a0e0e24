#include "app/panewiring.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QTimer>

#include "app/clipboardlink.h"
#include "app/controlpanel.h"
#include "app/helptooltip.h"
#include "app/mainwindow.h"
#include "app/panemenu.h"
#include "app/recallview.h"
#include "app/textpaneframe.h"
#include "app/twips.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "recitation/recitationcontroller.h"
#include "text/versetextassignment.h"

namespace lumora {

namespace {

// The word-meaning tip appears this long after the pointer comes to rest on a word.
constexpr int kWordTipDelayMs = 250;
// The tip stands this far right of and below the pointer, and at least this far from the right edge.
constexpr int kWordTipRightTw = 100;
constexpr int kWordTipDownTw = 500;
constexpr int kWordTipEdgeTw = 200;

}  // namespace

PaneWiring::PaneWiring(MainWindow& window) : m_window(window) {
    m_wordTip = new QLabel(&window);
    HelpToolTip::styleAsTip(m_wordTip);
    m_wordTipTimer = new QTimer(this);
    m_wordTipTimer->setSingleShot(true);
    m_wordTipTimer->setInterval(kWordTipDelayMs);
    connect(m_wordTipTimer, &QTimer::timeout, this, &PaneWiring::showWordTip);
}

void PaneWiring::attach(RecitationController& controller, VerseTextAssignment& texts, ClipboardLink& clipboard) {
    m_controller = &controller;
    m_texts = &texts;
    m_clipboard = &clipboard;
    for (int pane = 1; pane <= 4; ++pane) {
        TextPaneFrame* frame = m_window.paneFrame(pane);
        texts.pane(pane).setPageView(frame->view());
        frame->applyColours(MainWindow::panelBackground(), MainWindow::panelText());
        connect(frame->view(), &TextPane::navigationRequested, this, [this](const QString& target) {
            switch (VerseTextAssignment::playRequest(target)) {
                case VerseTextAssignment::PlayRequest::CurrentVerse:
                    // While recall mode hides the verse, a click shows a hint instead of reciting.
                    if (!m_window.recall()->takePaneClick())
                        m_controller->playVerse(1);
                    break;
                case VerseTextAssignment::PlayRequest::NextVerse:
                    m_controller->playVerse(2);
                    break;
                case VerseTextAssignment::PlayRequest::None:
                    break;
            }
        });
        connect(frame->view(), &TextPane::statusTextChanged, this, &PaneWiring::onPaneStatusText);
        connect(frame, &TextPaneFrame::plusClicked, this, [this](int k) { m_texts->increaseFontSize(k); });
        connect(frame, &TextPaneFrame::minusClicked, this, [this](int k) { m_texts->decreaseFontSize(k); });
        connect(frame, &TextPaneFrame::copyClicked, this, &PaneWiring::copyPaneText);
        connect(frame, &TextPaneFrame::infoClicked, this, [this](int k) { m_window.showTextInfo(k); });
        connect(frame, &TextPaneFrame::transMenuClicked, this, [this](int k) { PaneMenu::show(m_window, k); });
    }
    connect(&texts, &VerseTextAssignment::wordByWordHintChanged, this,
            [this](int pane, bool visible) { m_window.paneFrame(pane)->setWordTipVisible(visible); });
}

// ---------------------------------------------------------------------------------------------- showing

bool PaneWiring::isPaneVisible(int pane) const {
    if (m_window.panel())
        return m_window.panel()->visibleButton(pane)->checked();
    return m_window.textsMenuAction(pane)->isChecked();
}

void PaneWiring::setPaneVisibleButton(int pane, bool visible) {
    if (m_window.panel())
        m_window.panel()->visibleButton(pane)->setChecked(visible);
}

void PaneWiring::paneToggleClicked(int pane) {
    m_window.loadBrowsers(false);
    m_window.textsMenuAction(pane)->setChecked(isPaneVisible(pane));
}

void PaneWiring::textsMenuClicked(int pane) {
    setPaneVisibleButton(pane, m_window.textsMenuAction(pane)->isChecked());
    paneToggleClicked(pane);
}

void PaneWiring::togglePane(int pane) {
    if (pane < 1 || pane > 4)
        return;
    setPaneVisibleButton(pane, !isPaneVisible(pane));
    paneToggleClicked(pane);
}

void PaneWiring::assignPaneText(int pane, const QString& name) {
    auto assigned = m_texts->assignTrans(pane, name);
    if (!assigned) {
        m_window.showMessage(MainWindow::kTitle, VerseTextAssignment::failureMessage(assigned.error()), true);
        return;
    }
    const VerseTextAssignment::PaneAssignment& captions = assigned.value();
    if (ControlPanel* panel = m_window.panel()) {
        panel->visibleButton(pane)->setCaption(captions.buttonCaption);
        panel->relayout();
    }
    m_window.paneFrame(pane)->setCaption(captions.windowCaption);
    m_window.textsMenuAction(pane)->setText(captions.menuCaption);
    if (!captions.failureMessage.isEmpty())
        m_window.showMessage(MainWindow::kTitle, captions.failureMessage, true);
}

// ---------------------------------------------------------------------------------------------- buttons and tip

void PaneWiring::copyPaneText(int pane) {
    // The rule works on Windows line breaks; the Linux clipboard carries line feeds.
    QString text = m_window.paneFrame(pane)->view()->plainText();
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    text = VerseTextAssignment::copyText(text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_clipboard->copyText(text);
}

void PaneWiring::onPaneStatusText(const QString& text) {
    m_lastStatusText = text;
    m_wordTipTimer->stop();
    m_wordTipTimer->start();
}

void PaneWiring::showWordTip() {
    m_wordTipTimer->stop();
    const std::optional<QString> tip = VerseTextAssignment::toolTipText(m_lastStatusText.trimmed());
    if (!tip) {
        m_wordTip->hide();
        return;
    }
    const double windowDpi = m_window.dpi();
    const QPoint pointer = m_window.mapFromGlobal(QCursor::pos());
    m_wordTip->setText(QLatin1Char(' ') + *tip + QLatin1Char(' '));
    m_wordTip->adjustSize();
    QPoint place(pointer.x() + Twips::toPixels(kWordTipRightTw, windowDpi),
                 pointer.y() + Twips::toPixels(kWordTipDownTw, windowDpi));
    if (place.x() + m_wordTip->width() > m_window.width())
        place.setX(m_window.width() - m_wordTip->width() - Twips::toPixels(kWordTipEdgeTw, windowDpi));
    m_wordTip->move(place);
    m_wordTip->raise();
    m_wordTip->show();
}

}  // namespace lumora

#include "app/textpaneframe.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

#include "app/panegeometry.h"
#include "app/twips.h"
#include "controls/contrast.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/textpane.h"
#include "text/versetextassignment.h"

namespace lumora {

namespace {

// Design geometry of the header strip, in twips.
constexpr int kCaptionLeftTw = 45;
constexpr int kCaptionTopTw = 45;
constexpr int kButtonTopTw = 30;
// The least space between the word-meaning hint and the buttons beside it.
constexpr int kHintGapTw = 60;
constexpr int kButtonHeightTw = 255;
constexpr int kSmallButtonWidthTw = 300;
constexpr int kCopyButtonWidthTw = 600;

}  // namespace

const QString TextPaneFrame::kWordByWordHint =
    QStringLiteral("Move the mouse pointer over arabic text to display word meaning");

TextPaneFrame::TextPaneFrame(int pane, QWidget* parent) : QWidget(parent), m_pane(pane) {
    setAutoFillBackground(true);
    m_caption = new QLabel(QStringLiteral("Translation %1").arg(pane), this);
    m_transMenu = new OwnerDrawnButton(QStringLiteral("\u25BE"), this);
    m_plus = new OwnerDrawnButton(QStringLiteral("+"), this);
    m_minus = new OwnerDrawnButton(QStringLiteral("\u2212"), this);
    m_copy = new OwnerDrawnButton(QStringLiteral("Copy"), this);
    m_info = new OwnerDrawnButton(QStringLiteral("i"), this);
    m_wordTip = new QLabel(kWordByWordHint, this);
    m_wordTip->setVisible(false);
    m_view = new TextPane(this);

    // What a screen reader says for the buttons whose captions are symbols.
    m_transMenu->setAccessibleName(QStringLiteral("Text menu"));
    m_plus->setAccessibleName(QStringLiteral("Larger text"));
    m_minus->setAccessibleName(QStringLiteral("Smaller text"));
    m_info->setAccessibleName(QStringLiteral("Text information"));
    m_view->setAccessibleName(m_caption->text());

    connect(m_transMenu, &OwnerDrawnButton::click, this, [this] { emit transMenuClicked(m_pane); });
    connect(m_plus, &OwnerDrawnButton::click, this, [this] { emit plusClicked(m_pane); });
    connect(m_minus, &OwnerDrawnButton::click, this, [this] { emit minusClicked(m_pane); });
    connect(m_copy, &OwnerDrawnButton::click, this, [this] { emit copyClicked(m_pane); });
    connect(m_info, &OwnerDrawnButton::click, this, [this] { emit infoClicked(m_pane); });
    layoutHeader();
}

QString TextPaneFrame::name() const {
    return QStringLiteral("picText%1").arg(m_pane);
}

void TextPaneFrame::setDpi(double dpi) {
    m_dpi = dpi;
    layoutHeader();
    layoutInterior();
}

void TextPaneFrame::setCaption(const QString& caption) {
    m_caption->setText(caption);
    // The text is named by its caption, which ends in a blank.
    m_view->setAccessibleName(caption.trimmed());
    layoutHeader();
}

void TextPaneFrame::setWordTipVisible(bool visible) {
    m_wordTipWanted = visible;
    layoutInterior();
}

void TextPaneFrame::applyColours(const QColor& background, const QColor& text) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    setPalette(colours);
    for (QLabel* label : {m_caption, m_wordTip}) {
        QPalette labelColours = label->palette();
        labelColours.setColor(QPalette::WindowText, text);
        labelColours.setColor(QPalette::Disabled, QPalette::WindowText, Contrast::dimmedOn(text, background));
        label->setPalette(labelColours);
    }
    for (OwnerDrawnButton* button : {m_transMenu, m_plus, m_minus, m_copy, m_info}) {
        button->setBackColor(background.lighter(160));
        button->setForeColor(text);
        button->setForeColorChecked(text);
    }
}

void TextPaneFrame::layoutHeader() {
    const auto px = [this](int twips) { return Twips::toPixels(twips, m_dpi); };
    const auto tw = [this](int pixels) { return Twips::fromPixels(pixels, m_dpi); };

    m_caption->adjustSize();
    m_caption->move(px(kCaptionLeftTw), px(kCaptionTopTw) - 2);

    const int buttonHeight = px(kButtonHeightTw);
    m_transMenu->resize(px(kSmallButtonWidthTw), buttonHeight);
    m_plus->resize(px(kSmallButtonWidthTw), buttonHeight);
    m_minus->resize(px(kSmallButtonWidthTw), buttonHeight);
    m_copy->resize(px(kCopyButtonWidthTw), buttonHeight);
    m_info->resize(px(kSmallButtonWidthTw), buttonHeight);

    VerseTextAssignment::HeaderWidths widths;
    widths.captionLeftTw = kCaptionLeftTw;
    widths.captionWidthTw = tw(m_caption->width());
    widths.transMenuWidthTw = tw(m_transMenu->width());
    widths.plusWidthTw = tw(m_plus->width());
    widths.minusWidthTw = tw(m_minus->width());
    const VerseTextAssignment::HeaderRow row = VerseTextAssignment::headerRow(widths);
    const int top = px(kButtonTopTw);
    m_transMenu->move(px(row.transMenuLeftTw), top);
    m_plus->move(px(row.plusLeftTw), top);
    m_minus->move(px(row.minusLeftTw), top);
    m_copy->move(px(row.copyLeftTw), top);
    m_wordTip->setText(kWordByWordHint);
    m_wordTip->adjustSize();
    m_wordTipNaturalSize = m_wordTip->size();
    layoutInterior();
}

void TextPaneFrame::layoutInterior() {
    if (window()->isMinimized())
        return;
    const QSize paneTwips = Twips::sizeFromPixels(size(), m_dpi);
    const PaneGeometry::PaneInterior interior =
        PaneGeometry::arrangePane(m_pane, paneTwips, Twips::fromPixels(m_info->width(), m_dpi),
                                  Twips::fromPixels(m_wordTipNaturalSize.width(), m_dpi));
    m_view->setGeometry(Twips::rectToPixels(interior.browser, m_dpi));
    const int top = Twips::toPixels(kButtonTopTw, m_dpi);
    m_info->move(Twips::toPixels(interior.infoButtonLeft, m_dpi), top);

    // The hint stands left of the info button but never over the caption's buttons: where the pane is
    // too narrow it is cut short, and where no word of it fits it is not shown.
    const int gap = Twips::toPixels(kHintGapTw, m_dpi);
    const int left = std::max(Twips::toPixels(interior.wordTipLeft, m_dpi), m_copy->geometry().right() + 1 + gap);
    const int room = std::min(m_info->x() - left, m_wordTipNaturalSize.width());
    QString shown;
    if (room >= m_wordTipNaturalSize.width())
        shown = kWordByWordHint;
    else if (room > 0)
        shown = m_wordTip->fontMetrics().elidedText(kWordByWordHint, Qt::ElideRight, room - 2 * m_wordTip->margin());
    const bool fits = !shown.isEmpty() && shown != QStringLiteral("…");
    m_wordTip->setText(shown);
    m_wordTip->setGeometry(left, Twips::toPixels(kCaptionTopTw, m_dpi) - 2, std::max(room, 0),
                           m_wordTipNaturalSize.height());
    m_wordTip->setVisible(m_wordTipWanted && fits);
}

void TextPaneFrame::resizeEvent(QResizeEvent*) {
    layoutInterior();
}

void TextPaneFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        layoutHeader();
    QWidget::changeEvent(event);
}

}  // namespace lumora

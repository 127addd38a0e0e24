#include "controls/textpane.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>

namespace lumora {

TextPane::TextPane(QWidget* parent) : QTextBrowser(parent) {
    setFrameShape(QFrame::NoFrame);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    // The word links are for the pointer: as keyboard stops they would hold Tab inside the pane (the
    // meanings have their own key). The keyboard moves a caret through the text instead, which a
    // screen reader follows.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse | Qt::TextSelectableByKeyboard);
    document()->setDocumentMargin(kDocumentMarginPx);
    viewport()->setMouseTracking(true);
    viewport()->installEventFilter(this);
}

void TextPane::clear() { m_pending.clear(); }

void TextPane::write(const QString& html) { m_pending += html; }

void TextPane::close() {
    m_page = m_pending;
    m_pending.clear();
    setExtraSelections({});
    setHtml(renderedCopy(m_page));
    document()->setDocumentMargin(kDocumentMarginPx);
    // The link that was under the pointer belonged to the old page.
    setStatusText(QString());
}

QString TextPane::renderedCopy(const QString& page) {
    static const QRegularExpression bodyTag(QStringLiteral("<BODY\\b[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bareColour(QStringLiteral("(\\bBGCOLOR\\s*=\\s*[\"']?)([0-9A-Fa-f]{6})\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch body = bodyTag.match(page);
    if (!body.hasMatch()) return page;
    QString tag = body.captured(0);
    tag.replace(bareColour, QStringLiteral("\\1#\\2"));
    QString copy = page;
    copy.replace(body.capturedStart(0), body.capturedLength(0), tag);
    return copy;
}

bool TextPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            hoverAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::Leave:
            hoverAt(QPoint(-1, -1));
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QString link = anchorAt(mouse->position().toPoint());
                if (!link.isEmpty()) emit linkClicked(link);
                emit navigationRequested(QStringLiteral("click"));
            } else if (mouse->button() == Qt::RightButton) {
                emit navigationRequested(QStringLiteral("right"));
            }
            break;
        }
        case QEvent::ContextMenu:
            // The right button recites the next verse; no menu of the view's own.
            return true;
        default:
            break;
        }
    }
    return QTextBrowser::eventFilter(watched, event);
}

void TextPane::hoverAt(const QPoint& viewportPos) {
    const QString link = viewport()->rect().contains(viewportPos) ? anchorAt(viewportPos) : QString();
    if (link == m_statusText) return;
    QList<ExtraSelection> highlight;
    if (!link.isEmpty()) {
        const QPoint scroll(isRightToLeft() ? horizontalScrollBar()->maximum() - horizontalScrollBar()->value()
                                            : horizontalScrollBar()->value(),
                            verticalScrollBar()->value());
        const int position = document()->documentLayout()->hitTest(viewportPos + scroll, Qt::ExactHit);
        ExtraSelection selection;
        selection.cursor = linkRun(position, link);
        selection.format.setBackground(hoverColour());
        if (selection.cursor.hasSelection()) highlight.append(selection);
    }
    setExtraSelections(highlight);
    setStatusText(link);
}

QTextCursor TextPane::linkRun(int position, const QString& target) const {
    QTextCursor run(document());
    if (position < 0) return run;
    const QTextBlock block = document()->findBlock(position);
    // Formatting may split one link into several fragments; the run is every fragment of the link that
    // touches the one under the pointer.
    int start = -1;
    int end = -1;
    bool containsPosition = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const bool ofLink = fragment.charFormat().isAnchor() && fragment.charFormat().anchorHref() == target;
        if (!ofLink) {
            if (containsPosition) break;
            start = -1;
            continue;
        }
        if (start < 0) start = fragment.position();
        end = fragment.position() + fragment.length();
        if (position >= fragment.position() && position < end) containsPosition = true;
    }
    if (!containsPosition) return run;
    run.setPosition(start);
    run.setPosition(end, QTextCursor::KeepAnchor);
    return run;
}

void TextPane::setStatusText(const QString& text) {
    if (text == m_statusText) return;
    m_statusText = text;
    emit statusTextChanged(text);
}

}  // namespace lumora

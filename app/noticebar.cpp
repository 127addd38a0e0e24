#include "app/noticebar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace lumora {

NoticeBar::NoticeBar(QWidget* parent) : QFrame(parent), m_label(new QLabel(this)), m_close(new QToolButton(this)) {
    setObjectName(QStringLiteral("noticeBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // Pale yellow with dark text: read as a notice whatever the panes' own colours are.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 248, 204));
    colours.setColor(QPalette::WindowText, QColor(40, 40, 40));
    setPalette(colours);
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label->setTextFormat(Qt::PlainText);
    m_close->setText(tr("Close"));
    m_close->setFocusPolicy(Qt::TabFocus);
    m_close->setAccessibleName(tr("Close the notice"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 4, 4);
    row->addWidget(m_label, 1);
    row->addWidget(m_close, 0, Qt::AlignTop);
    connect(m_close, &QToolButton::clicked, this, &QWidget::hide);
    parent->installEventFilter(this);
    hide();
}

bool NoticeBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) place();
    return QFrame::eventFilter(watched, event);
}

void NoticeBar::showNotice(const QString& text) {
    m_label->setText(text);
    place();
    raise();
    show();
}

QString NoticeBar::text() const { return m_label->text(); }

void NoticeBar::place() {
    if (parentWidget() == nullptr) return;
    const int width = parentWidget()->width();
    const int height = heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height();
    setGeometry(0, parentWidget()->height() - height, width, height);
}

}  // namespace lumora

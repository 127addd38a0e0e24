#include "app/helptooltip.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace lumora {

namespace {
// The tip stands this far below the pointer, clear of the cursor's picture.
constexpr int kBelowPointerPixels = 20;
}  // namespace

void HelpToolTip::styleAsTip(QLabel* label) {
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, QColor(255, 255, 225));
    colours.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(colours);
    label->hide();
}

HelpToolTip::HelpToolTip(QWidget* owner) : m_owner(owner) {
    m_tip = new QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint);
    m_tip->setTextFormat(Qt::PlainText);
    m_tip->setWordWrap(true);
    m_tip->setMargin(4);
    styleAsTip(m_tip);
    m_delay = new QTimer(this);
    m_delay->setSingleShot(true);
    connect(m_delay, &QTimer::timeout, this, &HelpToolTip::show);
    m_visible = new QTimer(this);
    m_visible->setSingleShot(true);
    connect(m_visible, &QTimer::timeout, this, &HelpToolTip::hide);
}

HelpToolTip::~HelpToolTip() {
    for (const auto& entry : m_tools) const_cast<QObject*>(entry.first)->removeEventFilter(this);
    delete m_tip;
}

void HelpToolTip::setMaxWidth(int pixels) {
    m_maxWidth = std::max(pixels, 1);
}

void HelpToolTip::setVisibleTime(int ms) {
    m_visibleMs = std::clamp(ms, 0, kLongestTimeMs);
}

void HelpToolTip::setDelayTime(int ms) {
    m_delayMs = std::clamp(ms, 0, kLongestTimeMs);
}

void HelpToolTip::setFont(const QFont& font) {
    m_tip->setFont(font);
}

void HelpToolTip::addControl(QWidget* control, const QString& caption, bool centreTip) {
    ++m_registrations;
    if (!control)
        return;
    m_tools[control] = Tool{caption, centreTip};
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject* gone) { m_tools.erase(gone); });
}

QWidget* HelpToolTip::shownFor() const {
    return m_tip->isVisible() ? m_shownFor.data() : nullptr;
}

QString HelpToolTip::textFor(const QWidget* control) const {
    const auto found = m_tools.find(control);
    return found == m_tools.end() ? QString() : found->second.text;
}

bool HelpToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (m_tools.count(watched) == 0)
        return false;
    switch (event->type()) {
        case QEvent::Enter:
            hide();
            m_pending = static_cast<QWidget*>(watched);
            m_delay->start(m_delayMs);
            break;
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Hide:
            m_delay->stop();
            m_pending = nullptr;
            hide();
            break;
        default:
            break;
    }
    return false;
}

void HelpToolTip::show() {
    QWidget* control = m_pending;
    if (!control || !control->isVisible())
        return;
    const Tool& tool = m_tools.at(control);
    // Lines break at CR LF; the label breaks at line feeds alone.
    QString shown = tool.text;
    shown.remove(QLatin1Char('\r'));
    m_tip->setText(shown);
    m_tip->setMaximumWidth(m_maxWidth);
    m_tip->adjustSize();
    QPoint place = tool.centre ? control->mapToGlobal(QPoint(control->width() / 2 - m_tip->width() / 2,
                                                             control->height()))
                               : QCursor::pos() + QPoint(0, kBelowPointerPixels);
    // Kept on the screen the pointer is on.
    if (const QScreen* screen = QGuiApplication::screenAt(QCursor::pos())) {
        const QRect area = screen->availableGeometry();
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - m_tip->width())));
        place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - m_tip->height())));
    }
    m_tip->move(place);
    m_shownFor = control;
    m_tip->show();
    m_visible->start(m_visibleMs);
}

void HelpToolTip::hide() {
    m_visible->stop();
    m_tip->hide();
    m_shownFor = nullptr;
}

}  // namespace lumora

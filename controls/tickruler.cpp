#include "controls/tickruler.h"

#include <cmath>

#include <QKeyEvent>
#include <QPainter>

#include "controls/accessiblecontrols.h"

namespace lumora {

TickRuler::TickRuler(QWidget* parent) : QWidget(parent), m_backColor(palette().color(QPalette::Button)) {
    // The ruler only draws what the verse sliders say already: it takes no focus (the window's key handler
    // sees every key anyway) and stays out of the accessible tree.
    setFocusPolicy(Qt::NoFocus);
    AccessibleControls::hideFromTree(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TickRuler::setVerses(int16_t verses) {
    m_verses = verses;
    update();
}

void TickRuler::setBackColor(const QColor& colour) {
    m_backColor = colour;
    update();
}

QSize TickRuler::sizeHint() const { return QSize(150, 6); }

void TickRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    painter.setPen(QPen(tickColour(), 0));
    const int count = m_verses == 0 ? kDefaultTicks : m_verses;
    const double stepPx = static_cast<double>(width() - kClosingInsetPx) / count;
    const int bottom = height() - 1;
    for (int i = 1; i <= count; ++i) {
        const int x = static_cast<int>(std::lround((i - 1) * stepPx));
        painter.drawLine(x, 0, x, bottom);
    }
    const int closingX = width() - kClosingInsetPx;
    painter.drawLine(closingX, 0, closingX, bottom);
}

void TickRuler::keyPressEvent(QKeyEvent* event) { emit keyDown(event->key(), event->modifiers()); }

}  // namespace lumora

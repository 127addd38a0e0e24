#include "controls/bevelpainter.h"

#include <cmath>

#include <QPainter>

namespace lumora {

namespace {

// A face that is already very dark cannot be darkened visibly, and a very light one cannot be lightened;
// mixing towards black or white keeps all four colours apart from the face either way.
QColor mix(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

}  // namespace

BevelPainter::BevelPainter(const QColor& face)
    : m_highlight(mix(face, Qt::white, 0.6)),
      m_light(mix(face, Qt::white, 0.3)),
      m_shadow(mix(face, Qt::black, 0.35)),
      m_darkShadow(mix(face, Qt::black, 0.7)) {}

void BevelPainter::drawEdge(QPainter& painter, const QRect& rect, int borders, Sides sides) const {
    QRect ring = rect;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (borders & kRaisedOuter) {
        drawRing(painter, ring, m_light, m_darkShadow, sides);
    } else if (borders & kSunkenOuter) {
        drawRing(painter, ring, m_shadow, m_highlight, sides);
    }
    if (borders & kRaisedInner) {
        drawRing(painter, ring, m_highlight, m_shadow, sides);
    } else if (borders & kSunkenInner) {
        drawRing(painter, ring, m_darkShadow, m_light, sides);
    }
    painter.restore();
}

void BevelPainter::drawRing(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight,
                            Sides sides) const {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    // Bottom and right first, so the top-left colour owns the two corners it shares with them, as a lit
    // edge does.
    if (sides & kBottom) painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
    if (sides & kRight) painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
    if (sides & kTop) painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
    if (sides & kLeft) painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
    rect.adjust((sides & kLeft) ? 1 : 0, (sides & kTop) ? 1 : 0, (sides & kRight) ? -1 : 0,
                (sides & kBottom) ? -1 : 0);
}

}  // namespace lumora

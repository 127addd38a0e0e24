#pragma once
// Draws the classic 3D edges (raised and sunken, outer and inner rings) that the painted controls use for
// rails and buttons. The four edge colours are derived from the face colour, so an edge reads well on
// Lumora's dark panel as on a light one.

#include <QColor>
#include <QFlags>
#include <QRect>

class QPainter;

namespace lumora {

class BevelPainter {
public:
    // The outer ring is the outermost pixel line of the rectangle, the inner ring the line inside it.
    enum Border {
        kRaisedOuter = 0x1,
        kSunkenOuter = 0x2,
        kRaisedInner = 0x4,
        kSunkenInner = 0x8,
        kRaisedEdge = kRaisedOuter | kRaisedInner,
        kSunkenEdge = kSunkenOuter | kSunkenInner,
    };
    enum Side { kLeft = 0x1, kTop = 0x2, kRight = 0x4, kBottom = 0x8, kAllSides = 0xF };
    Q_DECLARE_FLAGS(Sides, Side)

    explicit BevelPainter(const QColor& face);

    // Draws the rings that `borders` selects on the chosen sides of `rect`. Each drawn ring moves the
    // next ring one pixel inwards on the sides it was drawn on.
    void drawEdge(QPainter& painter, const QRect& rect, int borders, Sides sides) const;

    QColor highlight() const { return m_highlight; }
    QColor light() const { return m_light; }
    QColor shadow() const { return m_shadow; }
    QColor darkShadow() const { return m_darkShadow; }

private:
    void drawRing(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight,
                  Sides sides) const;

    QColor m_highlight;
    QColor m_light;
    QColor m_shadow;
    QColor m_darkShadow;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(BevelPainter::Sides)

}  // namespace lumora

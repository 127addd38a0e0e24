#pragma once
// The verse slider: a thumb picture dragged along a rail, drawing a VerseSliderModel. The model holds the
// value, range and events; this widget places the thumb from the value, turns drags and rail presses into
// new values (snapped to whole values as it goes), and shows the floating value tip while the thumb is held.
// With the focus it draws a dotted mark around itself, and the arrow keys move the value one step: Right and
// Up towards Max, Left and Down towards Min.

#include <memory>

#include <QColor>
#include <QImage>
#include <QWidget>

#include "recitation/verseslidermodel.h"

namespace lumora {

class ValueTip;

class VerseSlider : public QWidget {
    Q_OBJECT
public:
    // Rail styles 0 to 4 choose the edge drawn on the rail's bottom and right sides (the top and left sides
    // always get a sunken outer border); kRailImageStyle paints the rail picture instead.
    static constexpr int kSunkenEdgeRail = 0;
    static constexpr int kRaisedEdgeRail = 1;
    static constexpr int kSunkenOuterRail = 2;
    static constexpr int kRaisedInnerRail = 3;
    static constexpr int kNoEdgeRail = 4;
    static constexpr int kRailImageStyle = 99;
    // Thickness of a drawn rail, across the travel.
    static constexpr int kRailThicknessPx = 6;

    // A slider with a model of its own.
    explicit VerseSlider(QWidget* parent = nullptr);
    // A slider drawing a model that someone else owns and drives; the model must outlive the slider.
    explicit VerseSlider(VerseSliderModel* model, QWidget* parent = nullptr);
    ~VerseSlider() override;

    VerseSliderModel* model() const { return m_model; }

    // Vertical (the default) puts Min at the bottom, horizontal puts it at the left. Changing it re-runs
    // the sizing step.
    Qt::Orientation orientation() const { return m_orientation; }
    void setOrientation(Qt::Orientation orientation);

    int railStyle() const { return m_railStyle; }
    void setRailStyle(int railStyle);

    bool showValueTip() const { return m_showValueTip; }
    void setShowValueTip(bool show) { m_showValueTip = show; }

    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& colour);

    // A null thumb picture means Lumora's own thumb for the orientation.
    QImage sliderImage() const { return m_sliderImage; }
    void setSliderImage(const QImage& image);
    QImage railImage() const { return m_railImage; }
    void setRailImage(const QImage& image);

    // The thumb and the drawn rail, in widget coordinates.
    QRect thumbRect() const;
    QRect railRect() const;
    // The open value tip, or null when none is shown.
    const ValueTip* valueTip() const { return m_tip.get(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A left button released inside the control.
    void click();
    void mouseDown(Qt::MouseButton button);
    // Follows click() when the press started a drag.
    void mouseUp(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void connectModel();
    QImage thumbPicture() const;
    // Travel of the thumb's corner along the slider: the length minus the thumb's length, never negative.
    int freeTravel() const;
    int positionOfValue(int64_t value) const;
    int32_t valueAtPosition(int position) const;
    // The thumb's left edge (horizontal) or top edge (vertical): where the drag holds it, otherwise the
    // value's place.
    int thumbPosition() const;
    // The sizing step: thickness from the pictures; the rail and thumb follow from the size.
    void applySizing();
    void dragTo(const QPoint& pointer);
    void endDrag();
    void showTip();
    void updateTip();
    void closeTip();
    void onValueChanged();
    // Tells assistive technology that the value or its words changed.
    void announceValue();

    VerseSliderModel* m_model;
    Qt::Orientation m_orientation = Qt::Vertical;
    int m_railStyle = kSunkenEdgeRail;
    bool m_showValueTip = true;
    QColor m_backColor;
    QImage m_sliderImage;
    QImage m_railImage;
    QImage m_defaultThumb;
    bool m_dragging = false;
    // The thumb's position during a drag. A value set from code meanwhile does not move the thumb out from
    // under the pointer.
    int m_dragPos = 0;
    // Pointer position minus the thumb's corner at the press.
    QPoint m_grabOffset;
    std::unique_ptr<ValueTip> m_tip;
};

}  // namespace lumora

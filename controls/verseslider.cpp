#include "controls/verseslider.h"

#include <algorithm>

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/accessiblecontrols.h"
#include "controls/bevelpainter.h"
#include "controls/contrast.h"
#include "controls/controlpictures.h"
#include "controls/rounding.h"
#include "controls/valuetip.h"

namespace lumora {

namespace {

// A disabled slider shows its thumb faded.
constexpr double kDisabledThumbOpacity = 0.45;

}  // namespace

VerseSlider::VerseSlider(QWidget* parent) : VerseSlider(nullptr, parent) {}

VerseSlider::VerseSlider(VerseSliderModel* model, QWidget* parent)
    : QWidget(parent), m_model(model != nullptr ? model : new VerseSliderModel(this)) {
    m_backColor = palette().color(QPalette::Button);
    AccessibleControls::ensureInstalled();
    m_defaultThumb = ControlPictures::verseThumb(m_orientation);
    setFocusPolicy(Qt::StrongFocus);
    connectModel();
    applySizing();
}

VerseSlider::~VerseSlider() = default;

void VerseSlider::connectModel() {
    connect(m_model, &VerseSliderModel::changed, this, &VerseSlider::onValueChanged);
    connect(m_model, &VerseSliderModel::rangeChanged, this, [this] {
        if (m_dragging) m_dragPos = positionOfValue(m_model->value());
        update();
        updateTip();
        // The value's words name the range ("verse 5 of 7"), so they changed too.
        announceValue();
    });
    connect(m_model, &VerseSliderModel::toolTipTextChanged, this, &VerseSlider::setToolTip);
    setToolTip(m_model->toolTipText());
}

void VerseSlider::setOrientation(Qt::Orientation orientation) {
    if (orientation == m_orientation) return;
    m_orientation = orientation;
    m_defaultThumb = ControlPictures::verseThumb(orientation);
    applySizing();
}

void VerseSlider::setRailStyle(int railStyle) {
    const bool sizeMayChange = railStyle == kRailImageStyle || m_railStyle == kRailImageStyle;
    m_railStyle = railStyle;
    if (sizeMayChange) applySizing();
    update();
}

void VerseSlider::setBackColor(const QColor& colour) {
    m_backColor = colour;
    update();
}

void VerseSlider::setSliderImage(const QImage& image) {
    m_sliderImage = image;
    applySizing();
}

void VerseSlider::setRailImage(const QImage& image) {
    m_railImage = image;
    applySizing();
}

QImage VerseSlider::thumbPicture() const { return m_sliderImage.isNull() ? m_defaultThumb : m_sliderImage; }

int VerseSlider::thumbPosition() const { return m_dragging ? m_dragPos : positionOfValue(m_model->value()); }

QRect VerseSlider::thumbRect() const {
    const QSize thumb = thumbPicture().size();
    if (m_orientation == Qt::Horizontal) {
        return QRect(QPoint(thumbPosition(), (height() - thumb.height()) / 2), thumb);
    }
    return QRect(QPoint((width() - thumb.width()) / 2, thumbPosition()), thumb);
}

int VerseSlider::freeTravel() const {
    const QSize thumb = thumbPicture().size();
    const int travel = m_orientation == Qt::Horizontal ? width() - thumb.width() : height() - thumb.height();
    return std::max(travel, 0);
}

int VerseSlider::positionOfValue(int64_t value) const {
    const int travel = freeTravel();
    const int64_t span = static_cast<int64_t>(m_model->max()) - m_model->min();
    if (span <= 0) return m_orientation == Qt::Horizontal ? 0 : travel;
    // A value outside the range (Max lowered below it) is drawn at the nearer end, not off the rail.
    const double along = std::clamp(static_cast<double>(travel) * static_cast<double>(value - m_model->min()) /
                                        static_cast<double>(span),
                                    0.0, static_cast<double>(travel));
    return static_cast<int>(std::lround(m_orientation == Qt::Horizontal ? along : travel - along));
}

int32_t VerseSlider::valueAtPosition(int position) const {
    const int travel = freeTravel();
    const int32_t min = m_model->min();
    const int32_t max = m_model->max();
    // A slider no longer than its thumb has nowhere to move it to.
    if (travel <= 0) return min;
    const double share = m_orientation == Qt::Horizontal ? static_cast<double>(position) / travel
                                                         : static_cast<double>(travel - position) / travel;
    const double span = static_cast<double>(max) - static_cast<double>(min);
    const int64_t value = roundHalfEven(share * span + min);
    return static_cast<int32_t>(std::clamp<int64_t>(value, min, max));
}

void VerseSlider::applySizing() {
    const QSize thumb = thumbPicture().size();
    const bool horizontal = m_orientation == Qt::Horizontal;
    int thickness = horizontal ? thumb.height() : thumb.width();
    if (m_railStyle == kRailImageStyle && !m_railImage.isNull()) {
        thickness = std::max(thickness, horizontal ? m_railImage.height() : m_railImage.width());
    }
    if (horizontal) {
        setMinimumSize(thumb.width(), thickness);
        setMaximumSize(QWIDGETSIZE_MAX, thickness);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setMinimumSize(thickness, thumb.height());
        setMaximumSize(thickness, QWIDGETSIZE_MAX);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    updateGeometry();
    update();
}

QRect VerseSlider::railRect() const {
    // The rail runs under the thumb's centre from one end of its travel to the other.
    const QSize thumb = thumbPicture().size();
    const int travel = freeTravel();
    if (m_orientation == Qt::Horizontal) {
        return QRect(thumb.width() / 2, (height() - kRailThicknessPx) / 2, travel + 1, kRailThicknessPx);
    }
    return QRect((width() - kRailThicknessPx) / 2, thumb.height() / 2, kRailThicknessPx, travel + 1);
}

QSize VerseSlider::sizeHint() const {
    const QSize least = minimumSize();
    constexpr int kPreferredLengthPx = 150;
    return m_orientation == Qt::Horizontal ? QSize(std::max(least.width(), kPreferredLengthPx), least.height())
                                           : QSize(least.width(), std::max(least.height(), kPreferredLengthPx));
}

QSize VerseSlider::minimumSizeHint() const { return minimumSize(); }

void VerseSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    const QRect rail = railRect();
    if (m_railStyle == kRailImageStyle) {
        if (!m_railImage.isNull()) {
            const QPoint corner = rail.center() - QPoint(m_railImage.width() / 2, m_railImage.height() / 2);
            painter.drawImage(corner, m_railImage);
        }
    } else {
        const BevelPainter bevel(m_backColor);
        int bottomRight = 0;
        switch (m_railStyle) {
        case kSunkenEdgeRail: bottomRight = BevelPainter::kSunkenEdge; break;
        case kRaisedEdgeRail: bottomRight = BevelPainter::kRaisedEdge; break;
        case kSunkenOuterRail: bottomRight = BevelPainter::kSunkenOuter; break;
        case kRaisedInnerRail: bottomRight = BevelPainter::kRaisedInner; break;
        default: break;
        }
        bevel.drawEdge(painter, rail, bottomRight, BevelPainter::kRight | BevelPainter::kBottom);
        bevel.drawEdge(painter, rail, BevelPainter::kSunkenOuter, BevelPainter::kLeft | BevelPainter::kTop);
    }
    if (!isEnabled()) painter.setOpacity(kDisabledThumbOpacity);
    painter.drawImage(thumbRect().topLeft(), thumbPicture());
    if (hasFocus()) {
        painter.setOpacity(1.0);
        painter.setPen(QPen(Contrast::markOn(m_backColor), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void VerseSlider::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up: step = 1; break;
    case Qt::Key_Left:
    case Qt::Key_Down: step = -1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    // At either end the model refuses the step and the value stays.
    static_cast<void>(m_model->setValue(static_cast<int32_t>(std::clamp<int64_t>(
        static_cast<int64_t>(m_model->value()) + step, INT32_MIN, INT32_MAX))));
    event->accept();
}

void VerseSlider::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void VerseSlider::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void VerseSlider::resizeEvent(QResizeEvent*) {
    if (m_dragging) m_dragPos = std::clamp(m_dragPos, 0, freeTravel());
    updateTip();
}

void VerseSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pointer = event->position().toPoint();
    const QRect thumb = thumbRect();
    m_dragPos = thumbPosition();
    m_dragging = true;
    if (thumb.contains(pointer)) {
        m_grabOffset = pointer - thumb.topLeft();
    } else {
        // A press on the rail brings the thumb's centre to the pointer.
        m_grabOffset = QPoint(thumb.width() / 2, thumb.height() / 2);
        dragTo(pointer);
    }
    if (m_showValueTip) showTip();
    emit mouseDown(event->button());
}

void VerseSlider::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) dragTo(event->position().toPoint());
}

void VerseSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pointer = event->position().toPoint();
    const bool inside = rect().contains(pointer);
    const bool wasDragging = m_dragging;
    // The drag ends before the owner hears of the release, so a value it sets then moves the thumb.
    endDrag();
    if (inside) emit click();
    if (wasDragging) emit mouseUp(event->button());
}

void VerseSlider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        // Disabled mid-drag, the release never arrives here: end the drag now.
        if (!isEnabled()) endDrag();
        update();
    }
    QWidget::changeEvent(event);
}

void VerseSlider::hideEvent(QHideEvent* event) {
    endDrag();
    QWidget::hideEvent(event);
}

void VerseSlider::dragTo(const QPoint& pointer) {
    const int travel = freeTravel();
    const int along = m_orientation == Qt::Horizontal ? pointer.x() - m_grabOffset.x()
                                                      : pointer.y() - m_grabOffset.y();
    const int32_t value = valueAtPosition(std::clamp(along, 0, travel));
    static_cast<void>(m_model->setValue(value));
    // Snap to the value's own position; should the owner have changed the value on hearing of it, the
    // thumb shows the owner's value.
    m_dragPos = positionOfValue(m_model->value());
    update();
    updateTip();
}

void VerseSlider::endDrag() {
    if (m_dragging) {
        m_dragging = false;
        update();
    }
    closeTip();
}

void VerseSlider::onValueChanged() {
    update();
    updateTip();
    announceValue();
}

void VerseSlider::announceValue() {
    QAccessibleValueChangeEvent event(this, m_model->value());
    QAccessible::updateAccessibility(&event);
}

void VerseSlider::showTip() {
    if (!m_tip) m_tip = std::make_unique<ValueTip>();
    updateTip();
    m_tip->show();
}

void VerseSlider::updateTip() {
    if (!m_tip) return;
    m_tip->setText(m_model->valueTipText());
    m_tip->placeBy(QRect(mapToGlobal(thumbRect().topLeft()), thumbRect().size()),
                   QRect(mapToGlobal(QPoint(0, 0)), size()), m_orientation);
}

void VerseSlider::closeTip() { m_tip.reset(); }

}  // namespace lumora

#include "controls/pictureslider.h"

#include <algorithm>

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/accessiblecontrols.h"
#include "controls/contrast.h"
#include "controls/rounding.h"

namespace lumora {

namespace {

constexpr const char* kErrorSource = "ZerizuDuraza";

}  // namespace

PictureSlider::PictureSlider(QWidget* parent) : QWidget(parent) {
    AccessibleControls::ensureInstalled();
    setFocusPolicy(Qt::StrongFocus);
    recomputeGeometry();
}

Result<void> PictureSlider::setMin(int32_t min) {
    if (min >= m_max) return Error{kMinNotBelowMax, kErrorSource, "Minimum must be less than Maximum"};
    m_min = min;
    setCurPosition(m_curPosition);
    return {};
}

Result<void> PictureSlider::setMax(int32_t max) {
    if (max <= m_min) return Error{kMaxNotAboveMin, kErrorSource, "Maximum must be greater than Minimum"};
    m_max = max;
    setCurPosition(m_curPosition);
    return {};
}

void PictureSlider::setCurPosition(int32_t position) {
    const int32_t old = m_curPosition;
    m_curPosition = std::clamp(position, m_min, m_max);
    placePointer();
    update();
    if (m_curPosition != old) {
        QAccessibleValueChangeEvent event(this, m_curPosition);
        QAccessible::updateAccessibility(&event);
    }
}

void PictureSlider::moveTo(int32_t position) {
    int32_t newPosition = std::clamp(position, m_min, m_max);
    emit positionChanged(m_curPosition, newPosition);
    setCurPosition(newPosition);
}

int32_t PictureSlider::keyStep() const {
    const int64_t span = static_cast<int64_t>(m_max) - m_min;
    return static_cast<int32_t>(std::max<int64_t>(span / 10, 1));
}

void PictureSlider::setImageSlider(const QImage& image) {
    m_imageSlider = image;
    recomputeGeometry();
}

void PictureSlider::setImageLeft(const QImage& image) {
    m_imageLeft = image;
    update();
}

void PictureSlider::setImagePointer(const QImage& image) {
    m_imagePointer = image;
    recomputeGeometry();
}

void PictureSlider::setSliderStyle(int style) {
    m_sliderStyle = style;
    update();
}

void PictureSlider::setBackStyle(int backStyle) {
    m_backStyle = backStyle;
    update();
}

void PictureSlider::setMaskColor(const QColor& colour) {
    m_maskColor = colour;
    update();
}

void PictureSlider::setDisabledStyle(int style) {
    m_disabledStyle = style;
    update();
}

void PictureSlider::setDisabledIntense(int intense) {
    if (intense < 0 || intense > kMaxDisabledIntense) return;
    m_disabledIntense = intense;
    update();
}

void PictureSlider::recomputeGeometry() {
    const int trackWidth = m_imageSlider.width();
    const int trackHeight = m_imageSlider.height();
    const int pointerWidth = m_imagePointer.width();
    const int pointerHeight = m_imagePointer.height();
    int controlHeight = 0;
    if (pointerHeight < trackHeight) {
        m_trackTop = 0;
        m_pointerTop = static_cast<int>(roundHalfEven((trackHeight - pointerHeight) / 2.0));
        controlHeight = trackHeight;
    } else {
        m_trackTop = static_cast<int>(roundHalfEven((pointerHeight - trackHeight) / 2.0));
        m_pointerTop = 0;
        controlHeight = pointerHeight;
    }
    m_trackLeft = static_cast<int>(roundHalfEven(pointerWidth / 2.0));
    setFixedSize(trackWidth + pointerWidth, controlHeight);
    placePointer();
    update();
}

void PictureSlider::placePointer() {
    const double span = static_cast<double>(m_max) - static_cast<double>(m_min);
    const double fromMin = static_cast<double>(m_curPosition) - static_cast<double>(m_min);
    m_pointerOffset = static_cast<int>(roundHalfEven(fromMin * m_imageSlider.width() / span));
}

int32_t PictureSlider::valueAtX(int x) const {
    const int trackWidth = m_imageSlider.width();
    if (trackWidth <= 0) return m_min;
    const int alongTrack = std::clamp(x, m_trackLeft, m_trackLeft + trackWidth) - m_trackLeft;
    const double span = static_cast<double>(m_max) - static_cast<double>(m_min);
    const int64_t value = roundHalfEven(alongTrack * span / trackWidth + m_min);
    return static_cast<int32_t>(std::clamp<int64_t>(value, m_min, m_max));
}

void PictureSlider::jumpTo(int x) { moveTo(valueAtX(x)); }

QRgb PictureSlider::disabledColour(QRgb colour, int intense, QRgb maskColour) {
    const auto shift = [intense](int channel) {
        const int64_t shifted = channel > 127 ? channel + intense : roundHalfEven(2.5 * intense + channel);
        return static_cast<int>(std::clamp<int64_t>(shifted, 0, 255));
    };
    int red = shift(qRed(colour));
    const int green = shift(qGreen(colour));
    const int blue = shift(qBlue(colour));
    if (qRgb(red, green, blue) == (maskColour | 0xFF000000u)) red += red < 255 ? 1 : -1;
    return qRgb(red, green, blue);
}

QImage PictureSlider::composedImage() const {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    image.fill(m_maskColor.rgb());
    int offset = m_pointerOffset;
    if (m_sliderStyle == kPlaceOnRedrawStyle) {
        // Whole-number division, measured from Min so a range that does not start at 0 stays on the track.
        const int64_t span = static_cast<int64_t>(m_max) - m_min;
        offset = static_cast<int>(m_imageSlider.width() * (static_cast<int64_t>(m_curPosition) - m_min) / span);
    }
    {
        QPainter painter(&image);
        painter.drawImage(QPoint(m_trackLeft, m_trackTop), m_imageSlider);
        if (!m_imageLeft.isNull() && offset > 0) {
            painter.drawImage(QPoint(m_trackLeft, m_trackTop), m_imageLeft,
                              QRect(0, 0, offset, m_imageLeft.height()));
        }
        painter.drawImage(QPoint(offset, m_pointerTop), m_imagePointer);
    }
    const QRgb mask = m_maskColor.rgb();
    const bool shiftColours = !isEnabled();
    const int intense = m_disabledStyle == kDarkenWhenDisabled ? -m_disabledIntense : m_disabledIntense;
    const bool transparentMask = m_backStyle == kTransparentBack;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == mask) {
                if (transparentMask) line[x] = 0;
            } else if (shiftColours) {
                line[x] = disabledColour(line[x], intense, mask);
            }
        }
    }
    return image;
}

void PictureSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), composedImage());
    if (hasFocus()) {
        painter.setPen(QPen(Contrast::markOn(m_maskColor), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureSlider::mousePressEvent(QMouseEvent* event) {
    const QPoint pointer = event->position().toPoint();
    emit mouseDown(event->button(), event->modifiers(), pointer.x(), pointer.y());
    if (event->button() != Qt::LeftButton) return;
    const bool onPointer = pointer.x() > m_pointerOffset && pointer.x() < m_pointerOffset + m_imagePointer.width();
    if (onPointer) {
        m_notDragging = false;
    } else {
        jumpTo(pointer.x());
    }
}

void PictureSlider::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && !m_notDragging) jumpTo(event->position().toPoint().x());
}

void PictureSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_notDragging = true;
    if (rect().contains(event->position().toPoint())) emit click();
}

void PictureSlider::keyPressEvent(QKeyEvent* event) {
    emit keyDown(event->key(), event->modifiers());
    const int64_t here = m_curPosition;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up: moveTo(static_cast<int32_t>(std::min<int64_t>(here + keyStep(), m_max))); break;
    case Qt::Key_Left:
    case Qt::Key_Down: moveTo(static_cast<int32_t>(std::max<int64_t>(here - keyStep(), m_min))); break;
    default: break;
    }
    event->accept();
}

void PictureSlider::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void PictureSlider::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void PictureSlider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) m_notDragging = true;
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace lumora

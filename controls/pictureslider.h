#pragma once
// The picture slider (Lumora's volume control): a horizontal slider drawn from three pictures, a track, an
// optional filled track covering it up to the pointer, and the pointer. The owner hears every move through
// positionChanged() and may change the new position there. Disabled, it shifts the colours of its own
// pixels to look faded. With the focus it draws a dotted mark around itself, and the arrow keys move it by
// keyStep(): Right and Up towards Max, Left and Down towards Min.

#include <cstdint>

#include <QColor>
#include <QImage>
#include <QWidget>

#include "codec/result.h"

namespace lumora {

class PictureSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr int32_t kMinNotBelowMax = 513;
    static constexpr int32_t kMaxNotAboveMin = 514;
    static constexpr int kMaxDisabledIntense = 85;
    // sliderStyle() value under which the pointer is placed from CurPosition on every redraw.
    static constexpr int kPlaceOnRedrawStyle = 1;
    // disabledStyle() values.
    static constexpr int kLightenWhenDisabled = 0;
    static constexpr int kDarkenWhenDisabled = 1;
    // backStyle() values: opaque, or transparent wherever the mask colour shows.
    static constexpr int kTransparentBack = 0;
    static constexpr int kOpaqueBack = 1;

    explicit PictureSlider(QWidget* parent = nullptr);

    int32_t min() const { return m_min; }
    // Refused with error 513 unless below Max. Raises CurPosition to the new Min when it was below it.
    Result<void> setMin(int32_t min);
    int32_t max() const { return m_max; }
    // Refused with error 514 unless above Min. Lowers CurPosition to the new Max when it was above it.
    Result<void> setMax(int32_t max);
    int32_t curPosition() const { return m_curPosition; }
    // Held to Min..Max; raises no event.
    void setCurPosition(int32_t position);
    // A move the user makes without the mouse (the arrow keys, assistive technology): held to Min..Max,
    // positionChanged() raised as for a drag, and CurPosition takes the owner's value.
    void moveTo(int32_t position);
    // What one arrow key moves: a tenth of the range, at least 1.
    int32_t keyStep() const;

    QImage imageSlider() const { return m_imageSlider; }
    void setImageSlider(const QImage& image);
    QImage imageLeft() const { return m_imageLeft; }
    // A null picture clears the filled track.
    void setImageLeft(const QImage& image);
    bool isSliderLeftPicSet() const { return !m_imageLeft.isNull(); }
    QImage imagePointer() const { return m_imagePointer; }
    void setImagePointer(const QImage& image);

    int sliderStyle() const { return m_sliderStyle; }
    void setSliderStyle(int style);
    int backStyle() const { return m_backStyle; }
    void setBackStyle(int backStyle);
    QColor maskColor() const { return m_maskColor; }
    void setMaskColor(const QColor& colour);
    int disabledStyle() const { return m_disabledStyle; }
    void setDisabledStyle(int style);
    int disabledIntense() const { return m_disabledIntense; }
    // Values outside 0..85 are ignored.
    void setDisabledIntense(int intense);

    // Derived geometry in pixels: the track's left edge and top, the pointer's top, and the pointer offset
    // P from 0 to the track's width (the pointer's left edge, its centre lying over track point P).
    int trackLeft() const { return m_trackLeft; }
    int trackTop() const { return m_trackTop; }
    int pointerTop() const { return m_pointerTop; }
    int pointerOffset() const { return m_pointerOffset; }

    // The finished picture, as the control draws it.
    QImage composedImage() const;

    // One pixel of the disabled look: each channel above 127 moves by `intense`, a darker one by 2.5 times
    // as much (a negative `intense` darkens); channels are held to 0..255, and a colour that would turn
    // into the mask colour is nudged off it so it stays visible.
    static QRgb disabledColour(QRgb colour, int intense, QRgb maskColour);

signals:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void click();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // Raised on every jump and drag step. Connect directly: a handler may change newPosition, and
    // CurPosition then takes that value (held to Min..Max).
    void positionChanged(int32_t oldPosition, int32_t& newPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void recomputeGeometry();
    void placePointer();
    int32_t valueAtX(int x) const;
    void jumpTo(int x);

    int32_t m_min = 0;
    int32_t m_max = 10;
    int32_t m_curPosition = 0;
    QImage m_imageSlider;
    QImage m_imageLeft;
    QImage m_imagePointer;
    int m_sliderStyle = 0;
    int m_backStyle = kOpaqueBack;
    QColor m_maskColor = QColor(192, 192, 192);
    int m_disabledStyle = kLightenWhenDisabled;
    int m_disabledIntense = 20;

    int m_trackLeft = 0;
    int m_trackTop = 0;
    int m_pointerTop = 0;
    int m_pointerOffset = 0;
    // Cleared by a press on the pointer, set again by the release.
    bool m_notDragging = true;
};

}  // namespace lumora

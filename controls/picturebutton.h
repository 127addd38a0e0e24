#pragma once
// A button drawn from two pictures (the transport buttons of the panel): it shows its pressed picture
// while the left button or the space key is held on it and its normal picture otherwise, and clicks when
// the button is released over it or the space key is released. With the focus it draws a dotted mark.

#include <QImage>
#include <QWidget>

namespace lumora {

class PictureButton : public QWidget {
    Q_OBJECT
public:
    PictureButton(const QImage& normal, const QImage& pressed, QWidget* parent = nullptr);

    void setPictures(const QImage& normal, const QImage& pressed);
    bool isDrawnDown() const { return m_drawnDown; }
    // Clicks as a mouse click would (assistive technology's press action); nothing while disabled.
    void activate();

    QSize sizeHint() const override { return m_normal.size(); }

signals:
    void click();
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setDrawnDown(bool down);

    QImage m_normal;
    QImage m_pressed;
    bool m_drawnDown = false;
    bool m_held = false;
    bool m_spaceHeld = false;
};

}  // namespace lumora

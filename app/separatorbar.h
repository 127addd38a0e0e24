#pragma once
// A bar between two stacked text panes. Pressing any mouse button on it starts a drag that moves height
// from one of its two panes to the other; the window owns the geometry and is told of every step.
// Its tag names the two panes ("picText1|picText3").

#include <QPoint>
#include <QString>
#include <QWidget>

namespace lumora {

class SeparatorBar : public QWidget {
    Q_OBJECT
public:
    explicit SeparatorBar(int number, QWidget* parent = nullptr);

    int number() const { return m_number; }
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    bool isDragging() const { return m_buttons != Qt::NoButton; }

signals:
    // A drag began with the cursor at this screen position (pixels).
    void dragStarted(int number, QPoint globalPixels);
    void dragMoved(int number, QPoint globalPixels);
    void dragFinished(int number);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_number;
    QString m_tag;
    // The buttons that were down when the drag began; it lasts while any of them is held.
    Qt::MouseButtons m_buttons = Qt::NoButton;
};

}  // namespace lumora

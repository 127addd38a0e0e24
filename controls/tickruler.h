#pragma once
// The thin ruler under the verse sliders: one tick per verse of the loaded sura and a closing line near the
// right edge, so the user sees how the sliders' travel is divided. Keys pressed on it go to its owner.

#include <cstdint>

#include <QColor>
#include <QWidget>

namespace lumora {

class TickRuler : public QWidget {
    Q_OBJECT
public:
    // The closing line stands this far in from the right edge; the ticks share the width before it.
    static constexpr int kClosingInsetPx = 10;
    // Ticks drawn when no verse count is set.
    static constexpr int kDefaultTicks = 10;
    static QColor tickColour() { return QColor(255, 0, 0); }

    explicit TickRuler(QWidget* parent = nullptr);

    int16_t verses() const { return m_verses; }
    void setVerses(int16_t verses);
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& colour);

    QSize sizeHint() const override;

signals:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int16_t m_verses = 0;
    QColor m_backColor;
};

}  // namespace lumora

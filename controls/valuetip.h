#pragma once
// The small floating window that shows a verse slider's value while its thumb is held: one line of text,
// sized to it, framed light on the top and left and dark on the bottom and right. It never takes the
// focus and stays above other windows.

#include <QString>
#include <QWidget>

namespace lumora {

class ValueTip : public QWidget {
    Q_OBJECT
public:
    // Gaps between the tip and what it stands by.
    static constexpr int kGapAboveThumbPx = 5;
    static constexpr int kGapBesideControlPx = 6;

    ValueTip();

    QString text() const { return m_text; }
    // Stores the text and resizes the window to the text's width plus 4 and height plus 3 pixels.
    void setText(const QString& text);

    // Horizontal slider: above the thumb, centred on it. Vertical slider: left of the control, centred on
    // the thumb's height. Both rectangles are in global coordinates.
    void placeBy(const QRect& thumbGlobal, const QRect& controlGlobal, Qt::Orientation orientation);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

}  // namespace lumora

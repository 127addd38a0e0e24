#pragma once
// NoticeBar: a strip along the bottom of the text panes for notices that need no answer (verse timings
// that do not fit the recording, verses without a recording, timings still to be made). It floats over
// the panes without moving them, takes no focus when it appears, and holds one notice at a time: a new
// one replaces it. "Close" (a click, or Tab to it and Space) hides it. It follows its parent's size.

#include <QFrame>
#include <QString>

class QLabel;
class QToolButton;

namespace lumora {

class NoticeBar : public QFrame {
    Q_OBJECT
public:
    explicit NoticeBar(QWidget* parent);

    // Shows the text over the bottom of the parent, raised above its other children.
    void showNotice(const QString& text);
    QString text() const;
    QToolButton* closeButton() const { return m_close; }

    // Keeps the bar along the parent's bottom edge, as wide as the parent.
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_label;
    QToolButton* m_close;
};

}  // namespace lumora

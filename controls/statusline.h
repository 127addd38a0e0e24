#pragma once
// The status line: one line saying where the recitation stands ("Sura 2, Al-Baqarah: 286 verses",
// "Range finished"). Each message also becomes the line's accessible name, with a name-changed event, so
// a screen reader hears of it without the user moving the focus (a status bar to assistive technology).
// The same message twice is sent twice: "Range finished" after every range matters each time.

#include <QLabel>

namespace lumora {

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    void announce(const QString& message);
    QString message() const { return text(); }

signals:
    void announced(const QString& message);
};

}  // namespace lumora

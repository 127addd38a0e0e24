#pragma once
// The playback speed: hundredths from 50 (0.50×) to 150 (1.50×) in steps of 5. Values between are
// taken to the nearest step and values outside held to the range, never refused. The controller passes
// every change to the player; the window shows it and the settings keep it.

#include <QObject>
#include <QString>
#include <cstdint>

namespace lumora {

class SpeedModel : public QObject {
    Q_OBJECT
public:
    static constexpr int32_t kMin = 50;
    static constexpr int32_t kMax = 150;
    static constexpr int32_t kStep = 5;
    static constexpr int32_t kNormal = 100;

    explicit SpeedModel(QObject* parent = nullptr);

    int32_t hundredths() const { return m_hundredths; }
    double factor() const { return m_hundredths / 100.0; }
    void setHundredths(int32_t hundredths);
    void stepBy(int32_t steps) { setHundredths(m_hundredths + steps * kStep); }

    // "0.75×"; the stored form is "0.75".
    static QString text(int32_t hundredths);
    static QString storedText(int32_t hundredths);
    // The stored form back, or kNormal when it is no speed ("1.5", "0.9" and "1.25" all read).
    static int32_t fromStoredText(const QString& text);

signals:
    void changed(int32_t hundredths);

private:
    int32_t m_hundredths = kNormal;
};

}  // namespace lumora

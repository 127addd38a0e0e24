#pragma once
// The volume control's value: CurPosition from 0 (silent) to 1000 (full). Values outside the range are
// held to it, never refused. Setting it only stores and redraws: applying it to the player is the
// controller's applyVolume, which the window calls when the user moves the slider.

#include <QObject>
#include <cstdint>

namespace lumora {

class VolumeModel : public QObject {
    Q_OBJECT
public:
    static constexpr int32_t kMin = 0;
    static constexpr int32_t kMax = 1000;
    // The volume menu's items 0 ("&Mute") to 5 ("&100%") set i times this.
    static constexpr int32_t kMenuStep = 200;
    // The numeric keypad's plus and minus keys move this far.
    static constexpr int32_t kKeyStep = 100;
    // Used when no volume has been stored yet.
    static constexpr int32_t kDefault = 500;

    explicit VolumeModel(QObject* parent = nullptr);

    int32_t curPosition() const { return m_curPosition; }
    void setCurPosition(int32_t position);

signals:
    void curPositionChanged(int32_t position);

private:
    int32_t m_curPosition = kDefault;
};

}  // namespace lumora

#pragma once
// The equalizer settings shared by the player and the equalizer dialog: the on/off flag and the ten band
// gains in decibels. The defaults are the gains of the built-in "Preset 4".

#include <array>

namespace lumora {

struct EqualizerSettings {
    bool enabled = true;
    std::array<float, 10> gainsDb{-8, 10, 10, 6, 2, -4, -8, -10, -11, -11};
    static constexpr std::array<int, 10> kCentreHz{80, 170, 310, 600, 1000, 3000, 6000, 12000, 14000, 16000};
};

}  // namespace lumora

#pragma once
// The speed and practice-track commands of the Recitation menu: the "&Speed" submenu (the usual speeds,
// checked when current, and "&Other..." for any step between 0.50 and 1.50) and "Save Practice
// &Track...". The keys [, ] and \ are the key handler's.

namespace lumora {

class CommandTable;
class MainWindow;
struct EqualizerSettings;

class SpeedCommands {
public:
    // The speeds the submenu offers, in hundredths.
    static constexpr int kMenuSpeeds[] = {50, 75, 85, 90, 100, 110, 125, 150};

    static void addTo(CommandTable& table, MainWindow& window, const EqualizerSettings& equalizer);
    // "&Other...": asks for a speed; false when the user cancelled.
    static bool askOtherSpeed(MainWindow& window);
};

}  // namespace lumora

#include "app/speedcommands.h"

#include <QInputDialog>
#include <algorithm>
#include <cmath>

#include "app/commandtable.h"
#include "app/mainwindow.h"
#include "app/practicetracksaver.h"
#include "recitation/recitationcontroller.h"
#include "recitation/speedmodel.h"

namespace lumora {

namespace {

const QString kMenu = QStringLiteral("Recitation");
const QString kSpeedMenu = QStringLiteral("Recitation/Speed");

int currentSpeed(const MainWindow& window) {
    return window.controller() != nullptr ? window.controller()->speed().hundredths() : SpeedModel::kNormal;
}

}  // namespace

void SpeedCommands::addTo(CommandTable& table, MainWindow& window, const EqualizerSettings& equalizer) {
    table.addSubmenu(kMenu, QStringLiteral("&Speed"), {}, false, QStringLiteral("Equalizer..."));
    for (const int hundredths : kMenuSpeeds) {
        CommandTable::Command speed;
        speed.menu = kSpeedMenu;
        speed.caption = SpeedModel::storedText(hundredths);
        if (hundredths == SpeedModel::kNormal) {
            speed.shortcutText = QStringLiteral("\\");
        }
        speed.handler = [&window, hundredths] {
            if (window.controller() != nullptr) window.controller()->speed().setHundredths(hundredths);
        };
        speed.checked = [&window, hundredths] { return currentSpeed(window) == hundredths; };
        table.add(std::move(speed));
    }
    CommandTable::Command other;
    other.menu = kSpeedMenu;
    other.caption = QStringLiteral("&Other...");
    other.separatorBefore = true;
    other.handler = [&window] { (void)askOtherSpeed(window); };
    other.checked = [&window] {
        const int now = currentSpeed(window);
        return std::find(std::begin(kMenuSpeeds), std::end(kMenuSpeeds), now) == std::end(kMenuSpeeds);
    };
    table.add(std::move(other));

    auto* saver = new PracticeTrackSaver(window, equalizer);
    CommandTable::Command practice;
    practice.menu = kMenu;
    practice.caption = QStringLiteral("Save Practice &Track...");
    practice.handler = [saver] { saver->save(); };
    practice.enabled = [&window] { return window.controller() != nullptr && window.controller()->sura() != 0; };
    table.add(std::move(practice));
}

bool SpeedCommands::askOtherSpeed(MainWindow& window) {
    if (window.controller() == nullptr) {
        return false;
    }
    SpeedModel& speed = window.controller()->speed();
    window.adjustTopMost(false);
    QInputDialog dialog(&window);
    dialog.setWindowTitle(QStringLiteral("Speed"));
    dialog.setLabelText(QStringLiteral("Speed from 0.50 to 1.50, in steps of 0.05 (1.00 is the recording's own):"));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleDecimals(2);
    dialog.setDoubleRange(SpeedModel::kMin / 100.0, SpeedModel::kMax / 100.0);
    dialog.setDoubleStep(SpeedModel::kStep / 100.0);
    dialog.setDoubleValue(speed.factor());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    window.adjustTopMost(true);
    if (accepted) {
        speed.setHundredths(static_cast<int32_t>(std::lround(dialog.doubleValue() * 100.0)));
    }
    return accepted;
}

}  // namespace lumora

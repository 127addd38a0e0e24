#include "app/onscreenhelp.h"

#include <QFont>
#include <QStringList>

#include "app/controlpanel.h"
#include "app/helptooltip.h"
#include "app/mainwindow.h"
#include "app/modeoptionbutton.h"
#include "app/suracombobox.h"
#include "app/textpaneframe.h"
#include "controls/ownerdrawnbutton.h"
#include "controls/picturebutton.h"

namespace lumora {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString lines(const QStringList& parts, bool footer) {
    return parts.join(kLineBreak) + (footer ? OnscreenHelp::kFooter : QString());
}

}  // namespace

const QString OnscreenHelp::kFooter = QStringLiteral("\r\n\r\n(This on-screen help can be disabled in settings)");

std::unique_ptr<HelpToolTip> OnscreenHelp::enable(MainWindow& window) {
    auto tip = std::make_unique<HelpToolTip>(&window);
    tip->setMaxWidth(300);
    tip->setVisibleTime(30000);
    tip->setDelayTime(100);
    tip->setFont(QFont(QStringLiteral("Arial"), 10));
    ControlPanel* panel = window.panel();
    if (!panel)
        return tip;
    const auto add = [&tip](QWidget* control, const QString& text) { tip->addControl(control, text, false); };

    add(panel->moveBackwardButton(),
        lines({QStringLiteral("Move range backward"), QString(),
               QStringLiteral("Eg: If current range is from verse 6 to 10, then range will be shifted to 1 to 5")},
              true));
    add(panel->moveBackwardButton(),
        lines({QStringLiteral("Move range backward"), QString(),
               QStringLiteral("Eg: If current range is from verse 6 to 10 (\"Range begin\" in verse 6 and "
                              "\"Range end\" in verse 10), then range will be shifted to 1 to 5"),
               QString(), QStringLiteral("Keyboard shortcut : N")},
              true));
    add(panel->moveForwardButton(),
        lines({QStringLiteral("Move range forward"), QString(),
               QStringLiteral("Eg: If current range is from verse 1 to 5 (\"Range begin\" in verse 1 and "
                              "\"Range end\" in verse 5), then range will be shifted to 6 to 10"),
               QString(), QStringLiteral("Keyboard shortcut : M")},
              true));
    for (int pane = 2; pane <= 4; ++pane)
        add(window.paneFrame(pane)->copyButton(), lines({QStringLiteral("Copy text to clipboard")}, true));
    for (int pane = 2; pane <= 4; ++pane)
        add(window.paneFrame(pane)->plusButton(), lines({QStringLiteral("Increase font size")}, true));
    for (int pane = 2; pane <= 4; ++pane)
        add(window.paneFrame(pane)->minusButton(), lines({QStringLiteral("Decrease font size")}, true));
    for (int pane = 2; pane <= 4; ++pane) {
        add(window.paneFrame(pane)->infoButton(),
            lines({QStringLiteral("Last updated date of text or translation displayed in this window and any "
                                  "other info(if any).")},
                  true));
    }
    for (int pane = 2; pane <= 4; ++pane) {
        add(window.paneFrame(pane)->transMenuButton(),
            lines({QStringLiteral("Select text to display in this window")}, true));
    }
    add(panel->modeOption(0),
        lines({QStringLiteral("Range Mode : Recite the current range"), QString(),
               QStringLiteral("Range is set of verses between \"Range Begin\" and \"Range End\" sliders. When a "
                              "sura is opened complete sura is selected as range. you can move \"Range begin\" "
                              "and \"Range end\" sliders to select the range"),
               QString(),
               QStringLiteral("Range mode setup can be used to recite range multiple times, pause after range, "
                              "pause between verses etc.")},
              true));
    add(panel->modeOption(1),
        lines({QStringLiteral("Verse Mode : Recite only current verse"), QString(),
               QStringLiteral("Keyboard shortcut : "),
               QStringLiteral("X - Recite current verse (or click on arabic text or translation window) "),
               QStringLiteral("Z - Recite previous verse"),
               QStringLiteral("C - Recite next verse (or right click Arabic text window)")},
              true));
    add(panel->rangeBeginButton(),
        lines({QStringLiteral("Range Begin slider is used to mark the beginning of Range. "), QString(),
               QStringLiteral("Keyboard shortcut : \"B\"")},
              true));
    add(panel->rangeEndButton(),
        lines({QStringLiteral("Range End slider is used to mark the end of Range. "),
               QStringLiteral("Keyboard shortcut : \"E\""),
               QStringLiteral("\"1-9\" keys can be used to select that much verses from Range Begin")},
              true));
    add(panel->currentVerseButton(),
        lines({QStringLiteral("This slider shows the current verse"), QString(),
               QStringLiteral("Keyboard shortcut : \"V\"")},
              true));
    add(panel->suraBox(), lines({QStringLiteral("Select sura"), QString(), QStringLiteral("Keyboard shortcut : S")}, true));
    add(panel->previousButton(),
        lines({QStringLiteral("Load Previous Sura "), QString(), QStringLiteral("Keyboard shortcut : Page up key")},
              false));
    add(panel->nextButton(),
        lines({QStringLiteral("Load Next Sura "), QString(), QStringLiteral("Keyboard shortcut : Page down key")},
              false));
    add(panel->pauseButton(),
        lines({QStringLiteral("Pause/continue recitation "), QString(), QStringLiteral("Keyboard shortcut : P ")},
              false));
    add(panel->stopButton(), lines({QStringLiteral("Stop recitation ")}, false));
    add(panel->playButton(),
        lines({QStringLiteral("In Range mode : Recite current range"), QStringLiteral("Keyboard shortcut : X"),
               QString(), QStringLiteral("In Verse mode :  Recite current verse "),
               QStringLiteral("Keyboard shortcut : "), QStringLiteral("X - Recite current verse "),
               QStringLiteral("Z - Recite previous verse"), QStringLiteral("C - Recite next verse")},
              false));
    return tip;
}

}  // namespace lumora

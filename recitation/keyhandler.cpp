#include "recitation/keyhandler.h"

#include "recitation/recitationcontroller.h"
#include "recitation/recitationwindow.h"
#include "recitation/speedmodel.h"
#include "recitation/volumemodel.h"

namespace lumora {

namespace {

constexpr int key(char letter) { return static_cast<int>(letter); }

}  // namespace

bool KeyHandler::isShortcut(int keyCode, int shift) {
    const bool ctrlDown = (shift & kCtrlMask) != 0;
    const bool altDown = (shift & kAltMask) != 0;
    switch (keyCode) {
    case kKeyF8: case kKeyF1: case kKeyHome: case kKeyPageUp: case kKeyPageDown: case kKeyAdd: case kKeySubtract:
    case key('S'): case key('L'): case key('K'): case key('P'): case key('C'): case key('X'): case key('Z'):
    case key('M'): case key('N'): case key('V'): case key('B'): case key('E'):
        return true;
    case key('R'):
        return ctrlDown || altDown;
    case key('A'): case key('Y'):
        return altDown;
    default:
        return (keyCode >= key('1') && keyCode <= key('9')) || (keyCode >= kKeyNumpad0 + 1 && keyCode <= kKeyNumpad0 + 9);
    }
}

KeyHandler::KeyHandler(RecitationController& controller, RecitationWindow& window)
    : m_controller(controller), m_window(window) {}

void KeyHandler::formKeyDown(int keyCode, int shift) {
    const bool ctrlDown = (shift & kCtrlMask) != 0;
    const bool altDown = (shift & kAltMask) != 0;

    if (keyCode == kKeyF8) {
        m_window.setMenusVisible(!m_window.menusVisible());
        return;
    }
    if (keyCode == key('R') && ctrlDown) m_window.showRangeModeSetup();
    if (keyCode == key('F') && ctrlDown && !altDown) m_window.showFind();
    if (keyCode == key('H') && !ctrlDown && !altDown) m_window.toggleRecallMode();
    if (keyCode == key('S') && !altDown) m_window.showQuickSuraSelect();
    if (!m_window.layoutSwitchInProgress() && !altDown && (keyCode == key('L') || keyCode == key('K'))) {
        const QString layout = m_window.currentLayout();
        bool numeric = false;
        const int number = layout.toInt(&numeric);
        if (keyCode == key('L')) {
            if (layout == QLatin1String("5"))
                m_window.switchLayout(QStringLiteral("1"));
            else if (numeric)
                m_window.switchLayout(QString::number(number + 1));
        } else {
            if (layout == QLatin1String("1"))
                m_window.switchLayout(QStringLiteral("5"));
            else if (numeric)
                m_window.switchLayout(QString::number(number - 1));
        }
    }

    // The speed keys work with or without a sura.
    if (!ctrlDown && !altDown) {
        if (keyCode == kKeyOpenBracket) m_controller.speed().stepBy(-1);
        if (keyCode == kKeyCloseBracket) m_controller.speed().stepBy(1);
        if (keyCode == kKeyBackslash) m_controller.speed().setHundredths(SpeedModel::kNormal);
    }

    // Everything below needs a loaded sura.
    if (m_controller.sura() == 0) return;

    if (keyCode == key('P') && !altDown) {
        m_controller.pauseOrContinue();
    } else {
        if (keyCode == key('W') && !ctrlDown && !altDown) m_window.revealRecallHint();
        if (altDown) {
            switch (keyCode) {
            case key('R'): m_controller.setMode(RecitationMode::Range); break;
            case key('V'): m_controller.setMode(RecitationMode::Verse); break;
            case key('A'): m_window.togglePane(1); break;
            case key('P'): m_window.togglePane(2); break;
            case key('Y'): m_window.togglePane(3); break;
            case key('S'): m_window.togglePane(4); break;
            default: break;
            }
        }

        if (m_controller.isKeyboard()) {
            if (keyCode == key('C'))
                m_controller.stepNextVerse();
            else if (keyCode == key('X'))
                m_controller.startRecitation();
            else if (keyCode == key('Z'))
                m_controller.stepPreviousVerse();
        } else if (keyCode == key('X')) {
            m_controller.startRecitation();
        }

        if (keyCode == key('M')) {
            m_controller.moveRangeForward();
        } else if (keyCode == key('N')) {
            m_controller.moveRangeBackward();
        } else if (keyCode >= key('1') && keyCode <= key('9')) {
            m_controller.setRangeLength(keyCode - key('0'));
        } else if (keyCode >= kKeyNumpad0 + 1 && keyCode <= kKeyNumpad0 + 9) {
            m_controller.setRangeLength(keyCode - kKeyNumpad0);
        } else if (keyCode == key('V') && !altDown) {
            m_controller.openVerseDialog(RecitationController::VerseDialogPurpose::MoveToVerse);
        } else if (keyCode == key('B') && !altDown) {
            m_controller.openVerseDialog(RecitationController::VerseDialogPurpose::SetRangeBegin);
        } else if (keyCode == key('E') && !altDown) {
            m_controller.openVerseDialog(RecitationController::VerseDialogPurpose::SetRangeEnd);
        } else if (keyCode == kKeyHome) {
            m_controller.reciteWholeSura();
        } else if (keyCode == kKeyPageUp) {
            m_controller.previousSura();
        } else if (keyCode == kKeyPageDown) {
            m_controller.nextSura();
        } else if (keyCode == key('G') && !altDown && !ctrlDown) {
            m_window.showWordMeanings();
        }
    }

    if (keyCode == kKeyAdd)
        m_controller.changeVolumeBy(VolumeModel::kKeyStep);
    else if (keyCode == kKeySubtract)
        m_controller.changeVolumeBy(-VolumeModel::kKeyStep);
    else if (keyCode == kKeyF1)
        m_window.showAbout();
}

}  // namespace lumora

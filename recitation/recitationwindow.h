#pragma once
// What the recitation controller and the key handler ask of the main window. The window implements it;
// the core never touches a widget. Every dialog and message box below is modal, and the window lifts its
// always-on-top state before it and restores it afterwards. Calls may re-enter the controller (a dialog
// that hands back a verse calls RecitationController::callSetText while the opener is still on the stack).

#include <QString>

#include "codec/result.h"
#include "recitation/recitationmode.h"

namespace lumora {

class RecitationWindow {
public:
    virtual ~RecitationWindow() = default;

    // A question box with Yes and No buttons; true when the user answers Yes.
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    // Opens Lumora's page about downloading recordings in the default browser.
    virtual void openDownloadPage() = 0;
    // A failure the controller cannot settle itself, e.g. a sura whose timings or texts did not load; the
    // window shows it in a message box and the program goes on.
    virtual void showFailure(const Error& error) = 0;
    // A notice that needs no answer (timings that do not fit the recording, a verse without a recording,
    // timings still to be made): shown in the window without stopping the user, replacing the one before.
    // A window without a place for notices may ignore them.
    virtual void showNotice(const QString& text) { (void)text; }

    // The verse number dialog. caption is "Move to Verse", "Set Range Begin" or "Set Range End"; the two
    // flags say which marker the typed verse sets (neither: the current verse); totalVerseNos is the loaded
    // sura's record count. The dialog hands the typed number and both flags to
    // RecitationController::callSetText.
    virtual void showVerseDialog(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos) = 0;
    // The range mode settings dialog; its OK calls RecitationController::applyRangeSetup.
    virtual void showRangeModeSetup() = 0;
    // The sura number dialog; it selects the sura through RecitationController::selectSura.
    virtual void showQuickSuraSelect() = 0;
    // The About window on its about page.
    virtual void showAbout() = 0;

    // True while a layout switch is running.
    virtual bool layoutSwitchInProgress() const = 0;
    // The layout in use, "1" to "5".
    virtual QString currentLayout() const = 0;
    virtual void switchLayout(const QString& layout) = 0;

    // Shows or hides text pane 1..4 exactly as a click on the pane's display toggle does.
    virtual void togglePane(int pane) = 0;
    // Whether the six top-level menus are shown; setMenusVisible shows or hides all six.
    virtual bool menusVisible() const = 0;
    virtual void setMenusVisible(bool visible) = 0;

    // The mode option buttons show the controller's mode (nothing is started from here).
    virtual void showMode(RecitationMode mode) = 0;
    // The Play button's tool tip: "Recite Range" or "Recite Verse".
    virtual void setPlayToolTip(const QString& text) = 0;
    // The tick ruler under the sliders shows one tick per record up to verses (the sliders' maximum).
    virtual void setRulerVerses(int verses) = 0;
    // G: the meanings of the current verse's words, in a tool tip and as the text pane's accessible
    // description, so the keyboard reaches what hovering over a word shows. A window without word
    // meanings does nothing.
    virtual void showWordMeanings() {}

    // The find dialog (Ctrl+F). A window without one ignores it.
    virtual void showFind() {}
    // Recall mode on or off (H), and its hint (W): the next hidden word shown. A window without recall
    // mode ignores them.
    virtual void toggleRecallMode() {}
    virtual void revealRecallHint() {}
};

}  // namespace lumora

#pragma once
// The recitation controller: the sura load, the sequencer that follows a range verse by verse, the range
// mode policy at the end of a range, navigation, the volume and the verse jumps of the verse dialog and the
// clipboard link. GUI-free: the window shows its models (sura list, three verse sliders, volume), forwards
// clicks, keys (through KeyHandler) and its 1 ms timer (onTimer), and implements RecitationWindow.
//
// Waits (between two verses, after a range, before a policy action) are states with a deadline on the
// Clock, never nested event loops: a wait ends at the first onTimer past its deadline, or as soon as the
// player's pauseBreaked turns true because something started or resumed playing. The between-verses wait
// then steps on only when it ran out (a broken one ends without stepping); the after-range wait always
// carries on with its repeat or policy action. A wait whose range is no longer followed (Stop, verse mode,
// a sura change) is dropped, and a wait does not run out while the user has paused.

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "codec/result.h"
#include "codec/versetimingtable.h"
#include "recitation/rangesettings.h"
#include "recitation/speedmodel.h"
#include "recitation/recitationmode.h"
#include "recitation/suralist.h"
#include "recitation/verseslidermodel.h"
#include "recitation/volumemodel.h"
#include "recordings/surarecording.h"

namespace lumora {

class Clock;
class JoinedFrameIndex;
class Player;
class RecitationWindow;
class SettingsStore;
class VerseTextSink;

class RecitationController : public QObject {
    Q_OBJECT
public:
    enum class WaitKind { None, BetweenVerses, AfterRange, BeforeNextRange, BeforeNextSura, BeforeRestartSura };

    // The question shown when recitation starts on a sura whose recording is missing.
    static const QString kAudioMissingTitle;
    static const QString kAudioMissingText;
    // The notice shown when recitation starts on a sura whose recording has no verse timings.
    static QString timingsMissingText(int sura);

    RecitationController(Player& player, const Clock& clock, RecitationWindow& window, VerseTextSink& texts,
                         QObject* parent = nullptr);
    ~RecitationController() override;

    // --- start-up ---
    // appFolder: the program folder (no trailing "/"), whose data/pos.dat holds the timings;
    // mp3Folder: the recordings' folder, ending with "/".
    void setFolders(const QString& appFolder, const QString& mp3Folder);
    // What the current reciter's folder holds for a sura; installed by the composition root and again
    // whenever the reciter changes. Without a lookup, a sura's recording is mp3Folder + "NNN.mp3" and its
    // timings are those of appFolder/data/pos.dat. Takes effect at the next sura load.
    void setRecordingLookup(std::function<SuraRecording(int sura)> lookup);
    // Takes each sura's record count from the catalogue; before the first sura load.
    void fillVerseNo();
    // Re-marks the sura list's items whose recording is missing.
    void checkMp3();
    Result<void> readRangeSettings(const SettingsStore& store);
    // The range mode dialog's OK: the new values take effect at once (a new count at the next start).
    Result<void> applyRangeSetup(SettingsStore& store, const RangeSetupEntry& entry);
    const RangeSettings& rangeSettings() const { return m_range; }
    void setRangeSettings(const RangeSettings& settings) { m_range = settings; }

    // --- models the window shows ---
    SuraList& suraList() { return m_suraList; }
    // 0 = Range Begin, 1 = Range End (its tag keeps the remembered range length), 2 = current verse.
    VerseSliderModel& slider(int index) { return m_sliders.at(static_cast<size_t>(index)); }
    VerseSliderModel& rangeBegin() { return m_sliders[0]; }
    VerseSliderModel& rangeEnd() { return m_sliders[1]; }
    VerseSliderModel& currentVerseSlider() { return m_sliders[2]; }
    VolumeModel& volume() { return m_volume; }
    // The playback speed; every change reaches the player at once.
    SpeedModel& speed() { return m_speed; }

    // --- state ---
    int32_t currentVerse() const { return m_currentVerse; }
    // Start-up's restore of the last verse; shows nothing by itself (call setText).
    void setCurrentVerse(int32_t record) { m_currentVerse = record; }
    // The loaded sura's recording file; for a per-verse collection, its first file present.
    QString mediaFile() const { return m_mediaFile; }
    // The loaded sura's recording as the lookup described it.
    const SuraRecording& recording() const { return m_recording; }
    // The loaded per-verse collection's files as one stream; nullptr for a per-sura file.
    std::shared_ptr<const JoinedFrameIndex> joinedRecording() const { return m_joined; }
    // True when the loaded sura has a recording but no verse timings anywhere.
    bool timingsMissing() const { return m_timingsMissing; }
    QString suraNumberText() const { return m_suraNumberText; }
    bool isPaused() const { return m_isPaused; }
    int16_t repeatsLeft() const { return m_repeatsLeft; }
    bool loadingSura() const { return m_loadingSura; }
    // The loaded sura 1..114, 0 when none is selected.
    int sura() const { return m_suraList.selectedSura(); }
    // Record count of a sura (VerseNo), 0 before fillVerseNo or outside 1..114.
    int verseNo(int sura) const;
    const std::vector<VerseTiming>& verseTable() const { return m_verseTable; }
    RecitationMode mode() const { return m_mode; }
    bool isAuto() const { return m_mode == RecitationMode::Range; }
    bool isKeyboard() const { return m_mode == RecitationMode::Verse; }
    // True while a range is being followed (the tick runs); otherwise the idle poll runs.
    bool tickEnabled() const { return m_tickEnabled; }
    WaitKind waitKind() const { return m_wait ? m_wait->kind : WaitKind::None; }
    int64_t waitDeadlineMs() const { return m_wait ? m_wait->deadlineMs : 0; }

    // --- actions ---
    // Selects list index -1..113, which loads the sura when the index changes. Refused outside the list.
    Result<void> selectSura(int index);
    // Start recitation (Play button, menu "&Recite", X): continues when paused; otherwise plays the current
    // verse (verse mode) or the range from its begin (range mode), or offers the installed page on adding
    // recordings when the sura's recording is missing.
    void startRecitation();
    // Pause / continue (Pause button, menu "&Pause", P).
    void pauseOrContinue();
    // Stop (Stop button, menu "&Stop"): stops playing, the current verse goes back to Range Begin.
    void stop();
    // Selecting a mode option: stops, sets the Play button's tip and starts recitation in the new mode.
    // Selecting the mode already selected does nothing.
    void setMode(RecitationMode mode);
    // A click in a text pane: 1 recites from the current verse, 2 recites the next verse.
    void playVerse(int mode);
    // Verse mode's C and Z: the next / previous verse within the range (wrapping), then recite.
    void stepNextVerse();
    void stepPreviousVerse();
    // Digits 1..9: Range End = Range Begin + n - 1, then recite.
    void setRangeLength(int verses);
    // Home: the whole sura is the range, the current verse 0, recite.
    void reciteWholeSura();
    void moveRangeForward();
    void moveRangeBackward();
    void nextSura();
    void previousSura();
    enum class VerseDialogPurpose { MoveToVerse, SetRangeBegin, SetRangeEnd };
    // Opens the verse dialog with its caption, flags and the sura's record count; needs a loaded sura.
    void openVerseDialog(VerseDialogPurpose purpose);

    // Volume: the volume menu's item 0..5 (i * 200), the keypad's +/-100, and the slider's own change.
    void setVolumeMenuItem(int index);
    void changeVolumeBy(int32_t delta);
    void applyVolume();

    // The verse dialog's result: verse number v; with rangeBegin sets Range Begin, with rangeEnd sets Range
    // End (and the player's end mark), with neither moves the current verse there and recites from it.
    // Numbers without a record in the loaded sura are refused (nothing changes).
    void callSetText(int verse, bool rangeBegin, bool rangeEnd);
    // Makes verses first..last of the loaded sura the range and recites from first. Refused when either
    // has no record or last lies before first.
    void callSetTextAndRange(int firstVerse, int lastVerse);
    // The clipboard link: selects the reference's sura and calls callSetTextAndRange. False (nothing done)
    // when the text is not a reference or its sura is not in the list.
    bool followVerseReference(const QString& text);
    // The find dialog's choice: selects the sura (loading it unless it is the loaded one) and moves to the
    // verse the way the verse dialog does, reciting from it. A verse outside the current range becomes
    // the range on its own, as a copied reference does, so the range never ends before it starts.
    // False, and nothing changes, when the sura or the verse does not exist.
    bool goToVerse(int sura, int verse);
    // Shows the current verse in the panes and puts its number in the current-verse slider's tip.
    void setText();
    // Loads the selected sura again (its recording changed, as with a new reciter): recitation stops, and
    // the range, the remembered range length, the current verse and the shown verse stay as they were.
    void reloadSura();

    // The window's 1 ms timer: ends a wait that is over, otherwise runs the tick while a range is followed
    // and the idle poll otherwise.
    void onTimer();
    // The tick: steps the current verse when the position passes its end, and at the range end repeats the
    // range or runs the end-of-range policy.
    void tick();
    // The idle poll: a position read, so the player enforces the end mark of a verse played alone.
    void idlePoll();

    // The slot of verse number v in the loaded sura (v - 1 in suras 1 and 9, else v); nullopt when the
    // sura has no such record.
    std::optional<int32_t> verseToRecord(int verse) const;

signals:
    // A sura load has finished (its sliders, texts and recording are in place).
    void suraLoaded();
    void modeChanged(RecitationMode mode);
    // The range ended and is recited again: recitationsLeft counts this one and those after it, 0 when
    // the range repeats without end.
    void rangeRepeating(int recitationsLeft);
    // The range was recited as often as asked; the end-of-range policy takes over.
    void rangeFinished();
    // A wait began: between two verses, after a range or before a policy action, of `seconds` (the verse
    // just recited is still the current verse). waitEnded follows when it is over or dropped, before the
    // step that comes after it.
    void waitStarted(RecitationController::WaitKind kind, int seconds);
    void waitEnded();

private:
    struct Wait {
        WaitKind kind = WaitKind::None;
        int64_t deadlineMs = 0;
        // The position read by the tick that started a between-verses wait; its range end test uses it.
        int32_t positionMs = 0;
    };

    void loadSura();
    SuraRecording recordingFor(int sura) const;
    // Reads the verse table of the loaded sura from its recording's timings; a failure is returned.
    std::optional<Error> loadTimings(int sura, int count);
    void openRecording();
    // Words a notice about the records of first..last that have no recording, once per sura load.
    void noticeSilentRecords(int32_t first, int32_t last);
    void showNotice(const QString& text);
    // A range of a per-verse collection whose every verse is missing: nothing can be heard.
    bool rangeIsSilent() const;
    void onSliderChanged(int index);
    // SetText without repeating the pages when they already show the current verse.
    void showCurrentVerse();
    void setSliderToolTip(int index);
    std::optional<VerseTiming> timing(int32_t record) const;
    // False (nothing plays) when the records have no timings to play by.
    bool play(int32_t startRecord, int32_t endRecord);
    void startFollowing();
    void stopFollowing();
    void startWait(WaitKind kind, int32_t seconds, int32_t positionMs = 0);
    // Drops the wait, if any, and says so.
    void clearWait();
    bool waitIsOver() const;
    void endWait();
    void stepVerse();
    void testRangeEnd(int32_t positionMs);
    void rangeEnded();
    void repeatRange();
    void runPolicy();
    // The range length of the policy and the range moves: the remembered length when above 0, else
    // Range End - Range Begin.
    int32_t rememberedOrCurrentLength() const;
    // The remembered range length kept in Range End's tag, 0 when none.
    int32_t rangeEndTagValue() const;

    Player& m_player;
    const Clock& m_clock;
    RecitationWindow& m_window;
    VerseTextSink& m_texts;

    QString m_appFolder;
    QString m_mp3Folder;
    std::function<SuraRecording(int)> m_recordingLookup;
    SuraRecording m_recording;
    std::shared_ptr<const JoinedFrameIndex> m_joined;
    bool m_timingsMissing = false;
    // Notices already shown since the sura loaded: each is shown once.
    QStringList m_noticesShown;
    std::array<int16_t, 115> m_verseNo{};
    RangeSettings m_range;

    SuraList m_suraList;
    std::array<VerseSliderModel, 3> m_sliders;
    VolumeModel m_volume;
    SpeedModel m_speed;
    std::vector<VerseTiming> m_verseTable;

    int32_t m_currentVerse = 0;
    QString m_mediaFile;
    QString m_suraNumberText;
    bool m_isPaused = false;
    int16_t m_repeatsLeft = 0;
    bool m_loadingSura = false;
    RecitationMode m_mode = RecitationMode::Range;
    bool m_tickEnabled = false;
    std::optional<Wait> m_wait;
    // The slot the panes show, so one action shows a verse once; -1 after a sura load.
    int32_t m_shownSlot = -1;
};

}  // namespace lumora

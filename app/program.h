#pragma once
// The composition root: the one place that builds Lumora's objects and wires them together, runs the
// start-up of the main window step by step (each step numbered 10, 20, 30, ... so a failure names its
// step), the start-up failure path, and the shut-down that keeps the last state for the next run.
//
// Start-up order: program folder; player; pane views cleared; text panes, recitation controller and key
// handler, bound to the window; layout; audio folder; the "load last closed state" option; panel; colours;
// record counts; range settings; equalizer settings; on-screen help; volume; audio marks; clipboard link;
// window shown; equalizer applied; icon; About window; clipboard ready; and, when wanted, the sura, range
// and verse of the last run.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "audio/equalizersettings.h"
#include "codec/result.h"
#include "settings/settingsstore.h"

namespace lumora {

class ClipboardLink;
class Clock;
class KeyHandler;
class MainWindow;
class MprisService;
class VerseTimings;
class PaneTextSink;
class Player;
class RecitationController;
class ReciterList;
class ReciterMenu;
class SoundOutput;
class VerseTextAssignment;
class WindowKeyFilter;

class Program : public QObject {
    Q_OBJECT
public:
    static const QString kApplication;  // "ZI4"
    // The sound output to play through; message: a text for the window to show once (no device found).
    using OutputFactory = std::function<std::unique_ptr<SoundOutput>(std::string& message)>;

    struct Options {
        // The program folder holding data/ and mp3/; made absolute, without a trailing "/". Empty: found
        // beside the executable (ProgramFolder::locate).
        QString programFolder;
        // Where the settings file lives; empty: $XDG_CONFIG_HOME/lumora.
        QString settingsFolder;
        // Empty: the system's sound device, or silence with a message when there is none.
        OutputFactory outputFactory;
        // Null: the steady clock.
        const Clock* clock = nullptr;
        // Offer the media player interfaces on the session bus once start-up has ended (the executable
        // does; a test chooses). Without a bus Lumora runs as before, silently.
        bool desktopBus = false;
    };

    explicit Program(Options options);
    ~Program() override;

    // Runs the start-up steps; the error of the failing step carries its number in `step`.
    Result<void> startUp();
    // The start-up failure path: keeps the settings file as ZI4.ini.bak, deletes every setting of "ZI4",
    // shows the failure message. The caller then ends the program.
    void failStartUp(const Error& error);
    static QString startUpFailureText(const Error& error);
    // Keeps the last state and the layout in use; runs once, when the window closes.
    void shutDown();

    // A text copied to the clipboard by another program: a verse reference moves the player there.
    void followClipboardText(const QString& text);
    // The command line's verse references, or those a later start handed over: raises the window and moves
    // to the first reference that names a verse. Before start-up has ended they wait for its end.
    void openReferences(const QStringList& references);
    // Brings the window to the front, restored when it was minimised.
    void raiseWindow();

    // Makes the reciter current: stores the choice, stops recitation, loads the selected sura again from
    // the new folder (same range and verse) and re-marks the sura list. Refused outside the list.
    Result<void> switchReciter(int index);
    // Re-marks the sura list for the current reciter: audio missing, no timings, audio incomplete.
    void markSuras();

    QString appFolder() const { return m_appFolder; }
    QString mp3Folder() const { return m_mp3Folder; }
    SettingsStore& settings() { return m_settings; }
    MainWindow& window() { return *m_window; }
    ClipboardLink& clipboard() { return *m_clipboard; }
    // Null before the start-up step that creates them.
    Player* player() { return m_player.get(); }
    // Null without a session bus (or without Options::desktopBus).
    MprisService* mpris() { return m_mpris.get(); }
    RecitationController* controller() { return m_controller.get(); }
    VerseTimings* verseTimings() { return m_verseTimings.get(); }
    VerseTextAssignment* texts() { return m_texts.get(); }
    // Null before the start-up step that reads the audio folder.
    ReciterList* reciters() { return m_reciters.get(); }
    const EqualizerSettings& equalizer() const { return m_equalizer; }
    bool clipboardReady() const;
    // The number of the start-up step running or last run (0 before start-up).
    int startUpStep() const { return m_step; }
    bool isShutDown() const { return m_shutDown; }

private:
    Result<void> runSteps();
    Result<void> runStep(int number);
    void startDesktopBus();
    // The display name of the current reciter, empty for the program folder's own unnamed recordings.
    QString reciterName() const;
    Result<void> restoreClosedState();
    // Points the controller at the current reciter's folder and its recordings.
    void useCurrentReciter();

    Options m_options;
    QString m_appFolder;
    QString m_mp3Folder;
    SettingsStore m_settings;
    std::unique_ptr<Clock> m_ownClock;
    const Clock* m_clock = nullptr;
    EqualizerSettings m_equalizer;

    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ClipboardLink> m_clipboard;
    std::unique_ptr<Player> m_player;
    std::unique_ptr<VerseTextAssignment> m_texts;
    std::unique_ptr<PaneTextSink> m_textSink;
    std::unique_ptr<RecitationController> m_controller;
    std::unique_ptr<ReciterList> m_reciters;
    std::unique_ptr<ReciterMenu> m_reciterMenu;
    std::unique_ptr<KeyHandler> m_keys;
    std::unique_ptr<WindowKeyFilter> m_keyFilter;
    std::unique_ptr<MprisService> m_mpris;
    QStringList m_pendingReferences;
    bool m_started = false;
    std::unique_ptr<VerseTimings> m_verseTimings;

    int m_step = 0;
    bool m_failed = false;
    bool m_shutDown = false;
};

}  // namespace lumora

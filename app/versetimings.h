#pragma once
// VerseTimings: the window's Recitation → Verse Timings menu. Import a timing table, find the timings from
// the recording (off the window's thread, with a progress bar and Cancel), mark them by ear while the
// recording plays, and shift a sura's timings by a number of ms. Every change is written for the loaded sura alone into the
// pos.dat of the recordings' folder, never into the program folder's data/, and the sura is then loaded
// again so the panes follow the new times.

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "codec/result.h"
#include "codec/versetimingtable.h"

class QThread;

namespace lumora {

class CommandTable;
class MainWindow;
class Player;
class RecitationController;
struct AutoTiming;

class VerseTimings : public QObject {
    Q_OBJECT
public:
    VerseTimings(MainWindow& window, Player& player, RecitationController& controller, QString appFolder,
                 QObject* parent = nullptr);
    ~VerseTimings() override;

    // The "Verse &Timings" submenu of the Recitation menu and its commands.
    void addCommands(CommandTable& table);

    // The folder whose pos.dat receives the loaded sura's timings: that of its recording.
    QString targetFolder() const;
    // A sura is loaded and its recording is there.
    bool available() const;

    void importTimings();
    void findAutomatically();
    void shiftAll();
    // Opens the dialog that marks the loaded sura's verse starts while its recording plays.
    void markWhileListening();

    // Running automatic timing, for tests: the progress dialog while it runs.
    QProgressDialog* progressDialog() const { return m_progress; }

signals:
    // Automatic timing has ended (found, failed or cancelled) and its outcome has been handled.
    void autoTimingEnded();

private:
    // Writes the sura's records into the target folder's pos.dat and reloads the sura; false after a
    // message when that fails.
    bool store(int sura, const std::vector<VerseTiming>& records);
    void autoTimingFinished();
    void showError(const QString& text);

    MainWindow& m_window;
    Player& m_player;
    RecitationController& m_controller;
    QString m_appFolder;

    // Automatic timing in progress.
    QPointer<QProgressDialog> m_progress;
    QThread* m_worker = nullptr;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_permille{0};
    int m_workSura = 0;
    std::unique_ptr<Result<AutoTiming>> m_workResult;
};

}  // namespace lumora

#pragma once
// MarkingDialog: marks the verse starts of the loaded sura by ear. It plays the sura's recording from a
// chosen verse and the user presses Space as each verse begins. Every action has a key, listed in the
// dialog itself, and works whichever control has the focus:
//   Enter                 play from the chosen verse; while playing, pause; while paused, go on
//   Space                 mark the start of the next verse (snapped to a pause start within 300 ms)
//   Left, Right           move the last mark 10 ms earlier or later (with Shift: 50 ms)
//   R                     replay from 2 s before the last mark
//   Backspace, Ctrl+Z     take the last mark back
//   Ctrl+S                save the sura's table
//   Escape                close, asking first when marks are unsaved
// The recording's pauses are found off the window's thread while the dialog is open; marks made before
// they are known are not snapped.

#include <QDialog>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "codec/versetimingtable.h"
#include "timing/markingsession.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QThread;

namespace lumora {

class Player;

class MarkingDialog : public QDialog {
    Q_OBJECT
public:
    // Writes the sura's records; false when that failed (the saver has told the user why).
    using Saver = std::function<bool(int sura, const std::vector<VerseTiming>& records)>;

    // `player` has the sura's recording open (`recording` is its file, read again for its pauses);
    // `records` is the sura's table as it stands (all zero without timings); marking is offered from
    // `fromRecord`.
    MarkingDialog(Player& player, int sura, QString recording, std::vector<VerseTiming> records, int fromRecord,
                  Saver saver, QWidget* parent = nullptr);
    ~MarkingDialog() override;

    bool snapPointsReady() const { return m_snapReady; }
    // The table with the marks made so far applied.
    std::vector<VerseTiming> records() const;
    // Marks made since the last save (in this or an earlier run from another verse).
    bool modified() const;

signals:
    void snapPointsFound();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    // True when the key is one of the dialog's and was acted on.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void playOrPause();
    void startFrom(int record);
    void markNow();
    void nudge(int32_t deltaMs);
    void undo();
    void replay();
    bool save();
    void updateStatus();
    // The position being heard, in ms of the recording.
    int32_t heardMs();
    // The verse number of a record as the window shows it (one higher in sura 9).
    int verseNumber(int record) const;
    // The player has the recording open (opened here when it had none); false after saying why not.
    bool openStream();
    void playFrom(int32_t startMs);

    Player& m_player;
    const int m_sura;
    const QString m_recording;
    std::vector<VerseTiming> m_records;
    Saver m_saver;
    int64_t m_lengthMs = 0;

    std::vector<int32_t> m_snapPointsMs;
    bool m_snapReady = false;
    QThread* m_analysis = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancelAnalysis;

    std::unique_ptr<MarkingSession> m_session;
    // Marks of an earlier run (from another verse) not yet saved; they are in m_records.
    bool m_earlierUnsaved = false;
    bool m_playing = false;
    QString m_lastAction;

    QSpinBox* m_fromVerse = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_lastMark = nullptr;
    QPushButton* m_play = nullptr;
};

}  // namespace lumora

#include "app/markingdialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>

#include "audio/decodeall.h"
#include "audio/player.h"
#include "timing/autotimer.h"

namespace lumora {

namespace {

// What the pause finding hands back to the window's thread.
struct Analysis {
    std::atomic<bool> cancel{false};
    bool found = false;
    std::vector<int32_t> snapPointsMs;
};

QString seconds(int64_t ms) {
    return QString::number(static_cast<double>(ms) / 1000.0, 'f', 2) + QStringLiteral(" s");
}

// The position shown while playing is refreshed this often: often enough to follow, rarely enough to cost
// nothing.
constexpr int kPositionRefreshMs = 100;

}  // namespace

MarkingDialog::MarkingDialog(Player& player, int sura, QString recording, std::vector<VerseTiming> records,
                             int fromRecord, Saver saver, QWidget* parent)
    : QDialog(parent),
      m_player(player),
      m_sura(sura),
      m_recording(std::move(recording)),
      m_records(std::move(records)),
      m_saver(std::move(saver)),
      m_lengthMs(player.streamLength()) {
    setWindowTitle(QStringLiteral("Mark While Listening: Sura %1").arg(sura));
    const int lastRecord = std::max(0, static_cast<int>(m_records.size()) - 1);

    auto* layout = new QVBoxLayout(this);
    auto* keys = new QLabel(QStringLiteral(
        "<b>Enter</b>: play from the verse chosen; pause; go on<br>"
        "<b>Space</b>: mark the start of the next verse<br>"
        "<b>Left</b> / <b>Right</b>: move the last mark 10 ms earlier / later (with <b>Shift</b>: 50 ms)<br>"
        "<b>R</b>: replay from 2 s before the last mark<br>"
        "<b>Backspace</b> or <b>Ctrl+Z</b>: take the last mark back<br>"
        "<b>Ctrl+S</b>: save &nbsp; <b>Esc</b>: close"));
    keys->setAccessibleName(QStringLiteral("Keys"));
    keys->setAccessibleDescription(keys->text()
                                        .remove(QRegularExpression(QStringLiteral("<[^>]*>")))
                                        .replace(QStringLiteral("&nbsp;"), QStringLiteral(" ")));
    layout->addWidget(keys);

    auto* fromRow = new QHBoxLayout;
    auto* fromLabel = new QLabel(QStringLiteral("&From verse:"));
    m_fromVerse = new QSpinBox;
    m_fromVerse->setRange(verseNumber(0), verseNumber(lastRecord));
    m_fromVerse->setValue(verseNumber(std::clamp(fromRecord, 0, lastRecord)));
    m_fromVerse->setAccessibleName(QStringLiteral("From verse"));
    fromLabel->setAccessibleName(QStringLiteral("From verse"));
    fromLabel->setBuddy(m_fromVerse);
    fromRow->addWidget(fromLabel);
    fromRow->addWidget(m_fromVerse);
    fromRow->addStretch();
    layout->addLayout(fromRow);

    m_status = new QLabel;
    m_status->setAccessibleName(QStringLiteral("Status"));
    QFont big = m_status->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_status->setFont(big);
    layout->addWidget(m_status);
    m_lastMark = new QLabel;
    m_lastMark->setAccessibleName(QStringLiteral("Last mark"));
    layout->addWidget(m_lastMark);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& caption, const QString& name, void (MarkingDialog::*action)()) {
        auto* button = new QPushButton(caption);
        button->setAccessibleName(name);
        // Enter is the dialog's play key wherever the focus is; no button takes it as the default.
        button->setAutoDefault(false);
        if (action != nullptr) connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    m_play = addButton(QStringLiteral("&Play"), QStringLiteral("Play or pause"), &MarkingDialog::playOrPause);
    addButton(QStringLiteral("&Mark"), QStringLiteral("Mark the next verse"), &MarkingDialog::markNow);
    addButton(QStringLiteral("&Replay"), QStringLiteral("Replay from before the last mark"), &MarkingDialog::replay);
    addButton(QStringLiteral("&Undo"), QStringLiteral("Take the last mark back"), &MarkingDialog::undo);
    QPushButton* saveButton = addButton(QStringLiteral("&Save"), QStringLiteral("Save"), nullptr);
    connect(saveButton, &QPushButton::clicked, this, [this] { (void)save(); });
    addButton(QStringLiteral("&Close"), QStringLiteral("Close"), &MarkingDialog::reject);
    layout->addLayout(buttons);

    // The dialog's keys act wherever the focus is: the verse box and the buttons see them first otherwise.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

    auto* refresh = new QTimer(this);
    refresh->setInterval(kPositionRefreshMs);
    connect(refresh, &QTimer::timeout, this, [this] {
        if (m_playing) updateStatus();
    });
    refresh->start();

    // The pauses of the recording, found off the window's thread: decoding a long sura takes seconds.
    auto analysis = std::make_shared<Analysis>();
    m_cancelAnalysis = std::shared_ptr<std::atomic<bool>>(analysis, &analysis->cancel);
    const std::string path = QFile::encodeName(m_recording).toStdString();
    m_analysis = QThread::create([analysis, path] {
        std::optional<AutoTimer> timer;
        const Result<bool> decoded = decodeAll(path, [&](const DecodedBlock& block) {
            if (!timer) timer.emplace(block.sampleRateHz);
            timer->addSamples(block.samples, block.frames, block.channels);
            return !analysis->cancel.load();
        });
        if (decoded && decoded.value() && timer) {
            analysis->snapPointsMs = timer->snapPointsMs();
            analysis->found = true;
        }
    });
    connect(m_analysis, &QThread::finished, this, [this, analysis] {
        m_snapPointsMs = std::move(analysis->snapPointsMs);
        m_snapReady = true;
        if (m_session) m_session->setSnapPoints(m_snapPointsMs);
        if (!analysis->found) m_lastAction = QStringLiteral("The recording's pauses could not be found: marks stay where they are made.");
        updateStatus();
        emit snapPointsFound();
    });
    m_analysis->start();

    m_fromVerse->setFocus();
    updateStatus();
}

MarkingDialog::~MarkingDialog() {
    if (m_playing) m_player.stopPlaying();
    m_cancelAnalysis->store(true);
    QObject::disconnect(m_analysis, nullptr, this, nullptr);
    // The decoding stops at its next block once cancelled.
    m_analysis->wait();
    delete m_analysis;
}

int MarkingDialog::verseNumber(int record) const {
    return record + (m_sura == 9 ? 1 : 0);
}

std::vector<VerseTiming> MarkingDialog::records() const {
    return m_session ? m_session->records() : m_records;
}

bool MarkingDialog::modified() const {
    return m_earlierUnsaved || (m_session && m_session->modified());
}

int32_t MarkingDialog::heardMs() {
    return std::max(0, m_player.getPosition() - Player::kLookAheadMs);
}

void MarkingDialog::updateStatus() {
    const int count = static_cast<int>(m_records.size());
    QString status;
    if (!m_session) {
        status = QStringLiteral("Choose the verse to start from, then press Enter to play.");
    } else if (m_session->nextRecord() >= count) {
        status = QStringLiteral("Every verse is marked. Press Ctrl+S to save.");
    } else {
        status = QStringLiteral("Press Space when verse %1 begins.").arg(verseNumber(m_session->nextRecord()));
    }
    if (m_playing) {
        const bool paused = m_player.isPaused();
        const bool playing = m_player.isPlaying();
        const QString at = seconds(heardMs());
        status += QStringLiteral("\n") + (playing ? QStringLiteral("Playing at %1 of %2")
                                          : paused  ? QStringLiteral("Paused at %1 of %2")
                                                    : QStringLiteral("Stopped at %1 of %2"))
                                             .arg(at, seconds(m_lengthMs));
        m_play->setText(playing ? QStringLiteral("&Pause") : QStringLiteral("&Play"));
    }
    if (!m_snapReady) status += QStringLiteral("\nFinding the pauses of the recording...");
    m_status->setText(status);

    QString last = m_lastAction;
    if (m_session && m_session->lastMarkMs()) {
        if (!last.isEmpty()) last += QLatin1Char('\n');
        last += QStringLiteral("Last mark: verse %1 at %2%3")
                    .arg(verseNumber(m_session->nextRecord() - 1))
                    .arg(seconds(*m_session->lastMarkMs()))
                    .arg(modified() ? QStringLiteral(" (not saved)") : QString());
    }
    m_lastMark->setText(last);
}

bool MarkingDialog::openStream() {
    if (!m_player.hasStream() && !m_player.openMp3File(QFile::encodeName(m_recording).toStdString())) {
        m_lastAction = QStringLiteral("The recording %1 cannot be played.").arg(m_recording);
        m_playing = false;
        return false;
    }
    m_lengthMs = m_player.streamLength();
    return true;
}

void MarkingDialog::playFrom(int32_t startMs) {
    if (!openStream()) return;
    // The player stops when the position (which runs the look-ahead ahead of the sound) reaches the end
    // mark, so an end mark of the stream's length plus the look-ahead plays the recording to its last
    // sample. An end mark of 0 would stop it at once.
    const int32_t endMark = static_cast<int32_t>(
        std::min<int64_t>(m_lengthMs + Player::kLookAheadMs, std::numeric_limits<int32_t>::max()));
    if (startMs <= 0) m_player.setPositionInSec(0);
    m_player.play(startMs, endMark);
    m_playing = true;
}

void MarkingDialog::startFrom(int record) {
    if (m_records.empty() || !openStream()) return;
    record = std::clamp(record, 0, static_cast<int>(m_records.size()) - 1);
    if (m_session && m_session->markCount() > 0 && record == m_session->nextRecord()) {
        // Going on where marking stopped.
        playFrom(m_session->replayFromMs());
        return;
    }
    if (m_session) {
        // The marks made so far stay in the table the new run starts from, and still wait to be saved.
        m_earlierUnsaved = modified();
        m_records = m_session->records();
    }
    m_session = std::make_unique<MarkingSession>(m_records, record, m_snapPointsMs, m_lengthMs);
    // Playing begins a little before the verse, at its start as far as the table knows it (a verse
    // without timings starts no earlier than a verse before it).
    int32_t knownStartMs = 0;
    for (int k = 0; k <= record; ++k) knownStartMs = std::max(knownStartMs, m_records[static_cast<size_t>(k)].startMs);
    playFrom(record == 0 ? 0 : std::max(0, knownStartMs - MarkingSession::kReplayLeadMs));
}

void MarkingDialog::playOrPause() {
    const int chosen = m_fromVerse->value() - verseNumber(0);
    const bool sameRun = m_session && (chosen == m_session->nextRecord() - m_session->markCount() ||
                                       chosen == m_session->nextRecord());
    if (m_playing && sameRun && m_player.isPlaying()) {
        m_player.pausePlaying();
    } else if (m_playing && sameRun && m_player.isPaused()) {
        m_player.resumePlaying();
    } else {
        m_lastAction.clear();
        startFrom(chosen);
    }
    updateStatus();
}

void MarkingDialog::markNow() {
    if (!m_session || !m_playing) return;
    const int record = m_session->nextRecord();
    const int32_t heard = heardMs();
    if (record >= static_cast<int>(m_records.size())) {
        m_lastAction = QStringLiteral("Every verse is already marked.");
    } else if (const std::optional<int32_t> made = m_session->mark(heard)) {
        m_lastAction = QStringLiteral("Verse %1 marked at %2%3")
                           .arg(verseNumber(record))
                           .arg(seconds(*made))
                           .arg(*made != heard ? QStringLiteral(" (moved %1 ms to the pause)").arg(*made - heard)
                                               : QString());
    } else {
        m_lastAction = QStringLiteral("Not marked: too soon after the last mark.");
    }
    updateStatus();
}

void MarkingDialog::nudge(int32_t deltaMs) {
    if (!m_session || !m_session->nudge(deltaMs)) return;
    m_lastAction = QStringLiteral("Moved the last mark %1 ms %2.")
                       .arg(std::abs(deltaMs))
                       .arg(deltaMs < 0 ? QStringLiteral("earlier") : QStringLiteral("later"));
    updateStatus();
}

void MarkingDialog::undo() {
    if (!m_session) return;
    const int record = m_session->nextRecord() - 1;
    if (!m_session->undo()) return;
    m_lastAction = QStringLiteral("The mark of verse %1 is taken back.").arg(verseNumber(record));
    updateStatus();
}

void MarkingDialog::replay() {
    if (!m_session) return;
    playFrom(m_session->replayFromMs());
    updateStatus();
}

bool MarkingDialog::save() {
    if (!modified()) {
        m_lastAction = QStringLiteral("No new marks to save.");
        updateStatus();
        return true;
    }
    if (!m_saver) return false;
    const std::vector<VerseTiming> table = records();
    // Saving loads the sura again with its new timings, which ends playing.
    if (m_playing) m_player.stopPlaying();
    m_playing = false;
    m_play->setText(QStringLiteral("&Play"));
    if (!m_saver(m_sura, table)) {
        updateStatus();
        return false;
    }
    m_records = table;
    m_earlierUnsaved = false;
    if (m_session) {
        m_session->markSaved();
        // Enter goes on from the next verse to mark.
        if (m_session->nextRecord() < static_cast<int>(m_records.size()))
            m_fromVerse->setValue(verseNumber(m_session->nextRecord()));
    }
    m_lastAction = QStringLiteral("The timings of sura %1 are saved.").arg(m_sura);
    updateStatus();
    return true;
}

bool MarkingDialog::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    const bool hasMark = m_session && m_session->markCount() > 0;
    switch (key) {
        case Qt::Key_Space:
            if (modifiers != Qt::NoModifier) return false;
            markNow();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (modifiers != Qt::NoModifier) return false;
            playOrPause();
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            // Without a mark the arrows stay with the control that has the focus.
            if (!hasMark || (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)) return false;
            const int32_t step = modifiers == Qt::ShiftModifier ? 50 : 10;
            nudge(key == Qt::Key_Left ? -step : step);
            return true;
        }
        case Qt::Key_R:
            if (modifiers != Qt::NoModifier) return false;
            replay();
            return true;
        case Qt::Key_Backspace:
            if (!hasMark || modifiers != Qt::NoModifier) return false;
            undo();
            return true;
        case Qt::Key_Z:
            if (modifiers != Qt::ControlModifier) return false;
            undo();
            return true;
        case Qt::Key_S:
            if (modifiers != Qt::ControlModifier) return false;
            save();
            return true;
        default:
            return false;
    }
}

bool MarkingDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The verse box would take Ctrl+Z and Ctrl+S as its own editing shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == Qt::ControlModifier && (key->key() == Qt::Key_Z || key->key() == Qt::Key_S)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key(), key->modifiers())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void MarkingDialog::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event->key(), event->modifiers())) QDialog::keyPressEvent(event);
}

void MarkingDialog::reject() {
    if (modified()) {
        const auto answer = QMessageBox::question(
            this, windowTitle(),
            QStringLiteral("The new verse marks of sura %1 are not saved. Save them before closing?").arg(m_sura),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel || answer == QMessageBox::NoButton) return;
        if (answer == QMessageBox::Save && !save()) return;
    }
    if (m_playing) m_player.stopPlaying();
    m_playing = false;
    m_cancelAnalysis->store(true);
    QDialog::reject();
}

}  // namespace lumora

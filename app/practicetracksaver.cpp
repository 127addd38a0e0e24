#include "app/practicetracksaver.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/mainwindow.h"
#include "audio/audioencoder.h"
#include "audio/equalizersettings.h"
#include "audio/joinedframeindex.h"
#include "recitation/recitationcontroller.h"
#include "recitation/speedmodel.h"

namespace lumora {

namespace {

const QString kCaption = QStringLiteral("Save Practice Track");
const QString kMp3Filter = QStringLiteral("MP3 file (*.mp3)");
const QString kOpusFilter = QStringLiteral("Opus file (*.opus)");

}  // namespace

PracticeTrackSaver::PracticeTrackSaver(MainWindow& window, const EqualizerSettings& equalizer)
    : QObject(&window), m_window(window), m_equalizer(equalizer) {}

QString PracticeTrackSaver::summary(int sura, const QString& firstVerse, const QString& lastVerse, int repeat,
                                    int speedHundredths) {
    QString text = firstVerse == lastVerse
                       ? QStringLiteral("Sura %1, verse %2").arg(sura).arg(firstVerse)
                       : QStringLiteral("Sura %1, verses %2 to %3").arg(sura).arg(firstVerse, lastVerse);
    text += repeat <= 1 ? QStringLiteral(", once") : QStringLiteral(", %1 times").arg(repeat);
    text += QStringLiteral(", at %1.").arg(SpeedModel::text(speedHundredths));
    if (repeat == 0) {
        text += QStringLiteral("\nRange mode repeats this range without end; the track holds it once.");
    }
    return text;
}

void PracticeTrackSaver::save() {
    RecitationController* controller = m_window.controller();
    if (controller == nullptr || controller->sura() == 0) {
        return;
    }
    const QString recording = controller->mediaFile();
    if (recording.isEmpty() || !QFileInfo(recording).isFile()) {
        m_window.showMessage(kCaption, QStringLiteral("This sura has no recording to make a practice track from."),
                             false);
        return;
    }
    const int32_t begin = controller->rangeBegin().value();
    const int32_t end = controller->rangeEnd().value();
    if (begin > end) {
        m_window.showMessage(QStringLiteral("Incorrect Range"),
                             QStringLiteral("Range Begin should be less than or equal to Range End"), false);
        return;
    }
    const std::vector<VerseTiming>& table = controller->verseTable();
    if (begin < 0 || end >= static_cast<int32_t>(table.size())) {
        return;
    }
    PracticeTrackSpec spec;
    spec.recordingPath = recording.toStdString();
    // A per-verse sura's times are those of its files joined; mediaFile() is only the first of them.
    if (const std::shared_ptr<const JoinedFrameIndex> joined = controller->joinedRecording()) {
        for (const JoinedFrameIndex::Part& part : joined->parts()) {
            spec.recordingParts.push_back(part.path);
        }
    }
    for (int32_t record = begin; record <= end; ++record) {
        spec.verses.push_back({table[static_cast<size_t>(record)].startMs, table[static_cast<size_t>(record)].endMs});
    }
    const RangeSettings& range = controller->rangeSettings();
    spec.repeat = range.noofTimes;
    spec.pauseBetweenVersesSeconds = range.pauseBetweenVerses;
    spec.pauseAfterRangeSeconds = range.pause;
    spec.speed = controller->speed().factor();
    spec.equalizerEnabled = m_equalizer.enabled;
    spec.gainsDb = m_equalizer.gainsDb;

    const QString first = controller->rangeBegin().toolTipText().isEmpty()
                              ? QString::number(controller->sura() == 9 ? begin + 1 : begin)
                              : controller->rangeBegin().toolTipText();
    const QString last = controller->rangeEnd().toolTipText().isEmpty()
                             ? QString::number(controller->sura() == 9 ? end + 1 : end)
                             : controller->rangeEnd().toolTipText();
    const QString proposed = QStringLiteral("%1-%2-%3 practice.mp3")
                                 .arg(controller->suraNumberText(), first.rightJustified(3, QLatin1Char('0')),
                                      last.rightJustified(3, QLatin1Char('0')));
    const std::optional<QString> path = chooseFile(proposed);
    if (!path) {
        return;
    }
    write(spec, *path, summary(controller->sura(), first, last, spec.repeat, controller->speed().hundredths()));
}

std::optional<QString> PracticeTrackSaver::chooseFile(const QString& proposedName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    m_window.adjustTopMost(false);
    QFileDialog dialog(&m_window, kCaption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kMp3Filter, kOpusFilter});
    dialog.setDirectory(folder);
    dialog.selectFile(proposedName);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    m_window.adjustTopMost(true);
    if (!chosen) {
        return std::nullopt;
    }
    QString path = dialog.selectedFiles().constFirst();
    // The format follows the name; a name without one of the two endings gets the chosen filter's. The
    // dialog asked about replacing the name as typed, so a file of the completed name is asked about here.
    if (!AudioEncoder::knowsFileName(path.toStdString())) {
        path += dialog.selectedNameFilter() == kOpusFilter ? QStringLiteral(".opus") : QStringLiteral(".mp3");
        if (QFileInfo::exists(path) &&
            !m_window.askYesNo(kCaption, QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                             .arg(QFileInfo(path).fileName()))) {
            return std::nullopt;
        }
    }
    return path;
}

void PracticeTrackSaver::write(const PracticeTrackSpec& spec, const QString& path, const QString& summaryText) {
    std::atomic<int> permille{0};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> finished{false};
    Result<void> result;
    const std::string target = path.toStdString();
    std::thread worker([&] {
        result = PracticeTrack::write(spec, target, [&](double done) {
            permille.store(static_cast<int>(done * 1000.0));
            return !cancelled.load();
        });
        finished.store(true);
    });

    m_window.adjustTopMost(false);
    QProgressDialog progress(summaryText, QStringLiteral("Cancel"), 0, 1000, &m_window);
    progress.setWindowTitle(kCaption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    QTimer poll;
    poll.setInterval(30);
    connect(&poll, &QTimer::timeout, &progress, [&] {
        progress.setValue(permille.load());
        if (finished.load()) {
            progress.accept();
        }
    });
    connect(&progress, &QProgressDialog::canceled, &progress, [&] { cancelled.store(true); });
    poll.start();
    if (progress.exec() != QDialog::Accepted) {
        cancelled.store(true);
    }
    poll.stop();
    worker.join();
    m_window.adjustTopMost(true);
    if (!result && result.error().number != PracticeTrack::kCancelled) {
        m_window.showMessage(kCaption,
                             QStringLiteral("The practice track was not written.\n%1")
                                 .arg(QString::fromStdString(result.error().description)),
                             true);
    }
}

}  // namespace lumora

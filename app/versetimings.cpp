#include "app/versetimings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>
#include <optional>

#include "app/commandtable.h"
#include "app/mainwindow.h"
#include "app/markingdialog.h"
#include "audio/decodeall.h"
#include "audio/mp3frameindex.h"
#include "audio/player.h"
#include "codec/suracatalogue.h"
#include "recitation/recitationcontroller.h"
#include "text/arabictext.h"
#include "timing/autotimer.h"
#include "timing/posarchive.h"
#include "timing/timingfiles.h"

namespace lumora {

namespace {

const QString kTitle = QStringLiteral("Verse Timings");

// The file dialog's filters, each with the format it reads.
struct FormatFilter {
    TimingFormat format;
    const char* filter;
};
constexpr FormatFilter kFilters[] = {
    {TimingFormat::kSqlite, "Timing databases (*.db *.sqlite *.sqlite3)"},
    {TimingFormat::kJson, "JSON timings (*.json)"},
    {TimingFormat::kCsv, "CSV rows sura,verse,start_ms,end_ms (*.csv)"},
    {TimingFormat::kLabels, "Label tracks (*.txt)"},
    {TimingFormat::kLrc, "LRC files (*.lrc)"},
};

std::optional<int64_t> recordingLength(const QString& path) {
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(QFile::encodeName(path).toStdString());
    if (!index) return std::nullopt;
    return index.value().lengthMs();
}

// The verse numbers of records as the window shows them (one higher in sura 9).
QString verseList(int sura, const std::vector<int>& records) {
    QStringList numbers;
    for (const int record : records) {
        numbers.append(QString::number(record + (sura == 9 ? 1 : 0)));
        if (numbers.size() == 12) {
            numbers.append(QStringLiteral("..."));
            break;
        }
    }
    return numbers.join(QStringLiteral(", "));
}

}  // namespace

VerseTimings::VerseTimings(MainWindow& window, Player& player, RecitationController& controller, QString appFolder,
                           QObject* parent)
    : QObject(parent), m_window(window), m_player(player), m_controller(controller), m_appFolder(std::move(appFolder)) {}

VerseTimings::~VerseTimings() {
    if (m_worker != nullptr) {
        m_cancel = true;
        m_worker->wait();
    }
}

void VerseTimings::addCommands(CommandTable& table) {
    const QString menu = QStringLiteral("Recitation/Verse Timings");
    table.addSubmenu(QStringLiteral("Recitation"), QStringLiteral("Verse &Timings"), {}, true);
    const auto add = [&](const QString& caption, void (VerseTimings::*action)()) {
        CommandTable::Command command;
        command.menu = menu;
        command.caption = caption;
        command.handler = [this, action] { (this->*action)(); };
        command.enabled = [this] { return available() && m_worker == nullptr; };
        table.add(std::move(command));
    };
    add(QStringLiteral("&Import..."), &VerseTimings::importTimings);
    add(QStringLiteral("&Find Automatically..."), &VerseTimings::findAutomatically);
    add(QStringLiteral("&Mark While Listening..."), &VerseTimings::markWhileListening);
    add(QStringLiteral("&Shift All..."), &VerseTimings::shiftAll);
}

QString VerseTimings::targetFolder() const {
    return QFileInfo(m_controller.mediaFile()).absolutePath();
}

bool VerseTimings::available() const {
    return m_controller.sura() != 0 && QFileInfo(m_controller.mediaFile()).isFile();
}

void VerseTimings::showError(const QString& text) {
    m_window.showMessage(kTitle, text, true);
}

bool VerseTimings::store(int sura, const std::vector<VerseTiming>& records) {
    const QString folder = targetFolder();
    // The program folder's own data belongs to the installation; user timings live beside the recordings.
    if (QDir::cleanPath(folder) == QDir::cleanPath(m_appFolder + QStringLiteral("/data"))) {
        showError(QStringLiteral("The timings are not written into the program's data folder %1.").arg(folder));
        return false;
    }
    const std::string archive = PosArchive::pathIn(QFile::encodeName(folder).toStdString());
    const Result<void> written = PosArchive::writeSuras(archive, {{sura, records}});
    if (!written) {
        showError(QString::fromStdString(written.error().description));
        return false;
    }
    m_controller.stop();
    m_controller.reloadSura();
    return true;
}

void VerseTimings::importTimings() {
    if (!available()) return;
    const int sura = m_controller.sura();
    QStringList filters;
    for (const FormatFilter& entry : kFilters) filters.append(QString::fromLatin1(entry.filter));
    m_window.adjustTopMost(false);
    QFileDialog dialog(&m_window, QStringLiteral("Import Verse Timings for Sura %1").arg(sura), targetFolder());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    m_window.adjustTopMost(true);
    if (!chosen) return;
    const QString file = dialog.selectedFiles().constFirst();
    // The file's ending names its format; a file without a known ending is read as the filter chosen says.
    const QString suffix = QFileInfo(file).suffix().toLower();
    const int filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    TimingFormat format = filterIndex >= 0 ? kFilters[filterIndex].format : TimingFormat::kCsv;
    if (suffix == QLatin1String("db") || suffix.startsWith(QLatin1String("sqlite"))) format = TimingFormat::kSqlite;
    if (suffix == QLatin1String("json")) format = TimingFormat::kJson;
    if (suffix == QLatin1String("csv")) format = TimingFormat::kCsv;
    if (suffix == QLatin1String("txt")) format = TimingFormat::kLabels;
    if (suffix == QLatin1String("lrc")) format = TimingFormat::kLrc;

    ImportOptions options;
    options.sura = sura;
    const QString recording = m_controller.mediaFile();
    options.recordingLength = [recording](int) { return recordingLength(recording); };
    const Result<SuraTimings> timings = TimingFiles::import(format, QFile::encodeName(file).toStdString(), options);
    if (!timings) {
        showError(QString::fromStdString(timings.error().description) +
                  QStringLiteral("\n\nNothing was changed."));
        return;
    }
    store(sura, timings.value().at(sura));
}

void VerseTimings::findAutomatically() {
    if (!available() || m_worker != nullptr) return;
    const int sura = m_controller.sura();
    const Result<QStringList> texts = ArabicText::recordTexts(m_appFolder, sura);
    if (!texts) {
        showError(QStringLiteral("The verses cannot be weighed without their Arabic text: %1")
                      .arg(QString::fromStdString(texts.error().description)));
        return;
    }
    std::vector<double> weights;
    for (const QString& text : texts.value()) weights.push_back(AutoTimer::textWeight(text));

    m_workSura = sura;
    m_cancel = false;
    m_workResult.reset();
    const std::string path = QFile::encodeName(m_controller.mediaFile()).toStdString();
    m_progress = new QProgressDialog(QStringLiteral("Finding the verses of sura %1 in its recording...").arg(sura),
                                     QStringLiteral("Cancel"), 0, 1000, &m_window);
    m_progress->setWindowTitle(kTitle);
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    connect(m_progress, &QProgressDialog::canceled, this, [this] { m_cancel = true; });
    m_progress->show();

    m_worker = QThread::create([this, path, weights] {
        std::optional<AutoTimer> timer;
        int lastPermille = -1;
        const Result<bool> decoded = decodeAll(path, [&](const DecodedBlock& block) {
            if (!timer) timer.emplace(block.sampleRateHz);
            timer->addSamples(block.samples, block.frames, block.channels);
            const int permille = static_cast<int>(block.fractionDone * 950);
            if (permille != lastPermille) {
                lastPermille = permille;
                QMetaObject::invokeMethod(this, [this, permille] {
                    if (m_progress) m_progress->setValue(permille);
                });
            }
            return !m_cancel.load();
        });
        if (!decoded) {
            m_workResult = std::make_unique<Result<AutoTiming>>(decoded.error());
        } else if (decoded.value() && timer) {
            m_workResult = std::make_unique<Result<AutoTiming>>(timer->finish(weights));
        } else if (decoded.value()) {
            m_workResult = std::make_unique<Result<AutoTiming>>(Error{5, "AutoTimer", "the recording holds no sound"});
        }
    });
    connect(m_worker, &QThread::finished, this, &VerseTimings::autoTimingFinished);
    m_worker->start();
}

void VerseTimings::autoTimingFinished() {
    m_worker->deleteLater();
    m_worker = nullptr;
    if (m_progress) m_progress->deleteLater();
    const std::unique_ptr<Result<AutoTiming>> result = std::move(m_workResult);
    const int sura = m_workSura;
    if (result && !*result) {
        showError(QStringLiteral("The verses of sura %1 could not be found in its recording: %2")
                      .arg(sura)
                      .arg(QString::fromStdString(result->error().description)));
    } else if (result && m_controller.sura() == sura) {
        const AutoTiming& timing = result->value();
        std::vector<int> uncertain;
        for (size_t record = 0; record < timing.uncertain.size(); ++record) {
            if (timing.uncertain[record]) uncertain.push_back(static_cast<int>(record));
        }
        QString text = QStringLiteral("Timings were found for the %1 verses of sura %2.").arg(timing.records.size()).arg(sura);
        if (!uncertain.empty()) {
            text += QStringLiteral("\nUncertain: verse %1; check them with Mark While Listening.")
                        .arg(verseList(sura, uncertain));
        }
        text += QStringLiteral("\n\nSave them, replacing the sura's timings?");
        m_window.adjustTopMost(false);
        const auto answer = QMessageBox::question(&m_window, kTitle, text, QMessageBox::Yes | QMessageBox::No);
        m_window.adjustTopMost(true);
        if (answer == QMessageBox::Yes) store(sura, timing.records);
    }
    emit autoTimingEnded();
}

void VerseTimings::shiftAll() {
    if (!available()) return;
    const int sura = m_controller.sura();
    m_window.adjustTopMost(false);
    bool accepted = false;
    const int deltaMs = QInputDialog::getInt(
        &m_window, kTitle,
        QStringLiteral("Move every verse mark of sura %1 by this many milliseconds\n"
                       "(negative: earlier; for a recording re-encoded with another start):")
            .arg(sura),
        0, -3600000, 3600000, 10, &accepted);
    m_window.adjustTopMost(true);
    if (!accepted || deltaMs == 0) return;
    store(sura, PosArchive::shifted(m_controller.verseTable(), deltaMs));
}

void VerseTimings::markWhileListening() {
    if (!available()) return;
    const int sura = m_controller.sura();
    if (m_controller.joinedRecording()) {
        showError(QStringLiteral("Sura %1 is recorded one file per verse: each verse is timed by its own file.").arg(sura));
        return;
    }
    // Marking is offered from the verse the window shows; the window stops following, so the dialog has
    // the player to itself until it closes.
    const int fromRecord = std::max(0, m_controller.currentVerse());
    m_controller.stop();
    m_window.adjustTopMost(false);
    MarkingDialog dialog(m_player, sura, m_controller.mediaFile(), m_controller.verseTable(), fromRecord,
                         [this](int markedSura, const std::vector<VerseTiming>& records) {
                             return store(markedSura, records);
                         },
                         &m_window);
    dialog.exec();
    m_window.adjustTopMost(true);
}

}  // namespace lumora

// How late the shown verse changes: a long recording of the sample program folder is recited in real time
// to the null output as sura 2 with 250 ms records (many steps in a short run), driven by a 1 ms precise
// timer as in the window. At every verse step the position being
// heard (plus the 200 ms look-ahead) is compared with the end time of the verse left: the difference is
// how far behind the look-ahead point the change came. Beside it, in the same run, the lateness of the
// 1 ms timer itself, which bounds what the tick can do. Target: p99 <= 2 ms.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "audio/nulloutput.h"
#include "audio/player.h"
#include "codec/archivewriter.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "recitation/clock.h"
#include "recitation/recitationcontroller.h"
#include "recitation/recitationwindow.h"
#include "recitation/versetextsink.h"
#include "silentwindow.h"

namespace {

using namespace lumora;

constexpr int kSura = 2;
constexpr int32_t kRecordMs = 250;
constexpr int kMaxSteps = 150;
constexpr qint64 kMaxRunMs = 40000;

// Takes the lateness of every verse step as the controller shows the new verse.
class LatenessProbe : public VerseTextSink {
public:
    explicit LatenessProbe(Player& player) : m_player(player) {}
    Result<void> loadSuraTexts(int, int) override { return {}; }
    void setText(int slot) override {
        if (!m_measuring || slot != m_lastSlot + 1 || m_table == nullptr) {
            m_lastSlot = slot;
            return;
        }
        const double heardMs = static_cast<double>(m_player.heardSample()) * 1000.0 / m_rateHz;
        const double lookAheadPointMs = (*m_table)[static_cast<size_t>(m_lastSlot)].endMs;
        lateMs.push_back(heardMs + Player::kLookAheadMs - lookAheadPointMs);
        m_lastSlot = slot;
    }
    void startMeasuring(const std::vector<VerseTiming>& table, int rateHz, int firstSlot) {
        m_table = &table;
        m_rateHz = rateHz;
        m_lastSlot = firstSlot;
        m_measuring = true;
    }
    std::vector<double> lateMs;

private:
    Player& m_player;
    const std::vector<VerseTiming>* m_table = nullptr;
    int m_rateHz = 1;
    int m_lastSlot = -1;
    bool m_measuring = false;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(p / 100.0 * static_cast<double>(values.size())));
    return values[at];
}

}  // namespace

// The sample folder's longest recording as 002.mp3, and a pos.dat giving sura 2 records of kRecordMs.
bool makeProgramFolder(const QString& sample, const QString& folder) {
    QString longest;
    qint64 longestBytes = 0;
    for (const QFileInfo& file : QDir(sample + "/mp3").entryInfoList({"*.mp3"}, QDir::Files)) {
        if (file.size() > longestBytes) {
            longest = file.filePath();
            longestBytes = file.size();
        }
    }
    if (longest.isEmpty() || !QDir(folder).mkpath("data") || !QDir(folder).mkpath("mp3") ||
        !QFile::copy(longest, folder + "/mp3/002.mp3"))
        return false;
    std::vector<VerseTiming> records;
    for (int32_t r = 0; r < SuraCatalogue::verseNo(kSura); ++r) records.push_back({r * kRecordMs, (r + 1) * kRecordMs});
    ArchiveWriter pos;
    pos.addEntry(VerseTimingTable::entryName(kSura), VerseTimingTable::encode(records), true);
    return pos.write((folder + "/data/pos.dat").toStdString()).ok();
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString environment = qEnvironmentVariable("LUMORA_PROGRAM_FOLDER");
    const QString sample = environment.isEmpty() ? QStringLiteral(LUMORA_DEFAULT_PROGRAM_FOLDER) : environment;
    QTemporaryDir scratch;
    const QString folder = scratch.path();
    if (!makeProgramFolder(sample, folder)) {
        std::fprintf(stderr, "no recording in the sample program folder %s (build the data folder first)\n",
                     qPrintable(sample));
        return 1;
    }

    SteadyClock clock;
    Player player(std::make_unique<NullOutput>(NullOutput::Mode::RealTime));
    bench::SilentWindow window;
    LatenessProbe probe(player);
    RecitationController controller(player, clock, window, probe);
    controller.setFolders(folder, folder + "/mp3/");
    controller.fillVerseNo();
    controller.checkMp3();
    RangeSettings settings;
    settings.nextRange = false;
    settings.nextSura = false;
    controller.setRangeSettings(settings);

    const int sura = kSura;
    (void)controller.selectSura(sura - 1);
    probe.startMeasuring(controller.verseTable(), player.frameIndex()->sampleRateHz(), 0);
    controller.startRecitation();

    std::vector<double> timerLateMs;
    QElapsedTimer sinceLast;
    QElapsedTimer run;
    run.start();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (sinceLast.isValid()) timerLateMs.push_back(static_cast<double>(sinceLast.nsecsElapsed()) / 1e6 - 1.0);
        sinceLast.start();
        controller.onTimer();
        if (!controller.tickEnabled() || static_cast<int>(probe.lateMs.size()) >= kMaxSteps || run.elapsed() > kMaxRunMs)
            app.quit();
    });
    timer.start();
    app.exec();

    if (probe.lateMs.empty()) {
        std::fprintf(stderr, "no verse step was made\n");
        return 1;
    }
    std::printf("verse-change lateness behind the look-ahead point, sura %d, %zu steps in real time:\n", sura,
                probe.lateMs.size());
    std::printf("  p50 %.2f ms  p99 %.2f ms  max %.2f ms   (target p99 <= 2 ms)\n", percentile(probe.lateMs, 50),
                percentile(probe.lateMs, 99), percentile(probe.lateMs, 100));
    std::printf("baseline, the 1 ms timer's own lateness over %zu periods:\n", timerLateMs.size());
    std::printf("  p50 %.2f ms  p99 %.2f ms  max %.2f ms\n", percentile(timerLateMs, 50), percentile(timerLateMs, 99),
                percentile(timerLateMs, 100));
    std::printf("ratio p99 lateness / p99 timer lateness: %.2f\n",
                percentile(probe.lateMs, 99) / std::max(0.01, percentile(timerLateMs, 99)));
    return 0;
}

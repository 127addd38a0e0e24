// Lumora's start-up and memory beside an empty Qt window started the same way, in one run:
// - the time from starting the process to a shown window, with the last run's sura (2) restored;
// - the resident memory once that window is shown with sura 2 loaded.
// Each figure is the median of several runs of a fresh process, alternating the two programs, with the best
// run of each beside it (the machine's other work slows single runs). Both run on the offscreen platform,
// Lumora over the silent sound output, so neither waits for a device.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/mainwindow.h"
#include "app/program.h"
#include "audio/nulloutput.h"
#include "recitation/recitationcontroller.h"
#include "settings/settingsstore.h"

namespace {

constexpr int kRuns = 11;

QString programFolder() {
    const QString fromEnvironment = qEnvironmentVariable("LUMORA_PROGRAM_FOLDER");
    return fromEnvironment.isEmpty() ? QStringLiteral(LUMORA_DEFAULT_PROGRAM_FOLDER) : fromEnvironment;
}

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void waitUntilShown(QWidget& window) {
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
}

int runEmptyWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    waitUntilShown(window);
    std::printf("rss_kb %ld\n", residentKb());
    return 0;
}

int runLumora(int argc, char** argv, const QString& settingsFolder) {
    QApplication application(argc, argv);
    lumora::Program::Options options;
    options.programFolder = programFolder();
    options.settingsFolder = settingsFolder;
    options.outputFactory = [](std::string&) {
        return std::make_unique<lumora::NullOutput>(lumora::NullOutput::Mode::RealTime);
    };
    lumora::Program program(options);
    if (!program.startUp().ok() || program.controller()->sura() != 2)
        return 3;
    waitUntilShown(program.window());
    std::printf("rss_kb %ld\n", residentKb());
    return 0;
}

struct Sample {
    double ms = 0;
    long rssKb = 0;
};

bool runChild(const QStringList& arguments, Sample& sample) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return false;
    sample.ms = clock.nsecsElapsed() / 1e6;
    const QByteArray out = child.readAllStandardOutput();
    sample.rssKb = out.mid(out.indexOf("rss_kb ") + 7).trimmed().toLong();
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && QByteArray(argv[1]) == "--empty-window")
        return runEmptyWindow(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--lumora")
        return runLumora(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication application(argc, argv);
    if (!QFile::exists(programFolder() + QStringLiteral("/data/pos.dat"))) {
        std::printf("skipped: the sample program folder is not built (%s)\n", qPrintable(programFolder()));
        return 0;
    }
    // The last run left sura 2 open; the About window stays closed.
    QTemporaryDir settings;
    lumora::SettingsStore store(settings.path());
    (void)store.save(QStringLiteral("ZI4"), QStringLiteral("Main"), QStringLiteral("Sura"),
                     QStringLiteral("1"));
    (void)store.save(QStringLiteral("ZI4"), QStringLiteral("About"), QStringLiteral("Show3"),
                     QStringLiteral("0"));

    std::vector<double> lumoraMs, emptyMs, lumoraKb, emptyKb;
    for (int run = 0; run < kRuns; ++run) {
        Sample lumora, empty;
        if (!runChild({QStringLiteral("--lumora"), settings.path()}, lumora) ||
            !runChild({QStringLiteral("--empty-window")}, empty)) {
            std::printf("a child run failed\n");
            return 1;
        }
        lumoraMs.push_back(lumora.ms);
        emptyMs.push_back(empty.ms);
        lumoraKb.push_back(double(lumora.rssKb));
        emptyKb.push_back(double(empty.rssKb));
    }
    std::printf(
        "start-up to a shown window, last sura restored: Lumora %.1f ms, empty Qt window %.1f ms, "
        "ratio %.2f (target <= 2); best runs %.1f and %.1f ms, ratio %.2f\n",
        median(lumoraMs), median(emptyMs), median(lumoraMs) / median(emptyMs), best(lumoraMs), best(emptyMs),
        best(lumoraMs) / best(emptyMs));
    std::printf(
        "resident memory with sura 2 loaded: Lumora %.1f MB, empty Qt window %.1f MB, ratio %.2f "
        "(target <= 1.5)\n",
        median(lumoraKb) / 1024, median(emptyKb) / 1024, median(lumoraKb) / median(emptyKb));
    return 0;
}

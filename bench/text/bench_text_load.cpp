// A sura change's text work: the four panes' texts and the word-by-word lines of sura 2 from the sample
// packages, beside reading the same archive files raw from disk, in one run.
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

#include "text/installedtexts.h"
#include "text/versetextassignment.h"

namespace {

using lumora::VerseTextAssignment;

constexpr int kSura = 2;
constexpr int kSlotCount = 287;

QString programFolder() {
    const QString fromEnvironment = qEnvironmentVariable("LUMORA_PROGRAM_FOLDER");
    return fromEnvironment.isEmpty() ? QStringLiteral(LUMORA_DEFAULT_PROGRAM_FOLDER) : fromEnvironment;
}

// The Arabic text in pane 1, then the other installed texts, repeated when fewer than four.
QStringList paneTexts(const QString& folder) {
    QStringList installed = lumora::InstalledTexts::scan(folder);
    installed.sort();
    const QString arabic = QStringLiteral("Arabic - Uthmani script");
    if (installed.removeAll(arabic) > 0) installed.prepend(arabic);
    QStringList panes;
    for (int i = 0; !installed.isEmpty() && panes.size() < VerseTextAssignment::kPaneCount; ++i) {
        panes.append(installed[i % installed.size()]);
    }
    return panes;
}

void assign(VerseTextAssignment& assignment, const QStringList& texts) {
    for (int pane = 1; pane <= VerseTextAssignment::kPaneCount; ++pane) {
        (void)assignment.assignTrans(pane, texts[pane - 1]);
    }
}

void loadSuraTexts(benchmark::State& state) {
    VerseTextAssignment assignment(programFolder());
    assign(assignment, paneTexts(programFolder()));
    for (auto _ : state) {
        const lumora::Result<void> loaded = assignment.loadSuraTexts(kSura, kSlotCount);
        benchmark::DoNotOptimize(loaded.ok());
    }
}

// Every archive the load opens, each read once whole.
void readArchivesRaw(benchmark::State& state) {
    VerseTextAssignment assignment(programFolder());
    assign(assignment, paneTexts(programFolder()));
    QStringList files;
    for (int pane = 1; pane <= VerseTextAssignment::kPaneCount; ++pane) {
        const lumora::DisplayProperties& properties = assignment.pane(pane);
        files.append(properties.packagePath());
        if (!properties.wordByWordDataFile().isEmpty()) {
            files.append(programFolder() + QStringLiteral("/data/") + properties.wordByWordDataFile());
        }
    }
    for (auto _ : state) {
        qint64 bytes = 0;
        for (const QString& path : files) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) bytes += file.readAll().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}

BENCHMARK(loadSuraTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(readArchivesRaw)->Unit(benchmark::kMillisecond);

// Prints the load's CPU time as a ratio of the raw read's after both have run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) m_cpuTimesMs[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double load = m_cpuTimesMs["loadSuraTexts"];
        const double raw = m_cpuTimesMs["readArchivesRaw"];
        if (load > 0 && raw > 0) {
            std::printf("sura %d texts of four panes: %.3f ms CPU; the same archives read raw: %.3f ms CPU; "
                        "ratio %.1f\n",
                        kSura, load, raw, load / raw);
        }
    }

private:
    // CPU time, which other work on a shared machine disturbs less than wall time.
    std::map<std::string, double> m_cpuTimesMs;
};

}  // namespace

int main(int argc, char** argv) {
    const QString folder = programFolder();
    if (paneTexts(folder).isEmpty()) {
        std::printf("bench_text_load: no text packages in %s/data/tdata; build the sample folder first\n",
                    qPrintable(folder));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

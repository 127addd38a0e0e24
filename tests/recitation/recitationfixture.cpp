#include "recitationfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "codec/archivewriter.h"
#include "codec/suracatalogue.h"
#include "codec/versetimingtable.h"
#include "support/testrecordings.h"

namespace lumora::test {

namespace {

// A lame-made recording with one 400 ms tone of its own pitch and 100 ms of silence per record.
void makeRecording(const QString& mp3Path, int records) {
    RecordingSpec spec = RecordingSpec::mono22();
    for (int r = 0; r < records; ++r) {
        spec.segments.push_back(Segment::tone(300.0 + 40.0 * (r % 10), kRecordMs - 100));
        spec.segments.push_back(Segment::silence(100));
    }
    const Recording recording = test::makeRecording(spec);
    QFile::remove(mp3Path);
    ASSERT_TRUE(QFile::copy(QString::fromStdString(recording.path), mp3Path)) << mp3Path.toStdString();
}

ProgramFolder makeProgramFolder(const QString& root) {
    ProgramFolder folder{root, root + "/mp3/"};
    QDir(root).mkpath("data");
    QDir(root).mkpath("mp3");
    ArchiveWriter pos;
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura) {
        std::vector<VerseTiming> records;
        for (int32_t r = 0; r < SuraCatalogue::verseNo(sura); ++r) records.push_back({recordStartMs(r), recordEndMs(r)});
        pos.addEntry(VerseTimingTable::entryName(sura), VerseTimingTable::encode(records), true);
    }
    EXPECT_TRUE(pos.write((root + "/data/pos.dat").toStdString()).ok());
    for (int sura : {1, 73, 107, 108, 113, 114})
        makeRecording(folder.mp3Folder + QString::fromStdString(SuraCatalogue::threeDigit(sura)) + ".mp3",
                      SuraCatalogue::verseNo(sura));
    return folder;
}

}  // namespace

const ProgramFolder& ProgramFolder::instance() {
    static QTemporaryDir root;
    static const ProgramFolder folder = makeProgramFolder(root.path());
    return folder;
}

// --- recorded window and panes ---

bool RecordingWindow::askYesNo(const QString& title, const QString& text) {
    calls << "ask " + title + ": " + text;
    return answerYes;
}

void RecordingWindow::showFailure(const Error& error) {
    calls << QString("failure %1 %2").arg(error.number).arg(QString::fromStdString(error.description));
}

void RecordingWindow::showVerseDialog(const QString& caption, bool rangeBegin, bool rangeEnd, int totalVerseNos) {
    calls << QString("verse dialog %1 %2 %3 %4").arg(caption).arg(rangeBegin).arg(rangeEnd).arg(totalVerseNos);
}

void RecordingWindow::switchLayout(const QString& newLayout) {
    calls << "layout " + newLayout;
    layout = newLayout;
}

void RecordingWindow::setMenusVisible(bool visible) {
    calls << (visible ? "menus shown" : "menus hidden");
    menus = visible;
}

void RecordingWindow::showMode(RecitationMode mode) {
    calls << (mode == RecitationMode::Range ? "mode range" : "mode verse");
}

QStringList RecordingWindow::take() { return std::exchange(calls, {}); }

Result<void> RecordingTexts::loadSuraTexts(int sura, int slotCount) {
    loads.emplace_back(sura, slotCount);
    if (failLoads) return Error{53, "Texts", "File not found"};
    return {};
}

std::vector<int> RecordingTexts::take() { return std::exchange(shown, {}); }

// --- the scenario ---

RecitationScenario::RecitationScenario()
    : output(new NullOutput(NullOutput::Mode::Manual)),
      player(std::unique_ptr<SoundOutput>(output)),
      controller(player, clock, window, texts),
      keys(controller, window) {
    const ProgramFolder& folder = ProgramFolder::instance();
    controller.setFolders(folder.appFolder, folder.mp3Folder);
    controller.fillVerseNo();
    controller.checkMp3();
    settings.pause = 0;
    settings.nextRange = false;
    settings.nextSura = false;
}

void RecitationScenario::load(int sura) {
    controller.setRangeSettings(settings);
    ASSERT_TRUE(controller.selectSura(sura - 1).ok());
    texts.take();
    window.take();
}

void RecitationScenario::run(int64_t ms, int64_t stepMs) {
    for (int64_t done = 0; done < ms; done += stepMs) {
        output->advanceMs(stepMs);
        clock.advanceMs(stepMs);
        controller.onTimer();
    }
}

int64_t RecitationScenario::runUntil(const std::function<bool()>& done, int64_t limitMs, int64_t stepMs) {
    int64_t elapsed = 0;
    while (!done()) {
        if (elapsed >= limitMs) {
            ADD_FAILURE() << "not reached within " << limitMs << " ms";
            return elapsed;
        }
        run(stepMs, stepMs);
        elapsed += stepMs;
    }
    return elapsed;
}

void RecitationScenario::setRange(int32_t begin, int32_t end) {
    ASSERT_TRUE(controller.rangeBegin().setValue(begin).ok());
    ASSERT_TRUE(controller.rangeEnd().setValue(end).ok());
}

std::string RecitationScenario::range() {
    return QString("%1-%2 %3 %4")
        .arg(controller.rangeBegin().value())
        .arg(controller.rangeEnd().value())
        .arg(controller.currentVerseSlider().value())
        .arg(controller.rangeEnd().tag())
        .toStdString();
}

}  // namespace lumora::test

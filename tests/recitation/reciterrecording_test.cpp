// Suras loaded through the recording lookup: a per-verse collection played as one recording (verse
// steps on its joins, repeats from the first sample of a file, missing and damaged verses skipped with a
// note), a per-sura file with timings of its own checked for drift, and a recording without timings.

#include <QTemporaryDir>
#include <algorithm>
#include <memory>

#include "audio/joinedframeindex.h"
#include "audio/mp3decoder.h"
#include "codec/archivewriter.h"
#include "recitationfixture.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

using PartState = JoinedFrameIndex::PartState;
using Wait = RecitationController::WaitKind;

std::vector<float> decodeAlone(const std::string& path) {
    const Mp3FrameIndex index = Mp3FrameIndex::fromFile(path).value();
    Mp3Decoder decoder;
    EXPECT_TRUE(decoder.open(path, index).ok());
    std::vector<float> all(static_cast<size_t>(index.lengthSamples() * index.channels()));
    EXPECT_EQ(decoder.read(all.data(), index.lengthSamples()), index.lengthSamples());
    return all;
}

class ReciterRecording : public RecitationScenario {
protected:
    // Every sura but `sura` has no recording; `sura` is a per-verse collection of these files.
    void useCollection(int sura, const QStringList& files) {
        controller.setRecordingLookup([sura, files](int s) {
            SuraRecording recording;
            recording.sura = s;
            if (s == sura) {
                recording.kind = SuraRecording::Kind::kPerVerse;
                recording.recordFiles = files;
                recording.timingSource = SuraRecording::TimingSource::kFromFiles;
            }
            return recording;
        });
    }
    // `sura` is the program folder's own NNN.mp3 with the timings of `archive` (none when empty).
    void usePerSuraFile(int sura, const QString& archive) {
        const QString file =
            ProgramFolder::instance().mp3Folder + QString("%1.mp3").arg(sura, 3, 10, QChar('0'));
        controller.setRecordingLookup([sura, file, archive](int s) {
            SuraRecording recording;
            recording.sura = s;
            if (s == sura) {
                recording.kind = SuraRecording::Kind::kPerSura;
                recording.file = file;
                recording.timingSource = archive.isEmpty() ? SuraRecording::TimingSource::kNone
                                                           : SuraRecording::TimingSource::kOwnArchive;
                recording.timingArchive = archive;
            }
            return recording;
        });
    }
    // A pos.dat in the scratch folder whose entry for `sura` is `records`.
    QString archiveWith(int sura, const std::vector<VerseTiming>& records) {
        ArchiveWriter pos;
        pos.addEntry(VerseTimingTable::entryName(sura), VerseTimingTable::encode(records), true);
        const QString path = scratch.path() + QString("/pos-%1.dat").arg(++archives);
        EXPECT_TRUE(pos.write(path.toStdString()).ok());
        return path;
    }
    static QStringList pathsOf(const std::vector<Recording>& recordings) {
        QStringList paths;
        for (const Recording& r : recordings) paths << QString::fromStdString(r.path);
        return paths;
    }
    const JoinedFrameIndex& joined() { return *controller.joinedRecording(); }
    int64_t msToSamples(int64_t ms) { return ms * joined().sampleRateHz() / 1000; }

    QTemporaryDir scratch;
    int archives = 0;
};

TEST_F(ReciterRecording, APerVerseSuraIsTimedByItsFilesAndEachVerseStepLandsOnItsJoin) {
    // Sura 108: the opening formula and three verses, of lengths that fall on no frame boundary.
    const std::vector<Recording> files = makeVerseRecordings({610, 935, 1410, 705});
    useCollection(108, pathsOf(files));
    settings.stopRecitation = true;
    load(108);
    ASSERT_NE(controller.joinedRecording(), nullptr);
    const std::vector<JoinedFrameIndex::PartTimes> times = joined().partTimesMs();
    ASSERT_EQ(controller.verseTable().size(), 4u);
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(controller.verseTable()[k], (VerseTiming{times[k].startMs, times[k].endMs})) << k;
    EXPECT_EQ(player.streamLength(), joined().lengthMs());
    EXPECT_EQ(controller.mediaFile(), QString::fromStdString(files[0].path));
    EXPECT_TRUE(window.notices.isEmpty());

    // Each verse step comes on the first tick at which the heard sample is 200 ms short of the join.
    controller.startRecitation();
    const int64_t samplesPerTick = joined().sampleRateHz() / 1000 + 1;
    std::vector<int64_t> heardAtStep;
    for (int64_t t = 0; t < 10000 && controller.tickEnabled(); ++t) {
        const int32_t verse = controller.currentVerse();
        run(1);
        if (controller.currentVerse() == verse)
            continue;
        heardAtStep.push_back(player.heardSample());
        const int64_t target = joined().part(verse + 1).firstSample - msToSamples(Player::kLookAheadMs);
        EXPECT_LE(std::abs(heardAtStep.back() - target), samplesPerTick) << "verse " << verse + 1;
    }
    EXPECT_FALSE(controller.tickEnabled());
    EXPECT_EQ(heardAtStep.size(), 3u);
    EXPECT_EQ(texts.take(), (std::vector<int>{1, 2, 3}));

    // Verse mode: a verse starts at the first sample of its file and stops 200 ms before the next.
    controller.setMode(RecitationMode::Verse);
    for (int32_t record : {2, 0, 3}) {
        ASSERT_TRUE(controller.currentVerseSlider().setValue(record).ok());
        controller.startRecitation();
        EXPECT_EQ(player.heardSample(), joined().part(record).firstSample) << "record " << record;
        run(times[static_cast<size_t>(record)].endMs - times[static_cast<size_t>(record)].startMs);
        EXPECT_FALSE(player.isPlaying());
        EXPECT_EQ(player.getPosition(), times[static_cast<size_t>(record)].endMs);
    }
}

TEST_F(ReciterRecording, ARangeAcrossJoinsRepeatsFromTheFirstSampleOfItsFirstFile) {
    const std::vector<Recording> files = makeVerseRecordings({500, 820, 640, 1130, 300, 700, 450});
    useCollection(114, pathsOf(files));
    settings.noofTimes = 2;
    load(114);
    controller.setVolumeMenuItem(5);  // full volume: the samples pass unscaled
    setRange(2, 4);
    std::vector<float> expected;
    for (size_t k = 2; k <= 4; ++k) {
        const std::vector<float> alone = decodeAlone(files[k].path);
        expected.insert(expected.end(), alone.begin(), alone.end());
    }
    // The range is heard up to 200 ms before its last verse ends.
    const int64_t heardLength = joined().msToSample(controller.verseTable()[4].endMs - Player::kLookAheadMs) -
                                joined().part(2).firstSample;
    expected.resize(static_cast<size_t>(heardLength));

    output->setCapture(true);
    controller.startRecitation();
    std::vector<float> audio;
    std::vector<size_t> passStarts{0};
    bool wasPlaying = true;
    for (int64_t t = 0; t < 20000 && controller.tickEnabled(); ++t) {
        run(1);
        const std::vector<float> chunk = output->takeCaptured();
        audio.insert(audio.end(), chunk.begin(), chunk.end());
        const bool playing = player.isPlaying();
        if (playing && !wasPlaying) {
            EXPECT_EQ(player.heardSample(), joined().part(2).firstSample);
            passStarts.push_back(audio.size());
        }
        wasPlaying = playing;
    }
    EXPECT_FALSE(controller.tickEnabled());
    ASSERT_EQ(passStarts.size(), 2u);
    for (size_t start : passStarts) {
        ASSERT_LE(start + expected.size(), audio.size());
        const std::vector<float> pass(audio.begin() + static_cast<std::ptrdiff_t>(start),
                                      audio.begin() + static_cast<std::ptrdiff_t>(start + expected.size()));
        EXPECT_TRUE(pass == expected) << "pass from " << start;
    }
}

TEST_F(ReciterRecording, MissingAndDamagedVersesAreSkippedWithOneNoteAndNeverHang) {
    const std::vector<Recording> files = makeVerseRecordings({500, 820, 640, 1130, 300, 700, 450});
    QStringList paths = pathsOf(files);
    paths[2].clear();                    // 114:2 missing
    paths[4] = LUMORA_TEST_SOURCE_FILE;  // 114:4 no MP3 at all
    useCollection(114, paths);
    settings.stopRecitation = true;
    load(114);
    EXPECT_EQ(joined().part(2).state, PartState::kMissing);
    EXPECT_EQ(joined().part(4).state, PartState::kDamaged);
    EXPECT_EQ(controller.verseTable()[2].startMs, controller.verseTable()[2].endMs);
    EXPECT_TRUE(window.notices.isEmpty());

    controller.startRecitation();
    ASSERT_EQ(window.notices.size(), 1);
    EXPECT_TRUE(window.notices[0].contains("114:2")) << window.notices[0].toStdString();
    EXPECT_TRUE(window.notices[0].contains("114:4")) << window.notices[0].toStdString();
    runUntil([&] { return !controller.tickEnabled(); });
    EXPECT_EQ(texts.take(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(window.take().isEmpty());
    EXPECT_EQ(window.notices.size(), 1);

    // A range of nothing but the missing verse, repeated without end, plays nothing and stops.
    settings.noofTimes = 0;
    controller.setRangeSettings(settings);
    setRange(2, 2);
    controller.startRecitation();
    runUntil([&] { return !controller.tickEnabled(); }, 2000);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(window.notices.size(), 2);
    EXPECT_TRUE(window.notices.last().contains("114:2"));
}

TEST_F(ReciterRecording, OwnTimingsAreCheckedForDriftWithOneNonModalWarning) {
    // The program folder's 114.mp3 holds seven 500 ms records.
    std::vector<VerseTiming> fitting;
    for (int32_t k = 0; k < 7; ++k) fitting.push_back({k * 500 + 10, k * 500 + 480});
    usePerSuraFile(114, archiveWith(114, fitting));
    load(114);
    EXPECT_EQ(controller.verseTable(), fitting);
    EXPECT_TRUE(window.notices.isEmpty());

    std::vector<VerseTiming> tooLong = fitting;
    tooLong.back().endMs = 6000;
    usePerSuraFile(114, archiveWith(114, tooLong));
    load(113);  // reloading needs another sura in between
    load(114);
    ASSERT_EQ(window.notices.size(), 1);
    EXPECT_TRUE(window.notices[0].contains("114 (AN-NAS)")) << window.notices[0].toStdString();
    EXPECT_TRUE(window.notices[0].contains("114:6 ends at 0:06.000, past the end of the recording at 0:03.5"))
        << window.notices[0].toStdString();

    std::vector<VerseTiming> shuffled = tooLong;
    std::swap(shuffled[3], shuffled[4]);
    usePerSuraFile(114, archiveWith(114, shuffled));
    load(113);
    window.notices.clear();
    load(114);
    ASSERT_EQ(window.notices.size(), 1);
    EXPECT_TRUE(window.notices[0].contains("114:4 starts (0:01.510) before 114:3 (0:02.010)"))
        << window.notices[0].toStdString();
    EXPECT_TRUE(window.notices[0].contains("past the end")) << window.notices[0].toStdString();
    EXPECT_TRUE(window.take().isEmpty());  // no message box, no question

    // Recitation goes on with the table as it is.
    controller.startRecitation();
    EXPECT_TRUE(player.isPlaying());
    EXPECT_EQ(window.notices.size(), 1);
}

TEST_F(ReciterRecording, ARecordingWithoutTimingsLoadsItsTextsAndSaysHowToMakeThem) {
    usePerSuraFile(113, QString());
    load(113);
    EXPECT_TRUE(controller.timingsMissing());
    EXPECT_EQ(texts.loads.back(), std::make_pair(113, 6));
    EXPECT_TRUE(player.hasStream());
    EXPECT_TRUE(window.notices.isEmpty());

    controller.startRecitation();
    ASSERT_EQ(window.notices.size(), 1);
    const QString notice = window.notices[0];
    EXPECT_TRUE(notice.contains("113 (AL-FALAQ)")) << notice.toStdString();
    EXPECT_TRUE(notice.contains("no verse timings")) << notice.toStdString();
    EXPECT_TRUE(notice.contains("lumora-pack timings-import")) << notice.toStdString();
    EXPECT_TRUE(notice.contains("lumora-pack autotime")) << notice.toStdString();
    EXPECT_TRUE(notice.contains("Verse Timings")) << notice.toStdString();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(controller.tickEnabled());
    // A verse clicked in a pane plays nothing either.
    controller.playVerse(1);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_TRUE(window.take().isEmpty());
}

}  // namespace
}  // namespace lumora::test

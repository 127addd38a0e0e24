// Saving a range: the proposed names, the cut of a real lame-made recording, the tag block over its last
// bytes, and the dialogs' answers (cancel, keep the old file, replace it).

#include "recitation/rangesaver.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "audio/joinedframeindex.h"
#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "support/scratchfolder.h"
#include "support/testrecordings.h"

namespace lumora {
namespace {

using test::ScratchFolder;

// What the window was asked to show, and the answers it gives.
struct FakeWindow {
    std::optional<QString> chosenPath;
    bool replace = false;
    QStringList messages;  // "title|text"
    QString proposedName;
    int questions = 0;
    int stops = 0;

    RangeSaver::Callbacks callbacks() {
        RangeSaver::Callbacks c;
        c.showInformation = [this](const QString& title, const QString& text) { messages << title + "|" + text; };
        c.chooseFile = [this](const QString& proposed) {
            proposedName = proposed;
            return chosenPath;
        };
        c.askYesNo = [this](const QString& title, const QString& text) {
            ++questions;
            EXPECT_EQ(title, RangeSaver::kReplaceTitle);
            EXPECT_EQ(text, RangeSaver::kReplaceText);
            return replace;
        };
        c.stopRecitation = [this] { ++stops; };
        return c;
    }
};

// Five one-second verses with silence between them.
test::Recording fiveVerses() {
    test::RecordingSpec spec = test::RecordingSpec::mono22();
    for (int i = 0; i < 5; ++i) {
        spec.segments.push_back(test::Segment::tone(300.0 + 100.0 * i, 1000));
        spec.segments.push_back(test::Segment::silence(300));
    }
    return test::makeRecording(spec);
}

RangeSaver::Range rangeOf(const test::Recording& recording, int32_t begin, int32_t end) {
    RangeSaver::Range range;
    range.mediaFile = QString::fromStdString(recording.path);
    range.suraNumberText = QStringLiteral("002");
    range.suraText = QStringLiteral("2. AL-BAQARA");
    range.rangeBegin = begin;
    range.rangeEnd = end;
    for (size_t i = 0; i + 1 < recording.boundariesMs.size(); i += 2)
        range.verseTable.push_back({recording.boundariesMs[i], recording.boundariesMs[i + 1]});
    return range;
}

std::vector<uint8_t> bytesOf(const std::string& path) {
    return test::readFileBytes(path);
}

TEST(RangeSaverNames, ProposedNamePadsVerseNumbersAndAddsOneInSura9) {
    RangeSaver::Range range;
    range.suraNumberText = QStringLiteral("002");
    range.rangeBegin = 1;
    range.rangeEnd = 5;
    EXPECT_EQ(RangeSaver::proposedFileName(range), QStringLiteral("002-001-005.MP3"));
    range.rangeBegin = range.rangeEnd = 7;
    EXPECT_EQ(RangeSaver::proposedFileName(range), QStringLiteral("002-007-007.MP3"));
    range.rangeBegin = 0;
    range.rangeEnd = 286;
    EXPECT_EQ(RangeSaver::proposedFileName(range), QStringLiteral("002-000-286.MP3"));
    range.rangeEnd = 1234;  // longer numbers stay as they are
    EXPECT_EQ(RangeSaver::proposedFileName(range), QStringLiteral("002-000-1234.MP3"));

    range.suraNumberText = QStringLiteral("009");
    range.sura9 = true;
    range.suraText = QStringLiteral("9. AT-TAWBA");
    range.rangeBegin = 0;
    range.rangeEnd = 4;
    EXPECT_EQ(RangeSaver::proposedFileName(range), QStringLiteral("009-001-005.MP3"));
    EXPECT_EQ(RangeSaver::artistText(range), QStringLiteral("9. AT-TAWBA(1-5)"));
}

TEST(RangeSaverNames, Mp3ExtensionAddedOnlyWhenMissing) {
    EXPECT_EQ(RangeSaver::withMp3Extension(QStringLiteral("/tmp/x")), QStringLiteral("/tmp/x.mp3"));
    EXPECT_EQ(RangeSaver::withMp3Extension(QStringLiteral("/tmp/x.MP3")), QStringLiteral("/tmp/x.MP3"));
    EXPECT_EQ(RangeSaver::withMp3Extension(QStringLiteral("/tmp/x.mP3")), QStringLiteral("/tmp/x.mP3"));
    EXPECT_EQ(RangeSaver::withMp3Extension(QStringLiteral("/tmp/x.mp3.txt")), QStringLiteral("/tmp/x.mp3.txt.mp3"));
    EXPECT_EQ(RangeSaver::withMp3Extension(QStringLiteral("/tmp/mp3")), QStringLiteral("/tmp/mp3.mp3"));
}

TEST(RangeSaverTag, FieldsArePaddedWithSpacesAndCut) {
    const QByteArray block = RangeSaver::tagBlock(QStringLiteral("114. AN-NAS, A NAME LONGER THAN THIRTY(1-6)"));
    ASSERT_EQ(block.size(), 127);
    EXPECT_EQ(block.left(3), QByteArray("TAG"));
    EXPECT_EQ(block.mid(3, 30), QByteArray("Orvanta Lumora").leftJustified(30, ' '));
    EXPECT_EQ(block.mid(33, 30), QByteArray("114. AN-NAS, A NAME LONGER THA"));
    EXPECT_EQ(block.mid(63, 30), QByteArray("Quran").leftJustified(30, ' '));
    EXPECT_EQ(block.mid(93, 34), QByteArray(34, ' '));
    // Single-byte characters of the Western code page, "?" for the rest.
    const QByteArray accented = RangeSaver::tagBlock(QString::fromUtf8("é€ب"));
    EXPECT_EQ(accented.mid(33, 3), QByteArray("\xE9\x80?"));
}

TEST(RangeSaverCut, CutStartsOnTheBeginFrameKeepsLengthAndGenreByte) {
    const test::Recording recording = fiveVerses();
    ScratchFolder folder;
    const RangeSaver::Range range = rangeOf(recording, 1, 3);
    const auto offsets = RangeSaver::frameIndexOffsets(range.mediaFile);
    const int64_t from = offsets(range.verseTable[1].startMs);
    const int64_t to = offsets(range.verseTable[3].endMs);
    ASSERT_LT(from, to);

    FakeWindow window;
    window.chosenPath = QString::fromStdString(folder.file("cut"));
    ASSERT_EQ(RangeSaver::save(range, offsets, window.callbacks()), RangeSaver::Outcome::Saved);
    EXPECT_EQ(window.proposedName, QStringLiteral("002-001-003.MP3"));
    EXPECT_TRUE(window.messages.isEmpty());
    EXPECT_EQ(window.stops, 1);

    const std::vector<uint8_t> source = bytesOf(recording.path);
    const std::vector<uint8_t> saved = bytesOf(folder.file("cut.mp3"));
    ASSERT_EQ(static_cast<int64_t>(saved.size()), to - from + 1);
    const size_t tag = saved.size() - 128;
    // Audio bytes up to the tag are the source's, from the begin verse's frame on.
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(tag),
                           source.begin() + from));
    EXPECT_EQ(std::string(saved.begin() + static_cast<std::ptrdiff_t>(tag),
                          saved.begin() + static_cast<std::ptrdiff_t>(tag) + 3),
              "TAG");
    EXPECT_EQ(std::string(saved.begin() + static_cast<std::ptrdiff_t>(tag) + 33,
                          saved.begin() + static_cast<std::ptrdiff_t>(tag) + 50),
              "2. AL-BAQARA(1-3)");
    EXPECT_EQ(saved.back(), source[static_cast<size_t>(to)]);

    // The cut is a playable recording of about the range's length (whole frames, decoded as they come).
    auto index = Mp3FrameIndex::fromFile(folder.file("cut.mp3"));
    ASSERT_TRUE(index.ok());
    EXPECT_GT(index.value().frameCount(), 0);
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.open(folder.file("cut.mp3"), index.value()).ok());
    std::vector<float> block(4096);
    int64_t frames = 0;
    double energy = 0.0;
    for (int64_t got; (got = decoder.read(block.data(), 4096)) > 0;) {
        frames += got;
        for (int64_t i = 0; i < got; ++i)
            energy += std::abs(block[static_cast<size_t>(i)]);
    }
    const int64_t rangeMs = range.verseTable[3].endMs - range.verseTable[1].startMs;
    EXPECT_NEAR(static_cast<double>(frames) * 1000.0 / recording.sampleRateHz, static_cast<double>(rangeMs), 120.0);
    EXPECT_GT(energy, 0.0);
}

TEST(RangeSaverCut, APerVerseRangeIsTheVerseFilesFramesEndToEnd) {
    const std::vector<test::Recording> files = test::makeVerseRecordings({900, 1300, 700, 1100});
    std::vector<std::string> paths;
    for (const test::Recording& file : files) paths.push_back(file.path);
    RangeSaver::Range range;
    range.recording = std::make_shared<const JoinedFrameIndex>(JoinedFrameIndex::fromFiles(paths));
    range.mediaFile = QString::fromStdString(files[0].path);
    range.suraNumberText = QStringLiteral("108");
    range.suraText = QStringLiteral("108. AL-KAUTHER");
    range.rangeBegin = 1;
    range.rangeEnd = 2;
    for (const JoinedFrameIndex::PartTimes& times : range.recording->partTimesMs())
        range.verseTable.push_back({times.startMs, times.endMs});

    ScratchFolder folder;
    FakeWindow window;
    window.chosenPath = QString::fromStdString(folder.file("verses"));
    ASSERT_EQ(RangeSaver::save(range, window.callbacks()), RangeSaver::Outcome::Saved);
    EXPECT_EQ(window.proposedName, QStringLiteral("108-001-002.MP3"));

    // Verses 1 and 2 whole, without their files' tags and Info frames, up to the first byte of the next
    // verse's frames (where the range's end time lies); the tag block over the last bytes.
    std::vector<uint8_t> frames;
    for (size_t k : {size_t{1}, size_t{2}, size_t{3}}) {
        const Mp3FrameIndex index = Mp3FrameIndex::fromFile(files[k].path).value();
        const std::vector<uint8_t> bytes = bytesOf(files[k].path);
        const auto end = k == 3 ? index.frameOffset(0) + 1 : index.audioEndOffset();
        frames.insert(frames.end(), bytes.begin() + index.frameOffset(0), bytes.begin() + end);
    }
    const std::vector<uint8_t> saved = bytesOf(folder.file("verses.mp3"));
    ASSERT_EQ(saved.size(), frames.size());
    const auto tag = static_cast<std::ptrdiff_t>(saved.size() - 128);
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + tag, frames.begin()));
    EXPECT_EQ(std::string(saved.begin() + tag, saved.begin() + tag + 3), "TAG");
    EXPECT_EQ(std::string(saved.begin() + tag + 33, saved.begin() + tag + 53), "108. AL-KAUTHER(1-2)");
    EXPECT_EQ(saved.back(), frames.back());
    EXPECT_TRUE(Mp3FrameIndex::fromFile(folder.file("verses.mp3")).ok());
}

TEST(RangeSaverCut, SingleVerseAndVersesInOneFrameAreMeasuredInside) {
    const test::Recording recording = fiveVerses();
    ScratchFolder folder;
    FakeWindow window;
    window.chosenPath = QString::fromStdString(folder.file("one.MP3"));
    RangeSaver::Range range = rangeOf(recording, 2, 2);
    ASSERT_EQ(RangeSaver::save(range, RangeSaver::frameIndexOffsets(range.mediaFile), window.callbacks()),
              RangeSaver::Outcome::Saved);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.file("one.MP3"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("one.MP3.mp3"))));

    // Both ends in one frame: measured again 10 ms inside; still one frame gives a one-byte copy, too
    // short for its tag, which fails and leaves nothing behind.
    std::vector<int32_t> asked;
    const auto sameFrame = [&asked](int32_t ms) -> int64_t {
        asked.push_back(ms);
        return 5000;
    };
    window.chosenPath = QString::fromStdString(folder.file("same"));
    EXPECT_EQ(RangeSaver::save(range, sameFrame, window.callbacks()), RangeSaver::Outcome::Failed);
    const std::vector<int32_t> expected{range.verseTable[2].startMs, range.verseTable[2].endMs,
                                        range.verseTable[2].startMs + 10, range.verseTable[2].endMs - 10};
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(window.messages.last(), QStringLiteral("|Error saving MP3 file"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("same.mp3"))));
}

TEST(RangeSaverDialogs, RefusalsCancelAndNoLeaveThingsAlone) {
    const test::Recording recording = fiveVerses();
    ScratchFolder folder;
    const auto offsets = RangeSaver::frameIndexOffsets(QString::fromStdString(recording.path));

    // No sura loaded, or its file gone: nothing at all.
    FakeWindow window;
    RangeSaver::Range none = rangeOf(recording, 1, 2);
    none.mediaFile.clear();
    EXPECT_EQ(RangeSaver::save(none, offsets, window.callbacks()), RangeSaver::Outcome::NothingToSave);
    none.mediaFile = QString::fromStdString(folder.file("missing.mp3"));
    EXPECT_EQ(RangeSaver::save(none, offsets, window.callbacks()), RangeSaver::Outcome::NothingToSave);
    EXPECT_TRUE(window.messages.isEmpty());
    EXPECT_TRUE(window.proposedName.isEmpty());

    // Range End before Range Begin.
    EXPECT_EQ(RangeSaver::save(rangeOf(recording, 3, 2), offsets, window.callbacks()), RangeSaver::Outcome::Refused);
    EXPECT_EQ(window.messages, QStringList{QStringLiteral("Incorrect Range|Range Begin should be less than or equal to Range End")});
    EXPECT_TRUE(window.proposedName.isEmpty());

    // Cancelled dialog: silent, recitation not stopped.
    window.messages.clear();
    EXPECT_EQ(RangeSaver::save(rangeOf(recording, 1, 2), offsets, window.callbacks()), RangeSaver::Outcome::Cancelled);
    EXPECT_TRUE(window.messages.isEmpty());
    EXPECT_EQ(window.stops, 0);

    // An existing file: No keeps it byte for byte, Yes replaces it.
    const std::string existing = folder.write("old.mp3", std::vector<uint8_t>{1, 2, 3, 4});
    window.chosenPath = QString::fromStdString(folder.file("old"));
    window.replace = false;
    EXPECT_EQ(RangeSaver::save(rangeOf(recording, 1, 2), offsets, window.callbacks()), RangeSaver::Outcome::Declined);
    EXPECT_EQ(window.questions, 1);
    EXPECT_EQ(bytesOf(existing), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(window.stops, 0);

    window.replace = true;
    EXPECT_EQ(RangeSaver::save(rangeOf(recording, 1, 2), offsets, window.callbacks()), RangeSaver::Outcome::Saved);
    EXPECT_GT(bytesOf(existing).size(), 128u);
    EXPECT_TRUE(window.messages.isEmpty());
}

TEST(RangeSaverDialogs, FailuresKeepTheOldFileAndLeaveNoPartialOne) {
    const test::Recording recording = fiveVerses();
    ScratchFolder folder;
    const std::string existing = folder.write("old.mp3", std::vector<uint8_t>{9, 9, 9});
    FakeWindow window;
    window.chosenPath = QString::fromStdString(existing);
    window.replace = true;

    // The end measured before the start.
    const auto backwards = [](int32_t ms) -> int64_t { return 100000 - ms; };
    EXPECT_EQ(RangeSaver::save(rangeOf(recording, 1, 2), backwards, window.callbacks()), RangeSaver::Outcome::Failed);
    // A byte range past the end of the source file.
    const auto pastEnd = [](int32_t ms) -> int64_t { return 10000000 + ms; };
    EXPECT_EQ(RangeSaver::save(rangeOf(recording, 1, 2), pastEnd, window.callbacks()), RangeSaver::Outcome::Failed);
    // An unreadable recording gives no offsets.
    const std::string junk = folder.write("junk.mp3", std::vector<uint8_t>(4000, 0));
    RangeSaver::Range damaged = rangeOf(recording, 1, 2);
    damaged.mediaFile = QString::fromStdString(junk);
    EXPECT_EQ(RangeSaver::save(damaged, RangeSaver::frameIndexOffsets(damaged.mediaFile), window.callbacks()),
              RangeSaver::Outcome::Failed);
    // Records the table lacks.
    EXPECT_EQ(RangeSaver::save(rangeOf(recording, 1, 9), RangeSaver::frameIndexOffsets(damaged.mediaFile),
                               window.callbacks()),
              RangeSaver::Outcome::Failed);

    EXPECT_EQ(window.messages.size(), 4);
    for (const QString& message : window.messages)
        EXPECT_EQ(message, QStringLiteral("|Error saving MP3 file"));
    EXPECT_EQ(bytesOf(existing), (std::vector<uint8_t>{9, 9, 9}));
    // A folder that cannot take the file.
    EXPECT_FALSE(RangeSaver::writeCut(QString::fromStdString(recording.path), 0, 1000,
                                      QString::fromStdString(folder.file("no/such/folder/x.mp3")), QString())
                     .ok());
}

}  // namespace
}  // namespace lumora

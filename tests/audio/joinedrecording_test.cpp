// A per-verse collection played as one stream: the joined index over several lame-made files, and the
// real Player over a manual null output hearing exactly the files' own samples end to end.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "audio/joinedframeindex.h"
#include "audio/mp3frameindex.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "playerfixture.h"
#include "support/scratchfolder.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

using PartState = JoinedFrameIndex::PartState;

std::vector<float> decodeAlone(const std::string& path) {
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    EXPECT_TRUE(index.ok()) << path;
    return index ? straightDecode(path, index.value()) : std::vector<float>{};
}

// The first sample (counted per channel) where two streams differ, or -1 when `played` starts with
// all of `expected`.
int64_t firstDifference(const std::vector<float>& played, const std::vector<float>& expected, int channels) {
    const size_t n = std::min(played.size(), expected.size());
    for (size_t k = 0; k < n; ++k) {
        if (played[k] != expected[k])
            return static_cast<int64_t>(k) / channels;
    }
    return played.size() < expected.size() ? static_cast<int64_t>(n) / channels : -1;
}

// Verse files of lengths that share no multiple of a frame, with the odd ones out a collection meets:
// a file with ID3 tags, one without an Info frame (so without gapless trimming) and one made VBR.
std::vector<std::string> mixedVerseFiles(const RecordingSpec& base) {
    std::vector<std::string> paths;
    for (const Recording& r : makeVerseRecordings({730, 1210, 333, 2000}, base)) paths.push_back(r.path);
    RecordingSpec tagged = base;
    tagged.id3v2 = tagged.id3v1 = true;
    tagged.segments = {Segment::tone(523.0, 870), Segment::silence(60)};
    paths.push_back(makeRecording(tagged).path);
    RecordingSpec untagged = base;
    untagged.infoTag = false;
    untagged.segments = {Segment::tone(611.0, 450)};
    paths.push_back(makeRecording(untagged).path);
    RecordingSpec vbr = base;
    vbr.vbr = true;
    vbr.segments = {Segment::noise(640, 0.2), Segment::tone(277.0, 500)};
    paths.push_back(makeRecording(vbr).path);
    return paths;
}

TEST(JoinedFrameIndexParts, FollowEachOtherAndMissingOrDamagedOnesTakeNoTime) {
    const std::vector<Recording> files = makeVerseRecordings({730, 1210, 333});
    const std::vector<std::string> paths{files[0].path,           "",
                                         files[1].path,           "/nonexistent/lumora/002003.mp3",
                                         LUMORA_TEST_SOURCE_FILE, files[2].path};
    const JoinedFrameIndex joined = JoinedFrameIndex::fromFiles(paths);
    ASSERT_EQ(joined.partCount(), 6);
    const std::vector<PartState> states{PartState::kPresent, PartState::kMissing, PartState::kPresent,
                                        PartState::kMissing, PartState::kDamaged, PartState::kPresent};
    int64_t expectedStart = 0;
    int64_t lastWithSamples = -1;
    for (int64_t k = 0; k < joined.partCount(); ++k) {
        const JoinedFrameIndex::Part& part = joined.part(k);
        EXPECT_EQ(part.state, states[static_cast<size_t>(k)]) << "part " << k;
        EXPECT_EQ(part.firstSample, expectedStart) << "part " << k;
        if (part.state == PartState::kPresent) {
            EXPECT_EQ(part.lengthSamples, Mp3FrameIndex::fromFile(part.path).value().lengthSamples());
        } else {
            EXPECT_EQ(part.lengthSamples, 0);
            EXPECT_FALSE(part.problem.empty());
        }
        expectedStart += part.lengthSamples;
    }
    EXPECT_EQ(joined.lengthSamples(), expectedStart);
    EXPECT_EQ(joined.sampleRateHz(), 22050);
    EXPECT_EQ(joined.lengthMs(), joined.sampleToMs(joined.lengthSamples()));

    // The record times tile the stream; each start lands exactly on its part's first sample.
    const std::vector<JoinedFrameIndex::PartTimes> times = joined.partTimesMs();
    ASSERT_EQ(times.size(), 6u);
    EXPECT_EQ(times.front().startMs, 0);
    EXPECT_EQ(times.back().endMs, joined.lengthMs());
    for (size_t k = 0; k < times.size(); ++k) {
        if (k > 0) {
            EXPECT_EQ(times[k].startMs, times[k - 1].endMs);
        }
        const int64_t first = joined.part(static_cast<int64_t>(k)).firstSample;
        if (joined.part(static_cast<int64_t>(k)).lengthSamples > 0) {
            EXPECT_EQ(joined.msToSample(times[k].startMs), first) << "part " << k;
            EXPECT_EQ(joined.partAtSample(first), static_cast<int64_t>(k));
            if (lastWithSamples >= 0) {
                EXPECT_EQ(joined.partAtSample(first - 1), lastWithSamples);
            }
            lastWithSamples = static_cast<int64_t>(k);
        }
    }
    // Every whole millisecond still maps to a sample inside it.
    for (int64_t ms = 0; ms <= joined.lengthMs(); ms += 7)
        EXPECT_EQ(joined.sampleToMs(joined.msToSample(ms)), ms);
}

TEST(JoinedFrameIndexParts, AFileOfAnotherFormatIsDamagedAndNothingAtAllIsAnEmptyStream) {
    const Recording mono = makeVerseRecordings({400}).front();
    const Recording stereo = makeVerseRecordings({400}, RecordingSpec::stereo44()).front();
    const JoinedFrameIndex joined = JoinedFrameIndex::fromFiles({mono.path, stereo.path, mono.path});
    EXPECT_EQ(joined.part(1).state, PartState::kDamaged);
    EXPECT_EQ(joined.part(2).state, PartState::kPresent);
    EXPECT_EQ(joined.lengthSamples(), 2 * joined.part(0).lengthSamples);

    const JoinedFrameIndex nothing = JoinedFrameIndex::fromFiles({"", "", LUMORA_TEST_SOURCE_FILE});
    EXPECT_EQ(nothing.lengthSamples(), 0);
    EXPECT_EQ(nothing.partAtSample(0), -1);
    EXPECT_EQ(nothing.byteOffsetAtSample(100), 0);
    Player player(std::make_unique<NullOutput>(NullOutput::Mode::Manual));
    EXPECT_FALSE(player.openJoinedRecording(std::make_shared<const JoinedFrameIndex>(nothing)));
    EXPECT_FALSE(player.hasStream());
    EXPECT_EQ(player.streamLength(), 0);
    player.play(0, 1000);
    EXPECT_EQ(player.getPosition(), 200);
}

class JoinedPlaybackTest : public ::testing::Test {
protected:
    void open(const std::vector<std::string>& paths) {
        joined = std::make_shared<const JoinedFrameIndex>(JoinedFrameIndex::fromFiles(paths));
        auto created = std::make_unique<NullOutput>(NullOutput::Mode::Manual);
        output = created.get();
        player = std::make_unique<Player>(std::move(created));
        ASSERT_TRUE(player->openJoinedRecording(joined));
        // The files decoded one by one, end to end: what the stream must sound like.
        for (const JoinedFrameIndex::Part& part : joined->parts()) {
            if (part.state != PartState::kPresent)
                continue;
            const std::vector<float> alone = decodeAlone(part.path);
            reference.insert(reference.end(), alone.begin(), alone.end());
        }
    }

    std::shared_ptr<const JoinedFrameIndex> joined;
    NullOutput* output = nullptr;
    std::unique_ptr<Player> player;
    std::vector<float> reference;
};

class JoinedPlayback : public JoinedPlaybackTest, public ::testing::WithParamInterface<RecordingSpec> {};

TEST_P(JoinedPlayback, PlaysEveryFileDecodedAloneEndToEndSampleForSample) {
    std::vector<std::string> paths = mixedVerseFiles(GetParam());
    paths.insert(paths.begin() + 2, "");  // a missing verse between two present ones
    open(paths);
    EXPECT_EQ(player->streamLength(), joined->lengthMs());
    EXPECT_EQ(static_cast<int64_t>(reference.size()), joined->lengthSamples() * joined->channels());

    player->play(0, player->streamLength() + Player::kLookAheadMs + 100);
    const std::vector<float> played = capture(*output, player->streamLength() + 300);
    EXPECT_EQ(firstDifference(played, reference, joined->channels()), -1);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->heardSample(), joined->lengthSamples());
}

TEST_P(JoinedPlayback, APartsStartTimePlaysItsFileFromItsFirstSample) {
    open(mixedVerseFiles(GetParam()));
    const std::vector<JoinedFrameIndex::PartTimes> times = joined->partTimesMs();
    // Backwards, so every start is a real seek, also into a part the decoder has open.
    for (int64_t k = joined->partCount() - 1; k >= 0; --k) {
        const JoinedFrameIndex::Part& part = joined->part(k);
        player->stopPlaying();
        output->advanceMs(20);  // the stop's fade-out
        // A start of 0 leaves the stream where it is, so the first verse is sought the way the controller
        // does.
        if (k == 0)
            player->setPositionInSec(0);
        player->play(times[static_cast<size_t>(k)].startMs, times[static_cast<size_t>(k)].endMs);
        EXPECT_EQ(player->heardSample(), part.firstSample) << "part " << k;
        const std::vector<float> played = capture(*output, 150);
        std::vector<float> alone = decodeAlone(part.path);
        alone.resize(played.size());
        EXPECT_EQ(firstDifference(played, alone, joined->channels()), -1) << "part " << k;
        // A verse played alone ends 200 ms before the next one starts.
        output->advanceMs(times[static_cast<size_t>(k)].endMs - times[static_cast<size_t>(k)].startMs);
        EXPECT_FALSE(player->isPlaying());
        EXPECT_EQ(player->getPosition(), times[static_cast<size_t>(k)].endMs) << "part " << k;
    }
}

TEST_P(JoinedPlayback, SeekingAcrossAJoinAndWithinAFileMatchesTheJoinedStream) {
    open(mixedVerseFiles(GetParam()));
    const int32_t join = joined->partTimesMs()[2].startMs;
    for (int32_t startMs : {join - 80, join + 5, 17, static_cast<int32_t>(joined->lengthMs()) - 300}) {
        player->stopPlaying();
        output->advanceMs(20);
        player->play(startMs, static_cast<int32_t>(joined->lengthMs()) + 1000);
        const std::vector<float> played = capture(*output, 200);
        const int64_t first = joined->msToSample(startMs) * joined->channels();
        float worst = 0;
        for (size_t k = 0; k < played.size() && static_cast<size_t>(first) + k < reference.size(); ++k)
            worst = std::max(worst, std::abs(played[k] - reference[static_cast<size_t>(first) + k]));
        // Within -80 dB: a synthesis rebuilt after a seek inside a file may differ in the last bits.
        EXPECT_LE(worst, 1e-4f) << "start " << startMs;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, JoinedPlayback,
                         ::testing::Values(RecordingSpec::mono22(), RecordingSpec::stereo44()),
                         [](const ::testing::TestParamInfo<RecordingSpec>& spec) {
                             return spec.param.channels == 1 ? std::string("Mono22")
                                                             : std::string("Stereo44");
                         });

TEST_F(JoinedPlaybackTest, AFileDamagedInTheMiddleKeepsEveryLaterFileInPlace) {
    const std::vector<Recording> files = makeVerseRecordings({900, 2600, 700});
    ScratchFolder folder;
    std::vector<uint8_t> bytes = readFileBytes(files[1].path);
    // Junk over a stretch of frames in the middle of the second verse.
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2),
              bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2 + 900), uint8_t{0x5A});
    const std::string damaged = folder.write("002002.mp3", bytes);
    open({files[0].path, damaged, files[2].path});

    player->play(0, player->streamLength() + 1000);
    const std::vector<float> played = capture(*output, player->streamLength() + 300);
    const int64_t lastFirst = joined->part(2).firstSample;
    const std::vector<float> last = decodeAlone(files[2].path);
    ASSERT_GE(played.size(), static_cast<size_t>(lastFirst) + last.size());
    const std::vector<float> heardLast(played.begin() + lastFirst,
                                       played.begin() + lastFirst + static_cast<std::ptrdiff_t>(last.size()));
    EXPECT_EQ(firstDifference(heardLast, last, 1), -1);
    const std::vector<float> first = decodeAlone(files[0].path);
    EXPECT_EQ(firstDifference(played, first, 1), -1);
}

}  // namespace
}  // namespace lumora::test

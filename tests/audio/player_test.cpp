// The player over a manual null output: end mark, look-ahead, pause and seek behaviour on real files.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "audio/sounderrors.h"
#include "audio/soundoutput.h"
#include "playerfixture.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

class PlayerTest : public PlayerFixture {
protected:
    void SetUp() override { openRecording(RecordingSpec::stereo44(12000)); }
};

TEST_F(PlayerTest, OpeningSetsTheStreamLengthAndLeavesTheStreamStopped) {
    EXPECT_EQ(player->streamLength(), 12000);
    EXPECT_FALSE(player->isPlaying());
    output->advanceMs(500);
    EXPECT_EQ(player->heardSample(), 0);
    EXPECT_TRUE(player->initMessage().empty());
}

TEST_F(PlayerTest, EndMarkStopsTwoHundredMillisecondsEarly) {
    player->play(0, 10000);
    output->advanceMs(9799);
    EXPECT_EQ(player->getPosition(), 9999);
    EXPECT_TRUE(player->isPlaying());
    output->advanceMs(1);
    EXPECT_EQ(player->getPosition(), 10000);
    EXPECT_FALSE(player->isPlaying());
    output->advanceMs(1000);
    EXPECT_EQ(player->getPosition(), 10000);
}

TEST_F(PlayerTest, CallbackStopsAtTheEndMarkEvenWithoutQueries) {
    player->play(1000, 3000);
    output->advanceMs(5000);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->getPosition(), 3000);
}

TEST_F(PlayerTest, StartOfZeroLeavesTheStreamWhereItIs) {
    player->setPositionInSec(5000);
    player->play(0, 11000);
    EXPECT_EQ(player->getPosition(), 5200);
    output->advanceMs(300);
    EXPECT_EQ(player->getPosition(), 5500);
}

TEST_F(PlayerTest, StartAboveZeroSeeks) {
    player->play(3000, 11000);
    EXPECT_EQ(player->getPosition(), 3200);
    output->advanceMs(250);
    EXPECT_EQ(player->getPosition(), 3450);
    // A new start while playing moves the stream again.
    player->play(7000, 11000);
    EXPECT_EQ(player->getPosition(), 7200);
    output->advanceMs(100);
    EXPECT_EQ(player->getPosition(), 7300);
}

TEST_F(PlayerTest, EndOfZeroStopsAtTheNextQuery) {
    player->play(2000, 0);
    EXPECT_EQ(player->endMark(), 0);
    EXPECT_EQ(player->getPosition(), 2200);
    EXPECT_FALSE(player->isPlaying());
    player->play(2000, -5);
    EXPECT_EQ(player->endMark(), 0);
}

TEST_F(PlayerTest, SetEndMovesTheStopDuringPlayback) {
    player->play(0, 2000);
    output->advanceMs(1000);
    player->setEnd(4000);
    output->advanceMs(2000);
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(player->getPosition(), 3200);
    output->advanceMs(1000);
    EXPECT_EQ(player->getPosition(), 4000);
    EXPECT_FALSE(player->isPlaying());
}

TEST_F(PlayerTest, PauseBreakedFollowsPlayPauseAndResume) {
    player->setPauseBreaked(false);
    player->play(0, 5000);
    EXPECT_TRUE(player->pauseBreaked());
    player->pausePlaying();
    EXPECT_FALSE(player->pauseBreaked());
    player->resumePlaying();
    EXPECT_TRUE(player->pauseBreaked());
    // Pausing a stopped stream still clears the flag, as the sequencer's waits expect.
    player->stopPlaying();
    player->pausePlaying();
    EXPECT_FALSE(player->pauseBreaked());
    player->resumePlaying();
    EXPECT_TRUE(player->pauseBreaked());
    EXPECT_FALSE(player->isPlaying());
}

TEST_F(PlayerTest, PositionIsFrozenWhilePausedAndGoesOnAfterResume) {
    player->play(0, 11000);
    output->advanceMs(1000);
    player->pausePlaying();
    const int32_t paused = player->getPosition();
    EXPECT_EQ(paused, 1200);
    output->advanceMs(2000);
    EXPECT_EQ(player->getPosition(), paused);
    EXPECT_TRUE(player->isPaused());
    player->resumePlaying();
    output->advanceMs(500);
    EXPECT_EQ(player->getPosition(), paused + 500);
}

TEST_F(PlayerTest, StopKeepsThePositionAndPlayCarriesOnFromIt) {
    player->play(0, 11000);
    output->advanceMs(1500);
    player->stopPlaying();
    output->advanceMs(1000);
    EXPECT_EQ(player->getPosition(), 1700);
    player->play(0, 11000);
    output->advanceMs(100);
    EXPECT_EQ(player->getPosition(), 1800);
}

TEST_F(PlayerTest, PositionNeverDecreasesWhilePlaying) {
    player->play(500, 11500);
    int32_t last = player->getPosition();
    for (int step = 1; step < 400 && player->isPlaying(); ++step) {
        output->advanceMs(step % 7 == 0 ? 0 : (step % 5) * 7 + 1);
        if (step % 50 == 0) {
            player->pausePlaying();
            output->advanceMs(30);
            player->resumePlaying();
        }
        const int32_t now = player->getPosition();
        EXPECT_GE(now, last);
        last = now;
    }
}

TEST_F(PlayerTest, PlayingToTheEndOfTheStreamStops) {
    player->play(11000, 20000);
    output->advanceMs(3000);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->getPosition(), 12000 + 200);
    // Playing on from the end ends at once; a seek back plays again.
    player->play(0, 20000);
    output->advanceMs(10);
    EXPECT_FALSE(player->isPlaying());
    player->play(100, 20000);
    output->advanceMs(10);
    EXPECT_TRUE(player->isPlaying());
}

TEST_F(PlayerTest, BytePositionFollowsTheHeardFrame) {
    const Mp3FrameIndex* index = player->frameIndex();
    ASSERT_NE(index, nullptr);
    player->play(0, 11000);
    int32_t last = 0;
    for (int i = 0; i < 40; ++i) {
        output->advanceMs(250);
        const int32_t bytes = player->getPositionByBytes();
        EXPECT_GE(bytes, last);
        EXPECT_EQ(bytes, index->byteOffsetAtSample(player->heardSample()));
        last = bytes;
    }
    EXPECT_GT(last, 0);
    player->closeAll();
    EXPECT_EQ(player->getPositionByBytes(), 0);
}

TEST(PlayerVolume, MapsTheThousandScaleToMasterVolumeHalvesToEven) {
    Player player(std::make_unique<NullOutput>(NullOutput::Mode::Manual));
    EXPECT_EQ(player.masterVolume(), 255);
    const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {100, 26},  {500, 128}, {1000, 255}, {2, 1},
                                                 {6, 2}, {998, 254}, {-40, 0},   {4000, 255}};
    for (const auto& [volume, master] : cases) {
        player.setVolume(volume);
        EXPECT_EQ(player.masterVolume(), master) << "volume " << volume;
    }
}

TEST(PlayerFiles, MissingOrDamagedFilesGiveNoStreamAndNoCrash) {
    Player player(std::make_unique<NullOutput>(NullOutput::Mode::Manual));
    player.setStreamLength(1234);
    EXPECT_FALSE(player.openMp3File("/nonexistent/lumora/001.mp3"));
    EXPECT_EQ(player.streamLength(), 0);
    EXPECT_FALSE(player.openMp3File(LUMORA_TEST_SOURCE_FILE));
    EXPECT_FALSE(player.hasStream());
    player.play(1000, 5000);
    EXPECT_TRUE(player.pauseBreaked());
    EXPECT_EQ(player.getPosition(), 200);
    EXPECT_EQ(player.getPositionByBytes(), 0);
    player.pausePlaying();
    player.resumePlaying();
    player.setPositionInSec(300);
    player.closeAll();
}

TEST_F(PlayerTest, PlayedAudioIsTheDecodedStreamFromTheStartSample) {
    const Mp3FrameIndex& index = *player->frameIndex();
    const std::vector<float> reference = straightDecode(recording.path, index);
    for (int32_t startMs : {1, 2345, 6000}) {
        player->stopPlaying();
        output->advanceMs(20);  // the stop's fade-out
        player->play(startMs, 11500);
        const std::vector<float> played = capture(*output, 300);
        const int64_t first = index.msToSample(startMs) * index.channels();
        ASSERT_LE(static_cast<size_t>(first) + played.size(), reference.size());
        float worst = 0;
        for (size_t k = 0; k < played.size(); ++k) {
            worst = std::max(worst, std::abs(played[k] - reference[static_cast<size_t>(first) + k]));
        }
        // Within -80 dB: the synthesis rebuilt after a seek may differ in the last bits.
        EXPECT_LE(worst, 1e-4f) << "start " << startMs;
    }
}

TEST_F(PlayerTest, PauseFadesOutAndVolumeScalesTheOutput) {
    player->setVolume(500);
    player->play(1000, 11000);
    output->advanceMs(100);
    const std::vector<float> half = capture(*output, 100);
    player->setVolume(1000);
    output->advanceMs(100);
    const std::vector<float> full = capture(*output, 100);
    auto peak = [](const std::vector<float>& samples) {
        float value = 0;
        for (float s : samples) value = std::max(value, std::abs(s));
        return value;
    };
    EXPECT_NEAR(peak(half) / peak(full), 128.0 / 255.0, 0.02);
    player->pausePlaying();
    const std::vector<float> afterPause = capture(*output, 50);
    // The fade lasts 5 ms; after it the output is silent.
    const size_t fadeSamples = static_cast<size_t>(44100 * 2 * 6 / 1000);
    for (size_t k = fadeSamples; k < afterPause.size(); ++k) {
        ASSERT_EQ(afterPause[k], 0.0f) << k;
    }
    for (size_t k = 2; k + 2 < fadeSamples; k += 2) {
        EXPECT_LE(std::abs(afterPause[k]), peak(full) + 1e-6f);
    }
}

}  // namespace
}  // namespace lumora::test

namespace lumora::test {
namespace {

// An output whose device never opens.
class RefusingOutput : public SoundOutput {
public:
    Result<void> start(const SoundFormat&, Renderer) override {
        return Error{kSoundOutputInUse, "test", "busy"};
    }
    void stop() override {}
    int64_t latencyFrames() const override { return 0; }
    bool realTime() const override { return true; }
};

TEST(PlayerOutput, AFailingOutputGivesTheMessageAndPlaybackGoesOnSilently) {
    Player player(std::make_unique<RefusingOutput>());
    EXPECT_EQ(player.initMessage(),
              "Sound output cannot initialize because of an error.\n"
              "The output device is already in use and cannot be reused.");
    EXPECT_TRUE(player.output().realTime());
    ASSERT_TRUE(player.openMp3File(makeRecording(RecordingSpec::mono22(1000)).path));
    EXPECT_EQ(player.streamLength(), 1000);
}

TEST(SoundErrors, NumbersMapToTheirTexts) {
    EXPECT_EQ(soundErrorText(0), "No errors");
    EXPECT_EQ(soundErrorText(3), "Error initializing output device.");
    EXPECT_EQ(soundErrorText(12), "Not enough memory ");
    EXPECT_EQ(soundErrorText(19), "An error occured trying to open the specified CD device");
    EXPECT_EQ(soundErrorText(20), "Unknown error");
    EXPECT_EQ(soundErrorText(-1), "Unknown error");
    EXPECT_EQ(soundInitFailureMessage(9),
              "Sound output cannot initialize because of an error.\nFile not found");
}

}  // namespace
}  // namespace lumora::test

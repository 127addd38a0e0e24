// The real output through SDL2's dummy driver: it opens, renders and follows the player. No timing is
// checked; waits spin until the output has rendered something.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/player.h"
#include "audio/soundoutputfactory.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

// Spins until `done` holds; false when the output never got there (a wedged device).
template <typename Condition>
bool spinUntil(Condition done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

TEST(SdlOutput, PlaysPausesAndReopensForAnotherFormat) {
    std::string message = "unchanged";
    std::unique_ptr<SoundOutput> output = createSystemOutput(message);
    EXPECT_EQ(message, "");
    EXPECT_TRUE(output->realTime());
    EXPECT_GT(output->latencyFrames(), 0);

    Player player(std::move(output));
    EXPECT_EQ(player.initMessage(), "");
    ASSERT_TRUE(player.openMp3File(makeRecording(RecordingSpec::stereo44(3000)).path));
    player.enableEqualizer();
    player.setEqualizerValue({-8, 10, 10, 6, 2, -4, -8, -10, -11, -11});
    player.play(500, 2800);
    ASSERT_TRUE(spinUntil([&] { return player.heardSample() > player.frameIndex()->msToSample(500); }));
    player.pausePlaying();
    const int32_t paused = player.getPosition();
    for (int i = 0; i < 1000; ++i) {
        std::this_thread::yield();
    }
    EXPECT_EQ(player.getPosition(), paused);
    player.resumePlaying();

    // A mono 22.05 kHz file reopens the device with its own format.
    ASSERT_TRUE(player.openMp3File(makeRecording(RecordingSpec::mono22(1000)).path));
    player.play(0, 900);
    ASSERT_TRUE(spinUntil([&] {
        player.getPosition();
        return !player.isPlaying();
    }));
    EXPECT_EQ(player.getPosition(), 900);
    player.closeAll();
}

TEST(SdlOutput, WithoutADeviceFallsBackToTheNullOutputWithOneMessage) {
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("SDL_AUDIODRIVER", "lumora-no-such-driver", 1);
    std::string message;
    std::unique_ptr<SoundOutput> output = createSystemOutput(message);
    setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    EXPECT_EQ(message,
              "Sound output cannot initialize because of an error.\nError initializing output device.");
    ASSERT_TRUE(output);
    EXPECT_TRUE(output->realTime());
    Player player(std::move(output));
    EXPECT_EQ(player.initMessage(), "");
    ASSERT_TRUE(player.openMp3File(makeRecording(RecordingSpec::mono22(1000)).path));
    player.play(0, 600);
    ASSERT_TRUE(spinUntil([&] {
        player.getPosition();
        return !player.isPlaying();
    }));
}

}  // namespace
}  // namespace lumora::test

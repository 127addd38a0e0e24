// Playback speed through the real player over a manual null output: the pitch stays, the recording
// takes 1 / speed as long, positions stay in recording samples, 1.00 is the untouched chain, and a
// change while playing neither clicks nor jumps.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/nulloutput.h"
#include "audio/player.h"
#include "playerfixture.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

// The frequency of a steady tone in channel 0 of `samples`, from its upward zero crossings
// (interpolated between samples).
double toneFrequency(const std::vector<float>& samples, int channels, int rateHz, size_t fromFrame, size_t toFrame) {
    double first = -1.0;
    double last = -1.0;
    int crossings = 0;
    for (size_t i = fromFrame + 1; i < toFrame; ++i) {
        const float a = samples[(i - 1) * static_cast<size_t>(channels)];
        const float b = samples[i * static_cast<size_t>(channels)];
        if (a < 0.0f && b >= 0.0f) {
            const double at = static_cast<double>(i - 1) + a / (a - b);
            if (first < 0) {
                first = at;
            } else {
                ++crossings;
            }
            last = at;
        }
    }
    return crossings > 0 ? crossings * rateHz / (last - first) : 0.0;
}

double largestStep(const std::vector<float>& samples, int channels, size_t fromFrame, size_t toFrame) {
    double largest = 0.0;
    for (size_t i = fromFrame + 1; i < toFrame; ++i) {
        largest = std::max(largest, std::abs(static_cast<double>(samples[i * static_cast<size_t>(channels)]) -
                                             samples[(i - 1) * static_cast<size_t>(channels)]));
    }
    return largest;
}

class Speed : public PlayerFixture {
protected:
    void SetUp() override {
        RecordingSpec spec = RecordingSpec::stereo44();
        spec.segments = {Segment::tone(1000.0, 4000)};
        openRecording(spec);
        output->setCapture(true);
    }

    // Plays startMs..endMs at `speed` until the player stops by itself; the wall-clock ms it took.
    int64_t playThrough(double speed, int32_t startMs, int32_t endMs) {
        player->setSpeed(speed);
        player->play(startMs, endMs);
        int64_t elapsed = 0;
        while (player->isPlaying() && elapsed < 20000) {
            output->advanceMs(1);
            ++elapsed;
        }
        return elapsed;
    }
};

TEST_F(Speed, KeepsTheToneAndStretchesTheTimeByOneOverTheSpeed) {
    for (double speed : {0.5, 0.75, 1.5}) {
        SCOPED_TRACE(speed);
        (void)output->takeCaptured();
        // 500 .. 3300 ms of the recording are heard (the end mark stops 200 ms early): 2800 ms.
        const int64_t wallMs = playThrough(speed, 500, 3500);
        EXPECT_NEAR(static_cast<double>(wallMs), 2800.0 / speed, 20.0);
        EXPECT_EQ(player->heardSample(), recording.sampleRateHz * 3300 / 1000);
        EXPECT_EQ(player->getPosition(), 3500);
        const std::vector<float> heard = output->takeCaptured();
        const size_t frames = heard.size() / 2;
        EXPECT_NEAR(toneFrequency(heard, 2, recording.sampleRateHz, frames / 4, frames * 3 / 4), 1000.0, 10.0);
    }
}

TEST_F(Speed, OneIsTheUntouchedChainEvenAfterAnotherSpeed) {
    playThrough(1.0, 1000, 2000);
    const std::vector<float> plain = output->takeCaptured();
    player->setSpeed(0.8);
    player->play(100, 3000);
    output->advanceMs(300);
    player->stopPlaying();
    output->advanceMs(20);
    (void)output->takeCaptured();
    playThrough(1.0, 1000, 2000);
    const std::vector<float> again = output->takeCaptured();
    // The runs may end a frame apart (whole milliseconds of output against whole samples).
    ASSERT_NEAR(static_cast<double>(plain.size()), static_cast<double>(again.size()), 4.0);
    const size_t common = std::min(plain.size(), again.size());
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(common), again.begin()));
}

TEST_F(Speed, SeeksAndPositionsStayInRecordingTime) {
    player->setSpeed(0.5);
    player->play(2000, 3900);
    EXPECT_EQ(player->getPosition(), 2200);
    output->advanceMs(400);
    EXPECT_EQ(player->getPosition(), 2400);
    player->setPositionInSec(1000);
    output->advanceMs(200);
    EXPECT_EQ(player->getPosition(), 1300);
    player->pausePlaying();
    output->advanceMs(500);
    EXPECT_EQ(player->getPosition(), 1300);
    player->resumePlaying();
    player->setSpeed(1.5);
    output->advanceMs(200);
    // The piece the stage made at the old speed plays out first (about 12 ms at most).
    EXPECT_NEAR(player->getPosition(), 1600, 12);
    // The end mark moved during playback still stops at its recording sample.
    player->setEnd(2000);
    while (player->isPlaying()) {
        output->advanceMs(1);
    }
    EXPECT_EQ(player->heardSample(), recording.sampleRateHz * 1800 / 1000);
}

TEST_F(Speed, NothingPastTheStopSampleSoundsOnceTheRangeHasEnded) {
    // Stopping at the end mark fades out from what would come next; past the stop sample nothing may
    // come (it is the next verse), so what follows the stop is silence at every speed.
    for (double speed : {1.0, 0.5, 0.75, 1.5}) {
        SCOPED_TRACE(speed);
        playThrough(speed, 500, 1700);
        ASSERT_EQ(player->heardSample(), recording.sampleRateHz * 1500 / 1000);
        const std::vector<float> after = capture(*output, 30);
        EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](float s) { return s == 0.0f; }));
    }
}

TEST_F(Speed, ChangingWhilePlayingNeitherClicksNorJumps) {
    const std::vector<std::pair<int, double>> changes = {{300, 0.75}, {700, 1.25}, {1100, 0.5}, {1500, 1.0},
                                                         {1900, 1.5}};
    // The signal's own largest step: each speed played steadily (a stretched tone's level wavers a
    // little, so each speed counts).
    double ownStep = 0.0;
    for (const auto& change : changes) {
        player->setSpeed(change.second);
        player->play(500, 3900);
        output->advanceMs(100);
        (void)output->takeCaptured();
        output->advanceMs(300);
        const std::vector<float> steady = output->takeCaptured();
        ownStep = std::max(ownStep, largestStep(steady, 2, 0, steady.size() / 2));
        player->stopPlaying();
        output->advanceMs(20);
    }

    player->setSpeed(1.0);
    player->play(500, 3900);
    output->advanceMs(20);
    (void)output->takeCaptured();
    int64_t last = player->heardSample();
    const double samplesPerMs = recording.sampleRateHz / 1000.0;
    size_t next = 0;
    for (int ms = 1; ms <= 2300; ++ms) {
        if (next < changes.size() && changes[next].first == ms) {
            player->setSpeed(changes[next++].second);
        }
        output->advanceMs(1);
        const int64_t heard = player->heardSample();
        EXPECT_GE(heard - last, static_cast<int64_t>(0.5 * samplesPerMs) - 1) << ms;
        EXPECT_LE(heard - last, static_cast<int64_t>(1.5 * samplesPerMs) + 2) << ms;
        last = heard;
    }
    const std::vector<float> changed = output->takeCaptured();
    // A click is a step well above the signal's own; 2 % leaves room for a stretched tone's wobble.
    EXPECT_LE(largestStep(changed, 2, 1, changed.size() / 2), ownStep * 1.02);
}

// The frame at which channel 0 first reaches `level`.
size_t firstAbove(const std::vector<float>& samples, int channels, float level) {
    for (size_t i = 0; i < samples.size() / static_cast<size_t>(channels); ++i) {
        if (std::abs(samples[i * static_cast<size_t>(channels)]) >= level) {
            return i;
        }
    }
    return samples.size();
}

// A fresh player per case, each on its own recording.
class SpeedAlignment : public PlayerFixture {};
class SpeedEnd : public PlayerFixture {};

TEST_F(SpeedAlignment, WhatIsHeardIsTheRecordingAtThePosition) {
    // Silence, then a tone from 1000 ms, played from 500 ms: the tone's onset is heard where the
    // recording has it, in recording time, at every speed. The stretcher spreads an onset over its
    // window (46 ms at 44.1 kHz), so "where" is within a few milliseconds of the unstretched onset.
    RecordingSpec spec = RecordingSpec::stereo44();
    spec.segments = {Segment::silence(1000), Segment::tone(700.0, 1500), Segment::silence(500)};
    double plainOnsetMs = 0.0;
    for (double speed : {1.0, 0.5, 0.75, 1.5}) {
        SCOPED_TRACE(speed);
        openRecording(spec);
        output->setCapture(true);
        player->setSpeed(speed);
        player->play(500, 2900);
        output->advanceMs(static_cast<int64_t>(800 / speed));
        const std::vector<float> heard = output->takeCaptured();
        const double onsetMs = 500.0 + speed * firstAbove(heard, 2, 0.1f) * 1000.0 / recording.sampleRateHz;
        if (speed == 1.0) {
            plainOnsetMs = onsetMs;
            EXPECT_NEAR(onsetMs, 1000.0, 3.0);
        } else {
            EXPECT_NEAR(onsetMs, plainOnsetMs, 6.0);
        }
    }
}

TEST_F(SpeedAlignment, ManyChangesKeepThePositionOnWhatIsHeard) {
    // Silence, then a tone from 3000 ms. Swinging the speed to and fro while the silence plays (a slider
    // being dragged) must leave the position on the audio: the onset is heard when the position says
    // 3000 ms, and going back to 1.00 right after it goes on with the tone instead of playing the
    // silence before it again.
    RecordingSpec spec = RecordingSpec::stereo44();
    spec.segments = {Segment::silence(3000), Segment::tone(700.0, 1000)};
    openRecording(spec);
    player->setSpeed(0.75);
    player->play(100, 3900);
    double onsetMs = -1.0;
    for (int ms = 0; onsetMs < 0.0 && ms < 6000; ++ms) {
        if (ms < 2000 && ms % 37 == 0) {
            player->setSpeed((ms / 37) % 2 == 0 ? 0.5 : 1.5);
        } else if (ms == 2000) {
            player->setSpeed(0.75);
        }
        const int64_t before = player->heardSample();
        const std::vector<float> heard = capture(*output, 1);
        const int64_t after = player->heardSample();
        const size_t at = firstAbove(heard, 2, 0.1f);
        if (at < heard.size()) {
            onsetMs = (static_cast<double>(before) + static_cast<double>(after - before) * static_cast<double>(at) /
                                                         static_cast<double>(heard.size() / 2)) *
                      1000.0 / recording.sampleRateHz;
        }
    }
    EXPECT_NEAR(onsetMs, 3000.0, 8.0);

    output->advanceMs(30);
    player->setSpeed(1.0);
    const std::vector<float> heard = capture(*output, 100);
    int silentMs = 0;
    for (size_t ms = 0; ms < 100; ++ms) {
        const size_t frame = ms * static_cast<size_t>(recording.sampleRateHz) / 1000;
        const std::vector<float> slice(heard.begin() + static_cast<std::ptrdiff_t>(frame * 2),
                                       heard.begin() + static_cast<std::ptrdiff_t>((frame + 44) * 2));
        silentMs += firstAbove(slice, 2, 0.2f) < slice.size() ? 0 : 1;
    }
    EXPECT_EQ(silentMs, 0);
}

TEST_F(SpeedEnd, TheRecordingPlaysToItsLastSampleAndThePlayerSaysItHasEnded) {
    // A tone to the very end of the file, played from 1000 ms with the end mark beyond the file: at
    // every speed the tone sounds until the recording's end (in wall-clock time (length - start) /
    // speed) and the player stops with the position at the last sample, as it does at 1.00.
    for (const RecordingSpec& base : {RecordingSpec::stereo44(), RecordingSpec::mono22()}) {
        RecordingSpec spec = base;
        spec.segments = {Segment::tone(700.0, 2000)};
        for (double speed : {1.0, 0.5, 0.75, 1.25, 1.5}) {
            SCOPED_TRACE(testing::Message() << spec.channels << " channel(s) at " << speed);
            openRecording(spec);
            output->setCapture(true);
            player->setSpeed(speed);
            player->play(1000, 5000);
            for (int ms = 0; player->isPlaying() && ms < 5000; ++ms) {
                output->advanceMs(1);
            }
            EXPECT_FALSE(player->isPlaying());
            const int64_t length = player->recordingIndex()->lengthSamples();
            EXPECT_EQ(player->heardSample(), length);
            EXPECT_EQ(player->getPosition(), 2000 + Player::kLookAheadMs);

            const std::vector<float> heard = output->takeCaptured();
            const auto channels = static_cast<size_t>(recording.channels);
            size_t lastLoud = 0;
            for (size_t i = 0; i < heard.size() / channels; ++i) {
                if (std::abs(heard[i * channels]) >= 0.1f) {
                    lastLoud = i;
                }
            }
            const double endFrame = static_cast<double>(length - recording.sampleRateHz) / speed;
            EXPECT_GE(static_cast<double>(lastLoud), endFrame - recording.sampleRateHz * 0.003);
        }
    }
}

}  // namespace
}  // namespace lumora::test

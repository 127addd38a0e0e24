#pragma once
// A Player over a manual null output with one test recording open: the test moves time by hand.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "audio/nulloutput.h"
#include "audio/player.h"
#include "support/testrecordings.h"

namespace lumora::test {

// Renders `ms` of audio and returns the samples.
inline std::vector<float> capture(NullOutput& output, int64_t ms) {
    output.setCapture(true);
    output.takeCaptured();
    output.advanceMs(ms);
    output.setCapture(false);
    return output.takeCaptured();
}

// The whole file decoded on its own, from its first sample to its last.
inline std::vector<float> straightDecode(const std::string& path, const Mp3FrameIndex& index) {
    Mp3Decoder decoder;
    EXPECT_TRUE(decoder.open(path, index).ok());
    std::vector<float> all(static_cast<size_t>(index.lengthSamples() * index.channels()));
    const int64_t frames = decoder.read(all.data(), index.lengthSamples());
    EXPECT_EQ(frames, index.lengthSamples());
    return all;
}

class PlayerFixture : public ::testing::Test {
protected:
    void openRecording(const RecordingSpec& spec) {
        recording = makeRecording(spec);
        auto created = std::make_unique<NullOutput>(NullOutput::Mode::Manual);
        output = created.get();
        player = std::make_unique<Player>(std::move(created));
        ASSERT_TRUE(player->openMp3File(recording.path));
    }

    Recording recording;
    NullOutput* output = nullptr;
    std::unique_ptr<Player> player;
};

}  // namespace lumora::test

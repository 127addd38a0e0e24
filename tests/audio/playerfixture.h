#pragma once
// A Player over a manual null output with one test recording open: the test moves time by hand.

#include <gtest/gtest.h>

#include <memory>

#include "audio/nulloutput.h"
#include "audio/player.h"
#include "support/testrecordings.h"

namespace lumora::test {

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

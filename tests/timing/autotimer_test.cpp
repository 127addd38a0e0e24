// Automatic timing on recitations synthesised with known verse starts, decoded from real MP3 files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "audio/decodeall.h"
#include "support/testrecordings.h"
#include "timing/synthrecitation.h"

namespace lumora {
namespace {

QString programFolder() {
    const char* folder = std::getenv("LUMORA_PROGRAM_FOLDER");
    return QString::fromUtf8(folder != nullptr ? folder : ".");
}

TEST(AutoTimer, FindsEveryVerseOfTheFixturesJustBeforeItsFirstSound) {
    for (const test::AutotimeFixture& fixture : test::autotimeFixtures()) {
        SCOPED_TRACE(fixture.name);
        const test::AutotimeOutcome outcome = test::runAutotimeFixture(fixture, programFolder());
        ASSERT_TRUE(outcome.timing.ok()) << outcome.timing.error().description;
        const AutoTiming& timing = outcome.timing.value();
        ASSERT_EQ(timing.records.size(), outcome.recitation.firstSoundMs.size());
        EXPECT_EQ(outcome.misplaced, 0);
        EXPECT_LE(outcome.medianStartErrorMs, 50);
        EXPECT_LE(outcome.latestStartMs, 30);
        for (size_t r = 0; r < timing.records.size(); ++r) {
            // Each verse ends after its last sound and before the next one starts.
            EXPECT_GE(timing.records[r].endMs, outcome.recitation.lastSoundMs[r]) << r;
            if (r + 1 < timing.records.size()) {
                EXPECT_LE(timing.records[r].endMs, timing.records[r + 1].startMs) << r;
            }
            EXPECT_GE(timing.confidence[r], 0.0);
            EXPECT_LE(timing.confidence[r], 1.0);
        }
    }
}

TEST(AutoTimer, RefusesRecordingsThatCannotBeTimed) {
    std::vector<float> silence(22050 * 3, 0.0f);
    AutoTimer silent(22050);
    silent.addSamples(silence.data(), static_cast<int64_t>(silence.size()), 1);
    EXPECT_FALSE(silent.finish({5, 5}).ok());

    // One unbroken tone cannot hold two verses.
    test::RecordingSpec spec = test::RecordingSpec::mono22(4000);
    spec.segments = {test::Segment::silence(400), test::Segment::tone(220, 3000), test::Segment::silence(600)};
    const test::Recording recording = test::makeRecording(spec);
    std::optional<AutoTimer> timer;
    ASSERT_TRUE(decodeAll(recording.path, [&](const DecodedBlock& block) {
                    if (!timer) timer.emplace(block.sampleRateHz);
                    timer->addSamples(block.samples, block.frames, block.channels);
                    return true;
                }).ok());
    const Result<AutoTiming> two = timer->finish({10, 10});
    ASSERT_FALSE(two.ok());
    EXPECT_NE(two.error().description.find("0 pauses"), std::string::npos) << two.error().description;
    const Result<AutoTiming> one = timer->finish({10});
    ASSERT_TRUE(one.ok());
    EXPECT_NEAR(one.value().records[0].startMs, 400 - AutoTimer::kLeadMs, 10);
    EXPECT_NEAR(one.value().records[0].endMs, 3400 + AutoTimer::kLeadMs, 10);
}

}  // namespace
}  // namespace lumora

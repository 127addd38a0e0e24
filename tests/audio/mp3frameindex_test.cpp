// The frame index against libmpg123's own full scan, and the decoder's seeking against a straight decode.

#include <gtest/gtest.h>
#include <mpg123.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "mp3variants.h"
#include "support/scratchfolder.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

// The decoder's float synthesis may differ in the last bits after a seek (its filter state is rebuilt
// from fewer frames), so decoded samples count as the same within -80 dB of full scale. A shift of one
// sample in the test signals changes samples by more than 0.01.
constexpr float kSameSample = 1e-4f;

// libmpg123's view of a file after a full scan: length, frame offsets and format.
struct LibraryScan {
    int64_t lengthSamples = -1;
    std::vector<int64_t> offsets;
    long rate = 0;
    int channels = 0;
};

LibraryScan scanWithLibrary(const std::string& path, bool gapless) {
    LibraryScan scan;
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS, MPG123_QUIET | (gapless ? MPG123_GAPLESS : 0), 0);
    mpg123_param(handle, MPG123_INDEX_SIZE, -1000, 0);  // a full index, one entry per frame
    mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0);
    if (mpg123_open(handle, path.c_str()) == MPG123_OK && mpg123_scan(handle) == MPG123_OK) {
        scan.lengthSamples = mpg123_length(handle);
        off_t* offsets = nullptr;
        off_t step = 0;
        size_t fill = 0;
        if (mpg123_index(handle, &offsets, &step, &fill) == MPG123_OK && step == 1) {
            scan.offsets.assign(offsets, offsets + fill);
        }
        int encoding = 0;
        mpg123_getformat(handle, &scan.rate, &scan.channels, &encoding);
    }
    mpg123_delete(handle);
    return scan;
}

std::vector<float> decodeAll(const std::string& path, const Mp3FrameIndex& index, int64_t* frames) {
    Mp3Decoder decoder;
    EXPECT_TRUE(decoder.open(path, index).ok());
    std::vector<float> samples(static_cast<size_t>((index.lengthSamples() + 5000) * index.channels()));
    *frames = 0;
    for (int64_t got = 1; got > 0;) {
        got = decoder.read(samples.data() + *frames * index.channels(),
                           std::min<int64_t>(777, index.lengthSamples() + 5000 - *frames));
        *frames += got;
    }
    samples.resize(static_cast<size_t>(*frames * index.channels()));
    return samples;
}

class FrameIndexVariants : public ::testing::TestWithParam<size_t> {
protected:
    const Mp3Variant& variant() const { return mp3Variants()[GetParam()]; }
};

TEST_P(FrameIndexVariants, AgreesWithTheLibrarysOwnScan) {
    if (!variant().libraryAgrees) {
        GTEST_SKIP() << "the library misreads this file";
    }
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(variant().path);
    ASSERT_TRUE(index.ok()) << variant().name;
    const LibraryScan scan = scanWithLibrary(variant().path, index.value().gapless());
    EXPECT_EQ(index.value().lengthSamples(), scan.lengthSamples) << variant().name;
    EXPECT_EQ(index.value().frameOffsets(), scan.offsets) << variant().name;
    EXPECT_EQ(index.value().sampleRateHz(), scan.rate);
    EXPECT_EQ(index.value().channels(), scan.channels);
}

TEST_P(FrameIndexVariants, DecoderGivesExactlyTheIndexedLength) {
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(variant().path);
    ASSERT_TRUE(index.ok());
    int64_t frames = 0;
    decodeAll(variant().path, index.value(), &frames);
    EXPECT_EQ(frames, index.value().lengthSamples()) << variant().name;
}

// Every sample maps to the frame whose decoding hands it out, as libmpg123 numbers frames, and every
// frame to the first sample it hands out.
TEST_P(FrameIndexVariants, FrameAtSampleIsTheFrameThatOutputsIt) {
    if (!variant().libraryAgrees) {
        GTEST_SKIP() << "the library misreads this file";
    }
    Result<Mp3FrameIndex> result = Mp3FrameIndex::fromFile(variant().path);
    ASSERT_TRUE(result.ok());
    const Mp3FrameIndex& index = result.value();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS,
                 MPG123_QUIET | MPG123_FORCE_FLOAT | (index.gapless() ? MPG123_GAPLESS : 0), 0);
    mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0);
    ASSERT_EQ(mpg123_open(handle, variant().path.c_str()), MPG123_OK);
    int64_t sample = 0;
    int64_t wrong = 0;
    for (;;) {
        off_t frame = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int status = mpg123_decode_frame(handle, &frame, &audio, &bytes);
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) {
            break;
        }
        const int64_t count =
            static_cast<int64_t>(bytes / sizeof(float) / static_cast<size_t>(index.channels()));
        for (int64_t s = sample; s < sample + count && s < index.lengthSamples(); ++s) {
            wrong += index.frameAtSample(s) != frame;
        }
        if (count > 0 && sample < index.lengthSamples()) {
            wrong += index.firstSampleOfFrame(frame) != sample;
        }
        sample += count;
    }
    mpg123_delete(handle);
    EXPECT_EQ(wrong, 0) << variant().name;
    EXPECT_EQ(sample, index.lengthSamples()) << variant().name;
}

TEST_P(FrameIndexVariants, BytePositionsAreFrameAlignedAndNeverDecrease) {
    Result<Mp3FrameIndex> result = Mp3FrameIndex::fromFile(variant().path);
    ASSERT_TRUE(result.ok());
    const Mp3FrameIndex& index = result.value();
    const std::vector<int64_t>& offsets = index.frameOffsets();
    ASSERT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
    int64_t last = -1;
    for (int64_t ms = 0; ms <= index.lengthMs() + 50; ms += 7) {
        const int64_t offset = index.byteOffsetAtMs(ms);
        EXPECT_GE(offset, last);
        EXPECT_TRUE(std::binary_search(offsets.begin(), offsets.end(), offset));
        last = offset;
    }
    EXPECT_EQ(index.byteOffsetAtMs(index.lengthMs() + 1000),
              index.byteOffsetAtSample(index.lengthSamples() - 1));
}

TEST_P(FrameIndexVariants, SeekingIsSampleExact) {
    Result<Mp3FrameIndex> result = Mp3FrameIndex::fromFile(variant().path);
    ASSERT_TRUE(result.ok());
    const Mp3FrameIndex& index = result.value();
    int64_t total = 0;
    const std::vector<float> reference = decodeAll(variant().path, index, &total);
    const int64_t channels = index.channels();
    std::vector<int64_t> targets{
        0, 1, index.samplesPerFrame() - 1, index.samplesPerFrame(), total / 2, total - 1, total};
    std::mt19937 random(42);
    for (int i = 0; i < 40; ++i) {
        targets.push_back(static_cast<int64_t>(random() % static_cast<uint32_t>(total)));
    }
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.open(variant().path, index).ok());
    std::vector<float> buffer(static_cast<size_t>(1500 * channels));
    for (int64_t target : targets) {
        ASSERT_TRUE(decoder.seekToSample(target).ok());
        const int64_t frames = decoder.read(buffer.data(), 1500);
        ASSERT_EQ(frames, std::min<int64_t>(1500, total - target)) << variant().name << " at " << target;
        float worst = 0;
        for (int64_t k = 0; k < frames * channels; ++k) {
            worst = std::max(worst, std::abs(buffer[static_cast<size_t>(k)] -
                                             reference[static_cast<size_t>(target * channels + k)]));
        }
        EXPECT_LE(worst, kSameSample) << variant().name << " differs after a seek to " << target;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, FrameIndexVariants, ::testing::Range<size_t>(0, mp3Variants().size()),
                         [](const ::testing::TestParamInfo<size_t>& param) {
                             std::string name = mp3Variants()[param.param].name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(FrameIndex, ReadsFormatLengthAndGaplessTag) {
    const Recording stereo = makeRecording(RecordingSpec::stereo44(3000));
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(stereo.path);
    ASSERT_TRUE(index.ok());
    EXPECT_EQ(index.value().sampleRateHz(), 44100);
    EXPECT_EQ(index.value().channels(), 2);
    EXPECT_EQ(index.value().samplesPerFrame(), 1152);
    EXPECT_EQ(index.value().lengthSamples(), stereo.sourceSamples);
    EXPECT_EQ(index.value().lengthMs(), 3000);
    EXPECT_TRUE(index.value().gapless());
    EXPECT_FALSE(index.value().joined());
    EXPECT_EQ(index.value().encoderDelay(), 576);

    const Recording mono = makeRecording(RecordingSpec::mono22(2000));
    index = Mp3FrameIndex::fromFile(mono.path);
    ASSERT_TRUE(index.ok());
    EXPECT_EQ(index.value().sampleRateHz(), 22050);
    EXPECT_EQ(index.value().channels(), 1);
    EXPECT_EQ(index.value().samplesPerFrame(), 576);
    EXPECT_EQ(index.value().lengthSamples(), mono.sourceSamples);
}

TEST(FrameIndex, NoticesJoinedFilesAndCutOffFiles) {
    for (const Mp3Variant& variant : mp3Variants()) {
        Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(variant.path);
        ASSERT_TRUE(index.ok()) << variant.name;
        EXPECT_EQ(index.value().joined(), variant.name.rfind("joined", 0) == 0) << variant.name;
        if (variant.name.rfind("cut", 0) == 0) {
            EXPECT_FALSE(index.value().gapless()) << variant.name;  // the tag's count no longer fits
            EXPECT_LT(index.value().frameCount(), index.value().announcedFrames());
        }
    }
}

// Junk that cuts a frame's header in two costs exactly that frame; the frames after it are found again.
TEST(FrameIndex, ResynchronisesAfterJunkInsideAFrame) {
    const std::vector<uint8_t> original = readFileBytes(makeRecording(RecordingSpec::stereo44(1500)).path);
    const auto junky = std::find_if(mp3Variants().begin(), mp3Variants().end(),
                                    [](const Mp3Variant& variant) { return variant.name == "junk-inside"; });
    ASSERT_NE(junky, mp3Variants().end());
    Result<Mp3FrameIndex> clean = Mp3FrameIndex::fromBytes(original.data(), original.size());
    Result<Mp3FrameIndex> damaged = Mp3FrameIndex::fromFile(junky->path);
    ASSERT_TRUE(clean.ok() && damaged.ok());
    const auto insertedAt = static_cast<int64_t>(original.size() / 2);
    std::vector<int64_t> expected;
    for (const int64_t offset : clean.value().frameOffsets()) {
        if (offset + 4 <= insertedAt) {
            expected.push_back(offset);  // before the junk (a frame whose body holds the junk stays)
        } else if (offset >= insertedAt) {
            expected.push_back(offset + static_cast<int64_t>(kJunkBytes));
        }
    }
    EXPECT_EQ(damaged.value().frameOffsets(), expected);
    EXPECT_GT(damaged.value().junkBytes(), static_cast<int64_t>(kJunkBytes));
}

// Where the library gives up inside damage, the decoder goes on a few frames later with silence in
// between, so what follows plays at its place on the index's timeline.
TEST(FrameIndex, DecoderPlaysOnAfterDamageInItsPlace) {
    const Recording clean = makeRecording(RecordingSpec::stereo44(1500));
    const auto junky = std::find_if(mp3Variants().begin(), mp3Variants().end(),
                                    [](const Mp3Variant& variant) { return variant.name == "junk-inside"; });
    ASSERT_NE(junky, mp3Variants().end());
    Result<Mp3FrameIndex> cleanIndex = Mp3FrameIndex::fromFile(clean.path);
    Result<Mp3FrameIndex> damagedIndex = Mp3FrameIndex::fromFile(junky->path);
    ASSERT_TRUE(cleanIndex.ok() && damagedIndex.ok());
    ASSERT_EQ(damagedIndex.value().frameCount(), cleanIndex.value().frameCount() - 1);  // one header was cut
    int64_t cleanFrames = 0;
    int64_t damagedFrames = 0;
    const std::vector<float> reference = decodeAll(clean.path, cleanIndex.value(), &cleanFrames);
    const std::vector<float> damaged = decodeAll(junky->path, damagedIndex.value(), &damagedFrames);
    ASSERT_EQ(damagedFrames, damagedIndex.value().lengthSamples());
    // The silence of the skipped frames, somewhere in the middle.
    int64_t silenceEnd = 0;
    for (int64_t k = damagedFrames / 4, run = 0; k < damagedFrames * 3 / 4; ++k) {
        run = damaged[static_cast<size_t>(2 * k)] == 0.0f && damaged[static_cast<size_t>(2 * k + 1)] == 0.0f
                  ? run + 1
                  : 0;
        silenceEnd = run > 1000 ? k : silenceEnd;
    }
    ASSERT_GT(silenceEnd, 0);
    EXPECT_LT(silenceEnd - damagedFrames / 2, 8 * 1152);
    // Well after the damage (once the bit reservoir is whole again) the damaged file is the clean one
    // with one frame fewer. (It is no longer trimmed: its Info frame announces one frame more.)
    const int64_t from = silenceEnd + 20 * 1152;
    const int64_t frame = damagedIndex.value().frameAtSample(from);
    const int64_t shift =
        cleanIndex.value().firstSampleOfFrame(frame + 1) - damagedIndex.value().firstSampleOfFrame(frame);
    float worst = 0;
    for (int64_t k = from; k < damagedFrames && k + shift < cleanFrames; ++k) {
        for (int64_t ch = 0; ch < 2; ++ch) {
            worst = std::max(worst, std::abs(damaged[static_cast<size_t>(2 * k + ch)] -
                                             reference[static_cast<size_t>(2 * (k + shift) + ch)]));
        }
    }
    EXPECT_LE(worst, kSameSample);
}

TEST(FrameIndex, TimeAndSampleConversionsRoundTrip) {
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(makeRecording(RecordingSpec::mono22(2000)).path);
    ASSERT_TRUE(index.ok());
    for (int64_t ms = 0; ms < 2000; ++ms) {
        ASSERT_EQ(index.value().sampleToMs(index.value().msToSample(ms)), ms);
    }
    EXPECT_EQ(index.value().msToSample(-5), 0);
}

TEST(FrameIndex, RejectsFilesWithoutFramesWithTheirErrorNumbers) {
    Result<Mp3FrameIndex> missing = Mp3FrameIndex::fromFile("/nonexistent/lumora.mp3");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, 9);
    EXPECT_EQ(missing.error().description, "File not found");
    const std::vector<uint8_t> text{'n', 'o', 't', ' ', 'a', 'n', ' ', 'm', 'p', '3'};
    Result<Mp3FrameIndex> garbage = Mp3FrameIndex::fromBytes(text.data(), text.size());
    ASSERT_FALSE(garbage.ok());
    EXPECT_EQ(garbage.error().number, 10);
    EXPECT_FALSE(Mp3FrameIndex::fromBytes(nullptr, 0).ok());
    // A folder is not a file.
    EXPECT_FALSE(Mp3FrameIndex::fromFile(recordingCacheFolder()).ok());
    // Nor is a pipe named like a recording in a reciter's folder; it is refused, not waited on.
    const ScratchFolder folder;
    const std::string pipe = folder.file("001.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(Mp3FrameIndex::fromFile(pipe).ok());
}

// Damaged input ends in an error or in an index whose facts hold together, never in a crash.
TEST(FrameIndex, SurvivesRandomDamage) {
    const std::vector<uint8_t> original =
        readFileBytes(makeRecording(RecordingSpec::stereo44(1500, true)).path);
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = original;
        switch (round % 4) {
            case 0:
                bytes.resize(random() % bytes.size());
                break;
            case 1:
                for (int flips = 0; flips < 40; ++flips) {
                    bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
                }
                break;
            case 2:
                for (uint8_t& byte : bytes) {
                    byte = static_cast<uint8_t>(random() % 4 == 0 ? 0xFF : random());
                }
                break;
            default: {
                // A hole: the file loses a stretch in the middle.
                const size_t from = random() % bytes.size();
                const size_t length = std::min<size_t>(bytes.size() - from, random() % 5000);
                bytes.erase(bytes.begin() + static_cast<long>(from),
                            bytes.begin() + static_cast<long>(from + length));
                break;
            }
        }
        Result<Mp3FrameIndex> index = Mp3FrameIndex::fromBytes(bytes.data(), bytes.size());
        if (!index.ok()) {
            EXPECT_EQ(index.error().number, 10);
            continue;
        }
        const Mp3FrameIndex& value = index.value();
        ASSERT_GT(value.frameCount(), 0);
        EXPECT_TRUE(std::is_sorted(value.frameOffsets().begin(), value.frameOffsets().end()));
        EXPECT_LT(value.frameOffsets().back(), static_cast<int64_t>(bytes.size()));
        EXPECT_GE(value.lengthSamples(), 0);
        EXPECT_LE(value.lengthSamples(), value.frameCount() * value.samplesPerFrame());
        EXPECT_LE(value.byteOffsetAtSample(0), value.byteOffsetAtSample(value.lengthSamples()));
    }
}

}  // namespace
}  // namespace lumora::test

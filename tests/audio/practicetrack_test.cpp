// Practice tracks from a real lame-made recording: what range mode would play, cut at exact samples,
// joined with silent pauses, repeated, stretched and encoded as MP3 or Opus, written whole or not at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "audio/joineddecoder.h"
#include "audio/joinedframeindex.h"
#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "audio/practicetrack.h"
#include "support/scratchfolder.h"
#include "support/testrecordings.h"

namespace lumora::test {
namespace {

// Three "verses" of 400 ms tone and 100 ms silence, the first starting at 500 ms.
Recording verseRecording() {
    RecordingSpec spec = RecordingSpec::mono22();
    spec.segments = {Segment::silence(500)};
    for (double hz : {330.0, 440.0, 550.0}) {
        spec.segments.push_back(Segment::tone(hz, 400));
        spec.segments.push_back(Segment::silence(100));
    }
    spec.segments.push_back(Segment::silence(500));
    return makeRecording(spec);
}

PracticeTrackSpec rangeSpec(const Recording& recording) {
    PracticeTrackSpec spec;
    spec.recordingPath = recording.path;
    spec.verses = {{500, 1000}, {1000, 1500}, {1500, 2000}};
    return spec;
}

std::vector<float> decodeAll(const std::string& path) {
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    EXPECT_TRUE(index.ok()) << path;
    if (!index) return {};
    Mp3Decoder decoder;
    EXPECT_TRUE(decoder.open(path, index.value()).ok());
    std::vector<float> samples(static_cast<size_t>(index.value().lengthSamples() * index.value().channels()));
    int64_t done = 0;
    while (done < index.value().lengthSamples()) {
        const int64_t got = decoder.read(samples.data() + done * index.value().channels(),
                                         index.value().lengthSamples() - done);
        if (got <= 0) break;
        done += got;
    }
    samples.resize(static_cast<size_t>(done * index.value().channels()));
    return samples;
}

// The range as the player decodes it for range mode: from a seek to its start, straight on.
std::vector<float> decodeRange(const std::string& path, int64_t fromSample, int64_t frames) {
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    Mp3Decoder decoder;
    EXPECT_TRUE(index.ok() && decoder.open(path, index.value()).ok() && decoder.seekToSample(fromSample).ok());
    std::vector<float> samples(static_cast<size_t>(frames));
    for (int64_t done = 0; done < frames;) {
        const int64_t got = decoder.read(samples.data() + done, frames - done);
        if (got <= 0) break;
        done += got;
    }
    return samples;
}

std::vector<float> renderPcm(const PracticeTrackSpec& spec) {
    std::vector<float> pcm;
    const Result<void> rendered = PracticeTrack::render(
        spec, [](PracticeTrack::Format) -> Result<void> { return {}; },
        [&](const float* frames, int64_t count) -> Result<void> {
            pcm.insert(pcm.end(), frames, frames + count);  // mono
            return {};
        },
        {});
    EXPECT_TRUE(rendered.ok()) << (rendered ? "" : rendered.error().description);
    return pcm;
}

bool silent(const std::vector<float>& pcm, int64_t from, int64_t to, float limit = 0.0f) {
    return std::all_of(pcm.begin() + from, pcm.begin() + to, [&](float x) { return std::abs(x) <= limit; });
}

// An Ogg Opus file's length in 48 kHz samples: the last page's granule position less the pre-skip.
int64_t opusLength(const std::vector<uint8_t>& bytes) {
    const uint8_t* head = std::search(bytes.data(), bytes.data() + bytes.size(), "OpusHead", "OpusHead" + 8);
    int64_t granule = -1;
    for (size_t at = 0; at + 27 <= bytes.size(); ++at) {
        if (std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4,
                       "OggS")) {
            granule = 0;
            for (int b = 7; b >= 0; --b) granule = granule * 256 + bytes[at + 6 + static_cast<size_t>(b)];
        }
    }
    const int preSkip = head[10] | (head[11] << 8);
    return granule - preSkip;
}

TEST(PracticeTrack, PlaysTheRangeAsRangeModeDoesRepeatedWithSilentPauses) {
    const Recording recording = verseRecording();
    PracticeTrackSpec spec = rangeSpec(recording);
    spec.repeat = 2;
    spec.pauseBetweenVersesSeconds = 1.0;
    spec.pauseAfterRangeSeconds = 0.5;
    const std::vector<float> pcm = renderPcm(spec);
    const auto at = [](int64_t ms) { return ms * 22050 / 1000; };
    const std::vector<float> source = decodeRange(recording.path, at(500), at(1800) - at(500));
    // Range mode hears 500..800, pauses, 800..1300, pauses, 1300..1800 (each verse's end less the 200 ms
    // look-ahead), then the pause after the range.
    const std::vector<std::pair<int64_t, int64_t>> pieces = {{500, 800}, {800, 1300}, {1300, 1800}};
    const int64_t passFrames = at(1300) + 2 * at(1000) + at(500);
    ASSERT_EQ(static_cast<int64_t>(pcm.size()), 2 * passFrames);
    for (int64_t repetition = 0; repetition < 2; ++repetition) {
        int64_t cursor = repetition * passFrames;
        for (size_t p = 0; p < pieces.size(); ++p) {
            const int64_t length = at(pieces[p].second) - at(pieces[p].first);
            EXPECT_TRUE(std::equal(pcm.begin() + cursor, pcm.begin() + cursor + length,
                                   source.begin() + at(pieces[p].first) - at(500)))
                << repetition << ' ' << p;
            cursor += length;
            const int64_t pause = p + 1 < pieces.size() ? at(1000) : at(500);
            EXPECT_TRUE(silent(pcm, cursor, cursor + pause)) << repetition << ' ' << p;
            cursor += pause;
        }
    }
}

TEST(PracticeTrack, UnlimitedCountsAsOnceAndNoPauseKeepsTheRangeWhole) {
    const Recording recording = verseRecording();
    PracticeTrackSpec spec = rangeSpec(recording);
    spec.repeat = 0;
    const std::vector<float> pcm = renderPcm(spec);
    ASSERT_EQ(pcm.size(), static_cast<size_t>(22050 * 1300 / 1000));
    EXPECT_EQ(pcm, decodeRange(recording.path, 22050 * 500 / 1000, 22050 * 1300 / 1000));
}

TEST(PracticeTrack, AnotherSpeedStretchesTheAudioButNotThePauses) {
    const Recording recording = verseRecording();
    PracticeTrackSpec spec = rangeSpec(recording);
    spec.pauseBetweenVersesSeconds = 1.0;
    spec.speed = 0.75;
    const std::vector<float> pcm = renderPcm(spec);
    const auto at = [](int64_t ms) { return ms * 22050 / 1000; };
    const auto stretched = [](int64_t frames) { return std::llround(frames / 0.75); };
    EXPECT_EQ(static_cast<int64_t>(pcm.size()), stretched(at(1800) - at(500)) + 2 * at(1000));
    // The first pause sits where 300 recording ms end at 0.75×, and stays silent.
    const int64_t pause = stretched(at(800) - at(500));
    EXPECT_TRUE(silent(pcm, pause, pause + at(1000)));
    EXPECT_FALSE(silent(pcm, 0, pause, 0.1f));
}

TEST(PracticeTrack, WritesMp3AndOpusWhoseDecodedLengthIsTheSumOfTheParts) {
    const Recording recording = verseRecording();
    ScratchFolder folder;
    PracticeTrackSpec spec = rangeSpec(recording);
    spec.repeat = 3;
    spec.pauseBetweenVersesSeconds = 0.5;
    spec.pauseAfterRangeSeconds = 2.0;
    spec.equalizerEnabled = true;
    spec.gainsDb = {6, 6, 3, 0, 0, 0, -3, -6, -6, -6};
    const double expectedSeconds = 3 * (1.3 + 2 * 0.5 + 2.0);

    ASSERT_TRUE(PracticeTrack::write(spec, folder.file("track.mp3"), {}).ok());
    const std::vector<float> mp3 = decodeAll(folder.file("track.mp3"));
    EXPECT_NEAR(static_cast<double>(mp3.size()), expectedSeconds * 22050, 576.0);
    // The last pause, away from the codec's smear at its edges, is silent.
    EXPECT_TRUE(silent(mp3, static_cast<int64_t>(mp3.size()) - 22050 * 18 / 10, static_cast<int64_t>(mp3.size()) - 2205,
                       1e-3f));

    ASSERT_TRUE(PracticeTrack::write(spec, folder.file("Track.OPUS"), {}).ok());
    const std::vector<uint8_t> opus = readFileBytes(folder.file("Track.OPUS"));
    EXPECT_NEAR(static_cast<double>(opusLength(opus)), expectedSeconds * 48000, 960.0);
}

TEST(PracticeTrack, ACancelOrFailureLeavesNoFileAndTheOldOneUntouched) {
    const Recording recording = verseRecording();
    ScratchFolder folder;
    PracticeTrackSpec spec = rangeSpec(recording);
    spec.repeat = 4;
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    const std::string target = folder.write("track.mp3", old);
    const Result<void> cancelled = PracticeTrack::write(spec, target, [](double done) { return done < 0.5; });
    ASSERT_FALSE(cancelled.ok());
    EXPECT_EQ(cancelled.error().number, PracticeTrack::kCancelled);
    EXPECT_EQ(readFileBytes(target), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    spec.recordingPath = folder.file("missing.mp3");
    EXPECT_FALSE(PracticeTrack::write(spec, folder.file("new.opus"), {}).ok());
    spec = rangeSpec(recording);
    const Result<void> wrongName = PracticeTrack::write(spec, folder.file("track.wav"), {});
    ASSERT_FALSE(wrongName.ok());
    EXPECT_NE(wrongName.error().description.find(".wav"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A per-verse recording (one file per record) is heard as its files joined, which is how the window
// times it: the track takes its verses from every file, not from the first alone.
TEST(PracticeTrack, APerVerseRecordingIsCutFromItsFilesJoined) {
    const std::vector<Recording> files = makeVerseRecordings({700, 900, 800});
    std::vector<std::string> paths;
    for (const Recording& file : files) paths.push_back(file.path);
    auto joined = std::make_shared<const JoinedFrameIndex>(JoinedFrameIndex::fromFiles(paths));
    const std::vector<JoinedFrameIndex::PartTimes> times = joined->partTimesMs();

    PracticeTrackSpec spec;
    spec.recordingPath = paths[0];
    spec.recordingParts = paths;
    spec.verses = {{times[1].startMs, times[1].endMs}, {times[2].startMs, times[2].endMs}};
    spec.pauseBetweenVersesSeconds = 0.5;
    const std::vector<float> pcm = renderPcm(spec);

    const int64_t from = joined->msToSample(times[1].startMs);
    const int64_t cut = joined->msToSample(times[1].endMs - 200);
    const int64_t to = joined->msToSample(times[2].endMs - 200);
    const int64_t pause = 22050 / 2;
    ASSERT_EQ(static_cast<int64_t>(pcm.size()), to - from + pause);
    JoinedDecoder decoder(joined);
    ASSERT_TRUE(decoder.seekToSample(from).ok());
    std::vector<float> heard(static_cast<size_t>(to - from));
    for (int64_t done = 0; done < to - from;) {
        const int64_t got = decoder.read(heard.data() + done, to - from - done);
        ASSERT_GT(got, 0);
        done += got;
    }
    EXPECT_TRUE(std::equal(heard.begin(), heard.begin() + (cut - from), pcm.begin()));
    EXPECT_TRUE(silent(pcm, cut - from, cut - from + pause));
    EXPECT_TRUE(std::equal(heard.begin() + (cut - from), heard.end(), pcm.begin() + (cut - from + pause)));
    EXPECT_FALSE(silent(pcm, cut - from + pause, static_cast<int64_t>(pcm.size()), 0.05f));

    // A collection without a single playable file is refused.
    spec.recordingParts = {"", files[0].path + ".missing"};
    ScratchFolder folder;
    EXPECT_FALSE(PracticeTrack::write(spec, folder.file("none.mp3"), {}).ok());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// A track is never written over the recording it is made from, which would be lost.
TEST(PracticeTrack, RefusesToWriteOverItsOwnRecording) {
    const Recording source = verseRecording();
    ScratchFolder folder;
    const std::vector<uint8_t> original = readFileBytes(source.path);
    const std::string own = folder.write("002.mp3", original);
    std::filesystem::create_directory(folder.file("sub"));
    PracticeTrackSpec spec = rangeSpec(source);
    spec.recordingPath = own;
    for (const std::string& target : {own, folder.file("sub/../002.mp3"), folder.file("./002.mp3")}) {
        const Result<void> written = PracticeTrack::write(spec, target, {});
        EXPECT_FALSE(written.ok()) << target;
        EXPECT_EQ(readFileBytes(own), original) << target;
    }
    // One of a per-verse recording's files is its recording too.
    spec.recordingParts = {folder.file("001.mp3"), own};
    EXPECT_FALSE(PracticeTrack::write(spec, own, {}).ok());
    EXPECT_EQ(readFileBytes(own), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

// Verses without times (their sura lacking from the timing archive) or too short for the look-ahead are
// nothing range mode hears: no track is made of them, and any old file stays.
TEST(PracticeTrack, ARangeWithNothingToHearIsAnError) {
    const Recording recording = verseRecording();
    ScratchFolder folder;
    const std::string target = folder.write("track.opus", std::string("old"));
    for (const std::vector<PracticeTrackSpec::Verse>& verses :
         {std::vector<PracticeTrackSpec::Verse>{{0, 0}, {0, 0}}, {{500, 650}}}) {
        PracticeTrackSpec spec = rangeSpec(recording);
        spec.verses = verses;
        spec.pauseBetweenVersesSeconds = 1.0;
        spec.pauseAfterRangeSeconds = 1.0;
        EXPECT_FALSE(PracticeTrack::write(spec, target, {}).ok()) << verses.size();
        EXPECT_EQ(readFileBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A name as long as a file name may be (255 bytes) is written like any other.
TEST(PracticeTrack, WritesUnderTheLongestFileName) {
    const Recording recording = verseRecording();
    ScratchFolder folder;
    const std::string name = std::string(251, 'a') + ".mp3";
    const Result<void> written = PracticeTrack::write(rangeSpec(recording), folder.file(name), {});
    EXPECT_TRUE(written.ok()) << (written ? "" : written.error().description);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.file(name)));
}

// Verse times past the recording's end (a timing table made for a longer recording): range mode ends
// the range where the recording ends, with no pause after it for the verses it never reaches; the track
// does the same rather than holding minutes of silence that nothing plays.
TEST(PracticeTrack, TheRangeEndsWhereTheRecordingEnds) {
    const Recording recording = verseRecording();
    const Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(recording.path);
    ASSERT_TRUE(index.ok());
    const int64_t length = index.value().lengthSamples();
    const auto at = [](int64_t ms) { return ms * 22050 / 1000; };
    for (const double speed : {1.0, 0.5}) {
        PracticeTrackSpec spec = rangeSpec(recording);
        spec.verses = {{500, 1000}, {1000, 60000}, {60000, 120000}};
        spec.pauseBetweenVersesSeconds = 1.0;
        spec.pauseAfterRangeSeconds = 0.5;
        spec.speed = speed;
        const std::vector<float> pcm = renderPcm(spec);
        // 500..800 ms, a pause, 800 ms to the end, the pause after the range.
        const int64_t audio = std::llround(static_cast<double>(length - at(500)) / speed);
        EXPECT_EQ(static_cast<int64_t>(pcm.size()), audio + at(1000) + at(500)) << speed;
    }
}

}  // namespace
}  // namespace lumora::test

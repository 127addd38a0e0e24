#include "audio/practicetrack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "audio/audioencoder.h"
#include "audio/equalizer.h"
#include "audio/joineddecoder.h"
#include "audio/joinedframeindex.h"
#include "audio/mp3decoder.h"
#include "audio/mp3frameindex.h"
#include "audio/player.h"
#include "audio/stretchstage.h"

namespace lumora {

namespace {

constexpr int32_t kTrackError = 1;
constexpr int64_t kPieceFrames = 4096;

Error trackError(const std::string& description) { return Error{kTrackError, "PracticeTrack", description, 0}; }

int64_t secondsToFrames(double seconds, int32_t sampleRateHz) {
    return std::max<int64_t>(0, std::llround(std::max(0.0, seconds) * sampleRateHz));
}

// The temporary file the track is written to, removed unless committed.
class PartialFile {
public:
    explicit PartialFile(const std::string& target) : m_target(target) {
        const std::filesystem::path path(target);
        const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
        // Beside the target under a name of its own; a long target name is shortened so that the
        // temporary one stays within the 255 bytes a file name may have.
        std::string stem = path.filename().string();
        if (stem.size() > kLongestStem) {
            stem.resize(kLongestStem);
        }
        m_path = (folder / ("." + stem + ".XXXXXX")).string();
        const int fd = mkstemp(m_path.data());
        if (fd >= 0) {
            m_file = fdopen(fd, "wb");
            if (m_file == nullptr) {
                ::close(fd);
            }
        }
    }
    ~PartialFile() {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
        if (!m_committed) {
            std::remove(m_path.c_str());
        }
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    static constexpr size_t kLongestStem = 200;

    bool open() const { return m_file != nullptr; }

    Result<void> write(const std::vector<uint8_t>& bytes) {
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
            return failure();
        }
        return {};
    }

    Result<void> commit(const std::vector<uint8_t>& headerPatch) {
        if (!headerPatch.empty()) {
            if (std::fseek(m_file, 0, SEEK_SET) != 0 ||
                std::fwrite(headerPatch.data(), 1, headerPatch.size(), m_file) != headerPatch.size()) {
                return failure();
            }
        }
        if (std::fflush(m_file) != 0 || fsync(fileno(m_file)) != 0) {
            return failure();
        }
        // mkstemp makes the file private; a track is an ordinary document.
        (void)fchmod(fileno(m_file), 0644);
        const int closed = std::fclose(m_file);
        m_file = nullptr;
        if (closed != 0 || std::rename(m_path.c_str(), m_target.c_str()) != 0) {
            return failure();
        }
        m_committed = true;
        return {};
    }

private:
    Result<void> failure() const {
        return trackError("Cannot write " + m_target + ": " + std::strerror(errno) + ".");
    }

    std::string m_target;
    std::string m_path;
    std::FILE* m_file = nullptr;
    bool m_committed = false;
};

// The recording from one sample on, stretched: pull() hands out exactly the frames asked for (silence
// once the stage has given everything).
class StretchedSource {
public:
    StretchedSource(SampleSource& decoder, int32_t rateHz, int32_t channels, double speed)
        : m_decoder(decoder), m_stage(rateHz, channels), m_channels(static_cast<size_t>(channels)), m_speed(speed) {}

    Result<void> start(int64_t fromSample, int64_t toSample) {
        // What comes before the span lets the stage start at its steady level, as in the player.
        const int64_t leadFrom = std::max<int64_t>(0, fromSample - m_stage.leadFrames());
        std::vector<float> lead(static_cast<size_t>(fromSample - leadFrom) * m_channels);
        if (Result<void> seek = m_decoder.seekToSample(leadFrom); !seek) {
            return seek;
        }
        const int64_t got = readFully(lead.data(), fromSample - leadFrom);
        m_stage.restart(m_speed, lead.data(), static_cast<int32_t>(got));
        m_feedLeft = toSample - fromSample;
        return {};
    }

    void pull(float* out, int64_t frames) {
        int64_t done = 0;
        while (done < frames) {
            if (m_stage.available() == 0) {
                if (m_stage.finished()) {
                    std::fill(out + static_cast<size_t>(done) * m_channels, out + static_cast<size_t>(frames) * m_channels,
                              0.0f);
                    return;
                }
                feed();
                continue;
            }
            const auto want = static_cast<int32_t>(std::min<int64_t>(frames - done, StretchStage::kMaxFeedFrames));
            done += m_stage.retrieve(out + static_cast<size_t>(done) * m_channels, want);
        }
    }

private:
    void feed() {
        if (m_feedLeft <= 0) {
            m_stage.finish();
            return;
        }
        const auto count = static_cast<int32_t>(std::min<int64_t>(m_feedLeft, m_stage.framesWanted()));
        m_buffer.resize(static_cast<size_t>(count) * m_channels);
        const int64_t got = readFully(m_buffer.data(), count);
        std::fill(m_buffer.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(got) * m_channels), m_buffer.end(),
                  0.0f);
        m_stage.feed(m_buffer.data(), count);
        m_feedLeft -= count;
    }

    int64_t readFully(float* out, int64_t frames) {
        int64_t done = 0;
        while (done < frames) {
            const int64_t got = m_decoder.read(out + static_cast<size_t>(done) * m_channels, frames - done);
            if (got <= 0) {
                break;
            }
            done += got;
        }
        return done;
    }

    SampleSource& m_decoder;
    StretchStage m_stage;
    size_t m_channels;
    double m_speed;
    int64_t m_feedLeft = 0;
    std::vector<float> m_buffer;
};

// Equalizes what the pass renders and hands it on, keeping count for the progress.
class TrackSink {
public:
    TrackSink(const PracticeTrack::Consumer& consumer, Equalizer& equalizer, int32_t channels, int64_t totalFrames,
              const PracticeTrack::Progress& progress)
        : m_consumer(consumer), m_equalizer(equalizer), m_channels(static_cast<size_t>(channels)),
          m_totalFrames(std::max<int64_t>(1, totalFrames)), m_progress(progress) {}

    // `frames` interleaved frames, or silence when `samples` is null.
    Result<void> emit(const float* samples, int64_t frames) {
        while (frames > 0) {
            const int64_t count = std::min(frames, kPieceFrames);
            m_buffer.assign(static_cast<size_t>(count) * m_channels, 0.0f);
            if (samples != nullptr) {
                std::copy(samples, samples + m_buffer.size(), m_buffer.begin());
                samples += m_buffer.size();
            }
            m_equalizer.process(m_buffer.data(), static_cast<int32_t>(count));
            if (Result<void> taken = m_consumer(m_buffer.data(), count); !taken) {
                return taken;
            }
            frames -= count;
            m_doneFrames += count;
            if (m_progress && !m_progress(static_cast<double>(m_doneFrames) / static_cast<double>(m_totalFrames))) {
                return Error{PracticeTrack::kCancelled, "PracticeTrack", "Cancelled.", 0};
            }
        }
        return {};
    }

private:
    const PracticeTrack::Consumer& m_consumer;
    Equalizer& m_equalizer;
    size_t m_channels;
    int64_t m_totalFrames;
    const PracticeTrack::Progress& m_progress;
    int64_t m_doneFrames = 0;
    std::vector<float> m_buffer;
};

Result<void> renderPlain(SampleSource& decoder, const std::vector<PracticePiece>& pass, int32_t channels,
                         TrackSink& sink) {
    std::vector<float> buffer(static_cast<size_t>(kPieceFrames) * static_cast<size_t>(channels));
    int64_t position = -1;  // where the decoder reads on from
    for (const PracticePiece& piece : pass) {
        if (piece.silence) {
            if (Result<void> emitted = sink.emit(nullptr, piece.frames); !emitted) return emitted;
            continue;
        }
        // The pieces of a pass follow each other: like the player after a pause, read straight on.
        if (position != piece.fromSample) {
            if (Result<void> seek = decoder.seekToSample(piece.fromSample); !seek) return seek;
        }
        position = piece.toSample;
        for (int64_t left = piece.toSample - piece.fromSample; left > 0;) {
            int64_t got = decoder.read(buffer.data(), std::min(left, kPieceFrames));
            if (got <= 0) {
                // Past the recording's end: what range mode hears there is nothing.
                got = std::min(left, kPieceFrames);
                std::fill(buffer.begin(), buffer.end(), 0.0f);
            }
            if (Result<void> emitted = sink.emit(buffer.data(), got); !emitted) return emitted;
            left -= got;
        }
    }
    return {};
}

Result<void> renderStretched(SampleSource& decoder, const std::vector<PracticePiece>& pass, int32_t rateHz,
                             int32_t channels, double speed, TrackSink& sink) {
    // The pass's audio pieces follow each other in the recording: stretch them as one, as the player
    // does across its pauses, and cut the output where each piece ends.
    int64_t spanFrom = -1;
    int64_t spanTo = 0;
    for (const PracticePiece& piece : pass) {
        if (!piece.silence) {
            if (spanFrom < 0) spanFrom = piece.fromSample;
            spanTo = piece.toSample;
        }
    }
    if (spanFrom < 0) {
        return {};
    }
    StretchedSource source(decoder, rateHz, channels, speed);
    if (Result<void> started = source.start(spanFrom, spanTo); !started) return started;
    std::vector<float> buffer(static_cast<size_t>(kPieceFrames) * static_cast<size_t>(channels));
    int64_t outDone = 0;
    for (const PracticePiece& piece : pass) {
        if (piece.silence) {
            if (Result<void> emitted = sink.emit(nullptr, piece.frames); !emitted) return emitted;
            continue;
        }
        const int64_t outEnd = std::llround(static_cast<double>(piece.toSample - spanFrom) / speed);
        while (outDone < outEnd) {
            const int64_t count = std::min(outEnd - outDone, kPieceFrames);
            source.pull(buffer.data(), count);
            if (Result<void> emitted = sink.emit(buffer.data(), count); !emitted) return emitted;
            outDone += count;
        }
    }
    return {};
}

}  // namespace

std::vector<PracticePiece> PracticeTrack::plan(const PracticeTrackSpec& spec, int32_t sampleRateHz,
                                               const std::function<int64_t(int64_t)>& msToSample,
                                               int64_t lengthSamples) {
    std::vector<PracticePiece> pieces;
    if (spec.verses.empty()) {
        return pieces;
    }
    const int64_t pauseFrames = secondsToFrames(spec.pauseBetweenVersesSeconds, sampleRateHz);
    // Range mode plays from the first verse's start; it pauses (and at the last verse, stops) where the
    // position, 200 ms ahead of the stream, reaches a verse's end.
    int64_t from = std::min(msToSample(spec.verses.front().startMs), lengthSamples);
    for (size_t v = 0; v < spec.verses.size(); ++v) {
        const int64_t cutMs = int64_t{spec.verses[v].endMs} - Player::kLookAheadMs;
        const int64_t to = std::max(from, std::min(cutMs <= 0 ? int64_t{0} : msToSample(cutMs), lengthSamples));
        const bool last = v + 1 == spec.verses.size() || to >= lengthSamples;
        if (!last && pauseFrames == 0) {
            continue;
        }
        pieces.push_back({false, from, to, to - from});
        if (last) {
            break;
        }
        pieces.push_back({true, 0, 0, pauseFrames});
        from = to;
    }
    return pieces;
}

int64_t PracticeTrack::lengthFrames(const std::vector<PracticePiece>& pass, const PracticeTrackSpec& spec,
                                    int32_t sampleRateHz) {
    int64_t passFrames = 0;
    int64_t spanFrom = -1;
    int64_t spanTo = 0;
    for (const PracticePiece& piece : pass) {
        if (piece.silence) {
            passFrames += piece.frames;
        } else {
            if (spanFrom < 0) spanFrom = piece.fromSample;
            spanTo = piece.toSample;
        }
    }
    if (spanFrom >= 0) {
        passFrames += spec.speed == 1.0 ? spanTo - spanFrom
                                        : std::llround(static_cast<double>(spanTo - spanFrom) / spec.speed);
    }
    const int64_t repeats = std::max(1, spec.repeat);
    return repeats * (passFrames + secondsToFrames(spec.pauseAfterRangeSeconds, sampleRateHz));
}

Result<void> PracticeTrack::render(const PracticeTrackSpec& spec, const std::function<Result<void>(Format)>& started,
                                   const Consumer& consumer, const Progress& progress) {
    if (spec.verses.empty()) {
        return trackError("The range holds no verse.");
    }
    // A single file is a stream of one part; a per-verse recording is its files joined, as the player
    // plays them.
    std::shared_ptr<const JoinedFrameIndex> recording;
    if (spec.recordingParts.empty()) {
        Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(spec.recordingPath);
        if (!index) {
            return trackError(spec.recordingPath + ": " + index.error().description);
        }
        recording = std::make_shared<const JoinedFrameIndex>(
            JoinedFrameIndex::single(spec.recordingPath, std::move(index).value()));
    } else {
        recording = std::make_shared<const JoinedFrameIndex>(JoinedFrameIndex::fromFiles(spec.recordingParts));
        if (recording->lengthSamples() <= 0) {
            return trackError("The sura's recording has no file that can be played.");
        }
    }
    // A fresh decoder for each repetition: a seek back in a used one may round the last bits
    // differently, and every repetition is to be the same.
    const auto openDecoder = [&]() -> Result<std::unique_ptr<SampleSource>> {
        if (spec.recordingParts.empty()) {
            auto decoder = std::make_unique<Mp3Decoder>();
            if (Result<void> opened = decoder->open(spec.recordingPath, recording->part(0).index); !opened) {
                return trackError(spec.recordingPath + ": " + opened.error().description);
            }
            return std::unique_ptr<SampleSource>(std::move(decoder));
        }
        auto decoder = std::make_unique<JoinedDecoder>(recording);
        if (!decoder->canDecode()) {
            return trackError("The MP3 decoder cannot start.");
        }
        return std::unique_ptr<SampleSource>(std::move(decoder));
    };
    Result<std::unique_ptr<SampleSource>> decoder = openDecoder();
    if (!decoder) {
        return decoder.error();
    }
    const int32_t rateHz = recording->sampleRateHz();
    const int32_t channels = recording->channels();
    PracticeTrackSpec clamped = spec;
    clamped.speed = std::clamp(spec.speed, StretchStage::kMinSpeed, StretchStage::kMaxSpeed);
    const std::vector<PracticePiece> pass =
        plan(clamped, rateHz, [&](int64_t ms) { return recording->msToSample(ms); }, recording->lengthSamples());
    // Verses without times (a sura the timing archive lacks) or all shorter than the look-ahead: range
    // mode hears nothing of them, and a track of nothing but pauses is no track.
    if (std::none_of(pass.begin(), pass.end(),
                     [](const PracticePiece& piece) { return !piece.silence && piece.toSample > piece.fromSample; })) {
        return trackError("Nothing of the range is heard: its verses have no times in the recording.");
    }
    if (Result<void> ready = started(Format{rateHz, channels}); !ready) {
        return ready;
    }

    Equalizer equalizer;
    equalizer.configure(rateHz, channels);
    equalizer.setGains(spec.gainsDb);
    equalizer.setEnabled(spec.equalizerEnabled);
    equalizer.settle();
    TrackSink sink(consumer, equalizer, channels, lengthFrames(pass, clamped, rateHz), progress);
    const int64_t pauseAfterFrames = secondsToFrames(spec.pauseAfterRangeSeconds, rateHz);
    for (int32_t repetition = 0; repetition < std::max(1, spec.repeat); ++repetition) {
        if (repetition > 0) {
            decoder = openDecoder();
            if (!decoder) {
                return decoder.error();
            }
        }
        SampleSource& source = *decoder.value();
        Result<void> rendered = clamped.speed == 1.0
                                    ? renderPlain(source, pass, channels, sink)
                                    : renderStretched(source, pass, rateHz, channels, clamped.speed, sink);
        if (!rendered) {
            return rendered;
        }
        if (Result<void> paused = sink.emit(nullptr, pauseAfterFrames); !paused) {
            return paused;
        }
    }
    return {};
}

Result<void> PracticeTrack::write(const PracticeTrackSpec& spec, const std::string& outPath,
                                  const Progress& progress) {
    if (!AudioEncoder::knowsFileName(outPath)) {
        return AudioEncoder::forFileName(outPath, 0, 0).error();
    }
    // The track replaces the file at its path only when complete, so written over the recording it
    // would be made whole from it and then take its place: the recording would be lost.
    std::vector<std::string> sources = spec.recordingParts;
    sources.push_back(spec.recordingPath);
    for (const std::string& source : sources) {
        std::error_code error;
        if (!source.empty() && std::filesystem::equivalent(outPath, source, error)) {
            return trackError("The practice track cannot be written over its own recording " + source + ".");
        }
    }
    PartialFile file(outPath);
    if (!file.open()) {
        return trackError("Cannot write in the folder of " + outPath + ": " + std::strerror(errno) + ".");
    }
    std::unique_ptr<AudioEncoder> encoder;
    const auto started = [&](Format format) -> Result<void> {
        Result<std::unique_ptr<AudioEncoder>> made =
            AudioEncoder::forFileName(outPath, format.sampleRateHz, format.channels);
        if (!made) {
            return made.error();
        }
        encoder = std::move(made.value());
        return {};
    };
    const auto consume = [&](const float* frames, int64_t count) -> Result<void> {
        if (Result<void> encoded = encoder->write(frames, count); !encoded) {
            return encoded;
        }
        return file.write(encoder->takeBytes());
    };
    if (Result<void> rendered = render(spec, started, consume, progress); !rendered) {
        return rendered;
    }
    if (Result<void> finished = encoder->finish(); !finished) {
        return finished;
    }
    if (Result<void> stored = file.write(encoder->takeBytes()); !stored) {
        return stored;
    }
    return file.commit(encoder->headerPatch());
}

}  // namespace lumora

#include "audio/mp3decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "audio/sounderrors.h"

namespace lumora {

namespace {

constexpr const char* kSource = "Mp3Decoder";

bool libraryReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = mpg123_init() == MPG123_OK; });
    return ready;
}

Error decoderError(int32_t number) {
    return Error{number, kSource, soundErrorText(number)};
}

}  // namespace

Mp3Decoder::Mp3Decoder() {
    if (libraryReady()) {
        m_handle = mpg123_new(nullptr, nullptr);
    }
}

Mp3Decoder::~Mp3Decoder() {
    if (m_handle != nullptr) {
        mpg123_delete(m_handle);
    }
}

Result<void> Mp3Decoder::open(const std::string& path, const Mp3FrameIndex& index) {
    close();
    if (m_handle == nullptr) {
        return decoderError(kSoundNotInitialised);
    }
    m_path = path;
    // Gapless trimming follows the index: the library trims exactly when the index says the file's
    // LAME tag fits it, so both count the same samples.
    long flags = MPG123_QUIET | MPG123_FORCE_FLOAT;
    if (index.gapless()) {
        flags |= MPG123_GAPLESS;
    }
    if (!index.joined()) {
        // One encoding throughout: a header that changes the format is junk to skip, not a new stream.
        flags |= MPG123_NO_FRANKENSTEIN;
    }
    mpg123_param(m_handle, MPG123_FLAGS, flags, 0.0);
    mpg123_param(m_handle, MPG123_RESYNC_LIMIT, -1, 0.0);
    // The warm-up below refills the bit reservoir; the library itself need only start one frame early.
    mpg123_param(m_handle, MPG123_PREFRAMES, 1, 0.0);
    mpg123_format_none(m_handle);
    const int channelMask = index.channels() == 1 ? MPG123_MONO : MPG123_STEREO;
    if (mpg123_format(m_handle, index.sampleRateHz(), channelMask, MPG123_ENC_FLOAT_32) != MPG123_OK) {
        return decoderError(kSoundUnknownFormat);
    }
    m_index = index;
    if (!openHandle()) {
        close();
        return decoderError(kSoundLoadFailed);
    }
    m_channels = index.channels();
    m_lengthSamples = index.lengthSamples();
    m_positionSample = 0;
    m_silencePending = 0;
    m_damageSkips = 0;
    return {};
}

bool Mp3Decoder::openHandle() {
    if (m_opened) {
        mpg123_close(m_handle);
        m_opened = false;
    }
    if (mpg123_open(m_handle, m_path.c_str()) != MPG123_OK) {
        return false;
    }
    m_opened = true;
    std::vector<off_t> offsets(m_index.frameOffsets().begin(), m_index.frameOffsets().end());
    return mpg123_set_index(m_handle, offsets.data(), 1, offsets.size()) == MPG123_OK;
}

void Mp3Decoder::close() {
    if (m_handle != nullptr && m_opened) {
        mpg123_close(m_handle);
    }
    m_opened = false;
    m_positionSample = 0;
}

Result<void> Mp3Decoder::seekToSample(int64_t sample) {
    if (!isOpen()) {
        return decoderError(kSoundNotInitialised);
    }
    const int64_t target = std::clamp<int64_t>(sample, 0, m_lengthSamples);
    // A layer III frame may take its data from up to 511 bytes of earlier frames (255 in MPEG 2), and
    // its sound overlaps the frame before. The decoder is therefore started this many frames early and
    // its output thrown away up to the target: enough frames to refill the bit reservoir from the
    // smallest frames there are. (The library's own pre-roll after a jump was found to leave the first
    // frame silent at times.)
    const int64_t warmUpFrames = m_index.samplesPerFrame() >= 1152 ? 12 : 24;
    const int64_t startFrame = std::max<int64_t>(0, m_index.frameAtSample(target) - warmUpFrames);
    if (mpg123_seek_frame(m_handle, static_cast<off_t>(startFrame), SEEK_SET) < 0) {
        return decoderError(kSoundLoadFailed);
    }
    int64_t position = mpg123_tell(m_handle);
    if (position < 0 || position > target) {
        if (mpg123_seek_frame(m_handle, 0, SEEK_SET) < 0) {
            return decoderError(kSoundLoadFailed);
        }
        position = 0;
    }
    m_positionSample = position;
    m_silencePending = 0;
    if (!discard(target - position)) {
        return decoderError(kSoundLoadFailed);
    }
    return {};
}

bool Mp3Decoder::discard(int64_t frames) {
    constexpr int64_t kChunkFrames = 1152;
    m_scratch.resize(static_cast<size_t>(kChunkFrames * m_channels));
    while (frames > 0) {
        const int64_t got = read(m_scratch.data(), std::min(frames, kChunkFrames));
        if (got == 0) {
            return false;
        }
        frames -= got;
    }
    return true;
}

int64_t Mp3Decoder::read(float* out, int64_t maxFrames) {
    if (!isOpen() || maxFrames <= 0) {
        return 0;
    }
    // Never past the length the index gives, so positions and the stream length always agree.
    const int64_t wanted = std::max<int64_t>(0, std::min(maxFrames, m_lengthSamples - m_positionSample));
    const auto channels = static_cast<size_t>(m_channels);
    const size_t frameBytes = sizeof(float) * channels;
    int64_t done = 0;
    while (done < wanted) {
        if (m_silencePending > 0) {
            const int64_t count = std::min(m_silencePending, wanted - done);
            std::fill(out + static_cast<size_t>(done) * channels,
                      out + static_cast<size_t>(done + count) * channels, 0.0f);
            m_silencePending -= count;
            done += count;
            continue;
        }
        size_t bytes = 0;
        const int status = mpg123_read(
            m_handle, reinterpret_cast<unsigned char*>(out + static_cast<size_t>(done) * channels),
            static_cast<size_t>(wanted - done) * frameBytes, &bytes);
        done += static_cast<int64_t>(bytes / frameBytes);
        if (status == MPG123_OK || status == MPG123_NEW_FORMAT) {
            if (bytes == 0 && status == MPG123_OK) {
                break;
            }
            continue;
        }
        // The library stopped before the index's end: damage it cannot get past by itself.
        m_positionSample += done;
        const bool skipped = skipDamage();
        m_positionSample -= done;
        if (!skipped) {
            break;
        }
    }
    m_positionSample += done;
    return done;
}

bool Mp3Decoder::skipDamage() {
    constexpr int32_t kMostSkips = 10000;
    // The frame being decoded, its neighbour (whose data may lie in the damage) and the frame the
    // library reads ahead are skipped.
    constexpr int64_t kFramesSkipped = 3;
    if (m_positionSample >= m_lengthSamples || ++m_damageSkips > kMostSkips) {
        return false;
    }
    const int64_t resumeFrame = m_index.frameAtSample(m_positionSample) + kFramesSkipped;
    // The library's handle may stay in its error state: it is opened afresh.
    if (resumeFrame >= m_index.frameCount() || !openHandle() ||
        mpg123_seek_frame(m_handle, static_cast<off_t>(resumeFrame), SEEK_SET) < 0) {
        m_silencePending = m_lengthSamples - m_positionSample;  // the rest is silence
        return true;
    }
    const int64_t resumeSample = mpg123_tell(m_handle);
    m_silencePending = std::max<int64_t>(0, resumeSample - m_positionSample);
    return resumeSample >= 0;
}

}  // namespace lumora

#include "audio/player.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "audio/joineddecoder.h"
#include "audio/mp3decoder.h"
#include "audio/nulloutput.h"
#include "audio/sounderrors.h"

namespace lumora {

namespace {
// About 0.75 s of audio at 44.1 kHz stereo: enough to ride out a busy machine, small enough that a seek
// discards little.
constexpr uint32_t kRingBlocks = 32;
// Pause, stop, seek and volume changes ramp over this long instead of cutting the wave (a click).
constexpr double kRampSeconds = 0.005;

int64_t steadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

Player::Player(std::unique_ptr<SoundOutput> output) : m_output(std::move(output)) {
    if (!m_output) {
        m_output = std::make_unique<NullOutput>(NullOutput::Mode::RealTime);
    }
    if (!Mp3Decoder().canDecode()) {
        m_initMessage = std::string(kSoundInitFailedText) + "\nThe MP3 decoder cannot start.";
    }
    startOutput(SoundFormat{});
}

Player::~Player() {
    m_output->stop();
    m_decoder.reset();
    m_ring.reset();
}

void Player::startOutput(const SoundFormat& format) {
    m_format = format;
    m_outputRealTime = m_output->realTime();
    m_outputLatencyFrames = m_output->latencyFrames();
    m_rampStep = static_cast<float>(1.0 / std::max(1.0, kRampSeconds * format.sampleRateHz));
    auto renderer = [this](float* out, int32_t frames) { render(out, frames); };
    Result<void> started = m_output->start(format, renderer);
    if (!started) {
        // Without a device the player still keeps time, so recitation goes on silently.
        if (m_initMessage.empty()) {
            m_initMessage = soundInitFailureMessage(started.error().number);
        }
        m_output = std::make_unique<NullOutput>(NullOutput::Mode::RealTime);
        m_outputRealTime = true;
        m_outputLatencyFrames = 0;
        (void)m_output->start(format, renderer);
    } else {
        m_outputLatencyFrames = m_output->latencyFrames();
    }
}

void Player::releaseStream() {
    m_output->stop();
    m_decoder.reset();
    m_ring.reset();
    m_index.reset();
    m_block = nullptr;
    m_transport.store(kStopped);
    m_controlTransport = kStopped;
    m_genStartSample = m_frozenSample = m_lastHeard = 0;
}

bool Player::openMp3File(const std::string& path) {
    releaseStream();
    Result<Mp3FrameIndex> index = Mp3FrameIndex::fromFile(path);
    auto decoder = std::make_unique<Mp3Decoder>();
    if (!index || !decoder->open(path, index.value())) {
        return noStream();
    }
    auto single =
        std::make_shared<const JoinedFrameIndex>(JoinedFrameIndex::single(path, std::move(index).value()));
    return startStream(std::move(single), std::move(decoder));
}

bool Player::openJoinedRecording(std::shared_ptr<const JoinedFrameIndex> recording) {
    releaseStream();
    if (!recording || recording->lengthSamples() <= 0) {
        return noStream();
    }
    auto decoder = std::make_unique<JoinedDecoder>(recording);
    if (!decoder->canDecode()) {
        return noStream();
    }
    return startStream(std::move(recording), std::move(decoder));
}

bool Player::noStream() {
    m_streamLengthMs = 0;
    startOutput(m_format);
    return false;
}

bool Player::startStream(std::shared_ptr<const JoinedFrameIndex> index,
                         std::unique_ptr<SampleSource> decoder) {
    m_index = std::move(index);
    m_ring = std::make_unique<BlockRing>(kRingBlocks);

    // The output is stopped: the callback's state can be set from here.
    const uint32_t generation = m_generation.fetch_add(1) + 1;
    m_renderGeneration = generation;
    m_renderPositionValid = false;
    m_block = nullptr;
    m_blockOffset = 0;
    m_peekFrames = 0;
    m_renderSample = 0;
    m_generationFirstSample = 0;
    m_rampGain = 0.0f;
    m_pendingHardStart = false;
    m_fadeTail.clear();
    m_fadeTail.reserve(
        static_cast<size_t>((kRampSeconds * m_index->sampleRateHz() + 2) * m_index->channels()));
    m_fadeTailRead = 0;
    m_hardStart.store(false);
    m_snapshotValid.store(false);
    m_equalizer.configure(m_index->sampleRateHz(), m_index->channels());
    m_equalizer.setGains(m_gainsDb);
    m_equalizer.setEnabled(m_equalizerEnabled);
    m_equalizer.settle();
    m_seenSettings = m_settingsSerial.load();

    m_decoder = std::make_unique<DecoderThread>(std::move(decoder), *m_ring, generation);
    m_streamLengthMs =
        static_cast<int32_t>(std::min<int64_t>(m_index->lengthMs(), std::numeric_limits<int32_t>::max()));
    setEndMark(m_endMarkMs);
    startOutput(SoundFormat{m_index->sampleRateHz(), m_index->channels()});
    return true;
}

void Player::closeAll() {
    stopPlaying();
    releaseStream();
    startOutput(m_format);
}

void Player::enableEqualizer() {
    m_equalizerEnabled = true;
    m_sharedEqualizerEnabled.store(true, std::memory_order_relaxed);
    m_settingsSerial.fetch_add(1, std::memory_order_release);
}

void Player::disableEqualizer() {
    m_equalizerEnabled = false;
    m_sharedEqualizerEnabled.store(false, std::memory_order_relaxed);
    m_settingsSerial.fetch_add(1, std::memory_order_release);
}

void Player::setEqualizerValue(const std::array<float, 10>& gainsDb) {
    m_gainsDb = gainsDb;
    for (size_t i = 0; i < gainsDb.size(); ++i) {
        m_sharedGainsDb[i].store(gainsDb[i], std::memory_order_relaxed);
    }
    m_settingsSerial.fetch_add(1, std::memory_order_release);
}

int32_t Player::masterVolumeFor(int32_t volume) {
    const int32_t scaled = std::clamp(volume, 0, 1000) * 255;
    int32_t whole = scaled / 1000;
    const int32_t rest = scaled % 1000;
    if (rest > 500 || (rest == 500 && whole % 2 == 1)) {
        ++whole;
    }
    return whole;
}

void Player::setVolume(int32_t volume) {
    m_masterVolume = masterVolumeFor(volume);
    m_volumeGain.store(static_cast<float>(m_masterVolume) / 255.0f, std::memory_order_relaxed);
}

void Player::syncTransport() {
    if (m_controlTransport == kPlaying && m_transport.load(std::memory_order_acquire) == kStopped) {
        // The callback stopped at the end mark or the end of the stream.
        m_frozenSample = std::max(m_lastHeard, m_engineFinalSample.load(std::memory_order_relaxed));
        if (m_index) {
            m_frozenSample = std::min(m_frozenSample, m_index->lengthSamples());
        }
        m_lastHeard = m_frozenSample;
        m_controlTransport = kStopped;
    }
}

bool Player::isPlaying() {
    syncTransport();
    return m_controlTransport == kPlaying;
}

bool Player::isPaused() {
    syncTransport();
    return m_controlTransport == kPaused;
}

void Player::stopPlaying() {
    syncTransport();
    if (m_controlTransport != kStopped) {
        m_frozenSample = heardSample();
        m_transport.store(kStopped, std::memory_order_release);
        m_controlTransport = kStopped;
    }
}

void Player::pausePlaying() {
    m_pauseBreaked = false;
    syncTransport();
    if (m_controlTransport != kPlaying) {
        return;
    }
    const int64_t heard = heardSample();
    int expected = kPlaying;
    if (m_transport.compare_exchange_strong(expected, kPaused, std::memory_order_acq_rel)) {
        m_frozenSample = heard;
        m_controlTransport = kPaused;
    } else {
        syncTransport();
    }
}

void Player::resumePlaying() {
    m_pauseBreaked = true;
    syncTransport();
    if (m_controlTransport == kPaused) {
        m_transport.store(kPlaying, std::memory_order_release);
        m_controlTransport = kPlaying;
    }
}

void Player::setEndMark(int32_t endMs) {
    m_endMarkMs = endMs;
    const int64_t stopMs = int64_t{endMs} - kLookAheadMs;
    const int64_t stopSample = (stopMs <= 0 || !m_index) ? 0 : m_index->msToSample(stopMs);
    m_stopSample.store(stopSample, std::memory_order_release);
}

void Player::setEnd(int32_t endMs) {
    setEndMark(endMs);
}

void Player::seekTo(int64_t ms) {
    if (!m_index) {
        return;
    }
    const int64_t sample = std::clamp<int64_t>(m_index->msToSample(ms), 0, m_index->lengthSamples());
    syncTransport();
    m_genStartSample = m_frozenSample = m_lastHeard = sample;
    const uint32_t generation = m_generation.fetch_add(1, std::memory_order_acq_rel) + 1;
    m_decoder->seek(generation, sample);
}

void Player::setPositionInSec(int32_t ms) {
    seekTo(ms);
}

void Player::play(int32_t startMs, int32_t endMs) {
    m_pauseBreaked = true;
    if (startMs > 0) {
        seekTo(startMs);
    }
    setEndMark(endMs < 1 ? 0 : endMs);
    if (!m_index) {
        return;
    }
    syncTransport();
    if (m_controlTransport == kStopped) {
        m_hardStart.store(true, std::memory_order_relaxed);
    }
    // Stored even when this thread believes the stream plays: the callback may just have stopped it
    // at the old end mark.
    m_transport.store(kPlaying, std::memory_order_release);
    m_controlTransport = kPlaying;
}

int64_t Player::heardSample() {
    if (!m_index) {
        return 0;
    }
    syncTransport();
    if (m_controlTransport != kPlaying) {
        return m_frozenSample;
    }
    int64_t heard = m_genStartSample;
    const Snapshot snapshot = readSnapshot();
    if (snapshot.valid && snapshot.generation == m_generation.load(std::memory_order_acquire)) {
        if (m_outputRealTime) {
            // The callback's first sample was heard after the device's queue had played; from then on
            // the ear follows the wall clock, never past what was rendered.
            const int64_t elapsedNs = std::max<int64_t>(0, steadyNowNs() - snapshot.timeNs);
            const int64_t elapsedFrames = elapsedNs / 1000 * m_format.sampleRateHz / 1000000;
            heard = std::min(snapshot.renderedStart - m_outputLatencyFrames + elapsedFrames,
                             snapshot.renderedEnd - m_outputLatencyFrames);
        } else {
            heard = snapshot.renderedEnd;
        }
    }
    heard = std::clamp(std::max(heard, m_lastHeard), int64_t{0}, m_index->lengthSamples());
    m_lastHeard = heard;
    return heard;
}

int32_t Player::getPosition() {
    const int64_t streamMs = m_index ? m_index->sampleToMs(heardSample()) : 0;
    const auto timeMs =
        static_cast<int32_t>(std::min<int64_t>(streamMs, std::numeric_limits<int32_t>::max() - 1000));
    if (int64_t{timeMs} >= int64_t{m_endMarkMs} - kLookAheadMs) {
        stopPlaying();
    }
    return timeMs + kLookAheadMs;
}

int32_t Player::getPositionByBytes() {
    if (!m_index) {
        return 0;
    }
    const int64_t offset = m_index->byteOffsetAtSample(heardSample());
    return static_cast<int32_t>(std::min<int64_t>(offset, std::numeric_limits<int32_t>::max()));
}

// ---- The audio callback's side ----

void Player::applySettings() {
    const uint32_t serial = m_settingsSerial.load(std::memory_order_acquire);
    if (serial == m_seenSettings) {
        return;
    }
    m_seenSettings = serial;
    std::array<float, 10> gains{};
    for (size_t i = 0; i < gains.size(); ++i) {
        gains[i] = m_sharedGainsDb[i].load(std::memory_order_relaxed);
    }
    m_equalizer.setGains(gains);
    m_equalizer.setEnabled(m_sharedEqualizerEnabled.load(std::memory_order_relaxed));
}

Player::Fetch Player::fetchBlock() {
    for (;;) {
        const uint64_t seen = m_ring->published();
        AudioBlock* block = m_ring->front();
        if (block == nullptr) {
            if (m_outputRealTime) {
                return Fetch::kUnderrun;
            }
            // A manual output waits for the decoder, so a test's result never depends on timing.
            m_ring->waitForPublish(seen);
            continue;
        }
        if (block->generation != m_renderGeneration) {
            if (m_ring->pop()) {
                m_decoder->wake();
            }
            continue;
        }
        if (!m_renderPositionValid) {
            m_generationFirstSample = block->firstSample;
        }
        m_renderSample = block->firstSample;
        m_renderPositionValid = true;
        if (block->endOfStream) {
            // The end-of-stream block stays at the front: playing on from here ends at once again.
            engineStop(block->firstSample);
            return Fetch::kEnded;
        }
        m_block = block;
        m_blockOffset = 0;
        m_peekFrames = 0;
        return Fetch::kBlock;
    }
}

void Player::engineStop(int64_t finalSample) {
    m_engineFinalSample.store(finalSample, std::memory_order_relaxed);
    int expected = kPlaying;
    m_transport.compare_exchange_strong(expected, kStopped, std::memory_order_acq_rel);
}

// Renders the fade after pause, stop or seek from the samples that would have come next, without
// consuming them: playing on resumes exactly where the stream stopped.
int32_t Player::fadeOut(float* out, int32_t frames) {
    const auto channels = static_cast<size_t>(m_format.channels);
    int32_t i = 0;
    for (; i < frames && m_rampGain > 0.0f; ++i) {
        m_rampGain = std::max(0.0f, m_rampGain - m_rampStep);
        const int32_t at = m_blockOffset + m_peekFrames;
        if (m_block != nullptr && at < m_block->frames) {
            for (size_t ch = 0; ch < channels; ++ch) {
                out[static_cast<size_t>(i) * channels + ch] =
                    m_block->samples[static_cast<size_t>(at) * channels + ch] * m_rampGain;
            }
            ++m_peekFrames;
        }
    }
    if (m_rampGain <= 0.0f) {
        m_rampGain = 0.0f;
        m_peekFrames = 0;
    }
    return i;
}

void Player::keepFadeTail(int32_t atFrame) {
    const auto channels = static_cast<size_t>(m_format.channels);
    m_fadeTail.clear();
    m_fadeTailRead = 0;
    m_fadeTailStartFrame = atFrame;
    while (m_rampGain > 0.0f && m_fadeTail.size() + channels <= m_fadeTail.capacity()) {
        m_rampGain = std::max(0.0f, m_rampGain - m_rampStep);
        const int32_t at = m_blockOffset + m_peekFrames;
        if (m_block == nullptr || at >= m_block->frames) {
            break;
        }
        for (size_t ch = 0; ch < channels; ++ch) {
            m_fadeTail.push_back(m_block->samples[static_cast<size_t>(at) * channels + ch] * m_rampGain);
        }
        ++m_peekFrames;
    }
    m_rampGain = 0.0f;
    m_peekFrames = 0;
}

void Player::mixFadeTail(float* out, int32_t frames) {
    const size_t end = static_cast<size_t>(frames) * static_cast<size_t>(m_format.channels);
    for (size_t k = static_cast<size_t>(m_fadeTailStartFrame) * static_cast<size_t>(m_format.channels);
         k < end && m_fadeTailRead < m_fadeTail.size(); ++k) {
        out[k] += m_fadeTail[m_fadeTailRead++];
    }
    m_fadeTailStartFrame = 0;
}

void Player::copyAudible(float* out, int32_t frames) {
    const auto channels = static_cast<size_t>(m_format.channels);
    const float target = m_volumeGain.load(std::memory_order_relaxed);
    if (m_pendingHardStart) {
        // Playing from a stop starts at full volume: a ramp would only lose the first syllable.
        if (m_rampGain == 0.0f) {
            m_rampGain = target;
        }
        m_pendingHardStart = false;
    }
    const float* source = m_block->samples.data() + static_cast<size_t>(m_blockOffset) * channels;
    const size_t count = static_cast<size_t>(frames) * channels;
    if (m_rampGain == target) {
        for (size_t k = 0; k < count; ++k) {
            out[k] = source[k] * target;
        }
    } else {
        for (size_t k = 0; k < count; k += channels) {
            m_rampGain = m_rampGain < target ? std::min(target, m_rampGain + m_rampStep)
                                             : std::max(target, m_rampGain - m_rampStep);
            for (size_t ch = 0; ch < channels; ++ch) {
                out[k + ch] = source[k + ch] * m_rampGain;
            }
        }
    }
    m_blockOffset += frames;
    m_renderSample += frames;
    m_peekFrames = 0;
}

void Player::render(float* out, int32_t frames) {
    const auto channels = static_cast<size_t>(m_format.channels);
    std::fill(out, out + static_cast<size_t>(frames) * channels, 0.0f);
    if (!m_ring) {
        return;
    }
    applySettings();
    if (m_hardStart.exchange(false, std::memory_order_acq_rel)) {
        m_pendingHardStart = true;
    }
    const uint32_t startGeneration = m_renderGeneration;
    const bool startValid = m_renderPositionValid;
    const int64_t renderedStart = m_renderSample;

    int32_t done = 0;
    while (done < frames) {
        float* at = out + static_cast<size_t>(done) * channels;
        const int32_t left = frames - done;
        const uint32_t generation = m_generation.load(std::memory_order_acquire);
        const bool playing = m_transport.load(std::memory_order_acquire) == kPlaying;
        if (generation != m_renderGeneration) {
            if (m_rampGain > 0.0f && !playing) {
                done += fadeOut(at, left);
                continue;
            }
            if (m_rampGain > 0.0f) {
                // A seek while playing crossfades, so the new position starts at once.
                keepFadeTail(done);
            }
            m_renderGeneration = generation;
            m_renderPositionValid = false;
            m_block = nullptr;
            m_blockOffset = 0;
            continue;
        }
        if (!playing) {
            if (m_rampGain > 0.0f) {
                done += fadeOut(at, left);
                continue;
            }
            break;  // paused or stopped: silence
        }
        if (m_block == nullptr) {
            const Fetch fetched = fetchBlock();
            if (fetched == Fetch::kUnderrun) {
                break;
            }
            if (fetched == Fetch::kEnded) {
                continue;
            }
        }
        const int64_t stopAt = m_stopSample.load(std::memory_order_acquire);
        if (m_renderSample >= stopAt) {
            engineStop(m_renderSample);
            continue;
        }
        const int64_t available = std::min<int64_t>(m_block->frames - m_blockOffset, stopAt - m_renderSample);
        const auto count = static_cast<int32_t>(std::min<int64_t>(left, available));
        copyAudible(at, count);
        done += count;
        if (m_blockOffset >= m_block->frames) {
            if (m_ring->pop()) {
                m_decoder->wake();
            }
            m_block = nullptr;
        }
    }
    mixFadeTail(out, frames);
    m_equalizer.process(out, frames);
    publish(startGeneration == m_renderGeneration && startValid ? renderedStart : m_generationFirstSample,
            m_renderPositionValid);
}

void Player::publish(int64_t renderedStart, bool valid) {
    m_snapshotSequence.fetch_add(1, std::memory_order_acq_rel);
    m_snapshotGeneration.store(m_renderGeneration, std::memory_order_relaxed);
    m_snapshotValid.store(valid, std::memory_order_relaxed);
    m_snapshotStart.store(renderedStart, std::memory_order_relaxed);
    m_snapshotEnd.store(m_renderSample, std::memory_order_relaxed);
    m_snapshotTimeNs.store(steadyNowNs(), std::memory_order_relaxed);
    m_snapshotSequence.fetch_add(1, std::memory_order_release);
}

Player::Snapshot Player::readSnapshot() const {
    for (;;) {
        const uint32_t before = m_snapshotSequence.load(std::memory_order_acquire);
        if (before % 2 != 0) {
            continue;
        }
        Snapshot snapshot;
        snapshot.generation = m_snapshotGeneration.load(std::memory_order_relaxed);
        snapshot.valid = m_snapshotValid.load(std::memory_order_relaxed);
        snapshot.renderedStart = m_snapshotStart.load(std::memory_order_relaxed);
        snapshot.renderedEnd = m_snapshotEnd.load(std::memory_order_relaxed);
        snapshot.timeNs = m_snapshotTimeNs.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (m_snapshotSequence.load(std::memory_order_relaxed) == before) {
            return snapshot;
        }
    }
}

}  // namespace lumora

#include "audio/player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
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
// The speed stage hands out its output in pieces this long (about 12 ms at 44.1 kHz), so a new speed
// reaches the stage soon after it is set.
constexpr int32_t kStretchPieceFrames = 512;

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
    m_stretch = std::make_unique<StretchStage>(m_index->sampleRateHz(), m_index->channels());
    m_leadCapacity = m_stretch->leadFrames() + static_cast<int32_t>(kRingBlocks) * AudioBlock::kMaxFrames;
    m_lead.assign(static_cast<size_t>(m_leadCapacity * m_index->channels()), 0.0f);
    m_leadLine.assign(static_cast<size_t>(m_stretch->leadFrames() * m_index->channels()), 0.0f);
    m_leadWrite = m_leadFrames = 0;
    m_wantedSpeed = m_speed;
    m_sharedSpeed.store(m_speed, std::memory_order_relaxed);
    m_stretching = false;
    m_stretchPrimed = false;
    m_directResumeSample = -1;
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

void Player::setSpeed(double speed) {
    m_speed = std::clamp(speed, StretchStage::kMinSpeed, StretchStage::kMaxSpeed);
    m_sharedSpeed.store(m_speed, std::memory_order_relaxed);
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
            // the ear follows the wall clock (at the speed, in recording samples), never past what was
            // rendered.
            const int64_t elapsedNs = std::max<int64_t>(0, steadyNowNs() - snapshot.timeNs);
            const int64_t elapsedFrames = elapsedNs / 1000 * m_format.sampleRateHz / 1000000;
            const auto latency = static_cast<int64_t>(std::llround(m_outputLatencyFrames * snapshot.speed));
            const auto elapsed = static_cast<int64_t>(std::llround(elapsedFrames * snapshot.speed));
            heard = std::min(snapshot.renderedStart - latency + elapsed, snapshot.renderedEnd - latency);
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
    m_wantedSpeed = m_sharedSpeed.load(std::memory_order_relaxed);
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
        if (m_directResumeSample >= 0 && !block->endOfStream &&
            block->firstSample + block->frames <= m_directResumeSample) {
            // Coming back from the speed stage: the blocks it has played are behind the position.
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
        int32_t offset = 0;
        if (m_directResumeSample >= 0 && !block->endOfStream) {
            offset = static_cast<int32_t>(std::max<int64_t>(0, m_directResumeSample - block->firstSample));
            m_renderSample += offset;
        }
        m_directResumeSample = -1;
        if (block->endOfStream) {
            // The end-of-stream block stays at the front: playing on from here ends at once again.
            engineStop(block->firstSample);
            return Fetch::kEnded;
        }
        m_block = block;
        m_blockOffset = offset;
        m_peekFrames = 0;
        return Fetch::kBlock;
    }
}

// The block `n` places behind the front of the queue (0 is the front). A real-time output never waits:
// nullptr when the decoder has not published it yet; any other output waits until it has.
AudioBlock* Player::queuedBlock(uint32_t n) {
    for (;;) {
        const uint64_t seen = m_ring->published();
        if (AudioBlock* block = m_ring->peek(n)) {
            return block;
        }
        if (m_outputRealTime) {
            return nullptr;
        }
        m_ring->waitForPublish(seen);
    }
}

AudioBlock* Player::currentFront() {
    for (;;) {
        AudioBlock* block = queuedBlock(0);
        if (block == nullptr) {
            return nullptr;
        }
        if (block->generation != m_renderGeneration) {
            if (m_ring->pop()) {
                m_decoder->wake();
            }
            continue;
        }
        return block;
    }
}

// The queued block of this generation that holds `sample` (or the end of the stream), looking past the
// front without popping; nullptr when the decoder has not got there yet on a real-time output.
AudioBlock* Player::blockHolding(int64_t sample) {
    if (currentFront() == nullptr) {
        return nullptr;
    }
    for (uint32_t n = 0;; ++n) {
        AudioBlock* block = queuedBlock(n);
        if (block == nullptr) {
            return nullptr;
        }
        if (block->generation != m_renderGeneration) {
            return nullptr;  // a newer seek: the render loop starts over
        }
        if (block->endOfStream || sample < block->firstSample + block->frames) {
            return block;
        }
    }
}

void Player::releasePassedBlocks(int64_t sample) {
    while (AudioBlock* block = m_ring->front()) {
        const bool stale = block->generation != m_renderGeneration;
        if (!stale && (block->endOfStream || block->firstSample + block->frames > sample)) {
            return;
        }
        if (m_ring->pop()) {
            m_decoder->wake();
        }
    }
}

// The speed stage's next piece of output, fed from the queued blocks from m_feedSample on.
Player::Fetch Player::fetchStretched() {
    if (!m_stretchPrimed) {
        AudioBlock* front = currentFront();
        if (front == nullptr) {
            return Fetch::kUnderrun;
        }
        if (!m_renderPositionValid) {
            m_generationFirstSample = front->firstSample;
            m_renderSample = front->firstSample;
            m_renderPositionValid = true;
        }
        // The circle ends at the render position here (empty after a seek): its newest frames lead in.
        const auto channels = static_cast<size_t>(m_format.channels);
        const int32_t leadFrames = std::min(m_leadFrames, m_stretch->leadFrames());
        for (int32_t i = 0; i < leadFrames; ++i) {
            const auto from =
                static_cast<size_t>((m_leadWrite - leadFrames + i + m_leadCapacity) % m_leadCapacity);
            std::copy_n(m_lead.begin() + static_cast<std::ptrdiff_t>(from * channels), channels,
                        m_leadLine.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(i) * channels));
        }
        m_stretch->restart(m_wantedSpeed, m_leadLine.data(), leadFrames);
        m_feedSample = m_renderSample;
        m_stretchEndSample = std::numeric_limits<int64_t>::max();
        m_stretchPos = static_cast<double>(m_renderSample);
        m_stretchPrimed = true;
    }
    releasePassedBlocks(m_renderSample);
    if (!feedStretched()) {
        if (m_stretch->finished()) {
            // Drained: all there was has been played.
            const int64_t stopAt = m_stopSample.load(std::memory_order_acquire);
            engineStop(std::max(m_renderSample, std::min(m_stretchEndSample, stopAt)));
            return Fetch::kEnded;
        }
        return Fetch::kUnderrun;
    }
    m_stretchBlock.frames = m_stretch->retrieve(m_stretchBlock.samples.data(), kStretchPieceFrames);
    m_stretchBase = m_stretchPos;
    m_stretchStep = m_stretch->speed();
    m_block = &m_stretchBlock;
    m_blockOffset = 0;
    m_peekFrames = 0;
    return Fetch::kBlock;
}

// Moves into or out of the speed stage at the current recording position, crossfading the two.
void Player::switchChain(int32_t atFrame) {
    if (m_rampGain > 0.0f && m_block != nullptr) {
        keepFadeTail(atFrame);
    }
    m_rampGain = 0.0f;
    if (m_stretching) {
        m_directResumeSample = m_renderPositionValid ? m_renderSample : -1;
        if (m_stretchPrimed) {
            dropUnheardLead();
        }
    }
    m_stretching = !m_stretching;
    m_stretchPrimed = false;
    if (m_stretching && !m_renderPositionValid) {
        m_leadFrames = m_leadWrite = 0;
    }
    m_block = nullptr;
    m_blockOffset = 0;
    m_peekFrames = 0;
}

// A new speed while the stage plays starts it again at the recording position being heard, crossfading
// from its old output. Told a new ratio on the fly, the engine shifts its output against its input by an
// amount it does not report, and positions would drift from what is heard with every change.
void Player::restartStretch(int32_t atFrame) {
    if (m_rampGain > 0.0f && m_block != nullptr) {
        keepFadeTail(atFrame);
    }
    m_rampGain = 0.0f;
    dropUnheardLead();
    m_stretchPrimed = false;
    m_block = nullptr;
    m_blockOffset = 0;
    m_peekFrames = 0;
}

void Player::engineStop(int64_t finalSample) {
    m_engineFinalSample.store(finalSample, std::memory_order_relaxed);
    int expected = kPlaying;
    m_transport.compare_exchange_strong(expected, kStopped, std::memory_order_acq_rel);
}

// The frame `ahead` frames past the one to be rendered next, without consuming anything: in the
// current block or, on the decoder's side, in the blocks queued behind it. nullptr past what is there.
const float* Player::peekFrame(int32_t ahead) {
    if (m_block == nullptr) {
        return nullptr;
    }
    const auto channels = static_cast<size_t>(m_format.channels);
    int32_t at = m_blockOffset + ahead;
    // Audio at or past the stop sample is never heard, not even in a fade (a range repeated at once would
    // otherwise begin with the start of the verse after it).
    const int64_t stopAt = m_stopSample.load(std::memory_order_acquire);
    if (m_block == &m_stretchBlock) {
        // The stage's output past the end of the stream is the silence that let its tail out.
        const int64_t endAt = std::min(stopAt, m_stretchEndSample);
        if (at >= m_block->frames || m_stretchBase + at * m_stretchStep >= static_cast<double>(endAt)) {
            return nullptr;
        }
        return m_block->samples.data() + static_cast<size_t>(at) * channels;
    }
    for (uint32_t n = 0;; ++n) {
        const AudioBlock* block = n == 0 ? m_block : m_ring->peek(n);
        if (n > 0 && (block == nullptr || block->generation != m_renderGeneration || block->endOfStream)) {
            return nullptr;
        }
        if (at < block->frames) {
            if (block->firstSample + at >= stopAt) {
                return nullptr;
            }
            return block->samples.data() + static_cast<size_t>(at) * channels;
        }
        at -= block->frames;
    }
}

// Before a fade reads ahead in the speed stage's output, makes sure a whole fade's worth is there.
void Player::topUpStretched() {
    if (m_block != &m_stretchBlock) {
        return;
    }
    const auto channels = static_cast<size_t>(m_format.channels);
    const auto wanted = static_cast<int32_t>(std::min<double>(AudioBlock::kMaxFrames, 1.0 / m_rampStep + 2.0));
    const int32_t remaining = m_stretchBlock.frames - m_blockOffset;
    if (remaining >= wanted) {
        return;
    }
    float* samples = m_stretchBlock.samples.data();
    std::copy(samples + static_cast<size_t>(m_blockOffset) * channels,
              samples + static_cast<size_t>(m_stretchBlock.frames) * channels, samples);
    m_stretchBase += m_blockOffset * m_stretchStep;
    m_blockOffset = 0;
    m_stretchBlock.frames = remaining;
    while (m_stretchBlock.frames < wanted && feedStretched()) {
        m_stretchBlock.frames += m_stretch->retrieve(samples + static_cast<size_t>(m_stretchBlock.frames) * channels,
                                                     wanted - m_stretchBlock.frames);
    }
}

// Feeds the speed stage until it has output; false when it has none to give (the decoder is behind on
// a real-time output, or the stream has ended and the stage is drained).
bool Player::feedStretched() {
    while (m_stretch->available() == 0) {
        if (m_stretch->finished()) {
            return false;
        }
        AudioBlock* block = blockHolding(m_feedSample);
        if (block == nullptr) {
            return false;
        }
        if (block->endOfStream) {
            m_stretchEndSample = block->firstSample;
            m_stretch->finish();
            continue;
        }
        const auto offset = static_cast<int32_t>(std::max<int64_t>(0, m_feedSample - block->firstSample));
        const int32_t count = std::min(m_stretch->framesWanted(), block->frames - offset);
        const float* frames =
            block->samples.data() + static_cast<size_t>(offset) * static_cast<size_t>(m_format.channels);
        m_stretch->feed(frames, count);
        keepLead(frames, count);
        m_feedSample += count;
    }
    return true;
}

// Renders the fade after pause, stop or seek from the samples that would have come next, without
// consuming them: playing on resumes exactly where the stream stopped.
int32_t Player::fadeOut(float* out, int32_t frames) {
    const auto channels = static_cast<size_t>(m_format.channels);
    if (m_peekFrames == 0) {
        topUpStretched();
    }
    int32_t i = 0;
    for (; i < frames && m_rampGain > 0.0f; ++i) {
        m_rampGain = std::max(0.0f, m_rampGain - m_rampStep);
        if (const float* frame = peekFrame(m_peekFrames)) {
            for (size_t ch = 0; ch < channels; ++ch) {
                out[static_cast<size_t>(i) * channels + ch] = frame[ch] * m_rampGain;
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
    topUpStretched();
    while (m_rampGain > 0.0f && m_fadeTail.size() + channels <= m_fadeTail.capacity()) {
        m_rampGain = std::max(0.0f, m_rampGain - m_rampStep);
        const float* frame = peekFrame(m_peekFrames);
        if (frame == nullptr) {
            break;
        }
        for (size_t ch = 0; ch < channels; ++ch) {
            m_fadeTail.push_back(frame[ch] * m_rampGain);
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
    m_peekFrames = 0;
}

void Player::keepLead(const float* frames, int32_t count) {
    // In at most two runs: up to the circle's end, then on from its start.
    const auto channels = static_cast<size_t>(m_format.channels);
    for (int32_t i = std::max(0, count - m_leadCapacity); i < count;) {
        const int32_t run = std::min(count - i, m_leadCapacity - m_leadWrite);
        std::copy_n(frames + static_cast<size_t>(i) * channels, static_cast<size_t>(run) * channels,
                    m_lead.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(m_leadWrite) * channels));
        m_leadWrite = (m_leadWrite + run) % m_leadCapacity;
        i += run;
    }
    m_leadFrames = std::min(m_leadCapacity, m_leadFrames + count);
}

// Forgets the frames fed to the stage past the render position, so the circle ends there again.
void Player::dropUnheardLead() {
    const auto unheard = static_cast<int32_t>(std::clamp<int64_t>(m_feedSample - m_renderSample, 0, m_leadFrames));
    m_leadFrames -= unheard;
    m_leadWrite = (m_leadWrite - unheard + m_leadCapacity) % m_leadCapacity;
}

int32_t Player::renderDirect(float* out, int32_t frames, int64_t stopAt) {
    const int64_t available = std::min<int64_t>(m_block->frames - m_blockOffset, stopAt - m_renderSample);
    const auto count = static_cast<int32_t>(std::min<int64_t>(frames, available));
    if (m_leadCapacity > 0) {
        keepLead(m_block->samples.data() + static_cast<size_t>(m_blockOffset) * static_cast<size_t>(m_format.channels),
                 count);
    }
    copyAudible(out, count);
    m_renderSample += count;
    if (m_blockOffset >= m_block->frames) {
        if (m_ring->pop()) {
            m_decoder->wake();
        }
        m_block = nullptr;
    }
    return count;
}

int32_t Player::renderStretched(float* out, int32_t frames, int64_t stopAt) {
    // Output frames until the recording position reaches the stop sample.
    const double position = m_stretchBase + m_blockOffset * m_stretchStep;
    const auto toStop = static_cast<int64_t>(std::ceil((static_cast<double>(stopAt) - position) / m_stretchStep));
    const int64_t available = std::min<int64_t>(m_block->frames - m_blockOffset, std::max<int64_t>(1, toStop));
    const auto count = static_cast<int32_t>(std::min<int64_t>(frames, available));
    copyAudible(out, count);
    m_stretchPos = m_stretchBase + m_blockOffset * m_stretchStep;
    m_renderSample = count >= toStop ? stopAt : static_cast<int64_t>(std::floor(m_stretchPos));
    if (m_blockOffset >= m_block->frames) {
        m_block = nullptr;
    }
    return count;
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
    const double renderedSpeed = m_stretching ? m_stretchStep : 1.0;

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
            m_stretchPrimed = false;
            m_directResumeSample = -1;
            m_leadFrames = m_leadWrite = 0;
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
        if ((m_wantedSpeed != 1.0 && m_stretch) != m_stretching) {
            switchChain(done);
            continue;
        }
        if (m_stretching && m_stretchPrimed && m_wantedSpeed != m_stretch->speed()) {
            restartStretch(done);
            continue;
        }
        if (m_block == nullptr) {
            const Fetch fetched = m_stretching ? fetchStretched() : fetchBlock();
            if (fetched == Fetch::kUnderrun) {
                break;
            }
            if (fetched == Fetch::kEnded) {
                continue;
            }
        }
        // The stream's end stops the speed stage's output like the end mark: what follows is padding.
        int64_t stopAt = m_stopSample.load(std::memory_order_acquire);
        if (m_stretching) {
            stopAt = std::min(stopAt, m_stretchEndSample);
        }
        if (m_renderSample >= stopAt) {
            engineStop(m_renderSample);
            continue;
        }
        done += m_stretching ? renderStretched(at, left, stopAt) : renderDirect(at, left, stopAt);
    }
    mixFadeTail(out, frames);
    m_equalizer.process(out, frames);
    publish(startGeneration == m_renderGeneration && startValid ? renderedStart : m_generationFirstSample,
            m_renderPositionValid, m_stretching ? renderedSpeed : 1.0);
}

void Player::publish(int64_t renderedStart, bool valid, double speed) {
    m_snapshotSequence.fetch_add(1, std::memory_order_acq_rel);
    m_snapshotGeneration.store(m_renderGeneration, std::memory_order_relaxed);
    m_snapshotValid.store(valid, std::memory_order_relaxed);
    m_snapshotStart.store(renderedStart, std::memory_order_relaxed);
    m_snapshotEnd.store(m_renderSample, std::memory_order_relaxed);
    m_snapshotTimeNs.store(steadyNowNs(), std::memory_order_relaxed);
    m_snapshotSpeed.store(speed, std::memory_order_relaxed);
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
        snapshot.speed = m_snapshotSpeed.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (m_snapshotSequence.load(std::memory_order_relaxed) == before) {
            return snapshot;
        }
    }
}

}  // namespace lumora

#include "audio/decoderthread.h"

namespace lumora {

DecoderThread::DecoderThread(std::unique_ptr<SampleSource> decoder, BlockRing& ring, uint32_t generation)
    : m_decoder(std::move(decoder)), m_ring(ring), m_generation(generation) {
    m_thread = std::thread([this] { run(); });
}

DecoderThread::~DecoderThread() {
    m_quit.store(true, std::memory_order_release);
    wake();
    m_thread.join();
}

void DecoderThread::seek(uint32_t generation, int64_t sample) {
    {
        std::lock_guard lock(m_mutex);
        m_seekPending = true;
        m_pendingGeneration = generation;
        m_pendingSample = sample;
    }
    wake();
}

void DecoderThread::wake() {
    m_events.fetch_add(1, std::memory_order_release);
    m_events.notify_one();
}

void DecoderThread::waitForEvent(uint32_t seen) {
    m_events.wait(seen, std::memory_order_acquire);
}

void DecoderThread::run() {
    int64_t position = 0;
    bool seekFailed = false;
    bool finished = false;  // this generation's end-of-stream block is out
    while (!m_quit.load(std::memory_order_acquire)) {
        // Read the event count before looking for work, so a wake-up in between is never lost.
        const uint32_t seen = m_events.load(std::memory_order_acquire);
        {
            std::lock_guard lock(m_mutex);
            if (m_seekPending) {
                m_seekPending = false;
                m_generation = m_pendingGeneration;
                seekFailed = !m_decoder->seekToSample(m_pendingSample).ok();
                position = m_pendingSample;
                finished = false;
            }
        }
        AudioBlock* block = finished ? nullptr : m_ring.writeSlot();
        if (block == nullptr) {
            waitForEvent(seen);
            continue;
        }
        const int64_t frames =
            seekFailed ? 0 : m_decoder->read(block->samples.data(), AudioBlock::kMaxFrames);
        block->generation = m_generation;
        block->firstSample = position;
        block->frames = static_cast<int32_t>(frames);
        block->endOfStream = frames == 0;
        position += frames;
        finished = frames == 0;
        m_ring.publish();
    }
}

}  // namespace lumora

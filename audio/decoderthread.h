#pragma once
// DecoderThread: decodes the open stream (one file, or several played as one) ahead of the audio
// callback into a BlockRing. It starts at sample 0 and follows seek commands, tagging each block with
// the generation of the seek it serves.
// At the end of the stream (or when the file cannot be decoded further) it publishes one
// end-of-stream block and waits for the next seek.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "audio/blockring.h"
#include "audio/samplesource.h"

namespace lumora {

class DecoderThread {
public:
    DecoderThread(std::unique_ptr<SampleSource> decoder, BlockRing& ring, uint32_t generation);
    ~DecoderThread();
    DecoderThread(const DecoderThread&) = delete;
    DecoderThread& operator=(const DecoderThread&) = delete;

    // Control thread: decode from `sample` on, for blocks of `generation`.
    void seek(uint32_t generation, int64_t sample);
    // Reader side: the ring has room again (BlockRing::pop says when).
    void wake();

private:
    void run();
    void waitForEvent(uint32_t seen);

    std::unique_ptr<SampleSource> m_decoder;
    BlockRing& m_ring;
    std::mutex m_mutex;  // guards the pending seek (control thread and decoder thread only)
    bool m_seekPending = false;
    uint32_t m_pendingGeneration = 0;
    int64_t m_pendingSample = 0;
    uint32_t m_generation;
    std::atomic<uint32_t> m_events{0};
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

}  // namespace lumora

#pragma once
// BlockRing: the lock-free queue of decoded blocks between the decoder thread (the only writer) and the
// audio callback (the only reader). Each block carries the seek generation it was decoded for, so the
// reader can drop blocks that a seek made stale without any lock. Neither side allocates once built.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace lumora {

struct AudioBlock {
    static constexpr int32_t kMaxFrames = 1024;
    static constexpr int32_t kMaxChannels = 2;

    uint32_t generation = 0;
    int64_t firstSample = 0;  // the stream sample of the block's first frame
    int32_t frames = 0;
    bool endOfStream = false;  // no samples: the stream ends at firstSample
    std::array<float, kMaxFrames * kMaxChannels> samples{};
};

class BlockRing {
public:
    explicit BlockRing(uint32_t capacity);

    // Writer side: the slot to fill next, or nullptr when the ring is full; publish() hands it over.
    AudioBlock* writeSlot();
    void publish();

    // Reader side: the oldest block, or nullptr when the ring is empty; pop() frees it and returns true
    // when the ring has just drained to half: the moment to wake a writer that waits on a full ring
    // (waking it for every freed block would cost two thread switches per block).
    AudioBlock* front();
    bool pop();
    // Reader side: the block `n` places behind the front (0 is the front), or nullptr when not yet
    // published. Lets a reader that must look ahead (the speed stage) read on without popping.
    AudioBlock* peek(uint32_t n);

    // Counts of published and popped blocks; a side waits for the other's count to move.
    uint64_t published() const { return m_write.load(std::memory_order_acquire); }
    void waitForPublish(uint64_t seen) const { m_write.wait(seen, std::memory_order_acquire); }

private:
    const uint32_t m_capacity;
    std::unique_ptr<AudioBlock[]> m_blocks;
    std::atomic<uint64_t> m_write{0};
    std::atomic<uint64_t> m_read{0};
};

}  // namespace lumora

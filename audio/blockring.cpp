#include "audio/blockring.h"

namespace lumora {

BlockRing::BlockRing(uint32_t capacity) : m_capacity(capacity), m_blocks(new AudioBlock[capacity]) {}

AudioBlock* BlockRing::writeSlot() {
    const uint64_t write = m_write.load(std::memory_order_relaxed);
    if (write - m_read.load(std::memory_order_acquire) >= m_capacity) {
        return nullptr;
    }
    return &m_blocks[write % m_capacity];
}

void BlockRing::publish() {
    m_write.fetch_add(1, std::memory_order_release);
    m_write.notify_all();
}

AudioBlock* BlockRing::front() {
    const uint64_t read = m_read.load(std::memory_order_relaxed);
    if (read == m_write.load(std::memory_order_acquire)) {
        return nullptr;
    }
    return &m_blocks[read % m_capacity];
}

AudioBlock* BlockRing::peek(uint32_t n) {
    const uint64_t read = m_read.load(std::memory_order_relaxed);
    if (read + n >= m_write.load(std::memory_order_acquire)) {
        return nullptr;
    }
    return &m_blocks[(read + n) % m_capacity];
}

bool BlockRing::pop() {
    const uint64_t read = m_read.fetch_add(1, std::memory_order_release) + 1;
    return m_write.load(std::memory_order_acquire) - read == m_capacity / 2;
}

}  // namespace lumora

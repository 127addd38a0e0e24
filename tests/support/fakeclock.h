#pragma once
// A Clock that moves only when a test moves it, so every wait on it is deterministic.

#include <cstdint>

#include "recitation/clock.h"

namespace lumora {

class FakeClock final : public Clock {
public:
    explicit FakeClock(int64_t startMs = 1000) : m_nowMs(startMs) {}

    int64_t nowMs() const override { return m_nowMs; }
    void advanceMs(int64_t ms) { m_nowMs += ms; }

private:
    int64_t m_nowMs;
};

}  // namespace lumora

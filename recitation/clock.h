#pragma once
// The monotonic millisecond clock that the recitation waits run on. The window uses the steady clock;
// tests advance a fake one so every wait is deterministic.

#include <chrono>
#include <cstdint>

namespace lumora {

class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t nowMs() const = 0;
};

class SteadyClock final : public Clock {
public:
    int64_t nowMs() const override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

}  // namespace lumora

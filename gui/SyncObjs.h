#pragma once
// The class library's lock and event, over the OS layer's.
#include "os/CriticalSection.h"

#include <cstdint>

namespace gui {

// Recursive: the same thread may enter again.
class TCriticalSection {
public:
    void Acquire() { cs_.Enter(); }
    void Release() { cs_.Leave(); }
    void Enter() { cs_.Enter(); }
    void Leave() { cs_.Leave(); }
    bool TryEnter() { return cs_.TryEnter(); }
    void lock() { cs_.Enter(); }
    void unlock() { cs_.Leave(); }

private:
    os::CriticalSection cs_;
};

enum class TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

constexpr uint32_t INFINITE = os::INFINITE_WAIT;

class TEvent {
public:
    explicit TEvent(bool manualReset = true, bool initialState = false) : event_(manualReset, initialState) {}
    void SetEvent() { event_.Set(); }
    void ResetEvent() { event_.Reset(); }
    TWaitResult WaitFor(uint32_t timeoutMs = INFINITE) {
        return event_.WaitFor(timeoutMs) == os::WaitResult::Signaled ? TWaitResult::wrSignaled
                                                                     : TWaitResult::wrTimeout;
    }

private:
    os::Event event_;
};

} // namespace gui

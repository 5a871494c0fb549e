#pragma once
// Locks and events.  Critical sections are recursive because several callers
// re-enter them on the same thread (the codec lock around nested opens, the
// hook-settings lock around a hook that changes hooks).
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace os {

class CriticalSection {
public:
    void Enter() { m_.lock(); }
    bool TryEnter() { return m_.try_lock(); }
    void Leave() { m_.unlock(); }
    // std::lock_guard compatibility
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

private:
    std::recursive_mutex m_;
};

using CsLock = std::lock_guard<CriticalSection>;

enum class WaitResult { Signaled, Timeout };

constexpr uint32_t INFINITE_WAIT = 0xFFFFFFFFu;

// An event with timed waits; manual-reset unless told otherwise.
class Event {
public:
    explicit Event(bool manualReset = true, bool initialState = false)
        : manual_(manualReset), state_(initialState) {}
    void Set();
    void Reset();
    bool IsSet() const;
    WaitResult WaitFor(uint32_t milliseconds = INFINITE_WAIT);

private:
    mutable std::mutex m_;
    std::condition_variable cv_;
    const bool manual_;
    bool state_;
};

} // namespace os

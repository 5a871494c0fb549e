#include "os/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace os {
namespace {
std::atomic<bool> g_virtual{false};
std::atomic<uint64_t> g_virtualMs{0};
std::atomic<uint32_t> g_reads{0};

uint64_t RealMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

uint64_t GetTickCount64() {
    if (g_virtual.load(std::memory_order_acquire)) {
        // A loop that spins on the clock must still see it move: every
        // thousand reads without an Advance count as one millisecond.
        if (g_reads.fetch_add(1, std::memory_order_relaxed) % 1000 == 999) g_virtualMs.fetch_add(1);
        return g_virtualMs.load();
    }
    return RealMs();
}

uint32_t GetTickCount() {
    return static_cast<uint32_t>(GetTickCount64());
}

int64_t MonotonicMicros() {
    if (g_virtual.load(std::memory_order_acquire)) return static_cast<int64_t>(g_virtualMs.load()) * 1000;
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(uint32_t ms) {
    if (g_virtual.load(std::memory_order_acquire)) {
        g_virtualMs.fetch_add(ms);
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace VirtualClock {
void Enable(uint64_t startMs) {
    g_virtualMs.store(startMs);
    g_virtual.store(true, std::memory_order_release);
}
void Disable() {
    g_virtual.store(false, std::memory_order_release);
}
bool Enabled() {
    return g_virtual.load(std::memory_order_acquire);
}
void Advance(uint64_t ms) {
    g_virtualMs.fetch_add(ms);
}
} // namespace VirtualClock

} // namespace os

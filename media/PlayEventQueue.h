#pragma once
// The small queue between the threads that report a player's positions and
// states and the thread that delivers them: ten slots, at most nine pending;
// an entry of the same kind as the newest pending one replaces it, and when
// the queue is full the oldest entry is dropped.
#include <cstdint>
#include <mutex>

#include "os/CriticalSection.h"

namespace media {

enum TPlayEventKind { pekNone = 0, pekPosition = 1, pekState = 2, pekEnd = 3 };

struct TPlayEventSlot {
    int Kind = pekNone;
    int64_t Value = 0;
};

class TPlayEventQueue {
public:
    static constexpr int SlotCount = 10;

    void Push(int AKind, int64_t AValue);
    // The oldest pending entry; Kind pekNone when none is pending.
    TPlayEventSlot Pop();
    // Waits until an entry is pending (or the time runs out).
    void Wait(uint32_t AMilliseconds = os::INFINITE_WAIT) { Event.WaitFor(AMilliseconds); }
    bool Empty() const;

private:
    mutable std::mutex Lock;
    os::Event Event{true, false};
    int Header = 0;
    int Tailer = 0;
    TPlayEventSlot Events[SlotCount];
};

} // namespace media

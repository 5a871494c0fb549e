#include "media/PlayEventQueue.h"

namespace media {

void TPlayEventQueue::Push(int AKind, int64_t AValue) {
    std::lock_guard<std::mutex> g(Lock);
    int newest = (Tailer + SlotCount - 1) % SlotCount;
    if (Header == Tailer || Events[newest].Kind != AKind) {
        Tailer = (Tailer + 1) % SlotCount;
        if (Tailer == Header) Header = (Header + 1) % SlotCount;
        newest = (Tailer + SlotCount - 1) % SlotCount;
    }
    Events[newest] = TPlayEventSlot{AKind, AValue};
    Event.Set();
}

TPlayEventSlot TPlayEventQueue::Pop() {
    std::lock_guard<std::mutex> g(Lock);
    if (Header == Tailer) return {};
    TPlayEventSlot slot = Events[Header];
    Header = (Header + 1) % SlotCount;
    if (Header == Tailer) Event.Reset();
    return slot;
}

bool TPlayEventQueue::Empty() const {
    std::lock_guard<std::mutex> g(Lock);
    return Header == Tailer;
}

} // namespace media

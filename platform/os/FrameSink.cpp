#include "os/FrameSink.h"

#include <map>
#include <mutex>

namespace os {
namespace {

struct SinkEntry {
    FrameSinkHost host;
    FrameSinkListener listener;
};

// The sink's lock is held while a host paints, so that a host unregistering
// itself waits until no rectangle is being copied into it.
std::recursive_mutex& SinkLock() {
    static std::recursive_mutex m;
    return m;
}

std::map<uintptr_t, SinkEntry>& Sinks() {
    static std::map<uintptr_t, SinkEntry> sinks;
    return sinks;
}

} // namespace

void RegisterFrameSink(uintptr_t handle, FrameSinkHost host) {
    std::lock_guard<std::recursive_mutex> g(SinkLock());
    Sinks()[handle].host = std::move(host);
}

void UnregisterFrameSink(uintptr_t handle) {
    std::lock_guard<std::recursive_mutex> g(SinkLock());
    auto it = Sinks().find(handle);
    if (it == Sinks().end()) return;
    it->second.host = FrameSinkHost{};
    if (!it->second.listener) Sinks().erase(it);
}

bool DeliverFrame(uintptr_t handle, const FrameRect& rect) {
    std::lock_guard<std::recursive_mutex> g(SinkLock());
    auto it = Sinks().find(handle);
    if (it == Sinks().end() || !it->second.host.Paint) return false;
    it->second.host.Paint(rect);
    return true;
}

bool FrameSinkClientSize(uintptr_t handle, int& w, int& h) {
    std::lock_guard<std::recursive_mutex> g(SinkLock());
    auto it = Sinks().find(handle);
    if (it == Sinks().end() || !it->second.host.ClientSize) return false;
    return it->second.host.ClientSize(w, h);
}

void SetFrameSinkListener(uintptr_t handle, FrameSinkListener listener) {
    std::lock_guard<std::recursive_mutex> g(SinkLock());
    Sinks()[handle].listener = std::move(listener);
}

void ClearFrameSinkListener(uintptr_t handle) {
    std::lock_guard<std::recursive_mutex> g(SinkLock());
    auto it = Sinks().find(handle);
    if (it == Sinks().end()) return;
    it->second.listener = nullptr;
    if (!it->second.host.Paint && !it->second.host.ClientSize) Sinks().erase(it);
}

void NotifyFrameSink(uintptr_t handle, FrameSinkNotice notice, int w, int h) {
    FrameSinkListener listener;
    {
        std::lock_guard<std::recursive_mutex> g(SinkLock());
        auto it = Sinks().find(handle);
        if (it == Sinks().end() || !it->second.listener) return;
        listener = it->second.listener;
    }
    listener(notice, w, h);
}

} // namespace os

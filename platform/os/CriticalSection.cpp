#include "os/CriticalSection.h"

namespace os {

void Event::Set() {
    {
        std::lock_guard<std::mutex> g(m_);
        state_ = true;
    }
    if (manual_)
        cv_.notify_all();
    else
        cv_.notify_one();
}

void Event::Reset() {
    std::lock_guard<std::mutex> g(m_);
    state_ = false;
}

bool Event::IsSet() const {
    std::lock_guard<std::mutex> g(m_);
    return state_;
}

WaitResult Event::WaitFor(uint32_t milliseconds) {
    std::unique_lock<std::mutex> g(m_);
    auto ready = [this] { return state_; };
    if (milliseconds == INFINITE_WAIT)
        cv_.wait(g, ready);
    else if (!cv_.wait_for(g, std::chrono::milliseconds(milliseconds), ready))
        return WaitResult::Timeout;
    if (!manual_) state_ = false;
    return WaitResult::Signaled;
}

} // namespace os

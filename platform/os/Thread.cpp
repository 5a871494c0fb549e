#include "os/Thread.h"
#include "os/FloatEnv.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace os {

uint32_t CurrentThreadId() {
    return static_cast<uint32_t>(::syscall(SYS_gettid));
}

bool SetCurrentThreadPriority(ThreadPriority p) {
    pid_t tid = static_cast<pid_t>(CurrentThreadId());
    sched_param sp{};
    sp.sched_priority = 0;
    int nice = 0;
    switch (p) {
    case ThreadPriority::Idle:
        return ::sched_setscheduler(tid, SCHED_IDLE, &sp) == 0;
    case ThreadPriority::Lowest:
        nice = 15;
        break;
    case ThreadPriority::Lower:
        nice = 10;
        break;
    case ThreadPriority::Normal:
        nice = 0;
        break;
    }
    bool ok = ::sched_setscheduler(tid, SCHED_OTHER, &sp) == 0;
    // Raising the nice value back needs a privilege we may not have.
    ok = ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) == 0 && ok;
    return ok;
}

OsThread::OsThread(std::function<void()> body) : body_(std::move(body)) {}

OsThread::~OsThread() {
    Join();
}

void OsThread::SetPriority(ThreadPriority p) {
    priority_ = p;
    std::lock_guard<std::mutex> g(m_);
    if (tid_ != 0 && !finished_) {
        // Only the thread itself can change its scheduling class portably
        // (we address it by tid, which Linux accepts from any thread).
        pid_t tid = static_cast<pid_t>(tid_);
        sched_param sp{};
        if (p == ThreadPriority::Idle) {
            ::sched_setscheduler(tid, SCHED_IDLE, &sp);
        } else {
            ::sched_setscheduler(tid, SCHED_OTHER, &sp);
            int nice = p == ThreadPriority::Lowest ? 15 : p == ThreadPriority::Lower ? 10 : 0;
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
        }
    }
}

void OsThread::Start() {
    if (started_) return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void OsThread::Run() {
    ApplyStartFloatEnv();
    {
        std::lock_guard<std::mutex> g(m_);
        tid_ = CurrentThreadId();
    }
    SetCurrentThreadPriority(priority_);
    body_();
    std::lock_guard<std::mutex> g(m_);
    finished_ = true;
    cv_.notify_all();
}

void OsThread::Join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool OsThread::Finished() const {
    std::lock_guard<std::mutex> g(m_);
    return finished_;
}

uint32_t OsThread::ThreadId() const {
    std::lock_guard<std::mutex> g(m_);
    return tid_;
}

void PauseGate::Pause() {
    std::lock_guard<std::mutex> g(m_);
    paused_ = true;
}

void PauseGate::Resume() {
    {
        std::lock_guard<std::mutex> g(m_);
        paused_ = false;
    }
    cv_.notify_all();
}

bool PauseGate::Paused() const {
    std::lock_guard<std::mutex> g(m_);
    return paused_;
}

bool PauseGate::CheckPoint() {
    std::unique_lock<std::mutex> g(m_);
    if (!paused_) return false;
    cv_.wait(g, [this] { return !paused_; });
    return true;
}

} // namespace os

#include "os/MainThread.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace os {
namespace {

struct PendingCall {
    const std::function<void()>* call;
    std::function<void()> owned; // a posted call keeps its own copy
    bool posted = false;
    std::exception_ptr error;
    bool done = false;
};

struct CallQueue {
    std::mutex m;
    std::condition_variable queued;   // GUI thread waits for work
    std::condition_variable finished; // callers wait for their call
    std::deque<std::shared_ptr<PendingCall>> calls;
    std::function<void()> waker;
    std::thread::id mainId = std::this_thread::get_id();
};

CallQueue& Q() {
    static CallQueue q;
    return q;
}

[[maybe_unused]] const bool kMainTaken = (Q(), true);

void Enqueue(const std::shared_ptr<PendingCall>& pending) {
    std::function<void()> waker;
    {
        std::lock_guard<std::mutex> g(Q().m);
        Q().calls.push_back(pending);
        waker = Q().waker;
    }
    Q().queued.notify_all();
    if (waker) waker();
}

} // namespace

bool IsMainThread() {
    std::lock_guard<std::mutex> g(Q().m);
    return Q().mainId == std::this_thread::get_id();
}

void SetMainThread() {
    std::lock_guard<std::mutex> g(Q().m);
    Q().mainId = std::this_thread::get_id();
}

void CallInMainThread(const std::function<void()>& call) {
    if (IsMainThread()) {
        call();
        return;
    }
    auto pending = std::make_shared<PendingCall>();
    pending->call = &call;
    Enqueue(pending);
    std::unique_lock<std::mutex> g(Q().m);
    Q().finished.wait(g, [&] { return pending->done; });
    if (pending->error) std::rethrow_exception(pending->error);
}

void PostInMainThread(std::function<void()> call) {
    auto pending = std::make_shared<PendingCall>();
    pending->owned = std::move(call);
    pending->call = &pending->owned;
    pending->posted = true;
    Enqueue(pending);
}

bool CheckSynchronize(uint32_t timeoutMs) {
    auto& q = Q();
    std::unique_lock<std::mutex> g(q.m);
    if (q.calls.empty() && timeoutMs > 0)
        q.queued.wait_for(g, std::chrono::milliseconds(timeoutMs), [&] { return !q.calls.empty(); });
    bool ran = false;
    while (!q.calls.empty()) {
        auto pending = q.calls.front();
        q.calls.pop_front();
        g.unlock();
        try {
            (*pending->call)();
        } catch (...) {
            if (!pending->posted) pending->error = std::current_exception();
        }
        ran = true;
        g.lock();
        pending->done = true;
        q.finished.notify_all();
    }
    return ran;
}

void SetSynchronizeWaker(std::function<void()> waker) {
    std::lock_guard<std::mutex> g(Q().m);
    Q().waker = std::move(waker);
}

} // namespace os

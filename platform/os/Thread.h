#pragma once
// Worker threads: created suspended, started once, always joined.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace os {

// Linux has no per-thread priority classes; the lower ones map to
// SCHED_IDLE and nice values of that thread alone.
enum class ThreadPriority { Idle, Lowest, Lower, Normal };

uint32_t CurrentThreadId();

// Applies a priority to the calling thread; false when the system refused.
bool SetCurrentThreadPriority(ThreadPriority p);

class OsThread {
public:
    explicit OsThread(std::function<void()> body);
    ~OsThread(); // joins
    OsThread(const OsThread&) = delete;
    OsThread& operator=(const OsThread&) = delete;

    void SetPriority(ThreadPriority p); // before or after Start
    ThreadPriority Priority() const { return priority_; }
    void Start(); // once; later calls do nothing
    void Join();
    bool Started() const { return started_; }
    bool Finished() const;
    uint32_t ThreadId() const; // 0 until the thread runs

private:
    void Run();
    std::function<void()> body_;
    std::thread thread_;
    ThreadPriority priority_ = ThreadPriority::Normal;
    bool started_ = false;
    mutable std::mutex m_;
    std::condition_variable cv_;
    uint32_t tid_ = 0;
    bool finished_ = false;
};

// Linux cannot suspend another thread; a paused worker parks itself at the
// next safe point it passes, where it holds no lock.
class PauseGate {
public:
    void Pause();
    void Resume();
    bool Paused() const;
    // Blocks while paused.  Returns true if it had to wait.
    bool CheckPoint();

private:
    mutable std::mutex m_;
    std::condition_variable cv_;
    bool paused_ = false;
};

} // namespace os

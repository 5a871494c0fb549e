#pragma once
// TThread: a worker thread object.  Execute runs on its own thread; Synchronize hands a call to
// the GUI thread and waits for it.  A thread is never detached (no FreeOnTerminate): whoever
// holds it waits for it before it is destroyed, and TThreadPtr does that by itself.
#include "gui/Classes.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>

namespace os {
class OsThread;
}

namespace gui {

class EThread : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Linux lets an unprivileged thread lower its priority but not raise it: the three above
// normal run as normal.
enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    // A thread created running starts in AfterConstruction, once the whole object exists (a C++
    // base constructor cannot start a virtual Execute safely); MakeThread calls it.
    explicit TThread(bool createSuspended);
    // Last resort only: when the thread still runs, it is terminated and awaited here, but by
    // then the descendant's members are gone.  Hold threads in a TThreadPtr or call WaitFor first.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    std::string ClassName() const override { return "TThread"; }

    void AfterConstruction();
    // Starts a thread created suspended; EThread when it was started before.
    void Start();
    void Resume() { Start(); }
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Waits until Execute and OnTerminate are over and returns ReturnValue.  On the GUI thread
    // it keeps serving Synchronize calls meanwhile, so a worker waiting for one cannot hang it.
    int WaitFor();
    bool Started() const;
    bool Suspended() const { return !Started(); }
    bool Finished() const;
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority priority);
    uint32_t ThreadID() const;
    int ReturnValue() const { return returnValue_; }
    // What escaped Execute, if anything; the thread ends normally after it.
    std::exception_ptr FatalException() const { return fatal_; }

    // Runs the call on the GUI thread (directly when already there) and waits for it; an
    // exception it raises comes back here.
    void Synchronize(const std::function<void()>& method) { Synchronize(this, method); }
    static void Synchronize(TThread* thread, const std::function<void()>& method);

    // Called on the GUI thread, with the thread as sender, after Execute.
    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    virtual void DoTerminate();
    void SetReturnValue(int value) { returnValue_ = value; }

private:
    void Run();
    std::unique_ptr<os::OsThread> os_;
    std::atomic<bool> terminated_{false};
    std::atomic<int> returnValue_{0};
    std::exception_ptr fatal_;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    bool createSuspended_;
};

// Terminates and awaits the thread before it is destroyed.
struct TThreadDeleter {
    void operator()(TThread* thread) const;
};
template <class T> using TThreadPtr = std::unique_ptr<T, TThreadDeleter>;

// Creates a thread object and, unless it was created suspended, starts it.
template <class T, class... Args> TThreadPtr<T> MakeThread(Args&&... args) {
    TThreadPtr<T> thread(new T(std::forward<Args>(args)...));
    thread->AfterConstruction();
    return thread;
}

} // namespace gui

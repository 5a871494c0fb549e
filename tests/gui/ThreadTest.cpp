#include "gui/Thread.h"
#include "gui/SyncObjs.h"

#include "WaitUntil.h"
#include "os/MainThread.h"
#include "os/Thread.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace gui;

namespace {

// Hands three values to the GUI thread, one Synchronize each, then returns their sum.
class Counter : public TThread {
public:
    explicit Counter(bool suspended) : TThread(suspended) {}
    std::vector<int> seen;          // written on the GUI thread only
    std::vector<bool> onMainThread; // where each call ran
    std::atomic<bool> executed{false};

protected:
    void Execute() override {
        executed = true;
        int sum = 0;
        for (int i = 1; i <= 3; ++i) {
            Synchronize([&, i] {
                seen.push_back(i);
                onMainThread.push_back(os::IsMainThread());
            });
            sum += i;
        }
        SetReturnValue(sum);
    }
};

class Spinner : public TThread {
public:
    using TThread::TThread;
    std::atomic<int> laps{0};
    int niceValue = -100;
    int policy = -1;

protected:
    void Execute() override {
        niceValue = ::getpriority(PRIO_PROCESS, static_cast<id_t>(os::CurrentThreadId()));
        policy = ::sched_getscheduler(0);
        while (!Terminated()) {
            ++laps;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

// What a worker did, kept outside the thread object so that it can be read after the object is gone.
struct WorkerTrace {
    std::atomic<int> laps{0};
    std::atomic<bool> executeReturned{false};
    bool returnedBeforeDestruction = false;
};

// Spins until terminated; its destructor notes whether Execute was over by then.
class TracedSpinner : public TThread {
public:
    explicit TracedSpinner(WorkerTrace& trace) : TThread(false), trace_(trace) {}
    ~TracedSpinner() override { trace_.returnedBeforeDestruction = trace_.executeReturned; }

protected:
    void Execute() override {
        while (!Terminated()) {
            ++trace_.laps;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        trace_.executeReturned = true;
    }

private:
    WorkerTrace& trace_;
};

class Thrower : public TThread {
public:
    Thrower() : TThread(false) {}

protected:
    void Execute() override { throw std::runtime_error("decoder failed"); }
};

} // namespace

TEST(Thread, SynchronizeRunsOnTheGuiThreadWhileItPumps) {
    auto t = MakeThread<Counter>(false);
    std::vector<std::string> order;
    t->OnTerminate = [&](TObject* sender) {
        EXPECT_EQ(sender, t.get());
        EXPECT_TRUE(os::IsMainThread());
        order.push_back("terminate after " + std::to_string(t->seen.size()));
    };
    // The test pumps the call queue as the message loop would.
    ASSERT_TRUE(WaitUntil(
        [&] {
            os::CheckSynchronize(5);
            return !order.empty();
        },
        std::chrono::seconds(10), "OnTerminate"));
    EXPECT_EQ(t->seen, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(t->onMainThread, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(order, (std::vector<std::string>{"terminate after 3"}));
    EXPECT_EQ(t->WaitFor(), 6);
    EXPECT_TRUE(t->Finished());
}

TEST(Thread, WaitForOnTheGuiThreadServesTheWorkersCalls) {
    auto t = MakeThread<Counter>(false);
    bool terminated = false;
    t->OnTerminate = [&](TObject*) { terminated = true; };
    EXPECT_EQ(t->WaitFor(), 6); // without pumping here first, this would hang
    EXPECT_TRUE(terminated);
}

TEST(Thread, CreatedSuspendedWaitsForStartWhichRunsOnce) {
    auto t = MakeThread<Counter>(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(t->executed);
    EXPECT_TRUE(t->Suspended());
    t->Start();
    EXPECT_THROW(t->Start(), EThread);
    EXPECT_EQ(t->WaitFor(), 6);
}

TEST(Thread, TerminateAsksExecuteToEndAndPriorityReachesTheThread) {
    auto t = MakeThread<Spinner>(true);
    t->SetPriority(TThreadPriority::tpLower);
    t->Start();
    ASSERT_TRUE(WaitUntil([&] { return t->laps >= 3; }, std::chrono::seconds(10), "three laps"));
    EXPECT_FALSE(t->Terminated());
    t->Terminate();
    t->WaitFor();
    EXPECT_EQ(t->niceValue, 10);
    EXPECT_EQ(t->Priority(), TThreadPriority::tpLower);

    auto idle = MakeThread<Spinner>(true);
    idle->SetPriority(TThreadPriority::tpIdle);
    idle->Start();
    idle->Terminate();
    idle->WaitFor();
    EXPECT_EQ(idle->policy, SCHED_IDLE);
}

TEST(Thread, AnExceptionInExecuteIsKeptNotThrown) {
    auto t = MakeThread<Thrower>();
    t->WaitFor();
    ASSERT_TRUE(t->FatalException());
    try {
        std::rethrow_exception(t->FatalException());
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "decoder failed");
    }
}

TEST(Thread, ReleasingARunningThreadStopsAndJoinsItFirst) {
    WorkerTrace trace;
    {
        auto t = MakeThread<TracedSpinner>(trace);
        ASSERT_TRUE(WaitUntil([&] { return trace.laps >= 2; }, std::chrono::seconds(10), "two laps"));
        EXPECT_FALSE(trace.executeReturned);
    } // ASan would also catch a worker touching freed members
    EXPECT_TRUE(trace.executeReturned);
    EXPECT_TRUE(trace.returnedBeforeDestruction);
}

TEST(SyncObjs, EventAndCriticalSection) {
    TEvent autoReset(false, false);
    EXPECT_EQ(autoReset.WaitFor(10), TWaitResult::wrTimeout);
    std::thread setter([&] { autoReset.SetEvent(); });
    EXPECT_EQ(autoReset.WaitFor(), TWaitResult::wrSignaled);
    setter.join();
    EXPECT_EQ(autoReset.WaitFor(0), TWaitResult::wrTimeout); // it reset itself

    TCriticalSection cs;
    cs.Enter();
    cs.Enter(); // recursive on one thread
    bool other = true;
    std::thread([&] { other = cs.TryEnter(); }).join();
    EXPECT_FALSE(other);
    cs.Leave();
    cs.Leave();
}

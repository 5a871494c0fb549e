#include "os/Thread.h"
#include "os/Clock.h"
#include "os/CriticalSection.h"

#include <atomic>
#include <cfenv>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>

using namespace os;

TEST(Thread, CreatedSuspendedRunsOnlyAfterStartAndJoins) {
    std::atomic<bool> ran{false};
    OsThread t([&] { ran = true; });
    SleepMs(20);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(t.Started());
    t.Start();
    t.Join();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(t.Finished());
}

TEST(Thread, PrioritiesMapToSchedIdleAndNiceValues) {
    struct Case {
        ThreadPriority p;
        int policy;
        int nice;
    } cases[] = {
        {ThreadPriority::Idle,   SCHED_IDLE,  -1},
        {ThreadPriority::Lowest, SCHED_OTHER, 15},
        {ThreadPriority::Lower,  SCHED_OTHER, 10},
    };
    for (auto& c : cases) {
        int policy = -2, nice = -100;
        OsThread t([&] {
            policy = sched_getscheduler(0);
            nice = getpriority(PRIO_PROCESS, CurrentThreadId());
        });
        t.SetPriority(c.p);
        t.Start();
        t.Join();
        EXPECT_EQ(policy, c.policy);
        if (c.nice >= 0) {
            EXPECT_EQ(nice, c.nice);
        }
    }
}

TEST(Thread, WorkerStartsWithExceptionsMasked) {
    int excepts = -1;
    OsThread t([&] { excepts = fegetexcept(); });
    t.Start();
    t.Join();
    EXPECT_EQ(excepts, 0);
}

TEST(Thread, PauseGateParksTheWorkerAtItsCheckPoint) {
    PauseGate gate;
    std::atomic<int> steps{0};
    std::atomic<bool> stop{false};
    gate.Pause();
    OsThread t([&] {
        while (!stop) {
            gate.CheckPoint();
            ++steps;
            SleepMs(1);
        }
    });
    t.Start();
    SleepMs(50);
    EXPECT_EQ(steps.load(), 0);
    gate.Resume();
    while (steps.load() < 3) SleepMs(1);
    stop = true;
    t.Join();
}

TEST(Event, ManualResetStaysSignalledAndTimedWaitTimesOut) {
    Event e;
    EXPECT_EQ(e.WaitFor(10), WaitResult::Timeout);
    e.Set();
    EXPECT_EQ(e.WaitFor(0), WaitResult::Signaled);
    EXPECT_EQ(e.WaitFor(0), WaitResult::Signaled);
    e.Reset();
    EXPECT_EQ(e.WaitFor(0), WaitResult::Timeout);

    Event autoReset(false, true);
    EXPECT_EQ(autoReset.WaitFor(0), WaitResult::Signaled);
    EXPECT_EQ(autoReset.WaitFor(0), WaitResult::Timeout);
}

TEST(CriticalSection, ReentersOnTheSameThread) {
    CriticalSection cs;
    cs.Enter();
    cs.Enter(); // would deadlock with a plain mutex
    cs.Leave();
    cs.Leave();
    EXPECT_TRUE(cs.TryEnter());
    cs.Leave();
}

TEST(VirtualClock, AdvancesOnlyWhenToldAndABusyWaitStillEnds) {
    VirtualClock::Enable(1000);
    EXPECT_EQ(GetTickCount(), 1000u);
    VirtualClock::Advance(250);
    EXPECT_EQ(GetTickCount(), 1250u);
    SleepMs(50);
    EXPECT_EQ(GetTickCount(), 1300u);
    uint32_t until = GetTickCount() + 5;
    while (GetTickCount() < until) {
    } // must not hang
    VirtualClock::Disable();
}

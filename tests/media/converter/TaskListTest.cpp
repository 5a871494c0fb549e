// The task list's state machine, threads, stop, pause and termination
// records, with conversions whose run the test controls: every engine runs
// FakeRun below in place of a real conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "ConverterTestSupport.h"
#include "media/FFmpegTestHook.h"
#include "os/MainThread.h"
#include "os/Thread.h"

using namespace media;
using namespace convtest;

namespace {

// Runs hold until released (or stopped); they report progress while held.
struct FakeRuns {
    std::mutex m;
    std::condition_variable cv;
    bool released = false;
    int running = 0, maxRunning = 0;
    std::vector<TCustomFFmpeg*> started;
    std::vector<int64_t> intervals;

    void Run(TCustomFFmpeg& e) {
        {
            std::lock_guard<std::mutex> g(m);
            ++running;
            maxRunning = std::max(maxRunning, running);
            started.push_back(&e);
            intervals.push_back(e.ReportInterval);
        }
        cv.notify_all();
        int frame = 0;
        for (;;) {
            e.CheckPause();
            if (e.FBroken) break;
            ++frame;
            if (e.FOnProgress)
                e.FOnProgress(&e, 0, frame, 25, 2.0f, 100.0f, frame * 1000, frame * 40000, 2000000);
            std::unique_lock<std::mutex> g(m);
            if (cv.wait_for(g, std::chrono::milliseconds(2), [&] { return released; })) break;
        }
        e.FFinished = !e.FBroken;
        std::lock_guard<std::mutex> g(m);
        --running;
        cv.notify_all();
    }
    void WaitRunning(int n) {
        std::unique_lock<std::mutex> g(m);
        cv.wait(g, [&] { return running == n; });
    }
    void Release() {
        {
            std::lock_guard<std::mutex> g(m);
            released = true;
        }
        cv.notify_all();
    }
};

class TaskListTest : public ::testing::Test {
protected:
    void SetUp() override {
        SourceClip();
        SetTranscodeTestHook([this](TCustomFFmpeg& e) { runs.Run(e); });
        conv.TriggerEventInMainThread = false;
        rec.Attach(conv);
    }
    void TearDown() override {
        runs.Release();
        if (conv.Working() && !conv.Terminated()) conv.Stop(true);
        while (conv.Working() && !conv.Terminated()) os::CheckSynchronize(5);
        conv.ClearTasks();
        SetTranscodeTestHook(nullptr);
    }
    void AddTasks(int n, bool withOutput = true) {
        for (int i = 0; i < n; ++i) {
            int index = conv.AddTask(SourceClip());
            ASSERT_EQ(index, conv.TasksCount() - 1) << conv.LastErrMsg();
            if (withOutput) {
                ASSERT_TRUE(conv.SetOutputFile(index, Folder().Path("out" + std::to_string(i) + ".mpg"),
                                               "vcodec=copy\nacodec=copy"))
                    << conv.LastErrMsg();
            }
        }
    }
    int IndexOf(TCustomFFmpeg* e) { return conv.Tasks().IndexOf(static_cast<TFFmpeg*>(e)); }

    FakeRuns runs;
    TestConverter conv;
    Recorder rec;
};

TEST_F(TaskListTest, FiveTasksOnThreeThreadsRunInListOrderAndEndWithOneFinalRecord) {
    AddTasks(5);
    conv.Start(3);
    runs.WaitRunning(3);
    {
        std::lock_guard<std::mutex> g(runs.m);
        ASSERT_EQ(runs.started.size(), 3u); // the other two wait for a free thread
    }
    runs.Release();
    rec.WaitFinal();
    std::vector<int> order = rec.Order();
    ASSERT_EQ(order.size(), 6u);
    EXPECT_EQ(order.back(), -1);
    std::vector<int> tasks(order.begin(), order.end() - 1);
    std::sort(tasks.begin(), tasks.end());
    EXPECT_EQ(tasks, (std::vector<int>{0, 1, 2, 3, 4}));
    for (const Record& r : rec.Records()) {
        EXPECT_TRUE(r.info.Finished) << r.info.TaskIndex;
        EXPECT_FALSE(r.info.Exception) << r.info.TaskIndex;
        EXPECT_EQ(r.info.ExceptionMsg, "");
    }
    std::lock_guard<std::mutex> g(runs.m);
    EXPECT_LE(runs.maxRunning, 3);
    ASSERT_EQ(runs.started.size(), 5u);
    // Workers begin in any order; the first three to run are the first three tasks.
    std::vector<int> first, later;
    for (int i = 0; i < 5; ++i)
        (i < 3 ? first : later).push_back(IndexOf(runs.started[static_cast<size_t>(i)]));
    std::sort(first.begin(), first.end());
    std::sort(later.begin(), later.end());
    EXPECT_EQ(first, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(later, (std::vector<int>{3, 4}));
    EXPECT_TRUE(conv.Working());
    EXPECT_TRUE(conv.Terminated());
}

TEST_F(TaskListTest, ThreadCountsAboveTheTaskCountStartEveryTask) {
    AddTasks(2);
    conv.Start(10);
    runs.WaitRunning(2);
    runs.Release();
    rec.WaitFinal();
    EXPECT_EQ(rec.Order().size(), 3u);
    EXPECT_EQ(rec.Order().back(), -1);
}

TEST_F(TaskListTest, WaitingStopReportsEveryTaskThenTheFinalRecord) {
    AddTasks(5);
    conv.Start(2);
    runs.WaitRunning(2);
    conv.Stop(true);
    {
        // Both workers are done when the waiting Stop returns.
        std::lock_guard<std::mutex> g(runs.m);
        EXPECT_EQ(runs.running, 0);
        EXPECT_EQ(runs.started.size(), 2u);
    }
    rec.WaitFinal();
    std::vector<Record> records = rec.Records();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records.back().info.TaskIndex, -1);
    EXPECT_TRUE(records.back().info.Finished);
    std::vector<int> seen;
    for (size_t i = 0; i + 1 < records.size(); ++i) {
        EXPECT_FALSE(records[i].info.Finished);
        EXPECT_FALSE(records[i].info.Exception);
        seen.push_back(records[i].info.TaskIndex);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
    // Stopped tasks never start again.
    conv.ClearTasks();
    EXPECT_FALSE(conv.Working());
}

TEST_F(TaskListTest, StopOutsideARunEndsEveryTaskAndALaterStartEndsAtOnce) {
    AddTasks(3);
    conv.Stop(true);
    rec.WaitFinal();
    EXPECT_EQ(rec.Order().size(), 4u);
    EXPECT_EQ(rec.Order().back(), -1);
    // The ended tasks cannot run again; the run still ends with its final record.
    Recorder again;
    again.Attach(conv);
    conv.Start(2);
    again.WaitFinal();
    EXPECT_EQ(again.Order(), (std::vector<int>{-1}));
    std::lock_guard<std::mutex> g(runs.m);
    EXPECT_TRUE(runs.started.empty());
}

TEST_F(TaskListTest, StartingAnEmptyListIssuesTheFinalRecordAtOnce) {
    for (int threads : {2, 0}) {
        Recorder r;
        r.Attach(conv);
        conv.Start(threads);
        r.WaitFinal();
        EXPECT_EQ(r.Order(), (std::vector<int>{-1})) << threads;
        EXPECT_TRUE(conv.Terminated());
        conv.ClearTasks();
    }
}

TEST_F(TaskListTest, InCallerModeRunsEachTaskInsideStartInListOrder) {
    for (int threads : {0, -5}) {
        Recorder r;
        r.Attach(conv);
        AddTasks(3);
        runs.Release();
        conv.Start(threads);
        // Start returned after the final record, every record on this thread.
        EXPECT_EQ(r.Order(), (std::vector<int>{0, 1, 2, -1})) << threads;
        for (const Record& x : r.Records()) EXPECT_EQ(x.thread, os::CurrentThreadId());
        conv.ClearTasks();
    }
}

TEST_F(TaskListTest, ATaskWithoutOutputEndsAtOnceWithTheEnginesMessage) {
    AddTasks(1, false);
    AddTasks(1);
    runs.Release();
    conv.Start(1);
    rec.WaitFinal();
    std::vector<Record> records = rec.Records();
    ASSERT_EQ(records.size(), 3u);
    // Task records come on threads of their own, in either order; the final one comes last.
    if (records[0].info.TaskIndex == 1) std::swap(records[0], records[1]);
    EXPECT_EQ(records[0].info.TaskIndex, 0);
    EXPECT_TRUE(records[0].info.Exception);
    EXPECT_FALSE(records[0].info.Finished);
    EXPECT_EQ(records[0].info.ExceptionMsg, "At least one output file must be specified");
    EXPECT_EQ(records[1].info.TaskIndex, 1);
    EXPECT_TRUE(records[1].info.Finished);
    EXPECT_EQ(records[2].info.TaskIndex, -1);
}

TEST_F(TaskListTest, ListChangesAreRefusedFromStartUntilClearTasks) {
    AddTasks(2);
    conv.Start(1);
    runs.WaitRunning(1);
    struct Case {
        const char* text;
        std::function<void()> call;
    };
    TInputOptions in;
    TOutputOptions out;
    const Case cases[] = {
        {"Cannot AddTask while working.",       [&] { conv.AddTask(SourceClip()); }                 },
        {"Cannot AddTask while working.",       [&] { conv.AddTask(SourceClip(), "ss=1"); }         },
        {"Cannot AddTask while working.",       [&] { conv.AddTask(&in, "x", nullptr); }            },
        {"Cannot AddInputFile while working.",  [&] { conv.AddInputFile(0, SourceClip()); }         },
        {"Cannot AddInputFile while working.",  [&] { conv.AddInputFile(0, SourceClip(), ""); }     },
        {"Cannot SetOutputFile while working.", [&] { conv.SetOutputFile(0, "x.mpg", &out); }       },
        {"Cannot SetOutputFile while working.", [&] { conv.SetOutputFile(0, "x.mpg", ""); }         },
        {"Cannot SetOutputFile while working.", [&] { conv.SetOutputStream(0, &out, "x", nullptr); }},
        {"Cannot Exchange while working.",      [&] { conv.Exchange(0, 1); }                        },
        {"Cannot RemoveTask while working.",    [&] { conv.RemoveTask(0); }                         },
        {"Cannot StartTask while working.",     [&] { conv.Start(1); }                              },
    };
    auto expectRefusals = [&](bool running) {
        for (const Case& c : cases) {
            try {
                c.call();
                ADD_FAILURE() << c.text;
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), c.text);
            }
        }
        if (running) {
            try {
                conv.ClearTasks();
                ADD_FAILURE();
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "Cannot ClearTasks while working.");
            }
        }
        EXPECT_EQ(conv.TasksCount(), 2);
    };
    expectRefusals(true);
    runs.Release();
    rec.WaitFinal();
    expectRefusals(false); // the run has ended, yet the list stays locked
    conv.ClearTasks();
    EXPECT_EQ(conv.TasksCount(), 0);
    EXPECT_GE(conv.AddTask(SourceClip()), 0);
}

TEST_F(TaskListTest, PauseParksTheWorkerAndResumeLetsItFinish) {
    std::atomic<int> reports{0};
    conv.SetOnProgress([&](os::TObject*, TProgressInfo*) { ++reports; });
    AddTasks(1);
    conv.Start(1);
    runs.WaitRunning(1);
    conv.Pause();
    TCustomFFmpeg* task = conv.Tasks().Get(0);
    while (!task->Parked()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    int atPause = reports;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(reports, atPause);
    runs.Release();
    conv.Resume();
    rec.WaitFinal();
    EXPECT_TRUE(rec.Records().front().info.Finished);
}

TEST_F(TaskListTest, StoppingAPausedTaskEndsIt) {
    AddTasks(1);
    conv.Start(1);
    runs.WaitRunning(1);
    conv.Pause();
    while (!conv.Tasks().Get(0)->Parked()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    conv.Stop(true);
    rec.WaitFinal();
    EXPECT_EQ(rec.Order(), (std::vector<int>{0, -1}));
    EXPECT_FALSE(rec.Records().front().info.Finished);
}

TEST_F(TaskListTest, ProgressRunsOnTheWorkerOrInTheGuiThreadAsAsked) {
    for (bool inMain : {false, true}) {
        Recorder r;
        r.Attach(conv);
        conv.TriggerEventInMainThread = inMain;
        std::mutex m;
        std::vector<uint32_t> threads;
        std::vector<TProgressInfo> infos;
        conv.SetOnProgress([&](os::TObject* sender, TProgressInfo* info) {
            EXPECT_EQ(sender, &conv);
            std::lock_guard<std::mutex> g(m);
            threads.push_back(os::CurrentThreadId());
            infos.push_back(*info);
        });
        conv.SetProgressInterval(50);
        EXPECT_EQ(conv.ProgressInterval(), 100);
        AddTasks(1);
        conv.Start(1);
        // Wait for a report, pumping: in the GUI-thread case it needs us.
        for (;;) {
            os::CheckSynchronize(5);
            std::lock_guard<std::mutex> g(m);
            if (!infos.empty()) break;
        }
        runs.Release();
        r.WaitFinal();
        conv.SetOnProgress(nullptr);
        std::lock_guard<std::mutex> g(m);
        EXPECT_EQ(threads.front() == os::CurrentThreadId(), inMain);
        EXPECT_EQ(infos.front().TaskIndex, 0);
        EXPECT_EQ(infos.front().FrameNumber, 1);
        EXPECT_EQ(infos.front().TotalDuration, 2000000);
        EXPECT_EQ(runs.intervals.back(), 100000);
        conv.ClearTasks();
        runs.released = false;
    }
}

TEST_F(TaskListTest, FiftyStartStopCyclesEndCleanly) {
    for (int cycle = 0; cycle < 50; ++cycle) {
        Recorder r;
        r.Attach(conv);
        AddTasks(3);
        conv.Start(2);
        if (cycle % 3 == 0) runs.WaitRunning(2);
        conv.Stop(cycle % 2 == 0);
        r.WaitFinal();
        EXPECT_EQ(r.Order().size(), 4u) << cycle;
        EXPECT_EQ(r.Order().back(), -1) << cycle;
        conv.ClearTasks();
    }
    conv.SetOnTerminate(nullptr);
}

} // namespace

// Real conversions (stream copies, MPEG program stream to MPEG program
// stream) through the task component and through the ffconvert driver.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/wait.h>
#include <thread>

#include "../../gui/WaitUntil.h"
#include "ConverterTestSupport.h"
#include "media/ComponentUtils.h"
#include "os/MainThread.h"

using namespace media;
using namespace convtest;

namespace {

std::vector<int> AllFrames(int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(i);
    return v;
}

// A clip that a run reads at its own pace (option "re"), so that it lasts
// about as long as the clip and can be paused and stopped in the middle.
const std::string& PacedClip() {
    static const std::string path = [] {
        SourceClip();
        fixtures::ClipOptions o;
        o.kind = fixtures::ClipKind::Mpg;
        o.seconds = 3.0;
        o.width = 160;
        o.height = 120;
        o.audio = false;
        return fixtures::MakeClip(Folder(), o, "paced.mpg");
    }();
    return path;
}

struct RunResult {
    int exitCode = -1;
    std::vector<std::string> lines;
};

RunResult RunFfconvert(const std::string& args) {
    RunResult r;
    std::string cmd = std::string(FFCONVERT_PATH) + " " + args + " 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    while (std::fgets(buf, sizeof buf, p)) {
        std::string line(buf);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        r.lines.push_back(line);
    }
    int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(Ffconvert, FiveCopiesOnThreeThreadsGiveFiveRecordsThenTheFinalOne) {
    std::string args = "-t 3 -p lower";
    std::vector<std::string> outputs;
    for (int i = 0; i < 5; ++i) {
        outputs.push_back(Folder().Path("ff" + std::to_string(i) + ".mpg"));
        std::filesystem::remove(outputs.back());
        args += (i ? " -- " : " ") + SourceClip() + " " + outputs.back() + " vcodec=copy acodec=copy";
    }
    RunResult r = RunFfconvert(args);
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> terms = Starting(r.lines, "terminate ");
    ASSERT_EQ(terms.size(), 6u);
    EXPECT_EQ(terms.back(), "terminate -1 1 0 ");
    for (size_t i = 0; i < 5; ++i) EXPECT_NE(terms[i].find(" 1 0 "), std::string::npos) << terms[i];
    EXPECT_FALSE(Starting(r.lines, "progress ").empty());
    for (const auto& out : outputs) EXPECT_EQ(fixtures::DecodeFrameNumbers(out), AllFrames(50)) << out;
}

TEST(Ffconvert, UsageErrorsAndFailuresHaveTheirExitCodes) {
    EXPECT_EQ(RunFfconvert("").exitCode, 2);
    EXPECT_EQ(RunFfconvert("-t").exitCode, 2);
    EXPECT_EQ(RunFfconvert("-p high a b").exitCode, 2);
    EXPECT_EQ(RunFfconvert(SourceClip() + " x.mkv novalue").exitCode, 2);
    // A refused output: nothing runs.
    EXPECT_EQ(RunFfconvert(SourceClip() + " " + Folder().Path("bad.mkv") + " vcodec=nosuchcodec").exitCode,
              1);
    // A task that ends without finishing (no output file).
    RunResult r = RunFfconvert(Folder().Path("missing.mpg") + " " + Folder().Path("m.mkv"));
    EXPECT_EQ(r.exitCode, 1);
}

TEST(Ffconvert, SignalsPauseResumeAndStopARun) {
    // Read at its own pace ("re"), long enough to pause and resume in.
    static const std::string clip = [] {
        SourceClip();
        fixtures::ClipOptions o;
        o.kind = fixtures::ClipKind::Mpg;
        o.seconds = 6.0;
        o.width = 160;
        o.height = 120;
        o.audio = false;
        return fixtures::MakeClip(Folder(), o, "slow.mpg");
    }();
    const std::string out = Folder().Path("signalled.mpg");
    std::filesystem::remove(out);
    FfconvertProcess ffconvert({clip, out, "vcodec=copy", "re=1"});
    ASSERT_TRUE(ffconvert.WaitForLine("progress 0 "));

    ffconvert.Signal(SIGUSR1);
    ASSERT_TRUE(ffconvert.WaitForLine("log info SIGUSR1: paused"));
    // A report already on its way may still come; then nothing moves.
    ffconvert.WaitForLine("nothing", std::chrono::milliseconds(300));
    const auto size = std::filesystem::file_size(out);
    EXPECT_FALSE(ffconvert.WaitForLine("progress ", std::chrono::milliseconds(1200)));
    EXPECT_EQ(std::filesystem::file_size(out), size);

    ffconvert.Signal(SIGUSR2);
    ASSERT_TRUE(ffconvert.WaitForLine("log info SIGUSR2: resumed"));
    ASSERT_TRUE(ffconvert.WaitForLine("progress 0 "));

    ffconvert.Signal(SIGINT);
    EXPECT_TRUE(ffconvert.WaitForLine("log info SIGINT: stopping"));
    EXPECT_EQ(ffconvert.Finish(), 1); // stopped: not finished
    // The record and the end of the wait come on different threads, in
    // either order.
    const std::vector<std::string>& lines = ffconvert.Lines();
    EXPECT_EQ(Starting(lines, "terminate "),
              (std::vector<std::string>{"terminate 0 0 0 ", "terminate -1 1 0 "}));
    EXPECT_EQ(Starting(lines, "log info SIGINT: stopped").size(), 1u);
    // Cut short: the file the run made is gone from the output's name.
    EXPECT_FALSE(std::filesystem::exists(out));
}

class RealConversionTest : public ::testing::Test {
protected:
    void SetUp() override {
        PacedClip();
        conv.TriggerEventInMainThread = false;
        conv.SetProgressInterval(100);
        rec.Attach(conv);
    }
    void TearDown() override {
        if (conv.Working() && !conv.Terminated()) conv.Stop(true);
        while (conv.Working() && !conv.Terminated()) os::CheckSynchronize(5);
        conv.ClearTasks();
    }
    int AddPaced(const std::string& output) {
        std::filesystem::remove(output);
        int index = conv.AddTask(PacedClip(), "re=1");
        EXPECT_GE(index, 0) << conv.LastErrMsg();
        EXPECT_TRUE(conv.SetOutputFile(index, output, "vcodec=copy")) << conv.LastErrMsg();
        return index;
    }
    TestConverter conv;
    Recorder rec;
};

TEST_F(RealConversionTest, PauseHoldsProgressAndOutputAndResumeFinishesAValidFile) {
    const std::string out = Folder().Path("paused.mpg");
    AddPaced(out);
    std::atomic<int> reports{0};
    conv.SetOnProgress([&](os::TObject*, TProgressInfo*) {
        // Paused from inside a report, so the pause lands in the middle.
        if (++reports == 2) conv.Pause();
    });
    conv.Start(1);
    TFFmpeg* task = conv.Tasks().Get(0);
    while (!task->Parked()) {
        ASSERT_FALSE(conv.Terminated()) << "the run ended before it paused";
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const int atPause = reports;
    const auto sizeAtPause = std::filesystem::file_size(out);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(reports, atPause);
    EXPECT_EQ(std::filesystem::file_size(out), sizeAtPause);
    conv.Resume();
    rec.WaitFinal();
    ASSERT_EQ(rec.Order(), (std::vector<int>{0, -1}));
    EXPECT_TRUE(rec.Records()[0].info.Finished) << rec.Records()[0].info.ExceptionMsg;
    EXPECT_GT(reports, atPause);
    EXPECT_EQ(fixtures::DecodeFrameNumbers(out), AllFrames(75));
}

TEST_F(RealConversionTest, WaitingStopInTheMiddleReportsEveryTaskAndLeavesNoFileOfItsOwn) {
    std::vector<std::string> outs;
    for (int i = 0; i < 4; ++i) outs.push_back(Folder().Path("stopped" + std::to_string(i) + ".mpg"));
    for (const auto& o : outs) AddPaced(o);
    // A file that was at an output's name before the run is not the run's to remove.
    std::ofstream(outs[1]) << "there before";
    std::atomic<int> reports{0};
    conv.SetOnProgress([&](os::TObject*, TProgressInfo*) { ++reports; });
    conv.Start(2);
    while (reports < 4) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    conv.Stop(true);
    rec.WaitFinal();
    std::vector<Record> records = rec.Records();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records.back().info.TaskIndex, -1);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(records[i].info.Finished);
        EXPECT_FALSE(records[i].info.Exception) << records[i].info.ExceptionMsg;
    }
    // A run cut short leaves no file it made under the output's name (a restart writes that
    // name again); the file that was there stays, with what the run wrote into it.
    conv.ClearTasks();
    EXPECT_FALSE(std::filesystem::exists(outs[0]));
    std::vector<int> frames = fixtures::DecodeFrameNumbers(outs[1]);
    EXPECT_FALSE(frames.empty());
    EXPECT_LT(frames.size(), 75u);
    for (int i = 2; i < 4; ++i) EXPECT_FALSE(std::filesystem::exists(outs[static_cast<size_t>(i)]));
}

// The output's folder removed while the run writes: the bytes go into a file no name reaches,
// so the task ends with an error naming the path and the system's reason, never as finished.
TEST_F(RealConversionTest, AnOutputThatIsGoneWhenItClosesEndsTheTaskWithAnError) {
    const std::string dir = Folder().Path("vanishing");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string out = dir + "/gone.mpg";
    AddPaced(out);
    std::atomic<int> reports{0};
    conv.SetOnProgress([&](os::TObject*, TProgressInfo*) { ++reports; });
    conv.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return reports > 0; }, std::chrono::seconds(30), "the first progress"));
    std::filesystem::remove_all(dir);
    rec.WaitFinal();
    ASSERT_EQ(rec.Order(), (std::vector<int>{0, -1}));
    const TTerminateInfo info = rec.Records()[0].info;
    EXPECT_FALSE(info.Finished);
    EXPECT_TRUE(info.Exception);
    EXPECT_EQ(info.ExceptionMsg, out + ": No such file or directory");
}

TEST_F(RealConversionTest, InCallerModeConvertsInsideStartWithProgressOnTheCaller) {
    std::filesystem::remove(Folder().Path("caller.mpg"));
    int index = conv.AddTask(SourceClip());
    ASSERT_TRUE(conv.SetOutputFile(index, Folder().Path("caller.mpg"), "vcodec=copy\nacodec=copy"));
    conv.TriggerEventInMainThread = true;
    std::vector<uint32_t> threads;
    conv.SetOnProgress([&](os::TObject*, TProgressInfo*) { threads.push_back(os::CurrentThreadId()); });
    conv.Start(0);
    EXPECT_EQ(rec.Order(), (std::vector<int>{0, -1}));
    ASSERT_FALSE(threads.empty());
    for (uint32_t t : threads) EXPECT_EQ(t, os::CurrentThreadId());
    EXPECT_EQ(fixtures::DecodeFrameNumbers(Folder().Path("caller.mpg")), AllFrames(50));
}

} // namespace

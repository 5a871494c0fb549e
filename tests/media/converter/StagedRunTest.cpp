// A run whose share of the cores lets it scale and encode its video on a
// stage thread: the same bytes as without the stage, pause and stop reach
// the stage, and a failing stage ends the run.
#include <dirent.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "../../gui/WaitUntil.h"
#include "engine/EngineTestSupport.h"
#include "media/CodecThreads.h"
#include "os/Clock.h"

namespace {

using media::CodecThreads;
using namespace std::chrono_literals;

const std::string& StageClip() {
    static fixtures::TempFolder folder{"stagedin"};
    static const std::string path = [] {
        // MPEG-2 decodes on slice threads, whose hand-over the thread
        // checker can follow (the libraries are not built for it).
        fixtures::ClipOptions o;
        o.kind = fixtures::ClipKind::Mpg;
        o.seconds = 3.0;
        return fixtures::MakeClip(folder, o, "stage.mpg");
    }();
    return path;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ThreadSanitizer starts a background thread of its own when it first needs one, which can be in
// the middle of a run: that thread is not the run's.
#if defined(__SANITIZE_THREAD__)
constexpr int SanitizerThreads = 1;
#else
constexpr int SanitizerThreads = 0;
#endif

int ProcessThreads() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (const dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n;
}

using Options = std::vector<std::pair<std::string, std::string>>;

const Options kX264 = {
    {"vcodec", "libx264"   },
    {"s",      "480x360"   },
    {"b",      "600000"    },
    {"acodec", "libmp3lame"},
    {"ar",     "48000"     },
    {"ab",     "128000"    },
};

class StagedRunTest : public enginetest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Eight cores for the one run: decoder, stage and encoder threads.
        CodecThreads().SetCores(8);
    }
    void TearDown() override {
        CodecThreads().SetCores(0);
        CodecThreads().SetStaging(true);
        os::VirtualClock::Disable();
        EngineTest::TearDown();
    }

    void Prepare(const Options& options, const std::string& output) {
        ASSERT_TRUE(E().OpenInputFile(StageClip()));
        for (const auto& [name, value] : options) E().SetOption(name, value);
        ASSERT_GT(E().OpenOutputFile(output, false), 0);
    }

    // A whole run on the caller's thread, with a fresh engine.
    std::string Convert(const Options& options, const std::string& output) {
        engine = std::make_unique<media::TCustomFFmpeg>(4);
        engine->Reset();
        Prepare(options, output);
        E().Transcode();
        EXPECT_TRUE(E().Finished());
        E().CleanUp();
        return Bytes(output);
    }

    // Starts the run on the engine's worker; pauses or stops it from its
    // second report.
    void StartThreaded(const Options& options, const std::string& output) {
        Prepare(options, output);
        E().ReportInterval = 0;
        ASSERT_NE(E().StartConvert(true, os::ThreadPriority::Normal), nullptr);
        E().Resume();
    }

    fixtures::TempFolder temp{"stagedout"};
};

TEST_F(StagedRunTest, TheStageWritesTheSameBytesAsTheRunsOwnThread) {
    const struct {
        const char* name;
        const char* ext;
        Options options;
    } cases[] = {
        {"x264",            ".mp4", kX264                                                                                            },
 // Another frame rate: pictures are dropped and doubled on the way.
        {"mpeg4 at 30 fps",
         ".avi",                    {{"vcodec", "mpeg4"}, {"s", "352x288"}, {"r", "30"}, {"acodec", "mp2"}, {"ab", "128000"}}        },
 // Bands cut off before scaling.
        {"cropped mpeg4",
         ".avi",                    {{"vcodec", "mpeg4"}, {"croptop", "16"}, {"cropleft", "32"}, {"s", "160x120"}, {"acodec", "mp2"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CodecThreads().SetStaging(false);
        const std::string alone = Convert(c.options, temp.Path(std::string("alone") + c.ext));
        CodecThreads().SetStaging(true);
        const std::string staged = Convert(c.options, temp.Path(std::string("staged") + c.ext));
        ASSERT_GT(alone.size(), 10000u);
        EXPECT_TRUE(alone == staged) << alone.size() << " vs " << staged.size() << " bytes";
    }
}

TEST_F(StagedRunTest, PauseAndStopReachTheStageWithoutTheClockMoving) {
    os::VirtualClock::Enable(1000);
    const int threadsBefore = ProcessThreads();
    const std::string out = temp.Path("paused.mp4");
    std::atomic<int> reports{0};
    E().FOnProgress = [&](os::TObject*, int32_t, int32_t, int32_t, float, float, int64_t, int64_t, int64_t) {
        if (++reports == 3) E().Pause();
    };
    StartThreaded(kX264, out);
    ASSERT_TRUE(
        WaitUntil([&] { return E().Parked() && E().StageResting(); }, 20s, "the run and its stage at rest"));
    EXPECT_TRUE(E().StageRunning());
    // Pausing took no time of the test's clock.
    EXPECT_LE(os::GetTickCount64(), 1000u + 200u);
    const auto size = std::filesystem::file_size(out);
    const int atPause = reports;
    os::VirtualClock::Advance(5000);
    EXPECT_TRUE(E().Parked() && E().StageResting());
    EXPECT_EQ(reports, atPause);
    EXPECT_EQ(std::filesystem::file_size(out), size);

    const uint64_t stopAt = os::GetTickCount64();
    E().Stop(false);
    ASSERT_TRUE(WaitUntil([&] { return E().Terminated(); }, 20s, "the stopped run's end"));
    EXPECT_LE(os::GetTickCount64(), stopAt + 200u);
    EXPECT_FALSE(E().Finished());
    EXPECT_FALSE(E().StageRunning());
    E().ReapWorker();
    E().CleanUp();
    EXPECT_LE(ProcessThreads(), threadsBefore + SanitizerThreads);
    EXPECT_EQ(CodecThreads().InUse(), 0);
}

TEST_F(StagedRunTest, AFailingStageEndsTheRunWithItsMessageAndNoThreadLeft) {
    const int threadsBefore = ProcessThreads();
    Prepare(kX264, temp.Path("failing.mp4"));
    // The post hooks run on the stage with the encoded picture.
    E().FPostHooks = E().FPostHooks.With(media::phBitmap);
    std::atomic<bool> onStage{false};
    const std::thread::id runThread = std::this_thread::get_id();
    E().FOnPreviewBitmap = [&](os::TObject*, media::TFrameBitmap*, int32_t, int64_t) {
        onStage = std::this_thread::get_id() != runThread;
        throw std::runtime_error("the stage gave up");
    };
    EXPECT_EQ(Raised([&] { E().Transcode(); }), "the stage gave up");
    EXPECT_TRUE(onStage);
    EXPECT_FALSE(E().Finished());
    EXPECT_FALSE(E().StageRunning());
    E().CleanUp();
    EXPECT_LE(ProcessThreads(), threadsBefore + SanitizerThreads);
    EXPECT_EQ(CodecThreads().InUse(), 0);
}

} // namespace

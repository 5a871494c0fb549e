#include "fixtures/Fixtures.h"
#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegLoader.h"
#include "media/MediaErrors.h"
#include "os/Convert.h"
#include "os/MainThread.h"
#include "os/Thread.h"

#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using namespace media;

namespace {

struct Line {
    os::TObject* sender;
    uint32_t thread;
    TLogLevel level;
    std::string text;
};

// A logger whose lines are collected; the media libraries are loaded so that
// messages go through the libraries' own log function.
class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::LoadMediaLibraries();
        logger.SetLogLevel(llInfo);
        logger.TriggerEventInMainThread = false;
        logger.OnLog = [this](os::TObject* s, uint32_t t, TLogLevel l, const std::string& m) {
            std::lock_guard<std::mutex> g(lock);
            lines.push_back({s, t, l, m});
        };
    }
    std::vector<Line> Lines() {
        std::lock_guard<std::mutex> g(lock);
        return lines;
    }
    TFFLogger logger;
    std::mutex lock;
    std::vector<Line> lines;
};

} // namespace

TEST(LogLevels, MapBothWays) {
    struct {
        TLogLevel level;
        int av;
    } to[] = {
        {llQuiet, -8},
        {llPanic, 0 },
        {llError, 16},
        {llInfo,  32},
        {llDebug, 48}
    };
    for (auto c : to) EXPECT_EQ(LogLevelToAV(c.level), c.av);
    struct {
        int av;
        TLogLevel level;
    } from[] = {
        {-64, llQuiet  },
        {-8,  llQuiet  },
        {-7,  llPanic  },
        {7,   llPanic  },
        {8,   llFatal  },
        {24,  llWarning},
        {47,  llVerbose},
        {48,  llDebug  },
        {56,  llDebug  }
    };
    for (auto c : from) EXPECT_EQ(AVToLogLevel(c.av), c.level) << c.av;
}

TEST_F(LoggerTest, LibraryLineFromAContextGetsTheClassPrefix) {
    AVCodecContext* ctx = av::avcodec_alloc_context3(av::avcodec_find_decoder_by_name("mpeg4"));
    ASSERT_NE(ctx, nullptr);
    av::av_log(ctx, AV_LOG_INFO, "frame=  10\n");
    auto got = Lines();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, os::FormatC("[mpeg4 @ %p]frame=  10", static_cast<void*>(ctx)));
    EXPECT_EQ(got[0].level, llInfo);
    EXPECT_EQ(got[0].thread, os::CurrentThreadId());
    EXPECT_EQ(got[0].sender, &logger);
    av::avcodec_free_context(&ctx);
}

TEST_F(LoggerTest, PiecesJoinIntoLinesWithTheLevelOfTheCompletingCall) {
    av::av_log(nullptr, AV_LOG_INFO, "abc");
    av::av_log(nullptr, AV_LOG_WARNING, "def");
    EXPECT_TRUE(Lines().empty());
    av::av_log(nullptr, AV_LOG_ERROR, "ghi\njkl\n");
    auto got = Lines();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].text, "abcdefghi");
    EXPECT_EQ(got[1].text, "jkl");
    EXPECT_EQ(got[0].level, llError);
    EXPECT_EQ(got[1].level, llError);

    // With a context only the call that begins a line is prefixed.
    AVCodecContext* ctx = av::avcodec_alloc_context3(av::avcodec_find_decoder_by_name("mpeg4"));
    av::av_log(ctx, AV_LOG_ERROR, "abc");
    av::av_log(ctx, AV_LOG_ERROR, "def");
    av::av_log(ctx, AV_LOG_ERROR, "ghi\njkl\n");
    got = Lines();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[2].text, os::FormatC("[mpeg4 @ %p]abcdefghi", static_cast<void*>(ctx)));
    EXPECT_EQ(got[3].text, "jkl");
    av::avcodec_free_context(&ctx);
}

TEST_F(LoggerTest, ThreadsWritingPiecesAlternatelyEachGetTheirOwnLines) {
    std::mutex m;
    std::condition_variable cv;
    int turn = 0; // the writers take turns: A, B, A, B, ...
    auto writer = [&](int me, const char* name, uint32_t& id) {
        id = os::CurrentThreadId();
        for (int step = 0; step < 3; ++step) {
            std::unique_lock<std::mutex> g(m);
            cv.wait(g, [&] { return turn % 2 == me; });
            av::av_log(nullptr, AV_LOG_INFO, step < 2 ? "%s%d-" : "%s%d\n", name, step);
            ++turn;
            cv.notify_all();
        }
    };
    uint32_t idA = 0, idB = 0;
    std::thread a(writer, 0, "A", std::ref(idA)), b(writer, 1, "B", std::ref(idB));
    a.join();
    b.join();
    auto got = Lines();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].text, "A0-A1-A2");
    EXPECT_EQ(got[0].thread, idA);
    EXPECT_EQ(got[1].text, "B0-B1-B2");
    EXPECT_EQ(got[1].thread, idB);
}

TEST_F(LoggerTest, WorkerLinesReachTheGuiThreadWithoutTheWorkerWaiting) {
    logger.TriggerEventInMainThread = true;
    std::thread::id handlerThread;
    logger.OnLog = [&](os::TObject*, uint32_t t, TLogLevel, const std::string& m) {
        handlerThread = std::this_thread::get_id();
        lines.push_back({nullptr, t, llInfo, m});
    };
    uint32_t workerId = 0;
    std::thread worker([&] {
        workerId = os::CurrentThreadId();
        av::av_log(nullptr, AV_LOG_WARNING, "from a worker\n");
    });
    // The worker ends although the GUI thread has not pumped yet.
    worker.join();
    EXPECT_TRUE(lines.empty());
    while (!os::CheckSynchronize(1000)) {
    }
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "from a worker");
    EXPECT_EQ(lines[0].thread, workerId);
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
}

// A worker that logs while it holds the codec lock must not wait for a GUI
// thread that is itself waiting for that lock.
TEST_F(LoggerTest, LoggingUnderTheCodecLockDoesNotDeadlockAGuiThreadWaitingForIt) {
    logger.TriggerEventInMainThread = true;
    logger.OnLog = [&](os::TObject*, uint32_t t, TLogLevel, const std::string& m) {
        lines.push_back({nullptr, t, llInfo, m});
    };
    os::Event holding;
    std::thread worker([&] {
        std::lock_guard<os::CriticalSection> g(CodecLock());
        holding.Set();
        av::av_log(nullptr, AV_LOG_ERROR, "while opening\n");
    });
    holding.WaitFor();
    { std::lock_guard<os::CriticalSection> g(CodecLock()); }
    worker.join();
    while (!os::CheckSynchronize(1000)) {
    }
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "while opening");
}

TEST_F(LoggerTest, LibraryMessagesAboveTheChosenLevelAreDropped) {
    logger.SetLogLevel(llWarning);
    EXPECT_EQ(av::av_log_get_level(), AV_LOG_WARNING);
    av::av_log(nullptr, AV_LOG_INFO, "info\n");
    av::av_log(nullptr, AV_LOG_VERBOSE, "verbose\n");
    av::av_log(nullptr, AV_LOG_ERROR, "error\n");
    auto got = Lines();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, "error");
}

TEST_F(LoggerTest, OptLogLevelTakesNamesAndNumbers) {
    struct {
        const char* text;
        TLogLevel level;
    } cases[] = {
        {"WARNING", llWarning},
        {"quiet",   llQuiet  },
        {"20",      llError  },
        {"-9",      llQuiet  },
        {"100",     llDebug  }
    };
    for (auto c : cases) {
        logger.OptLogLevel(c.text);
        EXPECT_EQ(logger.LogLevel(), c.level) << c.text;
    }
    EXPECT_THROW(logger.OptLogLevel("loud"), os::EConvertError);
    EXPECT_EQ(logger.LogLevel(), llDebug);
}

TEST_F(LoggerTest, ComponentMessagesAreFilteredByTheLoggersLevel) {
    struct {
        TLogLevel loggerLevel, messageLevel;
        bool delivered;
    } cases[] = {
        {llWarning, llInfo,    false},
        {llWarning, llVerbose, true }, // verbose notes pass above quiet
        {llWarning, llError,   true },
        {llQuiet,   llVerbose, false}
    };
    for (auto c : cases) {
        lines.clear();
        logger.SetLogLevel(c.loggerLevel);
        os::TComponent sender;
        logger.Log(&sender, c.messageLevel, "note %d", 7);
        ASSERT_EQ(Lines().size(), c.delivered ? 1u : 0u) << c.loggerLevel << "/" << c.messageLevel;
        if (c.delivered) {
            EXPECT_EQ(lines[0].text, "note 7");
            EXPECT_EQ(lines[0].sender, &sender);
            EXPECT_EQ(lines[0].level, c.messageLevel);
        }
    }
}

TEST(Logger, TheLoggerMadeForEarlyMessagesGivesWayToTheProgramsOwn) {
    fixtures::LoadMediaLibraries();
    av::av_log(nullptr, AV_LOG_ERROR, "before any logger\n");
    TFFLogger* early = &FFLogger();
    std::string got;
    TFFLogger logger;
    logger.SetLogLevel(llInfo);
    logger.TriggerEventInMainThread = false;
    logger.OnLog = [&](os::TObject*, uint32_t, TLogLevel, const std::string& m) { got = m; };
    EXPECT_EQ(&FFLogger(), &logger);
    EXPECT_NE(early, &logger);
    av::av_log(nullptr, AV_LOG_ERROR, "after\n");
    EXPECT_EQ(got, "after");
}

TEST_F(LoggerTest, OnlyOneLoggerAtATime) {
    try {
        TFFLogger second;
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Allow creating only one instance of TFFLogger.", 0), 0u);
    }
    EXPECT_EQ(&FFLogger(), &logger);
}

TEST(Logger, LevelChosenBeforeTheLibrariesLoadReachesThemWithTheCallback) {
    auto& loader = FFLoader();
    if (loader.Loaded(TLibrary::avUtil)) loader.Unload(ConverterLibraries);
    TFFLogger logger;
    int before = AVLogLevel(); // 32 in a fresh process
    logger.SetLogLevel(llInfo);
    logger.SetLogLevel(llDebug);
    EXPECT_EQ(AVLogLevel(), before);
    fixtures::LoadMediaLibraries();
    EXPECT_EQ(AVLogLevel(), 48);
    EXPECT_EQ(av::av_log_get_level(), 48);
}

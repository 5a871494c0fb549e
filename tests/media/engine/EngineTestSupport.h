#pragma once
// A reset engine on loaded libraries, with the log lines it writes.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Fixtures.h"
#include "media/FFLogger.h"
#include "media/FFmpegEngine.h"

namespace enginetest {

struct LoggedLine {
    media::TLogLevel Level;
    std::string Text;
};

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fixtures::LoadMediaLibraries(); }

    void SetUp() override {
        engine = std::make_unique<media::TCustomFFmpeg>(4);
        engine->Reset();
        media::FFLogger().TriggerEventInMainThread = false;
        media::FFLogger().SetLogLevel(media::llDebug);
        media::FFLogger().OnLog = [this](os::TObject*, uint32_t, media::TLogLevel level,
                                         const std::string& msg) {
            // Codec threads of the library log too.
            std::lock_guard<std::mutex> g(logLock);
            log.push_back({level, msg});
        };
    }

    void TearDown() override {
        media::FFLogger().OnLog = nullptr;
        media::FFLogger().SetLogLevel(media::llInfo);
    }

    bool Logged(media::TLogLevel level, const std::string& text) const {
        std::lock_guard<std::mutex> g(logLock);
        for (const LoggedLine& l : log)
            if (l.Level == level && l.Text.find(text) != std::string::npos) return true;
        return false;
    }

    // The message of the exception that the call raises, or "" when none.
    template <class F> static std::string Raised(F&& call) {
        try {
            call();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    media::TCustomFFmpeg& E() { return *engine; }

    std::unique_ptr<media::TCustomFFmpeg> engine;
    std::vector<LoggedLine> log;
    mutable std::mutex logLock;
};

} // namespace enginetest

#pragma once
// The media logger: receives every message of the media libraries and of the
// media components and hands each finished line to OnLog with the thread that
// wrote it and a level.
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <string>

#include "media/FFBaseComponent.h"

namespace media {

enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// -8, 0, 8, 16, 24, 32, 40, 48
int LogLevelToAV(TLogLevel level);
// (n / 8, truncated) + 1, limited to llQuiet..llDebug
TLogLevel AVToLogLevel(int avLevel);

struct TLogInfo {
    os::TObject* Sender = nullptr;
    uint32_t ThreadID = 0;
    TLogLevel LogLevel = llInfo;
    std::string LogMsg;
};

using TLogEvent = std::function<void(os::TObject* Sender, uint32_t AThreadID, TLogLevel ALogLevel,
                                     const std::string& ALogMsg)>;

class TFFLogger : public TFFBaseComponent {
public:
    // One logger at a time: a second one fails the consistency check
    // "Allow creating only one instance of TFFLogger.".
    explicit TFFLogger(os::TComponent* owner = nullptr);
    // Waits for lines that are still being delivered through this logger.
    ~TFFLogger() override;
    std::string ClassName() const override { return "TFFLogger"; }

    // Installs the library log callback and passes the level to the libraries;
    // the loader calls it each time avutil loads.
    static void InstallAVLogCallback();

    TLogLevel LogLevel() const { return FLogLevel; }
    void SetLogLevel(TLogLevel level);

    // "quiet" ... "debug" (any case) or a decimal number of the libraries'
    // scale; other text raises os::EConvertError.
    void OptLogLevel(const std::string& text);

    // The components' own messages.
    void Log(os::TObject* Sender, TLogLevel ALogLevel, const std::string& ALogMsg);
    void Log(os::TObject* Sender, TLogLevel ALogLevel, const char* fmt, ...)
        __attribute__((format(printf, 4, 5)));

    bool TriggerEventInMainThread = true;
    TLogEvent OnLog;

    // Hands a finished line of the libraries to OnLog (library callback).
    void EmitLibraryLine(uint32_t threadId, TLogLevel level, const std::string& line);

private:
    void Deliver(const TLogInfo& info);
    std::atomic<TLogLevel> FLogLevel;
    std::atomic<int> users_{0};
    friend class TLoggerUse;
};

// The current logger; when none exists an ownerless one is created (freed at exit).
TFFLogger& FFLogger();

// The libraries' level as the log callback sees it (32 at start).
int AVLogLevel();

// The callback installed into the libraries, exposed for tests that feed it
// messages without a library.
void AVLogCallback(void* avcl, int level, const char* fmt, va_list vl);

} // namespace media

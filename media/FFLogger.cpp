#include "media/FFLogger.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "media/AVApi.h"
#include "media/ComponentUtils.h"
#include "media/MediaErrors.h"
#include "os/Convert.h"
#include "os/MainThread.h"
#include "os/Text.h"
#include "os/Thread.h"

namespace media {
namespace {

const char* const kModule = "FFmpegLogger";

std::atomic<int> g_avLevel{32};

// Pending text of each thread that writes library messages: pieces of one
// line arrive in several calls, and threads must never mix within a line.
class TLogList {
public:
    // The calling thread's pending text; only that thread touches it, and
    // map nodes never move, so it can be used without the lock.
    std::string& ItemFor(uint32_t threadId) {
        std::lock_guard<std::mutex> g(FLock);
        return FItems[threadId];
    }

private:
    std::mutex FLock;
    std::unordered_map<uint32_t, std::string> FItems;
};

TLogList& LogList() {
    static TLogList list;
    return list;
}

// The current logger.  The lock is recursive because creating the ownerless
// logger on demand registers it while the lock is held.
struct TLoggerRegistry {
    std::recursive_mutex lock;
    TFFLogger* current = nullptr;
    std::unique_ptr<TFFLogger> ownerless;
};

TLoggerRegistry& Registry() {
    static TLoggerRegistry registry;
    return registry;
}

} // namespace

// Keeps the current logger alive while a line goes through it.
class TLoggerUse {
public:
    TLoggerUse() {
        std::lock_guard<std::recursive_mutex> g(Registry().lock);
        if (!Registry().current) Registry().ownerless = std::make_unique<TFFLogger>();
        logger_ = Registry().current;
        ++logger_->users_;
    }
    ~TLoggerUse() { --logger_->users_; }
    TFFLogger* operator->() const { return logger_; }

private:
    TFFLogger* logger_;
};

int LogLevelToAV(TLogLevel level) {
    return (static_cast<int>(level) - 1) * 8;
}

TLogLevel AVToLogLevel(int avLevel) {
    return static_cast<TLogLevel>(std::clamp(avLevel / 8 + 1, 0, 7));
}

int AVLogLevel() {
    return g_avLevel;
}

TFFLogger& FFLogger() {
    std::lock_guard<std::recursive_mutex> g(Registry().lock);
    if (!Registry().current) Registry().ownerless = std::make_unique<TFFLogger>();
    return *Registry().current;
}

TFFLogger::TFFLogger(os::TComponent* owner) : TFFBaseComponent(owner), FLogLevel(AVToLogLevel(g_avLevel)) {
    std::unique_ptr<TFFLogger> standIn;
    {
        std::lock_guard<std::recursive_mutex> g(Registry().lock);
        TLoggerRegistry& r = Registry();
        // The logger made on demand for messages that came before any logger
        // existed gives way to the program's own, which would otherwise fail here.
        if (r.current && r.current != r.ownerless.get())
            AssertionFailure(kModule, "Allow creating only one instance of TFFLogger.");
        standIn = std::move(r.ownerless);
        r.current = this;
    }
}

TFFLogger::~TFFLogger() {
    {
        std::lock_guard<std::recursive_mutex> g(Registry().lock);
        if (Registry().current == this) Registry().current = nullptr;
    }
    // A worker may be handing a line to the GUI thread through this logger;
    // keep that call running until it is done.
    while (users_ > 0) {
        if (!os::IsMainThread() || !os::CheckSynchronize(5))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TFFLogger::InstallAVLogCallback() {
    Check(av::av_log_set_callback && av::av_log_set_level, kModule);
    av::av_log_set_callback(&AVLogCallback);
    {
        std::lock_guard<std::recursive_mutex> g(Registry().lock);
        if (Registry().current) g_avLevel = LogLevelToAV(Registry().current->FLogLevel);
    }
    av::av_log_set_level(g_avLevel);
}

void TFFLogger::SetLogLevel(TLogLevel level) {
    if (FLogLevel.exchange(level) == level) return;
    // Before avutil is bound the libraries keep their level; installing the
    // callback passes this one on.
    if (av::av_log_set_level) {
        g_avLevel = LogLevelToAV(level);
        av::av_log_set_level(g_avLevel);
    }
}

void TFFLogger::OptLogLevel(const std::string& text) {
    struct LevelName {
        const char* name;
        int level;
    };
    static const LevelName kNames[] = {
        {"quiet",   -8},
        {"panic",   0 },
        {"fatal",   8 },
        {"error",   16},
        {"warning", 24},
        {"info",    32},
        {"verbose", 40},
        {"debug",   48},
    };
    for (const LevelName& n : kNames)
        if (os::SameText(text, n.name)) {
            SetLogLevel(AVToLogLevel(n.level));
            return;
        }
    SetLogLevel(AVToLogLevel(os::StrToInt(text)));
}

void TFFLogger::Log(os::TObject* Sender, TLogLevel ALogLevel, const std::string& ALogMsg) {
    TLogLevel current = FLogLevel;
    // The components' verbose notes pass at every level above quiet.
    bool wanted = ALogLevel <= current || (ALogLevel == llVerbose && current != llQuiet);
    if (!wanted) return;
    Deliver(TLogInfo{Sender, os::CurrentThreadId(), ALogLevel, ALogMsg});
}

void TFFLogger::Log(os::TObject* Sender, TLogLevel ALogLevel, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string msg = os::VFormatC(fmt, ap);
    va_end(ap);
    Log(Sender, ALogLevel, msg);
}

void TFFLogger::EmitLibraryLine(uint32_t threadId, TLogLevel level, const std::string& line) {
    // The libraries write UTF-8 (file names included); anything else is read
    // byte by byte so that no line is lost.
    Deliver(TLogInfo{this, threadId, level, os::IsValidUtf8(line) ? line : os::Latin1ToUtf8(line)});
}

void TFFLogger::Deliver(const TLogInfo& info) {
    // Without a handler nobody waits for the GUI thread.
    if (!OnLog) return;
    if (!TriggerEventInMainThread || os::IsMainThread()) {
        OnLog(info.Sender, info.ThreadID, info.LogLevel, info.LogMsg);
        return;
    }
    // Posted, never waited for: the writer may hold a lock (the codec lock
    // around an open) that the GUI thread is waiting for, and a synchronous
    // hand-over would deadlock the two.  The destructor waits for lines still
    // queued.
    ++users_;
    os::PostInMainThread([this, info] {
        // Read again: the GUI thread may have detached it meanwhile.
        if (OnLog) OnLog(info.Sender, info.ThreadID, info.LogLevel, info.LogMsg);
        --users_;
    });
}

void AVLogCallback(void* avcl, int level, const char* fmt, va_list vl) {
    // Colour bits may ride above the level's low byte.
    if (level >= 0) level &= 0xff;
    if (level > g_avLevel || !fmt) return;
    uint32_t threadId = os::CurrentThreadId();
    std::string& pending = LogList().ItemFor(threadId);
    if (avcl && pending.empty()) {
        const AVClass* cls = *static_cast<const AVClass* const*>(avcl);
        if (cls && cls->item_name) pending = os::FormatC("[%s @ %p]", cls->item_name(avcl), avcl);
    }
    pending += os::VFormatC(fmt, vl);
    std::vector<std::string> lines;
    for (size_t p; (p = pending.find('\n')) != std::string::npos;) {
        lines.push_back(pending.substr(0, p));
        pending.erase(0, p + 1);
    }
    if (lines.empty()) return;
    TLoggerUse logger;
    for (const std::string& line : lines) logger->EmitLibraryLine(threadId, AVToLogLevel(level), line);
}

} // namespace media

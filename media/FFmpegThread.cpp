// The life of one conversion: starting it in the caller or on a worker,
// pausing, stopping, and ending it with exactly one termination event.
#include <malloc.h>

#include <exception>

#include "media/ComponentUtils.h"
#include "media/FFLogger.h"
#include "media/FFmpegEngine.h"
#include "media/FFmpegTestHook.h"
#include "os/MainThread.h"

namespace media {
namespace {

TTranscodeTestHook& TestHook() {
    static TTranscodeTestHook hook;
    return hook;
}

// Waits for the event; a GUI thread keeps running synchronous calls and
// messages meanwhile, so a worker inside such a call can finish.
void WaitPumping(os::Event& AEvent) {
    while (AEvent.WaitFor(20) == os::WaitResult::Timeout)
        if (os::IsMainThread()) {
            os::CheckSynchronize(0);
            ProcessMessages();
        }
}

// Hands memory the allocator holds free back to the system.  Under a
// sanitizer the sanitizer's own allocator serves every block; trimming the
// unused system heap there trips the system allocator's arena bookkeeping
// when a thread ends, so it is left alone.
void TrimFreedMemory() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    return;
#else
    malloc_trim(0);
#endif
#else
    malloc_trim(0);
#endif
}

} // namespace

void SetTranscodeTestHook(TTranscodeTestHook AHook) {
    TestHook() = std::move(AHook);
}

void TCustomFFmpeg::RecordFatal(const std::string& AMessage) {
    FFLogger().Log(this, llQuiet, AMessage);
    FFatalException = true;
    FFatalMessage = AMessage;
}

// One failing step neither skips the later ones nor loses the termination.
template <class F> void TCustomFFmpeg::Guarded(F&& AStep) {
    try {
        AStep();
    } catch (const std::exception& e) {
        RecordFatal(e.what());
    } catch (...) {
        // Nothing may escape a worker thread: it would end the process.
        RecordFatal("Unknown exception");
    }
}

bool TCustomFFmpeg::Converting() const {
    std::lock_guard<std::mutex> g(FRunLock);
    return FConverting;
}

bool TCustomFFmpeg::Terminated() const {
    std::lock_guard<std::mutex> g(FRunLock);
    return FTerminated;
}

bool TCustomFFmpeg::Startable() const {
    std::lock_guard<std::mutex> g(FRunLock);
    return !FConverting && !FTerminated;
}

os::OsThread* TCustomFFmpeg::StartConvert(bool AUseThread, os::ThreadPriority APriority) {
    const char* refusal = nullptr;
    {
        std::lock_guard<std::mutex> g(FRunLock);
        if (FConverting || FTerminated) return nullptr;
        if (Fnb_output_files <= 0)
            refusal = "At least one output file must be specified";
        else if (Fnb_input_files == 0)
            refusal = "At least one input file must be specified";
        if (refusal) {
            // Decided here, so that a concurrent StopOrTerminate cannot end
            // the engine a second time.
            FTerminated = true;
        } else {
            FConverting = true;
            FBroken = false;
            FFinished = false;
        }
    }
    if (refusal) {
        Guarded([this] {
            InputsClosing();
            CleanUp();
        });
        RecordFatal(refusal);
        Guarded([this] { DoTerminate(); });
        return nullptr;
    }
    if (!AUseThread) {
        DoConvert();
        return nullptr;
    }
    FStopEvent.Reset();
    std::lock_guard<std::mutex> g(FRunLock);
    FWorker = std::make_unique<os::OsThread>([this] { RunWorker(); });
    FWorker->SetPriority(APriority);
    FThread = FWorker.get();
    return FThread;
}

void TCustomFFmpeg::RunWorker() {
    DoConvert();
    // Last touch of the engine by this thread.
    FStopEvent.Set();
}

void TCustomFFmpeg::DoConvert() {
    FFinished = false;
    FWriteError.clear();
    Guarded([this] {
        UnparkOptions(FOptions);
        UnparkInputs();
        UnparkInputDecoders();
        UnparkOutputEncoders();
        if (TestHook())
            TestHook()(*this);
        else
            Transcode();
    });
    Guarded([this] { CloseEncoderList(); });
    Guarded([this] { CloseDecoderList(); });
    Guarded([this] {
        InputsClosing();
        CleanUp();
    });
    // What the run freed goes back to the system now: a long list would
    // otherwise keep the allocator's high-water mark of every run.
    TrimFreedMemory();
    // A disk that filled up (or a size limit) may only show when the last
    // bytes are flushed: such a run has not finished, whatever it thought.
    if (!FWriteError.empty()) {
        FFinished = false;
        RecordFatal(FWriteError);
    }
    Guarded([this] { DoTerminate(); });
}

void TCustomFFmpeg::DoTerminate() {
    {
        std::lock_guard<std::mutex> g(FRunLock);
        FConverting = false;
        FTerminated = true;
        FThread = nullptr;
    }
    if (FOnTerminate) FOnTerminate(this);
}

void TCustomFFmpeg::Stop(bool AWaitFor) {
    FBroken = true;
    {
        std::lock_guard<std::mutex> g(FRunLock);
        if (!FWorker) return;
        // A worker created suspended has to run to see the stop request.
        FWorker->Start();
    }
    FPauseGate.Resume();
    if (AWaitFor) WaitPumping(FStopEvent);
}

void TCustomFFmpeg::StopOrTerminate(bool AWaitFor) {
    bool converting = false, spawned = false;
    {
        std::lock_guard<std::mutex> g(FRunLock);
        converting = FConverting;
        if (!converting && !FTerminated) {
            FTerminated = true;
            FTermEvent.Reset();
            FTermThread = std::make_unique<os::OsThread>([this] {
                Guarded([this] { DoTerminate(); });
                FTermEvent.Set();
            });
            FTermThread->Start();
            spawned = true;
        }
    }
    if (converting)
        Stop(AWaitFor);
    else if (spawned && AWaitFor)
        FTermEvent.WaitFor();
}

void TCustomFFmpeg::Pause() {
    std::lock_guard<std::mutex> g(FRunLock);
    // A stopping run must get through to its end.
    if (FWorker && FConverting && !FBroken) FPauseGate.Pause();
}

void TCustomFFmpeg::Resume() {
    {
        std::lock_guard<std::mutex> g(FRunLock);
        if (!FWorker) return;
        if (!FWorker->Started()) {
            FWorker->Start();
            return;
        }
    }
    FPauseGate.Resume();
}

void TCustomFFmpeg::CheckPause() {
    if (!FPauseGate.Paused()) return;
    FParked = true;
    FPauseGate.CheckPoint();
    FParked = false;
}

void TCustomFFmpeg::ReapWorker() {
    std::unique_ptr<os::OsThread> worker;
    {
        std::lock_guard<std::mutex> g(FRunLock);
        worker = std::move(FWorker);
        FThread = nullptr;
    }
    worker.reset();
}

bool TCustomFFmpeg::HoldsWorker() const {
    std::lock_guard<std::mutex> g(FRunLock);
    return FWorker != nullptr;
}

void TCustomFFmpeg::JoinThreads() {
    std::unique_ptr<os::OsThread> worker, term;
    {
        std::lock_guard<std::mutex> g(FRunLock);
        worker = std::move(FWorker);
        term = std::move(FTermThread);
        FThread = nullptr;
    }
    if (worker) {
        worker->Start();
        FPauseGate.Resume();
        WaitPumping(FStopEvent);
    }
    if (term) WaitPumping(FTermEvent);
    // Both bodies are done with the engine; the joins only reap the threads.
}

} // namespace media

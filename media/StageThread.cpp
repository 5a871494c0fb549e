#include "media/StageThread.h"

#include "os/Thread.h"

namespace media {

TStageThread::TStageThread(size_t ACapacity) : FCapacity(ACapacity > 0 ? ACapacity : 1) {}

TStageThread::~TStageThread() {
    Abandon();
}

void TStageThread::Push(TJob AJob) {
    std::unique_lock<std::mutex> lock(FLock);
    FChanged.wait(lock, [this] { return FFailure || FJobs.size() < FCapacity; });
    if (FFailure) std::rethrow_exception(FFailure);
    FJobs.push_back(std::move(AJob));
    if (!FThread) {
        FClosing = false;
        FThread = std::make_unique<os::OsThread>([this] { Body(); });
        FThread->Start();
    }
    FChanged.notify_all();
}

void TStageThread::Finish() {
    std::unique_lock<std::mutex> lock(FLock);
    EndThread(lock);
    if (FFailure) std::rethrow_exception(FFailure);
}

void TStageThread::Abandon() {
    std::unique_lock<std::mutex> lock(FLock);
    FJobs.clear();
    EndThread(lock);
}

void TStageThread::EndThread(std::unique_lock<std::mutex>& ALock) {
    if (!FThread) return;
    FClosing = true;
    FChanged.notify_all();
    std::unique_ptr<os::OsThread> thread = std::move(FThread);
    ALock.unlock();
    thread.reset(); // joins
    ALock.lock();
}

bool TStageThread::Resting() const {
    std::lock_guard<std::mutex> g(FLock);
    return !FBusy && FJobs.empty();
}

bool TStageThread::Running() const {
    std::lock_guard<std::mutex> g(FLock);
    return FThread != nullptr;
}

void TStageThread::Body() {
    std::unique_lock<std::mutex> lock(FLock);
    while (true) {
        FChanged.wait(lock, [this] { return !FJobs.empty() || FClosing; });
        if (FJobs.empty()) return;
        TJob job = std::move(FJobs.front());
        FJobs.pop_front();
        FBusy = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        job = nullptr; // what the job holds goes here, on the stage's thread
        lock.lock();
        FBusy = false;
        if (failure && !FFailure) {
            FFailure = failure;
            FJobs.clear();
        }
        FChanged.notify_all();
    }
}

} // namespace media

#include "gui/Thread.h"

#include "os/MainThread.h"
#include "os/Thread.h"

namespace gui {

namespace {
os::ThreadPriority ToOs(TThreadPriority p) {
    switch (p) {
    case TThreadPriority::tpIdle:
        return os::ThreadPriority::Idle;
    case TThreadPriority::tpLowest:
        return os::ThreadPriority::Lowest;
    case TThreadPriority::tpLower:
        return os::ThreadPriority::Lower;
    default:
        return os::ThreadPriority::Normal;
    }
}
} // namespace

TThread::TThread(bool createSuspended)
    : os_(std::make_unique<os::OsThread>([this] { Run(); })), createSuspended_(createSuspended) {}

TThread::~TThread() {
    if (Started() && !Finished()) {
        Terminate();
        WaitFor();
    }
}

void TThread::AfterConstruction() {
    if (!createSuspended_ && !Started()) Start();
}

void TThread::Start() {
    if (Started()) throw EThread("Cannot call Start on a running or finished thread");
    os_->Start();
}

bool TThread::Started() const {
    return os_->Started();
}

bool TThread::Finished() const {
    return os_->Finished();
}

uint32_t TThread::ThreadID() const {
    return os_->ThreadId();
}

void TThread::SetPriority(TThreadPriority priority) {
    priority_ = priority;
    os_->SetPriority(ToOs(priority));
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        fatal_ = std::current_exception();
    }
    try {
        DoTerminate();
    } catch (...) {
        if (!fatal_) fatal_ = std::current_exception();
    }
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor() {
    if (!Started()) return returnValue_;
    if (ThreadID() != 0 && ThreadID() == os::CurrentThreadId())
        throw EThread("A thread cannot wait for itself");
    if (os::IsMainThread())
        while (!Finished()) os::CheckSynchronize(5);
    os_->Join();
    return returnValue_;
}

void TThread::Synchronize(TThread*, const std::function<void()>& method) {
    os::CallInMainThread(method);
}

void TThreadDeleter::operator()(TThread* thread) const {
    if (!thread) return;
    thread->Terminate();
    thread->WaitFor();
    delete thread;
}

} // namespace gui

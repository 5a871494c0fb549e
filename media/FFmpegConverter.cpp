#include "media/FFmpegConverter.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "media/ComponentUtils.h"
#include "media/FFmpegLoader.h"
#include "os/Convert.h"
#include "os/MainThread.h"

namespace media {
namespace {

// Enters a lock that a worker may hold while it waits for the GUI thread;
// a GUI thread keeps running synchronous calls until it gets the lock.
void EnterPumping(os::CriticalSection& ALock) {
    if (!os::IsMainThread()) {
        ALock.Enter();
        return;
    }
    while (!ALock.TryEnter()) {
        os::CheckSynchronize(5);
        ProcessMessages();
    }
}

struct PumpingLock {
    explicit PumpingLock(os::CriticalSection& ALock) : lock(ALock) { EnterPumping(lock); }
    ~PumpingLock() { lock.Leave(); }
    os::CriticalSection& lock;
};

std::string StreamName(const void* AStream, const std::string& APrivateData) {
    return os::FormatC("stream:%llu:%s",
                       static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(AStream)),
                       APrivateData.c_str());
}

} // namespace

// ---------------------------------------------------------------- TFFmpeg

TFFmpeg::TFFmpeg(int AMaxFiles) : TCustomFFmpeg(AMaxFiles) {}

TFFmpeg::~TFFmpeg() {
    // The worker calls back into this class; it must be gone before any of
    // it is freed.
    Stop(true);
    JoinThreads();
    FAVProbes.clear();
    FInputOptions.clear();
    FOutputOptions.clear();
}

template <class T>
std::unique_ptr<T>& TFFmpeg::Slot(std::vector<std::unique_ptr<T>>& ATable, int AIndex) const {
    if (AIndex < 0 || AIndex >= FMaxFiles)
        throw std::out_of_range(os::FormatC("List index out of bounds (%d)", AIndex));
    if (ATable.size() <= static_cast<size_t>(AIndex)) ATable.resize(static_cast<size_t>(AIndex) + 1);
    return ATable[static_cast<size_t>(AIndex)];
}

TAVProbe* TFFmpeg::GetProbe(int AIndex) {
    auto& probe = Slot(FAVProbes, AIndex);
    if (!probe) probe = std::make_unique<TAVProbe>();
    return probe.get();
}

TAVProbe* TFFmpeg::ProbeIfAny(int AIndex) const {
    if (AIndex < 0 || AIndex >= static_cast<int>(FAVProbes.size())) return nullptr;
    return FAVProbes[static_cast<size_t>(AIndex)].get();
}

void TFFmpeg::SetInputOptions(int AIndex, const TInputOptions& AOptions) {
    auto& rec = Slot(FInputOptions, AIndex);
    if (!rec) rec = std::make_unique<TInputOptions>();
    *rec = AOptions;
}

void TFFmpeg::ResetInputOptions(int AIndex) {
    auto& rec = Slot(FInputOptions, AIndex);
    if (rec) SetInputOptionsDefaults(*rec);
}

void TFFmpeg::SetOutputOptions(int AIndex, const TOutputOptions& AOptions) {
    auto& rec = Slot(FOutputOptions, AIndex);
    if (!rec) rec = std::make_unique<TOutputOptions>();
    *rec = AOptions;
}

void TFFmpeg::ResetOutputOptions(int AIndex) {
    auto& rec = Slot(FOutputOptions, AIndex);
    if (rec) SetOutputOptionsDefaults(*rec);
}

void TFFmpeg::InputsClosing() {
    // The probes borrow the inputs that the clean-up is about to close.
    for (auto& probe : FAVProbes)
        if (probe) probe->CloseFile();
}

// ------------------------------------------------------------ TFFmpegList

void TFFmpegList::CheckIndex(int AIndex) const {
    if (AIndex < 0 || AIndex >= Count())
        throw std::out_of_range(os::FormatC("List index out of bounds (%d)", AIndex));
}

int TFFmpegList::Add(std::unique_ptr<TFFmpeg> ATask) {
    FItems.push_back(std::move(ATask));
    return Count() - 1;
}

void TFFmpegList::Clear() {
    FItems.clear();
}

void TFFmpegList::Delete(int AIndex) {
    CheckIndex(AIndex);
    FItems.erase(FItems.begin() + AIndex);
}

void TFFmpegList::Exchange(int AIndex1, int AIndex2) {
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    std::swap(FItems[static_cast<size_t>(AIndex1)], FItems[static_cast<size_t>(AIndex2)]);
}

TFFmpeg* TFFmpegList::Get(int AIndex) const {
    CheckIndex(AIndex);
    return FItems[static_cast<size_t>(AIndex)].get();
}

int TFFmpegList::IndexOf(const TFFmpeg* ATask) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)].get() == ATask) return i;
    return -1;
}

void TFFmpegList::PauseAll() {
    for (auto& t : FItems) t->Pause();
}

void TFFmpegList::ResumeAll() {
    for (auto& t : FItems) t->Resume();
}

void TFFmpegList::StopAll(bool AWaitFor) {
    for (auto& t : FItems) t->StopOrTerminate(AWaitFor);
}

// ------------------------------------------------- TCustomFFmpegConverter

// Delivers one termination record on a thread of its own.
class TCustomFFmpegConverter::TDoTerminateThread {
public:
    static std::unique_ptr<os::OsThread> Create(TCustomFFmpegConverter* ASender, TTerminateInfo AInfo,
                                                bool AFinal) {
        auto thread = std::make_unique<os::OsThread>(
            [ASender, info = std::move(AInfo), AFinal] { ASender->RunRecordThread(info, AFinal); });
        thread->Start();
        return thread;
    }
};

TCustomFFmpegConverter::TCustomFFmpegConverter(os::TComponent* AOwner)
    : TFFBaseComponent(AOwner), FAVProbe(std::make_unique<TAVProbe>()) {}

TCustomFFmpegConverter::~TCustomFFmpegConverter() {
    WaitForRecordThreads();
    for (os::CriticalSection* lock : {&FHookLock, &FPreviewLock, &FProgressLock, &FTerminateLock}) {
        EnterPumping(*lock);
        lock->Leave();
    }
    // Stops and waits for any task still converting; their terminations
    // must not reach a component that is going away.
    {
        std::lock_guard<os::CriticalSection> g(FDeliverLock);
        FOnTerminate = nullptr;
    }
    FFFmpegList.StopAll(true);
    WaitForRecordThreads();
    FFFmpegList.Clear();
    WaitForRecordThreads();
}

void TCustomFFmpegConverter::CheckNotWorking(const char* AOperation) const {
    if (FWorking) throw std::runtime_error(os::FormatC("Cannot %s while working.", AOperation));
}

int TCustomFFmpegConverter::AddTask(const std::string& AFileName, TInputOptions* AOptions) {
    CheckNotWorking("AddTask");
    return AddTaskNamed(AFileName, AOptions);
}

int TCustomFFmpegConverter::AddTask(const std::string& AFileName, const std::string& AExtOptions) {
    CheckNotWorking("AddTask");
    TInputOptions options = InputOptionsFromString(AExtOptions);
    return AddTaskNamed(AFileName, &options);
}

int TCustomFFmpegConverter::AddTask(const void* AStream, const std::string& APrivateData,
                                    TInputOptions* AOptions) {
    CheckNotWorking("AddTask");
    return AddTaskNamed(StreamName(AStream, APrivateData), AOptions);
}

int TCustomFFmpegConverter::AddTaskNamed(const std::string& AFileName, TInputOptions* AOptions) {
    // Not guarded: a bad file limit is the caller's fault and reaches it.
    auto task = std::make_unique<TFFmpeg>(CustomMaxFiles);
    TFFmpeg* t = task.get();
    try {
        t->Reset();
        t->Fverbose = Verbose;
        TPostHooks hooks;
        if (FPreview) hooks += phPreview;
        if (FPreviewBitmap) hooks += phBitmap;
        t->SetPostHooks(hooks);
        t->FOnPreviewBitmap = [this, t](os::TObject*, TFrameBitmap* ABitmap, int32_t AFrameNumber,
                                        int64_t APTS) { TaskPreviewBitmap(t, ABitmap, AFrameNumber, APTS); };
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            t->SetInputOptions(0, *AOptions);
            ApplyInputRequest(*t, *AOptions);
        }
        if (!t->OpenInputFile(AFileName)) {
            FLastErrMsg = t->FLastErrMsg;
            return -1;
        }
        // A long list waits mostly: a waiting task keeps neither an open
        // input nor decoder state.
        t->ParkInput(0);
        t->GetProbe(0)->SetFileHandle(t->Finput_files[0]);
        t->ParkInputDecoders(0);
        ParkOptions(t->FOptions);
        t->FOnProgress = [this, t](os::TObject*, int32_t AFileIndex, int32_t AFrameNumber, int32_t AFPS,
                                   float AQuality, float ABitRate, int64_t ACurrentSize,
                                   int64_t ACurrentDuration, int64_t ATotalDuration) {
            TaskProgress(t, AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize,
                         ACurrentDuration, ATotalDuration);
        };
        t->FOnTerminate = [this, t](os::TObject*) { TaskTerminate(t); };
        return FFFmpegList.Add(std::move(task));
    } catch (const std::exception& e) {
        FLastErrMsg = e.what();
        return -1;
    }
}

bool TCustomFFmpegConverter::AddInputFile(int ATaskIndex, const std::string& AFileName,
                                          TInputOptions* AOptions) {
    CheckNotWorking("AddInputFile");
    TFFmpeg* t = TaskAt(ATaskIndex);
    if (t->nb_input_files() >= t->FMaxFiles) {
        FLastErrMsg = os::FormatC("max input files %d reached", t->FMaxFiles);
        return false;
    }
    const int index = t->nb_input_files();
    try {
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            t->SetInputOptions(index, *AOptions);
            ApplyInputRequest(*t, *AOptions);
        } else {
            t->ResetInputOptions(index);
        }
        if (!t->OpenInputFile(AFileName)) {
            t->ResetInputOptions(index);
            FLastErrMsg = t->FLastErrMsg;
            return false;
        }
        t->ParkInput(index);
        t->GetProbe(index)->SetFileHandle(t->Finput_files[static_cast<size_t>(index)]);
        t->ParkInputDecoders(index);
        ParkOptions(t->FOptions);
        return true;
    } catch (const std::exception& e) {
        FLastErrMsg = e.what();
        return false;
    }
}

bool TCustomFFmpegConverter::AddInputFile(int ATaskIndex, const std::string& AFileName,
                                          const std::string& AExtOptions) {
    CheckNotWorking("AddInputFile");
    TInputOptions options = InputOptionsFromString(AExtOptions);
    return AddInputFile(ATaskIndex, AFileName, &options);
}

bool TCustomFFmpegConverter::SetOutputFile(int ATaskIndex, const std::string& AFileName,
                                           TOutputOptions* AOptions) {
    CheckNotWorking("SetOutputFile");
    TFFmpeg* t = TaskAt(ATaskIndex);
    if (t->nb_output_files() >= t->FMaxFiles) {
        FLastErrMsg = os::FormatC("max output files %d reached", t->FMaxFiles);
        return false;
    }
    const int index = t->nb_output_files();
    try {
        TStreamDefaults defaults;
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            t->SetOutputOptions(index, *AOptions);
            defaults = BuildStreamDefaults(*AOptions);
            ApplyOutputRequest(*t, *AOptions, defaults);
            if (AOptions->CustomHook)
                t->FOnCustomHook = [this, t](os::TObject*, TFrameBitmap* ABitmap, int32_t AFrameNumber,
                                             int64_t APTS, bool& AUpdate, bool& AStopHook) {
                    TaskCustomHook(t, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
                };
        } else {
            t->ResetOutputOptions(index);
        }
        if (t->OpenOutputFile(AFileName, AOptions && AOptions->Join) < 0) {
            FLastErrMsg = t->FLastErrMsg;
            t->ResetOutputOptions(index);
            return false;
        }
        if (AOptions) ApplyStreamKeys(*t, *AOptions, defaults);
        t->ParkOutputEncoders();
        ParkOptions(t->FOptions);
        return true;
    } catch (const std::exception& e) {
        FLastErrMsg = e.what();
        return false;
    }
}

bool TCustomFFmpegConverter::SetOutputFile(int ATaskIndex, const std::string& AFileName,
                                           const std::string& AExtOptions) {
    CheckNotWorking("SetOutputFile");
    TOutputOptions options = OutputOptionsFromString(AExtOptions);
    return SetOutputFile(ATaskIndex, AFileName, &options);
}

bool TCustomFFmpegConverter::SetOutputStream(int ATaskIndex, const void* AStream,
                                             const std::string& APrivateData, TOutputOptions* AOptions) {
    CheckNotWorking("SetOutputFile");
    return SetOutputFile(ATaskIndex, StreamName(AStream, APrivateData), AOptions);
}

void TCustomFFmpegConverter::Exchange(int ATaskIndex1, int ATaskIndex2) {
    CheckNotWorking("Exchange");
    FFFmpegList.Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomFFmpegConverter::RemoveTask(int ATaskIndex) {
    CheckNotWorking("RemoveTask");
    {
        std::lock_guard<os::CriticalSection> g(FTerminateLock);
        if (FLastEnded == TaskAt(ATaskIndex)) FLastEnded = nullptr;
    }
    FFFmpegList.Delete(ATaskIndex);
}

void TCustomFFmpegConverter::ClearTasks() {
    if (FWorking && !FTerminated) throw std::runtime_error("Cannot ClearTasks while working.");
    // Tasks of an ended run may still be finishing, and records may still be
    // on their way; both must be done before the tasks go.
    WaitForRecordThreads();
    FFFmpegList.Clear();
    WaitForRecordThreads();
    FLastErrMsg.clear();
    std::lock_guard<os::CriticalSection> g(FTerminateLock);
    FLastEnded = nullptr;
    FCompleteTasks = 0;
    FCurrentTask = -1;
    FPendingTasks = 0;
    FTerminated = false;
    FThreadMode = false;
    FWorking = false;
}

void TCustomFFmpegConverter::Start(int AThreadCount) {
    CheckNotWorking("StartTask");
    {
        std::lock_guard<os::CriticalSection> g(FTerminateLock);
        FCompleteTasks = 0;
        FCurrentTask = 0;
        FPendingTasks = TasksCount();
        FTerminated = false;
        FThreadMode = AThreadCount > 0;
        FThreadCount = AThreadCount;
        FWorking = true;
        // Nothing to run still ends the run, so that whoever waits for the
        // final record is not left waiting.
        if (TasksCount() == 0) {
            IssueFinalRecord();
            return;
        }
    }
    if (FThreadMode) {
        // Terminations on workers start tasks too; the lock keeps the order
        // of taking tasks.
        std::lock_guard<os::CriticalSection> g(FTerminateLock);
        for (int started = 0; started < AThreadCount && FPendingTasks > 0; ++started) StartNextTask();
    } else {
        for (;;) {
            {
                std::lock_guard<os::CriticalSection> g(FTerminateLock);
                if (FPendingTasks <= 0) break;
            }
            StartNextTask();
        }
    }
}

bool TCustomFFmpegConverter::StartNextTask() {
    TFFmpeg* task = nullptr;
    {
        std::lock_guard<os::CriticalSection> g(FTerminateLock);
        if (FPendingTasks <= 0) return false;
        --FPendingTasks;
        task = TaskAt(FCurrentTask);
        ++FCurrentTask;
        // A task ended before this run (by a Stop outside a run) has reported
        // already; it only counts, so that the run can still end.
        if (!task->Startable()) {
            TaskEnded();
            return false;
        }
        task->ReportInterval = static_cast<int64_t>(FProgressInterval) * 1000;
        // The tasks that will run beside this one share the cores with it:
        // as many as run at once, fewer towards the end of the list.
        task->FParallelRuns =
            FThreadMode ? std::max(1, std::min(FThreadCount, TasksCount() - FCompleteTasks)) : 1;
        if (FThreadMode) {
            if (task->StartConvert(true, ThreadPriority)) task->Resume();
            return true;
        }
    }
    // In the caller: the whole conversion runs here, without the lock, so
    // that a Stop from a handler can end the tasks that wait.
    task->StartConvert(false, ThreadPriority);
    return true;
}

void TCustomFFmpegConverter::TaskTerminate(TFFmpeg* ATask) {
    std::lock_guard<os::CriticalSection> g(FTerminateLock);
    TTerminateInfo info;
    info.TaskIndex = FFFmpegList.IndexOf(ATask);
    info.Finished = ATask->Finished();
    info.Exception = ATask->FatalException();
    info.ExceptionMsg = ATask->FatalMessage();
    FTerminateInfo = info;
    DeliverRecord(info, false);
    // The task that ended before this one has delivered its record under
    // this lock, after which its worker only leaves: reaping it now keeps a
    // long list from holding an ended thread per task.  This task's worker
    // is the one running here; the next ending reaps it.
    if (FLastEnded) FLastEnded->ReapWorker();
    FLastEnded = ATask;
    TaskEnded();
}

void TCustomFFmpegConverter::TaskEnded() {
    ++FCompleteTasks;
    if (FPendingTasks <= 0 && FCompleteTasks >= TasksCount())
        IssueFinalRecord();
    else if (FThreadMode && FPendingTasks > 0)
        StartNextTask();
}

void TCustomFFmpegConverter::IssueFinalRecord() {
    if (FTerminated) return;
    TTerminateInfo info;
    info.TaskIndex = -1;
    info.Finished = true;
    FTerminateInfo = info;
    // Set before the record goes out: its handler may clear the list.
    FTerminated = true;
    DeliverRecord(info, true);
}

void TCustomFFmpegConverter::DeliverRecord(const TTerminateInfo& AInfo, bool AFinal) {
    if (!FThreadMode) {
        DeliverNow(AInfo);
        return;
    }
    std::lock_guard<std::mutex> g(FRecordMutex);
    ReapRecordThreads();
    if (!AFinal) ++FTaskRecordsPending;
    FRecordThreads.push_back(TDoTerminateThread::Create(this, AInfo, AFinal));
}

void TCustomFFmpegConverter::DeliverNow(const TTerminateInfo& AInfo) {
    std::lock_guard<os::CriticalSection> g(FDeliverLock);
    if (FOnTerminate) FOnTerminate(this, AInfo);
}

void TCustomFFmpegConverter::RunRecordThread(const TTerminateInfo& AInfo, bool AFinal) {
    if (AFinal) {
        // Records on other threads could otherwise overtake it.
        std::unique_lock<std::mutex> g(FRecordMutex);
        FRecordDone.wait(g, [this] { return FTaskRecordsPending == 0; });
    }
    DeliverNow(AInfo);
    if (!AFinal) {
        std::lock_guard<std::mutex> g(FRecordMutex);
        --FTaskRecordsPending;
        FRecordDone.notify_all();
    }
}

void TCustomFFmpegConverter::ReapRecordThreads() {
    std::erase_if(FRecordThreads, [](const std::unique_ptr<os::OsThread>& t) { return t->Finished(); });
}

void TCustomFFmpegConverter::WaitForRecordThreads() {
    const uint32_t self = os::CurrentThreadId();
    for (;;) {
        std::vector<std::unique_ptr<os::OsThread>> done;
        bool waiting = false;
        {
            std::lock_guard<std::mutex> g(FRecordMutex);
            for (auto it = FRecordThreads.begin(); it != FRecordThreads.end();) {
                if ((*it)->Finished()) {
                    done.push_back(std::move(*it));
                    it = FRecordThreads.erase(it);
                } else {
                    // A handler that clears the list from its own record
                    // thread cannot wait for itself.
                    if ((*it)->ThreadId() != self) waiting = true;
                    ++it;
                }
            }
        }
        done.clear();
        if (!waiting) return;
        if (os::IsMainThread()) {
            os::CheckSynchronize(5);
            ProcessMessages();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

void TCustomFFmpegConverter::Pause() {
    FFFmpegList.PauseAll();
}

void TCustomFFmpegConverter::Resume() {
    FFFmpegList.ResumeAll();
}

void TCustomFFmpegConverter::Stop(bool AWaitFor) {
    {
        std::lock_guard<os::CriticalSection> g(FTerminateLock);
        FPendingTasks = 0;
    }
    FFFmpegList.StopAll(AWaitFor);
}

TAVProbe* TCustomFFmpegConverter::GetTaskProbe(int ATaskIndex, int AFileIndex) {
    return TaskAt(ATaskIndex)->ProbeIfAny(AFileIndex);
}

bool TCustomFFmpegConverter::LoadAVLib(const std::string& APath) {
    if (Designing()) return true;
    FFLoader().SetLibraryPath(APath);
    if (FFLoader().Load(ConverterLibraries)) return true;
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
}

bool TCustomFFmpegConverter::AVLibLoaded() const {
    return FFLoader().Loaded(ConverterLibraries);
}

void TCustomFFmpegConverter::UnloadAVLib() {
    FFLoader().Unload(ConverterLibraries);
}

void TCustomFFmpegConverter::ApplyPostHooks() {
    // A worker may hold the hook-settings lock while it waits for the GUI
    // thread to paint a preview frame.
    PumpingLock g(HookSettingsLock());
    for (int i = 0; i < FFFmpegList.Count(); ++i) {
        TFFmpeg* t = FFFmpegList.Get(i);
        TPostHooks hooks = t->FPostHooks;
        if (FPreview)
            hooks += phPreview;
        else
            hooks -= phPreview;
        if (FPreviewBitmap)
            hooks += phBitmap;
        else
            hooks -= phBitmap;
        t->SetPostHooksNoLock(hooks);
    }
}

void TCustomFFmpegConverter::SetPreview(bool AValue) {
    FPreview = AValue;
    ApplyPostHooks();
}

void TCustomFFmpegConverter::SetPreviewBitmap(bool AValue) {
    FPreviewBitmap = AValue;
    ApplyPostHooks();
}

void TCustomFFmpegConverter::SetProgressInterval(int AValue) {
    FProgressInterval = AValue < 100 ? 100 : AValue;
}

void TCustomFFmpegConverter::SetOnCustomHook(TCustomHookEvent AEvent) {
    PumpingLock g(FHookLock);
    FOnCustomHook = std::move(AEvent);
}

void TCustomFFmpegConverter::SetOnPreviewBitmap(TPreviewBitmapEvent AEvent) {
    PumpingLock g(FPreviewLock);
    FOnPreviewBitmap = std::move(AEvent);
}

void TCustomFFmpegConverter::SetOnProgress(TProgressEvent AEvent) {
    PumpingLock g(FProgressLock);
    FOnProgress = std::move(AEvent);
}

void TCustomFFmpegConverter::SetOnTerminate(TTerminateEvent AEvent) {
    PumpingLock g(FDeliverLock);
    FOnTerminate = std::move(AEvent);
}

void TCustomFFmpegConverter::TaskProgress(TFFmpeg* ATask, int32_t AFileIndex, int32_t AFrameNumber,
                                          int32_t AFPS, float AQuality, float ABitRate, int64_t ACurrentSize,
                                          int64_t ACurrentDuration, int64_t ATotalDuration) {
    std::lock_guard<os::CriticalSection> g(FProgressLock);
    if (!FOnProgress) return;
    FProgressInfo = TProgressInfo{
        FFFmpegList.IndexOf(ATask), AFileIndex,    AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize,
        ACurrentDuration,           ATotalDuration};
    auto call = [this] {
        if (FOnProgress) FOnProgress(this, &FProgressInfo);
    };
    if (TriggerEventInMainThread)
        CallInMainThread(call);
    else
        call();
}

void TCustomFFmpegConverter::TaskPreviewBitmap(TFFmpeg* ATask, TFrameBitmap* ABitmap, int32_t AFrameNumber,
                                               int64_t APTS) {
    std::lock_guard<os::CriticalSection> g(FPreviewLock);
    if (!FOnPreviewBitmap) return;
    FPreviewInfo = TPreviewInfo{FFFmpegList.IndexOf(ATask), ABitmap, AFrameNumber, APTS};
    auto call = [this] {
        if (FOnPreviewBitmap) FOnPreviewBitmap(this, FPreviewInfo);
    };
    if (TriggerEventInMainThread)
        CallInMainThread(call);
    else
        call();
}

void TCustomFFmpegConverter::TaskCustomHook(TFFmpeg* ATask, TFrameBitmap* ABitmap, int32_t AFrameNumber,
                                            int64_t APTS, bool& AUpdate, bool& AStopHook) {
    // Always on the worker: the bitmap belongs to the frame being converted.
    // It is our own plain bitmap, so there is no canvas to lock.
    std::lock_guard<os::CriticalSection> g(FHookLock);
    if (!FOnCustomHook) return;
    FHookInfo = THookInfo{FFFmpegList.IndexOf(ATask), ABitmap, AFrameNumber, APTS, AUpdate, AStopHook};
    FOnCustomHook(this, &FHookInfo);
    AUpdate = FHookInfo.Update;
    AStopHook = FHookInfo.StopHook;
}

} // namespace media

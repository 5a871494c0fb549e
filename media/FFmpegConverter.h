#pragma once
// The task component: a list of conversion tasks (one transcoder engine
// each) run on worker threads or inside the caller, with progress, preview,
// custom frame hook and termination events.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/AVProbe.h"
#include "media/FFBaseComponent.h"
#include "media/FFmpegEngine.h"
#include "media/FFmpegRequest.h"
#include "os/CriticalSection.h"
#include "os/Thread.h"

namespace media {

using TThreadPriority = os::ThreadPriority;

struct TProgressInfo {
    int32_t TaskIndex = 0;
    int32_t FileIndex = 0;
    int32_t FrameNumber = 0;
    int32_t FPS = 0;
    float Quality = 0;
    float BitRate = 0;
    int64_t CurrentSize = 0;
    int64_t CurrentDuration = 0;
    int64_t TotalDuration = 0;
};

struct TTerminateInfo {
    int32_t TaskIndex = 0; // -1 in the final record of a run
    bool Finished = false;
    bool Exception = false;
    std::string ExceptionMsg;
};

struct THookInfo {
    int32_t TaskIndex = 0;
    TFrameBitmap* Bitmap = nullptr;
    int32_t FrameNumber = 0;
    int64_t PTS = 0;
    bool Update = false;
    bool StopHook = false;
};

struct TPreviewInfo {
    int32_t TaskIndex = 0;
    TFrameBitmap* Bitmap = nullptr;
    int32_t FrameNumber = 0;
    int64_t PTS = 0;
};

// One task: an engine with its probes and private copies of its requests.
class TFFmpeg : public TCustomFFmpeg {
public:
    explicit TFFmpeg(int AMaxFiles);
    ~TFFmpeg() override;
    std::string ClassName() const override { return "TFFmpeg"; }

    // Created on first use; owned by the task.
    TAVProbe* GetProbe(int AIndex);
    TAVProbe* ProbeIfAny(int AIndex) const;
    void SetInputOptions(int AIndex, const TInputOptions& AOptions);
    void ResetInputOptions(int AIndex);
    void SetOutputOptions(int AIndex, const TOutputOptions& AOptions);
    void ResetOutputOptions(int AIndex);

protected:
    void InputsClosing() override;

private:
    // The entry for file AIndex, the table grown to hold it; raises past
    // the task's file limit.
    template <class T> std::unique_ptr<T>& Slot(std::vector<std::unique_ptr<T>>& ATable, int AIndex) const;
    // One entry per file the task has (they grow as files are added).
    std::vector<std::unique_ptr<TAVProbe>> FAVProbes;
    std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
    std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
};

// The task list; it owns its tasks.  A bad index raises std::out_of_range
// with "List index out of bounds (%d)".
class TFFmpegList {
public:
    int Add(std::unique_ptr<TFFmpeg> ATask);
    void Clear();
    void Delete(int AIndex);
    void Exchange(int AIndex1, int AIndex2);
    TFFmpeg* Get(int AIndex) const;
    int IndexOf(const TFFmpeg* ATask) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    void PauseAll();
    void ResumeAll();
    void StopAll(bool AWaitFor);

private:
    void CheckIndex(int AIndex) const;
    std::vector<std::unique_ptr<TFFmpeg>> FItems;
};

class TCustomFFmpegConverter : public TFFBaseComponent {
public:
    // The component's own event types (the engine has others of these names).
    using TProgressEvent = std::function<void(os::TObject* Sender, TProgressInfo* AProgressInfo)>;
    using TTerminateEvent = std::function<void(os::TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
    using TCustomHookEvent = std::function<void(os::TObject* Sender, THookInfo* AHookInfo)>;
    using TPreviewBitmapEvent = std::function<void(os::TObject* Sender, const TPreviewInfo& APreviewInfo)>;

    explicit TCustomFFmpegConverter(os::TComponent* AOwner = nullptr);
    // Waits for record threads and event handlers, then frees every task
    // (a task still converting is stopped and waited for first).
    ~TCustomFFmpegConverter() override;
    std::string ClassName() const override { return "TCustomFFmpegConverter"; }

    // Each returns the task index, or -1 with the reason in LastErrMsg.
    int AddTask(const std::string& AFileName, TInputOptions* AOptions = nullptr);
    int AddTask(const std::string& AFileName, const std::string& AExtOptions);
    int AddTask(const void* AStream, const std::string& APrivateData, TInputOptions* AOptions);
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, TInputOptions* AOptions = nullptr);
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, const std::string& AExtOptions);
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName, TOutputOptions* AOptions = nullptr);
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName, const std::string& AExtOptions);
    bool SetOutputStream(int ATaskIndex, const void* AStream, const std::string& APrivateData,
                         TOutputOptions* AOptions);
    void Exchange(int ATaskIndex1, int ATaskIndex2);
    void RemoveTask(int ATaskIndex);
    void ClearTasks();

    // Runs the list: at most AThreadCount tasks at once on worker threads,
    // or (0 or less) one after another inside the caller.
    void Start(int AThreadCount);
    void Pause();
    void Resume();
    void Stop(bool AWaitFor);

    TAVProbe* GetTaskProbe(int ATaskIndex, int AFileIndex);
    bool LoadAVLib(const std::string& APath);
    bool AVLibLoaded() const;
    void UnloadAVLib();

    std::string Version() const { return "3.3"; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    TAVProbe* AVProbe() const { return FAVProbe.get(); }
    int TasksCount() const { return FFFmpegList.Count(); }
    bool Working() const { return FWorking; }
    bool Terminated() const { return FTerminated; }

    bool Preview() const { return FPreview; }
    void SetPreview(bool AValue);
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool AValue);
    int ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(int AValue);
    TThreadPriority ThreadPriority = TThreadPriority::Normal;
    std::atomic<bool> TriggerEventInMainThread{true};
    int CustomMaxFiles = 20;
    int Verbose = 1;
    void* UserData = nullptr;
    std::string About;

    // Changing a handler waits until no delivery of that event is under way,
    // so that a detached handler is never called afterwards.
    void SetOnCustomHook(TCustomHookEvent AEvent);
    void SetOnPreviewBitmap(TPreviewBitmapEvent AEvent);
    void SetOnProgress(TProgressEvent AEvent);
    void SetOnTerminate(TTerminateEvent AEvent);

protected:
    virtual void TaskCustomHook(TFFmpeg* ATask, TFrameBitmap* ABitmap, int32_t AFrameNumber, int64_t APTS,
                                bool& AUpdate, bool& AStopHook);
    virtual void TaskPreviewBitmap(TFFmpeg* ATask, TFrameBitmap* ABitmap, int32_t AFrameNumber, int64_t APTS);
    virtual void TaskProgress(TFFmpeg* ATask, int32_t AFileIndex, int32_t AFrameNumber, int32_t AFPS,
                              float AQuality, float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration,
                              int64_t ATotalDuration);
    virtual void TaskTerminate(TFFmpeg* ATask);

    TFFmpegList& Tasks() { return FFFmpegList; }

private:
    class TDoTerminateThread;
    void CheckNotWorking(const char* AOperation) const;
    TFFmpeg* TaskAt(int AIndex) const { return FFFmpegList.Get(AIndex); }
    bool StartNextTask();
    // Counts one ended task; issues the final record after the last one, or
    // starts the next task in thread mode.  FTerminateLock held.
    void TaskEnded();
    void IssueFinalRecord();
    void DeliverRecord(const TTerminateInfo& AInfo, bool AFinal);
    void DeliverNow(const TTerminateInfo& AInfo);
    void RunRecordThread(const TTerminateInfo& AInfo, bool AFinal);
    void WaitForRecordThreads();
    void ReapRecordThreads();
    void ApplyPostHooks();
    int AddTaskNamed(const std::string& AFileName, TInputOptions* AOptions);

    std::string FLastErrMsg;
    bool FPreview = false;
    bool FPreviewBitmap = false;
    int FProgressInterval = 500;
    THookInfo FHookInfo;
    TProgressInfo FProgressInfo;
    TTerminateInfo FTerminateInfo;
    TPreviewInfo FPreviewInfo;
    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TTerminateEvent FOnTerminate;
    os::CriticalSection FHookLock, FPreviewLock, FProgressLock, FTerminateLock;
    // Held while a termination record reaches its handler.
    os::CriticalSection FDeliverLock;
    std::unique_ptr<TAVProbe> FAVProbe;
    TFFmpegList FFFmpegList;
    int FCompleteTasks = 0;
    int FCurrentTask = -1;
    int FPendingTasks = 0;
    std::atomic<bool> FTerminated{false};
    bool FThreadMode = false;
    std::atomic<bool> FWorking{false};
    int FThreadCount = 0;
    // The task that ended last, whose worker thread is not reaped yet
    // (FTerminateLock).
    TFFmpeg* FLastEnded = nullptr;

    // Record threads of the run; the final record waits until every task
    // record has been delivered.
    std::mutex FRecordMutex;
    std::condition_variable FRecordDone;
    int FTaskRecordsPending = 0;
    std::vector<std::unique_ptr<os::OsThread>> FRecordThreads;
};

// The form-placeable class.
class TFFmpegConverter : public TCustomFFmpegConverter {
public:
    using TCustomFFmpegConverter::TCustomFFmpegConverter;
    std::string ClassName() const override { return "TFFmpegConverter"; }
};

} // namespace media

#pragma once
// One stage of a conversion run on a thread of its own: the run hands it
// jobs through a short queue and goes on with the next picture while the
// stage works.  Jobs run one after another in the order given.  A job that
// throws ends the stage: the jobs after it are dropped and the run's next
// Push or Finish throws the same exception, so the run ends with its
// message.  The thread lives from the first Push to Finish or Abandon.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

namespace os {
class OsThread;
}

namespace media {

class TStageThread {
public:
    using TJob = std::function<void()>;

    // ACapacity: the jobs that may wait; more make Push wait for the stage.
    explicit TStageThread(size_t ACapacity);
    ~TStageThread(); // abandons
    TStageThread(const TStageThread&) = delete;
    TStageThread& operator=(const TStageThread&) = delete;

    // Queues the job, starting the thread when none runs; waits while the
    // queue is full.  Throws the stage's failure instead once it has one.
    void Push(TJob AJob);
    // Waits until every job has run and ends the thread; throws the stage's
    // failure.  The stage may be pushed to again afterwards.
    void Finish();
    // Drops the waiting jobs, lets the running one end and ends the thread.
    void Abandon();

    // Whether the stage has nothing to do: no thread, or its thread waits for
    // a job.  A paused run's stages come to rest once their queue is empty.
    bool Resting() const;
    // Whether the stage's thread is running (between the first Push and
    // Finish or Abandon).
    bool Running() const;

private:
    void Body();
    void EndThread(std::unique_lock<std::mutex>& ALock);

    const size_t FCapacity;
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TJob> FJobs;
    bool FBusy = false;    // a job runs
    bool FClosing = false; // the thread is to end once the queue is empty
    std::exception_ptr FFailure;
    std::unique_ptr<os::OsThread> FThread;
};

} // namespace media

#pragma once
// The GUI-thread call queue.  Another thread hands a call to the GUI thread
// and waits until it has run; the message loop and every waiting loop (modal
// loops, a waiting Stop or Seek) pump the queue with CheckSynchronize.
#include <cstdint>
#include <functional>

namespace os {

// The thread that loaded the program is the GUI thread until told otherwise.
bool IsMainThread();
void SetMainThread(); // makes the calling thread the GUI thread

// On the GUI thread the call runs directly; elsewhere it is queued and the
// caller blocks until it has run.  An exception thrown by the call is
// re-thrown in the caller.
void CallInMainThread(const std::function<void()>& call);

// Queues the call for the GUI thread and returns at once (on the GUI thread
// too: it runs at the next pump).  For notices that must never make their
// sender wait, such as log lines from a thread that may hold a lock the GUI
// thread is waiting for.  An exception from the call is dropped.
void PostInMainThread(std::function<void()> call);

// Runs every queued call (GUI thread only); waits up to timeoutMs for the
// first one when the queue is empty.  True when at least one call ran.
bool CheckSynchronize(uint32_t timeoutMs = 0);

// The message loop installs a waker so that a queued call ends its idle wait.
void SetSynchronizeWaker(std::function<void()> waker);

} // namespace os

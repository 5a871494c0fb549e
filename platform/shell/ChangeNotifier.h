#pragma once
// Watches a folder (and, when asked, every folder below it) with inotify
// and runs a handler on the GUI thread after changes.  The worker waits on
// inotify and an eventfd in one poll: new settings and stopping wake it
// through the eventfd, so a change of folder re-arms it instead of ending
// it, and stopping is a signal and a join.
#include "shell/ShellTypes.h"

#include <functional>
#include <memory>
#include <string>

// What to watch, as Win32's change-notification filter.
constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x1, FILE_NOTIFY_CHANGE_DIR_NAME = 0x2,
                FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x4, FILE_NOTIFY_CHANGE_SIZE = 0x8,
                FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10, FILE_NOTIFY_CHANGE_SECURITY = 0x100;

namespace shell {

class ChangeNotifier {
public:
    // onChange runs on the GUI thread (posted, so the worker never waits for
    // it); changes that arrive before it ran are reported once.
    explicit ChangeNotifier(std::function<void()> onChange);
    ~ChangeNotifier(); // Stop
    ChangeNotifier(const ChangeNotifier&) = delete;
    ChangeNotifier& operator=(const ChangeNotifier&) = delete;

    // Watches dir with these settings from now on, starting the worker on
    // first use.  False when dir cannot be watched: the worker then ends and
    // nothing fires until a later call succeeds.
    bool SetDirectoryOptions(const std::string& dir, bool watchSubTree, DWORD filter);
    // Ends the worker and waits for it; no handler runs after this returns
    // (when called on the GUI thread).
    void Stop();
    bool Running() const;

private:
    struct Worker;
    struct Shared;
    std::function<void()> onChange_;
    std::shared_ptr<Shared> shared_; // one per worker: a stopped worker's queued call stays dead
    std::unique_ptr<Worker> worker_;
};

} // namespace shell

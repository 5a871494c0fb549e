#pragma once
// Starting the desktop's helper programs (the opener, the power-off request,
// a sound player): detached, in a session of their own, never through a
// shell, with the working folder set in the child alone, because threads
// share the program's own current folder and it must never move.
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace os {

struct SpawnRequest {
    std::vector<std::string> argv; // argv[0] is looked up on PATH unless it holds a '/'
    std::string workDir;           // empty: the program's own folder
};

// The executable argv[0] would run, or "" when PATH has none.
std::string FindProgram(const std::string& name);

// Starts the request; false when the program is missing or cannot start.
// pid receives the child's id (0 when a recorder took the request).
// Children are reaped at later calls, so none lingers as a zombie for long.
bool SpawnDetached(const SpawnRequest& request, pid_t* pid = nullptr);

// Stops a child started here if it still runs (a replaced sound); a child
// already reaped is left alone, so no foreign process with a reused id is hit.
void StopSpawned(pid_t pid);

// While one exists, requests are recorded instead of started: tests see the
// exact argument vectors, and nothing reaches the real desktop.
class SpawnRecorder {
public:
    SpawnRecorder();
    ~SpawnRecorder();
    SpawnRecorder(const SpawnRecorder&) = delete;
    SpawnRecorder& operator=(const SpawnRecorder&) = delete;

    std::vector<SpawnRequest> Requests() const;
    void Clear();
    void Record(const SpawnRequest& r);

private:
    mutable std::mutex m_;
    std::vector<SpawnRequest> requests_;
    SpawnRecorder* previous_;
};

} // namespace os

#include "os/Spawn.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace os {
namespace {

std::mutex g_recorderLock;
SpawnRecorder* g_recorder = nullptr;

std::mutex g_childLock;
std::vector<pid_t> g_children; // started and not yet reaped

void ReapFinished() {
    std::lock_guard<std::mutex> lock(g_childLock);
    g_children.erase(std::remove_if(g_children.begin(), g_children.end(),
                                    [](pid_t p) {
                                        int status = 0;
                                        pid_t r = ::waitpid(p, &status, WNOHANG);
                                        return r == p || (r < 0 && errno == ECHILD);
                                    }),
                     g_children.end());
}

bool IsExecutable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (dir.empty()) dir = "."; // an empty PATH entry means the current folder, as the shells read it
        std::string candidate = dir + "/" + name;
        if (IsExecutable(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

bool SpawnDetached(const SpawnRequest& request, pid_t* pid) {
    if (pid) *pid = 0;
    if (request.argv.empty() || request.argv[0].empty()) return false;
    {
        std::lock_guard<std::mutex> lock(g_recorderLock);
        if (g_recorder) {
            g_recorder->Record(request);
            return true;
        }
    }
    ReapFinished();
    std::string exe = FindProgram(request.argv[0]);
    if (exe.empty()) return false;
    std::vector<char*> argv;
    for (const std::string& a : request.argv) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    // The helper must not take our terminal's signals or die with our session.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!request.workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, request.workDir.c_str());
    pid_t child = 0;
    int rc = ::posix_spawn(&child, exe.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    {
        std::lock_guard<std::mutex> lock(g_childLock);
        g_children.push_back(child);
    }
    if (pid) *pid = child;
    return true;
}

void StopSpawned(pid_t pid) {
    if (pid <= 0) return;
    std::lock_guard<std::mutex> lock(g_childLock);
    if (std::find(g_children.begin(), g_children.end(), pid) != g_children.end()) ::kill(pid, SIGTERM);
}

SpawnRecorder::SpawnRecorder() {
    std::lock_guard<std::mutex> lock(g_recorderLock);
    previous_ = g_recorder;
    g_recorder = this;
}

SpawnRecorder::~SpawnRecorder() {
    std::lock_guard<std::mutex> lock(g_recorderLock);
    g_recorder = previous_;
}

std::vector<SpawnRequest> SpawnRecorder::Requests() const {
    std::lock_guard<std::mutex> lock(m_);
    return requests_;
}

void SpawnRecorder::Clear() {
    std::lock_guard<std::mutex> lock(m_);
    requests_.clear();
}

void SpawnRecorder::Record(const SpawnRequest& r) {
    std::lock_guard<std::mutex> lock(m_);
    requests_.push_back(r);
}

} // namespace os

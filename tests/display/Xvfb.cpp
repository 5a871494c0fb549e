#include "Xvfb.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
const char* kXvfb = "/usr/bin/Xvfb";
constexpr int kStartMs = 30000; // a loaded machine may be slow to start a server
} // namespace

bool XvfbServer::Installed() {
    return access(kXvfb, X_OK) == 0;
}

XvfbServer::XvfbServer() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return;
    }
    std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args = {kXvfb, "-displayfd",   fd,          "-screen",
                                     "0",   "1280x1024x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The child keeps the write end: dup2 onto itself clears close-on-exec.
    posix_spawn_file_actions_adddup2(&actions, fds[1], fds[1]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    int rc = posix_spawn(&pid_, kXvfb, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        pid_ = -1;
        close(fds[0]);
        error_ = "Xvfb did not start";
        return;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    for (;;) {
        int n = poll(&p, 1, kStartMs);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        char c;
        ssize_t got = read(fds[0], &c, 1);
        if (got <= 0 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty())
        error_ = "Xvfb gave no display number";
    else
        name_ = ":" + number;
}

XvfbServer::~XvfbServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

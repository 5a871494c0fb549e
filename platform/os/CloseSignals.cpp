#include "os/CloseSignals.h"

#include "os/MainThread.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace os {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// Written by the handler, so a plain int the handler can read without a lock.
volatile sig_atomic_t g_writeFd = -1;
struct sigaction g_previous[sizeof kSignals / sizeof kSignals[0]];

void OnSignal(int sig) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(sig);
    // A full pipe already holds a request to end: dropping this one loses nothing.
    if (g_writeFd >= 0) {
        [[maybe_unused]] ssize_t n = ::write(g_writeFd, &byte, 1);
    }
    errno = saved;
}

} // namespace

CloseSignals::CloseSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    if (::pipe2(pipe_, O_CLOEXEC) != 0) throw std::runtime_error("CloseSignals: no pipe");
    ::fcntl(pipe_[1], F_SETFL, O_NONBLOCK);
    g_writeFd = pipe_[1];
    watcher_ = std::thread([this] { Watch(); });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    // Interrupted reads and waits of the other threads go on.
    sa.sa_flags = SA_RESTART;
    int i = 0;
    for (int sig : kSignals) ::sigaction(sig, &sa, &g_previous[i++]);
}

CloseSignals::~CloseSignals() {
    int i = 0;
    for (int sig : kSignals) ::sigaction(sig, &g_previous[i++], nullptr);
    g_writeFd = -1;
    // The watcher ends when the pipe's writing end is closed.
    ::close(pipe_[1]);
    watcher_.join();
    ::close(pipe_[0]);
}

void CloseSignals::Watch() {
    for (;;) {
        unsigned char sig = 0;
        const ssize_t n = ::read(pipe_[0], &sig, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        // The call keeps its own copy: it may run after this object has gone.
        PostInMainThread([call = onSignal_, s = int(sig)] { call(s); });
    }
}

} // namespace os

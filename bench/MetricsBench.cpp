// 10,000 GetSystemMetrics calls under the x11 backend (a private Xvfb) and
// under the headless one.  Hit testing reads the metrics on every mouse move,
// so the x11 figure should stay within twice the headless one: the monitors
// and work area come from the backend's cache, not from a server round trip.
#include "../tests/display/Xvfb.h"
#include "display/Backend.h"
#include "win/System.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kCalls = 10000;

double Measure() {
    GetSystemMetrics(SM_CXSCREEN); // the backend opens outside the timing
    auto start = std::chrono::steady_clock::now();
    long sum = 0;
    for (int i = 0; i < kCalls; ++i) sum += GetSystemMetrics(i % 2 ? SM_CXFULLSCREEN : SM_CYFULLSCREEN);
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (sum == 42) std::puts(""); // keeps the calls
    return took.count();
}

} // namespace

int main() {
    // The headless figure comes from a child: a process has one backend.
    int fds[2];
    if (pipe(fds) != 0) return 1;
    pid_t child = fork();
    if (child == 0) {
        setenv("TARVIK_DISPLAY", "headless", 1);
        double ms = Measure();
        if (write(fds[1], &ms, sizeof ms) != sizeof ms) _exit(1);
        _exit(0);
    }
    double headless = 0;
    if (read(fds[0], &headless, sizeof headless) != sizeof headless) return 1;
    waitpid(child, nullptr, 0);

    if (!XvfbServer::Installed()) {
        std::printf("headless: %.3f ms for %d calls; Xvfb is not installed\n", headless, kCalls);
        return 0;
    }
    // Static and made before the backend, so that it outlives its connection.
    static XvfbServer server;
    if (!server.Running()) {
        std::fprintf(stderr, "Xvfb: %s\n", server.Error().c_str());
        return 1;
    }
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    double x11 = Measure();
    std::printf("%d GetSystemMetrics calls: headless %.3f ms, x11 %.3f ms (%.2fx)\n", kCalls, headless, x11,
                x11 / headless);
    return x11 <= 2 * headless ? 0 : 2;
}

// ffconvert: runs conversions through the task component without any GUI,
// printing one line per event.  A test driver, not part of the product.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "media/ComponentUtils.h"
#include "media/FFLogger.h"
#include "media/FFmpegConverter.h"
#include "os/Convert.h"
#include "os/MainThread.h"

using namespace media;

namespace {

const char kUsage[] =
    "usage: ffconvert [-t THREADS] [-p idle|lowest|lower|normal] INPUT OUTPUT [KEY=VALUE ...]\n"
    "                 [-- INPUT OUTPUT [KEY=VALUE ...] ...]\n"
    "One task per INPUT OUTPUT group; the KEY=VALUE pairs are that output's option string.\n"
    "Prints: progress TASK PERCENT FRAME FPS SIZE_BYTES TIME_US\n"
    "        log LEVEL TEXT\n"
    "        terminate TASK FINISHED EXCEPTION MESSAGE   (task -1: the final record)\n"
    "Signals: INT stops the run and waits for its end, USR1 pauses it, USR2 resumes it;\n"
    "         each is answered by a log line (\"log info ...\") once carried out.\n"
    "Exit status: 0 when every task finished, 1 otherwise, 2 on a usage error.\n";

struct Group {
    std::string input, output, options;
};

struct Args {
    int threads = 1;
    TThreadPriority priority = TThreadPriority::Normal;
    std::vector<Group> groups;
};

int Usage(const std::string& why) {
    std::fprintf(stderr, "ffconvert: %s\n%s", why.c_str(), kUsage);
    return 2;
}

// Empty text on success, else the reason.
std::string Parse(int argc, char** argv, Args& args) {
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-t" || a == "-p") {
            if (i + 1 >= argc) return "missing value after " + a;
            std::string v = argv[++i];
            if (a == "-t") {
                char* end = nullptr;
                long n = std::strtol(v.c_str(), &end, 10);
                if (v.empty() || *end || n < -1000 || n > 1000) return "bad thread count: " + v;
                args.threads = static_cast<int>(n);
            } else if (v == "idle") {
                args.priority = TThreadPriority::Idle;
            } else if (v == "lowest") {
                args.priority = TThreadPriority::Lowest;
            } else if (v == "lower") {
                args.priority = TThreadPriority::Lower;
            } else if (v == "normal") {
                args.priority = TThreadPriority::Normal;
            } else {
                return "bad priority: " + v;
            }
        } else {
            break;
        }
    }
    while (i < argc) {
        Group g;
        if (i + 1 >= argc || std::string(argv[i]) == "--" || std::string(argv[i + 1]) == "--")
            return "every group needs an INPUT and an OUTPUT";
        g.input = argv[i++];
        g.output = argv[i++];
        for (; i < argc && std::string(argv[i]) != "--"; ++i) {
            std::string kv = argv[i];
            if (kv.find('=') == std::string::npos || kv[0] == '=') return "not KEY=VALUE: " + kv;
            g.options += kv + "\n";
        }
        if (i < argc) ++i; // "--"
        args.groups.push_back(g);
    }
    if (args.groups.empty()) return "no INPUT OUTPUT given";
    return "";
}

const char* LevelName(TLogLevel l) {
    static const char* const names[] = {"quiet",   "panic", "fatal",   "error",
                                        "warning", "info",  "verbose", "debug"};
    return names[l];
}

// Set by the signal handlers, acted upon by the main loop.
volatile std::sig_atomic_t g_stop = 0, g_pause = 0, g_resume = 0;

void OnSignal(int ASignal) {
    if (ASignal == SIGINT) g_stop = 1;
    if (ASignal == SIGUSR1) g_pause = 1;
    if (ASignal == SIGUSR2) g_resume = 1;
}

void InstallSignalHandlers() {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGINT, SIGUSR1, SIGUSR2}) sigaction(s, &sa, nullptr);
}

std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r') c = ' ';
    return s;
}

} // namespace

int main(int argc, char** argv) {
    Args args;
    std::string why = Parse(argc, argv, args);
    if (!why.empty()) return Usage(why);

    std::mutex out;
    auto print = [&](const std::string& line) {
        std::lock_guard<std::mutex> g(out);
        std::fputs((line + "\n").c_str(), stdout);
        std::fflush(stdout);
    };

    TFFLogger logger;
    logger.OnLog = [&](os::TObject*, uint32_t, TLogLevel level, const std::string& msg) {
        print(os::FormatC("log %s %s", LevelName(level), OneLine(msg).c_str()));
    };
    TFFmpegConverter conv;
    if (!conv.LoadAVLib(ExeFolder() + "LibAV")) {
        std::fprintf(stderr, "ffconvert: %s\n", conv.LastErrMsg().c_str());
        return 1;
    }
    conv.ThreadPriority = args.priority;
    conv.SetOnProgress([&](os::TObject*, TProgressInfo* p) {
        std::string percent = p->TotalDuration > 0
                                  ? std::to_string(p->CurrentDuration * 100 / p->TotalDuration)
                                  : std::string("N/A");
        print(os::FormatC("progress %d %s %d %d %lld %lld", p->TaskIndex, percent.c_str(), p->FrameNumber,
                          p->FPS, static_cast<long long>(p->CurrentSize),
                          static_cast<long long>(p->CurrentDuration)));
    });
    std::atomic<bool> done{false};
    std::atomic<int> finished{0};
    conv.SetOnTerminate([&](os::TObject*, const TTerminateInfo& t) {
        print(os::FormatC("terminate %d %d %d %s", t.TaskIndex, t.Finished ? 1 : 0, t.Exception ? 1 : 0,
                          OneLine(t.ExceptionMsg).c_str()));
        if (t.TaskIndex >= 0 && t.Finished) ++finished;
        if (t.TaskIndex == -1) done = true;
    });

    for (const Group& g : args.groups) {
        int index = conv.AddTask(g.input);
        if (index < 0) {
            std::fprintf(stderr, "ffconvert: %s: %s\n", g.input.c_str(), conv.LastErrMsg().c_str());
            return 1;
        }
        if (!conv.SetOutputFile(index, g.output, g.options)) {
            std::fprintf(stderr, "ffconvert: %s: %s\n", g.output.c_str(), conv.LastErrMsg().c_str());
            return 1;
        }
    }
    InstallSignalHandlers();
    conv.Start(args.threads);
    // This thread is the GUI thread: progress and log lines come through it,
    // and the signals are acted upon here (a run in this thread, -t 0,
    // answers them only once it has ended).
    while (!done) {
        os::CheckSynchronize(20);
        if (g_pause) {
            g_pause = 0;
            conv.Pause();
            print("log info SIGUSR1: paused");
        }
        if (g_resume) {
            g_resume = 0;
            conv.Resume();
            print("log info SIGUSR2: resumed");
        }
        if (g_stop) {
            g_stop = 0;
            print("log info SIGINT: stopping");
            conv.Stop(true);
            print("log info SIGINT: stopped");
        }
    }
    conv.ClearTasks();
    while (os::CheckSynchronize(0)) {
    }
    return finished == static_cast<int>(args.groups.size()) ? 0 : 1;
}

#include "ConverterTestSupport.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "os/MainThread.h"
#include "os/Thread.h"

namespace convtest {

void Recorder::Attach(media::TCustomFFmpegConverter& AConverter) {
    AConverter.SetOnTerminate([this](os::TObject*, const media::TTerminateInfo& AInfo) {
        std::lock_guard<std::mutex> g(m_);
        records_.push_back({AInfo, os::CurrentThreadId()});
        if (AInfo.TaskIndex == -1) final_ = true;
    });
}

void Recorder::WaitFinal() {
    for (;;) {
        {
            std::lock_guard<std::mutex> g(m_);
            if (final_) return;
        }
        os::CheckSynchronize(5);
    }
}

void Recorder::Clear() {
    std::lock_guard<std::mutex> g(m_);
    records_.clear();
    final_ = false;
}

std::vector<Record> Recorder::Records() {
    std::lock_guard<std::mutex> g(m_);
    return records_;
}

std::vector<int> Recorder::Order() {
    std::vector<int> order;
    for (const Record& r : Records()) order.push_back(r.info.TaskIndex);
    return order;
}

FfconvertProcess::FfconvertProcess(const std::vector<std::string>& AArgs, rlim_t AFileSizeLimit) {
    std::vector<std::string> args = AArgs;
    args.insert(args.begin(), FFCONVERT_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::dup2(fds[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, STDERR_FILENO);
        const struct rlimit limit = {AFileSizeLimit, AFileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        // Past the limit a write fails with EFBIG instead of ending the process.
        ::signal(SIGXFSZ, SIG_IGN);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    fd_ = fds[0];
}

FfconvertProcess::~FfconvertProcess() {
    if (fd_ >= 0) ::close(fd_);
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

FfconvertProcess::Read FfconvertProcess::ReadSome(std::chrono::milliseconds ATimeout) {
    if (fd_ < 0) return Read::End;
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(ATimeout.count(), 0)));
    if (ready <= 0) return Read::Timeout;
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) return Read::Data;
    if (n <= 0) {
        ::close(fd_);
        fd_ = -1;
        if (!pending_.empty()) lines_.push_back(pending_);
        pending_.clear();
        return Read::End;
    }
    pending_.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
        lines_.push_back(pending_.substr(0, end));
        pending_.erase(0, end + 1);
    }
    return Read::Data;
}

bool FfconvertProcess::WaitForLine(const std::string& APrefix, std::chrono::milliseconds ATimeout) {
    const auto deadline = std::chrono::steady_clock::now() + ATimeout;
    for (;;) {
        for (; taken_ < lines_.size(); ++taken_)
            if (lines_[taken_].rfind(APrefix, 0) == 0) {
                ++taken_;
                return true;
            }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || ReadSome(left) == Read::End) return false;
    }
}

const std::vector<std::string>& FfconvertProcess::Lines() {
    while (ReadSome(std::chrono::milliseconds(0)) == Read::Data) {
    }
    return lines_;
}

void FfconvertProcess::Signal(int ASignal) {
    if (pid_ > 0) ::kill(pid_, ASignal);
}

int FfconvertProcess::Finish(std::chrono::milliseconds ATimeout) {
    const auto deadline = std::chrono::steady_clock::now() + ATimeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || ReadSome(left) == Read::End) break;
    }
    if (pid_ > 0) {
        if (fd_ >= 0) ::kill(pid_, SIGKILL); // still talking at the deadline
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return exit_code_;
}

std::vector<std::string> Starting(const std::vector<std::string>& ALines, const std::string& APrefix) {
    std::vector<std::string> out;
    for (const auto& l : ALines)
        if (l.rfind(APrefix, 0) == 0) out.push_back(l);
    return out;
}

fixtures::TempFolder& Folder() {
    static fixtures::TempFolder folder("converter");
    return folder;
}

const std::string& SourceClip() {
    static const std::string path = [] {
        fixtures::LoadMediaLibraries();
        fixtures::ClipOptions o;
        o.kind = fixtures::ClipKind::Mpg;
        o.seconds = 2.0;
        o.width = 160;
        o.height = 120;
        return fixtures::MakeClip(Folder(), o);
    }();
    return path;
}

} // namespace convtest

// The codec library is not built for ThreadSanitizer: the atomics with which
// its own slice and frame threads hand work to one another are invisible to
// it, so their memory looks unsynchronised.  Read only under ThreadSanitizer.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libavcodec.so\n";
}

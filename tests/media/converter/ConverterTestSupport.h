#pragma once
// Shared pieces of the task component tests: a recorder of termination
// records and progress, and the converter with its task list visible.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

#include "fixtures/Fixtures.h"
#include "media/FFmpegConverter.h"

namespace convtest {

class TestConverter : public media::TFFmpegConverter {
public:
    using media::TCustomFFmpegConverter::Tasks;
    using media::TFFmpegConverter::TFFmpegConverter;
};

struct Record {
    media::TTerminateInfo info;
    uint32_t thread = 0;
};

// Collects termination records; waits for the final one while running the
// GUI thread's synchronous calls.
class Recorder {
public:
    void Attach(media::TCustomFFmpegConverter& AConverter);
    void WaitFinal();
    // Forgets the records, for the next run.
    void Clear();
    std::vector<Record> Records();
    // The task indexes in arrival order (-1 for the final record).
    std::vector<int> Order();

private:
    std::mutex m_;
    std::vector<Record> records_;
    bool final_ = false;
};

// The ffconvert driver as a child process whose output lines are read as
// they come.  The destructor kills a child that is still running.
class FfconvertProcess {
public:
    // AFileSizeLimit: the child's limit on the size of any file it writes
    // (RLIMIT_FSIZE); writing past it fails with EFBIG.
    explicit FfconvertProcess(const std::vector<std::string>& AArgs, rlim_t AFileSizeLimit = RLIM_INFINITY);
    ~FfconvertProcess();
    FfconvertProcess(const FfconvertProcess&) = delete;
    FfconvertProcess& operator=(const FfconvertProcess&) = delete;

    // The one way these tests wait: until a line starting with APrefix
    // arrives after the lines already taken, or the deadline passes (false).
    bool WaitForLine(const std::string& APrefix,
                     std::chrono::milliseconds ATimeout = std::chrono::seconds(60));
    // Every line read so far, also those not yet taken.
    const std::vector<std::string>& Lines();
    void Signal(int ASignal);
    // Reads to the end of the output (at most ATimeout, then the child is
    // killed) and returns the exit code (-1 when it did not exit by itself).
    int Finish(std::chrono::milliseconds ATimeout = std::chrono::seconds(120));

private:
    enum class Read { Data, Timeout, End };
    // Reads what is there, waiting at most ATimeout for it.
    Read ReadSome(std::chrono::milliseconds ATimeout);

    pid_t pid_ = -1;
    int fd_ = -1;
    std::string pending_;
    std::vector<std::string> lines_;
    size_t taken_ = 0;
    int exit_code_ = -1;
};

// Lines of the list that start with the prefix.
std::vector<std::string> Starting(const std::vector<std::string>& ALines, const std::string& APrefix);

// Loads the libraries once and makes a short clip to convert.
const std::string& SourceClip();
fixtures::TempFolder& Folder();

} // namespace convtest

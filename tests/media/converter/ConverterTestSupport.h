#pragma once
// Shared pieces of the task component tests: a recorder of termination
// records and progress, and the converter with its task list visible.
#include <condition_variable>
#include <mutex>
#include <string>
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
    std::vector<Record> Records();
    // The task indexes in arrival order (-1 for the final record).
    std::vector<int> Order();

private:
    std::mutex m_;
    std::vector<Record> records_;
    bool final_ = false;
};

// Loads the libraries once and makes a short clip to convert.
const std::string& SourceClip();
fixtures::TempFolder& Folder();

} // namespace convtest

#include "app/LogMemo.h"

namespace app {

void TLogMemo::Append(const std::string& line) {
    if (lines_.size() == maxLines_) lines_.pop_front();
    lines_.push_back(line);
}

std::string LogLine(uint32_t threadId, int level, const std::string& message) {
    return "#" + std::to_string(threadId) + "." + std::to_string(level) + ": " + message;
}

} // namespace app

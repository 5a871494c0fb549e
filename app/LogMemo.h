#pragma once
// The main window's log: the media libraries' and components' messages and the window's own
// notes ("***..."), appended and never shown. It keeps the newest lines only, so a long
// session's chatty libraries cannot grow it without end.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace app {

class TLogMemo {
public:
    static constexpr size_t DefaultMaxLines = 10000;
    explicit TLogMemo(size_t maxLines = DefaultMaxLines) : maxLines_(maxLines == 0 ? 1 : maxLines) {}

    void Append(const std::string& line);
    size_t Count() const { return lines_.size(); }
    const std::string& Line(size_t index) const { return lines_[index]; }
    const std::string& Last() const { return lines_.back(); }
    size_t MaxLines() const { return maxLines_; }

private:
    size_t maxLines_;
    std::deque<std::string> lines_;
};

// "#", the thread id, ".", the level's number, ": " and the message: "#1234.5: abc".
std::string LogLine(uint32_t threadId, int level, const std::string& message);

} // namespace app

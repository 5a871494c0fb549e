#include "gui/StringStream.h"

namespace gui {

TStringStream::TStringStream(const std::string& s) {
    WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
    SetPosition(0);
}

std::string TStringStream::DataString() const {
    return std::string(reinterpret_cast<const char*>(Memory()), MemorySize());
}

} // namespace gui

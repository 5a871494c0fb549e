#include "gui/Stream.h"

#include <algorithm>
#include <vector>

namespace gui {

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 64 * 1024)));
    int64_t left = count;
    while (left > 0) {
        int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

int64_t TStream::Size() {
    int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

} // namespace gui

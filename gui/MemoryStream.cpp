#include "gui/MemoryStream.h"

#include "gui/FileStream.h"

#include <algorithm>
#include <cstring>

namespace gui {

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    int64_t size = Size();
    if (count <= 0 || pos_ >= size) return 0;
    int64_t n = std::min(count, size - pos_);
    std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    if (pos_ + count > Size()) data_.resize(static_cast<size_t>(pos_ + count));
    std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
    pos_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? pos_ : Size();
    pos_ = std::max<int64_t>(0, base + offset);
    return pos_;
}

void TMemoryStream::SetSize(int64_t newSize) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(0, newSize)));
    pos_ = std::min(pos_, Size());
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    int64_t count = stream.Size();
    SetSize(count);
    if (count != 0) stream.ReadBuffer(data_.data(), count);
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) const {
    if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

} // namespace gui

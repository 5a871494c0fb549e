#pragma once
// A stream over a block of memory that grows as it is written.
#include "gui/Stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gui {

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t newSize) override;
    void Clear();
    uint8_t* Memory() { return data_.data(); }
    const uint8_t* Memory() const { return data_.data(); }
    void LoadFromStream(TStream& stream); // the whole stream from its start
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

protected:
    size_t MemorySize() const { return data_.size(); }

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};

} // namespace gui

#pragma once
// A stream over a file.
#include "gui/Stream.h"

#include <cstdint>
#include <string>

namespace gui {

// Open modes.  The share bits are accepted and ignored: Linux has no mandatory file locks.
enum : uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream {
public:
    // fmCreate makes or empties the file (EFCreateError 'Cannot create file "%s". <reason>');
    // the open modes need an existing file (EFOpenError 'Cannot open file "%s". <reason>').
    TFileStream(const std::string& fileName, uint16_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    int fd_ = -1;
};

} // namespace gui

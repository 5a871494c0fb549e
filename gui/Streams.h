#pragma once
// Streams: the abstract byte stream, memory, file and string streams.
#include "gui/Fwd.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace gui {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EFileStreamError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};
class EFOpenError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;
    // Read and Write move what they can and return the count; the Buffer forms raise
    // EReadError "Stream read error" / EWriteError "Stream write error" when short.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from the source's position; 0 copies the whole source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t newSize) = 0;
};

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

class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const std::string& s = {});
    std::string DataString() const;
};

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

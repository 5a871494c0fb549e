#pragma once
// The abstract byte stream and the errors every stream raises.
#include "gui/Fwd.h"

#include <cstdint>
#include <stdexcept>

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

} // namespace gui

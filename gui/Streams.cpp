#include "gui/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

// --- TMemoryStream -------------------------------------------------------------------------

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

TStringStream::TStringStream(const std::string& s) {
    WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
    SetPosition(0);
}

std::string TStringStream::DataString() const {
    return std::string(reinterpret_cast<const char*>(Memory()), MemorySize());
}

// --- TFileStream ---------------------------------------------------------------------------

namespace {
std::string Reason(int err) {
    return std::generic_category().message(err);
}
} // namespace

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : fileName_(fileName) {
    if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
        fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + Reason(errno));
        return;
    }
    int access = (mode & 3) == fmOpenWrite ? O_WRONLY : (mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    fd_ = ::open(fileName.c_str(), access | O_CLOEXEC);
    if (fd_ < 0) throw EFOpenError("Cannot open file \"" + fileName + "\". " + Reason(errno));
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + Reason(EISDIR));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(fd_, p + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t done = 0;
    auto* p = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(fd_, p + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                 : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                    : SEEK_END;
    return static_cast<int64_t>(::lseek(fd_, static_cast<off_t>(offset), whence));
}

void TFileStream::SetSize(int64_t newSize) {
    int64_t pos = Position();
    if (::ftruncate(fd_, static_cast<off_t>(newSize)) != 0) throw EWriteError("Stream write error");
    if (pos > newSize) Seek(0, TSeekOrigin::soEnd);
}

} // namespace gui

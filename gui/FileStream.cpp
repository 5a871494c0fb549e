#include "gui/FileStream.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace gui {

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

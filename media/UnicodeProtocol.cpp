#include "media/UnicodeProtocol.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "media/AVApi.h"
#include "os/Text.h"

namespace media {
namespace {

const char kKnownPrefixes[] = ":unicode:stream:gopher:http:pipe:rtp:tcp:udp:";
const char kUnicodePrefix[] = "unicode:utf8:";
constexpr size_t kUnicodePrefixLength = sizeof(kUnicodePrefix) - 1;

std::atomic<bool> g_registered{false};
std::atomic<int> g_registrations{0};

} // namespace

bool NeedsUnicodeName(const std::string& name) {
    size_t colon = name.find(':');
    if (colon != std::string::npos) {
        std::string word = ":" + name.substr(0, colon) + ":";
        if (std::string(kKnownPrefixes).find(word) != std::string::npos) return false;
    }
    std::string local;
    return !os::Utf8ToLocale(name, local);
}

std::string EncodeUnicodeName(const std::string& name) {
    return kUnicodePrefix + name;
}

bool IsUnicodeName(const std::string& bytes) {
    return bytes.size() > kUnicodePrefixLength && bytes.compare(0, kUnicodePrefixLength, kUnicodePrefix) == 0;
}

std::string DecodeUnicodeName(const std::string& bytes) {
    std::string rest = bytes;
    for (int i = 0; i < 2; ++i) {
        size_t colon = rest.find(':');
        rest = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
    }
    return rest;
}

std::string LibraryFileName(const std::string& name) {
    // No length limit: a shortened name would name another file.
    return NeedsUnicodeName(name) ? EncodeUnicodeName(name) : name;
}

std::string DisplayFileName(const std::string& bytes) {
    if (IsUnicodeName(bytes)) return DecodeUnicodeName(bytes);
    return os::IsValidUtf8(bytes) ? bytes : os::LocaleToUtf8(bytes);
}

void RegisterUnicodeProtocol() {
    if (g_registered.exchange(true)) return;
    ++g_registrations;
}

void UnregisterUnicodeProtocol() {
    g_registered = false;
}

bool UnicodeProtocolRegistered() {
    return g_registered;
}

int UnicodeProtocolRegistrations() {
    return g_registrations;
}

int OpenUnicodeFile(const std::string& name, int flags) {
    int mode;
    if ((flags & AVIO_FLAG_READ_WRITE) == AVIO_FLAG_READ_WRITE)
        mode = O_RDWR | O_CREAT | O_TRUNC;
    else if (flags & AVIO_FLAG_WRITE)
        mode = O_WRONLY | O_CREAT | O_TRUNC;
    else
        mode = O_RDONLY;
    int fd;
    do fd = ::open(name.c_str(), mode | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}

int UnicodeOpen(TUnicodeFile& file, const char* libraryName, int flags) {
    file.Handle = OpenUnicodeFile(DecodeUnicodeName(libraryName ? libraryName : ""), flags);
    // The system's reason, so that "Permission denied" or "File name too
    // long" reach the user rather than a missing file.
    return file.Handle < 0 ? -errno : 0;
}

int UnicodeRead(TUnicodeFile& file, uint8_t* buffer, int size) {
    if (size < 0) return -1;
    ssize_t n;
    do n = ::read(file.Handle, buffer, static_cast<size_t>(size));
    while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : static_cast<int>(n);
}

int UnicodeWrite(TUnicodeFile& file, const uint8_t* buffer, int size) {
    if (size < 0) return -1;
    int done = 0;
    while (done < size) {
        ssize_t n = ::write(file.Handle, buffer + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return -1;
        done += static_cast<int>(n);
    }
    return done;
}

int64_t UnicodeSeek(TUnicodeFile& file, int64_t position, int whence) {
    if (whence & AVSEEK_SIZE) {
        struct stat st {};
        return ::fstat(file.Handle, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    }
    off_t r = ::lseek(file.Handle, static_cast<off_t>(position), whence & ~AVSEEK_FORCE);
    return r < 0 ? -1 : static_cast<int64_t>(r);
}

int UnicodeClose(TUnicodeFile& file) {
    if (file.Handle < 0) return 0;
    int r = ::close(file.Handle);
    file.Handle = -1;
    return r == 0 ? 1 : 0;
}

} // namespace media

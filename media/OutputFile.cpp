#include "media/OutputFile.h"

#include <cctype>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "media/UnicodeProtocol.h"

extern "C" {
#include <libavutil/error.h>
}

namespace media {
namespace {

constexpr char kFilePrefix[] = "file:";

// The part before the first ":" reads as a protocol name ("pipe", "http").
bool HasProtocol(const std::string& name) {
    const size_t colon = name.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    for (size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

int SystemError() {
    return AVERROR(errno);
}

} // namespace

std::string TOutputFile::LocalPath(const std::string& ALibraryName) {
    if (IsUnicodeName(ALibraryName)) return DecodeUnicodeName(ALibraryName);
    if (ALibraryName.rfind(kFilePrefix, 0) == 0) return ALibraryName.substr(sizeof(kFilePrefix) - 1);
    if (HasProtocol(ALibraryName)) return std::string();
    return ALibraryName;
}

int TOutputFile::CheckWritable(const std::string& APath) {
    if (APath.empty()) return AVERROR(ENOENT);
    struct stat st {};
    if (::stat(APath.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return AVERROR(EISDIR);
        // Devices and FIFOs are only looked at: opening one can have effects.
        if (S_ISREG(st.st_mode) && ::access(APath.c_str(), W_OK) != 0) return SystemError();
        return 0;
    }
    if (errno != ENOENT) return SystemError();
    // A new file: its folder has to exist and take a new entry.
    const std::string folder = FolderOf(APath);
    if (::stat(folder.c_str(), &st) != 0) return SystemError();
    if (!S_ISDIR(st.st_mode)) return AVERROR(ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return SystemError();
    return 0;
}

bool TOutputFile::SameFile(const std::string& APath1, const std::string& APath2) {
    if (APath1.empty() || APath2.empty()) return false;
    struct stat a {
    }, b{};
    return ::stat(APath1.c_str(), &a) == 0 && ::stat(APath2.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

void TOutputFile::BeforeOpen(const std::string& APath) {
    *this = TOutputFile{};
    path_ = APath;
    struct stat st {};
    // Anything at the name, a dangling symbolic link included, was not made
    // by this run.
    existed_ = APath.empty() || ::lstat(APath.c_str(), &st) == 0 || errno != ENOENT;
}

void TOutputFile::Opened() {
    opened_ = true;
    struct stat st {};
    if (path_.empty() || ::lstat(path_.c_str(), &st) != 0) return;
    regular_ = S_ISREG(st.st_mode);
    dev_ = st.st_dev;
    ino_ = st.st_ino;
}

bool TOutputFile::StillTheOpenedFile(off_t& ASize) const {
    if (!opened_ || !regular_) return false;
    struct stat st {};
    if (::lstat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_dev != dev_ || st.st_ino != ino_)
        return false;
    ASize = st.st_size;
    return true;
}

bool TOutputFile::RemoveIfCreatedAndEmpty() {
    off_t size = -1;
    if (existed_ || !StillTheOpenedFile(size) || size != 0) return false;
    return ::unlink(path_.c_str()) == 0;
}

bool TOutputFile::RemoveIfCreated() {
    off_t size = -1;
    if (existed_ || !StillTheOpenedFile(size)) return false;
    return ::unlink(path_.c_str()) == 0;
}

int TOutputFile::Standing() const {
    if (!opened_ || !regular_) return 0;
    struct stat st {};
    if (::lstat(path_.c_str(), &st) != 0) return SystemError();
    if (!S_ISREG(st.st_mode) || st.st_dev != dev_ || st.st_ino != ino_) return AVERROR(ESTALE);
    return 0;
}

bool TOutputFile::RemoveFragment() {
    off_t size = -1;
    if (!StillTheOpenedFile(size)) return false;
    return ::unlink(path_.c_str()) == 0;
}

} // namespace media

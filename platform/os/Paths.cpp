#include "os/Paths.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

std::string ExeFolder() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return IncludeTrailingPathDelimiter(CurrentDirectory());
    buf[n] = 0;
    return ExtractFilePath(buf);
}

std::string IncludeTrailingPathDelimiter(const std::string& s) {
    if (!s.empty() && s.back() == PathDelim) return s;
    return s + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& s) {
    std::string r = s;
    while (r.size() > 1 && r.back() == PathDelim) r.pop_back();
    return r;
}

std::string ExtractFilePath(const std::string& s) {
    auto p = s.rfind(PathDelim);
    return p == std::string::npos ? std::string() : s.substr(0, p + 1);
}

std::string ExtractFileName(const std::string& s) {
    auto p = s.rfind(PathDelim);
    return p == std::string::npos ? s : s.substr(p + 1);
}

std::string ExtractFileExt(const std::string& s) {
    auto slash = s.rfind(PathDelim);
    auto dot = s.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return s.substr(dot);
}

std::string ChangeFileExt(const std::string& s, const std::string& ext) {
    std::string e = ExtractFileExt(s);
    return s.substr(0, s.size() - e.size()) + ext;
}

std::string CurrentDirectory() {
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof(buf))) return {};
    return buf;
}

bool FileExists(const std::string& s) {
    struct stat st {};
    return ::stat(s.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& s) {
    struct stat st {};
    return ::stat(s.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& s) {
    std::string dir = ExcludeTrailingPathDelimiter(s);
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    std::string parent = ExcludeTrailingPathDelimiter(ExtractFilePath(dir));
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return ::mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST;
}

int64_t FileSize(const std::string& s) {
    struct stat st {};
    if (::stat(s.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool DeleteFileName(const std::string& s) {
    return ::unlink(s.c_str()) == 0;
}

} // namespace os

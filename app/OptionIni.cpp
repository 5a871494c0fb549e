#include "app/OptionIni.h"

#include "gui/IniFile.h"
#include "os/Paths.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {

TOptionIni::TOptionIni(std::string fileName, TLogSink log)
    : fileName_(std::move(fileName)), log_(std::move(log)) {}

bool TOptionIni::Exists() const {
    return os::FileExists(fileName_);
}

std::string TOptionIni::Read(const std::string& section, const std::string& key) const {
    try {
        gui::TIniFile ini(fileName_);
        return ini.ReadString(section, key, "Error");
    } catch (const std::exception&) {
        return "Error";
    }
}

bool TOptionIni::Write(const std::string& section, const std::string& key, const std::string& value) {
    try {
        gui::TIniFile ini(fileName_);
        ini.WriteString(section, key, value);
        return true;
    } catch (const std::exception& e) {
        Log("***Cannot write " + fileName_ + ": " + e.what());
        return false;
    }
}

std::string TOptionIni::Problem() const {
    struct stat st {};
    if (::stat(fileName_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
        int fd = ::open(fileName_.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd < 0) return std::strerror(errno);
        ::close(fd);
        return {};
    }
    if (errno != ENOENT) return std::strerror(errno);
    int fd = ::open(fileName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    ::unlink(fileName_.c_str());
    return {};
}

void TOptionIni::Log(const std::string& line) const {
    if (log_) log_(line);
}

} // namespace app

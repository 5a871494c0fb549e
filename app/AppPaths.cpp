#include "app/AppPaths.h"

#include "os/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace app {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string HomeFolder() {
    std::string home = Env("HOME");
    return home.empty() ? std::string("/tmp") : os::ExcludeTrailingPathDelimiter(home);
}

} // namespace

std::string OptionIniFileName() {
    std::string dir = Env("TARVIK_CONFIG_DIR");
    if (!dir.empty()) return os::IncludeTrailingPathDelimiter(dir) + "option.ini";
    std::string exe = os::ExeFolder();
    if (::access(exe.c_str(), W_OK) == 0) return exe + "option.ini";
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty()) config = HomeFolder() + "/.config";
    return os::IncludeTrailingPathDelimiter(config) + "tarvik/option.ini";
}

std::string DefaultOutputFolder() {
    return HomeFolder() + "/Tarvik视频软件/输出";
}

std::string DefaultSnapshotFolder() {
    return HomeFolder() + "/Tarvik视频软件/快照";
}

std::string ProgramFile(const std::string& relative) {
    std::string beside = os::ExeFolder() + relative;
    if (os::FileExists(beside)) return beside;
    // <prefix>/bin/tarvik finds <prefix>/share/tarvik/...
    std::string prefix = os::ExtractFilePath(os::ExcludeTrailingPathDelimiter(os::ExeFolder()));
    std::string shared = prefix + "share/tarvik/" + relative;
    if (os::FileExists(shared)) return shared;
    return beside;
}

std::string FolderWriteProblem(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec) return ec.message();
        if (!fs::is_directory(folder, ec)) return std::strerror(ENOTDIR);
    }
    // Asking for permission bits says nothing for root or a read-only mount: write a file.
    std::string probe = os::IncludeTrailingPathDelimiter(folder) + ".tarvik_XXXXXX";
    int fd = ::mkstemp(probe.data());
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

} // namespace app

#include "os/DesktopServices.h"

#include "os/Paths.h"
#include "os/Spawn.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sys/stat.h>
#include <vector>

namespace os {
namespace {

std::mutex g_soundLock;
pid_t g_soundPid = 0;

const char kFileManagerName[] = "org.freedesktop.FileManager1";

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// The session bus is there when its address is given, or when the usual socket of the
// user's runtime folder exists.
bool SessionBusPresent() {
    if (!Env("DBUS_SESSION_BUS_ADDRESS").empty()) return true;
    const std::string run = Env("XDG_RUNTIME_DIR");
    return !run.empty() && PathExists(run + "/bus");
}

// The bus starts a service on demand when one of the data folders holds a service file
// naming it; a file manager installs one for its freedesktop name.
bool ServiceRegistered(const std::string& name) {
    std::vector<std::string> dirs;
    std::string home = Env("XDG_DATA_HOME");
    if (home.empty() && !Env("HOME").empty()) home = Env("HOME") + "/.local/share";
    if (!home.empty()) dirs.push_back(home);
    std::string list = Env("XDG_DATA_DIRS");
    if (list.empty()) list = "/usr/local/share:/usr/share";
    for (size_t from = 0; from <= list.size();) {
        size_t to = list.find(':', from);
        if (to == std::string::npos) to = list.size();
        if (to > from) dirs.push_back(list.substr(from, to - from));
        from = to + 1;
    }
    const std::string wanted = "Name=" + name;
    for (const std::string& dir : dirs) {
        const std::string services = dir + "/dbus-1/services";
        if (!PathExists(services)) continue;
        // The usual file is named after the service; any other file may name it too.
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(services, ec)) {
            if (entry.path().extension() != ".service") continue;
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);) {
                while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
                if (line == wanted) return true;
            }
        }
    }
    return false;
}

// A file URI whose every byte outside the unreserved set and "/" is escaped, so that no
// name can break the argument it travels in (dbus-send splits arrays at commas).
std::string FileUri(const std::string& path) {
    std::string out = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

} // namespace

bool OpenWithDesktop(const std::string& target, const std::string& workDir) {
    if (target.empty()) return false;
    SpawnRequest r;
    // "--" is no option of xdg-open; a target starting with '-' goes as a
    // path that cannot be read as an option.
    r.argv = {"xdg-open", target[0] == '-' ? "./" + target : target};
    r.workDir = workDir;
    return SpawnDetached(r);
}

bool ShowItemPropertiesWithFileManager(const std::string& path) {
    if (path.empty() || path[0] != '/' || !SessionBusPresent() || !ServiceRegistered(kFileManagerName))
        return false;
    const std::string uri = FileUri(path);
    SpawnRequest r;
    if (!FindProgram("dbus-send").empty())
        r.argv = {"dbus-send",
                  "--session",
                  "--type=method_call",
                  std::string("--dest=") + kFileManagerName,
                  "/org/freedesktop/FileManager1",
                  std::string(kFileManagerName) + ".ShowItemProperties",
                  "array:string:" + uri,
                  "string:"};
    else if (!FindProgram("gdbus").empty())
        r.argv = {"gdbus",
                  "call",
                  "--session",
                  "--dest",
                  kFileManagerName,
                  "--object-path",
                  "/org/freedesktop/FileManager1",
                  "--method",
                  std::string(kFileManagerName) + ".ShowItemProperties",
                  "['" + uri + "']",
                  "''"};
    else
        return false;
    return SpawnDetached(r);
}

bool RequestPowerOff() {
    SpawnRequest r;
    if (!FindProgram("systemctl").empty())
        r.argv = {"systemctl", "poweroff"};
    else if (!FindProgram("dbus-send").empty())
        // interactive=true: login1 may ask the user for permission, and
        // refuses rather than forcing when others are logged in.
        r.argv = {"dbus-send",
                  "--system",
                  "--print-reply",
                  "--dest=org.freedesktop.login1",
                  "/org/freedesktop/login1",
                  "org.freedesktop.login1.Manager.PowerOff",
                  "boolean:true"};
    else
        return false;
    return SpawnDetached(r);
}

bool PlayWaveAsync(const std::string& file) {
    if (!FileExists(file)) return false;
    for (const char* player : {"pw-play", "paplay", "aplay"}) {
        if (FindProgram(player).empty()) continue;
        SpawnRequest r;
        r.argv = {player};
        if (std::string(player) == "aplay") r.argv.push_back("-q");
        r.argv.push_back(file);
        std::lock_guard<std::mutex> lock(g_soundLock);
        StopSpawned(g_soundPid);
        return SpawnDetached(r, &g_soundPid);
    }
    return false;
}

void StopSound() {
    std::lock_guard<std::mutex> lock(g_soundLock);
    StopSpawned(g_soundPid);
    g_soundPid = 0;
}

} // namespace os

#include "os/DesktopServices.h"

#include "os/Paths.h"
#include "os/Spawn.h"

#include <mutex>

namespace os {
namespace {

std::mutex g_soundLock;
pid_t g_soundPid = 0;

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

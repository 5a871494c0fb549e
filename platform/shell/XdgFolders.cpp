#include "shell/XdgFolders.h"

#include "shell/ShellTypes.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace shell {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string Trimmed(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

} // namespace

std::string XdgFolders::Home() {
    std::string h = Env("HOME");
    if (h.empty() || h[0] != '/') {
        if (passwd* pw = ::getpwuid(::getuid()))
            h = pw->pw_dir ? pw->pw_dir : "/";
        else
            h = "/";
    }
    return Trimmed(h);
}

std::string XdgFolders::DataHome() {
    std::string d = Env("XDG_DATA_HOME");
    return d.empty() || d[0] != '/' ? Home() + "/.local/share" : Trimmed(d);
}

std::string XdgFolders::ConfigHome() {
    std::string d = Env("XDG_CONFIG_HOME");
    return d.empty() || d[0] != '/' ? Home() + "/.config" : Trimmed(d);
}

std::string XdgFolders::UserDir(const std::string& key) {
    std::string home = Home();
    std::string found;
    std::ifstream in(ConfigHome() + "/user-dirs.dirs");
    const std::string prefix = "XDG_" + key + "_DIR=";
    for (std::string line; std::getline(in, line);) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        if (line.compare(start, prefix.size(), prefix) != 0) continue;
        std::string v = line.substr(start + prefix.size());
        if (v.size() < 2 || v.front() != '"' || v.back() != '"') continue;
        v = v.substr(1, v.size() - 2);
        std::string unescaped;
        for (size_t i = 0; i < v.size(); ++i) {
            if (v[i] == '\\' && i + 1 < v.size()) ++i;
            unescaped += v[i];
        }
        // Only "$HOME/..." and absolute paths are valid values.
        if (unescaped == "$HOME")
            found = home;
        else if (unescaped.compare(0, 6, "$HOME/") == 0)
            found = home + unescaped.substr(5);
        else if (!unescaped.empty() && unescaped[0] == '/')
            found = unescaped;
    }
    if (!found.empty()) return Trimmed(found);
    return key == "DESKTOP" ? home + "/Desktop" : home;
}

std::string XdgFolders::SpecialFolder(int csidl) {
    switch (csidl) {
    case CSIDL_DESKTOPDIRECTORY:
        return UserDir("DESKTOP");
    case CSIDL_PERSONAL:
        return UserDir("DOCUMENTS");
    case CSIDL_TEMPLATES:
        return UserDir("TEMPLATES");
    case CSIDL_APPDATA:
        return ConfigHome();
    case CSIDL_BITBUCKET:
        return DataHome() + "/Trash/files";
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU:
        return DataHome() + "/applications";
    case CSIDL_COMMON_PROGRAMS:
    case CSIDL_COMMON_STARTMENU:
        return "/usr/share/applications";
    case CSIDL_STARTUP:
        return ConfigHome() + "/autostart";
    case CSIDL_COMMON_STARTUP:
        return "/etc/xdg/autostart";
    case CSIDL_FONTS:
        return DataHome() + "/fonts";
    default:
        return {};
    }
}

} // namespace shell

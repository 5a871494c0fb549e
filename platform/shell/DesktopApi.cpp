#include "shell/DesktopApi.h"

#include "os/DesktopServices.h"

#include <cctype>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

// "scheme:" with a scheme of two letters or more, so "C:..." or a plain
// name with a colon later in it stays a file.
bool IsUrl(const std::string& s) {
    size_t colon = s.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    if (!std::isalpha(static_cast<unsigned char>(s[0]))) return false;
    for (size_t i = 1; i < colon; ++i) {
        char c = s[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

} // namespace

uintptr_t ShellExecute(HWND, const char* verb, const char* file, const char* parameters, const char* dir,
                       int) {
    if (!file || !*file) return SE_ERR_FNF;
    std::string v = verb ? verb : "open";
    if (v != "open" && v != "explore") return SE_ERR_NOASSOC;
    if (parameters && *parameters) return SE_ERR_NOASSOC;
    std::string target = file;
    std::string workDir = dir ? dir : "";
    if (!IsUrl(target)) {
        std::string resolved = target[0] == '/' || workDir.empty() ? target : workDir + "/" + target;
        struct stat st {};
        if (::stat(resolved.c_str(), &st) != 0) return SE_ERR_FNF;
    }
    return os::OpenWithDesktop(target, workDir) ? 42 : SE_ERR_NOASSOC;
}

BOOL ExitWindowsEx(UINT flags, DWORD) {
    if (!(flags & (EWX_SHUTDOWN | EWX_POWEROFF)) || (flags & EWX_REBOOT)) return FALSE;
    return os::RequestPowerOff() ? TRUE : FALSE;
}

BOOL PlaySound(const char* name, HINSTANCE, DWORD flags) {
    if (!name) {
        os::StopSound();
        return TRUE;
    }
    if (!(flags & SND_FILENAME)) return FALSE;
    return os::PlayWaveAsync(name) ? TRUE : FALSE;
}

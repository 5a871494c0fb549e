#include "os/DynLib.h"

#include <dlfcn.h>

namespace os {
namespace {
thread_local std::string t_lastError;
}

LibHandle LoadLib(const std::string& fileName) {
    dlerror();
    // RTLD_NODELETE: an unloaded library stays mapped, so a thread still inside
    // it (a conversion while the player's set fails) cannot crash.
    void* h = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    if (!h) {
        const char* e = dlerror();
        t_lastError = e ? e : "unknown error";
    }
    return h;
}

void FreeLib(LibHandle h) {
    if (h) ::dlclose(h);
}

void* LibSymbol(LibHandle h, const char* name) {
    dlerror();
    void* p = ::dlsym(h, name);
    if (!p) {
        const char* e = dlerror();
        t_lastError = e ? e : "undefined symbol";
    }
    return p;
}

std::string LastLibraryError() {
    return t_lastError;
}

} // namespace os

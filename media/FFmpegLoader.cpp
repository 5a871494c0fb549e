#include "media/FFmpegLoader.h"

#include <cstdlib>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/MediaErrors.h"
#include "media/SDLApi.h"
#include "media/UnicodeProtocol.h"
#include "os/Convert.h"
#include "os/Paths.h"

namespace media {
namespace {

const char* const kModule = "FFmpegLoader";

struct TLibraryItem {
    TLibrary Lib;
    const char* Name;
    int Version; // -1: no version in the file name
};

// Linux file names are lib<Name>.so.<Version>; the C runtime and SDL carry
// their own sonames.
const TLibraryItem kLibraryTable[LibraryCount] = {
    {TLibrary::avCodec,    "avcodec",    59},
    {TLibrary::avDevice,   "avdevice",   59},
    {TLibrary::avFilter,   "avfilter",   8 },
    {TLibrary::avFormat,   "avformat",   59},
    {TLibrary::avUtil,     "avutil",     57},
    {TLibrary::swScale,    "swscale",    6 },
    {TLibrary::swResample, "swresample", 4 },
    {TLibrary::myUtil,     "c",          6 },
    {TLibrary::lbSDL,      "SDL-1.2",    0 },
};

// The entry-point table takes its types from the headers the program is
// built with; they must be of the generation whose files the table names.
static_assert(LIBAVCODEC_VERSION_MAJOR == 59, "libavcodec headers of FFmpeg 5.1 (59.x) expected");
static_assert(LIBAVFILTER_VERSION_MAJOR == 8, "libavfilter headers of FFmpeg 5.1 (8.x) expected");
static_assert(LIBAVFORMAT_VERSION_MAJOR == 59, "libavformat headers of FFmpeg 5.1 (59.x) expected");
static_assert(LIBAVUTIL_VERSION_MAJOR == 57, "libavutil headers of FFmpeg 5.1 (57.x) expected");
static_assert(LIBSWSCALE_VERSION_MAJOR == 6, "libswscale headers of FFmpeg 5.1 (6.x) expected");
static_assert(LIBSWRESAMPLE_VERSION_MAJOR == 4, "libswresample headers of FFmpeg 5.1 (4.x) expected");
static_assert(SDL_MAJOR_VERSION == 1 && SDL_MINOR_VERSION == 2, "SDL 1.2 headers expected");

struct EntryPoint {
    TLibrary lib;
    const char* name;
    void** slot;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
const EntryPoint kEntryPoints[] = {
#define AV_FUNC(lib, name) {TLibrary::lib, #name, reinterpret_cast<void**>(&av::name)},
#include "media/entry/avcodec.inc"
#include "media/entry/avfilter.inc"
#include "media/entry/avformat.inc"
#include "media/entry/avutil.inc"
#include "media/entry/libc.inc"
#include "media/entry/swresample.inc"
#include "media/entry/swscale.inc"
#undef AV_FUNC
#define SDL_FUNC(name) {TLibrary::lbSDL, #name, reinterpret_cast<void**>(&sdl::name)},
#include "media/entry/sdl.inc"
#undef SDL_FUNC
};
#pragma GCC diagnostic pop

void AddToSearchPath(const std::string& folder) {
    const char* old = std::getenv("PATH");
    std::string path = old ? old : "";
    if (os::LowerCase(path).find(os::LowerCase(folder)) != std::string::npos) return;
    std::string updated = path.empty() ? folder : folder + ":" + path;
    ::setenv("PATH", updated.c_str(), 1);
}

} // namespace

TFFmpegLoader& FFLoader() {
    static TFFmpegLoader loader;
    return loader;
}

os::CriticalSection& CodecLock() {
    static os::CriticalSection lock;
    return lock;
}

std::string TFFmpegLoader::LibraryFileName(TLibrary lib) {
    const TLibraryItem& item = kLibraryTable[static_cast<int>(lib)];
    std::string name = std::string("lib") + item.Name + ".so";
    if (item.Version >= 0) name += "." + std::to_string(item.Version);
    return name;
}

os::LibHandle LoadLibraryFrom(const std::string& folder, const std::string& fileName, std::string& error) {
    os::LibHandle h;
    if (!folder.empty() && os::FileExists(os::IncludeTrailingPathDelimiter(folder) + fileName)) {
        // The program never changes the current directory (threads share it);
        // a library taken from the folder is opened by its full path.
        AddToSearchPath(os::ExcludeTrailingPathDelimiter(folder));
        h = os::LoadLib(os::IncludeTrailingPathDelimiter(folder) + fileName);
    } else {
        h = os::LoadLib(fileName);
    }
    if (!h) error = os::LastLibraryError();
    return h;
}

void BindFunction(os::LibHandle h, const std::string& fileName, const char* name, void** slot) {
    *slot = os::LibSymbol(h, name);
    if (!*slot)
        throw FFmpegException(os::FormatC("Load function %s@%s error: %s", name, fileName.c_str(),
                                          os::LastLibraryError().c_str()));
}

void BindVariable(os::LibHandle h, const std::string& fileName, const char* name, void** slot) {
    *slot = os::LibSymbol(h, name);
    if (!*slot)
        throw FFmpegException(os::FormatC("Load variable %s@%s error: %s", name, fileName.c_str(),
                                          os::LastLibraryError().c_str()));
}

bool TFFmpegLoader::Fixup(TLibrary lib, const std::string& fileName) {
    os::LibHandle h = status_[static_cast<int>(lib)].handle;
    for (const EntryPoint& e : kEntryPoints)
        if (e.lib == lib) BindFunction(h, fileName, e.name, e.slot);
    return true;
}

void TFFmpegLoader::Unfix(TLibrary lib) {
    for (const EntryPoint& e : kEntryPoints)
        if (e.lib == lib) *e.slot = nullptr;
}

bool TFFmpegLoader::Load(TLibrary lib) {
    Status& st = status_[static_cast<int>(lib)];
    std::string fileName = LibraryFileName(lib);
    if (!st.handle) {
        std::string folder = os::ExtractFilePath(fileName);
        if (folder.empty() && !libraryPath_.empty()) folder = os::IncludeTrailingPathDelimiter(libraryPath_);
        std::string error;
        st.handle = LoadLibraryFrom(folder, fileName, error);
        if (!st.handle) {
            lastErrMsg_ =
                os::FormatC("Load library %s error: %s", (folder + fileName).c_str(), error.c_str());
            return false;
        }
    }
    if (!st.fixuped) {
        try {
            st.fixuped = Fixup(lib, fileName);
        } catch (const std::exception& e) {
            lastErrMsg_ = e.what();
        }
    }
    if (!st.fixuped) {
        Unload(lib);
        return false;
    }
    if (lib == TLibrary::avUtil && InstallLogger) TFFLogger::InstallAVLogCallback();
    if (lib == TLibrary::avFormat) RegisterUnicodeProtocol();
    return true;
}

bool TFFmpegLoader::Load(TLibraries libs) {
    Check(!libs.Empty(), kModule);
    for (int i = 0; i < LibraryCount; ++i) {
        auto lib = static_cast<TLibrary>(i);
        if (libs.Has(lib) && !Load(lib)) {
            std::string msg = lastErrMsg_;
            Unload(libs);
            lastErrMsg_ = msg;
            return false;
        }
    }
    return true;
}

bool TFFmpegLoader::Loaded(TLibrary lib) const {
    const Status& st = status_[static_cast<int>(lib)];
    return st.handle && st.fixuped;
}

bool TFFmpegLoader::Loaded(TLibraries libs) const {
    Check(!libs.Empty(), kModule);
    for (int i = 0; i < LibraryCount; ++i)
        if (libs.Has(static_cast<TLibrary>(i)) && !Loaded(static_cast<TLibrary>(i))) return false;
    return true;
}

void TFFmpegLoader::Unload(TLibrary lib) {
    Status& st = status_[static_cast<int>(lib)];
    if (st.fixuped) {
        if (lib == TLibrary::avFormat) UnregisterUnicodeProtocol();
        Unfix(lib);
        st.fixuped = false;
    }
    if (st.handle) {
        os::FreeLib(st.handle);
        st.handle = nullptr;
    }
}

void TFFmpegLoader::Unload(TLibraries libs) {
    Check(!libs.Empty(), kModule);
    for (int i = 0; i < LibraryCount; ++i)
        if (libs.Has(static_cast<TLibrary>(i))) Unload(static_cast<TLibrary>(i));
}

} // namespace media

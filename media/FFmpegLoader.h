#pragma once
// Loads the media libraries at run time and binds their entry points.
// State is process-wide: one loader, one library folder, one status per library.
#include <atomic>
#include <string>

#include "media/MediaTypes.h"
#include "os/CriticalSection.h"
#include "os/DynLib.h"

namespace media {

class TFFmpegLoader {
public:
    bool Load(TLibrary lib);
    bool Load(TLibraries libs);
    bool Loaded(TLibrary lib) const;
    bool Loaded(TLibraries libs) const;
    void Unload(TLibrary lib);
    void Unload(TLibraries libs);

    const std::string& LibraryPath() const { return libraryPath_; }
    void SetLibraryPath(const std::string& path) { libraryPath_ = path; }
    const std::string& LastErrMsg() const { return lastErrMsg_; }
    bool InstallLogger = true;

    // "libavcodec.so.59", "libc.so.6", "libSDL-1.2.so.0", ...
    static std::string LibraryFileName(TLibrary lib);

private:
    struct Status {
        os::LibHandle handle = nullptr;
        std::atomic<bool> fixuped{false};
    };
    bool Fixup(TLibrary lib, const std::string& fileName);
    void Unfix(TLibrary lib);
    Status status_[LibraryCount];
    std::string libraryPath_;
    std::string lastErrMsg_;
};

TFFmpegLoader& FFLoader();

// Loads a library from a folder when the file is there (the folder goes to the
// front of "PATH" once per process), otherwise by its bare name.  nullptr on
// failure, with the system's text in error.
os::LibHandle LoadLibraryFrom(const std::string& folder, const std::string& fileName, std::string& error);

// Binds an entry point; a missing one raises FFmpegException with
// "Load function %s@%s error: %s" (or "Load variable ..." for variables).
void BindFunction(os::LibHandle h, const std::string& fileName, const char* name, void** slot);
void BindVariable(os::LibHandle h, const std::string& fileName, const char* name, void** slot);

// Serialises every codec open and close in the process, and the engine's
// reading of stream information.
os::CriticalSection& CodecLock();

} // namespace media

// The engine's side of the frame-hook libraries named by "vhook".
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegEncode.h"
#include "media/FFmpegLoader.h"
#include "media/VHook.h"
#include "os/CriticalSection.h"
#include "os/Paths.h"

namespace media {

struct TFrameHookEntry {
    TFrameHookEntry* next;
    TVHookConfigure Configure;
    TVHookProcess Process;
    TVHookRelease Release;
    void* ctx;
};

namespace {

// The hook libraries loaded in this process: each stays loaded until the
// process ends, and a file named by several hooks or tasks is loaded once.
struct LoadedHooks {
    os::CriticalSection lock;
    std::vector<std::pair<std::string, os::LibHandle>> libraries;
};

LoadedHooks& Hooks() {
    static LoadedHooks* hooks = new LoadedHooks; // never freed: the modules stay
    return *hooks;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The library of the named file, loaded on first use; nullptr with the
// system's text in error.
os::LibHandle HookLibrary(const std::string& fileName, std::string& error) {
    LoadedHooks& hooks = Hooks();
    os::CsLock lock(hooks.lock);
    for (const auto& [name, handle] : hooks.libraries)
        if (Upper(name) == Upper(fileName)) return handle;
    // A name with a folder is opened from that folder (the current directory
    // is never changed: threads share it); a bare name goes to the search.
    const std::string folder = os::ExtractFilePath(fileName);
    os::LibHandle handle = folder.empty() ? LoadLibraryFrom("", fileName, error)
                                          : LoadLibraryFrom(folder, os::ExtractFileName(fileName), error);
    if (handle) hooks.libraries.emplace_back(fileName, handle);
    return handle;
}

} // namespace

int TCustomFFmpeg::FrameHookAdd(const std::vector<std::string>& args) {
    if (args.empty()) return -2;
    std::string error;
    os::LibHandle module = HookLibrary(args[0], error);
    if (!module) {
        FFLogger().Log(this, llError, error + "\n");
        return -1;
    }
    auto* fhe = static_cast<TFrameHookEntry*>(av::av_mallocz(sizeof(TFrameHookEntry)));
    if (!fhe) return -12;
    fhe->Configure = reinterpret_cast<TVHookConfigure>(os::LibSymbol(module, "Configure"));
    fhe->Process = reinterpret_cast<TVHookProcess>(os::LibSymbol(module, "Process"));
    fhe->Release = reinterpret_cast<TVHookRelease>(os::LibSymbol(module, "Release"));
    if (!fhe->Process) {
        FFLogger().Log(this, llError, "Failed to find Process entrypoint in %s\n", args[0].c_str());
        av::av_free(fhe);
        return -2;
    }
    if (!fhe->Configure && args.size() > 1) {
        FFLogger().Log(this, llError, "Failed to find Configure entrypoint in %s\n", args[0].c_str());
        av::av_free(fhe);
        return -2;
    }
    if (args.size() > 1 || fhe->Configure) {
        // The hook's argument vector ends with a null entry, as a C main's does.
        std::vector<std::string> copies(args);
        std::vector<char*> argv;
        for (std::string& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (fhe->Configure(&fhe->ctx, static_cast<int>(args.size()), argv.data()) != 0) {
            FFLogger().Log(this, llError, "Failed to Configure %s\n", args[0].c_str());
            av::av_free(fhe);
            return -22;
        }
    }
    TFrameHookEntry** last = &FFirstHook;
    while (*last) last = &(*last)->next;
    *last = fhe;
    return 0;
}

void FrameHookProcess(TFrameHookEntry* AFirst, AVFrame* APicture, int64_t APTS) {
    TVHookPicture picture{};
    for (int i = 0; i < 4; ++i) {
        picture.data[i] = APicture->data[i];
        picture.linesize[i] = APicture->linesize[i];
    }
    for (TFrameHookEntry* fhe = AFirst; fhe; fhe = fhe->next)
        fhe->Process(fhe->ctx, &picture, APicture->format, APicture->width, APicture->height, APTS);
}

void TCustomFFmpeg::FrameHookRelease() {
    TFrameHookEntry* fhe = FFirstHook;
    FFirstHook = nullptr;
    while (fhe) {
        TFrameHookEntry* next = fhe->next;
        if (fhe->Release) fhe->Release(fhe->ctx);
        av::av_free(fhe);
        fhe = next;
    }
}

} // namespace media

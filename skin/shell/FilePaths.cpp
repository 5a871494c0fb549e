#include "skin/shell/FilePaths.h"

#include "gui/Canvas.h"
#include "shell/MountTable.h"

#include <filesystem>
#include <sys/stat.h>

namespace skin {

namespace {
constexpr int kPathNotFound = 3; // as the run-time library numbers a missing folder
}

EInOutError::EInOutError(int code, const std::string& path)
    : std::runtime_error("I/O error " + std::to_string(code) + ": " + path), ErrorCode(code) {}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string AppendPathPart(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

void CutFirstFolder(std::string& path) {
    if (path == "/") {
        path.clear();
        return;
    }
    bool lead = !path.empty() && path[0] == '/';
    if (lead) path.erase(0, 1);
    if (!path.empty() && path[0] == '.') path.erase(0, std::min<size_t>(4, path.size())); // an earlier ".../"
    size_t slash = path.find('/');
    if (slash != std::string::npos)
        path = ".../" + path.substr(slash + 1);
    else
        path.clear();
    if (lead) path.insert(0, "/");
}

std::string ShortenPathToWidth(const std::string& fileName, gui::TCanvas* canvas, int maxWidth) {
    std::string result = fileName;
    size_t slash = fileName.rfind('/');
    std::string folder = slash == std::string::npos ? "" : fileName.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    while (!folder.empty() && canvas->TextWidth(result) > maxWidth) {
        if (folder == "/.../")
            folder = ".../";
        else
            CutFirstFolder(folder);
        result = folder + name;
    }
    return result;
}

std::string VolumeLabelText(const std::string& mountPoint) {
    char label[261] = {};
    if (!GetVolumeInformation(mountPoint.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0))
        label[0] = 0;
    return "[" + std::string(label) + "]";
}

std::string NetworkVolumeText(const std::string& mountPoint) {
    char remote[261] = {};
    DWORD size = sizeof remote;
    if (WNetGetConnection(mountPoint.c_str(), remote, &size) == NO_ERROR) return remote;
    return VolumeLabelText(mountPoint);
}

void SplitFileSpec(const std::string& typed, const std::string& base, std::string& mountPoint,
                   std::string& folder, std::string& file) {
    namespace fs = std::filesystem;
    std::string text = typed;
    // A volume as the drive box shows it: "[label]" stands for its mount point.
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        std::string label = text.substr(1, text.size() - 2);
        for (const shell::Volume& v : shell::MountTable::Volumes())
            if (v.label == label) text = v.mountPoint;
    }
    fs::path p = text.empty() || text[0] != '/' ? fs::path(base) / text : fs::path(text);
    p = p.lexically_normal();
    std::string full = p.string();
    if (full.size() > 1 && full.back() == '/') full.pop_back();
    size_t slash = full.rfind('/');
    folder = slash == 0 ? "/" : full.substr(0, slash);
    file = full.substr(slash + 1);
    if (!FolderExists(folder)) throw EInOutError(kPathNotFound, folder);
    if (!file.empty() && file.find_first_of("*?") == std::string::npos) {
        std::string whole = AppendPathPart(folder, file);
        struct stat st {};
        bool isFile = ::stat(whole.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
        if (!isFile) {
            if (!FolderExists(whole)) throw EInOutError(kPathNotFound, whole);
            folder = whole;
            file.clear();
        }
    }
    mountPoint = shell::MountTable::VolumeOf(folder).mountPoint;
}

} // namespace skin

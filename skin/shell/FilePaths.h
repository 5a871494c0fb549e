#pragma once
// The path routines of the file-system controls and dialogs: a folder test, joining and
// shortening of paths, volume names of mount points, and the reading of a typed path.
// None of them changes the program's current folder: a typed path is read against a folder
// the caller names.
#include <stdexcept>
#include <string>

namespace gui {
class TCanvas;
}

namespace skin {

// A folder that cannot be entered, as the run-time library reports it.
class EInOutError : public std::runtime_error {
public:
    EInOutError(int code, const std::string& path);
    int ErrorCode;
};

// True for an existing folder (links followed); false for files and anything unreadable.
bool FolderExists(const std::string& path);
// folder and name with one "/" between them.
std::string AppendPathPart(const std::string& folder, const std::string& name);
// Drops the first folder of path, leaving ".../" where it cut.
void CutFirstFolder(std::string& path);
// The path with leading folders replaced by ".../" until the canvas draws it within
// maxWidth; the name part is never shortened.
std::string ShortenPathToWidth(const std::string& fileName, gui::TCanvas* canvas, int maxWidth);
// "[label]" of the volume mounted at mountPoint, "[]" when it has none.
std::string VolumeLabelText(const std::string& mountPoint);
// The remote name of a network volume, else VolumeLabelText.
std::string NetworkVolumeText(const std::string& mountPoint);
// Reads typed text against the folder base: mountPoint the volume holding the result,
// folder an absolute existing folder, file the rest (a name or a pattern).  A typed name of
// an existing folder is that folder with an empty file part.  EInOutError when the folder
// part does not exist.
void SplitFileSpec(const std::string& typed, const std::string& base, std::string& mountPoint,
                   std::string& folder, std::string& file);

} // namespace skin

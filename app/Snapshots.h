#pragma once
// Snapshots of the preview: the folder and picture type kept in the [SnapShot] section of
// option.ini, the numbered file names, and the picture written in the chosen type.
#include <string>

namespace media {
class TFrameBitmap;
}

namespace app {

class TOptionIni;

inline constexpr const char* kSnapshotSection = "SnapShot";

// The snapshot folder, created with its parents when missing. A missing or empty "Dir" (or no
// option.ini) gives the default folder, which is then written as "Dir".
std::string SnapshotFolder(TOptionIni& ini);
// "BMP", "JPG", "GIF" or "PNG"; any other stored text (compared case-sensitively) is replaced
// by "BMP", which is written back.
std::string SnapshotPictureType(TOptionIni& ini);
// folder/<file name without folder and extension>_n.<type>, n the smallest from 1 up whose file
// does not exist yet.
std::string SnapshotFileName(const std::string& AFolder, const std::string& AMovieFile,
                             const std::string& AType);
// Writes the picture in the type; false with a reason when it cannot be written.
bool SaveSnapshot(const media::TFrameBitmap& APicture, const std::string& AFileName, const std::string& AType,
                  std::string& AError);

} // namespace app

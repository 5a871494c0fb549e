#include "app/Snapshots.h"

#include "app/AppPaths.h"
#include "app/OptionIni.h"
#include "gdi/image/ImageFile.h"
#include "media/FrameBitmap.h"
#include "os/Paths.h"

#include <filesystem>
#include <system_error>

namespace app {

namespace {

gdi::image::ImageFormat FormatOf(const std::string& type) {
    if (type == "JPG") return gdi::image::ImageFormat::Jpeg;
    if (type == "GIF") return gdi::image::ImageFormat::Gif;
    if (type == "PNG") return gdi::image::ImageFormat::Png;
    return gdi::image::ImageFormat::Bmp;
}

std::string ExtensionOf(const std::string& type) {
    if (type == "JPG") return "jpg";
    if (type == "GIF") return "gif";
    if (type == "PNG") return "png";
    return "bmp";
}

} // namespace

std::string SnapshotFolder(TOptionIni& ini) {
    if (ini.Exists()) {
        std::string dir = ini.Read(kSnapshotSection, "Dir");
        if (!IsMissing(dir)) {
            if (!os::DirectoryExists(dir)) os::ForceDirectories(dir);
            return dir;
        }
    }
    std::string dir = DefaultSnapshotFolder();
    if (!os::DirectoryExists(dir)) os::ForceDirectories(dir);
    ini.Write(kSnapshotSection, "Dir", dir);
    return dir;
}

std::string SnapshotPictureType(TOptionIni& ini) {
    if (ini.Exists()) {
        std::string type = ini.Read(kSnapshotSection, "Picture");
        if (type == "BMP" || type == "JPG" || type == "GIF" || type == "PNG") return type;
    }
    ini.Write(kSnapshotSection, "Picture", "BMP");
    return "BMP";
}

std::string SnapshotFileName(const std::string& AFolder, const std::string& AMovieFile,
                             const std::string& AType) {
    const std::string stem = os::IncludeTrailingPathDelimiter(AFolder) +
                             os::ChangeFileExt(os::ExtractFileName(AMovieFile), "") + "_";
    const std::string extension = "." + ExtensionOf(AType);
    for (int n = 1;; ++n) {
        std::string name = stem + std::to_string(n) + extension;
        std::error_code ec;
        // A dangling link or a folder of that name takes the number as well: writing there fails.
        if (!std::filesystem::exists(std::filesystem::symlink_status(name, ec))) return name;
    }
}

bool SaveSnapshot(const media::TFrameBitmap& APicture, const std::string& AFileName, const std::string& AType,
                  std::string& AError) {
    gdi::image::Image image;
    image.Reset(APicture.Width(), APicture.Height());
    for (int y = 0; y < APicture.Height(); ++y) {
        const uint8_t* row = APicture.ScanLine(y);
        for (int x = 0; x < APicture.Width(); ++x)
            image.At(x, y) = gdi::image::MakeBgra(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    gdi::image::ImageSaveOptions options; // JPEG quality 90
    return gdi::image::SaveImageFile(AFileName, image, FormatOf(AType), options, AError);
}

} // namespace app

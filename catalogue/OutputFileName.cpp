#include "catalogue/OutputFileName.h"

#include "catalogue/EncodingParameters.h"
#include "os/Convert.h"
#include "os/Paths.h"

#include <filesystem>
#include <system_error>

namespace catalogue {

bool SameFileOnDisk(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

std::string OutputFileName(const std::string& folder, const std::string& inputFile, int key, bool overwrite,
                           const TFileExists& fileExists, const TSameFile& sameFile) {
    std::string ext = NameExtOf(key);
    if (ext.empty()) return {};
    return OutputFileNameWithExt(folder, inputFile, ext, overwrite, fileExists, sameFile);
}

std::string OutputFileNameWithExt(const std::string& folder, const std::string& inputFile,
                                  const std::string& ext, bool overwrite, const TFileExists& fileExists,
                                  const TSameFile& sameFile) {
    std::string name = os::ExtractFileName(inputFile);
    std::string base = folder + os::PathDelim + name.substr(0, name.size() - os::ExtractFileExt(name).size());
    auto taken = [&](const std::string& candidate) {
        return fileExists(candidate) && (!overwrite || sameFile(candidate, inputFile));
    };
    std::string candidate = base + ext;
    for (int n = 1; taken(candidate); ++n) candidate = base + "_" + os::FormatC("%d", n) + ext;
    return candidate;
}

} // namespace catalogue

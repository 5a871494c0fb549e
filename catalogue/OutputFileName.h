#pragma once
// Naming the output file of an input being added.
#include <functional>
#include <string>

namespace catalogue {

using TFileExists = std::function<bool(const std::string& path)>;
using TSameFile = std::function<bool(const std::string& a, const std::string& b)>;

// True when both names reach one existing file (links and "//" included).
bool SameFileOnDisk(const std::string& a, const std::string& b);

// The output folder, "/", and the input's file name with its extension (from the last dot)
// replaced by the key's name extension, or that extension appended when it has none. The folder
// text is used as it stands. While a file of that name exists and overwriting is off, the name
// becomes base + "_1" + ext, "_2", ... (the first free one); only files on disk count.
// Even with overwriting on, a name that is the input itself is passed over in the same way, so
// a conversion never writes over its own input. Empty for a key that is not in the catalogue.
std::string OutputFileName(const std::string& folder, const std::string& inputFile, int key, bool overwrite,
                           const TFileExists& fileExists, const TSameFile& sameFile = SameFileOnDisk);
// The same rule with the name's extension given ("." included; empty keeps none).
std::string OutputFileNameWithExt(const std::string& folder, const std::string& inputFile,
                                  const std::string& ext, bool overwrite, const TFileExists& fileExists,
                                  const TSameFile& sameFile = SameFileOnDisk);

} // namespace catalogue

#include "app/OutputNames.h"

#include "os/Paths.h"

#include <algorithm>

namespace app {

namespace {

bool Taken(const std::vector<std::string>& taken, const std::string& name) {
    return std::find(taken.begin(), taken.end(), name) != taken.end();
}

} // namespace

std::string UniqueOutputName(const std::string& folder, const std::string& name,
                             const std::vector<std::string>& taken, bool overwrite,
                             const TNameExists& exists) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    auto busy = [&](const std::string& candidate) {
        return Taken(taken, candidate) || (!overwrite && exists && exists(dir + candidate));
    };
    if (!busy(name)) return name;
    std::string ext = os::ExtractFileExt(name);
    std::string base = name.substr(0, name.size() - ext.size());
    for (int n = 1;; ++n) {
        std::string candidate = base + "_" + std::to_string(n) + ext;
        if (!busy(candidate)) return candidate;
    }
}

std::string RenameRefusal(const std::string& text, const std::string& newName,
                          const std::vector<std::string>& taken) {
    if (text.empty()) return kRenameEmpty;
    bool control = std::any_of(text.begin(), text.end(),
                               [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
    // The name is joined to the output folder: a separator or ".." would write elsewhere.
    if (control || text.find('/') != std::string::npos || text.find("..") != std::string::npos || text == ".")
        return kRenameBadText;
    if (Taken(taken, newName)) return kRenameTaken;
    return {};
}

} // namespace app

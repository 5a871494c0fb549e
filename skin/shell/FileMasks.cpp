#include "skin/shell/FileMasks.h"

#include "gui/SysUtils.h"

namespace skin {

namespace {

std::string Trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

} // namespace

bool MaskListAccepts(const std::string& name, const std::string& maskList) {
    size_t start = 0;
    for (;;) {
        size_t end = maskList.find_first_of(";|", start);
        const std::string mask =
            Trimmed(maskList.substr(start, end == std::string::npos ? end : end - start));
        if (mask == "*") return true;
        if (mask.find('.') != std::string::npos && gui::MatchesMask(name, mask)) return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

std::string NameExtension(const std::string& name) {
    size_t dot = name.rfind('.');
    size_t slash = name.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return name.substr(dot);
}

std::string FilterExtension(const std::string& mask) {
    if (mask.find(".*") != std::string::npos) return {};
    return NameExtension(mask.substr(0, mask.find(';')));
}

} // namespace skin

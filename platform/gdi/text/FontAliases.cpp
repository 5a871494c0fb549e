#include "gdi/text/FontAliases.h"

#include "os/Convert.h"

namespace gdi::text {
namespace {

struct Alias {
    const char* windowsName;
    const char* family;
};

constexpr Alias kAliases[] = {
    {"Tahoma",        "DejaVu Sans"        },
    {"Arial",         "DejaVu Sans"        },
    {"MS Sans Serif", "DejaVu Sans"        },
    {"宋体",        "WenQuanYi Micro Hei"},
    {"SimSun",        "WenQuanYi Micro Hei"},
    {"微软雅黑",  "WenQuanYi Micro Hei"},
};

} // namespace

std::string ResolveFaceAlias(std::string_view faceName) {
    std::string name = os::Trim(std::string(faceName));
    for (const Alias& a : kAliases)
        if (os::SameText(name, a.windowsName)) return a.family;
    return name;
}

} // namespace gdi::text

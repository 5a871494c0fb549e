#pragma once
// Windows face names the skins and forms use, mapped to the faces the
// project installs.  Names not in the table go to fontconfig unchanged.
#include <string>
#include <string_view>

namespace gdi::text {

std::string ResolveFaceAlias(std::string_view faceName);

// The face every missing glyph is taken from.
inline constexpr const char* kCjkFallbackFamily = "WenQuanYi Micro Hei";

} // namespace gdi::text

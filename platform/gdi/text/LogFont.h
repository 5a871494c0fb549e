#pragma once
// A font as the program asks for it, and the metrics it gets back.
#include <cstdint>
#include <string>

namespace gdi::text {

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

struct LogFont {
    // A Windows face name ("Tahoma", "宋体", ...); mapped through the alias
    // table, then fontconfig.  Empty: fontconfig's default sans face.
    std::string faceName;
    // Windows sign rule: negative = character (em) height in pixels,
    // positive = cell height including internal leading, 0 = default size.
    int height = 0;
    int weight = FW_NORMAL; // 0 counts as normal; 600 and above is bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // Kept and reported, never used to choose glyphs: every face falls back
    // per character to the CJK face anyway.
    uint8_t charSet = 1;

    bool operator==(const LogFont&) const = default;
};

struct TextMetrics {
    int height = 0; // ascent + descent: the cell height
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0; // cell height minus em height
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underlined = false;
    bool struckOut = false;
    uint8_t charSet = 1;
};

} // namespace gdi::text

#pragma once
// The small value types of skin descriptors and the messages of the skin-change broadcast.
#include <cstdint>

namespace skin {

// Platform colour value: 0x00BBGGRR, or 0xFF000000 plus a system colour index.
using TColor = int32_t;

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

// A rectangle with no area: the skin leaves that look or part out.
inline bool Empty(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

struct TPoint {
    int32_t X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) {
    return {l, t, r, b};
}
inline TPoint Point(int32_t x, int32_t y) {
    return {x, y};
}

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t; // a set of TFontStyle bits

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TbsStretchType { bsstFull, bsstHorz, bsstVert };
enum class TbsMorphKind {
    mkDefault,
    mkGradient,
    mkLeftGradient,
    mkRightGradient,
    mkLeftSlide,
    mkRightSlide,
    mkPush
};
enum class TbsInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
enum class TbsStdCommand {
    cmClose,
    cmMaximize,
    cmMinimize,
    cmSysMenu,
    cmDefault,
    cmRollUp,
    cmMinimizeToTray
};

// Sent to forms with the sending skin data as the first parameter and 1000 as the second.
inline constexpr uint32_t WM_BEFORECHANGESKINDATA = 1225;
inline constexpr uint32_t WM_CHANGESKINDATA = 1226;
inline constexpr uint32_t WM_AFTERCHANGESKINDATA = 1227;
inline constexpr uint32_t WM_CHANGERESSTRDATA = 1274;
inline constexpr uint32_t WM_CHANGEFORMSKINNABLE = 1294;
inline constexpr uint32_t WM_SHOWLAYEREDBORDERS = 1427;
inline constexpr intptr_t kSkinMessageLParam = 1000;

} // namespace skin

#pragma once
// The nine pixel routines every 32-bit bitmap operation runs through.  The slots are filled
// once at start-up; the two blending slots take the plain or the MMX arithmetic, chosen by
// the processor test, and every skinned pixel follows from that choice.
#include <cstdint>

namespace skin {

// 0xAARRGGBB, blue byte first in memory, alpha not premultiplied (0 transparent).
using TbsColor = uint32_t;
// Low 24 bits of the transparent key colour: RGB 127, 0, 127.
inline constexpr TbsColor kKeyColor = 0x7F007F;

struct TbsPixelRoutines {
    TbsColor (*BlendPixel)(TbsColor fore, TbsColor back) = nullptr;
    void (*BlendLine)(const TbsColor* src, TbsColor* dst, int count) = nullptr;
    void (*CopyLineKeyed)(const TbsColor* src, TbsColor* dst, int count) = nullptr;
    void (*CopyLine)(const TbsColor* src, TbsColor* dst, int count) = nullptr;
    void (*FillLine)(TbsColor* dst, int count, TbsColor value) = nullptr;
    // The rectangle's corners are inclusive; height is not read.
    void (*FillPixelRect)(TbsColor* bits, int width, int height, int x1, int y1, int x2, int y2,
                          TbsColor value) = nullptr;
    void (*SetAlphaLine)(TbsColor* dst, int count, uint8_t alpha) = nullptr;
    void (*SetAlphaRect)(TbsColor* bits, int width, int height, int x1, int y1, int x2, int y2,
                         uint8_t alpha) = nullptr;
    void (*ClearAlphaOfColor)(TbsColor* dst, int count, TbsColor color) = nullptr;
};

// The table in use; filled by InitPixelRoutines.
extern TbsPixelRoutines bsPixel;

// Fills the table; the blending slots take the MMX arithmetic when useMmx is set.
void FillPixelRoutines(bool useMmx);
// Fills the table from the processor test and returns its answer.
bool InitPixelRoutines();

// The two arithmetic sets, reachable by name for callers that need one of them.
TbsColor PlainBlendPixel(TbsColor fore, TbsColor back);
TbsColor MmxBlendPixel(TbsColor fore, TbsColor back);

} // namespace skin

#pragma once
// The few plain types the text library shares with its callers.  They are
// kept here rather than taken from the device-context layer so that the text
// library stands alone below it.
#include <cstdint>

namespace gdi::text {

// Right and bottom exclusive, as a Win32 RECT.
struct TextRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const TextRect&) const = default;
};

struct TextSize {
    int cx = 0, cy = 0;
    bool operator==(const TextSize&) const = default;
};

// A 32-bit BGRA pixel buffer as a DIB section holds it.  `bits` is the first
// byte of the buffer in memory; a negative stride says the rows are stored
// bottom-up (the top row is the last one in memory), as in a DIB whose
// header height is positive.
struct TextSurface {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0; // bytes from one row to the next; its sign gives the row order

    uint32_t* Row(int y) const {
        int rowIndex = stride < 0 ? height - 1 - y : y;
        int step = stride < 0 ? -stride : stride;
        return reinterpret_cast<uint32_t*>(bits + static_cast<intptr_t>(rowIndex) * step);
    }
};

// 0x00BBGGRR.
using TextColor = uint32_t;

} // namespace gdi::text

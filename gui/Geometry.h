#pragma once
// Rectangles, points and sizes: the window system's own, under the class library's names.
#include "gdi/GdiTypes.h"

namespace gui {

using TRect = RECT;
using TPoint = POINT;
using TSize = SIZE;

inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
inline TPoint Point(int x, int y) {
    return {x, y};
}
inline int RectWidth(const TRect& r) {
    return r.right - r.left;
}
inline int RectHeight(const TRect& r) {
    return r.bottom - r.top;
}

} // namespace gui

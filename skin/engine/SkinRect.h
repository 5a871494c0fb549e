#pragma once
// The skin's rectangle and point types (descriptor fields) and the class library's, one way
// and the other.
#include "gui/Graphics.h"
#include "skin/core/SkinTypes.h"

namespace skin {

inline gui::TRect ToGuiRect(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}
inline TRect ToSkinRect(const gui::TRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline gui::TPoint ToGuiPoint(const TPoint& p) {
    return {p.X, p.Y};
}
inline TPoint ToSkinPoint(const gui::TPoint& p) {
    return {p.x, p.y};
}

// Frame (1-based) of an animation strip of Count frames: laid down the strip when it is taller
// than one look of RowHeight, else across it.
inline TRect AnimationFrameRect(const TRect& Strip, int Count, int RowHeight, int Frame) {
    int n = Count > 0 ? Count : 1;
    if (Strip.Height() > RowHeight) {
        int fh = Strip.Height() / n;
        return {Strip.Left, Strip.Top + (Frame - 1) * fh, Strip.Right, Strip.Top + Frame * fh};
    }
    int fw = Strip.Width() / n;
    return {Strip.Left + (Frame - 1) * fw, Strip.Top, Strip.Left + Frame * fw, Strip.Bottom};
}

} // namespace skin

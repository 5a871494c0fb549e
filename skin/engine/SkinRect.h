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

} // namespace skin

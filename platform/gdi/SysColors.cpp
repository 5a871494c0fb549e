#include "gdi/SysColors.h"

#include "gdi/Objects.h"

#include <mutex>

namespace {
constexpr int kCount = 31;
constexpr COLORREF kColors[kCount] = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219), RGB(240, 240, 240),
    RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(180, 180, 180), RGB(244, 247, 252), RGB(171, 171, 171), RGB(51, 153, 255),  RGB(255, 255, 255),
    RGB(240, 240, 240), RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(67, 78, 84),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234), RGB(215, 228, 242), RGB(51, 153, 255),
    RGB(240, 240, 240),
};
} // namespace

COLORREF GetSysColor(int index) {
    return index >= 0 && index < kCount ? kColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    static HBRUSH brushes[kCount] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 0; i < kCount; ++i) {
            auto b = std::make_unique<gdi::Brush>();
            b->color = kColors[i];
            b->stock = true;
            brushes[i] = static_cast<HBRUSH>(gdi::AddObject(std::move(b)));
        }
    });
    return index >= 0 && index < kCount ? brushes[index] : nullptr;
}

#include "skin/engine/MaskRegion.h"

#include "gdi/Objects.h"
#include "skin/engine/FBitmap.h"
#include "skin/engine/NinePart.h"

#include <cstring>

namespace skin {

uint32_t MaskToRegionRects(gui::TBitmap* Mask, int X, int Y, std::vector<uint8_t>& Block) {
    Block.clear();
    if (!Mask || Mask->Empty()) return 0;
    TbsFBitmap f(Mask->Handle());
    std::vector<RECT> runs;
    for (int y = 0; y < f.Height; ++y) {
        const uint8_t* row = f.Pixels[static_cast<size_t>(y)];
        auto black = [&](int x) { return row[x * 3] == 0 && row[x * 3 + 1] == 0 && row[x * 3 + 2] == 0; };
        for (int x = 0; x < f.Width;) {
            if (!black(x)) {
                ++x;
                continue;
            }
            int x0 = x;
            while (x < f.Width && black(x)) ++x;
            runs.push_back({x0 + X, y + Y, x + X, y + 1 + Y});
        }
    }
    uint32_t size = static_cast<uint32_t>(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    Block.assign(size, 0);
    RGNDATAHEADER h{
        sizeof(RGNDATAHEADER),
        RDH_RECTANGLES,
        static_cast<DWORD>(runs.size()),
        0,
        {X, Y, X + f.Width, Y + f.Height}
    };
    std::memcpy(Block.data(), &h, sizeof h);
    if (!runs.empty()) std::memcpy(Block.data() + sizeof h, runs.data(), runs.size() * sizeof(RECT));
    return size;
}

namespace {
HRGN RegionOfMask(gui::TBitmap* mask, int x, int y) {
    std::vector<uint8_t> block;
    uint32_t size = MaskToRegionRects(mask, x, y, block);
    if (!size) return nullptr;
    return ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(block.data()));
}
} // namespace

HRGN CreateMaskRegion(gui::TBitmap* Mask) {
    return RegionOfMask(Mask, 0, 0);
}

HRGN CreateNinePartMaskRegion(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect ClRect, TPoint NLT,
                              TPoint NRT, TPoint NLB, TPoint NRB, TRect NCR, gui::TBitmap* Mask, int W,
                              int H) {
    if (NRT.X < NLT.X || NLB.Y < NLT.Y) return nullptr;
    gui::TBitmap top, left, right, bottom;
    BuildBorderMaskImages(LT, RT, LB, RB, ClRect, NLT, NRT, NLB, NRB, NCR, Mask, &top, &left, &right, &bottom,
                          W, H);
    // Whatever parts exist are united; an empty client adds nothing.
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    auto unite = [&](HRGN part) {
        if (!part) return;
        CombineRgn(result, result, part, RGN_OR);
        DeleteObject(part);
    };
    unite(RegionOfMask(&top, 0, 0));
    unite(RegionOfMask(&bottom, 0, NCR.Bottom));
    unite(RegionOfMask(&left, 0, NCR.Top));
    unite(RegionOfMask(&right, NCR.Right, NCR.Top));
    if (NCR.Width() > 0 && NCR.Height() > 0) unite(CreateRectRgn(NCR.Left, NCR.Top, NCR.Right, NCR.Bottom));
    RECT box;
    if (GetRgnBox(result, &box) == NULLREGION) {
        DeleteObject(result);
        return nullptr;
    }
    return result;
}

} // namespace skin

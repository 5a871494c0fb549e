#include "skin/engine/BitmapLink.h"

#include "skin/engine/DrawUtils.h"
#include "skin/engine/SkinBitmap.h"

namespace skin {

void TbsBitmapLink::Assign(const gui::TPersistent* Source) {
    if (auto* l = dynamic_cast<const TbsBitmapLink*>(Source)) {
        Image = l->Image, Rect = l->Rect, Name = l->Name;
        Masked = l->Masked, MaskedBorder = l->MaskedBorder, MaskedAngles = l->MaskedAngles;
        return;
    }
    gui::TPersistent::Assign(Source);
}

bool TbsBitmapLink::Assigned() const {
    return Image && static_cast<int64_t>(Rect.right - Rect.left) * (Rect.bottom - Rect.top) > 0;
}

void TbsBitmapLink::Draw(gui::TCanvas* Canvas, int X, int Y) {
    if (Image && !Image->Empty() && Rect.right > Rect.left && Rect.bottom > Rect.top)
        Image->Draw(Canvas, X, Y, Rect);
}

void TbsBitmapLink::Draw(TbsBitmap& Bitmap, int X, int Y) {
    if (Image && !Image->Empty() && Rect.right > Rect.left && Rect.bottom > Rect.top)
        Image->Draw(Bitmap, X, Y, Rect);
}

void TbsBitmapLink::SaveToStream(gui::TStream& Stream) {
    WriteStringToStream(Stream, Name);
    int32_t edges[4] = {Rect.left, Rect.top, Rect.right, Rect.bottom};
    Stream.WriteBuffer(edges, sizeof edges);
}

void TbsBitmapLink::LoadFromStream(gui::TStream& Stream) {
    ReadStringFromStream(Stream, Name);
    int32_t edges[4];
    Stream.ReadBuffer(edges, sizeof edges);
    Rect = {edges[0], edges[1], edges[2], edges[3]};
}

void TbsBitmapLink::CheckingMasked(const gui::TRect& Margin) {
    Masked = MaskedBorder = MaskedAngles = false;
    int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    if (W <= 0 || H <= 0) return;
    auto masked = [&](int px, int py) {
        int x = Rect.left + px, y = Rect.top + py;
        TbsColor p = 0;
        if (Image && !Image->Empty() && x >= 0 && y >= 0 && x < Image->Width() && y < Image->Height())
            p = Image->Pixel(x, y);
        return p != 0x33333333u && ((p & 0x00FFFFFF) == kKeyColor || (p >> 24) < 255);
    };
    bool noMargin = Margin.left == 0 && Margin.top == 0 && Margin.right == 0 && Margin.bottom == 0;
    int ML = Margin.left, MT = Margin.top, MR = Margin.right, MB = Margin.bottom;
    auto in = [](int x, int y, int l, int t, int r, int b) { return x >= l && x < r && y >= t && y < b; };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (!masked(x, y)) continue;
            if (noMargin) {
                Masked = true;
                return;
            }
            if (in(x, y, 0, 0, ML, MT) || in(x, y, W - MR, 0, W, MT) || in(x, y, W - MR, H - MB, W, H) ||
                in(x, y, 0, H - MB, ML, H))
                MaskedAngles = true;
            if (in(x, y, ML, 0, W - MR, MT) || in(x, y, ML, H - MB, W - MR, H) ||
                in(x, y, 0, MT, ML, H - MB) || in(x, y, W - MR, MT, W, H - MB))
                MaskedBorder = true;
            if (in(x, y, ML, MT, W - MR, H - MB)) Masked = true;
        }
}

} // namespace skin

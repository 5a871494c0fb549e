#include "skin/engine/NinePart.h"

#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "skin/engine/SkinRect.h"

#include <algorithm>

namespace skin {

namespace {

using R = gui::TRect;

int W_(const R& r) {
    return r.right - r.left;
}
int H_(const R& r) {
    return r.bottom - r.top;
}

// Copies pieces of one skin rectangle of a picture into a target.  Source rectangles are
// relative to the skin rectangle, which is cut to the picture once, here.
class Pieces {
public:
    Pieces(gui::TBitmap* target, gui::TBitmap* picture, TRect skinRect)
        : dst_(target->Canvas()->Handle()), src_(picture->Canvas()->Handle()), ox_(skinRect.Left),
          oy_(skinRect.Top) {
        R sr = ToGuiRect(skinRect), pic = gui::Rect(0, 0, picture->Width(), picture->Height());
        IntersectRect(&bounds_, &sr, &pic);
        SetStretchBltMode(dst_, COLORONCOLOR);
    }

    // Same size: pixel for pixel (the cut moves the target with it); otherwise scaled.
    void Copy(R s, R d) const {
        if (W_(s) <= 0 || H_(s) <= 0 || W_(d) <= 0 || H_(d) <= 0) return;
        OffsetRect(&s, ox_, oy_);
        R c;
        if (!IntersectRect(&c, &s, &bounds_)) return;
        if (W_(s) == W_(d) && H_(s) == H_(d)) {
            BitBlt(dst_, d.left + c.left - s.left, d.top + c.top - s.top, W_(c), H_(c), src_, c.left, c.top,
                   SRCCOPY);
            return;
        }
        StretchBlt(dst_, d.left, d.top, W_(d), H_(d), src_, c.left, c.top, W_(c), H_(c), SRCCOPY);
    }

    // The tiling rule: pieces 0 .. (B - A) div S at A + i * S, each cut at B.
    void TileX(int sx, int S, int sy0, int sy1, int A, int B, int ty0, int ty1) const {
        if (S <= 0) return;
        int n = (B - A) / S;
        if (n < 0) return;
        for (int i = 0; i <= n; ++i) {
            int x = A + i * S, len = S - std::max(0, x + S - B);
            if (len > 0) Copy(gui::Rect(sx, sy0, sx + len, sy1), gui::Rect(x, ty0, x + len, ty1));
        }
    }
    void TileY(int sy, int S, int sx0, int sx1, int A, int B, int tx0, int tx1) const {
        if (S <= 0) return;
        int n = (B - A) / S;
        if (n < 0) return;
        for (int j = 0; j <= n; ++j) {
            int y = A + j * S, len = S - std::max(0, y + S - B);
            if (len > 0) Copy(gui::Rect(sx0, sy, sx1, sy + len), gui::Rect(tx0, y, tx1, y + len));
        }
    }
    // The client tiled both ways: columns outer, rows inner.
    void TileXY(R s, R d) const {
        int sw = W_(s), sh = H_(s);
        if (sw <= 0 || sh <= 0) return;
        int cols = W_(d) / sw, rows = H_(d) / sh;
        if (cols < 0) return;
        for (int i = 0; i <= cols; ++i) {
            int x = d.left + i * sw, w = sw - std::max(0, x + sw - d.right);
            if (w <= 0 || rows < 0) continue;
            for (int j = 0; j <= rows; ++j) {
                int y = d.top + j * sh, h = sh - std::max(0, y + sh - d.bottom);
                if (h > 0)
                    Copy(gui::Rect(s.left, s.top, s.left + w, s.top + h), gui::Rect(x, y, x + w, y + h));
            }
        }
    }
    // The client scaled to one side of the new client and repeated along the other, cut at it.
    void Repeat(R s, R d, bool horizontal) const {
        if (W_(s) <= 0 || H_(s) <= 0 || W_(d) < 1 || H_(d) < 1) return;
        int tw = horizontal ? W_(s) : W_(d), th = horizontal ? H_(d) : H_(s);
        int n = horizontal ? W_(d) / tw : H_(d) / th;
        gui::TBitmap t;
        t.SetSize(tw, th);
        HDC tdc = t.Canvas()->Handle();
        R ss = s;
        OffsetRect(&ss, ox_, oy_);
        R c;
        if (!IntersectRect(&c, &ss, &bounds_)) return;
        SetStretchBltMode(tdc, COLORONCOLOR);
        StretchBlt(tdc, 0, 0, tw, th, src_, c.left, c.top, W_(c), H_(c), SRCCOPY);
        for (int k = 0; k <= n; ++k) {
            int x = horizontal ? d.left + k * tw : d.left, y = horizontal ? d.top : d.top + k * th;
            int w = std::min(tw, d.right - x), h = std::min(th, d.bottom - y);
            if (w > 0 && h > 0) BitBlt(dst_, x, y, w, h, tdc, 0, 0, SRCCOPY);
        }
    }

    void Client(R cr, R ncr, bool stretchEffect, TbsStretchType type) const {
        if (!stretchEffect) return TileXY(cr, ncr);
        if (W_(ncr) < 1 || H_(ncr) < 1) return;
        switch (type) {
        case TbsStretchType::bsstFull:
            return Copy(cr, ncr);
        case TbsStretchType::bsstHorz:
            return Repeat(cr, ncr, true);
        case TbsStretchType::bsstVert:
            return Repeat(cr, ncr, false);
        }
    }

private:
    HDC dst_, src_;
    int ox_, oy_;
    R bounds_{};
};

struct Geometry {
    TPoint LT, RT, LB, RB;
    R CR;
    TPoint NLT, NRT, NLB, NRB;
    R NCR;
    int SW, SH, W, H;
};

void NinePart(const Geometry& g, gui::TBitmap* target, gui::TBitmap* picture, TRect skinRect, bool drawClient,
              bool ls, bool ts, bool rs, bool bs, bool stretchEffect, TbsStretchType type, bool header) {
    target->SetSize(g.W, g.H);
    if (g.RB.X == g.LT.X || g.RB.Y == g.LT.Y || !picture || picture->Empty() || target->Empty()) return;
    Pieces p(target, picture, skinRect);
    const R& CR = g.CR;
    const R& NCR = g.NCR;
    int W = g.W, H = g.H, SW = g.SW, SH = g.SH;
    int topEnd = header ? W : g.NRT.X, bottomEnd = header ? W : g.NRB.X;
    // Top edge.
    if (ts)
        p.Copy(gui::Rect(g.LT.X, 0, g.RT.X, CR.top), gui::Rect(g.NLT.X, 0, topEnd, NCR.top));
    else
        p.TileX(g.LT.X, g.RT.X - g.LT.X, 0, CR.top, g.NLT.X, topEnd, 0, NCR.top);
    // Bottom edge.
    if (bs)
        p.Copy(gui::Rect(g.LB.X, CR.bottom, g.RB.X, SH), gui::Rect(g.NLB.X, NCR.bottom, bottomEnd, H));
    else
        p.TileX(g.LB.X, g.RB.X - g.LB.X, CR.bottom, SH, g.NLB.X, bottomEnd, NCR.bottom, H);
    // Left edge.
    if (ls)
        p.Copy(gui::Rect(0, g.LT.Y, CR.left, g.LB.Y), gui::Rect(0, g.NLT.Y, NCR.left, g.NLB.Y));
    else
        p.TileY(g.LT.Y, g.LB.Y - g.LT.Y, 0, CR.left, g.NLT.Y, g.NLB.Y, 0, NCR.left);
    // Right edge.
    if (!header) {
        if (rs)
            p.Copy(gui::Rect(CR.right, g.RT.Y, SW, g.RB.Y), gui::Rect(NCR.right, g.NRT.Y, W, g.NRB.Y));
        else
            p.TileY(g.RT.Y, g.RB.Y - g.RT.Y, CR.right, SW, g.NRT.Y, g.NRB.Y, NCR.right, W);
    }
    // Corners, each an L of two pieces; a later piece wins where they overlap.
    p.Copy(gui::Rect(0, 0, g.LT.X, CR.top), gui::Rect(0, 0, g.NLT.X, NCR.top));
    p.Copy(gui::Rect(0, CR.top, CR.left, g.LT.Y), gui::Rect(0, NCR.top, NCR.left, g.NLT.Y));
    if (!header) {
        p.Copy(gui::Rect(g.RT.X, 0, SW, CR.top), gui::Rect(g.NRT.X, 0, W, NCR.top));
        p.Copy(gui::Rect(CR.right, CR.top, SW, g.RT.Y), gui::Rect(NCR.right, NCR.top, W, g.NRT.Y));
    }
    p.Copy(gui::Rect(0, g.LB.Y, CR.left, SH), gui::Rect(0, g.NLB.Y, NCR.left, H));
    p.Copy(gui::Rect(CR.left, CR.bottom, g.LB.X, SH), gui::Rect(NCR.left, NCR.bottom, g.NLB.X, H));
    if (!header) {
        p.Copy(gui::Rect(g.RB.X, CR.bottom, SW, SH), gui::Rect(g.NRB.X, NCR.bottom, W, H));
        p.Copy(gui::Rect(CR.right, g.RB.Y, SW, CR.bottom), gui::Rect(NCR.right, g.NRB.Y, W, NCR.bottom));
    }
    if (!drawClient) return;
    R ncr = NCR;
    if (header) ncr.right = W;
    p.Client(CR, ncr, stretchEffect, type);
}

Geometry MakeGeometry(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect CR, TPoint NLT, TPoint NRT,
                      TPoint NLB, TPoint NRB, TRect NCR, TRect SR, int W, int H) {
    return {LT, RT, LB, RB, ToGuiRect(CR), NLT, NRT, NLB, NRB, ToGuiRect(NCR), SR.Width(), SR.Height(), W, H};
}

} // namespace

void BuildNinePartImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                        TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                        TRect NewClRect, gui::TBitmap* Target, gui::TBitmap* Picture, TRect SkinRect,
                        int NewWidth, int NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                        bool RightStretch, bool BottomStretch, bool StretchEffect,
                        TbsStretchType StretchType) {
    NinePart(MakeGeometry(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                          NewRBPoint, NewClRect, SkinRect, NewWidth, NewHeight),
             Target, Picture, SkinRect, DrawClient, LeftStretch, TopStretch, RightStretch, BottomStretch,
             StretchEffect, StretchType, false);
}

void BuildNinePartWindowImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                              TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                              TRect NewClRect, gui::TBitmap* Target, gui::TBitmap* Picture, TRect SkinRect,
                              int NewWidth, int NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                              bool RightStretch, bool BottomStretch, bool StretchEffect,
                              TbsStretchType StretchType) {
    BuildNinePartImage(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                       NewRBPoint, NewClRect, Target, Picture, SkinRect, NewWidth, NewHeight, DrawClient,
                       LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
}

void BuildNinePartHeaderImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                              TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                              TRect NewClRect, gui::TBitmap* Target, gui::TBitmap* Picture, TRect SkinRect,
                              int NewWidth, int NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                              bool, bool BottomStretch, bool StretchEffect, TbsStretchType StretchType) {
    NinePart(MakeGeometry(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                          NewRBPoint, NewClRect, SkinRect, NewWidth, NewHeight),
             Target, Picture, SkinRect, DrawClient, LeftStretch, TopStretch, false, BottomStretch,
             StretchEffect, StretchType, true);
}

void BuildImageByClientRect(gui::TBitmap* Target, gui::TBitmap* Picture, TRect SrcRect, TRect C,
                            bool DrawClient) {
    int W = Target->Width(), H = Target->Height();
    TRect NCR = {C.Left, C.Top, C.Right + W - SrcRect.Width(), C.Bottom + H - SrcRect.Height()};
    BuildNinePartImage({C.Left, C.Top}, {C.Right, C.Top}, {C.Left, C.Bottom}, {C.Right, C.Bottom}, C,
                       {NCR.Left, NCR.Top}, {NCR.Right, NCR.Top}, {NCR.Left, NCR.Bottom},
                       {NCR.Right, NCR.Bottom}, NCR, Target, Picture, SrcRect, W, H, DrawClient, true, true,
                       true, true, true, TbsStretchType::bsstFull);
}

namespace {

enum class Caps { Both, Left, None };

void HorzParts(int L, int Rc, gui::TBitmap* target, gui::TBitmap* picture, TRect SR, int W, bool stretch,
               Caps caps) {
    int SW = SR.Width(), SH = SR.Height();
    target->SetSize(W, SH);
    if (!picture || picture->Empty() || target->Empty()) return;
    Pieces p(target, picture, SR);
    if (caps != Caps::None && L != 0) p.Copy(gui::Rect(0, 0, L, SH), gui::Rect(0, 0, L, SH));
    if (caps == Caps::Both && Rc != 0) p.Copy(gui::Rect(SW - Rc, 0, SW, SH), gui::Rect(W - Rc, 0, W, SH));
    // A middle without width repeats nothing.
    R m = gui::Rect(L, 0, SW - Rc, SH);
    int from = caps == Caps::None ? 0 : L, to = caps == Caps::Both ? W - Rc : W;
    if (stretch)
        p.Copy(m, gui::Rect(from, 0, to, SH));
    else
        p.TileX(m.left, W_(m), 0, SH, from, to, 0, SH);
}

} // namespace

void BuildHorzThreePartImage(int LeftCap, int RightCap, gui::TBitmap* Target, gui::TBitmap* Picture,
                             TRect SrcRect, int NewWidth, int, bool Stretch) {
    HorzParts(LeftCap, RightCap, Target, Picture, SrcRect, NewWidth, Stretch, Caps::Both);
}

void BuildHorzLeftCapImage(int LeftCap, int RightCap, gui::TBitmap* Target, gui::TBitmap* Picture,
                           TRect SrcRect, int NewWidth, int, bool Stretch) {
    HorzParts(LeftCap, RightCap, Target, Picture, SrcRect, NewWidth, Stretch, Caps::Left);
}

void BuildHorzMiddleImage(int LeftCap, int RightCap, gui::TBitmap* Target, gui::TBitmap* Picture,
                          TRect SrcRect, int NewWidth, int, bool Stretch) {
    HorzParts(LeftCap, RightCap, Target, Picture, SrcRect, NewWidth, Stretch, Caps::None);
}

void BuildVertThreePartImage(int T, int B, gui::TBitmap* Target, gui::TBitmap* Picture, TRect SR, int, int H,
                             bool Stretch) {
    int SW = SR.Width(), SH = SR.Height();
    Target->SetSize(SW, H);
    if (!Picture || Picture->Empty() || Target->Empty()) return;
    Pieces p(Target, Picture, SR);
    if (T != 0) p.Copy(gui::Rect(0, 0, SW, T), gui::Rect(0, 0, SW, T));
    if (B != 0) p.Copy(gui::Rect(0, SH - B, SW, SH), gui::Rect(0, H - B, SW, H));
    R m = gui::Rect(0, T, SW, SH - B);
    if (Stretch)
        p.Copy(m, gui::Rect(0, T, SW, H - B));
    else
        p.TileY(m.top, H_(m), 0, SW, T, H - B, 0, SW);
}

void BuildBorderImages(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect ClRect, TPoint NLT, TPoint NRT,
                       TPoint NLB, TPoint NRB, TRect NewClRect, gui::TBitmap* LeftImage,
                       gui::TBitmap* TopImage, gui::TBitmap* RightImage, gui::TBitmap* BottomImage,
                       gui::TBitmap* Picture, TRect SR, int W, int H, bool LeftStretch, bool TopStretch,
                       bool RightStretch, bool BottomStretch) {
    if (!Picture || Picture->Empty()) return;
    R CR = ToGuiRect(ClRect), NCR = ToGuiRect(NewClRect);
    int SW = SR.Width(), SH = SR.Height();
    // Top strip: tiles start at the strip's left edge, corners over them.
    if (W > 0 && NCR.top > 0 && RT.X - LT.X > 0) {
        TopImage->SetSize(W, NCR.top);
        Pieces p(TopImage, Picture, SR);
        if (TopStretch)
            p.Copy(gui::Rect(LT.X, 0, RT.X, NCR.top), gui::Rect(NLT.X, 0, NRT.X, NCR.top));
        else
            p.TileX(LT.X, RT.X - LT.X, 0, NCR.top, 0, W, 0, NCR.top);
        p.Copy(gui::Rect(0, 0, LT.X, NCR.top), gui::Rect(0, 0, NLT.X, NCR.top));
        p.Copy(gui::Rect(RT.X, 0, SW, NCR.top), gui::Rect(NRT.X, 0, W, NCR.top));
    }
    int D = H - NCR.bottom;
    if (W > 0 && D > 0 && RB.X - LB.X > 0) {
        BottomImage->SetSize(W, D);
        Pieces p(BottomImage, Picture, SR);
        int y0 = SH - D;
        if (BottomStretch)
            p.Copy(gui::Rect(LB.X, y0, RB.X, SH), gui::Rect(NLB.X, 0, NRB.X, D));
        else
            p.TileX(LB.X, RB.X - LB.X, y0, SH, 0, W, 0, D);
        p.Copy(gui::Rect(0, y0, LB.X, SH), gui::Rect(0, 0, NLB.X, D));
        p.Copy(gui::Rect(RB.X, y0, SW, SH), gui::Rect(NRB.X, 0, W, D));
    }
    int V = H - BottomImage->Height() - TopImage->Height();
    if (NCR.left > 0 && V > 0 && LB.Y - LT.Y > 0) {
        LeftImage->SetSize(NCR.left, V);
        Pieces p(LeftImage, Picture, SR);
        if (LeftStretch)
            p.Copy(gui::Rect(0, LT.Y, NCR.left, LB.Y),
                   gui::Rect(0, LT.Y - CR.top, NCR.left, V + LB.Y - CR.bottom));
        else
            p.TileY(LT.Y, LB.Y - LT.Y, 0, NCR.left, 0, V, 0, NCR.left);
        if (LT.Y - CR.top > 0)
            p.Copy(gui::Rect(0, CR.top, NCR.left, LT.Y), gui::Rect(0, 0, NCR.left, LT.Y - CR.top));
        if (CR.bottom - LB.Y > 0)
            p.Copy(gui::Rect(0, LB.Y, NCR.left, CR.bottom),
                   gui::Rect(0, V - (CR.bottom - LB.Y), NCR.left, V));
    }
    int Wr = W - NCR.right;
    if (Wr >= 1 && V >= 1 && RB.Y - RT.Y >= 1) {
        RightImage->SetSize(Wr, V);
        Pieces p(RightImage, Picture, SR);
        if (RightStretch)
            p.Copy(gui::Rect(CR.right, RT.Y, SW, RB.Y),
                   gui::Rect(0, RT.Y - CR.top, Wr, V + RB.Y - CR.bottom));
        else
            p.TileY(RT.Y, RB.Y - RT.Y, CR.right, SW, 0, V, 0, Wr);
        if (RT.Y - CR.top > 0)
            p.Copy(gui::Rect(CR.right, CR.top, SW, RT.Y), gui::Rect(0, 0, Wr, RT.Y - CR.top));
        if (CR.bottom - RB.Y >= 1)
            p.Copy(gui::Rect(CR.right, RB.Y, SW, CR.bottom), gui::Rect(0, V - (CR.bottom - RB.Y), Wr, V));
    }
}

void BuildBorderMaskImages(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect MaskRectArea, TPoint NLT,
                           TPoint NRT, TPoint NLB, TPoint NRB, TRect NewMaskRectArea,
                           gui::TBitmap* MaskPicture, gui::TBitmap* TopMask, gui::TBitmap* LeftMask,
                           gui::TBitmap* RightMask, gui::TBitmap* BottomMask, int W, int) {
    if (!MaskPicture || MaskPicture->Empty()) return;
    R MA = ToGuiRect(MaskRectArea), NMA = ToGuiRect(NewMaskRectArea);
    int MW = MaskPicture->Width(), MH = MaskPicture->Height(), V = H_(NMA);
    TRect whole = {0, 0, MW, MH};
    if (MA.left > 0 && V > 0) {
        LeftMask->SetSize(MA.left, V);
        Pieces p(LeftMask, MaskPicture, whole);
        if (LB.Y != LT.Y) p.TileY(LT.Y, LB.Y - LT.Y, 0, MA.left, 0, V, 0, MA.left);
        if (LT.Y - MA.top > 0)
            p.Copy(gui::Rect(0, MA.top, MA.left, LT.Y), gui::Rect(0, 0, MA.left, LT.Y - MA.top));
        if (MA.bottom - LB.Y > 0)
            p.Copy(gui::Rect(0, LB.Y, MA.left, MA.bottom), gui::Rect(0, V - (MA.bottom - LB.Y), MA.left, V));
    }
    int rw = MW - MA.right;
    if (rw > 0 && V > 0) {
        RightMask->SetSize(rw, V);
        Pieces p(RightMask, MaskPicture, whole);
        if (RB.Y != RT.Y) p.TileY(RT.Y, RB.Y - RT.Y, MA.right, MW, 0, V, 0, rw);
        if (RT.Y - MA.top > 0)
            p.Copy(gui::Rect(MA.right, MA.top, MW, RT.Y), gui::Rect(0, 0, rw, RT.Y - MA.top));
        if (MA.bottom - RB.Y > 0)
            p.Copy(gui::Rect(MA.right, RB.Y, MW, MA.bottom), gui::Rect(0, V - (MA.bottom - RB.Y), rw, V));
    }
    if (W > 0 && MA.top > 0) {
        TopMask->SetSize(W, MA.top);
        Pieces p(TopMask, MaskPicture, whole);
        if (RT.X != LT.X) p.TileX(LT.X, RT.X - LT.X, 0, MA.top, NLT.X, NRT.X, 0, MA.top);
        p.Copy(gui::Rect(0, 0, LT.X, MA.top), gui::Rect(0, 0, LT.X, MA.top));
        p.Copy(gui::Rect(RT.X, 0, MW, MA.top), gui::Rect(NRT.X, 0, W, MA.top));
    }
    int bh = MH - MA.bottom;
    if (W >= 1 && bh >= 1) {
        BottomMask->SetSize(W, bh);
        Pieces p(BottomMask, MaskPicture, whole);
        if (RB.X != LB.X) p.TileX(LB.X, RB.X - LB.X, MA.bottom, MH, NLB.X, NRB.X, 0, bh);
        p.Copy(gui::Rect(0, MA.bottom, LB.X, MH), gui::Rect(0, 0, LB.X, bh));
        p.Copy(gui::Rect(RB.X, MA.bottom, MW, MH), gui::Rect(NRB.X, 0, W, bh));
    }
}

} // namespace skin

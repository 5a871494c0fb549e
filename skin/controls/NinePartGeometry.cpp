#include "skin/controls/NinePartGeometry.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"

namespace skin {

gui::TBitmap* SkinPictureAt(TbsSkinData& data, int index) {
    if (index < 0 || index >= static_cast<int>(data.FActivePictures.size())) return nullptr;
    TbsPicture* p = data.FActivePictures[static_cast<size_t>(index)].get();
    if (!p || p->Empty()) return nullptr;
    return &p->Bitmap();
}

int TbsNinePartGeometry::ResizeModeOf(const TRect& skinRect, TPoint RTPt, TPoint LBPt, TPoint RBPt) {
    if (skinRect.Width() <= 0 || skinRect.Height() <= 0) return -1;
    if (RBPt.X != 0 && RBPt.Y != 0) return 1;
    if (RTPt.X != 0 || RTPt.Y != 0) return 2;
    if (LBPt.X != 0 || LBPt.Y != 0) return 3;
    return 0;
}

bool TbsNinePartGeometry::Read(TbsSkinData& data, const TbsDataSkinControl& descriptor, bool withMask) {
    auto* d = dynamic_cast<const TbsDataSkinCustomControl*>(&descriptor);
    if (!d) {
        ResizeMode = 0;
        Picture = MaskPicture = nullptr;
        return false;
    }
    LTPt = d->LTPoint;
    RTPt = d->RTPoint;
    LBPt = d->LBPoint;
    RBPt = d->RBPoint;
    SkinRect = d->SkinRect;
    StretchEffect = d->StretchEffect;
    StretchType = d->StretchType;
    LeftStretch = d->LeftStretch;
    TopStretch = d->TopStretch;
    RightStretch = d->RightStretch;
    BottomStretch = d->BottomStretch;
    ClRect = d->ClRect;
    Picture = SkinPictureAt(data, d->PictureIndex);
    MaskPicture = withMask ? SkinPictureAt(data, d->MaskPictureIndex) : nullptr;
    ResizeMode = ResizeModeOf(SkinRect, RTPt, LBPt, RBPt);
    return Picture && ResizeMode != -1;
}

void TbsNinePartGeometry::Adjust(int& width, int& height) {
    int sw = SkinRect.Width(), sh = SkinRect.Height();
    if (ResizeMode == 0) {
        width = sw;
        height = sh;
        NewClRect = ClRect;
        return;
    }
    if (ResizeMode < 0) return;
    int dw = width - sw, dh = height - sh;
    NewLTPoint = LTPt;
    switch (ResizeMode) {
    case 1:
        NewRTPoint = {RTPt.X + dw, RTPt.Y};
        NewLBPoint = {LBPt.X, LBPt.Y + dh};
        NewRBPoint = {RBPt.X + dw, RBPt.Y + dh};
        NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh};
        break;
    case 2:
        height = sh;
        NewRTPoint = {RTPt.X + dw, RTPt.Y};
        NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom};
        break;
    case 3:
        width = sw;
        NewLBPoint = {LBPt.X, LBPt.Y + dh};
        NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + dh};
        break;
    default:
        break;
    }
}

void TbsNinePartGeometry::Build(gui::TBitmap* Target, gui::TBitmap* Source, const TRect& Rect, int width,
                                int height) const {
    if (!Source || Rect.Width() <= 0 || Rect.Height() <= 0) return;
    switch (ResizeMode) {
    case 0:
        Target->SetSize(Rect.Width(), Rect.Height());
        Target->Canvas()->CopyRect(gui::Rect(0, 0, Rect.Width(), Rect.Height()), Source->Canvas(),
                                   ToGuiRect(Rect));
        break;
    case 1:
        BuildNinePartImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                           NewClRect, Target, Source, Rect, width, height, true, LeftStretch, TopStretch,
                           RightStretch, BottomStretch, StretchEffect, StretchType);
        break;
    case 2:
        BuildHorzThreePartImage(LTPt.X, Rect.Width() - RTPt.X, Target, Source, Rect, width, Rect.Height(),
                                StretchEffect);
        break;
    case 3:
        BuildVertThreePartImage(LTPt.Y, Rect.Height() - LBPt.Y, Target, Source, Rect, Rect.Width(), height,
                                StretchEffect);
        break;
    default:
        break;
    }
}

TRect TbsNinePartGeometry::Map(const TRect& s, int width, int height) const {
    int sw = SkinRect.Width(), sh = SkinRect.Height();
    int dw = width - sw, dh = height - sh;
    TRect r = s;
    auto moved = [](TRect x, int mx, int my) {
        return TRect{x.Left + mx, x.Top + my, x.Right + mx, x.Bottom + my};
    };
    switch (ResizeMode) {
    case 1: {
        gui::TRect src = ToGuiRect(s);
        gui::TRect tl = gui::Rect(0, 0, LTPt.X, LTPt.Y), tr = gui::Rect(RTPt.X, 0, sw, RTPt.Y),
                   bl = gui::Rect(0, LBPt.Y, LBPt.X, sh), br = gui::Rect(RBPt.X, RBPt.Y, sw, sh);
        if (IsRectInRect(src, tl)) return r;
        if (IsRectInRect(src, tr)) return moved(r, dw, 0);
        if (IsRectInRect(src, bl)) return moved(r, 0, dh);
        if (IsRectInRect(src, br)) return moved(r, dw, dh);
        gui::TPoint t{s.Left, s.Top}, b{s.Right, s.Bottom};
        if (IsPointInRect(tl, t) && IsPointInRect(br, b)) return {r.Left, r.Top, r.Right + dw, r.Bottom + dh};
        if (IsPointInRect(tl, t) && IsPointInRect(tr, b)) return {r.Left, r.Top, r.Right + dw, r.Bottom};
        if (IsPointInRect(bl, t) && IsPointInRect(br, b))
            return {r.Left, r.Top + dh, r.Right + dw, r.Bottom + dh};
        if (IsPointInRect(tl, t) && IsPointInRect(bl, b)) return {r.Left, r.Top, r.Right, r.Bottom + dh};
        if (IsPointInRect(tr, t) && IsPointInRect(br, b))
            return {r.Left + dw, r.Top, r.Right + dw, r.Bottom + dh};
        return r;
    }
    case 2:
        if (s.Left <= LTPt.X && s.Right >= RTPt.X) return {r.Left, r.Top, r.Right + dw, r.Bottom};
        if (s.Left >= RTPt.X && s.Right > RTPt.X) return moved(r, dw, 0);
        return r;
    case 3:
        if (s.Top <= LTPt.Y && s.Bottom >= LBPt.Y) return {r.Left, r.Top, r.Right, r.Bottom + dh};
        if (s.Top >= LBPt.Y && s.Bottom > LBPt.Y) return moved(r, 0, dh);
        return r;
    default:
        return r;
    }
}

} // namespace skin

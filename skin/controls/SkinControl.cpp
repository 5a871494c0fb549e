#include "skin/controls/SkinControl.h"

#include "gdi/Region.h"
#include "skin/core/SkinData.h"
#include "skin/engine/MaskRegion.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Message.h"
#include "win/WindowPos.h"

namespace skin {

// --- TbsSkinControl ------------------------------------------------------------------------

TbsSkinControl::TbsSkinControl(gui::TComponent* AOwner) : TbsSkinLook<gui::TCustomControl>(AOwner) {}

TbsSkinControl::~TbsSkinControl() = default;

void TbsSkinControl::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
}

void TbsSkinControl::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_CHECKPARENTBG) {
        CheckParentBackground();
        return;
    }
    gui::TCustomControl::Dispatch(m);
}

void TbsSkinControl::WMPaint(gui::TMessage& m) {
    FromWMPaint = true;
    gui::TCustomControl::WMPaint(m);
    FromWMPaint = false;
}

// The bitmap paint covers the whole control: nothing to erase.
void TbsSkinControl::WMEraseBkgnd(gui::TMessage& m) {
    m.Result = 0;
}

void TbsSkinControl::PaintIntoEraseDC(gui::TMessage& m) {
    m.Result = 0;
    if (FromWMPaint || !m.WParam || Width() <= 0 || Height() <= 0) return;
    PaintWindow(reinterpret_cast<HDC>(m.WParam));
    m.Result = 1;
}

// --- TbsSkinCustomControl ------------------------------------------------------------------

TbsSkinCustomControl::TbsSkinCustomControl(gui::TComponent* AOwner)
    : TbsSkinCustomLook<TbsSkinControl>(AOwner) {}

TbsSkinCustomControl::~TbsSkinCustomControl() = default;

void TbsSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomLook<TbsSkinControl>::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex != -1 && StretchEffect) NotifyChildrenBackground();
}

void TbsSkinCustomControl::NotifyChildrenBackground() {
    // Controls going away, or without a window yet, have no background to show: a window
    // made for them here would outlive the form that is being freed.
    if (Destroying()) return;
    for (int i = 0; i < ControlCount(); ++i) {
        gui::TControl* c = Controls(i);
        if (c->Destroying()) continue;
        if (auto* w = dynamic_cast<gui::TWinControl*>(c)) {
            if (w->HandleAllocated()) SendMessage(w->Handle(), WM_CHECKPARENTBG, 0, 0);
        } else {
            c->Perform(WM_CHECKPARENTBG, 0, 0);
        }
    }
}

void TbsSkinCustomControl::UpdateMaskRegion() {
    if (!Parent()) return;
    if (!MaskPicture || FIndex == -1) {
        if (FRgnSet && HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
        FRgnSet = false;
        return;
    }
    int w = Width(), h = Height();
    AdjustSkinSize(w, h);
    w = Width();
    h = Height();
    int sw = SkinRect.Width(), sh = SkinRect.Height();
    HRGN rgn = nullptr;
    switch (ResizeMode) {
    case 1:
        rgn = CreateNinePartMaskRegion(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                                       NewRBPoint, NewClRect, MaskPicture, w, h);
        break;
    case 2: {
        TPoint rt{w + RTPt.X - sw, RTPt.Y};
        rgn = CreateNinePartMaskRegion(LTPt, RTPt, LTPt, RTPt, ClRect, LTPt, rt, LTPt, rt, NewClRect,
                                       MaskPicture, w, h);
        break;
    }
    case 3: {
        TPoint lb{LBPt.X, h + LBPt.Y - sh};
        rgn = CreateNinePartMaskRegion(LTPt, LTPt, LBPt, LBPt, ClRect, LTPt, LTPt, lb, lb, NewClRect,
                                       MaskPicture, w, h);
        break;
    }
    default:
        rgn = CreateMaskRegion(MaskPicture);
        break;
    }
    SetWindowRgn(Handle(), rgn, TRUE);
    FRgnSet = rgn != nullptr;
}

void TbsSkinCustomControl::CreateSkinImage(gui::TBitmap* B, gui::TBitmap* APicture, const TRect& R) {
    if (ResizeMode == 1 && ForcebackGround) return;
    Build(B, APicture, R, B->Width(), B->Height());
}

void TbsSkinCustomControl::CreateControlSkinImage(gui::TBitmap* B) {
    CreateSkinImage(B, Picture, SkinRect);
}

void TbsSkinCustomControl::PaintThroughBitmap() {
    TbsSkinControl::Paint();
}

void TbsSkinCustomControl::Paint() {
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    int w = Width(), h = Height();
    if (FIndex != -1) AdjustSkinSize(w, h);
    if (FIndex == -1 || !ForcebackGround || ResizeMode != 1) {
        PaintThroughBitmap();
        return;
    }
    gui::TBitmap left, top, right, bottom;
    BuildBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                      NewClRect, &left, &top, &right, &bottom, Picture, SkinRect, Width(), Height(),
                      LeftStretch, TopStretch, RightStretch, BottomStretch);
    CreateControlSkinImage(&top);
    gui::TCanvas* c = Canvas();
    gui::TRect cl = ToGuiRect(NewClRect);
    if (DrawbackGround && cl.right > cl.left && cl.bottom > cl.top) {
        TRect piece{SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                    SkinRect.Top + ClRect.Bottom};
        int pw = piece.Width(), ph = piece.Height();
        if (pw > 0 && ph > 0) {
            gui::TBitmap bg;
            bg.SetSize(pw, ph);
            bg.Canvas()->CopyRect(gui::Rect(0, 0, pw, ph), Picture->Canvas(), ToGuiRect(piece));
            HDC dc = c->Handle();
            int saved = SaveDC(dc);
            IntersectClipRect(dc, cl.left, cl.top, cl.right, cl.bottom);
            int cw = gui::RectWidth(cl), ch = gui::RectHeight(cl);
            if (StretchEffect) {
                switch (StretchType) {
                case TbsStretchType::bsstFull:
                    c->StretchDraw(cl, &bg);
                    break;
                case TbsStretchType::bsstHorz:
                    for (int i = 0; i <= cw / pw; ++i)
                        c->StretchDraw(gui::Rect(cl.left + i * pw, cl.top, cl.left + (i + 1) * pw, cl.bottom),
                                       &bg);
                    break;
                case TbsStretchType::bsstVert:
                    for (int j = 0; j <= ch / ph; ++j)
                        c->StretchDraw(gui::Rect(cl.left, cl.top + j * ph, cl.right, cl.top + (j + 1) * ph),
                                       &bg);
                    break;
                }
            } else {
                for (int i = 0; i <= cw / pw; ++i)
                    for (int j = 0; j <= ch / ph; ++j) c->Draw(cl.left + i * pw, cl.top + j * ph, &bg);
            }
            RestoreDC(dc, saved);
        }
    }
    c->Draw(0, 0, &top);
    c->Draw(0, top.Height(), &left);
    c->Draw(Width() - right.Width(), top.Height(), &right);
    c->Draw(0, Height() - bottom.Height(), &bottom);
}

} // namespace skin

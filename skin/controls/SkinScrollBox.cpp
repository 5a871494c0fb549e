#include "skin/controls/SkinScrollBox.h"

#include "skin/core/SkinData.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

namespace {

// Where the content's far edge lies along one direction, in current (scrolled) positions.
int ContentExtent(gui::TWinControl* box, bool vertical) {
    int extent = 0;
    for (int i = 0; i < box->ControlCount(); ++i) {
        gui::TControl* c = box->Controls(i);
        if (!c->Visible()) continue;
        extent = std::max(extent, vertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    return extent;
}

// The farthest position a bar can take, as the bar itself holds it.
int BarUpper(const TbsSkinScrollBar* bar) {
    return bar->PageSize() != 0 ? bar->Max() - bar->PageSize() + 1 : bar->Max();
}

} // namespace

TbsSkinScrollBox::TbsSkinScrollBox(gui::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    ControlStyle |= gui::csAcceptsControls;
    FSkinDataName = "scrollbox";
    SetColor(gui::clWindow);
    TbsSkinCustomControl::SetBounds(Left(), Top(), 150, 150);
}

TbsSkinScrollBox::~TbsSkinScrollBox() {
    // The bars are not ours: they only stop calling back.
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) {
            bar->OnChange = nullptr;
            bar->OnLastChange = nullptr;
            bar->RemoveFreeNotification(this);
        }
}

void TbsSkinScrollBox::CreateParams(gui::TCreateParams& p) {
    TbsSkinCustomControl::CreateParams(p);
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinScrollBox::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinScrollBox::LinkBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical) {
    if (Field == Value) return;
    if (Field) {
        Field->OnChange = nullptr;
        Field->OnLastChange = nullptr;
        Field->RemoveFreeNotification(this);
    }
    Field = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    Value->SetCanFocused(false);
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = [this, Vertical](gui::TObject*) { OnBarChange(Vertical); };
    Value->OnLastChange = [this](gui::TObject*) { Invalidate(); };
    if (Vertical)
        VPass();
    else
        HPass();
}

void TbsSkinScrollBox::SetVScrollBar(TbsSkinScrollBar* Value) {
    LinkBar(FVScrollBar, Value, true);
}

void TbsSkinScrollBox::SetHScrollBar(TbsSkinScrollBar* Value) {
    LinkBar(FHScrollBar, Value, false);
}

void TbsSkinScrollBox::SetBorderStyle(TbsSkinBorderStyle Value) {
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    FrameChanged();
}

void TbsSkinScrollBox::FrameChanged() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void TbsSkinScrollBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1) return;
    if (auto* d = dynamic_cast<TbsDataSkinScrollBoxControl*>(Descriptor()))
        BGPictureIndex = d->BGPictureIndex;
}

bool TbsSkinScrollBox::HasFrame() {
    GetSkinData();
    if (FBorderStyle == TbsSkinBorderStyle::bvNone) return false;
    return FIndex == -1 || BGPictureIndex == -1;
}

void TbsSkinScrollBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    FrameChanged();
    if (Parent()) Parent()->Realign();
    UpDateScrollRange();
}

// --- frame ---------------------------------------------------------------------------------

void TbsSkinScrollBox::PaintFrame(HDC DC) {
    if (!DC || !HasFrame()) return;
    int w = Width(), h = Height();
    gui::TCanvas c;
    c.SetHandle(DC);
    if (FIndex == -1) {
        gui::TColor tl = gui::clBtnShadow, br = gui::clBtnShadow;
        if (FBorderStyle == TbsSkinBorderStyle::bvRaised) br = gui::clBtnHighlight;
        if (FBorderStyle == TbsSkinBorderStyle::bvLowered) tl = gui::clBtnHighlight;
        c.Brush()->SetColor(tl);
        c.FillRect(gui::Rect(0, 0, w, 1));
        c.FillRect(gui::Rect(0, 0, 1, h));
        c.Brush()->SetColor(br);
        c.FillRect(gui::Rect(0, h - 1, w, h));
        c.FillRect(gui::Rect(w - 1, 0, w, h));
    } else {
        int aw = w, ah = h;
        Adjust(aw, ah);
        gui::TBitmap left, top, right, bottom;
        BuildBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                          NewClRect, &left, &top, &right, &bottom, Picture, SkinRect, w, h, LeftStretch,
                          TopStretch, RightStretch, BottomStretch);
        c.Draw(0, 0, &top);
        c.Draw(0, top.Height(), &left);
        c.Draw(w - right.Width(), top.Height(), &right);
        c.Draw(0, h - bottom.Height(), &bottom);
    }
    c.SetHandle(nullptr);
}

// --- client --------------------------------------------------------------------------------

void TbsSkinScrollBox::Paint() {
    GetSkinData();
    gui::TCanvas* c = Canvas();
    int cw = ClientWidth(), ch = ClientHeight();
    if (FIndex == -1) {
        c->Brush()->SetColor(Color());
        c->FillRect(gui::Rect(0, 0, cw, ch));
        return;
    }
    if (cw < 1 || ch < 1) return;
    gui::TBitmap tile;
    gui::TBitmap* p = BGPictureIndex != -1 ? SkinPictureAt(*FSD, BGPictureIndex) : nullptr;
    int areaW = Width(), areaH = Height();
    if (!p) {
        TRect piece{SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                    SkinRect.Top + ClRect.Bottom};
        if (piece.Width() <= 0 || piece.Height() <= 0 || !Picture) {
            c->Brush()->SetColor(Color());
            c->FillRect(gui::Rect(0, 0, cw, ch));
            return;
        }
        tile.SetSize(piece.Width(), piece.Height());
        tile.Canvas()->CopyRect(gui::Rect(0, 0, piece.Width(), piece.Height()), Picture->Canvas(),
                                ToGuiRect(piece));
        p = &tile;
        if (!StretchEffect) {
            areaW = cw;
            areaH = ch;
        }
    }
    int pw = p->Width(), ph = p->Height();
    if (pw <= 0 || ph <= 0) return;
    HDC dc = c->Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, cw, ch);
    if (StretchEffect) {
        switch (StretchType) {
        case TbsStretchType::bsstFull:
            c->StretchDraw(gui::Rect(0, 0, Width(), Height()), p);
            break;
        case TbsStretchType::bsstHorz:
            for (int i = 0; i <= Width() / pw; ++i)
                c->StretchDraw(gui::Rect(i * pw, 0, (i + 1) * pw, Height()), p);
            break;
        case TbsStretchType::bsstVert:
            for (int j = 0; j <= Height() / ph; ++j)
                c->StretchDraw(gui::Rect(0, j * ph, Width(), (j + 1) * ph), p);
            break;
        }
    } else {
        for (int i = 0; i <= areaW / pw; ++i)
            for (int j = 0; j <= areaH / ph; ++j) c->Draw(i * pw, j * ph, p);
    }
    RestoreDC(dc, saved);
}

// Children are aligned within the whole scrolled content.
void TbsSkinScrollBox::AdjustClientRect(gui::TRect& R) {
    int cw = gui::RectWidth(R), ch = gui::RectHeight(R);
    bool h = FHScrollBar && FHScrollBar->Visible(), v = FVScrollBar && FVScrollBar->Visible();
    int left = h ? -FHScrollBar->Position() : 0, top = v ? -FVScrollBar->Position() : 0;
    int w = h ? std::max(FHScrollBar->Max(), cw) : cw, hh = v ? std::max(FVScrollBar->Max(), ch) : ch;
    R = gui::Rect(left, top, left + w, top + hh);
}

// --- scrolling -----------------------------------------------------------------------------

void TbsSkinScrollBox::OnBarChange(bool Vertical) {
    if (Vertical) {
        int pos = FVScrollBar->Position();
        ScrollBy(0, FOldVScrollBarPos - pos);
        FOldVScrollBarPos = pos;
    } else {
        int pos = FHScrollBar->Position();
        ScrollBy(FOldHScrollBarPos - pos, 0);
        FOldHScrollBarPos = pos;
    }
    if (FIndex != -1 && StretchEffect) Invalidate();
}

void TbsSkinScrollBox::VScroll(int APosition) {
    if (!FVScrollBar || FVScrollBar->PageSize() == 0) return;
    APosition =
        std::clamp(APosition, FVScrollBar->Min(), std::max(BarUpper(FVScrollBar), FVScrollBar->Min()));
    ScrollBy(0, FVScrollBar->Position() - APosition);
    FOldVScrollBarPos = APosition;
    FVScrollBar->SetPosition(APosition);
}

void TbsSkinScrollBox::HScroll(int APosition) {
    if (!FHScrollBar || FHScrollBar->PageSize() == 0) return;
    APosition =
        std::clamp(APosition, FHScrollBar->Min(), std::max(BarUpper(FHScrollBar), FHScrollBar->Min()));
    ScrollBy(FHScrollBar->Position() - APosition, 0);
    FOldHScrollBarPos = APosition;
    FHScrollBar->SetPosition(APosition);
}

void TbsSkinScrollBox::SetBarVisible(TbsSkinScrollBar* Bar, bool Value) {
    if (Bar->Visible() == Value) return;
    FInCheckScrollBars = true;
    Bar->SetVisible(Value);
    if (Align() != gui::alNone) {
        if (Parent()) Parent()->Realign();
        Realign();
    }
    FInCheckScrollBars = false;
}

void TbsSkinScrollBox::VPass() {
    if (!FVScrollBar || !Parent() || FInCheckScrollBars) return;
    TbsSkinScrollBar* bar = FVScrollBar;
    int ch = ClientHeight(), b = ContentExtent(this, true), p = bar->Position();
    bool show = bar->Visible();
    if (ch < b + p) {
        show = true;
        int max = p + b - 1;
        if (p > 0 && b < ch && FVSizeOffset > 0) {
            int off = std::min(FVSizeOffset, p);
            bar->SetRange(0, max, ch, p - off);
            ScrollBy(0, off);
        } else if (FVSizeOffset == 0 && max < bar->Max() && p > 0 && b < ch) {
            int d = std::min(p, ch - b);
            ScrollBy(0, d);
            bar->SetRange(0, max, ch, p - d);
        } else {
            bar->SetRange(0, max, ch, p);
        }
        FVSizeOffset = 0;
        FOldVScrollBarPos = bar->Position();
    } else {
        if (p > 0) ScrollBy(0, p);
        FVSizeOffset = 0;
        FOldVScrollBarPos = 0;
        bar->SetRange(0, 0, 0, 0);
        show = false;
    }
    SetBarVisible(bar, show && Visible());
    if (FHScrollBar) FHScrollBar->SetBoth(bar->Visible());
}

void TbsSkinScrollBox::HPass() {
    if (!FHScrollBar || !Parent() || FInCheckScrollBars) return;
    TbsSkinScrollBar* bar = FHScrollBar;
    int cw = ClientWidth(), b = ContentExtent(this, false), p = bar->Position();
    bool show = bar->Visible();
    if (cw < b + p) {
        show = true;
        int max = p + b - 1;
        if (p > 0 && b < cw && FHSizeOffset > 0) {
            int off = std::min(FHSizeOffset, p);
            bar->SetRange(0, max, cw, p - off);
            ScrollBy(off, 0);
        } else if (FHSizeOffset == 0 && max < bar->Max() && p > 0 && b < cw) {
            int d = std::min(p, cw - b);
            ScrollBy(d, 0);
            bar->SetRange(0, max, cw, p - d);
        } else {
            bar->SetRange(0, max, cw, p);
        }
        // The growth is used up here as in the vertical pass: a growth kept for later would
        // scroll the content back a second time.
        FHSizeOffset = 0;
        FOldHScrollBarPos = bar->Position();
    } else {
        if (p > 0) ScrollBy(p, 0);
        FHSizeOffset = 0;
        FOldHScrollBarPos = 0;
        bar->SetRange(0, 0, 0, 0);
        show = false;
    }
    SetBarVisible(bar, show && Visible());
    if (FVScrollBar) bar->SetBoth(FVScrollBar->Visible());
}

void TbsSkinScrollBox::UpDateScrollRange() {
    HPass();
    VPass();
}

void TbsSkinScrollBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int oldW = Width(), oldH = Height();
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FHSizeOffset = oldW != 0 && Width() > oldW ? Width() - oldW : 0;
    HPass();
    FVSizeOffset = oldH != 0 && Height() > oldH ? Height() - oldH : 0;
    VPass();
}

void TbsSkinScrollBox::CMVisibleChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMVisibleChanged(m);
    if (Visible()) {
        UpDateScrollRange();
    } else {
        for (TbsSkinScrollBar* bar : {FHScrollBar, FVScrollBar})
            if (bar) SetBarVisible(bar, false);
    }
}

void TbsSkinScrollBox::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                           : reinterpret_cast<RECT*>(m.LParam);
        if (HasFrame()) {
            if (FIndex == -1) {
                r->left += 1;
                r->top += 1;
                r->right -= 1;
                r->bottom -= 1;
            } else {
                r->left += ClRect.Left;
                r->top += ClRect.Top;
                r->right -= SkinRect.Width() - ClRect.Right;
                r->bottom -= SkinRect.Height() - ClRect.Bottom;
            }
            r->right = std::max(r->right, r->left);
            r->bottom = std::max(r->bottom, r->top);
        }
        m.Result = 0;
        return;
    }
    case WM_NCPAINT: {
        HDC dc = GetWindowDC(Handle());
        PaintFrame(dc);
        ReleaseDC(Handle(), dc);
        m.Result = 0;
        return;
    }
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FCanFocused && !Designing() && !Focused()) {
            FClicksDisabled = true;
            SetFocus();
            FClicksDisabled = false;
            if (!Focused()) return;
        }
        break;
    case WM_COMMAND:
        // A child's click that came with the focusing click is not the user's command.
        if (FClicksDisabled) return;
        break;
    case 45513: // paint the frame into the device context of the first parameter
        if (m.WParam && HasFrame()) {
            PaintFrame(reinterpret_cast<HDC>(m.WParam));
            m.Result = 12851;
        } else {
            m.Result = 0;
        }
        return;
    case 48203:
        if (m.LParam == 16802) {
            if (m.WParam && HasFrame()) PaintFrame(reinterpret_cast<HDC>(m.WParam));
            m.Result = 16802;
            return;
        }
        break;
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(m);
}

} // namespace skin

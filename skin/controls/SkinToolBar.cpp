#include "skin/controls/SkinToolBar.h"

#include "gui/Forms.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

namespace {

constexpr uintptr_t kScrollTimer = 1;
constexpr int kArrowWidth = 12;
constexpr int kHitLeftArrow = 119, kHitRightArrow = 120;
const gui::TColor kNavy = RGB(0, 0, 128);

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

int ToolBarChildTop(const gui::TControl* Control, int ATop, int AHeight) {
    auto* bar = Control ? dynamic_cast<TbsSkinToolBar*>(Control->Parent()) : nullptr;
    if (!bar || !bar->AdjustControls()) return ATop;
    gui::TRect r = bar->GetSkinClientRect();
    return gui::RectHeight(r) / 2 + r.top - AHeight / 2;
}

// --- tool bar: properties ------------------------------------------------------------------

TbsSkinToolBar::TbsSkinToolBar(gui::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FSkinDataName = "toolpanel";
    FBorderStyle = TbsSkinBorderStyle::bvNone;
    ForcebackGround = false;
    SetHeight(25);
}

TbsSkinToolBar::~TbsSkinToolBar() {
    StopTimer();
    if (FImages) FImages->RemoveFreeNotification(this);
}

void TbsSkinToolBar::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinPanel::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == HotImages) HotImages = nullptr;
    if (AComponent == DisabledImages) DisabledImages = nullptr;
}

void TbsSkinToolBar::SetCanScroll(bool Value) {
    if (FCanScroll == Value) return;
    FCanScroll = Value;
    if (!Value) SetArrowsVisible(false);
    UpdateScrollState();
}

void TbsSkinToolBar::SetScrollOffset(int Value) {
    if (Value >= 0) FScrollOffset = Value;
}

void TbsSkinToolBar::SetScrollTimerInterval(int Value) {
    if (Value > 0) FScrollTimerInterval = Value;
}

void TbsSkinToolBar::SetFlat(bool Value) {
    FFlat = Value;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(Controls(i))) b->SetFlat(Value);
}

void TbsSkinToolBar::SetImages(gui::TCustomImageList* Value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(Controls(i))) b->Invalidate();
}

void TbsSkinToolBar::SetShowCaptions(bool Value) {
    if (FShowCaptions == Value) return;
    FShowCaptions = Value;
    if (AutoShowHideCaptions)
        for (int i = 0; i < ControlCount(); ++i)
            if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(Controls(i))) b->SetShowCaption(Value);
    if (WidthWithCaptions != 0 && WidthWithoutCaptions != 0)
        SetWidth(Value ? WidthWithCaptions : WidthWithoutCaptions);
}

void TbsSkinToolBar::SetSkinData(TbsSkinData* Value) {
    TbsSkinPanel::SetSkinData(Value);
    for (int i = 0; i < ControlCount(); ++i) {
        if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(Controls(i))) b->SetSkinData(Value);
        if (auto* v = dynamic_cast<TbsSkinBevel*>(Controls(i))) v->SetSkinData(Value);
    }
}

void TbsSkinToolBar::SetSkinDataName(const std::string& Value) {
    TbsSkinPanel::SetSkinDataName(Value);
    if (!Designing() || Loading()) return;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* b = dynamic_cast<TbsSkinSpeedButton*>(Controls(i));
        if (!b) continue;
        auto* menu = dynamic_cast<TbsSkinMenuSpeedButton*>(b);
        bool track = menu && menu->TrackButtonMode();
        std::string name;
        if (Value == "resizetoolpanel")
            name = "resizetoolbutton";
        else if (Value == "panel")
            name = "resizebutton";
        else if (Value == "bigtoolpanel")
            name = !menu ? "bigtoolbutton" : track ? "bigtoolmenutrackbutton" : "bigtoolmenubutton";
        else
            name = !menu ? "toolbutton" : track ? "toolmenutrackbutton" : "toolmenubutton";
        b->SkinDataName = name;
    }
}

// "resizebutton" draws the arrows only when it is a button section.
void TbsSkinToolBar::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    ButtonData = nullptr;
    if (FIndex == -1) return;
    int index = FSD->GetControlIndex("resizebutton");
    if (index != -1)
        ButtonData = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(index)].get());
}

// --- layout --------------------------------------------------------------------------------

void TbsSkinToolBar::CentreChildren() {
    gui::TRect r = GetSkinClientRect();
    for (int i = 0; i < ControlCount(); ++i) {
        gui::TControl* c = Controls(i);
        if (dynamic_cast<TbsSkinControl*>(c) || dynamic_cast<TbsGraphicSkinControl*>(c) ||
            c->Align() != gui::alNone)
            continue;
        int top = gui::RectHeight(r) / 2 + r.top - c->Height() / 2;
        if (top != c->Top()) c->SetBounds(c->Left(), top, c->Width(), c->Height());
    }
}

void TbsSkinToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int oldW = Width();
    TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FAdjustControls)
        for (int i = 0; i < ControlCount(); ++i) {
            gui::TControl* c = Controls(i);
            c->SetBounds(c->Left(), c->Top(), c->Width(), c->Height());
        }
    if (FCanScroll) {
        FHSizeOffset = oldW != 0 && Width() > oldW ? Width() - oldW : 0;
        UpdateScrollState();
    }
    if (FAdjustControls) CentreChildren();
}

void TbsSkinToolBar::AdjustClientRect(gui::TRect& R) {
    TbsSkinPanel::AdjustClientRect(R);
    if (!Buttons[0].Visible && !Buttons[1].Visible) return;
    int cw = ClientWidth(), ch = ClientHeight();
    int top = R.top, bottom = R.bottom;
    if (FIndex == -1 || Designing()) {
        top = 1;
        bottom = ch - 1;
    } else if (!(FBorderStyle == TbsSkinBorderStyle::bvNone && ResizeMode == 1)) {
        top = NewClRect.Top;
        bottom = NewClRect.Bottom;
    }
    R = gui::Rect(-FSPosition, top, -FSPosition + std::max(FSMax, cw), bottom);
}

void TbsSkinToolBar::CreateControlSkinImage(gui::TBitmap* B) {
    if ((Buttons[0].Visible || Buttons[1].Visible) && ResizeMode == 2 && Picture) {
        BuildHorzMiddleImage(LTPt.X, SkinRect.Width() - RTPt.X, B, Picture, SkinRect, B->Width(), B->Height(),
                             StretchEffect);
        return;
    }
    TbsSkinPanel::CreateControlSkinImage(B);
}

// --- scrolling -----------------------------------------------------------------------------

// The arrows live in the non-client area: showing them changes the frame, nothing else.
void TbsSkinToolBar::SetArrowsVisible(bool Value) {
    if (Buttons[0].Visible == Value) return;
    Buttons[0].Visible = Buttons[1].Visible = Value;
    if (!Value) {
        StopTimer();
        Buttons[0].MouseIn = Buttons[1].MouseIn = Buttons[0].Down = Buttons[1].Down = false;
    }
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Buttons[0].R = gui::Rect(0, 0, kArrowWidth, Height());
    Buttons[1].R = gui::Rect(Width() - kArrowWidth, 0, Width(), Height());
}

void TbsSkinToolBar::MoveContents(int Dx) {
    if (Dx == 0) return;
    ScrollBy(Dx, 0);
    Invalidate();
}

void TbsSkinToolBar::UpdateScrollState() {
    if (!FCanScroll || Width() == 0) return;
    int a = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        gui::TControl* c = Controls(i);
        if (c->Visible()) a = std::max(a, c->Left() + c->Width());
    }
    int cw = ClientWidth(), p = FSPosition;
    if (a != 0 && a + p > cw) {
        if (!Buttons[0].Visible) {
            SetArrowsVisible(true);
            cw = ClientWidth();
        }
        int s = p + a - 1;
        if (p > 0 && a < cw && FHSizeOffset > 0) {
            FHSizeOffset = std::min(FHSizeOffset, p);
            FSMax = s;
            FSPosition -= FHSizeOffset;
            FSPage = cw;
            MoveContents(FHSizeOffset);
        } else if (FHSizeOffset != 0 || s >= FSMax || p <= 0 || a >= cw) {
            FSMax = s;
            FSPage = cw;
            FHSizeOffset = 0;
        } else {
            FSMax = s;
            FSPosition = p + a - cw;
            FSPage = cw;
            MoveContents(cw - a);
            FHSizeOffset = 0;
        }
        FSOldPosition = FSPosition;
        return;
    }
    if (a != 0) {
        if (p > 0) MoveContents(p);
        FHSizeOffset = FSMax = FSPosition = FSPage = 0;
        FSOldPosition = 0;
    }
    if (Buttons[0].Visible) SetArrowsVisible(false);
}

void TbsSkinToolBar::ScrollStep(bool Right) {
    int step = FScrollOffset != 0 ? FScrollOffset : ClientWidth();
    if (Right)
        FSPosition = std::min(FSPosition + step, FSMax - FSPage + 1);
    else
        FSPosition = std::max(FSPosition - step, 0);
    if (FSPosition == FSOldPosition) {
        StopTimer();
        return;
    }
    MoveContents(FSOldPosition - FSPosition);
    FSOldPosition = FSPosition;
}

void TbsSkinToolBar::StartTimer(int Mode) {
    TimerMode = Mode;
    if (!HandleAllocated()) return;
    KillTimer(Handle(), kScrollTimer);
    SetTimer(Handle(), kScrollTimer, static_cast<UINT>(FScrollTimerInterval), nullptr);
    FTimerOn = true;
}

void TbsSkinToolBar::StopTimer() {
    if (FTimerOn && HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    FTimerOn = false;
    TimerMode = 0;
}

void TbsSkinToolBar::RedrawArrows() {
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TbsSkinToolBar::Unhot() {
    bool any = Buttons[0].MouseIn || Buttons[1].MouseIn;
    Buttons[0].MouseIn = Buttons[1].MouseIn = false;
    if (FTimerOn) StopTimer();
    if (any) RedrawArrows();
}

int TbsSkinToolBar::ArrowHit(int ScreenX, int ScreenY) {
    if (!Buttons[0].Visible || !HandleAllocated()) return 0;
    RECT wr;
    GetWindowRect(Handle(), &wr);
    int x = ScreenX - wr.left, y = ScreenY - wr.top;
    if (y < 0 || y >= Height()) return 0;
    if (x >= 0 && x < kArrowWidth) return kHitLeftArrow;
    if (x >= kArrowWidth + ClientWidth() && x < Width()) return kHitRightArrow;
    return 0;
}

// --- arrows --------------------------------------------------------------------------------

void TbsSkinToolBar::PaintArrows(HDC DC) {
    if (!Buttons[0].Visible && !Buttons[1].Visible) return;
    gui::TCanvas c;
    c.SetHandle(DC);
    GetSkinData();
    gui::TBitmap* picture = ButtonData ? SkinPictureAt(*FSD, ButtonData->PictureIndex) : nullptr;
    for (int i = 0; i < 2; ++i) {
        const Arrow& b = Buttons[i];
        int w = gui::RectWidth(b.R), h = gui::RectHeight(b.R);
        if (!b.Visible || w <= 0 || h <= 0) continue;
        bool pressedLook = b.MouseIn && (b.Down || HotScroll);
        gui::TColor colour = gui::clBtnText;
        if (ButtonData && picture) {
            const TbsDataSkinButtonControl& d = *ButtonData;
            TRect src = d.SkinRect;
            colour = d.FontColor;
            if (!Empty(d.DownSkinRect) && pressedLook) {
                src = d.DownSkinRect;
                colour = d.DownFontColor;
            } else if (b.MouseIn && !Empty(d.ActiveSkinRect)) {
                src = d.ActiveSkinRect;
                colour = d.ActiveFontColor;
            }
            int dw = w - d.SkinRect.Width(), dh = h - d.SkinRect.Height();
            TPoint nrt{d.RTPoint.X + dw, d.RTPoint.Y}, nlb{d.LBPoint.X, d.LBPoint.Y + dh},
                nrb{d.RBPoint.X + dw, d.RBPoint.Y + dh};
            TRect ncl{d.ClRect.Left, d.ClRect.Top, d.ClRect.Right + dw, d.ClRect.Bottom + dh};
            gui::TBitmap img;
            img.SetSize(w, h);
            BuildNinePartImage(d.LTPoint, d.RTPoint, d.LBPoint, d.RBPoint, d.ClRect, d.LTPoint, nrt, nlb, nrb,
                               ncl, &img, picture, src, w, h, true, d.LeftStretch, d.TopStretch,
                               d.RightStretch, d.BottomStretch, d.StretchEffect, d.StretchType);
            c.Draw(b.R.left, b.R.top, &img);
        } else {
            gui::TColor frame = gui::clBtnShadow, fill = gui::clBtnFace;
            if (pressedLook) {
                frame = kNavy;
                fill = RGB(133, 147, 181);
            } else if (b.MouseIn) {
                frame = kNavy;
                fill = RGB(182, 189, 210);
            }
            c.Brush()->SetColor(fill);
            c.FillRect(b.R);
            c.Brush()->SetColor(frame);
            c.FrameRect(b.R);
        }
        DrawArrow(&c, b.R, colour, i == 0 ? 1 : 2);
    }
    c.SetHandle(nullptr);
}

void TbsSkinToolBar::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        if (!FCanScroll) break;
        RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                           : reinterpret_cast<RECT*>(m.LParam);
        GetSkinData();
        if (Buttons[0].Visible) r->left += kArrowWidth;
        if (Buttons[1].Visible) r->right -= kArrowWidth;
        r->right = std::max(r->right, r->left);
        m.Result = 0;
        return;
    }
    case WM_SIZE:
        TbsSkinPanel::Dispatch(m);
        if (Buttons[0].Visible) {
            Buttons[0].R = gui::Rect(0, 0, kArrowWidth, Height());
            Buttons[1].R = gui::Rect(Width() - kArrowWidth, 0, Width(), Height());
            RedrawArrows();
        }
        return;
    case WM_WINDOWPOSCHANGING:
        TbsSkinPanel::Dispatch(m);
        if (HandleAllocated() && FAdjustControls) CentreChildren();
        return;
    case WM_NCHITTEST:
        if (FCanScroll && !Designing()) {
            if (int hit = ArrowHit(static_cast<int16_t>(LOWORD(m.LParam)),
                                   static_cast<int16_t>(HIWORD(m.LParam)))) {
                m.Result = hit;
                return;
            }
        }
        break;
    case WM_SETCURSOR: {
        int hit = static_cast<int16_t>(LOWORD(m.LParam));
        if (hit == kHitLeftArrow || hit == kHitRightArrow) m.LParam = MAKELPARAM(HTCLIENT, HIWORD(m.LParam));
        break;
    }
    case WM_NCMOUSEMOVE: {
        int hit = static_cast<int>(m.WParam);
        if (!FCanScroll || (hit != kHitLeftArrow && hit != kHitRightArrow)) break;
        int i = hit == kHitLeftArrow ? 0 : 1;
        if (!Buttons[i].MouseIn) {
            Buttons[i].MouseIn = true;
            Buttons[1 - i].MouseIn = false;
            RedrawArrows();
            if (HotScroll) StartTimer(i + 1);
        }
        return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        int hit = static_cast<int>(m.WParam);
        if (!FCanScroll || (hit != kHitLeftArrow && hit != kHitRightArrow)) break;
        int i = hit == kHitLeftArrow ? 0 : 1;
        Buttons[i].Down = true;
        Buttons[i].MouseIn = true;
        RedrawArrows();
        StartTimer(i + 1);
        return;
    }
    case WM_NCLBUTTONUP: {
        int hit = static_cast<int>(m.WParam);
        if (!FCanScroll || (hit != kHitLeftArrow && hit != kHitRightArrow)) break;
        int i = hit == kHitLeftArrow ? 0 : 1;
        Buttons[i].Down = false;
        RedrawArrows();
        StopTimer();
        ScrollStep(i == 1);
        return;
    }
    case WM_MOUSEMOVE:
    case WM_NCMOUSELEAVE:
        if (Buttons[0].MouseIn || Buttons[1].MouseIn) Unhot();
        break;
    case gui::CM_MOUSELEAVE:
        TbsSkinPanel::Dispatch(m);
        Unhot();
        return;
    case WM_TIMER:
        if (m.WParam != kScrollTimer) break;
        // Resting on an arrow scrolls only while the pointer stays there.
        if (HotScroll && !Buttons[0].Down && !Buttons[1].Down) {
            POINT p{};
            GetCursorPos(&p);
            if (ArrowHit(p.x, p.y) != (TimerMode == 1 ? kHitLeftArrow : kHitRightArrow)) {
                Unhot();
                return;
            }
        }
        if (TimerMode == 1) ScrollStep(false);
        if (TimerMode == 2) ScrollStep(true);
        return;
    case WM_NCPAINT: {
        if (!Buttons[0].Visible && !Buttons[1].Visible) break;
        HDC dc = GetWindowDC(Handle());
        PaintArrows(dc);
        ReleaseDC(Handle(), dc);
        m.Result = 0;
        return;
    }
    default:
        break;
    }
    TbsSkinPanel::Dispatch(m);
}

// --- status bar ----------------------------------------------------------------------------

TbsSkinStatusBar::TbsSkinStatusBar(gui::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FSkinDataName = "statusbar";
    FBorderStyle = TbsSkinBorderStyle::bvNone;
    ForcebackGround = false;
    SetAlign(gui::alBottom);
    SetHeight(21);
}

void TbsSkinStatusBar::SetSizeGrip(bool Value) {
    FSizeGrip = Value;
    Invalidate();
    Realign();
}

void TbsSkinStatusBar::SetShowGrip(bool Value) {
    FShowGrip = Value;
    Invalidate();
    Realign();
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* Value) {
    TbsSkinPanel::SetSkinData(Value);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* c = dynamic_cast<TbsSkinControl*>(Controls(i))) c->SetSkinData(Value);
}

void TbsSkinStatusBar::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    GripperRect = TRect{};
    if (FIndex == -1) return;
    if (auto* d = dynamic_cast<TbsDataSkinPanelControl*>(Descriptor())) {
        GripperRect = d->GripperRect;
        GripperTransparent = d->GripperTransparent;
        GripperTransparentColor = d->GripperTransparentColor;
    }
}

void TbsSkinStatusBar::AdjustClientRect(gui::TRect& R) {
    TbsSkinPanel::AdjustClientRect(R);
    if (!Gripped()) return;
    if (FIndex != -1 && !Empty(GripperRect))
        R.right -= GripperRect.Width();
    else
        R.right -= gui::RectHeight(R);
}

gui::TRect TbsSkinStatusBar::GripRect() {
    gui::TRect r = GetSkinClientRect();
    if (FIndex != -1 && !Empty(GripperRect))
        return gui::Rect(r.right, r.bottom - GripperRect.Height(), r.right + GripperRect.Width(), r.bottom);
    return gui::Rect(r.right + 2, r.top, r.right + gui::RectHeight(r), r.bottom - 2);
}

void TbsSkinStatusBar::DrawGrip(gui::TCanvas* C) {
    if (!Gripped()) return;
    gui::TRect g = GripRect();
    if (FIndex != -1 && !Empty(GripperRect) && Picture) {
        gui::TBitmap img;
        img.SetSize(GripperRect.Width(), GripperRect.Height());
        img.Canvas()->CopyRect(gui::Rect(0, 0, GripperRect.Width(), GripperRect.Height()), Picture->Canvas(),
                               ToGuiRect(GripperRect));
        if (GripperTransparent) {
            img.SetTransparent(true);
            img.SetTransparentColor(GripperTransparentColor);
        }
        C->Draw(g.left, g.top, &img);
        return;
    }
    gui::TColor shadow = gui::clBtnShadow, light = gui::clBtnHighlight;
    if (FIndex != -1) {
        shadow = FSD->SkinColors().cBtnShadow();
        light = FSD->SkinColors().cBtnHighLight();
    }
    for (int d = 3; g.right >= g.left + d + 2; d += 3) {
        C->Pen()->SetColor(shadow);
        C->MoveTo(g.left + d, g.bottom);
        C->LineTo(g.right, g.top + d);
        C->Pen()->SetColor(light);
        C->MoveTo(g.left + d + 1, g.bottom);
        C->LineTo(g.right, g.top + d + 1);
    }
}

void TbsSkinStatusBar::CreateControlDefaultImage(gui::TBitmap* B) {
    TbsSkinPanel::CreateControlDefaultImage(B);
    DrawGrip(B->Canvas());
}

void TbsSkinStatusBar::CreateControlSkinImage(gui::TBitmap* B) {
    TbsSkinPanel::CreateControlSkinImage(B);
    DrawGrip(B->Canvas());
}

void TbsSkinStatusBar::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_NCHITTEST: {
        if (!Gripped() || Designing()) break;
        gui::TPoint p =
            ScreenToClient({static_cast<int16_t>(LOWORD(m.LParam)), static_cast<int16_t>(HIWORD(m.LParam))});
        GetSkinData();
        m.Result = Inside(GripRect(), p.x, p.y) ? HTBOTTOMRIGHT : HTCLIENT;
        return;
    }
    case WM_NCLBUTTONDOWN:
        // The grip sizes the form it stands in, not the bar.
        if (static_cast<int>(m.WParam) == HTBOTTOMRIGHT && Gripped()) {
            if (gui::TCustomForm* form = gui::GetParentForm(this); form && form->HandleAllocated()) {
                m.Result = SendMessage(form->Handle(), WM_SYSCOMMAND,
                                       static_cast<WPARAM>(SC_SIZE) + static_cast<WPARAM>(WMSZ_BOTTOMRIGHT),
                                       m.LParam);
                return;
            }
        }
        break;
    default:
        break;
    }
    TbsSkinPanel::Dispatch(m);
}

} // namespace skin

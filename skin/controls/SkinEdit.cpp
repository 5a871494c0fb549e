#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinToolBar.h"

#include "controls/CommCtrl.h"
#include "gdi/Dc.h"
#include "gdi/Objects.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int kHitButton = HTHSCROLL;     // the edit button
constexpr int kHitFrame = HTVSCROLL;      // the frame around the text
constexpr int kHitLeftImage = 104;        // the image button at the text area's left
constexpr int kHitRightImage = 105;       // and at its right
const gui::TColor kNavy = RGB(0, 0, 128); // hot and pressed small parts

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(gui::TComponent* AOwner)
    : TbsCustomEdit(AOwner), FDefaultColor(gui::clWindow), FDefaultFont(std::make_unique<gui::TFont>()) {
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(gui::clBlack);
    Font()->SetStyle(0);
    FDefaultFont->Assign(Font());
    FDefaultFont->OnChange = [this](gui::TObject*) {
        if (FIndex == -1) Font()->Assign(FDefaultFont.get());
    };
    TbsSkinCustomEdit::SetBounds(Left(), Top(), Width(), 20);
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() {
    FDefaultFont->OnChange = nullptr;
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FImages) FImages->RemoveFreeNotification(this);
    if (FGroundBrush) DeleteObject(FGroundBrush);
}

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !Designing())
        ChangeSkinData();
    else
        BeforeChangeSkinData(); // nothing may point into the old skin
}

void TbsSkinCustomEdit::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsCustomEdit::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
        Picture = nullptr;
    }
    if (Operation == gui::TOperation::opRemove && AComponent == FImages) {
        FImages = nullptr;
        CalcImageButtons(true);
        InvalidateClient();
    }
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinCustomEdit::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
    if (FIndex == -1) return;
    auto* d = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get());
    // Another class under the name, or a frame without its picture: the default look.
    gui::TBitmap* p = d ? SkinPictureAt(*FSD, d->PictureIndex) : nullptr;
    if (!d || !p || Empty(d->SkinRect)) {
        FIndex = -1;
        return;
    }
    Picture = p;
    SkinRect = d->SkinRect;
    ActiveSkinRect = Empty(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
    LOffset = d->LTPoint.X;
    ROffset = d->SkinRect.Width() - d->RTPoint.X;
    ClRect = d->ClRect;
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    DisabledFontColor = d->DisabledFontColor;
    ActiveFontColor = d->ActiveFontColor;
    SkinButtonRect = d->ButtonRect;
    ActiveButtonRect = d->ActiveButtonRect;
    DownButtonRect = Empty(d->DownButtonRect) ? d->ActiveButtonRect : d->DownButtonRect;
    UnEnabledButtonRect = d->UnEnabledButtonRect;
    StretchEffect = d->StretchEffect;
}

void TbsSkinCustomEdit::BeforeChangeSkinData() {
    FIndex = -1;
    Picture = nullptr;
}

bool TbsSkinCustomEdit::Active() const {
    return FMouseIn || Focused();
}

void TbsSkinCustomEdit::ApplyFontColor() {
    if (FIndex == -1)
        Font()->SetColor(FDefaultFont->Color());
    else
        Font()->SetColor(Active() ? ActiveFontColor : FontColor);
}

void TbsSkinCustomEdit::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        Font()->Assign(FDefaultFont.get());
        SetColor(FDefaultColor);
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    } else {
        if (UseSkinFont) {
            Font()->SetName(FontName);
            Font()->SetStyle(FontStyle);
            Font()->SetHeight(FontHeight);
        } else {
            Font()->Assign(FDefaultFont.get());
        }
    }
    if (FSD && FSD->ResourceStrData())
        Font()->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
    else
        Font()->SetCharset(FDefaultFont->Charset());
    ApplyFontColor();
    SetBounds(Left(), Top(), Width(), Height());
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawFrame();
    CalcImageButtons(true);
    InvalidateClient();
}

// --- properties ----------------------------------------------------------------------------

void TbsSkinCustomEdit::SetButtonMode(bool Value) {
    if (FButtonMode == Value) return;
    FButtonMode = Value;
    if (Designing() && !Loading()) SkinDataName = Value ? "buttonedit" : "edit";
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetDefaultColor(gui::TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) {
        SetColor(Value);
        RedrawFrame();
    }
}

void TbsSkinCustomEdit::SetAlignment(gui::TAlignment Value) {
    if (FAlignment == Value) return;
    FAlignment = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetImages(gui::TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    CalcImageButtons(true);
    InvalidateClient();
}

void TbsSkinCustomEdit::SetLeftImageIndex(int Value) {
    if (FLeftImageIndex == Value) return;
    FLeftImageIndex = Value;
    CalcImageButtons(true);
    InvalidateClient();
}

void TbsSkinCustomEdit::SetRightImageIndex(int Value) {
    if (FRightImageIndex == Value) return;
    FRightImageIndex = Value;
    CalcImageButtons(true);
    InvalidateClient();
}

void TbsSkinCustomEdit::CreateParams(gui::TCreateParams& p) {
    TbsCustomEdit::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
    if (FAlignment == gui::taCenter) p.Style |= ES_CENTER;
    if (FAlignment == gui::taRightJustify) p.Style |= ES_RIGHT;
}

void TbsSkinCustomEdit::CreateWnd() {
    TbsCustomEdit::CreateWnd();
    CalcImageButtons(true);
}

void TbsSkinCustomEdit::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomEdit::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0 && UseSkinFont)
        SetHeight(Value);
    else
        SetBounds(Left(), Top(), Width(), Height());
}

// --- geometry ------------------------------------------------------------------------------

int TbsSkinCustomEdit::FontHeightFor() const {
    gui::TBitmap b;
    b.SetSize(1, 1);
    b.Canvas()->SetFont(Font());
    return b.Canvas()->TextHeight("Wg");
}

void TbsSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FDefaultFont) {
        GetSkinData();
        if (FIndex != -1 && UseSkinFont)
            AHeight = SkinRect.Height();
        else if (!UseSkinFont)
            AHeight = FontHeightFor() + (FIndex == -1 ? 4 : SkinRect.Height() - ClRect.Height());
    }
    ATop = ToolBarChildTop(this, ATop, AHeight);
    TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FDefaultFont) {
        CalcRects();
        CalcImageButtons(true);
        RedrawFrame();
        InvalidateClient();
    }
}

void TbsSkinCustomEdit::CalcImageButtons(bool Apply) {
    if (!FDefaultFont) return; // still being made
    LeftButton.R = RightButton.R = {};
    gui::TRect r = HandleAllocated() ? ClientRect()
                                     : gui::Rect(0, 0, gui::RectWidth(FEditRect), gui::RectHeight(FEditRect));
    bool any = false;
    if (FImages) {
        int iw = FImages->Width();
        if (FLeftImageIndex >= 0) {
            LeftButton.R = {r.left, r.top, r.left + iw, r.bottom};
            r.left += iw + 2;
            any = true;
        }
        if (FRightImageIndex >= 0) {
            RightButton.R = {r.right - iw, r.top, r.right, r.bottom};
            r.right -= iw + 2;
            any = true;
        }
    }
    if (!Apply || !HandleAllocated()) return;
    // Without image buttons the editor keeps its own margins.
    RECT fr{r.left, r.top, r.right, r.bottom};
    SendMessage(Handle(), EM_SETRECTNP, 0, any ? reinterpret_cast<LPARAM>(&fr) : 0);
}

void TbsSkinCustomEdit::CalcRects() {
    int W = Width(), H = Height();
    if (FIndex == -1) {
        int buttonLeft = W;
        FButtonRect = {};
        if (FButtonMode) {
            FButtonRect = {W - H, 0, W, H};
            buttonLeft = W - H;
        }
        FEditRect = {2, 2, buttonLeft - 2, H - 2};
        return;
    }
    int SW = SkinRect.Width(), SH = SkinRect.Height();
    FEditRect = {ClRect.Left, ClRect.Top, W + ClRect.Right - SW, ClRect.Bottom};
    FButtonRect = ToGuiRect(SkinButtonRect);
    // A button inside the right cap moves with the control's right edge.
    if (SkinButtonRect.Left >= SW - ROffset) {
        FButtonRect.left += W - SW;
        FButtonRect.right += W - SW;
    }
    if (!UseSkinFont) {
        FEditRect.bottom += H - SH;
        FButtonRect.bottom += H - SH;
    }
}

// --- frame ---------------------------------------------------------------------------------

void TbsSkinCustomEdit::RedrawFrame() {
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TbsSkinCustomEdit::PaintFrame(HDC DC) {
    int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    GetSkinData();
    CalcRects();
    gui::TBitmap b;
    DrawFrame(&b, Active());
    ExcludeClipRect(DC, FEditRect.left, FEditRect.top, FEditRect.right, FEditRect.bottom);
    BitBlt(DC, 0, 0, W, H, b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinCustomEdit::DrawSkinEditButton(gui::TCanvas* C) {
    int index = FSD->GetControlIndex("editbutton");
    if (index == -1) index = FSD->GetControlIndex("resizebutton");
    if (index == -1) return;
    auto* d = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(index)].get());
    TbsNinePartGeometry g;
    if (!d || !g.Read(*FSD, *d, false)) return;
    TRect active = Empty(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
    TRect down = Empty(d->DownSkinRect) ? active : d->DownSkinRect;
    TRect state = FButtonDown && FButtonActive ? down : FButtonActive ? active : d->SkinRect;
    int w = gui::RectWidth(FButtonRect), h = gui::RectHeight(FButtonRect);
    if (w <= 0 || h <= 0) return;
    g.ResizeMode = 1; // any size: corners fixed, the rest moved to the button's size
    g.Adjust(w, h);
    gui::TBitmap bb;
    bb.SetSize(w, h);
    g.Build(&bb, g.Picture, state, w, h);
    C->Draw(FButtonRect.left, FButtonRect.top, &bb);
}

void TbsSkinCustomEdit::DrawFrame(gui::TBitmap* B, bool Hover) {
    int W = Width(), H = Height();
    B->SetSize(W, H);
    gui::TCanvas* c = B->Canvas();
    if (FIndex == -1) {
        int bw = FButtonMode ? gui::RectWidth(FButtonRect) : 0;
        c->Brush()->SetColor(FDefaultColor);
        c->FillRect({0, 0, W, H});
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FrameRect({0, 0, W - bw, H});
        c->Brush()->SetColor(gui::clBtnFace);
        c->FrameRect({1, 1, W - bw - 1, H - 1});
        if (FButtonMode) {
            gui::TColor frame = gui::clBtnShadow, fill = gui::clBtnFace;
            if (FButtonActive) {
                frame = kNavy;
                fill = FButtonDown ? RGB(133, 147, 181) : RGB(182, 189, 210);
            }
            c->Brush()->SetColor(fill);
            c->FillRect(FButtonRect);
            c->Brush()->SetColor(frame);
            c->FrameRect(FButtonRect);
        }
    } else {
        TRect src = Hover ? ActiveSkinRect : SkinRect;
        if (UseSkinFont) {
            BuildHorzThreePartImage(LOffset, ROffset, B, Picture, src, W, src.Height(), StretchEffect);
        } else {
            BuildImageByClientRect(B, Picture, src, ClRect, false);
            if (FButtonMode) DrawSkinEditButton(c);
        }
        if (FButtonMode && UseSkinFont) {
            TRect state{};
            if (!Enabled() && !Empty(UnEnabledButtonRect))
                state = UnEnabledButtonRect;
            else if (FButtonDown && FButtonActive)
                state = DownButtonRect;
            else if (FButtonActive)
                state = ActiveButtonRect;
            if (!Empty(state))
                c->CopyRect({FButtonRect.left, FButtonRect.top, FButtonRect.left + state.Width(),
                             FButtonRect.top + state.Height()},
                            Picture->Canvas(), ToGuiRect(state));
        }
    }
}

// --- the text area -------------------------------------------------------------------------

void TbsSkinCustomEdit::InvalidateClient() {
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TbsSkinCustomEdit::DrawClientGround(gui::TBitmap* B, bool Hover) {
    int w = std::max(gui::RectWidth(FEditRect), 1), h = std::max(gui::RectHeight(FEditRect), 1);
    B->SetSize(w, h);
    gui::TCanvas* c = B->Canvas();
    if (FIndex == -1) {
        c->Brush()->SetColor(FDefaultColor);
        c->FillRect(gui::Rect(0, 0, w, h));
    } else {
        // The part of the frame picture under the client rectangle, as wide as the text area.
        const TRect& s = Hover ? ActiveSkinRect : SkinRect;
        TRect src{s.Left + ClRect.Left, s.Top + ClRect.Top, s.Left + ClRect.Right, s.Top + ClRect.Bottom};
        int sw = SkinRect.Width();
        int leftCap = std::max(0, LOffset - ClRect.Left), rightCap = std::max(0, ClRect.Right + ROffset - sw);
        gui::TBitmap part;
        BuildHorzThreePartImage(leftCap, rightCap, &part, Picture, src, w, ClRect.Height(), StretchEffect);
        if (UseSkinFont)
            c->Draw(0, 0, &part);
        else
            c->StretchDraw(gui::Rect(0, 0, w, h), &part);
    }
    if (!FImages) return;
    auto drawButton = [&](const TbsCBButtonX& b, int normal, int hot, int down) {
        if (gui::RectWidth(b.R) <= 0 || normal < 0) return;
        int n = FImages->Count();
        int index = b.Down && b.MouseIn && down >= 0 && down < n ? down
                    : b.MouseIn && hot >= 0 && hot < n           ? hot
                                                                 : normal;
        int y = std::max(b.R.top, b.R.top + (gui::RectHeight(b.R) - FImages->Height()) / 2);
        FImages->Draw(c, b.R.left, y, index, Enabled());
    };
    drawButton(LeftButton, FLeftImageIndex, LeftImageHotIndex, LeftImageDownIndex);
    drawButton(RightButton, FRightImageIndex, RightImageHotIndex, RightImageDownIndex);
}

// The disabled text in the skin's disabled colour: the editor would grey it its own way.
void TbsSkinCustomEdit::PaintDisabled() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    gui::TBitmap b;
    DrawClientGround(&b, false);
    gui::TCanvas* c = b.Canvas();
    if (FIndex != -1 && UseSkinFont) {
        c->Font()->SetName(FontName);
        c->Font()->SetHeight(FontHeight);
        c->Font()->SetStyle(FontStyle);
        c->Font()->SetColor(DisabledFontColor);
    } else {
        c->Font()->Assign(FDefaultFont.get());
        c->Font()->SetColor(FIndex == -1 ? gui::clGrayText : DisabledFontColor);
    }
    c->Font()->SetCharset(Font()->Charset());
    c->Brush()->SetStyle(gui::bsClear);
    gui::TRect r = gui::Rect(0, 0, b.Width(), b.Height());
    if (gui::RectWidth(LeftButton.R) > 0) r.left = LeftButton.R.right + 2;
    if (gui::RectWidth(RightButton.R) > 0) r.right = RightButton.R.left - 2;
    std::string text = Text();
    int tw = c->TextWidth(text);
    int x = FAlignment == gui::taRightJustify ? r.right - tw - 1
            : FAlignment == gui::taCenter     ? r.left + gui::RectWidth(r) / 2 - tw / 2
                                              : r.left + 2;
    c->TextRect(r, x, r.top, text);
    BitBlt(dc, 0, 0, b.Width(), b.Height(), c->Handle(), 0, 0, SRCCOPY);
    EndPaint(Handle(), &ps);
}

void TbsSkinCustomEdit::PaintSkinTo(gui::TCanvas* C, int X, int Y, const std::string& AText) {
    int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    GetSkinData();
    CalcRects();
    CalcImageButtons(false);
    bool buttonDown = FButtonDown, buttonActive = FButtonActive;
    FButtonDown = FButtonActive = false;
    gui::TBitmap b;
    DrawFrame(&b, false);
    FButtonDown = buttonDown;
    FButtonActive = buttonActive;
    gui::TCanvas* c = b.Canvas();
    if (FIndex != -1 && UseSkinFont) {
        c->Font()->SetName(FontName);
        c->Font()->SetHeight(FontHeight);
        c->Font()->SetStyle(FontStyle);
        c->Font()->SetColor(FontColor);
    } else {
        c->Font()->Assign(FDefaultFont.get());
    }
    c->Font()->SetCharset(Font()->Charset());
    c->Brush()->SetStyle(gui::bsClear);
    gui::TRect r = FEditRect;
    int iw = FImages ? FImages->Width() : 0;
    if (FImages && FLeftImageIndex >= 0) r.left += iw + 2;
    if (FImages && FRightImageIndex >= 0) r.right -= iw + 2;
    int tw = c->TextWidth(AText);
    int x = FAlignment == gui::taRightJustify ? r.right - tw
            : FAlignment == gui::taCenter     ? r.left + gui::RectWidth(r) / 2 - tw / 2 + 1
                                              : r.left + 2;
    c->TextRect(r, x, r.top, AText);
    C->Draw(X, Y, &b);
}

// --- messages ------------------------------------------------------------------------------

void TbsSkinCustomEdit::CMMouseEnter(gui::TMessage& m) {
    TbsCustomEdit::CMMouseEnter(m);
    FMouseIn = true;
    if (FIndex != -1 && !Focused()) {
        ApplyFontColor();
        RedrawFrame();
        InvalidateClient();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TbsSkinCustomEdit::CMMouseLeave(gui::TMessage& m) {
    TbsCustomEdit::CMMouseLeave(m);
    FMouseIn = false;
    bool redraw = FIndex != -1 && !Focused();
    if (FButtonDown || FButtonActive) {
        FButtonDown = FButtonActive = false;
        redraw = true;
    }
    if (LeftButton.MouseIn || RightButton.MouseIn || LeftButton.Down || RightButton.Down) {
        LeftButton.MouseIn = RightButton.MouseIn = LeftButton.Down = RightButton.Down = false;
        redraw = true;
    }
    if (FIndex != -1 && !Focused()) ApplyFontColor();
    if (redraw) {
        RedrawFrame();
        InvalidateClient();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TbsSkinCustomEdit::CMEnabledChanged(gui::TMessage& m) {
    TbsCustomEdit::CMEnabledChanged(m);
    RedrawFrame();
    Invalidate();
}

void TbsSkinCustomEdit::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                           : reinterpret_cast<RECT*>(m.LParam);
        GetSkinData();
        if (FIndex == -1) {
            int H = r->bottom - r->top;
            r->left += 2;
            r->top += 2;
            r->bottom -= 2;
            r->right -= FButtonMode ? H + 2 : 2;
        } else {
            r->left += ClRect.Left;
            r->top += ClRect.Top;
            r->right -= SkinRect.Width() - ClRect.Right;
            r->bottom -= SkinRect.Height() - ClRect.Bottom;
        }
        if (r->right < r->left) r->right = r->left;
        if (r->bottom < r->top) r->bottom = r->top;
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
    case gui::CN_CTLCOLOREDIT:
    case gui::CN_CTLCOLORSTATIC: {
        // The editor fills its client with this brush before its text: the text area's
        // ground and the image buttons, as one picture.
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        GetSkinData();
        CalcRects();
        gui::TBitmap ground;
        DrawClientGround(&ground, Active());
        if (FGroundBrush) DeleteObject(FGroundBrush);
        FGroundBrush = CreatePatternBrush(ground.Handle());
        SetBrushOrgEx(dc, 0, 0, nullptr);
        SetTextColor(dc, gui::ColorToRGB(Font()->Color()));
        SetBkMode(dc, TRANSPARENT);
        m.Result = reinterpret_cast<LRESULT>(FGroundBrush);
        return;
    }
    case WM_SIZE:
    case WM_SETFONT:
    case EM_SETMARGINS:
        // The editor lays its text out anew here: it must keep clear of the image buttons.
        TbsCustomEdit::Dispatch(m);
        CalcImageButtons(true);
        return;
    case WM_PAINT:
        if (!Enabled() && !m.WParam) {
            GetSkinData();
            CalcRects();
            PaintDisabled();
            m.Result = 0;
            return;
        }
        break;
    case WM_NCHITTEST:
        if (FImages && !Designing()) {
            gui::TPoint p = ScreenToClient(
                {static_cast<int16_t>(LOWORD(m.LParam)), static_cast<int16_t>(HIWORD(m.LParam))});
            bool inLeft = FLeftImageIndex >= 0 && Inside(LeftButton.R, p.x, p.y);
            bool inRight = FRightImageIndex >= 0 && Inside(RightButton.R, p.x, p.y);
            if (inLeft != LeftButton.MouseIn || inRight != RightButton.MouseIn) {
                LeftButton.MouseIn = inLeft;
                RightButton.MouseIn = inRight;
                InvalidateClient();
            }
            if (inLeft || inRight) {
                m.Result = inLeft ? kHitLeftImage : kHitRightImage;
                return;
            }
        }
        if (FButtonMode && !Designing()) {
            RECT wr;
            GetWindowRect(Handle(), &wr);
            int x = static_cast<int16_t>(LOWORD(m.LParam)) - wr.left;
            int y = static_cast<int16_t>(HIWORD(m.LParam)) - wr.top;
            CalcRects();
            if (Inside(FButtonRect, x, y)) {
                m.Result = kHitButton;
                return;
            }
            if (!Inside(FEditRect, x, y)) {
                m.Result = kHitFrame;
                return;
            }
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (m.WParam == kHitLeftImage || m.WParam == kHitRightImage) {
            (m.WParam == kHitLeftImage ? LeftButton : RightButton).Down = true;
            if (!Focused() && CanFocus()) SetFocus();
            InvalidateClient();
            return;
        }
        if (FButtonMode && m.WParam == kHitButton) {
            FButtonDown = FButtonActive = true;
            RedrawFrame();
            return;
        }
        break;
    case WM_NCLBUTTONUP:
        if (m.WParam == kHitLeftImage || m.WParam == kHitRightImage) {
            TbsCBButtonX& b = m.WParam == kHitLeftImage ? LeftButton : RightButton;
            bool click = b.Down;
            LeftButton.Down = RightButton.Down = false;
            InvalidateClient();
            if (click) {
                gui::TNotifyEvent& e = m.WParam == kHitLeftImage ? OnLeftButtonClick : OnRightButtonClick;
                if (e) e(this);
            }
            return;
        }
        if (FButtonMode && m.WParam == kHitButton && FButtonDown) {
            FButtonDown = false;
            RedrawFrame();
            if (!Focused() && CanFocus()) SetFocus();
            if (OnButtonClick) OnButtonClick(this);
            return;
        }
        FButtonDown = false;
        break;
    case WM_NCMOUSEMOVE:
        if (FButtonMode) {
            bool over = m.WParam == kHitButton;
            if (over != FButtonActive) {
                FButtonActive = over;
                if (!over) FButtonDown = false;
                RedrawFrame();
            }
        }
        break;
    case WM_MOUSEMOVE:
        if (FButtonActive) {
            FButtonActive = FButtonDown = false;
            RedrawFrame();
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsCustomEdit::Dispatch(m);
        GetSkinData();
        if (FIndex != -1 && !FMouseIn) ApplyFontColor();
        CalcImageButtons(true);
        RedrawFrame();
        InvalidateClient();
        return;
    case 45513: // paint the frame into the device context of the first parameter
        if (m.WParam) {
            PaintFrame(reinterpret_cast<HDC>(m.WParam));
            m.Result = 12851;
            return;
        }
        break;
    case 48203:
        if (m.LParam == 16802 && m.WParam) {
            PaintFrame(reinterpret_cast<HDC>(m.WParam));
            m.Result = 16802;
            return;
        }
        break;
    default:
        break;
    }
    TbsCustomEdit::Dispatch(m);
}

} // namespace skin

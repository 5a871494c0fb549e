#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinToolBar.h"

#include "gdi/Dc.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/WindowPos.h"

namespace skin {

namespace {

constexpr int kHitButton = HTHSCROLL;     // the edit button
constexpr int kHitFrame = HTVSCROLL;      // the frame around the text
const gui::TColor kNavy = RGB(0, 0, 128); // hot and pressed small parts

bool Empty(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

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
        // The text lies on the skin's client part: its middle colour is the editor's fill.
        const TRect& r = Active() ? ActiveSkinRect : SkinRect;
        SetColor(Picture->Canvas()->Pixels(r.Left + (ClRect.Left + ClRect.Right) / 2,
                                           r.Top + (ClRect.Top + ClRect.Bottom) / 2));
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
        RedrawFrame();
    }
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
    b.SetSize(W, H);
    gui::TCanvas* c = b.Canvas();
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
        TRect src = Active() ? ActiveSkinRect : SkinRect;
        if (UseSkinFont) {
            BuildHorzThreePartImage(LOffset, ROffset, &b, Picture, src, W, src.Height(), StretchEffect);
        } else {
            BuildImageByClientRect(&b, Picture, src, ClRect, false);
        }
        if (FButtonMode) {
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
    ExcludeClipRect(DC, FEditRect.left, FEditRect.top, FEditRect.right, FEditRect.bottom);
    BitBlt(DC, 0, 0, W, H, c->Handle(), 0, 0, SRCCOPY);
}

// --- messages ------------------------------------------------------------------------------

void TbsSkinCustomEdit::CMMouseEnter(gui::TMessage& m) {
    TbsCustomEdit::CMMouseEnter(m);
    FMouseIn = true;
    if (FIndex != -1 && !Focused()) {
        ApplyFontColor();
        RedrawFrame();
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
    if (FIndex != -1 && !Focused()) ApplyFontColor();
    if (redraw) RedrawFrame();
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
    case WM_NCHITTEST:
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
        if (FButtonMode && m.WParam == kHitButton) {
            FButtonDown = FButtonActive = true;
            RedrawFrame();
            return;
        }
        break;
    case WM_NCLBUTTONUP:
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
        if (FIndex != -1 && !FMouseIn) {
            ApplyFontColor();
            const TRect& r = Active() ? ActiveSkinRect : SkinRect;
            SetColor(Picture->Canvas()->Pixels(r.Left + (ClRect.Left + ClRect.Right) / 2,
                                               r.Top + (ClRect.Top + ClRect.Bottom) / 2));
        }
        RedrawFrame();
        Invalidate();
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

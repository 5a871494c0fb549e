#include "skin/hints/SkinHintWindow.h"

#include "gdi/Blit.h"
#include "gdi/Objects.h"
#include "gui/Application.h"
#include "gui/Color.h"
#include "gui/Forms.h"
#include "gui/Screen.h"
#include "os/Clock.h"
#include "skin/core/ResourceStrData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/MaskRegion.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "skin/hints/SkinHint.h"
#include "win/Layered.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

namespace {

gui::TBitmap* PictureOf(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= static_cast<int>(sd->FActivePictures.size())) return nullptr;
    return &sd->FActivePictures[static_cast<size_t>(index)]->Bitmap();
}

// The skin of the component when it has a hint picture, else none (the plain look).
TbsSkinData* SkinOf(TbsSkinHint* h) {
    TbsSkinData* sd = h->SkinData();
    if (!sd || sd->Empty || !PictureOf(sd, sd->HintWindow.WindowPictureIndex)) return nullptr;
    return sd;
}

// The area a hint stays inside: the monitor of the active form, or of the main form while it
// shows, else the whole screen.
gui::TRect HintArea() {
    gui::TCustomForm* f = gui::Screen->ActiveForm();
    if (!f && gui::Application->MainForm() && gui::Application->MainForm()->Visible())
        f = gui::Application->MainForm();
    gui::TRect r = gui::Rect(0, 0, gui::Screen->Width(), gui::Screen->Height());
    if (f && f->HandleAllocated()) GetMonitorArea(f->Handle(), true, r);
    return r;
}

} // namespace

std::string BreakHintLines(const std::string& Text, const std::string& Separator) {
    if (Separator.empty()) return Text;
    std::string out;
    size_t from = 0;
    for (size_t at; (at = Text.find(Separator, from)) != std::string::npos; from = at + Separator.size())
        out.append(Text, from, at - from).append("\n\r");
    return out.append(Text, from, std::string::npos);
}

TbsSkinHintWindow::TbsSkinHintWindow(gui::TComponent* AOwner) : gui::THintWindow(AOwner) {}

TbsSkinHintWindow::~TbsSkinHintWindow() = default;

void TbsSkinHintWindow::CreateParams(gui::TCreateParams& p) {
    gui::THintWindow::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_BORDER);
    p.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinHintWindow::SetCanvasFont(gui::TCanvas* C) {
    const TbsDataSkinHintWindow* hw = FSD ? &FSD->HintWindow : nullptr;
    if (hw && FspHint->UseSkinFont) {
        C->Font()->SetHeight(hw->FontHeight);
        C->Font()->SetName(hw->FontName);
        C->Font()->SetStyle(hw->FontStyle);
    } else {
        C->SetFont(FspHint->DefaultFont());
    }
    TbsSkinData* sd = FspHint->SkinData();
    C->Font()->SetCharset(sd && sd->ResourceStrData() ? static_cast<uint8_t>(sd->ResourceStrData()->CharSet)
                                                      : FspHint->DefaultFont()->Charset());
}

gui::TSize TbsSkinHintWindow::MeasureText(const std::string& Text, bool Bold) {
    gui::TBitmap b;
    b.SetSize(1, 1);
    SetCanvasFont(b.Canvas());
    if (Bold) b.Canvas()->Font()->SetStyle(b.Canvas()->Font()->Style() | gui::fsBold);
    gui::TRect r{};
    DrawWideText(b.Canvas(), Text, r, DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

// The skin's frame around a text of TW x TH (plus Extra across), and the frame's geometry at
// that size; the window never gets smaller than the frame's fixed corners.
void TbsSkinHintWindow::SizeBySkin(int TW, int TH, int Extra, int& W, int& H) {
    const TbsDataSkinHintWindow& hw = FSD->HintWindow;
    gui::TBitmap* pic = PictureOf(FSD, hw.WindowPictureIndex);
    int PW = pic->Width(), PH = pic->Height();
    W = TW + Extra + hw.ClRect.Left + (PW - hw.ClRect.Right);
    H = TH + hw.ClRect.Top + (PH - hw.ClRect.Bottom);
    int DX = W - PW, DY = H - PH;
    if (hw.RTPoint.X + DX < hw.LTPoint.X) W += hw.LTPoint.X - (hw.RTPoint.X + DX), DX = W - PW;
    if (hw.RBPoint.X + DX < hw.LBPoint.X) W += hw.LBPoint.X - (hw.RBPoint.X + DX), DX = W - PW;
    if (hw.LBPoint.Y + DY < hw.LTPoint.Y) H += hw.LTPoint.Y - (hw.LBPoint.Y + DY), DY = H - PH;
    if (hw.RBPoint.Y + DY < hw.RTPoint.Y) H += hw.RTPoint.Y - (hw.RBPoint.Y + DY), DY = H - PH;
    NewClRect = Rect(hw.ClRect.Left, hw.ClRect.Top, hw.ClRect.Right + DX, hw.ClRect.Bottom + DY);
    NewLTPoint = hw.LTPoint;
    NewRTPoint = Point(hw.RTPoint.X + DX, hw.RTPoint.Y);
    NewLBPoint = Point(hw.LBPoint.X, hw.LBPoint.Y + DY);
    NewRBPoint = Point(hw.RBPoint.X + DX, hw.RBPoint.Y + DY);
}

void TbsSkinHintWindow::ActivateHint(gui::TRect Rect, const std::string& AHint) {
    TbsSkinHint* h = FindActiveSkinHint();
    if (h && (!h->HintTitle().empty() || h->HintImageList())) {
        ActivateHintEx(Rect, h->HintTitle(), AHint, h->HintImageIndex(), h->HintImageList());
        return;
    }
    Activate(Rect, AHint, Place::AtPoint, false);
}

void TbsSkinHintWindow::ActivateHintEx(gui::TRect Rect, const std::string&, const std::string& AHint, int,
                                       gui::TCustomImageList*) {
    // The title and picture are read from the component, which keeps them while the hint shows.
    Activate(Rect, AHint, Place::AtPoint, true);
}

void TbsSkinHintWindow::ActivateHintFromRect(gui::TRect ARect, const std::string& AHint, bool ATop) {
    Activate(ARect, AHint, ATop ? Place::Above : Place::Below, false);
}

void TbsSkinHintWindow::Activate(gui::TRect Rect, const std::string& AHint, Place Where, bool Extended) {
    extended_ = Extended;
    FspHint = FindActiveSkinHint();
    if (!FspHint) return;
    FSD = SkinOf(FspHint);
    std::string text = BreakHintLines(AHint, FspHint->LineSeparator);
    SetCaption(text);
    gui::TSize t = MeasureText(text, false);
    int TW = t.cx, TH = t.cy;
    int extra = 0;
    if (Extended) {
        int titleH = 0;
        if (!FspHint->HintTitle().empty()) {
            gui::TSize title = MeasureText(FspHint->HintTitle(), false);
            titleH = title.cy;
            TH += titleH + 10;
            TW = std::max<int>(TW, title.cx);
        }
        gui::TCustomImageList* il = FspHint->HintImageList();
        if (il && FspHint->HintImageIndex() >= 0 && FspHint->HintImageIndex() < il->Count()) {
            TW += il->Width() + 10;
            TH = std::max(TH, il->Height() + titleH + 5);
        }
        extra = 10;
    } else {
        extra = 5;
    }
    textW_ = t.cx;
    textH_ = t.cy;
    int W, H;
    if (FSD) {
        SizeBySkin(TW, TH, extra, W, H);
    } else {
        W = TW + 4;
        H = TH + 4;
    }
    int left = Rect.left, top = Rect.top;
    if (Where != Place::AtPoint) {
        left = Rect.left + (Rect.right - Rect.left) / 2 - W / 2;
        top = Where == Place::Above ? Rect.top - H : Rect.bottom;
    }
    // Kept on the screen: flipped to the other side of the point at the right and bottom
    // edges, and never left above or left of the area either.
    gui::TRect area = HintArea();
    if (left + W > area.right) left -= W + 2;
    if (top + H > area.bottom) top -= H + 2;
    left = std::max<int>(left, area.left);
    top = std::max<int>(top, area.top);
    SetBounds(left, top, W, H);
    ApplyAlpha();
    ApplyRegion(W, H);
    HWND h = Handle();
    SetWindowPos(h, HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    Invalidate();
    if (layered_ && FspHint->AlphaBlendAnimation) {
        int target = FspHint->AlphaBlendValue;
        int step = std::max(target / 15, 1);
        for (int a = 0; a < target;) {
            a = std::min(a + step, target);
            Invalidate();
            SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(a), LWA_ALPHA);
            if (a < target) os::SleepMs(4);
        }
    }
}

void TbsSkinHintWindow::ApplyAlpha() {
    HWND h = Handle();
    bool want = FspHint->AlphaBlend;
    if (want != layered_) {
        LONG_PTR ex = GetWindowLong(h, GWL_EXSTYLE);
        SetWindowLong(h, GWL_EXSTYLE, want ? ex | WS_EX_LAYERED : ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        layered_ = want;
        alphaApplied_ = -1;
    }
    if (!want) return;
    if (FspHint->AlphaBlendAnimation) {
        SetLayeredWindowAttributes(h, 0, 0, LWA_ALPHA);
        alphaApplied_ = -1;
    } else if (FspHint->AlphaBlendValue != alphaApplied_) {
        SetLayeredWindowAttributes(h, 0, FspHint->AlphaBlendValue, LWA_ALPHA);
        alphaApplied_ = FspHint->AlphaBlendValue;
    }
}

void TbsSkinHintWindow::ApplyRegion(int W, int H) {
    gui::TBitmap* mask = FSD ? PictureOf(FSD, FSD->HintWindow.MaskPictureIndex) : nullptr;
    if (!mask) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        return;
    }
    const TbsDataSkinHintWindow& hw = FSD->HintWindow;
    // The window owns the region from here on.
    HRGN rgn = CreateNinePartMaskRegion(hw.LTPoint, hw.RTPoint, hw.LBPoint, hw.RBPoint, hw.ClRect, NewLTPoint,
                                        NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, mask, W, H);
    SetWindowRgn(Handle(), rgn, TRUE);
}

void TbsSkinHintWindow::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_NCPAINT) return;
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    gui::THintWindow::Dispatch(m);
}

void TbsSkinHintWindow::Paint() {
    if (!FspHint) return;
    int W = Width(), H = Height();
    gui::TBitmap b;
    b.SetSize(W, H);
    gui::TCanvas* c = b.Canvas();
    if (FSD) {
        const TbsDataSkinHintWindow& hw = FSD->HintWindow;
        gui::TBitmap* pic = PictureOf(FSD, hw.WindowPictureIndex);
        BuildNinePartWindowImage(hw.LTPoint, hw.RTPoint, hw.LBPoint, hw.RBPoint, hw.ClRect, NewLTPoint,
                                 NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, &b, pic,
                                 Rect(0, 0, pic->Width(), pic->Height()), W, H, true, hw.LeftStretch,
                                 hw.TopStretch, hw.RightStretch, hw.BottomStretch, hw.StretchEffect,
                                 hw.StretchType);
    } else {
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(gui::clInfoBk);
        c->FillRect(gui::Rect(0, 0, W, H));
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FrameRect(gui::Rect(0, 0, W, H));
    }
    SetCanvasFont(c);
    c->Font()->SetColor(FSD ? FSD->HintWindow.FontColor : gui::clInfoText);
    c->Brush()->SetStyle(gui::bsClear);
    const std::string& text = Caption();
    gui::TRect area = FSD ? ToGuiRect(NewClRect) : gui::Rect(2, 2, W - 2, H - 2);
    if (!extended_) {
        gui::TRect r = area;
        if (FSD) {
            r.left = area.left + (area.right - area.left) / 2 - textW_ / 2;
            r.top = area.top + (area.bottom - area.top) / 2 - textH_ / 2;
            r.right = r.left + textW_;
            r.bottom = r.top + textH_;
        }
        DrawWideText(c, text, r, 0);
    } else {
        int pad = FSD ? 5 : 0;
        int T = 0;
        const std::string& title = FspHint->HintTitle();
        if (!title.empty()) {
            c->Font()->SetStyle(c->Font()->Style() | gui::fsBold);
            c->TextOut(area.left + pad, area.top, title);
            c->Font()->SetStyle(c->Font()->Style() & ~gui::fsBold);
            T = c->TextHeight(title) + 5;
        }
        int x = area.left + pad;
        gui::TCustomImageList* il = FspHint->HintImageList();
        int index = FspHint->HintImageIndex();
        if (il && index >= 0 && index < il->Count()) {
            int y = title.empty() ? area.top + (area.bottom - area.top) / 2 - il->Height() / 2 : area.top + T;
            il->Draw(c, x, y, index, true);
            x += il->Width() + 5;
        }
        int y = title.empty() ? area.top + (area.bottom - area.top) / 2 - textH_ / 2 : area.top + T;
        gui::TRect r = gui::Rect(x, y, area.right, area.bottom);
        DrawWideText(c, text, r, 0);
    }
    BitBlt(Canvas()->Handle(), 0, 0, W, H, c->Handle(), 0, 0, SRCCOPY);
}

} // namespace skin

#include "skin/controls/SkinMenuSpeedButton.h"

#include "gui/Application.h"
#include "skin/core/SkinData.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"

namespace skin {

namespace {

bool IsOneOf(const std::string& s, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (s == n) return true;
    return false;
}

} // namespace

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(gui::TComponent* AOwner) : TbsSkinSpeedButton(AOwner) {
    SkinDataName = "toolmenubutton";
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool Value) {
    FTrackButtonMode = Value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinMenuSpeedButton::SetNewStyle(bool Value) {
    FNewStyle = Value;
    if (Value) SkinDataName = "resizetoolbutton";
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition Value) {
    FTrackPosition = Value;
    Invalidate();
}

void TbsSkinMenuSpeedButton::GetSkinData() {
    TbsSkinSpeedButton::GetSkinData();
    TrackButtonRect = {};
    if (auto* d = FIndex != -1 ? dynamic_cast<TbsDataSkinMenuButtonControl*>(Descriptor()) : nullptr)
        TrackButtonRect = d->TrackButtonRect;
}

bool TbsSkinMenuSpeedButton::ResizableSection() const {
    return IsOneOf(SkinDataName, {"resizebutton", "resizetoolbutton", "toolbutton", "bigtoolbutton"});
}

gui::TRect TbsSkinMenuSpeedButton::Band(int W, int H) const {
    if (FIndex != -1 && !ResizableSection() && !Empty(TrackButtonRect)) {
        gui::TRect r = ToGuiRect(TrackButtonRect);
        // The band keeps to the button's right (or bottom) edge whatever its size.
        if (ResizeMode == 1 || ResizeMode == 2) OffsetRect(&r, W - SkinRect.Width(), 0);
        if (ResizeMode == 3) OffsetRect(&r, 0, H - SkinRect.Height());
        return r;
    }
    if (FNewStyle && FTrackPosition == TbsTrackPosition::bstpBottom) return gui::Rect(0, H - kBand, W, H);
    return gui::Rect(W - kBand, 0, W, H);
}

bool TbsSkinMenuSpeedButton::InMenuPart(int X, int Y) {
    if (!SkinPopupMenu && !FSkinImagesMenu) return false;
    if (!FTrackButtonMode) return true;
    GetSkinData();
    gui::TRect b = Band(Width(), Height());
    return IsPointInRect(b, {X, Y});
}

// --- the menu ------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::TrackMenu() {
    bool shown = false;
    if (SkinPopupMenu) {
        // The hint would lie over the menu's first item, right below the cursor.
        gui::Application->CancelHint();
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        gui::TPoint o = ClientToScreen({0, 0});
        shown = SkinPopupMenu->PopupFromRect(this, gui::Rect(o.x, o.y, o.x + Width(), o.y + Height()), false);
    }
    if (FSkinImagesMenu) {
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        gui::TPoint o = ClientToScreen({0, 0});
        FSkinImagesMenu->OnInternalMenuClose = [this](gui::TObject*) { MenuClosed(); };
        shown = FSkinImagesMenu->TrackFromRect(gui::Rect(o.x, o.y, o.x + Width(), o.y + Height())) || shown;
    }
    // No close notice follows a menu that was not shown: the button comes up now.
    if (!shown) MenuClosed();
}

void TbsSkinMenuSpeedButton::MenuClosed() {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    Invalidate();
}

void TbsSkinMenuSpeedButton::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_CLOSESKINMENU) {
        MenuClosed();
        return;
    }
    if (m.Msg == gui::CM_HINTSHOW && FMenuTracked) {
        m.Result = 1; // no hint while the menu is open
        return;
    }
    TbsSkinSpeedButton::Dispatch(m);
}

// --- mouse ---------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (Button == gui::mbLeft) {
        FMenuTracked = InMenuPart(X, Y);
        FMouseIn = true;
        if (FMenuTracked) {
            menuPress_ = true;
            if (!FDown) SetDown(true);
            TrackMenu();
            return;
        }
    }
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (Button == gui::mbLeft && menuPress_) {
        menuPress_ = false;
        return;
    }
    if (FMenuTracked) return;
    TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::CMMouseEnter(gui::TMessage& m) {
    if (FMenuTracked && !Designing()) {
        FMouseIn = true;
        return;
    }
    TbsSkinSpeedButton::CMMouseEnter(m);
}

void TbsSkinMenuSpeedButton::CMMouseLeave(gui::TMessage& m) {
    if (FMenuTracked && !Designing()) {
        FMouseIn = false;
        return;
    }
    TbsSkinSpeedButton::CMMouseLeave(m);
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::Paint() {
    if (FMouseIn || FDown || FMenuTracked || !Transparent()) {
        TbsSkinSpeedButton::Paint();
        return;
    }
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    int w = Width(), h = Height();
    if (FIndex != -1) AdjustSkinSize(w, h);
    gui::TRect band = Band(Width(), Height());
    gui::TRect content = gui::Rect(0, 0, Width(), Height());
    if (FIndex != -1 && !ResizableSection())
        content = ToGuiRect(NewClRect);
    else if (FNewStyle && FTrackPosition == TbsTrackPosition::bstpBottom)
        content.bottom -= kBand;
    else
        content.right -= kBand;
    PaintContentsOnly(content, FIndex != -1);
    gui::TCanvas* c = Canvas();
    if (FIndex != -1 && !Empty(MenuMarkerFlatRect)) {
        if (ResizeMode != 1) band.left -= 2;
        DrawMenuMarker(c, band, false, false, true);
    } else {
        DrawDropDownArrow(c, band, FIndex == -1 ? gui::clBtnText : FSD->SkinColors().cBtnText());
    }
}

void TbsSkinMenuSpeedButton::DrawMenuMarker(gui::TCanvas* C, const gui::TRect& R, bool Active, bool ADown,
                                            bool AFlat) {
    const TRect& look = ADown    ? MenuMarkerDownRect
                        : Active ? MenuMarkerActiveRect
                        : AFlat  ? MenuMarkerFlatRect
                                 : MenuMarkerRect;
    if (Empty(look) || !Picture) return;
    gui::TBitmap marker;
    marker.SetSize(look.Width(), look.Height());
    marker.Canvas()->CopyRect(gui::Rect(0, 0, look.Width(), look.Height()), Picture->Canvas(),
                              ToGuiRect(look));
    marker.SetTransparent(true);
    marker.TransparentMode = gui::tmFixed;
    marker.SetTransparentColor(MenuMarkerTransparentColor);
    C->Draw(R.left + gui::RectWidth(R) / 2 - look.Width() / 2,
            R.top + gui::RectHeight(R) / 2 - look.Height() / 2, &marker);
}

void TbsSkinMenuSpeedButton::DrawBandMarker(gui::TCanvas* C, const gui::TRect& Band, bool Pressed, bool Hot,
                                            gui::TColor Colour) {
    gui::TRect r = Band;
    if (Pressed || FMenuTracked) {
        r.top += 2;
        r.left = Width() - 13;
    }
    if (DrawStandardArrow)
        DrawArrow(C, r, Colour, ArrowType);
    else if (Empty(MenuMarkerRect))
        DrawDropDownArrow(C, r, FMenuTracked ? DownFontColor : Colour);
    else
        DrawMenuMarker(C, r, Hot, Pressed || FMenuTracked, false);
}

void TbsSkinMenuSpeedButton::CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    const std::string& name = SkinDataName;
    if (name == "resizetoolbutton" && FNewStyle) {
        // A skin with neither tool-button section still shows a button: the default look.
        if (!CreateNewStyleImage(B, ADown, AMouseIn)) CreateControlDefaultImage(B);
        return;
    }
    bool classic = IsOneOf(name, {"toolbutton", "bigtoolbutton"});
    bool resizable = IsOneOf(name, {"resizebutton", "resizetoolbutton"});
    int W = B->Width(), H = B->Height();
    if (!classic && !resizable) {
        if (FMenuTracked && FTrackButtonMode && !Empty(TrackButtonRect) && !Empty(DownSkinRect)) {
            TbsSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, true);
            gui::TRect band = Band(W, H);
            gui::TRect src = ToGuiRect(TrackButtonRect);
            OffsetRect(&src, DownSkinRect.Left - SkinRect.Left, DownSkinRect.Top - SkinRect.Top);
            B->Canvas()->CopyRect(band, Picture->Canvas(), src);
        } else {
            TbsSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
        }
        return;
    }
    bool pressed = ADown && AMouseIn, hot = AMouseIn;
    gui::TCanvas* c = B->Canvas();
    DrawParentBackground(this, c);
    auto build = [&](const TRect& look, int x, int w) {
        if (w <= 0) return;
        gui::TBitmap part;
        if (classic) {
            part.SetSize(w, H);
            BuildImageByClientRect(&part, Picture, look, ClRect, true);
        } else {
            TbsNinePartGeometry g = *this;
            int ww = w, hh = H;
            g.Adjust(ww, hh);
            part.SetSize(w, H);
            g.Build(&part, Picture, look, w, H);
        }
        c->Draw(x, 0, &part);
    };
    if (!FTrackButtonMode) {
        if (pressed)
            build(DownSkinRect, 0, W);
        else if (hot)
            build(ActiveSkinRect, 0, W);
        else if (!FFlat)
            build(SkinRect, 0, W);
    } else {
        const TRect* body = nullptr;
        const TRect* band = nullptr;
        if (FMenuTracked)
            body = &ActiveSkinRect, band = &DownSkinRect;
        else if (pressed)
            body = band = &DownSkinRect;
        else if (hot)
            body = band = &ActiveSkinRect;
        else if (!FFlat)
            body = band = &SkinRect;
        if (body) {
            build(*body, 0, W - kBand);
            build(*band, W - kBand, kBand);
        }
    }
    ApplySkinFont(c);
    gui::TColor colour = StateFontColor(Enabled(), DefaultFont()->Color(), pressed, hot);
    c->Font()->SetColor(colour);
    bool drawDefault = true;
    gui::TRect content = gui::Rect(0, 0, W - kBand, H);
    if (OnPaint) OnPaint(this, c, content, ADown, AMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContents(c, content, ADown, AMouseIn, pressed);
    DrawBandMarker(c, gui::Rect(W - kBand, 0, W, H), pressed, hot, colour);
}

bool TbsSkinMenuSpeedButton::CreateNewStyleImage(gui::TBitmap* B, bool ADown, bool AMouseIn) {
    if (!FSD) return false;
    int index = FSD->GetControlIndex("resizetoolbutton");
    if (index < 0) index = FSD->GetControlIndex("resizebutton");
    if (index < 0) return false;
    auto* body = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(index)].get());
    gui::TBitmap* picture = body ? SkinPictureAt(*FSD, body->PictureIndex) : nullptr;
    if (!picture) return false;
    int W = B->Width(), H = B->Height();
    bool bottom = FTrackPosition == TbsTrackPosition::bstpBottom;
    bool pressed = ADown && AMouseIn, hot = AMouseIn;
    TbsNinePartGeometry g;
    g.Read(*FSD, *body, false);
    TRect active = Empty(body->ActiveSkinRect) ? body->SkinRect : body->ActiveSkinRect;
    TRect down = Empty(body->DownSkinRect) ? active : body->DownSkinRect;
    bool bodyDown = pressed && !(FMenuTracked && FTrackButtonMode);
    const TRect& look = bodyDown ? down : hot ? active : body->SkinRect;
    gui::TCanvas* c = B->Canvas();
    DrawParentBackground(this, c);
    int ww = W, hh = H;
    g.Adjust(ww, hh);
    gui::TBitmap part;
    part.SetSize(W, H);
    g.Build(&part, picture, look, W, H);
    c->Draw(0, 0, &part);
    gui::TRect band = bottom ? gui::Rect(0, H - kBand, W, H) : gui::Rect(W - kBand, 0, W, H);
    c->Font()->SetName(body->FontName.empty() ? DefaultFont()->Name() : body->FontName);
    c->Font()->SetHeight(body->FontName.empty() ? DefaultFont()->Height() : body->FontHeight);
    ApplyCharset(c->Font(), DefaultFont());
    gui::TColor colour = !Enabled() ? body->DisabledFontColor
                         : bodyDown ? body->DownFontColor
                         : hot      ? body->ActiveFontColor
                                    : body->FontColor;
    c->Font()->SetColor(colour);
    gui::TRect content = gui::Rect(0, 0, W, H);
    if (bottom)
        content.bottom -= kBand;
    else
        content.right -= kBand;
    DrawContents(c, content, ADown, AMouseIn, bodyDown);
    if (pressed && (!FTrackButtonMode || FMenuTracked)) OffsetRect(&band, 1, 1);
    DrawDropDownArrow(c, band, colour);
    return true;
}

void TbsSkinMenuSpeedButton::CreateControlDefaultImage(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    int W = B->Width(), H = B->Height();
    bool bottom = FNewStyle && FTrackPosition == TbsTrackPosition::bstpBottom;
    gui::TRect all = gui::Rect(0, 0, W, H);
    gui::TRect band = bottom ? gui::Rect(0, H - kBand, W, H) : gui::Rect(W - kBand, 0, W, H);
    gui::TRect body = bottom ? gui::Rect(0, 0, W, H - kBand) : gui::Rect(0, 0, W - kBand, H);
    bool pressed = FDown && FMouseIn;
    auto framed = [&](const gui::TRect& r, gui::TColor frame, gui::TColor fill, bool withFrame = true) {
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(fill);
        c->FillRect(r);
        if (!withFrame) return;
        c->Brush()->SetColor(frame);
        c->FrameRect(r);
    };
    if (!FTrackButtonMode) {
        if (pressed)
            framed(all, kFocusFrame, kDownFill);
        else if (FMouseIn)
            framed(all, kFocusFrame, kHotFill);
        else
            framed(all, gui::clBtnShadow, gui::clBtnFace, !FFlat);
    } else if (FMenuTracked) {
        framed(body, kFocusFrame, kHotFill);
        framed(band, kFocusFrame, kDownFill);
    } else if (pressed) {
        framed(body, kFocusFrame, kDownFill);
        framed(band, kFocusFrame, kDownFill);
    } else if (FMouseIn) {
        framed(body, kFocusFrame, kHotFill);
        framed(band, kFocusFrame, kHotFill);
    } else {
        framed(body, gui::clBtnShadow, gui::clBtnFace, !FFlat);
        framed(band, gui::clBtnShadow, gui::clBtnFace, !FFlat);
    }
    c->Font()->Assign(DefaultFont());
    ApplyCharset(c->Font(), DefaultFont());
    if (!Enabled()) c->Font()->SetColor(gui::clBtnShadow);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, body, FDown, FMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContents(c, body, FDown, FMouseIn, pressed);
    if (pressed || FMenuTracked) OffsetRect(&band, 2, 2);
    DrawDropDownArrow(c, band, gui::clBtnText);
}

} // namespace skin

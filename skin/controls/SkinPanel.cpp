#include "skin/controls/SkinPanel.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"

namespace skin {

TbsSkinPanel::TbsSkinPanel(gui::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<gui::TBitmap>()) {
    ControlStyle = gui::csAcceptsControls | gui::csCaptureMouse | gui::csClickEvents | gui::csSetCaption |
                   gui::csOpaque | gui::csDoubleClicks;
    ForcebackGround = true;
    FSkinDataName = "panel";
    TbsSkinCustomControl::SetBounds(Left(), Top(), 150, 150);
}

TbsSkinPanel::~TbsSkinPanel() = default;

// --- properties ----------------------------------------------------------------------------

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle Value) {
    FBorderStyle = Value;
    if (FIndex == -1) {
        Invalidate();
        Realign();
    }
}

void TbsSkinPanel::SetCaptionMode(bool Value) {
    FCaptionMode = Value;
    Invalidate();
    Realign();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int Value) {
    FDefaultCaptionHeight = Value;
    if (FIndex == -1 && FCaptionMode) {
        Invalidate();
        Realign();
    }
}

void TbsSkinPanel::SetRibbonStyle(bool Value) {
    FRibbonStyle = Value;
    Invalidate();
    Realign();
}

void TbsSkinPanel::SetTransparentMode(bool Value) {
    if (FTransparentMode == Value) return;
    FTransparentMode = Value;
    Invalidate();
    if (!Loading() && !Designing()) NotifyChildrenBackground();
}

void TbsSkinPanel::SetCheckedMode(bool Value) {
    FCheckedMode = Value;
    Invalidate();
}

void TbsSkinPanel::SetChecked(bool Value) {
    FChecked = Value;
    if (FCheckedMode) {
        Invalidate();
        if (AutoEnabledControls)
            for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(Value);
    }
    if (OnChecked) OnChecked(this);
}

void TbsSkinPanel::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FCaptionImageList)
        FCaptionImageList = nullptr;
}

void TbsSkinPanel::SetCaptionImageList(gui::TCustomImageList* Value) {
    FCaptionImageList = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TbsSkinPanel::SetCaptionImageIndex(int Value) {
    if (Value == FCaptionImageIndex) return;
    FCaptionImageIndex = Value;
    Invalidate();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition Value) {
    if (Value == FImagePosition) return;
    FImagePosition = Value;
    Invalidate();
}

bool TbsSkinPanel::HasCaptionImage() const {
    return FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
           FCaptionImageIndex < FCaptionImageList->Count();
}

int TbsSkinPanel::CaptionPictureWidth() const {
    return HasCaptionImage() ? FCaptionImageList->Width() : GlyphWidth();
}

// The list's image or the glyph frame at X, centred in Within.
void TbsSkinPanel::DrawCaptionPicture(gui::TCanvas* C, int X, const gui::TRect& Within) {
    if (HasCaptionImage()) {
        FCaptionImageList->Draw(C, X,
                                Within.top + (gui::RectHeight(Within) - FCaptionImageList->Height()) / 2,
                                FCaptionImageIndex, Enabled());
    } else if (GlyphWidth()) {
        DrawStripGlyph(C, X, Within.top + (gui::RectHeight(Within) - FGlyph->Height()) / 2, FGlyph.get(),
                       NumGlyphs, GlyphFrame());
    }
}

void TbsSkinPanel::SetGlyph(gui::TBitmap* Value) {
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph = std::make_unique<gui::TBitmap>();
    Invalidate();
}

// --- rolling up ----------------------------------------------------------------------------

// The size constraints are set aside when the panel rolls up and given back when it rolls
// down, so a roll-down never restores the zeros of a rolled-up panel.
void TbsSkinPanel::SetRollUpState(bool Value) {
    if (FRollUpState == Value) return;
    gui::TSizeConstraints* c = Constraints();
    if (!RollUpMode) {
        c->SetMaxWidth(FCMaxWidth);
        c->SetMinWidth(FCMinWidth);
        c->SetMaxHeight(FCMaxHeight);
        c->SetMinHeight(FCMinHeight);
        FRollUpState = false;
        return;
    }
    if (Value) {
        FCMaxWidth = c->MaxWidth();
        FCMinWidth = c->MinWidth();
        FCMaxHeight = c->MaxHeight();
        FCMinHeight = c->MinHeight();
        c->SetMaxWidth(0);
        c->SetMinWidth(0);
        c->SetMaxHeight(0);
        c->SetMinHeight(0);
    }
    FRollUpState = Value;
    DoRollUp(Value);
    if (!Value) {
        c->SetMaxWidth(FCMaxWidth);
        c->SetMinWidth(FCMinWidth);
        c->SetMaxHeight(FCMaxHeight);
        c->SetMinHeight(FCMinHeight);
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

// Rolling down shows again only the children that rolling up hid.
void TbsSkinPanel::DoRollUp(bool Value) {
    FInChangingRollUp = true;
    if (Value && FRealHeight == -1) {
        FRealHeight = Height();
        DisableAlign();
        FHiddenByRollUp.clear();
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i)->Visible()) {
                FHiddenByRollUp.push_back(Controls(i));
                Controls(i)->Hide();
            }
        GetSkinData();
        if (FIndex == -1)
            SetHeight(FDefaultCaptionHeight + 1);
        else
            SetHeight(Height() - RealClientHeight());
    } else if (!Value && FRealHeight != -1) {
        SetHeight(FRealHeight);
        FRealHeight = -1;
        for (int i = 0; i < ControlCount(); ++i)
            for (gui::TControl* hidden : FHiddenByRollUp)
                if (Controls(i) == hidden) hidden->Show();
        FHiddenByRollUp.clear();
        EnableAlign();
    }
    FInChangingRollUp = false;
}

bool TbsSkinPanel::CanAutoSize(int& AWidth, int& AHeight) {
    if (FInChangingRollUp && RollUpMode) return false;
    return TbsSkinCustomControl::CanAutoSize(AWidth, AHeight);
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinPanel::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    auto* d = FIndex != -1 ? dynamic_cast<TbsDataSkinPanelControl*>(Descriptor()) : nullptr;
    if (!d) return;
    CaptionRect = d->CaptionRect;
    Alignment = d->Alignment;
    FontName = d->FontName;
    FontColor = d->FontColor;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    BGPictureIndex = d->BGPictureIndex;
    CheckImageRect = d->CheckImageRect;
    UnCheckImageRect = d->UnCheckImageRect;
    MarkFrameRect = d->MarkFrameRect;
    FrameRect = d->FrameRect;
    FrameTextRect = d->FrameTextRect;
    FrameLeftOffset = d->FrameLeftOffset;
    FrameRightOffset = d->FrameRightOffset;
}

void TbsSkinPanel::AdjustClientRect(gui::TRect& R) {
    R = gui::Rect(0, 0, Width(), Height());
    GetSkinData();
    if (FIndex == -1 || Designing()) {
        if (FBorderStyle != TbsSkinBorderStyle::bvNone) InflateRect(&R, -1, -1);
        if (FCaptionMode) {
            if (FRibbonStyle)
                R.bottom -= FDefaultCaptionHeight;
            else
                R.top += FDefaultCaptionHeight;
        }
        return;
    }
    if (BGPictureIndex != -1 ||
        (FBorderStyle == TbsSkinBorderStyle::bvNone && !FCaptionMode && ResizeMode == 1))
        return;
    int w = Width(), h = Height();
    AdjustSkinSize(w, h);
    R = ToGuiRect(NewClRect);
}

gui::TRect TbsSkinPanel::GetSkinClientRect() {
    gui::TRect r = gui::Rect(0, 0, Width(), Height());
    AdjustClientRect(r);
    return r;
}

void TbsSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Invalidate();
}

void TbsSkinPanel::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (FRealHeight == -1) {
        Realign();
    } else {
        // Rolled up: roll up again for the new skin, keeping the height to come back to.
        int real = FRealHeight;
        FRealHeight = -1;
        std::vector<gui::TControl*> hidden = FHiddenByRollUp;
        SetHeight(real);
        DoRollUp(true);
        FHiddenByRollUp = hidden;
        FRealHeight = real;
        EnableAlign();
    }
}

void TbsSkinPanel::CheckParentBackground() {
    if (FTransparentMode) {
        Invalidate();
        NotifyChildrenBackground();
    }
}

void TbsSkinPanel::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_MOVE && FTransparentMode) {
        TbsSkinCustomControl::Dispatch(m);
        Invalidate();
        NotifyChildrenBackground();
        return;
    }
    TbsSkinCustomControl::Dispatch(m);
}

void TbsSkinPanel::CMTextChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMTextChanged(m);
    if (FCaptionMode) Invalidate();
}

void TbsSkinPanel::CMEnabledChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMEnabledChanged(m);
    Invalidate();
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinPanel::FillFromPiece(gui::TCanvas* C, const TRect& PictureRect, gui::TBitmap* Source,
                                 const gui::TRect& Area) {
    int pw = PictureRect.Width(), ph = PictureRect.Height();
    int aw = gui::RectWidth(Area), ah = gui::RectHeight(Area);
    if (pw <= 0 || ph <= 0 || aw <= 0 || ah <= 0 || !Source) return;
    gui::TBitmap piece;
    piece.SetSize(pw, ph);
    piece.Canvas()->CopyRect(gui::Rect(0, 0, pw, ph), Source->Canvas(), ToGuiRect(PictureRect));
    if (StretchEffect && StretchType == TbsStretchType::bsstFull) {
        C->StretchDraw(Area, &piece);
    } else if (StretchEffect && StretchType == TbsStretchType::bsstHorz) {
        for (int x = Area.left; x < Area.right; x += pw)
            C->StretchDraw(gui::Rect(x, Area.top, x + pw, Area.bottom), &piece);
    } else if (StretchEffect && StretchType == TbsStretchType::bsstVert) {
        for (int y = Area.top; y < Area.bottom; y += ph)
            C->StretchDraw(gui::Rect(Area.left, y, Area.right, y + ph), &piece);
    } else {
        for (int x = Area.left; x < Area.right; x += pw)
            for (int y = Area.top; y < Area.bottom; y += ph) C->Draw(x, y, &piece);
    }
}

void TbsSkinPanel::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    int w = Width(), h = Height();
    if (FIndex != -1) AdjustSkinSize(w, h);
    gui::TCanvas* c = Canvas();
    if (FTransparentMode && FIndex != -1) {
        gui::TBitmap b;
        b.SetSize(Width(), Height());
        DrawParentBackground(this, b.Canvas());
        if (FCaptionMode) {
            DrawTransparentFrame(&b);
        } else if (FBorderStyle != TbsSkinBorderStyle::bvNone) {
            b.Canvas()->Brush()->SetColor(FSD->SkinColors().cBtnShadow());
            b.Canvas()->FrameRect(gui::Rect(0, 0, Width(), Height()));
        }
        PaintClient(b.Canvas());
        c->Draw(0, 0, &b);
        return;
    }
    if (FIndex == -1 || (!ForcebackGround && StretchEffect)) {
        TbsSkinCustomControl::Paint();
        return;
    }
    if (FBorderStyle == TbsSkinBorderStyle::bvNone && ResizeMode == 1 && !FCaptionMode && ForcebackGround) {
        TRect piece{SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                    SkinRect.Top + ClRect.Bottom};
        FillFromPiece(c, piece, Picture, gui::Rect(0, 0, Width(), Height()));
        return;
    }
    gui::TBitmap* bg = BGPictureIndex != -1 ? SkinPictureAt(*FSD, BGPictureIndex) : nullptr;
    if (!bg) {
        TbsSkinCustomControl::Paint();
        return;
    }
    // A background picture of its own is the whole look.
    FillFromPiece(c, TRect{0, 0, bg->Width(), bg->Height()}, bg, gui::Rect(0, 0, Width(), Height()));
}

void TbsSkinPanel::PaintSkinTo(gui::TCanvas* C, int X, int Y) {
    GetSkinData();
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    if (FIndex == -1) {
        CreateControlDefaultImage(&b);
    } else {
        int w = Width(), h = Height();
        AdjustSkinSize(w, h);
        bool force = ForcebackGround;
        ForcebackGround = false;
        CreateControlSkinImage(&b);
        ForcebackGround = force;
    }
    C->Draw(X, Y, &b);
}

void TbsSkinPanel::DrawCheckImage(gui::TCanvas* C, int X, const gui::TRect& Within) {
    const TRect& look = FChecked ? CheckImageRect : UnCheckImageRect;
    if (Empty(look) || !Picture) return;
    gui::TBitmap image;
    image.SetSize(look.Width(), look.Height());
    image.Canvas()->CopyRect(gui::Rect(0, 0, look.Width(), look.Height()), Picture->Canvas(),
                             ToGuiRect(look));
    image.SetTransparent(true);
    C->Draw(X, Within.top + (gui::RectHeight(Within) - look.Height()) / 2, &image);
}

void TbsSkinPanel::CreateControlSkinImage(gui::TBitmap* B) {
    if (FBorderStyle == TbsSkinBorderStyle::bvNone && ResizeMode == 1 && !FCaptionMode && !StretchEffect) {
        TRect piece{SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                    SkinRect.Top + ClRect.Bottom};
        FillFromPiece(B->Canvas(), piece, Picture, gui::Rect(0, 0, B->Width(), B->Height()));
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    NewCaptionRect = ToGuiRect(ResizeMode <= 0 ? CaptionRect : MapSkinRect(CaptionRect));
    if (!Caption().empty() && !Empty(CaptionRect)) DrawSkinCaption(B->Canvas());
}

void TbsSkinPanel::DrawSkinCaption(gui::TCanvas* C) {
    gui::TRect r = NewCaptionRect;
    if (RollUpMode) r.right -= 12;
    if (FCheckedMode) {
        DrawCheckImage(C, r.left, r);
        const TRect& look = FChecked ? CheckImageRect : UnCheckImageRect;
        r.left += look.Width() + 2;
    }
    if (UseSkinFont && !FontName.empty()) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(DefaultFont());
    }
    ApplyCharset(C->Font(), DefaultFont());
    C->Font()->SetColor(FontColor);
    int tw = C->TextWidth(Caption()), th = C->TextHeight(Caption());
    int pw = CaptionPictureWidth();
    bool atLeft = FImagePosition == TbsImagePosition::bsipLeft;
    // Placed at the left edge, the picture leaves the text aligned by its own width.
    int cw = tw + (pw && !atLeft ? pw + Spacing : 0);
    int x = r.left;
    if (Alignment == TAlignment::taRightJustify)
        x = r.right - cw;
    else if (Alignment == TAlignment::taCenter)
        x = r.left + gui::RectWidth(r) / 2 - cw / 2;
    int y = r.top + (gui::RectHeight(r) - th) / 2;
    int px = x;
    if (pw && atLeft) {
        px = r.left + 2;
        x = std::max(x, px + pw + Spacing);
    } else if (pw) {
        x += pw + Spacing;
    }
    // A caption frame that grows with the text stands behind it.
    if (!Empty(FrameRect) && Picture) {
        int fw = FrameRect.Width() - FrameTextRect.Width() + tw;
        int fx = x;
        if (Alignment == TAlignment::taRightJustify) {
            int shift = FrameRect.Width() - FrameTextRect.Width();
            fx = x - shift;
            px -= shift;
            x = fx + FrameTextRect.Left;
        } else if (Alignment == TAlignment::taCenter) {
            fx = x - FrameTextRect.Left - 2;
            px -= FrameTextRect.Left;
            x -= 2;
        } else {
            x += FrameTextRect.Left;
        }
        if (fw > 0) {
            gui::TBitmap frame;
            BuildHorzThreePartImage(FrameLeftOffset, FrameRightOffset, &frame, Picture, FrameRect, fw,
                                    FrameRect.Height(), false);
            C->Draw(fx, CaptionRect.Top, &frame);
        }
    }
    C->Brush()->SetStyle(gui::bsClear);
    C->TextRect(r, x, y, Caption());
    if (pw) DrawCaptionPicture(C, px, r);
    if (RollUpMode) {
        gui::TRect mark = gui::Rect(r.right, r.top, r.right + 10, r.bottom);
        if (!Empty(MarkFrameRect) && Picture)
            C->CopyRect(gui::Rect(mark.left, mark.top, mark.left + MarkFrameRect.Width(),
                                  mark.top + MarkFrameRect.Height()),
                        Picture->Canvas(), ToGuiRect(MarkFrameRect));
        DrawArrow(C, mark, FontColor, FRollUpState ? 4 : 3);
    }
}

// A group-box frame over the parent's background: the caption breaks the top line.
void TbsSkinPanel::DrawTransparentFrame(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    const TbsSkinColors& colours = FSD->SkinColors();
    c->Pen()->SetColor(colours.cBtnShadow());
    c->Brush()->SetStyle(gui::bsClear);
    if (UseSkinFont && !FontName.empty()) {
        c->Font()->SetName(FontName);
        c->Font()->SetHeight(FontHeight);
        c->Font()->SetStyle(FontStyle);
    } else {
        c->Font()->Assign(DefaultFont());
    }
    ApplyCharset(c->Font(), DefaultFont());
    int th = c->TextHeight(Caption().empty() ? "W" : Caption());
    NewCaptionRect = gui::Rect(5, 0, Width(), th + 5);
    int x = 5;
    if (FCheckedMode) {
        DrawCheckImage(c, x, NewCaptionRect);
        x = (FChecked ? CheckImageRect : UnCheckImageRect).Width() + 10;
    }
    if (int pw = CaptionPictureWidth()) {
        DrawCaptionPicture(c, x, gui::Rect(x, 0, x + pw, th + 5));
        x += pw + 2;
    }
    int label = FSD->GetControlIndex("stdlabel");
    auto* std =
        label >= 0
            ? dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[static_cast<size_t>(label)].get())
            : nullptr;
    c->Font()->SetColor(std ? std->FontColor : colours.cBtnText());
    DrawTextVCenter(c, Caption(), gui::Rect(x, 0, Width(), th + 5));
    int tw = c->TextWidth(Caption());
    int m = (th + 5) / 2;
    int lineFrom = x + tw + 3;
    if (RollUpMode) {
        DrawArrow(c, gui::Rect(x + tw + 3, 0, x + tw + 10, th + 5), c->Font()->Color(), FRollUpState ? 4 : 3);
        lineFrom = x + tw + 12;
    }
    int w = Width(), h = Height();
    c->MoveTo(lineFrom, m);
    c->LineTo(w - 1, m);
    c->LineTo(w - 1, h - 1);
    c->LineTo(0, h - 1);
    c->LineTo(0, m);
    c->LineTo(5, m);
}

void TbsSkinPanel::CreateControlDefaultImage(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    int w = B->Width(), h = B->Height();
    c->Brush()->SetStyle(gui::bsSolid);
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect(gui::Rect(0, 0, w, h));
    auto edges = [&](const gui::TRect& r, gui::TColor topLeft, gui::TColor bottomRight) {
        c->Pen()->SetColor(topLeft);
        c->MoveTo(r.left, r.bottom - 1);
        c->LineTo(r.left, r.top);
        c->LineTo(r.right - 1, r.top);
        c->Pen()->SetColor(bottomRight);
        c->LineTo(r.right - 1, r.bottom - 1);
        c->LineTo(r.left, r.bottom - 1);
    };
    gui::TRect all = gui::Rect(0, 0, w, h);
    switch (FBorderStyle) {
    case TbsSkinBorderStyle::bvFrame:
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FrameRect(all);
        break;
    case TbsSkinBorderStyle::bvRaised:
        edges(all, gui::clBtnHighlight, gui::clBtnShadow);
        break;
    case TbsSkinBorderStyle::bvLowered:
        edges(all, gui::clBtnShadow, gui::clBtnHighlight);
        break;
    case TbsSkinBorderStyle::bvNone:
        break;
    }
    if (!FCaptionMode) return;
    bool border = FBorderStyle != TbsSkinBorderStyle::bvNone;
    int ch = FDefaultCaptionHeight;
    gui::TRect bar = FRibbonStyle
                         ? (border ? gui::Rect(1, h - ch - 1, w - 1, h - 1) : gui::Rect(0, h - ch, w, h))
                         : (border ? gui::Rect(1, 1, w - 1, ch) : gui::Rect(0, 0, w, ch));
    if (border) {
        edges(bar, gui::clBtnShadow, gui::clBtnHighlight);
        InflateRect(&bar, -1, -1);
        edges(bar, gui::clBtnHighlight, gui::clBtnShadow);
    } else {
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FrameRect(bar);
        InflateRect(&bar, -1, -1);
        edges(bar, gui::clBtnHighlight, gui::clBtnFace);
    }
    InflateRect(&bar, -1, -1);
    gui::TRect area = bar;
    if (FCheckedMode) area.left += 20;
    if (RollUpMode) area.right -= 10;
    c->Font()->Assign(DefaultFont());
    ApplyCharset(c->Font(), DefaultFont());
    int tw = c->TextWidth(Caption()), th = c->TextHeight(Caption());
    int gw = CaptionPictureWidth();
    int cw = tw + (gw ? gw + Spacing : 0);
    int x = area.left + 2;
    if (DefaultAlignment == gui::taRightJustify)
        x = area.right - cw;
    else if (DefaultAlignment == gui::taCenter)
        x = area.left + 2 + gui::RectWidth(area) / 2 - cw / 2;
    int centre = (bar.top + bar.bottom) / 2;
    if (FCheckedMode) {
        gui::TRect box = gui::Rect(5, centre - 7, 19, centre + 7);
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FrameRect(box);
        if (FChecked) DrawCheckGlyph(c, 8, box.top + 2, gui::clBtnText);
    }
    int px = x;
    if (gw) x += gw + Spacing;
    c->Brush()->SetStyle(gui::bsClear);
    if (!Enabled()) c->Font()->SetColor(gui::clBtnShadow);
    c->TextRect(area, x, centre - th / 2, Caption());
    if (gw) DrawCaptionPicture(c, px, gui::Rect(px, bar.top, px + gw, bar.bottom));
    if (RollUpMode)
        DrawArrow(c, gui::Rect(area.right, bar.top, area.right + 10, bar.bottom), gui::clBtnText,
                  FRollUpState ? 4 : 3);
}

void TbsSkinPanel::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (Button == gui::mbLeft && FCaptionMode && (RollUpMode || FCheckedMode)) {
        gui::TRect caption =
            FIndex != -1 ? NewCaptionRect : gui::Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
        if (PtInRect(&caption, POINT{X, Y})) {
            if (FCheckedMode) SetChecked(!FChecked);
            if (RollUpMode) SetRollUpState(!FRollUpState);
        }
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// --- group box and paint panel -------------------------------------------------------------

TbsSkinGroupBox::TbsSkinGroupBox(gui::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FSkinDataName = "groupbox";
    FCaptionMode = true;
}

// A caption below the client area is drawn with the plain nine-part image, not in strips.
void TbsSkinGroupBox::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    if (FIndex != -1 && ClRect.Bottom < CaptionRect.Top) ForcebackGround = false;
}

TbsSkinPaintPanel::TbsSkinPaintPanel(gui::TComponent* AOwner) : TbsSkinPanel(AOwner) {
    ForcebackGround = false;
}

void TbsSkinPaintPanel::PaintClient(gui::TCanvas* C) {
    if (OnPanelPaint) OnPanelPaint(C, GetSkinClientRect());
}

void TbsSkinPaintPanel::CreateControlDefaultImage(gui::TBitmap* B) {
    TbsSkinPanel::CreateControlDefaultImage(B);
    PaintClient(B->Canvas());
}

void TbsSkinPaintPanel::CreateControlSkinImage(gui::TBitmap* B) {
    TbsSkinPanel::CreateControlSkinImage(B);
    PaintClient(B->Canvas());
}

} // namespace skin

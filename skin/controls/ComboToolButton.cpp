#include "skin/controls/ComboToolButton.h"

#include "skin/controls/NinePartGeometry.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/SkinRect.h"

namespace skin {

namespace {

// The text and arrow places; both move by 2 while the list is open.
void Places(int W, int H, bool down, gui::TRect& text, gui::TRect& arrow) {
    text = {2, 2, W - 17, H - 2};
    arrow = {W - 15, 0, W, H};
    if (down) {
        OffsetRect(&text, 2, 2);
        OffsetRect(&arrow, 2, 2);
    }
}

} // namespace

gui::TRect DrawComboToolButtonDefault(gui::TBitmap* B, const TbsComboToolButtonState& S) {
    gui::TCanvas* c = B->Canvas();
    int W = B->Width(), H = B->Height();
    c->Brush()->SetColor(S.DropDown ? gui::TColor(0xB59385) : S.Hot ? gui::TColor(0xD2BDB6) : gui::clBtnFace);
    c->FillRect({0, 0, W, H});
    c->Brush()->SetColor(S.DropDown || S.Hot ? gui::clNavy : gui::clBtnShadow);
    c->FrameRect({0, 0, W, H});
    gui::TRect text, arrow;
    Places(W, H, S.DropDown, text, arrow);
    if (S.DefaultFont) c->Font()->Assign(S.DefaultFont);
    if (!S.Enabled) c->Font()->SetColor(gui::clGrayText);
    DrawDropDownArrow(c, arrow, c->Font()->Color());
    return text;
}

bool DrawComboToolButtonSkin(TbsSkinData& SD, gui::TBitmap* B, const TbsComboToolButtonState& S,
                             gui::TRect& Text) {
    int index = SD.GetControlIndex("resizetoolbutton");
    if (index < 0) index = SD.GetControlIndex("resizebutton");
    if (index < 0) return false;
    auto* d = dynamic_cast<TbsDataSkinButtonControl*>(SD.CtrlList[static_cast<size_t>(index)].get());
    TbsNinePartGeometry g;
    if (!d || !g.Read(SD, *d, false)) return false;
    int W = B->Width(), H = B->Height();
    TRect look = S.DropDown ? d->DownSkinRect : S.Hot ? d->ActiveSkinRect : d->SkinRect;
    if (Empty(look)) look = d->SkinRect;
    int ww = W, hh = H;
    g.Adjust(ww, hh);
    g.Build(B, g.Picture, look, W, H);
    gui::TCanvas* c = B->Canvas();
    if (S.UseSkinFont && !d->FontName.empty()) {
        c->Font()->SetName(d->FontName);
        c->Font()->SetHeight(d->FontHeight);
        c->Font()->SetStyle(d->FontStyle);
    } else if (S.DefaultFont) {
        c->Font()->Assign(S.DefaultFont);
    }
    gui::TColor colour = !S.Enabled   ? d->DisabledFontColor
                         : S.DropDown ? d->DownFontColor
                         : S.Hot      ? d->ActiveFontColor
                                      : d->FontColor;
    c->Font()->SetColor(colour);
    gui::TRect arrow;
    Places(W, H, S.DropDown, Text, arrow);
    if (Empty(d->MenuMarkerRect)) {
        DrawDropDownArrow(c, arrow, colour);
        return true;
    }
    TRect m = S.DropDown && !Empty(d->MenuMarkerDownRect) ? d->MenuMarkerDownRect
              : S.Hot && !Empty(d->MenuMarkerActiveRect)  ? d->MenuMarkerActiveRect
                                                          : d->MenuMarkerRect;
    gui::TBitmap marker;
    marker.SetSize(m.Width(), m.Height());
    marker.Canvas()->CopyRect({0, 0, m.Width(), m.Height()}, g.Picture->Canvas(), ToGuiRect(m));
    marker.SetTransparent(true);
    marker.TransparentMode = gui::tmFixed;
    marker.SetTransparentColor(d->MenuMarkerTransparentColor);
    c->Draw(arrow.left + (gui::RectWidth(arrow) - m.Width()) / 2,
            arrow.top + (gui::RectHeight(arrow) - m.Height()) / 2, &marker);
    return true;
}

void DrawComboSkinButton(TbsSkinData& SD, gui::TCanvas* C, const gui::TRect& R, bool Down, bool Hot,
                         bool Enabled) {
    int bw = gui::RectWidth(R), bh = gui::RectHeight(R);
    if (bw <= 0 || bh <= 0) return;
    TbsDataSkinButtonControl* d = nullptr;
    for (const char* name : {"combobutton", "editbutton", "resizebutton"}) {
        int i = SD.GetControlIndex(name);
        if (i < 0) continue;
        d = dynamic_cast<TbsDataSkinButtonControl*>(SD.CtrlList[static_cast<size_t>(i)].get());
        if (d) break;
    }
    TbsNinePartGeometry g;
    if (!d || !g.Read(SD, *d, false)) return;
    TRect active = Empty(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
    TRect pressed = Empty(d->DownSkinRect) ? active : d->DownSkinRect;
    int ww = bw, hh = bh;
    g.Adjust(ww, hh);
    gui::TBitmap b;
    b.SetSize(bw, bh);
    g.Build(&b, g.Picture, Down ? pressed : Hot ? active : d->SkinRect, bw, bh);
    if (Enabled) {
        gui::TRect arrow{0, Down ? 2 : 0, bw, bh + (Down ? 2 : 0)};
        DrawDropDownArrow(b.Canvas(), arrow,
                          Down  ? d->DownFontColor
                          : Hot ? d->ActiveFontColor
                                : d->FontColor);
    }
    C->Draw(R.left, R.top, &b);
}

} // namespace skin

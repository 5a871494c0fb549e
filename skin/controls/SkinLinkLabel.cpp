#include "skin/controls/SkinLinkLabel.h"

#include "gdi/DcText.h"
#include "os/DesktopServices.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/GlowText.h"

#include <iostream>

namespace skin {

TbsSkinLinkLabel::TbsSkinLinkLabel(gui::TComponent* AOwner)
    : gui::TCustomLabel(AOwner), FDefaultFont(std::make_unique<gui::TFont>()) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle(gui::fsUnderline);
    SetFont(FDefaultFont.get());
    SetTransparent(true);
    SetCursor(gui::crHandPoint);
}

TbsSkinLinkLabel::~TbsSkinLinkLabel() {
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinLinkLabel::SetSkinData(TbsSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        ChangeSkinData();
    }
}

void TbsSkinLinkLabel::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TCustomLabel::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinLinkLabel::SetUseUnderLine(bool Value) {
    if (Value == FUseUnderLine) return;
    FUseUnderLine = Value;
    Invalidate();
}

void TbsSkinLinkLabel::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
    if (FIndex == -1) return;
    if (auto* d =
            dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get())) {
        FontName = d->FontName;
        FontColor = d->FontColor;
        FontStyle = d->FontStyle;
        FontHeight = d->FontHeight;
        ActiveFontColor = d->ActiveFontColor;
    }
}

void TbsSkinLinkLabel::ChangeSkinData() {
    GetSkinData();
    Invalidate();
}

// The URL goes to the desktop's opener as its one argument, never through a shell; a failure
// to start it is logged, not swallowed.
void TbsSkinLinkLabel::Click() {
    gui::TCustomLabel::Click();
    if (URL.empty()) return;
    if (!os::OpenWithDesktop(URL))
        std::clog << "Cannot open \"" << URL << "\": no desktop opener could start\n";
}

void TbsSkinLinkLabel::CMMouseEnter(gui::TMessage& m) {
    gui::TCustomLabel::CMMouseEnter(m);
    if (Designing()) return;
    FMouseIn = true;
    Invalidate();
}

void TbsSkinLinkLabel::CMMouseLeave(gui::TMessage& m) {
    gui::TCustomLabel::CMMouseLeave(m);
    if (Designing()) return;
    FMouseIn = false;
    Invalidate();
}

void TbsSkinLinkLabel::DoDrawText(gui::TRect& Rect, UINT Flags) {
    GetSkinData();
    std::string text = GetLabelText();
    if ((Flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&"))) text += " ";
    if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
    gui::TRect r = Rect;
    if (GlowEffect) OffsetRect(&r, 0, GlowSize);
    gui::TCanvas* c = Canvas();
    bool skinned = FIndex != -1;
    gui::TColor glow = skinned ? ActiveFontColor : DefaultActiveFontColor;
    if (!skinned) {
        c->Font()->Assign(UseSkinFont ? FDefaultFont.get() : Font());
        if (FMouseIn) c->Font()->SetColor(DefaultActiveFontColor);
    } else {
        c->Font()->Assign(Font());
        if (UseSkinFont) {
            c->Font()->SetName(FontName);
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetHeight(FontHeight);
        }
        c->Font()->SetColor(FMouseIn && !GlowEffect ? ActiveFontColor : FontColor);
    }
    if (FSD && FSD->ResourceStrData())
        c->Font()->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
    else
        c->Font()->SetCharset(FDefaultFont->Charset());
    c->Brush()->SetStyle(gui::bsClear);
    auto underline = [&](bool on) {
        gui::TFontStyles s = c->Font()->Style();
        c->Font()->SetStyle(on ? (s | gui::fsUnderline) : (s & ~gui::fsUnderline));
    };
    RECT rr = r;
    auto draw = [&] { DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &rr, Flags); };
    if (Enabled() || (Flags & DT_CALCRECT)) {
        underline(FUseUnderLine);
        if (FMouseIn && GlowEffect && !(Flags & DT_CALCRECT))
            DrawGlowText(c, r, text, GlowSize, glow, 0, Flags);
        else
            draw();
    } else {
        underline(true);
        OffsetRect(&rr, 1, 1);
        c->Font()->SetColor(skinned ? FSD->SkinColors().cBtnHighLight() : gui::clBtnHighlight);
        draw();
        OffsetRect(&rr, -1, -1);
        c->Font()->SetColor(skinned ? FSD->SkinColors().cBtnShadow() : gui::clBtnShadow);
        draw();
    }
    if (Flags & DT_CALCRECT) {
        Rect = rr;
        if (GlowEffect) Rect.bottom += GlowSize;
    }
}

} // namespace skin

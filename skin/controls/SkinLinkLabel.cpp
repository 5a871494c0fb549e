#include "skin/controls/SkinLinkLabel.h"

#include "gdi/DcText.h"
#include "os/DesktopServices.h"
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
    FIndex = FSkinFont.Read(FSD, SkinDataName);
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
    gui::TColor glow = skinned ? FSkinFont.ActiveFontColor : DefaultActiveFontColor;
    FSkinFont.Apply(c->Font(), skinned, UseSkinFont, FDefaultFont.get(), Font(), FSD);
    if (!skinned) {
        if (FMouseIn) c->Font()->SetColor(DefaultActiveFontColor);
    } else {
        c->Font()->SetColor(FMouseIn && !GlowEffect ? FSkinFont.ActiveFontColor : FSkinFont.FontColor);
    }
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
        DrawEngravedText(c, rr, skinned ? FSD : nullptr, draw);
    }
    if (Flags & DT_CALCRECT) {
        Rect = rr;
        if (GlowEffect) Rect.bottom += GlowSize;
    }
}

} // namespace skin

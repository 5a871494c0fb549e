#include "skin/controls/SkinTextLabel.h"

#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "skin/core/SkinData.h"

namespace skin {

TbsSkinTextLabel::TbsSkinTextLabel(gui::TComponent* AOwner)
    : gui::TGraphicControl(AOwner), FDefaultFont(std::make_unique<gui::TFont>()),
      FLines(std::make_unique<gui::TStringList>()) {
    ControlStyle &= ~gui::csOpaque;
    FLines->OnChange = [this](gui::TObject*) {
        AdjustBounds();
        Invalidate();
    };
    gui::TGraphicControl::SetBounds(Left(), Top(), 65, 65);
}

TbsSkinTextLabel::~TbsSkinTextLabel() {
    FLines->OnChange = nullptr;
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinTextLabel::SetSkinData(TbsSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        ChangeSkinData();
    }
}

void TbsSkinTextLabel::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TGraphicControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinTextLabel::SetAlignment(gui::TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetLayout(gui::TTextLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetLabelAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TbsSkinTextLabel::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

std::string TbsSkinTextLabel::LabelText() const {
    std::string text;
    for (int i = 0; i < FLines->Count(); ++i) text += (*FLines)[i] + "\n";
    return text;
}

void TbsSkinTextLabel::GetSkinData() {
    FIndex = FSkinFont.Read(FSD, SkinDataName);
}

void TbsSkinTextLabel::ChangeSkinData() {
    GetSkinData();
    AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::DrawLabelText(gui::TRect& R, UINT Flags) {
    GetSkinData();
    std::string text = LabelText();
    gui::TCanvas* c = Canvas();
    const bool skinned = FIndex != -1;
    FSkinFont.Apply(c->Font(), skinned, UseSkinFont, FDefaultFont.get(), Font(), FSD);
    if (skinned) c->Font()->SetColor(UseSkinColor ? FSkinFont.FontColor : Font()->Color());
    c->Brush()->SetStyle(gui::bsClear);
    RECT r = R;
    auto draw = [&] { DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, Flags); };
    if (Enabled() || (Flags & DT_CALCRECT))
        draw();
    else
        DrawEngravedText(c, r, skinned ? FSD : nullptr, draw);
    R = r;
}

// The joined text ends with a line break: what that break adds to the measured height (a line
// where the text drawing counts it, nothing where it does not).
int TbsSkinTextLabel::LastLineHeight() {
    HDC dc = Canvas()->Handle();
    RECT one{0, 0, 1000, 0}, two{0, 0, 1000, 0};
    DrawText(dc, "A", 1, &one, DT_CALCRECT);
    DrawText(dc, "A\n", 2, &two, DT_CALCRECT);
    return std::max(0, static_cast<int>((two.bottom - two.top) - (one.bottom - one.top)));
}

void TbsSkinTextLabel::Paint() {
    UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) |
                 (FAlignment == gui::taRightJustify ? DT_RIGHT
                  : FAlignment == gui::taCenter     ? DT_CENTER
                                                    : DT_LEFT);
    gui::TRect r = ClientRect();
    if (FLayout != gui::tlTop) {
        gui::TRect calc = r;
        DrawLabelText(calc, flags | DT_CALCRECT);
        int h = std::max(0, gui::RectHeight(calc) - LastLineHeight());
        OffsetRect(&r, 0, FLayout == gui::tlBottom ? Height() - h : (Height() - h) / 2);
    }
    DrawLabelText(r, flags);
}

// Measured on a memory DC, which has the screen's text metrics; an empty text fits a height
// of 0, never less.
void TbsSkinTextLabel::AdjustBounds() {
    if (!FAutoSize || Loading()) return;
    gui::TCanvas* c = Canvas();
    HDC mem = nullptr;
    if (!c->HandleAllocated()) {
        mem = CreateCompatibleDC(nullptr);
        c->SetHandle(mem);
    }
    gui::TRect r = ClientRect();
    DrawLabelText(r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
    int h = FLines->Count() == 0 ? 0 : std::max(0, gui::RectHeight(r) - LastLineHeight());
    if (mem) {
        c->SetHandle(nullptr);
        DeleteDC(mem);
    }
    int x = Left();
    if (FAlignment == gui::taRightJustify) x = Left() + Width() - gui::RectWidth(r);
    SetBounds(x, Top(), gui::RectWidth(r), h);
}

void TbsSkinTextLabel::Loaded() {
    gui::TGraphicControl::Loaded();
    AdjustBounds();
}

void TbsSkinTextLabel::CMFontChanged(gui::TMessage& m) {
    gui::TGraphicControl::CMFontChanged(m);
    AdjustBounds();
    Invalidate();
}

} // namespace skin

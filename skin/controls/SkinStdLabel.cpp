#include "skin/controls/SkinStdLabel.h"

#include "gdi/DcText.h"
#include "skin/core/SkinData.h"

namespace skin {

TbsSkinStdLabel::TbsSkinStdLabel(gui::TComponent* AOwner)
    : gui::TCustomLabel(AOwner), FDefaultFont(std::make_unique<gui::TFont>()) {
    SetTransparent(true);
}

TbsSkinStdLabel::~TbsSkinStdLabel() {
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        ChangeSkinData();
    }
}

void TbsSkinStdLabel::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TCustomLabel::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType Value) {
    if (FEllipsType == Value) return;
    FEllipsType = Value;
    Invalidate();
}

void TbsSkinStdLabel::GetSkinData() {
    FIndex = FSkinFont.Read(FSD, SkinDataName);
}

void TbsSkinStdLabel::ChangeSkinData() {
    GetSkinData();
    AdjustBounds();
    Invalidate();
}

void TbsSkinStdLabel::DoDrawText(gui::TRect& Rect, UINT Flags) {
    GetSkinData();
    std::string text = GetLabelText();
    if ((Flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&"))) text += " ";
    if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
    if (FEllipsType == TbsEllipsType::bsetEndEllips) Flags |= DT_END_ELLIPSIS;
    if (FEllipsType == TbsEllipsType::bsetPathEllips) Flags |= DT_PATH_ELLIPSIS;
    gui::TCanvas* c = Canvas();
    const bool skinned = FIndex != -1;
    FSkinFont.Apply(c->Font(), skinned, UseSkinFont, FDefaultFont.get(), Font(), FSD);
    if (skinned) c->Font()->SetColor(UseSkinColor ? FSkinFont.FontColor : Font()->Color());
    c->Brush()->SetStyle(gui::bsClear);
    RECT r = Rect;
    auto draw = [&] { DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, Flags); };
    if (Enabled() || (Flags & DT_CALCRECT))
        draw();
    else
        DrawEngravedText(c, r, skinned ? FSD : nullptr, draw);
    Rect = r;
}

} // namespace skin

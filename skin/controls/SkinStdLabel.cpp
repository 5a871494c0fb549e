#include "skin/controls/SkinStdLabel.h"

#include "gdi/DcText.h"
#include "skin/core/ResourceStrData.h"
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
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
    if (FIndex == -1) return;
    if (auto* d =
            dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get())) {
        FontName = d->FontName;
        FontColor = d->FontColor;
        FontStyle = d->FontStyle;
        FontHeight = d->FontHeight;
    } else {
        FIndex = -1; // no font to take: the label's own
    }
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
    if (FIndex == -1) {
        c->Font()->Assign(UseSkinFont ? FDefaultFont.get() : Font());
    } else {
        c->Font()->Assign(Font());
        if (UseSkinFont) {
            c->Font()->SetName(FontName);
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetHeight(FontHeight);
        }
        c->Font()->SetColor(UseSkinColor ? FontColor : Font()->Color());
    }
    if (FSD && FSD->ResourceStrData())
        c->Font()->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
    else
        c->Font()->SetCharset(FDefaultFont->Charset());
    c->Brush()->SetStyle(gui::bsClear);
    RECT r = Rect;
    auto draw = [&] { DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, Flags); };
    if (Enabled() || (Flags & DT_CALCRECT)) {
        draw();
    } else {
        // Engraved: a highlight copy one pixel down and right under the shadow-coloured text.
        bool skinned = FIndex != -1;
        OffsetRect(&r, 1, 1);
        c->Font()->SetColor(skinned ? FSD->SkinColors().cBtnHighLight() : gui::clBtnHighlight);
        draw();
        OffsetRect(&r, -1, -1);
        c->Font()->SetColor(skinned ? FSD->SkinColors().cBtnShadow() : gui::clBtnShadow);
        draw();
    }
    Rect = r;
}

} // namespace skin

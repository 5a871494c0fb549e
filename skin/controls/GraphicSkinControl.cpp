#include "skin/controls/GraphicSkinControl.h"

#include "skin/core/SkinData.h"

namespace skin {

TbsGraphicSkinControl::TbsGraphicSkinControl(gui::TComponent* AOwner)
    : TbsSkinLook<gui::TGraphicControl>(AOwner) {}

TbsGraphicSkinControl::~TbsGraphicSkinControl() = default;

void TbsGraphicSkinControl::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
}

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(gui::TComponent* AOwner)
    : TbsSkinCustomLook<TbsGraphicSkinControl>(AOwner) {}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() = default;

void TbsGraphicSkinCustomControl::CreateSkinImage(gui::TBitmap* B, gui::TBitmap* APicture, const TRect& R) {
    Build(B, APicture, R, B->Width(), B->Height());
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(gui::TBitmap* B) {
    CreateSkinImage(B, Picture, SkinRect);
}

} // namespace skin

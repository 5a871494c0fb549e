#include "skin/controls/SkinSplitter.h"

#include "skin/core/SkinData.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"

namespace skin {

TbsSkinSplitter::TbsSkinSplitter(gui::TComponent* AOwner) : gui::TSplitter(AOwner) {
    ControlStyle |= gui::csOpaque;
}

TbsSkinSplitter::~TbsSkinSplitter() {
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    ChangeSkinData();
}

void TbsSkinSplitter::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TSplitter::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinSplitter::SetTransparent(bool Value) {
    if (Value == Transparent()) return;
    if (Value)
        ControlStyle &= ~gui::csOpaque;
    else
        ControlStyle |= gui::csOpaque;
    Invalidate();
}

void TbsSkinSplitter::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
    FSkinPicture = nullptr;
    if (FIndex == -1) return;
    auto* d = dynamic_cast<TbsDataSkinSplitterControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get());
    if (!d) return;
    LTPt = d->LTPoint;
    RTPt = d->RTPoint;
    LBPt = d->LBPoint;
    SkinRect = d->SkinRect;
    StretchEffect = d->StretchEffect;
    FSkinPicture = SkinPictureAt(*FSD, d->PictureIndex);
    GripperRect = d->GripperRect;
    GripperTransparent = d->GripperTransparent;
    GripperTransparentColor = d->GripperTransparentColor;
}

void TbsSkinSplitter::ChangeSkinData() {
    GetSkinData();
    // Without a picture to draw, the splitter keeps its plain thickness.
    bool plain = FIndex == -1 || !FSkinPicture || Transparent();
    if (Align() == gui::alTop || Align() == gui::alBottom)
        SetHeight(plain ? DefaultSize : SkinRect.Height());
    else
        SetWidth(plain ? DefaultSize : SkinRect.Width());
    Invalidate();
}

void TbsSkinSplitter::Paint() {
    if (Transparent() || Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FIndex == -1 || !FSkinPicture || Align() == gui::alNone || Align() == gui::alClient) {
        gui::TSplitter::Paint();
        return;
    }
    gui::TBitmap strip;
    if (Align() == gui::alTop || Align() == gui::alBottom)
        BuildHorzThreePartImage(LTPt.X, SkinRect.Width() - RTPt.X, &strip, FSkinPicture, SkinRect, Width(),
                                SkinRect.Height(), StretchEffect);
    else
        BuildVertThreePartImage(LTPt.Y, SkinRect.Height() - LBPt.Y, &strip, FSkinPicture, SkinRect,
                                SkinRect.Width(), Height(), StretchEffect);
    if (GripperRect.Width() > 0 && GripperRect.Height() > 0) {
        gui::TBitmap grip;
        grip.SetSize(GripperRect.Width(), GripperRect.Height());
        grip.Canvas()->CopyRect(gui::Rect(0, 0, GripperRect.Width(), GripperRect.Height()),
                                FSkinPicture->Canvas(), ToGuiRect(GripperRect));
        if (GripperTransparent) {
            grip.SetTransparent(true);
            grip.TransparentMode = gui::tmFixed;
            grip.SetTransparentColor(GripperTransparentColor);
        }
        strip.Canvas()->Draw((strip.Width() - grip.Width()) / 2, (strip.Height() - grip.Height()) / 2, &grip);
    }
    Canvas()->Draw(0, 0, &strip);
}

} // namespace skin

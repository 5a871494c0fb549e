#include "skin/forms/ActiveSkinObject.h"

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "skin/core/SkinData.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/EngineSetup.h"
#include "skin/engine/LayerManager.h"
#include "skin/forms/SkinForm.h"

namespace skin {

bool IsEmptySkinRect(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

gui::TRect ToGui(const TRect& r) {
    return gui::Rect(r.Left, r.Top, r.Right, r.Bottom);
}

const TbsPicture* ActivePictureAt(const TbsSkinData* data, int index) {
    if (!data || index < 0 || index >= static_cast<int>(data->FActivePictures.size())) return nullptr;
    const TbsPicture* p = data->FActivePictures[static_cast<size_t>(index)].get();
    return p && !p->Empty() ? p : nullptr;
}

void CopyPictureRect(gui::TCanvas* Cnvs, const TbsPicture* picture, const TRect& source, const TRect& dest) {
    if (!Cnvs || !picture || picture->Empty() || IsEmptySkinRect(source) || IsEmptySkinRect(dest)) return;
    Cnvs->CopyRect(ToGui(dest), picture->Bitmap().Canvas(), ToGui(source));
}

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData)
    : Parent(AParent), SD(AParent ? AParent->SkinData() : nullptr) {
    if (!AData) return;
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    // Every later read of a picture tests it, so an index outside the skin's pictures means
    // "no image" everywhere rather than in one rectangle only.
    ActivePicture = ActivePictureAt(SD, AData->ActivePictureIndex);
    if (!ActivePicture) ActiveSkinRect = {};
    ActiveMaskPicture = ActivePictureAt(SD, AData->ActiveMaskPictureIndex);
    if (IsEmptySkinRect(ActiveSkinRect)) Morphing = false;
    ObjectRect = SkinRect;
    if (SD && !SD->FPicture.Empty()) Picture = &SD->FPicture;
}

bool TbsActiveSkinObject::HasSkin() const {
    return SD && !SD->Empty;
}

bool TbsActiveSkinObject::PointInObject(int X, int Y) {
    if (!HasSkin() || !ActiveMaskPicture) return true;
    const gdi::image::Image& mask = ActiveMaskPicture->Image();
    if (X < 0 || Y < 0 || X >= mask.width || Y >= mask.height) return false;
    return (mask.At(X, Y) & 0xFFFFFF) == 0;
}

bool TbsActiveSkinObject::EnableMorphing() const {
    return Morphing && HasSkin() && SD->EnableSkinEffects;
}

void TbsActiveSkinObject::SetMorphKf(double value) {
    FMorphKf = value < 0 ? 0 : value > 1 ? 1 : value;
}

bool TbsActiveSkinObject::CanMorphing() {
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TbsActiveSkinObject::DoMorphing() {
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::ReDraw() {
    if (EnableMorphing())
        Parent->StartMorphTimer();
    else
        Parent->DrawSkinObject(this);
}

bool TbsActiveSkinObject::MorphUnderWay() const {
    return (Active && FMorphKf != 1) || (!Active && FMorphKf != 0);
}

void TbsActiveSkinObject::DrawMorph(gui::TCanvas* Cnvs, const TbsPicture* normalPicture, const TRect& normal,
                                    const TRect& hover) {
    int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    gui::TBitmap from, to;
    from.SetSize(w, h);
    to.SetSize(w, h);
    CopyPictureRect(from.Canvas(), normalPicture, normal, {0, 0, w, h});
    CopyPictureRect(to.Canvas(), ActivePicture, hover, {0, 0, w, h});
    auto a = TbsEffectBmp::CreateFromhWnd(from.Handle());
    auto b = TbsEffectBmp::CreateFromhWnd(to.Handle());
    if (!a || !b) return;
    a->Transition(MorphKind, *b, FMorphKf);
    a->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::Draw(gui::TCanvas* Cnvs, bool UpDate) {
    if (!HasSkin()) return;
    if (Enabled && !Parent->GetFormActive() && !IsEmptySkinRect(InActiveSkinRect)) {
        CopyPictureRect(Cnvs, ActivePicture, InActiveSkinRect, ObjectRect);
        return;
    }
    const TbsPicture* normal = SkinRectInAPicture ? ActivePicture : Picture;
    if (EnableMorphing() && MorphUnderWay()) {
        DrawMorph(Cnvs, normal, SkinRect, ActiveSkinRect);
        return;
    }
    if (Active && !IsEmptySkinRect(ActiveSkinRect)) {
        CopyPictureRect(Cnvs, ActivePicture, ActiveSkinRect, ObjectRect);
        return;
    }
    // The frame's own picture already shows normal images that lie in it.
    if (UpDate || SkinRectInAPicture) CopyPictureRect(Cnvs, normal, SkinRect, ObjectRect);
}

void TbsActiveSkinObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (!IsEmptySkinRect(ActiveSkinRect)) ReDraw();
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TbsActiveSkinObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!IsEmptySkinRect(ActiveSkinRect)) ReDraw();
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

void TbsActiveSkinObject::MouseDown(int X, int Y, gui::TMouseButton Button) {
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(int X, int Y, gui::TMouseButton Button) {
    if (FMouseIn) Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(int X, int Y) {
    Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsActiveSkinObject::ShowLayer() {
    ShowLayerOn(false);
}

void TbsActiveSkinObject::HideLayer() {
    HideLayerOn(false);
}

void TbsActiveSkinObject::ShowLayerOn(bool menuManager) {
    if (!HasSkin() || !IsLayeredWindowSupported() || !SD->ShowCaptionButtonGlowFrames) return;
    // Both glow pictures are looked up with a range test: a bad index shows no glow.
    const TbsPicture* glow = ActivePictureAt(SD, GlowLayerPictureIndex);
    if (!glow) return;
    const TbsPicture* mask = ActivePictureAt(SD, GlowLayerMaskPictureIndex);
    TRect r = Parent->ObjectToScreen(ObjectRect);
    Parent->GlowManager(menuManager)
        ->Show(r.Left - GlowLayerOffsetX, r.Top - GlowLayerOffsetY, &glow->Bitmap(),
               mask ? &mask->Bitmap() : nullptr, GlowLayerAlphaBlendValue);
}

void TbsActiveSkinObject::HideLayerOn(bool menuManager) {
    if (!HasSkin() || GlowLayerPictureIndex == -1 || !IsLayeredWindowSupported() ||
        !SD->ShowCaptionButtonGlowFrames)
        return;
    TbsLayerManager* m = Parent->GlowManager(menuManager);
    if (m->IsVisible) m->Hide();
}

void TbsUserObject::Draw(gui::TCanvas* Cnvs, bool) {
    Parent->DoPaintEvent(IDName, Cnvs, ObjectRect);
}

} // namespace skin

#include "skin/controls/SkinLook.h"

#include "gui/CustomControl.h"
#include "gui/GraphicControl.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/SkinRect.h"

#include <type_traits>

namespace skin {

// --- TbsSkinLook ---------------------------------------------------------------------------

template <class TControl> TbsSkinLook<TControl>::TbsSkinLook(gui::TComponent* AOwner) : TControl(AOwner) {
    this->ControlStyle |= gui::csOpaque;
}

template <class TControl> TbsSkinLook<TControl>::~TbsSkinLook() {
    if (FSD) FSD->RemoveFreeNotification(this);
}

template <class TControl> void TbsSkinLook<TControl>::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !this->Designing()) ChangeSkinData();
}

template <class TControl>
void TbsSkinLook<TControl>::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

template <class TControl> TbsDataSkinControl* TbsSkinLook<TControl>::Descriptor() const {
    if (!FSD || FIndex < 0 || FIndex >= static_cast<int>(FSD->CtrlList.size())) return nullptr;
    return FSD->CtrlList[static_cast<size_t>(FIndex)].get();
}

template <class TControl> void TbsSkinLook<TControl>::ChangeSkinData() {
    GetSkinData();
    this->Invalidate();
}

template <class TControl> void TbsSkinLook<TControl>::Paint() {
    if (this->Width() <= 0 || this->Height() <= 0) return;
    GetSkinData();
    gui::TBitmap b;
    b.SetSize(this->Width(), this->Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&b);
    else
        CreateControlSkinImage(&b);
    this->Canvas()->Draw(0, 0, &b);
}

template <class TControl>
void TbsSkinLook<TControl>::ApplyCharset(gui::TFont* Font, const gui::TFont* Default) const {
    if (FSD && FSD->ResourceStrData())
        Font->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
    else
        Font->SetCharset(Default->Charset());
}

template <class TControl> void TbsSkinLook<TControl>::CMMouseEnter(gui::TMessage& m) {
    TControl::CMMouseEnter(m);
    if (!this->Designing() && OnMouseEnter) OnMouseEnter(this);
}

template <class TControl> void TbsSkinLook<TControl>::CMMouseLeave(gui::TMessage& m) {
    TControl::CMMouseLeave(m);
    if (!this->Designing() && OnMouseLeave) OnMouseLeave(this);
}

template class TbsSkinLook<gui::TCustomControl>;
template class TbsSkinLook<gui::TGraphicControl>;

// --- TbsSkinCustomLook ---------------------------------------------------------------------

template <class TLook>
TbsSkinCustomLook<TLook>::TbsSkinCustomLook(gui::TComponent* AOwner)
    : TLook(AOwner), FDefaultFont(std::make_unique<gui::TFont>()) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle(0);
    FDefaultFont->OnChange = [this](gui::TObject*) {
        DefaultFontChanged();
        if (this->FIndex == -1) this->Invalidate();
    };
}

template <class TLook> TbsSkinCustomLook<TLook>::~TbsSkinCustomLook() {
    FDefaultFont->OnChange = nullptr;
}

template <class TLook> gui::TRect TbsSkinCustomLook<TLook>::RealClientRect() const {
    return ToGuiRect(NewClRect);
}

template <class TLook> void TbsSkinCustomLook<TLook>::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (this->FIndex == -1 && Value > 0) this->SetWidth(Value);
}

template <class TLook> void TbsSkinCustomLook<TLook>::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (this->FIndex == -1 && Value > 0) this->SetHeight(Value);
}

template <class TLook> void TbsSkinCustomLook<TLook>::GetSkinData() {
    TLook::GetSkinData();
    if (this->FIndex == -1) return;
    // Only a window can take the mask picture's region.
    constexpr bool withMask = std::is_base_of_v<gui::TWinControl, TLook>;
    if (!Read(*this->FSD, *this->Descriptor(), withMask)) this->FIndex = -1;
}

template <class TLook>
void TbsSkinCustomLook<TLook>::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    bool skinned = this->FIndex != -1 && (AWidth != this->Width() || AHeight != this->Height());
    if (skinned) {
        AdjustSkinSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    ATop = ToolBarChildTop(this, ATop, AHeight);
    TLook::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (skinned) {
        UpdateMaskRegion();
        this->Invalidate();
    }
}

// A size the skin changes is repainted (and its region set) by SetBounds.
template <class TLook> void TbsSkinCustomLook<TLook>::ChangeSkinData() {
    GetSkinData();
    bool changed = false;
    if (this->FIndex == -1) {
        if (FDefaultWidth > 0 && this->Width() != FDefaultWidth) this->SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0 && this->Height() != FDefaultHeight) this->SetHeight(FDefaultHeight);
    } else {
        int w = this->Width(), h = this->Height();
        AdjustSkinSize(w, h);
        changed = w != this->Width() || h != this->Height();
        if (w != this->Width()) this->SetWidth(w);
        if (h != this->Height()) this->SetHeight(h);
    }
    if (!changed) {
        UpdateMaskRegion();
        this->Invalidate();
    }
}

template <class TLook> void TbsSkinCustomLook<TLook>::CreateControlDefaultImage(gui::TBitmap* B) {
    B->Canvas()->Brush()->SetColor(gui::clBtnFace);
    B->Canvas()->FillRect(gui::Rect(0, 0, B->Width(), B->Height()));
}

template class TbsSkinCustomLook<TbsSkinControl>;
template class TbsSkinCustomLook<TbsGraphicSkinControl>;

} // namespace skin

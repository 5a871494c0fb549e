#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinToolBar.h"

#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/SkinRect.h"

namespace skin {

TbsGraphicSkinControl::TbsGraphicSkinControl(gui::TComponent* AOwner) : gui::TGraphicControl(AOwner) {
    ControlStyle |= gui::csOpaque;
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() {
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !Designing()) ChangeSkinData();
}

void TbsGraphicSkinControl::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TGraphicControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

TbsDataSkinControl* TbsGraphicSkinControl::Descriptor() const {
    if (!FSD || FIndex < 0 || FIndex >= static_cast<int>(FSD->CtrlList.size())) return nullptr;
    return FSD->CtrlList[static_cast<size_t>(FIndex)].get();
}

void TbsGraphicSkinControl::GetSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
}

void TbsGraphicSkinControl::ChangeSkinData() {
    GetSkinData();
    Invalidate();
}

void TbsGraphicSkinControl::ApplyCharset(gui::TFont* Font, const gui::TFont* Default) const {
    if (FSD && FSD->ResourceStrData())
        Font->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
    else
        Font->SetCharset(Default->Charset());
}

void TbsGraphicSkinControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    if (FIndex == -1)
        CreateControlDefaultImage(&b);
    else
        CreateControlSkinImage(&b);
    Canvas()->Draw(0, 0, &b);
}

void TbsGraphicSkinControl::CMMouseEnter(gui::TMessage& m) {
    gui::TGraphicControl::CMMouseEnter(m);
    if (!Designing() && OnMouseEnter) OnMouseEnter(this);
}

void TbsGraphicSkinControl::CMMouseLeave(gui::TMessage& m) {
    gui::TGraphicControl::CMMouseLeave(m);
    if (!Designing() && OnMouseLeave) OnMouseLeave(this);
}

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(gui::TComponent* AOwner)
    : TbsGraphicSkinControl(AOwner), FDefaultFont(std::make_unique<gui::TFont>()) {
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->OnChange = [this](gui::TObject*) {
        DefaultFontChanged();
        if (FIndex == -1) Invalidate();
    };
}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() {
    FDefaultFont->OnChange = nullptr;
}

gui::TRect TbsGraphicSkinCustomControl::RealClientRect() const {
    return ToGuiRect(NewClRect);
}

void TbsGraphicSkinCustomControl::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsGraphicSkinCustomControl::GetSkinData() {
    TbsGraphicSkinControl::GetSkinData();
    if (FIndex == -1) return;
    if (!Read(*FSD, *Descriptor(), false)) FIndex = -1;
}

void TbsGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    bool skinned = FIndex != -1 && (AWidth != Width() || AHeight != Height());
    if (skinned) {
        AdjustSkinSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    ATop = ToolBarChildTop(this, ATop, AHeight);
    TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (skinned) Invalidate();
}

void TbsGraphicSkinCustomControl::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        if (FDefaultWidth > 0 && Width() != FDefaultWidth) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0 && Height() != FDefaultHeight) SetHeight(FDefaultHeight);
    } else {
        int w = Width(), h = Height();
        AdjustSkinSize(w, h);
        if (w != Width()) SetWidth(w);
        if (h != Height()) SetHeight(h);
    }
    Invalidate();
}

void TbsGraphicSkinCustomControl::CreateSkinImage(gui::TBitmap* B, gui::TBitmap* APicture, const TRect& R) {
    Build(B, APicture, R, B->Width(), B->Height());
}

void TbsGraphicSkinCustomControl::CreateControlDefaultImage(gui::TBitmap* B) {
    B->Canvas()->Brush()->SetColor(gui::clBtnFace);
    B->Canvas()->FillRect(gui::Rect(0, 0, B->Width(), B->Height()));
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(gui::TBitmap* B) {
    CreateSkinImage(B, Picture, SkinRect);
}

} // namespace skin

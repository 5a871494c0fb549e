#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinToolBar.h"

#include "skin/core/SkinData.h"

namespace skin {

TbsSkinBevel::TbsSkinBevel(gui::TComponent* AOwner) : gui::TBevel(AOwner) {}

TbsSkinBevel::~TbsSkinBevel() {
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    ChangeSkinData();
}

void TbsSkinBevel::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TBevel::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinBevel::SetDividerMode(bool Value) {
    FDividerMode = Value;
    Invalidate();
}

void TbsSkinBevel::ChangeSkinData() {
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(SkinDataName);
    if (FIndex == -1) {
        LightColor = gui::clBtnHighlight;
        DarkColor = gui::clBtnShadow;
    } else if (auto* d = dynamic_cast<TbsDataSkinBevel*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get())) {
        LightColor = d->LightColor;
        DarkColor = d->DarkColor;
    }
    Invalidate();
}

void TbsSkinBevel::Paint() {
    gui::TCanvas* c = Canvas();
    c->Pen()->SetWidth(1);
    gui::TColor first = Style() == gui::bsLowered ? DarkColor : LightColor;
    gui::TColor second = Style() == gui::bsLowered ? LightColor : DarkColor;
    int w = Width(), h = Height();
    if (!FDividerMode) {
        switch (Shape()) {
        case gui::bsBox:
            BevelRect({0, 0, w - 1, h - 1}, first, second);
            break;
        case gui::bsFrame:
            BevelRect({1, 1, w - 1, h - 1}, second, second);
            BevelRect({0, 0, w - 2, h - 2}, first, first);
            break;
        case gui::bsTopLine:
            BevelLine(first, 0, 0, w, 0);
            BevelLine(second, 0, 1, w, 1);
            break;
        case gui::bsBottomLine:
            BevelLine(first, 0, h - 2, w, h - 2);
            BevelLine(second, 0, h - 1, w, h - 1);
            break;
        case gui::bsLeftLine:
            BevelLine(first, 0, 0, 0, h);
            BevelLine(second, 1, 0, 1, h);
            break;
        case gui::bsRightLine:
            BevelLine(first, w - 2, 0, w - 2, h);
            BevelLine(second, w - 1, 0, w - 1, h);
            break;
        case gui::bsSpacer:
            break;
        }
        return;
    }
    switch (Shape()) {
    case gui::bsTopLine:
    case gui::bsBottomLine:
        if (w > 4) BevelRect({2, h / 2 - 1, w - 2, h / 2}, first, second);
        break;
    case gui::bsSpacer:
        break;
    default:
        // A divider needs room between its ends: a bevel shorter than them draws none.
        if (h > 4) BevelRect({w / 2 - 1, 2, w / 2, h - 2}, first, second);
        break;
    }
}

// A bevel in a tool bar stands centred like the bar's other skinned controls.
void TbsSkinBevel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    gui::TBevel::SetBounds(ALeft, ToolBarChildTop(this, ATop, AHeight), AWidth, AHeight);
}

} // namespace skin

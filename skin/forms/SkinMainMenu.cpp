#include "skin/forms/SkinMainMenu.h"

#include "skin/core/SkinData.h"

namespace skin {

TbsSkinMainMenu::~TbsSkinMainMenu() {
    SetSkinData(nullptr);
}

void TbsSkinMainMenu::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TMainMenu::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FSD) FSD = nullptr;
}

} // namespace skin

#include "skin/menus/SkinPopupMenu.h"

#include "gui/Application.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinMenuHost.h"

namespace skin {

TbsSkinMenuHost* FindSkinForm(gui::TComponent* AForm) {
    if (!AForm) return nullptr;
    for (int i = 0; i < AForm->ComponentCount(); ++i)
        if (auto* host = dynamic_cast<TbsSkinMenuHost*>(AForm->Components(i))) return host;
    return nullptr;
}

TbsSkinPopupMenu::TbsSkinPopupMenu(gui::TComponent* AOwner) : gui::TPopupMenu(AOwner) {}

TbsSkinPopupMenu::~TbsSkinPopupMenu() {
    SetSkinData(nullptr);
}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TPopupMenu::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == SkinComponent) SkinComponent = nullptr;
    if (AComponent == ComponentForm) ComponentForm = nullptr;
}

TbsSkinMenuHost* TbsSkinPopupMenu::FindHost() {
    if (SkinComponent) return dynamic_cast<TbsSkinMenuHost*>(SkinComponent);
    if (ComponentForm) return FindSkinForm(ComponentForm);
    // A menu owned by a frame on a form finds the form through the frame's owner.
    gui::TCustomForm* form = dynamic_cast<gui::TCustomForm*>(Owner());
    if (!form && Owner()) form = dynamic_cast<gui::TCustomForm*>(Owner()->Owner());
    if (!form) return nullptr;
    if (form->FormStyle() == gui::fsMDIChild && gui::Application->MainForm())
        form = gui::Application->MainForm();
    return FindSkinForm(form);
}

bool TbsSkinPopupMenu::Show(gui::TControl* ACtrl, const gui::TRect& R, bool APopupUp, bool NeedSkinData) {
    DoPopup(this);
    TbsSkinMenuHost* host = FindHost();
    if (host && !FSD)
        SetSkinData(host->HostMenusSkinData() ? host->HostMenusSkinData() : host->HostSkinData());
    if (!host || (NeedSkinData && !FSD)) return false;
    TbsSkinMenu* manager = host->HostSkinMenu();
    if (manager->Visible()) host->SkinMenuClose();
    host->SkinMenuOpen();
    FPopupPoint = Point(R.left, R.top);
    manager->Popup(ACtrl, FSD, 0, Rect(R.left, R.top, R.right, R.bottom), Items(), APopupUp);
    if (!manager->Visible()) {
        // Nothing opened: menu mode ends at once, and no close notice will come.
        host->SkinMenuClose();
        return false;
    }
    if (OnMenuClose) manager->OnMenuClose = OnMenuClose;
    return true;
}

void TbsSkinPopupMenu::Popup(int X, int Y) {
    Show(nullptr, gui::Rect(X, Y, X, Y), false, false);
}

void TbsSkinPopupMenu::PopupFromRect(const gui::TRect& R, bool APopupUp) {
    Show(nullptr, R, APopupUp, false);
}

void TbsSkinPopupMenu::Popup2(gui::TControl* ACtrl, int X, int Y) {
    Show(ACtrl, gui::Rect(X, Y, X, Y), false, true);
}

bool TbsSkinPopupMenu::PopupFromRect2(gui::TControl* ACtrl, const gui::TRect& R, bool APopupUp) {
    return Show(ACtrl, R, APopupUp, false);
}

} // namespace skin

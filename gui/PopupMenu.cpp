#include "gui/PopupMenu.h"

namespace gui {

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (popupComponent_ == component) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = component;
    if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    popupX_ = x;
    popupY_ = y;
    DoPopup(this);
}

void TPopupMenu::DoPopup(TObject* sender) {
    if (OnPopup) OnPopup(sender);
}

} // namespace gui

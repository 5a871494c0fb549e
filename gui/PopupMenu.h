#pragma once
// A menu shown at a point for a control.
#include "gui/Menu.h"

#include <string>

namespace gui {

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    std::string ClassName() const override { return "TPopupMenu"; }

    bool AutoPopup = true; // a right click on the control shows the menu
    // The control the menu was shown for; cleared when that component is freed.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);
    TNotifyEvent OnPopup;

    // Announces the menu (OnPopup) at a screen point.  Showing it is the skinned menu's work,
    // which overrides this.
    virtual void Popup(int x, int y);
    int PopupX() const { return popupX_; }
    int PopupY() const { return popupY_; }

protected:
    virtual void DoPopup(TObject* sender);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* popupComponent_ = nullptr;
    int popupX_ = -1, popupY_ = -1;
};

} // namespace gui

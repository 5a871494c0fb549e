#pragma once
// TbsSkinPopupMenu: the popup menu component that programs and controls use.  It finds the
// skinned form of its form, takes that form's menu skin, and shows its items through the
// form's menu manager.  A form without a skinned form shows nothing.
#include "gui/Menus.h"
#include "skin/core/SkinData.h"
#include "skin/menus/TrackMenu.h"

namespace skin {

class TbsSkinMenuHost;

class TbsSkinPopupMenu : public gui::TPopupMenu, public TbsTrackMenu {
public:
    explicit TbsSkinPopupMenu(gui::TComponent* AOwner);
    ~TbsSkinPopupMenu() override;
    std::string ClassName() const override { return "TbsSkinPopupMenu"; }

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    gui::TCustomForm* ComponentForm = nullptr;
    gui::TComponent* SkinComponent = nullptr; // a TbsSkinForm, when set
    TPoint PopupPoint() const { return FPopupPoint; }
    gui::TNotifyEvent OnMenuClose;

    // At a screen point, no opener.
    void Popup(int X, int Y) override;
    // Beside a screen rectangle, above it with APopupUp; no opener.
    void PopupFromRect(const gui::TRect& R, bool APopupUp);
    // At a screen point with ACtrl as opener; shows nothing without skin data.
    void Popup2(gui::TControl* ACtrl, int X, int Y);
    // Beside a screen rectangle with ACtrl as opener.  False when nothing was shown.
    bool PopupFromRect2(gui::TControl* ACtrl, const gui::TRect& R, bool APopupUp);
    bool PopupFromRect(gui::TControl* AOpener, const gui::TRect& R, bool APopupUp) override {
        return PopupFromRect2(AOpener, R, APopupUp);
    }

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    bool Show(gui::TControl* ACtrl, const gui::TRect& R, bool APopupUp, bool NeedSkinData);
    TbsSkinMenuHost* FindHost();

    TPoint FPopupPoint{-1, -1};
    TbsSkinData* FSD = nullptr;
};

} // namespace skin

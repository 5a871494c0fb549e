#pragma once
// TbsSkinMenu: the chain of open levels of one form's skinned popup menu.  It opens the first
// level, opens and closes submenus (after a pause for the pointer), runs the chosen command,
// closes the chain, and tells the control that opened the menu and the form: 1228 when the
// menu closed, 1229 after the command ran.  Every skinned menu of a form opens through it.
#include "gui/Font.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/Timer.h"
#include "skin/core/SkinData.h"
#include "skin/menus/TrackMenu.h"

#include <memory>
#include <vector>

namespace skin {

class TbsSkinPopupWindow;
class TbsSkinMenuItem;

// Sent to the control that opened a skinned menu after the chosen command ran.
inline constexpr UINT WM_AFTERSKINMENUCOMMAND = 1229;

// The messages on which a skinned form closes its open menu.
bool IsMenuCloseMessage(UINT Msg);

class TbsSkinMenu : public gui::TComponent {
public:
    TbsSkinMenu(gui::TComponent* AOwner, gui::TCustomForm* AForm);
    ~TbsSkinMenu() override;
    std::string ClassName() const override { return "TbsSkinMenu"; }

    bool UseSkinFont = true;
    int DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
    void SetDefaultMenuItemHeight(int Value); // values of 0 or less are ignored
    gui::TFont* DefaultMenuItemFont() { return &FDefaultMenuItemFont; }
    void SetDefaultMenuItemFont(const gui::TFont* Value) { FDefaultMenuItemFont.Assign(Value); }
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    int MaxMenuItemsInWindow = 0; // 0: no limit

    bool First() const { return FFirst; }
    bool Visible() const { return FVisible; }
    gui::TCustomForm* Form() const { return FForm; }
    TbsSkinData* SkinData() const { return FSkinData; }
    const TRect& WorkArea() const { return FWorkArea; }
    gui::TNotifyEvent OnMenuClose; // called once when the menu closes, then cleared

    // Opens the children of AItem from StartIndex beside the screen rectangle R (a point is an
    // empty rectangle); APopupCtrl, when given, receives the close and command notices.  An
    // item without children, or a start past them, opens nothing.
    void Popup(gui::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
               gui::TMenuItem* AItem, bool PopupUp);
    // The same with the rows of AItem followed by those of AItem2.
    void Popup2(gui::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R,
                gui::TMenuItem* AItem, gui::TMenuItem* AItem2, bool PopupUp);
    // Closes the whole chain and tells the form.
    void Hide();
    void ItemAction(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool Click, bool Kb);
    // Closes the levels from Index on; from 0 the menu is closed and the opener told.
    void CloseFrom(int Index);

    int LevelCount() const { return static_cast<int>(FPopupList.size()); }
    TbsSkinPopupWindow* Level(int Index) const { return FPopupList[static_cast<size_t>(Index)].get(); }
    // Its position in the chain; a window not in it gives the level count.
    int IndexOf(const TbsSkinPopupWindow* Window) const;
    TbsSkinMenuItem* WItem() const { return FWItem; }
    void CancelWait(); // stops the submenu pause and forgets its row

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    void OpenLevel(const TRect& R, gui::TMenuItem* AItem, gui::TMenuItem* AItem2, int StartIndex,
                   bool PopupByItem, bool PopupUp);
    void WaitTimerTick();
    void SetPopupCtrl(gui::TControl* Value);
    void SetDCtrl(gui::TControl* Value);
    void Notify(gui::TControl* Ctrl, UINT Msg);
    void Bury(std::unique_ptr<TbsSkinPopupWindow> Window);

    bool FFirst = false, FVisible = false;
    int FDefaultMenuItemHeight = 20;
    gui::TFont FDefaultMenuItemFont;
    gui::TControl* PopupCtrl = nullptr;
    gui::TControl* DCtrl = nullptr;
    gui::TCustomForm* FForm;
    gui::TTimer WaitTimer;
    TbsSkinMenuItem* FWItem = nullptr;
    TRect FWorkArea;
    TbsSkinData* FSkinData = nullptr;
    std::vector<std::unique_ptr<TbsSkinPopupWindow>> FPopupList;
    // Closed levels live on until the call that closed them has returned: a row that runs its
    // command closes its own window on the way.
    std::shared_ptr<std::vector<std::unique_ptr<TbsSkinPopupWindow>>> closed_;
};

} // namespace skin

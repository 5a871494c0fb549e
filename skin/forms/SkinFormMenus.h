#pragma once
// The skinned form's menu state: its menu manager, the default system menu and the tray menu,
// and the menu mode in which the application's messages pass through the form.  The form
// owns one; it goes before the rest of the form and gives the application's hook back.
#include "gui/Application.h"
#include "gui/Menus.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinPopupMenu.h"

#include <memory>

namespace skin {

class TbsSkinForm;
class TbsSkinMainMenuBar;

struct TbsSkinFormMenus : public gui::TComponent {
    explicit TbsSkinFormMenus(TbsSkinForm* AForm);
    ~TbsSkinFormMenus() override;

    TbsSkinForm* Form;
    std::unique_ptr<TbsSkinMenu> SkinMenu;
    std::unique_ptr<gui::TPopupMenu> SysMenu;
    std::unique_ptr<TbsSkinPopupMenu> SysTrayMenu;
    gui::TPopupMenu* Watched = nullptr; // the application's system menu, not owned
    TbsSkinMainMenuBar* Bar = nullptr;  // not owned
    bool InMenu = false, InMainMenu = false, InAppHook = false;
    // Alt+Space or an Alt accelerator opened a menu: the Alt key's release still to come is no
    // Alt alone.
    bool AltChord = false;
    gui::TMessageEvent OldAppMessage;

    void Watch(gui::TPopupMenu* Value);
    void WatchBar(TbsSkinMainMenuBar* Value);
    void Unhook();

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
};

} // namespace skin

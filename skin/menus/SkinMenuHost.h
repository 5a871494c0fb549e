#pragma once
// What a skinned menu asks of the skinned form it opens through: the form's menu manager, its
// skin data for frames and for menus, and the menu mode that feeds keys to the open menu.
// The skinned form component answers it.
#include "gui/Forms.h"
#include "skin/core/SkinData.h"

namespace skin {

class TbsSkinMenu;

class TbsSkinMenuHost {
public:
    virtual ~TbsSkinMenuHost() = default;
    virtual TbsSkinMenu* HostSkinMenu() = 0;
    virtual TbsSkinData* HostSkinData() = 0;
    virtual TbsSkinData* HostMenusSkinData() = 0;
    // Menu mode: the application's messages go through the form while a menu is open.
    virtual void SkinMenuOpen() = 0;
    virtual void SkinMenuClose() = 0;
};

// The first component of the form that hosts skinned menus, or null.
TbsSkinMenuHost* FindSkinForm(gui::TComponent* AForm);

} // namespace skin

#pragma once
// What a multiple-document form's skinned form asks of its skinned menu bar: the child buttons
// shown while a child is maximised, and fresh items when the bar shows the active child's menu.
// The skinned main menu bar implements it; TbsSkinForm::MDIMenuBar puts another in its place.
namespace skin {

class TbsMDIMenuBarLink {
public:
    virtual ~TbsMDIMenuBarLink() = default;
    virtual void MDIChildMaximize() = 0;
    virtual void MDIChildRestore() = 0;
    // The bar shows a child's main menu (GetChildMainMenu, or ChildMenuIn).
    virtual bool ShowsChildMenu() = 0;
    virtual void UpDateItems() = 0;
};

} // namespace skin

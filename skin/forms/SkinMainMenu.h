#pragma once
// TbsSkinMainMenu: the main menu whose items a skinned main menu bar shows.  Its items are the
// menu; it only keeps the skin data and the skinned form it belongs to.
#include "gui/Menu.h"

namespace skin {

class TbsSkinData;
class TbsSkinForm;

class TbsSkinMainMenu : public gui::TMainMenu {
public:
    explicit TbsSkinMainMenu(gui::TComponent* AOwner) : gui::TMainMenu(AOwner) {}
    ~TbsSkinMainMenu() override;
    std::string ClassName() const override { return "TbsSkinMainMenu"; }

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinForm* BSF = nullptr;

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
};

} // namespace skin

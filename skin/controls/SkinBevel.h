#pragma once
// TbsSkinBevel: the class library's bevel whose two line colours come from the skin's bevel
// entry, with a two-line divider mode.
#include "gui/Bevel.h"
#include "skin/engine/SkinChangeWalk.h"

#include <string>

namespace skin {

class TbsSkinData;

class TbsSkinBevel : public gui::TBevel, public TbsSkinChangeable {
public:
    explicit TbsSkinBevel(gui::TComponent* AOwner);
    ~TbsSkinBevel() override;
    std::string ClassName() const override { return "TbsSkinBevel"; }

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value); // applies at once, also nil
    std::string SkinDataName = "bevel";
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool Value);
    gui::TColor LightColor = gui::clBtnHighlight, DarkColor = gui::clBtnShadow;
    int FIndex = -1;

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    bool FDividerMode = false;
};

} // namespace skin

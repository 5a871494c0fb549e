#pragma once
// TbsSkinStdLabel: the class library's windowless label whose font and text colour come from
// a skin entry ("stdlabel"), with an optional ellipsis; always transparent, engraved when
// disabled.
#include "gui/CustomLabel.h"
#include "skin/controls/LabelSkinFont.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;

enum class TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

class TbsSkinStdLabel : public gui::TCustomLabel, public TbsSkinChangeable {
public:
    explicit TbsSkinStdLabel(gui::TComponent* AOwner);
    ~TbsSkinStdLabel() override;
    std::string ClassName() const override { return "TbsSkinStdLabel"; }

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value); // applies at once
    std::string SkinDataName = "stdlabel";
    bool UseSkinFont = true;
    bool UseSkinColor = true;
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont->Assign(Value); }
    TbsEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TbsEllipsType Value);
    int FIndex = -1;

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

protected:
    void GetSkinData();
    void DoDrawText(gui::TRect& Rect, UINT Flags) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    std::unique_ptr<gui::TFont> FDefaultFont;
    TbsEllipsType FEllipsType = TbsEllipsType::bsetNone;
    TbsLabelSkinFont FSkinFont;
};

} // namespace skin

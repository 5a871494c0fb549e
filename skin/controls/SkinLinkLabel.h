#pragma once
// TbsSkinLinkLabel: a transparent label that acts as a web link: underlined, hot or glowing
// under the pointer, with the hand cursor, opening its URL with the desktop when clicked.
#include "gui/CustomLabel.h"
#include "skin/controls/LabelSkinFont.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;

class TbsSkinLinkLabel : public gui::TCustomLabel, public TbsSkinChangeable {
public:
    explicit TbsSkinLinkLabel(gui::TComponent* AOwner);
    ~TbsSkinLinkLabel() override;
    std::string ClassName() const override { return "TbsSkinLinkLabel"; }

    std::string URL;
    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool Value);
    bool GlowEffect = false;
    int GlowSize = 7;
    bool UseSkinFont = true;
    gui::TColor DefaultActiveFontColor = gui::clBlue;
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont->Assign(Value); }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    std::string SkinDataName = "stdlabel";
    int FIndex = -1;
    bool MouseIn() const { return FMouseIn; }

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

protected:
    void GetSkinData();
    void Click() override;
    void DoDrawText(gui::TRect& Rect, UINT Flags) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    std::unique_ptr<gui::TFont> FDefaultFont;
    bool FUseUnderLine = true, FMouseIn = false;
    TbsLabelSkinFont FSkinFont;
};

} // namespace skin

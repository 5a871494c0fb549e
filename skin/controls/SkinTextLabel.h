#pragma once
// TbsSkinTextLabel: a multi-line static text on its parent's surface, aligned, laid out,
// wrapped and sized to its text, in the font and colour of the skin's standard-label entry.
#include "gui/GraphicControl.h"
#include "gui/StringList.h"
#include "skin/controls/LabelSkinFont.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;

class TbsSkinTextLabel : public gui::TGraphicControl, public TbsSkinChangeable {
public:
    explicit TbsSkinTextLabel(gui::TComponent* AOwner);
    ~TbsSkinTextLabel() override;
    std::string ClassName() const override { return "TbsSkinTextLabel"; }

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    std::string SkinDataName = "stdlabel";
    bool UseSkinFont = true, UseSkinColor = true;
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont->Assign(Value); }
    gui::TStringList* Lines() const { return FLines.get(); }
    void SetLines(const gui::TStrings* Value) { FLines->Assign(Value); }
    gui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(gui::TAlignment Value);
    gui::TTextLayout Layout() const { return FLayout; }
    void SetLayout(gui::TTextLayout Value);
    bool LabelAutoSize() const { return FAutoSize; }
    void SetLabelAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    int FIndex = -1;

    // The lines joined, each followed by a line break.
    std::string LabelText() const;
    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

protected:
    void GetSkinData();
    void DrawLabelText(gui::TRect& R, UINT Flags);
    void AdjustBounds();
    void Paint() override;
    void Loaded() override;
    void CMFontChanged(gui::TMessage& Message) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    int LastLineHeight();
    TbsSkinData* FSD = nullptr;
    std::unique_ptr<gui::TFont> FDefaultFont;
    std::unique_ptr<gui::TStringList> FLines;
    gui::TAlignment FAlignment = gui::taLeftJustify;
    gui::TTextLayout FLayout = gui::tlTop;
    bool FAutoSize = true, FWordWrap = false;
    TbsLabelSkinFont FSkinFont;
};

} // namespace skin

#pragma once
// TbsSkinCustomEdit: the skinned edit.  The editor's client area holds the text; the frame
// (from the skin's "edit" entry, or a default look) and the optional edit button at the right
// are painted in the window's non-client area, so the native editor never covers them.  The
// text area's ground comes from the skin picture too, with two optional image buttons at its
// ends; the editor paints its text over that ground.
#include "gui/ImgList.h"
#include "skin/controls/CBButtonX.h"
#include "skin/controls/CustomEdit.h"
#include "skin/core/SkinTypes.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;

class TbsSkinCustomEdit : public TbsCustomEdit, public TbsSkinChangeable {
public:
    explicit TbsSkinCustomEdit(gui::TComponent* AOwner);
    ~TbsSkinCustomEdit() override;
    std::string ClassName() const override { return "TbsSkinCustomEdit"; }

    TbsSkinData* SkinData() const { return FSD; }
    virtual void SetSkinData(TbsSkinData* Value);
    // Takes effect at the next ChangeSkinData.
    std::string SkinDataName = "edit";

    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool Value);
    gui::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gui::TColor Value);
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont->Assign(Value); }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool UseSkinFont = true;
    gui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(gui::TAlignment Value);

    // Image buttons at the left and right ends of the text area (an index below 0: none).
    gui::TCustomImageList* Images() const { return FImages; }
    void SetImages(gui::TCustomImageList* Value);
    int LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(int Value);
    int RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(int Value);
    int LeftImageHotIndex = -1, LeftImageDownIndex = -1, RightImageHotIndex = -1, RightImageDownIndex = -1;
    // In client coordinates.
    TbsCBButtonX LeftButton, RightButton;

    gui::TNotifyEvent OnButtonClick, OnMouseEnter, OnMouseLeave, OnLeftButtonClick, OnRightButtonClick;

    // The whole edit, idle, with AText as its text, onto C at X, Y.
    void PaintSkinTo(gui::TCanvas* C, int X, int Y, const std::string& AText);

    // In window coordinates: the text area and the edit button.
    gui::TRect EditRect() const { return FEditRect; }
    gui::TRect ButtonRect() const { return FButtonRect; }
    int Index() const { return FIndex; }

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void GetSkinData();
    void CalcRects();
    // Lays the image buttons out over the client area; with Apply the editor's text keeps
    // out of them.
    void CalcImageButtons(bool Apply);
    // The frame (without the text area's own ground) into B at the control's size.
    void DrawFrame(gui::TBitmap* B, bool Hover);
    // The skin's "editbutton" (or "resizebutton") entry at the edit button's size.
    void DrawSkinEditButton(gui::TCanvas* C);
    // The text area's ground, then the image buttons, into B at the client's size.
    void DrawClientGround(gui::TBitmap* B, bool Hover);
    void PaintDisabled();
    void InvalidateClient();
    void CreateParams(gui::TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintFrame(HDC DC);
    void RedrawFrame();
    void ApplyFontColor();
    int FontHeightFor() const;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void CMEnabledChanged(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

    bool Active() const;
    bool FButtonMode = false, FButtonDown = false, FButtonActive = false, FMouseIn = false;
    gui::TRect FButtonRect{}, FEditRect{};
    gui::TAlignment FAlignment = gui::taLeftJustify;
    gui::TCustomImageList* FImages = nullptr;
    int FLeftImageIndex = -1, FRightImageIndex = -1;
    HBRUSH FGroundBrush = nullptr; // the text area's ground of the last paint
    gui::TColor FDefaultColor;
    std::unique_ptr<gui::TFont> FDefaultFont;
    int FDefaultWidth = 0, FDefaultHeight = 0;

    int FIndex = -1;
    TbsSkinData* FSD = nullptr;
    gui::TBitmap* Picture = nullptr;
    // From the skin entry.
    int LOffset = 0, ROffset = 0;
    TRect ClRect, SkinRect, ActiveSkinRect, SkinButtonRect, ActiveButtonRect, DownButtonRect,
        UnEnabledButtonRect;
    std::string FontName;
    int FontHeight = 0;
    uint8_t FontStyle = 0;
    gui::TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    bool StretchEffect = false;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
public:
    using TbsSkinCustomEdit::TbsSkinCustomEdit;
    std::string ClassName() const override { return "TbsSkinEdit"; }
};

} // namespace skin

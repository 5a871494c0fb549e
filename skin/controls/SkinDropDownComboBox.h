#pragma once
// TbsSkinDropDownComboBox: what the skinned combo boxes share — a box of the combo box skin
// entry with an item area and a drop-down button, the tool-button look, and a pop-up list that
// holds the mouse while open.  TbsDropDownList turns a list control into that pop-up: a
// top-level tool window that never takes the focus and fades in after the combo box's
// translucency.  The descendants own the list and say what a choice is.
#include "skin/controls/CBButtonX.h"
#include "skin/controls/ComboToolButton.h"
#include "skin/controls/PopupFade.h"
#include "skin/controls/SkinControl.h"

#include <cstdint>
#include <string>

namespace skin {

class TbsSkinScrollBar;
class TbsSkinDropDownComboBox;

template <class TList> class TbsDropDownList : public TList {
public:
    explicit TbsDropDownList(TbsSkinDropDownComboBox* AComboBox);
    // Shows the list with its top-left corner at a screen point, without activating it.
    void Show(gui::TPoint Origin);
    void Hide();
    bool Shown() const { return FShown; }
    const TbsPopupFade& Fade() const { return FFade; }

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Dispatch(gui::TMessage& Message) override;
    // Shown, before the fade starts.
    virtual void Showing() {}

    TbsSkinDropDownComboBox* FComboBox;

private:
    TbsPopupFade FFade;
    bool FShown = false;
};

class TbsSkinDropDownComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinDropDownComboBox(gui::TComponent* AOwner);
    ~TbsSkinDropDownComboBox() override;

    int ListBoxWidth = 0;
    // Translucency of the open list, and its fade-in from transparent.
    bool AlphaBlend = false;
    int AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;
    bool HideSelection = true;

    bool ToolButtonStyle() const { return FToolButtonStyle; }
    // On: any size and no mask.
    void SetToolButtonStyle(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);

    virtual void DropDown() = 0;
    virtual void CloseUp(bool Accept) = 0;
    virtual bool IsPopupVisible() const = 0;
    bool CanCancelDropDown() const { return IsPopupVisible() && !FMouseIn; }
    // The current look with Text in place of the shown item, drawn at X, Y.
    void PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, const std::string& Text);
    gui::TRect ButtonRect() const { return Button.R; }
    gui::TRect ItemRect() const { return CBItem; }

    gui::TNotifyEvent OnChange, OnDropDown, OnCloseUp;

    // A left press in the open list.
    void ListPress();

protected:
    // A choice made: OnClick, then the change.
    void Chosen();
    virtual void Change() {}
    // The list has closed: the box repaints and, accepted, says so.
    void ClosedUp(bool Accept);

protected:
    static constexpr uintptr_t kScrollTimer = 1;
    static constexpr UINT kScrollInterval = 25;

    static bool Inside(const gui::TRect& r, int x, int y) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    }

    void WMEraseBkgnd(gui::TMessage& Message) override { PaintIntoEraseDC(Message); }
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void UpdateMaskRegion() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void Dispatch(gui::TMessage& Message) override;

    // The list's bar.
    virtual TbsSkinScrollBar* PopupScrollBar() const = 0;
    // A point of the screen over the part of the list whose rows take presses.
    virtual bool OverList(gui::TPoint Screen) const = 0;
    // An inner edit shows the text and takes the focus and the presses on the item area.
    virtual bool HasInnerEdit() const { return false; }
    virtual bool Hot() const { return FMouseIn || Focused(); }
    virtual gui::TColor BoxColor() const = 0;
    // The shown item in R of the item area's bitmap; WithTitle false where a title has no room.
    virtual void DrawItemText(gui::TCanvas* C, gui::TRect R, bool WithTitle) = 0;
    virtual void CalcRects();
    TbsComboToolButtonState ToolButtonState() const;
    void StopTimer();
    bool PressOnListBar(gui::TPoint Screen);

    std::string FPaintText;
    bool FPaintingTo = false;
    int FOldItemIndex = -1;
    bool FToolButtonStyle = false, FUseSkinSize = false;
    bool FDropDown = false, FLBDown = false, WasInLB = false, FMouseIn = false;
    int TimerMode = 0;
    gui::TRect CBItem{};
    TbsCBButtonX Button;
    // The text of the item area one pixel further in without the skin's size, and grey when
    // disabled with it.
    int FItemTextInset = 0;
    bool FGrayDisabledItem = false;

    // From the skin entry.
    TRect ActiveSkinRect, SItemRect, ActiveItemRect, FocusItemRect, ItemTextRect, SkinButtonRect,
        ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    std::string FontName;
    int FontHeight = 0;
    uint8_t FontStyle = 0;
    gui::TColor FontColor = 0, FocusFontColor = 0, ActiveFontColor = 0;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

private:
    void DrawItemArea(gui::TCanvas* C, bool Skinned);

    gui::TControl* FHookedBar = nullptr; // the list bar whose release gives the mouse back
};

} // namespace skin

#pragma once
// TbsSkinCustomOfficeComboBox: a combo box of office items (bold title, caption, image,
// header rows) whose drop-down office list opens right-aligned under it.  Setting ItemIndex
// fires OnClick and then OnChange every time, also for the index already selected, unless
// the form is loading.  While the list is open the combo box holds the mouse, so a press
// anywhere else closes it cancelling.
#include "skin/controls/ComboToolButton.h"
#include "skin/controls/PopupFade.h"
#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinOfficeListBox.h"

#include <cstdint>
#include <memory>

namespace skin {

class TbsSkinCustomOfficeComboBox;

class TbsPopupOfficeListBox : public TbsSkinOfficeListBox {
public:
    explicit TbsPopupOfficeListBox(TbsSkinCustomOfficeComboBox* AComboBox);
    std::string ClassName() const override { return "TbsPopupOfficeListBox"; }
    // Shows the list with its top-left corner at a screen point, without activating it.
    void Show(gui::TPoint Origin);
    void Hide();
    bool Shown() const { return FShown; }
    // Hot tracking at a point of the list's client area: the item there is highlighted quietly.
    void TrackAt(int X, int Y);
    const TbsPopupFade& Fade() const { return FFade; }

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    TbsSkinCustomOfficeComboBox* FComboBox;
    TbsPopupFade FFade;
    bool FShown = false;
};

class TbsSkinCustomOfficeComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomOfficeComboBox(gui::TComponent* AOwner);
    ~TbsSkinCustomOfficeComboBox() override;
    std::string ClassName() const override { return "TbsSkinCustomOfficeComboBox"; }

    TbsSkinOfficeItems* Items() const { return FListBox->Items(); }
    void SetItems(const TbsSkinOfficeItems& Value) { FListBox->Items()->Assign(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    // OnClick then OnChange, every time, unless the form is loading.
    void SetItemIndex(int Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) {
        if (Value >= 0) FDropDownCount = Value;
    }
    int ListBoxWidth = 0;
    int ListBoxHeight = 0;
    // Kept here, not only in the list: a skin without a combo box entry clears the list's name.
    const std::string& ListBoxSkinDataName() const { return FListBoxSkinDataName; }
    void SetListBoxSkinDataName(const std::string& Value);
    bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
    void SetListBoxShowItemTitles(bool Value) { FListBox->SetShowItemTitles(Value); }
    bool ListBoxShowLines() const { return FListBox->ShowLines(); }
    void SetListBoxShowLines(bool Value) { FListBox->SetShowLines(Value); }
    int ListBoxItemHeight() const { return FListBox->ItemHeight(); }
    void SetListBoxItemHeight(int Value) { FListBox->SetItemHeight(Value); }
    int ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
    void SetListBoxHeaderHeight(int Value) { FListBox->SetHeaderHeight(Value); }
    void SetListBoxDefaultFont(const gui::TFont* Value) { FListBox->SetDefaultFont(Value); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->UseSkinFont = Value; }
    gui::TCustomImageList* Images() const { return FImages; }
    void SetImages(gui::TCustomImageList* Value);
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool Value);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool Value);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    gui::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gui::TColor Value);
    bool AlphaBlend = false;
    int AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;
    bool HideSelection = true; // stored with the form

    void DropDown();
    void CloseUp(bool Accept);
    bool IsPopupVisible() const { return FListBox->Shown(); }
    bool CanCancelDropDown() const { return IsPopupVisible() && !FMouseIn; }
    // The current look with Text as the caption, drawn at X, Y.
    void PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, const std::string& Text);
    TbsPopupOfficeListBox* ListBox() const { return FListBox.get(); }
    gui::TRect ButtonRect() const { return Button.R; }
    gui::TRect ItemRect() const { return CBItem; }

    gui::TNotifyEvent OnChange, OnDropDown, OnCloseUp;
    TbsDrawSkinOfficeItemEvent OnDrawItem;

    void ChangeSkinData() override;
    // A left press in the open list.
    void ListPress();

protected:
    void WMEraseBkgnd(gui::TMessage& Message) override { PaintIntoEraseDC(Message); }
    virtual void Change();
    void GetSkinData() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void UpdateMaskRegion() override;
    void DefaultFontChanged() override { Font()->Assign(DefaultFont()); }
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    void CalcRects();
    bool Hot() const { return FMouseIn || Focused(); }
    void DrawItemContent(gui::TCanvas* C, gui::TRect R, bool WithTitle);
    void DrawItemArea(gui::TCanvas* C);
    TbsComboToolButtonState ToolButtonState() const;
    bool OverList(gui::TPoint Screen) const;
    void StopTimer();
    bool PressOnListBar(gui::TPoint Screen);

    std::unique_ptr<TbsPopupOfficeListBox> FListBox;
    gui::TCustomImageList* FImages = nullptr;
    std::string FListBoxSkinDataName = "listbox";
    std::string FPaintText;
    bool FPaintingTo = false;
    int FOldItemIndex = -1;
    int FDropDownCount = 7;
    bool FShowItemTitle = true, FShowItemImage = true, FShowItemText = true;
    bool FToolButtonStyle = false, FUseSkinSize = false;
    gui::TColor FDefaultColor = gui::clWindow;
    bool FDropDown = false, FLBDown = false, WasInLB = false, FMouseIn = false;
    int TimerMode = 0;
    gui::TControl* FHookedBar = nullptr; // the list bar whose release gives the mouse back
    gui::TRect CBItem{};
    TbsCBButtonX Button;

    // From the skin entry.
    TRect ActiveSkinRect, SItemRect, ActiveItemRect, FocusItemRect, ItemTextRect, SkinButtonRect,
        ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    std::string FontName;
    int FontHeight = 0;
    uint8_t FontStyle = 0;
    gui::TColor FontColor = 0, FocusFontColor = 0, ActiveFontColor = 0;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
public:
    using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
    std::string ClassName() const override { return "TbsSkinOfficeComboBox"; }
};

} // namespace skin

#pragma once
// TbsSkinCustomComboBox: the skinned combo box, list-only style.  Its items and selection are
// those of its drop-down list, a top-level pop-up tool window that never takes the focus.
// Setting ItemIndex acts as a user's choice: the text follows (OnChange when it differs), then
// OnClick unless the form is loading.  While the list is open the combo box holds the mouse,
// so a press anywhere else closes it cancelling.
#include "skin/controls/ComboToolButton.h"
#include "skin/controls/CustomEdit.h"
#include "skin/controls/PopupFade.h"
#include "skin/controls/SkinListBox.h"

#include <cstdint>
#include <memory>

namespace skin {

class TbsSkinCustomComboBox;

enum class TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsPopupListBox : public TbsSkinListBox {
public:
    explicit TbsPopupListBox(TbsSkinCustomComboBox* AComboBox);
    std::string ClassName() const override { return "TbsPopupListBox"; }
    // Shows the list with its top-left corner at a screen point, without activating it.
    void Show(gui::TPoint Origin);
    void Hide();
    bool Shown() const { return FShown; }
    const TbsPopupFade& Fade() const { return FFade; }
    void ListBoxWndProc(gui::TMessage& Message, bool& Continue) override;

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    TbsSkinCustomComboBox* FComboBox;
    TbsPopupFade FFade;
    bool FShown = false;
};

class TbsSkinCustomComboBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomComboBox(gui::TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;
    std::string ClassName() const override { return "TbsSkinCustomComboBox"; }

    gui::TStrings* Items() const { return FListBox->Items(); }
    void SetItems(const gui::TStrings* Value) { FListBox->SetItems(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    // As a user's choice: Text follows (OnChange when it differs), OnClick unless loading.
    void SetItemIndex(int Value);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) {
        if (Value > 0) FDropDownCount = Value;
    }
    int ListBoxWidth = 0;
    bool AutoComplete = true;
    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    // The edit style types into an inner edit; the fixed style is list only.
    void SetStyle(TbsSkinCustomComboBoxStyle Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    // On: the fixed style and any size.
    void SetToolButtonStyle(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    // The inner edit, present in the edit style only.
    TbsCustomEdit* Edit() const { return FEdit.get(); }
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    bool HideSelection = true;
    gui::TEditCharCase CharCase = gui::ecNormal;
    // Shared with the list: drawn before the text in the item area and in the rows.
    gui::TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(gui::TCustomImageList* Value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int Value);
    gui::TStrings* TabWidths() const { return FListBox->TabWidths(); }
    void SetTabWidths(const gui::TStrings* Value);
    gui::TColor DefaultColor = gui::clWindow;
    // Translucency of the open list, and its fade-in from transparent.
    bool AlphaBlend = false;
    int AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;

    void DropDown();
    void CloseUp(bool Accept);
    bool IsPopupVisible() const { return FListBox->Shown(); }
    bool CanCancelDropDown() const { return IsPopupVisible() && !FMouseIn; }
    // The current look with Text in place of the shown text, drawn at X, Y.
    void PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, const std::string& Text);
    TbsPopupListBox* ListBox() const { return FListBox.get(); }
    gui::TRect ButtonRect() const { return Button.R; }
    gui::TRect ItemRect() const { return CBItem; }

    gui::TNotifyEvent OnChange, OnDropDown, OnCloseUp;

    void ChangeSkinData() override;
    // What the list's inner box reports.
    void ListPress();

protected:
    void WMEraseBkgnd(gui::TMessage& Message) override { PaintIntoEraseDC(Message); }
    virtual void Change() {}
    virtual void CreateEditCtrl();
    virtual void EditWindowProcHook(gui::TMessage& Message);
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void UpdateMaskRegion() override;
    // Fixed by descendants before the edit is made: the inner edit takes numbers only.
    bool FNumEdit = false;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    void CalcRects();
    void DrawItemArea(gui::TCanvas* C, bool Skinned);
    void DrawItemText(gui::TCanvas* C, gui::TRect R);
    void SelectStep(int Index);
    void EditChange();
    void EditStep(int Delta, bool Select);
    void TextCompletion();
    void EditCancelMode(gui::TControl* C);
    void ApplyEditFont();
    TbsComboToolButtonState ToolButtonState() const;
    bool OverInnerList(gui::TPoint Screen) const;
    void StopTimer();
    bool PressOnListBar(gui::TPoint Screen);

    std::unique_ptr<TbsPopupListBox> FListBox;
    std::unique_ptr<TbsCustomEdit> FEdit;
    gui::TWndMethod FEditWindowProc;
    TbsSkinCustomComboBoxStyle FStyle = TbsSkinCustomComboBoxStyle::bscbFixedStyle;
    bool FToolButtonStyle = false, FUseSkinSize = true, FromEdit = false, FToEdit = false;
    std::string FText, FPaintText;
    bool FPaintingTo = false;
    int FOldItemIndex = -1;
    int FDropDownCount = 8;
    bool FDropDown = false, FLBDown = false, WasInLB = false, FMouseIn = false;
    int TimerMode = 0;
    gui::TControl* FHookedBar = nullptr; // the list bar whose release gives the mouse back
    uint32_t FLastTime = 0;
    std::string FFilter;
    gui::TRect CBItem{};
    TbsCBButtonX Button;

    // From the skin entry.
    TRect ActiveSkinRect, SItemRect, ActiveItemRect, FocusItemRect, ItemTextRect, SkinButtonRect,
        ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    std::string FontName, ListBoxName;
    int FontHeight = 0;
    uint8_t FontStyle = 0;
    gui::TColor FontColor = 0, FocusFontColor = 0, ActiveFontColor = 0;
    bool ShowFocus = false;
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    using TbsSkinCustomComboBox::TbsSkinCustomComboBox;
    std::string ClassName() const override { return "TbsSkinComboBox"; }
};

} // namespace skin

#pragma once
// TbsSkinCustomComboBox: the skinned combo box, list-only style.  Its items and selection are
// those of its drop-down list, a top-level pop-up tool window that never takes the focus.
// Setting ItemIndex acts as a user's choice: the text follows (OnChange when it differs), then
// OnClick unless the form is loading.  While the list is open the combo box holds the mouse,
// so a press anywhere else closes it cancelling.
#include "skin/controls/CustomEdit.h"
#include "skin/controls/SkinDropDownComboBox.h"
#include "skin/controls/SkinListBox.h"

#include <cstdint>
#include <memory>

namespace skin {

class TbsSkinCustomComboBox;

enum class TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsPopupListBox : public TbsDropDownList<TbsSkinListBox> {
public:
    explicit TbsPopupListBox(TbsSkinCustomComboBox* AComboBox);
    std::string ClassName() const override { return "TbsPopupListBox"; }
    void ListBoxWndProc(gui::TMessage& Message, bool& Continue) override;

protected:
    void Showing() override { UpDateScrollBar(); }

private:
    TbsSkinCustomComboBox* FCombo;
};

class TbsSkinCustomComboBox : public TbsSkinDropDownComboBox {
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
    bool AutoComplete = true;
    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    // The edit style types into an inner edit; the fixed style is list only.
    void SetStyle(TbsSkinCustomComboBoxStyle Value);
    // On: the fixed style and any size.
    void SetToolButtonStyle(bool Value);
    // The inner edit, present in the edit style only.
    TbsCustomEdit* Edit() const { return FEdit.get(); }
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    gui::TEditCharCase CharCase = gui::ecNormal;
    // Shared with the list: drawn before the text in the item area and in the rows.
    gui::TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(gui::TCustomImageList* Value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int Value);
    gui::TStrings* TabWidths() const { return FListBox->TabWidths(); }
    void SetTabWidths(const gui::TStrings* Value);
    gui::TColor DefaultColor = gui::clWindow;

    void DropDown() override;
    void CloseUp(bool Accept) override;
    bool IsPopupVisible() const override { return FListBox->Shown(); }
    TbsPopupListBox* ListBox() const { return FListBox.get(); }

    void ChangeSkinData() override;

protected:
    virtual void CreateEditCtrl();
    virtual void EditWindowProcHook(gui::TMessage& Message);
    void GetSkinData() override;
    // Fixed by descendants before the edit is made: the inner edit takes numbers only.
    bool FNumEdit = false;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    TbsSkinScrollBar* PopupScrollBar() const override { return FListBox->ScrollBar(); }
    // Over the list's inner box.
    bool OverList(gui::TPoint Screen) const override;
    bool HasInnerEdit() const override { return FEdit != nullptr; }
    bool Hot() const override { return FMouseIn || Focused() || (FEdit && FEdit->Focused()); }
    gui::TColor BoxColor() const override { return DefaultColor; }
    void DrawItemText(gui::TCanvas* C, gui::TRect R, bool WithTitle) override;
    void CalcRects() override;

private:
    void SelectStep(int Index);
    void EditChange();
    void EditStep(int Delta, bool Select);
    void TextCompletion();
    void EditCancelMode(gui::TControl* C);
    void ApplyEditFont();

    std::unique_ptr<TbsPopupListBox> FListBox;
    std::unique_ptr<TbsCustomEdit> FEdit;
    gui::TWndMethod FEditWindowProc;
    TbsSkinCustomComboBoxStyle FStyle = TbsSkinCustomComboBoxStyle::bscbFixedStyle;
    bool FromEdit = false, FToEdit = false;
    std::string FText;
    int FDropDownCount = 8;
    uint32_t FLastTime = 0;
    std::string FFilter;
    std::string ListBoxName; // from the skin entry
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    using TbsSkinCustomComboBox::TbsSkinCustomComboBox;
    std::string ClassName() const override { return "TbsSkinComboBox"; }
};

} // namespace skin

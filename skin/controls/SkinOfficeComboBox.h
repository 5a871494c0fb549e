#pragma once
// TbsSkinCustomOfficeComboBox: a combo box of office items (bold title, caption, image,
// header rows) whose drop-down office list opens right-aligned under it.  Setting ItemIndex
// fires OnClick and then OnChange every time, also for the index already selected, unless
// the form is loading.  While the list is open the combo box holds the mouse, so a press
// anywhere else closes it cancelling.
#include "skin/controls/SkinDropDownComboBox.h"
#include "skin/controls/SkinOfficeListBox.h"

#include <cstdint>
#include <memory>

namespace skin {

class TbsSkinCustomOfficeComboBox;

class TbsPopupOfficeListBox : public TbsDropDownList<TbsSkinOfficeListBox> {
public:
    explicit TbsPopupOfficeListBox(TbsSkinCustomOfficeComboBox* AComboBox);
    std::string ClassName() const override { return "TbsPopupOfficeListBox"; }
    // Hot tracking at a point of the list's client area: the item there is highlighted quietly.
    void TrackAt(int X, int Y);

protected:
    void Dispatch(gui::TMessage& Message) override;

private:
    TbsSkinCustomOfficeComboBox* FCombo;
};

class TbsSkinCustomOfficeComboBox : public TbsSkinDropDownComboBox {
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
    gui::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gui::TColor Value);

    void DropDown() override;
    void CloseUp(bool Accept) override;
    bool IsPopupVisible() const override { return FListBox->Shown(); }
    TbsPopupOfficeListBox* ListBox() const { return FListBox.get(); }

    TbsDrawSkinOfficeItemEvent OnDrawItem;

    void ChangeSkinData() override;

protected:
    void Change() override;
    void GetSkinData() override;
    void DefaultFontChanged() override { Font()->Assign(DefaultFont()); }
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;
    TbsSkinScrollBar* PopupScrollBar() const override { return FListBox->ScrollBar(); }
    bool OverList(gui::TPoint Screen) const override;
    gui::TColor BoxColor() const override { return FDefaultColor; }
    // The item's bold title over its image and caption, or what OnDrawItem draws.
    void DrawItemText(gui::TCanvas* C, gui::TRect R, bool WithTitle) override;

private:
    std::unique_ptr<TbsPopupOfficeListBox> FListBox;
    gui::TCustomImageList* FImages = nullptr;
    std::string FListBoxSkinDataName = "listbox";
    int FDropDownCount = 7;
    bool FShowItemTitle = true, FShowItemImage = true, FShowItemText = true;
    gui::TColor FDefaultColor = gui::clWindow;
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
public:
    using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
    std::string ClassName() const override { return "TbsSkinOfficeComboBox"; }
};

} // namespace skin

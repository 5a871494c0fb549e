#pragma once
// The plain combo box: an edit (csDropDown) or a painted line (csDropDownList) beside a button
// that drops a list down in a popup window.  The list is chosen from by a click, or by the keys
// (Up/Down move, Enter takes, Escape leaves); closed, Up/Down step through the items at once.
// OnChange follows every change the user makes (a choice, typing), never one from code.
#include "gui/CustomControl.h"
#include "gui/CustomEdit.h"
#include "gui/CustomListBox.h"

#include <memory>
#include <string>

namespace gui {

enum TComboBoxStyle : uint8_t { csDropDown, csDropDownList };

class TComboBox : public TCustomControl {
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;
    std::string ClassName() const override { return "TComboBox"; }

    TStrings* Items() const;
    void SetItems(const TStrings* items);
    // -1 for none; setting it shows the item's text.
    int ItemIndex() const;
    void SetItemIndex(int value);
    // The edit's text, or the chosen item's.
    std::string Text() const;
    // With csDropDownList only an item's text can be shown: other text chooses none.
    void SetText(const std::string& value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount = 8;
    bool DroppedDown() const { return dropped_; }
    void SetDroppedDown(bool value);
    void Clear();

    TNotifyEvent OnChange, OnDropDown, OnCloseUp;

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;
    void CMCancelMode(TMessage& message) override;
    virtual void Change();

private:
    class TDropList;
    friend class TDropList;
    TRect ButtonRect();
    void PlaceEdit();
    void CloseUp(bool accept);
    // A user's choice: shows it and tells OnChange when it differs.
    void Choose(int index);
    void ShowItem(int index);
    bool OwnsFocus(HWND window);
    std::unique_ptr<TDropList> list_;
    TEdit* edit_ = nullptr;
    TComboBoxStyle style_ = csDropDown;
    bool dropped_ = false;
    int droppedIndex_ = -1;
    bool showing_ = false; // an item's text going into the edit is no typing
};

} // namespace gui

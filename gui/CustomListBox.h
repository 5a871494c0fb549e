#pragma once
// List boxes over the native "ListBox" window: strings with objects, single or multiple
// selection, sorted or not, and owner-drawn rows of a fixed height painted through OnDrawItem.
// Items, the selection and the top row set before the window exists, or kept across
// RecreateWnd, reach the window when it is made.
#include "gui/Canvas.h"
#include "gui/CustomEdit.h"
#include "gui/Strings.h"
#include "gui/WinControl.h"

#include <memory>
#include <string>
#include <vector>

namespace gui {

enum TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed };
enum TOwnerDrawStateFlag : uint8_t { odSelected = 1, odDisabled = 2, odFocused = 4 };
using TOwnerDrawState = uint8_t;
class TCustomListBox;
using TDrawItemEvent =
    std::function<void(TWinControl* control, int index, const TRect& rect, TOwnerDrawState state)>;

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;
    std::string ClassName() const override { return "TCustomListBox"; }
    void WndProc(TMessage& message) override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(const TStrings* items);
    int Count() const;
    void Clear();
    // -1 for none; with MultiSelect the focused row.  Setting it from code fires no OnClick.
    int ItemIndex() const;
    void SetItemIndex(int value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    int TopIndex() const;
    void SetTopIndex(int value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    // Row height of an owner-drawn list; a standard list takes its font's.
    int ItemHeight() const;
    void SetItemHeight(int value);
    int Columns() const { return columns_; }
    void SetColumns(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // The row at a client point, -1 for none (outside every row when existsOnly).
    int ItemAtPos(TPoint pos, bool existsOnly);
    TRect ItemRect(int index);
    // The canvas OnDrawItem paints on.
    TCanvas* Canvas() const { return canvas_.get(); }
    TDrawItemEvent OnDrawItem;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);

private:
    friend class TListBoxStrings;
    std::unique_ptr<TStrings> items_;
    std::unique_ptr<TStringList> saved_; // the items while there is no window
    std::unique_ptr<TCanvas> canvas_;
    std::vector<bool> savedSelection_;
    int savedIndex_ = -1, savedTop_ = 0;
    bool multiSelect_ = false, sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
    int columns_ = 0;
    TBorderStyle borderStyle_ = bsSingleBorder;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
    std::string ClassName() const override { return "TListBox"; }
};

} // namespace gui

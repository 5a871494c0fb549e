#pragma once
// List views over the native "SysListView32" window: items with sub-items, images and data in
// report, list and icon views; columns with caption, width (0 hides one), maximum width and
// alignment; single or multiple selection told through OnSelectItem whoever makes it; in-place
// editing of captions; and owner data, where only a count is kept and OnData fills in the rows
// the window needs.  Items, columns and the selection set before the window exists, or kept
// across RecreateWnd, reach the window when it is made.
#include "gui/StringList.h"
#include "gui/WinControl.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gui {

class TCustomListView;
class TListItems;

class TListItem {
public:
    explicit TListItem(TListItems* owner);
    ~TListItem();
    TListItems* Owner() const { return owner_; }
    TCustomListView* ListView() const;
    int Index() const;
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // The texts of the columns after the first.
    TStrings* SubItems() const { return subItems_.get(); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    void* Data = nullptr;
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);
    void Delete();
    void MakeVisible();
    void EditCaption();
    TRect DisplayRect();

private:
    friend class TListItems;
    friend class TCustomListView;
    class TSubItems;
    void PushSubItems();
    TListItems* owner_;
    std::string caption_;
    std::unique_ptr<TStringList> subItems_;
    int imageIndex_ = -1;
    UINT state_ = 0; // kept while there is no window
};

class TListItems {
public:
    explicit TListItems(TCustomListView* owner) : owner_(owner) {}
    ~TListItems();
    TCustomListView* Owner() const { return owner_; }
    // With owner data the count is all there is; Item gives a row filled by OnData.
    int Count() const;
    void SetCount(int value);
    TListItem* Item(int index);
    TListItem* operator[](int index) { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TListItem;
    friend class TCustomListView;
    void PushItem(int index);
    TCustomListView* owner_;
    std::vector<std::unique_ptr<TListItem>> items_;
    std::unique_ptr<TListItem> temp_; // the owner-data row handed out last
    int count_ = 0;                   // owner data
    int updateCount_ = 0;
};

enum TListViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };

class TListColumn {
public:
    TListColumn(TCustomListView* owner, int index) : owner_(owner), index_(index) {}
    int Index() const { return index_; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    int Width();
    void SetWidth(int value);
    // The user cannot drag the column wider; 0 for no limit.
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);

private:
    friend class TCustomListView;
    friend class TListColumns;
    void Push();
    TCustomListView* owner_;
    int index_;
    std::string caption_;
    int width_ = 50, maxWidth_ = 0;
    TAlignment alignment_ = taLeftJustify;
    int imageIndex_ = -1;
};

class TListColumns {
public:
    explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
    int Count() const { return static_cast<int>(columns_.size()); }
    TListColumn* Items(int index) const { return columns_.at(static_cast<size_t>(index)).get(); }
    TListColumn* operator[](int index) const { return Items(index); }
    TListColumn* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TCustomListView;
    TCustomListView* owner_;
    std::vector<std::unique_ptr<TListColumn>> columns_;
};

using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVOwnerDataEvent = std::function<void(TObject* sender, TListItem* item)>;
// A search of a virtual list by caption, from start (wrapping to 0 when asked); index -1: none.
using TLVOwnerDataFindEvent = std::function<void(TObject* sender, const std::string& text, int start,
                                                 bool partial, bool wrap, int& index)>;
using TLVEditingEvent = std::function<void(TObject* sender, TListItem* item, bool& allowEdit)>;
using TLVEditedEvent = std::function<void(TObject* sender, TListItem* item, std::string& s)>;
using TLVColumnClickEvent = std::function<void(TObject* sender, TListColumn* column)>;

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;
    std::string ClassName() const override { return "TCustomListView"; }
    void WndProc(TMessage& message) override;

    TListItems* Items() const { return items_.get(); }
    TListColumns* Columns() const { return columns_.get(); }
    TListViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TListViewStyle value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value);
    bool OwnerData() const { return ownerData_; }
    void SetOwnerData(bool value);
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* value);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* value);

    // The first selected item; null for none.  Setting selects only that one.
    TListItem* Selected();
    void SetSelected(TListItem* item);
    int ItemIndex();
    void SetItemIndex(int value);
    int SelCount();
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* item);
    TListItem* TopItem();
    int VisibleRowCount();
    TListItem* GetItemAt(int x, int y);
    void Scroll(int dx, int dy);
    void ClearSelection();
    bool IsEditing();

    TLVSelectItemEvent OnSelectItem;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVColumnClickEvent OnColumnClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    HWND Window() { return HandleAllocated() ? Handle() : nullptr; }
    void PushColumns();
    void PushImages();
    void CNNotify(TMessage& message);
    std::unique_ptr<TListItems> items_;
    std::unique_ptr<TListColumns> columns_;
    TListViewStyle viewStyle_ = vsIcon;
    bool rowSelect_ = false, gridLines_ = false, readOnly_ = false, multiSelect_ = false,
         hideSelection_ = true, showColumnHeaders_ = true, ownerData_ = false;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    bool creating_ = false;
};

class TListView : public TCustomListView {
public:
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
    std::string ClassName() const override { return "TListView"; }
};

} // namespace gui

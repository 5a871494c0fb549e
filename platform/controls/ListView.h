#pragma once
// The "SysListView32" class.  Report, list, icon and small-icon views; columns
// mirrored into a "SysHeader32" child that is created when the first column
// arrives (so a list view subclassed after creation still sees its
// WM_PARENTNOTIFY) and placed with SetWindowPos after HDM_LAYOUT, so that its
// WM_WINDOWPOSCHANGING can adjust the placement.  Items with sub-items,
// images, states and data, or, with LVS_OWNERDATA, only a count whose texts
// and images come from LVN_GETDISPINFO for the rows being drawn.
// Every state change goes through LVN_ITEMCHANGING/LVN_ITEMCHANGED, whether
// the user or code makes it.  Scroll state is kept in the window's own
// scroll information as Win32 keeps it: report view scrolls rows vertically
// and pixels horizontally, list view scrolls columns, the icon views pixels.
// In-place label editing uses an "Edit" child: Enter or losing the focus
// commits, Escape cancels.
#include "controls/CommCtrlLists.h"
#include "controls/ItemControlWindow.h"

#include <vector>

namespace controls {

class ListView : public ItemControlWindow {
public:
    explicit ListView(HWND h);
    ~ListView() override;

protected:
    LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Cell {
        std::string text;
        bool callback = false;
        int image = I_IMAGENONE;
    };
    struct Item {
        std::vector<Cell> cells{Cell{}}; // cells[0] is the item's own label
        UINT state = 0;
        LPARAM lParam = 0;
        int indent = 0;
    };
    struct Column {
        int width = 0;
        int fmt = LVCFMT_LEFT;
        int subItem = 0;
        int image = -1;
        int minWidth = 0;
        int maxWidth = 0;
        std::string text;
    };
    struct Shown {
        std::string text;
        int image = -1;
    };

    DWORD View() const { return Style() & LVS_TYPEMASK; }
    bool OwnerData() const { return Style() & LVS_OWNERDATA; }
    int Count() const;
    UINT StateOf(int i) const;
    void StoreState(int i, UINT state);
    bool Valid(int i) const { return i >= 0 && i < Count(); }

    // Geometry.
    void EnsureHeader();
    void Layout();
    int RowHeight() const;
    int TotalWidth() const;
    int HeaderHeight() const { return headerHeight_; }
    int RowsPerPage() const;
    int ListColumnWidth() const;
    int ListRows() const;
    SIZE IconCell() const;
    int IconColumns() const;
    RECT ItemBounds(int i) const;
    RECT ItemPart(int i, int code);
    RECT SubItemRect(int i, int sub, int code);
    std::vector<int> ColumnOrder() const;
    int ColumnLeft(int col) const;
    LVHITTESTINFO HitTest(POINT pt, bool subItems);
    std::pair<int, int> VisibleRange() const;
    void UpdateScrollInfo() override;
    void ScrollTo(int hPos, int vPos);
    void ScrollByPixels(int dx, int dy);
    void EnsureVisible(int i, bool partialOk);
    void OnScroll(int bar, int code);

    // Items.
    Shown Display(int i, int sub, UINT mask);
    int InsertItem(const LVITEM& lv);
    BOOL SetItem(const LVITEM& lv);
    BOOL GetItem(LVITEM* lv);
    bool DeleteItem(int i);
    bool DeleteAll();
    bool SetState(int i, UINT state, UINT mask);
    void SetStateAll(UINT state, UINT mask);
    void Deselect(int except);
    void SelectOnly(int i);
    void SelectRange(int from, int to);
    int NextItem(int start, UINT flags);
    int FindItem(int start, const LVFINDINFO& fi);
    void SortItems(PFNLVCOMPARE compare, LPARAM param);
    void RedrawItems(int first, int last);
    LRESULT NotifyItem(int code, int i, int sub, UINT newState, UINT oldState, UINT changed, POINT pt = {});

    // Columns.
    int InsertColumn(int at, const LVCOLUMN& c);
    void SetColumn(int col, const LVCOLUMN& c);
    BOOL GetColumn(int col, LVCOLUMN* c) const;
    void SetColumnWidth(int col, int width);
    LRESULT OnHeaderNotify(NMHDR* hdr, WPARAM wp, LPARAM lp);

    // Input.
    void OnKey(int vk) override;
    void OnChar(char32_t c) override;
    void OnButtonDown(POINT pt, bool right, bool dbl) override;
    void MoveFocus(int to, bool shift, bool ctrl);

    // Label editing.
    HWND BeginEdit(int i);
    void EndEdit(bool commit) override;

    void Paint(HDC given) override;
    void NotifyClick(int code, POINT pt) override;
    void PaintRow(HDC dc, int i, const RECT& clip);
    void PaintLabelItem(HDC dc, int i);
    void DrawCellText(HDC dc, const std::string& text, RECT r, int fmt, bool selected);

    std::vector<Item> items_;
    int ownerCount_ = 0;
    std::vector<UINT> ownerStates_;
    std::vector<Column> columns_;
    HWND header_ = nullptr;
    int headerHeight_ = 0;
    bool syncingHeader_ = false;
    DWORD exStyle_ = 0;
    HIMAGELIST normalImages_ = nullptr, smallImages_ = nullptr, stateImages_ = nullptr;
    COLORREF bkColor_, textColor_, textBkColor_;
    UINT callbackMask_ = 0;
    int listColumnWidth_ = 0; // list view's fixed column width; 0: the default
    int hPos_ = 0, vPos_ = 0; // in the view's scroll units
    int mark_ = -1;           // selection mark: the anchor of Shift selections
    int thumbPos_ = 0;        // the thumb position of the scroll message being handled
    int editItem_ = -1;
    int clickItem_ = -1;
};

} // namespace controls

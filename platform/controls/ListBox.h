#pragma once
// The "ListBox" class: strings with item data, sorted or not; single,
// multiple (LBS_MULTIPLESEL) and extended (LBS_EXTENDEDSEL) selection;
// owner-draw fixed rows (WM_MEASUREITEM once, WM_DRAWITEM per row); columns;
// tab stops; case-insensitive prefix search, also by typing; and the scroll
// state of its window kept as its views move, so that a skinned list can
// mirror it into its own bars and drive it with WM_VSCROLL and WM_HSCROLL.
// LBN_SELCHANGE reports the user's changes only, as Win32's does.
#include "controls/ControlWindow.h"

#include <vector>

namespace controls {

class ListBox : public ControlWindow {
public:
    explicit ListBox(HWND h);

protected:
    LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Item {
        std::string text;
        uintptr_t data = 0;
        bool selected = false;
    };

    bool HasStrings() const;
    bool OwnerDraw() const;
    bool Multi() const;    // any multiple selection
    bool Extended() const; // LBS_EXTENDEDSEL
    bool Columns() const;
    bool Valid(int i) const { return i >= 0 && i < static_cast<int>(items_.size()); }
    int Count() const { return static_cast<int>(items_.size()); }
    int RowsPerPage() const;
    int VisibleColumns() const;
    int MaxTop() const;
    RECT ItemRect(int i) const;
    int ItemAt(POINT p, bool* outside) const;
    int Find(int start, const std::string& s, bool exact) const;

    int Insert(int at, LPARAM lp);
    int Delete(int i);
    void Reset();
    void SetTop(int top);
    void MakeVisible(int i);
    void UpdateScroll();
    void Redraw();
    void NotifyIf(WORD code);
    void SelectOnly(int i);
    void SelectRange(int from, int to, bool on);
    void UserMoveTo(int i, bool shift, bool ctrl);
    void OnKey(int vk);
    void OnChar(char32_t c);
    void OnButtonDown(POINT p, WPARAM keys);
    void Paint();
    HBRUSH Background(HDC dc);

    std::vector<Item> items_;
    int cur_ = -1;    // the selection (single) or the caret item (multiple)
    int anchor_ = -1; // where a Shift range starts
    int top_ = 0;     // the first visible item (multi-column: the first of its column)
    int itemHeight_ = 0;
    int columnWidth_ = 0;
    std::vector<int> tabs_; // pixels
    int extent_ = 0, xOffset_ = 0;
    std::string typed_;
    DWORD typedAt_ = 0;
    bool tracking_ = false;
};

} // namespace controls

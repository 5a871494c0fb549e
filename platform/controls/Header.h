#pragma once
// The "SysHeader32" class: the column header of a report list view, usable on
// its own.  Sections with text, image, format and data in a display order;
// item rectangles, hit tests that tell a divider (and the divider of a
// zero-width section, which dragging opens) from a section; section clicks;
// divider drags that resize live, asking the parent first as Win32 does:
// HDN_BEGINTRACK, then per move HDN_TRACK and HDN_ITEMCHANGING (either may
// change the width in the HDITEM or refuse) and HDN_ITEMCHANGED, and
// HDN_ENDTRACK on release.  With HDS_DRAGDROP a section dragged sideways
// moves to where it is dropped (HDN_BEGINDRAG, HDN_ENDDRAG; either may refuse).  WM_PAINT with a DC in wParam
// paints into it.
#include "controls/ControlWindow.h"

#include <vector>

namespace controls {

class Header : public ControlWindow {
public:
    explicit Header(HWND h);

protected:
    LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Item {
        std::string text;
        int cxy = 0;
        int fmt = HDF_LEFT | HDF_STRING;
        LPARAM lParam = 0;
        int image = -1;
    };

    int Count() const { return static_cast<int>(items_.size()); }
    RECT ItemRect(int index) const;
    HDHITTESTINFO HitTest(POINT pt) const;
    int Height() const;
    int Insert(int at, const HDITEM& hi);
    void Apply(Item& item, const HDITEM& hi);
    BOOL Get(int index, HDITEM* hi) const;
    LRESULT Notify(int code, int index, HDITEM* item, int button = 0);
    void ChangeWidth(int index, int width);
    int DropPosition(int x) const;
    void Paint(HDC given);

    std::vector<Item> items_;
    std::vector<int> order_; // display position -> item index
    HIMAGELIST images_ = nullptr;
    // Mouse state: a divider being dragged, or a section held down.
    int tracking_ = -1;
    int trackStartX_ = 0, trackStartWidth_ = 0;
    int pressed_ = -1;
    bool pressedInside_ = false;
    int pressX_ = 0;
    bool dragging_ = false; // a held section moves to a new position (HDS_DRAGDROP)
};

} // namespace controls

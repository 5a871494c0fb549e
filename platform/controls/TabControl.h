#pragma once
// The "SysTabControl32" class: tabs with text, image and data; one row that
// scrolls with an up/down child ("msctls_updown32", whose WM_HSCROLL
// SB_THUMBPOSITION - or anyone's - sets the first tab shown), or several rows
// (TCS_MULTILINE) with the selected tab's row next to the pages; tabs on any
// side; fixed or content-sized tabs widened by their images; item rectangles,
// hit testing, the page rectangle (TCM_ADJUSTRECT) and selection with
// TCN_SELCHANGING (nonzero refuses) and TCN_SELCHANGE for the user's changes.
// TCM_SETCURSEL from code sends no notice, as Win32's does.  The item width
// given by TCM_SETITEMSIZE holds with TCS_FIXEDWIDTH or TCS_OWNERDRAWFIXED.
#include "controls/ControlWindow.h"

#include <vector>

namespace controls {

class TabControl : public ControlWindow {
public:
    explicit TabControl(HWND h);
    // The room between a tab's image and its caption, added to a captioned tab's width.
    static constexpr int kImageGap = 3;

protected:
    LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Tab {
        std::string text;
        int image = -1;
        LPARAM param = 0;
        DWORD state = 0;
    };

    int Count() const { return static_cast<int>(tabs_.size()); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    bool Vertical() const;
    bool Bottom() const; // bottom tabs, or right tabs when vertical
    int ItemHeight() const;
    int TabWidth(const Tab& t) const;
    int RowLength() const; // the room along a row
    // Moving through the tabs (selecting, scrolling) never brings back arrows that someone
    // took away; only a change of size, tabs or font may make new ones.
    enum class Arrows { MayCreate, KeepOnly };
    void Layout(Arrows arrows = Arrows::MayCreate);
    void PlaceScroller(bool needed, Arrows arrows);
    RECT ToClient(int x, int row, int w) const; // row space to client coordinates
    RECT FrameRect() const;
    RECT DisplayRect() const;
    int HitTest(POINT p, UINT* flags) const;
    void ShowTab(int i);
    bool UserSelect(int i);
    void Paint();
    void DrawTab(HDC dc, int i, bool selected);

    std::vector<Tab> tabs_;
    std::vector<RECT> rects_; // client coordinates, as reported
    int rows_ = 1;
    int cur_ = -1;
    int first_ = 0; // the first tab shown in a scrolling row
    int maxFirst_ = 0;
    HWND scroller_ = nullptr;
    HIMAGELIST images_ = nullptr;
    int fixedWidth_ = 0, fixedHeight_ = 0;
    int padX_, padY_;
    int minWidth_ = 0;
};

} // namespace controls

#include "ControlsFixture.h"

#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Scroll.h"

#include <string>

namespace {
void Add(HWND lb, std::initializer_list<const char*> items) {
    for (const char* s : items) SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
}
RECT ItemRect(HWND lb, int i) {
    RECT r{};
    SendMessage(lb, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}
SCROLLINFO Scroll(HWND h, int bar) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(h, bar, &si);
    return si;
}
int Top(HWND lb) {
    return static_cast<int>(SendMessage(lb, LB_GETTOPINDEX, 0, 0));
}
} // namespace

// Owner-draw fixed rows: the height the parent measures, the rows' places, the rows drawn,
// and the native scroll state following the view.
TEST_F(ControlsTest, ListBoxOwnerDrawGeometry) {
    g_measureHeight = 18;
    HWND lb = Make(WC_LISTBOX, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 10,
                   10, 200, 100);
    for (int i = 0; i < 20; ++i)
        SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("行 " + std::to_string(i)).c_str()));
    SendMessage(lb, LB_SETITEMDATA, 3, 333);
    EXPECT_EQ(SendMessage(lb, LB_GETITEMHEIGHT, 0, 0), 18);
    EXPECT_EQ(ItemRect(lb, 3), (RECT{0, 54, 200, 72}));

    SendMessage(lb, LB_SETCURSEL, 3, 0);
    g_drawn.clear();
    InvalidateRect(lb, nullptr, TRUE);
    Run();
    // Five whole rows and the part of the sixth.
    ASSERT_EQ(g_drawn.size(), 6u);
    for (size_t k = 0; k < g_drawn.size(); ++k) {
        const DRAWITEMSTRUCT& d = g_drawn[k];
        EXPECT_EQ(d.CtlType, static_cast<UINT>(ODT_LISTBOX));
        EXPECT_EQ(d.itemID, k);
        EXPECT_EQ(d.rcItem, ItemRect(lb, static_cast<int>(k)));
        EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, k == 3);
    }
    EXPECT_EQ(g_drawn[3].itemData, 333u);

    SCROLLINFO si = Scroll(lb, SB_VERT);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 19);
    EXPECT_EQ(si.nPage, 5u);
    struct Step {
        WPARAM wp;
        int top;
    };
    const Step steps[] = {
        {MAKEWPARAM(SB_THUMBPOSITION, 12), 12},
        {SB_LINEDOWN,                           13                   },
        {SB_PAGEDOWN,                           15}, // the last page
        {SB_LINEUP,                           14                     },
        {SB_TOP,                           0   },
        {SB_BOTTOM,                           15                  },
    };
    for (const Step& s : steps) {
        SendMessage(lb, WM_VSCROLL, s.wp, 0);
        EXPECT_EQ(Top(lb), s.top) << "code " << LOWORD(s.wp);
        EXPECT_EQ(GetScrollPos(lb, SB_VERT), s.top);
    }
    EXPECT_EQ(ItemRect(lb, 15), (RECT{0, 0, 200, 18}));
    LRESULT hit = SendMessage(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(10, 40));
    EXPECT_EQ(LOWORD(hit), 17);
    EXPECT_EQ(HIWORD(hit), 0);
    // The wheel scrolls three rows a notch.
    POINT p = Screen(lb, 50, 50);
    D().MoveMouse(p.x, p.y);
    SetFocus(lb);
    D().Wheel(WHEEL_DELTA);
    Run();
    EXPECT_EQ(Top(lb), 12);
}

// Prefix search, from code and by typing, ignores case and knows Chinese text.
TEST_F(ControlsTest, ListBoxPrefixSearch) {
    HWND lb = Make(WC_LISTBOX, LBS_NOTIFY | LBS_SORT, 10, 10, 200, 150);
    Add(lb, {"banana", "Apple", "香蕉", "avocado", "apricot", "Äpfel"});
    char buf[64];
    SendMessage(lb, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "Apple"); // sorted without regard to case

    struct Case {
        int start;
        const char* s;
        bool exact;
        int found;
    };
    const Case cases[] = {
        {-1, "ap",    false, 0     },
        {0,  "AP",    false, 1     },
        {1,  "ap",    false, 0     }, // wraps round
        {-1, "APPLE", true,  0     },
        {-1, "appl",  true,  LB_ERR},
        {-1, "香",   false, 5     },
        {-1, "äPF",  false, 4     },
        {-1, "x",     false, LB_ERR},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessage(lb, c.exact ? LB_FINDSTRINGEXACT : LB_FINDSTRING, static_cast<WPARAM>(c.start),
                              reinterpret_cast<LPARAM>(c.s)),
                  c.found)
            << c.s << " after " << c.start;
    EXPECT_EQ(SendMessage(lb, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("b")), 3);
    EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), 3);
    EXPECT_TRUE(g_notices.empty()); // code changes send no notice

    // Typing: a prefix within a second, the same letter again steps on, a pause starts afresh.
    Click(lb, 5, 5);
    g_notices.clear();
    struct Typed {
        const char32_t* text;
        int wait;
        int sel;
    };
    const Typed typed[] = {
        {U"av",  2000, 2},
        {U"a",   2000, 0},
        {U"a",   0,    1},
        {U"a",   0,    2},
        {U"香", 2000, 5},
        {U"APR", 2000, 1},
    };
    for (const Typed& t : typed) {
        Advance(t.wait);
        Type(t.text);
        EXPECT_EQ(SendMessage(lb, LB_GETCURSEL, 0, 0), t.sel) << "typing after " << t.wait;
    }
    EXPECT_TRUE(Sent(lb, LBN_SELCHANGE));
}

// Mouse and keys select as each selection style has it; only the user's changes are reported.
TEST_F(ControlsTest, ListBoxSelectionStyles) {
    HWND one = Make(WC_LISTBOX, LBS_NOTIFY, 10, 10, 150, 200);
    Add(one, {"a", "b", "c", "d"});
    int h = static_cast<int>(SendMessage(one, LB_GETITEMHEIGHT, 0, 0));
    Click(one, 5, h * 2 + 1);
    EXPECT_EQ(SendMessage(one, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes(one), (std::vector<int>{LBN_SETFOCUS, LBN_SELCHANGE}));
    Key(VK_DOWN);
    EXPECT_EQ(SendMessage(one, LB_GETCURSEL, 0, 0), 3);
    Advance(1000);
    DoubleClick(one, 5, h * 3 + 1);
    EXPECT_EQ(Codes(one).back(), LBN_DBLCLK);
    EXPECT_EQ(SendMessage(one, LB_GETSELCOUNT, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(one, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessage(one, LB_GETCURSEL, 0, 0), LB_ERR);

    HWND ext = Make(WC_LISTBOX, LBS_NOTIFY | LBS_EXTENDEDSEL, 200, 10, 150, 200, "", 8);
    Add(ext, {"0", "1", "2", "3", "4", "5"});
    Advance(1000);
    Click(ext, 5, h * 1 + 1);
    POINT p = Screen(ext, 5, h * 4 + 1);
    D().KeyDown(VK_SHIFT);
    D().Click(p.x, p.y);
    D().KeyUp(VK_SHIFT);
    Run();
    EXPECT_EQ(SendMessage(ext, LB_GETSELCOUNT, 0, 0), 4);
    Advance(1000);
    p = Screen(ext, 5, h * 2 + 1);
    D().KeyDown(VK_CONTROL);
    D().Click(p.x, p.y);
    D().KeyUp(VK_CONTROL);
    Run();
    int sel[8] = {};
    int n = static_cast<int>(SendMessage(ext, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(sel)));
    EXPECT_EQ(std::vector<int>(sel, sel + n), (std::vector<int>{1, 3, 4}));
    Key(VK_END, VK_SHIFT); // from the anchor (2) to the end
    n = static_cast<int>(SendMessage(ext, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(sel)));
    EXPECT_EQ(std::vector<int>(sel, sel + n), (std::vector<int>{2, 3, 4, 5}));

    HWND multi = Make(WC_LISTBOX, LBS_MULTIPLESEL, 400, 10, 150, 200, "", 9);
    Add(multi, {"x", "y", "z"});
    Advance(1000);
    Click(multi, 5, 1);
    Advance(1000);
    Click(multi, 5, h * 2 + 1);
    Key(VK_UP);
    Key(VK_SPACE);
    EXPECT_EQ(SendMessage(multi, LB_GETSELCOUNT, 0, 0), 3);
    Advance(1000);
    Click(multi, 5, 1);
    EXPECT_EQ(SendMessage(multi, LB_GETSEL, 0, 0), 0);
    // Deleting rows keeps the caret on its item.
    SendMessage(multi, LB_SETCARETINDEX, 2, 0);
    SendMessage(multi, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessage(multi, LB_GETCARETINDEX, 0, 0), 1);
    EXPECT_EQ(SendMessage(multi, LB_GETCOUNT, 0, 0), 2);
}

// Columns fill top to bottom, then left to right; the horizontal scroll state counts columns.
TEST_F(ControlsTest, ListBoxColumns) {
    g_measureHeight = 20;
    HWND lb = Make(WC_LISTBOX, LBS_MULTICOLUMN | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 10, 10, 150, 100);
    SendMessage(lb, LB_SETCOLUMNWIDTH, 50, 0);
    for (int i = 0; i < 23; ++i) SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("列"));
    // 5 rows a column, 3 columns in view, 5 columns in all.
    EXPECT_EQ(ItemRect(lb, 6), (RECT{50, 20, 100, 40}));
    EXPECT_EQ(LOWORD(SendMessage(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(120, 70))), 13);
    SCROLLINFO si = Scroll(lb, SB_HORZ);
    EXPECT_EQ(si.nMax, 4);
    EXPECT_EQ(si.nPage, 3u);
    SendMessage(lb, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Top(lb), 5);
    EXPECT_EQ(ItemRect(lb, 6), (RECT{0, 20, 50, 40}));
    SendMessage(lb, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 9), 0);
    EXPECT_EQ(Top(lb), 10); // no further than the last full view
    EXPECT_EQ(GetScrollPos(lb, SB_HORZ), 2);
    SendMessage(lb, LB_SETTOPINDEX, 7, 0);
    EXPECT_EQ(Top(lb), 5); // a column's first item
}

// Tab stops come in dialog units, a quarter of the average character width each.
TEST_F(ControlsTest, ListBoxTabStops) {
    HWND lb = Make(WC_LISTBOX, LBS_USETABSTOPS, 10, 10, 300, 100);
    SendMessage(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("\t|"));
    int stops[] = {80};
    SendMessage(lb, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    DeleteDC(dc);
    int stop = 2 + 80 * tm.tmAveCharWidth / 4;
    int h = static_cast<int>(SendMessage(lb, LB_GETITEMHEIGHT, 0, 0));
    InvalidateRect(lb, nullptr, TRUE);
    int leftmost = -1;
    for (int x = 0; x < 300 && leftmost < 0; ++x)
        for (int y = 0; y < h; ++y)
            if (PixelAt(lb, x, y) != GetSysColor(COLOR_WINDOW)) {
                leftmost = x;
                break;
            }
    EXPECT_GE(leftmost, stop);
    EXPECT_LT(leftmost, stop + tm.tmAveCharWidth);
}

// A horizontal extent wider than the list gives a horizontal range that WM_HSCROLL follows.
TEST_F(ControlsTest, ListBoxHorizontalExtent) {
    HWND lb = Make(WC_LISTBOX, 0, 10, 10, 200, 100);
    Add(lb, {"a very long line of text"});
    SendMessage(lb, LB_SETHORIZONTALEXTENT, 500, 0);
    EXPECT_EQ(SendMessage(lb, LB_GETHORIZONTALEXTENT, 0, 0), 500);
    SCROLLINFO si = Scroll(lb, SB_HORZ);
    EXPECT_EQ(si.nMax, 499);
    EXPECT_EQ(si.nPage, 200u);
    SendMessage(lb, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100), 0);
    EXPECT_EQ(ItemRect(lb, 0).left, -100);
    SendMessage(lb, WM_HSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(GetScrollPos(lb, SB_HORZ), 300);
    EXPECT_EQ(ItemRect(lb, 0).left, -300);
}

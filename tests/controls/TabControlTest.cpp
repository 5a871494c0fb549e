#include "ControlsFixture.h"

#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/ImageList.h"
#include "gdi/Objects.h"

#include <string>

namespace {
void AddTabs(HWND tab, std::initializer_list<const char*> names) {
    for (const char* n : names) {
        TCITEM item{TCIF_TEXT | TCIF_IMAGE, 0, 0, const_cast<char*>(n), 0, 0, 0};
        SendMessage(tab, TCM_INSERTITEM, static_cast<WPARAM>(SendMessage(tab, TCM_GETITEMCOUNT, 0, 0)),
                    reinterpret_cast<LPARAM>(&item));
    }
}
RECT TabRect(HWND tab, int i) {
    RECT r{};
    SendMessage(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}
int Width(const RECT& r) {
    return r.right - r.left;
}
// What the tab control's default font makes of a text.
SIZE Measure(const char* s) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE sz{};
    GetTextExtentPoint32(dc, s, -1, &sz);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    DeleteDC(dc);
    return {sz.cx, tm.tmHeight};
}
HWND ChildOfClass(HWND parent, const char* cls) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassName(c, name, sizeof name);
        if (std::string(name) == cls) return c;
    }
    return nullptr;
}
} // namespace

// Our layout: 6-pixel padding round the text, rows from (2, 2), pages 4 pixels inside the frame;
// images and fixed sizes widen or set the tabs; the page rectangle converts both ways.
TEST_F(ControlsTest, TabLayoutAndPageRect) {
    HWND tab = Make(WC_TABCONTROL, 0, 10, 10, 400, 200);
    AddTabs(tab, {"常规", "视频设置", "Audio"});
    int h = Measure("x").cy + 6;
    int x = 2;
    for (int i = 0; i < 3; ++i) {
        const char* names[] = {"常规", "视频设置", "Audio"};
        RECT r = TabRect(tab, i);
        EXPECT_EQ(r, (RECT{x, 2, x + Measure(names[i]).cx + 12, 2 + h})) << names[i];
        x = r.right;
    }
    RECT page{0, 0, 400, 200};
    SendMessage(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page, (RECT{4, 2 + h + 4, 396, 196}));
    SendMessage(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page, (RECT{0, 0, 400, 200}));

    // An image list widens every tab that names an image by the image and a 3-pixel gap.
    int before = Width(TabRect(tab, 1));
    HIMAGELIST il = ImageList_Create(16, 16, 0, 1, 1);
    SendMessage(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(il));
    EXPECT_EQ(Width(TabRect(tab, 1)), before + 16 + 3);
    RECT r1 = TabRect(tab, 1);
    TCHITTESTINFO onIcon{
        {r1.left + 6 + 8, r1.top + 5},
        0
    };
    EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&onIcon)), 1);
    EXPECT_EQ(onIcon.flags, static_cast<UINT>(TCHT_ONITEMICON));
    SendMessage(tab, TCM_SETIMAGELIST, 0, 0);

    struct Case {
        const char* name;
        DWORD style;
        int cx, cy;
        int width, height; // of tab 1; 0: as the text makes it
    };
    const Case cases[] = {
        {"height given",                      0,              0,  30, 0,  30},
        {"width needs the fixed-width style", 0,              80, 0,  0,  0 },
        {"fixed width",                       TCS_FIXEDWIDTH, 80, 24, 80, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND t = Make(WC_TABCONTROL, c.style, 10, 10, 400, 200, "", 12);
        AddTabs(t, {"常规", "视频设置"});
        SendMessage(t, TCM_SETITEMSIZE, 0, MAKELPARAM(c.cx, c.cy));
        RECT r = TabRect(t, 1);
        EXPECT_EQ(Width(r), c.width ? c.width : Measure("视频设置").cx + 12);
        EXPECT_EQ(r.bottom - r.top, c.height ? c.height : h);
        page = {0, 0, 400, 200};
        SendMessage(t, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
        EXPECT_EQ(page.top, r.bottom + 4);
        DestroyWindow(t);
    }
    ImageList_Destroy(il);

    HWND bottom = Make(WC_TABCONTROL, TCS_BOTTOM, 10, 10, 400, 200, "", 13);
    AddTabs(bottom, {"一"});
    EXPECT_EQ(TabRect(bottom, 0).bottom, 198);
    page = {0, 0, 400, 200};
    SendMessage(bottom, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page, (RECT{4, 4, 396, 200 - 2 - h - 4}));

    // Tabs on the left run down the side, a row as wide as a tab is high.
    HWND left = Make(WC_TABCONTROL, TCS_VERTICAL | TCS_MULTILINE, 10, 10, 400, 200, "", 14);
    AddTabs(left, {"一", "二"});
    RECT r0 = TabRect(left, 0);
    EXPECT_EQ(r0, (RECT{2, 2, 2 + h, 2 + Measure("一").cx + 12}));
    EXPECT_EQ(TabRect(left, 1).top, r0.bottom);
    page = {0, 0, 400, 200};
    SendMessage(left, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page, (RECT{2 + h + 4, 4, 396, 196}));
}

// Clicks and keys select with the changing/changed notices (the parent may refuse); code
// selects silently; hit tests name the tab under a point.
TEST_F(ControlsTest, TabSelectionAndHitTest) {
    HWND tab = Make(WC_TABCONTROL, 0, 10, 10, 400, 200);
    AddTabs(tab, {"一", "二", "三"});
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 0);
    RECT r2 = TabRect(tab, 2);
    TCHITTESTINFO hit{
        {(r2.left + r2.right) / 2, (r2.top + r2.bottom) / 2},
        0
    };
    EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_ONITEMLABEL));
    hit.pt = {200, 100};
    EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_NOWHERE));

    Click(tab, r2.left + 3, r2.top + 3);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes(tab), (std::vector<int>{TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK}));
    g_notices.clear();
    Key(VK_LEFT);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(tab), (std::vector<int>{TCN_SELCHANGING, TCN_SELCHANGE}));

    g_notices.clear();
    g_onNotify = [](NMHDR* h) -> LRESULT { return static_cast<int>(h->code) == TCN_SELCHANGING; };
    Key(VK_RIGHT);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(tab), std::vector<int>{TCN_SELCHANGING});

    g_notices.clear();
    EXPECT_EQ(SendMessage(tab, TCM_SETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(g_notices.empty());
    EXPECT_EQ(SendMessage(tab, TCM_SETCURSEL, 9, 0), -1);

    // Items keep their data; deleting the selected one leaves no selection.
    TCITEM item{TCIF_PARAM, 0, 0, nullptr, 0, 0, 4242};
    SendMessage(tab, TCM_SETITEM, 1, reinterpret_cast<LPARAM>(&item));
    char buf[16];
    TCITEM got{TCIF_PARAM | TCIF_TEXT, 0, 0, buf, sizeof buf, 0, 0};
    SendMessage(tab, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.lParam, 4242);
    EXPECT_STREQ(buf, "二");
    SendMessage(tab, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), -1);
    EXPECT_EQ(SendMessage(tab, TCM_GETITEMCOUNT, 0, 0), 2);
}

// A row too long for the control scrolls with an up/down child; WM_HSCROLL SB_THUMBPOSITION
// from it or from anyone sets the first tab shown, scrolled-off tabs end at the row's start.
TEST_F(ControlsTest, TabScrollingRow) {
    HWND tab = Make(WC_TABCONTROL, 0, 10, 10, 300, 150);
    for (int i = 0; i < 12; ++i) AddTabs(tab, {("页面 " + std::to_string(i)).c_str()});
    HWND ud = ChildOfClass(tab, UPDOWN_CLASS);
    ASSERT_NE(ud, nullptr);
    RECT ur;
    GetClientRect(ud, &ur);
    int h = TabRect(tab, 0).bottom - TabRect(tab, 0).top;
    EXPECT_EQ(ur, (RECT{0, 0, 2 * h, h}));
    int lower = -1, upper = -1;
    SendMessage(ud, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 0);
    EXPECT_GT(upper, 0);
    EXPECT_GT(TabRect(tab, 11).right, 300);

    Click(ud, 3 * h / 2, h / 2); // the right arrow
    EXPECT_EQ(TabRect(tab, 1).left, 2);
    EXPECT_EQ(TabRect(tab, 0).right, 2);
    SendMessage(tab, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
    EXPECT_EQ(TabRect(tab, 4).left, 2);
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, 0), 4);
    RECT r5 = TabRect(tab, 5);
    TCHITTESTINFO hit{
        {r5.left + 2, r5.top + 2},
        0
    };
    EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 5);

    // Selecting a tab beyond the right end brings it whole into view, clear of the arrows.
    SendMessage(tab, TCM_SETCURSEL, 11, 0);
    EXPECT_LE(TabRect(tab, 11).right, 300 - 2 * h);
    SendMessage(tab, TCM_SETCURSEL, 0, 0);
    EXPECT_EQ(TabRect(tab, 0).left, 2);

    // A skinned control may take the arrows away; wide enough, the row needs none and starts
    // again at the first tab; narrowed, the arrows come back.
    DestroyWindow(ud);
    SendMessage(tab, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
    EXPECT_EQ(TabRect(tab, 3).left, 2);
    SendMessage(tab, TCM_SETCURSEL, 11, 0);
    Click(tab, TabRect(tab, 10).left + 3, 5);
    EXPECT_EQ(ChildOfClass(tab, UPDOWN_CLASS), nullptr); // moving through the tabs brings none back
    SetWindowPos(tab, nullptr, 0, 0, 2000, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ChildOfClass(tab, UPDOWN_CLASS), nullptr);
    EXPECT_EQ(TabRect(tab, 0).left, 2);
    SetWindowPos(tab, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_NE(ChildOfClass(tab, UPDOWN_CLASS), nullptr);
}

// Several rows: each as full as fits and stretched to the width, the selected tab's row next
// to the pages, the pages below every row.
TEST_F(ControlsTest, TabMultipleRows) {
    HWND tab = Make(WC_TABCONTROL, TCS_MULTILINE, 10, 10, 200, 200);
    for (int i = 0; i < 9; ++i) AddTabs(tab, {("标签" + std::to_string(i)).c_str()});
    int rows = static_cast<int>(SendMessage(tab, TCM_GETROWCOUNT, 0, 0));
    ASSERT_GT(rows, 1);
    EXPECT_EQ(ChildOfClass(tab, UPDOWN_CLASS), nullptr);
    int h = TabRect(tab, 0).bottom - TabRect(tab, 0).top;
    for (int i = 0; i < 9; ++i) {
        RECT r = TabRect(tab, i);
        EXPECT_GE(r.left, 2);
        EXPECT_LE(r.right, 198);
        EXPECT_EQ((r.top - 2) % h, 0);
        if (i + 1 < 9 && TabRect(tab, i + 1).top != r.top) {
            EXPECT_EQ(r.right, 198) << "row ends at " << i;
        }
    }
    RECT page{0, 0, 200, 200};
    SendMessage(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page.top, 2 + rows * h + 4);
    // The selected tab's row is the lowest; choosing a tab of another row moves that row down.
    EXPECT_EQ(TabRect(tab, 0).top, 2 + (rows - 1) * h);
    SendMessage(tab, TCM_SETCURSEL, 8, 0);
    EXPECT_EQ(TabRect(tab, 8).top, 2 + (rows - 1) * h);
    EXPECT_LT(TabRect(tab, 0).top, TabRect(tab, 8).top);
}

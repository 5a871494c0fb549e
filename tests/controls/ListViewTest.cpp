#include "ControlsFixture.h"

#include "controls/CommCtrlLists.h"
#include "gdi/Bitmap.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/ImageList.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Scroll.h"

#include <cstring>
#include <map>

namespace {

struct ItemNotice {
    int code, item;
    UINT oldState, newState;
};

// Records the list view notices that carry an item.
std::vector<ItemNotice> g_items;

int Insert(HWND lv, int at, const char* text) {
    LVITEM it{};
    it.mask = LVIF_TEXT;
    it.iItem = at;
    it.pszText = const_cast<char*>(text);
    return static_cast<int>(SendMessage(lv, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it)));
}

void SetSub(HWND lv, int item, int sub, const char* text) {
    LVITEM it{};
    it.iSubItem = sub;
    it.pszText = const_cast<char*>(text);
    SendMessage(lv, LVM_SETITEMTEXT, item, reinterpret_cast<LPARAM>(&it));
}

std::string ItemText(HWND lv, int item, int sub = 0) {
    char buf[256];
    LVITEM it{};
    it.iSubItem = sub;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessage(lv, LVM_GETITEMTEXT, item, reinterpret_cast<LPARAM>(&it));
    return buf;
}

void AddColumn(HWND lv, int at, const char* caption, int width, int maxWidth = 0) {
    LVCOLUMN c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_MAXWIDTH;
    c.pszText = const_cast<char*>(caption);
    c.cx = width;
    c.cxMax = maxWidth;
    SendMessage(lv, LVM_INSERTCOLUMN, at, reinterpret_cast<LPARAM>(&c));
}

bool SetState(HWND lv, int item, UINT state, UINT mask) {
    LVITEM it{};
    it.state = state;
    it.stateMask = mask;
    return SendMessage(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)) != 0;
}

RECT ItemRect(HWND lv, int item, int code = LVIR_BOUNDS) {
    RECT r{code, 0, 0, 0};
    SendMessage(lv, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
    return r;
}

int Selected(HWND lv) {
    return static_cast<int>(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

} // namespace

class ListViewTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        g_items.clear();
        g_onNotify = [](NMHDR* h) -> LRESULT {
            int code = static_cast<int>(h->code);
            if (code == LVN_ITEMCHANGING || code == LVN_ITEMCHANGED) {
                auto* nm = reinterpret_cast<NMLISTVIEW*>(h);
                g_items.push_back({code, nm->iItem, nm->uOldState, nm->uNewState});
            }
            return answer ? answer(h) : 0;
        };
    }
    void TearDown() override {
        answer = nullptr;
        ControlsTest::TearDown();
    }
    HWND MakeList(DWORD style, DWORD exStyle = 0, int w = 400, int h = 200) {
        HWND lv = Make(WC_LISTVIEW, style, 10, 10, w, h);
        if (exStyle) SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, exStyle);
        return lv;
    }
    // A further answer to the host's notices (after recording).
    static inline std::function<LRESULT(NMHDR*)> answer;
};

// The main window's file list: 25 columns of which 18 are hidden (width 0,
// at most 1 pixel wide), a header that a subclass hooks through
// WM_PARENTNOTIFY and widens through WM_WINDOWPOSCHANGING, rows with
// Chinese text in shown and hidden columns, and the scroll state that the
// external bars read.
TEST_F(ListViewTest, ReportWithHiddenColumnsAndHeader) {
    HWND lv =
        MakeList(LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    // Subclassed after creation, as the class library does.
    HWND seenHeader = nullptr;
    WNDPROC oldList = reinterpret_cast<WNDPROC>(GetWindowLongPtr(lv, GWLP_WNDPROC));
    WNDPROC hook = MakeProcInstance([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_PARENTNOTIFY && LOWORD(w) == WM_CREATE) {
            char cls[81] = {};
            GetClassName(reinterpret_cast<HWND>(l), cls, 80);
            if (std::string(cls) == "SysHeader32") seenHeader = reinterpret_cast<HWND>(l);
        }
        return CallWindowProc(oldList, h, m, w, l);
    });
    SetWindowLongPtr(lv, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook));

    const char* shown[] = {"输入文件", "视频时间", "文件大小", "输出文件",
                           "转换进度", "当前时间", "转换大小"};
    // Sub-item 4 (column 5) and 7.. are hidden; the shown captions go to the others.
    int next = 0;
    for (int col = 0; col < 25; ++col) {
        bool visible = col <= 4 || col == 6 || col == 7;
        if (visible)
            AddColumn(lv, col, shown[next++], 50);
        else
            AddColumn(lv, col, "hidden", 0, 1);
    }
    HWND header = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(seenHeader, header);
    EXPECT_EQ(SendMessage(header, HDM_GETITEMCOUNT, 0, 0), 25);
    RECT hidden{};
    SendMessage(header, HDM_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&hidden));
    EXPECT_EQ(hidden.left, hidden.right);
    EXPECT_EQ(hidden.left, 7 * 50); // after the seven shown columns before it

    // The header follows the list through SetWindowPos, so a hook on its
    // WM_WINDOWPOSCHANGING can widen it.
    WNDPROC oldHeader = reinterpret_cast<WNDPROC>(GetWindowLongPtr(header, GWLP_WNDPROC));
    WNDPROC widen = MakeProcInstance([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_WINDOWPOSCHANGING) {
            reinterpret_cast<WINDOWPOS*>(l)->cx += 25;
            return 0;
        }
        return CallWindowProc(oldHeader, h, m, w, l);
    });
    SetWindowLongPtr(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(widen));
    SetWindowPos(lv, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER);
    RECT hr{};
    GetWindowRect(header, &hr);
    EXPECT_EQ(hr.right - hr.left, 325);
    int headerHeight = hr.bottom - hr.top;
    EXPECT_GT(headerHeight, 0);

    for (int i = 0; i < 30; ++i) {
        std::string path = "/视频/文件" + std::to_string(i) + ".avi";
        ASSERT_EQ(Insert(lv, i, path.c_str()), i);
        SetSub(lv, i, 1, "00:01:30");
        SetSub(lv, i, 20, "720x576"); // a hidden column keeps its data
    }
    EXPECT_EQ(ItemText(lv, 3), "/视频/文件3.avi");
    EXPECT_EQ(ItemText(lv, 3, 20), "720x576");
    EXPECT_EQ(ItemText(lv, 3, 21), "");

    // Rows start under the header and span every column.
    RECT row = ItemRect(lv, 0);
    EXPECT_EQ(row.top, headerHeight);
    EXPECT_EQ(row.right - row.left, 7 * 50);
    int rowHeight = row.bottom - row.top;
    // Grid lines under each row and right of each shown column.
    const COLORREF grid = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(PixelAt(lv, 20, row.bottom - 1), grid);
    EXPECT_EQ(PixelAt(lv, 49, row.top + rowHeight / 2), grid);
    EXPECT_NE(PixelAt(lv, 48, row.top + 1), grid);
    int perPage = static_cast<int>(SendMessage(lv, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_EQ(perPage, (150 - headerHeight) / rowHeight);

    int mn = -1, mx = -1;
    GetScrollRange(lv, SB_VERT, &mn, &mx);
    EXPECT_EQ(std::make_pair(mn, mx), std::make_pair(0, 29));
    GetScrollRange(lv, SB_HORZ, &mn, &mx);
    EXPECT_EQ(mx, 7 * 50 - 1);
    // Scrolling by three row heights moves three rows, by pixels the columns.
    SendMessage(lv, LVM_SCROLL, 20, 3 * rowHeight);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 3);
    EXPECT_EQ(GetScrollPos(lv, SB_VERT), 3);
    EXPECT_EQ(GetScrollPos(lv, SB_HORZ), 20);
    EXPECT_EQ(ItemRect(lv, 3).top, headerHeight);
    GetWindowRect(header, &hr);
    RECT lr{};
    GetWindowRect(lv, &lr);
    EXPECT_EQ(hr.left - lr.left, -20); // the header scrolls with the columns
    // The thumb message the external bars send.
    SendMessage(lv, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 10);
    SendMessage(lv, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 30 - perPage);

    // A hidden column cannot be dragged open beyond its one pixel.
    SetWindowLongPtr(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldHeader));
    SetWindowLongPtr(lv, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldList));
    FreeProcInstance(widen);
    FreeProcInstance(hook);
}

// Every state change reaches the parent as changing/changed, whether code or
// the user makes it; a single-selection list deselects first, and the
// parent can refuse a change.
TEST_F(ListViewTest, StateChangesAreAnnounced) {
    HWND lv = MakeList(LVS_REPORT | LVS_SINGLESEL);
    AddColumn(lv, 0, "名称", 120);
    for (int i = 0; i < 5; ++i) Insert(lv, i, ("项目" + std::to_string(i)).c_str());
    const UINT S = LVIS_SELECTED, F = LVIS_FOCUSED;

    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<ItemNotice> expected; // the changed notices
        int selected;
    };
    std::vector<Case> cases = {
        {"code selects",                                                        [&] { SetState(lv, 2, S | F, S | F); }, {{LVN_ITEMCHANGED, 2, 0, S | F}}, 2 },
        {"code selects another: the first is deselected, then the focus moves",
         [&] { SetState(lv, 4, S | F, S | F); },
         {{LVN_ITEMCHANGED, 2, S | F, F}, {LVN_ITEMCHANGED, 2, F, 0}, {LVN_ITEMCHANGED, 4, 0, S | F}},
         4                                                                                                                                                  },
        {"setting the same state says nothing",                                 [&] { SetState(lv, 4, S, S); },         {},                               4 },
        {"code deselects all",                                                  [&] { SetState(lv, -1, 0, S); },        {{LVN_ITEMCHANGED, 4, S | F, F}}, -1},
        {"a click selects",
         [&] { Click(lv, 10, ItemRect(lv, 1).top + 2); },
         {{LVN_ITEMCHANGED, 4, F, 0}, {LVN_ITEMCHANGED, 1, 0, S | F}},
         1                                                                                                                                                  },
        {"Down moves the selection",
         [&] { Key(VK_DOWN); },
         {{LVN_ITEMCHANGED, 1, S | F, F}, {LVN_ITEMCHANGED, 1, F, 0}, {LVN_ITEMCHANGED, 2, 0, S | F}},
         2                                                                                                                                                  },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_items.clear();
        c.act();
        std::vector<ItemNotice> changed;
        for (const ItemNotice& n : g_items)
            if (n.code == LVN_ITEMCHANGED) changed.push_back(n);
        ASSERT_EQ(changed.size(), c.expected.size());
        for (size_t k = 0; k < changed.size(); ++k) {
            EXPECT_EQ(changed[k].item, c.expected[k].item) << k;
            EXPECT_EQ(changed[k].oldState, c.expected[k].oldState) << k;
            EXPECT_EQ(changed[k].newState, c.expected[k].newState) << k;
        }
        EXPECT_EQ(Selected(lv), c.selected);
    }
    // Each changed notice follows its changing notice.
    ASSERT_GE(g_items.size(), 2u);
    EXPECT_EQ(g_items.front().code, LVN_ITEMCHANGING);

    // The parent refuses: nothing changes and no changed notice comes.
    answer = [](NMHDR* h) -> LRESULT { return static_cast<int>(h->code) == LVN_ITEMCHANGING; };
    g_items.clear();
    EXPECT_FALSE(SetState(lv, 0, S, S));
    EXPECT_EQ(Selected(lv), 2);
    for (const ItemNotice& n : g_items) EXPECT_NE(n.code, LVN_ITEMCHANGED);
}

// Multi-selection by mouse and keys; clicks and double clicks reach the parent.
TEST_F(ListViewTest, MultiSelectionByMouseAndKeys) {
    HWND lv = MakeList(LVS_REPORT, LVS_EX_FULLROWSELECT);
    AddColumn(lv, 0, "名称", 100);
    AddColumn(lv, 1, "大小", 100);
    for (int i = 0; i < 8; ++i) Insert(lv, i, ("文件" + std::to_string(i)).c_str());
    auto selection = [&] {
        std::vector<int> out;
        for (int i = Selected(lv); i >= 0;
             i = static_cast<int>(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED)))
            out.push_back(i);
        return out;
    };
    auto rowY = [&](int i) { return static_cast<int>(ItemRect(lv, i).top) + 2; };
    Click(lv, 150, rowY(1)); // whole-row selection: the sub-item column hits too
    EXPECT_EQ(selection(), std::vector<int>{1});
    EXPECT_TRUE(Sent(lv, NM_CLICK));
    Key(VK_DOWN, VK_SHIFT);
    Key(VK_DOWN, VK_SHIFT);
    EXPECT_EQ(selection(), (std::vector<int>{1, 2, 3}));
    POINT p = Screen(lv, 10, rowY(5));
    D().KeyDown(VK_CONTROL);
    D().Click(p.x, p.y);
    D().KeyUp(VK_CONTROL);
    Run();
    EXPECT_EQ(selection(), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(SendMessage(lv, LVM_GETSELECTEDCOUNT, 0, 0), 4);
    // A click below the last row deselects everything.
    Advance(1000);
    Click(lv, 10, 190);
    EXPECT_EQ(selection(), std::vector<int>{});
    Advance(1000);
    g_notices.clear();
    DoubleClick(lv, 10, rowY(6));
    EXPECT_TRUE(Sent(lv, NM_DBLCLK));
    EXPECT_TRUE(Sent(lv, LVN_ITEMACTIVATE));
    // Type-ahead finds by prefix, Chinese too.
    SetSub(lv, 0, 0, "转换器");
    Type(U"转");
    EXPECT_EQ(selection(), std::vector<int>{0});
}

// An owner-data list holds only a count: texts are asked for the rows being
// drawn and nothing else, searches go to the parent, selection still works.
TEST_F(ListViewTest, OwnerDataAsksOnlyForVisibleRows) {
    std::map<int, int> asked; // item -> requests
    int hintFrom = -1, hintTo = -1, findStart = -1;
    std::string findText;
    answer = [&](NMHDR* h) -> LRESULT {
        switch (static_cast<int>(h->code)) {
        case LVN_GETDISPINFO: {
            auto* di = reinterpret_cast<NMLVDISPINFO*>(h);
            ++asked[di->item.iItem];
            if (di->item.mask & LVIF_TEXT) {
                std::string t =
                    "行" + std::to_string(di->item.iItem) + "/" + std::to_string(di->item.iSubItem);
                std::snprintf(di->item.pszText, static_cast<size_t>(di->item.cchTextMax), "%s", t.c_str());
            }
            if (di->item.mask & LVIF_IMAGE) di->item.iImage = 0;
            return 0;
        }
        case LVN_ODCACHEHINT: {
            auto* hint = reinterpret_cast<NMLVCACHEHINT*>(h);
            hintFrom = hint->iFrom, hintTo = hint->iTo;
            return 0;
        }
        case LVN_ODFINDITEM: {
            auto* f = reinterpret_cast<NMLVFINDITEM*>(h);
            findStart = f->iStart;
            findText = f->lvfi.psz ? f->lvfi.psz : "";
            return 77777;
        }
        default:
            return 0;
        }
    };
    HWND lv = MakeList(LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL, LVS_EX_FULLROWSELECT);
    AddColumn(lv, 0, "名称", 150);
    AddColumn(lv, 1, "类型", 100);
    SendMessage(lv, LVM_SETITEMCOUNT, 100000, 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETITEMCOUNT, 0, 0), 100000);
    int perPage = static_cast<int>(SendMessage(lv, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(perPage, 3);

    struct Case {
        const char* name;
        std::function<void()> scroll;
        int top;
    };
    const Case cases[] = {
        {"first page",       [] {},                                                                      0                  },
        {"far down by code", [&] { SendMessage(lv, LVM_ENSUREVISIBLE, 90000, FALSE); },                  90000 - perPage + 1},
        {"by the thumb",     [&] { SendMessage(lv, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500), 0); }, 500                },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.scroll();
        asked.clear();
        InvalidateRect(lv, nullptr, TRUE);
        Run();
        EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), c.top);
        ASSERT_FALSE(asked.empty());
        // Only the fully or partly visible rows, each once per column.
        EXPECT_GE(asked.begin()->first, c.top);
        EXPECT_LE(asked.rbegin()->first, c.top + perPage);
        for (auto [item, n] : asked) EXPECT_LE(n, 2) << item;
        EXPECT_EQ(hintFrom, c.top);
        EXPECT_LE(hintTo, c.top + perPage);
    }
    EXPECT_EQ(ItemText(lv, 123, 1), "行123/1");

    // Selection of an item far away from any stored data.
    g_items.clear();
    SetState(lv, 99999, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(Selected(lv), 99999);
    ASSERT_FALSE(g_items.empty());
    EXPECT_EQ(g_items.back().item, 99999);

    // Type-ahead asks the parent, which answers with the index.
    SetFocus(lv);
    Type(U"行");
    EXPECT_EQ(findText, "行");
    EXPECT_EQ(findStart, 0); // after the focused item; none is focused yet
    EXPECT_EQ(Selected(lv), 77777);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 77777 - perPage + 1);

    // Shrinking the count drops the states beyond it.
    SendMessage(lv, LVM_SETITEMCOUNT, 10, 0);
    EXPECT_EQ(Selected(lv), -1);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 0);
}

// In-place label editing: how the edit ends and what the parent answers
// decide the new text.
TEST_F(ListViewTest, LabelEditingCommitsAndCancels) {
    struct Case {
        const char* name;
        std::function<void(HWND lv, HWND edit)> end;
        LRESULT parentKeeps;
        bool gotText; // the end notice carried the typed text (none when cancelled)
        const char* result;
    };
    HWND other = Make(WC_EDIT, 0, 420, 10, 100, 24);
    const Case cases[] = {
        {"Enter commits",                         [](HWND,      HWND) { Key(VK_RETURN); },                                             TRUE,  true,  "新名字"},
        {"Enter but the parent refuses",          [](HWND,      HWND) { Key(VK_RETURN); },                                             FALSE, true,  "旧名字"},
        {"Escape cancels",                        [](HWND,      HWND) { Key(VK_ESCAPE); },                                             TRUE,  false, "旧名字"},
        {"losing the focus commits",              [other](HWND, HWND) { SetFocus(other), Run(); },                                     TRUE,  true,  "新名字"},
        {"a click elsewhere in the list commits", [](HWND lv,   HWND) { Click(lv, 10, 180); },                                         TRUE,  true,
         "新名字"                                                                                                                                            },
        {"code cancels",                          [](HWND lv,   HWND) { SendMessage(lv, LVM_EDITLABEL, static_cast<WPARAM>(-1), 0); },
         TRUE,                                                                                                                                false, "旧名字"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS | LVS_SINGLESEL);
        AddColumn(lv, 0, "名称", 200);
        Insert(lv, 0, "旧名字");
        Insert(lv, 1, "other");
        bool ended = false;
        std::string endText = "unset";
        answer = [&](NMHDR* h) -> LRESULT {
            if (static_cast<int>(h->code) != LVN_ENDLABELEDIT) return 0;
            auto* di = reinterpret_cast<NMLVDISPINFO*>(h);
            ended = true;
            endText = di->item.pszText ? di->item.pszText : "(none)";
            return c.parentKeeps;
        };
        SetFocus(lv);
        HWND edit = reinterpret_cast<HWND>(SendMessage(lv, LVM_EDITLABEL, 0, 0));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(SendMessage(lv, LVM_GETEDITCONTROL, 0, 0), reinterpret_cast<LRESULT>(edit));
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(Text(edit), "旧名字");
        Type(U"新名字"); // replaces the selected text
        c.end(lv, edit);
        EXPECT_TRUE(ended);
        EXPECT_EQ(endText, c.gotText ? "新名字" : "(none)");
        EXPECT_EQ(ItemText(lv, 0), c.result);
        EXPECT_FALSE(IsWindow(edit));
        EXPECT_EQ(SendMessage(lv, LVM_GETEDITCONTROL, 0, 0), 0);
        answer = nullptr;
        DestroyWindow(lv);
    }

    // Refused at the start: no edit.  Without LVS_EDITLABELS F2 does nothing.
    HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS);
    AddColumn(lv, 0, "名称", 200);
    Insert(lv, 0, "甲");
    answer = [](NMHDR* h) -> LRESULT { return static_cast<int>(h->code) == LVN_BEGINLABELEDIT; };
    EXPECT_EQ(SendMessage(lv, LVM_EDITLABEL, 0, 0), 0);
    answer = nullptr;
    DestroyWindow(lv);
    HWND ro = MakeList(LVS_REPORT);
    AddColumn(ro, 0, "名称", 200);
    Insert(ro, 0, "甲");
    SetFocus(ro);
    SetState(ro, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Key(VK_F2);
    EXPECT_EQ(SendMessage(ro, LVM_GETEDITCONTROL, 0, 0), 0);
}

// A second click on the current item's label starts editing once the
// double-click time has passed; a double click does not.
TEST_F(ListViewTest, SlowSecondClickEdits) {
    HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS | LVS_SINGLESEL);
    AddColumn(lv, 0, "名称", 200);
    Insert(lv, 0, "文件");
    int y = ItemRect(lv, 0).top + 2;
    Click(lv, 20, y);
    Advance(1000);
    Click(lv, 20, y);
    EXPECT_EQ(SendMessage(lv, LVM_GETEDITCONTROL, 0, 0), 0);
    Advance(static_cast<int>(GetDoubleClickTime()) + 20);
    HWND edit = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    Key(VK_ESCAPE);
    Advance(1000);
    Click(lv, 20, y);
    Click(lv, 20, y); // the double click
    Advance(static_cast<int>(GetDoubleClickTime()) + 20);
    EXPECT_EQ(SendMessage(lv, LVM_GETEDITCONTROL, 0, 0), 0);
}

// The header tells dividers (also of zero-width sections) from sections;
// dragging a divider resizes live within the column's limits; a section click
// becomes the list view's column click.
TEST_F(ListViewTest, HeaderHitTestAndDividerDrag) {
    HWND lv = MakeList(LVS_REPORT);
    AddColumn(lv, 0, "名称", 100);
    AddColumn(lv, 1, "隐藏", 0, 1);
    AddColumn(lv, 2, "大小", 80);
    HWND header = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    struct Case {
        int x;
        UINT flags;
        int item;
    };
    const Case cases[] = {
        {50,  HHT_ONHEADER,  0 },
        {97,  HHT_ONDIVIDER, 0 },
        {99,  HHT_ONDIVIDER, 0 },
        {101, HHT_ONDIVOPEN, 1 }, // right of the edge: opens the hidden section
        {140, HHT_ONHEADER,  2 },
        {178, HHT_ONDIVIDER, 2 },
        {300, HHT_NOWHERE,   -1},
    };
    for (const Case& c : cases) {
        HDHITTESTINFO info{};
        info.pt = POINT{c.x, 5};
        EXPECT_EQ(SendMessage(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), c.item) << c.x;
        EXPECT_EQ(info.flags, c.flags) << c.x;
        EXPECT_EQ(info.iItem, c.item) << c.x;
    }

    auto drag = [&](int fromX, int toX) {
        Advance(1000); // not a double click on the divider
        POINT a = Screen(header, fromX, 5), b = Screen(header, toX, 5);
        D().MoveMouse(a.x, a.y);
        D().Press();
        D().MoveMouse((a.x + b.x) / 2, a.y);
        D().MoveMouse(b.x, b.y);
        D().Release();
        Run();
    };
    g_notices.clear();
    drag(99, 140);
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0, 0), 141);
    std::vector<int> codes = Codes(header); // forwarded to the list's parent with the header as sender
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), HDN_BEGINTRACK);
    EXPECT_EQ(codes.back(), HDN_ENDTRACK);
    EXPECT_NE(std::find(codes.begin(), codes.end(), HDN_ITEMCHANGED), codes.end());
    RECT r{};
    SendMessage(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 141);
    EXPECT_EQ(ItemRect(lv, 0).right, 0); // no items: nothing changed there

    // The hidden column opens at most to its one pixel.
    drag(142, 200);
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 1, 0), 1);
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0, 0), 141);

    // The parent may refuse the drag at its start.
    answer = [](NMHDR* h) -> LRESULT { return static_cast<int>(h->code) == HDN_BEGINTRACK; };
    drag(140, 60);
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0, 0), 141);
    answer = nullptr;

    // A click on a section is a column click with the column in iSubItem.
    int column = -1;
    answer = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) == LVN_COLUMNCLICK) column = reinterpret_cast<NMLISTVIEW*>(h)->iSubItem;
        return 0;
    };
    Advance(1000);
    Click(header, 170, 5);
    EXPECT_EQ(column, 2);
    // A double click on a divider fits the column to its texts, within its limits.
    Advance(1000);
    DoubleClick(header, 142, 5);
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 1, 0), 1);
}

// List and icon views place items in columns and rows and scroll the way the
// external bars expect.
TEST_F(ListViewTest, ListAndIconViews) {
    HWND lv = MakeList(LVS_LIST, 0, 400, 100);
    for (int i = 0; i < 40; ++i) Insert(lv, i, ("文件" + std::to_string(i)).c_str());
    RECT a = ItemRect(lv, 0), b = ItemRect(lv, 1);
    int rows = 100 / (a.bottom - a.top);
    EXPECT_EQ(b.top, a.bottom);
    RECT next = ItemRect(lv, rows);
    EXPECT_EQ(next.left, a.right); // the next column
    int mn = 0, mx = 0;
    GetScrollRange(lv, SB_HORZ, &mn, &mx);
    EXPECT_EQ(mx, (40 + rows - 1) / rows - 1);
    SendMessage(lv, WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), rows);
    LVHITTESTINFO hit{};
    hit.pt = POINT{5, 2};
    EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), rows);
    EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMLABEL));

    SetWindowLongPtr(lv, GWL_STYLE, (GetWindowLongPtr(lv, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_ICON);
    RECT i0 = ItemRect(lv, 0), i1 = ItemRect(lv, 1);
    EXPECT_EQ(i1.left, i0.right);
    EXPECT_EQ(i1.top, i0.top);
    GetScrollRange(lv, SB_VERT, &mn, &mx);
    int perRow = 400 / (i0.right - i0.left);
    EXPECT_EQ(mx, (40 + perRow - 1) / perRow * (i0.bottom - i0.top) - 1);
    SendMessage(lv, LVM_SCROLL, 0, 30);
    EXPECT_EQ(GetScrollPos(lv, SB_VERT), 30);
    EXPECT_EQ(ItemRect(lv, 0).top, i0.top - 30);
}

// Item, sub-item and column images come from the small image list.
TEST_F(ListViewTest, ItemSubItemAndColumnImages) {
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(mem, 32, 16);
    HGDIOBJ old = SelectObject(mem, strip);
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    RECT left{0, 0, 16, 16}, right{16, 0, 32, 16};
    HBRUSH r = CreateSolidBrush(red), b = CreateSolidBrush(blue);
    FillRect(mem, &left, r);
    FillRect(mem, &right, b);
    SelectObject(mem, old);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 2, 2);
    ASSERT_EQ(ImageList_Add(images, strip, nullptr), 0);

    HWND lv = MakeList(LVS_REPORT, LVS_EX_SUBITEMIMAGES);
    SendMessage(lv, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    LVCOLUMN c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_IMAGE;
    c.fmt = LVCFMT_LEFT | LVCFMT_IMAGE;
    c.cx = 120;
    c.iImage = 1;
    c.pszText = const_cast<char*>("名称");
    SendMessage(lv, LVM_INSERTCOLUMN, 0, reinterpret_cast<LPARAM>(&c));
    AddColumn(lv, 1, "类型", 120);
    LVITEM it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.pszText = const_cast<char*>("视频");
    it.iImage = 0;
    SendMessage(lv, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it));
    it.mask = LVIF_IMAGE;
    it.iSubItem = 1;
    it.iImage = 1;
    SendMessage(lv, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&it));

    // Colours: the background, and behind the texts their own.
    SendMessage(lv, LVM_SETBKCOLOR, 0, RGB(0, 128, 0));
    SendMessage(lv, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 0));
    EXPECT_EQ(PixelAt(lv, 300, 150), RGB(0, 128, 0));
    RECT label = ItemRect(lv, 0, LVIR_LABEL);
    EXPECT_EQ(PixelAt(lv, label.left + 2, label.top + 1), RGB(255, 255, 0));

    RECT icon = ItemRect(lv, 0, LVIR_ICON);
    EXPECT_EQ(icon.right - icon.left, 16);
    EXPECT_EQ(PixelAt(lv, icon.left + 8, (icon.top + icon.bottom) / 2), red);
    RECT sub{LVIR_BOUNDS, 1, 0, 0};
    SendMessage(lv, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&sub));
    EXPECT_EQ(sub.left, 120);
    EXPECT_EQ(PixelAt(lv, sub.left + 6 + 8, (sub.top + sub.bottom) / 2), blue);
    HWND header = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETHEADER, 0, 0));
    RECT hr{};
    GetClientRect(header, &hr);
    EXPECT_EQ(PixelAt(header, 6 + 8, hr.bottom / 2), blue);
    // The label starts after the icon and hits as the label.
    LVHITTESTINFO hit{};
    hit.pt = POINT{static_cast<int>(ItemRect(lv, 0, LVIR_LABEL).left) + 3, (icon.top + icon.bottom) / 2};
    SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMLABEL));
    hit.pt.x = icon.left + 3;
    SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMICON));

    DestroyWindow(lv);
    ImageList_Destroy(images);
    DeleteObject(strip);
    DeleteObject(r);
    DeleteObject(b);
    DeleteDC(mem);
}

// Sorting by the caller's comparison, sorted insertion, and finding by data or text.
TEST_F(ListViewTest, SortAndFind) {
    HWND lv = MakeList(LVS_REPORT);
    AddColumn(lv, 0, "名称", 120);
    const char* names[] = {"gamma", "Alpha", "中文", "beta"};
    for (int i = 0; i < 4; ++i) {
        LVITEM it{};
        it.mask = LVIF_TEXT | LVIF_PARAM;
        it.iItem = i;
        it.pszText = const_cast<char*>(names[i]);
        it.lParam = 10 * (i + 1);
        SendMessage(lv, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it));
    }
    SetState(lv, 0, LVIS_SELECTED, LVIS_SELECTED);
    // Descending by data; the selection travels with its item.
    SendMessage(lv, LVM_SORTITEMS, 1, reinterpret_cast<LPARAM>(+[](LPARAM a, LPARAM b, LPARAM descending) {
                    return static_cast<int>(descending ? b - a : a - b);
                }));
    std::vector<std::string> order;
    for (int i = 0; i < 4; ++i) order.push_back(ItemText(lv, i));
    EXPECT_EQ(order, (std::vector<std::string>{"beta", "中文", "Alpha", "gamma"}));
    EXPECT_EQ(Selected(lv), 3);

    struct Case {
        const char* name;
        LVFINDINFO fi;
        int start, found;
    };
    const Case cases[] = {
        {"by data",               {LVFI_PARAM, nullptr, 30, {}, 0},                        -1, 1 },
        {"exact, any case",       {LVFI_STRING, "ALPHA", 0, {}, 0},                        -1, 2 },
        {"prefix",                {LVFI_STRING | LVFI_PARTIAL, "中", 0, {}, 0},           -1, 1 },
        {"after the start only",  {LVFI_STRING | LVFI_PARTIAL, "b", 0, {}, 0},             0,  -1},
        {"wrapping past the end", {LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP, "b", 0, {}, 0}, 0,  0 },
        {"no match",              {LVFI_STRING, "delta", 0, {}, 0},                        -1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            SendMessage(lv, LVM_FINDITEM, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(&c.fi)),
            c.found)
            << c.name;

    // A sorting list places each new item by its text.
    HWND sorted = MakeList(LVS_REPORT | LVS_SORTASCENDING);
    AddColumn(sorted, 0, "名称", 120);
    for (const char* n : names) Insert(sorted, 0, n);
    order.clear();
    for (int i = 0; i < 4; ++i) order.push_back(ItemText(sorted, i));
    EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "beta", "gamma", "中文"}));
}

// The keys move the focus and selection as Win32 users know them, by view.
TEST_F(ListViewTest, KeyboardNavigation) {
    HWND lv = MakeList(LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS, 0, 300, 150);
    AddColumn(lv, 0, "名称", 200);
    for (int i = 0; i < 50; ++i) Insert(lv, i, ("第" + std::to_string(i) + "项").c_str());
    SetFocus(lv);
    int page = static_cast<int>(SendMessage(lv, LVM_GETCOUNTPERPAGE, 0, 0));
    auto focused = [&] {
        return static_cast<int>(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    };
    struct Case {
        int vk;
        int focus, top;
    };
    const Case cases[] = {
        {VK_DOWN,  0,            0        }, // nothing focused yet: the first item
        {VK_DOWN,  1,            0        },
        {VK_NEXT,  page - 1,     0        }, // to the bottom of the page
        {VK_NEXT,  2 * page - 2, page - 1 }, // then a page further
        {VK_PRIOR, page - 1,     page - 1 }, // to the top of the page
        {VK_END,   49,           50 - page},
        {VK_HOME,  0,            0        },
        {VK_UP,    0,            0        },
    };
    for (const Case& c : cases) {
        Key(c.vk);
        EXPECT_EQ(focused(), c.focus) << c.vk;
        EXPECT_EQ(Selected(lv), c.focus) << c.vk;
        EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), c.top) << c.vk;
    }
    EXPECT_TRUE(Sent(lv, LVN_KEYDOWN));
    Key(VK_F2);
    HWND edit = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Text(edit), "第0项");
    Key(VK_ESCAPE);
    EXPECT_EQ(GetFocus(), lv);
}

// With header drag and drop a section dragged sideways moves its column;
// the parent may refuse the move.
TEST_F(ListViewTest, HeaderDragReordersColumns) {
    HWND lv = MakeList(LVS_REPORT, LVS_EX_HEADERDRAGDROP);
    AddColumn(lv, 0, "名称", 100);
    AddColumn(lv, 1, "大小", 60);
    AddColumn(lv, 2, "类型", 80);
    Insert(lv, 0, "文件");
    HWND header = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETHEADER, 0, 0));
    auto order = [&] {
        std::vector<int> o(3);
        SendMessage(lv, LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(o.data()));
        return o;
    };
    auto drag = [&](int fromX, int toX) {
        Advance(1000);
        POINT a = Screen(header, fromX, 5), b = Screen(header, toX, 5);
        D().MoveMouse(a.x, a.y);
        D().Press();
        D().MoveMouse(b.x, b.y);
        D().Release();
        Run();
    };
    bool refuse = false;
    int clicks = 0;
    answer = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) == LVN_COLUMNCLICK) ++clicks;
        return refuse && static_cast<int>(h->code) == HDN_ENDDRAG;
    };
    drag(50, 200); // "名称" onto "类型"
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(clicks, 0); // a drag is no click
    RECT sub{LVIR_BOUNDS, 2, 0, 0};
    SendMessage(lv, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&sub));
    EXPECT_EQ(sub.left, 60);
    RECT label = ItemRect(lv, 0, LVIR_LABEL);
    EXPECT_GE(label.left, 60 + 80);
    EXPECT_EQ(label.right, 60 + 80 + 100);
    refuse = true;
    drag(10, 200);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 0}));
    // Without the style the gesture moves nothing; a click is still a click.
    refuse = false;
    SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, 0);
    drag(10, 200);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(clicks, 0);
    Advance(1000);
    Click(header, 10, 5);
    EXPECT_EQ(clicks, 1);
}

// Items whose texts and images the parent supplies, as the class library
// keeps them: asked for each time unless the parent says to keep the answer.
TEST_F(ListViewTest, CallbackTextsAndImages) {
    int asked = 0;
    bool keep = false;
    answer = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) != LVN_GETDISPINFO) return 0;
        auto* di = reinterpret_cast<NMLVDISPINFO*>(h);
        ++asked;
        static std::string text;
        text = "回答" + std::to_string(di->item.lParam) + "." + std::to_string(di->item.iSubItem);
        if (di->item.mask & LVIF_TEXT) di->item.pszText = text.data(); // the parent's own buffer
        if (di->item.mask & LVIF_IMAGE) di->item.iImage = 5;
        if (keep) di->item.mask |= LVIF_DI_SETITEM;
        return 0;
    };
    HWND lv = MakeList(LVS_REPORT);
    AddColumn(lv, 0, "名称", 100);
    AddColumn(lv, 1, "类型", 100);
    LVITEM it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    it.pszText = LPSTR_TEXTCALLBACK;
    it.iImage = I_IMAGECALLBACK;
    it.lParam = 7;
    SendMessage(lv, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it));
    SetSub(lv, 0, 1, LPSTR_TEXTCALLBACK);
    EXPECT_EQ(ItemText(lv, 0), "回答7.0");
    EXPECT_EQ(ItemText(lv, 0, 1), "回答7.1");
    LVITEM get{};
    get.mask = LVIF_IMAGE;
    SendMessage(lv, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&get));
    EXPECT_EQ(get.iImage, 5);
    asked = 0;
    ItemText(lv, 0);
    EXPECT_EQ(asked, 1);
    keep = true;
    ItemText(lv, 0);
    keep = false;
    asked = 0;
    EXPECT_EQ(ItemText(lv, 0), "回答7.0");
    EXPECT_EQ(asked, 0); // kept
    // While redrawing is held back, adding rows asks for nothing; resuming paints them.
    SendMessage(lv, WM_SETREDRAW, FALSE, 0);
    for (int i = 1; i < 20; ++i) {
        it.iItem = i;
        it.lParam = i;
        SendMessage(lv, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it));
    }
    asked = 0;
    Run();
    EXPECT_EQ(asked, 0);
    SendMessage(lv, WM_SETREDRAW, TRUE, 0);
    Run();
    EXPECT_GT(asked, 0);
    // Finding by text asks as well.
    LVFINDINFO fi{LVFI_STRING, "回答7.1", 0, {}, 0};
    SetSub(lv, 0, 0, LPSTR_TEXTCALLBACK);
    EXPECT_EQ(SendMessage(lv, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&fi)), -1);
    fi.psz = "回答7.0";
    EXPECT_EQ(SendMessage(lv, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&fi)), 0);
}

// An item or node deleted while its label is being edited ends the edit without a commit.
TEST_F(ListViewTest, DeletingTheEditedItemCancelsTheEdit) {
    HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS);
    AddColumn(lv, 0, "名称", 200);
    Insert(lv, 0, "甲");
    Insert(lv, 1, "乙");
    std::string endText = "none";
    answer = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) == LVN_ENDLABELEDIT) {
            auto* di = reinterpret_cast<NMLVDISPINFO*>(h);
            endText = di->item.pszText ? di->item.pszText : "(cancelled)";
        }
        return static_cast<int>(h->code) == LVN_ENDLABELEDIT;
    };
    SetFocus(lv);
    HWND edit = reinterpret_cast<HWND>(SendMessage(lv, LVM_EDITLABEL, 1, 0));
    ASSERT_NE(edit, nullptr);
    Type(U"丙");
    SendMessage(lv, LVM_DELETEITEM, 0, 0); // an item before it: the edit follows its item
    EXPECT_TRUE(IsWindow(edit));
    Key(VK_RETURN);
    EXPECT_EQ(endText, "丙");
    EXPECT_EQ(ItemText(lv, 0), "丙");

    edit = reinterpret_cast<HWND>(SendMessage(lv, LVM_EDITLABEL, 0, 0));
    ASSERT_NE(edit, nullptr);
    endText = "none";
    SendMessage(lv, LVM_DELETEITEM, 0, 0);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(endText, "(cancelled)");
    EXPECT_EQ(SendMessage(lv, LVM_GETITEMCOUNT, 0, 0), 0);
}

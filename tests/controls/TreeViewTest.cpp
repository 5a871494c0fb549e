#include "ControlsFixture.h"

#include "controls/CommCtrlLists.h"
#include "win/Scroll.h"

#include <cstring>

namespace {

struct TreeNotice {
    int code;
    UINT action;
    HTREEITEM oldItem, newItem;
};
std::vector<TreeNotice> g_tree;

HTREEITEM Add(HWND tv, HTREEITEM parent, const char* text, int children = -2, LPARAM data = 0,
              HTREEITEM after = TVI_LAST) {
    TVINSERTSTRUCT is{};
    is.hParent = parent;
    is.hInsertAfter = after;
    is.item.mask = TVIF_TEXT | TVIF_PARAM | (children != -2 ? TVIF_CHILDREN : 0u);
    is.item.pszText = const_cast<char*>(text);
    is.item.cChildren = children;
    is.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessage(tv, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&is)));
}

HTREEITEM Next(HWND tv, HTREEITEM h, UINT code) {
    return reinterpret_cast<HTREEITEM>(SendMessage(tv, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(h)));
}

std::string NodeText(HWND tv, HTREEITEM h) {
    char buf[256] = {};
    TVITEM it{};
    it.mask = TVIF_TEXT;
    it.hItem = h;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessage(tv, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it));
    return buf;
}

std::vector<std::string> Children(HWND tv, HTREEITEM parent) {
    std::vector<std::string> out;
    for (HTREEITEM c = Next(tv, parent, TVGN_CHILD); c; c = Next(tv, c, TVGN_NEXT))
        out.push_back(NodeText(tv, c));
    return out;
}

UINT State(HWND tv, HTREEITEM h) {
    return static_cast<UINT>(SendMessage(tv, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), 0xFFFF));
}

RECT NodeRect(HWND tv, HTREEITEM h, bool textOnly = true) {
    RECT r{};
    std::memcpy(static_cast<void*>(&r), &h, sizeof h);
    if (!SendMessage(tv, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r)))
        return RECT{-1, -1, -1, -1};
    return r;
}

} // namespace

class TreeViewTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        g_tree.clear();
        g_onNotify = [](NMHDR* h) -> LRESULT {
            int code = static_cast<int>(h->code);
            if (code == TVN_ITEMEXPANDING || code == TVN_ITEMEXPANDED || code == TVN_SELCHANGING ||
                code == TVN_SELCHANGED || code == TVN_DELETEITEM) {
                auto* nm = reinterpret_cast<NMTREEVIEW*>(h);
                g_tree.push_back({code, nm->action, nm->itemOld.hItem, nm->itemNew.hItem});
            }
            return answer ? answer(h) : 0;
        };
    }
    void TearDown() override {
        answer = nullptr;
        ControlsTest::TearDown();
    }
    HWND MakeTree(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int h = 200) {
        return Make(WC_TREEVIEW, style, 10, 10, 250, h);
    }
    std::vector<int> TreeCodes() const {
        std::vector<int> out;
        for (const TreeNotice& n : g_tree) out.push_back(n.code);
        return out;
    }
    static inline std::function<LRESULT(NMHDR*)> answer;
};

// Folders load their children when first expanded: the expanding notice
// fills them in.  Code expansions are announced until the node has once been
// expanded; the user's always; a reset collapse forgets the children.
TEST_F(TreeViewTest, ExpandOnDemand) {
    HWND tv = MakeTree();
    HTREEITEM root = Add(tv, TVI_ROOT, "计算机", 1);
    HTREEITEM empty = Add(tv, TVI_ROOT, "空文件夹", 0);
    int loads = 0;
    bool refuse = false;
    answer = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) != TVN_ITEMEXPANDING) return 0;
        auto* nm = reinterpret_cast<NMTREEVIEW*>(h);
        if (refuse) return TRUE;
        if (nm->action == TVE_EXPAND && !Next(tv, nm->itemNew.hItem, TVGN_CHILD)) {
            ++loads;
            Add(tv, nm->itemNew.hItem, "本地磁盘 (C:)", 1);
            Add(tv, nm->itemNew.hItem, "文档", 0);
        }
        return 0;
    };
    const UINT E = TVIS_EXPANDED, ONCE = TVIS_EXPANDEDONCE;
    RECT r = NodeRect(tv, root);
    int indent = static_cast<int>(SendMessage(tv, TVM_GETINDENT, 0, 0));
    POINT button{r.left - indent / 2, (r.top + r.bottom) / 2}; // the middle of the button column
    TVHITTESTINFO hit{};
    hit.pt = button;
    SendMessage(tv, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    ASSERT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMBUTTON));

    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<int> notices;
        UINT state;
        int loads;
    };
    std::vector<Case> cases = {
        {"code expands: announced, children loaded",
         [&] { EXPECT_TRUE(SendMessage(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root))); },
         {TVN_ITEMEXPANDING, TVN_ITEMEXPANDED},
         E | ONCE,
         1                                                                                                                                                        },
        {"code collapses after the first expansion: silent",
         [&] { SendMessage(tv, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root)); },
         {},
         ONCE,                                                                                                                                                   1},
        {"the user's click on the button: announced",
         [&] { Click(tv, button.x, button.y); },
         {TVN_ITEMEXPANDING, TVN_ITEMEXPANDED},
         E | ONCE,
         1                                                                                                                                                        },
        {"Left on the selected node collapses it",
         [&] {
             SendMessage(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
             g_tree.clear();
             Key(VK_LEFT);
         },                                                                                                         {TVN_ITEMEXPANDING, TVN_ITEMEXPANDED},
         ONCE,                                                                                                                                                   1},
        {"refused",                                          [&] { refuse = true, Key(VK_RIGHT), refuse = false; }, {TVN_ITEMEXPANDING},                   ONCE, 1},
        {"a reset collapse deletes the children",
         [&] {
             SendMessage(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
             g_tree.clear();
             SendMessage(tv, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(root));
         },                                                                                                         {TVN_DELETEITEM, TVN_DELETEITEM},
         0,                                                                                                                                                      1},
        {"and the next expansion loads again",
         [&] { SendMessage(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root)); },
         {TVN_ITEMEXPANDING, TVN_ITEMEXPANDED},
         E | ONCE,
         2                                                                                                                                                        },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_tree.clear();
        c.act();
        std::vector<int> codes;
        for (const TreeNotice& n : g_tree)
            if (n.code != TVN_SELCHANGING && n.code != TVN_SELCHANGED) codes.push_back(n.code);
        EXPECT_EQ(codes, c.notices);
        for (const TreeNotice& n : g_tree) {
            if (n.code == TVN_ITEMEXPANDING || n.code == TVN_ITEMEXPANDED) {
                EXPECT_EQ(n.newItem, root);
            }
        }
        EXPECT_EQ(State(tv, root) & (E | ONCE), c.state);
        EXPECT_EQ(loads, c.loads);
    }
    EXPECT_EQ(Children(tv, root), (std::vector<std::string>{"本地磁盘 (C:)", "文档"}));
    EXPECT_EQ(SendMessage(tv, TVM_GETCOUNT, 0, 0), 4);

    // A node that says it has no children neither expands nor asks.
    g_tree.clear();
    EXPECT_FALSE(SendMessage(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(empty)));
    EXPECT_TRUE(g_tree.empty());
    // One that leaves the answer to the parent is asked.
    TVITEM it{};
    it.mask = TVIF_CHILDREN;
    it.hItem = empty;
    it.cChildren = I_CHILDRENCALLBACK;
    SendMessage(tv, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&it));
    answer = [](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) == TVN_GETDISPINFO)
            reinterpret_cast<NMTVDISPINFO*>(h)->item.cChildren = 1;
        return 0;
    };
    EXPECT_TRUE(SendMessage(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(empty)));
    EXPECT_EQ(TreeCodes(), (std::vector<int>{TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
}

// Selection changes are announced with their cause and can be refused;
// collapsing or deleting around the selection moves it.
TEST_F(TreeViewTest, SelectionAndDeletion) {
    HWND tv = MakeTree();
    HTREEITEM a = Add(tv, TVI_ROOT, "视频", 0, 1);
    HTREEITEM a1 = Add(tv, a, "电影", 0, 2);
    HTREEITEM a2 = Add(tv, a, "音乐", 0, 3);
    HTREEITEM b = Add(tv, TVI_ROOT, "图片", 0, 4);
    auto sel = [&] { return Next(tv, nullptr, TVGN_CARET); };
    SetFocus(tv);
    struct Case {
        const char* name;
        std::function<void()> act;
        UINT cause;
        HTREEITEM from, to;
    };
    const Case cases[] = {
        {"code selects a hidden node: its parent opens",
         [&] { SendMessage(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a2)); }, TVC_UNKNOWN,
         nullptr,                                                                                                a2},
        {"Up",                                           [&] { Key(VK_UP); },                TVC_BYKEYBOARD, a2, a1},
        {"a click on a label",
         [&] {
             RECT r = NodeRect(tv, b);
             Click(tv, r.left + 3, r.top + 3);
         },                                                                                  TVC_BYMOUSE,    a1, b },
        {"Home",                                         [&] { Key(VK_HOME); },              TVC_BYKEYBOARD, b,  a },
        {"type-ahead",                                   [&] { Type(U"音"); },              TVC_BYKEYBOARD, a,  a2},
        {"collapsing the parent selects it",
         [&] { SendMessage(tv, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(a)); },    TVC_UNKNOWN,    a2, a },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_tree.clear();
        c.act();
        std::vector<TreeNotice> sels;
        for (const TreeNotice& n : g_tree)
            if (n.code == TVN_SELCHANGING || n.code == TVN_SELCHANGED) sels.push_back(n);
        ASSERT_EQ(sels.size(), 2u);
        EXPECT_EQ(sels[0].code, TVN_SELCHANGING);
        EXPECT_EQ(sels[1].code, TVN_SELCHANGED);
        for (const TreeNotice& n : sels) {
            EXPECT_EQ(n.action, c.cause);
            EXPECT_EQ(n.oldItem, c.from);
            EXPECT_EQ(n.newItem, c.to);
        }
        EXPECT_EQ(sel(), c.to);
        EXPECT_TRUE(State(tv, c.to) & TVIS_SELECTED);
    }
    EXPECT_TRUE(State(tv, a) & TVIS_EXPANDEDONCE);

    // Refused: the selection stays.
    answer = [](NMHDR* h) -> LRESULT { return static_cast<int>(h->code) == TVN_SELCHANGING; };
    EXPECT_FALSE(SendMessage(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b)));
    EXPECT_EQ(sel(), a);
    answer = nullptr;

    // Deleting the selected node moves the selection to its next sibling;
    // children are announced before their parent, with their data.
    std::vector<std::pair<HTREEITEM, LPARAM>> deleted;
    answer = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) == TVN_DELETEITEM) {
            auto* nm = reinterpret_cast<NMTREEVIEW*>(h);
            deleted.push_back({nm->itemOld.hItem, nm->itemOld.lParam});
        }
        return 0;
    };
    g_tree.clear();
    EXPECT_TRUE(SendMessage(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a)));
    EXPECT_EQ(deleted, (std::vector<std::pair<HTREEITEM, LPARAM>>{
                           {a1, 2},
                           {a2, 3},
                           {a,  1}
    }));
    EXPECT_EQ(sel(), b);
    EXPECT_EQ(SendMessage(tv, TVM_GETCOUNT, 0, 0), 1);
    // Stale handles are refused, not followed.
    EXPECT_EQ(Next(tv, a1, TVGN_PARENT), nullptr);
    EXPECT_FALSE(SendMessage(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a1)));
    // Everything: the selection goes without a word.
    deleted.clear();
    EXPECT_TRUE(SendMessage(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    EXPECT_EQ(deleted.size(), 1u);
    EXPECT_EQ(sel(), nullptr);
    EXPECT_EQ(SendMessage(tv, TVM_GETCOUNT, 0, 0), 0);
}

// Visible count, scroll information and the top item move together; the
// thumb message the external bars send scrolls the tree.
TEST_F(TreeViewTest, ScrollInfoAndTopItem) {
    HWND tv = MakeTree(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 100);
    std::vector<HTREEITEM> folders;
    for (int i = 0; i < 5; ++i) folders.push_back(Add(tv, TVI_ROOT, ("文件夹" + std::to_string(i)).c_str()));
    for (int i = 0; i < 10; ++i) Add(tv, folders[1], ("子项" + std::to_string(i)).c_str());
    int height = static_cast<int>(SendMessage(tv, TVM_GETITEMHEIGHT, 0, 0));
    int count = static_cast<int>(SendMessage(tv, TVM_GETVISIBLECOUNT, 0, 0));
    EXPECT_EQ(count, 100 / height);
    auto range = [&] {
        int mn = -1, mx = -1;
        GetScrollRange(tv, SB_VERT, &mn, &mx);
        return mx;
    };
    EXPECT_EQ(range(), 4); // five root nodes
    SendMessage(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folders[1]));
    EXPECT_EQ(range(), 14);
    SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(tv, SB_VERT, &si);
    EXPECT_EQ(static_cast<int>(si.nPage), count);

    SendMessage(tv, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 6), 0);
    EXPECT_EQ(GetScrollPos(tv, SB_VERT), 6);
    HTREEITEM top = Next(tv, nullptr, TVGN_FIRSTVISIBLE);
    EXPECT_EQ(NodeText(tv, top), "子项4");
    EXPECT_EQ(NodeRect(tv, top, false).top, 0);
    SendMessage(tv, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(GetScrollPos(tv, SB_VERT), 15 - count);
    SendMessage(tv, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(folders[0]));
    EXPECT_EQ(GetScrollPos(tv, SB_VERT), 0);
    // Selecting below the page scrolls it into view.
    SendMessage(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folders[4]));
    RECT r = NodeRect(tv, folders[4], false);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, 100);

    // Hit tests along one row: indent, button, label, right of it.
    SendMessage(tv, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(folders[0]));
    RECT label = NodeRect(tv, folders[1]);
    int y = (label.top + label.bottom) / 2;
    struct Case {
        int x;
        UINT flags;
    };
    const Case cases[] = {
        {label.left - 10, TVHT_ONITEMBUTTON},
        {label.left + 2,  TVHT_ONITEMLABEL },
        {label.right + 5, TVHT_ONITEMRIGHT },
    };
    for (const Case& c : cases) {
        TVHITTESTINFO hit{};
        hit.pt = POINT{c.x, y};
        EXPECT_EQ(SendMessage(tv, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)),
                  reinterpret_cast<LRESULT>(folders[1]));
        EXPECT_EQ(hit.flags, c.flags) << c.x;
    }
    // A child sits one indent further in.
    HTREEITEM child = Next(tv, folders[1], TVGN_CHILD);
    EXPECT_EQ(NodeRect(tv, child).left - label.left, SendMessage(tv, TVM_GETINDENT, 0, 0));
    // The parent chain gives the level.
    int level = 0;
    for (HTREEITEM p = Next(tv, child, TVGN_PARENT); p; p = Next(tv, p, TVGN_PARENT)) ++level;
    EXPECT_EQ(level, 1);
    EXPECT_EQ(NodeRect(tv, Next(tv, folders[3], TVGN_CHILD)).left, -1); // not visible
}

// Sorting by text (case-insensitive) or by the caller's comparison of data.
TEST_F(TreeViewTest, SortChildren) {
    HWND tv = MakeTree();
    HTREEITEM p = Add(tv, TVI_ROOT, "根");
    Add(tv, p, "beta", -2, 2);
    Add(tv, p, "Alpha", -2, 3);
    Add(tv, p, "中文", -2, 1);
    SendMessage(tv, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(p));
    EXPECT_EQ(Children(tv, p), (std::vector<std::string>{"Alpha", "beta", "中文"}));
    TVSORTCB cb{p,
                [](LPARAM a, LPARAM b, LPARAM descending) -> int {
                    return descending ? static_cast<int>(b - a) : static_cast<int>(a - b);
                },
                1};
    SendMessage(tv, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&cb));
    EXPECT_EQ(Children(tv, p), (std::vector<std::string>{"Alpha", "beta", "中文"}));
    cb.lParam = 0;
    SendMessage(tv, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&cb));
    EXPECT_EQ(Children(tv, p), (std::vector<std::string>{"中文", "beta", "Alpha"}));
    // Inserting sorted finds its place among sorted children.
    SendMessage(tv, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(p));
    Add(tv, p, "Gamma", -2, 0, TVI_SORT);
    EXPECT_EQ(Children(tv, p), (std::vector<std::string>{"Alpha", "beta", "Gamma", "中文"}));
}

// Label editing: Enter commits when the parent agrees, Escape cancels.
TEST_F(TreeViewTest, LabelEditing) {
    struct Case {
        int key;
        LRESULT keep;
        const char* endText;
        const char* result;
    };
    const Case cases[] = {
        {VK_RETURN, TRUE,  "新文件夹", "新文件夹"},
        {VK_RETURN, FALSE, "新文件夹", "旧文件夹"},
        {VK_ESCAPE, TRUE,  "(none)",       "旧文件夹"},
    };
    for (const Case& c : cases) {
        HWND tv = MakeTree(TVS_HASBUTTONS | TVS_EDITLABELS);
        HTREEITEM n = Add(tv, TVI_ROOT, "旧文件夹");
        std::string endText;
        answer = [&](NMHDR* h) -> LRESULT {
            if (static_cast<int>(h->code) != TVN_ENDLABELEDIT) return 0;
            auto* di = reinterpret_cast<NMTVDISPINFO*>(h);
            endText = di->item.pszText ? di->item.pszText : "(none)";
            return c.keep;
        };
        SendMessage(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(n));
        SetFocus(tv);
        Key(VK_F2);
        HWND edit = reinterpret_cast<HWND>(SendMessage(tv, TVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(GetFocus(), edit);
        Type(U"新文件夹");
        Key(c.key);
        EXPECT_EQ(endText, c.endText);
        EXPECT_EQ(NodeText(tv, n), c.result);
        EXPECT_FALSE(IsWindow(edit));
        EXPECT_EQ(GetFocus(), tv);
        answer = nullptr;
        DestroyWindow(tv);
    }
}

// Left and Right open, close and walk the levels; the keypad's + and - expand and collapse.
TEST_F(TreeViewTest, KeyboardWalksTheLevels) {
    HWND tv = MakeTree();
    HTREEITEM a = Add(tv, TVI_ROOT, "甲");
    HTREEITEM a1 = Add(tv, a, "乙");
    HTREEITEM a11 = Add(tv, a1, "丙");
    HTREEITEM b = Add(tv, TVI_ROOT, "丁");
    SetFocus(tv);
    SendMessage(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    struct Case {
        int vk;
        HTREEITEM selected;
        bool aOpen;
    };
    const Case cases[] = {
        {VK_RIGHT, a,   true }, // opens
        {VK_RIGHT, a1,  true }, // then goes to the first child
        {VK_RIGHT, a1,  true },
        {VK_RIGHT, a11, true },
        {VK_LEFT,  a1,  true }, // a leaf goes to its parent
        {VK_LEFT,  a1,  true }, // an open node closes
        {VK_LEFT,  a,   true },
        {VK_LEFT,  a,   false},
        {VK_DOWN,  b,   false},
        {VK_UP,    a,   false},
        {0x6B,     a,   true }, // keypad +
        {VK_END,   b,   true },
        {VK_HOME,  a,   true },
        {0x6D,     a,   false}, // keypad -
    };
    for (const Case& c : cases) {
        Key(c.vk);
        EXPECT_EQ(Next(tv, nullptr, TVGN_CARET), c.selected) << c.vk;
        EXPECT_EQ((State(tv, a) & TVIS_EXPANDED) != 0, c.aOpen) << c.vk;
    }
}

// Deleting the node under edit (or its parent) ends the edit without a commit.
TEST_F(TreeViewTest, DeletingTheEditedNodeCancelsTheEdit) {
    HWND tv = MakeTree(TVS_HASBUTTONS | TVS_EDITLABELS);
    HTREEITEM p = Add(tv, TVI_ROOT, "父");
    HTREEITEM c = Add(tv, p, "子");
    std::string endText = "none";
    answer = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) == TVN_ENDLABELEDIT) {
            auto* di = reinterpret_cast<NMTVDISPINFO*>(h);
            endText = di->item.pszText ? di->item.pszText : "(cancelled)";
        }
        return static_cast<int>(h->code) == TVN_ENDLABELEDIT;
    };
    SetFocus(tv);
    HWND edit = reinterpret_cast<HWND>(SendMessage(tv, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(c)));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(State(tv, p) & TVIS_EXPANDED); // made visible for the edit
    Type(U"新");
    SendMessage(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(p));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(endText, "(cancelled)");
    EXPECT_EQ(SendMessage(tv, TVM_GETCOUNT, 0, 0), 0);
}

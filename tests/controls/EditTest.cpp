#include "ControlsFixture.h"

#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Scroll.h"

namespace {
std::pair<size_t, size_t> Sel(HWND e) {
    DWORD a = 0, b = 0;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {a, b};
}
} // namespace

// Typed text (Chinese too) lands at the caret; keys move and select as Win32 users know them.
TEST_F(ControlsTest, EditTypingAndKeyboardSelection) {
    HWND e = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 200, 24);
    Click(e, 5, 5);
    ASSERT_EQ(GetFocus(), e);
    Type(U"abc 转换器 def");
    EXPECT_EQ(Text(e), "abc 转换器 def");
    EXPECT_EQ(Codes(e).back(), EN_CHANGE);

    struct Case {
        int vk, modifier;
        std::pair<size_t, size_t> sel;
    };
    // Positions are byte offsets: "abc " is 4, "转换器" 9 more, " def" 4 more.
    const Case cases[] = {
        {VK_HOME,  0,          {0, 0}  },
        {VK_RIGHT, VK_CONTROL, {4, 4}  }, // the next word
        {VK_RIGHT, VK_SHIFT,   {4, 7}  }, // one Chinese character
        {VK_RIGHT, VK_SHIFT,   {4, 10} },
        {VK_LEFT,  0,          {4, 4}  }, // collapses to the selection's start
        {VK_END,   VK_SHIFT,   {4, 17} },
        {VK_LEFT,  VK_CONTROL, {14, 14}}, // back to "def"
        {VK_HOME,  VK_SHIFT,   {0, 14} },
    };
    for (const Case& c : cases) {
        Key(c.vk, c.modifier);
        EXPECT_EQ(Sel(e), c.sel) << "key " << c.vk << " with " << c.modifier;
    }
    // Typing over a selection replaces it; Backspace deletes a whole character.
    Type(U"新");
    EXPECT_EQ(Text(e), "新def");
    Key(VK_END);
    Key(VK_BACK);
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(Text(e), "de");
}

// Cut, copy, paste and one level of undo that redoes when asked twice.
TEST_F(ControlsTest, EditClipboardAndUndo) {
    HWND e = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 200, 24);
    Click(e, 5, 5);
    Type(U"视频 file");
    Key(VK_HOME, VK_CONTROL);
    Key(VK_RIGHT, VK_CONTROL); // after "视频 "
    Key(VK_END, VK_SHIFT);
    Key('C', VK_CONTROL);
    EXPECT_EQ(win::GetClipboardText(), "file");
    Key(VK_HOME);
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(e), "file视频 file");
    EXPECT_TRUE(SendMessage(e, EM_CANUNDO, 0, 0));

    Key('Z', VK_CONTROL);
    EXPECT_EQ(Text(e), "视频 file");
    Key('Z', VK_CONTROL); // undoing the undo puts the paste back
    EXPECT_EQ(Text(e), "file视频 file");

    SendMessage(e, EM_SETSEL, 0, 4);
    Key('X', VK_CONTROL);
    EXPECT_EQ(Text(e), "视频 file");
    EXPECT_EQ(win::GetClipboardText(), "file");
    // A run of typing undoes as one.
    Key(VK_END);
    Type(U"abc");
    SendMessage(e, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(e), "视频 file");

    // Setting the text empties the undo buffer.
    SetWindowText(e, "new");
    EXPECT_FALSE(SendMessage(e, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessage(e, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(e), "new");

    // Select all with Ctrl+A, clear.
    Key('A', VK_CONTROL);
    SendMessage(e, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(e), "");

    // One line takes pasted text up to its first line break; several lines take it all.
    win::SetClipboardText("第一\r\nsecond");
    SendMessage(e, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(e), "第一");
    HWND m = Make(WC_EDIT, ES_MULTILINE, 10, 40, 200, 60);
    SendMessage(m, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(m), "第一\r\nsecond");
    EXPECT_EQ(SendMessage(m, EM_GETLINECOUNT, 0, 0), 2);
}

// Styles and limits that refuse or change what is typed or copied.
TEST_F(ControlsTest, EditStylesFilterInput) {
    struct Case {
        const char* name;
        DWORD style;
        int limit;
        const char32_t* typed;
        const char* text;
        bool copies; // Ctrl+A, Ctrl+C puts the text on the clipboard
    };
    const Case cases[] = {
        {"plain",               0,            0, U"Ab1",          "initAb1",    true },
        {"read-only",           ES_READONLY,  0, U"xyz",          "init",       true },
        {"upper case",          ES_UPPERCASE, 0, U"ab中",        "initAB中",  true },
        {"lower case",          ES_LOWERCASE, 0, U"AB",           "initab",     true },
        {"digits only",         ES_NUMBER,    0, U"1a2",          "init12",     true },
        {"limit in characters", 0,            6, U"格式转换", "init格式", true },
        {"password",            ES_PASSWORD,  0, U"pw",           "initpw",     false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND e = Make(WC_EDIT, ES_AUTOHSCROLL | c.style, 10, 10, 200, 24, "init");
        if (c.limit) SendMessage(e, EM_LIMITTEXT, static_cast<WPARAM>(c.limit), 0);
        Click(e, 190, 5);
        Key(VK_END);
        g_notices.clear();
        win::SetClipboardText("before");
        Type(c.typed);
        EXPECT_EQ(Text(e), c.text);
        if (c.limit) {
            EXPECT_TRUE(Sent(e, EN_MAXTEXT));
        }
        Key('A', VK_CONTROL);
        Key('C', VK_CONTROL);
        EXPECT_EQ(win::GetClipboardText(), c.copies ? c.text : "before");
        // Read-only keeps everything but moving, selecting and copying.
        if (c.style == ES_READONLY) {
            Key(VK_DELETE);
            Key('X', VK_CONTROL);
            Key('V', VK_CONTROL);
            EXPECT_EQ(Text(e), "init");
            EXPECT_FALSE(Sent(e, EN_CHANGE));
        }
        DestroyWindow(e);
    }
    HWND p = Make(WC_EDIT, ES_PASSWORD, 10, 10, 200, 24);
    EXPECT_EQ(SendMessage(p, EM_GETPASSWORDCHAR, 0, 0), '*');
    SendMessage(p, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_FALSE(GetWindowLongPtr(p, GWL_STYLE) & ES_PASSWORD);
}

// EN_UPDATE comes before EN_CHANGE, for typing and for code.
TEST_F(ControlsTest, EditNoticeOrder) {
    HWND e = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 200, 24);
    g_notices.clear();
    SetWindowText(e, "x");
    EXPECT_EQ(Codes(e), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
    Click(e, 5, 5);
    EXPECT_EQ(Codes(e).back(), EN_SETFOCUS);
    g_notices.clear();
    SetFocus(host);
    Run();
    EXPECT_EQ(Codes(e), std::vector<int>{EN_KILLFOCUS});
}

// The mouse places the caret where it points, drags a selection and double-clicks a word.
TEST_F(ControlsTest, EditMouseSelection) {
    HWND e = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 300, 24, "hello 世界 again");
    POINT w = {static_cast<LONG>(LOWORD(SendMessage(e, EM_POSFROMCHAR, 6, 0))), 5}; // before "世"
    Click(e, w.x + 1, 5);
    EXPECT_EQ(Sel(e), std::make_pair(size_t{6}, size_t{6}));
    // Drag from there to the end of "界" (late enough not to be a double click).
    Advance(1000);
    int endX = LOWORD(SendMessage(e, EM_POSFROMCHAR, 12, 0));
    POINT a = Screen(e, w.x + 1, 5), b = Screen(e, endX, 5);
    D().MoveMouse(a.x, a.y);
    D().Press();
    D().MoveMouse(b.x, b.y);
    D().Release();
    Run();
    EXPECT_EQ(Sel(e), std::make_pair(size_t{6}, size_t{12}));
    EXPECT_EQ(GetCapture(), nullptr);
    // A double click selects the word with the spaces after it; far right is the end.
    Advance(1000);
    int againX = LOWORD(SendMessage(e, EM_POSFROMCHAR, 14, 0));
    DoubleClick(e, againX, 5);
    EXPECT_EQ(Sel(e), std::make_pair(size_t{13}, size_t{18}));
    Advance(1000);
    DoubleClick(e, w.x + 3, 5);
    EXPECT_EQ(Sel(e), std::make_pair(size_t{6}, size_t{13}));
    EXPECT_EQ(LOWORD(SendMessage(e, EM_CHARFROMPOS, 0, MAKELPARAM(299, 5))), 18);
}

// Margins and the formatting rectangle place the text; the colour request paints the background.
TEST_F(ControlsTest, EditFormattingRectAndColour) {
    HWND e = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 200, 24, "text");
    SendMessage(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
    RECT r{};
    SendMessage(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, (RECT{2, 0, 200, 24}));
    EXPECT_EQ(LOWORD(SendMessage(e, EM_POSFROMCHAR, 0, 0)), 2);
    EXPECT_EQ(SendMessage(e, EM_GETMARGINS, 0, 0), MAKELRESULT(2, 0));

    RECT set{20, 4, 150, 20};
    SendMessage(e, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&set));
    SendMessage(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, set);
    EXPECT_EQ(SendMessage(e, EM_POSFROMCHAR, 0, 0), MAKELRESULT(20, 4));

    g_editBrush = CreateSolidBrush(RGB(200, 10, 10));
    InvalidateRect(e, nullptr, TRUE);
    EXPECT_EQ(PixelAt(e, 195, 22), RGB(200, 10, 10));
    g_editBrush = nullptr;
    InvalidateRect(e, nullptr, TRUE);
    EXPECT_EQ(PixelAt(e, 195, 22), GetSysColor(COLOR_WINDOW));
}

// A long single line scrolls to keep the caret in view, and back when it returns home.
TEST_F(ControlsTest, EditScrollsLongLine) {
    HWND e = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 80, 24);
    Click(e, 5, 5);
    Type(U"一二三四五六七八九十一二三四五六七八九十");
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_GT(caret.x, 40);
    EXPECT_LT(caret.x, 80);
    EXPECT_LT(static_cast<int16_t>(LOWORD(SendMessage(e, EM_POSFROMCHAR, 0, 0))), 0);
    Key(VK_HOME);
    EXPECT_EQ(LOWORD(SendMessage(e, EM_POSFROMCHAR, 0, 0)), 1);

    // A drag held beyond the right edge keeps selecting, one character each 50 ms.
    Advance(1000);
    POINT in = Screen(e, 10, 5), out = Screen(e, 120, 5);
    D().MoveMouse(in.x, in.y);
    D().Press();
    D().MoveMouse(out.x, out.y);
    Run();
    DWORD a = 0, b = 0;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    Advance(200);
    DWORD b2 = 0;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b2));
    EXPECT_EQ(b2, b + 4 * 3); // four more Chinese characters of three bytes
    Advance(2000);
    D().Release();
    Run();
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b2));
    EXPECT_EQ(b2, static_cast<DWORD>(Text(e).size()));
    EXPECT_GT(GetCaretPos(&caret) ? caret.x : 0, 40);
}

// The log memo: thousands of appended lines, each shown at once at the bottom.
TEST_F(ControlsTest, EditMemoAppendsAndFollowsTheEnd) {
    HWND m = Make(WC_EDIT, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_READONLY, 10, 10, 300, 150);
    for (int i = 0; i < 3000; ++i) {
        std::string line = "第" + std::to_string(i) + "行 frame=" + std::to_string(i * 25) + "\r\n";
        int len = GetWindowTextLength(m);
        SendMessage(m, EM_SETSEL, static_cast<WPARAM>(len), len);
        SendMessage(m, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    int lines = static_cast<int>(SendMessage(m, EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(lines, 3001); // the empty line after the last break
    int first = static_cast<int>(SendMessage(m, EM_GETFIRSTVISIBLELINE, 0, 0));
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(m, SB_VERT, &si);
    EXPECT_EQ(si.nMax, lines - 1);
    EXPECT_EQ(first, lines - static_cast<int>(si.nPage));
    EXPECT_EQ(si.nPos, first);
    // Lines answer by index; WM_VSCROLL moves the view the way the skinned bars ask.
    int index = static_cast<int>(SendMessage(m, EM_LINEINDEX, 2999, 0));
    EXPECT_EQ(SendMessage(m, EM_LINEFROMCHAR, static_cast<WPARAM>(index), 0), 2999);
    char buf[64] = {};
    *reinterpret_cast<WORD*>(buf) = sizeof buf - 1;
    SendMessage(m, EM_GETLINE, 2999, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "第2999行 frame=74975");
    SendMessage(m, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    EXPECT_EQ(SendMessage(m, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    EXPECT_EQ(GetScrollPos(m, SB_VERT), 10);
    SendMessage(m, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(m, SB_VERT), 11);
    SendMessage(m, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessage(m, EM_GETFIRSTVISIBLELINE, 0, 0), first);
}

// Multi-line text wraps at spaces, and Enter, Up and Down work on the lines.
TEST_F(ControlsTest, EditMultiLineWrapsAndMovesByLines) {
    HWND m = Make(WC_EDIT, ES_MULTILINE | ES_WANTRETURN, 10, 10, 120, 200);
    SetWindowText(m, "alpha beta gamma delta epsilon zeta eta theta");
    int lines = static_cast<int>(SendMessage(m, EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(lines, 2);
    for (int i = 1; i < lines; ++i) { // every wrapped line starts after a space
        int start = static_cast<int>(SendMessage(m, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
        EXPECT_EQ(Text(m)[static_cast<size_t>(start) - 1], ' ') << "line " << i;
    }
    SetWindowText(m, "");
    Click(m, 5, 5);
    Type(U"ab\rcd");
    EXPECT_EQ(Text(m), "ab\r\ncd");
    Key(VK_UP);
    EXPECT_EQ(Sel(m), std::make_pair(size_t{2}, size_t{2}));
    Key(VK_RIGHT); // over the whole line break
    EXPECT_EQ(Sel(m), std::make_pair(size_t{4}, size_t{4}));
    Key(VK_BACK);
    EXPECT_EQ(Text(m), "abcd");
}

// The selection shows while the edit has the focus; without it only with ES_NOHIDESEL.
TEST_F(ControlsTest, EditHidesSelectionWithoutFocus) {
    struct Case {
        DWORD style;
        bool focused, shown;
    };
    const Case cases[] = {
        {0,            true,  true },
        {0,            false, false},
        {ES_NOHIDESEL, false, true }
    };
    for (const Case& c : cases) {
        HWND e = Make(WC_EDIT, ES_AUTOHSCROLL | c.style, 10, 10, 200, 24, "MMMM");
        SendMessage(e, EM_SETSEL, 0, -1);
        SetFocus(c.focused ? e : host);
        InvalidateRect(e, nullptr, TRUE);
        COLORREF want = c.shown ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(PixelAt(e, 3, 0), want) << "style " << c.style << (c.focused ? " focused" : "");
        DestroyWindow(e);
    }
}

// Text that is not well-formed UTF-8 (a name from a foreign file system) is edited a byte per
// broken character, as it is drawn, and never read past its end.
TEST_F(ControlsTest, EditMalformedText) {
    for (DWORD style : {DWORD{0}, DWORD{ES_PASSWORD}}) {
        HWND e = Make(WC_EDIT, ES_AUTOHSCROLL | style, 10, 10, 200, 24,
                      "a\xE4\xB8"
                      "b\xFF\xB8");
        Click(e, 190, 5);
        Key(VK_END);
        Key(VK_LEFT, VK_SHIFT);
        Key(VK_LEFT, VK_SHIFT);
        EXPECT_EQ(Sel(e), std::make_pair(size_t{4}, size_t{6}));
        Key(VK_HOME);
        Key(VK_RIGHT);
        Key(VK_RIGHT);
        EXPECT_EQ(Sel(e), std::make_pair(size_t{2}, size_t{2}));
        Type(U"中");
        EXPECT_EQ(Text(e), "a\xE4"
                           "中\xB8"
                           "b\xFF\xB8");
        EXPECT_GT(LOWORD(SendMessage(e, EM_POSFROMCHAR, 9, 0)), LOWORD(SendMessage(e, EM_POSFROMCHAR, 2, 0)));
        DestroyWindow(e);
        Advance(1000);
    }
}

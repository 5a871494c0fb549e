#include "ControlsFixture.h"

namespace {
int Pos(HWND ud) {
    return static_cast<int>(SendMessage(ud, UDM_GETPOS32, 0, 0));
}
} // namespace

// Range and position from code, in both directions of the range, with and without wrapping.
TEST_F(ControlsTest, UpDownRangeAndPosition) {
    HWND ud = Make(UPDOWN_CLASS, 0, 10, 10, 20, 40);
    EXPECT_EQ(SendMessage(ud, UDM_GETRANGE, 0, 0), MAKELRESULT(0, 100)); // upper 0, lower 100 until set
    struct Case {
        const char* name;
        DWORD style;
        int lower, upper, start;
        int clickY; // 5: the up arrow, 35: the down arrow
        int after;
    };
    const Case cases[] = {
        {"up steps toward the upper end",     0,        0,  10, 4,  5,  5 },
        {"down steps toward the lower end",   0,        0,  10, 4,  35, 3 },
        {"stops at the end",                  0,        0,  10, 10, 5,  10},
        {"a backward range turns the arrows", 0,        10, 0,  4,  5,  3 },
        {"wraps past the end",                UDS_WRAP, 0,  3,  3,  5,  0 },
        {"wraps past the start",              UDS_WRAP, 0,  3,  0,  35, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND u = Make(UPDOWN_CLASS, c.style, 300, 10, 20, 40, "", 11);
        SendMessage(u, UDM_SETRANGE32, static_cast<WPARAM>(c.lower), c.upper);
        SendMessage(u, UDM_SETPOS32, 0, c.start);
        Advance(1000);
        Click(u, 10, c.clickY);
        EXPECT_EQ(Pos(u), c.after);
        DestroyWindow(u);
    }
    SendMessage(ud, UDM_SETRANGE32, 0, 10);
    EXPECT_EQ(SendMessage(ud, UDM_SETPOS32, 0, 15), 0);
    EXPECT_EQ(Pos(ud), 10); // clamped
}

// Each step asks the parent first and then reports the new position; release ends the scroll.
TEST_F(ControlsTest, UpDownNoticesAndRefusal) {
    HWND ud = Make(UPDOWN_CLASS, UDS_HORZ, 10, 10, 40, 20);
    SendMessage(ud, UDM_SETRANGE32, 0, 100);
    SendMessage(ud, UDM_SETPOS32, 0, 50);
    NMUPDOWN seen{};
    g_onNotify = [&](NMHDR* h) -> LRESULT {
        if (static_cast<int>(h->code) == UDN_DELTAPOS) seen = *reinterpret_cast<NMUPDOWN*>(h);
        return 0;
    };
    Click(ud, 5, 10); // the left button decreases
    EXPECT_EQ(Pos(ud), 49);
    EXPECT_EQ(seen.iPos, 50);
    EXPECT_EQ(seen.iDelta, -1);
    ASSERT_EQ(g_scrolls.size(), 2u);
    EXPECT_EQ(g_scrolls[0].msg, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(g_scrolls[0].code, SB_THUMBPOSITION);
    EXPECT_EQ(g_scrolls[0].pos, 49);
    EXPECT_EQ(g_scrolls[0].from, ud);
    EXPECT_EQ(g_scrolls[1].code, SB_ENDSCROLL);

    g_onNotify = [](NMHDR*) -> LRESULT { return 1; };
    Advance(1000);
    Click(ud, 35, 10);
    EXPECT_EQ(Pos(ud), 49);
}

// Held down, a button steps at once, again after 400 ms, then every 100 ms, faster after two
// seconds; off the button it pauses.
TEST_F(ControlsTest, UpDownAutoRepeatOnTheClock) {
    HWND ud = Make(UPDOWN_CLASS, 0, 10, 10, 20, 40);
    SendMessage(ud, UDM_SETRANGE32, 0, 1000);
    POINT up = Screen(ud, 10, 5), away = Screen(ud, 100, 5);
    D().MoveMouse(up.x, up.y);
    D().Press();
    Run();
    EXPECT_EQ(Pos(ud), 1);
    Advance(390);
    EXPECT_EQ(Pos(ud), 1);
    Advance(20);
    EXPECT_EQ(Pos(ud), 2);
    Advance(1540); // steps at 500 .. 1900 ms
    EXPECT_EQ(Pos(ud), 17);
    Advance(100); // held two seconds: steps of five
    EXPECT_EQ(Pos(ud), 22);
    D().MoveMouse(away.x, away.y);
    Run();
    Advance(500);
    EXPECT_EQ(Pos(ud), 22);
    D().MoveMouse(up.x, up.y);
    Run();
    Advance(100);
    EXPECT_EQ(Pos(ud), 27);
    D().Release();
    Run();
    Advance(500);
    EXPECT_EQ(Pos(ud), 27);
    EXPECT_EQ(g_scrolls.back().code, SB_ENDSCROLL);
    EXPECT_EQ(GetCapture(), nullptr);
}

// A buddy shows the number, is read back, steps with its arrow keys and makes room for the pair.
TEST_F(ControlsTest, UpDownBuddy) {
    HWND edit = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 100, 24, "", 20);
    HWND ud = Make(UPDOWN_CLASS, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_AUTOBUDDY, 0, 0, 16,
                   10, "", 21);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(ud, UDM_GETBUDDY, 0, 0)), edit);
    RECT er, ur;
    GetWindowRect(edit, &er);
    GetWindowRect(ud, &ur);
    EXPECT_EQ(er.right - er.left, 84);
    EXPECT_EQ(ur, (RECT{er.right, er.top, er.right + 16, er.bottom}));

    SendMessage(ud, UDM_SETRANGE32, 0, 2000);
    SendMessage(ud, UDM_SETPOS32, 0, 1234);
    EXPECT_EQ(Text(edit), "1234");
    SetWindowText(edit, "77");
    EXPECT_EQ(LOWORD(SendMessage(ud, UDM_GETPOS, 0, 0)), 77);
    SetWindowText(edit, "七十");
    BOOL error = FALSE;
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 77);
    EXPECT_TRUE(error);

    SetWindowText(edit, "9");
    Click(edit, 5, 5);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(Text(edit), "11");
    Key(VK_DOWN);
    EXPECT_EQ(Pos(ud), 10);
    // The buddy gets its own procedure back when the pair goes.
    DestroyWindow(ud);
    Key(VK_UP);
    EXPECT_EQ(Text(edit), "10");
}

#pragma once
// The native controls' classes, messages, styles, notices and structures.
// Text is UTF-8 throughout; positions inside an edit's text count bytes, as
// every string length of this platform does.
#include "win/Messages.h"
#include "win/WinTypes.h"

// Registers every native control class; calling it again does nothing.
// Controls added later extend this one call.
void InitCommonControls();

constexpr const char* WC_EDIT = "Edit";
constexpr const char* WC_LISTBOX = "ListBox";
constexpr const char* UPDOWN_CLASS = "msctls_updown32";
constexpr const char* WC_TABCONTROL = "SysTabControl32";

// Notices sent to the parent.
struct NMHDR {
    HWND hwndFrom;
    uintptr_t idFrom;
    UINT code;
};
enum : UINT { WM_MEASUREITEM = 0x002C };
enum : int { NM_FIRST = 0, NM_CLICK = -2, NM_DBLCLK = -3, NM_RCLICK = -5 };

// Owner drawing.
enum : UINT { ODT_LISTBOX = 2, ODT_TAB = 101 };
enum : UINT { ODA_DRAWENTIRE = 1, ODA_SELECT = 2, ODA_FOCUS = 4 };
enum : UINT { ODS_SELECTED = 1, ODS_DISABLED = 4, ODS_FOCUS = 0x10 };
struct MEASUREITEMSTRUCT {
    UINT CtlType, CtlID, itemID, itemWidth, itemHeight;
    uintptr_t itemData;
};
struct DRAWITEMSTRUCT {
    UINT CtlType, CtlID, itemID, itemAction, itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    uintptr_t itemData;
};

// Edit.
enum : DWORD {
    ES_LEFT = 0,
    ES_CENTER = 1,
    ES_RIGHT = 2,
    ES_MULTILINE = 4,
    ES_UPPERCASE = 8,
    ES_LOWERCASE = 0x10,
    ES_PASSWORD = 0x20,
    ES_AUTOVSCROLL = 0x40,
    ES_AUTOHSCROLL = 0x80,
    ES_NOHIDESEL = 0x100,
    ES_READONLY = 0x800,
    ES_WANTRETURN = 0x1000,
    ES_NUMBER = 0x2000
};
enum : UINT {
    EM_GETSEL = 0xB0,
    EM_SETSEL = 0xB1,
    EM_GETRECT = 0xB2,
    EM_SETRECT = 0xB3,
    EM_SETRECTNP = 0xB4,
    EM_SCROLL = 0xB5,
    EM_LINESCROLL = 0xB6,
    EM_SCROLLCARET = 0xB7,
    EM_GETMODIFY = 0xB8,
    EM_SETMODIFY = 0xB9,
    EM_GETLINECOUNT = 0xBA,
    EM_LINEINDEX = 0xBB,
    EM_LINELENGTH = 0xC1,
    EM_REPLACESEL = 0xC2,
    EM_GETLINE = 0xC4,
    EM_LIMITTEXT = 0xC5,
    EM_SETLIMITTEXT = EM_LIMITTEXT,
    EM_CANUNDO = 0xC6,
    EM_UNDO = 0xC7,
    EM_LINEFROMCHAR = 0xC9,
    EM_SETPASSWORDCHAR = 0xCC,
    EM_EMPTYUNDOBUFFER = 0xCD,
    EM_GETFIRSTVISIBLELINE = 0xCE,
    EM_SETREADONLY = 0xCF,
    EM_GETPASSWORDCHAR = 0xD2,
    EM_SETMARGINS = 0xD3,
    EM_GETMARGINS = 0xD4,
    EM_GETLIMITTEXT = 0xD5,
    EM_POSFROMCHAR = 0xD6,
    EM_CHARFROMPOS = 0xD7
};
enum : UINT { EC_LEFTMARGIN = 1, EC_RIGHTMARGIN = 2, EC_USEFONTINFO = 0xFFFF };
enum : WORD {
    EN_SETFOCUS = 0x100,
    EN_KILLFOCUS = 0x200,
    EN_CHANGE = 0x300,
    EN_UPDATE = 0x400,
    EN_MAXTEXT = 0x501,
    EN_HSCROLL = 0x601,
    EN_VSCROLL = 0x602
};

// List box.
enum : DWORD {
    LBS_NOTIFY = 1,
    LBS_SORT = 2,
    LBS_NOREDRAW = 4,
    LBS_MULTIPLESEL = 8,
    LBS_OWNERDRAWFIXED = 0x10,
    LBS_OWNERDRAWVARIABLE = 0x20,
    LBS_HASSTRINGS = 0x40,
    LBS_USETABSTOPS = 0x80,
    LBS_NOINTEGRALHEIGHT = 0x100,
    LBS_MULTICOLUMN = 0x200,
    LBS_WANTKEYBOARDINPUT = 0x400,
    LBS_EXTENDEDSEL = 0x800,
    LBS_DISABLENOSCROLL = 0x1000,
    LBS_NOSEL = 0x4000
};
enum : UINT {
    LB_ADDSTRING = 0x180,
    LB_INSERTSTRING = 0x181,
    LB_DELETESTRING = 0x182,
    LB_SELITEMRANGEEX = 0x183,
    LB_RESETCONTENT = 0x184,
    LB_SETSEL = 0x185,
    LB_SETCURSEL = 0x186,
    LB_GETSEL = 0x187,
    LB_GETCURSEL = 0x188,
    LB_GETTEXT = 0x189,
    LB_GETTEXTLEN = 0x18A,
    LB_GETCOUNT = 0x18B,
    LB_SELECTSTRING = 0x18C,
    LB_GETTOPINDEX = 0x18E,
    LB_FINDSTRING = 0x18F,
    LB_GETSELCOUNT = 0x190,
    LB_GETSELITEMS = 0x191,
    LB_SETTABSTOPS = 0x192,
    LB_GETHORIZONTALEXTENT = 0x193,
    LB_SETHORIZONTALEXTENT = 0x194,
    LB_SETCOLUMNWIDTH = 0x195,
    LB_SETTOPINDEX = 0x197,
    LB_GETITEMRECT = 0x198,
    LB_GETITEMDATA = 0x199,
    LB_SETITEMDATA = 0x19A,
    LB_SELITEMRANGE = 0x19B,
    LB_SETANCHORINDEX = 0x19C,
    LB_GETANCHORINDEX = 0x19D,
    LB_SETCARETINDEX = 0x19E,
    LB_GETCARETINDEX = 0x19F,
    LB_SETITEMHEIGHT = 0x1A0,
    LB_GETITEMHEIGHT = 0x1A1,
    LB_FINDSTRINGEXACT = 0x1A2,
    LB_ITEMFROMPOINT = 0x1A9
};
enum : int { LB_OKAY = 0, LB_ERR = -1 };
enum : WORD { LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SELCANCEL = 3, LBN_SETFOCUS = 4, LBN_KILLFOCUS = 5 };

// Up/down.
enum : DWORD {
    UDS_WRAP = 1,
    UDS_SETBUDDYINT = 2,
    UDS_ALIGNRIGHT = 4,
    UDS_ALIGNLEFT = 8,
    UDS_AUTOBUDDY = 0x10,
    UDS_ARROWKEYS = 0x20,
    UDS_HORZ = 0x40,
    UDS_NOTHOUSANDS = 0x80,
    UDS_HOTTRACK = 0x100
};
enum : UINT {
    UDM_SETRANGE = WM_USER + 101,
    UDM_GETRANGE = WM_USER + 102,
    UDM_SETPOS = WM_USER + 103,
    UDM_GETPOS = WM_USER + 104,
    UDM_SETBUDDY = WM_USER + 105,
    UDM_GETBUDDY = WM_USER + 106,
    UDM_SETACCEL = WM_USER + 107,
    UDM_GETACCEL = WM_USER + 108,
    UDM_SETBASE = WM_USER + 109,
    UDM_GETBASE = WM_USER + 110,
    UDM_SETRANGE32 = WM_USER + 111,
    UDM_GETRANGE32 = WM_USER + 112,
    UDM_SETPOS32 = WM_USER + 113,
    UDM_GETPOS32 = WM_USER + 114
};
enum : int { UD_MAXVAL = 0x7FFF, UD_MINVAL = -UD_MAXVAL };
enum : int { UDN_FIRST = -721, UDN_DELTAPOS = UDN_FIRST - 1 };
struct UDACCEL {
    UINT nSec, nInc;
};
struct NMUPDOWN {
    NMHDR hdr;
    int iPos, iDelta;
};

// Tab control.
enum : DWORD {
    TCS_SCROLLOPPOSITE = 1,
    TCS_BOTTOM = 2,
    TCS_RIGHT = 2,
    TCS_MULTISELECT = 4,
    TCS_FLATBUTTONS = 8,
    TCS_FORCEICONLEFT = 0x10,
    TCS_FORCELABELLEFT = 0x20,
    TCS_HOTTRACK = 0x40,
    TCS_VERTICAL = 0x80,
    TCS_TABS = 0,
    TCS_BUTTONS = 0x100,
    TCS_SINGLELINE = 0,
    TCS_MULTILINE = 0x200,
    TCS_RIGHTJUSTIFY = 0,
    TCS_FIXEDWIDTH = 0x400,
    TCS_RAGGEDRIGHT = 0x800,
    TCS_FOCUSONBUTTONDOWN = 0x1000,
    TCS_OWNERDRAWFIXED = 0x2000,
    TCS_FOCUSNEVER = 0x8000
};
enum : UINT {
    TCM_FIRST = 0x1300,
    TCM_GETIMAGELIST = TCM_FIRST + 2,
    TCM_SETIMAGELIST = TCM_FIRST + 3,
    TCM_GETITEMCOUNT = TCM_FIRST + 4,
    TCM_GETITEM = TCM_FIRST + 5,
    TCM_SETITEM = TCM_FIRST + 6,
    TCM_INSERTITEM = TCM_FIRST + 7,
    TCM_DELETEITEM = TCM_FIRST + 8,
    TCM_DELETEALLITEMS = TCM_FIRST + 9,
    TCM_GETITEMRECT = TCM_FIRST + 10,
    TCM_GETCURSEL = TCM_FIRST + 11,
    TCM_SETCURSEL = TCM_FIRST + 12,
    TCM_HITTEST = TCM_FIRST + 13,
    TCM_ADJUSTRECT = TCM_FIRST + 40,
    TCM_SETITEMSIZE = TCM_FIRST + 41,
    TCM_SETPADDING = TCM_FIRST + 43,
    TCM_GETROWCOUNT = TCM_FIRST + 44,
    TCM_GETCURFOCUS = TCM_FIRST + 47,
    TCM_SETCURFOCUS = TCM_FIRST + 48,
    TCM_SETMINTABWIDTH = TCM_FIRST + 49
};
enum : UINT { TCIF_TEXT = 1, TCIF_IMAGE = 2, TCIF_RTLREADING = 4, TCIF_PARAM = 8, TCIF_STATE = 0x10 };
enum : UINT { TCHT_NOWHERE = 1, TCHT_ONITEMICON = 2, TCHT_ONITEMLABEL = 4, TCHT_ONITEM = 6 };
enum : int {
    TCN_FIRST = -550,
    TCN_KEYDOWN = TCN_FIRST,
    TCN_SELCHANGE = TCN_FIRST - 1,
    TCN_SELCHANGING = TCN_FIRST - 2
};
struct TCITEM {
    UINT mask;
    DWORD dwState, dwStateMask;
    char* pszText; // UTF-8
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
struct TCHITTESTINFO {
    POINT pt;
    UINT flags;
};
#include "controls/CommCtrlLists.h" // the header, list view and tree view

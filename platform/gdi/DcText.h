#pragma once
// Text on device contexts, over the font engine of gdi/text.  Strings are
// UTF-8 and lengths count bytes (-1: up to the terminating zero); where Win32
// counts characters per UTF-16 unit (spacing arrays, fitting counts), these
// functions count code points.
#include "gdi/GdiTypes.h"
#include "gdi/text/DrawTextFlags.h"

constexpr UINT ETO_OPAQUE = 2, ETO_CLIPPED = 4;

// One definition of the DrawText flags: the font engine's.
using gdi::text::DT_BOTTOM;
using gdi::text::DT_CALCRECT;
using gdi::text::DT_CENTER;
using gdi::text::DT_END_ELLIPSIS;
using gdi::text::DT_EXPANDTABS;
using gdi::text::DT_LEFT;
using gdi::text::DT_NOPREFIX;
using gdi::text::DT_PATH_ELLIPSIS;
using gdi::text::DT_RIGHT;
using gdi::text::DT_RTLREADING;
using gdi::text::DT_SINGLELINE;
using gdi::text::DT_TOP;
using gdi::text::DT_VCENTER;
using gdi::text::DT_WORDBREAK;

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    char16_t tmFirstChar;
    char16_t tmLastChar;
    char16_t tmDefaultChar;
    char16_t tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

BOOL TextOut(HDC dc, int x, int y, const char* text, int len);
// dx, when given, holds the advance of each character (code point) in place
// of the font's own.
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* r, const char* text, UINT len, const int* dx);
BOOL GetTextExtentPoint32(HDC dc, const char* text, int len, SIZE* size);
// fit: how many characters fit within maxExtent (when fit is given); dx: the
// pen position after each character (one entry per code point).
BOOL GetTextExtentExPoint(HDC dc, const char* text, int len, int maxExtent, int* fit, int* dx, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);

// Uses the DC's font, text colour, background mode and colour, clip and
// origin.  Returns the height of the text (0 on failure); with DT_CALCRECT
// it draws nothing and sets r's right and bottom to what the text needs.
int DrawText(HDC dc, const char* text, int len, RECT* r, UINT format);
// Tabs move to the given stops (none: every eight average character widths;
// one: every that many pixels), counted from tabOrigin; at most ten stops are
// honoured.  Returns the extent drawn, width in the low word, height high.
LONG TabbedTextOut(HDC dc, int x, int y, const char* text, int len, int tabCount, const int* tabs,
                   int tabOrigin);

#pragma once
// The Win32-shaped base types of the drawing layer.  Handles are opaque: the
// GDI object handles share one base tag so that any of them converts to
// HGDIOBJ, as the skin code expects when it calls SelectObject or
// DeleteObject, while a handle of one kind never converts to another.
#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = unsigned int;
using BOOL = int;
using LONG = int32_t;
using COLORREF = uint32_t; // 0x00BBGGRR

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct GdiObjectTag {};
struct HBITMAP__ : GdiObjectTag {};
struct HBRUSH__ : GdiObjectTag {};
struct HPEN__ : GdiObjectTag {};
struct HFONT__ : GdiObjectTag {};
struct HRGN__ : GdiObjectTag {};
struct HDC__ {};
struct HICON__ {};
struct HIMAGELIST__ {};
struct HINSTANCE__ {};

using HGDIOBJ = GdiObjectTag*;
using HBITMAP = HBITMAP__*;
using HBRUSH = HBRUSH__*;
using HPEN = HPEN__*;
using HFONT = HFONT__*;
using HRGN = HRGN__*;
using HDC = HDC__*;
using HICON = HICON__*;
using HCURSOR = HICON; // cursors are icons with a hot spot
using HIMAGELIST = HIMAGELIST__*;
using HINSTANCE = HINSTANCE__*;
using HANDLE = void*; // CopyImage's any-kind-of-image handle

struct POINT {
    LONG x = 0, y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};
struct SIZE {
    LONG cx = 0, cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};
struct RECT {
    LONG left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// Rectangle helpers (right and bottom exclusive).
BOOL SetRect(RECT* r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* r);
BOOL IsRectEmpty(const RECT* r);
BOOL PtInRect(const RECT* r, POINT p);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b); // empty result: FALSE and a zero rect
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL CopyRect(RECT* dst, const RECT* src);

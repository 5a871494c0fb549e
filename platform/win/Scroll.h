#pragma once
// Scroll state of windows that draw no bars of their own (the skinned scroll
// bars read and write it).
#include "win/WinTypes.h"

struct SCROLLINFO {
    UINT cbSize, fMask;
    int nMin, nMax;
    UINT nPage;
    int nPos, nTrackPos;
};
constexpr UINT SIF_RANGE = 1, SIF_PAGE = 2, SIF_POS = 4, SIF_DISABLENOSCROLL = 8, SIF_TRACKPOS = 0x10,
               SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

int SetScrollInfo(HWND h, int bar, const SCROLLINFO* si, BOOL redraw);
BOOL GetScrollInfo(HWND h, int bar, SCROLLINFO* si);
int SetScrollPos(HWND h, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND h, int bar);
BOOL SetScrollRange(HWND h, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND h, int bar, int* min, int* max);
BOOL ShowScrollBar(HWND h, int bar, BOOL show);

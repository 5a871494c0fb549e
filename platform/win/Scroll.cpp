#include "win/Scroll.h"

#include "win/WindowImpl.h"

#include <algorithm>

using namespace win;

namespace {
ScrollState* StateOf(HWND h, int bar) {
    WindowPtr w = Get(h);
    if (!w || bar < SB_HORZ || bar > SB_CTL) return nullptr;
    return &w->scroll[bar == SB_VERT ? 1 : 0];
}

void Clamp(ScrollState& s) {
    int maxPos = s.max - std::max(0, s.page - 1);
    s.pos = std::clamp(s.pos, s.min, std::max(s.min, maxPos));
}
} // namespace

int SetScrollInfo(HWND h, int bar, const SCROLLINFO* si, BOOL) {
    ScrollState* s = StateOf(h, bar);
    if (!s || !si) return 0;
    if (si->fMask & SIF_RANGE) s->min = si->nMin, s->max = si->nMax;
    if (si->fMask & SIF_PAGE) s->page = static_cast<int>(si->nPage);
    if (si->fMask & SIF_POS) s->pos = si->nPos;
    Clamp(*s);
    return s->pos;
}

BOOL GetScrollInfo(HWND h, int bar, SCROLLINFO* si) {
    ScrollState* s = StateOf(h, bar);
    if (!s || !si) return FALSE;
    if (si->fMask & SIF_RANGE) si->nMin = s->min, si->nMax = s->max;
    if (si->fMask & SIF_PAGE) si->nPage = static_cast<UINT>(s->page);
    if (si->fMask & SIF_POS) si->nPos = s->pos;
    if (si->fMask & SIF_TRACKPOS) si->nTrackPos = s->trackPos;
    return TRUE;
}

int SetScrollPos(HWND h, int bar, int pos, BOOL) {
    ScrollState* s = StateOf(h, bar);
    if (!s) return 0;
    int old = s->pos;
    s->pos = pos;
    Clamp(*s);
    return old;
}

int GetScrollPos(HWND h, int bar) {
    ScrollState* s = StateOf(h, bar);
    return s ? s->pos : 0;
}

BOOL SetScrollRange(HWND h, int bar, int min, int max, BOOL) {
    ScrollState* s = StateOf(h, bar);
    if (!s) return FALSE;
    s->min = min, s->max = max;
    Clamp(*s);
    return TRUE;
}

BOOL GetScrollRange(HWND h, int bar, int* min, int* max) {
    ScrollState* s = StateOf(h, bar);
    if (!s) return FALSE;
    if (min) *min = s->min;
    if (max) *max = s->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND h, int, BOOL) {
    return Get(h) != nullptr;
}

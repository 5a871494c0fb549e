#include "win/System.h"

#include "display/Backend.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <climits>

namespace {

std::vector<display::Monitor> Monitors() {
    return display::Current().Monitors();
}

// Monitor handles are their index plus one.
HMONITOR Handle(size_t i) {
    return reinterpret_cast<HMONITOR>(i + 1);
}

long DistanceSq(const RECT& r, POINT p) {
    long dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
    long dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
    return dx * dx + dy * dy;
}

} // namespace

int GetSystemMetrics(int index) {
    auto mons = Monitors();
    RECT primary = mons.empty() ? RECT{0, 0, 1280, 1024} : mons[0].area;
    RECT work = mons.empty() ? primary : mons[0].work;
    RECT virt = primary;
    for (auto& m : mons) UnionRect(&virt, &virt, &m.area);
    switch (index) {
    case SM_CXSCREEN:
        return primary.right - primary.left;
    case SM_CYSCREEN:
        return primary.bottom - primary.top;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 17;
    case SM_CYCAPTION:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CYMENU:
        return 19;
    case SM_CXFULLSCREEN:
        return work.right - work.left;
    case SM_CYFULLSCREEN:
        return work.bottom - work.top - 19;
    case SM_CXMIN:
        return 112;
    case SM_CYMIN:
        return 27;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMINTRACK:
        return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
        return 14;
    case SM_CXMAXTRACK:
        return virt.right - virt.left + 12;
    case SM_CYMAXTRACK:
        return virt.bottom - virt.top + 12;
    case SM_CXMAXIMIZED:
        return work.right - work.left + 8;
    case SM_CYMAXIMIZED:
        return work.bottom - work.top + 8;
    case SM_CXVIRTUALSCREEN:
        return virt.right - virt.left;
    case SM_CYVIRTUALSCREEN:
        return virt.bottom - virt.top;
    case SM_CMONITORS:
        return static_cast<int>(mons.size());
    default:
        return 0;
    }
}

BOOL SystemParametersInfo(UINT action, UINT, void* pv, UINT) {
    switch (action) {
    case SPI_GETWORKAREA: {
        if (!pv) return FALSE;
        auto mons = Monitors();
        *static_cast<RECT*>(pv) = mons.empty() ? RECT{0, 0, 1280, 984} : mons[0].work;
        return TRUE;
    }
    case SPI_GETDRAGFULLWINDOWS:
        if (!pv) return FALSE;
        *static_cast<BOOL*>(pv) = TRUE; // contents are always shown while dragging
        return TRUE;
    default:
        return FALSE;
    }
}

HMONITOR MonitorFromPoint(POINT p, DWORD flags) {
    auto mons = Monitors();
    size_t best = 0;
    long bestD = LONG_MAX;
    for (size_t i = 0; i < mons.size(); ++i) {
        long d = DistanceSq(mons[i].area, p);
        if (d == 0) return Handle(i);
        if (d < bestD) best = i, bestD = d;
    }
    if (mons.empty() || flags == MONITOR_DEFAULTTONULL) return nullptr;
    return Handle(flags == MONITOR_DEFAULTTOPRIMARY ? 0 : best);
}

HMONITOR MonitorFromRect(const RECT* r, DWORD flags) {
    if (!r) return nullptr;
    auto mons = Monitors();
    long bestArea = 0;
    HMONITOR best = nullptr;
    for (size_t i = 0; i < mons.size(); ++i) {
        RECT x;
        if (IntersectRect(&x, r, &mons[i].area)) {
            long a = static_cast<long>(x.right - x.left) * (x.bottom - x.top);
            if (a > bestArea) bestArea = a, best = Handle(i);
        }
    }
    if (best) return best;
    return MonitorFromPoint({(r->left + r->right) / 2, (r->top + r->bottom) / 2}, flags);
}

HMONITOR MonitorFromWindow(HWND h, DWORD flags) {
    RECT r;
    if (!GetWindowRect(h, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : Handle(0);
    return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR m, MONITORINFO* info) {
    auto mons = Monitors();
    auto i = reinterpret_cast<uintptr_t>(m);
    if (!info || i == 0 || i > mons.size()) return FALSE;
    info->rcMonitor = mons[i - 1].area;
    info->rcWork = mons[i - 1].work;
    info->dwFlags = i == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL EnumDisplayMonitors(HDC, const RECT*, MONITORENUMPROC fn, LPARAM lp) {
    if (!fn) return FALSE;
    auto mons = Monitors();
    for (size_t i = 0; i < mons.size(); ++i)
        if (!fn(Handle(i), nullptr, &mons[i].area, lp)) return FALSE;
    return TRUE;
}

DWORD GetVersion() {
    return (7601u << 16) | (1u << 8) | 6u;
}

#include "win/FrameHost.h"

#include "gdi/Bitmap.h"
#include "gdi/Blit.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "os/FrameSink.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Window.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {

struct Host {
    HWND handle = nullptr;
    WNDPROC previous = nullptr;
    WNDPROC self = nullptr;
    // Written by the producer's thread, read by the GUI thread.
    std::mutex m;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    RECT dirty{};
    bool posted = false;
    int clientWidth = 0, clientHeight = 0;
    // GUI thread only: what pictures invalidated since the last paint.
    gdi::Region asked;
};

using HostPtr = std::shared_ptr<Host>;

std::map<HWND, HostPtr>& Hosts() { // GUI thread only
    static std::map<HWND, HostPtr> hosts;
    return hosts;
}

UINT FrameMessage() {
    static UINT msg = RegisterWindowMessage("TarvikFramePending");
    return msg;
}

uintptr_t Key(HWND h) {
    return reinterpret_cast<uintptr_t>(h);
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

void Unite(RECT& into, const RECT& r) {
    if (Empty(into)) {
        into = r;
        return;
    }
    into.left = std::min(into.left, r.left);
    into.top = std::min(into.top, r.top);
    into.right = std::max(into.right, r.right);
    into.bottom = std::max(into.bottom, r.bottom);
}

// Producer's thread, under the sink's lock: the copy is taken before the
// producer may draw over its surface again.
void CopyRect(const HostPtr& host, const os::FrameRect& r) {
    std::lock_guard g(host->m);
    if (r.surfaceWidth <= 0 || r.surfaceHeight <= 0) return;
    if (host->width != r.surfaceWidth || host->height != r.surfaceHeight) {
        host->width = r.surfaceWidth;
        host->height = r.surfaceHeight;
        host->pixels.assign(static_cast<size_t>(host->width) * static_cast<size_t>(host->height), 0);
        host->dirty = RECT{0, 0, host->width, host->height};
    }
    const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    const int x1 = std::min(r.x + r.w, host->width), y1 = std::min(r.y + r.h, host->height);
    if (x1 <= x0 || y1 <= y0 || !r.pixels) return;
    for (int y = y0; y < y1; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(r.pixels) +
                                                            static_cast<ptrdiff_t>(y - r.y) * r.pitch) +
                          (x0 - r.x);
        std::copy(src, src + (x1 - x0), host->pixels.begin() + static_cast<ptrdiff_t>(y) * host->width + x0);
    }
    Unite(host->dirty, RECT{x0, y0, x1, y1});
    if (!host->posted) {
        host->posted = true;
        PostMessage(host->handle, FrameMessage(), 0, 0);
    }
}

void PaintHost(Host& host, HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT client;
    GetClientRect(h, &client);
    int w = 0, hgt = 0;
    {
        std::lock_guard g(host.m);
        w = host.width;
        hgt = host.height;
        if (w > 0 && hgt > 0) {
            BITMAPINFO bmi{};
            bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            bmi.bmiHeader.biWidth = w;
            bmi.bmiHeader.biHeight = -hgt;
            bmi.bmiHeader.biPlanes = 1;
            bmi.bmiHeader.biBitCount = 32;
            SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(hgt), 0, 0, 0,
                              static_cast<UINT>(hgt), host.pixels.data(), &bmi, DIB_RGB_COLORS);
        }
    }
    auto* black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT right{w, 0, client.right, client.bottom}, below{0, hgt, std::min(w, client.right), client.bottom};
    if (!Empty(right)) FillRect(dc, &right, black);
    if (!Empty(below)) FillRect(dc, &below, black);
    // A paint that reaches beyond what pictures invalidated was asked for by
    // the window system: the producer draws its picture again.
    gdi::Region outside = gdi::Region::Combine(gdi::Region(ps.rcPaint), host.asked, gdi::Region::Op::Diff);
    host.asked = gdi::Region();
    EndPaint(h, &ps);
    if (!outside.Empty()) os::NotifyFrameSink(Key(h), os::FrameSinkNotice::Expose);
}

void Forget(HWND h) {
    auto it = Hosts().find(h);
    if (it == Hosts().end()) return;
    HostPtr host = it->second;
    Hosts().erase(it);
    // Waits for a rectangle being copied: the sink's lock is held meanwhile.
    os::UnregisterFrameSink(Key(h));
    // A procedure subclassed over ours keeps calling it: then it stays, and
    // only passes messages on.
    if (IsWindow(h) && reinterpret_cast<WNDPROC>(GetWindowLongPtr(h, GWLP_WNDPROC)) == host->self) {
        SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host->previous));
        FreeProcInstance(host->self);
    }
}

LRESULT HostProc(const HostPtr& host, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC previous = host->previous;
    if (msg == FrameMessage()) {
        RECT dirty;
        {
            std::lock_guard g(host->m);
            dirty = host->dirty;
            host->dirty = RECT{};
            host->posted = false;
        }
        if (!Empty(dirty)) {
            host->asked = gdi::Region::Combine(host->asked, gdi::Region(dirty), gdi::Region::Op::Or);
            InvalidateRect(h, &dirty, FALSE);
        }
        return 0;
    }
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole client area
    case WM_PAINT:
        PaintHost(*host, h);
        return 0;
    case WM_SIZE: {
        const int w = LOWORD(lp), hgt = HIWORD(lp);
        bool changed = false;
        {
            std::lock_guard g(host->m);
            changed = w != host->clientWidth || hgt != host->clientHeight;
            host->clientWidth = w;
            host->clientHeight = hgt;
        }
        LRESULT r = CallWindowProc(previous, h, msg, wp, lp);
        if (changed && w > 0 && hgt > 0) os::NotifyFrameSink(Key(h), os::FrameSinkNotice::Resize, w, hgt);
        return r;
    }
    case WM_NCDESTROY: {
        Forget(h);
        return CallWindowProc(previous, h, msg, wp, lp);
    }
    default:
        return CallWindowProc(previous, h, msg, wp, lp);
    }
}

} // namespace

BOOL RegisterFrameHost(HWND h) {
    if (!IsWindow(h) || Hosts().count(h)) return FALSE;
    auto host = std::make_shared<Host>();
    host->handle = h;
    RECT client;
    GetClientRect(h, &client);
    host->clientWidth = client.right - client.left;
    host->clientHeight = client.bottom - client.top;
    // The procedure holds the host weakly: the registry owns it.
    std::weak_ptr<Host> weak = host;
    auto previous = std::make_shared<WNDPROC>(nullptr);
    host->self = MakeProcInstance([weak, previous](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (HostPtr held = weak.lock()) return HostProc(held, w, msg, wp, lp);
        return CallWindowProc(*previous, w, msg, wp, lp);
    });
    *previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host->self)));
    host->previous = *previous;
    Hosts()[h] = host;
    os::FrameSinkHost sink;
    sink.Paint = [weak](const os::FrameRect& r) {
        if (HostPtr held = weak.lock()) CopyRect(held, r);
    };
    sink.ClientSize = [weak](int& w, int& hgt) {
        HostPtr held = weak.lock();
        if (!held) return false;
        std::lock_guard g(held->m);
        w = held->clientWidth;
        hgt = held->clientHeight;
        return w > 0 && hgt > 0;
    };
    os::RegisterFrameSink(Key(h), std::move(sink));
    return TRUE;
}

BOOL UnregisterFrameHost(HWND h) {
    if (!Hosts().count(h)) return FALSE;
    Forget(h);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

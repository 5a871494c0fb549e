// Notification icons docked in the desktop's system tray over XEmbed: the
// tray owns the screen's _NET_SYSTEM_TRAY_S<n> selection, takes our window
// on a dock request, and maps, places and sizes it inside its own.
#include "display/x11/X11Backend.h"

#include <X11/Xatom.h>

namespace display {

namespace {
constexpr long kRequestDock = 0;
constexpr long kXEmbedMapped = 1;
} // namespace

bool X11Backend::DockInTray(uintptr_t id) {
    Win& w = wins_[id];
    w.docked = true;
    if (!w.xid) {
        if (w.screen.right <= w.screen.left || w.screen.bottom <= w.screen.top) w.screen = {0, 0, 22, 22};
        CreateXWindow(w, id);
    }
    // The tray maps the window when its embedding info says so; we never
    // map it ourselves, so no window manager takes it first.
    w.mapped = w.wanted;
    long info[2] = {0 /* protocol version */, w.mapped ? kXEmbedMapped : 0};
    XChangeProperty(dpy_, w.xid, atoms_.xembedInfo, atoms_.xembedInfo, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(info), 2);
    ::Window tray = XGetSelectionOwner(dpy_, atoms_.tray);
    if (tray == None) {
        XFlush(dpy_);
        return false;
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = tray;
    e.xclient.message_type = atoms_.trayOpcode;
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(lastTime_);
    e.xclient.data.l[1] = kRequestDock;
    e.xclient.data.l[2] = static_cast<long>(w.xid);
    XSendEvent(dpy_, tray, False, NoEventMask, &e);
    XFlush(dpy_);
    return true;
}

void X11Backend::PlaceDocked(Win& w, bool show) {
    // Where and how big the icon is is the tray's to say.
    if (show == w.mapped) return;
    w.mapped = show;
    long info[2] = {0, show ? kXEmbedMapped : 0};
    XChangeProperty(dpy_, w.xid, atoms_.xembedInfo, atoms_.xembedInfo, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(info), 2);
    XFlush(dpy_);
}

void X11Backend::FollowDocked(::Window xid, int x, int y) {
    // The tray moves its own window, not ours: the pointer's event tells
    // where the icon is now, before the window system hit-tests it.
    auto it = byX_.find(xid);
    Win* w = it == byX_.end() ? nullptr : Find(it->second);
    if (!w || !w->docked || (w->screen.left == x && w->screen.top == y)) return;
    OffsetRect(&w->screen, x - w->screen.left, y - w->screen.top);
    RawInput ev;
    ev.kind = RawInput::Moved;
    ev.window = it->second;
    ev.rect = w->screen;
    Queue(ev);
}

void X11Backend::OnReparent(const XReparentEvent& e) {
    // A tray that went away hands its icons back to the root window, where
    // they would stand alone in the corner of the screen.
    Win* w = FindX(e.window);
    if (w && w->docked && e.parent == root_) XUnmapWindow(dpy_, e.window);
}

void X11Backend::OnDestroyed(::Window xid) {
    // Only a window someone else destroyed is still known here (a tray that
    // died with our icon inside).
    auto it = byX_.find(xid);
    if (it == byX_.end()) return;
    Win* w = Find(it->second);
    byX_.erase(it);
    if (!w) return;
    if (pointerIn_ == xid) pointerIn_ = 0;
    FreeImage(*w);
    DestroyInputContext(*w);
    w->xid = 0;
    w->mapped = false;
}

} // namespace display

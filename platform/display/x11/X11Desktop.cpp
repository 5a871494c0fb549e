// The window manager's side of our windows: titles, icons, roles, owners,
// cursors, activation, minimising, menu grabs, and the monitors with their
// work areas.
#include "display/x11/X11Backend.h"
#include "display/x11/X11Errors.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstring>

namespace display {

using x11::ErrorTrap;

void X11Backend::SetTraits(uintptr_t id, const WindowTraits& traits) {
    Win& w = wins_[id];
    if (w.traits == traits) return;
    bool above = w.traits.topmost != traits.topmost;
    bool input = w.traits.clickThrough != traits.clickThrough;
    w.traits = traits;
    if (!w.xid) return; // set when the window is made
    ApplyTraits(w);
    if (input) ApplyInputShape(w);
    if (above && w.mapped) SendStateAbove(w);
    XFlush(dpy_);
}

void X11Backend::ApplyTraits(Win& w) {
    const WindowTraits& t = w.traits;
    auto* text = reinterpret_cast<const unsigned char*>(t.title.c_str());
    int length = static_cast<int>(t.title.size());
    XChangeProperty(dpy_, w.xid, atoms_.netName, atoms_.utf8, 8, PropModeReplace, text, length);
    XChangeProperty(dpy_, w.xid, atoms_.netIconName, atoms_.utf8, 8, PropModeReplace, text, length);
    // Older desktops read WM_NAME: Latin-1 text as STRING, anything else as
    // compound text, and as UTF-8 where the locale cannot convert it.
    char* list[] = {const_cast<char*>(t.title.c_str())};
    XTextProperty prop{};
    int converted = Xutf8TextListToTextProperty(dpy_, list, 1, XStdICCTextStyle, &prop);
    if (converted == Success) {
        XSetWMName(dpy_, w.xid, &prop);
        XSetWMIconName(dpy_, w.xid, &prop);
    } else {
        XChangeProperty(dpy_, w.xid, XA_WM_NAME, atoms_.utf8, 8, PropModeReplace, text, length);
        XChangeProperty(dpy_, w.xid, XA_WM_ICON_NAME, atoms_.utf8, 8, PropModeReplace, text, length);
    }
    // A partial conversion (a positive count) made a property too.
    if (converted >= Success && prop.value) XFree(prop.value);
    Atom type = atoms_.typeNormal;
    switch (t.role) {
    case WindowRole::Dialog:
        type = atoms_.typeDialog;
        break;
    case WindowRole::Utility:
        type = atoms_.typeUtility;
        break;
    case WindowRole::Menu:
        type = atoms_.typeMenu;
        break;
    case WindowRole::Tooltip:
        type = atoms_.typeTooltip;
        break;
    case WindowRole::Normal:
        break;
    }
    XChangeProperty(dpy_, w.xid, atoms_.windowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);
    ApplyTransientFor(w);
    // A window not yet mapped says its state itself; a mapped one asks the
    // window manager, which owns the property from then on.
    if (!w.mapped) {
        if (t.topmost)
            XChangeProperty(dpy_, w.xid, atoms_.state, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&atoms_.stateAbove), 1);
        else
            XDeleteProperty(dpy_, w.xid, atoms_.state);
    }
}

bool X11Backend::Hidden(const Win& w) {
    // Without a compositing manager per-pixel alpha cannot blend: glows,
    // shadows and soft borders are left out rather than shown as dark blocks.
    return w.perPixel && XGetSelectionOwner(dpy_, atoms_.compositor) == None;
}

void X11Backend::ApplyInputShape(Win& w) {
    if (!shape_) return;
    // An empty input shape lets clicks through to what lies below.
    if (w.traits.clickThrough)
        XShapeCombineRectangles(dpy_, w.xid, ShapeInput, 0, 0, nullptr, 0, ShapeSet, YXBanded);
    else
        XShapeCombineMask(dpy_, w.xid, ShapeInput, 0, 0, None, ShapeSet);
}

void X11Backend::ApplyTransientFor(Win& w) {
    Win* owner = w.traits.owner ? Find(w.traits.owner) : nullptr;
    if (owner && owner->xid)
        XSetTransientForHint(dpy_, w.xid, owner->xid);
    else
        XDeleteProperty(dpy_, w.xid, XA_WM_TRANSIENT_FOR);
}

void X11Backend::SendStateAbove(Win& w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w.xid;
    e.xclient.message_type = atoms_.state;
    e.xclient.format = 32;
    e.xclient.data.l[0] = w.traits.topmost ? 1 : 0; // add, remove
    e.xclient.data.l[1] = static_cast<long>(atoms_.stateAbove);
    e.xclient.data.l[3] = 1; // asked by an application
    XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void X11Backend::RefreshMonitors() {
    std::vector<Monitor> found;
    if (randr_) {
        int count = 0;
        XRRMonitorInfo* info = XRRGetMonitors(dpy_, root_, True, &count);
        for (int i = 0; i < count; ++i) {
            RECT r{info[i].x, info[i].y, info[i].x + info[i].width, info[i].y + info[i].height};
            if (r.right <= r.left || r.bottom <= r.top) continue;
            // The primary monitor comes first, as Win32 lists it.
            auto at = info[i].primary ? found.begin() : found.end();
            found.insert(at, {r, r});
        }
        if (info) XRRFreeMonitors(info);
    }
    if (found.empty()) {
        RECT all{0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)};
        found.push_back({all, all});
    }
    // The window manager's work area spans the desktop and leaves out its
    // panels; the first entry is the current desktop's.
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, root_, atoms_.workArea, 0, 4, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count >= 4) {
        auto* v = reinterpret_cast<long*>(data);
        RECT work{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[0] + v[2]),
                  static_cast<int>(v[1] + v[3])};
        for (Monitor& m : found) {
            RECT both;
            if (IntersectRect(&both, &work, &m.area)) m.work = both;
        }
    }
    if (data) XFree(data);
    bool changed = found.size() != monitors_.size();
    for (size_t i = 0; !changed && i < found.size(); ++i)
        changed =
            !EqualRect(&found[i].area, &monitors_[i].area) || !EqualRect(&found[i].work, &monitors_[i].work);
    monitors_ = std::move(found);
    if (changed && !wins_.empty()) {
        RawInput ev;
        ev.kind = RawInput::DisplayChange;
        Queue(ev);
    }
}

::Cursor X11Backend::CursorOf(int shape) {
    auto it = cursors_.find(shape);
    if (it != cursors_.end()) return it->second;
    // The cursor font's shapes; Xlib takes them from the user's Xcursor theme
    // when one is installed.
    unsigned glyph = XC_left_ptr;
    switch (shape) {
    case 32513:
        glyph = XC_xterm;
        break;
    case 32514:
        glyph = XC_watch;
        break;
    case 32642:
        glyph = XC_bottom_right_corner;
        break;
    case 32643:
        glyph = XC_bottom_left_corner;
        break;
    case 32644:
        glyph = XC_sb_h_double_arrow;
        break;
    case 32645:
        glyph = XC_sb_v_double_arrow;
        break;
    case 32646:
        glyph = XC_fleur;
        break;
    case 32649:
        glyph = XC_hand2;
        break;
    default:
        break;
    }
    ::Cursor c = XCreateFontCursor(dpy_, glyph);
    cursors_[shape] = c;
    return c;
}

void X11Backend::SetCursor(int shape) {
    cursorShape_ = shape;
    Win* w = FindX(pointerIn_);
    if (!w || !w->xid) return;
    ::Cursor c = shape ? CursorOf(shape) : 0;
    if (c == w->cursor) return;
    w->cursor = c;
    if (c)
        XDefineCursor(dpy_, w->xid, c);
    else
        XUndefineCursor(dpy_, w->xid);
    XFlush(dpy_);
}

void X11Backend::Activate(uintptr_t id) {
    Win* w = Find(id);
    if (!w || !w->xid || !w->mapped) return;
    XRaiseWindow(dpy_, w->xid);
    if (w->kind == WindowKind::Normal) {
        // A window manager activates through its own protocol; without one
        // the focus is ours to set.
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w->xid;
        e.xclient.message_type = atoms_.activeWindow;
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1; // asked by an application
        e.xclient.data.l[1] = static_cast<long>(lastTime_);
        XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        // Moving the keyboard between our own windows is ours to do, even
        // under a window manager that takes no activation requests from
        // applications; taking it from another program is not: then the
        // window manager decides on our request.
        ::Window focus = None;
        int revert = 0;
        XGetInputFocus(dpy_, &focus, &revert);
        bool ours = focus == None || focus == PointerRoot || FindX(focus);
        if (!ours && Managed(*w) && WindowManagerActivates()) {
            XFlush(dpy_);
            return;
        }
        // Not yet viewable (the window manager still frames it) is no fault.
        ErrorTrap trap(dpy_);
        XSetInputFocus(dpy_, w->xid, RevertToParent, CurrentTime);
        XSync(dpy_, False);
        return;
    }
    XFlush(dpy_);
}

void X11Backend::GrabInput(uintptr_t id, bool on) {
    Win* w = Find(id);
    if (!on) {
        if (grab_ != id) return;
        grab_ = 0;
        XUngrabPointer(dpy_, CurrentTime);
        XUngrabKeyboard(dpy_, CurrentTime);
        XFlush(dpy_);
        return;
    }
    if (!w || !w->xid || !w->mapped) return;
    // Our own windows keep their events; a click anywhere else comes to the
    // menu, in screen coordinates, and closes it as on Windows.
    unsigned mask =
        ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    if (XGrabPointer(dpy_, w->xid, True, mask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) ==
        GrabSuccess) {
        grab_ = id;
        XGrabKeyboard(dpy_, w->xid, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    }
    XFlush(dpy_);
}

} // namespace display

namespace display {

void X11Backend::SetWMHints(Win& w) {
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    // Read by the window manager when the window is mapped.
    hints.initial_state = w.minimized ? IconicState : NormalState;
    XSetWMHints(dpy_, w.xid, &hints);
}

void X11Backend::SetIcon(uintptr_t id, const std::vector<gdi::IconImage>& images) {
    Win& w = wins_[id];
    // Each size as width, height, then straight-alpha ARGB rows, one pixel to
    // a long whatever the long's size, as Xlib hands 32-bit properties over.
    std::vector<unsigned long> data;
    for (const gdi::IconImage& img : images) {
        size_t count = static_cast<size_t>(img.width) * static_cast<size_t>(img.height);
        if (img.Empty() || img.color.size() < count) continue;
        data.push_back(static_cast<unsigned long>(img.width));
        data.push_back(static_cast<unsigned long>(img.height));
        for (size_t i = 0; i < count; ++i) {
            uint32_t p = img.color[i];
            bool through = !img.hasAlpha && i < img.mask.size() && img.mask[i];
            uint32_t alpha = img.hasAlpha ? p >> 24 : through ? 0 : 0xFF;
            data.push_back(alpha ? (alpha << 24) | (p & 0xFFFFFF) : 0);
        }
    }
    if (data == w.icon) return;
    w.icon = std::move(data);
    if (!w.xid) return;
    ApplyIcon(w);
    XFlush(dpy_);
}

void X11Backend::ApplyIcon(Win& w) {
    if (w.icon.empty()) {
        XDeleteProperty(dpy_, w.xid, atoms_.netIcon);
        return;
    }
    XChangeProperty(dpy_, w.xid, atoms_.netIcon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(w.icon.data()), static_cast<int>(w.icon.size()));
}

bool X11Backend::Managed(const Win& w) {
    // A window manager marks each window it manages with WM_STATE.
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(dpy_, w.xid, atoms_.wmState, 0, 2, False, AnyPropertyType, &type, &format,
                                    &count, &after, &data) == Success &&
                 type != None;
    if (data) XFree(data);
    return found;
}

void X11Backend::Iconify(Win& w) {
    if (w.kind == WindowKind::Normal && Managed(w)) {
        // The window manager unmaps it and says so through WM_STATE.
        XIconifyWindow(dpy_, w.xid, screen_);
        return;
    }
    // Nobody else would take it off the screen.
    XUnmapWindow(dpy_, w.xid);
    w.iconic = true;
}

void X11Backend::SetMinimized(uintptr_t id, bool minimized) {
    Win& w = wins_[id];
    if (w.minimized == minimized) return;
    w.minimized = minimized;
    if (!w.xid || !w.mapped) return; // the first map starts it as an icon
    if (minimized && !w.iconic) {
        GrabInput(id, false);
        Iconify(w);
    } else if (!minimized && w.iconic) {
        // Mapping an iconic window asks the window manager to bring it back.
        w.iconic = false;
        XMapRaised(dpy_, w.xid);
    }
    XFlush(dpy_);
}

void X11Backend::OnMapChange(::Window xid, bool mapped) {
    Win* w = FindX(xid);
    if (!w) return;
    if (!mapped) {
        // Our own unmaps come while the window is no longer wanted on the screen or is iconic;
        // any other is the desktop's.  A window manager reparenting the window unmaps and maps
        // it at once.
        if (w->mapped && !w->iconic) w->unmappedByDesktop = true;
        return;
    }
    if (!w->unmappedByDesktop) return;
    w->unmappedByDesktop = false;
    // A window manager without icons withdraws a window asked to minimise, saying nothing in
    // WM_STATE; shown again, the window is restored, so that it paints and takes input.
    if (!w->minimized || !w->mapped) return;
    w->iconic = false;
    RawInput ev;
    ev.kind = RawInput::Restore;
    ev.window = byX_[xid];
    Queue(ev);
}

void X11Backend::OnStateChange(Win& w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<bool> iconic;
    if (XGetWindowProperty(dpy_, w.xid, atoms_.wmState, 0, 2, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32 && count >= 1) {
        long state = reinterpret_cast<long*>(data)[0];
        // Withdrawn: we hid it ourselves; nothing for the window system to hear.
        if (state == IconicState || state == NormalState) iconic = state == IconicState;
    } else if (type == None) {
        // Window managers that keep no WM_STATE still say _NET_WM_STATE_HIDDEN.
        if (data) XFree(data), data = nullptr;
        if (XGetWindowProperty(dpy_, w.xid, atoms_.state, 0, 32, False, XA_ATOM, &type, &format, &count,
                               &after, &data) == Success &&
            data && format == 32) {
            auto* atoms = reinterpret_cast<Atom*>(data);
            iconic = std::find(atoms, atoms + count, atoms_.stateHidden) != atoms + count;
        }
    }
    if (data) XFree(data);
    if (!iconic || *iconic == w.iconic || !w.mapped) return;
    w.iconic = *iconic;
    if (w.iconic == w.minimized) return; // as the window system asked
    RawInput ev;
    ev.kind = w.iconic ? RawInput::Minimize : RawInput::Restore;
    ev.window = byX_[w.xid];
    Queue(ev);
}

} // namespace display

namespace display {

bool X11Backend::WantsArgb(const Win& w) {
    return argbVisual_ && w.perPixel && !w.docked && XGetSelectionOwner(dpy_, atoms_.compositor) != None;
}

void X11Backend::FreeXWindow(Win& w) {
    FreeImage(w);
    DestroyInputContext(w);
    if (w.gc) XFreeGC(dpy_, w.gc);
    w.gc = nullptr;
    if (!w.xid) return;
    if (pointerIn_ == w.xid) pointerIn_ = 0;
    byX_.erase(w.xid);
    XDestroyWindow(dpy_, w.xid);
    w.xid = 0;
}

void X11Backend::RecreateXWindow(Win& w, uintptr_t id) {
    // Everything the window says of itself is kept in Win and said again.
    bool mapped = w.mapped, grabbed = grab_ == id;
    if (grabbed) GrabInput(id, false);
    FreeXWindow(w);
    w.mapped = false;
    w.iconic = false;
    w.cursor = 0;
    w.applied.reset();
    CreateXWindow(w, id);
    if (mapped) {
        XMapRaised(dpy_, w.xid);
        w.mapped = true;
        if (grabbed) GrabInput(id, true);
    }
}

} // namespace display

namespace display {

bool X11Backend::WindowManagerActivates() {
    // The running window manager lists what it supports on the root window.
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool yes = false;
    if (XGetWindowProperty(dpy_, root_, atoms_.supported, 0, 1024, False, XA_ATOM, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32) {
        auto* atoms = reinterpret_cast<Atom*>(data);
        yes = std::find(atoms, atoms + count, atoms_.activeWindow) != atoms + count;
    }
    if (data) XFree(data);
    return yes;
}

} // namespace display

namespace display {

void X11Backend::WatchCompositor() {
    ::Window owner = XGetSelectionOwner(dpy_, atoms_.compositor);
    if (owner == compositorOwner_) return;
    compositorOwner_ = owner;
    if (!owner) return;
    // Gone already is no fault: the destroy then never comes, nor is needed.
    ErrorTrap trap(dpy_);
    XSelectInput(dpy_, owner, StructureNotifyMask);
}

void X11Backend::OnCompositorChange() {
    // Per-pixel-alpha windows follow the compositor: off the screen without
    // one (an alpha visual would show dark blocks), blended with one.
    WatchCompositor();
    for (auto& [id, w] : wins_) {
        if (!w.perPixel || w.docked) continue;
        bool show =
            w.wanted && w.screen.right > w.screen.left && w.screen.bottom > w.screen.top && !Hidden(w);
        if (!show && w.mapped) {
            GrabInput(id, false);
            XUnmapWindow(dpy_, w.xid);
            w.mapped = false;
        }
        if (w.xid && w.argb != WantsArgb(w)) RecreateXWindow(w, id);
        if (show && !w.mapped) {
            if (!w.xid) CreateXWindow(w, id);
            XMapRaised(dpy_, w.xid);
            w.mapped = true;
        }
        UpdateAlphaMask(w);
        if (w.xid) ApplyShape(w);
    }
    XFlush(dpy_);
}

} // namespace display

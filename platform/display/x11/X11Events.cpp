#include "display/x11/X11Backend.h"
#include "display/x11/X11Keys.h"

#include <X11/extensions/Xrandr.h>

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <unistd.h>

namespace display {

void X11Backend::Queue(RawInput ev) {
    // Motion piles up faster than windows follow it; only the latest matters.
    if (ev.kind == RawInput::MouseMove && !input_.empty() && input_.back().kind == RawInput::MouseMove)
        input_.back() = ev;
    else
        input_.push_back(std::move(ev));
}

void X11Backend::Drain() {
    while (XPending(dpy_)) {
        XEvent e;
        XNextEvent(dpy_, &e);
        // The input method takes the keys it composes with.
        if (XFilterEvent(&e, None)) continue;
        Handle(e);
    }
}

bool X11Backend::PollInput(RawInput& ev) {
    if (input_.empty()) Drain();
    if (input_.empty()) return false;
    ev = std::move(input_.front());
    input_.pop_front();
    return true;
}

void X11Backend::Wait(int timeoutMs) {
    if (!input_.empty() || XPending(dpy_)) return;
    pollfd fds[2] = {
        {ConnectionNumber(dpy_), POLLIN, 0},
        {wakeFd_,                POLLIN, 0}
    };
    if (poll(fds, 2, timeoutMs < 0 ? -1 : timeoutMs) > 0 && (fds[1].revents & POLLIN)) {
        uint64_t count = 0;
        while (read(wakeFd_, &count, sizeof count) < 0 && errno == EINTR) {
        }
    }
}

void X11Backend::Wake() {
    uint64_t one = 1;
    while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void X11Backend::Handle(XEvent& e) {
    RawInput ev;
    switch (e.type) {
    case MotionNotify:
        lastTime_ = e.xmotion.time;
        FollowDocked(e.xmotion.window, e.xmotion.x_root - e.xmotion.x, e.xmotion.y_root - e.xmotion.y);
        NoteWindowUnderPointer(e.xmotion.window);
        ev.kind = RawInput::MouseMove;
        ev.pt = {e.xmotion.x_root, e.xmotion.y_root};
        Queue(ev);
        break;
    case EnterNotify:
    case LeaveNotify:
        // Where the pointer went is news for hover and mouse-leave tracking;
        // grab bookkeeping is not.
        if (e.xcrossing.mode != NotifyNormal) break;
        if (e.type == EnterNotify) NoteWindowUnderPointer(e.xcrossing.window);
        FollowDocked(e.xcrossing.window, e.xcrossing.x_root - e.xcrossing.x,
                     e.xcrossing.y_root - e.xcrossing.y);
        ev.kind = RawInput::MouseMove;
        ev.pt = {e.xcrossing.x_root, e.xcrossing.y_root};
        Queue(ev);
        break;
    case ButtonPress:
    case ButtonRelease: {
        lastTime_ = e.xbutton.time;
        FollowDocked(e.xbutton.window, e.xbutton.x_root - e.xbutton.x, e.xbutton.y_root - e.xbutton.y);
        bool down = e.type == ButtonPress;
        ev.pt = {e.xbutton.x_root, e.xbutton.y_root};
        unsigned b = e.xbutton.button;
        if (b == Button4 || b == Button5) {
            if (!down) break; // a wheel step is a press and a release
            ev.kind = RawInput::Wheel;
            ev.delta = b == Button4 ? 120 : -120;
        } else if (b >= Button1 && b <= Button3) {
            ev.kind = down ? RawInput::ButtonDown : RawInput::ButtonUp;
            ev.button = b == Button1 ? 0 : b == Button3 ? 1 : 2;
        } else {
            break;
        }
        Queue(ev);
        break;
    }
    case KeyPress:
    case KeyRelease:
        OnKey(e.xkey);
        break;
    case FocusIn:
    case FocusOut:
        OnFocus(e.xfocus);
        break;
    case Expose:
        // The surface keeps every pixel: uncovered parts come straight from it.
        if (Win* w = FindX(e.xexpose.window))
            PutImage(*w, {e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                          e.xexpose.y + e.xexpose.height});
        break;
    case ConfigureNotify:
        if (e.xconfigure.window == root_)
            RefreshMonitors();
        else
            OnConfigure(e.xconfigure);
        break;
    case PropertyNotify:
        if (e.xproperty.window == root_ && e.xproperty.atom == atoms_.workArea) RefreshMonitors();
        if (e.xproperty.atom == atoms_.wmState || e.xproperty.atom == atoms_.state)
            if (Win* w = FindX(e.xproperty.window)) OnStateChange(*w);
        break;
    case ClientMessage:
        if (e.xclient.message_type == atoms_.wmProtocols && e.xclient.format == 32 &&
            static_cast<Atom>(e.xclient.data.l[0]) == atoms_.wmDelete) {
            auto it = byX_.find(e.xclient.window);
            if (it == byX_.end()) break;
            ev.kind = RawInput::Close;
            ev.window = it->second;
            Queue(ev);
        } else if (e.xclient.window == root_ && e.xclient.message_type == atoms_.manager &&
                   e.xclient.format == 32 && static_cast<Atom>(e.xclient.data.l[1]) == atoms_.tray) {
            ev.kind = RawInput::TrayCreated;
            Queue(ev);
        } else if (e.xclient.window == root_ && e.xclient.message_type == atoms_.manager &&
                   e.xclient.format == 32 && static_cast<Atom>(e.xclient.data.l[1]) == atoms_.compositor) {
            OnCompositorChange();
        }
        break;
    case ReparentNotify:
        OnReparent(e.xreparent);
        break;
    case UnmapNotify:
    case MapNotify:
        OnMapChange(e.type == MapNotify ? e.xmap.window : e.xunmap.window, e.type == MapNotify);
        break;
    case DestroyNotify:
        if (e.xdestroywindow.window == compositorOwner_ && compositorOwner_) {
            compositorOwner_ = 0;
            OnCompositorChange();
        }
        OnDestroyed(e.xdestroywindow.window);
        break;
    case SelectionRequest:
        OnSelectionRequest(e.xselectionrequest);
        break;
    case MappingNotify:
        if (e.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&e.xmapping);
        break;
    default:
        if (randr_ && (e.type == randrEvent_ + RRScreenChangeNotify || e.type == randrEvent_ + RRNotify)) {
            XRRUpdateConfiguration(&e);
            RefreshMonitors();
        }
        break;
    }
}

void X11Backend::NoteWindowUnderPointer(::Window xid) {
    if (xid == pointerIn_ || !FindX(xid)) return;
    pointerIn_ = xid;
    // The cursor follows the pointer into the window until the window system
    // picks another.
    SetCursor(cursorShape_);
}

void X11Backend::OnKey(XKeyEvent& e) {
    lastTime_ = e.time;
    bool down = e.type == KeyPress;
    // The key's own symbol, whatever Shift or Num Lock make of it, names the key.
    int vk = x11::VirtualKeyOf(XLookupKeysym(&e, 0));
    if (!vk) {
        KeySym sym = NoSymbol;
        char buf[16];
        XLookupString(&e, buf, sizeof buf, &sym, nullptr);
        vk = x11::VirtualKeyOf(sym);
    }
    if (vk) {
        RawInput ev;
        ev.kind = down ? RawInput::KeyDown : RawInput::KeyUp;
        ev.vk = vk;
        ev.pt = {e.x_root, e.y_root};
        Queue(ev);
    }
    // Text is what the key types with its modifiers.  Ctrl and Alt chords are
    // commands: the window system makes their characters from the key itself.
    // An input method's commit comes as a press without a key.
    if (!down || (e.keycode != 0 && (e.state & (ControlMask | Mod1Mask)))) return;
    RawInput ev;
    ev.kind = RawInput::Text;
    ev.text = TypedText(e);
    if (!ev.text.empty()) Queue(ev);
}

void X11Backend::OnConfigure(const XConfigureEvent& e) {
    auto it = byX_.find(e.window);
    if (it == byX_.end()) return;
    Win* w = Find(it->second);
    // Popups are never moved by anyone but us (a tray moves the icons docked
    // in it); an event from before our last move tells of a place the window
    // has already left.
    if (!w || (w->kind != WindowKind::Normal && !w->docked) || !w->mapped || e.serial < w->moveSerial) return;
    int x = e.x, y = e.y;
    if (!e.send_event) {
        // A real event inside a window manager's frame gives the place in the frame.
        ::Window child = 0;
        XTranslateCoordinates(dpy_, e.window, root_, 0, 0, &x, &y, &child);
    }
    RECT now{x, y, x + e.width, y + e.height};
    if (EqualRect(&now, &w->screen)) return;
    w->screen = now;
    RawInput ev;
    ev.kind = RawInput::Moved;
    ev.window = it->second;
    ev.rect = now;
    Queue(ev);
}

} // namespace display

namespace display {

void X11Backend::OnFocus(const XFocusChangeEvent& e) {
    // Grabs and the pointer's own focus move no keyboard between windows.
    if (e.mode == NotifyGrab || e.mode == NotifyUngrab || e.detail == NotifyPointer ||
        e.detail == NotifyInferior)
        return;
    // The input method types into the window that has the keyboard.
    FocusInputContext(e.window, e.type == FocusIn);
    // Only where the keyboard is now counts: an event from before our own
    // later activation would otherwise take it back.
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy_, &focus, &revert);
    auto now = byX_.find(focus);
    RawInput ev;
    if (e.type == FocusIn && focus == e.window && now != byX_.end()) {
        Win* w = Find(now->second);
        if (!w || w->docked || w->kind != WindowKind::Normal) return;
        ev.kind = RawInput::Activated;
        ev.window = now->second;
        Queue(ev);
    } else if (e.type == FocusOut && now == byX_.end() && focus != None && focus != PointerRoot &&
               focus != root_) {
        // A focus that fell back to the root (our window went, the next one
        // is not on the screen yet) is no other program's.
        ev.kind = RawInput::Deactivated;
        Queue(ev);
    }
}

} // namespace display

#include "display/x11/X11Backend.h"

#include "display/x11/X11Display.h"
#include "display/x11/X11Errors.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/eventfd.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

namespace display {

using x11::ErrorTrap;

std::unique_ptr<X11Backend> X11Backend::Open(const char* name) {
    x11::InstallErrorHandler();
    ::Display* dpy = XOpenDisplay(name);
    if (!dpy) return nullptr;
    std::unique_ptr<X11Backend> b(new X11Backend);
    b->dpy_ = dpy;
    b->screen_ = DefaultScreen(dpy);
    b->root_ = RootWindow(dpy, b->screen_);
    b->visual_ = DefaultVisual(dpy, b->screen_);
    b->depth_ = DefaultDepth(dpy, b->screen_);
    b->gc_ = DefaultGC(dpy, b->screen_);
    // Per-pixel-alpha windows under a compositor need a visual with alpha
    // (a depth-32 TrueColor visual with the colour masks leaves the top byte
    // to alpha), and a colormap and GC of its own.
    XVisualInfo argb{};
    if (XMatchVisualInfo(dpy, b->screen_, 32, TrueColor, &argb) && argb.red_mask == 0xFF0000 &&
        argb.green_mask == 0xFF00 && argb.blue_mask == 0xFF) {
        b->argbVisual_ = argb.visual;
        b->argbColormap_ = XCreateColormap(dpy, b->root_, argb.visual, AllocNone);
    }
    b->wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    int major = 0, minor = 0;
    Bool pixmaps = False;
    b->shm_ = XShmQueryVersion(dpy, &major, &minor, &pixmaps);
    int ev = 0, err = 0;
    b->shape_ = XShapeQueryExtension(dpy, &ev, &err);
    // Held keys then repeat as presses alone, which is what key-repeat flags expect.
    XkbSetDetectableAutoRepeat(dpy, True, nullptr);

    std::string compositor = "_NET_WM_CM_S" + std::to_string(b->screen_);
    std::string tray = "_NET_SYSTEM_TRAY_S" + std::to_string(b->screen_);
    const char* names[] = {"WM_PROTOCOLS",
                           "WM_DELETE_WINDOW",
                           "_MOTIF_WM_HINTS",
                           "_NET_WM_WINDOW_OPACITY",
                           "_NET_WORKAREA",
                           "CLIPBOARD",
                           "UTF8_STRING",
                           "TARGETS",
                           "TARVIK_SELECTION",
                           "_NET_WM_NAME",
                           "_NET_WM_ICON_NAME",
                           "_NET_WM_PID",
                           "_NET_WM_WINDOW_TYPE",
                           "_NET_WM_WINDOW_TYPE_NORMAL",
                           "_NET_WM_WINDOW_TYPE_DIALOG",
                           "_NET_WM_WINDOW_TYPE_UTILITY",
                           "_NET_WM_WINDOW_TYPE_POPUP_MENU",
                           "_NET_WM_WINDOW_TYPE_TOOLTIP",
                           "_NET_WM_STATE",
                           "_NET_WM_STATE_ABOVE",
                           "_NET_ACTIVE_WINDOW",
                           compositor.c_str(),
                           "WM_STATE",
                           "_NET_WM_STATE_HIDDEN",
                           "_NET_WM_ICON",
                           tray.c_str(),
                           "_NET_SYSTEM_TRAY_OPCODE",
                           "MANAGER",
                           "_XEMBED_INFO",
                           "_NET_SUPPORTED"};
    Atom atoms[std::size(names)];
    XInternAtoms(dpy, const_cast<char**>(names), static_cast<int>(std::size(names)), False, atoms);
    Atoms& n = b->atoms_;
    Atom* next = atoms;
    for (Atom* field :
         {&n.wmProtocols, &n.wmDelete,   &n.motifHints,   &n.opacity,     &n.workArea,    &n.clipboard,
          &n.utf8,        &n.targets,    &n.transfer,     &n.netName,     &n.netIconName, &n.pid,
          &n.windowType,  &n.typeNormal, &n.typeDialog,   &n.typeUtility, &n.typeMenu,    &n.typeTooltip,
          &n.state,       &n.stateAbove, &n.activeWindow, &n.compositor,  &n.wmState,     &n.stateHidden,
          &n.netIcon,     &n.tray,       &n.trayOpcode,   &n.manager,     &n.xembedInfo,  &n.supported})
        *field = *next++;

    // The work area and the monitors are read again when the window manager
    // or the screen changes them.
    XSelectInput(dpy, b->root_, PropertyChangeMask | StructureNotifyMask);
    b->randr_ = XRRQueryExtension(dpy, &b->randrEvent_, &err);
    if (b->randr_) XRRSelectInput(dpy, b->root_, RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
    b->RefreshMonitors();
    b->OpenInputMethod();
    b->WatchCompositor();

    XSetWindowAttributes a{};
    a.event_mask = PropertyChangeMask;
    b->helper_ = XCreateWindow(dpy, b->root_, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                               CWEventMask, &a);
    XFlush(dpy);
    return b;
}

X11Backend::~X11Backend() {
    for (auto& [id, w] : wins_) FreeXWindow(w);
    if (argbColormap_) XFreeColormap(dpy_, argbColormap_);
    if (helper_) XDestroyWindow(dpy_, helper_);
    for (auto& [shape, cursor] : cursors_) XFreeCursor(dpy_, cursor);
    if (im_) XCloseIM(im_);
    XCloseDisplay(dpy_);
    if (wakeFd_ >= 0) close(wakeFd_);
}

X11Backend::Win* X11Backend::Find(uintptr_t id) {
    auto it = wins_.find(id);
    return it == wins_.end() ? nullptr : &it->second;
}

X11Backend::Win* X11Backend::FindX(::Window xid) {
    auto it = byX_.find(xid);
    return it == byX_.end() ? nullptr : Find(it->second);
}

::Window X11Backend::XWindowOf(uintptr_t id) const {
    auto it = wins_.find(id);
    return it == wins_.end() ? 0 : it->second.xid;
}

std::vector<Monitor> X11Backend::Monitors() {
    return monitors_;
}

std::shared_ptr<gdi::Bitmap> X11Backend::CreateSurface(uintptr_t id, int width, int height) {
    auto s = gdi::NewBitmap(std::max(1, width), std::max(1, height), 32, true);
    Win& w = wins_[id];
    w.surface = s;
    FreeImage(w); // made again at the new size when first presented
    return s;
}

void X11Backend::DestroySurface(uintptr_t id) {
    Win* w = Find(id);
    if (!w) return;
    GrabInput(id, false);
    FreeXWindow(*w);
    XFlush(dpy_);
    wins_.erase(id);
}

void X11Backend::CreateXWindow(Win& w, uintptr_t id) {
    XSetWindowAttributes a{};
    // No background: the surface paints every pixel, and a cleared window
    // would flash before it does.
    a.background_pixmap = None;
    a.border_pixel = 0;
    a.bit_gravity = NorthWestGravity;
    a.override_redirect = w.kind == WindowKind::Popup;
    a.event_mask = WindowEvents();
    int width = std::max(1, static_cast<int>(w.screen.right - w.screen.left));
    int height = std::max(1, static_cast<int>(w.screen.bottom - w.screen.top));
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWOverrideRedirect | CWEventMask;
    w.argb = WantsArgb(w);
    if (w.argb) {
        a.colormap = argbColormap_;
        mask |= CWColormap;
    }
    w.xid = XCreateWindow(dpy_, root_, w.screen.left, w.screen.top, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, w.argb ? 32 : depth_, InputOutput,
                          w.argb ? argbVisual_ : visual_, mask, &a);
    if (w.argb) w.gc = XCreateGC(dpy_, w.xid, 0, nullptr);
    byX_[w.xid] = id;
    Atom protocols[] = {atoms_.wmDelete};
    XSetWMProtocols(dpy_, w.xid, protocols, 1);
    XClassHint cls{const_cast<char*>("tarvik"), const_cast<char*>("Tarvik")};
    XSetClassHint(dpy_, w.xid, &cls);
    // The process id means something to the desktop only with the host's name.
    long pid = getpid();
    XChangeProperty(dpy_, w.xid, atoms_.pid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        XTextProperty machine{reinterpret_cast<unsigned char*>(host), XA_STRING, 8, std::strlen(host)};
        XSetWMClientMachine(dpy_, w.xid, &machine);
    }
    ApplyTraits(w);
    ApplyInputShape(w);
    CreateInputContext(w);
    if (cursorShape_) XDefineCursor(dpy_, w.xid, w.cursor = CursorOf(cursorShape_));
    // Dialogs made before their owner was first shown name it now.
    for (auto& [otherId, other] : wins_)
        if (other.xid && other.traits.owner == id) ApplyTransientFor(other);
    SetWMHints(w);
    ApplyIcon(w);
    SetKindHints(w);
    SetPositionHints(w);
    w.applied.reset();
    ApplyShape(w);
    ApplyOpacity(w);
}

void X11Backend::SetKindHints(Win& w) {
    if (w.kind == WindowKind::Normal) {
        // Our windows draw their own frames: ask for none.
        long motif[5] = {2 /* decorations given */, 0, 0 /* no decorations */, 0, 0};
        XChangeProperty(dpy_, w.xid, atoms_.motifHints, atoms_.motifHints, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(motif), 5);
    } else {
        XDeleteProperty(dpy_, w.xid, atoms_.motifHints);
    }
}

void X11Backend::SetPositionHints(Win& w) {
    // Without a user-given position many window managers place windows themselves.
    XSizeHints* h = XAllocSizeHints();
    if (!h) return;
    h->flags = USPosition | USSize | PPosition | PSize;
    h->x = w.screen.left, h->y = w.screen.top;
    h->width = std::max(1, static_cast<int>(w.screen.right - w.screen.left));
    h->height = std::max(1, static_cast<int>(w.screen.bottom - w.screen.top));
    XSetWMNormalHints(dpy_, w.xid, h);
    XFree(h);
}

void X11Backend::Place(uintptr_t id, const RECT& screen, bool visible, WindowKind kind) {
    Win& w = wins_[id];
    w.wanted = visible;
    bool show = visible && screen.right > screen.left && screen.bottom > screen.top && !Hidden(w);
    if (w.docked && w.xid) return PlaceDocked(w, show);
    if (!w.xid) {
        w.screen = screen, w.kind = kind;
        if (!show) return; // made when first shown
        CreateXWindow(w, id);
    }
    if (kind != w.kind) {
        // override-redirect is read when a window is mapped.
        if (w.mapped) XUnmapWindow(dpy_, w.xid), w.mapped = false;
        w.kind = kind;
        XSetWindowAttributes a{};
        a.override_redirect = kind == WindowKind::Popup;
        XChangeWindowAttributes(dpy_, w.xid, CWOverrideRedirect, &a);
        SetKindHints(w);
    }
    if (!EqualRect(&screen, &w.screen) && screen.right > screen.left && screen.bottom > screen.top) {
        w.screen = screen;
        w.moveSerial = NextRequest(dpy_);
        XMoveResizeWindow(dpy_, w.xid, screen.left, screen.top,
                          static_cast<unsigned>(screen.right - screen.left),
                          static_cast<unsigned>(screen.bottom - screen.top));
    }
    if (show != w.mapped) {
        w.mapped = show;
        if (show) {
            SetPositionHints(w);
            SetWMHints(w);
            XMapRaised(dpy_, w.xid);
        } else if (w.kind == WindowKind::Normal) {
            GrabInput(id, false);
            XWithdrawWindow(dpy_, w.xid, screen_); // tells the window manager too
            w.iconic = false;
        } else {
            GrabInput(id, false);
            XUnmapWindow(dpy_, w.xid);
            w.iconic = false;
        }
    }
    XFlush(dpy_);
}

void X11Backend::SetShape(uintptr_t id, const gdi::Region* shape) {
    Win& w = wins_[id];
    if (shape)
        w.region = *shape;
    else
        w.region.reset();
    if (w.xid) {
        ApplyShape(w);
        XFlush(dpy_);
    }
}

void X11Backend::SetOpacity(uintptr_t id, int alpha, bool perPixel) {
    Win& w = wins_[id];
    alpha = std::clamp(alpha, 0, 255);
    bool changed = alpha != w.alpha || perPixel != w.perPixel;
    w.alpha = alpha;
    if (perPixel != w.perPixel) {
        w.perPixel = perPixel;
        // A visual is chosen when the window is made: per-pixel alpha turned
        // on (or off) later needs a new one.
        if (w.xid && w.argb != WantsArgb(w)) RecreateXWindow(w, id);
        w.alphaMask.reset();
        if (perPixel) UpdateAlphaMask(w);
    }
    if (w.xid && changed) {
        ApplyShape(w);
        ApplyOpacity(w);
        if (w.mapped && Hidden(w)) {
            GrabInput(id, false);
            XUnmapWindow(dpy_, w.xid);
            w.mapped = false;
        }
        XFlush(dpy_);
    }
}

void X11Backend::ApplyOpacity(Win& w) {
    // A compositor blends by this property; without one the window stays opaque.
    if (w.alpha >= 255) {
        XDeleteProperty(dpy_, w.xid, atoms_.opacity);
        return;
    }
    unsigned long v = static_cast<unsigned long>(w.alpha) * 0xFFFFFFFFul / 255;
    XChangeProperty(dpy_, w.xid, atoms_.opacity, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&v), 1);
}

void X11Backend::UpdateAlphaMask(Win& w) {
    // Without a compositor per-pixel alpha cannot blend: the window shows the
    // pixels that are not fully transparent.  A picture with no alpha at all
    // (drawn by plain GDI) shows whole rather than not at all.  A window with
    // an alpha visual is blended by the compositor instead.
    w.alphaMask.reset();
    if (!w.surface || w.argb) return;
    gdi::PixelView v = w.surface->View();
    std::vector<RECT> runs;
    for (int y = 0; y < v.height; ++y) {
        const uint32_t* row = v.Row32(y);
        for (int x = 0; x < v.width;) {
            while (x < v.width && (row[x] >> 24) == 0) ++x;
            int start = x;
            while (x < v.width && (row[x] >> 24) != 0) ++x;
            if (x > start) runs.push_back({start, y, x, y + 1});
        }
    }
    if (!runs.empty()) w.alphaMask = gdi::Region::FromRects(runs.data(), runs.size());
}

void X11Backend::ApplyShape(Win& w) {
    if (!shape_) return;
    std::optional<gdi::Region> want = w.region;
    if (w.alphaMask)
        want = want ? gdi::Region::Combine(*want, *w.alphaMask, gdi::Region::Op::And) : *w.alphaMask;
    if (want == w.applied) return;
    w.applied = want;
    if (!want) {
        XShapeCombineMask(dpy_, w.xid, ShapeBounding, 0, 0, None, ShapeSet);
        return;
    }
    std::vector<XRectangle> rects;
    for (const RECT& r : want->Rects()) {
        auto clampPos = [](LONG v) { return static_cast<short>(std::clamp<LONG>(v, SHRT_MIN, SHRT_MAX)); };
        auto clampLen = [](LONG v) { return static_cast<unsigned short>(std::clamp<LONG>(v, 0, USHRT_MAX)); };
        rects.push_back(
            {clampPos(r.left), clampPos(r.top), clampLen(r.right - r.left), clampLen(r.bottom - r.top)});
    }
    XShapeCombineRectangles(dpy_, w.xid, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                            ShapeSet, YXBanded);
}

void X11Backend::FreeImage(Win& w) {
    if (!w.image) return;
    if (w.shmAttached) {
        XShmDetach(dpy_, &w.shm);
        XSync(dpy_, False);
        shmdt(w.shm.shmaddr);
        w.image->data = nullptr; // not Xlib's to free
        w.shmAttached = false;
    }
    XDestroyImage(w.image);
    w.image = nullptr;
}

bool X11Backend::EnsureImage(Win& w) {
    if (!w.surface) return false;
    int width = w.surface->width, height = w.surface->height;
    if (w.image && w.image->width == width && w.image->height == height) return true;
    FreeImage(w);
    Visual* visual = w.argb ? argbVisual_ : visual_;
    int depth = w.argb ? 32 : depth_;
    if (shm_) {
        w.image = XShmCreateImage(dpy_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &w.shm,
                                  static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (w.image) {
            size_t size = static_cast<size_t>(w.image->bytes_per_line) * static_cast<size_t>(height);
            w.shm.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
            void* addr = w.shm.shmid >= 0 ? shmat(w.shm.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
            bool attached = false;
            if (addr != reinterpret_cast<void*>(-1)) {
                w.shm.shmaddr = w.image->data = static_cast<char*>(addr);
                w.shm.readOnly = False;
                ErrorTrap trap(dpy_);
                XShmAttach(dpy_, &w.shm);
                attached = !trap.Failed();
            }
            // Marked for removal now: it goes when both sides have let go.
            if (w.shm.shmid >= 0) shmctl(w.shm.shmid, IPC_RMID, nullptr);
            if (attached) {
                w.shmAttached = true;
                return true;
            }
            if (addr != reinterpret_cast<void*>(-1)) shmdt(addr);
            w.image->data = nullptr;
            XDestroyImage(w.image);
            w.image = nullptr;
        }
        // A server on another machine cannot see our memory: plain images from now on.
        shm_ = false;
    }
    w.image = XCreateImage(dpy_, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                           static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!w.image) return false;
    w.image->data = static_cast<char*>(std::calloc(static_cast<size_t>(w.image->bytes_per_line), height));
    if (!w.image->data) {
        XDestroyImage(w.image);
        w.image = nullptr;
        return false;
    }
    return true;
}

void X11Backend::CopyToImage(Win& w, const RECT& r) {
    gdi::PixelView v = w.surface->View();
    XImage* img = w.image;
    bool direct = img->bits_per_pixel == 32 && img->byte_order == LSBFirst && img->red_mask == 0xFF0000 &&
                  img->green_mask == 0xFF00 && img->blue_mask == 0xFF;
    for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* src = v.Row32(y);
        if (direct) {
            // The surface's 0xAARRGGBB is the server's pixel; a 24-bit visual
            // ignores the alpha byte, the 32-bit one takes it premultiplied,
            // as layered windows hold it.
            std::memcpy(img->data + static_cast<ptrdiff_t>(y) * img->bytes_per_line + r.left * 4,
                        src + r.left, static_cast<size_t>(r.right - r.left) * 4);
            continue;
        }
        for (int x = r.left; x < r.right; ++x) {
            uint32_t p = src[x];
            auto channel = [](uint32_t value8, unsigned long mask) {
                if (!mask) return 0ul;
                int shift = __builtin_ctzl(mask);
                unsigned long max = mask >> shift;
                return ((value8 * max + 127) / 255) << shift;
            };
            XPutPixel(img, x, y,
                      channel((p >> 16) & 0xFF, img->red_mask) | channel((p >> 8) & 0xFF, img->green_mask) |
                          channel(p & 0xFF, img->blue_mask));
        }
    }
}

void X11Backend::PutImage(Win& w, const RECT& dirty) {
    if (!w.xid || !w.mapped || !EnsureImage(w)) return;
    RECT all{0, 0, w.surface->width, w.surface->height}, r;
    if (!IntersectRect(&r, &dirty, &all)) return;
    CopyToImage(w, r);
    unsigned cw = static_cast<unsigned>(r.right - r.left), ch = static_cast<unsigned>(r.bottom - r.top);
    if (w.shmAttached) {
        XShmPutImage(dpy_, w.xid, w.gc ? w.gc : gc_, w.image, r.left, r.top, r.left, r.top, cw, ch, False);
        // The server reads the shared memory later: it must be done before we write again.
        XSync(dpy_, False);
    } else {
        XPutImage(dpy_, w.xid, w.gc ? w.gc : gc_, w.image, r.left, r.top, r.left, r.top, cw, ch);
        XFlush(dpy_);
    }
}

void X11Backend::Present(uintptr_t id, const RECT& dirty) {
    Win* w = Find(id);
    if (!w || !w->surface) return;
    if (w->perPixel) {
        UpdateAlphaMask(*w);
        if (w->xid) ApplyShape(*w), XFlush(dpy_);
    }
    PutImage(*w, dirty);
}

void X11Backend::Beep() {
    XBell(dpy_, 0);
    XFlush(dpy_);
}

std::unique_ptr<Backend> OpenX11(const char* name) {
    return X11Backend::Open(name);
}

unsigned long X11WindowOf(Backend& backend, uintptr_t id) {
    auto* x = dynamic_cast<X11Backend*>(&backend);
    return x ? x->XWindowOf(id) : 0;
}

void X11Sync(Backend& backend) {
    if (auto* x = dynamic_cast<X11Backend*>(&backend)) x->Sync();
}

} // namespace display

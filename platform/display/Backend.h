#pragma once
// What the window system needs of a display: monitors, one pixel surface per
// top-level window, raw input and a way to sleep until something happens.
// The headless backend keeps everything in memory for tests; an X11 backend
// maps top-level windows to undecorated X windows, window regions to XShape
// and surfaces to XShm images.
#include "gdi/Bitmap.h"
#include "gdi/IconImage.h"
#include "gdi/Region.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace display {

struct Monitor {
    RECT area;
    RECT work;
};

struct RawInput {
    // Moved: the desktop (a window manager) moved or resized a window; Close:
    // the desktop asks a window to close.  Both name the window in `window`.
    // DisplayChange: monitors or work area changed.  Minimize, Restore: the
    // desktop minimised the window named in `window` (a task bar button, a
    // key of the window manager) or brought it back; the window system
    // answers as to the system command.  TrayCreated: a notification area
    // appeared on the desktop (or a new one took over); what was docked in
    // the old one is gone from the screen.  Activated: the desktop gave the
    // keyboard to the window named in `window` (a click on its frame, a
    // window switcher); Deactivated: the keyboard went to another program.
    enum Kind {
        MouseMove,
        ButtonDown,
        ButtonUp,
        Wheel,
        KeyDown,
        KeyUp,
        Text,
        Moved,
        Close,
        DisplayChange,
        Minimize,
        Restore,
        TrayCreated,
        Activated,
        Deactivated
    } kind = MouseMove;
    POINT pt{};           // screen coordinates (mouse events)
    int button = 0;       // 0 left, 1 right, 2 middle
    int delta = 0;        // wheel
    int vk = 0;           // key events
    std::u32string text;  // Text
    uintptr_t window = 0; // Moved, Close, Minimize, Restore, Activated
    RECT rect{};          // Moved: where the window is now, screen coordinates
};

// Normal windows are left to the desktop's window manager (which may move
// them, and asks them to close); popups (menus, hints, drop-downs) stay
// exactly where they are put, above the others, and are never managed.
enum class WindowKind { Normal, Popup };

// What the desktop shows of a top-level window: the title in task bars and
// window lists, the owner it stays above, its role and whether it stays on top.
enum class WindowRole { Normal, Dialog, Utility, Menu, Tooltip };
struct WindowTraits {
    std::string title;   // UTF-8
    uintptr_t owner = 0; // the owner's id, 0: none
    WindowRole role = WindowRole::Normal;
    bool topmost = false;
    bool clickThrough = false; // clicks reach whatever lies below
    bool operator==(const WindowTraits&) const = default;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual std::vector<Monitor> Monitors() = 0;

    // Surfaces are keyed by the top-level window's handle value.  A resize
    // makes a new surface; the window system copies what it keeps.
    virtual std::shared_ptr<gdi::Bitmap> CreateSurface(uintptr_t id, int width, int height) = 0;
    virtual void DestroySurface(uintptr_t id) = 0;
    // Placement, visibility, shape and opacity of a top-level window.
    virtual void Place(uintptr_t id, const RECT& screen, bool visible, WindowKind kind) = 0;
    virtual void SetShape(uintptr_t id, const gdi::Region* shape) = 0; // window units; null: rectangular
    virtual void SetOpacity(uintptr_t id, int alpha, bool perPixel) = 0;
    // Pixels of the surface changed inside dirty (window units).  The surface
    // is the window's backing store: a backend repaints uncovered parts of a
    // window from it without asking the window system.
    virtual void Present(uintptr_t id, const RECT& dirty) = 0;

    virtual bool PollInput(RawInput& ev) = 0;
    // Sleeps until input arrives, Wake is called or timeoutMs passes (-1: no limit).
    virtual void Wait(int timeoutMs) = 0;
    virtual void Wake() = 0; // any thread

    // Desktop citizenship; a backend without a desktop ignores these.
    virtual void SetTraits(uintptr_t /*id*/, const WindowTraits& /*traits*/) {}
    // The pointer's shape over our windows: a stock cursor number (32512 the
    // arrow, 32513 the I-beam, ...).
    virtual void SetCursor(int /*shape*/) {}
    // Our window system activated the window: raise it and give it the
    // keyboard (only asked for while another program has it).
    virtual void Activate(uintptr_t /*id*/) {}
    // A menu is open: clicks anywhere on the desktop come to us until it closes.
    virtual void GrabInput(uintptr_t /*id*/, bool /*on*/) {}
    // The window system minimised the window (it shows only in the desktop's
    // task bar) or restored it.  Said before Place; a window first shown
    // minimised starts as an icon.
    virtual void SetMinimized(uintptr_t /*id*/, bool /*minimized*/) {}
    // The window's icon in task bars and window switchers, in every size the
    // window has (empty: none).
    virtual void SetIcon(uintptr_t /*id*/, const std::vector<gdi::IconImage>& /*images*/) {}
    // The top-level window becomes an icon in the desktop's notification area,
    // which places it (reported as Moved) and shows it while the window is
    // visible.  False: the desktop has no notification area now.
    virtual bool DockInTray(uintptr_t /*id*/) { return false; }

    virtual void Beep() {}
    virtual void SetClipboardText(const std::string& utf8) = 0;
    virtual std::string ClipboardText() = 0;
};

// The backend of this process: headless when TARVIK_DISPLAY=headless, else x11 on the
// display DISPLAY names.  A display that does not open is asked again for a few seconds.
Backend& Current();
// Why the display did not open ("cannot open display :N: reason"); empty when it did.
// Current() on a display that did not open says this on stderr and ends the process.
const std::string& OpenError();

} // namespace display

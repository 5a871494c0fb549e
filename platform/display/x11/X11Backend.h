#pragma once
// The X11 backend's state.  Everything but Wake runs on the GUI thread, the
// only one that talks to the X connection, so Xlib needs no thread support.
#include "display/Backend.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <deque>
#include <map>
#include <optional>

namespace display {

class X11Backend final : public Backend {
public:
    static std::unique_ptr<X11Backend> Open(const char* name);
    ~X11Backend() override;

    std::vector<Monitor> Monitors() override;
    std::shared_ptr<gdi::Bitmap> CreateSurface(uintptr_t id, int width, int height) override;
    void DestroySurface(uintptr_t id) override;
    void Place(uintptr_t id, const RECT& screen, bool visible, WindowKind kind) override;
    void SetShape(uintptr_t id, const gdi::Region* shape) override;
    void SetOpacity(uintptr_t id, int alpha, bool perPixel) override;
    void Present(uintptr_t id, const RECT& dirty) override;
    bool PollInput(RawInput& ev) override;
    void Wait(int timeoutMs) override;
    void Wake() override;
    void SetTraits(uintptr_t id, const WindowTraits& traits) override;
    void SetCursor(int shape) override;
    void Activate(uintptr_t id) override;
    void GrabInput(uintptr_t id, bool on) override;
    void SetMinimized(uintptr_t id, bool minimized) override;
    void SetIcon(uintptr_t id, const std::vector<gdi::IconImage>& images) override;
    bool DockInTray(uintptr_t id) override;
    void Beep() override;
    void SetClipboardText(const std::string& utf8) override;
    std::string ClipboardText() override;

    ::Window XWindowOf(uintptr_t id) const;
    void Sync() { XSync(dpy_, False); }

private:
    struct Win {
        ::Window xid = 0;
        std::shared_ptr<gdi::Bitmap> surface;
        XImage* image = nullptr;
        XShmSegmentInfo shm{};
        bool shmAttached = false;
        RECT screen{}; // as asked, or as the window manager last put it
        bool mapped = false;
        WindowKind kind = WindowKind::Normal;
        std::optional<gdi::Region> region;    // the window region
        std::optional<gdi::Region> alphaMask; // per-pixel alpha: where pixels show
        std::optional<gdi::Region> applied;   // the shape the X window has now
        int alpha = 255;
        bool perPixel = false;
        unsigned long moveSerial = 0; // our last move: older ConfigureNotify events are stale
        WindowTraits traits;
        bool wanted = false;             // shown as far as the window system is concerned
        ::Cursor cursor = 0;             // what the window shows now
        bool minimized = false;          // as the window system has it
        bool iconic = false;             // as the desktop shows it
        bool unmappedByDesktop = false;  // taken off the screen by someone else, not by us
        std::vector<unsigned long> icon; // _NET_WM_ICON: width, height, pixels, for each size
        XIC ic = nullptr;                // the input method's context, when there is one
        bool docked = false;             // an icon in the notification area
        bool argb = false;               // made with the 32-bit visual: the compositor blends its alpha
        GC gc = nullptr;                 // its own GC for the 32-bit visual, else the screen's
    };
    struct Atoms {
        Atom wmProtocols, wmDelete, motifHints, opacity, workArea, clipboard, utf8, targets, transfer;
        Atom netName, netIconName, pid, windowType, typeNormal, typeDialog, typeUtility, typeMenu,
            typeTooltip, state, stateAbove, activeWindow, compositor, wmState, stateHidden, netIcon, tray,
            trayOpcode, manager, xembedInfo, supported;
    };

    X11Backend() = default;
    Win* Find(uintptr_t id);
    void OnMapChange(::Window xid, bool mapped);
    Win* FindX(::Window xid);
    void CreateXWindow(Win& w, uintptr_t id);
    void SetKindHints(Win& w);
    void SetPositionHints(Win& w);
    void FreeImage(Win& w);
    bool EnsureImage(Win& w);
    void CopyToImage(Win& w, const RECT& r);
    void PutImage(Win& w, const RECT& r);
    void UpdateAlphaMask(Win& w);
    void ApplyShape(Win& w);
    void ApplyOpacity(Win& w);
    void ApplyTraits(Win& w);
    void ApplyTransientFor(Win& w);
    void SendStateAbove(Win& w);
    void RefreshMonitors();
    bool Hidden(const Win& w);
    void ApplyInputShape(Win& w);
    ::Cursor CursorOf(int shape);
    void NoteWindowUnderPointer(::Window xid);
    void ApplyIcon(Win& w);
    void SetWMHints(Win& w);
    bool Managed(const Win& w);
    void Iconify(Win& w);
    void OnStateChange(Win& w);
    static long WindowEvents();
    void OpenInputMethod();
    void CreateInputContext(Win& w);
    void DestroyInputContext(Win& w);
    void FocusInputContext(::Window xid, bool in);
    std::u32string TypedText(XKeyEvent& e);
    void PlaceDocked(Win& w, bool show);
    void FollowDocked(::Window xid, int x, int y);
    void OnReparent(const XReparentEvent& e);
    void OnDestroyed(::Window xid);
    bool WantsArgb(const Win& w);
    bool WindowManagerActivates();
    void WatchCompositor();
    void OnCompositorChange();
    void RecreateXWindow(Win& w, uintptr_t id);
    void FreeXWindow(Win& w);

    void Drain();
    void Handle(XEvent& e);
    void Queue(RawInput ev);
    void OnConfigure(const XConfigureEvent& e);
    void OnKey(XKeyEvent& e);
    void OnFocus(const XFocusChangeEvent& e);
    void OnSelectionRequest(const XSelectionRequestEvent& e);
    bool WaitForEvent(::Window w, int type, XEvent& out, int timeoutMs);
    std::string ReadSelection(Atom target);

    ::Display* dpy_ = nullptr;
    int screen_ = 0;
    ::Window root_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    GC gc_ = nullptr;
    bool shm_ = false;
    bool shape_ = false;
    int wakeFd_ = -1;
    Atoms atoms_{};
    ::Window helper_ = 0; // owns the clipboard selection and receives conversions
    Time lastTime_ = CurrentTime;
    std::string clipboard_;
    std::deque<RawInput> input_;
    std::map<uintptr_t, Win> wins_;
    std::map<::Window, uintptr_t> byX_;
    // Asked of the server once and refreshed on its change events: hit
    // testing reads the metrics on every mouse move.
    std::vector<Monitor> monitors_;
    bool randr_ = false;
    int randrEvent_ = 0;
    std::map<int, ::Cursor> cursors_;
    int cursorShape_ = 0;
    ::Window pointerIn_ = 0; // our window under the pointer
    uintptr_t grab_ = 0;     // the menu holding the grab
    XIM im_ = nullptr;
    Visual* argbVisual_ = nullptr; // 32-bit TrueColor with alpha, when the screen has one
    Colormap argbColormap_ = 0;
    ::Window compositorOwner_ = 0; // watched: its end is the compositor's end
    XIMStyle imStyle_ = 0;
};

} // namespace display

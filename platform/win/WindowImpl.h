#pragma once
// The window objects behind HWNDs, shared by the files of this library.
// Windows are held by shared pointers: a window destroyed in the middle of
// dispatching one of its messages stays valid memory until the dispatch that
// holds it returns, while its handle already finds nothing.
#include "gdi/Bitmap.h"
#include "gdi/Region.h"
#include "win/Messages.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace win {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;
    HICON icon = nullptr;
    int extraBytes = 0;
};

struct ScrollState {
    int min = 0, max = 100, page = 0, pos = 0, trackPos = 0;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0, exStyle = 0;
    std::string text;
    HWND parent = nullptr; // children only
    HWND owner = nullptr;  // top-level windows only
    bool messageOnly = false;
    std::vector<HWND> children; // front first
    RECT rect{};                // parent client coordinates (top-level: screen)
    RECT client{};              // window coordinates
    RECT normalRect{};          // before maximise or minimise
    LONG_PTR id = 0, userData = 0;
    std::vector<uint8_t> extra;
    std::optional<gdi::Region> region; // window coordinates; owned
    bool destroying = false;
    // Painting, window coordinates.
    gdi::Region update;
    bool erase = false;
    bool ncDirty = false;
    bool internalPaint = false;
    // Top-level only.
    std::shared_ptr<gdi::Bitmap> surface;
    bool layered = false;
    int layeredAlpha = -1; // -1: nothing set yet, drawn opaque
    bool perPixelAlpha = false;
    bool picture = false;   // the surface holds what UpdateLayeredWindow gave; painting leaves it alone
    HICON icons[2]{};       // WM_SETICON: ICON_SMALL, ICON_BIG
    bool iconShown = false; // the desktop has the icons as they are now
    ScrollState scroll[2];

    bool Child() const { return (style & WS_CHILD) && parent; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

using WindowPtr = std::shared_ptr<Window>;

WindowPtr Get(HWND h);          // null for a stale handle
std::vector<HWND>& TopLevels(); // front first
uintptr_t Id(HWND h);

// Screen position of the window's top-left corner and of its client origin.
POINT WindowOrigin(const Window& w);
POINT ClientOrigin(const Window& w);
HWND RootOf(HWND h);
bool IsReallyVisible(const Window& w); // itself and every ancestor
// Where a window's pixels lie on its top-level surface.
POINT SurfaceOffset(const Window& w);

// Calls the window's procedure (or a procedure instance).
LRESULT CallProc(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp);

// Hooks between the files.
void OnWindowGone(HWND h, bool deactivate = true); // focus, capture and activation leave h
void InvalidateWindow(Window& w, const gdi::Region& area, bool erase, bool frame); // window units
void InvalidateParentArea(Window& w); // where a child was, in its parent
void InvalidateFrame(Window& w);      // the non-client area alone: WM_NCPAINT, no client paint
void ResizeSurface(Window& w);
void PlaceOnDisplay(Window& w);
void SyncDesktopTraits(const Window& w); // title, owner, role: what the desktop shows of it
void SyncDesktopIcon(Window& w);         // the window's (or its class's) icons
RECT DefaultClientRect(const Window& w); // what DefWindowProc's WM_NCCALCSIZE computes
void TrackMinMax(HWND h, MINMAXINFO& mmi);
LRESULT RunMoveSizeLoop(HWND h, UINT command, POINT start);

void PresentWindow(Window& w);

} // namespace win

namespace win {
// Converts the next piece of raw input into messages; false when none is left.
bool ConvertInput(std::deque<MSG>& out);
// The next window (front to back, parents before children) with something to paint.
HWND NextPaintWindow(HWND filter);
void EnsureLoopSetup();
} // namespace win

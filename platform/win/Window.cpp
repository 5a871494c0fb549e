#include "win/Window.h"

#include "display/Backend.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Timers.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <strings.h>
#include <unordered_map>

namespace win {
namespace {

struct Tables {
    std::unordered_map<uintptr_t, WindowPtr> windows;
    std::map<std::string, std::shared_ptr<WindowClass>, std::less<>> classes; // lower-case names
    std::vector<HWND> topLevels;
    uintptr_t next = 1;
};

// Procedure instances: each one's value is the address of a slot in blocks
// of memory kept for good, so a value never looks like a real function, a
// freed one stays recognisable (and answers nothing), and blocks are added as
// needed: there is no limit.
class ProcInstances {
public:
    WNDPROC Make(ProcFunction fn) {
        size_t slot;
        if (!free_.empty()) {
            slot = free_.back();
            free_.pop_back();
        } else {
            if (fns_.size() == blocks_.size() * kSlots) {
                blocks_.push_back(std::make_unique<char[]>(kSlots * kSlotBytes));
                bases_.emplace(reinterpret_cast<uintptr_t>(blocks_.back().get()), blocks_.size() - 1);
            }
            slot = fns_.size();
            fns_.emplace_back();
        }
        fns_[slot] = std::move(fn);
        return reinterpret_cast<WNDPROC>(reinterpret_cast<uintptr_t>(blocks_[slot / kSlots].get()) +
                                         (slot % kSlots) * kSlotBytes);
    }
    void Free(WNDPROC proc) {
        std::optional<size_t> slot = SlotOf(proc);
        if (!slot || !fns_[*slot]) return;
        fns_[*slot] = nullptr;
        free_.push_back(*slot);
    }
    // Null when proc is a real function; an empty function for a freed instance.
    const ProcFunction* Find(WNDPROC proc) const {
        std::optional<size_t> slot = SlotOf(proc);
        return slot ? &fns_[*slot] : nullptr;
    }

private:
    static constexpr size_t kSlots = 1024, kSlotBytes = 8;
    std::optional<size_t> SlotOf(WNDPROC proc) const {
        auto addr = reinterpret_cast<uintptr_t>(proc);
        auto it = bases_.upper_bound(addr);
        if (it == bases_.begin()) return std::nullopt;
        --it;
        size_t offset = addr - it->first;
        if (offset >= kSlots * kSlotBytes) return std::nullopt;
        size_t slot = it->second * kSlots + offset / kSlotBytes;
        return slot < fns_.size() ? std::optional<size_t>(slot) : std::nullopt;
    }
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::map<uintptr_t, size_t> bases_; // block address → block index
    std::vector<ProcFunction> fns_;     // by slot
    std::vector<size_t> free_;
};

ProcInstances& Procs() {
    static ProcInstances p;
    return p;
}

Tables& T() {
    static Tables t;
    return t;
}

std::string Lower(const char* s) {
    std::string r = s ? s : "";
    for (char& c : r) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return r;
}

void Notify(HWND child, UINT event, LPARAM lp) {
    // WM_PARENTNOTIFY climbs through every ancestor until one is not a child.
    WindowPtr c = Get(child);
    if (!c || (c->exStyle & WS_EX_NOPARENTNOTIFY)) return;
    int id = static_cast<int>(c->id);
    for (HWND p = c->parent; p;) {
        SendMessage(p, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<int>(event), id), lp);
        WindowPtr pw = Get(p);
        if (!pw || !pw->Child() || (pw->exStyle & WS_EX_NOPARENTNOTIFY)) break;
        p = pw->parent;
    }
}

void Unlink(Window& w) {
    auto& list = w.Child() ? Get(w.parent) ? Get(w.parent)->children : TopLevels() : TopLevels();
    std::erase(list, w.handle);
}

void FinalDestroy(HWND h) {
    WindowPtr w = Get(h);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) FinalDestroy(k);
    SendMessage(h, WM_NCDESTROY, 0, 0);
    KillWindowTimers(h);
    if (w->surface) display::Current().DestroySurface(Id(h));
    Unlink(*w);
    T().windows.erase(Id(h));
}

void SendDestroy(HWND h) {
    WindowPtr w = Get(h);
    if (!w) return;
    OnWindowGone(h);
    SendMessage(h, WM_DESTROY, 0, 0);
    w = Get(h);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) SendDestroy(k);
}

} // namespace

WindowPtr Get(HWND h) {
    auto it = T().windows.find(reinterpret_cast<uintptr_t>(h));
    return it == T().windows.end() ? nullptr : it->second;
}

std::vector<HWND>& TopLevels() {
    return T().topLevels;
}
uintptr_t Id(HWND h) {
    return reinterpret_cast<uintptr_t>(h);
}

POINT WindowOrigin(const Window& w) {
    if (!w.Child()) return {w.rect.left, w.rect.top};
    WindowPtr p = Get(w.parent);
    POINT o = p ? ClientOrigin(*p) : POINT{};
    return {o.x + w.rect.left, o.y + w.rect.top};
}

POINT ClientOrigin(const Window& w) {
    POINT o = WindowOrigin(w);
    return {o.x + w.client.left, o.y + w.client.top};
}

HWND RootOf(HWND h) {
    WindowPtr w = Get(h);
    while (w && w->Child()) {
        WindowPtr p = Get(w->parent);
        if (!p) break;
        w = p;
    }
    return w ? w->handle : nullptr;
}

bool IsReallyVisible(const Window& w) {
    if (!(w.style & WS_VISIBLE) || w.messageOnly) return false;
    if (!w.Child()) return true;
    WindowPtr p = Get(w.parent);
    return p && IsReallyVisible(*p);
}

POINT SurfaceOffset(const Window& w) {
    POINT o = WindowOrigin(w);
    WindowPtr root = Get(RootOf(w.handle));
    if (root) o.x -= root->rect.left, o.y -= root->rect.top;
    return o;
}

LRESULT CallProc(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (!proc) return 0;
    if (const ProcFunction* inst = Procs().Find(proc)) {
        if (!*inst) return 0;
        ProcFunction fn = *inst; // a copy: the procedure may free itself
        return fn(h, msg, wp, lp);
    }
    return proc(h, msg, wp, lp);
}

} // namespace win

using namespace win;

WNDPROC MakeProcInstance(ProcFunction fn) {
    return fn ? Procs().Make(std::move(fn)) : nullptr;
}

void FreeProcInstance(WNDPROC proc) {
    Procs().Free(proc);
}

LRESULT CallWindowProc(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return CallProc(proc, h, msg, wp, lp);
}

ATOM RegisterClass(const WNDCLASS* wc) {
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc) return 0;
    std::string key = Lower(wc->lpszClassName);
    if (T().classes.count(key)) return 0; // already registered
    auto c = std::make_shared<WindowClass>();
    c->name = wc->lpszClassName;
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->background = wc->hbrBackground;
    c->cursor = wc->hCursor;
    c->icon = wc->hIcon;
    c->extraBytes = std::max(0, wc->cbWndExtra);
    T().classes.emplace(key, c);
    return static_cast<ATOM>(0xC000 + T().classes.size());
}

BOOL UnregisterClass(const char* name, HINSTANCE) {
    return T().classes.erase(Lower(name)) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, const char* name, WNDCLASS* out) {
    auto it = T().classes.find(Lower(name));
    if (it == T().classes.end() || !out) return FALSE;
    const WindowClass& c = *it->second;
    *out = {c.style,  c.proc,       0,       c.extraBytes,  nullptr, c.icon,
            c.cursor, c.background, nullptr, c.name.c_str()};
    return TRUE;
}

int GetClassName(HWND h, char* buf, int size) {
    WindowPtr w = Get(h);
    if (!w || !buf || size <= 0) return 0;
    int n = std::min<int>(size - 1, static_cast<int>(w->cls->name.size()));
    std::memcpy(buf, w->cls->name.data(), n);
    buf[n] = 0;
    return n;
}

LONG_PTR GetClassLongPtr(HWND h, int index) {
    WindowPtr w = Get(h);
    if (!w) return 0;
    switch (index) {
    case GCL_STYLE:
        return w->cls->style;
    case GCLP_HCURSOR:
        return reinterpret_cast<LONG_PTR>(w->cls->cursor);
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<LONG_PTR>(w->cls->background);
    case GCLP_HICON:
        return reinterpret_cast<LONG_PTR>(w->cls->icon);
    default:
        return 0;
    }
}

LONG_PTR SetClassLongPtr(HWND h, int index, LONG_PTR v) {
    WindowPtr w = Get(h);
    if (!w) return 0;
    LONG_PTR old = GetClassLongPtr(h, index);
    switch (index) {
    case GCL_STYLE:
        w->cls->style = static_cast<UINT>(v);
        break;
    case GCLP_HCURSOR:
        w->cls->cursor = reinterpret_cast<HCURSOR>(v);
        break;
    case GCLP_HBRBACKGROUND:
        w->cls->background = reinterpret_cast<HBRUSH>(v);
        break;
    case GCLP_HICON:
        w->cls->icon = reinterpret_cast<HICON>(v);
        break;
    default:
        return 0;
    }
    return old;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int cx, int cy, HWND parent, HMENU menu, HINSTANCE inst, void* param) {
    auto it = T().classes.find(Lower(className));
    if (it == T().classes.end()) return nullptr;
    bool messageOnly = parent == HWND_MESSAGE;
    if (messageOnly) parent = nullptr, style &= ~(WS_VISIBLE | WS_CHILD);
    WindowPtr pw = parent ? Get(parent) : nullptr;
    if (parent && !pw) return nullptr;
    if ((style & WS_CHILD) && !pw) return nullptr; // a child needs a parent

    auto w = std::make_shared<Window>();
    HWND h = reinterpret_cast<HWND>((T().next++) << 4);
    w->handle = h;
    w->cls = it->second;
    w->proc = w->cls->proc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->text = title ? title : "";
    w->messageOnly = messageOnly;
    w->layered = exStyle & WS_EX_LAYERED;
    w->extra.assign(w->cls->extraBytes, 0);
    if (style & WS_CHILD) {
        w->parent = parent;
        w->id = reinterpret_cast<LONG_PTR>(menu);
    } else if (pw) {
        w->owner = RootOf(parent); // the owner of a top-level window is a top-level window
    }
    if (x == CW_USEDEFAULT) x = 100, y = 100;
    if (cx == CW_USEDEFAULT) cx = 640, cy = 480;
    w->rect = {x, y, x + std::max(0, cx), y + std::max(0, cy)};
    T().windows.emplace(Id(h), w);
    if (messageOnly) {
        // Message-only windows take part in nothing but messaging.
    } else if (w->Child()) {
        pw->children.insert(pw->children.begin(), h);
    } else {
        auto& tl = TopLevels();
        auto pos = tl.begin();
        if (!(exStyle & WS_EX_TOPMOST))
            while (pos != tl.end() && Get(*pos) && (Get(*pos)->exStyle & WS_EX_TOPMOST)) ++pos;
        tl.insert(pos, h);
        w->surface = display::Current().CreateSurface(Id(h), w->Width(), w->Height());
    }

    if (!w->Child() && !messageOnly) {
        MINMAXINFO mmi{};
        TrackMinMax(h, mmi);
        if (w->Width() > mmi.ptMaxTrackSize.x) w->rect.right = w->rect.left + mmi.ptMaxTrackSize.x;
        if (w->Height() > mmi.ptMaxTrackSize.y) w->rect.bottom = w->rect.top + mmi.ptMaxTrackSize.y;
    }
    CREATESTRUCT cs{param,       inst,         menu,
                    parent,      w->Height(),  w->Width(),
                    w->rect.top, w->rect.left, static_cast<LONG>(style),
                    title,       className,    exStyle};
    if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        FinalDestroy(h);
        return nullptr;
    }
    if (!Get(h)) return nullptr;
    RECT rc = w->rect;
    SendMessage(h, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
    w->client = {rc.left - w->rect.left, rc.top - w->rect.top, rc.right - w->rect.left,
                 rc.bottom - w->rect.top};
    if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!Get(h)) return nullptr;
    SendMessage(h, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
    SendMessage(h, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
    if (w->Child()) Notify(h, WM_CREATE, reinterpret_cast<LPARAM>(h));
    if (!Get(h)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
    return Get(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND h) {
    WindowPtr w = Get(h);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;
    // Owned windows go first.
    std::vector<HWND> owned;
    for (auto& [id, other] : T().windows)
        if (other->owner == h) owned.push_back(other->handle);
    for (HWND o : owned) DestroyWindow(o);
    if (w->style & WS_VISIBLE)
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Get(h)) return TRUE;
    if (w->Child()) Notify(h, WM_DESTROY, reinterpret_cast<LPARAM>(h));
    SendDestroy(h);
    FinalDestroy(h);
    return TRUE;
}

BOOL IsWindow(HWND h) {
    return Get(h) != nullptr;
}

BOOL IsChild(HWND parent, HWND h) {
    for (WindowPtr w = Get(h); w && w->Child(); w = Get(w->parent))
        if (w->parent == parent) return TRUE;
    return FALSE;
}

HWND GetParent(HWND h) {
    WindowPtr w = Get(h);
    if (!w) return nullptr;
    return w->Child() ? w->parent : w->owner;
}

HWND SetParent(HWND h, HWND parent) {
    WindowPtr w = Get(h);
    WindowPtr p = parent ? Get(parent) : nullptr;
    if (!w || (parent && !p) || h == parent || IsChild(h, parent)) return nullptr;
    HWND old = w->Child() ? w->parent : nullptr;
    POINT at = WindowOrigin(*w);
    bool visible = w->style & WS_VISIBLE;
    if (visible) InvalidateParentArea(*w);
    Unlink(*w);
    if (p) {
        w->parent = parent;
        w->style = (w->style | WS_CHILD) & ~WS_POPUP;
        p->children.insert(p->children.begin(), h);
        if (w->surface) display::Current().DestroySurface(Id(h)), w->surface.reset();
        POINT o = ClientOrigin(*p);
        OffsetRect(&w->rect, at.x - w->rect.left - o.x, at.y - w->rect.top - o.y);
    } else {
        w->parent = nullptr;
        w->style &= ~WS_CHILD;
        TopLevels().insert(TopLevels().begin(), h);
        w->rect = {at.x, at.y, at.x + w->Width(), at.y + w->Height()};
        ResizeSurface(*w);
    }
    if (visible) InvalidateWindow(*w, gdi::Region(RECT{0, 0, w->Width(), w->Height()}), true, true);
    PlaceOnDisplay(*w);
    return old;
}

HWND GetAncestor(HWND h, UINT flags) {
    WindowPtr w = Get(h);
    if (!w) return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->Child() ? w->parent : nullptr;
    case GA_ROOT:
        return RootOf(h);
    case GA_ROOTOWNER: {
        HWND r = RootOf(h);
        for (WindowPtr o = Get(r); o && o->owner; o = Get(o->owner)) r = o->owner;
        return r;
    }
    default:
        return nullptr;
    }
}

HWND GetWindow(HWND h, UINT cmd) {
    WindowPtr w = Get(h);
    if (!w) return nullptr;
    if (cmd == GW_OWNER) return w->owner;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    WindowPtr p = w->Child() ? Get(w->parent) : nullptr;
    const auto& list = p ? p->children : TopLevels();
    auto it = std::find(list.begin(), list.end(), h);
    switch (cmd) {
    case GW_HWNDFIRST:
        return list.empty() ? nullptr : list.front();
    case GW_HWNDLAST:
        return list.empty() ? nullptr : list.back();
    case GW_HWNDNEXT:
        return it != list.end() && it + 1 != list.end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV:
        return it != list.end() && it != list.begin() ? *(it - 1) : nullptr;
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND h) {
    if (!h) return TopLevels().empty() ? nullptr : TopLevels().front();
    return GetWindow(h, GW_CHILD);
}

HWND GetDesktopWindow() {
    return nullptr;
}

HWND FindWindow(const char* className, const char* title) {
    for (HWND h : TopLevels()) {
        WindowPtr w = Get(h);
        if (!w) continue;
        if (className && strcasecmp(className, w->cls->name.c_str()) != 0) continue;
        if (title && w->text != title) continue;
        return h;
    }
    return nullptr;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM lp) {
    WindowPtr p = Get(parent);
    if (!p || !fn) return FALSE;
    std::vector<HWND> kids = p->children;
    for (HWND k : kids) {
        if (!Get(k)) continue;
        if (!fn(k, lp)) return FALSE;
        if (!EnumChildWindows(k, fn, lp) && Get(k) && !Get(k)->children.empty()) return FALSE;
    }
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC fn, LPARAM lp) {
    std::vector<HWND> all = TopLevels();
    for (HWND h : all)
        if (Get(h) && !fn(h, lp)) return FALSE;
    return TRUE;
}

LONG_PTR GetWindowLongPtr(HWND h, int index) {
    WindowPtr w = Get(h);
    if (!w) return 0;
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(static_cast<int32_t>(w->style));
    case GWL_EXSTYLE:
        return w->exStyle;
    case GWL_USERDATA:
        return w->userData;
    case GWL_ID:
        return w->id;
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(GetParent(h));
    case GWL_HINSTANCE:
        return 0;
    default:
        if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
            LONG_PTR v;
            std::memcpy(&v, w->extra.data() + index, sizeof v);
            return v;
        }
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value) {
    WindowPtr w = Get(h);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtr(h, index);
    switch (index) {
    case GWL_WNDPROC:
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        // WM_STYLECHANGING may alter the new value; the frame follows only on SWP_FRAMECHANGED.
        struct {
            DWORD oldStyle, newStyle;
        } ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
        SendMessage(h, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (!Get(h)) return old;
        DWORD keepVisible = index == GWL_STYLE ? (w->style & WS_VISIBLE) : 0;
        if (index == GWL_STYLE)
            w->style = (ss.newStyle & ~WS_VISIBLE) | keepVisible;
        else {
            w->exStyle = ss.newStyle;
            bool layered = ss.newStyle & WS_EX_LAYERED;
            if (layered != w->layered) {
                w->layered = layered;
                w->layeredAlpha = -1;
                w->perPixelAlpha = false;
                if (w->picture) {
                    w->picture = false;
                    InvalidateWindow(*w, gdi::Region(RECT{0, 0, w->Width(), w->Height()}), true, true);
                }
                PlaceOnDisplay(*w);
            }
        }
        SendMessage(h, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        break;
    }
    case GWL_USERDATA:
        w->userData = value;
        break;
    case GWL_ID:
        w->id = value;
        break;
    case GWL_HWNDPARENT:
        if (!w->Child()) w->owner = RootOf(reinterpret_cast<HWND>(value));
        break;
    default:
        if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size())
            std::memcpy(w->extra.data() + index, &value, sizeof value);
        else
            return 0;
    }
    return old;
}

int GetWindowTextLength(HWND h) {
    return static_cast<int>(SendMessage(h, WM_GETTEXTLENGTH, 0, 0));
}

int GetWindowText(HWND h, char* buf, int size) {
    if (!buf || size <= 0) return 0;
    buf[0] = 0;
    return static_cast<int>(
        SendMessage(h, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buf)));
}

std::string GetWindowTextString(HWND h) {
    int n = GetWindowTextLength(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    s.resize(GetWindowText(h, s.data(), n + 1));
    return s;
}

BOOL SetWindowText(HWND h, const char* text) {
    return SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

BOOL EnableWindow(HWND h, BOOL enable) {
    WindowPtr w = Get(h);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable) return wasDisabled;
    if (enable)
        w->style &= ~WS_DISABLED;
    else {
        // As Win32 does: WM_CANCELMODE ends what the window had under way (its
        // capture, an open menu); disabled, it keeps neither focus nor capture.
        w->style |= WS_DISABLED; // first, so a handler that disables again ends here
        SendMessage(h, WM_CANCELMODE, 0, 0);
        if (!Get(h)) return wasDisabled;
        OnWindowGone(h, false);
    }
    SendMessage(h, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND h) {
    WindowPtr w = Get(h);
    return w && !(w->style & WS_DISABLED);
}

BOOL IsWindowVisible(HWND h) {
    WindowPtr w = Get(h);
    return w && IsReallyVisible(*w);
}

BOOL IsIconic(HWND h) {
    WindowPtr w = Get(h);
    return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND h) {
    WindowPtr w = Get(h);
    return w && (w->style & WS_MAXIMIZE);
}

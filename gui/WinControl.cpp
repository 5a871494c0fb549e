#include "gui/WinControl.h"

#include "controls/CommCtrl.h"
#include "gdi/DcStateSaver.h"
#include "gdi/Draw.h"
#include "gui/Forms.h"
#include "gui/PopupMenu.h"
#include "gui/Screen.h"
#include "os/ScopeExit.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace gui {

extern std::function<void(std::exception_ptr)> g_messageExceptionHandler;
void SetMouseControl(TControl* control);

namespace {

std::unordered_map<HWND, TWinControl*> g_controls;
TWinControl* g_creating = nullptr;
// The procedure beneath ours for each class we registered.
std::map<std::string, WNDPROC> g_classProcs;

TCursor CursorAt(TWinControl* w, TPoint client) {
    TControl* c = w->ControlAtPos(client, false);
    TCursor cur = c ? c->Cursor() : w->Cursor();
    return cur;
}

} // namespace

// The first message of a new window reaches the class procedure: from then on the window
// talks to its control.
LRESULT InitWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TWinControl* c = g_creating;
    if (!c) return DefWindowProc(h, msg, wp, lp);
    g_creating = nullptr;
    c->handle_ = h;
    g_controls[h] = c;
    SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c->instance_));
    return CallWindowProc(c->instance_, h, msg, wp, lp);
}

TWinControl* FindControl(HWND window) {
    for (HWND w = window; w; w = GetAncestor(w, GA_PARENT)) {
        auto it = g_controls.find(w);
        if (it != g_controls.end()) return it->second;
    }
    return nullptr;
}

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled) {
    TWinControl* w = FindControl(WindowFromPoint(screenPos));
    if (!w) return nullptr;
    if (TControl* c = w->ControlAtPos(w->ScreenToClient(screenPos), allowDisabled)) return c;
    return w;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(std::make_unique<TBrush>()) {
    windowed_ = true;
    brush_->SetColor(Color());
    instance_ = MakeProcInstance([this](HWND, UINT msg, WPARAM wp, LPARAM lp) {
        TMessage m{msg, wp, lp, 0};
        try {
            WindowProc(m);
        } catch (...) {
            if (!g_messageExceptionHandler) throw;
            g_messageExceptionHandler(std::current_exception());
        }
        return m.Result;
    });
}

TWinControl::~TWinControl() {
    MarkDestroying();
    // Leaves the parent while it is still a windowed control.
    if (Parent()) Parent()->RemoveControl(this);
    // Children go with their parent, windowless ones included.
    while (!controls_.empty()) delete controls_.back();
    DestroyHandle();
    FreeProcInstance(instance_);
}

HWND TWinControl::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = Text();
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle & csAcceptsControls) p.Style |= WS_CLIPCHILDREN | 0;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.X = Left(), p.Y = Top(), p.Width = Width(), p.Height = Height();
    p.WndParent = Parent() ? Parent()->Handle() : parentWindow_;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProc;
    p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* controlClassName) {
    WNDCLASS wc{};
    if (GetClassInfo(nullptr, controlClassName, &wc)) {
        params.WindowClass = wc;
        params.WindowClass.lpszClassName = nullptr;
    }
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    auto it = g_classProcs.find(p.WinClassName);
    if (it == g_classProcs.end()) {
        WNDCLASS wc = p.WindowClass;
        wc.lpfnWndProc = InitWndProc;
        wc.lpszClassName = p.WinClassName.c_str();
        if (!RegisterClass(&wc)) throw std::runtime_error("Error creating window class");
        it = g_classProcs.emplace(p.WinClassName, p.WindowClass.lpfnWndProc).first;
    }
    DefWndProc = it->second;
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw std::runtime_error("Control '" + Name() + "' has no parent window");
    CreateWindowHandle(p);
    if (!handle_) throw std::runtime_error("Error creating window");
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
    g_creating = this;
    CreateWindowEx(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                   p.WndParent, nullptr, nullptr, p.Param);
    g_creating = nullptr;
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    {
        ControlState |= csCreating;
        os::ScopeExit created([this] { ControlState &= ~csCreating; });
        CreateWnd();
    }
    SendMessage(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    UpdateBounds();
    for (TControl* c : controls_)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->CreateHandle();
    // Windows follow their z-order in Controls.
    HWND after = HWND_TOP;
    for (TControl* c : controls_)
        if (c->IsWindowed()) {
            HWND ch = static_cast<TWinControl*>(c)->handle_;
            SetWindowPos(ch, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = ch;
        }
}

void TWinControl::DestroyWnd() {
    // A native control may have changed its text without WM_SETTEXT (an edit typed into):
    // the window's text, not the last one set, goes over to the next window.
    if (handle_ && !Destroying()) {
        LRESULT length = Perform(WM_GETTEXTLENGTH);
        std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        LRESULT got = Perform(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
        text_ = text;
    }
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    if (handle_) DestroyWindow(handle_);
    WindowDestroyed();
}

void TWinControl::WindowDestroyed() {
    if (!handle_) return;
    g_controls.erase(handle_);
    handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    ControlState |= csDestroyingHandle;
    for (TControl* c : controls_)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
    DestroyWnd();
    ControlState &= ~csDestroyingHandle;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    HWND focus = GetFocus();
    TWinControl* focused = FindControl(focus);
    bool hadFocus = focused && (focused == this || ContainsControl(focused));
    DestroyHandle();
    CreateHandle();
    // Child windows come back visible by their style; a form is shown again here.
    if (Visible() && !(GetWindowLongPtr(handle_, GWL_STYLE) & WS_VISIBLE)) ShowWindow(handle_, SW_SHOWNA);
    if (hadFocus && focused->HandleAllocated() && IsWindowVisible(focused->Handle()))
        ::SetFocus(focused->Handle());
}

void TWinControl::SetParentWindow(HWND window) {
    if (Parent() || parentWindow_ == window) return;
    bool had = handle_ != nullptr;
    parentWindow_ = window;
    if (had) RecreateWnd();
}

void TWinControl::UpdateBounds() {
    if (!handle_) return;
    RECT r;
    GetWindowRect(handle_, &r);
    HWND parent = GetAncestor(handle_, GA_PARENT);
    if ((GetWindowLongPtr(handle_, GWL_STYLE) & WS_CHILD) && parent) {
        POINT pts[2] = {
            {r.left,  r.top   },
            {r.right, r.bottom}
        };
        MapWindowPoints(nullptr, parent, pts, 2);
        r = {pts[0].x, pts[0].y, pts[1].x, pts[1].y};
    }
    if (r == BoundsRect()) return;
    TControl::SetBounds(r.left, r.top, RectWidth(r), RectHeight(r));
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (!handle_) return TControl::SetBounds(left, top, width, height);
    width = std::max(width, 0), height = std::max(height, 0);
    Constraints()->Apply(width, height);
    if (AutoSize() && !Loading()) CanAutoSize(width, height);
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    // WM_WINDOWPOSCHANGED brings the bounds back into the control and WM_SIZE realigns.
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect TWinControl::ClientRect() {
    if (!handle_) return TControl::ClientRect();
    RECT r;
    GetClientRect(handle_, &r);
    return r;
}

TPoint TWinControl::ClientOrigin() {
    if (!handle_) return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
}

bool TWinControl::Showing() const {
    return handle_ && IsWindowVisible(handle_);
}

void TWinControl::SetVisible(bool value) {
    if (Visible() == value) return;
    TControl::SetVisible(value);
}

void TWinControl::CMVisibleChanged(TMessage&) {
    if (!Visible() && Parent()) RemoveFocus(false);
    if (!handle_) return;
    ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::CMEnabledChanged(TMessage&) {
    // The focus goes back to the form before the window is disabled and loses it.
    if (!Enabled() && Parent()) RemoveFocus(false);
    if (handle_) EnableWindow(handle_, Enabled());
    Invalidate();
}

void TWinControl::CMFontChanged(TMessage& m) {
    if (handle_) SendMessage(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    TMessage n{CM_PARENTFONTCHANGED, 0, 0, 0};
    for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc(n);
    TControl::CMFontChanged(m);
}

void TWinControl::CMColorChanged(TMessage& m) {
    brush_->SetColor(Color());
    TMessage n{CM_PARENTCOLORCHANGED, 0, 0, 0};
    for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc(n);
    TControl::CMColorChanged(m);
}

void TWinControl::CMCancelMode(TMessage& m) {
    TControl::CMCancelMode(m);
    Broadcast(m);
    m.Result = 0;
}

void TWinControl::Invalidate() {
    Perform(CM_INVALIDATE);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

// ---- children

void TWinControl::InsertControl(TControl* c) {
    if (!c || c->parent_ == this) return;
    if (c->IsWindowed() && static_cast<TWinControl*>(c)->ContainsControl(this))
        throw EComponentError("A control cannot be a child of its own child");
    if (c->IsWindowed()) {
        controls_.push_back(c);
        tabList_.push_back(static_cast<TWinControl*>(c));
    } else {
        auto firstWin =
            std::find_if(controls_.begin(), controls_.end(), [](TControl* x) { return x->IsWindowed(); });
        controls_.insert(firstWin, c);
    }
    c->parent_ = this;
    TMessage pf{CM_PARENTFONTCHANGED, 0, 0, 0}, pc{CM_PARENTCOLORCHANGED, 0, 0, 0};
    c->WindowProc(pf);
    c->WindowProc(pc);
    if (c->parentShowHint_) c->showHint_ = ShowHint();
    c->UpdateAnchorBase();
    if (handle_ && c->IsWindowed() && !Loading()) static_cast<TWinControl*>(c)->CreateHandle();
    if (c->Align() != alNone) RealignFor(c);
    c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    c->Invalidate();
    if (c->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(c);
        w->RemoveFocus(true);
        tabList_.erase(std::find(tabList_.begin(), tabList_.end(), w));
        w->DestroyHandle();
    }
    controls_.erase(std::find(controls_.begin(), controls_.end(), c));
    c->parent_ = nullptr;
    if (c->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c->Parent() == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() && !allowWinControls) continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        TRect r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WindowProc(m);
        if (m.Result != 0) return;
    }
}

// ---- alignment

void TWinControl::DisableAlign() {
    ++alignLevel_;
}

void TWinControl::EnableAlign() {
    if (--alignLevel_ == 0 && (ControlState & csAlignmentNeeded)) Realign();
}

void TWinControl::RequestAlign() {
    TControl::RequestAlign();
}

void TWinControl::Realign() {
    RealignFor(nullptr);
}

void TWinControl::RealignFor(TControl* control) {
    if (alignLevel_ > 0 || Loading() || aligning_) {
        ControlState |= csAlignmentNeeded;
        return;
    }
    ControlState &= ~csAlignmentNeeded;
    TRect r = ClientRect();
    AdjustClientRect(r);
    aligning_ = true;
    DisableAlign();
    os::ScopeExit aligned([this] {
        aligning_ = false;
        --alignLevel_;
    });
    AlignControls(control, r);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // Windows of children added while loading are made now.
    if (handle_)
        for (TControl* c : controls_)
            if (c->IsWindowed()) static_cast<TWinControl*>(c)->CreateHandle();
    if (ControlState & csAlignmentNeeded) Realign();
}

void TWinControl::ApplyAnchors() {
    TRect c = ClientRect();
    for (TControl* ctl : controls_) {
        if (ctl->Align() != alNone) continue;
        TAnchors a = ctl->Anchors();
        if ((a & (akLeft | akTop)) == (akLeft | akTop) && !(a & (akRight | akBottom))) continue;
        if (ctl->anchorParent_.cx == 0 && ctl->anchorParent_.cy == 0) continue;
        int dw = RectWidth(c) - ctl->anchorParent_.cx, dh = RectHeight(c) - ctl->anchorParent_.cy;
        TRect b = ctl->anchorBounds_;
        int l = b.left, t = b.top, w = RectWidth(b), h = RectHeight(b);
        if (a & akRight)
            (a & akLeft) ? w += dw : l += dw;
        else if (!(a & akLeft))
            l += dw / 2;
        if (a & akBottom)
            (a & akTop) ? h += dh : t += dh;
        else if (!(a & akTop))
            t += dh / 2;
        TRect keep = ctl->anchorBounds_;
        TSize keepParent = ctl->anchorParent_;
        ctl->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
        ctl->anchorBounds_ = keep, ctl->anchorParent_ = keepParent;
    }
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    // Per side, controls stack in the order of their current position; among equals the one
    // being aligned goes first.
    static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign align : order) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == align && c->Visible()) list.push_back(c);
        auto key = [align](TControl* c) {
            switch (align) {
            case alTop:
                return c->Top();
            case alBottom:
                return -(c->Top() + c->Height());
            case alLeft:
                return c->Left();
            case alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
            if (key(a) != key(b)) return key(a) < key(b);
            return a == control && b != control;
        });
        for (TControl* c : list) {
            int w = c->Width(), h = c->Height();
            switch (align) {
            case alTop:
                c->SetBounds(rect.left, rect.top, RectWidth(rect), h);
                rect.top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.left, rect.bottom - h, RectWidth(rect), h);
                rect.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.left, rect.top, w, RectHeight(rect));
                rect.left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.right - w, rect.top, w, RectHeight(rect));
                rect.right -= c->Width();
                break;
            default:
                c->SetBounds(rect.left, rect.top, std::max<int>(RectWidth(rect), 0),
                             std::max<int>(RectHeight(rect), 0));
                break;
            }
        }
    }
    ApplyAnchors();
}

void TWinControl::ScrollBy(int dx, int dy) {
    for (TControl* c : controls_) {
        TRect b = c->BoundsRect();
        if (c->IsWindowed() && handle_) continue; // ScrollWindow moves the child windows
        c->SetBounds(b.left + dx, b.top + dy, RectWidth(b), RectHeight(b));
    }
    if (handle_) {
        ScrollWindow(handle_, dx, dy, nullptr, nullptr);
        for (TControl* c : controls_)
            if (c->IsWindowed()) static_cast<TWinControl*>(c)->UpdateBounds();
    }
}

// ---- focus and tab order

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return Showing() && Enabled();
    // The form's own visibility does not count: its active control is chosen before it shows.
    for (TControl* c = this; c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::RemoveFocus(bool removing) {
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, removing);
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this))
        form->FocusControl(this);
    else if (handle_ && IsWindowVisible(handle_))
        ::SetFocus(handle_);
}

void TWinControl::SetTabStop(bool value) {
    if (tabStop_ == value) return;
    tabStop_ = value;
    if (handle_) {
        LONG_PTR s = GetWindowLongPtr(handle_, GWL_STYLE);
        SetWindowLongPtr(handle_, GWL_STYLE,
                         value ? (s | WS_TABSTOP) : (s & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    auto& l = Parent()->tabList_;
    return static_cast<int>(std::find(l.begin(), l.end(), this) - l.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& l = Parent()->tabList_;
    l.erase(std::find(l.begin(), l.end(), this));
    order = std::clamp(order, 0, static_cast<int>(l.size()));
    l.insert(l.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int n = static_cast<int>(list.size());
    int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    if (start == n) start = goForward ? n - 1 : 0;
    for (int k = 1; k <= n; ++k) {
        int i = goForward ? (start + k) % n : ((start - k) % n + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current) continue;
        if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this))
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* c = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) c->SetFocus();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- keys

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

// A form with KeyPreview sees the key before the control does.
bool TWinControl::DoKey(TMessage& m, bool (TCustomForm::*preview)(TMessage&),
                        void (TWinControl::*handler)(WORD&, TShiftState)) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview && (form->*preview)(m)) return true;
    WORD key = static_cast<WORD>(m.WParam);
    (this->*handler)(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyDown(TMessage& m) {
    return DoKey(m, &TCustomForm::DoKeyDown, &TWinControl::KeyDown);
}

bool TWinControl::DoKeyUp(TMessage& m) {
    return DoKey(m, &TCustomForm::DoKeyUp, &TWinControl::KeyUp);
}

bool TWinControl::DoKeyPress(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview && form->DoKeyPress(m)) return true;
    char32_t ch = static_cast<char32_t>(m.WParam);
    KeyPress(ch);
    m.WParam = ch;
    return ch == 0;
}

bool TWinControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    return handled;
}

// The key messages the application hands over before translating them (CN_*): shortcuts
// first, then the dialog keys a control does not take itself.
bool TWinControl::KeyMessage(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    switch (m.Msg) {
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        m.Result = 1;
        // The popup menus of the control and its parents are offered the key before the form.
        for (TControl* c = this; c; c = c->Parent())
            if (TPopupMenu* menu = c->PopupMenu();
                menu && menu->IsShortCut(static_cast<uint16_t>(m.WParam), KeyDataToShiftState(m.LParam)))
                return true;
        if (form && form->IsShortCut(m)) return true;
        UINT mask = 0;
        switch (m.WParam) {
        case VK_TAB:
            mask = DLGC_WANTTAB;
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            mask = DLGC_WANTARROWS;
            break;
        case VK_RETURN:
        case VK_ESCAPE:
            mask = DLGC_WANTALLKEYS;
            break;
        default:
            break;
        }
        if (mask && !Perform(CM_WANTSPECIALKEY, m.WParam, m.LParam) && !(Perform(WM_GETDLGCODE) & mask) &&
            form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam))
            return true;
        m.Result = 0;
        return true;
    }
    case CN_CHAR:
    case CN_SYSCHAR:
        m.Result = 1;
        // A control that wants characters wants the plain ones: Alt+letter stays an accelerator.
        if ((m.Msg == CN_SYSCHAR || !(Perform(WM_GETDLGCODE) & DLGC_WANTCHARS)) && form &&
            form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam))
            return true;
        m.Result = 0;
        return true;
    case CN_KEYUP:
        m.Result = 0;
        return true;
    default:
        return false;
    }
}

// ---- messages

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* target = nullptr;
    TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (TControl* cap = CaptureControl(); cap && cap->Parent() == this)
        target = cap;
    else if (!CaptureControl() || CaptureControl() == this)
        target = ControlAtPos(p, false);
    if (!target || target->IsWindowed()) return false;
    if (target == CaptureControl() || GetCapture() != handle_ || !CaptureControl()) {
        TMessage cm{m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()), 0};
        target->WindowProc(cm);
        m.Result = cm.Result;
        return true;
    }
    return false;
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEMOVE: {
        POINT s{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ::ClientToScreen(handle_, &s);
        // Disabled windowless controls count too: a greyed speed button still shows its hint.
        SetMouseControl(FindDragTarget(s, true));
        TRACKMOUSEEVENT t{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&t);
        if (IsControlMouseMsg(m)) return;
        break;
    }
    case WM_MOUSELEAVE: {
        POINT s;
        GetCursorPos(&s);
        SetMouseControl(FindDragTarget(s, true));
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (IsControlMouseMsg(m)) return;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(m)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (DoKeyUp(m)) return;
        break;
    case WM_CHAR:
        if (DoKeyPress(m)) return;
        break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
    case CN_SYSCHAR:
        if (KeyMessage(m)) return;
        break;
    default:
        break;
    }
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        return WMPaint(m);
    case WM_ERASEBKGND:
        return WMEraseBkgnd(m);
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && form != this) form->SetFocusedControl(this);
        return DefaultHandler(m);
    case WM_WINDOWPOSCHANGING: {
        // The window keeps to the constraints, whoever sizes it.
        auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
        if (pos && !(pos->flags & SWP_NOSIZE) && !Destroying()) {
            int w = pos->cx, h = pos->cy;
            Constraints()->Apply(w, h);
            pos->cx = w, pos->cy = h;
        }
        return DefaultHandler(m);
    }
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        UpdateBounds();
        return;
    case WM_SIZE:
        DefaultHandler(m);
        UpdateBounds();
        Realign();
        if (!Loading()) Resize();
        return;
    case WM_MOUSEWHEEL: {
        TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (DoMouseWheel(KeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), p)) {
            m.Result = 1;
            return;
        }
        return DefaultHandler(m);
    }
    case WM_SETCURSOR:
        if (LOWORD(static_cast<uintptr_t>(m.LParam)) == HTCLIENT &&
            reinterpret_cast<HWND>(m.WParam) == handle_) {
            POINT s;
            GetCursorPos(&s);
            TCursor c = Screen->Cursor();
            if (c == crDefault) c = CursorAt(this, ScreenToClient(s));
            if (c != crDefault) {
                ::SetCursor(Screen->Cursors(c));
                m.Result = 1;
                return;
            }
        }
        return DefaultHandler(m);
    case WM_NCDESTROY:
        DefaultHandler(m);
        WindowDestroyed();
        return;
    case WM_CAPTURECHANGED:
        if (CaptureControl() && reinterpret_cast<HWND>(m.LParam) != handle_) {
            TControl* cap = CaptureControl();
            if (cap == this || cap->Parent() == this) cap->Perform(CM_CANCELMODE, 0, 0);
        }
        return DefaultHandler(m);
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Reflected to the child control that sent it.
        if (m.LParam) {
            auto it = g_controls.find(reinterpret_cast<HWND>(m.LParam));
            if (it != g_controls.end() && it->second != this) {
                m.Result = it->second->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
                return;
            }
        }
        return DefaultHandler(m);
    case WM_DRAWITEM:
        // Owner-drawn rows go back to the control that owns them.
        if (m.LParam) {
            auto it = g_controls.find(reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)->hwndItem);
            if (it != g_controls.end() && it->second != this) {
                m.Result = it->second->Perform(CN_DRAWITEM, m.WParam, m.LParam);
                return;
            }
        }
        return DefaultHandler(m);
    case WM_NOTIFY:
        if (m.LParam) {
            auto it = g_controls.find(*reinterpret_cast<const HWND*>(m.LParam)); // the header's first field
            if (it != g_controls.end() && it->second != this) {
                m.Result = it->second->Perform(CN_NOTIFY, m.WParam, m.LParam);
                return;
            }
        }
        return DefaultHandler(m);
    case CM_INVALIDATE:
        if (handle_) InvalidateRect(handle_, nullptr, !(ControlStyle & csOpaque));
        return;
    case CM_DIALOGKEY:
        return CMDialogKey(m);
    case CM_DIALOGCHAR:
        return CMDialogChar(m);
    case CM_FOCUSCHANGED:
        return CMFocusChanged(m);
    case CM_WANTSPECIALKEY:
        m.Result = 0;
        return;
    case CM_RECREATEWND:
        RecreateWnd();
        return;
    default:
        TControl::Dispatch(m);
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    // Our own notices never reach the window procedure.
    bool ours = (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) || m.Msg == CM_INVALIDATE ||
                (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400);
    if (handle_ && !ours) {
        m.Result =
            CallWindowProc(DefWndProc ? DefWndProc : DefWindowProc, handle_, m.Msg, m.WParam, m.LParam);
        return;
    }
    TControl::DefaultHandler(m);
}

void TWinControl::WMPaint(TMessage& m) {
    PaintHandler(m);
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
    RECT r = ClientRect();
    ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
    m.Result = 1;
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& m) {
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) dc = BeginPaint(handle_, &ps);
    if (!dc) return;
    os::ScopeExit endPaint([&] {
        if (!m.WParam) EndPaint(handle_, &ps);
    });
    {
        gdi::DcStateSaver saved(dc);
        // The parent never paints under an opaque windowless child: no flicker, no wasted work.
        for (TControl* c : controls_)
            if (!c->IsWindowed() && c->Visible() && (c->ControlStyle & csOpaque))
                ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
        PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        gdi::DcStateSaver saved(dc);
        OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

} // namespace gui

#include "gui/Control.h"

#include "gdi/DcStateSaver.h"
#include "gui/Forms.h"
#include "gui/PopupMenu.h"
#include "gui/Screen.h"
#include "gui/WinControl.h"
#include "os/ScopeExit.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace gui {

namespace {
TControl* g_mouseControl = nullptr;
TControl* g_captureControl = nullptr;
// Set while the program's globals are made (the application's constructor), so not a global itself.
std::function<void(TControl*)>& MouseListener() {
    static std::function<void(TControl*)> listener;
    return listener;
}
} // namespace

std::function<void(std::exception_ptr)> g_messageExceptionHandler;

void SetMouseControlListener(std::function<void(TControl*)> listener) {
    MouseListener() = std::move(listener);
}
void SetMessageExceptionHandler(std::function<void(std::exception_ptr)> handler) {
    g_messageExceptionHandler = std::move(handler);
}
TControl* MouseControl() {
    return g_mouseControl;
}
TControl* CaptureControl() {
    return g_captureControl;
}

// Sends CM_MOUSELEAVE to the control the mouse left and CM_MOUSEENTER to the one it entered,
// once per change; the control under the mouse is found by position, so capture changes nothing.
void SetMouseControl(TControl* control) {
    if (control == g_mouseControl) return;
    TControl* old = g_mouseControl;
    g_mouseControl = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control && g_mouseControl == control) control->Perform(CM_MOUSEENTER);
    if (MouseListener()) MouseListener()(g_mouseControl);
}

void ForgetControl(TControl* control) {
    if (g_mouseControl == control) {
        g_mouseControl = nullptr;
        if (MouseListener()) MouseListener()(nullptr);
    }
    if (g_captureControl == control) g_captureControl = nullptr;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), constraints_(std::make_unique<TSizeConstraints>()),
      font_(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this](TObject* s) { FontChanged(s); };
    constraints_->OnChange = [this](TObject*) { SetBounds(left_, top_, width_, height_); };
}

TControl::~TControl() {
    MarkDestroying();
    ForgetControl(this);
    if (Screen->ActiveControl() == this) Screen->SetActiveControl(nullptr);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::FontChanged(TObject*) {
    if (!settingFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wp, LPARAM lp) {
    TMessage m{msg, wp, lp, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0), height = std::max(height, 0);
    constraints_->Apply(width, height);
    if (autoSize_ && !Loading()) CanAutoSize(width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    bool sized = width != width_ || height != height_;
    InvalidateControl(visible_, false);
    left_ = left, top_ = top, width_ = width, height_ = height;
    UpdateAnchorBase();
    InvalidateControl(visible_, false);
    RequestAlign();
    // A window hears of its new size in WM_SIZE, and resizes there.
    if (sized && !Loading() && !windowed_) Resize();
}

TRect TControl::ClientRect() {
    return {0, 0, width_, height_};
}

void TControl::SetClientSize(int width, int height) {
    TRect c = ClientRect();
    SetBounds(left_, top_, width_ - RectWidth(c) + width, height_ - RectHeight(c) + height);
}

TPoint TControl::ClientOrigin() {
    if (!parent_) return {left_, top_};
    TPoint p = parent_->ClientOrigin();
    return {p.x + left_, p.y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) {
    TPoint o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

TPoint TControl::ScreenToClient(TPoint p) {
    TPoint o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::UpdateAnchorBase() {
    if (parent_ && !(parent_->ControlState & csAlignmentNeeded) && !parent_->aligning_) {
        anchorBounds_ = BoundsRect();
        TRect c = parent_->ClientRect();
        anchorParent_ = {RectWidth(c), RectHeight(c)};
    }
}

void TControl::SetAlign(TAlign align) {
    if (align_ == align) return;
    TAlign old = align_;
    align_ = align;
    anchors_ = (align == alNone || align == alCustom) ? TAnchors(akLeft | akTop)
               : align == alTop                       ? TAnchors(akLeft | akTop | akRight)
               : align == alBottom                    ? TAnchors(akLeft | akRight | akBottom)
               : align == alLeft                      ? TAnchors(akLeft | akTop | akBottom)
               : align == alRight                     ? TAnchors(akRight | akTop | akBottom)
                                                      : TAnchors(akLeft | akTop | akRight | akBottom);
    if (old != alNone || align != alNone) RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
    anchors_ = anchors;
    UpdateAnchorBase();
}

void TControl::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    if (value) AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) {
    return false;
}

void TControl::AdjustSize() {
    if (!Loading()) SetBounds(left_, top_, width_, height_);
}

void TControl::RequestAlign() {
    if (parent_) parent_->RealignFor(this);
}

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    InvalidateControl(true, false);
    visible_ = value;
    Perform(CM_VISIBLECHANGED, value);
    RequestAlign();
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& text) {
    if (text == text_) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Perform(CM_TEXTCHANGED);
}

// The parent's font, without turning ParentFont off as a change of the font would.
void TControl::TakeParentFont() {
    settingFont_ = true;
    font_->Assign(parent_->Font());
    settingFont_ = false;
}

void TControl::SetParentFont(bool value) {
    if (parentFont_ == value) return;
    parentFont_ = value;
    if (value && parent_) {
        TakeParentFont();
    }
}

void TControl::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (parentColor_ == value) return;
    parentColor_ = value;
    if (value && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::SetShowHint(bool value) {
    showHint_ = value;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool value) {
    parentShowHint_ = value;
    if (value && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    // The new shape shows at once when the mouse is over the control.
    if (g_mouseControl == this) {
        POINT p;
        GetCursorPos(&p);
        if (HWND w = WindowFromPoint(p)) SendMessage(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), HTCLIENT);
    }
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
    if (operation == TOperation::opRemove && actionLink_ && component == actionLink_->Action())
        actionLink_.reset();
}

TBasicAction* TControl::Action() const {
    return actionLink_ ? actionLink_->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* action) {
    if (!action) {
        if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
        actionLink_.reset();
        return;
    }
    if (action == Action()) return;
    if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
    if (!actionLink_) {
        actionLink_ = std::make_unique<TControlActionLink>(this);
        actionLink_->OnChange = [this](TObject* sender) { ActionChange(sender, false); };
    }
    actionLink_->SetAction(action);
    action->FreeNotification(this);
    ActionChange(action, action->Loading());
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* a = dynamic_cast<TCustomAction*>(sender);
    if (!a) return;
    if (!checkDefaults || Caption().empty() || Caption() == Name()) SetCaption(a->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(a->Enabled());
    if (!checkDefaults || Hint.empty()) Hint = a->Hint();
    if (!checkDefaults || Visible()) SetVisible(a->Visible());
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent == this) throw EComponentError("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        if (parentFont_) {
            TakeParentFont();
        }
        if (parentColor_) color_ = parent_->Color();
        if (parentShowHint_) showHint_ = parent_->ShowHint();
    }
    UpdateAnchorBase();
    if (autoSize_) AdjustSize();
}

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if (!isVisible || windowed_ || !parent_ || !parent_->HandleAllocated() || Loading()) return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, !(isOpaque || (ControlStyle & csOpaque)));
}

void TControl::Invalidate() {
    InvalidateControl(visible_, ControlStyle & csOpaque);
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
    if (ControlStyle & csOpaque) {
        // Paints itself alone, straight onto the parent's window.
        HDC dc = GetDC(parent_->Handle());
        os::ScopeExit release([this, dc] { ReleaseDC(parent_->Handle(), dc); });
        gdi::DcStateSaver saved(dc);
        OffsetViewportOrgEx(dc, left_, top_, nullptr);
        IntersectClipRect(dc, 0, 0, width_, height_);
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } else {
        Invalidate();
        Update();
    }
}

void TControl::MoveInZOrder(bool front) {
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    // Windowless controls stay ahead of the windowed ones.
    auto firstWindowed = std::find_if(v.begin(), v.end(), [](TControl* c) { return c->windowed_; });
    auto at = front ? (windowed_ ? v.end() : firstWindowed) : (windowed_ ? firstWindowed : v.begin());
    v.insert(at, this);
    if (windowed_) {
        if (auto* w = static_cast<TWinControl*>(this); w->HandleAllocated())
            SetWindowPos(w->Handle(), front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    Invalidate();
    RequestAlign();
}

void TControl::BringToFront() {
    MoveInZOrder(true);
}

void TControl::SendToBack() {
    MoveInZOrder(false);
}

bool TControl::MouseCapture() const {
    return g_captureControl == this;
}

void TControl::SetMouseCapture(bool value) {
    if (MouseCapture() == value) return;
    if (value) {
        HWND w = windowed_ ? static_cast<TWinControl*>(this)->Handle()
                 : parent_ ? parent_->Handle()
                           : nullptr;
        if (!w) return;
        SetCapture(w);
        g_captureControl = this;
    } else {
        g_captureControl = nullptr;
        ReleaseCapture();
    }
}

void TControl::Click() {
    // The control's own handler wins over its action's.
    if (OnClick)
        OnClick(this);
    else
        RunAction();
}

bool TControl::RunAction() {
    return actionLink_ && !Designing() && actionLink_->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::CMMouseEnter(TMessage&) {}
void TControl::CMMouseLeave(TMessage&) {}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}

void TControl::CMTextChanged(TMessage&) {
    Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&) {
    InvalidateControl(true, false);
}

void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}

void TControl::CMCancelMode(TMessage& m) {
    if (MouseCapture() && reinterpret_cast<TControl*>(m.LParam) != this) SetMouseCapture(false);
}

void TControl::ContextMenu(TMessage& m) {
    TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (p.x == -1 && p.y == -1) p = ClientToScreen({width_ / 2, height_ / 2}); // from the keyboard
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, ScreenToClient(p), handled);
    if (handled) {
        m.Result = 1;
        return;
    }
    if (popupMenu_ && popupMenu_->AutoPopup) {
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(p.x, p.y);
        m.Result = 1;
        return;
    }
    DefaultHandler(m);
}

void TControl::WndProc(TMessage& m) {
    auto pos = [&] { return TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}; };
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m.Msg == WM_LBUTTONDBLCLK && (ControlStyle & csDoubleClicks)) {
            DblClick();
            MouseDown(mbLeft, KeysToShiftState(m.WParam) | ssDouble, pos().x, pos().y);
            return;
        }
        if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
        if (ControlStyle & csClickEvents) ControlState |= csClicked;
        MouseDown(mbLeft, KeysToShiftState(m.WParam), pos().x, pos().y);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
        TMouseButton b = (m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONDBLCLK) ? mbRight : mbMiddle;
        bool dbl = m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
        if (!dbl && (ControlStyle & csCaptureMouse)) SetMouseCapture(true);
        MouseDown(b, KeysToShiftState(m.WParam) | (dbl ? ssDouble : 0), pos().x, pos().y);
        Dispatch(m);
        return;
    }
    case WM_LBUTTONUP: {
        if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
        bool clicked = ControlState & csClicked;
        ControlState &= ~csClicked;
        TRect c = ClientRect();
        if (clicked && PtInRect(&c, pos())) Click();
        MouseUp(mbLeft, KeysToShiftState(m.WParam), pos().x, pos().y);
        return;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
        MouseUp(m.Msg == WM_RBUTTONUP ? mbRight : mbMiddle, KeysToShiftState(m.WParam), pos().x, pos().y);
        // A windowless control has no window to turn the right click into WM_CONTEXTMENU.
        if (m.Msg == WM_RBUTTONUP && !windowed_) {
            TPoint s = ClientToScreen(pos());
            TMessage cm{WM_CONTEXTMENU, 0, MAKELPARAM(s.x, s.y), 0};
            WindowProc(cm);
            return;
        }
        Dispatch(m);
        return;
    case WM_MOUSEMOVE:
        MouseMove(KeysToShiftState(m.WParam), pos().x, pos().y);
        Dispatch(m);
        return;
    default:
        Dispatch(m);
    }
}

void TControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_SETTEXT:
        text_ = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        DefaultHandler(m);
        m.Result = TRUE;
        return;
    case WM_CONTEXTMENU:
        return ContextMenu(m);
    case CM_MOUSEENTER:
        return CMMouseEnter(m);
    case CM_MOUSELEAVE:
        return CMMouseLeave(m);
    case CM_ENABLEDCHANGED:
        return CMEnabledChanged(m);
    case CM_TEXTCHANGED:
        return CMTextChanged(m);
    case CM_FONTCHANGED:
        return CMFontChanged(m);
    case CM_VISIBLECHANGED:
        return CMVisibleChanged(m);
    case CM_COLORCHANGED:
        return CMColorChanged(m);
    case CM_CANCELMODE:
        return CMCancelMode(m);
    case CM_HINTSHOW:
        return CMHintShow(m);
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_) {
            TakeParentFont();
        }
        return;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_ && color_ != parent_->Color()) {
            color_ = parent_->Color();
            Perform(CM_COLORCHANGED);
        }
        return;
    default:
        DefaultHandler(m);
    }
}

void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_GETTEXTLENGTH:
        m.Result = static_cast<LRESULT>(text_.size());
        break;
    case WM_GETTEXT: {
        if (m.WParam == 0 || !m.LParam) break;
        size_t n = std::min<size_t>(text_.size(), m.WParam - 1);
        std::copy_n(text_.data(), n, reinterpret_cast<char*>(m.LParam));
        reinterpret_cast<char*>(m.LParam)[n] = 0;
        m.Result = static_cast<LRESULT>(n);
        break;
    }
    default:
        break;
    }
}

} // namespace gui

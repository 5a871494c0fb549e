#pragma once
// Controls: TControl (windowless or not), TWinControl (owns a window), TGraphicControl (paints on
// its parent's surface) and TCustomControl (a window with a canvas and Paint).
//
// Every message of a control, window messages and our notices alike, goes through WindowProc,
// which starts as WndProc and can be replaced (the skinned form does): WndProc does the common
// mouse and key work, Dispatch hands the message to its handler, DefaultHandler ends the chain
// (the window class procedure for a windowed control).  Windowless children come first in
// Controls and receive their mouse messages from their parent.
#include "gui/Graphics.h"
#include "gui/Messages.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gui {

class TWinControl;
class TPopupMenu;
class TCustomForm;

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

enum TControlStyleFlag : uint32_t {
    csAcceptsControls = 0x1,
    csCaptureMouse = 0x2,
    csClickEvents = 0x4,
    csFramed = 0x8,
    csSetCaption = 0x10,
    csOpaque = 0x20, // the parent does not paint under it
    csDoubleClicks = 0x40,
    csFixedWidth = 0x80,
    csFixedHeight = 0x100,
    csNoStdEvents = 0x200,
    csParentBackground = 0x400,
};
using TControlStyle = uint32_t;

enum TControlStateFlag : uint32_t {
    csLButtonDown = 0x1,
    csClicked = 0x2,
    csAlignmentNeeded = 0x4,
    csFocusing = 0x8,
    csCreating = 0x10,
    csPaintCopy = 0x20,
    csCustomPaint = 0x40,
    csDestroyingHandle = 0x80,
};
using TControlState = uint32_t;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
// Characters are code points (the window system's WM_CHAR carries them whole).
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;
using TMouseWheelEvent =
    std::function<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;

TShiftState KeysToShiftState(WPARAM keys);       // MK_* of mouse messages
TShiftState KeyDataToShiftState(LPARAM keyData); // key messages
TShiftState KeyboardStateToShiftState();

class TSizeConstraints : public TPersistent {
public:
    std::string ClassName() const override { return "TSizeConstraints"; }
    void Assign(const TPersistent* source) override;
    // 0: no limit.
    int MinWidth() const { return minW_; }
    int MinHeight() const { return minH_; }
    int MaxWidth() const { return maxW_; }
    int MaxHeight() const { return maxH_; }
    void SetMinWidth(int v);
    void SetMinHeight(int v);
    void SetMaxWidth(int v);
    void SetMaxHeight(int v);
    void Apply(int& width, int& height) const;
    TNotifyEvent OnChange;

private:
    void Changed();
    int minW_ = 0, minH_ = 0, maxW_ = 0, maxH_ = 0;
};

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASS WindowClass{};
    std::string WinClassName;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    std::string ClassName() const override { return "TControl"; }

    // Geometry (parent client coordinates; screen coordinates for a top-level form).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, RectWidth(r), RectHeight(r)); }
    virtual TRect ClientRect();
    int ClientWidth() { return RectWidth(ClientRect()); }
    int ClientHeight() { return RectHeight(ClientRect()); }
    void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
    void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
    // The screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(TPoint p);
    TPoint ScreenToClient(TPoint p);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);
    TSizeConstraints* Constraints() const { return constraints_.get(); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);
    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& text) { SetText(text); }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    std::string Hint;
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState ControlState = 0;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const { return parent_ != nullptr; }

    // Sends a message through WindowProc and answers its result.
    LRESULT Perform(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
    TWndMethod WindowProc;

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();
    bool MouseCapture() const;
    void SetMouseCapture(bool value);
    bool IsWindowed() const { return windowed_; }

    TNotifyEvent OnClick, OnDblClick, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TContextPopupEvent OnContextPopup;

    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

protected:
    friend class TWinControl;
    virtual void Dispatch(TMessage& message);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Resize();
    virtual void SetClientSize(int width, int height);
    // AutoSize asks here for the size the contents need.
    virtual bool CanAutoSize(int& width, int& height);
    void AdjustSize();
    virtual void RequestAlign();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void Paint() {}

    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message);
    virtual void CMFontChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMCancelMode(TMessage& message);
    virtual void CMHintShow(TMessage& message) { message.Result = 0; }

    // The invalidation of a windowless control goes to its parent's window.
    void InvalidateControl(bool isVisible, bool isOpaque);
    void UpdateAnchorBase();
    bool windowed_ = false;

private:
    friend struct ControlAccess;
    void FontChanged(TObject*);
    void ContextMenu(TMessage& message);
    void MoveInZOrder(bool front);
    void TakeParentFont();
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    // Where anchoring measures from: the bounds and the parent's client size when last set.
    TRect anchorBounds_{};
    TSize anchorParent_{};
    TWinControl* parent_ = nullptr;
    TAlign align_ = alNone;
    TAnchors anchors_ = akLeft | akTop;
    std::unique_ptr<TSizeConstraints> constraints_;
    bool autoSize_ = false;
    bool visible_ = true, enabled_ = true;
    std::string text_;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true, parentColor_ = false, showHint_ = false, parentShowHint_ = true;
    TColor color_ = clWindow;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    bool settingFont_ = false;
};

class TControlCanvas;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    std::string ClassName() const override { return "TWinControl"; }

    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and makes it anew from CreateParams; the control keeps its text,
    // bounds, visibility, children (their windows are made anew too) and focus.
    void RecreateWnd();
    // A window of another program part that hosts this control (a form inside another window).
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;
    // The topmost windowless child (windowed ones too when asked) at a client point.
    TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false);

    bool Showing() const;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    TBrush* Brush() const { return brush_.get(); }

    void DisableAlign();
    void EnableAlign();
    void Realign();
    void ScrollBy(int dx, int dy);

    virtual bool CanFocus();
    bool Focused() const;
    virtual void SetFocus();
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int order);
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;
    TMouseWheelEvent OnMouseWheel;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Sends the message to every child, windowless ones included, until one answers non-zero.
    void Broadcast(TMessage& message);

protected:
    friend class TCustomForm;
    friend struct ControlAccess;
    void Dispatch(TMessage& message) override;
    virtual void CreateParams(TCreateParams& params);
    // Makes the window of a native control class under our own class name.
    void CreateSubClass(TCreateParams& params, const char* controlClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void CreateHandle();
    void DestroyHandle();
    void UpdateBounds();

    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect&) {}
    void RequestAlign() override;
    void Loaded() override;

    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc, TControl* first);
    void PaintHandler(TMessage& message);
    virtual void WMPaint(TMessage& message);
    virtual void WMEraseBkgnd(TMessage& message);

    virtual bool DoKeyDown(TMessage& message);
    virtual bool DoKeyUp(TMessage& message);
    virtual bool DoKeyPress(TMessage& message);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void DoEnter();
    virtual void DoExit();

    void CMEnabledChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    virtual void CMDialogKey(TMessage& message) { Broadcast(message); }
    virtual void CMDialogChar(TMessage& message) { Broadcast(message); }
    virtual void CMFocusChanged(TMessage& message) { Broadcast(message); }
    void CMCancelMode(TMessage& message) override;

    WNDPROC DefWndProc = nullptr; // the class procedure beneath ours

private:
    friend class TControl;
    friend LRESULT InitWndProc(HWND, UINT, WPARAM, LPARAM);
    void RealignFor(TControl* control);
    bool DoKey(TMessage& message, bool (TCustomForm::*preview)(TMessage&),
               void (TWinControl::*handler)(WORD&, TShiftState));
    bool IsControlMouseMsg(TMessage& message);
    bool KeyMessage(TMessage& message);
    void WindowDestroyed();
    void ApplyAnchors();
    HWND handle_ = nullptr;
    WNDPROC instance_ = nullptr;
    HWND parentWindow_ = nullptr;
    std::vector<TControl*> controls_; // windowless first, then windowed, each in z-order
    std::vector<TWinControl*> tabList_;
    std::unique_ptr<TBrush> brush_;
    int alignLevel_ = 0;
    bool tabStop_ = false;
    bool aligning_ = false;
};

// A canvas on a control: a windowless control draws through its parent's window, with the
// origin at its own top-left corner and clipped to it.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    void FreeHandle();
    // Runs paint with the canvas on dc (a paint DC), locked.
    void PaintOn(HDC dc, const std::function<void()>& paint);

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    HWND window_ = nullptr;
    HDC own_ = nullptr;
};

// Releases the device contexts that control canvases took outside painting.
void FreeDeviceContexts();

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    std::string ClassName() const override { return "TGraphicControl"; }
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void Dispatch(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    std::string ClassName() const override { return "TCustomControl"; }
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// The control whose window this is (or the nearest ancestor window's control).
TWinControl* FindControl(HWND window);
// The control under a screen point: a windowless child where there is one.
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);
// The control the mouse is over, as CM_MOUSEENTER and CM_MOUSELEAVE last told.
TControl* MouseControl();
TControl* CaptureControl();
// The hint engine hears of every change of the control under the mouse.
void SetMouseControlListener(std::function<void(TControl* control)> listener);
// Where an exception from a message handler goes (the application shows it); unset, it propagates.
void SetMessageExceptionHandler(std::function<void(std::exception_ptr)> handler);

} // namespace gui

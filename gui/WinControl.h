#pragma once
// A control that owns a window: its children, alignment, focus, tab order and keys.
#include "gui/Brush.h"
#include "gui/Control.h"
#include "gui/Fwd.h"
#include "win/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace gui {

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

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    std::string ClassName() const override { return "TWinControl"; }

    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and makes it anew from CreateParams; the control keeps the window's
    // text as it stood, its bounds, visibility, children (their windows are made anew too) and
    // focus.
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
    // Hidden, disabled or going away, the control hands the focus back to its form.
    void RemoveFocus(bool removing);
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

// The control whose window this is (or the nearest ancestor window's control).
TWinControl* FindControl(HWND window);
// The control under a screen point: a windowless child where there is one.
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);

} // namespace gui

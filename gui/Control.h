#pragma once
// Controls: TControl (windowless or not), TWinControl (owns a window), TGraphicControl (paints on
// its parent's surface) and TCustomControl (a window with a canvas and Paint).
//
// Every message of a control, window messages and our notices alike, goes through WindowProc,
// which starts as WndProc and can be replaced (the skinned form does): WndProc does the common
// mouse and key work, Dispatch hands the message to its handler, DefaultHandler ends the chain
// (the window class procedure for a windowed control).  Windowless children come first in
// Controls and receive their mouse messages from their parent.
#include "gui/ActnList.h"
#include "gui/Classes.h"
#include "gui/Color.h"
#include "gui/ControlTypes.h"
#include "gui/Font.h"
#include "gui/Fwd.h"
#include "gui/Geometry.h"
#include "gui/Messages.h"
#include "gui/SizeConstraints.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace gui {

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
    // The action the control follows and runs when clicked (null: none).
    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);
    TControlActionLink* ActionLink() const { return actionLink_.get(); }

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
    // The action changed, or was linked (CheckDefaults: only the control's unset properties
    // take the action's).  Caption, enabled state, hint and visibility follow it here.
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    // Runs the linked action for this control (never while designing); false without one.
    bool RunAction();

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
    std::unique_ptr<TControlActionLink> actionLink_;
    bool settingFont_ = false;
};

// The control the mouse is over, as CM_MOUSEENTER and CM_MOUSELEAVE last told.
TControl* MouseControl();
TControl* CaptureControl();
// The hint engine hears of every change of the control under the mouse.
void SetMouseControlListener(std::function<void(TControl* control)> listener);
// Where an exception from a message handler goes (the application shows it); unset, it propagates.
void SetMessageExceptionHandler(std::function<void(std::exception_ptr)> handler);

} // namespace gui

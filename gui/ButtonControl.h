#pragma once
// Check boxes and radio buttons: a box or circle with a mark and a caption, toggled by a left
// click, by releasing Space while focused, or by the caption's accelerator.  Radio buttons with
// the same parent exclude each other; the arrow keys move the choice within them, and Tab
// reaches only the checked one, as Win32 dialogs have it.
#include "gui/CustomControl.h"

#include <cstdint>
#include <string>

namespace gui {

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

class TButtonControl : public TCustomControl {
public:
    explicit TButtonControl(TComponent* owner);
    std::string ClassName() const override { return "TButtonControl"; }
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool value) = 0;

protected:
    // What a click, Space or the accelerator does.
    virtual void Toggle() = 0;
    // The mark inside the box at r (the box itself is drawn already).
    virtual void DrawMark(const TRect& box) = 0;
    virtual void DrawBox(const TRect& box) = 0;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMCancelMode(TMessage& message) override;
    // Pressed: the mouse is held inside, or Space is down.
    bool Pressed() const { return pressed_ && (spaceDown_ || hot_); }
    static constexpr int BoxSize = 13;

private:
    void SetPressed(bool pressed, bool hot);
    bool pressed_ = false, hot_ = false, spaceDown_ = false;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* owner);
    std::string ClassName() const override { return "TCheckBox"; }
    bool Checked() const override { return state_ == cbChecked; }
    // Checking or unchecking from code fires OnClick when the state changes; a grayed box
    // stays grayed when unchecked.
    void SetChecked(bool value) override;
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    // With AllowGrayed a click goes unchecked, grayed, checked.
    bool AllowGrayed = false;

protected:
    void Toggle() override;
    void DrawBox(const TRect& box) override;
    void DrawMark(const TRect& box) override;

private:
    TCheckBoxState state_ = cbUnchecked;
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);
    std::string ClassName() const override { return "TRadioButton"; }
    bool Checked() const override { return checked_; }
    // Checking unchecks the other radio buttons of the parent and fires OnClick.
    void SetChecked(bool value) override;

protected:
    void Toggle() override;
    void DrawBox(const TRect& box) override;
    void DrawMark(const TRect& box) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;

private:
    bool checked_ = false;
};

} // namespace gui

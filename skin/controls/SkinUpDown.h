#pragma once
// TbsSkinUpDown: a pair of step buttons over an integer Position between Min and Max.  The
// skin gives it a fixed-size picture with both buttons ("hupdown", "vupdown"); without
// UseSkinSize it takes any size and draws its buttons from the skin's "resizebutton".
// A held button steps after 500 ms, then every 100 ms.
#include "gui/UpDown.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinListBox.h"

namespace skin {

class TbsSkinUpDown : public TbsSkinCustomControl {
public:
    explicit TbsSkinUpDown(gui::TComponent* AOwner);
    ~TbsSkinUpDown() override;
    std::string ClassName() const override { return "TbsSkinUpDown"; }

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    gui::TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(gui::TUDOrientation Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    int Position() const { return FPosition; }
    // Out of range is ignored; any accepted value fires OnChange, also an unchanged one.
    void SetPosition(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);

    gui::TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnChange;

    // 0 the increasing button, 1 the decreasing one.
    const TbsCBButtonX& Button(int i) const { return Buttons[i]; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void UpdateMaskRegion() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    void CalcButtonRects();
    void TestActive(int X, int Y);
    void StartTimer(UINT Interval);
    void StopTimer();
    void DrawDefaultButton(gui::TCanvas* C, int i);
    void DrawResizeButton(gui::TCanvas* C, int i);
    int ArrowDirection(int i) const;

    bool FUseSkinSize = true;
    gui::TUDOrientation FOrientation = gui::udHorizontal;
    TbsCBButtonX Buttons[2];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false, FTimerOn = false;
    int FIncrement = 1, FPosition = 0, FMin = 0, FMax = 100;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect;
};

} // namespace skin

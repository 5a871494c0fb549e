#pragma once
// TbsSkinScrollBar: a stand-alone scroll bar drawn from its skin entry or in a default look.
// List views, list and scroll boxes hide their native bars and drive these with SetRange.
// Arrow buttons and track presses repeat while held: a step at once, a pause of 500 ms, then
// a step every 50 ms.
#include "skin/controls/SkinControl.h"

namespace skin {

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TbsSkinScrollBar : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBar(gui::TComponent* AOwner);
    ~TbsSkinScrollBar() override;
    std::string ClassName() const override { return "TbsSkinScrollBar"; }

    bool Both() const { return FBoth; }
    void SetBoth(bool Value);
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int Value);
    std::string BothSkinDataName = "bothhscrollbar";
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value); // fires OnChange when the clamped value differs
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);

    // Never fires OnChange.
    void SetRange(int AMin, int AMax, int APageSize, int APosition);
    void SimplySetPosition(int Value);

    gui::TNotifyEvent OnChange, OnLastChange, OnUpButtonClick, OnDownButtonClick, OnPageUp, OnPageDown;

    // The parts as the last layout placed them: 0 thumb, 1 increment, 2 decrement.
    struct Part {
        gui::TRect R{};
        bool MouseIn = false, Down = false;
    };
    const Part& Parts(int i) const { return Buttons[i]; }
    gui::TRect TrackArea() const { return NewTrackArea; }
    void LayoutParts();
    void WndProc(gui::TMessage& Message) override;

protected:
    void WMEraseBkgnd(gui::TMessage& Message) override { PaintIntoEraseDC(Message); }
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void CMEnabledChanged(gui::TMessage& Message) override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    int Clamp(int Value) const;
    bool ShowsFocus();
    void StartTimer(UINT Interval);
    void StopTimer();
    void PressPart(int i);
    void UpdateHover(int X, int Y);
    int PartAt(int X, int Y) const;
    void PositionFromOffset(int C);
    void DrawDefaultPart(gui::TCanvas* C, int i);
    void StepUp();
    void StepDown();

    bool FBoth = false;
    int FBothMarkerWidth = 19;
    std::string FNormalSkinDataName;
    bool FCanFocused = false;
    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int FPageSize = 0, FMin = 0, FMax = 100, FPosition = 0, FSmallChange = 1, FLargeChange = 1;

    Part Buttons[3];
    gui::TRect NewTrackArea{};
    int Offset1 = 0, Offset2 = 0, BOffset = 0;
    int OMPos = 0, OldBOffset = 0;
    bool FDown = false;
    int MX = 0, MY = 0;
    bool MouseD = false, WaitMode = false, TimerOn = false;
    int TimerMode = 0;
    int ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;

    // Skin fields.
    TRect STrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect,
        ActiveDownButtonRect, DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect, GlyphRect,
        ActiveGlyphRect, DownGlyphRect;
    int ThumbOffset1 = 0, ThumbOffset2 = 0, ThumbMinSize = 0, ThumbMinPageSize = 0;
    bool ThumbTransparent = false, ThumbStretchEffect = false, GlyphTransparent = false;
    gui::TColor ThumbTransparentColor = 0, GlyphTransparentColor = 0;
};

} // namespace skin

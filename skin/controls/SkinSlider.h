#pragma once
// TbsSkinCustomSlider: a track bar whose thumb moves along a ruler over MinValue..MaxValue,
// drawn from the slider entry of its skin or from four images of its own (built-in unless the
// user supplies others).  The thumb always sits on the place of a value; OnChange follows every
// change of Value, OnChanged the end of a user action (release, keyboard jump).
#include "skin/controls/SkinControl.h"

#include <array>
#include <cstdint>
#include <memory>

namespace skin {

enum class TbsSliderOrientation { soHorizontal, soVertical };

enum TbsSliderOption : uint8_t {
    soShowFocus = 0x01,
    soShowPoints = 0x02,
    soSmooth = 0x04,
    soRulerOpaque = 0x08,
    soThumbOpaque = 0x10,
};
using TbsSliderOptions = uint8_t;

enum TbsSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };

enum class TbsJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };

class TbsSkinCustomSlider : public TbsSkinControl {
public:
    explicit TbsSkinCustomSlider(gui::TComponent* AOwner);
    ~TbsSkinCustomSlider() override;
    std::string ClassName() const override { return "TbsSkinCustomSlider"; }

    int Value() const { return FValue; }
    void SetValue(int Value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value);
    TbsSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TbsSliderOrientation Value);
    TbsSliderOptions Options() const { return FOptions; }
    void SetOptions(TbsSliderOptions Value);
    int EdgeSize() const { return FEdgeSize; }
    void SetEdgeSize(int Value);
    int NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(int Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool UseSkinThumb = true;

    // A copy of Bitmap becomes the image; nil brings back the built-in one.
    void SetImage(TbsSliderImage Index, const gui::TBitmap* Bitmap);
    gui::TBitmap* Image(TbsSliderImage Index) const { return FImages[Index].get(); }
    bool UserImage(TbsSliderImage Index) const { return FUserImages & (1u << Index); }

    // Tick marks on the slider's canvas, for OnDrawPoints handlers.
    void DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight);

    gui::TNotifyEvent OnChange, OnChanged, OnDrawPoints;

    // The layout as it stands, for callers that place things beside the thumb.
    gui::TRect ThumbRect() const { return FThumbRect; }
    gui::TPoint RulerOrg() const { return FRulerOrg; }
    gui::TBitmap* Ruler() const { return FRuler.get(); }
    gui::TRect PointsRect() const { return FPointsRect; }
    int RulerLength() const;
    int OffsetOfValue(int Value) const;
    int ValueAtOffset(int Offset) const;

    void ChangeSkinData() override;
    void Loaded() override;

protected:
    virtual bool ModifyAllowed() { return true; }
    virtual gui::TRect SliderBounds() const { return {0, 0, Width(), Height()}; }
    virtual int DisplayedValue() const { return FValue; }
    virtual void LayoutSlider();
    virtual void RangeUpdated() {}
    virtual void ThumbPressed(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    virtual void ThumbDragged(gui::TShiftState Shift, int X, int Y);
    virtual void ThumbReleased(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    virtual void NotifyChange() {
        if (OnChange) OnChange(this);
    }
    virtual void NotifyChanged() {
        if (OnChanged) OnChanged(this);
    }

    void GetSkinData() override;
    void Paint() override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    void CMEnabledChanged(gui::TMessage& Message) override;
    void CMFocusChanged(gui::TMessage& Message) override;
    void CheckParentBackground() override;
    void Dispatch(gui::TMessage& Message) override;

private:
    bool Horizontal() const { return FOrientation == TbsSliderOrientation::soHorizontal; }
    bool SkinThumb() const;
    gui::TPoint ThumbSize() const;
    void BuildRuler();
    void SetValueRange(int AMin, int AMax);
    int SnapThumbOffset(int Offset) const;
    void MoveThumbTo(int Offset);
    void JumpThumb(TbsJumpMode Mode);
    TbsJumpMode JumpDirectionAt(int X, int Y) const;
    void TrackingStep();
    void StopTracking();
    void InvalidateThumb();
    void DrawPointMarks(gui::TCanvas* C, int Step, int InnerLength, int EndLength);
    void LoadBuiltInImage(TbsSliderImage Index);
    bool Modifiable() { return ModifyAllowed() && !FReadOnly; }

    bool FTransparent = false;
    uint8_t FUserImages = 0;
    std::array<std::unique_ptr<gui::TBitmap>, 4> FImages;
    int FEdgeSize = 2;
    std::unique_ptr<gui::TBitmap> FRuler;
    gui::TPoint FRulerOrg{};
    gui::TRect FThumbRect{};
    bool FThumbDown = false;
    int FNumThumbStates = 2;
    gui::TRect FPointsRect{};
    TbsSliderOrientation FOrientation = TbsSliderOrientation::soHorizontal;
    TbsSliderOptions FOptions = soShowFocus | soShowPoints | soSmooth;
    int FMinValue = 0, FMaxValue = 100, FIncrement = 10, FValue = 0;
    int FHit = 0;
    bool FFocused = false, FSliding = false, FTracking = false, FTimerActive = false;
    gui::TPoint FMousePos{};
    TbsJumpMode FStartJump = TbsJumpMode::jmNone;
    bool FReadOnly = false;
    bool FConstructing = true;

    // Skin fields.
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int SkinEdgeSize = 0;
    gui::TColor BGColor = 0, PointsColor = 0;
    gui::TBitmap* Picture = nullptr;
};

class TbsSkinSlider : public TbsSkinCustomSlider {
public:
    using TbsSkinCustomSlider::TbsSkinCustomSlider;
    std::string ClassName() const override { return "TbsSkinSlider"; }
};

} // namespace skin

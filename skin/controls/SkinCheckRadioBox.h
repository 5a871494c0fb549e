#pragma once
// TbsSkinCheckRadioBox: a check box or, with Radio on, a radio box.  Flat (the default) it
// draws its check image and caption on its parent's background; framed, inside the skin's
// nine-part frame with a hot frame under the pointer.  Radio boxes with the same non-zero
// GroupIndex under one parent exclude each other.
#include "gui/Timer.h"
#include "skin/controls/SkinControl.h"

namespace skin {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCheckRadioBox(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsSkinCheckRadioBox"; }

    bool Checked() const { return FChecked; }
    // Unchecks the checked siblings of its group; then OnClick: a check box on every set, a
    // radio box when now checked.
    void SetChecked(bool Value);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value); // fires OnClick on every set
    bool Radio() const { return FRadio; }
    void SetRadio(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    int GroupIndex = 0;
    bool AllowGrayed = false;
    bool WordWrap = false;
    bool UseSkinFontColor = true;
    gui::TCustomImageList* Images = nullptr;
    int ImageIndex = 0;

    gui::TNotifyEvent OnClick;

    virtual void UserToggle();
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorphKf; }
    // The box with the given checked state, without hover or focus marks, drawn at X, Y: the
    // flat look, or the framed look's normal frame (nothing framed without a skin entry).
    void PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, bool AChecked);
    ~TbsSkinCheckRadioBox() override;
    void ChangeSkinData() override;
    void WndProc(gui::TMessage& Message) override;

protected:
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void Paint() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CheckParentBackground() override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void CMEnabledChanged(gui::TMessage& Message) override;
    void CMTextChanged(gui::TMessage& Message) override;
    void CMDialogChar(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    // A linked action's check mark is taken over (when linked, only by an unchecked box).
    void ActionChange(gui::TObject* Sender, bool CheckDefaults) override;

private:
    bool Hot() const { return !FPaintingTo && (FMouseIn || (FCanFocused && Focused())); }
    // Repaints, fading between the normal and the active frame when the skin asks for it.
    void UpdateLook();
    void MorphTick();
    void StopMorph();
    void PaintFrame(gui::TBitmap& B, bool Active);
    const TRect& CheckImage() const;
    void DrawCheckImage(gui::TCanvas* C, int X, int Y);
    void DrawDefaultMark(gui::TCanvas* C, int Mid);
    void ApplyFont(gui::TCanvas* C, bool Skinned) const;
    void DrawFocus(gui::TCanvas* C, const gui::TRect& TextRect);
    void PaintFlat(gui::TBitmap& B);
    void PaintFramed(gui::TBitmap& B);

    bool FChecked = false, FRadio = false, FFlat = true, FCanFocused = true, FMouseIn = false;
    bool FPaintingTo = false, Morphing = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;
    double FMorphKf = 0;
    std::unique_ptr<gui::TTimer> MorphTimer;
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;

    std::string FontName;
    int FontHeight = 0;
    gui::TFontStyles FontStyle = 0;
    gui::TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
    TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect, ActiveCheckImageRect,
        ActiveUnCheckImageRect, UnEnabledCheckImageRect, UnEnabledUnCheckImageRect, GrayedCheckImageRect,
        ActiveGrayedCheckImageRect;
    gui::TRect CIRect{}, NewTextArea{};
};

} // namespace skin

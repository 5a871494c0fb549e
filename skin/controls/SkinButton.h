#pragma once
// TbsSkinButton: the push button of every skinned window.  Five looks (normal, hot, focused,
// pressed, disabled) from their own rectangles of the skin picture or a plain default look;
// a morph between the normal and hot looks, a glow frame around the hovered button, repeated
// clicks while held, sticky groups, default and cancel buttons, a glyph or image beside the
// caption and an owner-draw event.
#include "gui/Forms.h"
#include "skin/controls/ButtonFace.h"
#include "skin/controls/SkinControl.h"
#include "skin/engine/DrawUtils.h"

#include <functional>
#include <memory>

namespace skin {

class TbsLayerManager;

// A linked action's image (from its action list's images, index in range) copied into an empty
// Glyph on a key-colour ground; false when nothing was taken.
bool TakeActionGlyph(gui::TBasicAction* Action, gui::TBitmap* Glyph);

using TbsButtonPaintEvent = std::function<void(gui::TObject* Sender, gui::TCanvas* Cnvs, gui::TRect R,
                                               bool ADown, bool AMouseIn, bool& DrawDefault)>;

// Posted by a button to itself to show and to hide its glow frame.
inline constexpr UINT WM_SHOWLAYER = 1424;
inline constexpr UINT WM_HIDELAYER = 1425;

class TbsSkinButton : public TbsSkinCustomControl, public TbsButtonFace {
public:
    explicit TbsSkinButton(gui::TComponent* AOwner);
    ~TbsSkinButton() override;
    std::string ClassName() const override { return "TbsSkinButton"; }

    void RefreshButton();
    void ButtonClick() override;
    void ShowLayer();
    void HideLayer();
    bool LayerVisible() const;

    void SetDown(bool Value) override;
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel = false;
    gui::TModalResult ModalResult = gui::mrNone;
    bool AlwaysShowLayeredFrame = false;

    gui::TCustomImageList* ImageList = nullptr;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

    gui::TNotifyEvent OnClick;
    TbsButtonPaintEvent OnPaint;

    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;
    void WndProc(gui::TMessage& Message) override;

protected:
    void WMEraseBkgnd(gui::TMessage& Message) override { PaintIntoEraseDC(Message); }
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void Paint() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void FaceChanged() override { Invalidate(); }
    int ButtonGroup() const override { return FGroupIndex; }
    // The state rectangle and flags the current state shows.
    virtual void ChooseLook(TRect& R, bool& ADown, bool& AMouseIn);
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void CMEnabledChanged(gui::TMessage& Message) override;
    void CMTextChanged(gui::TMessage& Message) override;
    void ActionChange(gui::TObject* Sender, bool CheckDefaults) override;
    void CMDialogKey(gui::TMessage& Message) override;
    void CMDialogChar(gui::TMessage& Message) override;
    void CMFocusChanged(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void DrawContents(gui::TCanvas* C, const gui::TRect& R, bool ADown, bool AMouseIn, bool Pressed);
    bool EffectsOn() const;
    bool MorphOn() const override;
    bool FocusedHere() const;
    void StartMorph() override;
    void StopMorph() override;
    void StartRepeat() override;
    void StopRepeat() override;

    bool FActive = false;
    int FGroupIndex = 0;
    bool FCanFocused = true, FDefault = false;
    int FImageIndex = -1;
    void StartAnimate(bool Forward);
    void StopAnimate() { FAnimation.Stop(); }
    bool MorphTimerOn = false, RepeatTimerOn = false;
    std::unique_ptr<TbsLayerManager> FLayerManager;

    // Descriptor copies beyond the shared looks.
    TRect FocusedSkinRect;
    bool ShowFocus = false;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0, GlowLayerAlphaBlendValue = 255;
};

} // namespace skin

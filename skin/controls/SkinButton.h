#pragma once
// TbsSkinButton: the push button of every skinned window.  Five looks (normal, hot, focused,
// pressed, disabled) from their own rectangles of the skin picture or a plain default look;
// a morph between the normal and hot looks, a glow frame around the hovered button, repeated
// clicks while held, sticky groups, default and cancel buttons, a glyph or image beside the
// caption and an owner-draw event.
#include "gui/Forms.h"
#include "skin/controls/FrameAnimation.h"
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

class TbsSkinButton : public TbsSkinCustomControl {
public:
    explicit TbsSkinButton(gui::TComponent* AOwner);
    ~TbsSkinButton() override;
    std::string ClassName() const override { return "TbsSkinButton"; }

    void RefreshButton();
    virtual void ButtonClick();
    void ShowLayer();
    void HideLayer();
    bool LayerVisible() const;

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel = false;
    bool AllowAllUp = false;
    gui::TModalResult ModalResult = gui::mrNone;
    bool RepeatMode = false;
    int RepeatInterval = 100;
    bool UseSkinSize = true;
    bool UseSkinFontColor = true;
    bool AlwaysShowLayeredFrame = false;

    gui::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(gui::TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value);
    gui::TCustomImageList* ImageList = nullptr;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

    gui::TNotifyEvent OnClick;
    TbsButtonPaintEvent OnPaint;

    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorphKf; }
    const TbsFrameAnimation& Animation() const { return FAnimation; }
    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;
    void WndProc(gui::TMessage& Message) override;

protected:
    void WMEraseBkgnd(gui::TMessage& Message) override { PaintIntoEraseDC(Message); }
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void Paint() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    virtual void CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
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
    bool MorphOn() const;
    bool FocusedHere() const;
    void StartMorph();
    void StopMorph();
    void StartRepeat();
    void StopRepeat();

    bool FDown = false, FMouseIn = false, FMouseDown = false, FActive = false, FAllowAllUpCheck = false;
    int FGroupIndex = 0;
    bool FCanFocused = true, FDefault = false;
    std::unique_ptr<gui::TBitmap> FGlyph;
    int FNumGlyphs = 1, FMargin = -1, FSpacing = 1, FImageIndex = -1;
    TbsButtonLayout FLayout = TbsButtonLayout::blGlyphLeft;
    double FMorphKf = 0;
    TbsFrameAnimation FAnimation;
    void StartAnimate(bool Forward);
    void StopAnimate() { FAnimation.Stop(); }
    bool MorphTimerOn = false, RepeatTimerOn = false, RepeatFirst = false;
    std::unique_ptr<TbsLayerManager> FLayerManager;

    // Descriptor copies.
    std::string FontName;
    int FontHeight = 0;
    gui::TFontStyles FontStyle = 0;
    gui::TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect, AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 25;
    bool Morphing = false, ShowFocus = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0, GlowLayerAlphaBlendValue = 255;
};

} // namespace skin

#pragma once
// TbsSkinSpeedButton: the windowless button of skinned tool bars and dialogs.  It never takes
// the focus; four looks (normal, hot, pressed, disabled) from its skin entry or a plain default
// look, a morph between normal and hot, sticky groups, repeated clicks while held, flat and
// transparent looks, and a glyph or image beside the caption.
#include "gui/Timer.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinButton.h"
#include "skin/menus/TrackMenu.h"

#include <memory>

namespace skin {

class TbsSkinSpeedButton : public TbsGraphicSkinCustomControl, public TbsButtonFace {
public:
    explicit TbsSkinSpeedButton(gui::TComponent* AOwner);
    ~TbsSkinSpeedButton() override;
    std::string ClassName() const override { return "TbsSkinSpeedButton"; }

    void RefreshButton();
    void ButtonClick() override;

    void SetDown(bool Value) override;
    int GroupIndex = 0;
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Transparent() const { return !(ControlStyle & gui::csOpaque); }
    void SetTransparent(bool Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    int WidthWithCaption = 0, WidthWithoutCaption = 0;

    gui::TCustomImageList* ImageList = nullptr;
    int ImageIndex = 0;
    // An images menu whose chosen item the button may show: its image with UseImagesMenuImage,
    // and its caption too with UseImagesMenuCaption.  The button repaints when the choice changes.
    TbsTrackImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(TbsTrackImagesMenu* Value);
    bool UseImagesMenuImage = false;
    bool UseImagesMenuCaption = false;

    gui::TNotifyEvent OnClick;
    TbsButtonPaintEvent OnPaint;

    void ChangeSkinData() override;

protected:
    void GetSkinData() override;
    void AdjustSkinSize(int& AWidth, int& AHeight) override;
    void Paint() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap*) override {}
    void CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void FaceChanged() override { Invalidate(); }
    int ButtonGroup() const override { return GroupIndex; }
    // The caption, image and glyph over R.
    void DrawContents(gui::TCanvas* C, const gui::TRect& R, bool ADown, bool AMouseIn, bool Pressed);
    // The transparent idle look: only the contents, straight on the parent's surface.
    void PaintContentsOnly(const gui::TRect& R, bool Skinned);
    std::string ShownCaption() const { return FShowCaption ? Caption() : std::string(); }
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void CMEnabledChanged(gui::TMessage& Message) override;
    void CMTextChanged(gui::TMessage& Message) override;
    void ActionChange(gui::TObject* Sender, bool CheckDefaults) override;
    void Dispatch(gui::TMessage& Message) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    bool EffectsOn() const;
    bool MorphOn() const override;
    void HoverChanged();
    void StartMorph() override;
    void StopMorph() override;
    void MorphTick();
    void StartRepeat() override;
    void StopRepeat() override;
    void ApplySkinFont(gui::TCanvas* C) const;

    TbsTrackImagesMenu* FSkinImagesMenu = nullptr;
    gui::TComponent* FSkinImagesMenuComponent = nullptr; // kept: its removal notice comes mid-destruction
    bool FFlat = false, FShowCaption = true;
    void StartAnimate(bool Forward);
    std::unique_ptr<gui::TTimer> MorphTimer, RepeatTimer;

    TRect MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect, MenuMarkerFlatRect;
    gui::TColor MenuMarkerTransparentColor = 0;
};

} // namespace skin

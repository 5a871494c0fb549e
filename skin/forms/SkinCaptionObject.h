#pragma once
// The caption text of a skinned frame: the form's caption in the skin's font and colours,
// kept inside its text rectangle with "...", with the form's active and inactive looks (and
// a morph or frame animation between them) and the form's quick buttons at its start.  Its
// Active flag is the form's activation, not the hover.
#include "skin/forms/ActiveSkinObject.h"

namespace skin {

class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData);

    void Draw(gui::TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, gui::TMouseButton Button) override;
    void MouseUp(int X, int Y, gui::TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // Frames to play on activation: skin effects on and a strip with at least one frame.
    bool EnableAnimation() const;
    // The text area for the current size, relative to the object's top-left.
    TRect TextArea() const;
    void TestActiveQuickButton(int X, int Y);

    int ActiveQuickButton = -1, OldActiveQuickButton = -1;
    std::string FontName;
    TFontStyles FontStyle = 0;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, ShadowColor = 0, ActiveShadowColor = 0;
    bool Shadow = false;
    TColor LightColor = 0, ActiveLightColor = 0;
    bool Light = false;
    TAlignment Alignment = TAlignment::taLeftJustify;
    TRect TextRct, FrameRect, ActiveFrameRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;
    bool StretchEffect = false;
    bool FullFrame = false;
    int FIncTime = 25;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 0;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;
    bool VistaGlowEffect = false, VistaGlowInActiveEffect = false;
    bool GlowEffect = false, GlowInActiveEffect = false;
    int GlowSize = 0;
    TColor GlowColor = 0, GlowActiveColor = 0;
    int GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0, ReflectionActiveColor = 0;
    int ReflectionOffset = 0;

private:
    bool HasQuickButtons() const;
    void SetCaptionFont(gui::TCanvas* c, TColor colour) const;
    // The caption's background of one state, the object's size.
    void BuildImage(gui::TBitmap& target, const TbsPicture* picture, const TRect& source) const;
    void DrawCaptionText(gui::TCanvas* c, int dx, int dy, bool active);
    void DrawQuickButtons(gui::TCanvas* c);
    void ApplyInActiveEffect(gui::TBitmap& b) const;
};

} // namespace skin

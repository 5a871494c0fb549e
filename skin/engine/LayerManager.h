#pragma once
// A picture with a soft grey mask shown as its own per-pixel-alpha window at a screen point
// and faded in (the glow frames of buttons and caption buttons).
#include "gui/Controls.h"
#include "gui/Timer.h"

#include <memory>

namespace skin {

class TbsBitmap;

// The layered window: a popup that never takes the activation and lets clicks through.
class TbsLayerWindow : public gui::TCustomControl {
public:
    using gui::TCustomControl::TCustomControl;
    std::string ClassName() const override { return "TbsLayerWindow"; }

protected:
    void CreateParams(gui::TCreateParams& params) override;
    void Dispatch(gui::TMessage& message) override;
};

class TbsLayerManager : public gui::TComponent {
public:
    explicit TbsLayerManager(gui::TComponent* owner);
    ~TbsLayerManager() override;
    std::string ClassName() const override { return "TbsLayerManager"; }

    // AImage at screen point X, Y, its alpha from AImageMask (white opaque), fading in to
    // AAlphaBlendValue in steps of a tenth every 25 ms.
    void Show(int X, int Y, gui::TBitmap* AImage, gui::TBitmap* AImageMask, int AAlphaBlendValue);
    void Hide();
    void StartTimer();
    void StopTimer();

    std::unique_ptr<TbsLayerWindow> LayerWindow;
    std::unique_ptr<TbsBitmap> Bmp;
    std::unique_ptr<gui::TTimer> Timer;
    int EndAlphaBlendValue = 0;
    int BeginAlphaBlendValue = 0;
    int StepAlphaBlendValue = 0;
    bool IsVisible = false;
    bool TopMostMode = true;

private:
    void FadeStep();
};

// Shows Bitmap (straight alpha, premultiplied here on the way to the window) in Control's
// layered window at the control's position and size, with a constant alpha on top.
void UpdateLayeredWindowFromBitmap(TbsBitmap& Bitmap, int Alpha, gui::TWinControl* Control);
// Target := a 32-bit copy of Image with each pixel's alpha from the grey Mask; where the mask
// has no pixel (smaller, or none) the picture is opaque.
void MakeAlphaImage(gui::TBitmap* Image, gui::TBitmap* Mask, TbsBitmap& Target);

} // namespace skin

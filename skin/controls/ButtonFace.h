#pragma once
// TbsButtonFace: what the windowed and the windowless skinned buttons share — the glyph and its
// layout, the looks and fonts read from a button skin entry, the morph between the normal and
// hot looks, the press and release of the left button with sticky groups, and the contents'
// place in a look.  Each button keeps its own base (a window, or a drawing on its parent).
#include "gui/Graphics.h"
#include "gui/WinControl.h"
#include "skin/controls/FrameAnimation.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/engine/DrawUtils.h"

#include <functional>
#include <memory>
#include <string>

namespace skin {

class TbsDataSkinButtonControl;

// "&X" in a caption: whether a dialog character is its accelerator (ASCII, any case).
bool IsCaptionAccelerator(const std::string& Caption, uintptr_t Key);

class TbsButtonFace {
public:
    virtual ~TbsButtonFace();

    virtual void ButtonClick() = 0;
    bool Down() const { return FDown; }
    virtual void SetDown(bool Value) = 0;
    bool AllowAllUp = false;
    bool RepeatMode = false;
    int RepeatInterval = 100;
    bool UseSkinSize = true;
    bool UseSkinFontColor = true;

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

    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorphKf; }
    const TbsFrameAnimation& Animation() const { return FAnimation; }

protected:
    TbsButtonFace();
    // The button shows its new state.
    virtual void FaceChanged() = 0;
    virtual void CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) = 0;
    virtual int ButtonGroup() const = 0;
    virtual void StartRepeat() = 0;
    virtual void StopRepeat() = 0;
    virtual bool MorphOn() const = 0;
    virtual void StopMorph() = 0;
    virtual void StartMorph() = 0;
    // Enabled or disabled: no hover, no morph.
    void EnabledChanged();
    // Down or up: a morphing skin jumps to the pressed look or morphs back from it.
    void ShowDown(bool Value);
    // The button (Self, of the kind Button) went down in a sticky group: the others of that
    // kind and group on the same parent go up.
    template <class Button> void ReleaseGroup(Button* Self, gui::TWinControl* Parent) {
        const int group = ButtonGroup();
        if (group == 0 || !FDown || AllowAllUp || !Parent) return;
        for (int i = 0; i < Parent->ControlCount(); ++i) {
            auto* b = dynamic_cast<Button*>(Parent->Controls(i));
            if (!b || b == Self) continue;
            const TbsButtonFace* face = b;
            if (face->ButtonGroup() == group && face->FDown) b->SetDown(false);
        }
    }
    // Sizes without the skin's size (UseSkinSize off, and a look that does not stretch both
    // ways): the client rectangle follows the new size.  False where the skin's rule applies.
    bool FollowFreeSize(TbsNinePartGeometry& G, int Width, int Height) const;

    // The default look, where no skin draws the button: a navy frame around a pressed or a hot
    // fill.
    static constexpr gui::TColor kFocusFrame = static_cast<gui::TColor>(RGB(0, 0, 128));
    static constexpr gui::TColor kDownFill = static_cast<gui::TColor>(RGB(133, 147, 181));
    static constexpr gui::TColor kHotFill = static_cast<gui::TColor>(RGB(182, 189, 210));
    static void FillFramed(gui::TCanvas* C, const gui::TRect& R, gui::TColor Frame, gui::TColor Fill);

    // The looks of a button entry; null for a nine-part entry of another class, which shows
    // Skin in every state in the default font colour, without effects.
    void ReadLooks(const TbsDataSkinButtonControl* d, const TRect& Skin, gui::TColor DefaultColour);
    gui::TColor StateFontColor(bool Enabled, gui::TColor DefaultColour, bool ADown, bool AMouseIn) const;
    // The glyph's frame: 1 normal, 2 disabled, 3 pressed, 4 hot, as far as it has frames.
    int GlyphFrame(bool ADown, bool AMouseIn, bool Enabled) const;
    // One step of the morph toward the hot look (Hot) or away; false once it has arrived.
    bool MorphStep(bool Hot);
    // The in-between look of the morph at its size onto C.
    void PaintMorph(gui::TCanvas* C, int W, int H, const TRect& Normal, const TRect& Active);
    // Look R of the skin into B by the size rule (Build lays out UseSkinSize's way); where the
    // contents go.
    gui::TRect BuildLook(gui::TBitmap* B, const TRect& R, const TbsNinePartGeometry& G,
                         const std::function<void()>& Build) const;
    // A left press and its release (Inside: over the button) with the group and repeat rules.
    void PressLeft();
    void ReleaseLeft(bool Inside);

    std::unique_ptr<gui::TBitmap> FGlyph;
    int FNumGlyphs = 1, FMargin = -1, FSpacing = 1;
    TbsButtonLayout FLayout = TbsButtonLayout::blGlyphLeft;
    bool FDown = false, FMouseIn = false, FMouseDown = false, FAllowAllUpCheck = false;
    double FMorphKf = 0;
    TbsFrameAnimation FAnimation;
    bool RepeatFirst = false;

    // From the skin entry.
    std::string FontName;
    int FontHeight = 0;
    gui::TFontStyles FontStyle = 0;
    gui::TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 25;
    bool Morphing = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;
};

} // namespace skin

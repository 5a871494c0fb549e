#pragma once
// TbsSkinMenuSpeedButton: a speed button with a drop-down band (15 pixels at its right, or at
// its bottom in the new style) that opens a menu under the button.  In track-button mode only
// the band opens the menu; otherwise a press anywhere does.
#include "skin/controls/SkinSpeedButton.h"
#include "skin/menus/TrackMenu.h"

namespace skin {

enum class TbsTrackPosition { bstpRight, bstpBottom };

class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
public:
    explicit TbsSkinMenuSpeedButton(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsSkinMenuSpeedButton"; }

    TbsTrackMenu* SkinPopupMenu = nullptr;
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool Value);
    bool NewStyle() const { return FNewStyle; }
    void SetNewStyle(bool Value);
    TbsTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TbsTrackPosition Value);
    bool MenuTracked() const { return FMenuTracked; }
    bool DrawStandardArrow = false;
    int ArrowType = 4;

    gui::TNotifyEvent OnShowTrackMenu, OnHideTrackMenu;

    // Whether a press at X, Y opens the menu.
    bool InMenuPart(int X, int Y);

protected:
    void GetSkinData() override;
    void Paint() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    static constexpr int kBand = 15;
    bool ResizableSection() const;
    gui::TRect Band(int W, int H) const;
    void TrackMenu();
    void MenuClosed();
    void DrawMenuMarker(gui::TCanvas* C, const gui::TRect& R, bool Active, bool ADown, bool AFlat);
    void DrawBandMarker(gui::TCanvas* C, const gui::TRect& Band, bool Pressed, bool Hot, gui::TColor Colour);
    // The new style: body and band from the skin's tool-button sections; false when the skin
    // has neither.
    bool CreateNewStyleImage(gui::TBitmap* B, bool ADown, bool AMouseIn);

    bool FTrackButtonMode = false, FMenuTracked = false, FNewStyle = false;
    bool menuPress_ = false; // the press opened (or tried to open) the menu: its release is ignored
    TbsTrackPosition FTrackPosition = TbsTrackPosition::bstpRight;
    TRect TrackButtonRect;
};

} // namespace skin

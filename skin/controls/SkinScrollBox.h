#pragma once
// TbsSkinScrollBox: a container whose children may reach beyond its client area; two skinned
// scroll bars placed beside it and linked through VScrollBar and HScrollBar scroll them.  The
// skin draws a frame in the non-client area and tiles or stretches the client background;
// a skin with a whole background picture has no frame.
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"

namespace skin {

class TbsSkinScrollBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBox(gui::TComponent* AOwner);
    ~TbsSkinScrollBox() override;
    std::string ClassName() const override { return "TbsSkinScrollBox"; }

    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value) { FCanFocused = Value; }

    // Recomputes both ranges, the horizontal first.
    void UpDateScrollRange();
    // Moves the content from code; the position is held within the bar's range.
    void HScroll(int APosition);
    void VScroll(int APosition);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkinData() override;

protected:
    void GetSkinData() override;
    void Paint() override;
    void AdjustClientRect(gui::TRect& R) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void CreateParams(gui::TCreateParams& Params) override;
    void CMVisibleChanged(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    bool HasFrame();
    void PaintFrame(HDC DC);
    void FrameChanged();
    void HPass();
    void VPass();
    // Shows or hides a bar without the passes running again.
    void SetBarVisible(TbsSkinScrollBar* Bar, bool Value);
    void OnBarChange(bool Vertical);
    void LinkBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical);

    bool FClicksDisabled = false, FCanFocused = false, FInCheckScrollBars = false;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    int FVSizeOffset = 0, FHSizeOffset = 0;
    TbsSkinBorderStyle FBorderStyle = TbsSkinBorderStyle::bvFrame;
    int BGPictureIndex = -1;
};

} // namespace skin

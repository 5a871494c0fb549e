#pragma once
// TbsSkinToolBar: a skinned panel holding a row of tool buttons.  It centres its children
// vertically, hands its skin data, flat look and captions to the speed buttons inside, and
// when the buttons do not fit shows two small arrows at its ends (in its non-client area) that
// scroll the contents sideways.  TbsSkinStatusBar: a skinned panel at the bottom with an
// optional size grip that sizes the form.
#include "skin/controls/SkinPanel.h"

namespace skin {

class TbsDataSkinButtonControl;

class TbsSkinToolBar : public TbsSkinPanel {
public:
    explicit TbsSkinToolBar(gui::TComponent* AOwner);
    ~TbsSkinToolBar() override;
    std::string ClassName() const override { return "TbsSkinToolBar"; }

    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool Value) { FAdjustControls = Value; }
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value);
    bool HotScroll = false;
    int ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(int Value); // 0 or more; 0 scrolls by the client width
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(int Value); // above 0
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    gui::TCustomImageList* Images() const { return FImages; }
    void SetImages(gui::TCustomImageList* Value);
    gui::TCustomImageList* HotImages = nullptr;
    gui::TCustomImageList* DisabledImages = nullptr;
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    bool AutoShowHideCaptions = false;
    int WidthWithCaptions = 0, WidthWithoutCaptions = 0;

    void SetSkinData(TbsSkinData* Value) override;
    void SetSkinDataName(const std::string& Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The scroll state: the contents' extent, the position and the visible width.
    int SMax() const { return FSMax; }
    int SPosition() const { return FSPosition; }
    int SPage() const { return FSPage; }
    bool ArrowsVisible() const { return Buttons[0].Visible; }
    // An arrow's rectangle in window coordinates: 0 left, 1 right.
    gui::TRect ArrowRect(int i) const { return Buttons[i].R; }
    // Recomputes the scroll state from the children.
    void UpdateScrollState();

protected:
    void GetSkinData() override;
    void AdjustClientRect(gui::TRect& R) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    struct Arrow {
        gui::TRect R{};
        bool MouseIn = false, Down = false, Visible = false;
    };
    void CentreChildren();
    void SetArrowsVisible(bool Value);
    void MoveContents(int Dx);
    void ScrollStep(bool Right);
    void StartTimer(int Mode);
    void StopTimer();
    void RedrawArrows();
    void PaintArrows(HDC DC);
    void Unhot();
    int ArrowHit(int ScreenX, int ScreenY);

    bool FAdjustControls = true, FCanScroll = false;
    int TimerMode = 0;
    int FSMax = 0, FSPosition = 0, FSPage = 0, FSOldPosition = 0;
    int FHSizeOffset = 0;
    int FScrollOffset = 0, FScrollTimerInterval = 50;
    bool FTimerOn = false;
    Arrow Buttons[2];
    TbsDataSkinButtonControl* ButtonData = nullptr;
    gui::TCustomImageList* FImages = nullptr;
    bool FFlat = false, FShowCaptions = false;
};

class TbsSkinStatusBar : public TbsSkinPanel {
public:
    explicit TbsSkinStatusBar(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsSkinStatusBar"; }

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool Value);
    void SetSkinData(TbsSkinData* Value) override;
    // Where the grip is drawn, in client coordinates.
    gui::TRect GripRect();

protected:
    void GetSkinData() override;
    void AdjustClientRect(gui::TRect& R) override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    bool Gripped() const { return FSizeGrip && FShowGrip; }
    void DrawGrip(gui::TCanvas* C);

    bool FSizeGrip = false, FShowGrip = true;
    TRect GripperRect;
    bool GripperTransparent = false;
    gui::TColor GripperTransparentColor = 0;
};

// The top a skinned control asked to be at ATop takes in its parent: centred in a tool bar
// that adjusts its controls, else ATop.
int ToolBarChildTop(const gui::TControl* Control, int ATop, int AHeight);

} // namespace skin

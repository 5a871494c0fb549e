#pragma once
// TbsSkinPageControl: a page control whose platform tab control keeps selection, tab sizes,
// rows and scrolling while the control draws everything itself: the border round the pages
// from the skin's "tab" section, each tab as a skin picture (turned for tabs at the sides,
// flipped at the bottom), close buttons on the tabs, a centred or offset tab row, and a
// skinned up/down pair in place of the platform's tab scroller.  TbsSkinTabSheet is its page.
#include "gui/ImgList.h"
#include "gui/PageControl.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/core/DataSkinControls.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/SkinChangeWalk.h"

#include <functional>
#include <memory>

namespace skin {

class TbsSkinData;
class TbsSkinPageControl;

// Sender is the page to close.
using TbsCloseEvent = std::function<void(gui::TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent =
    std::function<void(int TabIndex, const gui::TRect& Rct, bool Active, bool MouseIn, gui::TCanvas* Cnvs)>;

class TbsSkinCustomTabSheet : public gui::TTabSheet {
public:
    explicit TbsSkinCustomTabSheet(gui::TComponent* AOwner);
    ~TbsSkinCustomTabSheet() override;
    std::string ClassName() const override { return "TbsSkinCustomTabSheet"; }

    gui::TBitmap* WallPaper() const { return FWallPaper.get(); }
    void SetWallPaper(gui::TBitmap* Value);

    // Where the close button was last drawn, relative to the tab's top-left.
    gui::TRect ButtonRect{};
    bool ButtonMouseIn = false, ButtonMouseDown = false;

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    void PaintBackground(HDC DC);
    TbsSkinPageControl* SkinPageControl() const;
    std::unique_ptr<gui::TBitmap> FWallPaper;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
public:
    using TbsSkinCustomTabSheet::TbsSkinCustomTabSheet;
    std::string ClassName() const override { return "TbsSkinTabSheet"; }
};

class TbsSkinPageControl : public gui::TPageControl, public TbsSkinChangeable {
public:
    explicit TbsSkinPageControl(gui::TComponent* AOwner);
    ~TbsSkinPageControl() override;
    std::string ClassName() const override { return "TbsSkinPageControl"; }
    void WndProc(gui::TMessage& Message) override;

    bool MouseWheelSupport = false;
    bool TabExtededDraw() const { return FTabExtededDraw; }
    void SetTabExtededDraw(bool Value);
    int TabsOffset() const { return FTabsOffset; }
    void SetTabsOffset(int Value);
    int TabMargin() const { return FTabMargin; }
    void SetTabMargin(int Value); // below -1 is refused
    int TabSpacing() const { return FTabSpacing; }
    void SetTabSpacing(int Value);
    TbsButtonLayout TabLayout() const { return FTabLayout; }
    void SetTabLayout(TbsButtonLayout Value);
    bool TextInHorizontal() const { return FTextInHorizontal; }
    void SetTextInHorizontal(bool Value);
    bool TabsInCenter() const { return FTabsInCenter; }
    void SetTabsInCenter(bool Value); // only with a fixed TabWidth
    bool FreeOnClose = false;
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    gui::TCustomImageList* Images() const { return FImages; }
    void SetImages(gui::TCustomImageList* Value);
    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool Value);
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont = true;
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }

    TbsCloseEvent OnClose;
    gui::TNotifyEvent OnAfterClose;
    TbsDrawSkinTabEvent OnDrawSkinTab;

    void HideTabs();
    void ShowTabs();
    void HideBorderAndTabs();
    void ShowBorderAndTabs();
    void UpDateTabs();
    // The tab at a position among the visible tabs, as the control draws it.
    gui::TRect GetTabRect(int Index);
    // The skinned scroller while tabs overflow the row, else null.
    TbsSkinUpDown* SkinUpDown() const { return FSkinUpDown; }
    int FIndex = -1;

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

protected:
    friend class TbsSkinCustomTabSheet;
    void Loaded() override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void PaintWindow(HDC DC) override;
    void Change() override;
    void CreateWnd() override;
    int GetImageIndex(int tabIndex) override;
    void Dispatch(gui::TMessage& Message) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) override;

    void GetSkinData();
    // The sheets' background in the skin or the plain look.
    void PaintSheetBackground(gui::TCanvas* C, int W, int H);

private:
    void SetTabSize();
    int UsedTabHeight() const;
    void SetReserved(int Delta);
    void UpdateReserved();
    void CorrectPageArea(RECT& R);
    void CorrectTabRect(RECT& R);
    int RowOffset();
    bool RowShifted() const { return FTabsOffset > 0 || FTabsInCenter; }
    gui::TTabSheet* PageOfTab(int TabIndex) const;
    int VisibleTabCount() const;
    gui::TRect PageFrame(); // the page area moved out by the skin's border widths
    gui::TRect ActiveTabRect();
    void DrawTabs(gui::TCanvas* C);
    void DrawTab(gui::TCanvas* C, int TabIndex, const gui::TRect& R, bool Hot, bool Selected);
    void DrawCloseButton(gui::TCanvas* C, gui::TRect A, gui::TTabSheet* Page, int Wi, int Hi);
    void DrawTabImageAndText(gui::TCanvas* C, int W, int H, const std::string& Caption, int ImageIndex,
                             bool Enabled, int Shift);
    void SetTabFont(gui::TCanvas* C);
    void RedrawTabs();
    void TestActive(int X, int Y, bool Press);
    void CloseButtonLogic(int X, int Y, bool Press);
    void ClosePage(gui::TTabSheet* Page);
    void CheckScroller();
    void PlaceUpDown();
    void RemoveUpDown();
    void UpDownChange();
    int CountTabsOff(bool OnlyLeft);

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "tab";
    bool FTabExtededDraw = false, FTextInHorizontal = false, FTabsInCenter = false;
    bool FShowCloseButtons = false, FTabsBGTransparent = false;
    int FTabsOffset = 0, FTabMargin = -1, FTabSpacing = 1;
    TbsButtonLayout FTabLayout = TbsButtonLayout::blGlyphLeft;
    gui::TCustomImageList* FImages = nullptr;
    std::unique_ptr<gui::TFont> FDefaultFont;
    int FDefaultItemHeight = 20;

    bool FHideTabs = false, FHideBorder = false;
    gui::TTabPosition FOLdTabPosition = gui::tpTop;
    bool FOldMultiLine = false;
    int FOldTabHeight = -1;
    int FCloseSize = 14;
    int FActiveTabIndex = -1, FActiveTab = -1, FOldActiveTabIndex = -1, FOldActiveTab = -1;
    int FReserved = 0; // width the tabs are widened by: images and close buttons
    std::unique_ptr<gui::TImageList> FTempImages;
    TbsSkinUpDown* FSkinUpDown = nullptr;
    gui::TTabSheet* FPressedPage = nullptr; // whose close button the left button went down on
    bool FInCheckScroller = false;

    // The skin section, with its empty rectangles filled in.
    TbsDataSkinTabControl FSkin{"tab"};
    gui::TBitmap* Picture = nullptr;
    int BGPictureIndex = -1;
};

} // namespace skin

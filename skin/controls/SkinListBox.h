#pragma once
// TbsSkinCustomListBox: a skinned frame around an inner owner-drawn list (TbsListBox) with a
// skinned vertical bar of its own that appears only while the rows overflow the page, and an
// optional caption line with up, down and check buttons that repeat while held.  The inner
// list forwards its mouse, key and click events to the frame's virtual operations.
#include "gui/CustomListBox.h"
#include "gui/StringList.h"
#include "skin/controls/CBButtonX.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinScrollBar.h"

#include <functional>
#include <memory>

namespace skin {

class TbsSkinCustomListBox;

using TbsDrawSkinItemEvent = std::function<void(gui::TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight,
                                                gui::TRect TxtRect, gui::TOwnerDrawState State)>;

class TbsListBox : public gui::TCustomListBox {
public:
    explicit TbsListBox(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsListBox"; }
    TbsSkinCustomListBox* SkinListBox = nullptr;
    // How far the rows are scrolled sideways, in pixels.
    int HorizontalExtentValue = 0;
    void WndProc(gui::TMessage& Message) override;
    void Click() override;

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void DrawItem(int Index, const gui::TRect& Rect, gui::TOwnerDrawState State) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
};

class TbsSkinCustomListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomListBox(gui::TComponent* AOwner);
    ~TbsSkinCustomListBox() override;
    std::string ClassName() const override { return "TbsSkinCustomListBox"; }

    TbsListBox* ListBox() const { return FListBox.get(); }
    // The vertical bar while the rows overflow, else null.
    TbsSkinScrollBar* ScrollBar() const { return FScrollBar.get(); }
    // The sideways bar while HorizontalExtent is on and the widest row does not fit, else null.
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar.get(); }
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool Value);
    gui::TCustomImageList* Images() const { return FImages; }
    void SetImages(gui::TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    // 0 or more: that image on every row; below 0: the row's own index.
    void SetImageIndex(int Value);
    gui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(gui::TAlignment Value);
    gui::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const gui::TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    gui::TStrings* Items() const { return FListBox->Items(); }
    void SetItems(const gui::TStrings* Value);
    int ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(int Value);
    int TopIndex() const { return FListBox->TopIndex(); }
    void SetTopIndex(int Value);
    int Columns() const { return FListBox->Columns(); }
    // Several columns scroll sideways, the bar along the bottom.
    void SetColumns(int Value);
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool Value);
    int ItemAtPos(gui::TPoint Pos, bool Existing) { return FListBox->ItemAtPos(Pos, Existing); }
    gui::TRect ItemRect(int Item) { return FListBox->ItemRect(Item); }
    void Clear();

    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    bool UseSkinItemHeight = true;
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int Value);
    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool Value);
    gui::TStrings* TabWidths() const { return FTabWidths.get(); }
    void SetTabWidths(const gui::TStrings* Value);
    // The tab positions the rows are written with: the first ten entries, each a whole
    // number when every character is a digit, else 0.
    std::vector<int> TabStops() const;

    // The frame height that shows exactly AItemsCount rows.
    int CalcHeight(int AItemsCount);
    void UpDateScrollBar();
    // The row height the inner list uses: never below 1.
    int ItemHeight() const { return FListBox->ItemHeight(); }

    const TbsCBButtonX& Button(int i) const { return Buttons[i]; }

    gui::TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
    gui::TNotifyEvent OnListBoxClick, OnListBoxDblClick;
    gui::TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
    gui::TMouseMoveEvent OnListBoxMouseMove;
    gui::TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
    gui::TKeyPressEvent OnListBoxKeyPress;
    TbsDrawSkinItemEvent OnDrawItem;

    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The width of a row's text, for the sideways range.
    virtual int ItemTextWidth(int Index, gui::TCanvas* Canvas);
    // What the inner list forwards.
    virtual void ListBoxMouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseMove(gui::TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(WORD& Key, gui::TShiftState Shift);
    virtual void ListBoxKeyUp(WORD& Key, gui::TShiftState Shift);
    virtual void ListBoxKeyPress(char32_t& Key);
    // Called first for every message of the inner list; Continue false drops it.
    virtual void ListBoxWndProc(gui::TMessage& Message, bool& Continue);
    void DrawRow(gui::TCanvas* C, int Index, const gui::TRect& R, gui::TOwnerDrawState State);
    void PaintListBackground(gui::TCanvas* C, const gui::TRect& R);

protected:
    void GetSkinData() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void DefaultFontChanged() override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void CalcRects();
    void UpdateHScrollBar();
    void RemoveHScrollBar();
    void SetUpHScrollBar();
    void DrawCaption(gui::TCanvas* C, gui::TRect R, int TextY, int GlyphY);
    void ApplyItemHeight(int Height);
    void DrawButton(gui::TCanvas* C, int i);
    void TestActive(int X, int Y);
    void ButtonStep(int i);
    void StopTimer();

    std::unique_ptr<TbsListBox> FListBox;
    std::unique_ptr<TbsSkinScrollBar> FScrollBar, FHScrollBar;
    std::unique_ptr<gui::TStringList> FTabWidths;
    std::unique_ptr<gui::TBitmap> FGlyph;
    gui::TCustomImageList* FImages = nullptr;
    int FImageIndex = -1, FNumGlyphs = 1, FSpacing = 2;
    gui::TAlignment FAlignment = gui::taLeftJustify;
    bool FHorizontalExtent = false, FStopUpDateHScrollBar = false;
    int FRowCount = 0;
    int FDefaultItemHeight = 20, FDefaultCaptionHeight = 20;
    bool FCaptionMode = false, FShowCaptionButtons = true;
    gui::TRect ListRect{};
    TbsCBButtonX Buttons[3];
    int ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false, FTimerOn = false;
    bool FUpdating = false;

    // From the skin entry.
    std::string FontName;
    int FontHeight = 0;
    uint8_t FontStyle = 0;
    gui::TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect SItemRect, ActiveItemRect, FocusItemRect, ItemTextRect, CaptionRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    std::string VScrollBarName, HScrollBarName, BothScrollBarName;
    std::string CaptionFontName;
    int CaptionFontHeight = 0;
    uint8_t CaptionFontStyle = 0;
    gui::TColor CaptionFontColor = 0;
    bool ShowFocus = false;
};

class TbsSkinListBox : public TbsSkinCustomListBox {
public:
    using TbsSkinCustomListBox::TbsSkinCustomListBox;
    std::string ClassName() const override { return "TbsSkinListBox"; }
};

} // namespace skin

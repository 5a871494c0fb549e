#pragma once
// The office list: two-line items (a bold title over a wrapped caption, an optional image),
// grouped by header rows that are never selected, scrolled by a skinned bar of its own that
// exists only while the items outgrow the list.
#include "gui/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinScrollBar.h"

#include <functional>
#include <memory>
#include <vector>

namespace skin {

class TbsSkinOfficeListBox;

class TbsSkinOfficeItem {
public:
    explicit TbsSkinOfficeItem(TbsSkinOfficeListBox* AOwner) : FOwner(AOwner) {}
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Header() const { return FHeader; }
    void SetHeader(bool Value);
    void* Data = nullptr;
    gui::TNotifyEvent OnClick;
    // Laid out by the list box.
    gui::TRect ItemRect{};
    bool IsVisible = false;
    bool Active = false;
    void Assign(const TbsSkinOfficeItem& Source);

private:
    void Changed();
    TbsSkinOfficeListBox* FOwner;
    std::string FTitle, FCaption;
    int FImageIndex = -1;
    bool FEnabled = true, FHeader = false;
};

class TbsSkinOfficeItems {
public:
    explicit TbsSkinOfficeItems(TbsSkinOfficeListBox* AOwner) : OfficeListBox(AOwner) {}
    TbsSkinOfficeItem* Add();
    TbsSkinOfficeItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TbsSkinOfficeItem* operator[](int Index) const { return FItems[static_cast<size_t>(Index)].get(); }
    void Assign(const TbsSkinOfficeItems& Source);
    TbsSkinOfficeListBox* const OfficeListBox;

private:
    std::vector<std::unique_ptr<TbsSkinOfficeItem>> FItems;
};

using TbsDrawSkinOfficeItemEvent = std::function<void(gui::TCanvas* Cnvs, int Index, gui::TRect TextRct)>;

class TbsSkinOfficeListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinOfficeListBox(gui::TComponent* AOwner);
    ~TbsSkinOfficeListBox() override;
    std::string ClassName() const override { return "TbsSkinOfficeListBox"; }

    TbsSkinOfficeItems* Items() const { return FItems.get(); }
    int ItemIndex() const { return FItemIndex; }
    // With events; -1 clears the selection, an index beyond the items is ignored.
    void SetItemIndex(int Value);
    gui::TCustomImageList* Images = nullptr;
    bool ShowItemTitles() const { return FShowItemTitles; }
    void SetShowItemTitles(bool Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    bool MouseMoveChangeIndex = false;

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    gui::TNotifyEvent OnItemClick;

    int ItemAtPos(int X, int Y);
    int CalcHeight(int Count);
    void CalcItemRects();
    void Scroll(int Offset);
    void ScrollToItem(int Index);
    void GetScrollInfo(int& Min, int& Max, int& Pos, int& Page);
    void UpdateScrollInfo();
    void FindUp();
    void FindDown();
    void FindPageUp();
    void FindPageDown();
    TbsSkinScrollBar* ScrollBar() const { return FScrollBar.get(); }
    gui::TRect ItemsRect() const { return FItemsRect; }
    int ScrollOffset() const { return FScrollOffset; }

    void ItemsChanged();
    void ChangeSkinData() override;

protected:
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, gui::TShiftState Shift) override;
    bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) override;
    void Dispatch(gui::TMessage& Message) override;
    void SelectQuietly(int Index);

private:
    bool Selectable(int Index) const;
    gui::TRect AreaRect();
    void AdjustScrollBar();
    void DrawItems(gui::TCanvas* C, bool Skinned);
    void DrawItem(int Index, gui::TCanvas* C, bool Skinned);
    void DrawContent(gui::TCanvas* C, const TbsSkinOfficeItem& Item, gui::TRect R);
    bool DrawSkinHeader(gui::TCanvas* C, const TbsSkinOfficeItem& Item, int W, int H);
    gui::TColor DisabledFontColor() const;

    std::unique_ptr<TbsSkinOfficeItems> FItems;
    std::unique_ptr<TbsSkinScrollBar> FScrollBar;
    int FItemIndex = -1;
    gui::TRect FItemsRect{};
    int FScrollOffset = 0, FMax = 0, FRealMax = 0, FOldHeight = -1;
    bool FMouseDown = false;
    int FMouseActive = -1;
    bool FShowItemTitles = true, FShowLines = false;
    int FItemHeight = 30, FHeaderHeight = 20;
};

} // namespace skin

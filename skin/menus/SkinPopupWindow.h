#pragma once
// TbsSkinPopupWindow: one open level of a skinned popup menu.  A borderless top-level window
// that never takes the focus: it holds a row per visible item, sizes itself to them, places
// itself beside or below a rectangle inside the work area, fades in when asked, and paints
// from the skin's popup-window picture or in a plain look.  The pointer is polled every 50 ms
// (the window never captures it); keys come from the form through PopupKeyDown.  Long menus
// scroll by markers at the top and bottom.
#include "gui/Bitmap.h"
#include "gui/CustomControl.h"
#include "gui/Menus.h"
#include "gui/Timer.h"
#include "skin/core/SkinData.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TbsSkinMenu;
class TbsSkinMenuItem;

class TbsSkinPopupWindow : public gui::TCustomControl {
public:
    // AData: the skin's popup-window descriptor, or null for the plain look.
    TbsSkinPopupWindow(gui::TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData);
    ~TbsSkinPopupWindow() override;
    std::string ClassName() const override { return "TbsSkinPopupWindow"; }

    void Show(const TRect& R, gui::TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp);
    void Show2(const TRect& R, gui::TMenuItem* AItem, gui::TMenuItem* AItem2, int StartIndex,
               bool PopupByItem, bool PopupUp);
    void Hide();
    void PaintMenu(HDC DC);
    void PopupKeyDown(int CharCode);
    void LayoutRows();
    void ScrollUp(bool Wrap);
    void ScrollDown(bool Wrap);
    void CloseChildLevels();
    // Follows the pointer at a client point, as the polling does.
    void TrackPointer(TPoint P);
    // Redraws one row on the window.
    void DrawRow(TbsSkinMenuItem* Item);

    bool Skinned() const { return PW != nullptr; }
    int ItemCount() const { return static_cast<int>(ItemList.size()); }
    TbsSkinMenuItem* Items(int Index) const { return ItemList[static_cast<size_t>(Index)].get(); }
    bool ShownVisible() const { return shown_; }

    TbsDataSkinMenuItem* DSMI = nullptr;
    int VisibleCount = 0, VisibleStartIndex = 0;
    bool Scroll = false, Scroll2 = false;
    int ScrollCode = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    int ShowX = 0, ShowY = 0;
    int OMX = -1, OMY = -1;
    gui::TCustomImageList* ImgL = nullptr;
    int GlyphWidth = 19;
    gui::TBitmap* WindowPicture = nullptr;
    gui::TBitmap* MaskPicture = nullptr;
    int OldActiveItem = -1, ActiveItem = -1;
    gui::TTimer MouseTimer, MorphTimer;
    TbsSkinMenu* ParentMenu;
    TbsSkinData* SD = nullptr;
    TbsDataSkinPopupWindow* PW = nullptr;
    std::unique_ptr<gui::TBitmap> FPaintBuffer;
    std::string HintText; // the hint of the highlighted row

    TRect UpMarkerRect() const;
    TRect DownMarkerRect() const;
    bool CanScrollUp() const { return VisibleStartIndex > 0; }
    bool CanScrollDown() const { return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1; }

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Paint() override {}
    void Dispatch(gui::TMessage& Message) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;

private:
    void BuildRows(gui::TMenuItem* AItem, gui::TMenuItem* AItem2, int StartIndex);
    void SizeAndPlace(const TRect& R, bool PopupByItem, bool PopupUp, bool Two);
    void FinishShow();
    void CreateWindowImage(gui::TBitmap& B, bool DrawClient);
    void DrawScrollMarkers(gui::TCanvas* C);
    void DrawMarkerBackground(gui::TCanvas* C, const TRect& R);
    void RedrawMarkers();
    void StartScroll();
    void StopScroll();
    void MouseTimerTick();
    void MorphTimerTick();
    void MouseButtonUp(gui::TMouseButton Button, int X, int Y);
    void NextRow();
    void PrevRow();
    int LastPageStart() const;
    bool IsLastVisible(int Index) const { return VisibleStartIndex + VisibleCount == Index + 1; }
    void SetWindowFont();

    std::vector<std::unique_ptr<TbsSkinMenuItem>> ItemList;
    HRGN FRgn = nullptr;
    bool shown_ = false;
};

} // namespace skin

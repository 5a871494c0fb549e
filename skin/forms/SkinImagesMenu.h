#pragma once
// TbsSkinImagesMenu: a drop-down picker showing the images of an image list as a grid of
// cells, broken by full-width button and header rows, in a borderless popup window skinned
// like the popup menus.  The chosen index stays with the menu; the item's click handler and
// the menu's events run when a cell is chosen by the mouse or the keys.
#include "gui/Application.h"
#include "gui/Collection.h"
#include "gui/CustomControl.h"
#include "gui/Font.h"
#include "gui/ImgList.h"
#include "skin/core/SkinData.h"
#include "skin/menus/TrackMenu.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinHint;
class TbsSkinImagesMenu;

class TbsImagesMenuItem : public gui::TCollectionItem {
public:
    explicit TbsImagesMenuItem(gui::TCollection* Collection);
    std::string ClassName() const override { return "TbsImagesMenuItem"; }
    // Copies image, caption, button flag and hint; the header flag and handler stay.
    void Assign(const gui::TPersistent* Source) override;

    bool Button = false;
    bool Header = false; // a title row: never hot, never chosen, skipped by the keys
    std::string Caption;
    std::string Hint;
    int ImageIndex = -1;
    gui::TNotifyEvent OnClick;
    TRect ItemRect; // in the popup window, set by its layout
};

class TbsImagesMenuItems : public gui::TCollection {
public:
    explicit TbsImagesMenuItems(TbsSkinImagesMenu* AImagesMenu);
    std::string ClassName() const override { return "TbsImagesMenuItems"; }
    TbsImagesMenuItem* Items(int Index) const {
        return static_cast<TbsImagesMenuItem*>(TCollection::Items(Index));
    }
    TbsImagesMenuItem* Add() { return static_cast<TbsImagesMenuItem*>(TCollection::Add()); }
};

class TbsSkinImagesMenuPopupWindow : public gui::TCustomControl {
public:
    explicit TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AImagesMenu);
    ~TbsSkinImagesMenuPopupWindow() override;
    std::string ClassName() const override { return "TbsSkinImagesMenuPopupWindow"; }

    void Show(const TRect& PopupRect);
    // Closes the menu; AProcessEvents runs the choice of ItemIndex.
    void Hide(bool AProcessEvents);
    void ProcessKey(int KeyCode);
    // The first non-header item containing the client point, else -1.
    int GetItemFromPoint(TPoint P) const;
    int HotItem() const { return MouseInItem; }

    TbsSkinImagesMenu* ImagesMenu;
    bool FSkinSupport = false;
    gui::TBitmap* WindowPicture = nullptr;
    gui::TBitmap* MaskPicture = nullptr;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    int MouseInItem = -1, OldMouseInItem = -1;
    bool FDown = false, FItemDown = false;

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void WndProc(gui::TMessage& Message) override;
    void Paint() override;
    void Dispatch(gui::TMessage& Message) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;

private:
    void LayoutAndSize();
    void SetHot(int Index);
    void HideHint();
    void AppMessage(MSG& Msg, bool& Handled);
    void DrawFrame(gui::TCanvas* C, const TRect& R, bool Pressed);
    void DrawCaption(gui::TCanvas* C, const TRect& R, const std::string& Text, int State);
    void DrawHeader(gui::TCanvas* C, TbsImagesMenuItem* Item);
    TbsDataSkinPopupWindow* SkinEntry() const;
    TbsDataSkinButtonControl* ButtonEntry() const;

    HRGN FRgn = nullptr;
    gui::TMessageEvent OldAppMessage;
    bool appHooked_ = false;
};

class TbsSkinImagesMenu : public gui::TComponent, public TbsTrackImagesMenu {
public:
    explicit TbsSkinImagesMenu(gui::TComponent* AOwner);
    ~TbsSkinImagesMenu() override;
    std::string ClassName() const override { return "TbsSkinImagesMenu"; }

    gui::TCustomImageList* Images() const { return FImages; }
    void SetImages(gui::TCustomImageList* Value);
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TbsSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TbsSkinData* Value);
    bool ShowHints = true;
    TbsImagesMenuItems* ImagesItems() { return &FImagesItems; }
    void SetImagesItems(const TbsImagesMenuItems* Value) { FImagesItems.Assign(Value); }
    int ItemIndex = -1;
    bool UseSkinFont = true;
    gui::TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont.Assign(Value); }
    int ColumnsCount() const { return FColumnsCount; }
    void SetColumnsCount(int Value); // 1 to 50; anything else is ignored
    bool ShowSelectedItem = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    uint8_t AlphaBlendValue = 200;
    gui::TNotifyEvent OnItemClick, OnChange, OnMenuPopup, OnMenuClose;

    TbsImagesMenuItem* SelectedItem() const;
    void Popup(int X, int Y);
    // Shows the grid below R; false when it has nothing to show.
    bool PopupFromRect(const TRect& R);
    void Hide();
    gui::TComponent* MenuComponent() override { return this; }
    bool TrackFromRect(const gui::TRect& R) override;
    bool SelectedImage(gui::TCustomImageList*& Images, int& ImageIndex, std::string& Caption) const override;
    TbsSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow.get(); }
    int OldItemIndex() const { return FOldItemIndex; }

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    friend class TbsSkinImagesMenuPopupWindow;
    // The window goes once it has finished the message that closed it.
    void CloseWindow(bool AProcessEvents);

    gui::TCustomImageList* FImages = nullptr;
    TbsSkinHint* FSkinHint = nullptr;
    TbsSkinData* FSkinData = nullptr;
    TbsImagesMenuItems FImagesItems;
    gui::TFont FDefaultFont;
    int FColumnsCount = 1;
    int FOldItemIndex = -1;
    std::unique_ptr<TbsSkinImagesMenuPopupWindow> FPopupWindow;
    std::shared_ptr<std::unique_ptr<TbsSkinImagesMenuPopupWindow>> closed_;
};

} // namespace skin

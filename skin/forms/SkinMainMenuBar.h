#pragma once
// TbsSkinMainMenuBar: the skinned bar that stands in for a form's native menu bar.  It shows
// the top-level items of a main menu, opens an item's menu through the skinned form's menu
// manager, follows the pointer by polling, shows a marker and an overflow menu when the items
// do not fit, merges a child's menu, shows the buttons of a maximised MDI child, and offers the
// keyboard menu mode that the skinned form drives (Alt, F10, arrows, accelerators).
#include "gui/Font.h"
#include "gui/Menu.h"
#include "gui/Timer.h"
#include "skin/controls/SkinControl.h"
#include "skin/forms/MenuBarObjects.h"

#include <functional>
#include <memory>
#include <vector>

namespace skin {

class TbsSkinForm;
using TbsBorderIcons = uint8_t;

// The MDI notices the main form passes on to its bar: a child was maximised; a child was
// restored, minimised or went.
inline constexpr UINT WM_MDICHILDMAXIMIZED = 1231;
inline constexpr UINT WM_MDICHILDRESTORED = 1232;

using TbsMenuBarItemEvent = std::function<void(gui::TMenuItem* Item)>;

class TbsSkinMainMenuBar : public TbsSkinControl {
public:
    explicit TbsSkinMainMenuBar(gui::TComponent* AOwner);
    ~TbsSkinMainMenuBar() override;
    std::string ClassName() const override { return "TbsSkinMainMenuBar"; }

    TbsMenuBarItemEvent OnItemMouseEnter, OnItemMouseLeave;
    // Keeps 5 pixels at the end for the marker of the items that do not fit.
    bool ScrollMenu() const { return FScrollMenu; }
    void SetScrollMenu(bool Value);
    gui::TFont* DefItemFont() { return &FDefItemFont; }
    void SetDefItemFont(const gui::TFont* Value);
    bool UseSkinFont = true;
    bool PopupToUp = false; // menus open above the bar
    // The skinned form whose menus the bar opens; the bar's own form's when not set.
    TbsSkinForm* SkinForm() const;
    void SetSkinForm(TbsSkinForm* Value);
    gui::TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(gui::TMainMenu* Value);
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);

    void Merge(gui::TMainMenu* Menu);
    void UnMerge();
    void UpDateItems();
    void UpDateEnabledItems();
    gui::TMainMenu* GetChildMainMenu() const;

    // The skinned form's keyboard menu mode.
    void EnterMenuMode();
    void LeaveMenuMode();
    void SelectNextItem();
    void SelectPrevItem();
    bool OpenSelectedItem();
    bool ProcessAccelerator(int Key);
    void ItemMenuClosed();
    // MDI notices: a child was maximised, or restored (or minimised, or went).
    void MDIChildMaximize();
    void MDIChildRestore();
    void EnableMDIButtons(TbsBorderIcons Icons);

    // --- what the objects ask of the bar ---
    void RedrawObject(TbsMenuBarObject* Object);
    void StartMorphTimer();
    void StartAnimateTimer(int Interval);
    void TrackBarPointer(gui::TPoint P);
    // The charset of item fonts: the skin's string table's when it has one.
    void ApplyItemCharset(gui::TFont* Font) const { ApplyCharset(Font, &FDefItemFont); }
    TRect OverflowMarkerRect() const;
    void OpenOverflowMenu();
    int BarItemCount() const { return static_cast<int>(ObjectList.size()) - ButtonsCount; }
    TbsSkinMainMenuBarItem* BarItem(int Index) const;
    // The first MDI child of the main form whose skinned form is maximised.
    static TbsSkinForm* MaximizedChild();

    bool FSkinSupport = false;
    int ButtonsCount = 0;
    bool FMDIChildMax = false;
    bool MenuActive = false;
    bool Scroll = false;
    bool MarkerActive = false;
    bool ChildMenuIn = false;
    int ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
    TRect NewItemsRect;
    // From the skin's descriptor.
    TRect SkinRect, ItemsRect;
    std::string MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
    TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
    gui::TBitmap* Picture = nullptr;
    bool StretchEffect = false, ItemTransparent = false;
    std::vector<std::unique_ptr<TbsMenuBarObject>> ObjectList;
    gui::TTimer MouseTimer, MorphTimer, AnimateTimer;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void GetSkinData() override;
    void Paint() override;
    void Dispatch(gui::TMessage& Message) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;

private:
    void CreateMenu();
    void ClearObjects();
    void CreateMDIButtons();
    void FreeMDIButtons();
    void CalcItemsRect();
    void DrawOverflowMarker(gui::TCanvas* C);
    void MouseTimerTick();
    void MorphTimerTick();
    void AnimateTimerTick();
    bool Usable(const TbsSkinMainMenuBarItem* Item) const;
    void Watch(gui::TComponent* Old, gui::TComponent* Value);

    bool FScrollMenu = true;
    gui::TFont FDefItemFont;
    TbsSkinForm* BSF = nullptr;
    gui::TMainMenu* FMainMenu = nullptr;
    gui::TMainMenu* FMergeMenu = nullptr;
    int FDefaultWidth = 0, FDefaultHeight = 22;
    bool itemsGone_ = false; // a menu item the bar shows went: build the items again
};

} // namespace skin

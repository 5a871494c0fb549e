#pragma once
// TbsSkinMDITabsBar: one tab per child of a multiple-document main form.  The main form's
// skinned form (its MDITabsBar) adds and removes the tabs and keeps the active one in step;
// a click activates a child, an optional close button on each tab closes it, tabs drag to a
// new order, a right click opens the child's system menu, and when the tabs do not fit a list
// button and a list of the hidden tabs reach every child.  The 15 pixels at the left hold the
// list button.
#include "gui/Font.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinTypes.h"

#include <memory>
#include <vector>

namespace skin {

class TbsSkinForm;
class TbsSkinMDITabsBar;
class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;
class TbsPicture;

enum class TbsSkinMDITabKind { bstkTab, bstkButton };

class TbsMDITab {
public:
    TbsMDITab(TbsSkinMDITabsBar* bar, gui::TCustomForm* child) : TabsBar(bar), Child(child) {}
    TbsSkinMDITabsBar* TabsBar;
    bool Active = false;
    bool MouseIn = false;
    TRect ObjectRect; // bar coordinates; empty while hidden
    gui::TCustomForm* Child;
    bool Visible = false;
    TRect ButtonRect; // the close button, from ObjectRect's top-left
    bool ButtonMouseIn = false, ButtonMouseDown = false;
    gui::TColor TextFontColor = gui::clBtnText;
};

using TbsMDITabEvent = std::function<void(TbsMDITab* MDITab)>;
using TbsMDITabMouseEvent =
    std::function<void(gui::TMouseButton Button, gui::TShiftState Shift, TbsMDITab* MDITab)>;
using TbsMDITabGetDrawParamsEvent = std::function<void(TbsMDITab* MDITab, gui::TCanvas* Cnvs)>;

class TbsSkinMDITabsBar : public TbsSkinControl {
public:
    explicit TbsSkinMDITabsBar(gui::TComponent* AOwner);
    ~TbsSkinMDITabsBar() override;
    std::string ClassName() const override { return "TbsSkinMDITabsBar"; }

    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    TbsSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TbsSkinMDITabKind Value);
    TbsSkinForm* SkinForm() const { return FSkinForm; }
    void SetSkinForm(TbsSkinForm* Value);
    bool SupportChildMenus = true;
    bool UseSkinSize = true;
    bool UseSkinFont = true;
    bool MoveTabs = true;
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    gui::TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(const gui::TFont* Value);
    int DefaultTabWidth = 100;
    int MinTabWidth = 0;
    TbsMDITabEvent OnTabMouseEnter, OnTabMouseLeave;
    TbsMDITabMouseEvent OnTabMouseDown, OnTabMouseUp;
    TbsMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

    void AddTab(gui::TCustomForm* Child);
    void DeleteTab(gui::TCustomForm* Child);
    void UpdateActiveTab();
    // The child's caption changed.
    void RepaintTab(gui::TCustomForm* Child);
    int GetTabIndex(int X, int Y) const;
    TbsMDITab* GetTab(int X, int Y) const;
    int GetCloseSize() const;
    int TabCount() const { return static_cast<int>(ObjectList.size()); }
    TbsMDITab* Tabs(int index) const { return ObjectList.at(static_cast<size_t>(index)).get(); }
    int InVisibleCount() const { return FInVisibleCount; }
    // Lays the tabs out for the bar's size (every paint does).
    void CalcObjectRects();
    // The list buttons' menus as they are before they show: one item per tab, or per hidden tab.
    TbsSkinPopupMenu* ListMenu() const { return FListMenu.get(); }
    TbsSkinPopupMenu* HideListMenu() const { return FHideListMenu.get(); }
    TbsSkinMenuSpeedButton* ListButton() const { return FListButton; }
    TbsSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
    void FillListMenu(bool hidden);

    void ChangeSkinData() override;

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void AdjustClientRect(gui::TRect& R) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    int TabHeight() const;
    void DrawTabs(gui::TCanvas* C);
    void DrawTab(gui::TCanvas* C, TbsMDITab* Tab);
    void DrawCloseButton(gui::TCanvas* C, TbsMDITab* Tab, TRect R);
    void DrawDropIndicator(gui::TCanvas* C);
    int DropIndex() const;
    void TestActive(int X, int Y);
    void RedrawTab(TbsMDITab* Tab);
    void ShowChild(gui::TCustomForm* Child);
    void CloseChild(gui::TCustomForm* Child);
    void ListItemClick(gui::TObject* Sender);
    void MakeListButton(TbsSkinMenuSpeedButton*& button, bool hidden);
    void DropListButton(TbsSkinMenuSpeedButton*& button);
    bool TabSkin() const { return Picture != nullptr; }

    bool FShowCloseButtons = false;
    TbsSkinMDITabKind FTabKind = TbsSkinMDITabKind::bstkTab;
    TbsSkinForm* FSkinForm = nullptr;
    int FDefaultHeight = 21;
    gui::TFont FDefaultFont;
    int FBottomOffset = 0;
    bool IsDrag = false, FDown = false;
    int DX = 0, TabDX = 0, DragIndex = -1;
    int ActiveTabIndex = -1, OldTabIndex = -1;
    TbsSkinMenuSpeedButton* FListButton = nullptr;
    TbsSkinMenuSpeedButton* FHideListButton = nullptr;
    std::unique_ptr<TbsSkinPopupMenu> FListMenu, FHideListMenu;
    int FInVisibleCount = 0;
    int FCloseSize = 14;
    std::vector<std::unique_ptr<TbsMDITab>> ObjectList;
    // From the skin's "tab" entry.
    gui::TBitmap* Picture = nullptr;
    TRect TabRect, ActiveTabRect, MouseInTabRect, TabsBGRect, SkinRect, ClRect;
    int TabLeftOffset = 0, TabRightOffset = 0;
    std::string FontName;
    TFontStyles FontStyle = 0;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
    bool TabStretchEffect = false;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    int FActiveTabOffset = 0;
};

} // namespace skin

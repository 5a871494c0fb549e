#pragma once
// The skinned form: a component that takes over its form's frame.  It replaces the form's
// window procedure, answers the non-client size, hit test and painting itself and cuts the
// window region from the skin's mask; without a loaded skin it draws a plain 3-D frame of
// its own.  Our windows carry no decoration of the window manager, so this frame is all the
// user sees, and moving and sizing go through the window system's move/size loop.
#include "gui/Bitmap.h"
#include "gui/Font.h"
#include "gui/Forms.h"
#include "gui/ImgList.h"
#include "gui/Menu.h"
#include "gui/Timer.h"
#include "skin/core/SkinData.h"
#include "skin/engine/LayerManager.h"
#include "skin/forms/ActiveSkinObject.h"
#include "skin/forms/ClientInActivePanel.h"
#include "skin/forms/FormTrayIcon.h"
#include "skin/forms/QuickButtonItems.h"
#include "skin/menus/SkinMenuHost.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TbsSkinHint;
class TbsSkinStatusBar;
class TbsSkinMDITabsBar;
class TbsMDIMenuBarLink;

class TbsSkinMenu;
class TbsSkinPopupMenu;
class TbsSkinMainMenuBar;
class TbsFormLayerBorder;
struct TbsSkinFormMenus;

enum TbsBorderIconFlag : uint8_t {
    biSystemMenu = 1,
    biMinimize = 2,
    biMaximize = 4,
    biRollUp = 8,
    biMinimizeToTray = 16
};
using TbsBorderIcons = uint8_t;

// Messages the form answers for senders outside the program.
enum : UINT {
    WM_BSQUERYSKINNABLE = 45490,
    WM_BSSMARTEFFECTSBEGIN = 45491, // the layered border is left off from now on
    WM_BSSMARTEFFECTSEND = 45492,   // ... until this shows it again, faded in
    WM_BSPAINTFRAMETODC = 45513,
    WM_BSPAINTFRAMETODC2 = 48203
};
// The main form was shown again from the notification area.
inline constexpr UINT WM_TRAYRESTORED = 1426;
// The main form's Tag while the notification-area icon brings it back.
inline constexpr intptr_t kTrayRestoreTag = -10000;

enum class TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };

using TbsObjectEvent = std::function<void(const std::string& IDName)>;
using TbsObjectMouseEvent =
    std::function<void(const std::string& IDName, int X, int Y, TRect ObjectRect, gui::TMouseButton Button)>;
using TbsObjectMoveEvent = std::function<void(const std::string& IDName, int X, int Y, TRect ObjectRect)>;
using TbsObjectPaintEvent =
    std::function<void(const std::string& IDName, gui::TCanvas* Canvas, TRect ObjectRect)>;

class TbsSkinForm : public os::TComponent, public TbsSkinMenuHost {
public:
    // The owner must be a form: std::bad_cast otherwise, and nothing is hooked.
    explicit TbsSkinForm(os::TComponent* owner);
    ~TbsSkinForm() override;
    std::string ClassName() const override { return "TbsSkinForm"; }
    std::string GetProductVersion() const { return "7.81"; }

    gui::TCustomForm* Form() const { return form_; }
    TbsSkinData* SkinData() const { return fsd_; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* MenusSkinData() const { return fmsd_; }
    void SetMenusSkinData(TbsSkinData* value);
    bool SkinnableForm() const { return skinnableForm_; }
    bool GetSkinnableForm() const { return skinnableForm_; }
    void SetSkinnableForm(bool value);
    bool SkinSupport() const { return skinSupport_; }
    TbsBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TbsBorderIcons value);
    bool HideCaptionButtons() const { return hideCaptionButtons_; }
    void SetHideCaptionButtons(bool value);
    bool ShowIcon() const { return showIcon_; }
    void SetShowIcon(bool value);
    bool UseDefaultObjectHint = true;
    // Caption objects show their hints through this hint component.
    bool ShowObjectHint = false;
    TbsSkinHint* SkinHint() const { return skinHint_; }
    void SetSkinHint(TbsSkinHint* value);
    // Its size grip hides while the form is maximised.
    TbsSkinStatusBar* StatusBar() const { return statusBar_; }
    void SetStatusBar(TbsSkinStatusBar* value);
    TbsQuickButtonItems* QuickButtons() { return quickButtons_.get(); }
    void SetQuickButtons(const TbsQuickButtonItems* value); // copies the collection
    gui::TCustomImageList* QuickImageList() const { return quickImageList_; }
    void SetQuickImageList(gui::TCustomImageList* value);
    bool QuickButtonsShowHint = false;
    gui::TFont* DefCaptionFont() { return &defCaptionFont_; }
    gui::TFont* DefInActiveCaptionFont() { return &defInActiveCaptionFont_; }
    // Copy the font; the default look shows it at once.
    void SetDefCaptionFont(const gui::TFont* value);
    void SetDefInActiveCaptionFont(const gui::TFont* value);
    // A picture in the middle of the client background; assigning copies it.
    gui::TBitmap* LogoBitMap() { return &logo_; }
    void SetLogoBitMap(const gui::TBitmap* value);
    bool LogoBitMapTransparent = false;

    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    bool AlwaysResize = false;
    bool Magnetic = false;
    uint8_t MagneticSize = 5;
    bool MaximizeOnFullScreen = false;
    bool UseFormCursorInNCArea = false;
    // The platform's frame for good: set, the form is never skinnable again.
    bool UseRibbon() const { return useRibbon_; }
    void SetUseRibbon(bool value);
    // A preview of a skin: drawn active, its caption objects left alone by the mouse.
    bool PreviewMode = false;
    // Window states.
    int ClientWidth = 0, ClientHeight = 0;
    bool AlwaysShowInTray = false;
    bool AlwaysMinimizeToTray = false;
    bool MinimizeDefault = false;
    TbsPositionInMonitor PositionInMonitor = TbsPositionInMonitor::bspDefault;
    TbsFormTrayIcon* TrayIcon() const { return trayIcon_; }
    void SetTrayIcon(TbsFormTrayIcon* value);

    // Called in place of the caption text.
    std::function<void(gui::TCanvas* cnvs, gui::TRect r, bool active)> OnCaptionPaint;
    gui::TNotifyEvent OnChangeSkinData, OnBeforeChangeSkinData, OnAfterChangeSkinData;
    gui::TNotifyEvent OnActivate, OnDeActivate;
    gui::TNotifyEvent OnMinimize, OnRestore, OnMaximize, OnChangeRollUpState, OnMinimizeToTray,
        OnRestoreFromTray;
    std::function<void(const std::string& IDName, bool& ObjectVisible)> OnActivateCustomObject;
    TbsObjectEvent OnMouseEnterEvent, OnMouseLeaveEvent;
    TbsObjectMouseEvent OnMouseDownEvent, OnMouseUpEvent;
    TbsObjectMoveEvent OnMouseMoveEvent;
    TbsObjectPaintEvent OnPaintEvent;
    // Opens a menu of caption-object items beside a screen rectangle (above it when up) in
    // place of the form's skinned menu.
    std::function<void(gui::TMenuItem* items, TRect screenRect, bool popupUp)> PopupObjectMenuHook;
    // The items of the system menu in place of the form's own (GetSystemMenuItems).
    std::function<gui::TMenuItem*()> SystemMenuItemsHook;

    int GetMinWidth() const;
    int GetMinHeight() const;
    int GetMaxWidth() const;
    int GetMaxHeight() const;
    bool CanResize() const;
    bool GetFormActive() const;

    // Frame geometry in window coordinates, recomputed for the tracked size.
    void CalcSkinRects();
    void CalcDefRects();
    TRect MapSkinRect(TRect r) const;
    int DefaultCaptionHeight() const;
    int DefaultButtonSize() const;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect, NewCaptionRect, NewButtonsRect, NewMaskRectArea, NewDefCaptionRect;
    int NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;

    int HitTestSkin(TPoint p);
    int HitTestDefault(TPoint p);
    bool InCaptionArea(TPoint p) const;
    bool PointInMask(TPoint p);
    void SnapToWorkArea(int& aLeft, int& aTop, int aWidth, int aHeight);

    void UpdateSkinRegion();
    void SetFormRegion();
    void PaintNCSkin(HDC dc, bool useExternalDC);
    void PaintNCDefault(HDC dc, bool useExternalDC);
    // Client background: the frame picture's client part, a picture of the skin's own
    // (PaintBG2, PaintBG3 for the MDI background) or the plain face colour.  A null DC paints
    // nothing.
    void PaintBG(HDC dc);
    void PaintBG2(HDC dc);
    void PaintBG3(HDC dc);
    void PaintBGDefault(HDC dc);
    void PaintMDIBGDefault(HDC dc);
    void DrawLogo(gui::TCanvas* canvas);
    // Tells the windowed controls placed on the form that its background changed.
    void NotifyChildrenBackground();
    // Applies the skin data now: caption objects, the frame, the region and the size.
    void ApplySkin();
    void RefreshFormSize();
    // Changes of the form that its skinned controls follow.
    void SetFormBorderStyle(gui::TFormBorderStyle value);
    void SetFormStyle(gui::TFormStyle value); // only fsNormal and fsStayOnTop
    void RepaintFrame();

    // ---- caption objects
    std::vector<std::unique_ptr<TbsActiveSkinObject>> ObjectList;
    // Indexes into ObjectList, -1 for none.
    int ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
    std::unique_ptr<gui::TTimer> MouseTimer, MorphTimer, AnimateTimer;
    std::unique_ptr<TbsLayerManager> FLayerManager, FMenuLayerManager;
    void CreateSkinObjects();
    void CreateDefaultObjects();
    void ClearObjects();
    void ArrangeObjects();
    void ApplyBorderIcons();
    void UpdateObjectHints();
    void TrackActiveObject(int X, int Y, bool Test);
    void ResetObjectStates();
    void UpdateCaptionActive(bool Animate);
    void ObjectMouseMove(int X, int Y);
    void ObjectDblClick();
    void ObjectMouseDown(gui::TMouseButton Button, int X, int Y);
    // X, Y: where the button was released, in window coordinates.
    void ObjectMouseUp(gui::TMouseButton Button, int X, int Y);
    void MouseTimerTick();
    void MorphTimerTick();
    void AnimateTimerTick();
    int GetIndex(const std::string& AIDName) const;
    void UserObjectDraw(const std::string& AIDName);
    void SetEnabled(const std::string& AIDName, bool Value);
    void LinkMenu(const std::string& AIDName, gui::TPopupMenu* AMenu, bool APopupUp);
    // A menu opened by a caption object closed: its button comes up again.
    void ObjectMenuClosed();

    // What caption objects ask of the form.
    void DrawSkinObject(TbsActiveSkinObject* AObject);
    void StartMorphTimer();
    void StartAnimateTimer();
    TbsLayerManager* GlowManager(bool menu) { return menu ? FMenuLayerManager.get() : FLayerManager.get(); }
    void HideGlowLayers();
    TRect ObjectToScreen(const TRect& r) const;
    gui::TMenuItem* SystemMenuItems();
    void PopupObjectMenu(gui::TMenuItem* items, const TRect& screenRect, bool popupUp);
    void PrepareFormIcon();
    void DrawFormIcon(gui::TCanvas* canvas, int x, int y);
    void GetSmallIconSize(int& w, int& h) const;
    bool FormActiveFlag() const { return formActive_; }
    void DoMouseEnterEvent(const std::string& id);
    void DoMouseLeaveEvent(const std::string& id);
    void DoMouseDownEvent(const std::string& id, int x, int y, TRect r, gui::TMouseButton b);
    void DoMouseUpEvent(const std::string& id, int x, int y, TRect r, gui::TMouseButton b);
    void DoMouseMoveEvent(const std::string& id, int x, int y, TRect r);
    void DoPaintEvent(const std::string& id, gui::TCanvas* c, TRect r);

    // ---- fade-in, translucency, drop shadow, layered border and the inactive-client overlay
    // A layered form, at AlphaBlendValue while AlphaBlend is set; AlphaBlendAnimation fades it
    // in whenever it is shown.  With layered windows unavailable both are ignored.
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool value);
    uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(uint8_t value);
    bool AlphaBlendAnimation = false;
    // All three at once, as a dialog hands its own on to its frame.
    void AssignAlphaBlend(bool AAlphaBlend, bool AAnimation, uint8_t AValue);
    // An inactive form's client area lies under an overlay of this kind.
    bool ClientInActiveEffect = false;
    TbsClientInActiveEffect ClientInActiveEffectType = TbsClientInActiveEffect::bsieSemiTransparent;
    bool AlwaysDisableLayeredFrames = false;
    // Taken once from the system: layered windows exist, and the system is Vista-like.
    bool FIsLayerEnabled = false, FIsVistaOs = false;
    std::unique_ptr<TbsFormLayerBorder> FBorderLayer;
    TbsClientInActivePanel* FInActivePanel = nullptr; // owned while shown
    bool FClientInActiveDraw = false;                 // the overlay takes its picture
    bool FHaveShadow = false;
    bool FSmartEffectsShow = false; // the layered border is left off
    // The skin's layered border goes with this form now.
    bool LayeredBordersUsed() const;
    // Shown through the layered style only for the border to come up with the form.
    bool LayeredShowOnly() const;
    void EnableShadow(bool AShowShadow, bool AHideFormBefore);
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    // A drag on the layered border is resizing the form.
    bool BorderLayerChangeSize() const;
    // How far the shown layered border's resize bands reach out on each side; none: all 0.
    TRect LayerBorderBands() const;

    // ---- window states
    gui::TWindowState WindowState() const { return windowState_; }
    void SetWindowState(gui::TWindowState value);
    bool RollUpState() const { return rollUpState_; }
    void SetRollUpState(bool value);
    int RealHeight() const { return rollUpState_ ? oldHeight_ : formHeight_; }
    void MinimizeToTray();
    void RestoreFromTray();
    void ApplyPositionInMonitor();
    TPoint GetPositionInMonitor(int AX, int AY, int AW, int AH) const;
    TPoint GetMinimizedPosition() const;
    void RestoreCommand();
    void MaximizeCommand();
    void MinimizeCommand();
    void RollUpCommand();
    // Posted, so that the button or menu that asked has finished before the form may go.
    void CloseCommand();
    void MinimizeToTrayCommand();
    void RestoreFromTrayCommand();
    TRect OldBoundsRect() const { return oldBoundsRect_; }

    // The tracked frame, as the move/size loop last reported it.
    int FormWidth() const { return formWidth_; }
    int FormHeight() const { return formHeight_; }

    // --- menus: the form's menu manager, system and tray menus, and the menu mode -------------
    TbsSkinMenu* SkinMenu() const;
    gui::TPopupMenu* SystemMenu() const; // an application menu used as system menu, or null
    void SetSystemMenu(gui::TPopupMenu* value);
    bool UseDefaultSysMenu = true;
    bool DisableSystemMenu = false;
    TbsSkinPopupMenu* SysTrayMenu() const;
    bool MenusAlphaBlend = false, MenusAlphaBlendAnimation = false;
    uint8_t MenusAlphaBlendValue = 200;
    int MaxMenuItemsInWindow() const;
    void SetMaxMenuItemsInWindow(int value); // negative values are ignored
    bool InMenu() const;
    void SetInMenu(bool value);
    gui::TNotifyEvent OnSkinMenuOpen, OnSkinMenuClose;
    // The skinned menu bar that the Alt and F10 keys and the accelerators drive.
    TbsSkinMainMenuBar* MainMenuBar() const;
    void SetMainMenuBar(TbsSkinMainMenuBar* value);
    // The menu bar is in its menu mode (an item's menu is open, or the keyboard mode is on).
    bool InMainMenu() const;
    void SetInMainMenu(bool value);
    gui::TNotifyEvent OnMainMenuEnter, OnMainMenuExit; // OnMainMenuEnter is fired by the menu bar
    void ExitMainMenu();
    // A menu of the bar closed by Escape while the bar stays in menu mode.
    void EndMenuTracking();
    void HookAppMessages();
    void UnhookAppMessages();
    // The form's menu manager's defaults, read and written straight through.
    int DefMenuItemHeight() const;
    void SetDefMenuItemHeight(int value); // values of 0 or less are ignored
    gui::TFont* DefMenuItemFont() const;
    void SetDefMenuItemFont(const gui::TFont* value);
    bool UseSkinFontInMenu() const;
    void SetUseSkinFontInMenu(bool value);
    gui::TShortCutEvent OnShortCut;

    void BuildSystemMenu();
    void MergeSystemMenu();
    gui::TMenuItem* GetSystemMenuItems();
    void PopupSystemMenuAt(int X, int Y);
    void PopupSystemMenuIn(const TRect& R);
    void PopupSystemMenuFromButton();
    void PopupSkinMenu(gui::TMenu* Menu, TPoint P);
    void PopupSkinMenu1(gui::TMenu* Menu, const TRect& R, bool PopupUp);
    void DoPopupMenu(gui::TMenu* Menu, int X, int Y);
    void SkinMenuOpen() override;
    void SkinMenuClose() override;
    void SkinMenuKeyDown(int Key);
    TbsSkinMenu* HostSkinMenu() override { return SkinMenu(); }
    TbsSkinData* HostSkinData() override { return fsd_; }
    TbsSkinData* HostMenusSkinData() override { return fmsd_; }

    // --- multiple-document forms (SkinFormMdi.cpp) --------------------------------------------
    TbsSkinMDITabsBar* MDITabsBar() const { return mdiTabsBar_; }
    void SetMDITabsBar(TbsSkinMDITabsBar* value);
    // The child's own component decides whether its tab goes on the main form's bar.
    std::function<void(bool& Accept)> OnAcceptToMDITabsBar;
    // A bar in place of the form's own skinned menu bar for the MDI notices (none: the own).
    TbsMDIMenuBarLink* MDIMenuBar = nullptr;
    bool MDIChildMaximized() const { return mdiChildMaximized_; }
    // The caption the frame shows: a main form's with its maximised child's in brackets.
    std::string CaptionText() const;
    TRect MDIClientArea() const;
    gui::TCustomForm* FindMaximizedChild() const;
    void NotifyMDIChildren();
    void ArrangeMinimizedChildren();
    void CancelMDIDropDowns();
    void Tile();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void CloseAll();
    void RestoreAll();
    void AddChildToMenu(gui::TCustomForm* Child);
    void DeleteChildFromMenu(gui::TCustomForm* Child);
    void UpDateChildCaptionInMenu(gui::TCustomForm* Child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(gui::TObject* Sender);
    void AddChildToBar(gui::TCustomForm* Child);
    void DeleteChildFromBar(gui::TCustomForm* Child);
    void RefreshMDIBarTab(gui::TCustomForm* Child);
    void RefreshMDITabs();
    void RefreshMenuBarItems();
    // The bar that shows the MDI child buttons and menus: MDIMenuBar when set, else the form's
    // own skinned menu bar.
    TbsMDIMenuBarLink* MDIBar() const;
    bool IsMDIChildForm() const;
    bool IsMDIMainForm() const;
    bool IsMaximizedMDIChild() const;

protected:
    void Notification(os::TComponent* component, os::TOperation operation) override;

private:
    // The MDI steps of the window procedure: true when the message was answered.
    bool MDIWindowProc(gui::TMessage& m);
    LRESULT MDIClientWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void HookMDIClient();
    void UnhookMDIClient();
    TbsSkinForm* MainSkinForm() const;
    void MDIComponentRemoved(os::TComponent* component);
    void MaximizeInMDIClient();
    void TellMainOfChildState();
    TPoint WindowScreenOrigin() const;
    void FormWindowProc(gui::TMessage& m);
    // The menu steps of the window procedure: true when the message was answered.
    bool MenuWindowProc(gui::TMessage& m);
    void CreateMenus();
    void FormShortCut(gui::TMessage& msg, bool& handled);
    gui::TMenuItem* AddSystemItem(gui::TMenuItem* parent, int index, const std::string& name, bool tray);
    void SystemCommand(const std::string& name);
    TbsSkinData* MenuSkin() const { return fmsd_ ? fmsd_ : fsd_; }
    void PostHandleMouse(gui::TMessage& m);
    bool SystemCommandHandled(gui::TMessage& m);
    bool PlainFrame() const; // no frame at all: bsNone
    void TakeFormSize();
    TPoint ScreenToWindowPoint(TPoint p) const;
    // The client background from a picture, stretched or repeated.
    void PaintBGPicture(HDC dc, HDC src, const TRect& part, bool stretch, TbsStretchType type);
    void PaintBGFromList(HDC dc, int index, bool stretch, TbsStretchType type);
    void FillWithLogo(HDC dc, gui::TColor color);
    void DrawLogoOn(HDC dc);
    void EraseBackground(HDC dc);
    // One part of the skinned frame, with the skin's inactive effect when it asks for one.
    void PutFramePart(HDC dc, gui::TBitmap& part, int x, int y, bool effect);
    TRect ClientZone() const;
    bool IsMainForm() const;
    void Minimize();
    void Maximize();
    void Restore();
    void CaptionDblClick();
    void FirstPlacement();
    void MirrorBorderIcons();
    void CallOld(gui::TMessage& m);
    // The effects' part of the window procedure (SkinFormEffects.cpp).
    void EffectsMessage(gui::TMessage& m);
    void EffectsBeforeShowWindow(bool show);
    void EffectsAfterShowWindow(bool show);
    void EffectsNcActivate(bool active);
    void FadeIn();
    void SetLayered(bool on);
    void HideBorderLayer();
    void BorderAfterApplySkin();
    void BorderFollowsSizing();
    void BorderFollowsSize();
    void BorderFollowsPosition(const WINDOWPOS& wp);
    void BorderAfterSizeMove();
    void BorderBeforeRestore(const TRect& bounds);
    void BringTrayRestoredForward();
    void CreateEffects();
    void DestroyEffects();
    void SetReference(TbsSkinData*& field, TbsSkinData* value);
    // The skin data component went away while the form lives.
    void SkinDataRemoved();
    HWND Wnd() const;

    gui::TCustomForm* form_ = nullptr;
    gui::TWndMethod oldWindowProc_;
    TbsSkinData* fsd_ = nullptr;
    TbsSkinData* fmsd_ = nullptr;
    bool skinSupport_ = false, skinnableForm_ = true;
    TbsBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize | biRollUp;
    gui::TFont defCaptionFont_, defInActiveCaptionFont_;
    bool hideCaptionButtons_ = false, showIcon_ = false;
    bool formActive_ = false;
    bool stopPainting_ = false, inChangeSkinData_ = false;
    bool alphaBlend_ = false;
    uint8_t alphaBlendValue_ = 200;
    std::unique_ptr<TbsQuickButtonItems> quickButtons_;
    std::unique_ptr<gui::TIcon> icon_;
    gui::TBitmap logo_;
    gui::TCustomImageList* quickImageList_ = nullptr;
    bool useRibbon_ = false;
    gui::TWindowState windowState_ = gui::wsNormal;
    bool rollUpState_ = false, maxRollUpState_ = false, rollUpBeforeMaximize_ = false;
    int oldHeight_ = 0;
    TRect oldBoundsRect_;
    bool startShow_ = true;
    TbsFormTrayIcon* trayIcon_ = nullptr;
    os::TComponent* trayIconComponent_ = nullptr; // the same object, for its free notice
    TbsSkinHint* skinHint_ = nullptr;
    TbsSkinStatusBar* statusBar_ = nullptr;
    // Cleared when the component goes, for the window procedure that outlives it on the stack.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    int formLeft_ = 0, formTop_ = 0, formWidth_ = 0, formHeight_ = 0, oldFormLeft_ = 0, oldFormTop_ = 0;
    bool sizeMove_ = false, sizing_ = false, fullDrag_ = false;
    bool hMagnetized_ = false, vMagnetized_ = false, hMagnetized2_ = false, vMagnetized2_ = false;
    TPoint onMouseDownCoord_{-1, -1};
    HRGN rgn_ = nullptr;
    gui::TBitmap rmTop_, rmBottom_, rmLeft_, rmRight_;
    WNDPROC FClientInstance = nullptr, FPrevClientProc = nullptr;
    HWND hookedClient_ = nullptr;
    gui::TWinControl* formWindow_ = nullptr; // form_ as the window it stays to the end
    bool mdiChildMaximized_ = false;
    TbsSkinMDITabsBar* mdiTabsBar_ = nullptr;
    std::unique_ptr<TbsSkinFormMenus> menus_; // last: goes first, giving the application's hook back
};

// The form's skinned-form component, the first in component order, or null.
TbsSkinForm* FindSkinFormComponent(gui::TCustomForm* form);

} // namespace skin

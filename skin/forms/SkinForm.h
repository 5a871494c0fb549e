#pragma once
// The skinned form: a component that takes over its form's frame.  It replaces the form's
// window procedure, answers the non-client size, hit test and painting itself and cuts the
// window region from the skin's mask; without a loaded skin it draws a plain 3-D frame of
// its own.  Our windows carry no decoration of the window manager, so this frame is all the
// user sees, and moving and sizing go through the window system's move/size loop.
#include "gui/Bitmap.h"
#include "gui/Font.h"
#include "gui/Forms.h"
#include "skin/core/SkinData.h"
#include "skin/menus/SkinMenuHost.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinMenu;
class TbsSkinPopupMenu;
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
enum : UINT { WM_BSQUERYSKINNABLE = 45490, WM_BSPAINTFRAMETODC = 45513, WM_BSPAINTFRAMETODC2 = 48203 };

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
    void SetSkinnableForm(bool value);
    bool SkinSupport() const { return skinSupport_; }
    TbsBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TbsBorderIcons value);
    gui::TFont* DefCaptionFont() { return &defCaptionFont_; }
    gui::TFont* DefInActiveCaptionFont() { return &defInActiveCaptionFont_; }

    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    bool AlwaysResize = false;
    bool Magnetic = false;
    uint8_t MagneticSize = 5;
    bool MaximizeOnFullScreen = false;
    bool UseFormCursorInNCArea = false;
    bool UseRibbon = false;
    // Called in place of the default look's caption text.
    std::function<void(gui::TCanvas* cnvs, TRect r, bool active)> OnCaptionPaint;

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
    void PaintBGDefault(HDC dc);
    void PaintBG(HDC dc);
    // Applies the skin data now: the frame, the region and a fresh non-client size.
    void ApplySkin();
    void RefreshFormSize();

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
    gui::TNotifyEvent OnSkinMenuOpen, OnSkinMenuClose;
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

protected:
    void Notification(os::TComponent* component, os::TOperation operation) override;

private:
    void FormWindowProc(gui::TMessage& m);
    // The menu steps of the window procedure: true when the message was answered.
    bool MenuWindowProc(gui::TMessage& m);
    void CreateMenus();
    void HookAppMessages();
    void UnhookAppMessages();
    void FormShortCut(gui::TMessage& msg, bool& handled);
    gui::TMenuItem* AddSystemItem(gui::TMenuItem* parent, int index, const std::string& name, bool tray);
    void SystemCommand(const std::string& name);
    TbsSkinData* MenuSkin() const { return fmsd_ ? fmsd_ : fsd_; }
    bool PlainFrame() const; // no frame at all: bsNone
    void TakeFormSize();
    void RepaintFrame();
    void CallOld(gui::TMessage& m);
    void SetReference(TbsSkinData*& field, TbsSkinData* value);
    HWND Wnd() const;

    gui::TCustomForm* form_ = nullptr;
    gui::TWndMethod oldWindowProc_;
    TbsSkinData* fsd_ = nullptr;
    TbsSkinData* fmsd_ = nullptr;
    bool skinSupport_ = false, skinnableForm_ = true;
    TbsBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize | biRollUp;
    gui::TFont defCaptionFont_, defInActiveCaptionFont_;
    int formLeft_ = 0, formTop_ = 0, formWidth_ = 0, formHeight_ = 0, oldFormLeft_ = 0, oldFormTop_ = 0;
    bool sizeMove_ = false, sizing_ = false, fullDrag_ = false;
    bool hMagnetized_ = false, vMagnetized_ = false, hMagnetized2_ = false, vMagnetized2_ = false;
    TPoint onMouseDownCoord_{-1, -1};
    HRGN rgn_ = nullptr;
    gui::TBitmap rmTop_, rmBottom_, rmLeft_, rmRight_;
    std::unique_ptr<TbsSkinFormMenus> menus_; // last: goes first, giving the application's hook back
};

// The form's skinned-form component, the first in component order, or null.
TbsSkinForm* FindSkinFormComponent(gui::TCustomForm* form);

} // namespace skin

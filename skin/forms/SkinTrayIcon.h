#pragma once
// TbsTrayIcon: one icon in the notification area.  It turns the mouse messages the shell sends
// back into events and a skinned popup menu, hides the main form into the tray when the
// application is minimised and brings it back, animates the icon from an image list and shows
// balloon tips.  A skinned form that names it uses it to minimise to the tray.
#include "gui/ControlTypes.h"
#include "gui/Icon.h"
#include "gui/ImgList.h"
#include "gui/PopupMenu.h"
#include "gui/Timer.h"
#include "shell/NotifyIcon.h"
#include "skin/forms/FormTrayIcon.h"

#include <functional>
#include <memory>
#include <string>

namespace skin {

// The callback message of the icon.
inline constexpr UINT WM_TRAYICONNOTIFY = 2048;

enum class TbsBalloonHintIcon { bsbitNone = 0, bsbitInfo = 1, bsbitWarning = 2, bsbitError = 3 };

using TbsCycleEvent = std::function<void(gui::TObject* Sender, int NextIndex)>;

class TbsTrayIcon : public gui::TComponent, public TbsFormTrayIcon {
public:
    explicit TbsTrayIcon(gui::TComponent* AOwner);
    ~TbsTrayIcon() override;
    std::string ClassName() const override { return "TbsTrayIcon"; }
    void Loaded() override;

    gui::TImageList* IconList() const { return FIconList; }
    void SetIconList(gui::TImageList* Value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    unsigned AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(unsigned Value);
    bool Enabled = true;
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    gui::TIcon* Icon() { return &FIcon; }
    void SetIcon(gui::TIcon* Value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value) override;
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int Value);
    // Normally a skinned popup menu; the form hands over its tray menu when the icon has none.
    gui::TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(gui::TPopupMenu* Value) override;
    bool PopupByLeftButton = false;
    bool MinimizedOnStart = false;
    bool MinimizeToTray = true;
    gui::TNotifyEvent OnClick, OnDblClick, OnBalloonHintClick;
    gui::TMouseEvent OnMouseDown, OnMouseUp;
    gui::TMouseMoveEvent OnMouseMove;
    TbsCycleEvent OnCycle;

    HWND Handle() const { return IconData.hWnd; }
    void ShowMainForm() override;
    void HideMainForm();
    bool ShowBalloonHint(const std::string& Title, const std::string& Text, TbsBalloonHintIcon IconType);
    bool HideBalloonHint();
    bool Refresh() { return ModifyIcon(); }
    const NOTIFYICONDATA& Data() const { return IconData; }

    // The form's view of the icon.
    void SetMinimizeToTray(bool Value) override { MinimizeToTray = Value; }
    bool HasPopupMenu() const override { return FPopupMenu != nullptr; }
    bool HasDblClickHandler() const override { return static_cast<bool>(OnDblClick); }
    void SetDblClickHandler(std::function<void()> Handler) override;

    virtual bool LoadDefaultIcon() { return true; }
    virtual bool ShowIcon();
    virtual bool HideIcon();
    virtual bool ModifyIcon();

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    virtual void Click();
    virtual void DblClick();
    virtual void DoCycle();
    virtual void MouseDown(gui::TMouseButton Button);
    virtual void MouseUp(gui::TMouseButton Button);
    virtual void MouseMove();
    virtual void DoMinimizeToTray();

private:
    void PrepareIconData();
    void PopupAtCursor();
    void ClickTimerTick();
    void AnimateTimerTick();
    LRESULT HiddenProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp);
    LRESULT AppProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp);
    LRESULT OwnerProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp);
    void HookOwner();
    gui::TWinControl* OwnerControl() const;

    gui::TImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    unsigned FAnimateTimerInterval = 0;
    std::string FHint;
    bool FShowHint = true;
    gui::TIcon FIcon;
    bool FIconVisible = true;
    int FIconIndex = 0;
    gui::TPopupMenu* FPopupMenu = nullptr;
    gui::TTimer AnimateTimer, ClickTimer;
    bool FClickStart = false, FClickReady = false, IsDblClick = false;
    NOTIFYICONDATA IconData{};
    UINT TaskbarCreated = 0;
    WNDPROC HiddenInstance = nullptr;
    WNDPROC OldAppProc = nullptr, NewAppProc = nullptr;
    // What the installed application procedure calls: this icon while it lives, then only the
    // procedure it replaced.
    struct AppHook {
        TbsTrayIcon* icon = nullptr;
        WNDPROC old = nullptr;
    };
    std::shared_ptr<AppHook> appHook_, ownerHook_;
    WNDPROC OldWndProc = nullptr, NewWndProc = nullptr;
    HWND OwnerHandle = nullptr;
    HWND AppHandle = nullptr;
};

} // namespace skin

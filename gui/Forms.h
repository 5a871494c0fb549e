#pragma once
// Forms: top-level windows (or children of another window) with a frame style, activation,
// the active control, keyboard preview and shortcuts, showing, closing and the modal loop.
#include "gui/CustomControl.h"
#include "gui/Icon.h"

namespace gui {

class TMainMenu;
class TMenuItem;

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint8_t;
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum TFormStateFlag : uint8_t { fsCreating = 1, fsVisible = 2, fsShowing = 4, fsModal = 8, fsActivated = 16 };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
// The key message (WParam: virtual key, LParam: key data); set handled to stop it.
using TShortCutEvent = std::function<void(TMessage& msg, bool& handled)>;

class TCustomForm : public TCustomControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    std::string ClassName() const override { return "TCustomForm"; }
    // Runs OnCreate once the whole form exists (the application's CreateForm calls it); a form
    // made with new alone works without it, but has no OnCreate and no OnDestroy.
    virtual void AfterConstruction();

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    // The form's own icon; empty, the application's shows.
    TIcon* Icon();
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // A multiple-document form (fsMDIForm): the client window that hosts its children (none
    // until it exists), the children in the order they were made, and the active one.  The
    // client fills what the form's aligned controls leave of its client area.  The style is
    // set before the form's window exists; a child (fsMDIChild) needs the application's main
    // form to be a multiple-document form with its window made.
    HWND ClientHandle() const;
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    TCustomForm* ActiveMDIChild() const;
    // The menu item whose submenu lists the children (the skinned form fills it); data here.
    TMenuItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* value);
    // Arrangements of the children inside the client, and stepping the activation through them.
    enum TTileMode : uint8_t { tbHorizontal, tbVertical };
    TTileMode TileMode = tbHorizontal;
    void Tile();
    void Cascade();
    void ArrangeIcons();
    void Next();
    void Previous();
    bool KeyPreview = false;
    uint8_t FormState = 0;

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    bool Active() const { return active_; }
    void FocusControl(TWinControl* control);
    // Called when a control of this form got the focus: OnExit and OnEnter along the way,
    // CM_FOCUSCHANGED to every control.
    void SetFocusedControl(TWinControl* control);
    // A control that hides, is disabled or goes away (removing) stops being the active one;
    // the form takes the focus if it has it.
    void DefocusControl(TWinControl* control, bool removing);

    void SetVisible(bool value) override;
    void Show();
    // Asks CloseQuery and OnClose; for the main form any action but caNone ends the program.
    void Close();
    // Raises EInvalidOperation for a form that is visible or disabled already.  Hiding the form
    // ends the loop with mrCancel; caFree from OnClose frees it once the loop is done.
    virtual TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    virtual bool CloseQuery();
    // Frees the form once the messages being handled are done.
    void Release();
    bool IsShortCut(TMessage& msg);
    void SetClientSize(int width, int height) override;
    void DefaultHandler(TMessage& message) override;
    // Before the window exists, the size less the frame its style will give it.
    TRect ClientRect() override;

    TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    bool DoKeyDown(TMessage& message) override;
    bool DoKeyUp(TMessage& message) override;
    bool DoKeyPress(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMDialogKey(TMessage& message) override;
    void Loaded() override;
    void AlignControls(TControl* control, TRect& rect) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();

private:
    void PlaceOnFirstShow();
    void ShowWindowNow(bool show);
    void CloseModal();
    void Activated(bool active);
    void SetWindowFocus();
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDesigned;
    TMainMenu* menu_ = nullptr;
    TMenuItem* windowMenu_ = nullptr;
    HWND clientHandle_ = nullptr;
    std::unique_ptr<TIcon> icon_;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool active_ = false, placed_ = false, created_ = false;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    std::string ClassName() const override { return "TForm"; }
};

// The form a control is on (the top of its parent chain), or null.
TCustomForm* GetParentForm(TControl* control);

} // namespace gui

#pragma once
// The application: its hidden window, the message loop with OnMessage and the key handling
// before translation, the main form, the hint engine and the default exception display.
#include "gui/Control.h"
#include "gui/Icon.h"

#include <exception>
#include <memory>
#include <vector>

namespace gui {

class TCustomForm;
class THintWindow;

struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindow* HintWindowClass = nullptr; // the window that will show it
    TPoint HintPos{};                       // screen
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect{}; // the hinted control's client rectangle: leaving it hides the hint
    TPoint CursorPos{}; // client coordinates of the hinted control
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};

using TShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TExceptionEvent = std::function<void(TObject* sender, std::exception_ptr e)>;
using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;

// Flags of the plain message box.
enum : UINT {
    MB_OK = 0,
    MB_ICONHAND = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40
};
constexpr int IDOK = 1;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;
    std::string ClassName() const override { return "TApplication"; }

    // The hidden window that owns the top-level forms; it can be subclassed, and Minimize
    // sends it WM_SIZE with SIZE_MINIMIZED.
    HWND Handle();
    std::string Title;
    // The program's icon; forms without their own show it.
    TIcon* Icon();
    std::string HelpFile;
    std::string ExeName() const;
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm = true;
    bool Terminated() const { return terminated_; }
    void Terminate();

    // Makes a form owned by the application; the first one becomes the main form.
    template <class T> void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        if (!mainForm_) mainForm_ = form;
        form->AfterConstruction();
    }
    void Run();
    void ProcessMessages();
    // One message, or an idle turn and a wait when there is none.
    void HandleMessage();
    // One message through OnMessage and the key handling; false when none was waiting.
    bool ProcessMessage(MSG& msg);
    void Minimize();
    void Restore();
    bool Minimized() const { return minimized_; }

    // The plain message box: title, stock icon (by MB_ICON* flag) and an OK button.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    void HandleException(std::exception_ptr e);
    void ShowException(const std::exception& e);

    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TExceptionEvent OnException;
    TNotifyEvent OnMinimize, OnRestore;

    // Hints.
    bool ShowHint() const { return showHint_; }
    // Switching it on makes the hint window anew from HintWindowClass.
    void SetShowHint(bool value);
    THintWindowClass HintWindowClass;
    THintWindow* HintWindow() const { return hintWindow_; }
    TColor HintColor = clInfoBk;
    int HintPause = 500, HintShortPause = 50, HintHidePause = 2500;
    TShowHintEvent OnShowHint;
    void ActivateHint(TPoint cursorPos);
    void CancelHint();
    void HideHint();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomForm;
    bool IsKeyMsg(MSG& msg);
    void Idle();
    void WndProc(TMessage& message);
    void MouseControlChanged(TControl* control);
    void MakeHintWindow();
    void FormDestroyed(TCustomForm* form);
    HWND handle_ = nullptr;
    WNDPROC instance_ = nullptr;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false, minimized_ = false, showHint_ = false;
    THintWindow* hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    bool hintShowing_ = false;
    std::vector<HWND> hidden_; // forms hidden by Minimize
    std::unique_ptr<TIcon> icon_;
};

extern TApplication* Application;

} // namespace gui

#include "GuiHarness.h"
#include "gui/Dialogs.h"
#include "gui/GraphicControl.h"
#include "gui/HintWindow.h"
#include "gui/StdCtrls.h"
#include "gui/Thread.h"
#include "gui/Timer.h"
#include "os/MainThread.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

using namespace gui;

namespace {

using V = std::vector<std::string>;

class DialogForm : public TForm {
public:
    explicit DialogForm(TComponent* owner) : TForm(owner) {
        BeginLoading();
        SetCaption("对话框");
        SetBorderStyle(bsDialog);
        SetPosition(poScreenCenter);
        SetBounds(0, 0, 300, 200);
        Ok = new TButton(this);
        Ok->SetName("Ok");
        Ok->SetCaption("确定");
        Ok->ModalResult = mrOk;
        Ok->SetParent(this);
        Ok->SetBounds(20, 120, 75, 25);
        Cancel = new TButton(this);
        Cancel->SetName("Cancel");
        Cancel->Cancel = true;
        Cancel->ModalResult = mrCancel;
        Cancel->SetParent(this);
        Cancel->SetBounds(120, 120, 75, 25);
        EndLoading();
    }
    TButton* Ok;
    TButton* Cancel;
};

using FormsTest = GuiTest;

TEST_F(FormsTest, ShowModalReturnsTheResultOfTheClickedButton) {
    auto* main = MakeForm<TForm>();
    main->Show();
    auto* dlg = MakeForm<DialogForm>();
    Respond([&](TCustomForm& f) {
        EXPECT_EQ(&f, dlg);
        EXPECT_FALSE(IsWindowEnabled(main->Handle())); // the rest of the program waits
        POINT p = ScreenOf(dlg->Ok, 10, 10);
        D().Click(p.x, p.y);
        return true;
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(dlg->Visible());
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    // Centred on the work area.
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(dlg->Left(), (work.right - 300) / 2);

    // Escape presses the cancel button.
    Respond([&](TCustomForm&) {
        D().Key(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
}

TEST_F(FormsTest, ShowModalResultFromAResponderAndCloseQuery) {
    auto* dlg = MakeForm<DialogForm>();
    std::vector<std::string> log;
    int queries = 0;
    dlg->OnShow = [&](TObject*) { log.push_back("show"); };
    dlg->OnCloseQuery = [&](TObject*, bool& can) {
        log.push_back("query");
        can = ++queries > 1;
    };
    dlg->OnClose = [&](TObject*, TCloseAction& a) { log.push_back(a == caHide ? "close hide" : "close"); };
    dlg->OnHide = [&](TObject*) { log.push_back("hide"); };
    Respond([](TCustomForm& f) {
        f.SetModalResult(mrYes);
        return true;
    });
    Respond([](TCustomForm& f) {
        EXPECT_EQ(f.ModalResult(), mrNone); // the refused close undid it
        f.SetModalResult(mrNo);
        return true;
    });
    EXPECT_EQ(dlg->ShowModal(), mrNo);
    EXPECT_EQ(log, V({"show", "query", "query", "close hide", "hide"}));
    EXPECT_THROW(
        {
            dlg->Show();
            dlg->ShowModal();
        },
        EInvalidOperation);
}

class SyncWorker : public TThread {
public:
    explicit SyncWorker(TCustomForm* form) : TThread(true), form_(form) {}
    std::atomic<bool> ranOnMain{false};

protected:
    void Execute() override {
        Synchronize([this] {
            ranOnMain = os::IsMainThread();
            form_->SetModalResult(mrRetry);
        });
    }

private:
    TCustomForm* form_;
};

TEST_F(FormsTest, SynchronizeFromAWorkerRunsWhileAModalLoopWaits) {
    auto* dlg = MakeForm<DialogForm>();
    auto worker = MakeThread<SyncWorker>(dlg);
    dlg->OnShow = [&](TObject*) { worker->Start(); };
    EXPECT_EQ(dlg->ShowModal(), mrRetry);
    worker->WaitFor();
    EXPECT_TRUE(worker->ranOnMain);
}

TEST_F(FormsTest, PlainMessageBoxAndTheExceptionDisplayShowTheirWindow) {
    Application->Title = "Tarvik";
    std::string seen;
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto answer = [&](TCustomForm& f) {
        auto* box = dynamic_cast<TMessageForm*>(&f);
        EXPECT_NE(box, nullptr);
        if (!box) return true;
        seen = box->Caption() + "/" + box->Message();
        RunUntilIdle(); // painted
        EXPECT_TRUE(IsWindowVisible(box->Handle()));
        int h = RectHeight(box->ClientRect());
        EXPECT_EQ(PixelAt(box, 4, h - 4), face); // the background was painted
        EXPECT_NE(PixelAt(box, 32, 32), face);   // and the icon over it
        EXPECT_TRUE(box->OkButton()->Focused());
        D().Key(VK_RETURN);
        return true;
    };
    Respond(answer);
    EXPECT_EQ(Application->MessageBox("文件不存在", "", MB_ICONWARNING), IDOK);
    EXPECT_EQ(seen, "Tarvik/文件不存在");
    Respond(answer);
    Application->HandleException(std::make_exception_ptr(std::runtime_error("解码失败")));
    EXPECT_EQ(seen, "Tarvik/解码失败.");
}

TEST_F(FormsTest, FormsBuiltInCodeShow) {
    auto* plain = new TForm(Application); // no AfterConstruction
    plain->Show();
    EXPECT_TRUE(IsWindowVisible(plain->Handle()));
    auto* built = new TForm(Application);
    built->BeginLoading();
    built->Show(); // while it is being built: shown once complete
    EXPECT_FALSE(built->HandleAllocated());
    built->EndLoading();
    ASSERT_TRUE(built->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(built->Handle()));
}

TEST_F(FormsTest, ModalFormsHiddenByCodeOrFreedOnClose) {
    auto* main = MakeForm<TForm>();
    main->Show();
    auto* dlg = MakeForm<DialogForm>();
    int queries = 0;
    dlg->OnCloseQuery = [&](TObject*, bool&) { ++queries; };
    Respond([](TCustomForm& f) {
        EXPECT_NO_THROW(f.Hide());
        return true;
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 0); // ended by code, not closed by the user
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));

    bool destroyed = false;
    dlg->OnDestroy = [&](TObject*) { destroyed = true; };
    dlg->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
    Respond([](TCustomForm& f) {
        f.SetModalResult(mrOk);
        return true;
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(destroyed); // the caller still has it while the result is read
    RunUntilIdle();
    EXPECT_TRUE(destroyed);
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheProgramWhateverOnCloseAsks) {
    // Ending the program cannot be undone, so each action runs in a process of its own.
    for (TCloseAction action : {caHide, caMinimize, caFree}) {
        EXPECT_EXIT(
            {
                TForm* main = nullptr;
                Application->CreateForm(main);
                main->OnClose = [action](TObject*, TCloseAction& a) { a = action; };
                main->Show();
                main->Close();
                std::_Exit(Application->Terminated() ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << static_cast<int>(action);
    }
}

TEST_F(FormsTest, CreateShowCloseAndTheMainForm) {
    std::vector<std::string> log;
    class Logged : public TForm {
    public:
        Logged(TComponent* o, std::vector<std::string>* log) : TForm(o) {
            OnCreate = [log](TObject*) { log->push_back("create"); };
            OnShow = [log](TObject*) { log->push_back("show"); };
            OnClose = [log](TObject*, TCloseAction& a) { log->push_back("close " + std::to_string(a)); };
            OnDestroy = [log](TObject*) { log->push_back("destroy"); };
        }
    };
    TForm* main = nullptr;
    Application->CreateForm(main);
    EXPECT_EQ(Application->MainForm(), main);
    auto* second = new Logged(Application, &log);
    second->AfterConstruction();
    second->Show();
    EXPECT_TRUE(IsWindowVisible(second->Handle()));
    second->Close();
    EXPECT_FALSE(second->Visible());
    second->OnClose = [&](TObject*, TCloseAction& a) { a = caFree; };
    second->Show();
    second->Close();
    RunUntilIdle(); // released after the messages in hand
    EXPECT_EQ(log, V({"create", "show", "close 1", "show", "destroy"}));
    delete main;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(FormsTest, StylesReachTheWindowAndAFormCanLiveInsideAnotherWindow) {
    auto* host = MakeForm<TForm>();
    host->SetBorderStyle(bsNone);
    host->SetBounds(50, 50, 400, 300);
    host->Show();
    auto* top = MakeForm<TForm>();
    top->SetFormStyle(fsStayOnTop);
    top->SetBorderStyle(bsToolWindow);
    top->Show();
    EXPECT_TRUE(GetWindowLongPtr(top->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtr(top->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    top->SetBorderStyle(bsSizeable);
    EXPECT_TRUE(GetWindowLongPtr(top->Handle(), GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongPtr(top->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    auto* inner = MakeForm<TForm>();
    inner->SetParentWindow(host->Handle());
    inner->SetBounds(10, 20, 100, 80);
    inner->Show();
    EXPECT_TRUE(IsChild(host->Handle(), inner->Handle()));
    EXPECT_EQ(inner->ClientOrigin(), Point(60, 70));
    EXPECT_TRUE(IsWindowVisible(inner->Handle()));

    // Client size through the frame.
    top->SetClientWidth(200);
    top->SetClientHeight(100);
    EXPECT_EQ(top->ClientRect(), Rect(0, 0, 200, 100));
    EXPECT_GT(top->Width(), 200);
}

TEST_F(FormsTest, HintsShowAfterThePauseAndHideWhenTheMouseLeaves) {
    auto* f = MakeForm<TForm>();
    f->SetBorderStyle(bsNone);
    f->SetBounds(100, 100, 300, 200);
    auto* b = new TButton(f);
    b->SetParent(f);
    b->SetBounds(10, 10, 75, 25);
    b->Hint = "转换|开始转换列表中的文件";
    b->SetShowHint(true);
    f->Show();
    RunUntilIdle();
    TControl* hinted = nullptr;
    Application->OnShowHint = [&](std::string& s, bool& can, THintInfo& info) {
        hinted = info.HintControl;
        can = true;
        s += "!";
    };
    MoveTo(b, 5, 5);
    Advance(Application->HintPause - 100);
    EXPECT_TRUE(!Application->HintWindow() || !Application->HintWindow()->Showing());
    Advance(200);
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_TRUE(Application->HintWindow()->Showing());
    EXPECT_EQ(Application->HintWindow()->Caption(), "转换!");
    EXPECT_EQ(hinted, b);
    MoveTo(f, 200, 150);
    EXPECT_FALSE(Application->HintWindow()->Showing());

    // A new hint window class takes effect when ShowHint is switched off and on.
    class MyHint : public THintWindow {
    public:
        using THintWindow::THintWindow;
        std::string ClassName() const override { return "MyHint"; }
    };
    Application->HintWindowClass = [](TComponent* o) { return new MyHint(o); };
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    EXPECT_EQ(Application->HintWindow()->ClassName(), "MyHint");
    Application->HintWindowClass = nullptr;
    Application->OnShowHint = nullptr;
}

class RefusingButton : public TButton {
public:
    using TButton::TButton;

protected:
    void CMHintShow(TMessage& m) override { m.Result = 1; }
};

TEST_F(FormsTest, HintsOfEmptyRefusingAndDisabledControls) {
    auto* f = MakeForm<TForm>();
    f->SetBorderStyle(bsNone);
    f->SetBounds(100, 100, 300, 200);
    auto* empty = new TButton(f);
    empty->SetParent(f);
    empty->SetBounds(10, 10, 75, 25);
    auto* refusing = new RefusingButton(f);
    refusing->SetParent(f);
    refusing->SetBounds(10, 50, 75, 25);
    refusing->Hint = "不显示";
    auto* disabled = new TGraphicControl(f);
    disabled->SetParent(f);
    disabled->SetBounds(10, 90, 75, 25);
    disabled->Hint = "已停用";
    disabled->SetEnabled(false);
    for (TControl* c :
         {static_cast<TControl*>(empty), static_cast<TControl*>(refusing), static_cast<TControl*>(disabled)})
        c->SetShowHint(true);
    f->Show();
    RunUntilIdle();
    std::vector<std::string> asked;
    Application->OnShowHint = [&](std::string& s, bool&, THintInfo& info) {
        asked.push_back(info.HintControl == empty ? "empty" : s);
        if (s.empty()) s = "动态";
    };
    auto hintAfterPause = [&](TControl* c) {
        MoveTo(c, 5, 5);
        Advance(Application->HintPause + 100);
        THintWindow* w = Application->HintWindow();
        std::string shown = w && w->Showing() ? w->Caption() : "";
        MoveTo(f, 250, 150);
        return shown;
    };
    EXPECT_EQ(hintAfterPause(empty), "动态");
    EXPECT_EQ(hintAfterPause(refusing), "");
    EXPECT_EQ(hintAfterPause(disabled), "已停用");
    EXPECT_EQ(asked, V({"empty", "已停用"})); // the refusal was final
    Application->OnShowHint = nullptr;
}

std::vector<WPARAM> g_appSizes;
WNDPROC g_appOld = nullptr;
LRESULT AppSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE) g_appSizes.push_back(wp);
    return CallWindowProc(g_appOld, h, msg, wp, lp);
}

TEST_F(FormsTest, ApplicationWindowMinimizeRestoreAndOnMessage) {
    auto* f = MakeForm<TForm>();
    f->Show();
    g_appSizes.clear();
    g_appOld = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(Application->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AppSubclass)));
    Application->Minimize();
    EXPECT_TRUE(Application->Minimized());
    EXPECT_FALSE(IsWindowVisible(f->Handle()));
    Application->Restore();
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(g_appSizes, (std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}));
    SetWindowLongPtr(Application->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_appOld));

    // OnMessage sees queued messages first and may keep them from their window.
    std::vector<UINT> seen;
    int delivered = 0;
    TWndMethod old = f->WindowProc;
    f->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_USER + 1 || m.Msg == WM_USER + 2) ++delivered;
        old(m);
    };
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message >= WM_USER) seen.push_back(msg.message), handled = msg.message == WM_USER + 1;
    };
    PostMessage(f->Handle(), WM_USER + 1, 0, 0);
    PostMessage(f->Handle(), WM_USER + 2, 0, 0);
    RunUntilIdle();
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(delivered, 1);
    Application->OnMessage = nullptr;
    f->WindowProc = old;
}

TEST_F(FormsTest, TimersFireOnTheVirtualClock) {
    auto* t = new TTimer(Application);
    int fired = 0;
    t->OnTimer = [&](TObject*) { ++fired; };
    t->SetInterval(100);
    Advance(350);
    EXPECT_EQ(fired, 3);
    t->SetEnabled(false);
    Advance(300);
    EXPECT_EQ(fired, 3);
}

} // namespace

// The skinned form's skin changes and its own window states: the change broadcast, the
// controls reloaded by their own skin data, the client size kept under every skin; maximise,
// restore, minimise and roll-up as the form's own moves and sizes, caption double clicks,
// centring on the first show and the notification area.
#include "SkinFormFixture.h"

#include "gui/CustomControl.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/menus/SkinPopupMenu.h"
#include "win/System.h"

#include <vector>

using namespace skinformtest;

namespace {

// Records the messages that reach the form's own procedure.
class SpyForm : public gui::TForm {
public:
    using gui::TForm::TForm;
    std::vector<UINT> skinMessages;
    void WndProc(gui::TMessage& m) override {
        if (m.Msg >= skin::WM_BEFORECHANGESKINDATA && m.Msg <= skin::WM_AFTERCHANGESKINDATA)
            skinMessages.push_back(m.Msg);
        gui::TForm::WndProc(m);
    }
};

// A skinned control that counts the two steps of a skin change.
class SpyControl : public gui::TCustomControl, public skin::TbsSkinChangeable {
public:
    using gui::TCustomControl::TCustomControl;
    skin::TbsSkinData* skinData = nullptr;
    int before = 0, after = 0;
    skin::TbsSkinData* SkinDataOf() const override { return skinData; }
    void BeforeChangeSkinData() override { ++before; }
    void ChangeSkinData() override { ++after; }
};

class WindowStateTest : public FrameTest {
protected:
    RECT WorkArea() {
        RECT r{};
        SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
        return r;
    }
    RECT Bounds(gui::TCustomForm* f) {
        return {f->Left(), f->Top(), f->Left() + f->Width(), f->Top() + f->Height()};
    }
    void DoubleClickCaption(int x, int y) {
        POINT s = ScreenAt(x, y);
        D().Click(s.x, s.y);
        RunUntilIdle();
        D().Click(s.x, s.y);
        RunUntilIdle();
    }
};

TEST_F(WindowStateTest, FormSkinnedBeforeItsFirstShowTakesTheClientSize) {
    LoadSkin(0);
    for (skin::TbsSkinData* skinData : {static_cast<skin::TbsSkinData*>(nullptr), &data}) {
        SCOPED_TRACE(skinData ? "stored skin" : "default look");
        form = MakeForm<gui::TForm>();
        form->SetBounds(100, 100, 400, 300);
        skinForm = new skin::TbsSkinForm(form);
        skinForm->ClientWidth = 340;
        skinForm->ClientHeight = 245;
        skinForm->SetSkinData(skinData);
        form->Show();
        RunUntilIdle();
        EXPECT_EQ(form->ClientWidth(), 340);
        EXPECT_EQ(form->ClientHeight(), 245);
        delete form;
        form = nullptr;
    }
}

TEST_F(WindowStateTest, SkinIndexChangeRebuildsTheFrameAndKeepsTheClientSize) {
    LoadSkin(0);
    skin::TbsSkinData other;
    auto* spy = MakeForm<SpyForm>();
    form = spy;
    form->SetBounds(100, 100, 400, 300);
    form->SetCaption("Frame");
    skinForm = new skin::TbsSkinForm(form);
    skinForm->ClientWidth = 340;
    skinForm->ClientHeight = 245;
    skinForm->SetSkinData(&data);
    auto* mine = new SpyControl(form);
    mine->skinData = &data;
    mine->SetParent(form);
    auto* theirs = new SpyControl(form);
    theirs->skinData = &other;
    theirs->SetParent(form);
    form->Show();
    RunUntilIdle();
    std::vector<std::string> events;
    skinForm->OnBeforeChangeSkinData = [&](gui::TObject*) { events.push_back("before"); };
    skinForm->OnChangeSkinData = [&](gui::TObject*) { events.push_back("change"); };
    skinForm->OnAfterChangeSkinData = [&](gui::TObject*) { events.push_back("after"); };

    for (int index = 1; index < StoredSkins().Skins().Count(); ++index) {
        SCOPED_TRACE(index);
        spy->skinMessages.clear();
        events.clear();
        data.SetSkinIndex(index);
        RunUntilIdle();
        EXPECT_EQ(spy->skinMessages,
                  (std::vector<UINT>{skin::WM_BEFORECHANGESKINDATA, skin::WM_CHANGESKINDATA,
                                     skin::WM_AFTERCHANGESKINDATA}));
        EXPECT_EQ(events, (std::vector<std::string>{"before", "change", "after"}));
        // The caption objects are the new skin's.
        ASSERT_FALSE(skinForm->ObjectList.empty());
        for (auto& o : skinForm->ObjectList) EXPECT_EQ(o->SD, &data);
        size_t frameObjects = 0; // menu descriptors make no caption object
        for (auto& d : data.ObjectList)
            frameObjects += !dynamic_cast<skin::TbsDataSkinMenuItem*>(d.get()) &&
                            !dynamic_cast<skin::TbsDataSkinMainMenuItem*>(d.get()) &&
                            !dynamic_cast<skin::TbsDataSkinMainMenuBarButton*>(d.get());
        EXPECT_EQ(skinForm->ObjectList.size(), frameObjects);
        EXPECT_EQ(form->ClientWidth(), 340);
        EXPECT_EQ(form->ClientHeight(), 245);
        EXPECT_EQ(mine->before, index);
        EXPECT_EQ(mine->after, index);
    }
    EXPECT_EQ(theirs->before + theirs->after, 0);

    // Another skin data's change reloads only its own controls and leaves the frame alone.
    events.clear();
    skin::TbsSkinForm* frame = skinForm;
    size_t objects = frame->ObjectList.size();
    other.SetSkinList(&StoredSkins());
    RunUntilIdle();
    EXPECT_EQ(theirs->before, 1); // lets go of the old skin too
    EXPECT_EQ(theirs->after, 1);
    EXPECT_EQ(events, std::vector<std::string>{"after"});
    EXPECT_EQ(frame->ObjectList.size(), objects);

    // A rolled-up form takes the next skin's caption height.
    skinForm->SetRollUpState(true);
    for (int index : {0, 7}) {
        data.SetSkinIndex(index);
        RunUntilIdle();
        EXPECT_EQ(form->Height(), data.FPicture.Height() - data.ClRect.Height());
    }
    skinForm->SetRollUpState(false);
    EXPECT_EQ(form->ClientHeight(), 245);
}

TEST_F(WindowStateTest, MaximisedFormFillsTheWorkAreaAndCannotBeDragged) {
    OpenSkinned(0);
    RECT normal = Bounds(form);
    RECT work = WorkArea();
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    bool noTaskBar = work.right - work.left == sw && work.bottom - work.top == sh;
    skinForm->SetWindowState(gui::wsMaximized);
    RunUntilIdle();
    int m = noTaskBar ? 1 : 0; // a pixel for a task bar that hides itself
    EXPECT_EQ(Bounds(form), (RECT{work.left + m, work.top + m, work.right - m, work.bottom - m}));
    // The maximise button now stands for restore, with the skin's restore image.
    auto* max = static_cast<skin::TbsSkinStdButtonObject*>(Object("maxbutton"));
    EXPECT_TRUE(max->InRestoreState());
    ASSERT_NE(max->ActivePicture, nullptr);
    EXPECT_EQ(WindowPixel(max->ObjectRect.Left + 7, max->ObjectRect.Top + 9),
              Shown(max->ActivePicture->Image().At(max->RestoreRect.Left + 7, max->RestoreRect.Top + 9)));

    RECT before = Bounds(form);
    POINT grip = ScreenAt(60, 10);
    ASSERT_EQ(SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCAPTION);
    D().MoveMouse(grip.x, grip.y);
    D().Press();
    D().MoveMouse(grip.x + 80, grip.y + 60);
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(Bounds(form), before);

    // A status bar's size grip hides while the form is maximised.
    auto* bar = new skin::TbsSkinStatusBar(form);
    bar->SetParent(form);
    bar->SetSizeGrip(true);
    skinForm->SetStatusBar(bar);
    skinForm->SetWindowState(gui::wsNormal);
    EXPECT_TRUE(bar->ShowGrip());
    skinForm->SetWindowState(gui::wsMaximized);
    EXPECT_FALSE(bar->ShowGrip());

    skinForm->MaximizeOnFullScreen = true;
    skinForm->SetWindowState(gui::wsNormal);
    EXPECT_EQ(Bounds(form), normal);
    skinForm->SetWindowState(gui::wsMaximized);
    EXPECT_EQ(Bounds(form), (RECT{0, 0, sw, sh}));
    skinForm->SetWindowState(gui::wsNormal);
    EXPECT_EQ(Bounds(form), normal);
}

TEST_F(WindowStateTest, MinimisedDialogsLineUpAlongTheBottomOfTheWorkArea) {
    RECT work = WorkArea();
    std::vector<gui::TForm*> dialogs;
    std::vector<skin::TbsSkinForm*> frames;
    for (int i = 0; i < 3; ++i) {
        Open(300, 200);
        dialogs.push_back(form);
        frames.push_back(skinForm);
    }
    for (size_t i = 0; i < 3; ++i) {
        frames[i]->SetWindowState(gui::wsMinimized);
        RunUntilIdle();
    }
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(frames[i]->WindowState(), gui::wsMinimized);
        EXPECT_EQ(Bounds(dialogs[i]), (RECT{work.left + 120 * static_cast<int>(i), work.bottom - 25,
                                            work.left + 120 * static_cast<int>(i) + 120, work.bottom}));
    }
    // Restoring gives the bounds back.
    frames[1]->SetWindowState(gui::wsNormal);
    EXPECT_EQ(Bounds(dialogs[1]), (RECT{100, 100, 400, 300}));
    for (gui::TForm* d : dialogs)
        if (d != form) delete d;
}

TEST_F(WindowStateTest, MinimisingTheMainFormMinimisesTheApplication) {
    gui::TForm* main = nullptr;
    gui::Application->CreateForm(main);
    form = main;
    form->SetBounds(100, 100, 300, 200);
    skinForm = new skin::TbsSkinForm(form);
    form->Show();
    RunUntilIdle();
    std::vector<std::string> events;
    skinForm->OnMinimize = [&](gui::TObject*) { events.push_back("minimize"); };
    skinForm->SetWindowState(gui::wsMinimized);
    EXPECT_TRUE(gui::Application->Minimized());
    EXPECT_EQ(skinForm->WindowState(), gui::wsNormal);
    EXPECT_EQ(Bounds(form), (RECT{100, 100, 400, 300}));
    EXPECT_EQ(events, std::vector<std::string>{"minimize"});
    gui::Application->Restore();
    RunUntilIdle();
}

TEST_F(WindowStateTest, WindowCommandsAreTheFormsOwnStates) {
    Open();
    RECT normal = Bounds(form);
    PostMessage(form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    RunUntilIdle();
    EXPECT_EQ(skinForm->WindowState(), gui::wsMaximized);
    EXPECT_EQ(form->WindowState(), gui::wsNormal); // the platform's state stays out of it
    PostMessage(form->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    RunUntilIdle();
    EXPECT_EQ(skinForm->WindowState(), gui::wsNormal);
    EXPECT_EQ(Bounds(form), normal);
    PostMessage(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    RunUntilIdle();
    EXPECT_EQ(skinForm->WindowState(), gui::wsMinimized);
    EXPECT_EQ(form->Height(), skinForm->GetMinHeight());
    // The minimise button of a minimised form restores it.
    auto* min = static_cast<skin::TbsSkinStdButtonObject*>(Object("minbutton"));
    EXPECT_TRUE(min->InRestoreState());
    min->ButtonClick();
    EXPECT_EQ(skinForm->WindowState(), gui::wsNormal);
    EXPECT_EQ(Bounds(form), normal);
}

TEST_F(WindowStateTest, RollUpLeavesTheCaptionAndUnrollingGivesTheClientHeightBack) {
    Open(300, 400);
    skinForm->ClientHeight = 245;
    skinForm->SetRollUpState(true);
    EXPECT_EQ(form->Height(), skinForm->GetMinHeight());
    EXPECT_EQ(skinForm->RealHeight(), 400);
    // A rolled-up form has no sizing zones.
    EXPECT_EQ(SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(form->Left() + 150, form->Top())),
              HTOBJECT);
    skinForm->SetRollUpState(false);
    EXPECT_EQ(form->ClientHeight(), 245);
    // Without the roll-up icon, and while minimised, a roll-up is ignored.
    skinForm->SetBorderIcons(skin::biSystemMenu);
    skinForm->SetRollUpState(true);
    EXPECT_FALSE(skinForm->RollUpState());
    skinForm->SetBorderIcons(skin::biRollUp);
    skinForm->SetWindowState(gui::wsMinimized);
    skinForm->SetRollUpState(true);
    EXPECT_FALSE(skinForm->RollUpState());
}

TEST_F(WindowStateTest, CaptionDoubleClickMaximisesAResizableFormAndRollsUpADialog) {
    struct Case {
        const char* what;
        gui::TFormBorderStyle style;
        skin::TbsBorderIcons icons;
        gui::TWindowState first;
        bool rolledFirst;
    } cases[] = {
        {"sizeable",           gui::bsSizeable, skin::biSystemMenu | skin::biMaximize | skin::biRollUp,
         gui::wsMaximized,                                                                                             false},
        {"sizeable, no max",   gui::bsSizeable, skin::biRollUp,                                         gui::wsNormal, true },
        {"dialog",             gui::bsDialog,   skin::biSystemMenu | skin::biMaximize | skin::biRollUp, gui::wsNormal,
         true                                                                                                               },
        {"dialog, no roll-up", gui::bsDialog,   skin::biSystemMenu,                                     gui::wsNormal, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(300, 200);
        form->SetBorderStyle(c.style);
        skinForm->SetBorderIcons(c.icons);
        RunUntilIdle();
        int h = form->Height();
        DoubleClickCaption(100, 10);
        EXPECT_EQ(skinForm->WindowState(), c.first);
        EXPECT_EQ(skinForm->RollUpState(), c.rolledFirst);
        DoubleClickCaption(100, 10);
        EXPECT_EQ(skinForm->WindowState(), gui::wsNormal);
        EXPECT_FALSE(skinForm->RollUpState());
        EXPECT_EQ(form->Height(), h);
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(WindowStateTest, FormIsCentredOnItsFirstShowOnly) {
    form = MakeForm<gui::TForm>();
    form->SetBounds(0, 0, 340, 245);
    skinForm = new skin::TbsSkinForm(form);
    skinForm->PositionInMonitor = skin::TbsPositionInMonitor::bspDesktopCenter;
    form->Show();
    RunUntilIdle();
    RECT work = WorkArea();
    EXPECT_EQ(form->Left(), work.left + (work.right - work.left) / 2 - 170);
    EXPECT_EQ(form->Top(), work.top + (work.bottom - work.top) / 2 - 122);
    form->Hide();
    form->SetBounds(10, 10, 340, 245);
    form->Show();
    RunUntilIdle();
    EXPECT_EQ(form->Left(), 10);
}

// The notification-area icon as the form sees it.
class FakeTray : public skin::TbsFormTrayIcon {
public:
    std::vector<std::string> calls;
    std::function<void()> dblClick;
    gui::TCustomForm* main = nullptr;
    void SetMinimizeToTray(bool v) override { calls.push_back(v ? "tray on" : "tray off"); }
    void ShowMainForm() override {
        calls.push_back("show");
        main->Tag = skin::kTrayRestoreTag;
        PostMessage(main->Handle(), skin::WM_TRAYRESTORED, 0, 0);
    }
    void SetIconVisible(bool v) override { calls.push_back(v ? "icon" : "no icon"); }
    gui::TPopupMenu* menu = nullptr;
    bool HasPopupMenu() const override { return menu != nullptr; }
    void SetPopupMenu(gui::TPopupMenu* m) override { menu = m; }
    bool HasDblClickHandler() const override { return static_cast<bool>(dblClick); }
    void SetDblClickHandler(std::function<void()> h) override { dblClick = std::move(h); }
};

TEST_F(WindowStateTest, MinimiseToTrayAndBack) {
    Open();
    FakeTray tray;
    tray.main = form;
    skinForm->MinimizeToTray(); // no tray icon: nothing
    EXPECT_FALSE(gui::Application->Minimized());
    skinForm->SetTrayIcon(&tray);
    ASSERT_TRUE(tray.dblClick);
    EXPECT_EQ(tray.menu, skinForm->SysTrayMenu()); // the form's tray menu, when it has none
    skinForm->AlwaysMinimizeToTray = true;
    tray.calls.clear();
    skinForm->MinimizeCommand();
    EXPECT_TRUE(gui::Application->Minimized());
    tray.dblClick();
    RunUntilIdle();
    EXPECT_FALSE(gui::Application->Minimized());
    EXPECT_EQ(tray.calls, (std::vector<std::string>{"tray on", "tray off", "show", "no icon"}));
    EXPECT_EQ(form->Tag, 0);
    skinForm->SetTrayIcon(nullptr);
}

} // namespace

// The notification-area icon: the shell calls it makes, its texts cut to the fields, clicks
// told apart by the double-click time, the icon coming back after a restarted task bar, the
// icon index and the animation.
#include "MenuFixture.h"
#include "gui/Bitmap.h"
#include "gui/ImgList.h"
#include "shell/NotifyIcon.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinTrayIcon.h"
#include "win/Input.h"
#include "win/Window.h"

#include <string>
#include <vector>

using namespace menutest;

namespace {

class TrayIconTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        shell::NotifyArea::Clear();
        tray = new skin::TbsTrayIcon(form);
        tray->OnClick = [this](gui::TObject*) { events.push_back("click"); };
        tray->OnDblClick = [this](gui::TObject*) { events.push_back("dblclick"); };
        tray->OnBalloonHintClick = [this](gui::TObject*) { events.push_back("balloon"); };
        tray->OnMouseDown = [this](gui::TObject*, gui::TMouseButton b, gui::TShiftState, int, int) {
            events.push_back("down " + std::to_string(b));
        };
    }
    void TearDown() override {
        MenuTest::TearDown();
        shell::NotifyArea::Clear();
    }
    void Mouse(UINT m) {
        shell::NotifyArea::Mouse(tray->Handle(), 1, m);
        RunUntilIdle();
    }
    static std::vector<DWORD> CallKinds() {
        std::vector<DWORD> kinds;
        for (const auto& c : shell::NotifyArea::Calls()) kinds.push_back(c.message);
        return kinds;
    }
    static std::string Tip() {
        auto icons = shell::NotifyArea::Icons();
        return icons.empty() ? "<none>" : icons[0].tip;
    }
    static size_t Chars(const std::string& s) {
        size_t n = 0;
        for (unsigned char c : s) n += (c & 0xC0) != 0x80;
        return n;
    }

    skin::TbsTrayIcon* tray = nullptr;
    std::vector<std::string> events;
};

} // namespace

TEST_F(TrayIconTest, AddModifyDeleteAndTheTexts) {
    tray->SetIconVisible(true);
    tray->SetHint("转换器");
    tray->SetIconVisible(false);
    EXPECT_EQ(CallKinds(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_DELETE}));
    for (const auto& c : shell::NotifyArea::Calls()) {
        EXPECT_TRUE(c.result);
        EXPECT_EQ(c.data.uID, 1u);
        EXPECT_EQ(c.data.uCallbackMessage, 2048u);
        EXPECT_EQ(c.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    }
    EXPECT_TRUE(shell::NotifyArea::Icons().empty());
    // Adding twice fails harmlessly and is told.
    EXPECT_TRUE(tray->ShowIcon());
    EXPECT_FALSE(tray->ShowIcon());
    EXPECT_EQ(shell::NotifyArea::Icons().size(), 1u);

    struct Case {
        std::string hint;
        bool show;
        size_t chars;
    };
    const Case cases[] = {
        {std::string(200, 'a'),     true,               127},
        {std::string(200 * 3 / 3,               'b'), false, 0},
        {"",              true,                      0                                      }
    };
    for (const Case& c : cases) {
        tray->SetShowHint(c.show);
        tray->SetHint(c.hint);
        EXPECT_EQ(Chars(Tip()), c.chars);
    }
    // Chinese text is cut by characters, never inside one.
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "转";
    tray->SetShowHint(true);
    tray->SetHint(wide);
    EXPECT_EQ(Tip(), wide.substr(0, 127 * 3));

    shell::NotifyArea::Clear();
    tray->ShowIcon();
    EXPECT_TRUE(tray->ShowBalloonHint(std::string(100, 't'), std::string(300, 'x'),
                                      skin::TbsBalloonHintIcon::bsbitWarning));
    auto calls = shell::NotifyArea::Calls();
    ASSERT_EQ(calls.size(), 3u); // add, the hide before, the balloon
    EXPECT_NE(calls[1].data.uFlags & NIF_INFO, 0u);
    EXPECT_EQ(calls[1].data.szInfo[0], '\0');
    EXPECT_NE(calls[2].data.uFlags & NIF_INFO, 0u);
    EXPECT_EQ(std::string(calls[2].data.szInfoTitle), std::string(63, 't'));
    EXPECT_EQ(std::string(calls[2].data.szInfo), std::string(255, 'x'));
    EXPECT_EQ(calls[2].data.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(tray->Data().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    tray->SetIconVisible(false);
}

TEST_F(TrayIconTest, ClickAndDoubleClickByTheDoubleClickTime) {
    const int dbl = static_cast<int>(GetDoubleClickTime());
    ASSERT_TRUE(tray->ShowIcon());
    // Quick single click: told once the double-click time has passed.
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0"}));
    Advance(dbl + 20);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0", "click"}));
    // Slow single click: told at the release.
    events.clear();
    Mouse(WM_LBUTTONDOWN);
    Advance(dbl + 20);
    EXPECT_TRUE(std::find(events.begin(), events.end(), "click") == events.end());
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0", "click"}));
    // Double click: the double click and the default menu command, no click.
    auto* menu = new skin::TbsSkinPopupMenu(form);
    gui::TMenuItem* open = Item(menu->Items(), "打开");
    Item(menu->Items(), "退出");
    open->SetDefault(true);
    open->OnClick = [this](gui::TObject*) { events.push_back("open"); };
    tray->SetPopupMenu(menu);
    events.clear();
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    Mouse(WM_LBUTTONUP);
    Advance(dbl + 20);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0", "dblclick", "open"}));
    // The right button opens the menu.
    Mouse(WM_RBUTTONDOWN);
    EXPECT_EQ(Levels(), 1);
    Manager()->Hide();
    RunUntilIdle();
    // Disabled: nothing is told, the icon still changes.
    tray->Enabled = false;
    events.clear();
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    shell::NotifyArea::BalloonClick(tray->Handle(), 1);
    Advance(dbl + 20);
    EXPECT_TRUE(events.empty());
    tray->Enabled = true;
    tray->ShowIcon();
    shell::NotifyArea::BalloonClick(tray->Handle(), 1);
    RunUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"balloon"}));
    tray->SetIconVisible(false);
}

TEST_F(TrayIconTest, ComesBackAfterTheTaskBarRestarts) {
    tray->SetHint("tip");
    tray->ShowIcon();
    shell::NotifyArea::RestartTaskbar();
    RunUntilIdle();
    ASSERT_EQ(shell::NotifyArea::Icons().size(), 1u);
    EXPECT_EQ(Tip(), "tip");
    // Hidden, it stays away.
    tray->SetIconVisible(false);
    shell::NotifyArea::RestartTaskbar();
    RunUntilIdle();
    EXPECT_TRUE(shell::NotifyArea::Icons().empty());
}

TEST_F(TrayIconTest, IconIndexAndAnimation) {
    gui::TImageList list(nullptr);
    list.SetSize(16, 16);
    // An empty list counts as no list.
    tray->SetIconList(&list);
    tray->SetIconIndex(2);
    EXPECT_EQ(tray->IconIndex(), 0);
    gui::TBitmap b;
    b.SetSize(64, 16);
    list.Add(&b, nullptr);
    ASSERT_EQ(list.Count(), 4);
    tray->SetIconIndex(10);
    EXPECT_EQ(tray->IconIndex(), 3);
    tray->SetIconIndex(-4);
    EXPECT_EQ(tray->IconIndex(), 0);

    std::vector<int> shown, next;
    tray->OnCycle = [&](gui::TObject*, int n) {
        shown.push_back(tray->IconIndex());
        next.push_back(n);
    };
    tray->SetAnimateTimerInterval(100);
    tray->SetCycleIcons(true);
    Advance(100 * 5 + 50);
    tray->SetCycleIcons(false);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(next, (std::vector<int>{1, 2, 3, 0, 1}));
    tray->SetIconList(nullptr);
}

TEST_F(TrayIconTest, MinimiseToTrayAndBack) {
    gui::TForm* main = nullptr;
    gui::Application->CreateForm(main);
    ASSERT_EQ(gui::Application->MainForm(), main);
    main->SetBounds(150, 150, 300, 200);
    main->Show();
    RunUntilIdle();
    tray->MinimizeToTray = false; // the fixture's icon stays out of it
    auto* icon = new skin::TbsTrayIcon(main);
    icon->SetIconVisible(false);
    shell::NotifyArea::Clear();
    gui::Application->Minimize();
    RunUntilIdle();
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(main->Tag, skin::kTrayRestoreTag);
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_EQ(CallKinds(), (std::vector<DWORD>{NIM_ADD}));

    main->Tag = 0;
    icon->ShowMainForm();
    EXPECT_TRUE(main->Visible());
    EXPECT_FALSE(gui::Application->Minimized());
    EXPECT_EQ(main->Tag, skin::kTrayRestoreTag);
    MSG m;
    EXPECT_TRUE(PeekMessage(&m, main->Handle(), skin::WM_TRAYRESTORED, skin::WM_TRAYRESTORED, PM_NOREMOVE));
    RunUntilIdle();
    // Shown by a plain show call while in the tray: the application's window comes back too.
    gui::Application->Minimize();
    RunUntilIdle();
    ASSERT_FALSE(main->Visible());
    EXPECT_TRUE(gui::Application->Minimized());
    main->Show();
    RunUntilIdle();
    EXPECT_FALSE(gui::Application->Minimized());
    EXPECT_TRUE(IsWindowVisible(gui::Application->Handle()));
    // Switched off, minimising leaves the form alone.
    icon->MinimizeToTray = false;
    gui::Application->Minimize();
    RunUntilIdle();
    EXPECT_TRUE(main->Visible());
    gui::Application->Restore();
    RunUntilIdle();
    // The first icon goes while the later one still sits on top of it: the application's
    // messages keep flowing through both.
    delete tray;
    tray = nullptr;
    icon->SetIconVisible(true);
    shell::NotifyArea::RestartTaskbar();
    RunUntilIdle();
    EXPECT_EQ(shell::NotifyArea::Icons().size(), 1u);
    delete main;
}

TEST_F(TrayIconTest, ADesktopWithoutATrayNeverHidesTheMainForm) {
    gui::TForm* main = nullptr;
    gui::Application->CreateForm(main);
    main->SetBounds(150, 150, 300, 200);
    main->Show();
    RunUntilIdle();
    tray->MinimizeToTray = false;
    auto* icon = new skin::TbsTrayIcon(main);
    icon->SetIconVisible(false);
    // The desktop's dock refuses every icon.
    shell::NotifyArea::SetBackend(
        [](DWORD message, const shell::NotifyArea::Icon&, UINT) { return message != NIM_ADD; });
    EXPECT_FALSE(icon->ShowIcon());
    EXPECT_TRUE(shell::NotifyArea::Icons().empty());
    gui::Application->Minimize();
    RunUntilIdle();
    // Minimised, not hidden: the task bar still brings it back.
    EXPECT_TRUE(main->Visible());
    EXPECT_NE(main->Tag, skin::kTrayRestoreTag);
    gui::Application->Restore();
    RunUntilIdle();
    shell::NotifyArea::SetBackend(nullptr);
    delete main;
}

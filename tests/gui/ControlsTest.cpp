#include "GuiHarness.h"
#include "gui/GraphicControl.h"
#include "gui/PopupMenu.h"
#include "gui/ShortCuts.h"
#include "gui/StdCtrls.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <stdexcept>
#include <string>
#include <vector>

using namespace gui;

namespace {

std::vector<std::string> g_events;

// Records the control notices it gets and paints itself in its colour.
template <class Base> class Probe : public Base {
public:
    Probe(TComponent* owner, const std::string& name, TWinControl* parent, TRect bounds) : Base(owner) {
        this->SetName(name);
        this->SetBoundsRect(bounds);
        this->SetParent(parent);
    }
    bool paints = true;
    bool throws = false;

protected:
    void CMMouseEnter(TMessage& m) override {
        g_events.push_back("enter " + this->Name());
        Base::CMMouseEnter(m);
    }
    void CMMouseLeave(TMessage& m) override {
        g_events.push_back("leave " + this->Name());
        Base::CMMouseLeave(m);
    }
    void Paint() override {
        if (throws) throw std::runtime_error("paint " + this->Name());
        if (!paints) return;
        this->Canvas()->Brush()->SetColor(this->Color());
        this->Canvas()->FillRect(this->ClientRect());
    }
};
using Windowed = Probe<TCustomControl>;
using Windowless = Probe<TGraphicControl>;

class ProbeForm : public TForm {
public:
    explicit ProbeForm(TComponent* owner) : TForm(owner) {
        SetName("F");
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
    }

protected:
    void CMMouseEnter(TMessage& m) override {
        g_events.push_back("enter F");
        TForm::CMMouseEnter(m);
    }
    void CMMouseLeave(TMessage& m) override {
        g_events.push_back("leave F");
        TForm::CMMouseLeave(m);
    }
};

class ControlsTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        g_events.clear();
    }
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(g_events);
        return out;
    }
};

using V = std::vector<std::string>;

TEST_F(ControlsTest, AlignedControlsStackByPositionAndFollowTheParent) {
    auto* f = MakeForm<ProbeForm>();
    auto* top1 = new Windowless(f, "Top1", f, Bounds(0, 0, 10, 30));
    auto* top2 = new Windowless(f, "Top2", f, Bounds(0, 100, 10, 20));
    auto* bottom = new Windowless(f, "Bottom", f, Bounds(0, 0, 10, 25));
    auto* left = new Windowed(f, "Left", f, Bounds(0, 0, 50, 10));
    auto* right = new Windowless(f, "Right", f, Bounds(0, 0, 40, 10));
    auto* client = new Windowed(f, "Client", f, Bounds(0, 0, 1, 1));
    top1->SetAlign(alTop);
    top2->SetAlign(alTop);
    bottom->SetAlign(alBottom);
    left->SetAlign(alLeft);
    right->SetAlign(alRight);
    client->SetAlign(alClient);
    f->Show();
    RunUntilIdle();

    EXPECT_EQ(top1->BoundsRect(), Rect(0, 0, 400, 30));
    EXPECT_EQ(top2->BoundsRect(), Rect(0, 30, 400, 50));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 275, 400, 300));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 50, 50, 275));
    EXPECT_EQ(right->BoundsRect(), Rect(360, 50, 400, 275));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 50, 360, 275));

    // Moved to the top, the second one goes first.
    top2->SetTop(0);
    EXPECT_EQ(top2->BoundsRect(), Rect(0, 0, 400, 20));
    EXPECT_EQ(top1->BoundsRect(), Rect(0, 20, 400, 50));

    // Hidden controls give their room away; the parent's new size reaches every side.
    top1->Hide();
    f->SetBounds(100, 100, 500, 400);
    RunUntilIdle();
    EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 50, 375));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 20, 460, 375));
    EXPECT_EQ(RectWidth(client->ClientRect()), 410); // the window followed
}

TEST_F(ControlsTest, AnchorsAndConstraintsOnParentResize) {
    auto* f = MakeForm<ProbeForm>();
    auto* corner = new Windowless(f, "Corner", f, Bounds(300, 200, 20, 20));
    auto* stretch = new Windowed(f, "Stretch", f, Bounds(10, 10, 100, 20));
    auto* fixed = new Windowless(f, "Fixed", f, Bounds(10, 50, 20, 20));
    corner->SetAnchors(akRight | akBottom);
    stretch->SetAnchors(akLeft | akTop | akRight);
    stretch->Constraints()->SetMaxWidth(150);
    f->Show();
    f->SetBounds(100, 100, 500, 350);
    RunUntilIdle();
    EXPECT_EQ(corner->BoundsRect(), Bounds(400, 250, 20, 20));
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 150, 20)); // 200 asked, 150 allowed
    EXPECT_EQ(fixed->BoundsRect(), Bounds(10, 50, 20, 20));
    // Back to the first size: anchoring measures from where it started, not from the clamp.
    f->SetBounds(100, 100, 400, 300);
    RunUntilIdle();
    EXPECT_EQ(corner->BoundsRect(), Bounds(300, 200, 20, 20));
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 100, 20));
}

TEST_F(ControlsTest, LoadingDefersAlignmentResizeAndChildWindows) {
    auto* f = MakeForm<ProbeForm>();
    f->Show();
    RunUntilIdle();
    int resizes = 0;
    f->BeginLoading();
    auto* panel = new Windowed(f, "Panel", f, Bounds(5, 5, 10, 10));
    panel->OnResize = [&](TObject*) { ++resizes; };
    panel->SetAlign(alClient);
    panel->SetBounds(0, 0, 30, 30);
    EXPECT_TRUE(panel->Loading());
    EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, 30, 30));
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_EQ(resizes, 0);
    f->EndLoading();
    EXPECT_EQ(panel->BoundsRect(), Rect(0, 0, 400, 300));
    EXPECT_TRUE(panel->HandleAllocated());
    EXPECT_TRUE(IsChild(f->Handle(), panel->Handle()));
    EXPECT_GE(resizes, 1);
}

TEST_F(ControlsTest, MouseEnterAndLeaveOncePerChangeForWindowedAndWindowlessControls) {
    auto* f = MakeForm<ProbeForm>();
    auto* a = new Windowed(f, "A", f, Bounds(10, 10, 100, 100));
    auto* b = new Windowless(f, "B", f, Bounds(200, 10, 100, 100));
    f->Show();
    RunUntilIdle();
    Take();

    MoveTo(f, 350, 250);
    EXPECT_EQ(Take(), V({"enter F"}));
    MoveTo(a, 50, 50);
    EXPECT_EQ(Take(), V({"leave F", "enter A"}));
    MoveTo(a, 60, 60);
    EXPECT_EQ(Take(), V{});
    MoveTo(f, 150, 50);
    EXPECT_EQ(Take(), V({"leave A", "enter F"}));
    MoveTo(b, 50, 50);
    EXPECT_EQ(Take(), V({"leave F", "enter B"}));
    MoveTo(b, 60, 60);
    EXPECT_EQ(Take(), V{});
    D().MoveMouse(1200, 900);
    RunUntilIdle();
    EXPECT_EQ(Take(), V({"leave B"}));

    // A disabled windowless control still hears of the mouse (its hint shows).
    b->SetEnabled(false);
    MoveTo(b, 50, 50);
    EXPECT_EQ(Take(), V({"enter B"}));
    MoveTo(f, 150, 50);
    EXPECT_EQ(Take(), V({"leave B", "enter F"}));
    b->SetEnabled(true);
    D().MoveMouse(1200, 900);
    RunUntilIdle();
    Take();

    // Under capture the control under the mouse still decides, once per change.
    MoveTo(b, 50, 50);
    Take();
    D().Press(0);
    RunUntilIdle();
    EXPECT_EQ(CaptureControl(), b);
    MoveTo(f, 350, 250);
    MoveTo(f, 360, 260);
    EXPECT_EQ(Take(), V({"leave B", "enter F"}));
    D().Release(0);
    RunUntilIdle();
    EXPECT_EQ(CaptureControl(), nullptr);
    EXPECT_EQ(Take(), V{});

    // A control that goes away is not left afterwards.
    MoveTo(a, 5, 5);
    Take();
    delete a;
    EXPECT_EQ(MouseControl(), nullptr);
    EXPECT_EQ(Take(), V{});
}

TEST_F(ControlsTest, WindowlessChildrenGetTheirMouseMessagesAndClicks) {
    auto* f = MakeForm<ProbeForm>();
    auto* b = new Windowless(f, "B", f, Bounds(200, 10, 100, 100));
    std::vector<std::string> got;
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        got.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    b->OnClick = [&](TObject*) { got.push_back("click"); };
    f->Show();
    RunUntilIdle();
    ClickAt(b, 7, 8);
    EXPECT_EQ(got, V({"down 7,8", "click"}));
    // Released outside: no click.
    got.clear();
    MoveTo(b, 7, 8);
    D().Press(0);
    MoveTo(f, 10, 250);
    D().Release(0);
    RunUntilIdle();
    EXPECT_EQ(got, V({"down 7,8"}));
}

TEST_F(ControlsTest, OpaqueWindowlessChildrenAreClippedOutOfTheParentsPaint) {
    auto* f = MakeForm<ProbeForm>();
    auto* parent = new Windowed(f, "P", f, Bounds(0, 0, 200, 100));
    parent->SetColor(clRed); // its erase brush too
    auto* opaque = new Windowless(f, "O", parent, Bounds(10, 10, 30, 30));
    auto* clear = new Windowless(f, "C", parent, Bounds(100, 10, 30, 30));
    opaque->ControlStyle |= csOpaque;
    opaque->paints = false;
    clear->paints = false;
    f->Show();
    RunUntilIdle();
    // Erased red under both, painted red except under the opaque child.
    parent->Color(); // unchanged
    EXPECT_EQ(PixelAt(clear, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(parent, 150, 80), RGB(255, 0, 0));
    parent->Brush()->SetColor(clBlue); // now erase blue, paint red
    parent->Repaint();
    RunUntilIdle();
    EXPECT_EQ(PixelAt(opaque, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(clear, 5, 5), RGB(255, 0, 0));
}

TEST_F(ControlsTest, APaintThatThrowsInAWindowlessChildStillEndsTheParentsPaint) {
    auto* f = MakeForm<ProbeForm>();
    auto* parent = new Windowed(f, "P", f, Bounds(0, 0, 200, 100));
    auto* child = new Windowless(f, "C", parent, Bounds(10, 10, 30, 30));
    f->Show();
    RunUntilIdle();
    // The paint hides the parent's caret until it ends.
    ASSERT_TRUE(CreateCaret(parent->Handle(), nullptr, 1, 10));
    ShowCaret(parent->Handle());
    ASSERT_EQ(win::GetCaretState().hideCount, 0);
    child->throws = true;
    InvalidateRect(parent->Handle(), nullptr, FALSE);
    EXPECT_THROW(parent->Perform(WM_PAINT, 0, 0), std::runtime_error);
    EXPECT_EQ(win::GetCaretState().hideCount, 0);
    child->throws = false;
    DestroyCaret();
}

TEST_F(ControlsTest, ReplacedWindowProcSeesEverythingAndSurvivesRecreation) {
    auto* f = MakeForm<ProbeForm>();
    auto* a = new Windowed(f, "A", f, Bounds(10, 10, 50, 50));
    a->SetCaption("child");
    f->Show();
    RunUntilIdle();
    TWndMethod old = f->WindowProc;
    int texts = 0;
    f->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_USER + 7) {
            m.Result = 42;
            return;
        }
        if (m.Msg == WM_SETTEXT) ++texts;
        old(m);
    };
    f->SetCaption("标题");
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(GetWindowTextString(f->Handle()), "标题");

    HWND before = f->Handle();
    f->RecreateWnd();
    HWND after = f->Handle();
    EXPECT_NE(after, before); // made anew, the old window gone
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(SendMessage(after, WM_USER + 7, 0, 0), 42);
    EXPECT_EQ(GetWindowTextString(after), "标题");
    EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 400, 300));
    EXPECT_TRUE(IsWindowVisible(after));
    ASSERT_TRUE(a->HandleAllocated());
    EXPECT_TRUE(IsChild(after, a->Handle()));
    EXPECT_EQ(GetWindowTextString(a->Handle()), "child");
    EXPECT_EQ(a->BoundsRect(), Bounds(10, 10, 50, 50));
    EXPECT_EQ(FindControl(a->Handle()), a);
    f->WindowProc = old;
}

// A native control that keeps what is typed into it without WM_SETTEXT, as an edit does.
LRESULT TypingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR) {
        std::string text = GetWindowTextString(h) + static_cast<char>(wp);
        return DefWindowProc(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return DefWindowProc(h, msg, wp, lp);
}

class TypingControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::string ClassName() const override { return "TTypingControl"; }

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        static bool registered = [] {
            WNDCLASS wc{};
            wc.lpfnWndProc = TypingProc;
            wc.lpszClassName = "TypingBox";
            return RegisterClass(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        CreateSubClass(p, "TypingBox");
    }
};

TEST_F(ControlsTest, RecreationKeepsTextTheWindowChangedByItself) {
    auto* f = MakeForm<ProbeForm>();
    auto* box = new TypingControl(f);
    box->SetParent(f);
    box->SetBounds(10, 10, 100, 20);
    box->SetText("视");
    f->Show();
    RunUntilIdle();
    SendMessage(box->Handle(), WM_CHAR, 'a', 0);
    SendMessage(box->Handle(), WM_CHAR, 'b', 0);
    HWND before = box->Handle();
    f->RecreateWnd();
    ASSERT_NE(box->Handle(), before);
    EXPECT_EQ(GetWindowTextString(box->Handle()), "视ab");
    EXPECT_EQ(box->Text(), "视ab");
}

TEST_F(ControlsTest, ConstraintsHoldForTheWindowAndAFormsClientSizeBeforeItsWindow) {
    auto* f = MakeForm<ProbeForm>();
    f->SetBorderStyle(bsSizeable);
    auto* client = new Windowed(f, "Client", f, Bounds(0, 0, 1, 1));
    client->SetAlign(alClient);
    auto* narrow = new Windowed(f, "Narrow", f, Bounds(0, 0, 40, 20));
    narrow->Constraints()->SetMaxWidth(50);
    ASSERT_FALSE(f->HandleAllocated());
    TRect early = f->ClientRect();
    EXPECT_LT(RectWidth(early), 400); // the frame is not client area
    EXPECT_EQ(client->BoundsRect(), early);
    f->Show();
    RunUntilIdle();
    EXPECT_EQ(f->ClientRect(), early); // what the window gave
    EXPECT_EQ(client->BoundsRect(), early);

    f->Constraints()->SetMinWidth(200);
    f->Constraints()->SetMinHeight(150);
    f->Constraints()->SetMaxWidth(450);
    f->Constraints()->SetMaxHeight(350);
    MINMAXINFO mmi{};
    SendMessage(f->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 200);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 150);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, 450);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, 350);
    const std::pair<POINT, POINT> sizes[] = {
        {{1000, 1000}, {450, 350}},
        {{10, 10},     {200, 150}},
        {{300, 200},   {300, 200}},
    };
    for (auto [asked, got] : sizes) {
        SetWindowPos(f->Handle(), nullptr, 0, 0, asked.x, asked.y, SWP_NOMOVE | SWP_NOZORDER);
        RECT r;
        GetWindowRect(f->Handle(), &r);
        EXPECT_EQ(RectWidth(r), got.x) << asked.x;
        EXPECT_EQ(RectHeight(r), got.y) << asked.y;
        EXPECT_EQ(f->Width(), got.x);
    }
    SetWindowPos(narrow->Handle(), nullptr, 0, 0, 200, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(narrow->Width(), 50);
    RECT r;
    GetWindowRect(narrow->Handle(), &r);
    EXPECT_EQ(RectWidth(r), 50);
}

TEST_F(ControlsTest, TabOrderFocusAndEnterExit) {
    auto* f = MakeForm<ProbeForm>();
    std::vector<std::string> log;
    TButton* b[3];
    for (int i = 0; i < 3; ++i) {
        b[i] = new TButton(f);
        b[i]->SetName("B" + std::to_string(i));
        b[i]->SetParent(f);
        b[i]->SetBounds(10, 10 + 30 * i, 75, 25);
        b[i]->OnEnter = [&, i](TObject*) { log.push_back("enter " + std::to_string(i)); };
        b[i]->OnExit = [&, i](TObject*) { log.push_back("exit " + std::to_string(i)); };
    }
    b[2]->SetTabOrder(1); // order: 0, 2, 1
    f->Show();
    b[0]->SetFocus();
    RunUntilIdle();
    EXPECT_TRUE(b[0]->Focused());
    EXPECT_EQ(f->ActiveControl(), b[0]);
    log.clear();
    PressKey(VK_TAB);
    EXPECT_TRUE(b[2]->Focused());
    PressKey(VK_TAB);
    EXPECT_TRUE(b[1]->Focused());
    EXPECT_EQ(Screen->ActiveControl(), b[1]);
    D().KeyDown(VK_SHIFT);
    PressKey(VK_TAB);
    D().KeyUp(VK_SHIFT);
    RunUntilIdle();
    EXPECT_TRUE(b[2]->Focused());
    EXPECT_EQ(log, V({"exit 0", "enter 2", "exit 2", "enter 1", "exit 1", "enter 2"}));
    // Disabled controls are skipped; disabling or hiding the focused one gives the focus to
    // the form, and the control hears OnExit.
    b[0]->SetEnabled(false);
    PressKey(VK_TAB);
    EXPECT_TRUE(b[1]->Focused());
    log.clear();
    b[1]->SetEnabled(false);
    RunUntilIdle();
    EXPECT_EQ(GetFocus(), f->Handle());
    EXPECT_EQ(f->ActiveControl(), nullptr);
    b[2]->SetFocus();
    b[2]->Hide();
    RunUntilIdle();
    EXPECT_EQ(GetFocus(), f->Handle());
    EXPECT_EQ(f->ActiveControl(), nullptr);
    EXPECT_EQ(Screen->ActiveControl(), f);
    EXPECT_EQ(log, V({"exit 1", "enter 2", "exit 2"}));
}

TEST_F(ControlsTest, ActiveControlBeforeShowingAndAClickedButtonTakesTheFocus) {
    auto* f = MakeForm<ProbeForm>();
    TButton* b[2];
    for (int i = 0; i < 2; ++i) {
        b[i] = new TButton(f);
        b[i]->SetParent(f);
        b[i]->SetBounds(10, 10 + 30 * i, 75, 25);
    }
    f->SetActiveControl(b[1]); // the open and folder dialogs do this before ShowModal
    f->Show();
    RunUntilIdle();
    EXPECT_TRUE(b[1]->Focused());
    std::vector<std::string> log;
    b[0]->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        log.push_back(b[0]->Focused() ? "down focused" : "down");
    };
    ClickAt(b[0], 5, 5);
    EXPECT_TRUE(b[0]->Focused());
    EXPECT_EQ(f->ActiveControl(), b[0]);
    EXPECT_EQ(log, V({"down focused"}));
    b[1]->Hide();
    EXPECT_THROW(f->SetActiveControl(b[1]), EInvalidOperation);
}

TEST_F(ControlsTest, DestroyingTheFocusedControlHandsTheFocusBack) {
    auto* f = MakeForm<ProbeForm>();
    auto* other = MakeForm<TForm>();
    other->SetLeft(600);
    auto* panel = new Windowed(f, "P", f, Bounds(0, 0, 200, 200));
    auto* a = new TButton(f);
    a->SetParent(panel);
    auto* b = new TButton(f);
    b->SetParent(f);
    b->SetTop(250);
    f->Show();
    RunUntilIdle();
    ::SetFocus(a->Handle()); // focused by the window system, as a native control may be
    RunUntilIdle();
    ASSERT_EQ(Screen->ActiveControl(), a);
    delete a;
    RunUntilIdle();
    EXPECT_EQ(GetFocus(), f->Handle());
    EXPECT_EQ(f->ActiveControl(), nullptr);
    EXPECT_EQ(Screen->ActiveControl(), f);
    // The form goes on working: another form takes the activation and gives it back.
    other->Show();
    RunUntilIdle();
    SetActiveWindow(f->Handle());
    RunUntilIdle();
    EXPECT_EQ(GetFocus(), f->Handle());
    ::SetFocus(b->Handle());
    delete panel; // holds nothing focused: the focus stays
    EXPECT_TRUE(b->Focused());
    delete f;
    EXPECT_NE(Screen->ActiveControl(), b);
}

TEST_F(ControlsTest, TearDownKnowsItIsDestroyingFromTheStart) {
    auto* f = MakeForm<ProbeForm>();
    auto* a = new Windowed(f, "A", f, Bounds(10, 10, 50, 50));
    f->Show();
    RunUntilIdle();
    std::vector<std::string> seen;
    auto watch = [&](TControl* c) {
        TWndMethod old = c->WindowProc;
        c->WindowProc = [&seen, c, old](TMessage& m) {
            if (m.Msg == WM_DESTROY) seen.push_back(c->Name() + (c->Destroying() ? " destroying" : " alive"));
            old(m);
        };
    };
    watch(f);
    watch(a);
    f->OnDestroy = [&](TObject*) {
        seen.push_back(std::string("OnDestroy ") + (f->Destroying() ? "destroying" : "alive"));
    };
    delete f;
    EXPECT_EQ(seen, V({"OnDestroy destroying", "A destroying", "F destroying"}));
}

TEST_F(ControlsTest, TheFocusedControlsPopupMenuIsOfferedShortcutsFirst) {
    auto* f = MakeForm<ProbeForm>();
    auto* panel = new Windowed(f, "P", f, Bounds(0, 0, 200, 200));
    auto* button = new TButton(f);
    button->SetParent(panel);
    std::vector<std::string> log;
    auto menuWith = [&](const std::string& name, TShortCut sc) {
        auto* menu = new TPopupMenu(f);
        auto* item = new TMenuItem(f);
        item->SetShortCut(sc);
        item->OnClick = [&log, name](TObject*) { log.push_back(name); };
        menu->Items()->Add(item);
        return menu;
    };
    button->SetPopupMenu(menuWith("copy", ShortCut('C', ssCtrl)));
    panel->SetPopupMenu(menuWith("refresh", ShortCut(VK_F5, 0)));
    f->OnShortCut = [&](TMessage& m, bool& handled) {
        if (m.WParam == VK_F5 || m.WParam == 'C') log.push_back("form"), handled = true;
    };
    f->Show();
    button->SetFocus();
    RunUntilIdle();
    D().KeyDown(VK_CONTROL);
    PressKey('C');
    D().KeyUp(VK_CONTROL);
    PressKey(VK_F5); // the parent's menu
    PressKey('C');   // no menu wants plain C: the form's turn
    EXPECT_EQ(log, V({"copy", "refresh", "form"}));
}

TEST_F(ControlsTest, KeyPreviewShortcutsAndDialogKeys) {
    auto* f = MakeForm<ProbeForm>();
    auto* ok = new TButton(f);
    ok->SetParent(f);
    ok->Default = true;
    auto* other = new TButton(f);
    other->SetParent(f);
    other->SetTop(40);
    std::vector<std::string> log;
    ok->OnClick = [&](TObject*) { log.push_back("ok"); };
    other->OnClick = [&](TObject*) { log.push_back("other"); };
    other->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        log.push_back("control " + std::to_string(key));
    };
    f->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        log.push_back("form " + std::to_string(key));
        if (key == 'X') key = 0; // the form takes it
    };
    f->OnShortCut = [&](TMessage& m, bool& handled) {
        if (m.WParam == VK_F5) log.push_back("shortcut"), handled = true;
    };
    f->KeyPreview = true;
    f->Show();
    other->SetFocus();
    RunUntilIdle();
    PressKey('A');
    PressKey('X');
    PressKey(VK_F5);
    PressKey(VK_RETURN); // a focused button takes Enter from the default one
    D().KeyDown(VK_MENU);
    PressKey('A'); // no accelerator: nothing
    D().KeyUp(VK_MENU);
    RunUntilIdle();
    // Alt and Alt+A are key-downs too (WM_SYSKEYDOWN); no button has A as accelerator.
    EXPECT_EQ(log, V({"form 65", "control 65", "form 88", "shortcut", "other", "form 18", "control 18",
                      "form 65", "control 65"}));
}

} // namespace

// Multiple-document forms: the client window of an MDI form, its children, their activation,
// states and arrangements, through the class library and the window system beneath it.
#include "win/Mdi.h"
#include "GuiHarness.h"
#include "gui/CustomPanel.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class MdiTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Application->CreateForm(frame);
        ASSERT_EQ(Application->MainForm(), frame);
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(0, 0, 640, 480);
        frame->OnActivate = nullptr;
        frame->Show();
        RunUntilIdle();
        ASSERT_NE(frame->ClientHandle(), nullptr);
    }
    TForm* Child(const std::string& name, TRect bounds = {10, 10, 210, 160}) {
        auto* c = MakeForm<TForm>();
        c->SetName(name);
        c->SetCaption(name);
        c->SetFormStyle(fsMDIChild);
        c->SetBoundsRect(bounds);
        c->OnActivate = [this, c](TObject*) { log.push_back("+" + c->Name()); };
        c->OnDeactivate = [this, c](TObject*) { log.push_back("-" + c->Name()); };
        c->Show();
        RunUntilIdle();
        return c;
    }
    // The window's rectangle in its client window's coordinates.
    static TRect In(TForm* f) {
        RECT r;
        GetWindowRect(f->Handle(), &r);
        POINT o{0, 0};
        ClientToScreen(GetParent(f->Handle()), &o);
        return Rect(r.left - o.x, r.top - o.y, r.right - o.x, r.bottom - o.y);
    }
    static TRect ClientArea(TForm* frame) {
        RECT r;
        GetClientRect(frame->ClientHandle(), &r);
        return r;
    }
    TForm* frame = nullptr;
    std::vector<std::string> log;
};

TEST_F(MdiTest, ChildrenListInTheOrderMadeAndActivationFollowsShowingClickingAndClosing) {
    TForm* a = Child("a");
    TForm* b = Child("b", {40, 40, 240, 190});
    TForm* c = Child("c", {300, 200, 500, 350});
    ASSERT_EQ(frame->MDIChildCount(), 3);
    EXPECT_EQ(frame->MDIChildren(0), a);
    EXPECT_EQ(frame->MDIChildren(2), c);
    EXPECT_EQ(frame->MDIChildren(3), nullptr);
    EXPECT_EQ(GetParent(a->Handle()), frame->ClientHandle());
    // Each child shown becomes the active one: the one before hears it lost the activation.
    EXPECT_EQ(log, (std::vector<std::string>{"+a", "-a", "+b", "-b", "+c"}));
    EXPECT_EQ(frame->ActiveMDIChild(), c);
    EXPECT_TRUE(c->Active());
    EXPECT_FALSE(a->Active());
    EXPECT_EQ(GetFocus(), c->Handle());

    // A click into a child behind the others brings it to the front and makes it active.
    log.clear();
    ClickAt(a, 5, 5);
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(log, (std::vector<std::string>{"-c", "+a"}));
    EXPECT_EQ(GetWindow(frame->ClientHandle(), GW_CHILD), a->Handle());
    EXPECT_EQ(GetFocus(), a->Handle());

    // Closing the active child hands the activation to the frontmost other one.
    a->Close();
    RunUntilIdle();
    EXPECT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(frame->MDIChildren(0), b);
    EXPECT_EQ(frame->ActiveMDIChild(), c);
    // Hiding one does the same; the last one gone leaves none active.
    c->Hide();
    RunUntilIdle();
    EXPECT_EQ(frame->ActiveMDIChild(), b);
    b->Close();
    c->Close();
    RunUntilIdle();
    EXPECT_EQ(frame->MDIChildCount(), 0);
    EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
}

TEST_F(MdiTest, NextAndPreviousStepThroughTheChildren) {
    TForm* a = Child("a");
    TForm* b = Child("b");
    TForm* c = Child("c");
    std::vector<TCustomForm*> seen;
    for (int i = 0; i < 3; ++i) {
        frame->Next();
        seen.push_back(frame->ActiveMDIChild());
    }
    EXPECT_EQ(seen, (std::vector<TCustomForm*>{b, a, c}));
    frame->Previous();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
}

TEST_F(MdiTest, AMaximisedChildFillsTheClientAndPassesTheStateOnWhenAnotherIsActivated) {
    TForm* a = Child("a", {10, 20, 210, 170});
    TForm* b = Child("b", {50, 60, 250, 210});
    b->SetWindowState(wsMaximized);
    RunUntilIdle();
    RECT client;
    GetClientRect(b->Handle(), &client);
    TRect area = ClientArea(frame);
    // The frame lies outside the client window: only the child's client area shows.
    EXPECT_EQ(client.right, RectWidth(area));
    EXPECT_EQ(client.bottom, RectHeight(area));
    POINT origin{0, 0};
    ClientToScreen(b->Handle(), &origin);
    POINT clientOrigin{0, 0};
    ClientToScreen(frame->ClientHandle(), &clientOrigin);
    EXPECT_EQ(origin.x, clientOrigin.x);
    EXPECT_EQ(origin.y, clientOrigin.y);

    // The client's new size reaches the maximised child.
    frame->SetBounds(0, 0, 700, 520);
    RunUntilIdle();
    GetClientRect(b->Handle(), &client);
    EXPECT_EQ(client.right, RectWidth(ClientArea(frame)));

    frame->Next();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_TRUE(IsZoomed(a->Handle()));
    EXPECT_FALSE(IsZoomed(b->Handle()));
    EXPECT_EQ(In(b), Rect(50, 60, 250, 210));
    a->SetWindowState(wsNormal);
    RunUntilIdle();
    EXPECT_EQ(In(a), Rect(10, 20, 210, 170));
}

TEST_F(MdiTest, MinimisedChildrenLineUpAlongTheBottomAndTheArrangementsShareTheClient) {
    TForm* kids[4] = {Child("a"), Child("b"), Child("c"), Child("d")};
    TRect area = ClientArea(frame);
    kids[0]->SetWindowState(wsMinimized);
    kids[2]->SetWindowState(wsMinimized);
    RunUntilIdle();
    TRect icon = In(kids[0]);
    EXPECT_EQ(icon.left, 0);
    EXPECT_EQ(icon.bottom, RectHeight(area));
    EXPECT_EQ(In(kids[2]).left, RectWidth(icon)); // the next free place on the row
    EXPECT_GT(RectHeight(icon), 0);
    // Moved away, the icons come back in a row when arranged.
    SetWindowPos(kids[2]->Handle(), nullptr, 300, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->ArrangeIcons();
    EXPECT_EQ(In(kids[2]).left, RectWidth(icon));
    EXPECT_EQ(In(kids[2]).bottom, RectHeight(area));

    // Tiling shares the client, less the icons' row, between the windows that are not
    // minimised; the icons stay where they are.
    frame->TileMode = TCustomForm::tbVertical;
    frame->Tile();
    int rowHeight = RectHeight(icon);
    EXPECT_EQ(In(kids[1]), Rect(0, 0, RectWidth(area) / 2, RectHeight(area) - rowHeight));
    EXPECT_EQ(In(kids[3]),
              Rect(RectWidth(area) / 2, 0, RectWidth(area) / 2 * 2, RectHeight(area) - rowHeight));
    EXPECT_EQ(In(kids[0]), icon);
    frame->TileMode = TCustomForm::tbHorizontal;
    frame->Tile();
    EXPECT_EQ(In(kids[3]), Rect(0, (RectHeight(area) - rowHeight) / 2, RectWidth(area),
                                (RectHeight(area) - rowHeight) / 2 * 2));

    // Cascading steps each window by a caption, the frontmost last.
    kids[0]->SetWindowState(wsNormal);
    kids[2]->SetWindowState(wsNormal);
    RunUntilIdle();
    frame->Cascade();
    HWND front = GetWindow(frame->ClientHandle(), GW_CHILD);
    TRect last = In(dynamic_cast<TForm*>(FindControl(front)));
    TRect first = In(dynamic_cast<TForm*>(FindControl(GetWindow(front, GW_HWNDLAST))));
    int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.top, 0);
    EXPECT_EQ(last.left, 3 * step);
    EXPECT_EQ(last.top, 3 * step);
    EXPECT_EQ(RectWidth(last), RectWidth(first));
    EXPECT_EQ(RectWidth(first), RectWidth(area) - 3 * step);
}

TEST_F(MdiTest, TheClientWindowTakesWhatTheAlignedControlsLeave) {
    auto* bar = new TPanel(frame);
    bar->SetParent(frame);
    bar->SetHeight(30);
    bar->SetAlign(alTop);
    RunUntilIdle();
    RECT r;
    GetWindowRect(frame->ClientHandle(), &r);
    POINT o{0, 0};
    ClientToScreen(frame->Handle(), &o);
    EXPECT_EQ(r.top - o.y, 30);
    EXPECT_EQ(r.bottom - r.top, frame->ClientHeight() - 30);
}

TEST_F(MdiTest, AChildNeedsAMultipleDocumentMainForm) {
    frame->SetFormStyle(fsNormal);
    EXPECT_EQ(frame->ClientHandle(), nullptr);
    auto* c = MakeForm<TForm>();
    c->SetFormStyle(fsMDIChild);
    EXPECT_THROW(c->Show(), EInvalidOperation);
}

} // namespace

// The skinned form on multiple-document forms: arranging the children, the window menu, a
// maximised child without a frame and the notices between child and main form.
#include "MdiFixture.h"

#include "skin/controls/SkinComboBox.h"
#include "win/Paint.h"

using namespace skinformtest;

namespace {

TEST_F(SkinMdiTest, TileGivesFiveChildrenTwoColumnsTheRightOneInThirds) {
    OpenMain(600, 450);
    for (int i = 1; i <= 5; ++i) Child("c" + std::to_string(i));
    SkinOf(children[1])->SetWindowState(gui::wsMaximized); // tiling restores it first
    RunUntilIdle();
    mainSkin->Tile();
    RunUntilIdle();
    gui::TRect want[5] = {
        gui::Bounds(0, 0, 300, 225),     gui::Bounds(0, 225, 300, 225),   gui::Bounds(300, 0, 300, 150),
        gui::Bounds(300, 150, 300, 150), gui::Bounds(300, 300, 300, 150),
    };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(BoundsOf(children[static_cast<size_t>(i)]), want[i]) << "child " << i + 1;
    EXPECT_EQ(SkinOf(children[1])->WindowState(), gui::wsNormal);
    EXPECT_FALSE(mainSkin->MDIChildMaximized());
}

TEST_F(SkinMdiTest, CascadeStepsByTheCaptionAndStartsOverAtTheEdge) {
    OpenMain(800, 600);
    // A single-border child keeps its own size.
    Child("c1", gui::Rect(5, 5, 205, 105), nullptr, gui::bsSingle);
    for (int i = 2; i <= 10; ++i) Child("c" + std::to_string(i));
    mainSkin->Cascade();
    RunUntilIdle();
    // Step 22 (caption 19 + 3) in 800 pixels: k = 7, every child 800 - 7 * 22 wide.  From the
    // last child on: 0, 22, ... 154, then 176 + 646 passes the edge and the offset starts over.
    struct {
        int child, offset;
    } want[] = {
        {10, 0  },
        {9,  22 },
        {3,  154},
        {2,  0  },
    };
    for (auto w : want)
        EXPECT_EQ(BoundsOf(children[static_cast<size_t>(w.child - 1)]),
                  gui::Bounds(w.offset, w.offset, 646, 446))
            << "child " << w.child;
    EXPECT_EQ(BoundsOf(children[0]), gui::Bounds(22, 22, 200, 100));
}

TEST_F(SkinMdiTest, CascadeUnderASkinWhoseClientStartsAtTheTopStillSteps) {
    // The step is the skin's client top: 0 would have divided by zero.
    LoadSkin(0);
    data.ClRect.Top = 0;
    OpenMain(800, 600, &data);
    Child("c1");
    Child("c2");
    mainSkin->Cascade();
    EXPECT_EQ(children[1]->Left(), 0);
    EXPECT_EQ(children[0]->Left(), 1);
}

TEST_F(SkinMdiTest, MinimisedChildrenLineUpAlongTheBottomOfTheAreaAndFollowItsSize) {
    OpenMain(500, 300);
    auto* bar = new gui::TPanel(main);
    bar->SetParent(main);
    bar->SetHeight(40);
    bar->SetAlign(gui::alBottom);
    RunUntilIdle();
    EXPECT_EQ(mainSkin->MDIClientArea(), (skin::TRect{0, 0, 500, 260}));
    for (int i = 1; i <= 3; ++i) Child("c" + std::to_string(i));
    mainSkin->MinimizeAll();
    RunUntilIdle();
    int w = SkinOf(children[0])->GetMinWidth(), h = SkinOf(children[0])->GetMinHeight();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SkinOf(children[static_cast<size_t>(i)])->WindowState(), gui::wsMinimized);
        EXPECT_EQ(BoundsOf(children[static_cast<size_t>(i)]), gui::Bounds(i * w, 260 - h, w, h)) << i;
    }
    // A taller main form moves them down to the new bottom edge.
    main->SetClientSize(500, 400);
    RunUntilIdle();
    EXPECT_EQ(children[2]->Top(), 360 - h);
    mainSkin->RestoreAll();
    RunUntilIdle();
    EXPECT_EQ(BoundsOf(children[0]), gui::Rect(10, 10, 250, 190));
}

TEST_F(SkinMdiTest, TheWindowMenuHasOneEntryPerChildCheckedForTheActiveOne) {
    OpenMain(500, 400);
    gui::TForm* a = Child("Doc1");
    gui::TForm* b = Child("Doc2");
    EXPECT_EQ(MenuNames(), (std::vector<std::string>{"Doc1_BSFCHILDITEM", "Doc2_BSFCHILDITEM"}));
    EXPECT_FALSE(windowMenu->Items(0)->Checked());
    EXPECT_TRUE(windowMenu->Items(1)->Checked());

    // The entry follows the child's caption; a click on it restores and activates the child.
    a->SetCaption("报告.txt");
    EXPECT_EQ(windowMenu->Items(0)->Caption(), "报告.txt");
    SkinOf(a)->SetWindowState(gui::wsMinimized);
    RunUntilIdle();
    windowMenu->Items(0)->Click();
    RunUntilIdle();
    EXPECT_EQ(SkinOf(a)->WindowState(), gui::wsNormal);
    EXPECT_EQ(main->ActiveMDIChild(), a);
    EXPECT_TRUE(windowMenu->Items(0)->Checked());
    EXPECT_FALSE(windowMenu->Items(1)->Checked());

    // Closing takes the entries away, the last one's too.
    mainSkin->CloseAll();
    RunUntilIdle();
    EXPECT_EQ(main->MDIChildCount(), 0);
    EXPECT_TRUE(MenuNames().empty());
    (void)b;
}

TEST_F(SkinMdiTest, AMaximisedChildLosesItsFrameAndLendsItsCaptionToTheMainForm) {
    OpenMain(500, 400);
    BarLink link;
    mainSkin->MDIMenuBar = &link;
    gui::TForm* a = Child("Doc1");
    gui::TForm* b = Child("Doc2", gui::Rect(40, 40, 300, 240));
    RECT framed;
    GetClientRect(b->Handle(), &framed);
    EXPECT_EQ(framed.right, 260 - 6); // the default frame: 3 pixels each side

    main->notices.clear();
    link.calls.clear();
    SkinOf(b)->SetWindowState(gui::wsMaximized);
    RunUntilIdle();
    EXPECT_EQ(BoundsOf(b), gui::Rect(0, 0, 500, 400));
    RECT client;
    GetClientRect(b->Handle(), &client);
    EXPECT_EQ(client, (RECT{0, 0, 500, 400})); // no frame left
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(b->Handle(), rgn), ERROR_REGION);
    DeleteObject(rgn);
    EXPECT_EQ(main->notices, (std::vector<UINT>{1231}));
    EXPECT_TRUE(mainSkin->MDIChildMaximized());
    EXPECT_EQ(mainSkin->CaptionText(), "主窗口 - [Doc2]");
    b->SetCaption("报告");
    EXPECT_EQ(mainSkin->CaptionText(), "主窗口 - [报告]");
    EXPECT_EQ(link.calls, (std::vector<std::string>{"maximize"}));

    // The client's new size reaches the child through 1230.
    main->SetClientSize(520, 410);
    RunUntilIdle();
    EXPECT_EQ(BoundsOf(b), gui::Rect(0, 0, 520, 410));

    // Restored, the frame comes back and the main caption is its own again.
    main->notices.clear();
    link.calls.clear();
    SkinOf(b)->SetWindowState(gui::wsNormal);
    RunUntilIdle();
    EXPECT_EQ(BoundsOf(b), gui::Rect(40, 40, 300, 240));
    GetClientRect(b->Handle(), &client);
    EXPECT_EQ(client, framed);
    EXPECT_EQ(main->notices, (std::vector<UINT>{1232}));
    EXPECT_FALSE(mainSkin->MDIChildMaximized());
    EXPECT_EQ(mainSkin->CaptionText(), "主窗口");
    EXPECT_EQ(link.calls.front(), "restore");

    // A maximised child that goes tells the main form too.
    SkinOf(a)->SetWindowState(gui::wsMaximized);
    RunUntilIdle();
    EXPECT_TRUE(mainSkin->MDIChildMaximized());
    main->notices.clear();
    delete a;
    children.erase(children.begin());
    RunUntilIdle();
    EXPECT_EQ(main->notices, (std::vector<UINT>{1232}));
    EXPECT_FALSE(mainSkin->MDIChildMaximized());
    mainSkin->MDIMenuBar = nullptr;
}

TEST_F(SkinMdiTest, AnOpenDropDownOfTheMainFormClosesWhenTheFormIsSized) {
    OpenMain(500, 400);
    auto* combo = new skin::TbsSkinComboBox(main);
    combo->SetParent(main);
    combo->SetBounds(10, 10, 150, 20);
    combo->Items()->Add("MP4");
    combo->Items()->Add("AVI");
    RunUntilIdle();
    combo->DropDown();
    RunUntilIdle();
    ASSERT_TRUE(combo->IsPopupVisible());
    main->SetClientSize(520, 400);
    RunUntilIdle();
    EXPECT_FALSE(combo->IsPopupVisible());
}

TEST_F(SkinMdiTest, AClickIntoAChildActivatesItsSkinnedCaption) {
    OpenMain(500, 400);
    gui::TForm* a = Child("Doc1");
    gui::TForm* b = Child("Doc2", gui::Rect(200, 150, 440, 330));
    EXPECT_TRUE(SkinOf(b)->GetFormActive());
    EXPECT_FALSE(SkinOf(a)->GetFormActive());
    ClickAt(a, 20, 20);
    EXPECT_EQ(main->ActiveMDIChild(), a);
    EXPECT_TRUE(SkinOf(a)->GetFormActive());
    EXPECT_FALSE(SkinOf(b)->GetFormActive());
}

TEST_F(SkinMdiTest, ASkinnedMainFormPaintsItsClientWindowFromTheSkin) {
    LoadSkin(0);
    OpenMain(400, 300, &data);
    RunUntilIdle();
    // The client window's background is the skin's client picture, not the work-space grey.
    HWND client = main->ClientHandle();
    POINT o{5, 5};
    ClientToScreen(client, &o);
    RECT wr;
    GetWindowRect(main->Handle(), &wr);
    const gdi::Bitmap* s = win::GetWindowSurface(main->Handle());
    ASSERT_NE(s, nullptr);
    uint32_t v = s->View().Get(o.x - wr.left, o.y - wr.top);
    ASSERT_GT(data.ClRect.Width(), 5);
    uint32_t want = data.FPicture.Image().At(data.ClRect.Left + 5, data.ClRect.Top + 5);
    EXPECT_EQ(v & 0xFFFFFF, want & 0xFFFFFF);
}

} // namespace

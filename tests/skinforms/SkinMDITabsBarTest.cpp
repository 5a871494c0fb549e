// The tab bar of a multiple-document main form: a tab per child kept by the skinned form,
// the tabs' widths, the hidden tabs' list, clicks, dragging and the close buttons.
#include "MdiFixture.h"

#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/menus/SkinPopupMenu.h"

using namespace skinformtest;

namespace {

class TabsBarTest : public SkinMdiTest {
protected:
    // The main form with a bar of the given width along its top.
    void OpenWithBar(int barWidth, skin::TbsSkinData* skinData = nullptr) {
        OpenMain(600, 400, skinData);
        bar = new skin::TbsSkinMDITabsBar(main);
        bar->SetBounds(0, 0, barWidth, 21);
        bar->SetSkinData(skinData); // a skin sets the height
        bar->SetSkinForm(mainSkin);
        bar->SetParent(main);
        mainSkin->SetMDITabsBar(bar);
        RunUntilIdle();
    }
    std::vector<skin::TRect> Rects() {
        bar->CalcObjectRects();
        std::vector<skin::TRect> out;
        for (int i = 0; i < bar->TabCount(); ++i) out.push_back(bar->Tabs(i)->ObjectRect);
        return out;
    }
    POINT BarPoint(int x, int y) { return ScreenOf(bar, x, y); }
    void Drag(int fromX, int toX) {
        Advance(1000); // no double click with the press before
        POINT a = BarPoint(fromX, 10), b = BarPoint(toX, 10);
        D().MoveMouse(a.x, a.y);
        D().Press();
        RunUntilIdle();
        D().MoveMouse((a.x + b.x) / 2, b.y);
        RunUntilIdle();
        D().MoveMouse(b.x, b.y);
        RunUntilIdle();
        D().Release();
        RunUntilIdle();
    }
    skin::TbsSkinMDITabsBar* bar = nullptr;
};

TEST_F(TabsBarTest, TabsShareTheBarAfterTheListButtonAndFollowTheChildren) {
    OpenWithBar(300);
    for (int i = 1; i <= 5; ++i) Child("c" + std::to_string(i));
    ASSERT_EQ(bar->TabCount(), 5);
    // (300 - 15) div 5 = 57; the last tab runs on to the bar's right edge.
    std::vector<skin::TRect> r = Rects();
    EXPECT_EQ(r[0], (skin::TRect{15, 0, 72, 21}));
    EXPECT_EQ(r[3], (skin::TRect{186, 0, 243, 21}));
    EXPECT_EQ(r[4], (skin::TRect{243, 0, 300, 21}));
    ASSERT_NE(bar->ListButton(), nullptr);
    EXPECT_EQ(bar->ListButton()->Width(), 15);
    EXPECT_EQ(bar->InVisibleCount(), 0);
    // The active child's tab is the active one.
    EXPECT_TRUE(bar->Tabs(4)->Active);
    EXPECT_FALSE(bar->Tabs(0)->Active);

    // Few children keep the default width; closing takes the tab away, the last one the list
    // button too.
    children[4]->Close();
    children[3]->Close();
    children[2]->Close();
    RunUntilIdle();
    r = Rects();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1], (skin::TRect{115, 0, 215, 21}));
    EXPECT_TRUE(bar->Tabs(1)->Active);
    children[1]->Close();
    children[0]->Close();
    RunUntilIdle();
    EXPECT_EQ(bar->TabCount(), 0);
    EXPECT_EQ(bar->ListButton(), nullptr);
}

TEST_F(TabsBarTest, TabsBelowTheMinimumWidthHideAndTheHiddenListReachesThem) {
    OpenWithBar(200);
    bar->MinTabWidth = 80;
    for (int i = 1; i <= 4; ++i) Child("c" + std::to_string(i));
    std::vector<skin::TRect> r = Rects();
    EXPECT_EQ(r[0], (skin::TRect{15, 0, 95, 21}));
    EXPECT_EQ(r[1], (skin::TRect{95, 0, 175, 21}));
    EXPECT_EQ(r[2], skin::TRect{});
    EXPECT_FALSE(bar->Tabs(3)->Visible);
    EXPECT_EQ(bar->InVisibleCount(), 2);
    bar->Repaint();
    RunUntilIdle();
    ASSERT_NE(bar->HideListButton(), nullptr);
    EXPECT_EQ(bar->HideListButton()->Left(), 200 - 15);

    bar->FillListMenu(true);
    gui::TMenuItem* items = bar->HideListMenu()->Items();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Items(0)->Name(), "c3_BSFCHILDITEMBARHIDE");
    EXPECT_TRUE(items->Items(1)->Checked()); // c4 is the active child
    SkinOf(children[2])->SetWindowState(gui::wsMinimized);
    RunUntilIdle();
    items->Items(0)->Click();
    RunUntilIdle();
    EXPECT_EQ(main->ActiveMDIChild(), children[2]);
    EXPECT_EQ(SkinOf(children[2])->WindowState(), gui::wsNormal);

    bar->FillListMenu(false);
    EXPECT_EQ(bar->ListMenu()->Items()->Count(), 4);
    EXPECT_EQ(bar->ListMenu()->Items()->Items(1)->Name(), "c2_BSFCHILDITEMBAR");

    // Room for all again, the hidden list goes.
    bar->SetWidth(400);
    bar->Repaint();
    RunUntilIdle();
    EXPECT_EQ(bar->HideListButton(), nullptr);
}

TEST_F(TabsBarTest, AClickActivatesAChildAndADragMovesItsTab) {
    OpenWithBar(400);
    for (int i = 1; i <= 3; ++i) Child("c" + std::to_string(i));
    std::vector<gui::TCustomForm*> hovered;
    bar->OnTabMouseEnter = [&](skin::TbsMDITab* t) { hovered.push_back(t->Child); };
    std::vector<skin::TRect> r = Rects(); // 100 wide each from 15
    ClickAt(bar, 40, 10);
    EXPECT_EQ(main->ActiveMDIChild(), children[0]);
    EXPECT_TRUE(bar->Tabs(0)->Active);
    EXPECT_EQ(hovered, (std::vector<gui::TCustomForm*>{children[0]}));

    // The first tab dragged right past the third one's centre goes to the end.
    Drag(40, 40 + 220);
    ASSERT_EQ(bar->TabCount(), 3);
    EXPECT_EQ(bar->Tabs(0)->Child, children[1]);
    EXPECT_EQ(bar->Tabs(2)->Child, children[0]);
    // Not past the neighbour's centre, it stays.
    Drag(40, 60);
    EXPECT_EQ(bar->Tabs(0)->Child, children[1]);
}

TEST_F(TabsBarTest, ReleasingOverACloseButtonClosesThatChild) {
    OpenWithBar(400);
    bar->SetShowCloseButtons(true);
    for (int i = 1; i <= 3; ++i) Child("c" + std::to_string(i));
    bar->Repaint();
    RunUntilIdle();
    skin::TbsMDITab* second = bar->Tabs(1);
    skin::TRect tab = second->ObjectRect, button = second->ButtonRect;
    // Default look: the 14-pixel button 5 pixels from the tab's right end.
    EXPECT_EQ(button, (skin::TRect{100 - 14 - 5, 3, 100 - 5, 17}));
    int bx = tab.Left + (button.Left + button.Right) / 2;
    // Pressed on the tab's text, released over its own close button.
    Drag(tab.Left + 60, bx);
    ASSERT_EQ(bar->TabCount(), 2);
    EXPECT_EQ(main->MDIChildCount(), 2);
    EXPECT_EQ(bar->Tabs(1)->Child, children[2]);
}

TEST_F(TabsBarTest, ASkinnedBarTakesItsHeightAndLookFromTheSkin) {
    LoadSkin(0);
    OpenWithBar(400, &data);
    bar->SetAlign(gui::alTop);
    RunUntilIdle();
    auto* entry = dynamic_cast<skin::TbsDataSkinTabControl*>(
        data.CtrlList[static_cast<size_t>(data.GetControlIndex("tab"))].get());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(bar->Height(), entry->TabRect.Height() + entry->ClRect.Top);
    EXPECT_EQ(bar->GetCloseSize(), entry->CloseButtonRect.Width());
    EXPECT_EQ(mainSkin->MDIClientArea().Top, bar->Height());
    Child("c1");
    Child("c2");
    bar->Repaint();
    RunUntilIdle();
    EXPECT_EQ(bar->Tabs(1)->ObjectRect, (skin::TRect{115, 0, 215, entry->TabRect.Height()}));
}

} // namespace

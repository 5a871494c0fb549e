// The skinned tool bar (children centred, the overflow arrows and their scrolling) and the
// skinned status bar (its size grip sizes the form).
#include "ControlFixtures.h"
#include "gui/CustomPanel.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinToolBar.h"
#include "win/Styles.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class ToolBarTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 600, 300);
        bar_ = new TbsSkinToolBar(form_);
        bar_->SetParent(form_);
        bar_->SetBounds(0, 0, 300, 30);
        form_->Show();
        RunUntilIdle();
    }
    gui::TPanel* AddPanel(int left, int width) {
        auto* p = new gui::TPanel(form_);
        p->SetParent(bar_);
        p->SetBounds(left, 3, width, 22);
        return p;
    }
    // A point of the bar's window (not its client area) on the screen.
    POINT WindowPoint(int x, int y) {
        RECT r;
        GetWindowRect(bar_->Handle(), &r);
        return {r.left + x, r.top + y};
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinToolBar* bar_ = nullptr;
};

} // namespace

TEST_F(ToolBarTest, ChildrenStandCentred) {
    bar_->SetHeight(59); // client rectangle 0..59 without a border
    auto* button = new TbsSkinButton(form_);
    button->SetParent(bar_);
    button->SetBounds(4, 0, 60, 25);
    auto* speed = new TbsSkinSpeedButton(form_);
    speed->SetParent(bar_);
    speed->SetBounds(70, 40, 25, 25);
    auto* bevel = new TbsSkinBevel(form_);
    bevel->SetParent(bar_);
    bevel->SetBounds(100, 2, 2, 25);
    EXPECT_EQ(button->Top(), 17);
    EXPECT_EQ(speed->Top(), 17);
    EXPECT_EQ(bevel->Top(), 17);
    // A control the bar does not skin moves when the bar's size changes.
    gui::TPanel* plain = AddPanel(110, 20);
    plain->SetTop(0);
    EXPECT_EQ(plain->Top(), 0);
    bar_->SetHeight(41);
    EXPECT_EQ(plain->Top(), 41 / 2 - 22 / 2);
    EXPECT_EQ(button->Top(), 41 / 2 - 12);
    // Without AdjustControls the asked top holds.
    bar_->SetAdjustControls(false);
    button->SetTop(3);
    EXPECT_EQ(button->Top(), 3);
}

TEST_F(ToolBarTest, OverflowShowsArrowsThatScroll30PerTick) {
    bar_->SetCanScroll(true);
    bar_->SetScrollOffset(30);
    std::vector<gui::TPanel*> panels;
    for (int i = 0; i < 6; ++i) panels.push_back(AddPanel(i * 70, 70)); // the last ends at 420
    bar_->SetBounds(0, 0, 300, 30);
    RunUntilIdle();
    ASSERT_TRUE(bar_->ArrowsVisible());
    EXPECT_EQ(bar_->ClientWidth(), 300 - 24);
    EXPECT_EQ(bar_->SMax(), 419);
    EXPECT_EQ(bar_->SPage(), bar_->ClientWidth());
    // The arrows answer the hit test; the client area does not.
    POINT right = WindowPoint(294, 15), left = WindowPoint(5, 15), middle = WindowPoint(150, 15);
    EXPECT_EQ(SendMessage(bar_->Handle(), WM_NCHITTEST, 0, MAKELPARAM(right.x, right.y)), 120);
    EXPECT_EQ(SendMessage(bar_->Handle(), WM_NCHITTEST, 0, MAKELPARAM(left.x, left.y)), 119);
    EXPECT_EQ(SendMessage(bar_->Handle(), WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTCLIENT);
    // Held right arrow: 30 pixels a tick up to the end (419 - 276 + 1 = 144).
    D().MoveMouse(right.x, right.y);
    D().Press();
    RunUntilIdle();
    std::vector<int> lefts;
    for (int tick = 0; tick < 6; ++tick) {
        Advance(50);
        lefts.push_back(panels[0]->Left());
    }
    EXPECT_EQ(lefts, (std::vector<int>{-30, -60, -90, -120, -144, -144}));
    EXPECT_EQ(bar_->SPosition(), 144);
    EXPECT_EQ(panels[5]->Left() + panels[5]->Width(), bar_->ClientWidth());
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(bar_->SPosition(), 144);
    // A click on the left arrow: one step on release.
    D().MoveMouse(left.x, left.y);
    D().Press();
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(bar_->SPosition(), 114);
    EXPECT_EQ(panels[0]->Left(), -114);
    // Without an offset a step is the whole client width.
    bar_->SetScrollOffset(0);
    D().Press();
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(bar_->SPosition(), 0);
    D().MoveMouse(right.x, right.y);
    D().Press();
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(bar_->SPosition(), 144); // 276 would pass the end
    // Widened until everything fits: back to the origin, no arrows.
    bar_->SetBounds(0, 0, 500, 30);
    RunUntilIdle();
    EXPECT_FALSE(bar_->ArrowsVisible());
    EXPECT_EQ(bar_->ClientWidth(), 500);
    EXPECT_EQ(panels[0]->Left(), 0);
    EXPECT_EQ(bar_->SMax(), 0);
}

TEST_F(ToolBarTest, HotScrollRunsWhileThePointerRestsOnAnArrow) {
    bar_->SetCanScroll(true);
    bar_->HotScroll = true;
    bar_->SetScrollOffset(10);
    for (int i = 0; i < 6; ++i) AddPanel(i * 70, 70);
    bar_->SetBounds(0, 0, 300, 30);
    RunUntilIdle();
    POINT right = WindowPoint(294, 15);
    D().MoveMouse(right.x, right.y);
    RunUntilIdle();
    Advance(100);
    EXPECT_EQ(bar_->SPosition(), 20);
    // Back over the buttons the scrolling stops.
    POINT middle = WindowPoint(150, 15);
    D().MoveMouse(middle.x, middle.y);
    RunUntilIdle();
    Advance(200);
    EXPECT_EQ(bar_->SPosition(), 20);
}

TEST_F(ToolBarTest, StatusBarGripSizesTheForm) {
    auto* status = new TbsSkinStatusBar(form_);
    status->SetParent(form_);
    RunUntilIdle();
    EXPECT_EQ(status->Height(), 21);
    EXPECT_EQ(status->Top() + status->Height(), form_->ClientHeight());
    auto hit = [&](int x, int y) {
        gui::TPoint p = status->ClientToScreen({x, y});
        return SendMessage(status->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    int w = status->Width();
    EXPECT_EQ(hit(w - 4, 10), HTCLIENT); // no grip: a plain panel
    status->SetSizeGrip(true);
    RunUntilIdle();
    gui::TRect g = status->GripRect();
    EXPECT_EQ(g.right, w);
    EXPECT_EQ(hit(w - 4, 10), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w / 2, 10), HTCLIENT);
    // The grip's diagonals in the shadow colour.
    EXPECT_EQ(PixelAt(status, g.left + 3 + 5, g.bottom - 5), gui::ColorToRGB(gui::clBtnShadow));
    status->SetShowGrip(false);
    EXPECT_EQ(hit(w - 4, 10), HTCLIENT);
    status->SetShowGrip(true);
    // Dragging the grip sizes the form.
    RECT before;
    GetWindowRect(form_->Handle(), &before);
    gui::TPoint p = status->ClientToScreen({w - 4, 10});
    D().MoveMouse(p.x, p.y);
    D().Press();
    D().MoveMouse(p.x + 30, p.y + 20);
    D().Release();
    RunUntilIdle();
    RECT after;
    GetWindowRect(form_->Handle(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 30);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 20);
    EXPECT_EQ(status->Top() + status->Height(), form_->ClientHeight());
}

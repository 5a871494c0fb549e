// The skinned page control: its plain look, tabs on every side, a centred row, close buttons
// (also when the change of page is refused), the skinned scroller that replaces the
// platform's on overflow, hidden tabs coming back as they were, and the wheel.
#include "ControlFixtures.h"
#include "skin/controls/SkinPageControl.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class PageControlTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 500, 400);
        pc_ = new TbsSkinPageControl(form_);
        pc_->SetParent(form_);
        pc_->SetBounds(10, 10, 400, 300);
        form_->Show();
        RunUntilIdle();
    }
    TbsSkinTabSheet* AddPage(const std::string& caption) {
        auto* p = new TbsSkinTabSheet(form_);
        p->SetCaption(caption);
        p->SetPageControl(pc_);
        RunUntilIdle();
        return p;
    }
    void AddPages(int n) {
        for (int i = 0; i < n; ++i) pages_.push_back(AddPage("Page " + std::to_string(i)));
    }
    static POINT Centre(const gui::TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    // The close button of a tab, in the control's client coordinates.
    gui::TRect CloseButtonOf(int tab) {
        pc_->Repaint();
        auto* sheet = static_cast<TbsSkinCustomTabSheet*>(pages_[static_cast<size_t>(tab)]);
        gui::TRect t = pc_->GetTabRect(tab);
        gui::TRect b = sheet->ButtonRect;
        return gui::Rect(b.left + t.left, b.top + t.top, b.right + t.left, b.bottom + t.top);
    }
    int NativeScrollers() {
        int n = 0;
        for (HWND h = GetWindow(pc_->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassName(h, name, sizeof name);
            n += std::strcmp(name, "msctls_updown32") == 0;
        }
        return n;
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinPageControl* pc_ = nullptr;
    std::vector<gui::TTabSheet*> pages_;
};

} // namespace

TEST_F(PageControlTest, PlainLookWithoutPages) {
    gui::TRect a = pc_->DisplayRect();
    EXPECT_EQ(PixelAt(pc_, a.left - 1, a.top + 10), gui::ColorToRGB(gui::clBtnShadow));
    EXPECT_EQ(PixelAt(pc_, a.left + 10, a.bottom), gui::ColorToRGB(gui::clBtnShadow));
    EXPECT_EQ(PixelAt(pc_, a.left + 10, a.top + 10), gui::ColorToRGB(gui::clBtnFace));
}

TEST_F(PageControlTest, TabsOnEverySide) {
    AddPages(3);
    struct Case {
        gui::TTabPosition pos;
        const char* name;
    } cases[] = {
        {gui::tpTop,    "top"   },
        {gui::tpBottom, "bottom"},
        {gui::tpLeft,   "left"  },
        {gui::tpRight,  "right" },
    };
    for (const Case& c : cases) {
        pc_->SetTabPosition(c.pos);
        RunUntilIdle();
        gui::TRect t = pc_->TabRect(1), a = pc_->DisplayRect();
        gui::TRect page = pages_[0]->BoundsRect();
        EXPECT_EQ(page, a) << c.name;
        // The tabs sit on their edge, outside the page area, with the border between.
        switch (c.pos) {
        case gui::tpTop:
            EXPECT_EQ(t.top, 0) << c.name;
            EXPECT_LT(t.bottom, a.top) << c.name;
            break;
        case gui::tpBottom:
            EXPECT_EQ(t.bottom, pc_->ClientHeight()) << c.name;
            EXPECT_GT(t.top, a.bottom) << c.name;
            break;
        case gui::tpLeft:
            EXPECT_EQ(t.left, 0) << c.name;
            EXPECT_LT(t.right, a.left) << c.name;
            break;
        case gui::tpRight:
            EXPECT_EQ(t.right, pc_->ClientWidth()) << c.name;
            EXPECT_GT(t.left, a.right) << c.name;
            break;
        }
        EXPECT_GT(gui::RectWidth(t), 0) << c.name;
        // Clicking a tab selects its page.
        POINT p = Centre(pc_->GetTabRect(2));
        ClickAt(pc_, p.x, p.y);
        EXPECT_EQ(pc_->ActivePage(), pages_[2]) << c.name;
        pc_->SetActivePage(pages_[0]);
    }
}

TEST_F(PageControlTest, CentredRowStartsMidway) {
    AddPages(3);
    pc_->SetTabsInCenter(true); // refused without a fixed width
    EXPECT_FALSE(pc_->TabsInCenter());
    pc_->SetTabWidth(80);
    pc_->SetTabsInCenter(true);
    RunUntilIdle();
    EXPECT_EQ(pc_->TabRect(0).left, 80);
    EXPECT_EQ(pc_->TabRect(2).right, 320);
    // The click lands on the tab drawn there.
    POINT p = Centre(pc_->TabRect(1));
    ClickAt(pc_, p.x, p.y);
    EXPECT_EQ(pc_->ActivePage(), pages_[1]);
    pc_->SetTabsInCenter(false);
    pc_->SetTabsOffset(30);
    RunUntilIdle();
    EXPECT_EQ(pc_->TabRect(0).left, 30);
}

TEST_F(PageControlTest, CloseButtonsCloseTheirPage) {
    AddPages(3);
    int plain = gui::RectWidth(pc_->TabRect(0));
    pc_->SetShowCloseButtons(true);
    RunUntilIdle();
    EXPECT_EQ(gui::RectWidth(pc_->TabRect(0)), plain + 14);
    // The cross sits right of the caption, black, and turns white under the mouse.
    gui::TRect b = CloseButtonOf(1);
    EXPECT_EQ(gui::RectWidth(b), 14);
    EXPECT_GT(b.left, pc_->GetTabRect(1).left + plain / 2);
    POINT c = Centre(b);
    MoveTo(pc_, c.x, c.y);
    RunUntilIdle();
    EXPECT_TRUE(static_cast<TbsSkinCustomTabSheet*>(pages_[1])->ButtonMouseIn);
    EXPECT_EQ(PixelAt(pc_, b.left + 3, b.top + 3), RGB(255, 255, 255));
    std::vector<std::string> events;
    bool allow = false;
    pc_->OnClose = [&](gui::TObject* s, bool& can) {
        events.push_back("close " + static_cast<gui::TTabSheet*>(s)->Caption());
        can = allow;
    };
    pc_->OnAfterClose = [&](gui::TObject*) { events.push_back("after"); };
    // Refused: the page stays.
    ClickAt(pc_, c.x, c.y);
    EXPECT_EQ(events, (std::vector<std::string>{"close Page 1"}));
    EXPECT_TRUE(pages_[1]->TabVisible());
    // Allowed: the tab goes, then OnAfterClose.
    allow = true;
    events.clear();
    ClickAt(pc_, c.x, c.y);
    EXPECT_EQ(events, (std::vector<std::string>{"close Page 1", "after"}));
    EXPECT_FALSE(pages_[1]->TabVisible());
    EXPECT_EQ(pc_->PageCount(), 3);
    // With FreeOnClose the page is freed.
    pc_->FreeOnClose = true;
    c = Centre(CloseButtonOf(1)); // now the last page's tab
    ClickAt(pc_, c.x, c.y);
    EXPECT_EQ(pc_->PageCount(), 2);
}

TEST_F(PageControlTest, CloseButtonClosesThePressedPageWhenTheChangeIsRefused) {
    AddPages(3);
    pc_->SetShowCloseButtons(true);
    pc_->OnChanging = [](gui::TObject*, bool& allow) { allow = false; };
    std::vector<gui::TObject*> closed;
    pc_->OnClose = [&](gui::TObject* s, bool&) { closed.push_back(s); };
    POINT c = Centre(CloseButtonOf(2));
    ClickAt(pc_, c.x, c.y);
    EXPECT_EQ(pc_->ActivePage(), pages_[0]);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0], pages_[2]);
    EXPECT_TRUE(pages_[0]->TabVisible());
    EXPECT_FALSE(pages_[2]->TabVisible());
    // A press elsewhere released over a close button closes nothing.
    closed.clear();
    gui::TRect t = pc_->GetTabRect(1);
    c = Centre(CloseButtonOf(1));
    MoveTo(pc_, t.left + 3, (t.top + t.bottom) / 2);
    D().Press();
    RunUntilIdle();
    MoveTo(pc_, c.x, c.y);
    D().Release();
    RunUntilIdle();
    EXPECT_TRUE(closed.empty());
}

TEST_F(PageControlTest, SkinnedScrollerReplacesTheNativeOneOnOverflow) {
    AddPages(5);
    EXPECT_EQ(pc_->SkinUpDown(), nullptr);
    pc_->SetWidth(200);
    RunUntilIdle();
    TbsSkinUpDown* ud = pc_->SkinUpDown();
    ASSERT_NE(ud, nullptr);
    EXPECT_EQ(NativeScrollers(), 0);
    EXPECT_EQ(ud->Width(), 40);
    EXPECT_EQ(ud->Left(), 200 - 40);
    EXPECT_EQ(ud->Top(), 0);
    EXPECT_GT(ud->Max(), 0);
    EXPECT_EQ(ud->Position(), 0);
    // Its increasing button scrolls the row by one tab.
    int firstLeft = pc_->TabRect(0).left;
    POINT up = Centre(ud->Button(0).R);
    ClickAt(ud, up.x, up.y);
    EXPECT_EQ(ud->Position(), 1);
    EXPECT_LE(pc_->GetTabRect(0).right, 0);
    EXPECT_EQ(pc_->TabRect(1).left, firstLeft);
    // Bottom tabs put the pair at the bottom.
    pc_->SetTabPosition(gui::tpBottom);
    RunUntilIdle();
    ASSERT_NE(pc_->SkinUpDown(), nullptr);
    EXPECT_EQ(pc_->SkinUpDown()->Top(), pc_->Height() - pc_->SkinUpDown()->Height());
    EXPECT_EQ(NativeScrollers(), 0);
    // Wide enough again: the pair goes.
    pc_->SetWidth(900);
    RunUntilIdle();
    EXPECT_EQ(pc_->SkinUpDown(), nullptr);
    EXPECT_EQ(NativeScrollers(), 0);
}

TEST_F(PageControlTest, HiddenTabsComeBackExactly) {
    AddPages(2);
    struct Case {
        gui::TTabPosition pos;
        bool multiLine;
        int tabHeight;
    } cases[] = {
        {gui::tpTop,    false, 0 },
        {gui::tpLeft,   true,  0 },
        {gui::tpRight,  false, 26},
        {gui::tpBottom, true,  18},
    };
    for (const Case& c : cases) {
        pc_->SetTabPosition(c.pos);
        pc_->SetMultiLine(c.multiLine);
        pc_->SetTabHeight(c.tabHeight);
        RunUntilIdle();
        gui::TRect before = pages_[0]->BoundsRect();
        pc_->HideTabs();
        RunUntilIdle();
        EXPECT_EQ(pc_->TabPosition(), c.pos == gui::tpBottom ? gui::tpBottom : gui::tpTop);
        EXPECT_FALSE(pc_->MultiLine());
        EXPECT_GT(pages_[0]->Height() * pages_[0]->Width(), gui::RectHeight(before) * gui::RectWidth(before));
        pc_->HideTabs(); // twice changes nothing
        pc_->ShowTabs();
        RunUntilIdle();
        EXPECT_EQ(pc_->TabPosition(), c.pos);
        EXPECT_EQ(pc_->MultiLine(), c.multiLine);
        EXPECT_EQ(pc_->TabHeight(), c.tabHeight);
        EXPECT_EQ(pages_[0]->BoundsRect(), before);
    }
}

TEST_F(PageControlTest, WheelWalksThePagesWithTabs) {
    AddPages(4);
    pages_[2]->SetTabVisible(false);
    pc_->MouseWheelSupport = true;
    pc_->SetActivePage(pages_[3]);
    pc_->SetFocus();
    MoveTo(pc_, 200, 150);
    D().Wheel(-120); // toward the user on the last page: nothing
    RunUntilIdle();
    EXPECT_EQ(pc_->ActivePage(), pages_[3]);
    D().Wheel(120); // away: the previous page with a tab
    RunUntilIdle();
    EXPECT_EQ(pc_->ActivePage(), pages_[1]);
}

TEST_F(PageControlTest, SkinnedSelectedTabOpensIntoItsPage) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    data.SetSkinIndex(0);
    AddPages(3);
    pc_->SetSkinData(&data);
    RunUntilIdle();
    ASSERT_NE(pc_->FIndex, -1);
    auto& d = dynamic_cast<TbsDataSkinTabControl&>(*data.CtrlList[data.GetControlIndex("tab")]);
    // The tabs take the skin's height; the page lies inside the skin's frame.
    EXPECT_EQ(gui::RectHeight(pc_->TabRect(1)), d.TabRect.Height());
    gui::TRect a = pc_->DisplayRect();
    EXPECT_EQ(a.top, d.TabRect.Height() + d.ClRect.Top);
    EXPECT_EQ(a.left, d.ClRect.Left);
    // Under the selected tab the frame's top line gives way to the tab; under another it shows.
    gui::TRect sel = pc_->GetTabRect(0), other = pc_->GetTabRect(1);
    int frameTop = a.top - d.ClRect.Top;
    COLORREF line = PictureAt(data, d.PictureIndex, d.SkinRect.Left + 10, d.SkinRect.Top);
    EXPECT_EQ(PixelAt(pc_, (other.left + other.right) / 2, frameTop), line);
    EXPECT_NE(PixelAt(pc_, (sel.left + sel.right) / 2, frameTop), line);
    // The page paints the skin's client piece.
    EXPECT_EQ(PixelAt(pc_, a.left + 20, a.top + 20),
              PictureAt(data, d.PictureIndex, d.SkinRect.Left + d.ClRect.Left + 5,
                        d.SkinRect.Top + d.ClRect.Top + 5));
    pc_->SetSkinData(nullptr);
}

TEST_F(PageControlTest, ASkinChangeRepaintsTheActiveSheetsBackground) {
    // The form here repaints nothing itself on a skin change, as a form without a skinned-form
    // component does: the page control must have its sheet erased anew.
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    data.SetSkinIndex(0);
    AddPages(2);
    pc_->SetSkinData(&data);
    RunUntilIdle();
    gui::TRect a = pc_->DisplayRect();
    COLORREF before = PixelAt(pc_, a.left + 20, a.top + 20);
    data.SetSkinIndex(1); // dark
    RunUntilIdle();
    COLORREF shown = PixelAt(pc_, a.left + 20, a.top + 20);
    InvalidateRect(pages_[0]->Handle(), nullptr, TRUE);
    RunUntilIdle();
    COLORREF fresh = PixelAt(pc_, a.left + 20, a.top + 20);
    ASSERT_NE(fresh, before);
    EXPECT_EQ(shown, fresh);
    pc_->SetSkinData(nullptr);
}

TEST_F(PageControlTest, CloseButtonsOnEverySide) {
    for (gui::TTabPosition pos : {gui::tpBottom, gui::tpLeft, gui::tpRight}) {
        AddPages(2);
        pc_->SetShowCloseButtons(true);
        pc_->SetTabPosition(pos);
        RunUntilIdle();
        // The button turns with the tab: it lies inside the tab wherever the tab stands.
        gui::TRect t = pc_->GetTabRect(1), b = CloseButtonOf(1);
        EXPECT_TRUE(b.left >= t.left && b.right <= t.right && b.top >= t.top && b.bottom <= t.bottom) << pos;
        POINT c = Centre(b);
        ClickAt(pc_, c.x, c.y);
        EXPECT_FALSE(pages_[1]->TabVisible()) << pos;
        EXPECT_TRUE(pages_[0]->TabVisible()) << pos;
        for (gui::TTabSheet* p : pages_) delete p;
        pages_.clear();
    }
}

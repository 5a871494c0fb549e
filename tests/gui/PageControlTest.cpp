#include "gui/PageControl.h"
#include "FormFixture.h"
#include "gui/CustomEdit.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class PageControlTest : public FormTest {
protected:
    TPageControl* Pages(TForm* f, std::vector<std::string> captions) {
        auto* pc = Add<TPageControl>(f, {10, 10, 310, 210});
        for (const std::string& c : captions) {
            auto* s = new TTabSheet(f);
            s->SetCaption(c);
            s->SetPageControl(pc);
        }
        return pc;
    }
    // Who heard what, in order.
    std::vector<std::string> heard_;
    void Listen(TPageControl* pc, bool allow = true) {
        pc->OnChanging = [this, pc, allow](TObject*, bool& ok) {
            heard_.push_back("changing from " + pc->ActivePage()->Caption());
            ok = allow;
        };
        pc->OnChange = [this, pc](TObject*) { heard_.push_back("change to " + pc->ActivePage()->Caption()); };
    }
    // The window's own up/down child that scrolls a single row.
    static bool HasScroller(TPageControl* pc) {
        for (HWND w = GetWindow(pc->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            char name[64] = {};
            GetClassName(w, name, sizeof name);
            if (std::string(name) == "msctls_updown32") return true;
        }
        return false;
    }
    static void ClickTab(TPageControl* pc, int tab) {
        TRect r = pc->TabRect(tab);
        ClickAt(pc, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(PageControlTest, ClickingATabAsksThenShowsItsPage) {
    TForm* f = Form();
    TPageControl* pc = Pages(f, {"常规", "视频", "音频"});
    Show(f);
    EXPECT_EQ(pc->ActivePageIndex(), 0);
    EXPECT_TRUE(pc->Pages(0)->Visible());
    Listen(pc);
    ClickTab(pc, 1);
    EXPECT_EQ(heard_, (std::vector<std::string>{"changing from 常规", "change to 视频"}));
    EXPECT_TRUE(pc->Pages(1)->Showing());
    EXPECT_FALSE(pc->Pages(0)->Showing());
    // The page fills the area under the tabs.
    EXPECT_EQ(pc->Pages(1)->BoundsRect(), pc->DisplayRect());
    EXPECT_GT(pc->DisplayRect().top, pc->TabRect(0).bottom - 1);
    // The keys move along the tabs as a user's change too.
    heard_.clear();
    PressKey(VK_RIGHT);
    EXPECT_EQ(heard_, (std::vector<std::string>{"changing from 视频", "change to 音频"}));
    // From code nobody is told.
    heard_.clear();
    pc->SetActivePageIndex(0);
    EXPECT_TRUE(heard_.empty());
    EXPECT_EQ(pc->TabIndex(), 0);
}

TEST_F(PageControlTest, ARefusedChangeKeepsThePage) {
    TForm* f = Form();
    TPageControl* pc = Pages(f, {"一", "二"});
    Show(f);
    Listen(pc, false);
    ClickTab(pc, 1);
    EXPECT_EQ(heard_, (std::vector<std::string>{"changing from 一"}));
    EXPECT_EQ(pc->ActivePageIndex(), 0);
    EXPECT_EQ(pc->TabIndex(), 0);
}

TEST_F(PageControlTest, HiddenTabsAndRemovedPagesLeaveTheRestInOrder) {
    TForm* f = Form();
    TPageControl* pc = Pages(f, {"一", "二", "三"});
    auto* edit = Add<TEdit>(pc->Pages(1), {5, 5, 100, 26});
    Show(f);
    pc->SetActivePageIndex(1);
    edit->SetFocus();
    // The active page losing its tab gives way to the next; the focus leaves it.
    pc->Pages(1)->SetTabVisible(false);
    EXPECT_EQ(pc->Tabs()->CommaText(), "一,三");
    EXPECT_EQ(pc->ActivePage()->Caption(), "三");
    EXPECT_FALSE(edit->Focused());
    EXPECT_EQ(pc->Pages(1)->TabIndex(), -1);
    pc->SetActivePage(pc->Pages(1)); // no tab, no page
    EXPECT_EQ(pc->ActivePage()->Caption(), "三");
    pc->Pages(2)->SetCaption("叁");
    pc->Pages(1)->SetTabVisible(true);
    EXPECT_EQ(pc->Tabs()->CommaText(), "一,二,叁");
    EXPECT_EQ(pc->TabIndex(), 2);
    delete pc->Pages(2);
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage()->Caption(), "一"); // the next one round
    pc->Pages(1)->SetPageIndex(0);
    EXPECT_EQ(pc->Tabs()->CommaText(), "二,一");
    EXPECT_EQ(pc->TabIndex(), 1);
    // A new window keeps the tabs and the choice.
    pc->SetTabPosition(tpBottom);
    EXPECT_EQ(pc->Tabs()->CommaText(), "二,一");
    EXPECT_EQ(pc->TabIndex(), 1);
    EXPECT_GT(pc->TabRect(0).top, pc->DisplayRect().bottom - 1);
}

TEST_F(PageControlTest, FixedWidthTabsAndARowThatScrolls) {
    TForm* f = Form();
    TPageControl* pc = Pages(f, {"一", "二", "三", "四", "五", "六"});
    pc->SetTabWidth(80);
    pc->SetTabHeight(24);
    Show(f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(RectWidth(pc->TabRect(i)), 80) << i;
        EXPECT_EQ(RectHeight(pc->TabRect(i)), 24) << i;
    }
    // Six tabs of 80 do not fit 300 pixels: one row that scrolls, or rows when asked.
    EXPECT_EQ(pc->RowCount(), 1);
    EXPECT_TRUE(HasScroller(pc));
    pc->SetMultiLine(true);
    EXPECT_GT(pc->RowCount(), 1);
    EXPECT_FALSE(HasScroller(pc));
    EXPECT_EQ(pc->Pages(0)->BoundsRect(), pc->DisplayRect());
}

TEST_F(PageControlTest, TabControlWithoutPages) {
    TForm* f = Form();
    auto* tc = Add<TTabControl>(f, {10, 10, 310, 110});
    tc->Tabs()->SetCommaText("甲,乙");
    Show(f);
    int changes = 0;
    tc->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(tc->TabIndex(), 0);
    TRect r = tc->TabRect(1);
    EXPECT_EQ(tc->IndexOfTabAt(r.left + 3, r.top + 3), 1);
    ClickAt(tc, r.left + 3, r.top + 3);
    EXPECT_EQ(tc->TabIndex(), 1);
    EXPECT_EQ(changes, 1);
    tc->Tabs()->Add("丙");
    EXPECT_EQ(tc->TabIndex(), 1);
    // The selected tab deleted, the one taking its place is selected; the last gone, the one
    // before it.
    tc->Tabs()->Delete(1);
    EXPECT_EQ(tc->TabIndex(), 1);
    tc->Tabs()->Delete(1);
    EXPECT_EQ(tc->TabIndex(), 0);
    tc->Tabs()->Clear();
    EXPECT_EQ(tc->TabIndex(), -1);
    EXPECT_EQ(changes, 1);
}

} // namespace

// The skinned scroll bar: position clamps, the layout of its parts, repeats on the virtual
// clock, paging up to the thumb, and the thumb drag.
#include "ControlFixtures.h"
#include "skin/controls/SkinScrollBar.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class ScrollBarTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        bar_ = new TbsSkinScrollBar(form_);
        bar_->SetParent(form_);
        bar_->SetBounds(10, 10, 200, 19);
        bar_->OnChange = [this](gui::TObject*) { changes_.push_back(bar_->Position()); };
        form_->Show();
        RunUntilIdle();
    }
    static POINT Centre(const gui::TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    void Press(const gui::TRect& part) {
        POINT p = ScreenOf(bar_, Centre(part).x, Centre(part).y);
        D().MoveMouse(p.x, p.y);
        D().Press();
        RunUntilIdle();
    }
    void Release() {
        D().Release();
        RunUntilIdle();
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinScrollBar* bar_ = nullptr;
    std::vector<int> changes_;
};

} // namespace

TEST_F(ScrollBarTest, PositionStaysWithinTheRange) {
    struct Case {
        int min, max, page, asked, expected;
    } cases[] = {
        {0,  99,  10, 95,  90 }, // the page must fit
        {0,  100, 0,  150, 100}, // without a page Max itself
        {0,  100, 0,  -5,  0  },
        {0,  5,   10, 0,   0  }, // a page larger than the range never goes below Min
        {0,  5,   10, 3,   0  },
        {10, 20,  0,  3,   10 },
    };
    for (const Case& c : cases) {
        changes_.clear();
        bar_->SetRange(c.min, c.max, c.page, c.asked);
        EXPECT_EQ(bar_->Position(), c.expected)
            << c.min << ".." << c.max << " page " << c.page << " at " << c.asked;
        EXPECT_TRUE(changes_.empty());
        // The setter clamps the same way and fires only on a change.
        bar_->SetPosition(c.asked);
        EXPECT_EQ(bar_->Position(), c.expected);
        EXPECT_TRUE(changes_.empty());
    }
    bar_->SetRange(0, 100, 0, 0);
    bar_->SetPosition(7);
    bar_->SimplySetPosition(9);
    EXPECT_EQ(changes_, std::vector<int>{7});
    // A page that would not fit at the current position is dropped.
    bar_->SetRange(0, 529, 0, 0);
    bar_->SetPageSize(521);
    EXPECT_EQ(bar_->PageSize(), 521);
    bar_->SetPosition(100); // 9: the page must fit
    EXPECT_EQ(bar_->Position(), 9);
    bar_->SetPageSize(525);
    EXPECT_EQ(bar_->PageSize(), 521);
}

TEST_F(ScrollBarTest, DefaultLayout) {
    bar_->SetRange(0, 100, 0, 50);
    bar_->LayoutParts();
    EXPECT_EQ(bar_->TrackArea(), gui::Rect(17, 1, 183, 18));
    EXPECT_EQ(bar_->Parts(0).R, gui::Rect(92, 1, 108, 18));
    EXPECT_EQ(bar_->Parts(1).R, gui::Rect(183, 1, 199, 18));
    EXPECT_EQ(bar_->Parts(2).R, gui::Rect(1, 1, 17, 18));
    // A page: the thumb is the page's share of the track, never below 16.
    bar_->SetRange(0, 99, 50, 0);
    bar_->LayoutParts();
    EXPECT_EQ(bar_->Parts(0).R, gui::Rect(17, 1, 99, 18));
    bar_->SetRange(0, 9999, 1, 0);
    bar_->LayoutParts();
    EXPECT_EQ(gui::RectWidth(bar_->Parts(0).R), 16);
    // Disabled: no thumb (its frame is the thumb's left column).
    bar_->SetRange(0, 100, 0, 50);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(bar_, 92, 9), gui::ColorToRGB(gui::clBtnShadow));
    bar_->SetEnabled(false);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(bar_, 92, 9), gui::ColorToRGB(gui::clBtnFace));
}

TEST_F(ScrollBarTest, ArrowsRepeatAfterAPauseAndPauseOffTheButton) {
    bar_->SetRange(0, 1000, 0, 0);
    Press(bar_->Parts(1).R);
    EXPECT_EQ(changes_, std::vector<int>{1}); // at once
    Advance(500);
    EXPECT_EQ(changes_.size(), 1u); // the first tick only ends the pause
    Advance(50);
    EXPECT_EQ(changes_.size(), 2u);
    Advance(100);
    EXPECT_EQ(changes_.size(), 4u);
    MoveTo(bar_, 100, 9); // off the button: paused
    Advance(200);
    EXPECT_EQ(changes_.size(), 4u);
    POINT inc = Centre(bar_->Parts(1).R);
    MoveTo(bar_, inc.x, inc.y); // back: every 50 ms again
    Advance(50);
    EXPECT_EQ(changes_.size(), 5u);
    Release();
    Advance(200);
    EXPECT_EQ(changes_.size(), 5u);
    EXPECT_EQ(bar_->Position(), 5);
    // The decrement button, with its own handler in place of the step.
    int clicks = 0;
    bar_->OnDownButtonClick = [&](gui::TObject*) { ++clicks; };
    Press(bar_->Parts(2).R);
    Release();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(bar_->Position(), 5);
}

TEST_F(ScrollBarTest, PagingStopsAtTheThumb) {
    bar_->SetRange(0, 100, 0, 0);
    bar_->SetLargeChange(10);
    int pagesDown = 0;
    bar_->OnPageDown = [&](gui::TObject*) { ++pagesDown; };
    // x 150 of the track is position (150 - 25) / 150 * 100 = 83.
    POINT p = ScreenOf(bar_, 150, 9);
    D().MoveMouse(p.x, p.y);
    D().Press();
    RunUntilIdle();
    EXPECT_EQ(bar_->Position(), 10);
    Advance(2000);
    Release();
    // Pages while the thumb is short of the pointer: its right edge passes 150 at 80.
    EXPECT_EQ(bar_->Position(), 80);
    EXPECT_EQ(pagesDown, 8);
}

TEST_F(ScrollBarTest, ThumbDragChangesOnEveryMoveAndReportsTheRelease) {
    bar_->SetRange(0, 150, 0, 0); // one position a pixel: the thumb's centre runs 25 to 175
    int last = 0;
    bar_->OnLastChange = [&](gui::TObject*) { ++last; };
    Press(bar_->Parts(0).R);
    for (int x : {40, 70, 70, 500}) MoveTo(bar_, x, 9);
    EXPECT_EQ(changes_, (std::vector<int>{15, 45, 150}));
    EXPECT_EQ(last, 0);
    Release();
    EXPECT_EQ(last, 1);
    // Released without a change, still reported; an arrow's release is not.
    Press(bar_->Parts(0).R);
    Release();
    EXPECT_EQ(last, 2);
    Press(bar_->Parts(2).R);
    Release();
    EXPECT_EQ(last, 2);
    // A right click only reports the press.
    int downs = 0;
    bar_->OnMouseDown = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { ++downs; };
    changes_.clear();
    POINT t = ScreenOf(bar_, 100, 9);
    D().Click(t.x, t.y, 1);
    RunUntilIdle();
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(changes_.empty());
}

TEST_F(ScrollBarTest, PaintsFromEachStoredSkinAtSeveralSizes) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    bar_->SetSkinData(&data);
    auto* vbar = new TbsSkinScrollBar(form_);
    vbar->SetParent(form_);
    vbar->SetKind(TScrollBarKind::sbVertical);
    vbar->SetSkinDataName("vscrollbar");
    vbar->SetSkinData(&data);
    for (int index : {0, 3, 8}) {
        data.SetSkinIndex(index);
        for (int length : {80, 250}) {
            SCOPED_TRACE(std::to_string(index) + " " + std::to_string(length));
            bar_->SetBounds(10, 10, length, 40);
            vbar->SetBounds(300, 10, 40, length);
            RunUntilIdle();
            auto& h = dynamic_cast<TbsDataSkinScrollBarControl&>(
                *data.CtrlList[data.GetControlIndex("hscrollbar")]);
            EXPECT_EQ(bar_->Width(), length);
            EXPECT_EQ(bar_->Height(), h.SkinRect.Height()); // only the length follows
            EXPECT_EQ(vbar->Width(), h.SkinRect.Height());
            EXPECT_EQ(vbar->Height(), length);
            // The increment button stays at the end, its picture with it.
            EXPECT_EQ(bar_->Parts(1).R.right, length);
            EXPECT_EQ(PixelAt(bar_, length - 1, 0), PictureAt(data, h.PictureIndex, h.SkinRect.Right - 1, 0));
            EXPECT_EQ(vbar->Parts(1).R.bottom, length);
        }
    }
    // Back to no skin: the default height.
    bar_->SetSkinData(nullptr);
    bar_->ChangeSkinData();
    EXPECT_EQ(bar_->Height(), 19);
}

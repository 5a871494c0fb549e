// The skinned up/down pair (its halves, a click's order of events, the hold-to-repeat on the
// virtual clock, the range rules, its fixed skin size) and the skinned scroll box (its frame,
// the ranges of its linked bars, where its children go as it scrolls and grows).
#include "ControlFixtures.h"
#include "gui/CustomPanel.h"
#include "skin/controls/SkinScrollBox.h"
#include "skin/controls/SkinUpDown.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class UpDownTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        ud_ = new TbsSkinUpDown(form_);
        ud_->SetParent(form_);
        ud_->SetBounds(10, 10, 50, 25);
        ud_->OnChange = [this](gui::TObject*) {
            events_.push_back("change " + std::to_string(ud_->Position()));
        };
        ud_->OnUpButtonClick = [this](gui::TObject*) { events_.push_back("up"); };
        ud_->OnDownButtonClick = [this](gui::TObject*) { events_.push_back("down"); };
        form_->Show();
        RunUntilIdle();
    }
    static POINT Centre(const gui::TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    SkinWalkForm* form_ = nullptr;
    TbsSkinUpDown* ud_ = nullptr;
    std::vector<std::string> events_;
};

} // namespace

TEST_F(UpDownTest, HalvesByOrientation) {
    // Horizontal: decreasing on the left, increasing on the right.
    EXPECT_EQ(ud_->Button(1).R, gui::Rect(0, 0, 25, 25));
    EXPECT_EQ(ud_->Button(0).R, gui::Rect(25, 0, 50, 25));
    ud_->SetOrientation(gui::udVertical);
    ud_->SetBounds(10, 10, 20, 40);
    EXPECT_EQ(ud_->Button(0).R, gui::Rect(0, 0, 20, 20));
    EXPECT_EQ(ud_->Button(1).R, gui::Rect(0, 20, 20, 40));
    // Pressed look of the held half: navy frame, the pressed fill inside.
    POINT up = Centre(ud_->Button(0).R);
    MoveTo(ud_, up.x, up.y);
    D().Press();
    RunUntilIdle();
    EXPECT_EQ(PixelAt(ud_, 0, 0), RGB(0, 0, 128));
    EXPECT_EQ(PixelAt(ud_, 2, 2), RGB(133, 147, 181));
    EXPECT_EQ(PixelAt(ud_, 2, 22), gui::ColorToRGB(gui::clBtnFace));
    D().Release();
    RunUntilIdle();
}

TEST_F(UpDownTest, ClickStepsThenFiresTheButtonEvent) {
    ud_->SetMax(100);
    ud_->SetIncrement(2);
    ud_->SetPosition(5);
    events_.clear();
    POINT up = Centre(ud_->Button(0).R), down = Centre(ud_->Button(1).R);
    ClickAt(ud_, up.x, up.y);
    EXPECT_EQ(ud_->Position(), 7);
    EXPECT_EQ(events_, (std::vector<std::string>{"change 7", "up"}));
    events_.clear();
    ClickAt(ud_, down.x, down.y);
    EXPECT_EQ(events_, (std::vector<std::string>{"change 5", "down"}));
    // At the end the position stays and only the button event fires.
    ud_->SetPosition(100);
    events_.clear();
    ClickAt(ud_, up.x, up.y);
    EXPECT_EQ(ud_->Position(), 100);
    EXPECT_EQ(events_, (std::vector<std::string>{"up"}));
    // Released off the button: no step, no event.
    events_.clear();
    MoveTo(ud_, down.x, down.y);
    D().Press();
    RunUntilIdle();
    MoveTo(ud_, 200, 100);
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(ud_->Position(), 100);
    EXPECT_TRUE(events_.empty());
}

TEST_F(UpDownTest, HeldButtonRepeatsAfter600msEvery100ms) {
    ud_->SetPosition(10);
    events_.clear();
    POINT up = Centre(ud_->Button(0).R);
    MoveTo(ud_, up.x, up.y);
    D().Press();
    RunUntilIdle();
    Advance(590);
    EXPECT_EQ(ud_->Position(), 10);
    Advance(20);
    EXPECT_EQ(ud_->Position(), 11);
    Advance(200);
    EXPECT_EQ(ud_->Position(), 13);
    // The release over the button makes one more step.
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(ud_->Position(), 14);
    Advance(500);
    EXPECT_EQ(ud_->Position(), 14);
    EXPECT_EQ(events_.back(), "up");
}

TEST_F(UpDownTest, RangeRules) {
    ud_->SetPosition(50);
    events_.clear();
    ud_->SetPosition(101); // out of range: ignored
    ud_->SetPosition(-1);
    EXPECT_EQ(ud_->Position(), 50);
    ud_->SetPosition(50); // accepted, also unchanged
    EXPECT_EQ(events_, (std::vector<std::string>{"change 50"}));
    ud_->SetMax(30); // lowers the position silently
    EXPECT_EQ(ud_->Position(), 30);
    ud_->SetMin(40);
    EXPECT_EQ(ud_->Position(), 40);
    EXPECT_EQ(events_.size(), 1u);
    // No increment: clicks still tell, without a step.
    ud_->SetMin(0);
    ud_->SetMax(100);
    ud_->SetPosition(3);
    ud_->SetIncrement(0);
    events_.clear();
    POINT up = Centre(ud_->Button(0).R);
    ClickAt(ud_, up.x, up.y);
    EXPECT_EQ(ud_->Position(), 3);
    EXPECT_EQ(events_, (std::vector<std::string>{"up"}));
}

TEST_F(UpDownTest, SkinEntryFixesTheSizeAndButtons) {
    TbsSkinData data(nullptr);
    gdi::image::Image picture;
    picture.Reset(80, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) picture.At(x, y) = 0xFF000000u | (x < 18 ? 0x102030u : 0x405060u);
    UsePicture(data, picture);
    auto& d = AddControl<TbsDataSkinUpDownControl>(data, "hupdown");
    d.PictureIndex = 0;
    d.SkinRect = Rect(0, 0, 36, 18);
    d.LTPoint = Point(4, 4); // not honoured: the pair keeps the picture's size
    d.RBPoint = Point(30, 14);
    d.UpButtonRect = Rect(18, 0, 36, 18);
    d.DownButtonRect = Rect(0, 0, 18, 18);
    d.ActiveUpButtonRect = Rect(40, 0, 58, 18);
    ud_->SetSkinData(&data);
    ud_->SetBounds(10, 10, 100, 60);
    EXPECT_EQ(ud_->Width(), 36);
    EXPECT_EQ(ud_->Height(), 18);
    EXPECT_EQ(ud_->Button(0).R, gui::Rect(18, 0, 36, 18));
    EXPECT_EQ(ud_->Button(1).R, gui::Rect(0, 0, 18, 18));
    // Without the skin's size the pair takes any size and halves itself.
    ud_->SetUseSkinSize(false);
    ud_->SetBounds(10, 10, 60, 20);
    EXPECT_EQ(ud_->Width(), 60);
    EXPECT_EQ(ud_->Button(0).R, gui::Rect(30, 0, 60, 20));
    ud_->SetSkinData(nullptr);
}

// --- scroll box ----------------------------------------------------------------------------

namespace {

class ScrollBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 500, 400);
        box_ = new TbsSkinScrollBox(form_);
        box_->SetParent(form_);
        box_->SetBounds(10, 10, 150, 150);
        vbar_ = new TbsSkinScrollBar(form_);
        vbar_->SetKind(TScrollBarKind::sbVertical);
        vbar_->SetParent(form_);
        vbar_->SetBounds(160, 10, 19, 150);
        hbar_ = new TbsSkinScrollBar(form_);
        hbar_->SetParent(form_);
        hbar_->SetBounds(10, 160, 150, 19);
        child_ = new gui::TPanel(form_);
        child_->SetParent(box_);
        child_->SetBounds(0, 0, 100, 300);
        form_->Show();
        box_->SetVScrollBar(vbar_);
        box_->SetHScrollBar(hbar_);
        RunUntilIdle();
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinScrollBox* box_ = nullptr;
    TbsSkinScrollBar *vbar_ = nullptr, *hbar_ = nullptr;
    gui::TPanel* child_ = nullptr;
};

} // namespace

TEST_F(ScrollBoxTest, RangeFollowsTheContent) {
    EXPECT_EQ(box_->ClientWidth(), 148);
    EXPECT_EQ(box_->ClientHeight(), 148);
    EXPECT_TRUE(vbar_->Visible());
    EXPECT_FALSE(hbar_->Visible());
    EXPECT_EQ(vbar_->Max(), 299);
    EXPECT_EQ(vbar_->PageSize(), 148);
    vbar_->SetPosition(50);
    EXPECT_EQ(child_->Top(), -50);
    // Wider content brings the horizontal bar, which then leaves room for the vertical one.
    child_->SetWidth(200);
    box_->UpDateScrollRange();
    EXPECT_TRUE(hbar_->Visible());
    EXPECT_EQ(hbar_->Max(), 199);
    EXPECT_TRUE(hbar_->Both());
    hbar_->SetPosition(30);
    EXPECT_EQ(child_->Left(), -30);
    // When everything fits the content goes back to the origin and the bars go.
    child_->SetBounds(child_->Left(), child_->Top(), 50, 50);
    box_->UpDateScrollRange();
    EXPECT_EQ(child_->Left(), 0);
    EXPECT_EQ(child_->Top(), 0);
    EXPECT_FALSE(vbar_->Visible());
    EXPECT_FALSE(hbar_->Visible());
}

TEST_F(ScrollBoxTest, GrowingWhileScrolledToTheEndGivesTheSpaceBack) {
    ASSERT_EQ(vbar_->PageSize(), 148);
    vbar_->SetPosition(152);
    ASSERT_EQ(vbar_->Position(), 152);
    box_->SetBounds(box_->Left(), box_->Top(), 150, 190);
    EXPECT_EQ(vbar_->Position(), 112);
    EXPECT_EQ(vbar_->Max(), 299);
    EXPECT_EQ(vbar_->PageSize(), 188);
    EXPECT_EQ(child_->Top(), -112);
}

TEST_F(ScrollBoxTest, ScrollFromCodeStaysWithinTheBar) {
    child_->SetWidth(300);
    box_->UpDateScrollRange();
    struct Case {
        bool vertical;
        int asked, expected;
    } cases[] = {
        {true,  1000, 152},
        {true,  -20,  0  },
        {false, 1000, 152},
        {false, 70,   70 },
    };
    for (const Case& c : cases) {
        if (c.vertical)
            box_->VScroll(c.asked);
        else
            box_->HScroll(c.asked);
        TbsSkinScrollBar* bar = c.vertical ? vbar_ : hbar_;
        EXPECT_EQ(bar->Position(), c.expected) << c.asked;
        EXPECT_EQ(c.vertical ? child_->Top() : child_->Left(), -c.expected) << c.asked;
    }
}

TEST_F(ScrollBoxTest, FrameByBorderStyleAndSkin) {
    // Without a skin: one pixel of frame in the box's border style; none with bvNone.
    EXPECT_EQ(PixelAt(box_, -1, -1), gui::ColorToRGB(gui::clBtnShadow));
    box_->SetBorderStyle(TbsSkinBorderStyle::bvRaised);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(box_, 148, 148), gui::ColorToRGB(gui::clBtnHighlight));
    box_->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    RunUntilIdle();
    EXPECT_EQ(box_->ClientWidth(), 150);
    box_->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    // A skin frame of 5 pixels; a background picture takes the frame away.
    TbsSkinData data(nullptr);
    gdi::image::Image picture;
    picture.Reset(60, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            picture.At(x, y) = 0xFF000000u | (x < 5 || y < 5 ? 0xFF0000u : 0x00FF00u);
    UsePicture(data, picture);
    UsePicture(data, picture);
    auto& d = AddControl<TbsDataSkinScrollBoxControl>(data, "scrollbox");
    d.PictureIndex = 0;
    d.SkinRect = Rect(0, 0, 40, 40);
    d.LTPoint = Point(5, 5);
    d.RTPoint = Point(35, 5);
    d.LBPoint = Point(5, 35);
    d.RBPoint = Point(35, 35);
    d.ClRect = Rect(5, 5, 35, 35);
    box_->SetSkinData(&data);
    RunUntilIdle();
    EXPECT_EQ(box_->ClientWidth(), 140);
    EXPECT_EQ(PixelAt(box_, -5, -5), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(box_, 120, 3), RGB(0, 255, 0)); // right of the child
    EXPECT_EQ(vbar_->PageSize(), 140);
    d.BGPictureIndex = 1;
    box_->ChangeSkinData();
    RunUntilIdle();
    EXPECT_EQ(box_->ClientWidth(), 150);
    EXPECT_EQ(PixelAt(box_, 120, 3), RGB(255, 0, 0)); // the picture tiled from the corner
    box_->SetSkinData(nullptr);
}

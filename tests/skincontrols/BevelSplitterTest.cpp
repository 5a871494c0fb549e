// The skinned bevel's colours and divider, and the skinned splitter's thickness and strip.
#include "ControlFixtures.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinSplitter.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class BevelSplitterTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        UsePicture(data_, enginetest::Distinct(8, 40));
        auto& bevel = AddControl<TbsDataSkinBevel>(data_, "bevel");
        bevel.DarkColor = static_cast<gui::TColor>(RGB(200, 0, 0));
        bevel.LightColor = static_cast<gui::TColor>(RGB(0, 200, 0));
        auto& split = AddControl<TbsDataSkinSplitterControl>(data_, "vsplitter");
        split.PictureIndex = 0;
        split.SkinRect = Rect(0, 0, 6, 40);
        split.LTPoint = Point(0, 5), split.LBPoint = Point(0, 35);
        split.StretchEffect = true;
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        form_->SetColor(gui::clYellow);
        form_->Show();
        RunUntilIdle();
    }
    TbsSkinData data_;
    SkinWalkForm* form_ = nullptr;
};

} // namespace

TEST_F(BevelSplitterTest, BevelTakesTheSkinsColoursAndDrawsItsDivider) {
    auto* b = new TbsSkinBevel(form_);
    b->SetParent(form_);
    b->SetBounds(10, 10, 100, 10);
    b->SetShape(gui::bsTopLine);
    b->SetDividerMode(true);
    b->SetSkinData(&data_);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 2, 4), RGB(200, 0, 0)); // lowered: dark above
    EXPECT_EQ(PixelAt(b, 50, 5), RGB(0, 200, 0));
    EXPECT_EQ(PixelAt(b, 1, 4), gui::ColorToRGB(gui::clYellow));
    EXPECT_EQ(PixelAt(b, 50, 0), gui::ColorToRGB(gui::clYellow));
    b->SetSkinData(nullptr); // back to the system colours
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 50, 4), gui::ColorToRGB(gui::clBtnShadow));
    // A vertical divider without room between its ends draws nothing.
    b->SetShape(gui::bsLeftLine);
    b->SetBounds(10, 10, 10, 3);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 4, 1), gui::ColorToRGB(gui::clYellow));
}

TEST_F(BevelSplitterTest, SplitterTakesTheSkinsThicknessUnlessTransparent) {
    auto* left = new gui::TCustomControl(form_);
    left->SetParent(form_);
    left->SetAlign(gui::alLeft);
    left->SetWidth(80);
    auto* s = new TbsSkinSplitter(form_);
    s->SetParent(form_);
    s->SetAlign(gui::alLeft);
    s->SetLeft(100);
    s->SetSkinData(&data_);
    RunUntilIdle();
    EXPECT_EQ(s->Width(), 6);
    // The caps stay, the middle stretches.
    EXPECT_EQ(PixelAt(s, 0, 0), PictureAt(data_, 0, 0, 0));
    EXPECT_EQ(PixelAt(s, 5, s->Height() - 1), PictureAt(data_, 0, 5, 39));
    s->SetTransparent(true);
    s->ChangeSkinData();
    EXPECT_EQ(s->Width(), 10);
}

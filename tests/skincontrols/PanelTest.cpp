// Skinned panels and group boxes: the parent's background under a transparent panel, rolling
// up and down, the checked caption, and painting from the stored skins.
#include "ControlFixtures.h"
#include "skin/controls/SkinPanel.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class PanelTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        UsePicture(data_, enginetest::Distinct(40, 40));
        auto& d = AddControl<TbsDataSkinPanelControl>(data_, "panel");
        d.PictureIndex = 0;
        d.SkinRect = Rect(0, 0, 40, 40);
        d.LTPoint = Point(5, 25), d.RTPoint = Point(35, 25), d.LBPoint = Point(5, 35),
        d.RBPoint = Point(35, 35);
        d.ClRect = Rect(5, 25, 35, 35); // 120 high at a height of 150
        d.CaptionRect = Rect(5, 2, 35, 22);
        d.StretchEffect = false;
        auto& g = AddControl<TbsDataSkinPanelControl>(data_, "groupbox");
        g = d;
        g.IDName = "groupbox";
        g.CaptionRect = Rect(5, 36, 35, 40); // below the client area
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        form_->SetColor(gui::clYellow);
        form_->Show();
        RunUntilIdle();
    }
    template <class P = TbsSkinPanel> P* Make(bool skinned = true) {
        auto* p = new P(form_);
        p->SetParent(form_);
        p->SetBounds(10, 10, 200, 150);
        if (skinned) p->SetSkinData(&data_);
        RunUntilIdle();
        return p;
    }
    TbsSkinData data_;
    SkinWalkForm* form_ = nullptr;
};

} // namespace

TEST_F(PanelTest, TransparentPanelShowsTheParentUnderIt) {
    auto* p = Make();
    p->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    p->SetTransparentMode(true);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(p, 0, 0), gui::ColorToRGB(gui::clYellow));
    EXPECT_EQ(PixelAt(p, 100, 100), gui::ColorToRGB(gui::clYellow));
    // Not transparent and borderless: the skin's client piece all over.
    p->SetTransparentMode(false);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(p, 0, 0), PictureAt(data_, 0, 5, 25));
}

TEST_F(PanelTest, RollsUpToItsCaptionAndBackWithItsConstraintsAndChildren) {
    auto* p = Make();
    p->Constraints()->SetMinWidth(50);
    p->Constraints()->SetMaxHeight(400);
    auto* shown = new gui::TCustomControl(form_);
    shown->SetParent(p);
    auto* hidden = new gui::TCustomControl(form_);
    hidden->SetParent(p);
    hidden->Hide();
    p->RollUpMode = true;
    int changes = 0;
    p->OnChangeRollUpState = [&](gui::TObject*) { ++changes; };
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 30);
    EXPECT_EQ(p->RealHeight(), 150);
    EXPECT_FALSE(shown->Visible());
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 150);
    EXPECT_EQ(p->RealHeight(), -1);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible()); // hidden before: stays hidden
    EXPECT_EQ(p->Constraints()->MinWidth(), 50);
    EXPECT_EQ(p->Constraints()->MaxHeight(), 400);
    EXPECT_EQ(changes, 2);
    // Without a skin the caption bar's height is what stays.
    auto* plain = Make(false);
    plain->SetCaptionMode(true);
    plain->RollUpMode = true;
    plain->SetRollUpState(true);
    EXPECT_EQ(plain->Height(), 23);
    // A click on the caption rolls it down again.
    ClickAt(plain, 50, 10);
    EXPECT_FALSE(plain->RollUpState());
    EXPECT_EQ(plain->Height(), 150);
}

TEST_F(PanelTest, CheckedCaptionEnablesTheChildren) {
    auto* p = Make(false);
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    auto* child = new gui::TCustomControl(form_);
    child->SetParent(p);
    int fired = 0;
    p->OnChecked = [&](gui::TObject*) { ++fired; };
    p->SetChecked(false);
    EXPECT_FALSE(child->Enabled());
    EXPECT_EQ(fired, 1); // also without a change
    ClickAt(p, 50, 10);
    EXPECT_TRUE(p->Checked());
    EXPECT_TRUE(child->Enabled());
    EXPECT_EQ(fired, 2);
    // Children align below the default caption bar, or above it at the bottom.
    EXPECT_EQ(p->GetSkinClientRect(), gui::Rect(1, 23, 199, 149));
    p->SetRibbonStyle(true);
    EXPECT_EQ(p->GetSkinClientRect(), gui::Rect(1, 1, 199, 127));
}

TEST_F(PanelTest, GroupBoxWithItsCaptionBelowPaintsWhole) {
    auto* g = Make<TbsSkinGroupBox>();
    EXPECT_TRUE(g->CaptionMode());
    RunUntilIdle();
    EXPECT_FALSE(g->ForcebackGround);
    auto* p = Make();
    EXPECT_TRUE(p->ForcebackGround);
    // Both show the picture's corners at their size.
    for (TbsSkinPanel* panel : {static_cast<TbsSkinPanel*>(g), p}) {
        EXPECT_EQ(PixelAt(panel, 0, 0), PictureAt(data_, 0, 0, 0));
        EXPECT_EQ(PixelAt(panel, 199, 149), PictureAt(data_, 0, 39, 39));
    }
}

TEST_F(GuiTest, PanelsPaintFromStoredSkins) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 400, 300);
    auto* panel = new TbsSkinPanel(form);
    panel->SetParent(form);
    panel->SetSkinData(&data);
    auto* group = new TbsSkinGroupBox(form);
    group->SetParent(form);
    group->SetSkinData(&data);
    form->Show();
    for (int index : {0, 3, 8}) {
        data.SetSkinIndex(index);
        for (const char* name : {"panel", "groupbox"}) {
            auto& d = dynamic_cast<TbsDataSkinPanelControl&>(*data.CtrlList[data.GetControlIndex(name)]);
            TbsSkinPanel* p = std::string(name) == "panel" ? panel : static_cast<TbsSkinPanel*>(group);
            for (int size : {90, 180}) {
                SCOPED_TRACE(std::to_string(index) + " " + name + " " + std::to_string(size));
                p->SetBounds(p == panel ? 10 : 200, 10, size, size);
                RunUntilIdle();
                EXPECT_EQ(PixelAt(p, 0, size - 1), PictureAt(data, d.PictureIndex, 0, d.SkinRect.Bottom - 1));
                EXPECT_EQ(PixelAt(p, size - 1, size / 2),
                          PictureAt(data, d.PictureIndex, d.SkinRect.Right - 1,
                                    d.SkinRect.Top + d.SkinRect.Height() / 2));
            }
        }
    }
}

TEST_F(PanelTest, CaptionImageFromTheListAndTheCaptionFrame) {
    auto& d = dynamic_cast<TbsDataSkinPanelControl&>(*data_.CtrlList[data_.GetControlIndex("panel")]);
    auto& f = AddControl<TbsDataSkinPanelControl>(data_, "framepanel");
    f = d;
    f.IDName = "framepanel";
    f.Alignment = TAlignment::taLeftJustify;
    f.FrameRect = Rect(0, 0, 20, 10);
    f.FrameTextRect = Rect(4, 0, 16, 10);
    f.FrameLeftOffset = f.FrameRightOffset = 4;
    auto* images = new gui::TImageList(form_);
    images->SetSize(8, 8);
    gui::TBitmap red;
    red.SetSize(8, 8);
    red.Canvas()->Brush()->SetColor(RGB(255, 0, 0));
    red.Canvas()->FillRect({0, 0, 8, 8});
    images->Add(&red, nullptr);
    auto* p = Make();
    p->SetCaption("AB");
    p->SetCaptionImageList(images);
    p->SetCaptionImageIndex(0);
    p->SetImagePosition(TbsImagePosition::bsipLeft);
    RunUntilIdle();
    // At the caption's left edge + 2, centred in the caption (2..22).
    EXPECT_EQ(PixelAt(p, 5 + 2 + 4, 12), RGB(255, 0, 0));
    // An index beyond the list: no image.
    p->SetCaptionImageIndex(3);
    RunUntilIdle();
    EXPECT_NE(PixelAt(p, 5 + 2 + 4, 12), RGB(255, 0, 0));
    // The caption frame stands behind the text, from the frame's own picture.
    p->SetCaptionImageIndex(-1);
    p->SetSkinDataName("framepanel");
    p->ChangeSkinData();
    RunUntilIdle();
    EXPECT_EQ(PixelAt(p, 5, 2), PictureAt(data_, 0, 0, 0));
    EXPECT_EQ(PixelAt(p, 6, 3), PictureAt(data_, 0, 1, 1));
    // The list going away leaves no dangling image.
    delete images;
    EXPECT_EQ(p->CaptionImageList(), nullptr);
}

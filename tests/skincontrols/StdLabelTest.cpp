// The skinned standard label: its font from the skin or from DefaultFont, re-fitted on a skin
// change, and engraved when disabled.
#include "ControlFixtures.h"
#include "skin/controls/SkinStdLabel.h"
#include "skin/controls/SkinTextLabel.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

// Whether any pixel of the label shows the colour.
bool Shows(GuiTest*, gui::TControl* c, COLORREF colour, COLORREF (*pixel)(gui::TControl*, int, int)) {
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x)
            if (pixel(c, x, y) == colour) return true;
    return false;
}

class StdLabelTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        auto& d = AddControl<TbsDataSkinStdLabelControl>(data_, "stdlabel");
        d.FontName = "Arial";
        d.FontHeight = -28;
        d.FontColor = static_cast<gui::TColor>(RGB(200, 0, 0));
        data_.Empty = false;
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 200);
        form_->SetColor(gui::clWhite);
        label_ = new TbsSkinStdLabel(form_);
        label_->SetParent(form_);
        label_->SetBounds(10, 10, 10, 10);
        label_->SetAutoSize(true);
        label_->SetCaption("WWWW");
        form_->Show();
        RunUntilIdle();
    }
    TbsSkinData data_;
    SkinWalkForm* form_ = nullptr;
    TbsSkinStdLabel* label_ = nullptr;
};

} // namespace

TEST_F(StdLabelTest, FontFromTheSkinOrTheDefaultFont) {
    int plain = label_->Height();
    gui::TFont big;
    big.SetHeight(-20);
    label_->SetDefaultFont(&big);
    label_->ChangeSkinData();
    int byDefault = label_->Height();
    EXPECT_GT(byDefault, plain); // DefaultFont, not Font
    label_->SetSkinData(&data_);
    RunUntilIdle();
    EXPECT_GT(label_->Height(), byDefault); // re-fitted to the skin's font
    EXPECT_TRUE(Shows(this, label_, RGB(200, 0, 0), &PixelAt));
    label_->UseSkinColor = false;
    label_->Invalidate();
    RunUntilIdle();
    EXPECT_FALSE(Shows(this, label_, RGB(200, 0, 0), &PixelAt));
}

TEST_F(StdLabelTest, DisabledTextIsEngraved) {
    COLORREF highlight = gui::ColorToRGB(gui::clBtnHighlight), shadow = gui::ColorToRGB(gui::clBtnShadow);
    gui::TFont bold; // strokes wide enough to have pixels of the full colour
    bold.SetHeight(-40);
    bold.SetStyle(gui::fsBold);
    label_->SetDefaultFont(&bold);
    label_->ChangeSkinData();
    form_->SetColor(gui::clYellow);
    RunUntilIdle();
    EXPECT_FALSE(Shows(this, label_, shadow, &PixelAt));
    label_->SetEnabled(false);
    RunUntilIdle();
    EXPECT_TRUE(Shows(this, label_, highlight, &PixelAt));
    EXPECT_TRUE(Shows(this, label_, shadow, &PixelAt));
}

TEST_F(StdLabelTest, TextLabelFitsItsLinesAndKeepsItsRightEdge) {
    auto* t = new TbsSkinTextLabel(form_);
    t->SetParent(form_);
    t->SetBounds(300, 50, 50, 50);
    t->SetAlignment(gui::taRightJustify);
    t->Lines()->Add("WW");
    int one = t->Height();
    EXPECT_GT(one, 0);
    EXPECT_EQ(t->Left() + t->Width(), 350);
    t->Lines()->Add("WWWWWW");
    EXPECT_EQ(t->Height(), 2 * one);
    EXPECT_EQ(t->Left() + t->Width(), 350);
    // No lines: no height, never less than none.
    t->Lines()->Clear();
    EXPECT_EQ(t->Height(), 0);
    // The skin's font makes it taller.
    t->Lines()->Add("WW");
    t->SetSkinData(&data_);
    EXPECT_GT(t->Height(), one);
}

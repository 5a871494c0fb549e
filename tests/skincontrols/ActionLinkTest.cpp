// The skinned controls linked to actions: buttons run their action unless they have their own
// handler, take its image as their glyph, and a check box takes its check mark.
#include "ControlFixtures.h"
#include "gui/ActnList.h"
#include "gui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinSpeedButton.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class ActionLinkTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        images_ = new gui::TImageList(form_);
        images_->SetSize(16, 16);
        gui::TBitmap b;
        b.SetSize(32, 16);
        b.Canvas()->Brush()->SetColor(gui::clRed);
        b.Canvas()->FillRect(gui::Rect(0, 0, 16, 16));
        b.Canvas()->Brush()->SetColor(gui::clBlue);
        b.Canvas()->FillRect(gui::Rect(16, 0, 32, 16));
        images_->Add(&b, nullptr);
        list_ = new gui::TActionList(form_);
        list_->SetImages(images_);
        action_ = new gui::TAction(form_);
        action_->SetActionList(list_);
        action_->SetCaption("转换");
        action_->SetImageIndex(1);
        action_->OnExecute = [this](gui::TObject*) { log_.push_back("execute"); };
        form_->Show();
        RunUntilIdle();
    }
    SkinWalkForm* form_ = nullptr;
    gui::TImageList* images_ = nullptr;
    gui::TActionList* list_ = nullptr;
    gui::TAction* action_ = nullptr;
    std::vector<std::string> log_;
};

} // namespace

TEST_F(ActionLinkTest, ButtonsRunTheirActionAndShowItsImage) {
    auto* speed = new TbsSkinSpeedButton(form_);
    speed->SetParent(form_);
    speed->SetBounds(10, 10, 60, 30);
    auto* push = new TbsSkinButton(form_);
    push->SetParent(form_);
    push->SetBounds(10, 50, 75, 25);
    for (gui::TControl* c : std::vector<gui::TControl*>{speed, push}) c->SetAction(action_);
    RunUntilIdle();
    struct Case {
        const char* name;
        gui::TBitmap* glyph;
        std::function<void()> click;
        gui::TNotifyEvent& onClick;
    } cases[] = {
        {"speed", speed->Glyph(), [&] { speed->ButtonClick(); }, speed->OnClick},
        {"push",  push->Glyph(),  [&] { push->ButtonClick(); },  push->OnClick },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.glyph->Width(), 16);
        EXPECT_EQ(c.glyph->Canvas()->Pixels(5, 5), gui::ColorToRGB(gui::clBlue));
        log_.clear();
        c.click();
        EXPECT_EQ(log_, std::vector<std::string>{"execute"});
        c.onClick = [this](gui::TObject*) { log_.push_back("own"); };
        c.click();
        EXPECT_EQ(log_, (std::vector<std::string>{"execute", "own"}));
    }
    EXPECT_EQ(speed->Caption(), "转换");
    action_->SetEnabled(false);
    EXPECT_FALSE(speed->Enabled());
    EXPECT_FALSE(push->Enabled());
    // A glyph of its own stays.
    action_->SetImageIndex(0);
    EXPECT_EQ(speed->Glyph()->Canvas()->Pixels(5, 5), gui::ColorToRGB(gui::clBlue));
}

TEST_F(ActionLinkTest, CheckBoxTakesTheActionsCheckMark) {
    auto* box = new TbsSkinCheckRadioBox(form_);
    box->SetParent(form_);
    box->SetBounds(10, 10, 150, 25);
    int clicks = 0;
    box->OnClick = [&](gui::TObject*) { ++clicks; };
    action_->SetChecked(true);
    box->SetAction(action_);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
    action_->SetChecked(false);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
    // Another change of the action leaves the mark, and fires nothing.
    action_->SetCaption("预览");
    EXPECT_EQ(box->Caption(), "预览");
    EXPECT_EQ(clicks, 2);
}

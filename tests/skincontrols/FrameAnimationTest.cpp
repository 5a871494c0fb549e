// The hover animation of the skinned buttons: the strip's frames one per interval towards the
// hot look when the mouse comes, back towards the normal look when it goes, and none without
// skin effects.
#include "ControlFixtures.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinSpeedButton.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

constexpr int kW = 40, kH = 20, kInterval = 30;
// Normal, hot, then the three frames of the strip, one above the other.
const uint32_t kRows[] = {0xFFC00000u, 0xFF00C000u, 0xFF101010u, 0xFF505050u, 0xFF909090u};

class FrameAnimationTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        gdi::image::Image img;
        img.Reset(kW, 5 * kH);
        for (int i = 0; i < 5; ++i)
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) img.At(x, i * kH + y) = kRows[i];
        UsePicture(data_, img);
        auto& d = AddControl<TbsDataSkinButtonControl>(data_, "animbutton");
        d.PictureIndex = 0;
        d.SkinRect = Rect(0, 0, kW, kH);
        d.ActiveSkinRect = Rect(0, kH, kW, 2 * kH);
        d.AnimateSkinRect = Rect(0, 2 * kH, kW, 5 * kH);
        d.FrameCount = 3;
        d.AnimateInterval = kInterval;
        data_.EnableSkinEffects = true;
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        form_->Show();
        RunUntilIdle();
    }
    // The colour shown at a point of the control after each interval, from the mouse's arrival.
    std::vector<COLORREF> Steps(gui::TControl* c, int n) {
        std::vector<COLORREF> seen;
        RunUntilIdle();
        seen.push_back(PixelAt(c, 5, 5));
        for (int i = 0; i < n; ++i) {
            Advance(kInterval);
            seen.push_back(PixelAt(c, 5, 5));
        }
        return seen;
    }
    static COLORREF Row(int i) { return Shown(kRows[i]); }
    TbsSkinData data_;
    SkinWalkForm* form_ = nullptr;
};

} // namespace

TEST_F(FrameAnimationTest, ButtonsStepThroughTheStripBothWays) {
    auto* button = new TbsSkinButton(form_);
    button->SetParent(form_);
    button->SetSkinDataName("animbutton");
    button->SetBounds(10, 10, kW, kH);
    button->SetSkinData(&data_);
    auto* speed = new TbsSkinSpeedButton(form_);
    speed->SetParent(form_);
    speed->SkinDataName = "animbutton";
    speed->SetBounds(10, 60, kW, kH);
    speed->SetSkinData(&data_);
    for (gui::TControl* c : std::initializer_list<gui::TControl*>{button, speed}) {
        SCOPED_TRACE(c->ClassName());
        MoveTo(c, 5, 5);
        EXPECT_EQ(Steps(c, 3), (std::vector<COLORREF>{Row(2), Row(3), Row(4), Row(1)}));
        MoveTo(form_, 290, 190);
        EXPECT_EQ(Steps(c, 3), (std::vector<COLORREF>{Row(4), Row(3), Row(2), Row(0)}));
        // A press stops it at once.
        MoveTo(c, 5, 5);
        D().Press();
        RunUntilIdle();
        auto running = [&] {
            auto* b = dynamic_cast<TbsSkinButton*>(c);
            return b ? b->Animation().Running() : static_cast<TbsSkinSpeedButton*>(c)->Animation().Running();
        };
        EXPECT_FALSE(running());
        D().Release();
        MoveTo(form_, 290, 190);
        Advance(4 * kInterval);
    }
    // Without skin effects the looks change at once.
    data_.EnableSkinEffects = false;
    MoveTo(speed, 5, 5);
    EXPECT_EQ(Steps(speed, 1), (std::vector<COLORREF>{Row(1), Row(1)}));
    button->SetSkinData(nullptr);
    speed->SetSkinData(nullptr);
}

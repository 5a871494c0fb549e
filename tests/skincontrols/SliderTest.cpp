// The skinned slider: value and thumb place, range and increment rules, jumps, the event order
// of a drag and of a held press on the ruler (on the virtual clock), keys, and the layout from
// a skin entry.
#include "ControlFixtures.h"
#include "skin/controls/SkinSlider.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class SliderTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        slider_ = new TbsSkinSlider(form_);
        slider_->SetParent(form_);
        slider_->SetBounds(10, 10, 200, 31);
        slider_->OnChange = [this](gui::TObject*) {
            events_.push_back("change " + std::to_string(slider_->Value()));
        };
        slider_->OnChanged = [this](gui::TObject*) { events_.push_back("changed"); };
        slider_->OnMouseDown = [this](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
            events_.push_back("down");
        };
        slider_->OnMouseUp = [this](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
            events_.push_back("up " + std::to_string(slider_->Value()));
        };
        form_->Show();
        RunUntilIdle();
        events_.clear();
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinSlider* slider_ = nullptr;
    std::vector<std::string> events_;
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(SliderTest, ValueClampsAndFiresOnlyOnAChange) {
    slider_->SetValue(0);
    EXPECT_TRUE(events_.empty());
    slider_->SetValue(150);
    slider_->SetValue(120);
    EXPECT_EQ(slider_->Value(), 100);
    EXPECT_EQ(events_, Events{"change 100"});
    // Lowering the maximum below the value clamps it once; an empty range is refused.
    events_.clear();
    slider_->SetMaxValue(60);
    EXPECT_EQ(slider_->Value(), 60);
    slider_->SetMaxValue(0);
    slider_->SetMaxValue(-5);
    EXPECT_EQ(slider_->MaxValue(), 60);
    EXPECT_EQ(events_, Events{"change 60"});
    // An increment larger than the range shrinks to it; 0 or less is ignored.
    slider_->SetMaxValue(10);
    EXPECT_EQ(slider_->Increment(), 10);
    slider_->SetMaxValue(5);
    EXPECT_EQ(slider_->Increment(), 5);
    slider_->SetIncrement(0);
    slider_->SetIncrement(-3);
    EXPECT_EQ(slider_->Increment(), 5);
}

TEST_F(SliderTest, ThumbSitsOnTheValuesPlace) {
    // Built-in thumb 9 wide on a 188-pixel ruler: a travel of 179.
    ASSERT_EQ(slider_->RulerLength(), 179);
    slider_->SetMaxValue(200);
    struct Case {
        int value, left;
    } cases[] = {
        {0,   6  },
        {100, 96 },
        {200, 185},
        {1,   7  },
        {199, 184}, // 6 + Round(89.5) = 96: halves to even
    };
    for (const Case& c : cases) {
        slider_->SetValue(c.value);
        EXPECT_EQ(slider_->ThumbRect().left, c.left) << c.value;
    }
    // More values than pixels: the ends map back exactly.
    EXPECT_EQ(slider_->ValueAtOffset(6), 0);
    EXPECT_EQ(slider_->ValueAtOffset(185), 200);
    EXPECT_EQ(slider_->ValueAtOffset(300), 200);
    // Vertical: the maximum is at the top; the size is exchanged.
    slider_->SetOrientation(TbsSliderOrientation::soVertical);
    EXPECT_EQ(slider_->Width(), 31);
    EXPECT_EQ(slider_->Height(), 200);
    int T = slider_->RulerLength();
    slider_->SetValue(200);
    EXPECT_EQ(slider_->ThumbRect().top, 6);
    slider_->SetValue(0);
    EXPECT_EQ(slider_->ThumbRect().top, 6 + T);
}

TEST_F(SliderTest, TooNarrowForItsThumbGivesTheMinimum) {
    slider_->SetMinValue(3);
    for (int w : {0, 5, 12, 20, 21}) {
        slider_->SetBounds(10, 10, w, 31);
        EXPECT_LE(slider_->RulerLength(), 0) << w;
        EXPECT_EQ(slider_->ValueAtOffset(6), 3) << w;
        EXPECT_EQ(slider_->ValueAtOffset(40), 3) << w;
        slider_->SetValue(50);
        EXPECT_EQ(slider_->ThumbRect().left, 6) << w;
    }
    // A drag on it stays at the minimum.
    slider_->SetValue(3);
    events_.clear();
    MoveTo(slider_, 7, 15);
    D().Press();
    MoveTo(slider_, 15, 15);
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(slider_->Value(), 3);
}

TEST_F(SliderTest, Jumps) {
    struct Case {
        int from;
        WORD key;
        int to;
    } cases[] = {
        {37, VK_RIGHT, 50 },
        {37, VK_LEFT,  30 },
        {25, VK_RIGHT, 30 },
        {25, VK_LEFT,  10 },
        {95, VK_RIGHT, 100},
        {5,  VK_LEFT,  0  },
        {40, VK_HOME,  0  },
        {40, VK_END,   100},
    };
    slider_->SetFocus();
    RunUntilIdle();
    for (const Case& c : cases) {
        slider_->SetValue(c.from);
        events_.clear();
        PressKey(c.key);
        EXPECT_EQ(slider_->Value(), c.to) << c.from << " key " << c.key;
        EXPECT_EQ(events_, (Events{"change " + std::to_string(c.to), "changed"})) << c.from;
    }
    // Page keys are not the slider's; a jump that cannot move still ends the action.
    events_.clear();
    PressKey(VK_NEXT);
    EXPECT_TRUE(events_.empty());
    PressKey(VK_END);
    EXPECT_EQ(events_, Events{"changed"});
}

TEST_F(SliderTest, DragFiresChangesThenChangedThenMouseUp) {
    slider_->SetOptions(soShowFocus); // not smooth: steps of the increment from the minimum
    slider_->SetMinValue(3);
    events_.clear();
    gui::TRect t = slider_->ThumbRect();
    int y = (t.top + t.bottom) / 2;
    MoveTo(slider_, t.left + 4, y);
    D().Press();
    RunUntilIdle();
    for (int x : {t.left + 4 + 10, t.left + 4 + 11, t.left + 4 + 60, t.left + 4 + 500}) MoveTo(slider_, x, y);
    D().Release();
    RunUntilIdle();
    ASSERT_FALSE(events_.empty());
    EXPECT_EQ(events_.front(), "down");
    Events tail(events_.end() - 2, events_.end());
    EXPECT_EQ(tail, (Events{"changed", "up 100"}));
    for (size_t i = 1; i + 2 < events_.size(); ++i) {
        int v = std::stoi(events_[i].substr(7));
        EXPECT_TRUE(v == 100 || (v - 3) % 10 == 0) << events_[i];
    }
    // A right press only reports itself; a double click does not move the thumb.
    events_.clear();
    POINT p = ScreenOf(slider_, 150, y);
    D().MoveMouse(p.x, p.y);
    D().Press(2);
    D().Release(2);
    RunUntilIdle();
    EXPECT_EQ(events_, (Events{"down", "up 100"}));
}

TEST_F(SliderTest, HeldPressOnTheRulerJumpsEvery400msUntilItPassesThePointer) {
    gui::TRect t = slider_->ThumbRect();
    int y = (t.top + t.bottom) / 2;
    // 40 is reached after four jumps; the pointer lies at the thumb's place for 45.
    int x = slider_->OffsetOfValue(45) + 4;
    MoveTo(slider_, x, y);
    D().Press();
    RunUntilIdle();
    EXPECT_EQ(events_, (Events{"down", "change 10"}));
    Advance(390);
    EXPECT_EQ(slider_->Value(), 10);
    Advance(20);
    EXPECT_EQ(slider_->Value(), 20);
    Advance(2000);
    EXPECT_EQ(slider_->Value(), 50); // the jump that reaches the pointer is the last
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(events_, (Events{"down", "change 10", "change 20", "change 30", "change 40", "change 50",
                               "changed", "up 50"}));
    Advance(1000);
    EXPECT_EQ(slider_->Value(), 50);
}

TEST_F(SliderTest, LayoutFromTheSkinEntry) {
    TbsSkinData data(nullptr);
    gdi::image::Image picture;
    picture.Reset(40, 40);
    UsePicture(data, picture);
    auto& d = AddControl<TbsDataSkinSlider>(data, "slider");
    d.PictureIndex = 0;
    d.HThumbRect = Rect(0, 10, 18, 27);
    d.HRulerRect = Rect(0, 0, 20, 9);
    d.VThumbRect = Rect(0, 10, 18, 27);
    d.VRulerRect = Rect(20, 0, 29, 20);
    d.EdgeSize = 3;
    slider_->SetSkinData(&data);
    EXPECT_EQ(slider_->Ruler()->Width(), 188);
    EXPECT_EQ(slider_->Ruler()->Height(), 9);
    EXPECT_EQ(slider_->RulerOrg(), (gui::TPoint{6, 10}));
    EXPECT_EQ(slider_->ThumbRect(), (gui::TRect{6, 6, 15, 23}));
    EXPECT_EQ(slider_->RulerLength(), 179);
    slider_->SetMaxValue(200);
    slider_->SetValue(100);
    EXPECT_EQ(slider_->ThumbRect().left, 96);
    // An entry without its picture falls back to the images instead of failing.
    d.PictureIndex = 7;
    slider_->ChangeSkinData();
    EXPECT_EQ(slider_->Ruler()->Height(), 8);
    slider_->Repaint();
    slider_->SetSkinData(nullptr);
}

TEST_F(SliderTest, RemovingAUserImageBringsBackTheBuiltInOne) {
    gui::TBitmap mine;
    mine.SetSize(30, 20);
    slider_->SetOptions(soThumbOpaque | soRulerOpaque);
    slider_->SetImage(siHThumb, &mine);
    EXPECT_TRUE(slider_->UserImage(siHThumb));
    EXPECT_EQ(gui::RectWidth(slider_->ThumbRect()), 15);
    slider_->SetImage(siHThumb, nullptr);
    EXPECT_FALSE(slider_->UserImage(siHThumb));
    EXPECT_EQ(gui::RectWidth(slider_->ThumbRect()), 9);
    EXPECT_EQ(slider_->Options(), soRulerOpaque);
}

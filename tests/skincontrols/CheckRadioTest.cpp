// Skinned check and radio boxes: what setting Checked does (the application relies on it),
// clicks and keys, and the flat look on the parent's background from the stored skins.
#include "ControlFixtures.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinPanel.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class CheckRadioTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        form_->SetColor(gui::clYellow);
        form_->Show();
        RunUntilIdle();
    }
    TbsSkinCheckRadioBox* Make(gui::TWinControl* parent, int y, bool radio, std::vector<std::string>* log,
                               const char* name) {
        auto* b = new TbsSkinCheckRadioBox(form_);
        b->SetParent(parent);
        b->SetBounds(10, y, 150, 25);
        b->SetCaption(name);
        if (radio) {
            b->SetRadio(true);
            b->SetSkinDataName("radiobox");
            b->GroupIndex = 1;
        }
        if (log) b->OnClick = [log, name](gui::TObject*) { log->push_back(name); };
        return b;
    }
    SkinWalkForm* form_ = nullptr;
};

} // namespace

TEST_F(CheckRadioTest, SettingCheckedExcludesTheGroupUnderOneParentAndFiresOnClick) {
    std::vector<std::string> log;
    auto* a = Make(form_, 10, true, &log, "a");
    auto* b = Make(form_, 40, true, &log, "b");
    auto* panel = new TbsSkinPanel(form_);
    panel->SetParent(form_);
    panel->SetBounds(200, 10, 180, 100);
    auto* elsewhere = Make(panel, 10, true, &log, "elsewhere");
    elsewhere->SetChecked(true);
    a->SetChecked(true);
    log.clear();
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(elsewhere->Checked()); // another parent
    EXPECT_EQ(log, std::vector<std::string>{"b"});
    // A check box fires on every set, also without a change; a grayed one stays grayed.
    auto* check = Make(form_, 70, false, &log, "check");
    log.clear();
    check->SetChecked(false);
    check->SetChecked(false);
    EXPECT_EQ(log, (std::vector<std::string>{"check", "check"}));
    check->SetState(TCheckBoxState::cbGrayed);
    check->SetChecked(false);
    EXPECT_EQ(check->State(), TCheckBoxState::cbGrayed);
}

TEST_F(CheckRadioTest, ClicksAndKeys) {
    std::vector<std::string> log;
    auto* radio = Make(form_, 10, true, &log, "radio");
    auto* check = Make(form_, 40, false, &log, "check");
    RunUntilIdle();
    ClickAt(radio, 5, 12);
    EXPECT_TRUE(radio->Checked());
    ClickAt(radio, 5, 12); // checked: stays, fires nothing
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(log, std::vector<std::string>{"radio"});
    log.clear();
    ClickAt(check, 5, 12);
    EXPECT_TRUE(check->Checked());
    POINT p = ScreenOf(check, 5, 12);
    D().Click(p.x, p.y, 1); // a right click toggles nothing
    RunUntilIdle();
    EXPECT_TRUE(check->Checked());
    D().KeyDown(VK_SPACE); // only the release toggles
    RunUntilIdle();
    EXPECT_TRUE(check->Checked());
    D().KeyUp(VK_SPACE);
    RunUntilIdle();
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(log, (std::vector<std::string>{"check", "check"}));
    // With AllowGrayed a click cycles unchecked, grayed, checked.
    check->AllowGrayed = true;
    ClickAt(check, 5, 12);
    EXPECT_EQ(check->State(), TCheckBoxState::cbGrayed);
    ClickAt(check, 5, 12);
    EXPECT_EQ(check->State(), TCheckBoxState::cbChecked);
}

TEST_F(CheckRadioTest, DefaultLookOnTheParentsBackground) {
    auto* check = Make(form_, 10, false, nullptr, "check");
    check->SetChecked(true);
    MoveTo(form_, 350, 250);
    EXPECT_EQ(PixelAt(check, 1, 1), gui::ColorToRGB(gui::clYellow));
    int mid = check->Height() / 2;
    EXPECT_EQ(PixelAt(check, 3, mid - 7), gui::ColorToRGB(gui::clBtnShadow));
    MoveTo(check, 60, 12);
    EXPECT_EQ(PixelAt(check, 3, mid - 7), RGB(0, 0, 128));
    // Framed without a skin: the button face.
    check->SetFlat(false);
    MoveTo(form_, 350, 250);
    EXPECT_EQ(PixelAt(check, 1, 1), gui::ColorToRGB(gui::clBtnFace));
}

TEST_F(GuiTest, CheckAndRadioImagesFromStoredSkins) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 300, 200);
    form->Show();
    for (const char* name : {"checkbox", "radiobox"}) {
        auto* b = new TbsSkinCheckRadioBox(form);
        b->SetParent(form);
        b->SetBounds(10, 10, 150, 25);
        b->SetSkinDataName(name);
        b->SetRadio(std::string(name) == "radiobox");
        b->SetSkinData(&data);
        for (int index : {0, 3, 8}) {
            data.SetSkinIndex(index);
            auto& d = dynamic_cast<TbsDataSkinCheckRadioControl&>(*data.CtrlList[data.GetControlIndex(name)]);
            for (bool checked : {false, true}) {
                SCOPED_TRACE(std::string(name) + " " + std::to_string(index) + (checked ? " checked" : ""));
                b->SetChecked(checked);
                RunUntilIdle();
                const TRect& look = checked ? d.CheckImageRect : d.UnCheckImageRect;
                int top = b->Height() / 2 - look.Height() / 2;
                int cx = look.Width() / 2, cy = look.Height() / 2;
                EXPECT_EQ(PixelAt(b, 3 + cx, top + cy),
                          PictureAt(data, d.PictureIndex, look.Left + cx, look.Top + cy));
            }
        }
        delete b;
    }
}

TEST_F(CheckRadioTest, FramedBoxFadesBetweenItsFramesOnHover) {
    gdi::image::Image img;
    img.Reset(60, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) img.At(x, y) = y < 20 ? 0xFF2040C0u : 0xFFC04020u;
    TbsSkinData data;
    UsePicture(data, img);
    auto& d = AddControl<TbsDataSkinCheckRadioControl>(data, "framedcheck");
    d.PictureIndex = 0;
    d.SkinRect = Rect(0, 0, 60, 20);
    d.ActiveSkinRect = Rect(0, 20, 60, 40);
    d.Morphing = true;
    data.EnableSkinEffects = true;
    auto* box = Make(form_, 10, false, nullptr, "");
    box->SetCanFocused(false);
    box->SetFlat(false);
    box->SetSkinDataName("framedcheck");
    box->SetSkinData(&data);
    RunUntilIdle();
    COLORREF normal = Shown(0xFF2040C0u), active = Shown(0xFFC04020u);
    EXPECT_EQ(PixelAt(box, 50, 10), normal);
    MoveTo(box, 50, 10);
    Advance(40); // two of five steps
    COLORREF partway = PixelAt(box, 50, 10);
    EXPECT_NE(partway, normal);
    EXPECT_NE(partway, active);
    EXPECT_GT(box->MorphKf(), 0);
    EXPECT_LT(box->MorphKf(), 1);
    Advance(200);
    EXPECT_EQ(PixelAt(box, 50, 10), active);
    EXPECT_EQ(box->MorphKf(), 1);
    MoveTo(form_, 390, 290);
    Advance(200);
    EXPECT_EQ(PixelAt(box, 50, 10), normal);
    EXPECT_EQ(box->MorphKf(), 0);
    box->SetSkinData(nullptr);
}

TEST_F(CheckRadioTest, PaintSkinToDrawsTheGivenStateWithoutHover) {
    auto* box = Make(form_, 10, false, nullptr, "x");
    box->SetCanFocused(false);
    RunUntilIdle();
    gui::TBitmap copy;
    copy.SetSize(box->Width(), box->Height());
    box->PaintSkinTo(copy.Canvas(), 0, 0, true);
    EXPECT_FALSE(box->Checked());
    box->SetChecked(true);
    RunUntilIdle();
    int mid = box->Height() / 2;
    for (int y = mid - 7; y < mid + 7; ++y)
        for (int x = 3; x < 17; ++x)
            ASSERT_EQ(static_cast<COLORREF>(copy.Canvas()->Pixels(x, y)), PixelAt(box, x, y))
                << x << "," << y;
    // Framed without a skin entry: nothing is drawn.
    box->SetFlat(false);
    gui::TBitmap untouched;
    untouched.SetSize(4, 4);
    untouched.Canvas()->Brush()->SetColor(RGB(9, 9, 9));
    untouched.Canvas()->FillRect({0, 0, 4, 4});
    box->PaintSkinTo(untouched.Canvas(), 0, 0, true);
    EXPECT_EQ(static_cast<COLORREF>(untouched.Canvas()->Pixels(1, 1)), RGB(9, 9, 9));
}

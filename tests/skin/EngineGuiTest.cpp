// The skin engine with windows: layered image windows on the headless display, the parent's
// background under a control, the skin-change walk, and the bitmap bridge of skin pictures.
#include "../gui/GuiHarness.h"
#include "EngineFixtures.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinPicture.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/LayerManager.h"
#include "skin/engine/SkinBitmap.h"
#include "skin/engine/SkinChangeWalk.h"
#include "skin/engine/SkinRect.h"
#include "win/Layered.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace skin;

namespace {

class LayerTest : public GuiTest {
protected:
    // A 4 x 2 picture of RGB (200, 100, 50) and a grey mask of 128 but a white right column.
    void SetUp() override {
        GuiTest::SetUp();
        gdi::image::Image img, mask;
        img.Reset(4, 2, 0xFFC86432);
        mask.Reset(4, 2, 0xFF808080);
        mask.At(3, 0) = mask.At(3, 1) = 0xFFFFFFFF;
        image_ = enginetest::BitmapOf(img);
        mask_ = enginetest::BitmapOf(mask);
    }
    static int Alpha(HWND h) {
        BYTE a = 0;
        DWORD flags = 0;
        GetLayeredWindowAttributes(h, nullptr, &a, &flags);
        return a;
    }
    std::unique_ptr<gui::TBitmap> image_, mask_;
};

} // namespace

TEST_F(LayerTest, FadesInByTenthsAndStops) {
    struct Case {
        int target;
        std::vector<int> steps;
    } cases[] = {
        {255, {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
        {5,   {1, 2, 3, 4, 5}                                     }
    };
    for (const Case& c : cases) {
        TbsLayerManager m(nullptr);
        m.Show(100, 50, image_.get(), mask_.get(), c.target);
        ASSERT_TRUE(m.IsVisible);
        ASSERT_TRUE(m.LayerWindow);
        HWND h = m.LayerWindow->Handle();
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_TRUE(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_EQ(Alpha(h), 0);
        std::vector<int> seen;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            Advance(25);
            seen.push_back(Alpha(h));
        }
        EXPECT_EQ(seen, c.steps);
        EXPECT_FALSE(m.Timer->Enabled());
        Advance(100);
        EXPECT_EQ(Alpha(h), c.target);
    }
}

TEST_F(LayerTest, TheWindowGetsPremultipliedPixels) {
    TbsLayerManager m(nullptr);
    m.Show(10, 20, image_.get(), mask_.get(), 255);
    HWND h = m.LayerWindow->Handle();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{10, 20, 14, 22}));
    const gdi::Bitmap* s = win::GetWindowSurface(h);
    ASSERT_NE(s, nullptr);
    // Alpha 128: 200, 100, 50 become 100, 50, 25 (rounded); the white mask column stays opaque.
    EXPECT_EQ(s->View().Get(0, 0), 0x80643219u);
    EXPECT_EQ(s->View().Get(3, 1), 0xFFC86432u);
    // The bitmap itself keeps straight alpha.
    EXPECT_EQ(m.Bmp->Pixel(0, 0), 0x80C86432u);
}

TEST_F(LayerTest, ShowReplacesAndHideEmpties) {
    TbsLayerManager m(nullptr);
    m.Hide();
    EXPECT_FALSE(m.IsVisible);
    m.Show(0, 0, image_.get(), mask_.get(), 200);
    Advance(100);
    HWND first = m.LayerWindow->Handle();
    EXPECT_GT(Alpha(first), 0);
    m.Show(30, 30, image_.get(), nullptr, 200); // no mask: opaque
    EXPECT_FALSE(IsWindow(first));
    HWND second = m.LayerWindow->Handle();
    EXPECT_EQ(Alpha(second), 0);
    EXPECT_EQ(m.Bmp->Pixel(0, 0) >> 24, 0xFFu);
    m.Hide();
    EXPECT_FALSE(m.IsVisible);
    EXPECT_FALSE(m.LayerWindow);
    EXPECT_FALSE(IsWindow(second));
}

namespace {

class Swatch : public gui::TGraphicControl {
public:
    using gui::TGraphicControl::TGraphicControl;
    gui::TColor Fill = gui::clRed;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(gui::Rect(0, 0, Width(), Height()));
    }
};

} // namespace

TEST_F(GuiTest, ParentBackgroundWithTheSiblingsBelow) {
    auto* form = MakeForm();
    form->SetBounds(0, 0, 200, 150);
    auto* parent = new gui::TCustomControl(form);
    parent->SetParent(form);
    parent->SetBounds(10, 10, 120, 100);
    parent->SetColor(gui::clBlue);
    auto* below = new Swatch(form);
    below->SetParent(parent);
    below->SetBounds(20, 20, 30, 30);
    auto* control = new Swatch(form);
    control->SetParent(parent);
    control->SetBounds(40, 30, 50, 40);
    auto* above = new Swatch(form);
    above->Fill = gui::clLime;
    above->SetParent(parent);
    above->SetBounds(40, 30, 10, 10); // after the control: not painted under it

    TbsBitmap b;
    b.SetSize(50, 40);
    DrawParentBackground(control, b.Canvas());
    EXPECT_EQ(b.Pixel(0, 0) & 0xFFFFFF, 0xFF0000u);  // the sibling below, at (40, 30) of the parent
    EXPECT_EQ(b.Pixel(9, 19) & 0xFFFFFF, 0xFF0000u); // its last pixel is (49, 49)
    EXPECT_EQ(b.Pixel(10, 0) & 0xFFFFFF, 0x0000FFu); // the parent's colour
    EXPECT_EQ(b.Pixel(49, 39) & 0xFFFFFF, 0x0000FFu);

    TbsBitmap part;
    part.SetSize(5, 5);
    DrawParentBackgroundRect(control, part.Canvas(), gui::Rect(8, 18, 13, 23));
    EXPECT_EQ(part.Pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(part.Pixel(2, 2) & 0xFFFFFF, 0x0000FFu);
}

namespace {

std::vector<std::string> g_calls;

template <class Base> class Skinned : public Base, public TbsSkinChangeable {
public:
    Skinned(gui::TComponent* owner, std::string name, TbsSkinData* data)
        : Base(owner), name_(name), data_(data) {}
    TbsSkinData* SkinDataOf() const override { return data_; }
    void BeforeChangeSkinData() override { g_calls.push_back("before " + name_); }
    void ChangeSkinData() override {
        g_calls.push_back("change " + name_);
        if (onChange) onChange();
    }
    std::function<void()> onChange;

private:
    std::string name_;
    TbsSkinData* data_;
};

} // namespace

TEST_F(GuiTest, SkinChangeWalkParentsFirstWindowedOnlyBefore) {
    TbsSkinData mine, other;
    auto* form = MakeForm();
    auto* panel = new Skinned<gui::TCustomControl>(form, "panel", &mine);
    panel->SetParent(form);
    auto* inner = new Skinned<gui::TCustomControl>(form, "inner", &mine);
    inner->SetParent(panel);
    auto* label = new Skinned<gui::TGraphicControl>(form, "label", &mine);
    label->SetParent(inner);
    auto* foreign = new Skinned<gui::TCustomControl>(form, "foreign", &other);
    foreign->SetParent(form);
    auto* doomed = new Skinned<gui::TCustomControl>(form, "doomed", &mine);
    doomed->SetParent(panel);

    g_calls.clear();
    WalkBeforeChangeSkinData(form, &mine);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"before panel", "before inner", "before doomed"}));

    // A control that frees a later one during the walk: the freed one is skipped.
    inner->onChange = [&] { delete doomed; };
    g_calls.clear();
    WalkChangeSkinData(form, &mine);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"change panel", "change inner", "change label"}));

    g_calls.clear();
    inner->onChange = nullptr;
    WalkChangeSkinData(form, nullptr);
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"change panel", "change inner", "change label", "change foreign"}));
}

TEST(SkinPictureBitmap, MadeOnceAndDroppedWhenThePictureChanges) {
    TbsPicture p;
    p.Assign(enginetest::Distinct(3, 2, 1));
    gui::TBitmap& first = p.Bitmap();
    EXPECT_EQ(&p.Bitmap(), &first);
    EXPECT_EQ(enginetest::Rgb(first, 2, 1), enginetest::Distinct(3, 2, 1).At(2, 1) & 0xFFFFFF);
    p.Assign(enginetest::Distinct(5, 4, 9));
    EXPECT_EQ(p.Bitmap().Width(), 5);
    EXPECT_EQ(enginetest::Rgb(p.Bitmap(), 4, 3), enginetest::Distinct(5, 4, 9).At(4, 3) & 0xFFFFFF);

    TbsSkinData data;
    data.FPicture.Assign(enginetest::Distinct(3, 2));
    EXPECT_EQ(data.FPicture.Bitmap().Width(), 3);
    data.ClearAll(); // what a skin change does first
    EXPECT_TRUE(data.FPicture.Bitmap().Empty());
}

TEST(SkinRect, ConvertsBothWays) {
    gui::TRect g = ToGuiRect(TRect{1, 2, 3, 4});
    EXPECT_EQ(g, gui::Rect(1, 2, 3, 4));
    EXPECT_EQ(ToSkinRect(g), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(ToSkinPoint(ToGuiPoint(TPoint{5, -6})), (TPoint{5, -6}));
}

// The skinned control bases: the size rule by resize mode, painting from the skin and in the
// default look, the window region of a mask, and following a skin change.
#include "ControlFixtures.h"
#include "gui/Color.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinControl.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

constexpr int kW = 20, kH = 10;

// Picture 0 every pixel distinct; picture 1 a mask whose top-left 5 x 5 corner is outside.
class BaseTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        UsePicture(data_, enginetest::Distinct(kW, kH));
        gdi::image::Image mask;
        mask.Reset(kW, kH, 0xFF000000u);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) mask.At(x, y) = 0xFFFFFFFFu;
        UsePicture(data_, mask);
        auto nine = [&](const char* name, TPoint lt, TPoint rt, TPoint lb,
                        TPoint rb) -> TbsDataSkinCustomControl& {
            auto& d = AddControl<TbsDataSkinCustomControl>(data_, name);
            d.PictureIndex = 0;
            d.SkinRect = Rect(0, 0, kW, kH);
            d.LTPoint = lt, d.RTPoint = rt, d.LBPoint = lb, d.RBPoint = rb;
            d.ClRect = Rect(lt.X, lt.Y, rb.X ? rb.X : kW, rb.Y ? rb.Y : kH);
            d.StretchEffect = true;
            return d;
        };
        nine("fixed", {}, {}, {}, {});
        nine("both", Point(4, 4), Point(16, 4), Point(4, 6), Point(16, 6));
        nine("wide", Point(4, 0), Point(16, 0), {}, {});
        nine("tall", Point(0, 4), {}, Point(0, 6), {});
        nine("notquiteboth", {}, {}, {}, Point(5, 0)); // both coordinates of RB must be set
        nine("masked", {}, {}, {}, {}).MaskPictureIndex = 1;
        nine("nopicture", {}, {}, {}, {}).PictureIndex = 9;
        AddControl<TbsDataSkinControl>(data_, "plain").PictureIndex = 0; // no nine-part class
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        form_->Show();
        RunUntilIdle();
    }
    TbsSkinCustomControl* Make(const char* name, int w = 100, int h = 50) {
        auto* c = new TbsSkinCustomControl(form_);
        c->SetParent(form_);
        c->SetSkinDataName(name);
        c->SetSkinData(&data_);
        c->SetBounds(10, 10, w, h);
        RunUntilIdle();
        return c;
    }
    TbsSkinData data_;
    SkinWalkForm* form_ = nullptr;
};

} // namespace

TEST_F(BaseTest, SizeFollowsTheResizeModeAndDefaultsWithoutAUsablePicture) {
    struct Case {
        const char* name;
        int mode, w, h;
        bool skinned;
    } cases[] = {
        {"fixed",        0,  kW,  kH, true },
        {"both",         1,  100, 50, true },
        {"wide",         2,  100, kH, true },
        {"tall",         3,  kW,  50, true },
        {"notquiteboth", 0,  kW,  kH, true },
        {"nopicture",    -1, 100, 50, false},
        {"plain",        -1, 100, 50, false},
        {"missing",      -1, 100, 50, false},
    };
    COLORREF face = gui::ColorToRGB(gui::clBtnFace);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TbsSkinCustomControl* ctl = Make(c.name);
        EXPECT_EQ(ctl->Width(), c.w);
        EXPECT_EQ(ctl->Height(), c.h);
        if (c.skinned) {
            EXPECT_EQ(ctl->GetResizeMode(), c.mode);
        }
        // Corners come from the picture's corners whatever the size; the default look is the
        // button face.
        EXPECT_EQ(PixelAt(ctl, 0, 0), c.skinned ? PictureAt(data_, 0, 0, 0) : face);
        EXPECT_EQ(PixelAt(ctl, ctl->Width() - 1, ctl->Height() - 1),
                  c.skinned ? PictureAt(data_, 0, kW - 1, kH - 1) : face);
        // Asking for another size again snaps again.
        ctl->SetBounds(10, 10, 60, 30);
        EXPECT_EQ(ctl->Width(), c.mode == 0 || c.mode == 3 ? kW : 60);
        EXPECT_EQ(ctl->Height(), c.mode == 0 || c.mode == 2 ? kH : 30);
        delete ctl;
    }
}

TEST_F(BaseTest, StretchedMiddleAndMovedClientRect) {
    TbsSkinCustomControl* c = Make("both", 40, 30);
    EXPECT_EQ(c->RealClientRect(), gui::Rect(4, 4, 36, 26));
    // The right edge's pixels sit at the control's right edge.
    EXPECT_EQ(PixelAt(c, 39, 2), PictureAt(data_, 0, kW - 1, 2));
    EXPECT_EQ(PixelAt(c, 2, 29), PictureAt(data_, 0, 2, kH - 1));
}

TEST_F(BaseTest, WithoutSkinTheDefaultSizeApplies) {
    auto* c = new TbsSkinCustomControl(form_);
    c->SetParent(form_);
    c->SetBounds(0, 0, 33, 44);
    c->SetDefaultHeight(21);
    EXPECT_EQ(c->Height(), 21);
    EXPECT_EQ(c->Width(), 33); // 0: keeps its width
    c->ChangeSkinData();
    EXPECT_EQ(c->Height(), 21);
}

TEST_F(BaseTest, AMaskGivesTheWindowItsRegionAndClicksOutsideReachTheParent) {
    TbsSkinCustomControl* c = Make("masked");
    EXPECT_TRUE(c->HasWindowRegion());
    int onControl = 0, onForm = 0;
    c->OnMouseDown = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { ++onControl; };
    form_->OnMouseDown = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { ++onForm; };
    ClickAt(c, 1, 1);
    EXPECT_EQ(onControl, 0);
    EXPECT_EQ(onForm, 1);
    ClickAt(c, 10, 8);
    EXPECT_EQ(onControl, 1);
    // Another section without a mask takes the region away.
    c->SetSkinDataName("fixed");
    c->ChangeSkinData();
    EXPECT_FALSE(c->HasWindowRegion());
    ClickAt(c, 1, 1);
    EXPECT_EQ(onControl, 2);
}

TEST_F(BaseTest, SkinDataGoneOrEmptyMeansTheDefaultLook) {
    TbsSkinCustomControl* c = Make("fixed");
    EXPECT_EQ(c->FIndex, 0);
    {
        TbsSkinData other;
        c->SetSkinData(&other); // empty: only stored
        EXPECT_EQ(c->SkinData(), &other);
    }
    EXPECT_EQ(c->SkinData(), nullptr); // freed: forgotten
    c->Repaint();
    EXPECT_EQ(c->FIndex, -1);
    EXPECT_EQ(PixelAt(c, 5, 5), gui::ColorToRGB(gui::clBtnFace));
}

TEST_F(GuiTest, WindowedAndWindowlessFollowASkinIndexChange) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    ASSERT_FALSE(data.Empty);
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 300, 200);
    auto* windowed = new TbsSkinCustomControl(form);
    windowed->SetParent(form);
    windowed->SetSkinDataName("panel");
    windowed->SetSkinData(&data);
    windowed->SetBounds(10, 10, 100, 60);
    auto* windowless = new TbsGraphicSkinCustomControl(form);
    windowless->SetParent(form);
    windowless->SkinDataName = "panel";
    windowless->SetSkinData(&data);
    windowless->SetBounds(150, 10, 100, 60);
    form->Show();
    RunUntilIdle();
    for (int index : {0, 1, 6}) {
        SCOPED_TRACE(index);
        data.SetSkinIndex(index);
        RunUntilIdle();
        auto& d = dynamic_cast<TbsDataSkinCustomControl&>(*data.CtrlList[data.GetControlIndex("panel")]);
        // The middle of the client area is the middle of the skin's client piece.
        COLORREF middle = PictureAt(data, d.PictureIndex, (d.ClRect.Left + d.ClRect.Right) / 2,
                                    (d.ClRect.Top + d.ClRect.Bottom) / 2);
        EXPECT_EQ(PixelAt(windowed, 50, 30), middle);
        EXPECT_EQ(PixelAt(windowless, 50, 30), middle);
        EXPECT_EQ(PixelAt(windowed, 0, 0), PictureAt(data, d.PictureIndex, 0, 0));
    }
}

// The layered form border: frame and strip geometry, the border hits and resize steps, and the
// border windows around a form, with frames whose data is out of range.
#include "../gui/GuiHarness.h"
#include "LayerFrameFixture.h"
#include "skin/core/SkinPicture.h"
#include "skin/forms/FormLayerBorder.h"
#include "win/Layered.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <climits>

using layerframetest::ExampleFrame;

TEST(LayerBorderGeometry, FrameAndStripsAroundTheForm) {
    skin::TbsLayerFrameGeometry g =
        skin::LayerFrameGeometry(ExampleFrame(), 190, 155, skin::Rect(100, 100, 500, 400));
    EXPECT_EQ(g.Frame, skin::Rect(73, 76, 73 + 453, 76 + 347));
    EXPECT_EQ(g.Strips[skin::bsflTop], skin::Rect(73, 76, 526, 100));
    EXPECT_EQ(g.Strips[skin::bsflBottom], skin::Rect(73, 400, 526, 423));
    EXPECT_EQ(g.Strips[skin::bsflLeft], skin::Rect(73, 100, 100, 400));
    EXPECT_EQ(g.Strips[skin::bsflRight], skin::Rect(500, 100, 526, 400));

    // A picture with no middle rows gets no side strips (nothing to repeat down them).
    skin::TbsDataSkinLayerFrame d = ExampleFrame();
    d.LTPoint.Y = 80;
    d.LBPoint.Y = d.RBPoint.Y = 60;
    g = skin::LayerFrameGeometry(d, 190, 155, skin::Rect(100, 100, 500, 400));
    EXPECT_EQ(g.SideHeight, 0);
    EXPECT_EQ(g.Strips[skin::bsflLeft].Height(), 0);
    EXPECT_EQ(g.Strips[skin::bsflRight].Height(), 0);
    EXPECT_EQ(g.TopHeight + g.BottomHeight, 155);
}

TEST(LayerBorderGeometry, HitsAndResizeSteps) {
    const skin::TRect F = skin::Rect(100, 100, 500, 400);
    using skin::LayerBorderHit;
    EXPECT_EQ(LayerBorderHit(skin::bsflTop, skin::Point(95, 95), F, 10, 10, 10, 10), skin::bsflhTopLeft);
    EXPECT_EQ(LayerBorderHit(skin::bsflTop, skin::Point(102, 102), F, 10, 10, 10, 10), skin::bsflhTopLeft);
    EXPECT_EQ(LayerBorderHit(skin::bsflTop, skin::Point(300, 95), F, 10, 10, 10, 10), skin::bsflhTop);
    EXPECT_EQ(LayerBorderHit(skin::bsflTop, skin::Point(300, 80), F, 10, 10, 10, 10), skin::bsflhNone);
    EXPECT_EQ(LayerBorderHit(skin::bsflBottom, skin::Point(505, 405), F, 10, 10, 10, 10),
              skin::bsflhBottomRight);
    EXPECT_EQ(LayerBorderHit(skin::bsflLeft, skin::Point(85, 200), F, 10, 10, 10, 10), skin::bsflhNone);
    EXPECT_EQ(LayerBorderHit(skin::bsflRight, skin::Point(505, 200), F, 10, 10, 10, 10), skin::bsflhRight);

    struct Case {
        skin::TbsFormLayerBorderHit hit;
        int dx, dy;
        std::optional<skin::TRect> want;
    };
    const Case cases[] = {
        {skin::bsflhLeft, 100, 0,                      skin::Rect(200,                   100, 500, 400)},
 // Past the minimum width: skipped, the right edge never moves.
        {skin::bsflhLeft,            150,           0,                                 std::nullopt                                                  },
        {skin::bsflhLeft,              -20,0,skin::Rect(80,100, 500, 400)},
        {skin::bsflhRight,              -150,          0,                                             skin::Rect(100,                                                                                                                          100, 400, 400)},
        {skin::bsflhRight,               0,   30,        std::nullopt                             },
        {skin::bsflhTop,            0,            50,                              skin::Rect(100,150, 500, 400)},
        {skin::bsflhBottomRight,10,20,  skin::Rect(100,     100, 510, 420)},
        {skin::bsflhTopRight,   10,-5,skin::Rect(100,                                                             95, 510, 400)},
        {skin::bsflhBottom,           0,              500,               skin::Rect(100,                                              100, 500, 500)}, // clamped to the maximum
        {skin::bsflhNone, 10, 10,                   std::nullopt                                          },
    };
    for (const Case& c : cases) {
        auto r = skin::LayerBorderResize(c.hit, F, c.dx, c.dy, 300, 200, 800, 400);
        EXPECT_EQ(r.has_value(), c.want.has_value()) << c.hit << " " << c.dx << "," << c.dy;
        if (r && c.want) {
            EXPECT_EQ(*r, *c.want) << c.hit << " " << c.dx << "," << c.dy;
        }
    }
}

class LayerBorderTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(100, 100, 400, 300);
        form->Show();
        RunUntilIdle();
        data.Empty = false;
        data.LayerFrame = ExampleFrame();
        layerframetest::AddExamplePicture(data);
        border = std::make_unique<skin::TbsFormLayerBorder>(nullptr, nullptr);
    }
    void TearDown() override {
        border.reset();
        GuiTest::TearDown();
    }
    int Windows() const {
        int n = 0;
        for (auto& w : border->Windows) n += w != nullptr;
        return n;
    }

    gui::TForm* form = nullptr;
    skin::TbsSkinData data;
    std::unique_ptr<skin::TbsFormLayerBorder> border;
};

TEST_F(LayerBorderTest, WindowsAroundTheFormAndTheirAlpha) {
    // The mask index 1 addresses no picture: the frame is opaque, not a crash.
    border->InitFrame(&data, form);
    ASSERT_NE(border->FData, nullptr);
    border->ShowWithForm();
    ASSERT_EQ(Windows(), 4);
    skin::TbsFormLayerWindow* left = border->Windows[skin::bsflLeft].get();
    EXPECT_EQ(left->Left(), 73);
    EXPECT_EQ(left->Top(), 100);
    EXPECT_EQ(left->Width(), 27);
    EXPECT_EQ(left->Height(), 300);
    EXPECT_EQ(border->Windows[skin::bsflTop]->Width(), 453);
    EXPECT_NE(GetWindowLong(left->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);

    border->SetActive(false, true);
    EXPECT_EQ(border->FCurrentInActiveAlphaBlendValue, 100);
    border->CheckFormAlpha(0, true);
    EXPECT_EQ(border->FCurrentAlphaBlendValue, 0);
    EXPECT_EQ(border->FCurrentInActiveAlphaBlendValue, 0);
    border->CheckFormAlpha(255, true);
    EXPECT_EQ(border->FCurrentAlphaBlendValue, 200);
    border->CheckFormAlpha(128, false);
    EXPECT_EQ(border->FCurrentInActiveAlphaBlendValue, 50); // 50.196...
    border->Hide();
    EXPECT_EQ(Windows(), 0);

    // No middle rows: top and bottom only.
    data.LayerFrame.LTPoint.Y = 80;
    data.LayerFrame.LBPoint.Y = data.LayerFrame.RBPoint.Y = 60;
    border->InitFrame(&data, form);
    border->ShowWithForm();
    EXPECT_EQ(Windows(), 2);
    EXPECT_EQ(border->Windows[skin::bsflLeft], nullptr);
    border->Hide();

    // A picture index past the pictures: no frame at all.
    data.LayerFrame.PictureIndex = 5;
    border->InitFrame(&data, form);
    EXPECT_EQ(border->FData, nullptr);
    border->ShowWithForm();
    EXPECT_EQ(Windows(), 0);
}

TEST_F(LayerBorderTest, DragOnTheBorderResizesTheFormOnceAStep) {
    data.LayerFrame.BorderRect = skin::Rect(17, 14, 174, 142);
    data.LayerFrame.HitTestEnable = true;
    border->InitFrame(&data, form);
    border->ShowWithForm();
    skin::TbsFormLayerWindow* right = border->Windows[skin::bsflRight].get();
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(GetWindowLong(right->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    // A move that arrives while the step lets the queue run does not start another step.
    int resizes = 0;
    form->OnResize = [&](gui::TObject*) {
        ++resizes;
        right->PointerMove(skin::Point(700, 250));
    };
    right->PointerDown(skin::Point(505, 250));
    EXPECT_TRUE(right->FDown);
    right->PointerMove(skin::Point(525, 250));
    EXPECT_EQ(form->Width(), 420);
    EXPECT_EQ(resizes, 1);
    EXPECT_TRUE(border->FBorderLayerChangeSize);
    // The next move measures from the last applied position.
    form->OnResize = nullptr;
    right->PointerMove(skin::Point(530, 250));
    EXPECT_EQ(form->Width(), 425);
    right->PointerUp();
    EXPECT_FALSE(right->FDown);
    EXPECT_FALSE(border->FBorderLayerChangeSize);
    // The border followed the form.
    EXPECT_EQ(border->Windows[skin::bsflTop]->Width(), 425 + 190 - 137);
    border->Hide();
}

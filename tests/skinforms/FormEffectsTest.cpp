// The skinned form's effects: the fade-in and constant translucency, the layered border driven
// by the form (shown, moved, sized, activated, hidden, dragged), the drop shadow's class style
// and the overlay over an inactive form's client area, read by its pixels.
#include "LayerFrameFixture.h"
#include "SkinFormFixture.h"
#include "gui/Color.h"
#include "gui/CustomPanel.h"
#include "skin/engine/EngineSetup.h"
#include "skin/forms/FormLayerBorder.h"
#include "win/Input.h"
#include "win/Layered.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"

#include <cstdlib>
#include <vector>

using namespace skinformtest;

namespace {

// Every constant alpha the skin engine gives the watched window, in order.
HWND watched = nullptr;
std::vector<int> alphas;
BOOL RecordAlpha(HWND h, COLORREF key, BYTE alpha, DWORD flags) {
    if (h == watched) alphas.push_back(alpha);
    return ::SetLayeredWindowAttributes(h, key, alpha, flags);
}

std::vector<int> Steps(int step, int target) {
    std::vector<int> v{0};
    for (int a = 0; a < target;) v.push_back(a = std::min(a + step, target));
    return v;
}

bool Layered(HWND h) {
    return (GetWindowLongPtr(h, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

int ChannelDistance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

class FormEffectsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        saved_ = skin::bsEngine().Functions.SetLayeredWindowAttributes;
        skin::bsEngine().Functions.SetLayeredWindowAttributes = RecordAlpha;
        alphas.clear();
    }
    void TearDown() override {
        skin::bsEngine().Functions.SetLayeredWindowAttributes = saved_;
        watched = nullptr;
        FrameTest::TearDown();
    }
    // A form whose component `setup` prepares before it is first shown.
    void OpenWith(const std::function<void(skin::TbsSkinForm&)>& setup, skin::TbsSkinData* skinData = nullptr,
                  int w = 300, int h = 200) {
        form = MakeForm<gui::TForm>();
        form->SetBounds(100, 100, w, h);
        skinForm = new skin::TbsSkinForm(form);
        if (skinData) skinForm->SetSkinData(skinData);
        setup(*skinForm);
        watched = form->Handle();
        form->Show();
        RunUntilIdle();
    }
    // Another form of the program takes the activation.
    gui::TForm* ActivateOther() {
        auto* other = MakeForm<gui::TForm>();
        other->SetBounds(700, 600, 200, 150);
        other->Show();
        SetForegroundWindow(other->Handle());
        RunUntilIdle();
        return other;
    }
    int WindowAlpha(gui::TWinControl* w) {
        return D().Surface(reinterpret_cast<uintptr_t>(w->Handle()))->alpha;
    }

    BOOL (*saved_)(HWND, COLORREF, BYTE, DWORD) = nullptr;
};

TEST_F(FormEffectsTest, FadeInAndTranslucency) {
    struct Case {
        const char* name;
        bool alphaBlend, animation, allWindows, layersAvailable;
        uint8_t value;
        std::vector<int> want; // every alpha the form is given, from the first show on
        bool layeredAfter;
        int valueAfter;
    };
    const Case cases[] = {
        {"fade to opaque", false,      true,                false, true,              200,                       Steps(17,                   255),                                                                                       false,                                                                                                                                                                             200},
        {"constant translucency",                true,    false,    false, true,          200,                               {0, 200},                                             true,                                                                                                 200                                                                                                                                                                                                                                 },
        {"fade to the translucency",                true, true, false,  true,              200,                                  Steps(13,                                            200),                                                                                             true,200},
        {"a step never below 1",             true,                       true,                     false,          true, 10, Steps(1,              10),                                                                                                      true,                                                                                                                                                                                                                                                                                   10},
        {"the skin fades every form",            false,                    false,                                       true,                  true,                   0,                    Steps(17,    255),false,255},
        {"nothing asked",            false,                 false,                                 false,                                      true,                                         200,                                                  {},                                                    false,                                                                                                                                      200                                                                                                                                                                                                                                                                                                                                                                                                                              },
        {"no layered windows",              true,                   true,                                   false,                                        false,                                      200,{},false,200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        alphas.clear();
        skin::TbsSkinData allWindows; // empty: the default frame, but its flag counts
        allWindows.AnimationForAllWindows = true;
        OpenWith(
            [&](skin::TbsSkinForm& f) {
                f.FIsLayerEnabled = c.layersAvailable;
                f.AlphaBlendAnimation = c.animation;
                f.SetAlphaBlendValue(c.value);
                f.SetAlphaBlend(c.alphaBlend);
            },
            c.allWindows ? &allWindows : nullptr);
        // Shown transparent; the first tick of the timer fades it in.
        if (!c.want.empty()) {
            EXPECT_TRUE(Layered(form->Handle()));
            EXPECT_EQ(alphas, std::vector<int>{0});
        }
        Advance(10);
        EXPECT_EQ(alphas, c.want);
        EXPECT_EQ(Layered(form->Handle()), c.layeredAfter);
        EXPECT_EQ(skinForm->AlphaBlendValue(), c.valueAfter);
        if (c.layeredAfter) {
            EXPECT_EQ(D().Surface(reinterpret_cast<uintptr_t>(form->Handle()))->alpha, c.value);
        }
        // Shown again, it fades again.
        if (c.animation) {
            form->Hide();
            RunUntilIdle();
            alphas.clear();
            form->Show();
            RunUntilIdle();
            Advance(10);
            EXPECT_EQ(alphas, c.want);
        }
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(FormEffectsTest, TranslucencyChangesOnAShownFormAndTheShadowOnce) {
    OpenWith([](skin::TbsSkinForm&) {});
    skinForm->SetAlphaBlendValue(150);
    EXPECT_FALSE(Layered(form->Handle())); // translucency is off: only kept
    skinForm->SetAlphaBlend(true);
    EXPECT_TRUE(Layered(form->Handle()));
    skinForm->SetAlphaBlendValue(120);
    EXPECT_EQ(alphas, (std::vector<int>{150, 120}));
    skinForm->SetAlphaBlend(false);
    EXPECT_FALSE(Layered(form->Handle()));

    auto shadow = [&] { return (GetClassLongPtr(form->Handle(), GCL_STYLE) & CS_DROPSHADOW) != 0; };
    int shows = 0;
    form->OnShow = [&](gui::TObject*) { ++shows; };
    skinForm->EnableShadow(true, true);
    EXPECT_TRUE(shadow());
    EXPECT_TRUE(skinForm->FHaveShadow);
    EXPECT_EQ(shows, 1); // hidden and shown again around the change
    skinForm->EnableShadow(true, true);
    EXPECT_EQ(shows, 1);
    skinForm->EnableShadow(false, false);
    EXPECT_FALSE(shadow());
}

// The frame picture of the example: 190 × 155, the form over (27, 24, 164, 132).
class LayeredBorderFormTest : public FormEffectsTest {
protected:
    void OpenBordered(int w = 400, int h = 300) {
        LoadSkin(2); // a skin with a layered border, given the example's frame here
        data.LayerFrame = layerframetest::ExampleFrame();
        skin::TbsDataSkinLayerFrame& f = data.LayerFrame;
        f.PictureIndex = layerframetest::AddExamplePicture(data);
        f.MaskPictureIndex = -1;
        f.BorderRect = skin::Rect(17, 14, 174, 142);
        f.HitTestEnable = true;
        ASSERT_TRUE(data.ShowLayeredBorders());
        OpenWith([](skin::TbsSkinForm&) {}, &data, w, h);
        border = skinForm->FBorderLayer.get();
    }
    skin::TbsFormLayerWindow* Strip(skin::TbsFormLayerBorderType t) {
        return border->Windows[static_cast<size_t>(t)].get();
    }
    skin::TRect Bounds(skin::TbsFormLayerBorderType t) {
        skin::TbsFormLayerWindow* w = Strip(t);
        if (!w) return {};
        return skin::Rect(w->Left(), w->Top(), w->Left() + w->Width(), w->Top() + w->Height());
    }
    // The four strips around a form at (l, t) of w × h.
    void ExpectAround(int l, int t, int w, int h) {
        const int x = l - 27, y = t - 24, fw = w + 190 - 137, fh = h + 155 - 108;
        EXPECT_EQ(Bounds(skin::bsflTop), skin::Rect(x, y, x + fw, t));
        EXPECT_EQ(Bounds(skin::bsflBottom), skin::Rect(x, t + h, x + fw, y + fh));
        EXPECT_EQ(Bounds(skin::bsflLeft), skin::Rect(x, t, l, t + h));
        EXPECT_EQ(Bounds(skin::bsflRight), skin::Rect(l + w, t, x + fw, t + h));
    }
    int StripAlpha() { return WindowAlpha(Strip(skin::bsflTop)); }

    skin::TbsFormLayerBorder* border = nullptr;
};

TEST_F(LayeredBorderFormTest, FollowsTheFormThroughItsLife) {
    OpenBordered();
    ASSERT_TRUE(skinForm->LayeredBordersUsed());
    ASSERT_TRUE(border->FVisible);
    // The frame at (73, 76), 453 × 347, shown with the form, transparent until the first tick.
    ExpectAround(100, 100, 400, 300);
    EXPECT_EQ(border->FWidth, 453);
    EXPECT_EQ(border->FHeight, 347);
    EXPECT_EQ(StripAlpha(), 0);
    EXPECT_TRUE(Layered(form->Handle()));
    EXPECT_TRUE(D().Surface(reinterpret_cast<uintptr_t>(Strip(skin::bsflTop)->Handle()))->perPixel);
    Advance(10);
    EXPECT_EQ(StripAlpha(), 200);
    EXPECT_FALSE(Layered(form->Handle()));

    form->SetBounds(150, 120, 400, 300);
    RunUntilIdle();
    ExpectAround(150, 120, 400, 300);
    form->SetBounds(150, 120, 500, 350);
    RunUntilIdle();
    ExpectAround(150, 120, 500, 350);
    EXPECT_EQ(border->FWidth, 553);

    // Maximised and restored, the border goes with the form's bounds.
    skinForm->SetWindowState(gui::wsMaximized);
    RunUntilIdle();
    ExpectAround(form->Left(), form->Top(), form->Width(), form->Height());
    EXPECT_NE(form->Width(), 500);
    skinForm->SetWindowState(gui::wsNormal);
    RunUntilIdle();
    ExpectAround(150, 120, 500, 350);

    gui::TForm* other = ActivateOther();
    EXPECT_FALSE(border->FActive);
    EXPECT_EQ(StripAlpha(), 100);
    SetForegroundWindow(form->Handle());
    RunUntilIdle();
    EXPECT_TRUE(border->FActive);
    EXPECT_EQ(StripAlpha(), 200);
    delete other;

    // The skin's switch takes the border away and brings it back.
    data.SetShowLayeredBorders(false);
    RunUntilIdle();
    EXPECT_FALSE(border->FVisible);
    data.SetShowLayeredBorders(true);
    RunUntilIdle();
    EXPECT_TRUE(border->FVisible);
    ExpectAround(150, 120, 500, 350);

    // Left off by a sender outside the program, and shown again faded in.
    SendMessage(form->Handle(), skin::WM_BSSMARTEFFECTSBEGIN, 0, 0);
    EXPECT_FALSE(skinForm->LayeredBordersUsed());
    SendMessage(form->Handle(), skin::WM_BSSMARTEFFECTSEND, 0, 0);
    EXPECT_TRUE(skinForm->LayeredBordersUsed());
    EXPECT_EQ(StripAlpha(), 200);

    form->Hide();
    RunUntilIdle();
    EXPECT_FALSE(border->FVisible);
    EXPECT_EQ(Strip(skin::bsflTop), nullptr);
    form->Show();
    RunUntilIdle();
    Advance(10);
    EXPECT_TRUE(border->FVisible);
    ExpectAround(150, 120, 500, 350);
    // A form hidden after its border was switched off by code leaves no border behind.
    skinForm->AlwaysDisableLayeredFrames = true;
    form->Hide();
    RunUntilIdle();
    EXPECT_FALSE(border->FVisible);
    skinForm->AlwaysDisableLayeredFrames = false;
    form->Show();
    RunUntilIdle();
    Advance(10);

    // A skin without a layer frame leaves the form without a border.
    data.LayerFrame.PictureIndex = -1;
    skinForm->ApplySkin();
    EXPECT_FALSE(border->FVisible);
    EXPECT_FALSE(skinForm->LayeredBordersUsed());
}

TEST_F(LayeredBorderFormTest, DraggingTheLeftBandStopsAtTheMinimumWidth) {
    OpenBordered();
    Advance(10);
    skinForm->MinWidth = 350;
    const int minW = skinForm->GetMinWidth();
    ASSERT_EQ(minW, 350);
    skin::TbsFormLayerWindow* left = Strip(skin::bsflLeft);
    ASSERT_NE(left, nullptr);
    // A move that arrives while the step lets the form repaint starts no second step.
    int resizes = 0;
    form->OnResize = [&](gui::TObject*) {
        ++resizes;
        left->PointerMove(skin::Point(60, 200));
    };
    left->PointerDown(skin::Point(95, 200));
    ASSERT_TRUE(left->FDown);
    left->PointerMove(skin::Point(125, 200));
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(form->Left(), 130);
    EXPECT_EQ(form->Width(), 370);
    EXPECT_EQ(skinForm->FormWidth(), 370);
    ExpectAround(130, 100, 370, 300);
    EXPECT_TRUE(skinForm->BorderLayerChangeSize());
    form->OnResize = nullptr;
    // Past the minimum: the step is skipped, the right edge never moves.
    left->PointerMove(skin::Point(185, 200));
    EXPECT_EQ(form->Left(), 130);
    EXPECT_EQ(form->Width(), 370);
    left->PointerMove(skin::Point(165, 200));
    EXPECT_EQ(form->Left(), 110);
    EXPECT_EQ(form->Width(), 390);
    left->PointerUp();
    EXPECT_FALSE(skinForm->BorderLayerChangeSize());
    // Plain moves again move the border only.
    form->SetBounds(200, 150, 390, 300);
    RunUntilIdle();
    ExpectAround(200, 150, 390, 300);
}

TEST_F(LayeredBorderFormTest, AMagneticFormSnapsByTheBordersOuterEdge) {
    OpenBordered();
    Advance(10);
    skinForm->Magnetic = true;
    skinForm->MagneticSize = 10;
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    form->SetBounds(work.left + 100, work.top + 100, 400, 300);
    RunUntilIdle();
    RECT wr;
    GetWindowRect(form->Handle(), &wr);
    POINT grip{wr.left + 60, wr.top + data.ClRect.Top - 8};
    ASSERT_EQ(SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCAPTION);
    auto drag = [&](int dx) {
        D().MoveMouse(grip.x, grip.y);
        D().Press();
        D().MoveMouse(grip.x + dx, grip.y);
        D().Release();
        RunUntilIdle();
    };
    // The band 3 pixels past the left edge: the band's edge goes to the work area's.
    drag(-93);
    EXPECT_EQ(form->Left(), work.left + 10);
    ExpectAround(work.left + 10, work.top + 100, 400, 300);
    // The band 6 pixels short of the right edge, moved 5 nearer.
    form->SetBounds(work.right - 400 - 16, work.top + 100, 400, 300);
    RunUntilIdle();
    GetWindowRect(form->Handle(), &wr);
    grip = {wr.left + 60, wr.top + data.ClRect.Top - 8};
    drag(5);
    EXPECT_EQ(form->Left(), work.right - 400 - 10);
}

class InactiveClientTest : public FormEffectsTest {
protected:
    // A default-look form with a red block on its face.
    void OpenWithBlock(skin::TbsClientInActiveEffect effect) {
        OpenWith([&](skin::TbsSkinForm& f) {
            f.ClientInActiveEffect = true;
            f.ClientInActiveEffectType = effect;
        });
        block = new gui::TPanel(form);
        block->SetBevelOuter(gui::bvNone);
        block->SetColor(gui::clRed);
        block->SetBounds(40, 40, 60, 60);
        block->SetParent(form);
        SetForegroundWindow(form->Handle());
        RunUntilIdle();
        ASSERT_EQ(PixelAt(form, 70, 70), RGB(255, 0, 0));
    }
    gui::TPanel* block = nullptr;
};

TEST_F(InactiveClientTest, WashedOutByTheFormsBackgroundWhileInactive) {
    OpenWithBlock(skin::TbsClientInActiveEffect::bsieSemiTransparent);
    const COLORREF face = gui::ColorToRGB(gui::clBtnFace);
    gui::TForm* other = ActivateOther();
    ASSERT_NE(skinForm->FInActivePanel, nullptr);
    EXPECT_EQ(skinForm->FInActivePanel->BoundsRect(), form->ClientRect());
    // The block under 170 parts in 255 of the face; the face stays the face.
    auto mix = [&](int over, int under) { return (over * 170 + under * 85) / 255; };
    const COLORREF washed = RGB(mix(GetRValue(face), 255), mix(GetGValue(face), 0), mix(GetBValue(face), 0));
    EXPECT_LE(ChannelDistance(PixelAt(form, 70, 70), washed), 2) << std::hex << PixelAt(form, 70, 70);
    EXPECT_LE(ChannelDistance(PixelAt(form, 200, 150), face), 1);
    // A click on the overlay activates the form, which lets the overlay go under the click.
    ClickAt(form, 70, 70);
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(skinForm->FInActivePanel, nullptr);
    EXPECT_EQ(PixelAt(form, 70, 70), RGB(255, 0, 0));
    delete other;
}

TEST_F(InactiveClientTest, BlurredWhileInactive) {
    OpenWithBlock(skin::TbsClientInActiveEffect::bsieBlur);
    const COLORREF face = gui::ColorToRGB(gui::clBtnFace);
    gui::TForm* other = ActivateOther();
    ASSERT_NE(skinForm->FInActivePanel, nullptr);
    // The block's edge runs into the face; its middle and the face away from it stay.
    COLORREF edge = PixelAt(form, 40, 70);
    EXPECT_GT(ChannelDistance(edge, RGB(255, 0, 0)), 20);
    EXPECT_GT(ChannelDistance(edge, face), 20);
    EXPECT_EQ(PixelAt(form, 70, 70), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(form, 200, 150), face);
    delete other;
    RunUntilIdle();
}

} // namespace

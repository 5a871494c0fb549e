// The skinned button: its look per state from the skin's rectangles, the click order, repeats
// on the virtual clock, sticky groups, default and cancel keys, and its glow frame.
#include "ControlFixtures.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinScrollBar.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

constexpr int kW = 40, kH = 20;
const uint32_t kLooks[] = {0xFFC00000u, 0xFF00C000u, 0xFF0000C0u, 0xFFC0C000u, 0xFF808080u};
enum Look { Normal, Hot, Pressed, Focus, Disabled };

class ButtonTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        gdi::image::Image img;
        img.Reset(kW, 5 * kH);
        for (int i = 0; i < 5; ++i)
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) img.At(x, i * kH + y) = kLooks[i];
        UsePicture(data_, img);
        gdi::image::Image white;
        white.Reset(kW + 8, kH + 8, 0xFFFFFFFFu);
        UsePicture(data_, white); // a glow picture and its mask
        auto& d = AddControl<TbsDataSkinButtonControl>(data_, "button");
        d.PictureIndex = 0;
        auto look = [](int i) { return Rect(0, i * kH, kW, (i + 1) * kH); };
        d.SkinRect = look(Normal);
        d.ActiveSkinRect = look(Hot);
        d.DownSkinRect = look(Pressed);
        d.FocusedSkinRect = look(Focus);
        d.DisabledSkinRect = look(Disabled);
        d.GlowLayerPictureIndex = 1;
        d.GlowLayerMaskPictureIndex = 1;
        d.GlowLayerShowOffsetX = d.GlowLayerShowOffsetY = 4;
        // The same pictures under a nine-part entry of another class.
        auto& plain = AddControl<TbsDataSkinCustomControl>(data_, "plainbutton");
        plain.PictureIndex = 0;
        plain.SkinRect = look(Hot);
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        form_->Show();
        RunUntilIdle();
    }
    TbsSkinButton* Make(int x, int y, bool skinned = true) {
        auto* b = new TbsSkinButton(form_);
        b->SetParent(form_);
        b->SetBounds(x, y, 75, 25);
        if (skinned) b->SetSkinData(&data_);
        RunUntilIdle();
        return b;
    }
    static COLORREF LookColour(int look) { return Shown(kLooks[look]); }
    void Press(gui::TControl* c, int x = 5, int y = 5) {
        MoveTo(c, x, y);
        D().Press();
        RunUntilIdle();
    }
    void Release() {
        D().Release();
        RunUntilIdle();
    }
    void Away() { MoveTo(form_, 290, 190); }
    TbsSkinData data_;
    SkinWalkForm* form_ = nullptr;
};

} // namespace

TEST_F(ButtonTest, EachStateShowsItsRectangle) {
    TbsSkinButton* b = Make(10, 10);
    TbsSkinButton* other = Make(100, 10);
    EXPECT_EQ(b->Width(), kW); // the skin's size
    auto shown = [&] {
        RunUntilIdle();
        return PixelAt(b, 2, 2);
    };
    EXPECT_EQ(shown(), LookColour(Normal));
    MoveTo(b, 5, 5);
    EXPECT_EQ(shown(), LookColour(Hot));
    D().Press();
    EXPECT_EQ(shown(), LookColour(Pressed));
    Away(); // held, off the button: focused by the press
    EXPECT_EQ(shown(), LookColour(Focus));
    Release();
    other->SetFocus();
    EXPECT_EQ(shown(), LookColour(Normal));
    b->SetEnabled(false);
    EXPECT_EQ(shown(), LookColour(Disabled));
    // A group button that is down shows pressed with the pointer away.
    b->SetEnabled(true);
    b->SetGroupIndex(1);
    b->SetDown(true);
    EXPECT_EQ(shown(), LookColour(Pressed));
}

TEST_F(ButtonTest, ClickOrderAndReleaseOutside) {
    TbsSkinButton* b = Make(10, 10);
    std::vector<std::string> log;
    b->OnMouseDown = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
        log.push_back("down");
    };
    b->OnClick = [&](gui::TObject*) { log.push_back("click"); };
    b->OnMouseUp = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { log.push_back("up"); };
    Press(b);
    Release();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "click", "up"}));
    log.clear();
    Press(b);
    Away();
    Release();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "up"}));
    EXPECT_FALSE(b->Down());
    // Space presses and releases it with a click, Enter clicks the focused button.
    log.clear();
    PressKey(VK_SPACE);
    PressKey(VK_RETURN);
    EXPECT_EQ(log, (std::vector<std::string>{"click", "click"}));
}

TEST_F(ButtonTest, RepeatsAfter600ThenEvery100) {
    TbsSkinButton* b = Make(10, 10);
    b->RepeatMode = true;
    int clicks = 0;
    b->OnClick = [&](gui::TObject*) { ++clicks; };
    Press(b);
    Advance(590);
    EXPECT_EQ(clicks, 0);
    Advance(10);
    EXPECT_EQ(clicks, 1);
    Advance(200);
    EXPECT_EQ(clicks, 3);
    Release();
    EXPECT_EQ(clicks, 4); // the release inside clicks too
    Advance(300);
    EXPECT_EQ(clicks, 4);
}

TEST_F(ButtonTest, GroupsAndAllowAllUp) {
    struct Case {
        bool allowAllUp;
        bool secondDownAfterFirstPress; // the other group member released?
        bool firstDownAfterSecondClick; // clicking the down button again
        int clicksOnSecondClick;
    } cases[] = {
        {false, false, true,  0},
        {true,  true,  false, 1},
    };
    for (const Case& c : cases) {
        TbsSkinButton* a = Make(10, 10);
        TbsSkinButton* other = Make(100, 10);
        for (TbsSkinButton* b : {a, other}) {
            b->SetGroupIndex(7);
            b->AllowAllUp = c.allowAllUp;
        }
        EXPECT_FALSE(a->CanFocused());
        EXPECT_FALSE(a->TabStop());
        other->SetDown(true);
        int clicks = 0;
        a->OnClick = [&](gui::TObject*) { ++clicks; };
        Press(a);
        EXPECT_EQ(clicks, 1); // a group button clicks on the press
        Release();
        EXPECT_TRUE(a->Down());
        EXPECT_EQ(other->Down(), c.secondDownAfterFirstPress);
        clicks = 0;
        Press(a);
        Release();
        EXPECT_EQ(a->Down(), c.firstDownAfterSecondClick);
        EXPECT_EQ(clicks, c.clicksOnSecondClick);
        delete a;
        delete other;
    }
}

TEST_F(ButtonTest, EnterClicksTheDefaultAndEscapeTheCancelButton) {
    TbsSkinButton* ok = Make(10, 10);
    TbsSkinButton* cancel = Make(100, 10);
    auto* field = new gui::TCustomControl(form_); // a focusable control that is no button
    field->SetParent(form_);
    field->SetBounds(10, 100, 50, 20);
    field->SetTabStop(true);
    ok->SetDefault(true);
    ok->ModalResult = gui::mrOk;
    cancel->Cancel = true;
    std::vector<std::string> log;
    ok->OnClick = [&](gui::TObject*) { log.push_back("ok"); };
    cancel->OnClick = [&](gui::TObject*) { log.push_back("cancel"); };
    field->SetFocus();
    RunUntilIdle();
    PressKey(VK_RETURN);
    EXPECT_EQ(form_->ModalResult(), gui::mrOk);
    PressKey(VK_ESCAPE);
    cancel->SetFocus();
    PressKey(VK_RETURN); // the focused button, not the default one
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel", "cancel"}));
    // A cancel button that cannot take the focus ignores Escape.
    log.clear();
    field->SetFocus();
    cancel->SetCanFocused(false);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(log.empty());
    // The default button looks hot while the focus is on a control that is no button.
    EXPECT_TRUE(ok->MouseIn());
    EXPECT_EQ(PixelAt(ok, 2, 2), LookColour(Hot));
}

TEST_F(ButtonTest, GlowFrameShowsOnHoverAndAlwaysHides) {
    TbsSkinButton* b = Make(10, 10);
    MoveTo(b, 5, 5);
    EXPECT_TRUE(b->LayerVisible());
    Away();
    EXPECT_FALSE(b->LayerVisible());
    // Shown only because the button asks for it always: hiding still hides it.
    data_.ShowButtonGlowFrames = false;
    b->AlwaysShowLayeredFrame = true;
    MoveTo(b, 5, 5);
    EXPECT_TRUE(b->LayerVisible());
    Away();
    EXPECT_FALSE(b->LayerVisible());
    // A glow picture without its mask shows nothing.
    dynamic_cast<TbsDataSkinButtonControl&>(*data_.CtrlList[0]).GlowLayerMaskPictureIndex = -1;
    MoveTo(b, 5, 5);
    EXPECT_FALSE(b->LayerVisible());
}

TEST_F(ButtonTest, AnEntryOfAnotherClassAndNoSkinDrawPlainLooks) {
    TbsSkinButton* b = Make(10, 10);
    b->SetSkinDataName("plainbutton");
    b->ChangeSkinData();
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Hot)); // its skin rectangle, whatever the state
    MoveTo(b, 5, 5);
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Hot));
    TbsSkinButton* plain = Make(100, 10, false);
    EXPECT_EQ(plain->Width(), 75);
    EXPECT_EQ(PixelAt(plain, 0, 0), gui::ColorToRGB(gui::clBtnShadow));
    EXPECT_EQ(PixelAt(plain, 5, 5), gui::ColorToRGB(gui::clBtnFace));
    MoveTo(plain, 5, 5);
    EXPECT_EQ(PixelAt(plain, 5, 5), RGB(182, 189, 210));
}

TEST_F(GuiTest, ButtonPaintsFromStoredSkinsAtSeveralSizes) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 300, 200);
    auto* b = new TbsSkinButton(form);
    b->SetParent(form);
    b->SetSkinDataName("resizebutton");
    b->SetCanFocused(false); // no focused look in the way of the hot one
    b->SetSkinData(&data);
    form->Show();
    for (int index : {0, 3, 8}) {
        data.SetSkinIndex(index);
        auto& d =
            dynamic_cast<TbsDataSkinButtonControl&>(*data.CtrlList[data.GetControlIndex("resizebutton")]);
        for (int w : {60, 150}) {
            SCOPED_TRACE(std::to_string(index) + " " + std::to_string(w));
            b->SetBounds(10, 10, w, 30);
            MoveTo(form, 250, 150);
            Advance(200); // the morph back to the normal look
            EXPECT_EQ(b->Width(), w);
            EXPECT_EQ(b->Height(), 30);
            // The middle of the top edge, stretched, in the normal and the hot look.
            int mid = d.SkinRect.Width() / 2;
            EXPECT_EQ(PixelAt(b, w / 2, 1), PictureAt(data, d.PictureIndex, mid, d.SkinRect.Top + 1));
            MoveTo(b, w / 2, 15);
            Advance(200); // past any morph
            EXPECT_EQ(PixelAt(b, w / 2, 1), PictureAt(data, d.PictureIndex, mid, d.ActiveSkinRect.Top + 1));
        }
    }
}

TEST_F(ButtonTest, EraseOutsideItsPaintDrawsTheWholeLookIntoTheGivenContext) {
    TbsSkinButton* b = Make(10, 10);
    auto* bar = new TbsSkinScrollBar(form_);
    bar->SetParent(form_);
    bar->SetBounds(10, 60, 120, 19);
    RunUntilIdle();
    for (gui::TWinControl* c : std::initializer_list<gui::TWinControl*>{b, bar}) {
        gui::TBitmap target;
        target.SetSize(c->Width(), c->Height());
        target.Canvas()->Brush()->SetColor(RGB(1, 2, 3));
        target.Canvas()->FillRect({0, 0, c->Width(), c->Height()});
        LRESULT r =
            SendMessage(c->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0);
        EXPECT_EQ(r, 1) << c->ClassName();
        // What the window shows, pixel for pixel, at a few points.
        for (POINT p : {
                 POINT{1,              1              },
                 POINT{c->Width() / 2, c->Height() / 2},
                 POINT{c->Width() - 2, c->Height() - 2}
        })
            EXPECT_EQ(static_cast<COLORREF>(target.Canvas()->Pixels(p.x, p.y)), PixelAt(c, p.x, p.y))
                << c->ClassName() << " " << p.x << "," << p.y;
    }
    // Without a context nothing is painted or claimed.
    EXPECT_EQ(SendMessage(b->Handle(), WM_ERASEBKGND, 0, 0), 0);
}

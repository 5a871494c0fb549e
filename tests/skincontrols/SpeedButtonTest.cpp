// The windowless speed buttons: looks from the skin, the click order, repeats, groups, the
// transparent flat look, and the menu button's drop-down with and without a menu to show.
#include "ControlFixtures.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinToolBar.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

constexpr int kW = 40, kH = 20;
const uint32_t kLooks[] = {0xFFC00000u, 0xFF00C000u, 0xFF0000C0u, 0xFF808080u};
enum Look { Normal, Hot, Pressed, Disabled };

// A menu that records where it was asked to show, shown or not.
class FakeMenu : public TbsTrackMenu {
public:
    bool shows = true;
    std::vector<gui::TRect> asked;
    gui::TControl* opener = nullptr;
    bool PopupFromRect(gui::TControl* AOpener, const gui::TRect& R, bool) override {
        asked.push_back(R);
        opener = AOpener;
        return shows;
    }
};

class SpeedButtonTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        gdi::image::Image img;
        img.Reset(kW, 4 * kH);
        for (int i = 0; i < 4; ++i)
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) img.At(x, i * kH + y) = kLooks[i];
        UsePicture(data_, img);
        auto& d = AddControl<TbsDataSkinButtonControl>(data_, "toolbutton");
        d.PictureIndex = 0;
        auto look = [](int i) { return Rect(0, i * kH, kW, (i + 1) * kH); };
        d.SkinRect = look(Normal);
        d.ActiveSkinRect = look(Hot);
        d.DownSkinRect = look(Pressed);
        d.DisabledSkinRect = look(Disabled);
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 300, 200);
        form_->SetColor(gui::clYellow);
        form_->Show();
        RunUntilIdle();
    }
    template <class B = TbsSkinSpeedButton> B* Make(int x, int y, bool skinned = true) {
        auto* b = new B(form_);
        b->SetParent(form_);
        b->SetBounds(x, y, 60, 30);
        if (skinned) b->SetSkinData(&data_);
        RunUntilIdle();
        return b;
    }
    void Press(gui::TControl* c, int x = 5, int y = 5) {
        MoveTo(c, x, y);
        D().Press();
        RunUntilIdle();
    }
    void Release() {
        D().Release();
        RunUntilIdle();
    }
    void Away() { MoveTo(form_, 250, 150); }
    static COLORREF LookColour(int look) { return Shown(kLooks[look]); }
    TbsSkinData data_;
    SkinWalkForm* form_ = nullptr;
};

} // namespace

TEST_F(SpeedButtonTest, LooksClicksAndTheOrderOfEvents) {
    auto* b = Make(10, 10);
    EXPECT_EQ(b->Width(), kW);
    std::vector<std::string> log;
    b->OnMouseDown = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
        log.push_back("down");
    };
    b->OnClick = [&](gui::TObject*) { log.push_back("click"); };
    b->OnMouseUp = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { log.push_back("up"); };
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Normal));
    MoveTo(b, 5, 5);
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Hot));
    D().Press();
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Pressed));
    Away(); // held off the button: the normal look, and no click at the release
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Normal));
    MoveTo(b, 5, 5);
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Pressed));
    Release();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "up", "click"}));
    log.clear();
    Advance(600); // not a double click
    Press(b);
    Away();
    Release();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "up"}));
    b->SetEnabled(false);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 2, 2), LookColour(Disabled));
}

TEST_F(SpeedButtonTest, RepeatsAndGroups) {
    auto* b = Make(10, 10);
    b->RepeatMode = true;
    int clicks = 0;
    b->OnClick = [&](gui::TObject*) { ++clicks; };
    Press(b);
    Advance(590);
    EXPECT_EQ(clicks, 0);
    Advance(10);
    EXPECT_EQ(clicks, 1);
    Advance(100);
    EXPECT_EQ(clicks, 2);
    Release();
    EXPECT_EQ(clicks, 3);

    auto* a = Make(10, 60);
    auto* c = Make(100, 60);
    a->GroupIndex = c->GroupIndex = 3;
    c->SetDown(true);
    clicks = 0;
    a->OnClick = [&](gui::TObject*) { ++clicks; };
    Press(a);
    EXPECT_EQ(clicks, 1); // on the press
    Release();
    EXPECT_TRUE(a->Down());
    EXPECT_FALSE(c->Down());
    Press(a); // AllowAllUp off: a down button stays down
    Release();
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 1);
    a->RefreshButton(); // up, nobody told
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(clicks, 1);
}

TEST_F(SpeedButtonTest, FlatTransparentWithoutSkinShowsTheParentUntilHot) {
    auto* b = Make(10, 10, false);
    b->SetFlat(true);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 0, 0), gui::ColorToRGB(gui::clYellow));
    MoveTo(b, 5, 5);
    EXPECT_EQ(PixelAt(b, 0, 0), RGB(0, 0, 128));
    b->SetShowCaption(true);
    b->WidthWithCaption = 60;
    b->WidthWithoutCaption = 25;
    b->SetShowCaption(false);
    EXPECT_EQ(b->Width(), 25);
}

TEST_F(SpeedButtonTest, MenuButtonOpensItsMenuAndComesUpWhenItCloses) {
    FakeMenu menu;
    auto* b = Make<TbsSkinMenuSpeedButton>(10, 10, false);
    b->SkinPopupMenu = &menu;
    std::vector<std::string> log;
    b->OnMouseDown = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
        log.push_back("down");
    };
    b->OnClick = [&](gui::TObject*) { log.push_back("click"); };
    b->OnShowTrackMenu = [&](gui::TObject*) { log.push_back("show"); };
    b->OnHideTrackMenu = [&](gui::TObject*) { log.push_back("hide"); };
    Press(b);
    Release();
    ASSERT_EQ(menu.asked.size(), 1u);
    gui::TPoint o = b->ClientToScreen({0, 0});
    EXPECT_EQ(menu.asked[0], gui::Rect(o.x, o.y, o.x + 60, o.y + 30));
    EXPECT_EQ(menu.opener, b);
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(b->MenuTracked());
    b->Perform(WM_CLOSESKINMENU, 0, 0);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(log, (std::vector<std::string>{"show", "hide"}));
    // A menu that cannot show: the button comes up at once.
    log.clear();
    menu.shows = false;
    Press(b);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MenuTracked());
    Release();
    EXPECT_EQ(log, (std::vector<std::string>{"show", "hide"}));
    // In track-button mode only the band opens it; the rest clicks.
    menu.shows = true;
    b->SetTrackButtonMode(true);
    log.clear();
    Press(b, 10, 10);
    Release();
    EXPECT_EQ(log, (std::vector<std::string>{"down", "click"}));
    EXPECT_EQ(menu.asked.size(), 2u);
    Press(b, 60 - 15, 10);
    EXPECT_EQ(menu.asked.size(), 3u);
    Release();
    b->Perform(WM_CLOSESKINMENU, 0, 0);
    // A right press never opens it.
    POINT p = ScreenOf(b, 50, 10);
    D().Click(p.x, p.y, 1);
    RunUntilIdle();
    EXPECT_EQ(menu.asked.size(), 3u);
}

TEST_F(GuiTest, MenuButtonInTheNewStyleDrawsTheDefaultLookWithoutItsSections) {
    TbsSkinData data;
    UsePicture(data, enginetest::Distinct(8, 8));
    AddControl<TbsDataSkinButtonControl>(data, "resizetoolbutton-not").PictureIndex = 0;
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 200, 100);
    auto* b = new TbsSkinMenuSpeedButton(form);
    b->SetParent(form);
    b->SetNewStyle(true);
    EXPECT_EQ(b->SkinDataName, "resizetoolbutton");
    b->SetSkinData(&data);
    b->SetBounds(10, 10, 60, 30);
    form->Show();
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, 0, 0), gui::ColorToRGB(gui::clBtnShadow));
    EXPECT_EQ(PixelAt(b, 5, 5), gui::ColorToRGB(gui::clBtnFace));
    b->SetNewStyle(false);
    EXPECT_EQ(b->SkinDataName, "resizetoolbutton");
}

TEST_F(GuiTest, MenuButtonPaintsFromStoredSkins) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 300, 200);
    auto* b = new TbsSkinMenuSpeedButton(form);
    b->SetParent(form);
    b->SkinDataName = "resizetoolbutton";
    b->SetSkinData(&data);
    form->Show();
    for (int index : {0, 3, 8}) {
        data.SetSkinIndex(index);
        auto& d =
            dynamic_cast<TbsDataSkinButtonControl&>(*data.CtrlList[data.GetControlIndex("resizetoolbutton")]);
        for (int w : {70, 120}) {
            SCOPED_TRACE(std::to_string(index) + " " + std::to_string(w));
            b->SetBounds(10, 10, w, 30);
            MoveTo(form, 250, 150);
            EXPECT_EQ(b->Width(), w);
            int mid = d.SkinRect.Width() / 2;
            EXPECT_EQ(PixelAt(b, w / 3, 1), PictureAt(data, d.PictureIndex, mid, d.SkinRect.Top + 1));
            MoveTo(b, w / 3, 15);
            EXPECT_EQ(PixelAt(b, w / 3, 1), PictureAt(data, d.PictureIndex, mid, d.ActiveSkinRect.Top + 1));
        }
    }
}

TEST_F(SpeedButtonTest, OnAToolBarTheBarsPicturesFollowTheButtonsState) {
    auto* bar = new TbsSkinToolBar(form_);
    bar->SetParent(form_);
    bar->SetBounds(0, 100, 300, 40);
    auto list = [&](gui::TColor c) {
        auto* l = new gui::TImageList(form_);
        l->SetSize(8, 8);
        gui::TBitmap b;
        b.SetSize(8, 8);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect({0, 0, 8, 8});
        l->Add(&b, nullptr);
        return l;
    };
    bar->SetImages(list(RGB(255, 0, 0)));
    bar->HotImages = list(RGB(0, 0, 255));
    bar->DisabledImages = list(RGB(0, 255, 0));
    auto* b = new TbsSkinSpeedButton(form_);
    b->SetParent(bar);
    b->SetBounds(10, 5, 30, 30);
    b->ImageIndex = 0;
    RunUntilIdle();
    int cx = 15, cy = 15;
    EXPECT_EQ(PixelAt(b, cx, cy), RGB(255, 0, 0));
    MoveTo(b, 2, 2);
    EXPECT_EQ(PixelAt(b, cx, cy), RGB(0, 0, 255)); // hot
    MoveTo(form_, 290, 10);
    b->SetEnabled(false);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(b, cx, cy), RGB(0, 255, 0)); // the bar's disabled pictures, as they are
}

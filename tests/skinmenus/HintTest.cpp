// The skinned hint window and the hint component: sizes, line breaks, staying on the screen,
// the pause and hide times, the component that serves, and the skin's look.
#include "../skincontrols/ControlFixtures.h"
#include "skin/controls/SkinButton.h"
#include "skin/engine/DrawUtils.h"
#include "skin/hints/SkinHint.h"
#include "skin/hints/SkinHintWindow.h"
#include "win/Layered.h"
#include "win/Styles.h"
#include "win/Window.h"

namespace {

class HintTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        gui::Application->CreateForm(main);
        main->SetBounds(100, 100, 400, 300);
        main->Show();
        RunUntilIdle();
        hint = new skin::TbsSkinHint(main);
        gui::TRect wa{};
        skin::GetMonitorArea(main->Handle(), true, wa);
        area = wa;
    }
    void TearDown() override {
        gui::Application->OnShowHint = nullptr;
        gui::Application->HintWindowClass = nullptr;
        GuiTest::TearDown();
    }
    // The text's size in the component's default font.
    gui::TSize Measure(const std::string& text, bool bold = false) {
        gui::TBitmap b;
        b.SetSize(1, 1);
        b.Canvas()->SetFont(hint->DefaultFont());
        if (bold) b.Canvas()->Font()->SetStyle(gui::fsBold);
        gui::TRect r{};
        skin::DrawWideText(b.Canvas(), text, r, DT_CALCRECT);
        return {r.right - r.left, r.bottom - r.top};
    }
    skin::TbsSkinHintWindow* W() { return hint->Window(); }
    uint32_t Pixel(int x, int y) {
        const gdi::Bitmap* s = win::GetWindowSurface(W()->Handle());
        return s ? s->View().Get(x, y) & 0xFFFFFF : 0xFFFFFFFFu;
    }
    static uint32_t Rgb(gui::TColor c) {
        COLORREF v = gui::ColorToRGB(c);
        return static_cast<uint32_t>((GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v));
    }

    gui::TForm* main = nullptr;
    skin::TbsSkinHint* hint = nullptr;
    gui::TRect area{};
};

TEST(HintLines, EverySeparatorBecomesOneLineBreak) {
    struct Case {
        const char* text;
        const char* separator;
        const char* broken;
    } cases[] = {
        {"two@words",       "@",    "two\n\rwords"      },
        {"a.b@example.com", "@",    "a.b\n\rexample.com"},
        {"@edge@",          "@",    "\n\redge\n\r"      },
        {"no separator",    "@",    "no separator"      },
        {"kept@",           "",     "kept@"             },
        {"line\nbreak",     "\n",   "line\n\rbreak"     }, // found once, not again in its own replacement
        {"cr\rand\rmore",   "\r",   "cr\n\rand\n\rmore" },
        {"a<br>b<br>",      "<br>", "a\n\rb\n\r"        },
    };
    for (const Case& c : cases) EXPECT_EQ(skin::BreakHintLines(c.text, c.separator), c.broken) << c.text;
}

TEST_F(HintTest, APlainHintIsItsTextPlusTwoPixelsAllRound) {
    hint->ActivateHint({200, 200}, "Hello hint");
    RunUntilIdle();
    gui::TSize t = Measure("Hello hint");
    EXPECT_EQ(W()->Width(), t.cx + 4);
    EXPECT_EQ(W()->Height(), t.cy + 4);
    EXPECT_EQ(W()->Left(), 200);
    EXPECT_EQ(W()->Top(), 200);
    EXPECT_TRUE(hint->IsVisible());
    EXPECT_EQ(Pixel(0, 0), Rgb(gui::clBtnShadow));
    EXPECT_EQ(Pixel(1, 1), Rgb(gui::clInfoBk));

    // "@" breaks the line.
    hint->ActivateHint({200, 200}, "first@second");
    gui::TSize two = Measure("first\n\rsecond");
    EXPECT_EQ(W()->Height(), two.cy + 4);
    EXPECT_GT(two.cy, t.cy * 3 / 2);
    EXPECT_EQ(W()->Caption(), "first\n\rsecond");
}

TEST_F(HintTest, AHintStaysOnTheScreenOnEverySide) {
    gui::TSize t = Measure("edge");
    int w = t.cx + 4, h = t.cy + 4;
    struct Case {
        int x, y, left, top;
    } cases[] = {
        {300,            300,             300,                    300                    },
        {area.right - 5, 300,             area.right - 5 - w - 2, 300                    },
        {300,            area.bottom - 5, 300,                    area.bottom - 5 - h - 2},
        {area.left - 40, area.top - 30,   area.left,              area.top               },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        hint->ActivateHint({c.x, c.y}, "edge");
        EXPECT_EQ(W()->Left(), c.left);
        EXPECT_EQ(W()->Top(), c.top);
    }
    // Beside a rectangle: centred on it, above or below.
    gui::TRect r = gui::Rect(300, 300, 400, 320);
    W()->ActivateHintFromRect(r, "edge", true);
    EXPECT_EQ(W()->Left(), 300 + 50 - w / 2);
    EXPECT_EQ(W()->Top(), 300 - h);
    W()->ActivateHintFromRect(r, "edge", false);
    EXPECT_EQ(W()->Top(), 320);
}

TEST_F(HintTest, DelayedHintsShowAfterThePauseAndHideAfterTheHidePause) {
    gui::Application->HintPause = 500;
    gui::Application->HintHidePause = 2500;
    EXPECT_EQ(gui::Application->HintShortPause, 100);
    D().MoveMouse(250, 250);
    RunUntilIdle();
    hint->ActivateHint2("later");
    Advance(450);
    EXPECT_FALSE(hint->IsVisible());
    Advance(100);
    ASSERT_TRUE(hint->IsVisible());
    EXPECT_EQ(W()->Left(), 250);
    EXPECT_EQ(W()->Top(), 250 + hint->GetCursorHeightMargin());
    EXPECT_GT(hint->GetCursorHeightMargin(), 0);
    Advance(2400);
    EXPECT_TRUE(hint->IsVisible());
    Advance(150);
    EXPECT_FALSE(hint->IsVisible());

    // Hiding before the pause ends cancels the pending hint.
    hint->ActivateHint2("never");
    Advance(200);
    hint->HideHint();
    Advance(1000);
    EXPECT_FALSE(hint->IsVisible());
}

TEST_F(HintTest, OnlyTheFirstActiveComponentOfTheMainFormServes) {
    auto* second = new skin::TbsSkinHint(main);
    EXPECT_EQ(skin::FindActiveSkinHint(), hint);
    second->SetActive(true);
    EXPECT_FALSE(hint->Active());
    EXPECT_EQ(skin::FindActiveSkinHint(), second);
    second->SetActive(false);
    hint->ActivateHint({200, 200}, "nobody serves");
    EXPECT_FALSE(hint->IsVisible());
}

TEST_F(HintTest, AnExtendedHintPutsItsTitleAboveTheText) {
    hint->ActivateHintEx({200, 200}, "Title", "Text", -1, nullptr);
    gui::TSize text = Measure("Text"), title = Measure("Title");
    EXPECT_TRUE(W()->ExtendedStyle());
    EXPECT_EQ(W()->Height(), text.cy + title.cy + 10 + 4);
    EXPECT_EQ(W()->Width(), std::max(text.cx, title.cx) + 4);
    hint->HideHint();
    EXPECT_TRUE(hint->HintTitle().empty());
}

TEST_F(HintTest, TheApplicationShowsASkinnedButtonsTitleInItsOwnSkinnedWindow) {
    auto* button = new skin::TbsSkinButton(main);
    button->SetParent(main);
    button->SetBounds(20, 20, 80, 26);
    button->Hint = "Converts the list";
    button->HintTitle = "Start";
    button->SetShowHint(true);
    gui::Application->SetShowHint(true);
    gui::Application->HintPause = 500;
    RunUntilIdle();
    POINT p = ScreenOf(button, 30, 10);
    D().MoveMouse(p.x, p.y);
    RunUntilIdle();
    Advance(600);
    auto* w = dynamic_cast<skin::TbsSkinHintWindow*>(gui::Application->HintWindow());
    ASSERT_NE(w, nullptr) << "the application makes its hint window of the skinned class";
    ASSERT_TRUE(w->HandleAllocated() && IsWindowVisible(w->Handle()));
    EXPECT_TRUE(w->ExtendedStyle());
    EXPECT_EQ(hint->HintTitle(), "Start");
    gui::TSize text = Measure("Converts the list"), title = Measure("Start");
    EXPECT_EQ(w->Height(), text.cy + title.cy + 10 + 4);
    gui::Application->CancelHint();
}

TEST_F(HintTest, AlphaBlendingMakesTheWindowLayered) {
    hint->AlphaBlend = true;
    hint->AlphaBlendValue = 0;
    hint->ActivateHint({200, 200}, "clear");
    BYTE alpha = 255;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(W()->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 0);
    hint->AlphaBlendValue = 200;
    hint->AlphaBlendAnimation = true;
    hint->ActivateHint({200, 200}, "fading");
    ASSERT_TRUE(GetLayeredWindowAttributes(W()->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    hint->AlphaBlend = false;
    hint->ActivateHint({200, 200}, "plain");
    EXPECT_EQ(GetWindowLong(W()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(HintTest, ASkinsHintPictureFramesTheText) {
    skin::TbsSkinData data;
    data.SetSkinList(&controltest::StoredSkins());
    data.SetSkinIndex(3);
    hint->SetSkinData(&data);
    hint->ActivateHint({200, 200}, "皮肤提示");
    RunUntilIdle();
    const skin::TbsDataSkinHintWindow& hw = data.HintWindow;
    const skin::TbsPicture& pic = *data.FActivePictures[static_cast<size_t>(hw.WindowPictureIndex)];
    EXPECT_GE(W()->Width(), pic.Width() - hw.ClRect.Width());
    EXPECT_EQ(W()->NewClRect.Left, hw.ClRect.Left);
    EXPECT_EQ(W()->NewClRect.Right, W()->Width() - (pic.Width() - hw.ClRect.Right));
    // The middle of the top edge is the picture's.
    EXPECT_EQ(Pixel(W()->Width() / 2, 0), pic.Image().At(pic.Width() / 2, 0) & 0xFFFFFF);
    hint->SetSkinData(nullptr);
}

} // namespace

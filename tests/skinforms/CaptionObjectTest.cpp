// Caption objects on the form: the default look's buttons and their places, border icons,
// the press and release rules, hover morphing and frame animation on the form's timers, the
// caption text's trimming, quick buttons, hints, and skins with bad pictures.
#include "SkinFormFixture.h"

#include "gui/Bitmap.h"
#include "gui/ImgList.h"
#include "gui/PopupMenu.h"
#include "skin/hints/SkinHint.h"
#include "skin/menus/SkinMenu.h"

#include <vector>

using namespace skinformtest;

namespace {

class CaptionObjectTest : public FrameTest {};

TEST_F(CaptionObjectTest, DefaultLookPlacesTheVisibleButtonsLeftwardsWithoutGaps) {
    struct Case {
        const char* what;
        skin::TbsBorderIcons icons;
        bool hide;
        std::vector<std::pair<const char*, skin::TRect>> shown;
        int captionLeft, captionRight;
    } cases[] = {
        {"default icons",
         skin::biSystemMenu | skin::biMinimize | skin::biMaximize | skin::biRollUp,
         false,                                                                           {{"closebutton", {280, 4, 297, 21}},
          {"maxbutton", {263, 4, 280, 21}},
          {"minbutton", {246, 4, 263, 21}},
          {"rollupbutton", {229, 4, 246, 21}},
          {"sysmenubutton", {3, 4, 20, 21}}},
         20,                                                                                                                                                         229},
        {"minimise only",
         skin::biMinimize,
         false,                                                                           {{"closebutton", {280, 4, 297, 21}}, {"minbutton", {263, 4, 280, 21}}},
         3,                                                                                                                                                          263},
        {"to the tray as well",
         skin::biMinimize | skin::biMinimizeToTray,
         false,                                                                           {{"closebutton", {280, 4, 297, 21}},
          {"minbutton", {263, 4, 280, 21}},
          {"traybutton", {246, 4, 263, 21}}},
         3,                                                                                                                                                          246},
        {"hidden",              skin::biMinimize | skin::biMaximize,                true, {},                                                                     3, 297},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        skinForm->SetBorderIcons(c.icons);
        skinForm->SetHideCaptionButtons(c.hide);
        skinForm->CalcDefRects();
        int visible = 0;
        for (auto& o : skinForm->ObjectList) visible += o->Visible;
        EXPECT_EQ(visible, static_cast<int>(c.shown.size()));
        for (auto& [id, r] : c.shown) {
            SCOPED_TRACE(id);
            ASSERT_NE(Object(id), nullptr);
            EXPECT_TRUE(Object(id)->Visible);
            EXPECT_TRUE(Object(id)->Enabled);
            EXPECT_EQ(Object(id)->ObjectRect, r);
        }
        EXPECT_EQ(skinForm->NewDefCaptionRect.Left, c.captionLeft);
        EXPECT_EQ(skinForm->NewDefCaptionRect.Right, c.captionRight);
    }
    // Hidden buttons react to nothing.
    MoveOver({288, 12});
    EXPECT_EQ(skinForm->ActiveObject, -1);
}

TEST_F(CaptionObjectTest, SkinButtonsByBorderIconsAndTheirHints) {
    LoadSkin(0);
    // A second skin whose minimise button is a separate image, not part of the frame picture.
    for (auto& d : data.ObjectList)
        if (d->IDName == "maxbutton") d->SkinRectInAPicture = false;
    Open(data.FPicture.Width(), data.FPicture.Height(), &data);
    skinForm->SetBorderIcons(skin::biMinimize);
    struct Case {
        const char* id;
        bool visible, enabled;
    } cases[] = {
        {"closebutton",   true,  true },
        {"minbutton",     true,  true },
        {"maxbutton",     true,  false}, // a separate image: shown, disabled
        {"rollupbutton",  false, false}, // drawn into the picture: gone
        {"sysmenubutton", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(Object(c.id), nullptr);
        EXPECT_EQ(Object(c.id)->Visible, c.visible);
        EXPECT_EQ(Object(c.id)->Enabled, c.enabled);
    }
    // No string table: the built-in hints.
    EXPECT_EQ(Object("closebutton")->Hint, "Close");
    EXPECT_EQ(static_cast<skin::TbsSkinStdButtonObject*>(Object("maxbutton"))->RestoreHint, "Restore");
    // The caption's left edge follows the row: without a system-menu button it stays.
    skinForm->SetBorderIcons(skin::biSystemMenu | skin::biMinimize);
    form->SetWidth(form->Width() + 40);
    RunUntilIdle();
    EXPECT_EQ(Object("closebutton")->ObjectRect.Right, data.ButtonsRect.Right + 40);
    EXPECT_GT(Object("caption")->ObjectRect.Left, Object("sysmenubutton")->ObjectRect.Right - 1);
    EXPECT_LT(Object("caption")->ObjectRect.Right, Object("minbutton")->ObjectRect.Left);
}

TEST_F(CaptionObjectTest, CloseActsOnlyOnAReleaseOverIt) {
    Open();
    std::vector<std::string> events;
    skinForm->OnMouseUpEvent = [&](const std::string& id, int, int, skin::TRect, gui::TMouseButton) {
        events.push_back("up " + id);
    };
    form->OnClose = [&](gui::TObject*, gui::TCloseAction&) { events.push_back("close"); };
    POINT close = ScreenAt(288, 12);
    MoveOver({288, 12});
    EXPECT_EQ(skinForm->ActiveObject, skinForm->GetIndex("closebutton"));
    D().Press();
    RunUntilIdle();
    auto* button = static_cast<skin::TbsSkinStdButtonObject*>(Object("closebutton"));
    EXPECT_TRUE(button->Down());
    // Out onto the client while held: the hover ends on the mouse timer's tick.
    MoveOver({150, 100});
    Advance(60);
    EXPECT_FALSE(button->Active);
    D().Release();
    RunUntilIdle();
    EXPECT_FALSE(button->Down());
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(events.empty());

    // While held on the close button, the minimise button does not take the hover.
    D().MoveMouse(close.x, close.y);
    RunUntilIdle();
    D().Press();
    MoveOver({254, 12});
    Advance(60);
    EXPECT_FALSE(Object("minbutton")->Active);
    MoveOver({288, 12});
    Advance(60);
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"up closebutton", "close"}));
    EXPECT_FALSE(form->Visible());
}

// The mouse timer samples the hover every 50 ms; a release between two samples is judged
// where it happens (on the main window a wrong close ends the program).
TEST_F(CaptionObjectTest, CloseIsDecidedWhereTheButtonIsReleasedNotOnTheLastSample) {
    Open();
    int closes = 0;
    form->OnClose = [&](gui::TObject*, gui::TCloseAction& action) {
        ++closes;
        action = gui::caNone;
    };
    auto* button = static_cast<skin::TbsSkinStdButtonObject*>(Object("closebutton"));
    // Pressed, moved off and released before the next sample: nothing closes.
    MoveOver({288, 12});
    D().Press();
    RunUntilIdle();
    ASSERT_TRUE(button->Down());
    MoveOver({150, 100});
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(closes, 0);
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->Active);
    // Pressed, moved off until a sample saw it, back on and released before the next: it closes.
    closes = 0;
    MoveOver({288, 12});
    D().Press();
    MoveOver({150, 100});
    Advance(60);
    ASSERT_FALSE(button->Active);
    MoveOver({288, 12});
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(button->Down());
    // Messages alone: the release's own point decides, wherever the cursor was last seen.
    MoveOver({288, 12});
    for (POINT release : {
             POINT{150, 100},
             POINT{288, 12 }
    }) {
        SCOPED_TRACE(release.x);
        closes = 0;
        POINT down = ScreenAt(288, 12);
        SendMessage(form->Handle(), WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(down.x, down.y));
        ASSERT_TRUE(button->Down());
        gui::TPoint up = form->ScreenToClient(ScreenAt(release.x, release.y));
        SendMessage(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
        RunUntilIdle();
        EXPECT_EQ(closes, release.x == 288 ? 1 : 0);
        EXPECT_FALSE(button->Down());
    }
}

TEST_F(CaptionObjectTest, CloseThatFreesTheFormFinishesTheMouseHandlingFirst) {
    Open();
    bool freed = false;
    form->OnClose = [](gui::TObject*, gui::TCloseAction& action) { action = gui::caFree; };
    form->OnDestroy = [&](gui::TObject*) { freed = true; };
    POINT close = ScreenAt(288, 12);
    D().MoveMouse(close.x, close.y);
    RunUntilIdle();
    D().Press();
    RunUntilIdle();
    D().Release();
    RunUntilIdle();
    EXPECT_TRUE(freed);
    form = nullptr; // gone with its component
}

TEST_F(CaptionObjectTest, HoveredButtonShowsItsHintThroughTheHintComponent) {
    // The hint component sits on the main form, as in the program.
    LoadSkin(0);
    gui::TForm* main = nullptr;
    gui::Application->CreateForm(main);
    form = main;
    form->SetBounds(100, 100, data.FPicture.Width(), data.FPicture.Height());
    skinForm = new skin::TbsSkinForm(form);
    skinForm->SetSkinData(&data);
    auto& hint = *new skin::TbsSkinHint(form);
    skinForm->SetSkinHint(&hint);
    skinForm->ShowObjectHint = true;
    form->Show();
    RunUntilIdle();
    MoveOver(Centre(Object("closebutton")->ObjectRect));
    Advance(gui::Application->HintPause + 100);
    EXPECT_TRUE(hint.IsVisible());
    MoveOver({100, 80}); // onto the client: the hover and the hint end on the mouse timer's tick
    Advance(60);
    EXPECT_FALSE(hint.IsVisible());
}

TEST_F(CaptionObjectTest, HoverMorphsOnTheTickAndAtOnceWithEffectsOff) {
    for (bool effects : {true, false}) {
        SCOPED_TRACE(effects);
        LoadSkin(0);
        for (auto& d : data.ObjectList) d->Morphing = true;
        data.EnableSkinEffects = effects;
        Open(data.FPicture.Width(), data.FPicture.Height(), &data);
        skin::TbsActiveSkinObject* max = Object("maxbutton");
        POINT c = Centre(max->ObjectRect);
        MoveOver(c);
        ASSERT_TRUE(max->Active);
        const skin::TRect& hot = max->ActiveSkinRect;
        COLORREF hotPixel = PictureAt(data, 0, hot.Left + 2, hot.Top + 2);
        if (effects) {
            std::vector<double> steps;
            for (int i = 0; i < 6; ++i) {
                steps.push_back(max->MorphKf());
                Advance(25);
            }
            EXPECT_NEAR(steps[0], 0.0, 1e-9);
            for (size_t i = 1; i < steps.size(); ++i)
                EXPECT_NEAR(steps[i], std::min(1.0, 0.2 * i), 1e-9) << i;
            EXPECT_FALSE(skinForm->MorphTimer->Enabled());
        } else {
            EXPECT_EQ(max->MorphKf(), 0);
            EXPECT_FALSE(skinForm->MorphTimer->Enabled());
        }
        // Either way the hover image ends up on the frame.
        EXPECT_EQ(WindowPixel(max->ObjectRect.Left + 2, max->ObjectRect.Top + 2), hotPixel);
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

// A six-frame strip of distinct colours, 10 x 10 each, as a skin's extra picture.
int AddStrip(skin::TbsSkinData& data, int frames) {
    gdi::image::Image strip;
    strip.Reset(10 * std::max(frames, 1), 10);
    for (int f = 0; f < frames; ++f)
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                strip.At(f * 10 + x, y) = gdi::image::MakeBgra(static_cast<uint8_t>(40 * f), 200, 30);
    UsePicture(data, strip);
    return static_cast<int>(data.FActivePictures.size()) - 1;
}

COLORREF StripColour(int frame) {
    return RGB(40 * (frame - 1), 200, 30);
}

TEST_F(CaptionObjectTest, SixFrameButtonPlaysForwardAndBack) {
    LoadSkin(0);
    int strip = AddStrip(data, 6);
    for (auto& d : data.ObjectList) {
        if (d->IDName != "minbutton") continue;
        auto a = std::make_unique<skin::TbsDataSkinAnimate>("minbutton");
        a->SkinRectInAPicture = true;
        a->ActivePictureIndex = strip;
        a->SkinRect = skin::Rect(0, 0, 10, 10);
        a->ActiveSkinRect = skin::Rect(0, 0, 10, 10);
        a->CountFrames = 6;
        a->TimerInterval = 10; // runs as 25: a frame a tick
        a->ButtonStyle = true;
        a->Command = skin::TbsStdCommand::cmMinimize;
        d = std::move(a);
    }
    Open(data.FPicture.Width(), data.FPicture.Height(), &data);
    auto* anim = dynamic_cast<skin::TbsSkinAnimateObject*>(Object("minbutton"));
    ASSERT_NE(anim, nullptr);
    const skin::TRect r = anim->ObjectRect;
    EXPECT_EQ(r.Width(), 10);
    auto shown = [&] { return WindowPixel(r.Left + 5, r.Top + 5); };
    EXPECT_EQ(shown(), StripColour(1));

    MoveOver(Centre(r));
    std::vector<int> forward;
    for (int i = 0; i < 7; ++i) {
        Advance(25);
        forward.push_back(anim->Frame());
    }
    EXPECT_EQ(forward, (std::vector<int>{2, 3, 4, 5, 6, 6, 6}));
    EXPECT_EQ(shown(), StripColour(6));
    EXPECT_FALSE(anim->Active);

    MoveOver({r.Left - 40, r.Top + 5}); // onto the caption: the mouse timer ends the hover
    Advance(50);
    Advance(200);
    EXPECT_EQ(anim->Frame(), 1);
    EXPECT_EQ(shown(), StripColour(1));
    EXPECT_FALSE(skinForm->AnimateTimer->Enabled());
}

TEST_F(CaptionObjectTest, StoredAnimatedMaximiseButtonPlaysItsRestoreStripWhenMaximised) {
    int glass = -1;
    for (int i = 0; i < StoredSkins().Skins().Count() && glass < 0; ++i) {
        LoadSkin(i);
        for (auto& d : data.ObjectList)
            if (d->IDName == "maxbutton" && dynamic_cast<skin::TbsDataSkinAnimate*>(d.get())) glass = i;
    }
    ASSERT_GE(glass, 0) << "a stored skin with animated caption buttons";
    OpenSkinned(glass);
    auto* max = dynamic_cast<skin::TbsSkinAnimateObject*>(Object("maxbutton"));
    ASSERT_NE(max, nullptr);
    ASSERT_EQ(max->CountFrames, 6);
    auto frameShown = [&](const skin::TRect& strip, int frame) {
        int w = strip.Width();
        return WindowPixel(max->ObjectRect.Left + 4, max->ObjectRect.Top + 4) ==
               Shown(max->ActivePicture->Image().At(strip.Left + w * (frame - 1) + 4, strip.Top + 4));
    };
    MoveOver(Centre(max->ObjectRect));
    Advance(200);
    EXPECT_EQ(max->Frame(), 6);
    EXPECT_TRUE(frameShown(max->ActiveSkinRect, 6));
    skinForm->SetWindowState(gui::wsMaximized);
    RunUntilIdle();
    max = dynamic_cast<skin::TbsSkinAnimateObject*>(Object("maxbutton"));
    EXPECT_TRUE(frameShown(max->RestoreActiveRect, max->Frame()));
    skinForm->SetWindowState(gui::wsNormal);
}

TEST_F(CaptionObjectTest, LongCaptionEndsInsideItsTextArea) {
    OpenSkinned(0);
    auto* caption = static_cast<skin::TbsSkinCaptionObject*>(Object("caption"));
    skin::TRect tr = caption->TextArea();
    int right = caption->ObjectRect.Left + tr.Right;
    // The frame without text, then with a caption far too long for it.
    form->SetCaption("");
    RunUntilIdle();
    std::vector<COLORREF> bare;
    for (int x = caption->ObjectRect.Left; x < caption->ObjectRect.Right; ++x)
        for (int y = caption->ObjectRect.Top; y < caption->ObjectRect.Bottom; ++y)
            bare.push_back(WindowPixel(x, y));
    form->SetCaption(std::string(80, 'W'));
    RunUntilIdle();
    int inside = 0, outside = 0;
    size_t i = 0;
    for (int x = caption->ObjectRect.Left; x < caption->ObjectRect.Right; ++x)
        for (int y = caption->ObjectRect.Top; y < caption->ObjectRect.Bottom; ++y, ++i)
            (x < right ? inside : outside) += WindowPixel(x, y) != bare[i];
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

TEST_F(CaptionObjectTest, CaptionPaintedByTheApplicationShowsAlsoOnAComposedCaption) {
    for (bool composed : {false, true}) {
        SCOPED_TRACE(composed);
        LoadSkin(0);
        if (composed) // an active image of its own: the caption is composed off-screen
            for (auto& d : data.ObjectList)
                if (auto* c = dynamic_cast<skin::TbsDataSkinCaption*>(d.get())) {
                    c->ActivePictureIndex = 0;
                    c->ActiveSkinRect = skin::Rect(0, 0, 20, c->SkinRect.Height());
                }
        Open(data.FPicture.Width(), data.FPicture.Height(), &data);
        skinForm->OnCaptionPaint = [](gui::TCanvas* c, gui::TRect r, bool) {
            c->Brush()->SetColor(RGB(255, 0, 0));
            c->FillRect(r);
        };
        skinForm->RepaintFrame();
        skin::TbsActiveSkinObject* caption = Object("caption");
        EXPECT_EQ(WindowPixel(caption->ObjectRect.Left + 20, caption->ObjectRect.Top + 10), RGB(255, 0, 0));
        skinForm->OnCaptionPaint = nullptr;
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(CaptionObjectTest, QuickButtonsSitAtTheCaptionsStartAndClickWhereReleased) {
    OpenSkinned(0);
    gui::TCustomImageList images(nullptr);
    images.SetSize(16, 16);
    gui::TBitmap picture;
    picture.SetSize(32, 16);
    images.Add(&picture, nullptr);
    skinForm->SetQuickImageList(&images);
    std::vector<std::pair<int, gui::TObject*>> clicks;
    for (int i = 0; i < 3; ++i) {
        skin::TbsQuickButtonItem* item = skinForm->QuickButtons()->Add();
        item->SetImageIndex(i % 2);
        item->OnClick = [&clicks, i](gui::TObject* sender) { clicks.emplace_back(i, sender); };
    }
    skinForm->QuickButtons()->Items(2)->SetEnabled(false);
    auto* caption = static_cast<skin::TbsSkinCaptionObject*>(Object("caption"));
    caption->ObjectRect = skin::Rect(30, 4, 300, 26);
    gui::TBitmap canvas;
    canvas.SetSize(320, 40);
    caption->Draw(canvas.Canvas(), true);
    EXPECT_EQ(skinForm->QuickButtons()->Items(0)->ItemRect, skin::Rect(30, 5, 50, 25));
    EXPECT_EQ(skinForm->QuickButtons()->Items(1)->ItemRect.Left, 54);
    // The text area starts after the buttons.
    EXPECT_EQ(caption->TextArea().Left, caption->TextRct.Left + 3 * (16 + 8));

    caption->MouseDown(35, 10, gui::mbLeft);
    EXPECT_TRUE(skinForm->QuickButtons()->Items(0)->Down);
    caption->MouseUp(60, 10, gui::mbLeft); // released over the second
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].first, 1);
    EXPECT_EQ(clicks[0].second, caption);
    // A disabled one is never hovered nor clicked.
    caption->MouseMove(83, 10);
    EXPECT_EQ(caption->ActiveQuickButton, -1);
    caption->MouseDown(83, 10, gui::mbLeft);
    caption->MouseUp(83, 10, gui::mbLeft);
    EXPECT_EQ(clicks.size(), 1u);
    skinForm->SetQuickImageList(nullptr);
}

TEST_F(CaptionObjectTest, LinkedMenusOpenUnderTheButtonAndUserObjectsPaintThemselves) {
    LoadSkin(0);
    auto user = std::make_unique<skin::TbsDataUserObject>("logo");
    user->SkinRect = skin::Rect(40, 6, 56, 20);
    data.ObjectList.push_back(std::move(user));
    auto plain = std::make_unique<skin::TbsDataSkinButton>("menubutton");
    plain->SkinRect = skin::Rect(60, 6, 76, 20);
    data.ObjectList.push_back(std::move(plain));
    Open(data.FPicture.Width(), data.FPicture.Height(), &data);
    std::vector<std::string> painted;
    skinForm->OnPaintEvent = [&](const std::string& id, gui::TCanvas*, skin::TRect) {
        painted.push_back(id);
    };
    skinForm->UserObjectDraw("logo");
    skinForm->UserObjectDraw("menubutton"); // not a user object: nothing
    EXPECT_EQ(painted, std::vector<std::string>{"logo"});

    gui::TPopupMenu menu(nullptr);
    auto* item = new gui::TMenuItem(nullptr);
    item->SetCaption("Item");
    menu.Items()->Add(item);
    skinForm->LinkMenu("nothing", &menu, true); // no such object: nothing happens
    skinForm->LinkMenu("menubutton", &menu, true);
    auto* button = static_cast<skin::TbsSkinButtonObject*>(Object("menubutton"));
    button->MouseEnter();
    button->MouseDown(62, 8, gui::mbLeft);
    EXPECT_TRUE(skinForm->SkinMenu()->Visible());
    EXPECT_TRUE(skinForm->InMenu());
    // It stays down while its menu is open, and comes up when the menu closes.
    button->MouseUp(62, 8, gui::mbLeft);
    EXPECT_TRUE(button->Down());
    skinForm->SkinMenu()->Hide();
    RunUntilIdle();
    EXPECT_FALSE(skinForm->InMenu());
    EXPECT_FALSE(button->Down());

    // The system-menu button opens the system menu on the press, under itself.
    skin::TbsActiveSkinObject* sys = Object("sysmenubutton");
    MoveOver(Centre(sys->ObjectRect));
    D().Press();
    RunUntilIdle();
    EXPECT_TRUE(skinForm->SkinMenu()->Visible());
    D().Release();
    RunUntilIdle();
    skinForm->SkinMenu()->Hide();
    RunUntilIdle();
    EXPECT_FALSE(static_cast<skin::TbsSkinStdButtonObject*>(sys)->Down());
    skinForm->OnPaintEvent = nullptr;
}

TEST_F(CaptionObjectTest, BadPictureIndexesAndEmptyStripsDrawAndStop) {
    LoadSkin(0);
    int pictures = static_cast<int>(data.FActivePictures.size());
    for (auto& d : data.ObjectList) {
        d->ActiveMaskPictureIndex = pictures + 3;
        d->GlowLayerPictureIndex = pictures;
        d->GlowLayerMaskPictureIndex = -7;
        d->Morphing = true;
        if (d->IDName == "closebutton") d->ActivePictureIndex = pictures; // one past the end
        if (auto* c = dynamic_cast<skin::TbsDataSkinCaption*>(d.get())) {
            c->AnimateSkinRect = skin::Rect(0, 0, 40, 10);
            c->FrameCount = 0;
            c->ActivePictureIndex = 0;
        }
        if (d->IDName == "minbutton") {
            auto a = std::make_unique<skin::TbsDataSkinAnimate>("minbutton");
            a->SkinRectInAPicture = true;
            a->ActivePictureIndex = 0;
            a->SkinRect = a->ActiveSkinRect = skin::Rect(0, 0, 10, 10);
            a->CountFrames = 0;
            a->ButtonStyle = true;
            a->Command = skin::TbsStdCommand::cmMinimize;
            d = std::move(a);
        }
    }
    Open(data.FPicture.Width(), data.FPicture.Height(), &data);
    // The missing picture is no image everywhere: no hover image, no morph.
    skin::TbsActiveSkinObject* close = Object("closebutton");
    EXPECT_EQ(close->ActivePicture, nullptr);
    EXPECT_TRUE(skin::IsEmptySkinRect(close->ActiveSkinRect));
    EXPECT_FALSE(close->Morphing);
    for (const char* id : {"closebutton", "minbutton", "maxbutton"}) {
        SCOPED_TRACE(id);
        MoveOver(Centre(Object(id)->ObjectRect));
        Advance(100);
    }
    form->SetCaption("Other");
    SendMessage(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    SendMessage(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    MoveOver({150, 150});
    Advance(500);
    // An empty strip has nothing to play: the animation timer stops.
    EXPECT_FALSE(skinForm->AnimateTimer->Enabled());
    EXPECT_FALSE(Object("minbutton")->Active);
}

} // namespace

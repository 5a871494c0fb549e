// The skinned form's client background (stretch modes, repeats, the logo), the inactive look
// of a skin that asks for one, the display getting smaller, the form's cursor over the frame,
// and a form freed while its skinned panels still align.
#include "SkinFormFixture.h"
#include "gdi/Icon.h"
#include "gui/Color.h"
#include "skin/controls/SkinPanel.h"
#include "win/Input.h"

#include <cmath>

namespace {

using namespace skinformtest;

// Column c, row r of the background picture: every pixel its own colour.
COLORREF Cell(int c, int r) {
    return RGB(40 + r * 25, c ? 220 : 20, 90);
}

gdi::image::Image Background(int w, int h) {
    gdi::image::Image img;
    img.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = Cell(x, y);
            img.At(x, y) = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return img;
}

class SkinFormPaintTest : public FrameTest {
protected:
    // Stored skin 0 with a 2 x 8 background picture of its own.
    void OpenWithBackground(bool stretch, skin::TbsStretchType type) {
        LoadSkin(0);
        auto p = std::make_unique<skin::TbsPicture>();
        p->Assign(Background(2, 8));
        data.FActivePictures.push_back(std::move(p));
        data.BGPictureIndex = static_cast<int>(data.FActivePictures.size()) - 1;
        data.StretchEffect = stretch;
        data.StretchType = type;
        Open(data.FPicture.Width() + 40, data.FPicture.Height() + 60, &data);
        cw = gui::RectWidth(form->ClientRect());
        ch = gui::RectHeight(form->ClientRect());
    }
    void Repaint() {
        form->Invalidate();
        RunUntilIdle();
    }
    COLORREF Client(int x, int y) { return PixelAt(form, x, y); }
    int cw = 0, ch = 0;
};

// Full: stretched over the client area, not the frame, so that the last row and column reach
// its bottom-right corner.  Horizontal: a strip as high as the client, repeated across.
// Vertical: a band as wide as the client, repeated down.  Without stretching: repeated.
TEST_F(SkinFormPaintTest, BackgroundPictureStretchedOrRepeatedOverTheClient) {
    using ST = skin::TbsStretchType;
    struct Probe {
        int x, y; // negative: from the client's right or bottom edge
        int col, row;
    };
    struct Case {
        const char* name;
        bool stretch;
        ST type;
        std::vector<Probe> probes;
    } cases[] = {
        {"full",       true,  ST::bsstFull, {{0, 0, 0, 0}, {-1, -1, 1, 7}, {-1, 0, 1, 0}, {0, -1, 0, 7}}},
        {"horizontal", true,  ST::bsstHorz, {{0, 0, 0, 0}, {1, 0, 1, 0}, {2, 0, 0, 0}, {3, -1, 1, 7}}   },
        {"vertical",   true,  ST::bsstVert, {{0, 0, 0, 0}, {0, 7, 0, 7}, {0, 8, 0, 0}, {-1, 9, 1, 1}}   },
        {"repeated",   false, ST::bsstFull, {{0, 0, 0, 0}, {1, 7, 1, 7}, {2, 8, 0, 0}, {5, 12, 1, 4}}   },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWithBackground(c.stretch, c.type);
        for (const Probe& p : c.probes) {
            int x = p.x < 0 ? cw + p.x : p.x, y = p.y < 0 ? ch + p.y : p.y;
            EXPECT_EQ(Client(x, y), Cell(p.col, p.row)) << x << "," << y;
        }
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(SkinFormPaintTest, WithoutABackgroundPictureTheFramesClientPartIsUsed) {
    LoadSkin(0);
    data.BGPictureIndex = 99; // names no picture
    Open(data.FPicture.Width(), data.FPicture.Height(), &data);
    const skin::TRect& cl = data.ClRect;
    COLORREF want = Shown(data.FPicture.Image().At(cl.Left + 3, cl.Top + 4));
    EXPECT_EQ(Client(3, 4), want);
}

TEST_F(SkinFormPaintTest, LogoInTheMiddleOfTheClient) {
    // A 10 x 6 logo: red with a blue corner pixel that transparent drawing leaves out.
    gui::TBitmap logo;
    logo.SetSize(10, 6);
    logo.Canvas()->Brush()->SetColor(gui::clRed);
    logo.Canvas()->FillRect(gui::Rect(0, 0, 10, 6));
    logo.Canvas()->SetPixels(0, 5, gui::clBlue);
    struct Case {
        const char* name;
        bool skinned, transparent;
    } cases[] = {
        {"skinned",             true,  false},
        {"default look",        false, false},
        {"skinned transparent", true,  true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.skinned)
            OpenWithBackground(false, skin::TbsStretchType::bsstFull);
        else
            Open(300, 200);
        cw = gui::RectWidth(form->ClientRect());
        ch = gui::RectHeight(form->ClientRect());
        COLORREF behind = Client(cw / 2 - 5, ch / 2 + 2);
        skinForm->SetLogoBitMap(&logo);
        skinForm->LogoBitMapTransparent = c.transparent;
        Repaint();
        int x = cw / 2 - 5, y = ch / 2 - 3;
        EXPECT_EQ(Client(x + 4, y + 2), RGB(255, 0, 0));
        EXPECT_EQ(Client(x, y + 5), c.transparent ? behind : RGB(0, 0, 255));
        EXPECT_NE(Client(x - 1, y), RGB(255, 0, 0));
        EXPECT_NE(Client(x + 10, y + 5), RGB(255, 0, 0));
        // The logo stays in the middle as the form grows.
        form->SetWidth(form->Width() + 40);
        RunUntilIdle();
        EXPECT_EQ(Client(x + 24, y + 2), RGB(255, 0, 0));
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(SkinFormPaintTest, LogoLargerThanTheClientStartsAtItsCorner) {
    Open(200, 120);
    gui::TBitmap logo;
    logo.SetSize(400, 300);
    logo.Canvas()->Brush()->SetColor(gui::clGreen);
    logo.Canvas()->FillRect(gui::Rect(0, 0, 400, 300));
    logo.Canvas()->SetPixels(0, 0, gui::clRed);
    skinForm->SetLogoBitMap(&logo);
    Repaint();
    EXPECT_EQ(Client(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(Client(1, 1), gui::ColorToRGB(gui::clGreen));
}

// The inactive frame drawn from the active picture through the skin's effect.
TEST_F(SkinFormPaintTest, InactiveFrameTakesTheSkinsEffect) {
    using IE = skin::TbsInActiveEffect;
    auto unit = [](double v) { return static_cast<int>(std::clamp(std::nearbyint(v), 0.0, 255.0)); };
    // Each channel becomes mul * channel + add, or all three their grey.
    struct Case {
        IE effect;
        bool grey;
        double mul, add;
    } cases[] = {
        {IE::ieGrayScale,  true,  1,   0    },
        {IE::ieInvert,     false, -1,  255  },
        {IE::ieDarkness,   false, 0.7, 0    },
        {IE::ieBrightness, false, 0.5, 127.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.effect));
        LoadSkin(0);
        data.FInActivePicture.Clear();
        data.AutoRenderingInActiveImage = true;
        data.InActiveEffect = c.effect;
        Open(data.FPicture.Width(), data.FPicture.Height(), &data);
        POINT probe{data.FPicture.Width() / 2, 3}; // caption, between the text and the buttons
        uint32_t v = data.FPicture.Image().At(probe.x, probe.y);
        int r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
        EXPECT_EQ(WindowPixel(probe.x, probe.y), RGB(r, g, b)); // active: the picture itself
        gui::TForm* other = MakeForm<gui::TForm>();
        other->SetBounds(700, 500, 200, 150);
        other->Show();
        RunUntilIdle();
        ASSERT_FALSE(form->Active());
        int grey = unit(0.3 * r + 0.59 * g + 0.11 * b);
        COLORREF want = c.grey
                            ? RGB(grey, grey, grey)
                            : RGB(unit(c.mul * r + c.add), unit(c.mul * g + c.add), unit(c.mul * b + c.add));
        EXPECT_EQ(WindowPixel(probe.x, probe.y), want);
        delete other;
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(SkinFormPaintTest, SmallerDisplayShrinksTheFormToItsWorkArea) {
    struct Case {
        int w, h;
        int wantW, wantH;
    } cases[] = {
        {900, 700, 800, 560}, // larger than the new work area
        {600, 400, 600, 400}, // fits: left alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        Open(c.w, c.h);
        form->SetBounds(0, 0, c.w, c.h);
        RunUntilIdle();
        D().SetMonitors({
            {{0, 0, 800, 600}, {0, 0, 800, 560}}
        });
        display::RawInput ev{};
        ev.kind = display::RawInput::DisplayChange;
        D().Push(ev);
        RunUntilIdle();
        EXPECT_EQ(form->Width(), c.wantW);
        EXPECT_EQ(form->Height(), c.wantH);
        D().SetMonitors({
            {{0, 0, 1280, 1024}, {0, 0, 1280, 984}}
        });
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(SkinFormPaintTest, FormCursorOverTheCaptionWhenAsked) {
    Open(300, 200);
    form->SetCursor(gui::crHandPoint);
    HCURSOR hand = gui::Screen->Cursors(gui::crHandPoint);
    for (bool own : {false, true}) {
        SCOPED_TRACE(own);
        skinForm->UseFormCursorInNCArea = own;
        MoveOver({150, 10}); // the caption
        EXPECT_EQ(GetCursor() == hand, own);
        MoveOver({150, 100}); // the client: always the form's
        EXPECT_EQ(GetCursor(), hand);
        MoveOver({1, 100}); // the left border: the sizing cursor either way
        EXPECT_EQ(StockCursorId(GetCursor()), StockCursorId(LoadCursor(nullptr, IDC_SIZEWE)));
    }
}

// A panel that counts the windows made for it once its form is being freed.
class CountingPanel : public skin::TbsSkinPanel {
public:
    using skin::TbsSkinPanel::TbsSkinPanel;
    static inline int late = 0;
    gui::TCustomForm* form = nullptr;
    int heard = 0; // notices of the parent's background
    void WndProc(gui::TMessage& m) override {
        if (m.Msg == skin::WM_CHECKPARENTBG) ++heard;
        skin::TbsSkinPanel::WndProc(m);
    }

protected:
    void CreateWnd() override {
        if (form && form->Destroying()) ++late;
        skin::TbsSkinPanel::CreateWnd();
    }
};

TEST_F(SkinFormPaintTest, FreedFormTellsNoChildItsBackgroundAndMakesNoWindow) {
    OpenWithBackground(true, skin::TbsStretchType::bsstFull);
    ASSERT_TRUE(data.StretchEffect);
    // Panels of a stretching skin look tell their children of every size change; the form's
    // stretched background tells its own.
    auto panel = [&](gui::TWinControl* parent, gui::TAlign align) {
        auto* p = new CountingPanel(form);
        p->form = form;
        p->SetSkinData(&data);
        p->SetBounds(0, 0, 120, 40);
        p->SetParent(parent);
        p->SetAlign(align);
        return p;
    };
    // The last control goes first, and the body grows into its place.
    CountingPanel* body = panel(form, gui::alClient);
    panel(body, gui::alTop);
    panel(body, gui::alClient);
    CountingPanel* bottom = panel(form, gui::alBottom);
    RunUntilIdle();
    bottom->heard = 0;
    form->SetWidth(form->Width() + 30); // the form's children hear of it while it lives
    RunUntilIdle();
    EXPECT_GT(bottom->heard, 0);
    CountingPanel::late = 0;
    delete form;
    form = nullptr;
    RunUntilIdle();
    EXPECT_EQ(CountingPanel::late, 0);
}

TEST_F(SkinFormPaintTest, SmallIconAtTheSmallIconSize) {
    gdi::image::Image picture;
    picture.Reset(32, 32);
    picture.hasAlpha = true;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) picture.At(x, y) = 0xFFFF0000u;
    gui::TBitmap b;
    b.FromImage(picture);
    Open(300, 200);
    form->Icon()->FromBitmap(b);
    skinForm->SetShowIcon(true);
    RunUntilIdle();
    int w = 0, h = 0;
    skinForm->GetSmallIconSize(w, h);
    ASSERT_LT(w, 32);
    skin::TbsActiveSkinObject* sys = Object("sysmenubutton");
    ASSERT_NE(sys, nullptr);
    skin::TRect r = sys->ObjectRect;
    EXPECT_EQ(r.Width(), w);
    EXPECT_EQ(r.Height(), h);
    EXPECT_EQ(WindowPixel(r.Left + w / 2, r.Top + h / 2), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(r.Left + w - 1, r.Top + h - 1), RGB(255, 0, 0));
    EXPECT_NE(WindowPixel(r.Left + w + 1, r.Top + 2), RGB(255, 0, 0)); // not drawn at 32 x 32
}

TEST_F(SkinFormPaintTest, DefaultCaptionFontShowsAtOnce) {
    Open(300, 200);
    auto redPixels = [&] {
        int n = 0;
        for (int y = 3; y < 22; ++y)
            for (int x = 20; x < 220; ++x) n += WindowPixel(x, y) == RGB(255, 0, 0);
        return n;
    };
    EXPECT_EQ(redPixels(), 0);
    gui::TFont f;
    f.Assign(skinForm->DefCaptionFont());
    f.SetColor(gui::clRed);
    skinForm->SetDefCaptionFont(&f);
    RunUntilIdle();
    EXPECT_GT(redPixels(), 0);
}

// A form kept on the platform's frame stays there through a skin change; the ribbon keeps it
// there for good.
TEST_F(SkinFormPaintTest, NativeFrameSurvivesSkinChanges) {
    OpenSkinned(0);
    ASSERT_TRUE(skinForm->SkinnableForm());
    skinForm->SetSkinnableForm(false);
    EXPECT_FALSE(skinForm->SkinnableForm());
    data.SetSkinIndex(3);
    RunUntilIdle();
    EXPECT_FALSE(skinForm->SkinnableForm());
    skinForm->SetSkinnableForm(true);
    EXPECT_TRUE(skinForm->SkinnableForm());

    skinForm->SetUseRibbon(true);
    EXPECT_FALSE(skinForm->SkinnableForm());
    skinForm->SetSkinData(&data);
    skinForm->SetSkinnableForm(true);
    EXPECT_FALSE(skinForm->SkinnableForm());
}

TEST_F(SkinFormPaintTest, MaximisedFormKeepsItsStateAcrossTheFrameSwitch) {
    OpenSkinned(0);
    skinForm->SetWindowState(gui::wsMaximized);
    RunUntilIdle();
    skinForm->SetSkinnableForm(false);
    RunUntilIdle();
    EXPECT_EQ(form->WindowState(), gui::wsMaximized);
    EXPECT_TRUE(form->Visible());
    skinForm->SetSkinnableForm(true);
    RunUntilIdle();
    EXPECT_EQ(skinForm->WindowState(), gui::wsMaximized);
    EXPECT_EQ(form->WindowState(), gui::wsNormal);
    EXPECT_TRUE(form->Visible());
}

TEST_F(SkinFormPaintTest, NothingPaintsBetweenTheSkinChangeMessages) {
    OpenSkinned(0);
    HWND h = form->Handle();
    int x = data.FPicture.Width() / 2;
    COLORREF before[3] = {WindowPixel(x, 0), WindowPixel(x, 1), WindowPixel(x, 2)};
    size_t objectsSeen = 99;
    skinForm->OnBeforeChangeSkinData = [&](gui::TObject*) { objectsSeen = skinForm->ObjectList.size(); };
    auto sender = reinterpret_cast<WPARAM>(&data);
    SendMessage(h, skin::WM_BEFORECHANGESKINDATA, sender, 1000);
    EXPECT_EQ(objectsSeen, 0u);
    SendMessage(h, WM_NCPAINT, 1, 0);
    // Neither the skin nor the default look drew: the old frame stays, without buttons.
    for (int y = 0; y < 3; ++y) EXPECT_EQ(WindowPixel(x, y), before[y]) << y;
    EXPECT_TRUE(skinForm->ObjectList.empty());
    SendMessage(h, skin::WM_CHANGESKINDATA, sender, 1000);
    EXPECT_FALSE(skinForm->ObjectList.empty());
    EXPECT_TRUE(skinForm->SkinSupport());
}

} // namespace

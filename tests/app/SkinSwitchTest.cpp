// Switching the main window among all eleven skins, a hundred times: after every switch the
// window is pixel for pixel what a main window that started in that skin shows (nothing of
// the skins before stays behind), and nothing leaks (the sanitizer build checks that at exit).
#include "ConverterWindow.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "gui/IniFile.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"

#include <vector>

namespace {

class SkinSwitchTest : public ConverterWindowTest {
protected:
    // The window's surface, frame included, as it stands; pixels outside the window's region
    // (the rounded corners) never show and read as 0.
    static std::vector<uint32_t> Surface(gui::TWinControl* w) {
        const gdi::Bitmap* b = win::GetWindowSurface(w->Handle());
        std::vector<uint32_t> pixels;
        if (!b) return pixels;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        bool shaped = GetWindowRgn(w->Handle(), region) != ERROR;
        gdi::PixelView v = b->View();
        for (int y = 0; y < v.height; ++y)
            for (int x = 0; x < v.width; ++x)
                pixels.push_back(!shaped || PtInRegion(region, x, y) ? v.Get(x, y) & 0xFFFFFF : 0);
        DeleteObject(region);
        return pixels;
    }
    static size_t Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        if (a.size() != b.size()) return std::max(a.size(), b.size());
        size_t n = 0;
        for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
        return n;
    }
};

TEST_F(SkinSwitchTest, AHundredSwitchesAmongElevenSkinsLeaveNoStalePixels) {
    // What each skin looks like on a main window that started in it: the pixels only a correct
    // paint in that skin produces.
    const int count = 11;
    std::vector<std::vector<uint32_t>> started;
    for (int k = 0; k < count; ++k) {
        gui::TIniFile(config / "option.ini").WriteString("Skin", "SetSkin", std::to_string(k));
        auto* form = MakeForm<app::TForm1>();
        ASSERT_EQ(form->bsSkinData1->SkinIndex(), k);
        form->SetBounds(0, 0, form->Width(), form->Height());
        form->Show();
        RunUntilIdle();
        started.push_back(Surface(form));
        delete form;
        RunUntilIdle();
    }
    gui::TIniFile(config / "option.ini").WriteString("Skin", "SetSkin", "0");

    Start();
    main->SetBounds(0, 0, main->Width(), main->Height());
    main->Show();
    RunUntilIdle();
    skin::TbsSkinData& data = *main->bsSkinData1;
    ASSERT_EQ(main->bsCompressedSkinList1->Skins().Count(), count);
    int skin = data.SkinIndex();
    for (int n = 0; n < 100; ++n) {
        // Steps of 1 to 9: every switch changes the skin, all eleven come by, and each comes
        // back after different ones, so that anything carried over from the skin before shows.
        skin = (skin + 1 + n % 9) % count;
        SCOPED_TRACE("switch " + std::to_string(n) + " to skin " + std::to_string(skin));
        data.SetSkinIndex(skin);
        RunUntilIdle();
        ASSERT_EQ(data.SkinIndex(), skin);
        ASSERT_EQ(Differing(Surface(main), started[static_cast<size_t>(skin)]), 0u)
            << "the window differs from one that started in this skin";
    }
    // Neighbouring skins differ in many pixels: the comparison above would see a stale one.
    EXPECT_GT(Differing(started[0], started[1]), 10000u);
}

} // namespace

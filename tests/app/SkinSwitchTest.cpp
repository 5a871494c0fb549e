// Switching the main window among all eleven skins, a hundred times: every switch leaves the
// window exactly as a full repaint in that skin draws it (no stale pixels of the skin before),
// each skin looks the same every time it comes back, and nothing leaks (the sanitizer build
// checks that at exit).
#include "ConverterWindow.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "win/Styles.h"

#include <map>
#include <vector>

namespace {

class SkinSwitchTest : public ConverterWindowTest {
protected:
    // The window's surface, frame included, as it stands.
    static std::vector<uint32_t> Surface(gui::TWinControl* w) {
        const gdi::Bitmap* b = win::GetWindowSurface(w->Handle());
        std::vector<uint32_t> pixels;
        if (!b) return pixels;
        gdi::PixelView v = b->View();
        for (int y = 0; y < v.height; ++y)
            for (int x = 0; x < v.width; ++x) pixels.push_back(v.Get(x, y) & 0xFFFFFF);
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
    Start();
    main->SetBounds(0, 0, main->Width(), main->Height());
    main->Show();
    RunUntilIdle();
    skin::TbsSkinData& data = *main->bsSkinData1;
    const int count = main->bsCompressedSkinList1->Skins().Count();
    ASSERT_EQ(count, 11);

    std::map<int, std::vector<uint32_t>> looks; // each skin's window the first time it showed
    int skin = data.SkinIndex();
    for (int n = 0; n < 100; ++n) {
        skin = (skin + 4) % count; // 4 and 11 share no factor: every step changes the skin, all come by
        SCOPED_TRACE("switch " + std::to_string(n) + " to skin " + std::to_string(skin));
        data.SetSkinIndex(skin);
        RunUntilIdle();
        ASSERT_EQ(data.SkinIndex(), skin);
        std::vector<uint32_t> switched = Surface(main);

        // The skin reached the frame: the caption is the skin's own.
        const skin::TbsPicture& frame = data.FPicture;
        RECT wr;
        GetWindowRect(main->Handle(), &wr);
        uint32_t caption = switched.at(static_cast<size_t>(4 * (wr.right - wr.left) + 60));
        ASSERT_EQ(caption, frame.Image().At(frame.Width() / 2, 4) & 0xFFFFFF);

        // What the switch painted is what a whole repaint in this skin paints.
        RedrawWindow(main->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RunUntilIdle();
        std::vector<uint32_t> repainted = Surface(main);
        ASSERT_EQ(Differing(switched, repainted), 0u);

        auto [first, isNew] = looks.emplace(skin, repainted);
        if (!isNew)
            ASSERT_EQ(Differing(first->second, repainted), 0u) << "the skin looks different coming back";
    }
    ASSERT_EQ(looks.size(), 11u);
    // Neighbouring skins differ in many pixels: the comparison above would see a stale one.
    EXPECT_GT(Differing(looks[0], looks[1]), 10000u);
}

} // namespace

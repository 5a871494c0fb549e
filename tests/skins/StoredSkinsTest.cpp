// The program's own skins as the build made them: each loads without error under its own
// name and looks its own.  Writes a gallery of all skins' pictures for a look at the art.
#include "skins/StoredSkins.h"
#include "StoredSkinSet.h"

#include "gdi/image/Png.h"
#include "gui/Graphics.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

using namespace skin;

namespace {

// In stored order: index 0 is what a first start shows.
const char* const kNames[] = {"晴空 Clear Sky", "墨夜 Ink Night", "翡翠 Jade",     "朱砂 Cinnabar",
                              "紫晶 Amethyst",  "琥珀 Amber",     "石墨 Graphite", "高对比 High Contrast",
                              "琉璃 Glass",     "樱粉 Sakura",    "深海 Deep Sea"};

auto& Skins() {
    return skintest::StoredSkins();
}

} // namespace

TEST(StoredSkins, EachLoadsUnderItsOwnName) {
    auto& s = Skins();
    ASSERT_EQ(s.list.Skins().Count(), static_cast<int>(std::size(kNames)));
    ASSERT_EQ(skins::StoredSkinCount(), static_cast<int>(std::size(kNames)));
    for (size_t i = 0; i < s.skins.size(); ++i) {
        TbsSkinData& d = *s.skins[i];
        EXPECT_TRUE(d.LastError().empty()) << kNames[i] << ": " << d.LastError();
        EXPECT_FALSE(d.Empty) << kNames[i];
        EXPECT_EQ(d.SkinName, kNames[i]);
        EXPECT_EQ(s.list.Skins()[static_cast<int>(i)].Name, kNames[i]);
        EXPECT_EQ(d.SkinAuthor, "Tarvik");
        EXPECT_FALSE(d.FPicture.Empty()) << kNames[i];
        EXPECT_EQ(d.FMask.Width(), d.FPicture.Width()) << kNames[i];
        // Every skin looks its own: no two share a frame.
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(d.FPicture == s.skins[j]->FPicture) << kNames[i] << kNames[j];
    }
}

namespace {

// Gallery: one strip per skin, twice the size so that the anti-aliasing can be judged.
constexpr int kScale = 2, kMargin = 8;

void Put(gdi::image::Image& to, const gdi::image::Image& from, int x, int y,
         const gdi::image::Image* mask = nullptr) {
    for (int sy = 0; sy < from.height; ++sy)
        for (int sx = 0; sx < from.width; ++sx) {
            if (mask && (mask->At(sx, sy) & 0xFFFFFF) != 0) continue; // outside the window
            for (int k = 0; k < kScale * kScale; ++k)
                to.At((x + sx) * kScale + k % kScale, (y + sy) * kScale + k / kScale) = from.At(sx, sy);
        }
}

gdi::image::Image Cut(const gdi::image::Image& from, const TRect& r) {
    gdi::image::Image c;
    c.Reset(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) c.At(x, y) = from.At(r.Left + x, r.Top + y);
    return c;
}

// Text in the skin's font, centred in `r` (or from its left edge), to judge the colours and
// the face at their size.  Drawn black on white and blended by its coverage.
void Label(gdi::image::Image& image, const TRect& r, const std::string& text, int height, TColor colour,
           bool centre = true) {
    gui::TBitmap bitmap;
    bitmap.SetSize(r.Width(), r.Height());
    gui::TCanvas& c = *bitmap.Canvas();
    c.Brush()->SetColor(0xFFFFFF);
    c.FillRect(gui::Rect(0, 0, r.Width(), r.Height()));
    c.Brush()->SetStyle(gui::bsClear);
    c.Font()->SetName("微软雅黑");
    c.Font()->SetHeight(height);
    c.Font()->SetColor(0);
    auto size = c.TextExtent(text);
    c.TextOut(centre ? (r.Width() - size.cx) / 2 : 0, (r.Height() - size.cy) / 2, text);
    uint32_t rgb[3] = {static_cast<uint32_t>(colour) & 255, (static_cast<uint32_t>(colour) >> 8) & 255,
                       (static_cast<uint32_t>(colour) >> 16) & 255};
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            uint32_t a = 255 - (static_cast<uint32_t>(c.Pixels(x, y)) & 255); // coverage
            uint32_t& p = image.At(r.Left + x, r.Top + y);
            uint32_t out = 0xFF000000u;
            for (int k = 0; k < 3; ++k) {
                uint32_t under = (p >> (16 - 8 * k)) & 255;
                out |= ((under * (255 - a) + rgb[k] * a + 127) / 255) << (16 - 8 * k);
            }
            p = out;
        }
}

// The frame with its caption buttons placed on the button row, right to left.
gdi::image::Image Window(const TbsSkinData& d, bool active) {
    gdi::image::Image w = active ? d.FPicture.Image() : d.FInActivePicture.Image();
    int x = d.ButtonsRect.Right;
    for (const char* name : {"closebutton", "maxbutton", "minbutton"}) {
        // A system button or an animated one: both keep their images in the base's fields.
        const TbsDataSkinObject& b = *d.ObjectList[static_cast<size_t>(d.GetIndex(name))];
        auto look = Cut(d.FActivePictures[static_cast<size_t>(b.ActivePictureIndex)]->Image(),
                        active ? b.SkinRect : b.InActiveSkinRect);
        x -= look.width;
        for (int yy = 0; yy < look.height; ++yy)
            for (int xx = 0; xx < look.width; ++xx) w.At(x + xx, d.ButtonsRect.Top + yy) = look.At(xx, yy);
        x -= d.ButtonsOffset;
    }
    auto& caption =
        dynamic_cast<const TbsDataSkinCaption&>(*d.ObjectList[static_cast<size_t>(d.GetIndex("caption"))]);
    TRect text = caption.TextRct;
    text = {text.Left + caption.SkinRect.Left, text.Top + caption.SkinRect.Top,
            text.Right + caption.SkinRect.Left, text.Bottom + caption.SkinRect.Top};
    Label(w, text, d.SkinName, caption.FontHeight, active ? caption.ActiveFontColor : caption.FontColor,
          false);
    return w;
}

// The controls' own pictures with their texts on them.
gdi::image::Image Labelled(const TbsSkinData& d, size_t picture) {
    gdi::image::Image image = d.FActivePictures[picture]->Image();
    for (auto& c : d.CtrlList) {
        if (c->PictureIndex != static_cast<int>(picture)) continue;
        if (auto* b = dynamic_cast<const TbsDataSkinButtonControl*>(c.get())) {
            for (auto& r : {b->SkinRect, b->ActiveSkinRect, b->DownSkinRect, b->FocusedSkinRect})
                Label(image, r, "确定 OK", b->FontHeight, b->FontColor);
            Label(image, b->DisabledSkinRect, "确定 OK", b->FontHeight, b->DisabledFontColor);
        } else if (auto* cr = dynamic_cast<const TbsDataSkinCheckRadioControl*>(c.get())) {
            Label(image, cr->TextArea, cr->IDName == "checkbox" ? "实时预览 Preview" : "关机 Off",
                  cr->FontHeight, cr->FontColor, false);
        }
    }
    return image;
}

} // namespace

TEST(StoredSkins, Gallery) {
    auto& all = Skins().skins;
    int width = 0, height = kMargin;
    std::vector<std::vector<gdi::image::Image>> pieces(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        auto& d = *all[i];
        pieces[i].push_back(Window(d, true));
        pieces[i].push_back(Window(d, false));
        for (size_t k = 0; k < d.FActivePictures.size(); ++k) pieces[i].push_back(Labelled(d, k));
        int w = kMargin, h = 0;
        for (auto& p : pieces[i]) {
            w += p.width + kMargin;
            h = std::max(h, p.height);
        }
        width = std::max(width, w);
        height += h + kMargin;
    }
    gdi::image::Image gallery;
    gallery.Reset(width * kScale, height * kScale, 0xFF8A8F96u); // a desktop grey that none of the skins uses
    int y = kMargin;
    for (size_t i = 0; i < all.size(); ++i) {
        int x = kMargin, h = 0;
        for (size_t k = 0; k < pieces[i].size(); ++k) {
            auto& p = pieces[i][k];
            Put(gallery, p, x, y, k < 2 ? &all[i]->FMask.Image() : nullptr);
            x += p.width + kMargin;
            h = std::max(h, p.height);
        }
        y += h + kMargin;
    }
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(gdi::image::WritePng(gallery, png, error)) << error;
    std::ofstream(TARVIK_SKIN_GALLERY, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    EXPECT_TRUE(std::ifstream(TARVIK_SKIN_GALLERY).good());
}

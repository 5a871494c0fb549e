#include "GuiHarness.h"
#include "gui/ImgList.h"
#include "gui/MemoryStream.h"
#include "gui/Picture.h"
#include "gui/PopupMenu.h"
#include "gui/Resources.h"

#include <cstring>
#include <unistd.h>

using namespace gui;

namespace {

TEST(GraphicsTest, ScanLinesCountFromTheTopInEveryPixelFormat) {
    for (TPixelFormat pf : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(static_cast<int>(pf));
        TBitmap b;
        b.SetPixelFormat(pf);
        b.SetSize(8, 3);
        b.Canvas()->SetPixels(0, 0, clWhite);
        auto* row0 = static_cast<uint8_t*>(b.ScanLine(0));
        auto* row2 = static_cast<uint8_t*>(b.ScanLine(2));
        EXPECT_NE(row0[0], 0);
        EXPECT_EQ(row2[0], 0);
        EXPECT_THROW(b.ScanLine(3), EInvalidGraphic);
    }
}

TEST(GraphicsTest, BitmapStreamsAndResizingKeepThePicture) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(5, 4);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 5, 4));
    b.Canvas()->SetPixels(1, 2, clBlue);
    TMemoryStream s;
    b.SaveToStream(s);
    s.SetPosition(0);
    TBitmap c;
    c.LoadFromStream(s);
    EXPECT_EQ(c.Width(), 5);
    EXPECT_EQ(c.Canvas()->Pixels(1, 2), clBlue);
    EXPECT_EQ(c.Canvas()->Pixels(4, 3), clRed);
    c.SetSize(8, 8); // keeps the top-left part
    EXPECT_EQ(c.Canvas()->Pixels(1, 2), clBlue);
    EXPECT_EQ(c.Canvas()->Pixels(7, 7), clBlack);

    TMemoryStream junk;
    junk.WriteBuffer("not a bitmap", 12);
    junk.SetPosition(0);
    EXPECT_THROW(c.LoadFromStream(junk), EInvalidGraphic);
    EXPECT_EQ(c.Width(), 8); // unchanged
}

TEST(GraphicsTest, PaletteBitmapsKeepTheirFormatAndColourTable) {
    struct Case {
        TPixelFormat format;
        int bits;
        TColor a, b; // colours of the standard table
    };
    const TColor steel = RGB(51, 102, 153), amber = RGB(255, 204, 0); // both in the colour cube
    const Case cases[] = {
        {pf1bit, 1, clBlack, clWhite},
        {pf4bit, 4, clRed,   clTeal },
        {pf8bit, 8, steel,   amber  },
    };
    auto bytes = [](TMemoryStream& s) {
        auto* p = static_cast<const uint8_t*>(s.Memory());
        return std::vector<uint8_t>(p, p + s.Size());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        TBitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(9, 3); // rows that end inside a byte
        b.Canvas()->Brush()->SetColor(c.a);
        b.Canvas()->FillRect(Rect(0, 0, 9, 3));
        b.Canvas()->SetPixels(8, 0, c.b);
        b.Canvas()->SetPixels(1, 2, c.b);
        TMemoryStream s;
        b.SaveToStream(s);
        std::vector<uint8_t> first = bytes(s);
        ASSERT_GT(first.size(), 30u);
        EXPECT_EQ(first[28], c.bits);

        // One entry of the colour table changed: the file's own table comes back in and out.
        size_t entry1 = 14 + 40 + 4;
        first[entry1] = 30, first[entry1 + 1] = 20, first[entry1 + 2] = 10;
        TMemoryStream in;
        in.WriteBuffer(first.data(), static_cast<int64_t>(first.size()));
        in.SetPosition(0);
        TBitmap loaded;
        loaded.LoadFromStream(in);
        EXPECT_EQ(loaded.PixelFormat(), c.format);
        TMemoryStream out;
        loaded.SaveToStream(out);
        EXPECT_EQ(bytes(out), first);
        TBitmap copy;
        copy.Assign(&loaded);
        EXPECT_EQ(copy.PixelFormat(), c.format);
        EXPECT_EQ(copy.Canvas()->Pixels(8, 0), loaded.Canvas()->Pixels(8, 0));
    }
    // In the 1-bit case entry 1 is white, so the changed entry shows where white was.
    TBitmap mono;
    mono.SetPixelFormat(pf1bit);
    mono.SetSize(2, 1);
    mono.Canvas()->SetPixels(1, 0, clWhite);
    TMemoryStream s;
    mono.SaveToStream(s);
    auto data = bytes(s);
    data[14 + 40 + 4] = 30, data[14 + 40 + 5] = 20, data[14 + 40 + 6] = 10;
    TMemoryStream in;
    in.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    in.SetPosition(0);
    mono.LoadFromStream(in);
    EXPECT_EQ(mono.Canvas()->Pixels(1, 0), RGB(10, 20, 30));
    EXPECT_EQ(mono.Canvas()->Pixels(0, 0), clBlack);
}

TEST(GraphicsTest, TransparentDrawingLeavesTheKeyColourOut) {
    TBitmap src;
    src.SetSize(4, 4);
    src.Canvas()->Brush()->SetColor(clFuchsia);
    src.Canvas()->FillRect(Rect(0, 0, 4, 4));
    src.Canvas()->SetPixels(1, 1, clGreen);
    EXPECT_EQ(src.TransparentColor(), clFuchsia); // the bottom-left pixel
    src.SetTransparent(true);
    TBitmap dst;
    dst.SetSize(4, 4);
    dst.Canvas()->Brush()->SetColor(clWhite);
    dst.Canvas()->FillRect(Rect(0, 0, 4, 4));
    dst.Canvas()->Draw(0, 0, &src);
    EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clGreen);
}

TEST(GraphicsTest, FontChangesAndSizes) {
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(f.Size(), 9); // -12 pixels
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetSize(10); // no change
    f.SetStyle(fsBold);
    f.SetName("Arial");
    EXPECT_EQ(changes, 3); // size, style, name; the repeated size is no change
    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.Name(), "Arial");
    EXPECT_EQ(g.Style(), fsBold);
    EXPECT_NE(g.Handle(), nullptr);
}

TEST(GraphicsTest, CanvasTextUsesTheCurrentFont) {
    TBitmap b;
    b.SetSize(200, 40);
    TCanvas* c = b.Canvas();
    c->Font()->SetHeight(-12);
    int small = c->TextWidth("转换文件");
    c->Font()->SetHeight(-24); // changed while selected
    int large = c->TextWidth("转换文件");
    EXPECT_GT(small, 0);
    EXPECT_GT(large, small * 3 / 2);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 200, 40));
    c->Brush()->SetStyle(bsClear);
    c->TextOut(2, 2, "Tarvik");
    int dark = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 40; ++y) dark += c->Pixels(x, y) != clWhite;
    EXPECT_GT(dark, 20);
}

TEST(GraphicsTest, BitmapsFromEmbeddedResources) {
    TBitmap src;
    src.SetSize(3, 2);
    src.Canvas()->SetPixels(2, 1, clAqua);
    TMemoryStream s;
    src.SaveToStream(s);
    static std::vector<uint8_t> data;
    data.resize(static_cast<size_t>(s.Size()));
    s.SetPosition(0);
    s.ReadBuffer(data.data(), s.Size());
    RegisterResource("TestGlyph", data);
    TBitmap b;
    b.LoadFromResourceName("TESTGLYPH");
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), clAqua);
    EXPECT_THROW(b.LoadFromResourceName("NoSuchGlyph"), EResNotFound);
}

} // namespace

namespace {

TEST(PictureTest, FilesLoadByExtensionAndRoundTrip) {
    TBitmap b;
    b.SetSize(6, 4);
    b.Canvas()->Brush()->SetColor(clYellow);
    b.Canvas()->FillRect(Rect(0, 0, 6, 4));
    struct Case {
        const char* ext;
        std::unique_ptr<TGraphic> graphic;
        bool exact;
    };
    Case cases[] = {
        {".bmp", std::make_unique<TBitmap>(),    true },
        {".png", std::make_unique<TPngImage>(),  true },
        {".gif", std::make_unique<TGIFImage>(),  true },
        {".jpg", std::make_unique<TJPEGImage>(), false}
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.ext);
        std::string name = testing::TempDir() + "/pic-" + std::to_string(::getpid()) + c.ext;
        c.graphic->Assign(&b);
        TPicture out;
        out.SetGraphic(c.graphic.get());
        out.SaveToFile(name); // in the graphic's own format
        TPicture in;
        in.LoadFromFile(name);
        ASSERT_NE(in.Graphic(), nullptr);
        EXPECT_EQ(in.Graphic()->ClassName(), c.graphic->ClassName());
        EXPECT_EQ(in.Width(), 6);
        EXPECT_EQ(in.Height(), 4);
        COLORREF px = ColorToRGB(in.Bitmap()->Canvas()->Pixels(0, 0));
        if (c.exact)
            EXPECT_EQ(px, ColorToRGB(clYellow));
        else
            EXPECT_GT(GetRValue(px) + GetGValue(px), 400);
    }
    TPicture p;
    EXPECT_THROW(p.LoadFromFile(testing::TempDir() + "/x.tiff"), EInvalidGraphic);
}

TEST(PictureTest, IconsFromBitmapsDrawWithTheirMask) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(clFuchsia); // the key colour (bottom-left)
    b.Canvas()->FillRect(Rect(0, 0, 16, 16));
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(4, 4, 12, 12));
    TIcon icon;
    icon.FromBitmap(b);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_THROW(icon.SetWidth(32), EInvalidGraphic);
    TBitmap dst;
    dst.SetSize(16, 16);
    dst.Canvas()->Brush()->SetColor(clWhite);
    dst.Canvas()->FillRect(Rect(0, 0, 16, 16));
    dst.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clWhite);
    EXPECT_EQ(dst.Canvas()->Pixels(8, 8), clRed);
}

TEST(PictureTest, ImageListAddsStripsAndDrawsByIndex) {
    TImageList list(nullptr);
    list.SetSize(8, 8);
    TBitmap strip;
    strip.SetSize(24, 8);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 24, 8));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(10, 2, 14, 6)); // in the second image
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    TBitmap dst;
    dst.SetSize(8, 8);
    dst.Canvas()->Brush()->SetColor(clWhite);
    dst.Canvas()->FillRect(Rect(0, 0, 8, 8));
    list.Draw(dst.Canvas(), 0, 0, 1);
    EXPECT_EQ(dst.Canvas()->Pixels(3, 3), clBlue);
    EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);
    list.Draw(dst.Canvas(), 0, 0, 7); // outside the list: nothing
    EXPECT_THROW(list.Delete(5), std::out_of_range);
    list.SetSize(16, 16);
    EXPECT_EQ(list.Count(), 0);
}

TEST(PictureTest, MenuItemsCarryPicturesAndTheMenuItsImages) {
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    menu.Items()->Add(item);
    int changes = 0;
    menu.OnChange = [&](TMenu*, TMenuItem*, bool) { ++changes; };
    EXPECT_FALSE(item->HasBitmap());
    TBitmap b;
    b.SetSize(4, 4);
    item->SetBitmap(&b);
    EXPECT_TRUE(item->HasBitmap());
    EXPECT_GT(changes, 0);
    {
        TImageList images(nullptr);
        menu.SetImages(&images);
        EXPECT_EQ(menu.Images(), &images);
    }
    EXPECT_EQ(menu.Images(), nullptr); // freed: forgotten
}

} // namespace

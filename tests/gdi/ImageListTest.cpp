#include "gdi/ImageList.h"
#include "GdiFixture.h"
#include "gdi/Icon.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kKey = 0x00FF00FF; // magenta, as pixel and as RGB()
constexpr uint32_t kGround = 0x00204060;

// A strip of n 4 × 4 images: image i is filled with colour (i + 1) * 0x10 in
// blue, with a key-coloured (or transparent) top-left pixel.
struct Strip : Canvas {
    explicit Strip(int n, uint32_t corner = kKey) : Canvas(4 * n, 4) {
        for (int i = 0; i < n; ++i)
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    bits[y * w + i * 4 + x] =
                        (x == 0 && y == 0) ? corner : static_cast<uint32_t>((i + 1) * 0x10);
        SelectObject(dc, old); // the bitmap must not stay selected while the list reads it
    }
};

} // namespace

TEST(ImageList, MaskedStripAddsOneImagePerWidthAndKeepsTheKeyTransparent) {
    HIMAGELIST il = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 4, 4);
    Strip strip(3);
    EXPECT_EQ(ImageList_AddMasked(il, strip.bmp, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_GetImageCount(il), 3);
    Canvas c(6, 6);
    c.Fill(kGround);
    ASSERT_TRUE(ImageList_Draw(il, 1, c.dc, 1, 1, ILD_TRANSPARENT));
    EXPECT_EQ(c.At(1, 1), kGround); // the key pixel
    EXPECT_EQ(c.At(2, 1), 0x20u);
    EXPECT_EQ(c.At(4, 4), 0x20u);
    EXPECT_EQ(c.At(5, 5), kGround);
    EXPECT_FALSE(ImageList_Draw(il, 3, c.dc, 0, 0, ILD_NORMAL));
    // A bitmap narrower than one image adds nothing.
    Strip narrow(1);
    HIMAGELIST wide = ImageList_Create(8, 4, ILC_COLOR24 | ILC_MASK, 1, 1);
    EXPECT_EQ(ImageList_AddMasked(wide, narrow.bmp, RGB(255, 0, 255)), -1);
    ImageList_Destroy(wide);
    ImageList_Destroy(il);
    EXPECT_EQ(ImageList_GetImageCount(il), 0); // a destroyed list answers nothing
}

TEST(ImageList, BackgroundColourFillsTheHolesUnlessTransparent) {
    HIMAGELIST il = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 1, 1);
    Strip strip(1);
    ImageList_AddMasked(il, strip.bmp, RGB(255, 0, 255));
    EXPECT_EQ(ImageList_GetBkColor(il), CLR_NONE);
    EXPECT_EQ(ImageList_SetBkColor(il, RGB(255, 0, 0)), CLR_NONE);
    Canvas c(4, 4);
    c.Fill(kGround);
    ImageList_Draw(il, 0, c.dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(c.At(0, 0), 0x00FF0000u);
    c.Fill(kGround);
    ImageList_Draw(il, 0, c.dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(c.At(0, 0), kGround);
    // DrawEx: an explicit colour, and CLR_NONE overriding the list's.
    ImageList_DrawEx(il, 0, c.dc, 0, 0, 0, 0, RGB(0, 0, 255), CLR_DEFAULT, ILD_NORMAL);
    EXPECT_EQ(c.At(0, 0), 0x000000FFu);
    c.Fill(kGround);
    ImageList_DrawEx(il, 0, c.dc, 0, 0, 2, 2, CLR_NONE, CLR_DEFAULT, ILD_NORMAL);
    EXPECT_EQ(c.At(0, 0), kGround);
    EXPECT_EQ(c.At(1, 1), 0x10u);
    EXPECT_EQ(c.At(2, 2), kGround); // only the 2 × 2 part asked for
    ImageList_Destroy(il);
}

TEST(ImageList, AlphaIsKeptIn32BitListsOnly) {
    Strip strip(1, 0x80FF0000); // a half-transparent red corner
    for (UINT flags : {ILC_COLOR32, ILC_COLOR24 | ILC_MASK}) {
        HIMAGELIST il = ImageList_Create(4, 4, flags, 1, 1);
        ASSERT_EQ(ImageList_Add(il, strip.bmp, nullptr), 0);
        Canvas c(4, 4);
        c.Fill(kGround);
        ImageList_Draw(il, 0, c.dc, 0, 0, ILD_TRANSPARENT);
        uint32_t corner = c.At(0, 0);
        if (flags == ILC_COLOR32) {
            EXPECT_NEAR(static_cast<int>((corner >> 16) & 0xFF), 0x80 + 0x10, 2);
            EXPECT_NEAR(static_cast<int>(corner & 0xFF), 0x30, 2);
            EXPECT_EQ(c.At(1, 1), kGround); // alpha 0 elsewhere: transparent
        } else {
            EXPECT_EQ(corner, 0x00FF0000u); // the colour alone, opaque
            EXPECT_EQ(c.At(1, 1), 0x10u);
        }
        ImageList_Destroy(il);
    }
}

TEST(ImageList, GreyedDrawingIsDesaturatedAndLighter) {
    HIMAGELIST il = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
    ASSERT_EQ(ImageList_AddIcon(il, LoadIcon(nullptr, IDI_ERROR)), 0);
    Canvas normal(32, 32), grey(32, 32);
    normal.Fill(0), grey.Fill(0);
    ImageList_Draw(il, 0, normal.dc, 0, 0, ILD_NORMAL);
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = il, p.hdcDst = grey.dc, p.rgbBk = CLR_NONE, p.fState = ILS_SATURATE;
    ASSERT_TRUE(ImageList_DrawIndirect(&p));
    uint32_t red = normal.At(16, 4), g = grey.At(16, 4);
    EXPECT_GT((red >> 16) & 0xFF, 200u);
    EXPECT_EQ((g >> 16) & 0xFF, g & 0xFF);
    EXPECT_EQ((g >> 8) & 0xFF, g & 0xFF);
    int lumaRed = (((red >> 16) & 0xFF) * 77 + ((red >> 8) & 0xFF) * 150 + (red & 0xFF) * 29) >> 8;
    EXPECT_GT(static_cast<int>(g & 0xFF), lumaRed);
    EXPECT_EQ(grey.At(0, 0), 0u); // transparency kept
    ImageList_Destroy(il);
}

TEST(ImageList, IconsReplaceRemoveAndResize) {
    HIMAGELIST il = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2);
    Strip strip(3);
    ImageList_AddMasked(il, strip.bmp, RGB(255, 0, 255));
    // GetIcon gives back the image with its transparency.
    HICON icon = ImageList_GetIcon(il, 2, ILD_NORMAL);
    ASSERT_NE(icon, nullptr);
    Canvas c(4, 4);
    c.Fill(kGround);
    DrawIconEx(c.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(c.At(0, 0), kGround);
    EXPECT_EQ(c.At(3, 3), 0x30u);
    EXPECT_EQ(ImageList_ReplaceIcon(il, 0, icon), 0);
    EXPECT_EQ(ImageList_AddIcon(il, icon), 3);
    DestroyIcon(icon);

    EXPECT_TRUE(ImageList_Remove(il, 1)); // image 2 moves down to 1
    EXPECT_EQ(ImageList_GetImageCount(il), 3);
    c.Fill(kGround);
    ImageList_Draw(il, 1, c.dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(c.At(3, 3), 0x30u);
    Strip other(1);
    EXPECT_TRUE(ImageList_Replace(il, 1, other.bmp, nullptr));
    ImageList_Draw(il, 1, c.dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(c.At(0, 0), kKey); // no mask: every pixel shows
    EXPECT_FALSE(ImageList_Remove(il, 7));
    EXPECT_EQ(ImageList_ReplaceIcon(il, 9, LoadIcon(nullptr, IDI_ERROR)), -1);
    EXPECT_TRUE(ImageList_RemoveAll(il));
    EXPECT_EQ(ImageList_GetImageCount(il), 0);

    ImageList_AddMasked(il, strip.bmp, RGB(255, 0, 255));
    EXPECT_TRUE(ImageList_SetIconSize(il, 16, 16));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(il, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(ImageList_GetImageCount(il), 0);
    EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 1, 1), nullptr);
    ImageList_Destroy(il);
}

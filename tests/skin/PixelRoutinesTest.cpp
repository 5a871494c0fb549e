#include "skin/engine/PixelRoutines.h"
#include "gdi/Dc.h"
#include "gdi/Objects.h"
#include "skin/engine/EngineSetup.h"
#include "skin/engine/FBitmap.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

// Fills the table with one set for the test and puts the processor's choice back after.
struct RoutineSet {
    explicit RoutineSet(bool mmx) {
        InitSkinEngine();
        FillPixelRoutines(mmx);
    }
    ~RoutineSet() { InitPixelRoutines(); }
};

TbsColor Gray(uint8_t a, uint8_t c) {
    return (TbsColor{a} << 24) | (TbsColor{c} << 16) | (TbsColor{c} << 8) | c;
}

} // namespace

TEST(PixelRoutines, BlendArithmeticOfBothSets) {
    struct Case {
        bool mmx;
        TbsColor fore, back, want;
    } cases[] = {
  // a = 128, 0x00 over 0xFF: divisor 255 against 256.
        {false,     Gray(128, 0x00),    Gray(255, 0xFF),                             0xFF7E7E7E},
        { true, Gray(128,    0x00), Gray(255,    0xFF), Gray((128 * 128 + 128 * 255) >> 8,      0x7F)},
 // a = 255: the plain pixel routine returns F, the MMX one (255 * F + B) div 256.
        { false, Gray(255,     200), Gray(255,     100),                          Gray(255,       200)},
        { true, Gray(255,     200), Gray(255,     100),                          Gray(255,       199)},
 // a = 0 leaves the background in the plain set; white with 254 over white gives 254.
        { false,   Gray(0,      50), Gray(255,       9),                          Gray(255,         9)},
        { false, Gray(254,     255), Gray(255,     255),                          Gray(255,       254)},
 // The MMX set blends alpha too: (a * a + (256 - a) * Balpha) div 256.
        { true, Gray(128,       0),   Gray(0,       0),                           Gray(64,         0)},
    };
    for (const Case& c : cases) {
        RoutineSet set(c.mmx);
        EXPECT_EQ(bsPixel.BlendPixel(c.fore, c.back), c.want)
            << std::hex << c.fore << " over " << c.back << (c.mmx ? " mmx" : " plain");
    }
}

TEST(PixelRoutines, BlendLineSkipsTransparentAndCopiesOpaque) {
    for (bool mmx : {false, true}) {
        RoutineSet set(mmx);
        TbsColor src[3] = {0x00123456, 0xFF102030, Gray(128, 0)};
        TbsColor dst[3] = {0xFFABCDEF, 0xFF000000, Gray(255, 0xFF)};
        bsPixel.BlendLine(src, dst, 3);
        EXPECT_EQ(dst[0], 0xFFABCDEFu);
        EXPECT_EQ(dst[1], 0xFF102030u);
        EXPECT_EQ(dst[2],
                  mmx ? MmxBlendPixel(src[2], Gray(255, 0xFF)) : PlainBlendPixel(src[2], Gray(255, 0xFF)));
    }
}

TEST(PixelRoutines, KeyedCopyFillsAndAlpha) {
    InitSkinEngine();
    TbsColor src[3] = {0xFF7F007F, 0x007F007F, 0x00102030};
    TbsColor dst[3] = {1, 2, 3};
    bsPixel.CopyLineKeyed(src, dst, 3);
    EXPECT_EQ(dst[0], 1u);
    EXPECT_EQ(dst[1], 2u);
    EXPECT_EQ(dst[2], 0xFF102030u);

    TbsColor buf[4 * 3] = {};
    bsPixel.FillPixelRect(buf, 4, 3, 2, 1, 2, 1, 0xAABBCCDD);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(buf[i], i == 1 * 4 + 2 ? 0xAABBCCDDu : 0u) << i;
    bsPixel.SetAlphaRect(buf, 4, 3, 1, 0, 2, 1, 0x11);
    EXPECT_EQ(buf[1 * 4 + 2], 0x11BBCCDDu);
    EXPECT_EQ(buf[0 * 4 + 1], 0x11000000u);
    EXPECT_EQ(buf[2 * 4 + 1], 0u);

    TbsColor run[3] = {5, 6, 7};
    bsPixel.CopyLine(run, run, 3);
    EXPECT_EQ(run[1], 6u);
    TbsColor keyed[2] = {0xFF7F007F, 0xFF7F0080};
    bsPixel.ClearAlphaOfColor(keyed, 2, 0x7F007F);
    EXPECT_EQ(keyed[0], 0x007F007Fu);
    EXPECT_EQ(keyed[1], 0xFF7F0080u);
}

TEST(EngineSetup, ProcessorTestAndVersionGates) {
    EXPECT_FALSE(DetectMMX(true, 0x400, 1u << 23)); // family 4
    EXPECT_TRUE(DetectMMX(true, 0x500, 1u << 23));
    EXPECT_FALSE(DetectMMX(true, 0x600, 0));
    EXPECT_FALSE(DetectMMX(false, 0x600, 1u << 23));

    struct Version {
        int major, minor;
        bool xp, layered, vista;
    } versions[] = {
        {4, 0, false, false, false},
        {5, 0, false, true,  false},
        {5, 1, true,  true,  false},
        {5, 2, false, true,  false},
        {6, 0, true,  true,  true },
        {6, 1, true,  true,  true }
    };
    for (const Version& v : versions) {
        EXPECT_EQ(IsWindowsXPOrLater(v.major, v.minor), v.xp) << v.major << "." << v.minor;
        EXPECT_EQ(IsLayeredWindowSupported(v.major, v.minor), v.layered) << v.major << "." << v.minor;
        EXPECT_EQ(IsWindowsVistaOrLater(v.major, v.minor), v.vista) << v.major << "." << v.minor;
    }
    int major, minor;
    GetWindowsVersion(major, minor);
    EXPECT_EQ(major, 6);
    EXPECT_EQ(minor, 1);
    InitSkinEngine();
    // The keyed drawing choice was made before the blit was found; the flag is set by now.
    EXPECT_TRUE(IsTransparentBltAvailable());
}

TEST(EngineSetup, FBitmapRowsArePaddedToFourBytes) {
    HBITMAP h = CreateBitmap(5, 2, 1, 32, nullptr);
    {
        TbsFBitmap f(h);
        EXPECT_EQ(f.Gap, 1);
        EXPECT_EQ(f.RowInc, 16);
        EXPECT_EQ(f.Size, 32);
        ASSERT_EQ(f.Pixels.size(), 2u);
        EXPECT_EQ(f.Pixels[1], f.Bits + 16);
    }
    DeleteObject(h);
}

TEST(EngineSetup, WindowAlphaWithoutTheFunctionDoesNothing) {
    InitSkinEngine();
    int calls = 0;
    static int* counter;
    counter = &calls;
    auto saved = bsEngine().Functions.SetLayeredWindowAttributes;
    bsEngine().Functions.SetLayeredWindowAttributes = [](HWND, COLORREF, BYTE, DWORD) {
        ++*counter;
        return TRUE;
    };
    SetWindowAlpha(nullptr, 100);
    EXPECT_EQ(calls, 1);
    bsEngine().Functions.SetLayeredWindowAttributes = nullptr;
    SetWindowAlpha(nullptr, 100);
    EXPECT_EQ(calls, 1);
    bsEngine().Functions.SetLayeredWindowAttributes = saved;
}

#include "gdi/Icon.h"
#include "GdiFixture.h"

#include <gtest/gtest.h>

namespace {

BITMAP Info(HBITMAP b) {
    BITMAP bm{};
    GetObject(b, sizeof bm, &bm);
    return bm;
}

// A 32-bit top-down bitmap with the given pixels.
HBITMAP Pixels(int w, int h, std::initializer_list<uint32_t> px) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, 0, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::copy(px.begin(), px.end(), static_cast<uint32_t*>(bits));
    return b;
}

int R(uint32_t p) {
    return (p >> 16) & 0xFF;
}
int G(uint32_t p) {
    return (p >> 8) & 0xFF;
}
int B(uint32_t p) {
    return p & 0xFF;
}

} // namespace

TEST(Icon, StockIconsAreSharedColouredShapes) {
    struct Case {
        const char* id;
        bool (*look)(uint32_t centre);
    } cases[] = {
        {IDI_APPLICATION, [](uint32_t p) { return p == 0x00FFFFFFu; }}, // the window's white client
        {IDI_WARNING,     [](uint32_t p) { return p == 0x001E1E1Eu; }}, // the dark "!"
        {IDI_ERROR,       [](uint32_t p) { return p == 0x00FFFFFFu; }}, // the crossing of the "×"
        {IDI_INFORMATION, [](uint32_t p) { return p == 0x00FFFFFFu; }},
        {IDI_QUESTION,    [](uint32_t p) { return p == 0x00FFFFFFu; }}, // the hook
    };
    for (const Case& c : cases) {
        HICON icon = LoadIcon(nullptr, c.id);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(LoadIcon(nullptr, c.id), icon);
        EXPECT_TRUE(DestroyIcon(icon)); // harmless on a shared icon
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(icon, &ii));
        EXPECT_TRUE(ii.fIcon);
        EXPECT_EQ(Info(ii.hbmColor).bmWidth, 32);
        EXPECT_EQ(Info(ii.hbmMask).bmHeight, 32);
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);

        Canvas canvas(32, 32);
        canvas.Fill(0x00808080);
        ASSERT_TRUE(DrawIconEx(canvas.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
        EXPECT_TRUE(c.look(canvas.At(16, 16) & 0xFFFFFF)) << reinterpret_cast<uintptr_t>(c.id);
        EXPECT_EQ(canvas.At(0, 31), 0x00808080u); // corners stay transparent
    }
    // The disc colours.
    Canvas c(32, 32);
    DrawIcon(c.dc, 0, 0, LoadIcon(nullptr, IDI_ERROR));
    EXPECT_GT(R(c.At(16, 4)), 200);
    EXPECT_LT(G(c.At(16, 4)), 100);
    DrawIcon(c.dc, 0, 0, LoadIcon(nullptr, IDI_WARNING));
    EXPECT_GT(R(c.At(10, 24)), 200);
    EXPECT_GT(G(c.At(10, 24)), 150);
    EXPECT_LT(B(c.At(10, 24)), 80);
    DrawIcon(c.dc, 0, 0, LoadIcon(nullptr, IDI_QUESTION));
    EXPECT_GT(B(c.At(16, 4)), R(c.At(16, 4)) + 100);

    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(1)), nullptr);
    EXPECT_EQ(LoadIcon(reinterpret_cast<HINSTANCE>(0x400000), IDI_ERROR), nullptr);
}

TEST(Icon, SmallStockIconsAreRedrawnNotShrunk) {
    HICON big = LoadIcon(nullptr, IDI_INFORMATION);
    HICON small = static_cast<HICON>(CopyImage(big, IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(small, nullptr);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(small, &ii));
    EXPECT_EQ(Info(ii.hbmColor).bmWidth, 16);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    Canvas a(16, 16), b(16, 16);
    a.Fill(0), b.Fill(0);
    DrawIconEx(a.dc, 0, 0, small, 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(b.dc, 0, 0, big, 16, 16, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
    // Anti-aliased edge: some pixels between the disc and the background.
    int partial = 0;
    for (int x = 0; x < 16; ++x) partial += B(a.At(x, 8)) > 0 && B(a.At(x, 8)) < 150;
    EXPECT_GT(partial, 0);
    EXPECT_TRUE(DestroyIcon(small));
    EXPECT_FALSE(DestroyIcon(small));
}

TEST(Icon, CursorsAreMonochromeWithDoubleHeightMasks) {
    struct Case {
        const char* id;
        POINT hot;
    } cases[] = {
        {IDC_ARROW,    {0, 0}  },
        {IDC_SIZEWE,   {15, 15}},
        {IDC_SIZENS,   {15, 15}},
        {IDC_SIZENWSE, {15, 15}},
        {IDC_SIZENESW, {15, 15}},
        {IDC_SIZEALL,  {15, 15}},
        {IDC_HAND,     {6, 1}  },
        {IDC_WAIT,     {15, 15}},
        {IDC_IBEAM,    {15, 15}},
    };
    for (const Case& c : cases) {
        HCURSOR cur = LoadCursor(nullptr, c.id);
        ASSERT_NE(cur, nullptr);
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(cur, &ii));
        EXPECT_FALSE(ii.fIcon);
        EXPECT_EQ(ii.hbmColor, nullptr);
        EXPECT_EQ(Info(ii.hbmMask).bmHeight, 64);
        EXPECT_EQ(Info(ii.hbmMask).bmBitsPixel, 1);
        EXPECT_EQ(static_cast<LONG>(ii.xHotspot), c.hot.x);
        EXPECT_EQ(static_cast<LONG>(ii.yHotspot), c.hot.y);
        // Drawn: black shape inside a white rim, the rest left alone.
        Canvas canvas(32, 32);
        canvas.Fill(0x00808080);
        DrawIconEx(canvas.dc, 0, 0, cur, 0, 0, 0, nullptr, DI_NORMAL);
        int black = 0, white = 0, grey = 0;
        for (int i = 0; i < 32 * 32; ++i) {
            uint32_t p = canvas.bits[i] & 0xFFFFFF;
            black += p == 0, white += p == 0xFFFFFF, grey += p == 0x808080;
        }
        EXPECT_GT(black, 8);
        EXPECT_GT(white, black / 2);
        EXPECT_EQ(black + white + grey, 32 * 32);
        // The mask bitmap round-trips into an equal cursor.
        HCURSOR again = CreateIconIndirect(&ii);
        Canvas copy(32, 32);
        copy.Fill(0x00808080);
        DrawIconEx(copy.dc, 0, 0, again, 0, 0, 0, nullptr, DI_NORMAL);
        EXPECT_EQ(std::vector<uint32_t>(copy.bits, copy.bits + 1024),
                  std::vector<uint32_t>(canvas.bits, canvas.bits + 1024));
        DestroyCursor(again);
        DeleteObject(ii.hbmMask);
    }
    EXPECT_NE(LoadCursor(nullptr, IDC_ARROW), LoadCursor(nullptr, IDC_HAND));
}

TEST(Icon, AlphaIconsBlendMaskedIconsUseAndThenXor) {
    // 2 × 1: an opaque red pixel and a half-transparent green one.
    HBITMAP color = Pixels(2, 1, {0xFFFF0000, 0x8000FF00});
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, nullptr); // all zero: opaque
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON alpha = CreateIconIndirect(&ii);
    ASSERT_NE(alpha, nullptr);
    Canvas c(4, 2);
    c.Fill(0x000000FF);
    SetWindowOrgEx(c.dc, -1, -1, nullptr);
    DrawIconEx(c.dc, 0, 0, alpha, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(c.At(1, 1), 0x00FF0000u);
    EXPECT_EQ(c.At(2, 1), 0x0000807Fu); // green at half over blue
    EXPECT_EQ(c.At(0, 0), 0x000000FFu);

    // Scaled 2×: each pixel doubled.
    Canvas s(4, 2);
    DrawIconEx(s.dc, 0, 0, alpha, 4, 2, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(s.At(1, 1), 0x00FF0000u);
    EXPECT_NE(s.At(2, 0), 0x00FF0000u);

    // No alpha: white mask pixels let the screen through (XOR with black keeps it).
    HBITMAP plain = Pixels(2, 1, {0x00FFFFFF, 0x00000000});
    std::vector<uint8_t> maskBits = {0x40, 0}; // second pixel transparent
    HBITMAP mask2 = CreateBitmap(2, 1, 1, 1, maskBits.data());
    ICONINFO jj{TRUE, 0, 0, mask2, plain};
    HICON masked = CreateIconIndirect(&jj);
    Canvas m(2, 1);
    m.Fill(0x00123456);
    DrawIconEx(m.dc, 0, 0, masked, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(m.At(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(m.At(1, 0), 0x00123456u);
    // DI_MASK alone: AND only.
    m.Fill(0x00123456);
    DrawIconEx(m.dc, 0, 0, masked, 0, 0, 0, nullptr, DI_MASK);
    EXPECT_EQ(m.At(0, 0), 0u);
    EXPECT_EQ(m.At(1, 0), 0x00123456u);

    ICONINFO none{TRUE, 0, 0, nullptr, plain}; // neither mask nor alpha
    EXPECT_EQ(CreateIconIndirect(&none), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
    EXPECT_FALSE(DrawIconEx(m.dc, 0, 0, nullptr, 0, 0, 0, nullptr, DI_NORMAL));
    for (HBITMAP b : {color, mask, plain, mask2}) DeleteObject(b);
    DestroyIcon(alpha);
    DestroyIcon(masked);
}

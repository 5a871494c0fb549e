// Fill, blit and stretch on an 800x600 32-bit surface.
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"

#include <benchmark/benchmark.h>

namespace {
struct Surface {
    HDC dc;
    HBITMAP bmp;
    Surface(int w, int h) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, 0, 0, 0, 0, 0, 0};
        void* bits;
        bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bmp);
    }
    ~Surface() {
        DeleteDC(dc);
        DeleteObject(bmp);
    }
};

void Fill(benchmark::State& st) {
    Surface s(800, 600);
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    RECT r{0, 0, 800, 600};
    for (auto _ : st) FillRect(s.dc, &r, b);
    DeleteObject(b);
}
BENCHMARK(Fill);

void Blit(benchmark::State& st) {
    Surface a(800, 600), b(800, 600);
    for (auto _ : st) BitBlt(b.dc, 0, 0, 800, 600, a.dc, 0, 0, SRCCOPY);
}
BENCHMARK(Blit);

void BlitClippedByRegion(benchmark::State& st) {
    Surface a(800, 600), b(800, 600);
    HRGN rgn = CreateEllipticRgn(0, 0, 800, 600);
    SelectClipRgn(b.dc, rgn);
    for (auto _ : st) BitBlt(b.dc, 0, 0, 800, 600, a.dc, 0, 0, SRCCOPY);
    DeleteObject(rgn);
}
BENCHMARK(BlitClippedByRegion);

void Stretch(benchmark::State& st) {
    Surface a(400, 300), b(800, 600);
    for (auto _ : st) StretchBlt(b.dc, 0, 0, 800, 600, a.dc, 0, 0, 400, 300, SRCCOPY);
}
BENCHMARK(Stretch);
} // namespace

// Fill, blit and stretch on an 800x600 32-bit surface, and a whole window
// repaint through DCs: background, stretched skin parts, text, present.
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"

#include <benchmark/benchmark.h>
#include <cstring>

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

const char* const kLines[] = {
    "TarvikH.264格式转换器 - 正在转换: holiday_video_2010.avi → H.264 MP4 (640×480, 25 fps)",
    "输出目录: /home/user/Tarvik视频软件/输出   Output folder, 1.5 GB free   进度 47%   剩余时间 00:03:12",
    "Video codec: libx264  Bitrate 768 kbps  音频编码: AAC 128 kbps 44100 Hz 立体声  Profile: &Baseline",
};

// What one paint of a skinned 800x600 window costs: fill the back buffer,
// stretch the caption and button skins, draw a screen of mixed text with
// DrawText, then blit the back buffer to the window's surface.
void Repaint(benchmark::State& st) {
    Surface window(800, 600), back(800, 600), skin(64, 32);
    HBRUSH face = CreateSolidBrush(RGB(240, 240, 240));
    LOGFONT lf{};
    lf.lfHeight = -12;
    std::strcpy(lf.lfFaceName, "Tahoma");
    HFONT font = CreateFontIndirect(&lf);
    SelectObject(back.dc, font);
    SetBkMode(back.dc, TRANSPARENT);
    SetTextColor(back.dc, RGB(32, 32, 32));
    RECT all{0, 0, 800, 600};
    TEXTMETRIC tm{};
    GetTextMetrics(back.dc, &tm);
    for (auto _ : st) {
        FillRect(back.dc, &all, face);
        StretchBlt(back.dc, 0, 0, 800, 30, skin.dc, 0, 0, 64, 16, SRCCOPY);
        for (int b = 0; b < 8; ++b)
            StretchBlt(back.dc, 10 + b * 95, 560, 90, 28, skin.dc, 0, 16, 64, 16, SRCCOPY);
        int n = 0;
        for (int y = 34; y + tm.tmHeight <= 556; y += tm.tmHeight, ++n) {
            RECT line{6, y, 794, y + tm.tmHeight};
            DrawText(back.dc, kLines[n % 3], -1, &line, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        }
        BitBlt(window.dc, 0, 0, 800, 600, back.dc, 0, 0, SRCCOPY);
    }
    SelectObject(back.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    DeleteObject(face);
}
BENCHMARK(Repaint)->Unit(benchmark::kMillisecond);
} // namespace

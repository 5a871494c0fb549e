// A full repaint of an 800 × 600 window of mixed Chinese and Latin text, with
// the font's glyph cache warm as it is after the first paint.
#include "gdi/text/DrawTextFlags.h"
#include "gdi/text/Font.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

using namespace gdi::text;

namespace {

const char* const kLines[] = {
    "TarvikH.264格式转换器 - 正在转换: holiday_video_2010.avi → H.264 MP4 (640×480, 25 fps)",
    "输出目录: /home/user/Tarvik视频软件/输出   Output folder, 1.5 GB free   进度 47%   剩余时间 00:03:12",
    "Video codec: libx264  Bitrate 768 kbps  音频编码: AAC 128 kbps 44100 Hz 立体声  Profile: Baseline",
};

void BM_RepaintMixedText(benchmark::State& state) {
    constexpr int kW = 800, kH = 600;
    std::vector<uint32_t> pixels(kW * kH);
    TextSurface surface{reinterpret_cast<uint8_t*>(pixels.data()), kW, kH, -4 * kW};
    Font font(LogFont{"Tahoma", -12});
    const int lh = font.Metrics().height;
    TextDrawOptions options;
    options.color = 0x202020;
    int64_t glyphs = 0;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), 0x00F0F0F0);
        int n = 0;
        for (int y = 0; y + lh <= kH; y += lh, ++n) {
            const char* text = kLines[n % 3];
            font.Draw(surface, {0, 0, kW, kH}, 4, y, text, options);
            glyphs += static_cast<int64_t>(font.CharPositions(text).size());
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    state.counters["glyphs/s"] = benchmark::Counter(static_cast<double>(glyphs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RepaintMixedText)->Unit(benchmark::kMillisecond);

// The same screen laid out through DrawText (word break, prefixes) per line.
void BM_RepaintMixedTextWithDrawText(benchmark::State& state) {
    constexpr int kW = 800, kH = 600;
    std::vector<uint32_t> pixels(kW * kH);
    TextSurface surface{reinterpret_cast<uint8_t*>(pixels.data()), kW, kH, 4 * kW};
    Font font(LogFont{"Tahoma", -12});
    const int lh = font.Metrics().height;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), 0x00F0F0F0);
        int n = 0;
        for (int y = 0; y + lh <= kH; y += lh, ++n) {
            auto layout = LayoutDrawText(font, kLines[n % 3], {4, y, kW - 4, y + lh},
                                         DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
            font.DrawLayout(surface, {0, 0, kW, kH}, layout, TextDrawOptions{});
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_RepaintMixedTextWithDrawText)->Unit(benchmark::kMillisecond);

} // namespace

// The skin engine's inner loops: the blur at growing radii (its cost per pixel must not grow
// with the radius), a blended draw between 32-bit bitmaps, and a nine-part rebuild of a
// form-sized frame.
#include "gui/Graphics.h"
#include "skin/engine/GlowText.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinBitmap.h"

#include <benchmark/benchmark.h>

namespace {

void Blur(benchmark::State& st) {
    skin::TbsBitmap b;
    b.SetSize(400, 300);
    for (int i = 0; i < 400 * 300; ++i) b.Bits()[i] = static_cast<skin::TbsColor>(i * 2654435761u);
    for (auto _ : st) skin::BlurAlphaChannel(b, static_cast<int>(st.range(0)));
    st.SetItemsProcessed(st.iterations() * 400 * 300);
}
BENCHMARK(Blur)->Arg(1)->Arg(3)->Arg(12)->Arg(48);

void BlendDraw(benchmark::State& st) {
    skin::TbsBitmap src, dst;
    src.SetSize(800, 600);
    dst.SetSize(800, 600);
    src.Clear(0x80336699);
    src.AlphaBlend = true;
    for (auto _ : st) src.Draw(dst, 0, 0);
    st.SetItemsProcessed(st.iterations() * 800 * 600);
}
BENCHMARK(BlendDraw);

void NinePartFrame(benchmark::State& st) {
    gui::TBitmap picture, target;
    picture.SetSize(120, 90);
    for (auto _ : st)
        skin::BuildNinePartImage({30, 25}, {90, 25}, {30, 65}, {90, 65}, {8, 25, 112, 82}, {30, 25},
                                 {770, 25}, {30, 545}, {770, 545}, {8, 25, 792, 562}, &target, &picture,
                                 {0, 0, 120, 90}, 800, 570, true, false, false, false, false, false,
                                 skin::TbsStretchType::bsstFull);
}
BENCHMARK(NinePartFrame);

} // namespace

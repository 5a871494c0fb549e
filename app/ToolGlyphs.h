#pragma once
// The tool bar's pictures, drawn by the program in one line style: 32 × 32, the enabled picture
// and the disabled one side by side in one strip, so the button shows the right one whenever
// it is enabled or disabled. The bottom-left pixel is the colour left out.
#include <memory>

namespace gui {
class TBitmap;
}

namespace app {

enum class TToolGlyph { Add, Remove, Clear, Start, Stop, Pause, Resume, Options, Skin };

std::unique_ptr<gui::TBitmap> MakeToolGlyph(TToolGlyph AKind);

} // namespace app

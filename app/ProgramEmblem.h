#pragma once
// The program's emblem (the film strip of its icon) in a picture control.
namespace gui {
class TImage;
}

namespace app {

// Fits the largest drawn icon into `size` pixels; the control keeps its own size.
void LoadProgramEmblem(gui::TImage& image, int size);

} // namespace app

#include "app/ProgramEmblem.h"

#include "gdi/image/Png.h"
#include "gui/Bitmap.h"
#include "gui/Image.h"
#include "gui/Picture.h"
#include "gui/Resources.h"
#include "resources/ProgramResources.h"

namespace app {

void LoadProgramEmblem(gui::TImage& image, int size) {
    std::string name = resources::ProgramIconName(resources::ProgramIconSizes().back());
    if (!gui::ResourceExists(name)) return;
    gdi::image::Image picture;
    std::string error;
    if (!gdi::image::ReadPng(gui::FindResourceData(name), picture, error)) return;
    gui::TBitmap bitmap;
    bitmap.FromImage(picture);
    image.Picture()->Assign(&bitmap);
    image.SetStretch(picture.width != size || picture.height != size);
}

} // namespace app

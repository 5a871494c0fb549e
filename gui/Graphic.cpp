#include "gui/Graphic.h"

#include "gdi/image/Bmp.h"
#include "gdi/image/Image.h"
#include "gdi/image/ImageFile.h"
#include "gui/FileStream.h"

#include <algorithm>

namespace gui {

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}

void TGraphic::SetTransparent(bool value) {
    if (transparent_ != value) transparent_ = value, Changed();
}

std::vector<uint8_t> TGraphic::ReadRest(TStream& stream) {
    std::vector<uint8_t> data(static_cast<size_t>(std::max<int64_t>(stream.Size() - stream.Position(), 0)));
    if (!data.empty()) stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
    return data;
}

void TGraphic::Decode(std::span<const uint8_t> data, gdi::image::Image& out, const std::string& invalid,
                      bool bmpOnly) {
    std::string error;
    if (!(bmpOnly ? gdi::image::ReadBmp(data, out, error) : gdi::image::ReadImage(data, out, error)))
        throw EInvalidGraphic(invalid);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

} // namespace gui

#include "gui/FileImage.h"

#include "gdi/image/Gif.h"
#include "gdi/image/ImageFile.h"
#include "gdi/image/Jpeg.h"
#include "gdi/image/Png.h"
#include "gui/Canvas.h"
#include "gui/Stream.h"

#include <algorithm>

namespace gui {

void TFileImage::Assign(const TPersistent* source) {
    if (source == this) return;
    if (auto* f = dynamic_cast<const TFileImage*>(source)) {
        bitmap_.Assign(&f->bitmap_);
        return Changed();
    }
    if (auto* g = dynamic_cast<const TGraphic*>(source)) {
        bitmap_.Assign(g);
        return Changed();
    }
    TGraphic::Assign(source);
}

void TFileImage::LoadFromStream(TStream& stream) {
    gdi::image::Image image;
    Decode(ReadRest(stream), image, InvalidText());
    bitmap_.FromImage(image);
    Changed();
}

void TFileImage::SaveToStream(TStream& stream) {
    gdi::image::Image image;
    bitmap_.ToImage(image);
    std::vector<uint8_t> out;
    std::string error;
    if (!Encode(image, out, error)) throw EInvalidGraphic(error);
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TFileImage::Draw(TCanvas& canvas, const TRect& r) {
    bitmap_.SetTransparent(Transparent());
    canvas.StretchDraw(r, &bitmap_);
}

bool TJPEGImage::Encode(const gdi::image::Image& image, std::vector<uint8_t>& out, std::string& error) {
    return gdi::image::WriteJpeg(image, std::clamp(CompressionQuality, 1, 100), out, error);
}

bool TPngImage::Encode(const gdi::image::Image& image, std::vector<uint8_t>& out, std::string& error) {
    return gdi::image::WritePng(image, out, error);
}

bool TGIFImage::Encode(const gdi::image::Image& image, std::vector<uint8_t>& out, std::string& error) {
    return gdi::image::WriteGif(image, {Dither}, out, error);
}

} // namespace gui

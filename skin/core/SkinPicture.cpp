#include "skin/core/SkinPicture.h"

#include "gdi/image/Bmp.h"
#include "gui/Bitmap.h"
#include "gui/FileStream.h"
#include "gui/MemoryStream.h"

#include <vector>

namespace skin {

namespace {
constexpr uint32_t kFileHeaderSize = 14;
}

uint32_t BmpFileLength(const uint8_t* data, uint64_t available) {
    if (available < kFileHeaderSize || data[0] != 'B' || data[1] != 'M')
        throw EInvalidGraphic("Bitmap image is not valid");
    uint32_t size = data[2] | (data[3] << 8) | (data[4] << 16) | (static_cast<uint32_t>(data[5]) << 24);
    if (size < kFileHeaderSize || size > available)
        throw EInvalidGraphic("Bitmap image is not valid: its header gives " + std::to_string(size) +
                              " bytes where " + std::to_string(available) + " are left");
    return size;
}

void TbsPicture::LoadFromStream(gui::TStream& stream) {
    int64_t start = stream.Position();
    uint8_t header[kFileHeaderSize];
    stream.ReadBuffer(header, kFileHeaderSize);
    uint64_t left = static_cast<uint64_t>(stream.Size() - start);
    uint32_t size = BmpFileLength(header, left);
    std::vector<uint8_t> file(size);
    std::copy(header, header + kFileHeaderSize, file.begin());
    stream.ReadBuffer(file.data() + kFileHeaderSize, size - kFileHeaderSize);
    gdi::image::Image image;
    std::string error;
    if (!gdi::image::ReadBmp(file, image, error))
        throw EInvalidGraphic("Bitmap image is not valid: " + error);
    image_ = std::move(image);
    bitmap_.reset();
}

void TbsPicture::LoadFromFile(const std::string& fileName) {
    gui::TFileStream file(fileName, gui::fmOpenRead);
    gui::TMemoryStream data;
    data.CopyFrom(file, 0);
    data.SetPosition(0);
    try {
        LoadFromStream(data);
    } catch (const gui::EReadError&) {
        throw EInvalidGraphic("Bitmap image is not valid: " + fileName);
    }
}

void TbsPicture::SaveToStream(gui::TStream& stream) const {
    std::vector<uint8_t> out;
    std::string error;
    if (!gdi::image::WriteBmp(image_, image_.hasAlpha ? 32 : 24, out, error)) throw EInvalidGraphic(error);
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TbsPicture::SaveToFile(const std::string& fileName) const {
    gui::TFileStream file(fileName, gui::fmCreate);
    SaveToStream(file);
}

gui::TBitmap& TbsPicture::Bitmap() const {
    if (!bitmap_) {
        bitmap_ = std::make_shared<gui::TBitmap>();
        bitmap_->FromImage(image_);
    }
    return *bitmap_;
}

} // namespace skin

#include "skin/core/SkinPicture.h"

#include "gdi/image/Bmp.h"
#include "gui/Bitmap.h"
#include "gui/FileStream.h"
#include "gui/MemoryStream.h"

#include <algorithm>
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

void TbsPicture::LoadFromFileBytes(std::span<const uint8_t> file) {
    if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M')
        throw EInvalidGraphic("Bitmap image is not valid");
    // The pixels cannot start inside the headers: an offset of 0 would read the headers as pixels.
    uint32_t offBits =
        file[10] | (file[11] << 8) | (file[12] << 16) | (static_cast<uint32_t>(file[13]) << 24);
    uint32_t infoSize = file.size() >= kFileHeaderSize + 4 ? file[14] | (file[15] << 8) | (file[16] << 16) |
                                                                 (static_cast<uint32_t>(file[17]) << 24)
                                                           : 0;
    if (offBits < kFileHeaderSize + std::max<uint32_t>(infoSize, 12))
        throw EInvalidGraphic("Bitmap image is not valid: its pixels would start at " +
                              std::to_string(offBits));
    gdi::image::Image image;
    std::string error;
    if (!gdi::image::ReadBmp(file, image, error))
        throw EInvalidGraphic("Bitmap image is not valid: " + error);
    image_ = std::move(image);
    bitmap_.reset();
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
    LoadFromFileBytes(file);
}

void TbsPicture::LoadFromFile(const std::string& fileName) {
    gui::TMemoryStream data;
    data.LoadFromFile(fileName);
    try {
        LoadFromFileBytes({data.Memory(), static_cast<size_t>(data.Size())});
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(std::string(e.what()) + ": " + fileName);
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

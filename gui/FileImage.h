#pragma once
// JPEG, PNG and GIF pictures: they keep their pixels in a bitmap for drawing and encode on saving.
#include "gui/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// The common part of the three file picture classes.
class TFileImage : public TGraphic {
public:
    void Assign(const TPersistent* source) override;
    int Width() const override { return bitmap_.Width(); }
    int Height() const override { return bitmap_.Height(); }
    void SetWidth(int width) override { bitmap_.SetWidth(width), Changed(); }
    void SetHeight(int height) override { bitmap_.SetHeight(height), Changed(); }
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // The pixels, for drawing into or reading.
    TBitmap& Bitmap() { return bitmap_; }

protected:
    void Draw(TCanvas& canvas, const TRect& r) override;
    virtual bool Encode(const gdi::image::Image& image, std::vector<uint8_t>& out, std::string& error) = 0;
    virtual std::string InvalidText() const = 0;
    TBitmap bitmap_;
};

class TJPEGImage : public TFileImage {
public:
    std::string ClassName() const override { return "TJPEGImage"; }
    int CompressionQuality = 90; // 1..100

protected:
    bool Encode(const gdi::image::Image& image, std::vector<uint8_t>& out, std::string& error) override;
    std::string InvalidText() const override { return "JPEG error #53"; }
};

class TPngImage : public TFileImage {
public:
    std::string ClassName() const override { return "TPngImage"; }

protected:
    bool Encode(const gdi::image::Image& image, std::vector<uint8_t>& out, std::string& error) override;
    std::string InvalidText() const override { return "The PNG image is invalid"; }
};

class TGIFImage : public TFileImage {
public:
    std::string ClassName() const override { return "TGIFImage"; }
    bool Dither = true; // more than 256 colours are dithered to the palette

protected:
    bool Encode(const gdi::image::Image& image, std::vector<uint8_t>& out, std::string& error) override;
    std::string InvalidText() const override { return "Invalid GIF image"; }
};

} // namespace gui

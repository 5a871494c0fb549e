#pragma once
// Pictures from files: TPicture picks the graphic class by the file's extension; JPEG, PNG and
// GIF pictures keep their pixels in a bitmap for drawing and encode on saving.
#include "gui/Bitmap.h"

#include <memory>

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

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    std::string ClassName() const override { return "TPicture"; }
    void Assign(const TPersistent* source) override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // A copy of the graphic (null clears the picture).
    void SetGraphic(const TGraphic* graphic);
    // The picture as a bitmap; a picture of another kind is replaced by a bitmap copy.
    TBitmap* Bitmap();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // By extension: .bmp, .jpg/.jpeg, .png, .gif, .ico; EInvalidGraphic for any other
    // ("Unknown picture file extension (.xyz)") and for unreadable content.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    TNotifyEvent OnChange;

private:
    void Take(std::unique_ptr<TGraphic> graphic);
    std::unique_ptr<TGraphic> graphic_;
};

} // namespace gui

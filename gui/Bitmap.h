#pragma once
// A device-independent bitmap with a canvas of its own.
#include "gui/Color.h"
#include "gui/Graphic.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace gui {

enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };
enum TTransparentMode : uint8_t { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    std::string ClassName() const override { return "TBitmap"; }
    void Assign(const TPersistent* source) override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width) override { SetSize(width, height_); }
    void SetHeight(int height) override { SetSize(width_, height); }
    // Keeps the picture's top-left part; new pixels are black.
    void SetSize(int width, int height);
    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format);
    // A row counted from the top (rows are stored bottom-up, as DIBs usually are).
    void* ScanLine(int row);
    HBITMAP Handle();
    TCanvas* Canvas();

    // Transparent drawing leaves out TransparentColor: with tmAuto the bottom-left pixel.
    TColor TransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode = tmAuto;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // A picture compiled into the program (see Resources.h); EResNotFound when there is none.
    void LoadFromResourceName(const std::string& name);
    void FreeImage();

    // Conversions with the picture files' pixel model (BGRA, top-down).
    void ToImage(gdi::image::Image& out);
    void FromImage(const gdi::image::Image& image);

protected:
    void Draw(TCanvas& canvas, const TRect& r) override;
    void Changed() override;

private:
    // palette: the colour table of a 1/4/8-bit bitmap (0x00RRGGBB); null, the standard one.
    void Make(int width, int height, TPixelFormat format, bool keep,
              const std::vector<uint32_t>* palette = nullptr);
    // A 1/4/8-bit picture with the colour table it came with, each pixel its table index.
    void FromIndexedImage(const gdi::image::Image& image, TPixelFormat format);
    void SaveIndexed(TStream& stream);
    void LoadBmp(std::span<const uint8_t> data);
    int width_ = 0, height_ = 0;
    TPixelFormat format_ = pfDevice;
    TColor transparentColor_ = clDefault;
    HBITMAP bitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    HDC memDc_ = nullptr;
};

} // namespace gui

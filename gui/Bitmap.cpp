#include "gui/Bitmap.h"

#include "gdi/Bitmap.h"
#include "gdi/Blit.h"
#include "gdi/Draw.h"
#include "gdi/image/Bmp.h"
#include "gdi/image/Image.h"
#include "gdi/image/ImageFile.h"
#include "gui/Canvas.h"
#include "gui/Resources.h"
#include "gui/Stream.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace gui {

namespace {

int BitsOf(TPixelFormat f) {
    switch (f) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf24bit:
        return 24;
    default:
        return 32;
    }
}

// Black and white; the sixteen standard colours; a 6x6x6 colour cube and a grey ramp.
std::vector<RGBQUAD> DefaultPalette(int bits) {
    std::vector<RGBQUAD> pal;
    auto add = [&](int r, int g, int b) {
        pal.push_back({static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
    };
    if (bits == 1) {
        add(0, 0, 0), add(255, 255, 255);
    } else if (bits == 4) {
        static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                         0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                         0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
        for (COLORREF c : vga) add(GetRValue(c), GetGValue(c), GetBValue(c));
    } else if (bits == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 0; i < 40; ++i) add(i * 255 / 39, i * 255 / 39, i * 255 / 39);
    }
    return pal;
}

TPixelFormat FormatOfBits(int bits) {
    return bits == 1 ? pf1bit : bits == 4 ? pf4bit : bits == 8 ? pf8bit : pf24bit;
}

// The bits per pixel a BMP file's header states; 0 for what is no BMP header.
int BmpBitCount(std::span<const uint8_t> d) {
    if (d.size() < 30 || d[0] != 'B' || d[1] != 'M') return 0;
    uint32_t headerSize = d[14] | (d[15] << 8) | (d[16] << 16) | (static_cast<uint32_t>(d[17]) << 24);
    size_t at = headerSize == 12 ? 24 : 28; // the old core header keeps it earlier
    return d[at] | (d[at + 1] << 8);
}

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    canvas_.reset();
    if (memDc_) DeleteDC(memDc_);
    if (bitmap_) DeleteObject(bitmap_);
}

void TBitmap::Make(int width, int height, TPixelFormat format, bool keep,
                   const std::vector<uint32_t>* palette) {
    width = std::max(width, 0), height = std::max(height, 0);
    HBITMAP made = nullptr;
    if (width > 0 && height > 0) {
        int bits = BitsOf(format);
        std::vector<RGBQUAD> pal = DefaultPalette(bits);
        if (palette && bits <= 8 && !palette->empty()) {
            pal.clear();
            for (size_t i = 0; i < palette->size() && i < (size_t{1} << bits); ++i) {
                uint32_t c = (*palette)[i];
                pal.push_back(
                    {static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0});
            }
        }
        std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) +
                                  std::max<size_t>(pal.size(), 1) * sizeof(RGBQUAD));
        auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
        bmi->bmiHeader = {
            sizeof(BITMAPINFOHEADER),       width, height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0,
            static_cast<DWORD>(pal.size()), 0};
        if (!pal.empty()) std::memcpy(bmi->bmiColors, pal.data(), pal.size() * sizeof(RGBQUAD));
        void* px = nullptr;
        made = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &px, nullptr, 0);
        if (!made) throw EInvalidGraphic("Out of system resources");
        if (keep && bitmap_) {
            HDC from = memDc_ ? memDc_ : CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
            HGDIOBJ oldFrom = memDc_ ? nullptr : SelectObject(from, bitmap_), oldTo = SelectObject(to, made);
            BitBlt(to, 0, 0, std::min(width, width_), std::min(height, height_), from, 0, 0, SRCCOPY);
            SelectObject(to, oldTo), DeleteDC(to);
            if (!memDc_) SelectObject(from, oldFrom), DeleteDC(from);
        }
    }
    HBITMAP old = bitmap_;
    bitmap_ = made;
    if (memDc_) {
        if (made) {
            SelectObject(memDc_, made);
        } else {
            // No stock bitmap to put back: a fresh DC lets the old bitmap go.
            canvas_->SetHandle(nullptr);
            DeleteDC(memDc_);
            memDc_ = CreateCompatibleDC(nullptr);
            canvas_->SetHandle(memDc_);
        }
    }
    if (old) DeleteObject(old);
    width_ = width, height_ = height, format_ = format;
}

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    Make(width, height, format_, true);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    Make(width_, height_, format, true);
    Changed();
}

void TBitmap::FreeImage() {
    Make(0, 0, format_, false);
    Changed();
}

void* TBitmap::ScanLine(int row) {
    gdi::Bitmap* b = bitmap_ ? gdi::FindBitmap(bitmap_) : nullptr;
    if (!b || row < 0 || row >= height_) throw EInvalidGraphic("Scan line index out of range");
    return b->bits + static_cast<ptrdiff_t>(b->topDown ? row : height_ - 1 - row) * b->stride;
}

HBITMAP TBitmap::Handle() {
    return bitmap_;
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        memDc_ = CreateCompatibleDC(nullptr);
        if (bitmap_) SelectObject(memDc_, bitmap_);
        canvas_ = std::make_unique<TCanvas>();
        canvas_->SetHandle(memDc_);
    }
    return canvas_.get();
}

TColor TBitmap::TransparentColor() {
    if (TransparentMode == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    if (Empty()) return clDefault;
    return Canvas()->Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    TransparentMode = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::Changed() {
    TGraphic::Changed();
}

void TBitmap::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) return FreeImage();
    if (auto* b = dynamic_cast<const TBitmap*>(source)) {
        auto* src = const_cast<TBitmap*>(b);
        gdi::Bitmap* from = b->bitmap_ ? gdi::FindBitmap(b->bitmap_) : nullptr;
        if (from && from->bpp <= 8) {
            // Indices and colour table as they are: a copy through colours would lose the table.
            Make(b->width_, b->height_, b->format_, false, &from->palette);
            for (int y = 0; y < height_; ++y)
                std::memcpy(ScanLine(y), src->ScanLine(y), static_cast<size_t>(from->stride));
        } else {
            Make(b->width_, b->height_, b->format_, false);
            if (bitmap_)
                BitBlt(Canvas()->Handle(), 0, 0, width_, height_, src->Canvas()->Handle(), 0, 0, SRCCOPY);
        }
        transparent_ = b->transparent_;
        transparentColor_ = b->transparentColor_;
        TransparentMode = b->TransparentMode;
        return Changed();
    }
    if (auto* g = dynamic_cast<const TGraphic*>(source)) {
        auto* src = const_cast<TGraphic*>(g);
        Make(g->Width(), g->Height(), pf24bit, false);
        if (bitmap_) Canvas()->Draw(0, 0, src);
        return Changed();
    }
    TPersistent::Assign(source);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) {
    HDC dst = canvas.Handle();
    if (!dst || !bitmap_) return;
    HDC src = Canvas()->Handle();
    if (Transparent()) {
        TransparentBlt(dst, r.left, r.top, RectWidth(r), RectHeight(r), src, 0, 0, width_, height_,
                       ColorToRGB(TransparentColor()));
    } else if (RectWidth(r) == width_ && RectHeight(r) == height_) {
        BitBlt(dst, r.left, r.top, width_, height_, src, 0, 0, canvas.CopyMode);
    } else {
        StretchBlt(dst, r.left, r.top, RectWidth(r), RectHeight(r), src, 0, 0, width_, height_,
                   canvas.CopyMode);
    }
}

void TBitmap::ToImage(gdi::image::Image& out) {
    out.Reset(width_, height_);
    out.palette.clear();
    out.hasAlpha = format_ == pf32bit;
    gdi::Bitmap* b = bitmap_ ? gdi::FindBitmap(bitmap_) : nullptr;
    if (!b) return;
    gdi::PixelView v = b->View();
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            uint32_t c = v.Get(x, y);
            out.At(x, y) = format_ == pf32bit ? c : (c | 0xFF000000u);
        }
}

void TBitmap::FromImage(const gdi::image::Image& image) {
    Make(image.width, image.height, image.hasAlpha ? pf32bit : pf24bit, false);
    if (bitmap_) {
        gdi::PixelView v = gdi::FindBitmap(bitmap_)->View();
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) v.Put(x, y, image.At(x, y));
    }
    Changed();
}

void TBitmap::FromIndexedImage(const gdi::image::Image& image, TPixelFormat format) {
    Make(image.width, image.height, format, false, &image.palette);
    if (bitmap_) {
        // Each colour to its first place in the table (the file's own indices, unless the table
        // repeats a colour, which looks the same).
        std::unordered_map<uint32_t, uint8_t> index;
        for (size_t i = image.palette.size(); i-- > 0;)
            index[image.palette[i] & 0xFFFFFF] = static_cast<uint8_t>(i);
        int bits = BitsOf(format);
        for (int y = 0; y < height_; ++y) {
            auto* row = static_cast<uint8_t*>(ScanLine(y));
            for (int x = 0; x < width_; ++x) {
                auto it = index.find(image.At(x, y) & 0xFFFFFF);
                unsigned v = it == index.end() ? 0 : it->second;
                int perByte = 8 / bits, shift = 8 - bits * (x % perByte + 1);
                row[x / perByte] = static_cast<uint8_t>(row[x / perByte] | (v << shift));
            }
        }
    }
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
    LoadBmp(ReadRest(stream));
}

void TBitmap::LoadBmp(std::span<const uint8_t> data) {
    gdi::image::Image image;
    Decode(data, image, "Bitmap image is not valid", true);
    // A palette file stays one, so that saving it again writes what was read.
    int bits = BmpBitCount(data);
    if (bits <= 8 && !image.palette.empty())
        FromIndexedImage(image, FormatOfBits(bits));
    else
        FromImage(image);
}

// A bottom-up BMP file of the bitmap's own indices and colour table.
void TBitmap::SaveIndexed(TStream& stream) {
    gdi::Bitmap* b = gdi::FindBitmap(bitmap_);
    const uint32_t colors = static_cast<uint32_t>(b->palette.size());
    const uint32_t stride = static_cast<uint32_t>((width_ * b->bpp + 31) / 32 * 4);
    const uint32_t offBits = 14 + 40 + 4 * colors, imageSize = stride * static_cast<uint32_t>(height_);
    std::vector<uint8_t> out;
    out.reserve(offBits + imageSize);
    out.push_back('B'), out.push_back('M');
    PutLe(out, offBits + imageSize, 4);
    PutLe(out, 0, 4);
    PutLe(out, offBits, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<uint32_t>(width_), 4);
    PutLe(out, static_cast<uint32_t>(height_), 4);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<uint32_t>(b->bpp), 2);
    PutLe(out, BI_RGB, 4);
    PutLe(out, imageSize, 4);
    PutLe(out, 2835, 4); // 72 dots per inch
    PutLe(out, 2835, 4);
    PutLe(out, colors, 4);
    PutLe(out, 0, 4);
    for (uint32_t c : b->palette) PutLe(out, c & 0xFFFFFF, 4);
    for (int y = height_ - 1; y >= 0; --y) {
        auto* row = static_cast<const uint8_t*>(ScanLine(y));
        out.insert(out.end(), row, row + stride);
    }
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TBitmap::SaveToStream(TStream& stream) {
    if (bitmap_ && (format_ == pf1bit || format_ == pf4bit || format_ == pf8bit)) return SaveIndexed(stream);
    gdi::image::Image image;
    ToImage(image);
    std::vector<uint8_t> data;
    std::string error;
    if (!gdi::image::WriteBmp(image, format_ == pf32bit ? 32 : 24, data, error)) throw EInvalidGraphic(error);
    stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TBitmap::LoadFromResourceName(const std::string& name) {
    LoadBmp(FindResourceData(name));
}

} // namespace gui

#include "gui/Graphics.h"

#include "gdi/Bitmap.h"
#include "gdi/Blit.h"
#include "gdi/Draw.h"
#include "gdi/Icon.h"
#include "gdi/image/Bmp.h"
#include "gdi/image/Image.h"
#include "gdi/image/ImageFile.h"
#include "gui/Resources.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gui {

namespace {

TGdiHandle Own(HGDIOBJ obj) {
    return TGdiHandle(obj, [](GdiObjectTag* o) { DeleteObject(o); });
}
TGdiHandle Stock(int which) {
    return TGdiHandle(GetStockObject(which), [](GdiObjectTag*) {});
}

} // namespace

COLORREF ColorToRGB(TColor color) {
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

// ---- TFont

TFont::TFont() = default;

template <class T> void TFont::Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TFont::Changed() {
    handle_.reset();
    TGraphicsObject::Changed();
}

void TFont::Assign(const TPersistent* source) {
    auto* f = dynamic_cast<const TFont*>(source);
    if (!f) return TPersistent::Assign(source);
    if (f == this) return;
    name_ = f->name_, height_ = f->height_, style_ = f->style_, color_ = f->color_, charset_ = f->charset_;
    Changed();
}

void TFont::SetName(const std::string& name) {
    if (!name.empty()) Set(name_, name);
}
void TFont::SetHeight(int height) {
    Set(height_, height);
}
int TFont::Size() const {
    return -static_cast<int>(std::lround(height_ * 72.0 / PixelsPerInch));
}
void TFont::SetSize(int points) {
    Set(height_, -static_cast<int>(std::lround(points * PixelsPerInch / 72.0)));
}
void TFont::SetStyle(TFontStyles style) {
    Set(style_, style);
}
void TFont::SetColor(TColor color) {
    // The colour is not part of the font object: no new handle.
    if (color_ == color) return;
    color_ = color;
    TGraphicsObject::Changed();
}
void TFont::SetCharset(uint8_t charset) {
    Set(charset_, charset);
}

TGdiHandle TFont::SharedHandle() {
    if (!handle_) {
        LOGFONT lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
        lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = charset_;
        std::strncpy(lf.lfFaceName, name_.c_str(), sizeof lf.lfFaceName - 1);
        handle_ = Own(CreateFontIndirect(&lf));
    }
    return handle_;
}

HFONT TFont::Handle() {
    return reinterpret_cast<HFONT>(SharedHandle().get());
}

// ---- TPen

void TPen::Changed() {
    handle_.reset();
    TGraphicsObject::Changed();
}

void TPen::Assign(const TPersistent* source) {
    auto* p = dynamic_cast<const TPen*>(source);
    if (!p) return TPersistent::Assign(source);
    if (p == this) return;
    color_ = p->color_, width_ = p->width_, style_ = p->style_, mode_ = p->mode_;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color_ != color) color_ = color, Changed();
}
void TPen::SetWidth(int width) {
    if (width_ != width && width >= 0) width_ = width, Changed();
}
void TPen::SetStyle(TPenStyle style) {
    if (style_ != style) style_ = style, Changed();
}
void TPen::SetMode(TPenMode mode) {
    if (mode_ != mode) mode_ = mode, TGraphicsObject::Changed();
}

TGdiHandle TPen::SharedHandle() {
    if (!handle_) handle_ = Own(CreatePen(style_, width_, ColorToRGB(color_)));
    return handle_;
}

// ---- TBrush

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Changed() {
    handle_.reset();
    TGraphicsObject::Changed();
}

void TBrush::Assign(const TPersistent* source) {
    auto* b = dynamic_cast<const TBrush*>(source);
    if (!b) return TPersistent::Assign(source);
    if (b == this) return;
    color_ = b->color_, style_ = b->style_;
    if (b->bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(b->bitmap_.get());
    } else {
        bitmap_.reset();
    }
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color_ == color && style_ == bsSolid) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid; // a colour makes a clear brush solid again
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style_ != style) style_ = style, Changed();
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
    if (bitmap && !bitmap->Empty()) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(bitmap);
    } else {
        bitmap_.reset();
    }
    Changed();
}

TGdiHandle TBrush::SharedHandle() {
    if (!handle_) {
        if (bitmap_)
            handle_ = Own(CreatePatternBrush(bitmap_->Handle()));
        else if (style_ == bsClear)
            handle_ = Stock(NULL_BRUSH);
        else
            handle_ = Own(CreateSolidBrush(ColorToRGB(color_)));
    }
    return handle_;
}

HBRUSH TBrush::Handle() {
    return reinterpret_cast<HBRUSH>(SharedHandle().get());
}

// ---- TCanvas

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() {
    Deselect();
}

// Code that draws on the handle itself finds the canvas's font, pen and brush selected.
HDC TCanvas::Handle() {
    return Prepare(NeedFont | NeedPen | NeedBrush);
}

void TCanvas::SetHandle(HDC dc) {
    if (dc_ == dc) return;
    Deselect();
    dc_ = dc;
}

void TCanvas::Deselect() {
    if (!dc_) return;
    // Stock objects back in, so that ours can be deleted once nobody else holds them.
    if (selFont_) SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    if (selPen_) SelectObject(dc_, GetStockObject(BLACK_PEN));
    if (selBrush_) SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    selFont_.reset(), selPen_.reset(), selBrush_.reset();
}

HDC TCanvas::Prepare(uint8_t needs) {
    if (!dc_) CreateHandle();
    HDC dc = dc_;
    if (!dc) return nullptr;
    if (needs & NeedFont) {
        TGdiHandle h = font_->SharedHandle();
        if (h != selFont_) SelectObject(dc, h.get()), selFont_ = std::move(h);
        SetTextColor(dc, ColorToRGB(font_->Color()));
    }
    if (needs & NeedPen) {
        TGdiHandle h = pen_->SharedHandle();
        if (h != selPen_) SelectObject(dc, h.get()), selPen_ = std::move(h);
        static const int rop[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_NOP};
        SetROP2(dc, rop[pen_->Mode()]);
    }
    if (needs & NeedBrush) {
        TGdiHandle h = brush_->SharedHandle();
        if (h != selBrush_) SelectObject(dc, h.get()), selBrush_ = std::move(h);
        SetBkColor(dc, ColorToRGB(brush_->Color()));
        SetBkMode(dc, brush_->Style() == bsClear ? TRANSPARENT : OPAQUE);
    }
    return dc;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() const {
    POINT p{};
    if (dc_) GetCurrentPositionEx(dc_, &p);
    return p;
}

void TCanvas::MoveTo(int x, int y) {
    if (HDC dc = Prepare(0)) MoveToEx(dc, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    if (HDC dc = Prepare(NeedPen | NeedBrush)) Changing(), ::LineTo(dc, x, y), Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (HDC dc = Prepare(NeedPen | NeedBrush))
        Changing(), ::Polyline(dc, points.data(), static_cast<int>(points.size())), Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (HDC dc = Prepare(NeedPen | NeedBrush))
        Changing(), ::Polygon(dc, points.data(), static_cast<int>(points.size())), Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (HDC dc = Prepare(NeedPen | NeedBrush))
        Changing(), ::Rectangle(dc, left, top, right, bottom), Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (HDC dc = Prepare(NeedPen | NeedBrush)) Changing(), ::Ellipse(dc, left, top, right, bottom), Changed();
}

void TCanvas::FillRect(const TRect& r) {
    if (HDC dc = Prepare(NeedBrush)) Changing(), ::FillRect(dc, &r, brush_->Handle()), Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    if (HDC dc = Prepare(NeedBrush)) Changing(), ::FrameRect(dc, &r, brush_->Handle()), Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    if (HDC dc = Prepare(NeedBrush)) Changing(), ::DrawFocusRect(dc, &r), Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (HDC dc = Prepare(NeedFont | NeedBrush))
        Changing(), ::TextOut(dc, x, y, text.data(), static_cast<int>(text.size())), Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    HDC dc = Prepare(NeedFont | NeedBrush);
    if (!dc) return;
    UINT options = ETO_CLIPPED | (brush_->Style() == bsClear ? 0 : ETO_OPAQUE);
    Changing();
    ExtTextOut(dc, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const std::string& text) {
    SIZE s{};
    if (HDC dc = Prepare(NeedFont)) GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &s);
    return s;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty() || !Handle()) return;
    Changing();
    graphic->Draw(*this, Bounds(x, y, graphic->Width(), graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty() || !Handle()) return;
    Changing();
    graphic->Draw(*this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
    HDC dc = Prepare(NeedBrush);
    HDC src = source ? source->Handle() : nullptr;
    if (!dc || !src) return;
    Changing();
    StretchBlt(dc, dest.left, dest.top, RectWidth(dest), RectHeight(dest), src, sourceRect.left,
               sourceRect.top, RectWidth(sourceRect), RectHeight(sourceRect), CopyMode);
    Changed();
}

TColor TCanvas::Pixels(int x, int y) {
    HDC dc = Handle();
    if (!dc) return -1;
    COLORREF c = GetPixel(dc, x, y);
    return c == CLR_INVALID ? -1 : static_cast<TColor>(c & 0xFFFFFF);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    if (HDC dc = Handle()) Changing(), SetPixel(dc, x, y, ColorToRGB(color)), Changed();
}

TRect TCanvas::ClipRect() {
    RECT r{};
    if (HDC dc = Handle()) GetClipBox(dc, &r);
    return r;
}

// ---- TGraphic

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

// ---- TBitmap

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

} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    canvas_.reset();
    if (memDc_) DeleteDC(memDc_);
    if (bitmap_) DeleteObject(bitmap_);
}

void TBitmap::Make(int width, int height, TPixelFormat format, bool keep) {
    width = std::max(width, 0), height = std::max(height, 0);
    HBITMAP made = nullptr;
    if (width > 0 && height > 0) {
        int bits = BitsOf(format);
        std::vector<RGBQUAD> pal = DefaultPalette(bits);
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
        Make(b->width_, b->height_, b->format_, false);
        if (bitmap_)
            BitBlt(Canvas()->Handle(), 0, 0, width_, height_, src->Canvas()->Handle(), 0, 0, SRCCOPY);
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

void TBitmap::LoadFromStream(TStream& stream) {
    gdi::image::Image image;
    Decode(ReadRest(stream), image, "Bitmap image is not valid", true);
    FromImage(image);
}

void TBitmap::SaveToStream(TStream& stream) {
    gdi::image::Image image;
    ToImage(image);
    std::vector<uint8_t> data;
    std::string error;
    if (!gdi::image::WriteBmp(image, format_ == pf32bit ? 32 : 24, data, error)) throw EInvalidGraphic(error);
    stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TBitmap::LoadFromResourceName(const std::string& name) {
    gdi::image::Image image;
    Decode(FindResourceData(name), image, "Bitmap image is not valid", true);
    FromImage(image);
}

// ---- TIcon

TIcon::~TIcon() {
    if (icon_) DestroyIcon(icon_);
}

void TIcon::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) return SetHandle(nullptr);
    if (auto* i = dynamic_cast<const TIcon*>(source))
        return SetHandle(i->icon_ ? CopyIcon(i->icon_) : nullptr);
    if (auto* b = dynamic_cast<const TBitmap*>(source)) return FromBitmap(*const_cast<TBitmap*>(b));
    TPersistent::Assign(source);
}

int TIcon::Width() const {
    if (!icon_) return 0;
    ICONINFO info{};
    if (!GetIconInfo(icon_, &info)) return 0;
    BITMAP bm{};
    GetObject(info.hbmMask, sizeof bm, &bm);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return bm.bmWidth;
}

int TIcon::Height() const {
    if (!icon_) return 0;
    ICONINFO info{};
    if (!GetIconInfo(icon_, &info)) return 0;
    BITMAP bm{};
    HBITMAP from = info.hbmColor ? info.hbmColor : info.hbmMask;
    GetObject(from, sizeof bm, &bm);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
}

void TIcon::SetWidth(int width) {
    if (width != Width()) throw EInvalidGraphic("Cannot change the size of an icon");
}

void TIcon::SetHeight(int height) {
    if (height != Height()) throw EInvalidGraphic("Cannot change the size of an icon");
}

void TIcon::SetHandle(HICON icon) {
    if (icon == icon_) return;
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HICON h = icon_;
    icon_ = nullptr;
    return h;
}

void TIcon::FromImage(const gdi::image::Image& image) {
    TBitmap colour;
    colour.FromImage(image);
    FromBitmap(colour);
}

void TIcon::FromBitmap(TBitmap& bitmap) {
    if (bitmap.Empty()) return SetHandle(nullptr);
    int w = bitmap.Width(), h = bitmap.Height();
    // The mask: white where the picture is transparent (alpha 0, or the key colour without alpha).
    TBitmap mask;
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(w, h);
    gdi::image::Image image;
    bitmap.ToImage(image);
    bool alpha = bitmap.PixelFormat() == pf32bit;
    COLORREF key = ColorToRGB(bitmap.TransparentColor());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = image.At(x, y);
            bool clear = alpha ? (c >> 24) == 0 : RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF) == key;
            mask.Canvas()->SetPixels(x, y, clear ? clWhite : clBlack);
        }
    TBitmap colour;
    colour.Assign(&bitmap);
    colour.SetPixelFormat(pf32bit);
    if (!alpha) {
        // Opaque where the mask says so: the icon's alpha decides how it is drawn.
        gdi::PixelView v = gdi::FindBitmap(colour.Handle())->View();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t c = v.Get(x, y) & 0xFFFFFF;
                bool clear = RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF) == key;
                v.Put(x, y, clear ? 0 : (c | 0xFF000000u));
            }
    }
    ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
    HICON icon = CreateIconIndirect(&info);
    if (!icon) throw EInvalidGraphic("Icon image is not valid");
    SetHandle(icon);
}

void TIcon::LoadFromStream(TStream& stream) {
    gdi::image::Image image;
    Decode(ReadRest(stream), image, "Icon image is not valid");
    FromImage(image);
}

void TIcon::SaveToStream(TStream& stream) {
    if (!icon_) return;
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(Width(), Height());
    DrawIconEx(b.Canvas()->Handle(), 0, 0, icon_, 0, 0, 0, nullptr, DI_NORMAL);
    gdi::image::Image image;
    b.ToImage(image);
    std::vector<uint8_t> out;
    std::string error;
    if (!gdi::image::EncodeImage(image, gdi::image::ImageFormat::Png, {}, out, error))
        throw EInvalidGraphic(error);
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TIcon::LoadFromResourceName(const std::string& name) {
    gdi::image::Image image;
    Decode(FindResourceData(name), image, "Icon image is not valid");
    FromImage(image);
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) {
    if (icon_)
        DrawIconEx(canvas.Handle(), r.left, r.top, icon_, RectWidth(r), RectHeight(r), 0, nullptr, DI_NORMAL);
}

} // namespace gui

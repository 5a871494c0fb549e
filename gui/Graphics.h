#pragma once
// Colours, fonts, pens, brushes, the canvas and the graphics (TGraphic, TBitmap).  A canvas
// draws on any device context; the objects it selects live in shared handles, so a font
// changed while it is selected is deleted only once the canvas lets it go.
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "gui/Classes.h"
#include "gui/Streams.h"

#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace gdi::image {
struct Image;
}

namespace gui {

using TRect = RECT;
using TPoint = POINT;
using TSize = SIZE;

inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
inline TPoint Point(int x, int y) {
    return {x, y};
}
inline int RectWidth(const TRect& r) {
    return r.right - r.left;
}
inline int RectHeight(const TRect& r) {
    return r.bottom - r.top;
}

// 0x00BBGGRR, or 0xFF0000nn for system colour nn (negative as a TColor).
using TColor = int32_t;
constexpr TColor SysColor(int index) {
    return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index));
}
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clActiveCaption = SysColor(COLOR_ACTIVECAPTION),
                 clMenu = SysColor(COLOR_MENU), clWindow = SysColor(COLOR_WINDOW),
                 clWindowFrame = SysColor(COLOR_WINDOWFRAME), clMenuText = SysColor(COLOR_MENUTEXT),
                 clWindowText = SysColor(COLOR_WINDOWTEXT), clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clHighlight = SysColor(COLOR_HIGHLIGHT), clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT),
                 clBtnFace = SysColor(COLOR_BTNFACE), clBtnShadow = SysColor(COLOR_BTNSHADOW),
                 clGrayText = SysColor(COLOR_GRAYTEXT), clBtnText = SysColor(COLOR_BTNTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SysColor(COLOR_3DDKSHADOW),
                 cl3DLight = SysColor(COLOR_3DLIGHT), clInfoText = SysColor(COLOR_INFOTEXT),
                 clInfoBk = SysColor(COLOR_INFOBK);
COLORREF ColorToRGB(TColor color);

// A GDI object owned by whoever holds it (the graphics object and the canvases that have it selected).
using TGdiHandle = std::shared_ptr<GdiObjectTag>;

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;
enum TFontCharset : uint8_t { DEFAULT_CHARSET = 1, ANSI_CHARSET = 0, GB2312_CHARSET = 134 };

class TFont : public TGraphicsObject {
public:
    TFont();
    std::string ClassName() const override { return "TFont"; }
    void Assign(const TPersistent* source) override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const; // points at PixelsPerInch
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t charset);
    int PixelsPerInch = 96;

    HFONT Handle();
    TGdiHandle SharedHandle();

private:
    template <class T> void Set(T& field, const T& value);
    void Changed() override;
    std::string name_ = "宋体";
    int height_ = -12;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    uint8_t charset_ = DEFAULT_CHARSET;
    TGdiHandle handle_;
};

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psClear = 5, psInsideFrame };
enum TPenMode : uint8_t { pmCopy, pmNot, pmXor, pmNop };

class TPen : public TGraphicsObject {
public:
    std::string ClassName() const override { return "TPen"; }
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    TGdiHandle SharedHandle();

private:
    void Changed() override;
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TGdiHandle handle_;
};

enum TBrushStyle : uint8_t { bsSolid, bsClear };

class TBitmap;

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    std::string ClassName() const override { return "TBrush"; }
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern brush from a copy of the bitmap; null returns to the colour.
    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* bitmap);
    HBRUSH Handle();
    TGdiHandle SharedHandle();

private:
    void Changed() override;
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    std::unique_ptr<TBitmap> bitmap_;
    TGdiHandle handle_;
};

class TGraphic;

// Copy modes of CopyRect and Draw: the raster operations of BitBlt.
using TCopyMode = DWORD;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    std::string ClassName() const override { return "TCanvas"; }

    // The device context, made on demand by CreateHandle (null for a plain canvas without one).
    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    TPen* Pen() const { return pen_.get(); }
    TBrush* Brush() const { return brush_.get(); }
    TCopyMode CopyMode = SRCCOPY;

    TPoint PenPos() const;
    void SetPenPos(TPoint p) { MoveTo(p.x, p.y); }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    void TextOut(int x, int y, const std::string& text);
    // Text clipped to r (opaque with the brush unless the brush is clear).
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    TRect ClipRect();

    // Drawing from another thread (the player's frames) locks the canvas.
    void Lock() { lock_.lock(); }
    void Unlock() { lock_.unlock(); }

    TNotifyEvent OnChange, OnChanging;

protected:
    virtual void CreateHandle() {}
    enum : uint8_t { NeedFont = 1, NeedPen = 2, NeedBrush = 4 };
    // A DC with the objects selected that the operation needs; null when there is none.
    HDC Prepare(uint8_t needs);
    void Changing();
    void Changed();
    void Deselect();

private:
    HDC dc_ = nullptr;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    TGdiHandle selFont_, selPen_, selBrush_;
    std::recursive_mutex lock_;
};

// What every picture class offers: size, drawing on a canvas, streams and files.
class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);
    // Raises EInvalidGraphic for data it cannot read.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    virtual void Draw(TCanvas& canvas, const TRect& r) = 0;
    // The rest of the stream.
    static std::vector<uint8_t> ReadRest(TStream& stream);
    // One picture file of any kind we read (or BMP only); EInvalidGraphic(invalid) for anything else.
    static void Decode(std::span<const uint8_t> data, gdi::image::Image& out, const std::string& invalid,
                       bool bmpOnly = false);
    virtual void Changed();
    bool transparent_ = false;
};

class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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
    void Make(int width, int height, TPixelFormat format, bool keep);
    int width_ = 0, height_ = 0;
    TPixelFormat format_ = pfDevice;
    TColor transparentColor_ = clDefault;
    HBITMAP bitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    HDC memDc_ = nullptr;
};

// An icon: a colour picture with a transparency mask, drawn at any size.  Icons load from
// any picture file the picture classes read (PNG keeps its alpha), from a resource, or adopt
// an icon handle.
class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    std::string ClassName() const override { return "TIcon"; }
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;
    // An icon's size is its picture's: EInvalidGraphic ("Cannot change the size of an icon").
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    bool Transparent() const override { return true; }

    HICON Handle() const { return icon_; }
    // The icon owns the handle from here on.
    void SetHandle(HICON icon);
    // The handle is the caller's from here on.
    HICON ReleaseHandle();

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void LoadFromResourceName(const std::string& name);
    // A 32-bit picture with alpha (or a key colour of other pictures' bottom-left pixel).
    void FromBitmap(TBitmap& bitmap);

protected:
    void Draw(TCanvas& canvas, const TRect& r) override;

private:
    void FromImage(const gdi::image::Image& image);
    HICON icon_ = nullptr;
};

} // namespace gui

#pragma once
// TbsBitmap: the skin engine's 32-bit bitmap with per-pixel alpha.  Its pixels sit in a
// top-down section that both GDI drawing (through DC or Canvas) and the engine's own pixel
// arithmetic reach.  Drawing blends by alpha (AlphaBlend), skips key-colour pixels
// (Transparent) or copies; AlphaBlend wins over Transparent.  A draw or tile whose target DC
// belongs to another TbsBitmap works on that bitmap's pixels directly.
#include "gui/Graphics.h"
#include "skin/engine/PixelRoutines.h"

#include <memory>
#include <string>

namespace skin {

class TbsBitmapLink;

class TbsBitmap : public gui::TPersistent {
public:
    TbsBitmap();
    ~TbsBitmap() override;
    TbsBitmap(const TbsBitmap&) = delete;
    TbsBitmap& operator=(const TbsBitmap&) = delete;
    std::string ClassName() const override { return "TbsBitmap"; }

    // Absolute values; zero or the current size does nothing.  New pixels are all 0.
    void SetSize(int AWidth, int AHeight);
    bool Empty() const { return FHandle == nullptr; }
    void Clear(TbsColor Color);

    HBITMAP Handle() const { return FHandle; }
    HDC DC() const { return FDC; }
    gui::TCanvas* Canvas();
    TbsColor* Bits() const { return FBits; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TbsColor& Pixel(int x, int y) { return FBits[static_cast<ptrdiff_t>(y) * FWidth + x]; }
    TbsColor Pixel(int x, int y) const { return FBits[static_cast<ptrdiff_t>(y) * FWidth + x]; }

    bool AlphaBlend = false;
    bool Transparent = false;
    std::string Name;
    bool NewFormat = false;

    // From a TbsBitmap, a TBitmap, any TGraphic or a TPicture; see the source for the rules.
    void Assign(const gui::TPersistent* Source) override;
    void DrawGraphic(gui::TGraphic* Graphic, const gui::TRect& DstRect);

    // AlphaBlend := some alpha other than 0 and 255.
    void CheckingAlphaBlend();
    void CheckingAlphaBlend(const gui::TRect&) { CheckingAlphaBlend(); }
    // Pixels within 5 of Color in every channel become the key colour with alpha 0.
    void CheckingTransparent(TbsColor Color);
    void CheckingTransparent(TbsColor Color, const gui::TRect&) { CheckingTransparent(Color); }
    void SetAlpha(uint8_t Alpha);
    void SetAlpha(uint8_t Alpha, const gui::TRect& Rect);
    void FillRect(const gui::TRect& R, TbsColor Color);

    // Onto a device context (or the canvas's), unscaled or stretched.
    void Draw(HDC DC, int X, int Y);
    void Draw(HDC DC, int X, int Y, const gui::TRect& SrcRect);
    void Draw(HDC DC, const gui::TRect& DstRect);
    void Draw(HDC DC, const gui::TRect& DstRect, const gui::TRect& SrcRect);
    void Draw(gui::TCanvas* Canvas, int X, int Y) { Draw(Canvas->Handle(), X, Y); }
    void Draw(gui::TCanvas* Canvas, int X, int Y, const gui::TRect& SrcRect) {
        Draw(Canvas->Handle(), X, Y, SrcRect);
    }
    void Draw(gui::TCanvas* Canvas, const gui::TRect& DstRect) { Draw(Canvas->Handle(), DstRect); }
    void Draw(gui::TCanvas* Canvas, const gui::TRect& DstRect, const gui::TRect& SrcRect) {
        Draw(Canvas->Handle(), DstRect, SrcRect);
    }
    // Into another bitmap.
    void Draw(TbsBitmap& Bitmap, int X, int Y);
    void Draw(TbsBitmap& Bitmap, int X, int Y, const gui::TRect& SrcRect);
    void Draw(TbsBitmap& Bitmap, const gui::TRect& DstRect);
    void Draw(TbsBitmap& Bitmap, const gui::TRect& DstRect, const gui::TRect& SrcRect);

    // SrcRect repeated over DstRect, unscaled, cut tiles taking SrcRect's top-left part.
    void Tile(HDC DC, const gui::TRect& DstRect, const gui::TRect& SrcRect);
    void Tile(gui::TCanvas* Canvas, const gui::TRect& DstRect, const gui::TRect& SrcRect) {
        Tile(Canvas->Handle(), DstRect, SrcRect);
    }
    void Tile(TbsBitmap& Bitmap, const gui::TRect& DstRect, const gui::TRect& SrcRect);
    // Only the tiles that meet DstClip (an empty clip: all).
    void TileClip(HDC DC, const gui::TRect& DstRect, const gui::TRect& DstClip, const gui::TRect& SrcRect);
    void TileClip(gui::TCanvas* Canvas, const gui::TRect& DstRect, const gui::TRect& DstClip,
                  const gui::TRect& SrcRect) {
        TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
    }
    void TileClip(TbsBitmap& Bitmap, const gui::TRect& DstRect, const gui::TRect& DstClip,
                  const gui::TRect& SrcRect);
    // Puts Bitmap's SrcRect behind this bitmap at X, Y: fills transparent pixels, blends under
    // translucent ones, leaves opaque ones.
    void MergeDraw(TbsBitmap& Bitmap, int X, int Y, const gui::TRect& SrcRect);

    // Loading and saving.  A resource is one compiled into the program; ResFileName is kept
    // for the callers' sake and must name this program or be empty.
    void LoadFromResource(const std::string& ResFileName, const std::string& ResName);
    void SaveToStream(gui::TStream& Stream);
    void LoadFromStream(gui::TStream& Stream);
    void LoadFromPcxStream(gui::TStream& Stream);

    // Colour changes; pixels with alpha 0 stay as they are, every alpha is kept.
    void ChangeBitmapBrightness(int DeltaBrightness);
    void SetBitmapHue(int Hue);
    void ChangeBitmapSat(int DeltaSat);
    void ChangeBitmapHue(int DeltaHue);
    void FlipVert();
    void Reflection();
    void Reflection2();
    void Reflection3();

    std::unique_ptr<TbsBitmapLink> GetBitmapLink(const gui::TRect& Rect);
    std::unique_ptr<TbsBitmapLink> GetBitmapLink(const std::string& Rect);

protected:
    void AssignTo(gui::TPersistent* Dest) const override;

private:
    void Release();
    void CopyRows(TbsBitmap& target, const gui::TRect& clip, int sx, int sy);
    void StretchRows(TbsBitmap& target, const gui::TRect& clip, const gui::TRect& dst, const gui::TRect& src);
    void DrawToDCOpaque(HDC dc, const gui::TRect& dst, const gui::TRect& src);
    void DrawToDCThroughBitmap(HDC dc, const gui::TRect& dst, const gui::TRect& src);
    void DrawToDib(HDC dc, const gui::TRect& dst, const gui::TRect& src);
    void ReflectionBy(int k);
    template <class F> void ForEachTile(const gui::TRect& dst, const gui::TRect& src, F&& fn);

    TbsColor* FBits = nullptr;
    int FWidth = 0, FHeight = 0;
    HBITMAP FHandle = nullptr;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    std::unique_ptr<gui::TCanvas> FCanvas;
};

// The registered bitmap that owns dc, or null.
TbsBitmap* FindBitmapByDC(HDC DC);
// Fills the drawing-strategy choice; run by the engine's start-up.
void InitDrawRoutines();
// What the DC has selected when it is a device-independent section; zeros otherwise.
gdi::DibInfo GetDCDibInfo(HDC DC);

// The class library's colour as a pixel: 0xFFRRGGBB (system colours resolved).
TbsColor ColorToPixel(gui::TColor Color);

} // namespace skin

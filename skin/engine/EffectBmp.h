#pragma once
// TbsEffectBmp: a 24-bit picture (blue, green, red; top-down rows padded to 4 bytes) that the
// engine rewrites in place: the hover transitions between a control's normal and active
// images, the effects of an inactive frame, rotations and flips.  It lives for one paint:
// made from a bitmap, transformed, drawn, freed.
#include "gdi/Bitmap.h"
#include "gui/Graphics.h"
#include "skin/core/SkinTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace skin {

class TbsEffectBmp {
public:
    // Black, cx by cy.
    TbsEffectBmp(int cx, int cy);
    TbsEffectBmp(const TbsEffectBmp&) = delete;
    TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;
    // The pixels of a bitmap handle.
    static std::unique_ptr<TbsEffectBmp> CreateFromhWnd(HBITMAP hBmp);
    static std::unique_ptr<TbsEffectBmp> CreateCopy(const TbsEffectBmp& hBmp);

    int Width = 0, Height = 0;
    int Size = 0; // RowSize() * Height
    uint8_t* Bits = nullptr;
    BITMAPINFOHEADER BmpHeader{};
    BITMAPINFO BmpInfo{};

    int RowSize() const { return Width * 3 + Width % 4; }
    uint8_t* ScanLineAddress(int y) { return Bits + static_cast<ptrdiff_t>(y) * RowSize(); }
    void GetScanLine(int y, uint8_t* Line);
    void PutScanLine(int y, const uint8_t* Line);
    uint32_t GetPixel(int x, int y) const; // 0x00RRGGBB
    void SetPixel(int x, int y, uint32_t c);

    void Draw(HDC dc, int x, int y);
    void Stretch(HDC dc, int x, int y, int cx, int cy);
    // Part (x, y, cx, cy) of the picture at (hx, hy), unscaled.
    void DrawRect(HDC dc, int hx, int hy, int x, int y, int cx, int cy);
    // Enlarges into Dst by repeating each pixel as a block.
    void Resize(TbsEffectBmp& Dst);

    // Transitions towards BMP (same size, else nothing), Kf between 0 and 1.
    void Morph(TbsEffectBmp& BMP, double Kf);
    void MorphGrad(TbsEffectBmp& BMP, double Kf);
    void MorphHGrad(TbsEffectBmp& BMP, double Kf);
    void MorphVGrad(TbsEffectBmp& BMP, double Kf);
    void MorphLeftGrad(TbsEffectBmp& BMP, double Kf);
    void MorphRightGrad(TbsEffectBmp& BMP, double Kf);
    void MorphLeftSlide(TbsEffectBmp& BMP, double Kf);
    void MorphRightSlide(TbsEffectBmp& BMP, double Kf);
    void MorphPush(TbsEffectBmp& BMP, double Kf);
    void MorphRect(TbsEffectBmp& BMP, double Kf, const gui::TRect& Rct, int StartX, int StartY);
    // Rct's right and bottom are inclusive here.
    void CopyRect(TbsEffectBmp& BMP, const gui::TRect& Rct, int StartX, int StartY);
    void Transition(TbsMorphKind Kind, TbsEffectBmp& BMP, double Kf);

    // Effects in place.
    void ChangeBrightness(double Kf);
    void ChangeDarkness(double Kf);
    void GrayScale();
    void Invert();
    void SplitBlur(int Amount);
    void Mosaic(int ASize);
    void AddMonoNoise(int Amount);
    void AddColorNoise(int Amount);
    void Wave(int XDIV, int YDIV, int RatioVal);
    void MaskAntialiasing(TbsEffectBmp& Msk, int Amount);
    void MaskBlur(TbsEffectBmp& Msk, int Amount);
    void MaskFillColor(TbsEffectBmp& Msk, gui::TColor C, double kf);
    void InActiveEffect(TbsInActiveEffect Effect);

    // Into Dst, which must have the matching size (else nothing).
    void Rotate90_1(TbsEffectBmp& Dst);
    void Rotate90_2(TbsEffectBmp& Dst);
    void FlipVert(TbsEffectBmp& Dst);

private:
    bool SameSize(const TbsEffectBmp& b) const { return b.Width == Width && b.Height == Height; }
    void FourAverage(int x, int y, int Amount, uint8_t* out);
    std::vector<uint8_t> storage_;
};

} // namespace skin

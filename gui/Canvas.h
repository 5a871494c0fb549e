#pragma once
// A canvas draws on any device context with its font, pen and brush.
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Objects.h"
#include "gui/Brush.h"
#include "gui/Font.h"
#include "gui/Fwd.h"
#include "gui/Geometry.h"
#include "gui/Pen.h"

#include <memory>
#include <mutex>
#include <span>
#include <string>

namespace gui {

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

} // namespace gui

#include "gui/Canvas.h"

#include "gdi/Draw.h"
#include "gui/Graphic.h"

namespace gui {

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

} // namespace gui

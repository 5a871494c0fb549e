#pragma once
// The DC object behind an HDC, shared by the drawing files of this library.
#include "gdi/Bitmap.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"

#include <memory>
#include <optional>
#include <vector>

namespace gdi {

struct DcState {
    POINT windowOrg{}, viewportOrg{};
    std::optional<Region> clip; // device units
    HGDIOBJ bitmap = nullptr, brush = nullptr, pen = nullptr, font = nullptr;
    std::shared_ptr<Bitmap> target; // memory DCs: the selected bitmap
    COLORREF textColor = 0, bkColor = RGB(255, 255, 255), dcBrush = RGB(255, 255, 255), dcPen = 0;
    int bkMode = 2, rop2 = 13, stretchMode = 1;
    UINT textAlign = 0;
    POINT brushOrg{}, pos{};
};

struct Dc {
    bool memory = true;
    std::shared_ptr<Bitmap> surface; // window DCs
    POINT origin{};                  // device (0,0) on the surface
    Region visible;                  // window DCs, device units
    DcState s;
    std::vector<DcState> saved;

    Bitmap* Target() const { return memory ? s.target.get() : surface.get(); }
    PixelView View() const {
        Bitmap* b = Target();
        return b ? b->View() : PixelView{};
    }
    // Logical to surface coordinates.
    int TX(int x) const { return x - s.windowOrg.x + s.viewportOrg.x + origin.x; }
    int TY(int y) const { return y - s.windowOrg.y + s.viewportOrg.y + origin.y; }
    // The area drawing may touch, in surface coordinates.
    const Region& Clip() const;
    void Dirty() { cache_.reset(); }
    // The selected brush and pen with their resolved colours; null when the
    // brush or pen draws nothing.
    const Brush* CurBrush(COLORREF& color) const;
    const Pen* CurPen(COLORREF& color) const;

private:
    mutable std::optional<Region> cache_;
};

Dc* FindDc(HDC dc);

// Fills r (surface coordinates, already clipped) with the brush.
void FillWithBrush(const PixelView& v, const RECT& r, const Brush& b, COLORREF solid, POINT brushOrg);

} // namespace gdi

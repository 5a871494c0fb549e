#pragma once
// Regions: a banded list of rectangles.  Each band is a run of rows with the
// same set of sorted, disjoint, non-touching spans; bands are sorted, disjoint
// and vertically coalesced, so two equal areas always have equal data.  Masks
// of tens of thousands of runs combine in one sweep.
#include "gdi/GdiTypes.h"

#include <cstddef>
#include <vector>

namespace gdi {

class Region {
public:
    struct Span {
        int left, right;
        friend bool operator==(const Span&, const Span&) = default;
    };
    struct Band {
        int top, bottom;
        uint32_t first, count; // into spans()
    };
    enum class Op { And, Or, Xor, Diff };

    Region() = default;
    explicit Region(const RECT& r) { SetRect(r); }
    // Any rectangles in any order, overlapping or not.
    static Region FromRects(const RECT* rects, size_t count);

    void SetRect(const RECT& r);
    void Clear();
    bool Empty() const { return bands_.empty(); }
    bool IsRect() const { return bands_.size() == 1 && bands_[0].count == 1; }
    RECT Box() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& r) const;
    void Offset(int dx, int dy);
    static Region Combine(const Region& a, const Region& b, Op op);
    friend bool operator==(const Region& a, const Region& b);

    const std::vector<Band>& bands() const { return bands_; }
    const std::vector<Span>& spans() const { return spans_; }
    std::vector<RECT> Rects() const;
    // Calls fn(RECT) for every piece of the region inside r.
    template <class F> void ForEachRectIn(const RECT& r, F&& fn) const;
    // Calls fn(left, right) for every span of row y between x0 and x1.
    template <class F> void ForEachSpanInRow(int y, int x0, int x1, F&& fn) const;

private:
    const Band* BandAt(int y) const;
    void AppendBand(int top, int bottom, const std::vector<Span>& spans);

    std::vector<Band> bands_;
    std::vector<Span> spans_;
};

template <class F> void Region::ForEachRectIn(const RECT& r, F&& fn) const {
    if (r.right <= r.left || r.bottom <= r.top) return;
    for (const Band& b : bands_) {
        if (b.bottom <= r.top) continue;
        if (b.top >= r.bottom) break;
        int top = b.top > r.top ? b.top : r.top, bottom = b.bottom < r.bottom ? b.bottom : r.bottom;
        for (uint32_t i = b.first; i < b.first + b.count; ++i) {
            const Span& s = spans_[i];
            if (s.right <= r.left) continue;
            if (s.left >= r.right) break;
            fn(RECT{s.left > r.left ? s.left : r.left, top, s.right < r.right ? s.right : r.right, bottom});
        }
    }
}

template <class F> void Region::ForEachSpanInRow(int y, int x0, int x1, F&& fn) const {
    const Band* b = BandAt(y);
    if (!b) return;
    for (uint32_t i = b->first; i < b->first + b->count; ++i) {
        const Span& s = spans_[i];
        if (s.right <= x0) continue;
        if (s.left >= x1) break;
        fn(s.left > x0 ? s.left : x0, s.right < x1 ? s.right : x1);
    }
}

} // namespace gdi

// Region data as the skin hands it over: a 32-byte header, then 16-byte rects.
struct RGNDATAHEADER {
    DWORD dwSize; // 32
    DWORD iType;  // RDH_RECTANGLES
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
};
struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};
struct XFORM;
constexpr DWORD RDH_RECTANGLES = 1;

enum : int { ERROR_REGION = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
#ifndef ERROR
constexpr int ERROR = 0;
#endif

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* r);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
// A null transform only; size is the byte size of data.
HRGN ExtCreateRegion(const XFORM* xform, DWORD size, const RGNDATA* data);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode); // dst may be a or b
int OffsetRgn(HRGN rgn, int dx, int dy);
int GetRgnBox(HRGN rgn, RECT* box);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* r);
BOOL EqualRgn(HRGN a, HRGN b);
// Bytes needed when data is null or size too small; else the bytes written.
DWORD GetRegionData(HRGN rgn, DWORD size, RGNDATA* data);

namespace gdi {
Region* RegionOf(HRGN rgn);      // null for a stale or foreign handle
int Complexity(const Region& r); // NULLREGION, SIMPLEREGION or COMPLEXREGION
HRGN CreateRegionHandle(Region r);
} // namespace gdi

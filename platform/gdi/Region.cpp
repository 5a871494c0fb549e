#include "gdi/Region.h"

#include "gdi/Objects.h"
#include "gdi/Raster.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace gdi {

namespace {

struct RegionObject : Object {
    RegionObject() : Object(OBJ_REGION) {}
    Region rgn;
};

bool Apply(Region::Op op, bool a, bool b) {
    switch (op) {
    case Region::Op::And:
        return a && b;
    case Region::Op::Or:
        return a || b;
    case Region::Op::Xor:
        return a != b;
    case Region::Op::Diff:
        return a && !b;
    }
    return false;
}

// One-dimensional version of the band sweep below.
void CombineSpans(const Region::Span* a, size_t na, const Region::Span* b, size_t nb, Region::Op op,
                  std::vector<Region::Span>& out) {
    out.clear();
    size_t i = 0, j = 0;
    int x = INT_MIN;
    for (;;) {
        while (i < na && a[i].right <= x) ++i;
        while (j < nb && b[j].right <= x) ++j;
        if (i >= na && j >= nb) break;
        int first = std::min(i < na ? a[i].left : INT_MAX, j < nb ? b[j].left : INT_MAX);
        if (x < first) x = first;
        bool inA = i < na && a[i].left <= x, inB = j < nb && b[j].left <= x;
        int next = INT_MAX;
        if (i < na) next = std::min(next, inA ? a[i].right : a[i].left);
        if (j < nb) next = std::min(next, inB ? b[j].right : b[j].left);
        if (Apply(op, inA, inB)) {
            if (!out.empty() && out.back().right == x)
                out.back().right = next;
            else
                out.push_back({x, next});
        }
        x = next;
    }
}

} // namespace

void Region::Clear() {
    bands_.clear();
    spans_.clear();
}

void Region::SetRect(const RECT& r) {
    Clear();
    if (r.right <= r.left || r.bottom <= r.top) return;
    spans_.push_back({r.left, r.right});
    bands_.push_back({r.top, r.bottom, 0, 1});
}

void Region::AppendBand(int top, int bottom, const std::vector<Span>& spans) {
    if (spans.empty() || bottom <= top) return;
    if (!bands_.empty()) {
        Band& last = bands_.back();
        if (last.bottom == top && last.count == spans.size() &&
            std::equal(spans.begin(), spans.end(), spans_.begin() + last.first)) {
            last.bottom = bottom;
            return;
        }
    }
    bands_.push_back(
        {top, bottom, static_cast<uint32_t>(spans_.size()), static_cast<uint32_t>(spans.size())});
    spans_.insert(spans_.end(), spans.begin(), spans.end());
}

Region Region::FromRects(const RECT* rects, size_t count) {
    std::vector<const RECT*> byTop;
    std::vector<int> ys;
    byTop.reserve(count);
    ys.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        const RECT& r = rects[i];
        if (r.right <= r.left || r.bottom <= r.top) continue;
        byTop.push_back(&r);
        ys.push_back(r.top);
        ys.push_back(r.bottom);
    }
    std::stable_sort(byTop.begin(), byTop.end(),
                     [](const RECT* a, const RECT* b) { return a->top < b->top; });
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Region out;
    std::vector<const RECT*> active;
    std::vector<Span> spans, merged;
    size_t next = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y = ys[k];
        std::erase_if(active, [y](const RECT* r) { return r->bottom <= y; });
        while (next < byTop.size() && byTop[next]->top <= y) active.push_back(byTop[next++]);
        spans.clear();
        for (const RECT* r : active) spans.push_back({r->left, r->right});
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
        merged.clear();
        for (const Span& s : spans) {
            if (!merged.empty() && s.left <= merged.back().right)
                merged.back().right = std::max(merged.back().right, s.right);
            else
                merged.push_back(s);
        }
        out.AppendBand(y, ys[k + 1], merged);
    }
    return out;
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
    Region out;
    const auto &A = a.bands_, &B = b.bands_;
    size_t ia = 0, ib = 0;
    int y = INT_MIN;
    std::vector<Span> spans;
    for (;;) {
        while (ia < A.size() && A[ia].bottom <= y) ++ia;
        while (ib < B.size() && B[ib].bottom <= y) ++ib;
        if (ia >= A.size() && ib >= B.size()) break;
        int first = std::min(ia < A.size() ? A[ia].top : INT_MAX, ib < B.size() ? B[ib].top : INT_MAX);
        if (y < first) y = first;
        bool inA = ia < A.size() && A[ia].top <= y, inB = ib < B.size() && B[ib].top <= y;
        int next = INT_MAX;
        if (ia < A.size()) next = std::min(next, inA ? A[ia].bottom : A[ia].top);
        if (ib < B.size()) next = std::min(next, inB ? B[ib].bottom : B[ib].top);
        const Span* sa = inA ? &a.spans_[A[ia].first] : nullptr;
        const Span* sb = inB ? &b.spans_[B[ib].first] : nullptr;
        CombineSpans(sa, inA ? A[ia].count : 0, sb, inB ? B[ib].count : 0, op, spans);
        out.AppendBand(y, next, spans);
        y = next;
    }
    return out;
}

RECT Region::Box() const {
    if (bands_.empty()) return {};
    RECT r{INT_MAX, bands_.front().top, INT_MIN, bands_.back().bottom};
    for (const Band& b : bands_) {
        r.left = std::min(r.left, spans_[b.first].left);
        r.right = std::max(r.right, spans_[b.first + b.count - 1].right);
    }
    return r;
}

const Region::Band* Region::BandAt(int y) const {
    auto it =
        std::upper_bound(bands_.begin(), bands_.end(), y, [](int v, const Band& b) { return v < b.bottom; });
    if (it == bands_.end() || it->top > y) return nullptr;
    return &*it;
}

bool Region::Contains(int x, int y) const {
    const Band* b = BandAt(y);
    if (!b) return false;
    auto first = spans_.begin() + b->first, last = first + b->count;
    auto it = std::upper_bound(first, last, x, [](int v, const Span& s) { return v < s.right; });
    return it != last && it->left <= x;
}

bool Region::Intersects(const RECT& r) const {
    bool any = false;
    ForEachRectIn(r, [&](const RECT&) { any = true; });
    return any;
}

void Region::Offset(int dx, int dy) {
    for (Band& b : bands_) b.top += dy, b.bottom += dy;
    for (Span& s : spans_) s.left += dx, s.right += dx;
}

bool operator==(const Region& a, const Region& b) {
    if (a.bands_.size() != b.bands_.size() || a.spans_ != b.spans_) return false;
    for (size_t i = 0; i < a.bands_.size(); ++i)
        if (a.bands_[i].top != b.bands_[i].top || a.bands_[i].bottom != b.bands_[i].bottom ||
            a.bands_[i].count != b.bands_[i].count)
            return false;
    return true;
}

std::vector<RECT> Region::Rects() const {
    std::vector<RECT> out;
    out.reserve(spans_.size());
    for (const Band& b : bands_)
        for (uint32_t i = b.first; i < b.first + b.count; ++i)
            out.push_back({spans_[i].left, b.top, spans_[i].right, b.bottom});
    return out;
}

int Complexity(const Region& r) {
    return r.Empty() ? NULLREGION : r.IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

Region* RegionOf(HRGN rgn) {
    auto* o = Find<RegionObject>(rgn, OBJ_REGION);
    return o ? &o->rgn : nullptr;
}

HRGN CreateRegionHandle(Region r) {
    auto o = std::make_unique<RegionObject>();
    o->rgn = std::move(r);
    return static_cast<HRGN>(AddObject(std::move(o)));
}

} // namespace gdi

using gdi::Region;
using gdi::RegionOf;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    // Reversed corners are put in order, as Win32 does.
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    return gdi::CreateRegionHandle(Region(r));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
    return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    std::vector<RECT> rows;
    gdi::EllipseSpans({left, top, right, bottom}, [&](int y, int x0, int x1) {
        rows.push_back({x0, y, x1, y + 1});
    });
    return gdi::CreateRegionHandle(Region::FromRects(rows.data(), rows.size()));
}

HRGN ExtCreateRegion(const XFORM* xform, DWORD size, const RGNDATA* data) {
    if (xform || !data || size < sizeof(RGNDATAHEADER)) return nullptr;
    const RGNDATAHEADER& h = data->rdh;
    if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
    if (static_cast<uint64_t>(h.nCount) * sizeof(RECT) > size - sizeof(RGNDATAHEADER)) return nullptr;
    std::vector<RECT> rects(h.nCount);
    if (h.nCount) std::memcpy(rects.data(), data->Buffer, h.nCount * sizeof(RECT));
    return gdi::CreateRegionHandle(Region::FromRects(rects.data(), rects.size()));
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    Region* r = RegionOf(rgn);
    if (!r) return FALSE;
    r->SetRect({std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
    return TRUE;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
    Region* d = RegionOf(dst);
    Region* ra = RegionOf(a);
    if (!d || !ra) return ERROR_REGION;
    if (mode == RGN_COPY) {
        *d = *ra;
        return gdi::Complexity(*d);
    }
    Region* rb = RegionOf(b);
    if (!rb) return ERROR_REGION;
    Region::Op op;
    switch (mode) {
    case RGN_AND:
        op = Region::Op::And;
        break;
    case RGN_OR:
        op = Region::Op::Or;
        break;
    case RGN_XOR:
        op = Region::Op::Xor;
        break;
    case RGN_DIFF:
        op = Region::Op::Diff;
        break;
    default:
        return ERROR_REGION;
    }
    *d = Region::Combine(*ra, *rb, op);
    return gdi::Complexity(*d);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    Region* r = RegionOf(rgn);
    if (!r) return ERROR_REGION;
    r->Offset(dx, dy);
    return gdi::Complexity(*r);
}

int GetRgnBox(HRGN rgn, RECT* box) {
    Region* r = RegionOf(rgn);
    if (!r || !box) return ERROR_REGION;
    *box = r->Box();
    return gdi::Complexity(*r);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    Region* r = RegionOf(rgn);
    return r && r->Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
    Region* r = RegionOf(rgn);
    return r && rc && r->Intersects(*rc);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    Region *ra = RegionOf(a), *rb = RegionOf(b);
    return ra && rb && *ra == *rb;
}

DWORD GetRegionData(HRGN rgn, DWORD size, RGNDATA* data) {
    Region* r = RegionOf(rgn);
    if (!r) return 0;
    std::vector<RECT> rects = r->Rects();
    DWORD need = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data || size < need) return need;
    data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                 static_cast<DWORD>(rects.size() * sizeof(RECT)), r->Box()};
    if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return need;
}

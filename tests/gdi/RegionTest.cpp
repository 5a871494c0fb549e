#include "gdi/Region.h"
#include "gdi/Objects.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <vector>

using gdi::Region;

namespace {

// A brute-force model: the set of covered pixels.
std::set<std::pair<int, int>> Pixels(const Region& r) {
    std::set<std::pair<int, int>> s;
    for (const RECT& rc : r.Rects())
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) s.insert({x, y});
    return s;
}

std::vector<char> RgnData(const std::vector<RECT>& rects) {
    std::vector<char> buf(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* d = reinterpret_cast<RGNDATA*>(buf.data());
    d->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()), 0, {}};
    std::memcpy(d->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return buf;
}

} // namespace

TEST(Region, LayoutIsBandedAndCoalesced) {
    // Two overlapping rectangles: three bands, the middle one with one merged span.
    RECT rs[] = {
        {0, 0, 10, 10},
        {5, 5, 20, 15}
    };
    Region r = Region::FromRects(rs, 2);
    std::vector<RECT> want = {
        {0, 0,  10, 5 },
        {0, 5,  20, 10},
        {5, 10, 20, 15}
    };
    EXPECT_EQ(r.Rects(), want);
    // Stacked equal rows coalesce into one band.
    RECT rows[] = {
        {2, 0, 4, 1},
        {2, 1, 4, 2},
        {2, 2, 4, 3}
    };
    EXPECT_TRUE(Region::FromRects(rows, 3).IsRect());
    // Touching spans merge.
    RECT touching[] = {
        {0, 0, 5, 1},
        {5, 0, 9, 1}
    };
    EXPECT_EQ(Region::FromRects(touching, 2).Rects(), std::vector<RECT>{RECT({0, 0, 9, 1})});
}

TEST(Region, CombineMatchesPixelModelForEveryOp) {
    std::mt19937 rng(7);
    auto randomRegion = [&] {
        std::vector<RECT> rs;
        for (int i = 0; i < 12; ++i) {
            int x = rng() % 30, y = rng() % 30;
            rs.push_back({x, y, x + 1 + int(rng() % 12), y + 1 + int(rng() % 12)});
        }
        return Region::FromRects(rs.data(), rs.size());
    };
    for (int round = 0; round < 40; ++round) {
        Region a = randomRegion(), b = randomRegion();
        auto pa = Pixels(a), pb = Pixels(b);
        for (auto op : {Region::Op::And, Region::Op::Or, Region::Op::Xor, Region::Op::Diff}) {
            std::set<std::pair<int, int>> want;
            for (int y = 0; y < 50; ++y)
                for (int x = 0; x < 50; ++x) {
                    bool ia = pa.count({x, y}), ib = pb.count({x, y});
                    bool in = op == Region::Op::And   ? ia && ib
                              : op == Region::Op::Or  ? ia || ib
                              : op == Region::Op::Xor ? ia != ib
                                                      : ia && !ib;
                    if (in) want.insert({x, y});
                }
            Region c = Region::Combine(a, b, op);
            ASSERT_EQ(Pixels(c), want) << "round " << round << " op " << int(op);
            // Canonical form: the same area built another way compares equal.
            std::vector<RECT> rects = c.Rects();
            std::shuffle(rects.begin(), rects.end(), rng);
            EXPECT_TRUE(Region::FromRects(rects.data(), rects.size()) == c);
            for (int k = 0; k < 20; ++k) {
                int x = rng() % 50, y = rng() % 50;
                EXPECT_EQ(c.Contains(x, y), want.count({x, y}) == 1);
            }
        }
    }
}

TEST(Region, ExtCreateRegionTakesAMaskOfManyRuns) {
    // A checkerboard-ish mask: 200 rows of 60 runs = 12000 one-pixel-high rectangles.
    std::vector<RECT> runs;
    for (int y = 0; y < 200; ++y)
        for (int k = 0; k < 60; ++k) runs.push_back({k * 4 + (y & 1), y, k * 4 + (y & 1) + 2, y + 1});
    auto data = RgnData(runs);
    HRGN rgn =
        ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    ASSERT_NE(rgn, nullptr);
    EXPECT_TRUE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, 2, 0));
    EXPECT_TRUE(PtInRegion(rgn, 2, 1));
    EXPECT_FALSE(PtInRegion(rgn, 0, 1));
    RECT box;
    EXPECT_EQ(GetRgnBox(rgn, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 239, 200}));
    // Round trip through GetRegionData.
    DWORD need = GetRegionData(rgn, 0, nullptr);
    std::vector<char> back(need);
    ASSERT_EQ(GetRegionData(rgn, need, reinterpret_cast<RGNDATA*>(back.data())), need);
    HRGN again = ExtCreateRegion(nullptr, need, reinterpret_cast<RGNDATA*>(back.data()));
    EXPECT_TRUE(EqualRgn(rgn, again));
    // OR with a rectangle fills the gaps of the rows it covers.
    HRGN bar = CreateRectRgn(0, 10, 300, 20);
    EXPECT_EQ(CombineRgn(rgn, rgn, bar, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(rgn, 2, 10));
    EXPECT_TRUE(PtInRegion(rgn, 299, 19));
    EXPECT_FALSE(PtInRegion(rgn, 299, 20));
    for (HRGN h : {rgn, again, bar}) EXPECT_TRUE(DeleteObject(h));
}

TEST(Region, BadInputIsRefused) {
    RGNDATAHEADER h{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1000, 0, {}};
    // The count claims more rectangles than the block holds.
    EXPECT_EQ(ExtCreateRegion(nullptr, sizeof h, reinterpret_cast<RGNDATA*>(&h)), nullptr);
    h.nCount = 0;
    h.iType = 2;
    EXPECT_EQ(ExtCreateRegion(nullptr, sizeof h, reinterpret_cast<RGNDATA*>(&h)), nullptr);
    HRGN a = CreateRectRgn(0, 0, 5, 5);
    EXPECT_EQ(CombineRgn(a, a, nullptr, RGN_OR), ERROR_REGION);
    EXPECT_EQ(CombineRgn(a, a, a, 99), ERROR_REGION);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_FALSE(DeleteObject(a)); // stale handle
    EXPECT_FALSE(PtInRegion(a, 1, 1));
}

TEST(Region, CombineCopiesAndOffsets) {
    HRGN a = CreateRectRgn(10, 10, 0, 0); // corners in any order
    HRGN b = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(CombineRgn(b, a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(OffsetRgn(b, 5, -5), SIMPLEREGION);
    RECT box;
    GetRgnBox(b, &box);
    EXPECT_EQ(box, (RECT{5, -5, 15, 5}));
    EXPECT_EQ(CombineRgn(b, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(b, a, a, RGN_DIFF), NULLREGION);
    DeleteObject(a);
    DeleteObject(b);
}

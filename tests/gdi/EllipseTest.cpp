#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "SurfaceFixture.h"
#include "gdi/EllipseGeometry.h"

namespace {

using u128 = unsigned __int128;

/// Straight from the rule: the centre of pixel (x, y) lies inside or on the inscribed ellipse.
/// In doubled coordinates u, v that is u² H² <= W² (H² - v²), exact for any 32-bit box.
bool ReferenceCovers(const RECT& box, std::int64_t x, std::int64_t y) {
    const std::int64_t width = std::int64_t{box.right} - box.left;
    const std::int64_t height = std::int64_t{box.bottom} - box.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::int64_t u = 2 * x + 1 - (std::int64_t{box.left} + box.right);
    const std::int64_t v = 2 * y + 1 - (std::int64_t{box.top} + box.bottom);
    const u128 uu = static_cast<u128>(u < 0 ? -u : u) * static_cast<u128>(u < 0 ? -u : u);
    const u128 vv = static_cast<u128>(v < 0 ? -v : v) * static_cast<u128>(v < 0 ? -v : v);
    const u128 ww = static_cast<u128>(width) * static_cast<u128>(width);
    const u128 hh = static_cast<u128>(height) * static_cast<u128>(height);
    if (vv > hh || uu > ww) {
        return false;
    }
    return uu * hh <= ww * (hh - vv);
}

bool RegionHolds(const RECT& box, std::int32_t x, std::int32_t y) {
    CRgn region;
    region.CreateEllipticRgnIndirect(&box);
    return region.PtInRegion(x, y);
}

TEST(EllipticRegion, InscribedEllipseExcludesTheCornersOfItsBox) {
    const RECT box{0, 0, 20, 10};
    EXPECT_TRUE(RegionHolds(box, 10, 5));
    EXPECT_TRUE(RegionHolds(box, 0, 5));
    EXPECT_FALSE(RegionHolds(box, 0, 0));
    EXPECT_FALSE(RegionHolds(box, 1, 1));
    EXPECT_FALSE(RegionHolds(box, 20, 5));  // the right edge is outside the half-open box
}

TEST(EllipticRegion, EmptyOrDeletedRegionHoldsNothing) {
    EXPECT_FALSE(RegionHolds(RECT{0, 0, 0, 0}, 0, 0));
    EXPECT_FALSE(RegionHolds(RECT{5, 5, 5, 9}, 5, 6));
    CRgn region;
    const RECT box{0, 0, 10, 10};
    region.CreateEllipticRgnIndirect(&box);
    region.DeleteObject();
    EXPECT_FALSE(region.PtInRegion(5, 5));
}

TEST(EllipticRegion, MatchesTheRuleNearTheRimOfHugeEllipses) {
    std::mt19937 random(7);
    const RECT boxes[] = {
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
        {-2000000000, -3, 2000000000, 4},
        {-5, INT32_MIN, 6, INT32_MAX},
        {INT32_MAX - 1000, INT32_MIN, INT32_MAX, INT32_MIN + 77777},
    };
    for (const RECT& box : boxes) {
        const EllipseRows rows(box);
        std::uniform_int_distribution<std::int64_t> row(box.top, std::int64_t{box.bottom} - 1);
        for (int i = 0; i < 2000; ++i) {
            const std::int64_t y = row(random);
            std::int64_t first = 0;
            std::int64_t last = 0;
            if (!rows.Span(y, &first, &last)) {
                ASSERT_FALSE(ReferenceCovers(box, (std::int64_t{box.left} + box.right) / 2, y));
                continue;
            }
            // The span's ends are covered and their outer neighbours are not.
            ASSERT_TRUE(ReferenceCovers(box, first, y));
            ASSERT_TRUE(ReferenceCovers(box, last - 1, y));
            ASSERT_FALSE(ReferenceCovers(box, first - 1, y));
            ASSERT_FALSE(ReferenceCovers(box, last, y));
        }
    }
}

// Limits settled together (each from the one before) are the limits settled one by one, for
// small, tall and huge boxes, from any half index on.
TEST(EllipseRows, LimitsOfManyHalfIndicesAreTheLimitsOfEach) {
    std::mt19937 random(11);
    const RECT boxes[] = {{0, 0, 1, 1},
                          {-3, 2, 40, 9},
                          {5, -700, 9, 900},
                          {0, 0, 1200, 3},
                          {-9, -9, 65535, 65535},
                          {-9, -9, 70000, 66000},
                          {INT32_MIN, -1000, INT32_MAX, 1000}};
    std::vector<std::int64_t> limits(300);
    for (const RECT& box : boxes) {
        const EllipseRows rows(box);
        const std::int64_t lastHalf = (rows.Height() - 1) / 2;
        std::uniform_int_distribution<std::int64_t> start(0, lastHalf);
        for (int i = 0; i < 200; ++i) {
            const std::int64_t h = start(random);
            const std::int64_t count = std::uniform_int_distribution<std::int64_t>(
                1, std::min<std::int64_t>(300, lastHalf - h + 1))(random);
            rows.HalfLimits(h, count, limits.data());
            for (std::int64_t j = 0; j < count; ++j) {
                ASSERT_EQ(limits[j], rows.HalfLimit(h + j)) << "half index " << h + j;
            }
        }
    }
}

// What is drawn is what is hit: over thousands of random boxes, seen through random viewport
// origins and clipped by the bitmap, a filled ellipse paints exactly the pixels whose logical
// point the elliptic region of the same box holds.
TEST(EllipseRaster, FilledEllipsePaintsExactlyTheRegion) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> coordinate(-15, 55);
    TestSurface surface(40, 32);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush brush(RGB(0, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.SelectObject(&brush);
    for (int round = 0; round < 4000; ++round) {
        const RECT box{coordinate(random), coordinate(random), coordinate(random),
                       coordinate(random)};
        const POINT origin{coordinate(random) / 5, coordinate(random) / 5};
        surface.Clear(RGB(255, 255, 255));
        surface.dc.SetViewportOrg(origin.x, origin.y);
        surface.dc.Ellipse(box);
        CRgn region;
        region.CreateEllipticRgnIndirect(&box);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(surface.At(x, y) == RGB(0, 0, 0),
                          region.PtInRegion(x - origin.x, y - origin.y))
                    << "box " << box.left << "," << box.top << "," << box.right << "," << box.bottom
                    << " pixel " << x << "," << y;
            }
        }
    }
}

/// The colour the rule gives pixel (x, y) of the box: the pen's where a covered pixel has an
/// uncovered neighbour to the left, right, above or below, the brush's on the rest.
COLORREF RimOrInside(const RECT& box, std::int64_t x, std::int64_t y, COLORREF pen, COLORREF brush,
                     COLORREF background) {
    auto covered = [&](std::int64_t px, std::int64_t py) { return ReferenceCovers(box, px, py); };
    if (!covered(x, y)) {
        return background;
    }
    const bool rim =
        !covered(x - 1, y) || !covered(x + 1, y) || !covered(x, y - 1) || !covered(x, y + 1);
    return rim ? pen : brush;
}

// The pen takes exactly the covered pixels that have an uncovered neighbour to the left,
// right, above or below; the brush takes the rest.
TEST(EllipseRaster, PenDrawsTheRimAndBrushTheInside) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> coordinate(0, 30);
    TestSurface surface(32, 32);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush brush(RGB(255, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.SelectObject(&brush);
    for (int round = 0; round < 1000; ++round) {
        const RECT box = NormalizedRect(
            RECT{coordinate(random), coordinate(random), coordinate(random), coordinate(random)});
        surface.Clear(RGB(255, 255, 255));
        surface.dc.Ellipse(box);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(surface.At(x, y),
                          RimOrInside(box, x, y, RGB(0, 0, 0), RGB(255, 0, 0), RGB(255, 255, 255)))
                    << "pixel " << x << "," << y;
            }
        }
    }
}

// Ellipses taller than the rows the painter settles at once, seen with the bitmap's top above,
// at and below their middle: rim and inside stay exact across the seams between windows.
TEST(EllipseRaster, TallEllipsesKeepTheirRimAcrossRowWindows) {
    TestSurface surface(64, 600);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush brush(RGB(255, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.SelectObject(&brush);
    const RECT boxes[] = {{2, 0, 61, 1301}, {30, -5, 33, 1100}, {-40, 0, 100, 2000}};
    for (const RECT& box : boxes) {
        for (const std::int32_t originY : {0, -300, -550, -1000}) {
            surface.Clear(RGB(255, 255, 255));
            surface.dc.SetViewportOrg(0, originY);
            surface.dc.Ellipse(box);
            for (int y = 0; y < 600; ++y) {
                for (int x = 0; x < 64; ++x) {
                    ASSERT_EQ(surface.At(x, y), RimOrInside(box, x, y - originY, RGB(0, 0, 0),
                                                            RGB(255, 0, 0), RGB(255, 255, 255)))
                        << "box " << box.left << "," << box.top << "," << box.right << ","
                        << box.bottom << " origin " << originY << " pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST(EllipseRaster, SmallCirclesHaveTheirExpectedShape) {
    TestSurface surface(7, 7);
    surface.dc.Ellipse(0, 0, 7, 7);
    EXPECT_EQ(surface.Picture(),
              "..###..\n"
              ".#...#.\n"
              "#.....#\n"
              "#.....#\n"
              "#.....#\n"
              ".#...#.\n"
              "..###..\n");
}

// A disc of radius two billion visits only the rows of the bitmap it crosses; a loop over its
// own extent would not finish within the test's time-out. Its speed is measured in bench/.
TEST(EllipseRaster, GiantDiscFillsTheBitmap) {
    TestSurface surface(256, 256);
    CBrush brush(RGB(0, 0, 0));
    surface.dc.SelectObject(&brush);
    surface.dc.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    surface.dc.Ellipse(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(surface.Picture().find('.'), std::string::npos);
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SurfaceFixture.h"
#include "gdi/RectFunctions.h"

namespace {

struct PtInRectCase {
    POINT point;
    bool inside;
};

class PtInRectEdges : public ::testing::TestWithParam<PtInRectCase> {};

// Box (10, 5, 30, 20): left and top edges belong to it, right and bottom do not.
TEST_P(PtInRectEdges, HalfOpen) {
    RECT box;
    SetRect(&box, 10, 5, 30, 20);
    EXPECT_EQ(PtInRect(&box, GetParam().point), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(
    Box, PtInRectEdges,
    ::testing::Values(PtInRectCase{{10, 5}, true}, PtInRectCase{{29, 19}, true},
                      PtInRectCase{{30, 10}, false}, PtInRectCase{{20, 20}, false},
                      PtInRectCase{{9, 10}, false}, PtInRectCase{{10, 4}, false}));

TEST(RectFunctions, EmptyAndUnorderedBoxesHoldNoPoint) {
    RECT empty{7, 7, 7, 7};
    RECT unordered{30, 20, 10, 5};
    EXPECT_FALSE(PtInRect(&empty, POINT{7, 7}));
    EXPECT_FALSE(PtInRect(&unordered, POINT{20, 10}));
    EXPECT_TRUE(IsRectEmpty(&unordered));
}

TEST(RectFunctions, OffsetWrapsAtTheLimitsWithoutOverflow) {
    RECT box{INT32_MAX - 1, INT32_MIN, INT32_MAX, INT32_MIN + 1};
    OffsetRect(&box, 2, -1);
    EXPECT_EQ(box, (RECT{INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MIN}));
}

TEST(RectFunctions, IntersectionOfDisjointBoxesIsEmpty) {
    RECT a{0, 0, 10, 10};
    RECT b{10, 0, 20, 10};
    RECT result{1, 2, 3, 4};
    EXPECT_FALSE(IntersectRect(&result, &a, &b));
    EXPECT_EQ(result, RECT{});
    RECT c{5, -5, 15, 5};
    EXPECT_TRUE(IntersectRect(&result, &a, &c));
    EXPECT_EQ(result, (RECT{5, 0, 10, 5}));
}

TEST(RectangleRaster, PenDrawsEdgeAndBrushTheInside) {
    TestSurface surface(6, 5);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush brush(RGB(255, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.SelectObject(&brush);
    surface.dc.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(surface.Picture(),
              "......\n"
              ".####.\n"
              ".#??#.\n"
              ".#??#.\n"
              ".####.\n");
    EXPECT_EQ(surface.At(2, 2), RGB(255, 0, 0));
}

TEST(RectangleRaster, HollowBrushLeavesTheInsideAndUnorderedBoxesAreNormalised) {
    TestSurface surface(5, 4);
    LOGBRUSH hollow{BS_NULL, RGB(255, 0, 0), 0};
    CBrush brush;
    ASSERT_TRUE(brush.CreateBrushIndirect(&hollow));
    surface.dc.SelectObject(&brush);
    surface.dc.Rectangle(4, 3, 0, 0);
    EXPECT_EQ(surface.Picture(),
              "####.\n"
              "#..#.\n"
              "####.\n"
              ".....\n");
}

TEST(RectangleRaster, EmptyBoxDrawsNothing) {
    TestSurface surface(4, 4);
    surface.dc.Rectangle(2, 0, 2, 4);
    surface.dc.Rectangle(0, 1, 4, 1);
    EXPECT_EQ(surface.Picture().find('#'), std::string::npos);
}

// A filled rectangle paints exactly the pixels that PtInRect accepts, for random boxes that
// poke out of the bitmap, seen through random viewport origins.
TEST(RectangleRaster, FilledRectanglePaintsExactlyThePointsInside) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> coordinate(-20, 60);
    TestSurface surface(40, 30);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush brush(RGB(0, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.SelectObject(&brush);
    for (int round = 0; round < 3000; ++round) {
        const int x0 = coordinate(random);
        const int x1 = coordinate(random);
        const int y0 = coordinate(random);
        const int y1 = coordinate(random);
        const RECT box{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
        const POINT origin{coordinate(random) / 4, coordinate(random) / 4};
        surface.Clear(RGB(255, 255, 255));
        surface.dc.SetViewportOrg(origin.x, origin.y);
        surface.dc.Rectangle(box);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                const POINT logical{x - origin.x, y - origin.y};
                ASSERT_EQ(surface.At(x, y) == RGB(0, 0, 0), PtInRect(&box, logical))
                    << "box " << box.left << "," << box.top << "," << box.right << "," << box.bottom
                    << " pixel " << x << "," << y;
            }
        }
    }
}

}  // namespace

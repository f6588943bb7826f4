#include <gtest/gtest.h>

#include "ShapeTesting.h"

namespace {

using enum SurfaceOp;

constexpr ShapeRow kWide = Oval(0, 0, 20, 10, true);
constexpr ShapeRow kPlane = Oval(kMin, kMin, kMax, kMax, true);

const Hit kHits[] = {
    // The probe's centre lies in the elliptic region of the bounds.
    {"centre", kWide, 10, 5, 0, true},
    {"hollow, centre", Oval(0, 0, 20, 10, false), 10, 5, 0, true},
    {"corner of the box", kWide, 0, 0, 0, false},
    {"near the corner, inside the box", kWide, 1, 1, 0, false},
    {"left end of the middle row", kWide, 0, 5, 0, true},
    {"right end of the middle row", kWide, 19, 5, 0, true},
    {"right edge of the box", kWide, 20, 5, 0, false},
    {"probe radius plays no part", kWide, 0, 0, 50, false},
    {"corners given backwards", Oval(20, 10, 0, 0, true), 19, 5, 0, true},
    {"empty box", Oval(3, 3, 3, 3, true), 3, 3, 0, false},
    {"zero height", Oval(0, 4, 10, 4, true), 5, 4, 0, false},
    {"one pixel box", Oval(3, 3, 4, 4, true), 3, 3, 0, true},
    {"whole plane, centre", kPlane, -1, -1, 0, true},
    {"whole plane, corner", kPlane, kMin, kMin, 0, false},
    {"whole plane, left end of the middle", kPlane, kMin, -1, 0, true}};
INSTANTIATE_TEST_SUITE_P(DrawEllipse, ShapeContains, ::testing::ValuesIn(kHits));

const DrawCase kDraws[] = {
    {"filled", Oval(10, 5, 30, 20, true, 14), 100, 200, Ellipse, 110, 205, 130, 220, BS_SOLID},
    {"hollow", Oval(30, 20, 10, 5, false, 13), 100, 200, Ellipse, 110, 205, 130, 220, BS_NULL}};
INSTANTIATE_TEST_SUITE_P(DrawEllipse, ShapeDraw, ::testing::ValuesIn(kDraws));

TEST(DrawEllipse, ExchangesItsBoundsThroughARectangle) {
    DrawRectangle rectangle;
    rectangle.SetCorners(DrawPoint(30, 5, 0), DrawPoint(10, 20, 0));
    DrawEllipse ellipse;
    ellipse.SetBounds(rectangle);
    ellipse.SetColor(FromPalette(4));
    // Black corners of radius 0 replace whatever the rectangle held; its fill stays.
    DrawPoint stale(100, 100, 7);
    stale.SetColor(FromPalette(7));
    rectangle.SetCorners(stale, stale);
    rectangle.SetFilled(true);
    ellipse.GetBounds(rectangle);
    DrawPoint first(0, 0, 0), second(0, 0, 0);
    rectangle.GetCorners(first, second);
    EXPECT_EQ(std::tuple(Fields(first), Fields(second), rectangle.IsFilled()),
              std::tuple(std::tuple(10, 5, 0, 0u), std::tuple(30, 20, 0, 0u), true));
}

}  // namespace

#include <gtest/gtest.h>

#include "ShapeTesting.h"

namespace {

using enum SurfaceOp;

constexpr ShapeRow kBox = Box(10, 20, 30, 5, true);  // bounds (10, 5, 30, 20)

// The probe's centre lies in the half-open normalised bounds.
const Hit kHits[] = {
    {"top-left corner", kBox, 10, 5, 0, true},
    {"last pixel inside", kBox, 29, 19, 0, true},
    {"right edge", kBox, 30, 10, 0, false},
    {"bottom edge", kBox, 20, 20, 0, false},
    {"left of it", kBox, 9, 10, 0, false},
    {"above it", kBox, 20, 4, 0, false},
    {"hollow, inside", Box(10, 20, 30, 5, false), 20, 10, 0, true},
    {"probe radius does not widen", kBox, 30, 10, 5, false},
    {"probe radius does not shrink", kBox, 29, 19, 100, true},
    {"equal corners, at them", Box(7, 7, 7, 7, true), 7, 7, 0, false},
    {"zero height", Box(0, 3, 10, 3, true), 5, 3, 0, false},
    {"whole plane, most negative", Box(kMin, kMin, kMax, kMax, true), kMin, kMin, 0, true},
    {"whole plane, last inside", Box(kMin, kMin, kMax, kMax, true), kMax - 1, kMax - 1, 0, true},
    {"whole plane, largest", Box(kMax, kMax, kMin, kMin, true), kMax, 0, 0, false}};
INSTANTIATE_TEST_SUITE_P(DrawRectangle, ShapeContains, ::testing::ValuesIn(kHits));

const DrawCase kDraws[] = {
    {"filled", Box(30, 20, 10, 5, true, 6), 100, 200, Rectangle, 110, 205, 130, 220, BS_SOLID},
    {"hollow", Box(30, 20, 10, 5, false, 9), 100, 200, Rectangle, 110, 205, 130, 220, BS_NULL},
    {"empty", Box(4, 4, 4, 4, true, 10), 1, 2, Rectangle, 5, 6, 5, 6, BS_SOLID},
    {"offsets wrap", Box(kMax - 1, kMin, kMax, kMin + 1, false, 11), 2, -1, Rectangle, kMin, kMax,
     kMin + 1, kMin, BS_NULL}};
INSTANTIATE_TEST_SUITE_P(DrawRectangle, ShapeDraw, ::testing::ValuesIn(kDraws));

TEST(DrawRectangle, KeepsCornersAsGivenAndBoundsNormalised) {
    DrawPoint first(10, 20, 4);
    first.SetColor(FromPalette(3));
    DrawRectangle rectangle;
    rectangle.SetCorners(first, DrawPoint(30, 5, 0));
    EXPECT_EQ(rectangle.GetRect(), (RECT{10, 5, 30, 20}));
    DrawPoint outFirst(0, 0, 0), outSecond(0, 0, 0);
    rectangle.GetCorners(outFirst, outSecond);
    EXPECT_EQ(Fields(outFirst), std::tuple(10, 20, 4, 0x00FFFF00u));
    EXPECT_EQ(Fields(outSecond), std::tuple(30, 5, 0, 0u));

    rectangle.SetCorners(DrawPoint(kMax, kMin, 0), DrawPoint(kMin, kMax, 0));
    EXPECT_EQ(rectangle.GetRect(), (RECT{kMin, kMin, kMax, kMax}));
}

}  // namespace

#include <gtest/gtest.h>

#include "ShapeTesting.h"

namespace {

using enum SurfaceOp;

constexpr std::int32_t kX = 1'200'000'000, kY = 1'600'000'000, kR = 2'000'000'000;

// A point holds a probe when the two circles overlap or touch.
const Hit kHits[] = {
    {"on the rim (3-4-5)", Disc(10, 10, 5), 13, 14, 0, true},
    {"just outside the rim", Disc(10, 10, 5), 14, 14, 0, false},
    {"radius 0, its centre", Disc(7, 7, 0), 7, 7, 0, true},
    {"radius 0, one to the right", Disc(7, 7, 0), 8, 7, 0, false},
    {"touching circles", Disc(0, 0, 3), 3, 4, 2, true},
    {"circles one unit apart", Disc(0, 0, 3), 3, 5, 2, false},
    {"negative radius squares like its magnitude", Disc(0, 0, -3), 3, 0, 0, true},
    {"radii cancelling to 0", Disc(0, 0, -3), 0, 0, 3, true},
    {"radii cancelling, probe off centre", Disc(0, 0, -3), 1, 0, 3, false},
    // 2.4e9 and 3.2e9 apart: the squared distance 1.6e19 exceeds 63 bits.
    {"huge touching circles", Disc(-kX, -kY, kR), kX, kY, kR, true},
    {"huge circles one unit short", Disc(-kX, -kY, kR), kX, kY, kR - 1, false},
    // dx = dy = 2^32 - 1 and s = 2^32 - 2: the sum of squares wrapped at 64 bits would fall
    // just below s².
    {"opposite corners of the plane", Disc(kMin, kMin, kMax), kMax, kMax, kMax, false},
    {"opposite ends of an axis", Disc(kMin, 0, kMax), kMax - 1, 0, kMax, true},
    {"opposite ends of an axis, one beyond", Disc(kMin, 0, kMax), kMax, 0, kMax, false},
    {"most negative radii", Disc(0, 0, kMin), kMax, 0, kMin, true}};
INSTANTIATE_TEST_SUITE_P(DrawPoint, ShapeContains, ::testing::ValuesIn(kHits));

const DrawCase kDraws[] = {
    {"disc", Disc(10, 10, 5, 1), 100, 200, Ellipse, 105, 205, 115, 215, BS_SOLID},
    {"negative radius, inverted box", Disc(10, 10, -3, 2), 0, 0, Ellipse, 13, 13, 7, 7, BS_SOLID},
    {"radius 0: one pixel", Disc(3, 4, 0, 4), 1, 2, SetPixel, 4, 6, 0, 0, BS_SOLID},
    {"pixel wraps", Disc(kMax, kMin, 0, 5), 1, -1, SetPixel, kMin, kMax, 0, 0, BS_SOLID},
    // The centre 2 * (2^31 - 1) wraps to -2; -2 - (2^31 - 1) wraps to 2^31 - 1.
    {"box wraps", Disc(kMax, 0, kMax, 6), kMax, 0, Ellipse, kMax, kMin + 1, kMax - 2, kMax,
     BS_SOLID}};
INSTANTIATE_TEST_SUITE_P(DrawPoint, ShapeDraw, ::testing::ValuesIn(kDraws));

TEST(DrawPoint, CopiesCarryAllFourFieldsAndSettersLeaveTheRestAlone) {
    DrawPoint point(1, 2, 3);
    point.SetColor(FromPalette(4));
    const DrawPoint copy(point);
    DrawPoint assigned(9, 9, 9);
    assigned = point;
    EXPECT_EQ(Fields(copy), std::tuple(1, 2, 3, 0x000000FFu));
    EXPECT_EQ(Fields(assigned), Fields(copy));

    point.Set(4, 5, 6);
    EXPECT_EQ(Fields(point), std::tuple(4, 5, 6, 0x000000FFu));
    point.SetPoint(POINT{-7, 8});
    EXPECT_EQ(Fields(point), std::tuple(-7, 8, 6, 0x000000FFu));
}

}  // namespace

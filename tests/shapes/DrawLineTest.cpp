#include <gtest/gtest.h>

#include "ShapeTesting.h"

namespace {

using enum SurfaceOp;

// With t = (probe radius, or 1 when it is 0) + width / 2: not behind the start along either
// axis, at most t beyond the end, and the squared distance from the line below t.
const Hit kHits[] = {
    {"at the start", Line(0, 0, 10, 0, 1), 0, 0, 0, true},
    {"one beyond the end", Line(0, 0, 10, 0, 1), 11, 0, 0, true},
    {"two beyond the end", Line(0, 0, 10, 0, 1), 12, 0, 0, false},
    {"one behind the start", Line(0, 0, 10, 0, 1), -1, 0, 0, false},
    {"one below, width 1", Line(0, 0, 10, 0, 1), 5, 1, 0, false},
    {"one above, width 2", Line(0, 0, 10, 0, 2), 5, -1, 0, true},
    {"two below, width 4: reach passes", Line(0, 0, 10, 0, 4), 5, 2, 0, false},
    {"three beyond the end, width 4", Line(0, 0, 10, 0, 4), 13, 0, 0, true},
    {"four beyond the end, width 4", Line(0, 0, 10, 0, 4), 14, 0, 0, false},
    {"behind the start, however wide", Line(0, 0, 10, 0, 1000), -1, 0, 0, false},
    {"probe radius 3 gives t = 3", Line(0, 0, 10, 0, 1), 5, 1, 3, true},
    {"probe radius 3: 400 < 300 fails", Line(0, 0, 10, 0, 1), 5, 2, 3, false},
    {"probe radius replaces the 1", Line(0, 0, 10, 0, 1), 14, 0, 3, false},
    {"probe radius and width add", Line(0, 0, 10, 0, 4), 15, 0, 3, true},
    {"negative probe radius: no tolerance", Line(0, 0, 10, 10, 1), 5, 5, -1, false},
    {"width -1 halves to 0", Line(0, 0, 10, 0, -1), 5, 0, 0, true},
    {"width -3 halves to -1, toward zero", Line(0, 0, 10, 0, -3), 5, 0, 0, false},
    {"diagonal, 0.71 off", Line(0, 0, 10, 10, 1), 6, 5, 0, true},
    {"diagonal, 1.41 off", Line(0, 0, 10, 10, 1), 7, 5, 0, false},
    {"diagonal, one beyond both axes", Line(0, 0, 10, 10, 1), 11, 11, 0, true},
    {"diagonal, behind in x only", Line(0, 0, 10, 10, 4), -1, 0, 0, false},
    {"vertical, one right", Line(0, 0, 0, 10, 1), 1, 5, 0, false},
    {"vertical, width 4, one left", Line(0, 0, 0, 10, 4), -1, 5, 0, true},
    {"vertical, behind the start", Line(0, 0, 0, 10, 4), 1, -1, 0, false},
    {"vertical, two beyond the end", Line(0, 0, 0, 10, 1), 0, 12, 0, false},
    {"reversed, behind its start", Line(10, 0, 0, 0, 1), 11, 0, 0, false},
    {"reversed, one beyond its end", Line(10, 0, 0, 0, 1), -1, 0, 0, true},
    {"coinciding ends, at them", Line(3, 3, 3, 3, 1), 3, 3, 0, false},
    {"steep, px and dx both zero", Line(0, 0, 1, 100, 1), 0, 50, 0, true},
    // Exact at the limits, where products and squares go far beyond 64 bits. On the plane's
    // diagonal c = 2^32 - 1 against dx = dy = 2^32 - 1 is a distance of 0.707.
    {"plane diagonal, 0.71 off", Line(kMin, kMin, kMax, kMax, 1), 1, 0, 0, true},
    {"plane diagonal, 1.41 off", Line(kMin, kMin, kMax, kMax, 1), 2, 0, 0, false},
    {"plane diagonal, end", Line(kMin, kMin, kMax, kMax, 1), kMax, kMax, 0, true},
    {"plane diagonal, corner", Line(kMin, kMin, kMax, kMax, kMax), kMax, kMin, kMax, false},
    // Both differences 2^32 - 1; t = 3'221'225'470 lies between 56'755² and 56'756².
    {"full width, just within", Line(kMin, 0, kMax, 0, kMax), kMax, 56'755, kMax, true},
    {"full width, just beyond", Line(kMin, 0, kMax, 0, kMax), kMax, 56'756, kMax, false},
    {"full width, far above", Line(kMin, 0, kMax, 0, kMax), kMax, kMax, kMax, false},
    {"full width, t reaches", Line(kMin, 0, kMax, 0, 1), 0, 0, kMax, true},
    {"most negative t", Line(0, 0, 10, 0, kMin), 5, 0, kMin, false},
    {"left edge, probe far right", Line(kMin, kMin, kMin, kMax, kMax), kMax, 0, kMax, false},
    {"left edge, probe near", Line(kMin, kMin, kMin, kMax, 1), kMin + 1, 0, 3, true}};
INSTANTIATE_TEST_SUITE_P(DrawLine, ShapeContains, ::testing::ValuesIn(kHits));

// One stroke with a pen of the line's width, whatever that is.
const DrawCase kDraws[] = {
    {"width 5", Line(0, 0, 10, 0, 5, 5), 100, 50, LineTo, 100, 50, 110, 50, 0},
    {"width kMin", Line(0, 0, 10, 0, kMin, 7), 100, 50, LineTo, 100, 50, 110, 50, 0},
    {"offsets wrap", Line(kMax, kMin, kMin, kMax, 1, 8), 1, -1, LineTo, kMin, kMax, kMin + 1,
     kMax - 1, 0}};
INSTANTIATE_TEST_SUITE_P(DrawLine, ShapeDraw, ::testing::ValuesIn(kDraws));

TEST(DrawLine, KeepsItsEndpointsWholeButHitTestsOnlyTheirPositions) {
    DrawLine line;
    DrawPoint end(10, 0, 50);
    end.SetColor(FromPalette(4));
    line.SetStart(DrawPoint(0, 0, 50));
    line.SetEnd(end);
    EXPECT_EQ(Fields(line.GetStart()), std::tuple(0, 0, 50, 0u));
    EXPECT_EQ(Fields(line.GetEnd()), std::tuple(10, 0, 50, 0x000000FFu));
    EXPECT_FALSE(line.Contains(DrawPoint(5, 1, 0)));
    EXPECT_FALSE(line.Contains(DrawPoint(12, 0, 0)));
}

}  // namespace

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <sstream>

#include "ShapeCanvas.h"
#include "shapes/DrawPoint.h"

namespace {

constexpr std::int32_t kMin = INT_MIN;
constexpr std::int32_t kMax = INT_MAX;

struct PointContainsCase {
    const char* what;
    std::int32_t x, y, radius;  // the shape
    std::int32_t probeX, probeY, probeRadius;
    bool contained;
};

void PrintTo(const PointContainsCase& c, std::ostream* out) {
    *out << c.what;
}

class DrawPointContains : public ::testing::TestWithParam<PointContainsCase> {};

TEST_P(DrawPointContains, TestsTheTwoCirclesForOverlap) {
    const PointContainsCase& c = GetParam();
    const DrawPoint shape(c.x, c.y, c.radius);
    EXPECT_EQ(shape.Contains(DrawPoint(c.probeX, c.probeY, c.probeRadius)), c.contained);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawPointContains,
    ::testing::Values(
        PointContainsCase{"on the rim (3-4-5)", 10, 10, 5, 13, 14, 0, true},
        PointContainsCase{"just outside the rim", 10, 10, 5, 14, 14, 0, false},
        PointContainsCase{"radius 0, its centre", 7, 7, 0, 7, 7, 0, true},
        PointContainsCase{"radius 0, one to the right", 7, 7, 0, 8, 7, 0, false},
        PointContainsCase{"radius 0, one above", 7, 7, 0, 7, 6, 0, false},
        PointContainsCase{"touching circles", 0, 0, 3, 3, 4, 2, true},
        PointContainsCase{"circles one unit apart", 0, 0, 3, 3, 5, 2, false},
        PointContainsCase{"negative radius squares like its magnitude", 0, 0, -3, 3, 0, 0, true},
        PointContainsCase{"radii cancelling to 0", 0, 0, -3, 0, 0, 3, true},
        PointContainsCase{"radii cancelling, probe off centre", 0, 0, -3, 1, 0, 3, false},
        // 2.4e9 and 3.2e9 apart: the squared distance 1.6e19 exceeds 63 bits.
        PointContainsCase{"huge touching circles", -1'200'000'000, -1'600'000'000, 2'000'000'000,
                          1'200'000'000, 1'600'000'000, 2'000'000'000, true},
        PointContainsCase{"huge circles one unit short", -1'200'000'000, -1'600'000'000,
                          2'000'000'000, 1'200'000'000, 1'600'000'000, 1'999'999'999, false},
        // dx = dy = 2^32 - 1 and s = 2^32 - 2: the sum of squares wrapped at 64 bits would
        // fall just below s².
        PointContainsCase{"opposite corners of the plane", kMin, kMin, kMax, kMax, kMax, kMax,
                          false},
        PointContainsCase{"opposite ends of an axis, maximal radii", kMin, 0, kMax, kMax - 1, 0,
                          kMax, true},
        PointContainsCase{"opposite ends of an axis, one beyond", kMin, 0, kMax, kMax, 0, kMax,
                          false},
        PointContainsCase{"most negative radii", 0, 0, kMin, kMax, 0, kMin, true}));

TEST(DrawPoint, IsAValueWhoseCopiesCarryAllFourFields) {
    DrawPoint a(1, 2, 3);
    Color red;
    red.SetFromPalette(4);
    a.SetColor(red);

    DrawPoint b(a);
    EXPECT_EQ(b.GetX(), 1);
    EXPECT_EQ(b.GetY(), 2);
    EXPECT_EQ(b.GetRadius(), 3);
    EXPECT_EQ(b.GetColor(), red);

    DrawPoint c(9, 9, 9);
    c = a;
    EXPECT_EQ(c.GetX(), 1);
    EXPECT_EQ(c.GetY(), 2);
    EXPECT_EQ(c.GetRadius(), 3);
    EXPECT_EQ(c.GetColor(), red);
}

TEST(DrawPoint, SettersLeaveTheColourAlone) {
    DrawPoint point(1, 2, 3);
    Color green;
    green.SetFromPalette(2);
    point.SetColor(green);

    point.Set(4, 5, 6);
    EXPECT_EQ(point.GetPoint(), (POINT{4, 5}));
    EXPECT_EQ(point.GetRadius(), 6);
    EXPECT_EQ(point.GetColor(), green);

    point.SetPoint(POINT{-7, 8});
    EXPECT_EQ(point.GetX(), -7);
    EXPECT_EQ(point.GetY(), 8);
    EXPECT_EQ(point.GetRadius(), 6);
    EXPECT_EQ(point.GetColor(), green);
}

TEST(DrawPoint, DrawsADiscAsAnEllipseWithSolidPenAndBrush) {
    ShapeCanvas canvas(8, 8);
    DrawPoint point(10, 10, 5);
    Color blue;
    blue.SetFromPalette(1);
    point.SetColor(blue);

    const SurfaceCallLog& log = canvas.Record();
    point.Draw(canvas.dc, 100, 200);

    ASSERT_EQ(log.size(), 5u);
    const SurfaceCall& ellipse = log[2];
    EXPECT_EQ(ellipse.op, SurfaceOp::Ellipse);
    EXPECT_EQ(ellipse.args[0], 105);
    EXPECT_EQ(ellipse.args[1], 205);
    EXPECT_EQ(ellipse.args[2], 115);
    EXPECT_EQ(ellipse.args[3], 215);
    EXPECT_EQ(ellipse.pen, (PenDescription{PS_SOLID, 1, 0x00FF0000}));
    EXPECT_EQ(ellipse.brush, (BrushDescription{BS_SOLID, 0x00FF0000}));
}

TEST(DrawPoint, RadiusZeroSetsOnePixel) {
    ShapeCanvas canvas(8, 8);
    DrawPoint point(3, 4, 0);
    Color red;
    red.SetFromPalette(4);
    point.SetColor(red);

    const SurfaceCallLog& log = canvas.Record();
    point.Draw(canvas.dc, 1, 1);

    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[2].op, SurfaceOp::SetPixel);
    EXPECT_EQ(log[2].args[0], 4);
    EXPECT_EQ(log[2].args[1], 5);
    EXPECT_EQ(log[2].colour, 0x000000FFu);
    for (std::int32_t y = 0; y < canvas.Height(); ++y) {
        for (std::int32_t x = 0; x < canvas.Width(); ++x) {
            EXPECT_EQ(canvas.Painted(x, y), x == 4 && y == 5) << x << ", " << y;
        }
    }
    EXPECT_EQ(canvas.At(4, 5), 0x000000FFu);
}

TEST(DrawPoint, NegativeRadiusHandsTheSurfaceAnInvertedBox) {
    ShapeCanvas canvas(8, 8);
    const SurfaceCallLog& log = canvas.Record();
    DrawPoint(10, 10, -3).Draw(canvas.dc, 0, 0);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[2].op, SurfaceOp::Ellipse);
    EXPECT_EQ(log[2].args[0], 13);
    EXPECT_EQ(log[2].args[2], 7);
}

TEST(DrawPoint, OffsetsWrapAtTheLimitsOfTheCoordinates) {
    ShapeCanvas canvas(8, 8);
    const SurfaceCallLog& log = canvas.Record();
    DrawPoint(kMax, kMin, 0).Draw(canvas.dc, 1, -1);
    DrawPoint(kMax, 0, kMax).Draw(canvas.dc, kMax, 0);

    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(log[2].args[0], kMin);
    EXPECT_EQ(log[2].args[1], kMax);
    // The centre 2 * (2^31 - 1) wraps to -2; -2 - (2^31 - 1) wraps to 2^31 - 1.
    EXPECT_EQ(log[7].args[0], kMax);
    EXPECT_EQ(log[7].args[1], kMin + 1);
    EXPECT_EQ(log[7].args[2], kMax - 2);
    EXPECT_EQ(log[7].args[3], kMax);
}

TEST(DrawPoint, TextElementIsNotWrittenOrReadYet) {
    DrawPoint point(1, 2, 3);
    std::ostringstream out;
    EXPECT_TRUE(point.Write(out).fail());
    EXPECT_TRUE(out.str().empty());

    std::istringstream in("point { color { 255 0 0 } 4 5 6 } ");
    point.Read(in);
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(point.GetX(), 1);
    EXPECT_EQ(point.GetY(), 2);
    EXPECT_EQ(point.GetRadius(), 3);
    EXPECT_EQ(point.GetColor(), Color());
}

}  // namespace

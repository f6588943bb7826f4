#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <sstream>

#include "ShapeCanvas.h"
#include "shapes/DrawRectangle.h"

namespace {

constexpr std::int32_t kMin = INT_MIN;
constexpr std::int32_t kMax = INT_MAX;

DrawRectangle MakeRectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                            bool filled = false) {
    DrawRectangle rectangle;
    rectangle.SetCorners(DrawPoint(x1, y1, 0), DrawPoint(x2, y2, 0));
    rectangle.SetFilled(filled);
    return rectangle;
}

TEST(DrawRectangle, StartsEmptyAtTheOriginAndNotFilled) {
    const DrawRectangle rectangle;
    EXPECT_EQ(rectangle.GetRect(), (RECT{0, 0, 0, 0}));
    EXPECT_FALSE(rectangle.IsFilled());
    DrawPoint first(9, 9, 9), second(9, 9, 9);
    rectangle.GetCorners(first, second);
    EXPECT_EQ(first.GetPoint(), (POINT{0, 0}));
    EXPECT_EQ(second.GetRadius(), 0);
    EXPECT_EQ(second.GetColor(), Color());
    EXPECT_FALSE(rectangle.Contains(DrawPoint(0, 0, 0)));
}

TEST(DrawRectangle, KeepsCornersAsGivenAndBoundsNormalised) {
    DrawPoint first(10, 20, 4);
    DrawPoint second(30, 5, 0);
    Color cyan;
    cyan.SetFromPalette(3);
    first.SetColor(cyan);
    DrawRectangle rectangle;
    rectangle.SetCorners(first, second);

    EXPECT_EQ(rectangle.GetRect(), (RECT{10, 5, 30, 20}));
    DrawPoint outFirst(0, 0, 0), outSecond(0, 0, 0);
    rectangle.GetCorners(outFirst, outSecond);
    EXPECT_EQ(outFirst.GetPoint(), (POINT{10, 20}));
    EXPECT_EQ(outFirst.GetRadius(), 4);
    EXPECT_EQ(outFirst.GetColor(), cyan);
    EXPECT_EQ(outSecond.GetPoint(), (POINT{30, 5}));

    rectangle.SetCorners(DrawPoint(kMax, kMin, 0), DrawPoint(kMin, kMax, 0));
    EXPECT_EQ(rectangle.GetRect(), (RECT{kMin, kMin, kMax, kMax}));
}

struct RectangleContainsCase {
    const char* what;
    RECT corners;  // first corner (left, top), second corner (right, bottom), as given
    bool filled;
    std::int32_t probeX, probeY, probeRadius;
    bool contained;
};

void PrintTo(const RectangleContainsCase& c, std::ostream* out) {
    *out << c.what;
}

class DrawRectangleContains : public ::testing::TestWithParam<RectangleContainsCase> {};

TEST_P(DrawRectangleContains, IsTheHalfOpenBox) {
    const RectangleContainsCase& c = GetParam();
    const DrawRectangle rectangle =
        MakeRectangle(c.corners.left, c.corners.top, c.corners.right, c.corners.bottom, c.filled);
    EXPECT_EQ(rectangle.Contains(DrawPoint(c.probeX, c.probeY, c.probeRadius)), c.contained);
}

constexpr RECT kBox{10, 20, 30, 5};  // bounds (10, 5, 30, 20)

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawRectangleContains,
    ::testing::Values(
        RectangleContainsCase{"top-left corner", kBox, true, 10, 5, 0, true},
        RectangleContainsCase{"last pixel inside", kBox, true, 29, 19, 0, true},
        RectangleContainsCase{"right edge", kBox, true, 30, 10, 0, false},
        RectangleContainsCase{"bottom edge", kBox, true, 20, 20, 0, false},
        RectangleContainsCase{"left of it", kBox, true, 9, 10, 0, false},
        RectangleContainsCase{"above it", kBox, true, 20, 4, 0, false},
        RectangleContainsCase{"hollow, inside", kBox, false, 20, 10, 0, true},
        RectangleContainsCase{"probe radius does not widen", kBox, true, 30, 10, 5, false},
        RectangleContainsCase{"probe radius does not shrink", kBox, true, 29, 19, 100, true},
        RectangleContainsCase{"equal corners, at them", {7, 7, 7, 7}, true, 7, 7, 0, false},
        RectangleContainsCase{"zero height", {0, 3, 10, 3}, true, 5, 3, 0, false},
        RectangleContainsCase{
            "whole plane, most negative", {kMin, kMin, kMax, kMax}, true, kMin, kMin, 0, true},
        RectangleContainsCase{"whole plane, last inside",
                              {kMin, kMin, kMax, kMax},
                              true,
                              kMax - 1,
                              kMax - 1,
                              0,
                              true},
        RectangleContainsCase{
            "whole plane, largest", {kMax, kMax, kMin, kMin}, true, kMax, 0, 0, false}));

class DrawRectangleDraw : public ::testing::TestWithParam<bool> {};

TEST_P(DrawRectangleDraw, AsksForTheMovedBoxWithPenAndBrush) {
    const bool filled = GetParam();
    ShapeCanvas canvas(8, 8);
    DrawRectangle rectangle = MakeRectangle(30, 20, 10, 5, filled);
    Color yellow;
    yellow.SetFromPalette(6);
    rectangle.SetColor(yellow);

    const SurfaceCallLog& log = canvas.Record();
    rectangle.Draw(canvas.dc, 100, 100);

    ASSERT_EQ(log.size(), 5u);
    const SurfaceCall& call = log[2];
    EXPECT_EQ(call.op, SurfaceOp::Rectangle);
    EXPECT_EQ((RECT{call.args[0], call.args[1], call.args[2], call.args[3]}),
              (RECT{110, 105, 130, 120}));
    EXPECT_EQ(call.pen, (PenDescription{PS_SOLID, 1, 0x0000FFFF}));
    EXPECT_EQ(call.brush, (BrushDescription{filled ? BS_SOLID : BS_NULL, 0x0000FFFF}));
    EXPECT_EQ(rectangle.GetRect(), (RECT{10, 5, 30, 20}));
}

INSTANTIATE_TEST_SUITE_P(FilledOrNot, DrawRectangleDraw, ::testing::Bool());

TEST(DrawRectangle, EmptyBoundsStillReachTheSurface) {
    ShapeCanvas canvas(8, 8);
    const SurfaceCallLog& log = canvas.Record();
    MakeRectangle(4, 4, 4, 4, true).Draw(canvas.dc, 1, 2);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[2].op, SurfaceOp::Rectangle);
    EXPECT_EQ((RECT{log[2].args[0], log[2].args[1], log[2].args[2], log[2].args[3]}),
              (RECT{5, 6, 5, 6}));
    for (std::int32_t y = 0; y < canvas.Height(); ++y) {
        for (std::int32_t x = 0; x < canvas.Width(); ++x) {
            EXPECT_FALSE(canvas.Painted(x, y)) << x << ", " << y;
        }
    }
}

TEST(DrawRectangle, OffsetsWrapAtTheLimitsOfTheCoordinates) {
    ShapeCanvas canvas(8, 8);
    const SurfaceCallLog& log = canvas.Record();
    MakeRectangle(kMax - 1, kMin, kMax, kMin + 1).Draw(canvas.dc, 2, -1);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ((RECT{log[2].args[0], log[2].args[1], log[2].args[2], log[2].args[3]}),
              (RECT{kMin, kMax, kMin + 1, kMin}));
}

TEST(DrawRectangle, TextElementIsNotWrittenOrReadYet) {
    DrawRectangle rectangle = MakeRectangle(1, 2, 3, 4, true);
    std::ostringstream out;
    EXPECT_TRUE(rectangle.Write(out).fail());
    EXPECT_TRUE(out.str().empty());

    std::istringstream in(
        "rectangle { color { 0 0 0 } f point { color { 0 0 0 } 0 0 0 } point "
        "{ color { 0 0 0 } 9 9 0 }  } ");
    rectangle.Read(in);
    EXPECT_TRUE(in.fail());
    EXPECT_TRUE(rectangle.IsFilled());
    EXPECT_EQ(rectangle.GetRect(), (RECT{1, 2, 3, 4}));
}

}  // namespace

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <sstream>

#include "ShapeCanvas.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawRectangle.h"

namespace {

constexpr std::int32_t kMin = INT_MIN;
constexpr std::int32_t kMax = INT_MAX;

DrawEllipse MakeEllipse(const RECT& box, bool filled = false) {
    DrawRectangle carrier;
    carrier.SetCorners(DrawPoint(box.left, box.top, 0), DrawPoint(box.right, box.bottom, 0));
    DrawEllipse ellipse;
    ellipse.SetBounds(carrier);
    ellipse.SetFilled(filled);
    return ellipse;
}

RECT BoundsOf(const DrawEllipse& ellipse) {
    DrawRectangle carrier;
    ellipse.GetBounds(carrier);
    return carrier.GetRect();
}

TEST(DrawEllipse, StartsEmptyAndNotFilled) {
    const DrawEllipse ellipse;
    EXPECT_EQ(BoundsOf(ellipse), (RECT{0, 0, 0, 0}));
    EXPECT_FALSE(ellipse.IsFilled());
    EXPECT_FALSE(ellipse.Contains(DrawPoint(0, 0, 0)));
}

TEST(DrawEllipse, SetBoundsTakesTheRectanglesNormalisedBox) {
    DrawRectangle rectangle;
    rectangle.SetCorners(DrawPoint(30, 5, 0), DrawPoint(10, 20, 0));
    DrawEllipse ellipse;
    ellipse.SetBounds(rectangle);
    EXPECT_EQ(BoundsOf(ellipse), (RECT{10, 5, 30, 20}));
}

TEST(DrawEllipse, GetBoundsOverwritesTheRectanglesCornersWithBlackRadiusZeroPoints) {
    const DrawEllipse ellipse = MakeEllipse(RECT{5, 6, 25, 16});
    DrawRectangle rectangle;
    DrawPoint stale(100, 100, 7);
    Color white;
    white.SetFromPalette(7);
    stale.SetColor(white);
    rectangle.SetCorners(stale, stale);
    rectangle.SetFilled(true);

    ellipse.GetBounds(rectangle);

    DrawPoint first(0, 0, 0), second(0, 0, 0);
    rectangle.GetCorners(first, second);
    EXPECT_EQ(first.GetPoint(), (POINT{5, 6}));
    EXPECT_EQ(second.GetPoint(), (POINT{25, 16}));
    for (const DrawPoint& corner : {first, second}) {
        EXPECT_EQ(corner.GetRadius(), 0);
        EXPECT_EQ(corner.GetColor(), Color());
    }
    EXPECT_EQ(rectangle.GetRect(), (RECT{5, 6, 25, 16}));
    EXPECT_TRUE(rectangle.IsFilled()) << "only the corners are the ellipse's business";
}

struct EllipseContainsCase {
    const char* what;
    RECT bounds;
    bool filled;
    std::int32_t probeX, probeY, probeRadius;
    bool contained;
};

void PrintTo(const EllipseContainsCase& c, std::ostream* out) {
    *out << c.what;
}

class DrawEllipseContains : public ::testing::TestWithParam<EllipseContainsCase> {};

TEST_P(DrawEllipseContains, IsTheInscribedEllipse) {
    const EllipseContainsCase& c = GetParam();
    const DrawEllipse ellipse = MakeEllipse(c.bounds, c.filled);
    EXPECT_EQ(ellipse.Contains(DrawPoint(c.probeX, c.probeY, c.probeRadius)), c.contained);
}

constexpr RECT kWide{0, 0, 20, 10};
constexpr RECT kPlane{kMin, kMin, kMax, kMax};

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawEllipseContains,
    ::testing::Values(
        EllipseContainsCase{"centre", kWide, true, 10, 5, 0, true},
        EllipseContainsCase{"hollow, centre", kWide, false, 10, 5, 0, true},
        EllipseContainsCase{"corner of the box", kWide, true, 0, 0, 0, false},
        EllipseContainsCase{"near the corner, inside the box", kWide, true, 1, 1, 0, false},
        EllipseContainsCase{"left end of the middle row", kWide, true, 0, 5, 0, true},
        EllipseContainsCase{"right end of the middle row", kWide, true, 19, 5, 0, true},
        EllipseContainsCase{"right edge of the box", kWide, true, 20, 5, 0, false},
        EllipseContainsCase{"probe radius plays no part", kWide, true, 0, 0, 50, false},
        EllipseContainsCase{"empty box", {3, 3, 3, 3}, true, 3, 3, 0, false},
        EllipseContainsCase{"zero height", {0, 4, 10, 4}, true, 5, 4, 0, false},
        EllipseContainsCase{"one pixel box", {3, 3, 4, 4}, true, 3, 3, 0, true},
        EllipseContainsCase{"whole plane, centre", kPlane, true, -1, -1, 0, true},
        EllipseContainsCase{"whole plane, corner", kPlane, true, kMin, kMin, 0, false},
        EllipseContainsCase{"whole plane, left end of the middle", kPlane, true, kMin, -1, 0,
                            true}));

class DrawEllipseDraw : public ::testing::TestWithParam<bool> {};

TEST_P(DrawEllipseDraw, AsksForTheMovedEllipseWithPenAndBrush) {
    const bool filled = GetParam();
    ShapeCanvas canvas(8, 8);
    DrawEllipse ellipse = MakeEllipse(RECT{10, 5, 30, 20}, filled);
    Color grey;
    grey.SetFromPalette(14);
    ellipse.SetColor(grey);

    const SurfaceCallLog& log = canvas.Record();
    ellipse.Draw(canvas.dc, 100, 100);

    ASSERT_EQ(log.size(), 5u);
    const SurfaceCall& call = log[2];
    EXPECT_EQ(call.op, SurfaceOp::Ellipse);
    EXPECT_EQ((RECT{call.args[0], call.args[1], call.args[2], call.args[3]}),
              (RECT{110, 105, 130, 120}));
    EXPECT_EQ(call.pen, (PenDescription{PS_SOLID, 1, 0x00808080}));
    EXPECT_EQ(call.brush, (BrushDescription{filled ? BS_SOLID : BS_NULL, 0x00808080}));
    EXPECT_EQ(BoundsOf(ellipse), (RECT{10, 5, 30, 20}));
}

INSTANTIATE_TEST_SUITE_P(FilledOrNot, DrawEllipseDraw, ::testing::Bool());

TEST(DrawEllipse, TextElementIsNotWrittenOrReadYet) {
    DrawEllipse ellipse = MakeEllipse(RECT{1, 2, 3, 4}, true);
    std::ostringstream out;
    EXPECT_TRUE(ellipse.Write(out).fail());
    EXPECT_TRUE(out.str().empty());

    std::istringstream in(
        "ellipse { color { 0 0 0 } f rectangle { color { 0 0 0 } f point { "
        "color { 0 0 0 } 0 0 0 } point { color { 0 0 0 } 9 9 0 }  }  } ");
    ellipse.Read(in);
    EXPECT_TRUE(in.fail());
    EXPECT_TRUE(ellipse.IsFilled());
    EXPECT_EQ(BoundsOf(ellipse), (RECT{1, 2, 3, 4}));
}

}  // namespace

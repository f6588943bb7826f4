#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <sstream>

#include "ShapeCanvas.h"
#include "shapes/DrawLine.h"

namespace {

constexpr std::int32_t kMin = INT_MIN;
constexpr std::int32_t kMax = INT_MAX;

DrawLine MakeLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                  std::int32_t width) {
    DrawLine line;
    line.SetStart(DrawPoint(x1, y1, 0));
    line.SetEnd(DrawPoint(x2, y2, 0));
    line.SetWidth(width);
    return line;
}

struct LineContainsCase {
    const char* what;
    std::int32_t x1, y1, x2, y2, width;
    std::int32_t probeX, probeY, probeRadius;
    bool contained;
};

void PrintTo(const LineContainsCase& c, std::ostream* out) {
    *out << c.what;
}

class DrawLineContains : public ::testing::TestWithParam<LineContainsCase> {};

TEST_P(DrawLineContains, Answers) {
    const LineContainsCase& c = GetParam();
    const DrawLine line = MakeLine(c.x1, c.y1, c.x2, c.y2, c.width);
    EXPECT_EQ(line.Contains(DrawPoint(c.probeX, c.probeY, c.probeRadius)), c.contained);
}

INSTANTIATE_TEST_SUITE_P(
    Horizontal, DrawLineContains,
    ::testing::Values(
        LineContainsCase{"middle", 0, 0, 10, 0, 1, 5, 0, 0, true},
        LineContainsCase{"end", 0, 0, 10, 0, 1, 10, 0, 0, true},
        LineContainsCase{"start", 0, 0, 10, 0, 1, 0, 0, 0, true},
        LineContainsCase{"one beyond the end", 0, 0, 10, 0, 1, 11, 0, 0, true},
        LineContainsCase{"two beyond the end", 0, 0, 10, 0, 1, 12, 0, 0, false},
        LineContainsCase{"one behind the start", 0, 0, 10, 0, 1, -1, 0, 0, false},
        LineContainsCase{"one below, width 1", 0, 0, 10, 0, 1, 5, 1, 0, false},
        LineContainsCase{"one above, width 2", 0, 0, 10, 0, 2, 5, -1, 0, true},
        LineContainsCase{"one below, width 2", 0, 0, 10, 0, 2, 5, 1, 0, true},
        LineContainsCase{"one below, width 3", 0, 0, 10, 0, 3, 5, 1, 0, true},
        LineContainsCase{"one below, width 4", 0, 0, 10, 0, 4, 5, 1, 0, true},
        LineContainsCase{"two below, width 4: reach passes, distance fails", 0, 0, 10, 0, 4, 5, 2,
                         0, false},
        LineContainsCase{"three beyond the end, width 4", 0, 0, 10, 0, 4, 13, 0, 0, true},
        LineContainsCase{"four beyond the end, width 4", 0, 0, 10, 0, 4, 14, 0, 0, false},
        LineContainsCase{"behind the start, however wide", 0, 0, 10, 0, 1000, -1, 0, 0, false},
        LineContainsCase{"probe radius 3 gives t = 3", 0, 0, 10, 0, 1, 5, 1, 3, true},
        LineContainsCase{"probe radius 3: 400 < 300 fails", 0, 0, 10, 0, 1, 5, 2, 3, false},
        LineContainsCase{"probe radius 3 reaches three beyond", 0, 0, 10, 0, 1, 13, 0, 3, true},
        LineContainsCase{"probe radius replaces the 1, not adds to it", 0, 0, 10, 0, 1, 14, 0, 3,
                         false},
        LineContainsCase{"probe radius and width add", 0, 0, 10, 0, 4, 15, 0, 3, true},
        LineContainsCase{"negative probe radius leaves no tolerance", 0, 0, 10, 0, 1, 5, 0, -1,
                         false},
        LineContainsCase{"width -1 halves to 0", 0, 0, 10, 0, -1, 5, 0, 0, true},
        LineContainsCase{"width -3 halves to -1, toward zero", 0, 0, 10, 0, -3, 5, 0, 0, false},
        LineContainsCase{"width 0", 0, 0, 10, 0, 0, 5, 0, 0, true}));

INSTANTIATE_TEST_SUITE_P(
    Other, DrawLineContains,
    ::testing::Values(
        LineContainsCase{"diagonal, on it", 0, 0, 10, 10, 1, 5, 5, 0, true},
        LineContainsCase{"diagonal, 0.71 off", 0, 0, 10, 10, 1, 6, 5, 0, true},
        LineContainsCase{"diagonal, 1.41 off", 0, 0, 10, 10, 1, 7, 5, 0, false},
        LineContainsCase{"diagonal, one beyond both axes", 0, 0, 10, 10, 1, 11, 11, 0, true},
        LineContainsCase{"diagonal, behind in x only", 0, 0, 10, 10, 4, -1, 0, 0, false},
        LineContainsCase{"vertical, on it", 0, 0, 0, 10, 1, 0, 5, 0, true},
        LineContainsCase{"vertical, one right", 0, 0, 0, 10, 1, 1, 5, 0, false},
        LineContainsCase{"vertical, width 4 reaches both sides", 0, 0, 0, 10, 4, -1, 5, 0, true},
        LineContainsCase{"vertical, width 4 right side", 0, 0, 0, 10, 4, 1, 5, 0, true},
        LineContainsCase{"vertical, behind the start", 0, 0, 0, 10, 4, 1, -1, 0, false},
        LineContainsCase{"vertical, three beyond the end", 0, 0, 0, 10, 4, 0, 13, 0, true},
        LineContainsCase{"reversed direction", 10, 0, 0, 0, 1, 5, 0, 0, true},
        LineContainsCase{"reversed, behind its start", 10, 0, 0, 0, 1, 11, 0, 0, false},
        LineContainsCase{"reversed, one beyond its end", 10, 0, 0, 0, 1, -1, 0, 0, true},
        LineContainsCase{"coinciding ends, at them", 3, 3, 3, 3, 1, 3, 3, 0, false},
        LineContainsCase{"coinciding ends, wide", 3, 3, 3, 3, 100, 3, 3, 0, false},
        LineContainsCase{"steep, px and dx both zero", 0, 0, 1, 100, 1, 0, 50, 0, true}));

// Exactness at the limits: products and squares far beyond 64 bits.
INSTANTIATE_TEST_SUITE_P(
    Limits, DrawLineContains,
    ::testing::Values(
        LineContainsCase{"plane diagonal through its middle", kMin, kMin, kMax, kMax, 1, 0, 0, 0,
                         true},
        // c = 2^32 - 1 against dx = dy = 2^32 - 1: a distance of 0.707.
        LineContainsCase{"plane diagonal, 0.71 off", kMin, kMin, kMax, kMax, 1, 1, 0, 0, true},
        LineContainsCase{"plane diagonal, 1.41 off", kMin, kMin, kMax, kMax, 1, 2, 0, 0, false},
        LineContainsCase{"plane diagonal, at its end", kMin, kMin, kMax, kMax, 1, kMax, kMax, 0,
                         true},
        LineContainsCase{"plane diagonal, opposite corner, widest", kMin, kMin, kMax, kMax, kMax,
                         kMax, kMin, kMax, false},
        LineContainsCase{"plane diagonal, far off, widest", kMin, kMin, kMax, kMax, kMax, 0,
                         kMin + 1, kMax, false},
        // Both differences 2^32 - 1 and t = 2^31 - 1 + 2^30 - 1.
        // t = 3'221'225'470 lies between 56'755² and 56'756².
        LineContainsCase{"full-width horizontal, widest, just within", kMin, 0, kMax, 0, kMax, kMax,
                         56'755, kMax, true},
        LineContainsCase{"full-width horizontal, widest, just beyond", kMin, 0, kMax, 0, kMax, kMax,
                         56'756, kMax, false},
        LineContainsCase{"full-width horizontal, widest, far above", kMin, 0, kMax, 0, kMax, kMax,
                         kMax, kMax, false},
        LineContainsCase{"full-width horizontal, t reaches", kMin, 0, kMax, 0, 1, 0, 0, kMax, true},
        LineContainsCase{"reach with most negative t", 0, 0, 10, 0, kMin, 5, 0, kMin, false},
        LineContainsCase{"vertical at the left edge, probe at the right", kMin, kMin, kMin, kMax,
                         kMax, kMax, 0, kMax, false},
        LineContainsCase{"vertical at the left edge, probe near", kMin, kMin, kMin, kMax, 1,
                         kMin + 1, 0, 3, true}));

/// The same algorithm, written out plainly, with the final comparison made on 256-bit
/// unsigned numbers so that nothing in it can wrap.
bool ReferenceContains(const DrawLine& line, const DrawPoint& probe) {
    using I128 = __int128;
    using U128 = unsigned __int128;
    const I128 x1 = line.GetStart().GetX(), y1 = line.GetStart().GetY();
    const I128 dx = I128{line.GetEnd().GetX()} - x1, dy = I128{line.GetEnd().GetY()} - y1;
    const I128 px = I128{probe.GetX()} - x1, py = I128{probe.GetY()} - y1;
    const I128 t = I128{probe.GetRadius() != 0 ? probe.GetRadius() : 1} + line.GetWidth() / 2;
    const auto sign = [](I128 v) { return v > 0 ? 1 : v < 0 ? -1 : 0; };
    const auto abs = [](I128 v) { return v < 0 ? -v : v; };
    if (sign(px) * sign(dx) < 0 || sign(py) * sign(dy) < 0) {
        return false;
    }
    if (abs(px) - t > abs(dx) || abs(py) - t > abs(dy)) {
        return false;
    }
    const I128 c = px * dy - py * dx;
    if (t <= 0) {
        return false;  // c² >= 0 >= t·(dx² + dy²)
    }
    struct U256 {
        U128 high, low;
    };
    // Schoolbook product of two 128-bit numbers from four 64-bit halves.
    const auto multiply = [](U128 a, U128 b) {
        const U128 mask = ~std::uint64_t{0};
        const U128 a0 = a & mask, a1 = a >> 64, b0 = b & mask, b1 = b >> 64;
        const U128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const U128 middle = (p00 >> 64) + (p01 & mask) + (p10 & mask);
        return U256{p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64),
                    (middle << 64) | (p00 & mask)};
    };
    const U256 left = multiply(static_cast<U128>(abs(c)), static_cast<U128>(abs(c)));
    const U256 right =
        multiply(static_cast<U128>(t), static_cast<U128>(dx * dx) + static_cast<U128>(dy * dy));
    return left.high < right.high || (left.high == right.high && left.low < right.low);
}

TEST(DrawLineContainsReference, AgreesAcrossTheWholeCoordinateRange) {
    std::mt19937_64 random(20240607);
    std::uniform_int_distribution<std::int32_t> any(kMin, kMax);
    std::uniform_int_distribution<std::int32_t> small(-8, 8);
    std::uniform_int_distribution<int> scale(0, 31);
    std::uniform_real_distribution<double> along(-0.05, 1.05);
    int containedCount = 0;
    for (int i = 0; i < 200'000; ++i) {
        const std::int32_t x1 = any(random), y1 = any(random);
        // Ends anywhere, or at a random power-of-two distance so that both short and
        // plane-spanning lines occur.
        const auto near = [&](std::int32_t from) {
            const std::int64_t spread = std::int64_t{1} << scale(random);
            std::uniform_int_distribution<std::int64_t> offset(-spread, spread);
            const std::int64_t to = from + offset(random);
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(to, kMin, kMax));
        };
        const bool wide = i % 2 == 0;
        const std::int32_t x2 = wide ? any(random) : near(x1);
        const std::int32_t y2 = wide ? any(random) : near(y1);
        // Probes on or near the segment, so that the distance test is what decides.
        const double f = along(random);
        const auto between = [&](std::int32_t a, std::int32_t b) {
            const double v = static_cast<double>(a) + f * (static_cast<double>(b) - a);
            const std::int64_t rounded = static_cast<std::int64_t>(v) + small(random);
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(rounded, kMin, kMax));
        };
        const std::int32_t widths[] = {1, 2, 4, small(random), any(random)};
        const std::int32_t radii[] = {0, 0, 3, small(random), any(random)};
        const DrawLine line = MakeLine(x1, y1, x2, y2, widths[i % 5]);
        const DrawPoint probe(between(x1, x2), between(y1, y2), radii[(i / 5) % 5]);
        const bool expected = ReferenceContains(line, probe);
        containedCount += expected;
        ASSERT_EQ(line.Contains(probe), expected)
            << "line (" << x1 << ", " << y1 << ") to (" << x2 << ", " << y2 << ") width "
            << line.GetWidth() << ", probe (" << probe.GetX() << ", " << probe.GetY() << ") radius "
            << probe.GetRadius();
    }
    // Both answers must be well represented for the comparison to mean anything.
    EXPECT_GT(containedCount, 20'000);
    EXPECT_LT(containedCount, 180'000);
}

TEST(DrawLine, StartsBlackAtTheOriginWithWidthOne) {
    const DrawLine line;
    EXPECT_EQ(line.GetWidth(), 1);
    EXPECT_EQ(line.GetStart().GetPoint(), (POINT{0, 0}));
    EXPECT_EQ(line.GetEnd().GetPoint(), (POINT{0, 0}));
    EXPECT_EQ(line.GetStart().GetRadius(), 0);
    EXPECT_EQ(line.GetEnd().GetColor(), Color());
}

TEST(DrawLine, EndpointsAreStoredWhole) {
    DrawPoint start(1, 2, 3);
    DrawPoint end(4, 5, 6);
    Color red;
    red.SetFromPalette(4);
    end.SetColor(red);
    DrawLine line;
    line.SetStart(start);
    line.SetEnd(end);
    line.SetWidth(-7);
    EXPECT_EQ(line.GetStart().GetRadius(), 3);
    EXPECT_EQ(line.GetEnd().GetPoint(), (POINT{4, 5}));
    EXPECT_EQ(line.GetEnd().GetRadius(), 6);
    EXPECT_EQ(line.GetEnd().GetColor(), red);
    EXPECT_EQ(line.GetWidth(), -7);
}

TEST(DrawLine, EndpointRadiusAndColourPlayNoPartInHitTesting) {
    DrawLine line;
    line.SetStart(DrawPoint(0, 0, 50));
    line.SetEnd(DrawPoint(10, 0, 50));
    EXPECT_FALSE(line.Contains(DrawPoint(5, 1, 0)));
    EXPECT_FALSE(line.Contains(DrawPoint(12, 0, 0)));
}

class DrawLineDraw : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(DrawLineDraw, StrokesWithAPenOfTheLinesWidthAndNoBrush) {
    ShapeCanvas canvas(8, 8);
    DrawLine line = MakeLine(0, 0, 10, 0, GetParam());
    Color magenta;
    magenta.SetFromPalette(5);
    line.SetColor(magenta);
    CPen* const pen = canvas.dc.GetCurrentPen();
    CBrush* const brush = canvas.dc.GetCurrentBrush();

    const SurfaceCallLog& log = canvas.Record();
    line.Draw(canvas.dc, 100, 50);

    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].op, SurfaceOp::SelectPen);
    EXPECT_NE(log[0].object, pen);
    EXPECT_EQ(log[1].op, SurfaceOp::MoveTo);
    EXPECT_EQ(log[1].args[0], 100);
    EXPECT_EQ(log[1].args[1], 50);
    EXPECT_EQ(log[2].op, SurfaceOp::LineTo);
    EXPECT_EQ(log[2].args[0], 110);
    EXPECT_EQ(log[2].args[1], 50);
    EXPECT_EQ(log[2].pen, (PenDescription{PS_SOLID, GetParam(), 0x00FF00FF}));
    EXPECT_EQ(log[3].op, SurfaceOp::SelectPen);
    EXPECT_EQ(log[3].object, pen);
    EXPECT_EQ(canvas.dc.GetCurrentPen(), pen);
    EXPECT_EQ(canvas.dc.GetCurrentBrush(), brush);
    EXPECT_EQ(line.GetStart().GetX(), 0) << "drawing leaves the line where it was";
}

INSTANTIATE_TEST_SUITE_P(Widths, DrawLineDraw, ::testing::Values(5, 1, 0, -3, kMax, kMin));

TEST(DrawLine, OffsetsWrapAtTheLimitsOfTheCoordinates) {
    ShapeCanvas canvas(8, 8);
    const SurfaceCallLog& log = canvas.Record();
    MakeLine(kMax, kMin, kMin, kMax, 1).Draw(canvas.dc, 1, -1);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1].args[0], kMin);
    EXPECT_EQ(log[1].args[1], kMax);
    EXPECT_EQ(log[2].args[0], kMin + 1);
    EXPECT_EQ(log[2].args[1], kMax - 1);
}

TEST(DrawLine, TextElementIsNotWrittenOrReadYet) {
    DrawLine line = MakeLine(1, 2, 3, 4, 5);
    std::ostringstream out;
    EXPECT_TRUE(line.Write(out).fail());
    EXPECT_TRUE(out.str().empty());

    std::istringstream in(
        "line { color { 0 0 0 } 9 point { color { 0 0 0 } 9 9 0 }  point { "
        "color { 0 0 0 } 9 9 0 }  } ");
    line.Read(in);
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(line.GetWidth(), 5);
    EXPECT_EQ(line.GetStart().GetPoint(), (POINT{1, 2}));
    EXPECT_EQ(line.GetEnd().GetPoint(), (POINT{3, 4}));
}

}  // namespace

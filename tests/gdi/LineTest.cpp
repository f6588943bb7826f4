#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "SurfaceFixture.h"

namespace {

TEST(ThinLine, LeavesOutItsLastPixel) {
    TestSurface surface(6, 4);
    surface.dc.MoveTo(0, 0);
    surface.dc.LineTo(5, 0);
    surface.dc.MoveTo(5, 3);
    surface.dc.LineTo(5, 1);
    surface.dc.MoveTo(2, 2);
    surface.dc.LineTo(2, 2);  // from a point to itself: nothing
    EXPECT_EQ(surface.Picture(),
              "#####.\n"
              "......\n"
              ".....#\n"
              ".....#\n");
    EXPECT_EQ(surface.dc.GetCurrentPosition(), (POINT{2, 2}));
}

TEST(ThinLine, ShallowSlopeStepsAtHalfway) {
    TestSurface surface(9, 3);
    surface.dc.MoveTo(0, 0);
    surface.dc.LineTo(8, 2);
    // y = round-half-up(x / 4): steps at x = 2 and x = 6.
    EXPECT_EQ(surface.Picture(),
              "##.......\n"
              "..####...\n"
              "......##.\n");
}

TEST(ThinLine, SteepLineWalksAlongY) {
    TestSurface surface(3, 6);
    surface.dc.MoveTo(2, 5);
    surface.dc.LineTo(0, 0);
    EXPECT_EQ(surface.Picture(),
              "...\n"
              "#..\n"
              ".#.\n"
              ".#.\n"
              "..#\n"
              "..#\n");
}

// Clipping never changes which pixels a line lights: a window onto a long line, drawn into a
// small bitmap through a viewport origin, shows exactly the pixels of the same line drawn whole
// into a large bitmap.
TEST(ThinLine, ClippedLineLightsTheSamePixelsAsTheWholeLine) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-200, 600);
    std::uniform_int_distribution<int> window(0, 350);
    TestSurface whole(1000, 1000);
    TestSurface part(50, 50);
    for (int round = 0; round < 400; ++round) {
        const POINT from{coordinate(random), coordinate(random)};
        const POINT to{coordinate(random), coordinate(random)};
        const POINT corner{window(random), window(random)};
        whole.Clear(RGB(255, 255, 255));
        whole.dc.SetViewportOrg(200, 200);
        whole.dc.MoveTo(from.x, from.y);
        whole.dc.LineTo(to.x, to.y);
        part.Clear(RGB(255, 255, 255));
        part.dc.SetViewportOrg(-corner.x, -corner.y);
        part.dc.MoveTo(from.x, from.y);
        part.dc.LineTo(to.x, to.y);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 50; ++x) {
                ASSERT_EQ(part.At(x, y), whole.At(corner.x + x + 200, corner.y + y + 200))
                    << "line " << from.x << "," << from.y << " to " << to.x << "," << to.y;
            }
        }
    }
}

TEST(ThinLine, EndpointsAtTheLimitsOfTheCoordinateSpace) {
    TestSurface surface(16, 16);
    // A perfect diagonal through the whole space passes through the bitmap's diagonal.
    surface.dc.MoveTo(INT32_MIN, INT32_MIN);
    surface.dc.LineTo(INT32_MAX, INT32_MAX);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(surface.At(i, i), RGB(0, 0, 0)) << i;
    }
    surface.Clear(RGB(255, 255, 255));
    surface.dc.MoveTo(INT32_MIN, 7);
    surface.dc.LineTo(INT32_MAX, 7);
    surface.dc.MoveTo(3, INT32_MAX);
    surface.dc.LineTo(3, INT32_MIN);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(surface.At(i, 7), RGB(0, 0, 0)) << i;
        EXPECT_EQ(surface.At(3, i), RGB(0, 0, 0)) << i;
    }
    // A nearly horizontal line that crosses the bitmap far from both ends still steps exactly
    // where the rule puts it: y = round-half-up((x - x0) * dy / dx) from (x0, 0).
    surface.Clear(RGB(255, 255, 255));
    surface.dc.MoveTo(-2000000000, 0);
    surface.dc.LineTo(2000000000, 32);
    for (int x = 0; x < 16; ++x) {
        const __int128 numerator = (static_cast<__int128>(x) + 2000000000) * 2 * 32 + 4000000000LL;
        const int y = static_cast<int>(numerator / (2 * static_cast<__int128>(4000000000LL)));
        EXPECT_EQ(surface.At(x, y), RGB(0, 0, 0)) << x;
    }
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((px - ax) * dx + (py - ay) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// A wide pen covers the pixels whose centres lie within width / 2 of the segment between the
// centres of its end pixels; measured from centre to centre, that is whole coordinates. Pixels
// whose distance is within a hair of the limit are left out of the comparison: there the rounding
// of floating-point arithmetic may decide either way.
TEST(WideLine, CoversThePixelsWithinHalfTheWidth) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-10, 50);
    std::uniform_int_distribution<int> width(2, 12);
    TestSurface surface(40, 40);
    for (int round = 0; round < 1500; ++round) {
        const POINT from{coordinate(random), coordinate(random)};
        const POINT to{coordinate(random), coordinate(random)};
        const int penWidth = width(random);
        CPen pen(PS_SOLID, penWidth, RGB(0, 0, 0));
        CPen* previous = surface.dc.SelectObject(&pen);
        surface.Clear(RGB(255, 255, 255));
        surface.dc.MoveTo(from.x, from.y);
        surface.dc.LineTo(to.x, to.y);
        surface.dc.SelectObject(previous);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const double distance = DistanceToSegment(x, y, from.x, from.y, to.x, to.y);
                if (std::abs(distance - penWidth / 2.0) < 1e-9) {
                    continue;
                }
                ASSERT_EQ(surface.At(x, y) == RGB(0, 0, 0), distance < penWidth / 2.0)
                    << "width " << penWidth << " line " << from.x << "," << from.y << " to " << to.x
                    << "," << to.y << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(WideLine, OddWidthsAreCentredOnTheThinLine) {
    TestSurface surface(12, 9);
    // Rows 3 to 5 around the thin line's row 4; the round caps reach 1.5 beyond the end
    // pixels' centres, which takes in the corner pixels' centres (about 1.41 away).
    CPen pen(PS_SOLID, 3, RGB(0, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.MoveTo(3, 4);
    surface.dc.LineTo(8, 4);
    EXPECT_EQ(surface.Picture(),
              "............\n"
              "............\n"
              "............\n"
              "..########..\n"
              "..########..\n"
              "..########..\n"
              "............\n"
              "............\n"
              "............\n");
}

TEST(WideLine, HugePenAndFarEndpointsStayWithinTheBitmap) {
    TestSurface surface(32, 32);
    CPen pen(PS_SOLID, INT32_MAX, RGB(0, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.MoveTo(INT32_MIN, INT32_MAX);
    surface.dc.LineTo(INT32_MAX, INT32_MIN);
    EXPECT_EQ(surface.Picture().find('.'), std::string::npos);
}

TEST(LinePen, NullPenDrawsNothingButMovesThePosition) {
    TestSurface surface(8, 8);
    CPen pen(PS_NULL, 1, RGB(0, 0, 0));
    surface.dc.SelectObject(&pen);
    surface.dc.MoveTo(0, 0);
    surface.dc.LineTo(7, 7);
    EXPECT_EQ(surface.Picture().find('#'), std::string::npos);
    EXPECT_EQ(surface.dc.GetCurrentPosition(), (POINT{7, 7}));
}

}  // namespace

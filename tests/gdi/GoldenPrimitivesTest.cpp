#include <gtest/gtest.h>

#include "SurfaceFixture.h"
#include "support/GoldenImage.h"

namespace {

// Pins the exact pixels of small ellipses, which users see most: every box size from 1 by 1 to
// 9 by 9, outlined in black and filled in red, one per cell of a 10 by 10 grid.
TEST(GoldenPrimitives, SmallEllipsesOfEverySize) {
    TestSurface surface(100, 100);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush brush(RGB(220, 40, 40));
    surface.dc.SelectObject(&pen);
    surface.dc.SelectObject(&brush);
    for (int height = 1; height <= 9; ++height) {
        for (int width = 1; width <= 9; ++width) {
            const int left = width * 10 - 9;
            const int top = height * 10 - 9;
            surface.dc.Ellipse(left, top, left + width, top + height);
        }
    }
    EXPECT_TRUE(MatchesGolden(surface.bitmap, "gdi_small_ellipses"));
}

// Thin lines in all eight directions from a centre, and wide round-capped strokes.
TEST(GoldenPrimitives, LinesThinAndWide) {
    TestSurface surface(96, 48);
    const POINT ends[] = {{20, 3},  {43, 10}, {43, 24}, {36, 44},
                          {20, 45}, {2, 38},  {1, 24},  {5, 5}};
    for (const POINT& end : ends) {
        surface.dc.MoveTo(22, 24);
        surface.dc.LineTo(end.x, end.y);
    }
    for (int width = 2; width <= 6; ++width) {
        CPen pen(PS_SOLID, width, RGB(40, 40, 200));
        CPen* previous = surface.dc.SelectObject(&pen);
        surface.dc.MoveTo(44 + width * 8, 6);
        surface.dc.LineTo(50 + width * 8, 40);
        surface.dc.SelectObject(previous);
    }
    EXPECT_TRUE(MatchesGolden(surface.bitmap, "gdi_lines"));
}

}  // namespace

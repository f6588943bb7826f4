#include <gtest/gtest.h>

#include "SurfaceFixture.h"

namespace {

TEST(PatBlt, FillsTheBoxWithTheBrushWithinTheClip) {
    TestSurface surface(6, 4);
    CBrush black(RGB(0, 0, 0));
    surface.dc.SelectObject(&black);
    surface.dc.SetViewportOrg(-1, 0);
    EXPECT_TRUE(surface.dc.PatBlt(2, 1, 10, 2, PATCOPY));
    EXPECT_FALSE(surface.dc.PatBlt(0, 0, 1, 1, SRCCOPY));
    surface.dc.PatBlt(INT32_MIN, INT32_MIN, INT32_MAX, 1, PATCOPY);  // far away: nothing
    EXPECT_EQ(surface.Picture(),
              "......\n"
              ".#####\n"
              ".#####\n"
              "......\n");
}

// The view's paint: the back buffer and the window are addressed with the same world
// coordinates; each surface's own origin places the box.
TEST(BitBlt, CopiesBetweenSurfacesThroughTheirOrigins) {
    TestSurface back(20, 20);
    back.dc.SetPixel(12, 13, RGB(0, 0, 0));
    back.dc.SetPixel(14, 15, RGB(0, 0, 0));
    TestSurface window(5, 5);
    window.dc.SetViewportOrg(-10, -12);  // scrolled to (10, 12)
    EXPECT_TRUE(window.dc.BitBlt(10, 12, 100, 100, &back.dc, 10, 12, SRCCOPY));
    EXPECT_EQ(window.Picture(),
              ".....\n"
              "..#..\n"
              ".....\n"
              "....#\n"
              ".....\n");
}

TEST(BitBlt, OverlappingCopiesAreExactAndSourceOutsideItsBitmapIsNotRead) {
    TestSurface surface(5, 5);
    surface.dc.SetPixel(0, 0, RGB(0, 0, 0));
    // Onto itself, one pixel down and right: copying rows in the wrong order would smear the
    // pixel all along the diagonal.
    surface.dc.BitBlt(1, 1, 5, 5, &surface.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(surface.Picture(),
              "#....\n"
              ".#...\n"
              ".....\n"
              ".....\n"
              ".....\n");
    TestSurface other(5, 5);
    other.dc.BitBlt(0, 0, 5, 5, &surface.dc, -3, INT32_MAX, SRCCOPY);
    other.dc.BitBlt(0, 0, 5, 5, &surface.dc, -1, -1, SRCCOPY);
    EXPECT_EQ(other.Picture(),
              ".....\n"
              ".#...\n"
              "..#..\n"
              ".....\n"
              ".....\n");
}

}  // namespace

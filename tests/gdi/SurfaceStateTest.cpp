#include <gtest/gtest.h>

#include "SurfaceFixture.h"

namespace {

TEST(Selection, ReturnsWhatWasSelectedBeforeAndStartsWithBlackPenWhiteBrush) {
    CDC dc;
    CPen* stockPen = dc.GetCurrentPen();
    CBrush* stockBrush = dc.GetCurrentBrush();
    EXPECT_EQ(stockPen->GetColor(), RGB(0, 0, 0));
    EXPECT_EQ(stockPen->GetWidth(), 1);
    EXPECT_EQ(stockBrush->GetColor(), RGB(255, 255, 255));
    EXPECT_EQ(stockBrush->GetStyle(), BS_SOLID);

    CPen red(PS_SOLID, 3, RGB(255, 0, 0));
    CBrush green(RGB(0, 255, 0));
    EXPECT_EQ(dc.SelectObject(&red), stockPen);
    EXPECT_EQ(dc.SelectObject(&green), stockBrush);
    EXPECT_EQ(dc.SelectObject(stockPen), &red);
    EXPECT_EQ(dc.SelectObject(stockBrush), &green);
    EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
    EXPECT_EQ(dc.GetCurrentPen(), stockPen);
}

TEST(Selection, DrawingWithoutABitmapDoesNothingAndIsSafe) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    EXPECT_TRUE(dc.Ellipse(0, 0, 10, 10));
    EXPECT_TRUE(dc.Rectangle(0, 0, 10, 10));
    EXPECT_EQ(dc.SetPixel(1, 1, RGB(1, 2, 3)), static_cast<COLORREF>(-1));
    EXPECT_EQ(dc.GetPixel(1, 1), static_cast<COLORREF>(-1));
    RECT box{1, 1, 1, 1};
    EXPECT_EQ(dc.GetClipBox(&box), NULLREGION);
    EXPECT_EQ(box, RECT{});
}

TEST(Bitmaps, RefuseSizesThatAreNotPositiveOrTooLarge) {
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.CreateBitmap(0, 10));
    EXPECT_FALSE(bitmap.CreateBitmap(10, -1));
    EXPECT_FALSE(bitmap.CreateBitmap(INT32_MAX, INT32_MAX));
    EXPECT_FALSE(bitmap.CreateBitmap(1 << 14, 1 << 14));
    ASSERT_TRUE(bitmap.CreateBitmap(3, 2));
    EXPECT_EQ(bitmap.GetPixelColor(2, 1), RGB(0, 0, 0));  // new bitmaps are black
    EXPECT_EQ(bitmap.GetPixelColor(3, 0), 0u);
}

TEST(Pixels, SetPixelHonoursOriginAndClip) {
    TestSurface surface(4, 4);
    surface.dc.SetViewportOrg(1, 2);
    EXPECT_EQ(surface.dc.SetPixel(0, 0, RGB(0, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(surface.At(1, 2), RGB(0, 0, 0));
    EXPECT_EQ(surface.dc.GetPixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(surface.dc.SetPixel(3, 0, RGB(0, 0, 0)), static_cast<COLORREF>(-1));
    EXPECT_EQ(surface.dc.SetPixel(INT32_MAX, INT32_MAX, 0), static_cast<COLORREF>(-1));
}

TEST(Mapping, LogicalAndDevicePointsDifferByTheViewportOrigin) {
    CDC dc;
    EXPECT_EQ(dc.SetViewportOrg(-30, -40), (POINT{0, 0}));
    POINT points[2] = {{100, 200}, {INT32_MAX, INT32_MIN}};
    dc.LPtoDP(points, 2);
    EXPECT_EQ(points[0], (POINT{70, 160}));
    EXPECT_EQ(points[1], (POINT{INT32_MAX - 30, INT32_MAX - 39}));  // wraps, defined
    dc.DPtoLP(points, 2);
    EXPECT_EQ(points[0], (POINT{100, 200}));
    EXPECT_EQ(points[1], (POINT{INT32_MAX, INT32_MIN}));
    EXPECT_EQ(dc.SetMapMode(MM_TEXT), MM_TEXT);
    EXPECT_EQ(dc.SetMapMode(2), 0);
}

TEST(Clipping, ClipBoxIsTheBitmapUntilNarrowedAndIsInLogicalUnits) {
    TestSurface surface(100, 80);
    RECT box;
    EXPECT_EQ(surface.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 100, 80}));

    surface.dc.SetViewportOrg(-10, -20);  // scrolled by (10, 20)
    EXPECT_EQ(surface.dc.IntersectClipRect(15, 25, 500, 500), SIMPLEREGION);
    surface.dc.GetClipBox(&box);
    EXPECT_EQ(box, (RECT{15, 25, 110, 100}));
    EXPECT_EQ(surface.dc.IntersectClipRect(0, 0, 15, 25), NULLREGION);
    EXPECT_EQ(surface.dc.GetClipBox(&box), NULLREGION);

    surface.dc.SelectClipRgn(nullptr);
    surface.dc.GetClipBox(&box);
    EXPECT_EQ(box, (RECT{10, 20, 110, 100}));
}

// The back buffer keeps its clip while bitmaps are swapped in and out between paints.
TEST(Clipping, ClipSurvivesBitmapSelectionAndBoundsEveryPrimitive) {
    TestSurface surface(10, 10);
    CBitmap other;
    other.CreateBitmap(10, 10);
    surface.dc.IntersectClipRect(2, 2, 5, 5);
    CBitmap* previous = surface.dc.SelectObject(&other);
    surface.dc.SelectObject(previous);

    CBrush black(RGB(0, 0, 0));
    surface.dc.SelectObject(&black);
    surface.dc.Rectangle(0, 0, 10, 10);
    surface.dc.Ellipse(-100, -100, 100, 100);
    surface.dc.MoveTo(0, 3);
    surface.dc.LineTo(10, 3);
    surface.dc.SetPixel(8, 8, RGB(0, 0, 0));
    surface.dc.PatBlt(0, 0, 10, 10, PATCOPY);
    EXPECT_EQ(surface.Picture(),
              "..........\n"
              "..........\n"
              "..###.....\n"
              "..###.....\n"
              "..###.....\n"
              "..........\n"
              "..........\n"
              "..........\n"
              "..........\n"
              "..........\n");
}

}  // namespace

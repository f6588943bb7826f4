// Properties over many random shapes (fixed seeds): what each shape paints against what it
// reports as hit, and what it leaves selected on the surface.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "ShapeCanvas.h"
#include "gdi/CRgn.h"
#include "gdi/RectFunctions.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"

namespace {

constexpr int kBoxes = 3000;
constexpr std::int32_t kCanvasWidth = 40;
constexpr std::int32_t kCanvasHeight = 32;

/// Boxes and offsets that put shapes inside the canvas, across its edges and wholly outside.
class RandomGeometry {
public:
    explicit RandomGeometry(std::uint32_t seed) : random_(seed) {}

    std::int32_t Between(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random_);
    }
    /// Corners in any order, so that the shapes normalise them.
    DrawRectangle Carrier() {
        DrawRectangle carrier;
        carrier.SetCorners(DrawPoint(Between(-25, 55), Between(-25, 45), 0),
                           DrawPoint(Between(-25, 55), Between(-25, 45), 0));
        return carrier;
    }
    POINT Offset() { return POINT{Between(-15, 15), Between(-15, 15)}; }
    Color Colour() {
        Color colour;
        colour.SetFromPalette(Between(1, 15));
        return colour;
    }

private:
    std::mt19937 random_;
};

void ExpectSameColourWherePainted(const ShapeCanvas& canvas, COLORREF colour) {
    for (std::int32_t y = 0; y < canvas.Height(); ++y) {
        for (std::int32_t x = 0; x < canvas.Width(); ++x) {
            if (canvas.Painted(x, y)) {
                ASSERT_EQ(canvas.At(x, y), colour) << x << ", " << y;
            }
        }
    }
}

TEST(ShapePixels, FilledEllipsePaintsExactlyWhatItContainsAndItsRegionHolds) {
    RandomGeometry geometry(1);
    ShapeCanvas canvas(kCanvasWidth, kCanvasHeight);
    for (int i = 0; i < kBoxes; ++i) {
        DrawEllipse ellipse;
        const DrawRectangle carrier = geometry.Carrier();
        ellipse.SetBounds(carrier);
        ellipse.SetFilled(true);
        ellipse.SetColor(geometry.Colour());
        const POINT offset = geometry.Offset();
        CRgn region;
        const RECT bounds = carrier.GetRect();
        region.CreateEllipticRgnIndirect(&bounds);

        canvas.Clear();
        ellipse.Draw(canvas.dc, offset.x, offset.y);

        for (std::int32_t y = 0; y < kCanvasHeight; ++y) {
            for (std::int32_t x = 0; x < kCanvasWidth; ++x) {
                const bool hit = ellipse.Contains(DrawPoint(x - offset.x, y - offset.y, 0));
                ASSERT_EQ(canvas.Painted(x, y), hit)
                    << "box " << bounds.left << ", " << bounds.top << ", " << bounds.right << ", "
                    << bounds.bottom << " offset " << offset.x << ", " << offset.y << " pixel " << x
                    << ", " << y;
                ASSERT_EQ(region.PtInRegion(x - offset.x, y - offset.y), hit);
            }
        }
        ExpectSameColourWherePainted(canvas, ellipse.GetColor().GetValue());
    }
}

TEST(ShapePixels, HollowEllipsePaintsOnlyItsRimAndLeavesTheInsideAlone) {
    RandomGeometry geometry(2);
    ShapeCanvas canvas(kCanvasWidth, kCanvasHeight);
    for (int i = 0; i < kBoxes; ++i) {
        DrawEllipse ellipse;
        ellipse.SetBounds(geometry.Carrier());
        ellipse.SetColor(geometry.Colour());
        const POINT offset = geometry.Offset();

        canvas.Clear();
        ellipse.Draw(canvas.dc, offset.x, offset.y);

        // Hits over the canvas and a margin of one pixel, so that rim pixels at the canvas's
        // edges are judged by their neighbours outside it.
        std::vector<bool> hits(std::size_t{kCanvasWidth + 2} * (kCanvasHeight + 2));
        const auto at = [&](std::int32_t x, std::int32_t y) {
            return hits[static_cast<std::size_t>((y + 1) * (kCanvasWidth + 2) + x + 1)];
        };
        for (std::int32_t y = -1; y <= kCanvasHeight; ++y) {
            for (std::int32_t x = -1; x <= kCanvasWidth; ++x) {
                hits[static_cast<std::size_t>((y + 1) * (kCanvasWidth + 2) + x + 1)] =
                    ellipse.Contains(DrawPoint(x - offset.x, y - offset.y, 0));
            }
        }
        for (std::int32_t y = 0; y < kCanvasHeight; ++y) {
            for (std::int32_t x = 0; x < kCanvasWidth; ++x) {
                const bool rim =
                    at(x, y) && !(at(x - 1, y) && at(x + 1, y) && at(x, y - 1) && at(x, y + 1));
                ASSERT_EQ(canvas.Painted(x, y), rim) << "pixel " << x << ", " << y;
            }
        }
    }
}

TEST(ShapePixels, FilledRectanglePaintsExactlyWhatItContainsAndPtInRectAccepts) {
    RandomGeometry geometry(3);
    ShapeCanvas canvas(kCanvasWidth, kCanvasHeight);
    for (int i = 0; i < kBoxes; ++i) {
        DrawRectangle rectangle = geometry.Carrier();
        rectangle.SetFilled(true);
        rectangle.SetColor(geometry.Colour());
        const POINT offset = geometry.Offset();
        const RECT bounds = rectangle.GetRect();

        canvas.Clear();
        rectangle.Draw(canvas.dc, offset.x, offset.y);

        for (std::int32_t y = 0; y < kCanvasHeight; ++y) {
            for (std::int32_t x = 0; x < kCanvasWidth; ++x) {
                const POINT probe{x - offset.x, y - offset.y};
                const bool hit = rectangle.Contains(DrawPoint(probe.x, probe.y, 0));
                ASSERT_EQ(canvas.Painted(x, y), hit) << "pixel " << x << ", " << y;
                ASSERT_EQ(PtInRect(&bounds, probe), hit);
            }
        }
        ExpectSameColourWherePainted(canvas, rectangle.GetColor().GetValue());
    }
}

TEST(ShapePixels, HollowRectanglePaintsOnlyItsEdgeAndLeavesTheInsideAlone) {
    RandomGeometry geometry(4);
    ShapeCanvas canvas(kCanvasWidth, kCanvasHeight);
    for (int i = 0; i < kBoxes; ++i) {
        DrawRectangle rectangle = geometry.Carrier();
        rectangle.SetColor(geometry.Colour());
        const POINT offset = geometry.Offset();
        const RECT b = rectangle.GetRect();

        canvas.Clear();
        rectangle.Draw(canvas.dc, offset.x, offset.y);

        for (std::int32_t y = 0; y < kCanvasHeight; ++y) {
            for (std::int32_t x = 0; x < kCanvasWidth; ++x) {
                const std::int32_t px = x - offset.x, py = y - offset.y;
                const bool inside = b.left <= px && px < b.right && b.top <= py && py < b.bottom;
                const bool edge = inside && (px == b.left || px == b.right - 1 || py == b.top ||
                                             py == b.bottom - 1);
                ASSERT_EQ(canvas.Painted(x, y), edge) << "pixel " << x << ", " << y;
            }
        }
    }
}

TEST(ShapePixels, DiscPaintsTheEllipseOfItsBoxAndRadiusZeroOnePixel) {
    // The disc is hit by distance from its centre in whole units, while the surface covers
    // pixels by their centres: the two sets are not the same. What holds is that the disc
    // paints exactly the region of the box it hands to the surface.
    RandomGeometry geometry(5);
    ShapeCanvas canvas(kCanvasWidth, kCanvasHeight);
    for (int i = 0; i < kBoxes; ++i) {
        DrawPoint point(geometry.Between(-20, 60), geometry.Between(-20, 50),
                        geometry.Between(0, 20));
        point.SetColor(geometry.Colour());
        const POINT offset = geometry.Offset();
        const std::int32_t cx = point.GetX() + offset.x, cy = point.GetY() + offset.y;
        const std::int32_t r = point.GetRadius();
        CRgn region;
        const RECT box{cx - r, cy - r, cx + r, cy + r};
        region.CreateEllipticRgnIndirect(&box);

        canvas.Clear();
        point.Draw(canvas.dc, offset.x, offset.y);

        for (std::int32_t y = 0; y < kCanvasHeight; ++y) {
            for (std::int32_t x = 0; x < kCanvasWidth; ++x) {
                const bool expected = r == 0 ? (x == cx && y == cy) : region.PtInRegion(x, y);
                ASSERT_EQ(canvas.Painted(x, y), expected)
                    << "centre " << cx << ", " << cy << " radius " << r << " pixel " << x << ", "
                    << y;
            }
        }
        ExpectSameColourWherePainted(canvas, point.GetColor().GetValue());
    }
}

TEST(ShapePixels, EveryPixelOfAThinLineIsHit) {
    RandomGeometry geometry(6);
    ShapeCanvas canvas(kCanvasWidth, kCanvasHeight);
    for (int i = 0; i < kBoxes; ++i) {
        DrawLine line;
        line.SetStart(DrawPoint(geometry.Between(-20, 60), geometry.Between(-20, 50), 0));
        line.SetEnd(DrawPoint(geometry.Between(-20, 60), geometry.Between(-20, 50), 0));
        line.SetWidth(geometry.Between(0, 1));
        line.SetColor(geometry.Colour());
        const POINT offset = geometry.Offset();

        canvas.Clear();
        line.Draw(canvas.dc, offset.x, offset.y);

        for (std::int32_t y = 0; y < kCanvasHeight; ++y) {
            for (std::int32_t x = 0; x < kCanvasWidth; ++x) {
                if (canvas.Painted(x, y)) {
                    ASSERT_TRUE(line.Contains(DrawPoint(x - offset.x, y - offset.y, 0)))
                        << "pixel " << x << ", " << y;
                }
            }
        }
        ExpectSameColourWherePainted(canvas, line.GetColor().GetValue());
    }
}

/// A shape of any kind, anywhere in the coordinate space or near the canvas.
std::unique_ptr<DrawPrimitive> RandomShape(std::mt19937& random) {
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<std::int32_t> near(-30, 70);
    const bool far = pick(random) == 0;
    const auto coordinate = [&] { return far ? any(random) : near(random); };
    Color colour;
    colour.SetRGB(any(random), any(random), any(random));
    std::unique_ptr<DrawPrimitive> shape;
    switch (pick(random)) {
        case 0:
            shape = std::make_unique<DrawPoint>(coordinate(), coordinate(),
                                                far ? any(random) : near(random) / 4);
            break;
        case 1: {
            auto line = std::make_unique<DrawLine>();
            line->SetStart(DrawPoint(coordinate(), coordinate(), 0));
            line->SetEnd(DrawPoint(coordinate(), coordinate(), 0));
            line->SetWidth(far ? any(random) : near(random) / 10);
            shape = std::move(line);
            break;
        }
        case 2: {
            auto rectangle = std::make_unique<DrawRectangle>();
            rectangle->SetCorners(DrawPoint(coordinate(), coordinate(), 0),
                                  DrawPoint(coordinate(), coordinate(), 0));
            rectangle->SetFilled(pick(random) < 2);
            shape = std::move(rectangle);
            break;
        }
        default: {
            DrawRectangle carrier;
            carrier.SetCorners(DrawPoint(coordinate(), coordinate(), 0),
                               DrawPoint(coordinate(), coordinate(), 0));
            auto ellipse = std::make_unique<DrawEllipse>();
            ellipse->SetBounds(carrier);
            ellipse->SetFilled(pick(random) < 2);
            shape = std::move(ellipse);
            break;
        }
    }
    shape->SetColor(colour);
    return shape;
}

TEST(ShapeSurface, EveryDrawSelectsItsOwnPenAndBrushAndPutsThePreviousOnesBack) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> offset(-40, 40);
    ShapeCanvas canvas(kCanvasWidth, kCanvasHeight);
    CPen ownPen(PS_SOLID, 3, RGB(9, 9, 9));
    CBrush ownBrush(RGB(8, 8, 8));
    canvas.dc.SelectObject(&ownPen);
    canvas.dc.SelectObject(&ownBrush);

    for (int i = 0; i < kBoxes; ++i) {
        const std::unique_ptr<DrawPrimitive> shape = RandomShape(random);
        const COLORREF colour = shape->GetColor().GetValue();
        SurfaceCallLog& log = canvas.Record();
        shape->Draw(canvas.dc, offset(random), offset(random));
        canvas.dc.SetCallLog(nullptr);

        ASSERT_EQ(canvas.dc.GetCurrentPen(), &ownPen);
        ASSERT_EQ(canvas.dc.GetCurrentBrush(), &ownBrush);

        if (const auto* line = dynamic_cast<const DrawLine*>(shape.get())) {
            // Pen, move, stroke, previous pen; a line never touches the brush.
            ASSERT_EQ(log.size(), 4u);
            EXPECT_EQ(log[0].op, SurfaceOp::SelectPen);
            EXPECT_NE(log[0].object, &ownPen);
            EXPECT_EQ(log[1].op, SurfaceOp::MoveTo);
            EXPECT_EQ(log[2].op, SurfaceOp::LineTo);
            EXPECT_EQ(log[2].pen, (PenDescription{PS_SOLID, line->GetWidth(), colour}));
            EXPECT_EQ(log[3].op, SurfaceOp::SelectPen);
            EXPECT_EQ(log[3].object, &ownPen);
            continue;
        }

        // Pen, brush, one primitive, previous pen, previous brush.
        ASSERT_EQ(log.size(), 5u);
        EXPECT_EQ(log[0].op, SurfaceOp::SelectPen);
        EXPECT_NE(log[0].object, &ownPen);
        EXPECT_EQ(log[1].op, SurfaceOp::SelectBrush);
        EXPECT_NE(log[1].object, &ownBrush);
        EXPECT_EQ(log[3].op, SurfaceOp::SelectPen);
        EXPECT_EQ(log[3].object, &ownPen);
        EXPECT_EQ(log[4].op, SurfaceOp::SelectBrush);
        EXPECT_EQ(log[4].object, &ownBrush);

        const SurfaceCall& primitive = log[2];
        if (const auto* point = dynamic_cast<const DrawPoint*>(shape.get())) {
            EXPECT_EQ(primitive.op,
                      point->GetRadius() == 0 ? SurfaceOp::SetPixel : SurfaceOp::Ellipse);
            EXPECT_EQ(primitive.brush, (BrushDescription{BS_SOLID, colour}));
        } else {
            bool filled = false;
            if (const auto* rectangle = dynamic_cast<const DrawRectangle*>(shape.get())) {
                EXPECT_EQ(primitive.op, SurfaceOp::Rectangle);
                filled = rectangle->IsFilled();
            } else {
                EXPECT_EQ(primitive.op, SurfaceOp::Ellipse);
                filled = dynamic_cast<const DrawEllipse&>(*shape).IsFilled();
            }
            EXPECT_EQ(primitive.brush, (BrushDescription{filled ? BS_SOLID : BS_NULL, colour}));
        }
        EXPECT_EQ(primitive.pen, (PenDescription{PS_SOLID, 1, colour}));
    }
}

}  // namespace

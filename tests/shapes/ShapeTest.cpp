// What all four shapes share: the bodies of the hit-test and drawing tables whose rows live in
// each shape's file, the state of a new shape, and properties over many random shapes.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ShapeTesting.h"

namespace {

TEST_P(ShapeContains, Answers) {
    const Hit& c = GetParam();
    EXPECT_EQ(Make(c.shape)->Contains(DrawPoint(c.x, c.y, c.radius)), c.contained);
}

TEST_P(ShapeDraw, AsksForOnePrimitiveWithItsOwnPenAndBrushAndRestoresTheOldOnes) {
    using enum SurfaceOp;
    const DrawCase& c = GetParam();
    const auto shape = Make(c.shape);
    const COLORREF colour = shape->GetColor().GetValue();
    ShapeCanvas canvas(8, 8);
    const void* const pen = canvas.dc.GetCurrentPen();
    const void* const brush = canvas.dc.GetCurrentBrush();
    const SurfaceCallLog log = canvas.DrawLog(*shape, c.offset);

    const bool line = c.op == LineTo;
    std::string calls;
    for (const SurfaceCall& call : log) {
        const bool old = call.object == pen || call.object == brush;
        calls += call.op == SelectPen     ? (old ? "old pen, " : "pen, ")
                 : call.op == SelectBrush ? (old ? "old brush, " : "brush, ")
                 : call.op == MoveTo      ? "move, "
                 : call.op == c.op        ? "draw, "
                                          : "other, ";
    }
    ASSERT_EQ(calls,
              line ? "pen, move, draw, old pen, " : "pen, brush, draw, old pen, old brush, ");
    const SurfaceCall& call = log[2];
    const std::int32_t* first = line ? log[1].args : call.args;  // a line's MoveTo
    const std::int32_t* second = line ? call.args : call.args + 2;
    EXPECT_EQ((RECT{first[0], first[1], second[0], second[1]}), c.args);
    EXPECT_EQ(call.pen, (PenDescription{PS_SOLID, line ? c.shape.size : 1, colour}));
    EXPECT_EQ(call.colour, c.op == SetPixel ? colour : 0);
    if (!line) {
        EXPECT_EQ(call.brush, (BrushDescription{c.brushStyle, colour}));
    }
}

TEST(Shapes, StartBlackAndEmpty) {
    const DrawLine line;
    const DrawRectangle rectangle;
    const DrawEllipse ellipse;
    DrawPoint first(9, 9, 9), second(9, 9, 9);
    rectangle.GetCorners(first, second);
    for (const DrawPoint& point : {line.GetStart(), line.GetEnd(), first, second}) {
        EXPECT_EQ(Fields(point), std::tuple(0, 0, 0, 0u));
    }
    DrawRectangle bounds;
    bounds.SetCorners(DrawPoint(1, 2, 3), DrawPoint(4, 5, 6));
    ellipse.GetBounds(bounds);
    EXPECT_EQ(std::tuple(line.GetWidth(), rectangle.GetRect(), bounds.GetRect(),
                         rectangle.IsFilled(), ellipse.IsFilled(),
                         line.GetColor().GetValue() | rectangle.GetColor().GetValue() |
                             ellipse.GetColor().GetValue()),
              std::tuple(1, RECT{0, 0, 0, 0}, RECT{0, 0, 0, 0}, false, false, 0u));
}

std::int32_t Between(std::mt19937& random, std::int32_t low, std::int32_t high) {
    return std::uniform_int_distribution<std::int32_t>(low, high)(random);
}

TEST(ShapeProperty, FilledBoxesAndEllipsesPaintExactlyWhatTheyContain) {
    std::mt19937 random(1);
    ShapeCanvas canvas(40, 32);
    for (int i = 0; i < 6000; ++i) {
        // Corners in any order; shapes inside the canvas, across its edges and outside it.
        const auto shape = Make((i % 2 ? Box : Oval)(
            Between(random, -25, 55), Between(random, -25, 45), Between(random, -25, 55),
            Between(random, -25, 45), true, Between(random, 1, 15)));
        const POINT offset{Between(random, -15, 15), Between(random, -15, 15)};
        canvas.Clear();
        shape->Draw(canvas.dc, offset.x, offset.y);
        for (std::int32_t y = 0; y < 32; ++y) {
            for (std::int32_t x = 0; x < 40; ++x) {
                const bool hit = shape->Contains(DrawPoint(x - offset.x, y - offset.y, 0));
                ASSERT_EQ(canvas.bitmap.GetPixelColor(x, y),
                          hit ? shape->GetColor().GetValue() : ShapeCanvas::kBackground)
                    << "shape " << i << " offset " << offset.x << ", " << offset.y << " pixel " << x
                    << ", " << y;
            }
        }
    }
}

TEST(ShapeProperty, EveryDrawLeavesThePreviousPenAndBrushSelected) {
    std::mt19937 random(7);
    ShapeCanvas canvas(40, 32);
    CPen pen(PS_SOLID, 3, RGB(9, 9, 9));
    CBrush brush(RGB(8, 8, 8));
    canvas.dc.SelectObject(&pen);
    canvas.dc.SelectObject(&brush);
    const auto any = [&] {
        return Between(random, 0, 3) == 0 ? Between(random, kMin, kMax) : Between(random, -30, 70);
    };
    for (int i = 0; i < 3000; ++i) {
        const ShapeRow shapeRow{
            static_cast<Kind>(i % 4), any(), any(), any(), any(), any() % 16, i % 16};
        Make(shapeRow)->Draw(canvas.dc, Between(random, -40, 40), Between(random, -40, 40));
        ASSERT_EQ(canvas.dc.GetCurrentPen(), &pen) << "shape " << i;
        ASSERT_EQ(canvas.dc.GetCurrentBrush(), &brush) << "shape " << i;
    }
}

}  // namespace

// A shape that lies outside the clip may skip its drawing only when nothing could show it:
// swept across every edge of a clipped, scrolled canvas, each shape paints the same pixels and
// leaves the same position as when a call log keeps the surface from skipping anything.
TEST(ShapeProperty, ShapesNearTheClipPaintAsIfNothingWereSkipped) {
    const ShapeRow rows[] = {Disc(0, 0, 4),          Disc(0, 0, -3),         Disc(0, 0, 0),
                             Line(0, 0, 6, 9, 1),    Line(6, 9, 0, 0, 2),    Line(0, 9, 7, 0, 3),
                             Line(0, 0, 0, 8, 5),    Box(0, 0, 7, 5, false), Box(7, 5, 0, 0, true),
                             Oval(0, 0, 9, 6, true), Oval(9, 6, 0, 0, false)};
    ShapeCanvas logged(24, 20);
    ShapeCanvas skipping(24, 20);
    for (ShapeCanvas* canvas : {&logged, &skipping}) {
        canvas->dc.SetViewportOrg(-2, 3);
        canvas->dc.IntersectClipRect(3, -1, 17, 13);
    }
    for (const ShapeRow& row : rows) {
        const auto shape = Make(row);
        for (std::int32_t y = -16; y <= 20; ++y) {
            for (std::int32_t x = -16; x <= 24; ++x) {
                logged.Clear();
                skipping.Clear();
                logged.DrawLog(*shape, POINT{x, y});
                shape->Draw(skipping.dc, x, y);
                ASSERT_TRUE(std::equal(logged.bitmap.GetBits(), logged.bitmap.GetBits() + 24 * 20,
                                       skipping.bitmap.GetBits()))
                    << static_cast<int>(row.kind) << " at " << x << ", " << y;
                ASSERT_EQ(logged.dc.GetCurrentPosition(), skipping.dc.GetCurrentPosition());
            }
        }
    }
}

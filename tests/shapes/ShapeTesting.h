#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <ostream>
#include <tuple>

#include "gdi/CDC.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"

constexpr std::int32_t kMin = INT_MIN, kMax = INT_MAX;

inline void PrintTo(const RECT& box, std::ostream* out) {
    *out << "(" << box.left << ", " << box.top << ", " << box.right << ", " << box.bottom << ")";
}

inline Color FromPalette(std::int32_t index) {
    Color colour;
    colour.SetFromPalette(index);
    return colour;
}

/// Everything a point carries, for comparing points in one go.
inline auto Fields(const DrawPoint& p) {
    return std::tuple(p.GetX(), p.GetY(), p.GetRadius(), p.GetColor().GetValue());
}

/// A shape in one table row. Points use (x1, y1) and size as the radius, lines size as the
/// width, rectangles and ellipses size as the filled flag; colour is a palette index.
enum class Kind { Point, Line, Rectangle, Ellipse };
struct ShapeRow {
    Kind kind;
    int x1, y1, x2, y2, size, colour;
};
constexpr ShapeRow Disc(int x, int y, int radius, int colour = 0) {
    return {Kind::Point, x, y, 0, 0, radius, colour};
}
constexpr ShapeRow Line(int x1, int y1, int x2, int y2, int width, int colour = 0) {
    return {Kind::Line, x1, y1, x2, y2, width, colour};
}
constexpr ShapeRow Box(int x1, int y1, int x2, int y2, bool filled, int colour = 0) {
    return {Kind::Rectangle, x1, y1, x2, y2, filled, colour};
}
constexpr ShapeRow Oval(int x1, int y1, int x2, int y2, bool filled, int colour = 0) {
    return {Kind::Ellipse, x1, y1, x2, y2, filled, colour};
}

/// Builds all four kinds from the row and keeps the one asked for.
inline std::unique_ptr<DrawPrimitive> Make(const ShapeRow& s) {
    const DrawPoint first(s.x1, s.y1, 0), second(s.x2, s.y2, 0);
    auto line = std::make_unique<DrawLine>();
    line->SetStart(first);
    line->SetEnd(second);
    line->SetWidth(s.size);
    auto box = std::make_unique<DrawRectangle>();
    box->SetCorners(first, second);
    box->SetFilled(s.size != 0);
    auto ellipse = std::make_unique<DrawEllipse>();
    ellipse->SetBounds(*box);
    ellipse->SetFilled(s.size != 0);
    std::unique_ptr<DrawPrimitive> shapes[] = {std::make_unique<DrawPoint>(s.x1, s.y1, s.size),
                                               std::move(line), std::move(box), std::move(ellipse)};
    std::unique_ptr<DrawPrimitive>& shape = shapes[static_cast<int>(s.kind)];
    shape->SetColor(FromPalette(s.colour));
    return std::move(shape);
}

/// A memory surface over a small bitmap, cleared to a colour that no shape in the tests uses.
struct ShapeCanvas {
    static constexpr COLORREF kBackground = RGB(1, 2, 3);

    ShapeCanvas(std::int32_t width, std::int32_t height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(width, height);
        dc.SelectObject(&bitmap);
        Clear();
    }
    void Clear(COLORREF colour = kBackground) {
        std::fill_n(bitmap.GetBits(), std::int64_t{bitmap.GetWidth()} * bitmap.GetHeight(),
                    CBitmap::PixelFromColor(colour));
    }
    /// Draws the shape and returns what the surface was asked.
    SurfaceCallLog DrawLog(const DrawPrimitive& shape, POINT offset) {
        SurfaceCallLog log;
        dc.SetCallLog(&log);
        shape.Draw(dc, offset.x, offset.y);
        dc.SetCallLog(nullptr);
        return log;
    }

    CBitmap bitmap;
    CDC dc;
};

/// A probe and whether the shape holds it: the rows of each shape's hit-test table.
struct Hit {
    const char* what;
    ShapeRow shape;
    std::int32_t x, y, radius;  // the probe
    bool contained;
};
inline void PrintTo(const Hit& c, std::ostream* out) {
    *out << c.what;
}
class ShapeContains : public ::testing::TestWithParam<Hit> {};

/// What drawing must ask of the surface: one primitive (LineTo for a line) with these
/// arguments (a line's MoveTo then LineTo point; a pixel's x and y) under a solid pen of width 1
/// (a line's own width) and a brush of this style (none for a line), in the shape's colour.
struct DrawCase {
    const char* what;
    ShapeRow shape;
    POINT offset;
    SurfaceOp op;
    RECT args;
    unsigned brushStyle;
};

inline void PrintTo(const DrawCase& c, std::ostream* out) {
    *out << c.what;
}
class ShapeDraw : public ::testing::TestWithParam<DrawCase> {};

#pragma once

#include <cstdint>

#include "gdi/GdiTypes.h"
#include "shapes/Color.h"
#include "shapes/DrawPoint.h"

/// The four fields of a point that a shape keeps (a line's ends, a rectangle's corners), without
/// the shape around them: 16 bytes instead of a DrawPoint's 24, for the millions of shapes of a
/// large world.
struct StoredPoint {
    Color colour;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t radius = 0;

    static StoredPoint From(const DrawPoint& point) {
        return StoredPoint{point.GetColor(), point.GetX(), point.GetY(), point.GetRadius()};
    }
    std::int32_t GetX() const { return x; }
    std::int32_t GetY() const { return y; }
    POINT GetPoint() const { return POINT{x, y}; }
    DrawPoint ToDrawPoint() const {
        DrawPoint point(x, y, radius);
        point.SetColor(colour);
        return point;
    }
};

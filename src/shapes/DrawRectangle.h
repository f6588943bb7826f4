#pragma once

#include <algorithm>
#include <cstdint>

#include "gdi/GdiTypes.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawPrimitive.h"
#include "shapes/StoredPoint.h"

/// An axis-aligned box, outlined or filled. The two corners are kept as they were given; their
/// normalised bounds are what drawing and hit-testing use.
class DrawRectangle : public DrawPrimitive {
public:
    /// Black, both corners at (0, 0) with radius 0, bounds (0, 0, 0, 0), not filled.
    DrawRectangle();

    /// Stores both corners whole and sets the bounds to their normalised box.
    void SetCorners(const DrawPoint& first, const DrawPoint& second);
    /// The corners as stored, in the order given, not normalised.
    void GetCorners(DrawPoint& first, DrawPoint& second) const;
    /// The normalised bounds: left <= right, top <= bottom.
    RECT GetRect() const {
        return RECT{
            std::min(firstCorner.x, secondCorner.x), std::min(firstCorner.y, secondCorner.y),
            std::max(firstCorner.x, secondCorner.x), std::max(firstCorner.y, secondCorner.y)};
    }
    bool IsFilled() const { return filled; }
    void SetFilled(bool flag) { filled = flag; }

    /// The probe's centre lies in the half-open bounds, filled or not; its radius plays no part.
    bool Contains(const DrawPoint& probe) const override;
    std::ostream& Write(std::ostream& out) const override;
    void Read(std::istream& in) override;
    /// The bounds with a solid pen of width 1 and a solid brush when filled, a hollow brush when
    /// not, both in the shape's colour.
    void Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const override;

private:
    // The bounds are not kept beside the corners but made from them when asked for, which
    // keeps a rectangle at 48 bytes.
    StoredPoint firstCorner;
    StoredPoint secondCorner;
    bool filled;
};

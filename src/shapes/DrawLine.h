#pragma once

#include <cstdint>

#include "shapes/DrawPoint.h"
#include "shapes/DrawPrimitive.h"
#include "shapes/StoredPoint.h"

/// A straight segment between two endpoints, stroked with a pen of the line's width. It is hit
/// within a tolerance that grows with the width and with the probe's radius. Only the x and y
/// of the endpoints count for drawing and hit-testing; their colour and radius are carried.
class DrawLine : public DrawPrimitive {
public:
    /// Black, both ends at (0, 0) with radius 0, width 1.
    DrawLine();

    DrawPoint GetStart() const { return start.ToDrawPoint(); }
    DrawPoint GetEnd() const { return end.ToDrawPoint(); }
    void SetStart(const DrawPoint& point) { start = StoredPoint::From(point); }
    void SetEnd(const DrawPoint& point) { end = StoredPoint::From(point); }
    std::int32_t GetWidth() const { return width; }
    /// Stored unchecked; the pen gets it as it is.
    void SetWidth(std::int32_t newWidth) { width = newWidth; }

    /// With t = (probe radius, or 1 when it is 0) + width / 2: the probe lies no further back
    /// than the start along either axis, at most t beyond the end, and its squared distance
    /// from the line through the endpoints is below t. A line whose ends coincide holds nothing.
    /// Exact for every 32-bit input.
    bool Contains(const DrawPoint& probe) const override;
    std::ostream& Write(std::ostream& out) const override;
    void Read(std::istream& in) override;
    /// One stroke from start to end with a solid pen of the line's width; no brush is selected.
    void Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const override;

private:
    StoredPoint start;
    StoredPoint end;
    std::int32_t width;
};

#pragma once

#include <cstdint>

#include "gdi/GdiTypes.h"
#include "shapes/DrawPrimitive.h"

/// A disc of a radius around a centre, drawn as a single pixel when the radius is 0. It is also
/// the system's point value: positions, grab offsets, mouse positions and hit-test probes.
/// Copies carry all four fields: colour, x, y and radius.
class DrawPoint : public DrawPrimitive {
public:
    DrawPoint(std::int32_t x, std::int32_t y, std::int32_t radius);

    std::int32_t GetX() const { return x; }
    std::int32_t GetY() const { return y; }
    std::int32_t GetRadius() const { return radius; }
    void SetX(std::int32_t newX) { x = newX; }
    void SetY(std::int32_t newY) { y = newY; }
    void SetRadius(std::int32_t newRadius) { radius = newRadius; }
    /// Stores the three; the colour is untouched.
    void Set(std::int32_t newX, std::int32_t newY, std::int32_t newRadius);
    /// The centre as a platform point.
    POINT GetPoint() const { return POINT{x, y}; }
    /// Stores x and y; colour and radius are untouched.
    void SetPoint(POINT point);

    /// The two circles overlap or touch.
    bool Contains(const DrawPoint& probe) const override;
    std::ostream& Write(std::ostream& out) const override;
    void Read(std::istream& in) override;
    void Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const override;

private:
    std::int32_t x;
    std::int32_t y;
    std::int32_t radius;
};

#pragma once

#include <cstdint>
#include <iosfwd>

#include "shapes/Color.h"

class CDC;
class DrawPoint;

/// The base of the four shapes. A shape's coordinates are relative to the position of the
/// object that owns it: Draw adds that position as offsets, and Contains expects a probe that
/// already has it subtracted.
class DrawPrimitive {
public:
    DrawPrimitive() = default;
    DrawPrimitive(const DrawPrimitive&) = default;
    DrawPrimitive& operator=(const DrawPrimitive&) = default;

    virtual void SetColor(const Color& newColour);
    virtual Color GetColor() const;
    /// Whether the probe's centre falls on the shape.
    virtual bool Contains(const DrawPoint& probe) const = 0;
    virtual ~DrawPrimitive() = default;
    /// Puts out the shape's text element.
    virtual std::ostream& Write(std::ostream& out) const = 0;
    /// Takes in the shape's text element.
    virtual void Read(std::istream& in) = 0;
    /// Paints the shape shifted by the offsets; the surface's pen and brush are left selected
    /// as they were found.
    virtual void Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const = 0;

private:
    Color colour;
};

/// shape.Write(out).
std::ostream& operator<<(std::ostream& out, const DrawPrimitive& shape);
/// shape.Read(in).
std::istream& operator>>(std::istream& in, DrawPrimitive& shape);

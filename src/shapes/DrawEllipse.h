#pragma once

#include <cstdint>

#include "gdi/GdiTypes.h"
#include "shapes/DrawPrimitive.h"

class DrawRectangle;

/// The axis-aligned ellipse inscribed in a box, outlined or filled. The box is exchanged with
/// a DrawRectangle, which carries it in the world file.
class DrawEllipse : public DrawPrimitive {
public:
    /// Black, bounds (0, 0, 0, 0), not filled.
    DrawEllipse();

    /// Takes the rectangle's normalised bounds.
    void SetBounds(const DrawRectangle& rectangle);
    /// Sets the rectangle's corners to (left, top) and (right, bottom) of the bounds, each a
    /// black point of radius 0.
    void GetBounds(DrawRectangle& rectangle) const;
    /// The bounds themselves, normalised.
    RECT GetRect() const { return bounds; }
    bool IsFilled() const { return filled; }
    void SetFilled(bool flag) { filled = flag; }

    /// The probe's centre lies in the elliptic region of the bounds, the very pixels that
    /// drawing covers; neither the probe's radius nor the filled flag plays a part.
    bool Contains(const DrawPoint& probe) const override;
    std::ostream& Write(std::ostream& out) const override;
    void Read(std::istream& in) override;
    /// The ellipse with a solid pen of width 1 and a solid brush when filled, a hollow brush
    /// when not, both in the shape's colour.
    void Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const override;

private:
    RECT bounds;
    bool filled;
};

#include "shapes/DrawPrimitive.h"

void DrawPrimitive::SetColor(const Color& newColour) {
    colour = newColour;
}

Color DrawPrimitive::GetColor() const {
    return colour;
}

std::ostream& operator<<(std::ostream& out, const DrawPrimitive& shape) {
    return shape.Write(out);
}

std::istream& operator>>(std::istream& in, DrawPrimitive& shape) {
    shape.Read(in);
    return in;
}

#include "shapes/DrawPrimitive.h"

void DrawPrimitive::SetColor(const Color& newColour) {
    colour = newColour;
}

Color DrawPrimitive::GetColor() const {
    return colour;
}

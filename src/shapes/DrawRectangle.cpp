#include "shapes/DrawRectangle.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "gdi/CDC.h"
#include "gdi/RectFunctions.h"
#include "shapes/OutlinedBox.h"

DrawRectangle::DrawRectangle()
    : firstCorner(0, 0, 0), secondCorner(0, 0, 0), bounds{0, 0, 0, 0}, filled(false) {}

void DrawRectangle::SetCorners(const DrawPoint& first, const DrawPoint& second) {
    firstCorner = first;
    secondCorner = second;
    SetRect(&bounds, std::min(first.GetX(), second.GetX()), std::min(first.GetY(), second.GetY()),
            std::max(first.GetX(), second.GetX()), std::max(first.GetY(), second.GetY()));
}

void DrawRectangle::GetCorners(DrawPoint& first, DrawPoint& second) const {
    first = firstCorner;
    second = secondCorner;
}

bool DrawRectangle::Contains(const DrawPoint& probe) const {
    return PtInRect(&bounds, probe.GetPoint());
}

// The text element arrives with the world file reader and writer; until then both report
// failure through the stream and change nothing.
std::ostream& DrawRectangle::Write(std::ostream& out) const {
    out.setstate(std::ios::failbit);
    return out;
}

void DrawRectangle::Read(std::istream& in) {
    in.setstate(std::ios::failbit);
}

void DrawRectangle::Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const {
    DrawOutlinedBox(surface, bounds, xOffset, yOffset, GetColor().GetValue(), filled,
                    [](CDC& target, const RECT& box) { target.Rectangle(box); });
}

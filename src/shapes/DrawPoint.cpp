#include "shapes/DrawPoint.h"

#include <algorithm>
#include <istream>
#include <limits>
#include <ostream>

#include "gdi/CBrush.h"
#include "gdi/CDC.h"
#include "gdi/CPen.h"
#include "shapes/SavedText.h"
#include "shapes/WorldText.h"

DrawPoint::DrawPoint(std::int32_t x, std::int32_t y, std::int32_t radius)
    : x(x), y(y), radius(radius) {}

void DrawPoint::Set(std::int32_t newX, std::int32_t newY, std::int32_t newRadius) {
    x = newX;
    y = newY;
    radius = newRadius;
}

void DrawPoint::SetPoint(POINT point) {
    x = point.x;
    y = point.y;
}

bool DrawPoint::Contains(const DrawPoint& probe) const {
    // Differences and the radius sum reach 2^32 in magnitude, their squares 2^64 and the sum
    // of squares 2^65: 64 bits hold the first, 128 unsigned bits the rest, exactly.
    using Wide = unsigned __int128;
    const std::int64_t dx = std::int64_t{probe.x} - x;
    const std::int64_t dy = std::int64_t{probe.y} - y;
    const std::int64_t s = std::int64_t{probe.radius} + radius;
    const auto square = [](std::int64_t v) {
        const Wide magnitude = static_cast<std::uint64_t>(v < 0 ? -v : v);
        return magnitude * magnitude;
    };
    return square(dx) + square(dy) <= square(s);
}

std::ostream& DrawPoint::Write(std::ostream& out) const {
    InsertText(out, "point");
    InsertText(out, " { ");
    out << GetColor();
    InsertText(out, " ");
    InsertInt(out, x);
    InsertText(out, " ");
    InsertInt(out, y);
    InsertText(out, " ");
    InsertInt(out, radius);
    InsertText(out, " } ");
    return out;
}

void DrawPoint::Read(std::istream& in) {
    // Text as a save writes it is taken at once; any other, item by item below.
    SavedText saved(in);
    const StoredPoint point = saved.Point();
    if (saved.Commit(in)) {
        SetColor(point.colour);
        Set(point.x, point.y, point.radius);
        return;
    }
    static constexpr ElementWords kWords{"a point", "the opening brace of a point",
                                         "the closing brace of a point", "point"};
    if (!ExtractOpening(in, 'p', kWords)) {
        return;
    }
    Color readColour;
    in >> readColour;
    std::int32_t readX = 0, readY = 0, readRadius = 0;
    ExtractInt(in, readX, "the x of a point");
    ExtractInt(in, readY, "the y of a point");
    ExtractInt(in, readRadius, "the radius of a point");
    ExtractClosingBrace(in, kWords);
    if (in.fail()) {
        return;
    }
    SetColor(readColour);
    Set(readX, readY, readRadius);
}

void DrawPoint::Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const {
    // The centre is moved in 64 bits: a disc near the 32-bit limits stays where it lies. The
    // box is relative to the centre; a radius of -2^31 counts as -(2^31 - 1), whose box fits.
    const std::int64_t cx = std::int64_t{x} + xOffset;
    const std::int64_t cy = std::int64_t{y} + yOffset;
    const std::int32_t r = std::max(radius, -std::numeric_limits<std::int32_t>::max());
    const std::int64_t reach = r < 0 ? -std::int64_t{r} : r;
    if (surface.Misses(cx - reach, cy - reach, cx + std::max<std::int64_t>(reach, 1),
                       cy + std::max<std::int64_t>(reach, 1))) {
        return;  // as far outside the window as most shapes of a large world
    }
    const COLORREF colour = GetColor().GetValue();
    // The pen is declared first so that, on any way out, the brush is destroyed before it.
    CPen pen(PS_SOLID, 1, colour);
    CPen* previousPen = surface.SelectObject(&pen);
    CBrush brush(colour);
    CBrush* previousBrush = surface.SelectObject(&brush);
    if (radius != 0) {
        surface.Ellipse(RECT{-r, -r, r, r}, cx, cy);
    } else {
        surface.SetPixel(POINT{0, 0}, cx, cy, colour);
    }
    surface.SelectObject(previousPen);
    surface.SelectObject(previousBrush);
    brush.DeleteObject();
    pen.DeleteObject();
}

#include "shapes/DrawLine.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <ostream>

#include "gdi/CDC.h"
#include "gdi/CPen.h"
#include "shapes/SavedText.h"
#include "shapes/WorldText.h"

namespace {

using Wide = unsigned __int128;

/// The square of a value below 2^32 in magnitude, which may exceed 63 bits.
Wide Square(std::int64_t v) {
    const auto magnitude = static_cast<std::uint64_t>(std::abs(v));
    return Wide{magnitude} * magnitude;
}

/// One strictly above zero and the other strictly below it.
bool OppositeSigns(std::int64_t a, std::int64_t b) {
    return (a > 0 && b < 0) || (a < 0 && b > 0);
}

}  // namespace

DrawLine::DrawLine() : width(1) {}

bool DrawLine::Contains(const DrawPoint& probe) const {
    // Differences of 32-bit coordinates reach 2^32 in magnitude and the tolerance 2^31 + 2^30,
    // so everything up to the distance test is exact in 64 bits.
    const std::int64_t dx = std::int64_t{end.GetX()} - start.GetX();
    const std::int64_t dy = std::int64_t{end.GetY()} - start.GetY();
    const std::int64_t px = std::int64_t{probe.GetX()} - start.GetX();
    const std::int64_t py = std::int64_t{probe.GetY()} - start.GetY();
    const std::int64_t t =
        (probe.GetRadius() != 0 ? std::int64_t{probe.GetRadius()} : 1) + width / 2;

    // Not behind the start along an axis on which the line has extent...
    if (OppositeSigns(px, dx) || OppositeSigns(py, dy)) {
        return false;
    }
    // ...and not more than t beyond the end.
    if (std::abs(px) - t > std::abs(dx) || std::abs(py) - t > std::abs(dy)) {
        return false;
    }

    // The squared distance from the line through the ends, scaled by dx² + dy², against t:
    // c² < t·(dx² + dy²) with c = px·dy − py·dx. A tolerance of 0 or less accepts nothing, c²
    // being at least 0. The products reach 2^64, so c is formed in 128 bits. The sign tests
    // above already keep |c| below 2^64; the check below keeps c² within 128 unsigned bits
    // without leaning on that, and rejects nothing that could pass, since t·(dx² + dy²) stays
    // below 2^97.
    if (t <= 0) {
        return false;
    }
    const __int128 c = static_cast<__int128>(px) * dy - static_cast<__int128>(py) * dx;
    const Wide cMagnitude = c < 0 ? static_cast<Wide>(-c) : static_cast<Wide>(c);
    if ((cMagnitude >> 64) != 0) {
        return false;
    }
    return cMagnitude * cMagnitude < static_cast<Wide>(t) * (Square(dx) + Square(dy));
}

std::ostream& DrawLine::Write(std::ostream& out) const {
    InsertText(out, "line");
    InsertText(out, " { ");
    out << GetColor();
    InsertText(out, " ");
    InsertInt(out, width);
    InsertText(out, " ");
    start.ToDrawPoint().Write(out);
    InsertText(out, " ");
    end.ToDrawPoint().Write(out);
    InsertText(out, " } ");
    return out;
}

void DrawLine::Read(std::istream& in) {
    // Text as a save writes it is taken at once; any other, item by item below.
    SavedText saved(in);
    saved.Opening("line");
    const Color savedColour = saved.Colour();
    const std::int32_t savedWidth = saved.Int();
    const StoredPoint savedStart = saved.Point();
    const StoredPoint savedEnd = saved.Point();
    saved.Closing();
    if (saved.Commit(in)) {
        SetColor(savedColour);
        width = savedWidth;
        start = savedStart;
        end = savedEnd;
        return;
    }
    static constexpr ElementWords kWords{"a line", "the opening brace of a line",
                                         "the closing brace of a line", "line"};
    if (!ExtractOpening(in, 'l', kWords)) {
        return;
    }
    Color readColour;
    in >> readColour;
    std::int32_t readWidth = 0;
    ExtractInt(in, readWidth, "the width of a line");
    DrawPoint readStart(0, 0, 0), readEnd(0, 0, 0);
    readStart.Read(in);
    readEnd.Read(in);
    ExtractClosingBrace(in, kWords);
    if (in.fail()) {
        return;
    }
    SetColor(readColour);
    width = readWidth;
    start = StoredPoint::From(readStart);
    end = StoredPoint::From(readEnd);
}

void DrawLine::Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const {
    // A wide pen reaches width / 2 + 1 pixels beyond the ends' box, a thin one stays within it.
    const std::int64_t reach = width > 1 ? width / 2 + 1 : 0;
    const std::int64_t x0 = std::int64_t{start.GetX()} + xOffset;
    const std::int64_t y0 = std::int64_t{start.GetY()} + yOffset;
    const std::int64_t x1 = std::int64_t{end.GetX()} + xOffset;
    const std::int64_t y1 = std::int64_t{end.GetY()} + yOffset;
    if (surface.Misses(std::min(x0, x1) - reach, std::min(y0, y1) - reach,
                       std::max(x0, x1) + reach + 1, std::max(y0, y1) + reach + 1)) {
        // Nothing to draw, but the surface's position moves to the end as a drawn line's does.
        surface.MoveTo(static_cast<std::int32_t>(static_cast<std::uint32_t>(x1)),
                       static_cast<std::int32_t>(static_cast<std::uint32_t>(y1)));
        return;
    }
    CPen pen(PS_SOLID, width, GetColor().GetValue());
    CPen* previousPen = surface.SelectObject(&pen);

    surface.Line(start.GetPoint(), end.GetPoint(), xOffset, yOffset);

    surface.SelectObject(previousPen);
    pen.DeleteObject();
}

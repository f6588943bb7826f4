#include "shapes/DrawEllipse.h"

#include <istream>
#include <ostream>

#include "gdi/CDC.h"
#include "gdi/CRgn.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"
#include "shapes/OutlinedBox.h"

DrawEllipse::DrawEllipse() : bounds{0, 0, 0, 0}, filled(false) {}

void DrawEllipse::SetBounds(const DrawRectangle& rectangle) {
    bounds = rectangle.GetRect();
}

void DrawEllipse::GetBounds(DrawRectangle& rectangle) const {
    rectangle.SetCorners(DrawPoint(bounds.left, bounds.top, 0),
                         DrawPoint(bounds.right, bounds.bottom, 0));
}

bool DrawEllipse::Contains(const DrawPoint& probe) const {
    // The probe is already relative to the owner, so the region is made from the bounds as
    // stored. A region that cannot be made holds no point.
    CRgn region;
    if (!region.CreateEllipticRgnIndirect(&bounds)) {
        return false;
    }
    const bool inside = region.PtInRegion(probe.GetX(), probe.GetY());
    region.DeleteObject();
    return inside;
}

// The text element arrives with the world file reader and writer; until then both report
// failure through the stream and change nothing.
std::ostream& DrawEllipse::Write(std::ostream& out) const {
    out.setstate(std::ios::failbit);
    return out;
}

void DrawEllipse::Read(std::istream& in) {
    in.setstate(std::ios::failbit);
}

void DrawEllipse::Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const {
    DrawOutlinedBox(surface, bounds, xOffset, yOffset, GetColor().GetValue(), filled,
                    [](CDC& target, const RECT& box) { target.Ellipse(box); });
}

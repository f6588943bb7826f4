#include "shapes/DrawEllipse.h"

#include <istream>
#include <ostream>

#include "gdi/CDC.h"
#include "gdi/CRgn.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"
#include "shapes/OutlinedBox.h"
#include "shapes/SavedText.h"
#include "shapes/WorldText.h"

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

std::ostream& DrawEllipse::Write(std::ostream& out) const {
    DrawRectangle box;
    GetBounds(box);
    InsertText(out, "ellipse");
    InsertText(out, " { ");
    out << GetColor();
    InsertText(out, " ");
    InsertChar(out, filled ? 't' : 'f');
    InsertText(out, " ");
    box.Write(out);
    InsertText(out, " } ");
    return out;
}

void DrawEllipse::Read(std::istream& in) {
    // Text as a save writes it is taken at once; any other, item by item below.
    SavedText saved(in);
    saved.Opening("ellipse");
    const Color savedColour = saved.Colour();
    const bool savedFilled = saved.Flag();
    const SavedBox savedBox = saved.Box();
    saved.Closing();
    if (saved.Commit(in)) {
        // Only the box's bounds count, as below.
        DrawRectangle box;
        box.SetCorners(savedBox.first.ToDrawPoint(), savedBox.second.ToDrawPoint());
        SetColor(savedColour);
        filled = savedFilled;
        SetBounds(box);
        return;
    }
    static constexpr ElementWords kWords{"an ellipse", "the opening brace of an ellipse",
                                         "the closing brace of an ellipse", "ellipse"};
    if (!ExtractOpening(in, 'e', kWords)) {
        return;
    }
    Color readColour;
    in >> readColour;
    char flag = 0;
    ExtractFlag(in, flag, "the filled flag of an ellipse");
    // The box's own colour, flag and corner details are dropped: only its bounds count.
    DrawRectangle box;
    box.Read(in);
    ExtractClosingBrace(in, kWords);
    if (in.fail()) {
        return;
    }
    SetColor(readColour);
    filled = flag == 't';
    SetBounds(box);
}

void DrawEllipse::Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const {
    DrawOutlinedBox(surface, bounds, xOffset, yOffset, GetColor().GetValue(), filled,
                    [](CDC& target, const RECT& box, std::int64_t dx, std::int64_t dy) {
                        target.Ellipse(box, dx, dy);
                    });
}

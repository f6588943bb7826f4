#include "shapes/DrawRectangle.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "gdi/CDC.h"
#include "gdi/RectFunctions.h"
#include "shapes/OutlinedBox.h"
#include "shapes/SavedText.h"
#include "shapes/WorldText.h"

DrawRectangle::DrawRectangle() : filled(false) {}

void DrawRectangle::SetCorners(const DrawPoint& first, const DrawPoint& second) {
    firstCorner = StoredPoint::From(first);
    secondCorner = StoredPoint::From(second);
}

void DrawRectangle::GetCorners(DrawPoint& first, DrawPoint& second) const {
    first = firstCorner.ToDrawPoint();
    second = secondCorner.ToDrawPoint();
}

bool DrawRectangle::Contains(const DrawPoint& probe) const {
    const RECT bounds = GetRect();
    return PtInRect(&bounds, probe.GetPoint());
}

std::ostream& DrawRectangle::Write(std::ostream& out) const {
    InsertText(out, "rectangle");
    InsertText(out, " { ");
    out << GetColor();
    InsertText(out, " ");
    InsertChar(out, filled ? 't' : 'f');
    InsertText(out, " ");
    firstCorner.ToDrawPoint().Write(out);
    secondCorner.ToDrawPoint().Write(out);
    InsertText(out, " } ");
    return out;
}

void DrawRectangle::Read(std::istream& in) {
    // Text as a save writes it is taken at once; any other, item by item below.
    SavedText saved(in);
    const SavedBox box = saved.Box();
    if (saved.Commit(in)) {
        SetColor(box.colour);
        filled = box.filled;
        SetCorners(box.first.ToDrawPoint(), box.second.ToDrawPoint());
        return;
    }
    static constexpr ElementWords kWords{"a rectangle", "the opening brace of a rectangle",
                                         "the closing brace of a rectangle", "rectangle"};
    if (!ExtractOpening(in, 'r', kWords)) {
        return;
    }
    Color readColour;
    in >> readColour;
    char flag = 0;
    ExtractFlag(in, flag, "the filled flag of a rectangle");
    DrawPoint first(0, 0, 0), second(0, 0, 0);
    first.Read(in);
    second.Read(in);
    ExtractClosingBrace(in, kWords);
    if (in.fail()) {
        return;
    }
    SetColor(readColour);
    filled = flag == 't';
    SetCorners(first, second);
}

void DrawRectangle::Draw(CDC& surface, std::int32_t xOffset, std::int32_t yOffset) const {
    DrawOutlinedBox(surface, GetRect(), xOffset, yOffset, GetColor().GetValue(), filled,
                    [](CDC& target, const RECT& box, std::int64_t dx, std::int64_t dy) {
                        target.Rectangle(box, dx, dy);
                    });
}

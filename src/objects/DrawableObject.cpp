#include "objects/DrawableObject.h"

#include <istream>
#include <ostream>

#include "gdi/GdiTypes.h"

DrawableObject::DrawableObject() : position(0, 0, 0) {}

DrawableObject::~DrawableObject() {
    DeleteItemsAndClear(shapes);
}

// The text element arrives with the world file format; until then writing fails.
std::ostream& DrawableObject::Write(std::ostream& out) const {
    out.setstate(std::ios::failbit);
    return out;
}

void DrawableObject::Read(std::istream& in) {
    DeleteItemsAndClear(shapes);
    in.setstate(std::ios::failbit);
}

void DrawableObject::SetPosition(const DrawPoint& point) {
    position = point;
}

DrawPoint& DrawableObject::GetPosition(DrawPoint& point) const {
    point = position;
    return point;
}

bool DrawableObject::HitTest(const DrawPoint& point) const {
    const POINT world = point.GetPoint();
    const POINT origin = position.GetPoint();
    DrawPoint relative(0, 0, 0);
    relative.SetPoint(
        POINT{SubtractWrapping(world.x, origin.x), SubtractWrapping(world.y, origin.y)});
    for (const auto* node = shapes.head; node != nullptr; node = node->next) {
        if (node->value != nullptr && node->value->Contains(relative)) {
            return true;
        }
    }
    return false;
}

void DrawableObject::Draw(CDC& surface, WorldContext& /*world*/) const {
    const POINT origin = position.GetPoint();
    for (const auto* node = shapes.head; node != nullptr; node = node->next) {
        if (node->value != nullptr) {
            node->value->Draw(surface, origin.x, origin.y);
        }
    }
}
